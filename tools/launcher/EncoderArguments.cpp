#include "launcher/EncoderArguments.h"

#include "launcher/EncoderLimits.h"
#include "launcher/OutputFiles.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <span>
#include <string_view>

namespace vidora {

namespace {

// FFmpeg options that stand alone. Every other option takes exactly one value, even one that
// starts with a dash ("-t -5"), so a value is never mistaken for an option or a file.
// clang-format off
constexpr std::string_view FlagOptions[] = {
    "y", "n", "an", "vn", "sn", "dn", "nostdin", "stdin", "nostats", "stats", "hide_banner",
    "benchmark", "benchmark_all", "shortest", "copyts", "start_at_zero", "re", "dump", "hex",
    "xerror", "vstats", "accurate_seek", "noaccurate_seek", "seek_timestamp", "autorotate",
    "noautorotate", "autoscale", "noautoscale", "debug_ts", "fix_sub_duration", "ignore_unknown",
    "copyinkf", "psnr", "qphist", "version", "buildconf", "formats", "muxers",
    "demuxers", "devices", "codecs", "decoders", "encoders", "bsfs", "protocols", "filters",
    "pix_fmts", "layouts", "sample_fmts", "colors", "hwaccels", "L"};
// clang-format on

// Spellings of the same setting; FFmpeg uses the last one given for a file.
constexpr std::string_view AudioCodecNames[] = {"acodec", "c:a", "codec:a"};
constexpr std::string_view VideoCodecNames[] = {"vcodec", "c:v", "codec:v"};
constexpr std::string_view SampleRateNames[] = {"ar", "ar:a"};
constexpr std::string_view AudioBitrateNames[] = {"ab", "b:a"};
constexpr std::string_view ChannelNames[] = {"ac", "ac:a"};
constexpr std::string_view FrameRateNames[] = {"r", "r:v"};
constexpr std::string_view FormatNames[] = {"f"};
constexpr std::string_view SizeNames[] = {"s", "s:v"};
constexpr std::string_view ThreadNames[] = {"threads"};
constexpr std::string_view PixelFormatNames[] = {"pix_fmt", "pix_fmt:v"};

struct CodecReplacement {
    std::string_view from;
    std::string_view to;
};

// Encoders of older FFmpeg builds that today's lacks, and what does their work now.
constexpr CodecReplacement AudioCodecReplacements[] = {
    {"libfaac", "aac"}, // FAAC left FFmpeg; its native AAC encoder is the standard one now
};

// The container an output file's ending chooses, where a rule above depends on it.
struct EndingFormat {
    std::string_view ending;
    std::string_view format;
};
constexpr EndingFormat EndingFormats[] = {{".flv", "flv"}, {".swf", "swf"}};

// The audio encoder a container picks when the command line names none.
struct DefaultAudioCodec {
    std::string_view format;
    std::string_view codec;
};
constexpr DefaultAudioCodec DefaultAudioCodecs[] = {{"flv", "libmp3lame"}, {"swf", "libmp3lame"}};

struct Option {
    std::string name; // without its dash
    bool hasValue = false;
    std::string value;
};

// The options that stand before one file, and the file: "-i" + file for an input, a bare
// file name for an output.
struct FileGroup {
    bool isInput = false;
    std::vector<Option> options;
    std::string file;
};

struct ParsedLine {
    std::vector<FileGroup> groups;
    std::vector<Option> trailing; // options after the last file
};

bool isOneOf(std::string_view name, std::span<const std::string_view> names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool looksLikeOption(const std::string& argument) {
    return argument.size() > 1 && argument.front() == '-';
}

ParsedLine parse(const std::vector<std::string>& arguments) {
    ParsedLine line;
    std::vector<Option> pending;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!looksLikeOption(argument)) {
            line.groups.push_back({false, std::move(pending), argument});
            pending.clear();
            continue;
        }
        Option option{argument.substr(1), false, {}};
        if (!isOneOf(option.name, FlagOptions) && i + 1 < arguments.size()) {
            option.hasValue = true;
            option.value = arguments[++i];
        }
        if (option.name == "i" && option.hasValue) {
            line.groups.push_back({true, std::move(pending), option.value});
            pending.clear();
            continue;
        }
        pending.push_back(std::move(option));
    }
    line.trailing = std::move(pending);
    return line;
}

Option* lastOption(std::vector<Option>& options, std::span<const std::string_view> names) {
    for (auto it = options.rbegin(); it != options.rend(); ++it) {
        if (it->hasValue && isOneOf(it->name, names)) {
            return &*it;
        }
    }
    return nullptr;
}

bool hasFlag(const std::vector<Option>& options, std::string_view name) {
    return std::any_of(options.begin(), options.end(),
                       [name](const Option& option) { return option.name == name; });
}

bool hasOption(const ParsedLine& line, std::string_view name) {
    return hasFlag(line.trailing, name) ||
           std::any_of(line.groups.begin(), line.groups.end(),
                       [&](const FileGroup& group) { return hasFlag(group.options, name); });
}

std::string lastValue(const ParsedLine& line, std::string_view name) {
    std::string value;
    auto scan = [&](const std::vector<Option>& options) {
        for (const Option& option : options) {
            if (option.hasValue && option.name == name) {
                value = option.value;
            }
        }
    };
    for (const FileGroup& group : line.groups) {
        scan(group.options);
    }
    scan(line.trailing);
    return value;
}

std::string lowerCase(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return text;
}

bool endsWith(const std::string& text, std::string_view ending) {
    return text.size() >= ending.size() &&
           text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

// A whole number written in full, or nothing.
bool wholeNumber(const std::string& text, long long& number) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    number = std::strtoll(text.c_str(), &end, 10);
    return *end == '\0';
}

// A bitrate as FFmpeg reads it: a number with an optional k, M or G ("12.2k", "128000").
bool bitrateValue(const std::string& text, long long& bitsPerSecond) {
    if (text.empty()) {
        return false;
    }
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str()) {
        return false;
    }
    const std::string_view suffix(end);
    if (suffix == "k" || suffix == "K") {
        value *= 1e3;
    } else if (suffix == "M") {
        value *= 1e6;
    } else if (suffix == "G") {
        value *= 1e9;
    } else if (!suffix.empty()) {
        return false;
    }
    if (!(value >= 0 && value < 1e15)) {
        return false;
    }
    bitsPerSecond = std::llround(value);
    return true;
}

