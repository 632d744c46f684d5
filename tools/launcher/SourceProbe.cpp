#include "launcher/SourceProbe.h"

#include <cstdlib>

namespace vidora {

namespace {

// The value of `key` in one "key=value|key=value" line; empty when it has none.
std::string_view fieldOf(std::string_view line, std::string_view key) {
    std::size_t start = 0;
    while (start <= line.size()) {
        std::size_t end = line.find('|', start);
        if (end == std::string_view::npos) {
            end = line.size();
        }
        const std::string_view field = line.substr(start, end - start);
        if (field.size() > key.size() && field.starts_with(key) && field[key.size()] == '=') {
            return field.substr(key.size() + 1);
        }
        start = end + 1;
    }
    return {};
}

int numberOf(std::string_view text) {
    const std::string copy(text);
    const long value = std::strtol(copy.c_str(), nullptr, 10);
    return value > 0 && value < 100000000 ? static_cast<int>(value) : 0;
}

} // namespace

std::vector<std::string> sourceProbeArguments(const std::string& input, const std::string& format) {
    std::vector<std::string> arguments = {
        "-v",
        "error",
        "-show_entries",
        "stream=codec_type,sample_rate,channels:stream_disposition=default",
        "-of",
        "compact=p=0"};
    if (!format.empty()) {
        arguments.insert(arguments.end(), {"-f", format});
    }
    arguments.insert(arguments.end(), {"-i", input});
    return arguments;
}

SourceFacts parseSourceProbe(std::string_view output) {
    SourceFacts facts;
    long long bestScore = -1;
    std::size_t start = 0;
    while (start < output.size()) {
        std::size_t end = output.find('\n', start);
        if (end == std::string_view::npos) {
            end = output.size();
        }
        const std::string_view line = output.substr(start, end - start);
        start = end + 1;
        const std::string_view type = fieldOf(line, "codec_type");
        if (type.empty()) {
            continue;
        }
        facts.known = true;
        if (type == "video") {
            facts.hasVideo = true;
        } else if (type == "audio") {
            const int channels = numberOf(fieldOf(line, "channels"));
            // FFmpeg's own choice of the audio stream to convert.
            const long long score =
                channels + 5000000LL * (fieldOf(line, "disposition:default") == "1");
            if (score > bestScore) {
                bestScore = score;
                facts.hasAudio = true;
                facts.sampleRate = numberOf(fieldOf(line, "sample_rate"));
                facts.channels = channels;
            }
        }
    }
    return facts;
}

} // namespace vidora