void moveTrailingOptions(ParsedLine& line) {
    auto lastOutput = std::find_if(line.groups.rbegin(), line.groups.rend(),
                                   [](const FileGroup& group) { return !group.isInput; });
    if (lastOutput == line.groups.rend() || line.trailing.empty()) {
        return;
    }
    for (Option& option : line.trailing) {
        lastOutput->options.push_back(std::move(option));
    }
    line.trailing.clear();
}

void replaceCodecs(FileGroup& output) {
    for (Option& option : output.options) {
        if (!option.hasValue || !isOneOf(option.name, AudioCodecNames)) {
            continue;
        }
        for (const CodecReplacement& replacement : AudioCodecReplacements) {
            if (option.value == replacement.from) {
                option.value = std::string(replacement.to);
            }
        }
    }
}

// An output -ss makes FFmpeg decode everything before the start and throw it away; as an input
// option it seeks, and exactly so when it re-encodes. The output keeps -t as its length.
void seekBeforeInput(ParsedLine& line) {
    std::vector<FileGroup*> inputs;
    std::vector<FileGroup*> outputs;
    for (FileGroup& group : line.groups) {
        (group.isInput ? inputs : outputs).push_back(&group);
    }
    if (inputs.size() != 1 || outputs.size() != 1) {
        return;
    }
    std::vector<Option>& inputOptions = inputs.front()->options;
    std::vector<Option>& outputOptions = outputs.front()->options;
    auto isSeek = [](const Option& option) { return option.hasValue && option.name == "ss"; };
    if (std::any_of(inputOptions.begin(), inputOptions.end(), isSeek)) {
        return;
    }
    auto seek = std::find_if(outputOptions.rbegin(), outputOptions.rend(), isSeek);
    if (seek == outputOptions.rend()) {
        return;
    }
    inputOptions.push_back(*seek);
    // A second, earlier -ss would be overridden by the one moved, so it goes too.
    std::erase_if(outputOptions, isSeek);
}

std::string outputFormat(FileGroup& output) {
    if (const Option* format = lastOption(output.options, FormatNames)) {
        return format->value;
    }
    const std::string file = lowerCase(output.file);
    for (const EndingFormat& entry : EndingFormats) {
        if (endsWith(file, entry.ending)) {
            return std::string(entry.format);
        }
    }
    return {};
}

// Where the command line gives no sample rate or channel count, an encoder that cannot take
// the source's gets the nearest it takes. False when that needs facts about the source that
// were not given.
bool fitSourceSound(FileGroup& output, const std::string& audioCodec, const std::string& format,
                    const SourceFacts& source) {
    const bool rateGiven = lastOption(output.options, SampleRateNames) != nullptr;
    const bool channelsGiven = lastOption(output.options, ChannelNames) != nullptr;
    if (!fitsSourceSound(audioCodec) || hasFlag(output.options, "an") ||
        (rateGiven && channelsGiven)) {
        return true;
    }
    if (!source.known) {
        return false;
    }
    if (!source.hasAudio) {
        return true;
    }
    if (const int rate = acceptedSampleRate(audioCodec, format, source.sampleRate);
        !rateGiven && source.sampleRate > 0 && rate != source.sampleRate) {
        output.options.push_back({"ar", true, std::to_string(rate)});
    }
    if (const int channels = acceptedChannelCount(audioCodec, source.channels);
        !channelsGiven && source.channels > 0 && channels != source.channels) {
        output.options.push_back({"ac", true, std::to_string(channels)});
    }
    return true;
}

// FFmpeg's lavfi source of silence, as a second input when a container needs sound.
constexpr std::string_view SilentSound = "anullsrc=channel_layout=stereo:sample_rate=48000";

// The output takes the first input's first picture and the silence's sound, and ends with
// the picture.
void addSilentSound(ParsedLine& line, std::size_t outputIndex) {
    FileGroup& output = line.groups[outputIndex];
    std::erase_if(output.options, [](const Option& option) { return option.name == "an"; });
    const long inputs = std::count_if(line.groups.begin(), line.groups.end(),
                                      [](const FileGroup& group) { return group.isInput; });
    output.options.insert(output.options.end(), {{"map", true, "0:v:0"},
                                                 {"map", true, std::to_string(inputs) + ":a:0"},
                                                 {"shortest", false, {}}});
    line.groups.insert(line.groups.begin() + static_cast<std::ptrdiff_t>(outputIndex),
                       {true, {{"f", true, "lavfi"}}, std::string(SilentSound)});
}

// Fits one output to its encoders and container. False when a limit depends on facts about the
// source that were not given.
bool fitLimits(FileGroup& output, const SourceFacts& source) {
    const std::string format = outputFormat(output);
    std::string audioCodec;
    if (const Option* codec = lastOption(output.options, AudioCodecNames)) {
        audioCodec = codec->value;
    } else {
        for (const DefaultAudioCodec& entry : DefaultAudioCodecs) {
            if (entry.format == format) {
                audioCodec = std::string(entry.codec);
            }
        }
    }

    long long sampleRate = 0;
    if (Option* rate = lastOption(output.options, SampleRateNames);
        rate && wholeNumber(rate->value, sampleRate) && sampleRate > 0 && sampleRate < 10000000) {
        const int accepted = acceptedSampleRate(audioCodec, format, static_cast<int>(sampleRate));
        if (accepted != sampleRate) {
            rate->value = std::to_string(accepted);
            sampleRate = accepted;
        }
    } else {
        sampleRate = 0;
    }

    long long channels = 0;
    if (Option* count = lastOption(output.options, ChannelNames);
        count && wholeNumber(count->value, channels) && channels > 0 && channels <= 64) {
        const int accepted = acceptedChannelCount(audioCodec, static_cast<int>(channels));
        if (accepted != channels) {
            count->value = std::to_string(accepted);
            channels = accepted;
        }
    } else {
        channels = 0;
    }

    long long bitrate = 0;
    if (Option* option = lastOption(output.options, AudioBitrateNames);
        option && bitrateValue(option->value, bitrate)) {
        const long long accepted = acceptedAudioBitrate(audioCodec, static_cast<int>(sampleRate),
                                                        static_cast<int>(channels), bitrate);
        if (accepted != bitrate) {
            option->value = std::to_string(accepted);
        }
    }

    std::string videoCodec;
    if (const Option* codec = lastOption(output.options, VideoCodecNames)) {
        videoCodec = codec->value;
    }
    if (Option* rate = lastOption(output.options, FrameRateNames)) {
        rate->value = acceptedFrameRate(videoCodec, rate->value);
    }
    if (Option* size = lastOption(output.options, SizeNames)) {
        size->value = acceptedVideoSize(videoCodec, size->value);
    }
    if (const std::string_view pixels = devicePixelFormat(videoCodec);
        !pixels.empty() && !lastOption(output.options, PixelFormatNames) &&
        !hasFlag(output.options, "vn")) {
        output.options.push_back({"pix_fmt", true, std::string(pixels)});
    }

    if (Option* count = lastOption(output.options, ThreadNames)) {
        count->value = acceptedThreadCount(count->value);
    }
    return fitSourceSound(output, audioCodec, format, source);
}

// Whether the output needs a silent sound track: its container needs sound and it would have
// none. Nothing is known when that depends on facts about the source that were not given.
std::optional<bool> needsSilentSound(FileGroup& output, const SourceFacts& source) {
    if (!needsSound(outputFormat(output))) {
        return false;
    }
    if (hasFlag(output.options, "an")) {
        return true;
    }
    if (!source.known) {
        return std::nullopt;
    }
    return !source.hasAudio;
}

void append(std::vector<std::string>& arguments, const std::vector<Option>& options) {
    for (const Option& option : options) {
        arguments.push_back("-" + option.name);
        if (option.hasValue) {
            arguments.push_back(option.value);
        }
    }
}

} // namespace

EncoderCall translateEncoderArguments(const std::vector<std::string>& arguments,
                                      int progressDescriptor, const SourceFacts& source) {
    ParsedLine line = parse(arguments);
    moveTrailingOptions(line);
    seekBeforeInput(line);
    EncoderCall call;
    for (std::size_t index = 0; index < line.groups.size(); ++index) {
        FileGroup& group = line.groups[index];
        if (group.isInput) {
            if (const Option* format = lastOption(group.options, FormatNames)) {
                call.inputFormat = format->value;
            }
            continue;
        }
        replaceCodecs(group);
        if (!fitLimits(group, source)) {
            call.needsSource = true;
        }
        const std::optional<bool> silent = needsSilentSound(group, source);
        if (!silent) {
            call.needsSource = true;
        } else if (*silent) {
            addSilentSound(line, index);
            ++index;
        }
    }

    // FFmpeg would ask on standard input before it overwrites, and that input is the program's
    // key channel. The program has settled existing files before it starts the encoder, and
    // fp.dll refuses to write onto an input.
    if (!hasOption(line, "y") && !hasOption(line, "n")) {
        call.arguments.push_back("-y");
    }
    // Version 2, the default, puts "out= st=" in front of each line and moves the time out of
    // the sixth "="-separated field.
    if (!hasOption(line, "vstats_version")) {
        call.arguments.insert(call.arguments.end(), {"-vstats_version", "1"});
    }
    if (progressDescriptor >= 0) {
        call.arguments.insert(call.arguments.end(),
                              {"-progress", "pipe:" + std::to_string(progressDescriptor)});
    }
    // FFmpeg keeps existing files itself when it is given -n; the rename at the end would not.
    const bool throughTemporaries = !hasOption(line, "n");
    for (const FileGroup& group : line.groups) {
        append(call.arguments, group.options);
        if (group.isInput) {
            call.arguments.push_back("-i");
            call.inputs.push_back(group.file);
            call.arguments.push_back(group.file);
            continue;
        }
        call.outputs.push_back(group.file);
        if (throughTemporaries && isWrittenThroughTemporary(group.file)) {
            call.temporaryOutputs.push_back({temporaryOutputPath(group.file), group.file});
            call.arguments.push_back(call.temporaryOutputs.back().temporary);
        } else {
            call.arguments.push_back(group.file);
        }
    }
    append(call.arguments, line.trailing);
    call.statisticsFile = lastValue(line, "vstats_file");
    return call;
}

} // namespace vidora
