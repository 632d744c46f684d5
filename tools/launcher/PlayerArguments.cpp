#include "launcher/PlayerArguments.h"

#include <algorithm>
#include <string_view>

namespace vidora {

namespace {

// Options of Windows builds of MPlayer that take a value and mean nothing here.
constexpr std::string_view DroppedOptions[] = {"-priority"};

struct ValueReplacement {
    std::string_view option;
    std::string_view from;
    std::string_view to;
    // An option added after the replaced pair; empty for none.
    std::string_view added;
};

constexpr ValueReplacement ValueReplacements[] = {
    // The trailing comma lets MPlayer go on to any other driver when none of the three opens.
    // "-zoom" lets the outputs that cannot scale themselves (x11) fill the host window as gl
    // does; the others are not changed by it.
    {"-vo", "gl2", "gl,xv,x11,", "-zoom"},
};

// MPlayer 1.5 reports no ID_LENGTH for a file with sound only when "-nosound" stands in an
// identify run. Decoding the sound into the PCM writer's fast mode, aimed at /dev/null, gives
// the length and keeps the run as quick (the null sound output would play in real time). The
// last argument is the file and is never touched.
std::vector<std::string> identifyWithLength(std::vector<std::string> arguments) {
    if (arguments.size() < 2)
        return arguments;
    const auto options_end = arguments.end() - 1;
    if (std::find(arguments.begin(), options_end, "-identify") == options_end)
        return arguments;
    const auto nosound = std::find(arguments.begin(), options_end, "-nosound");
    if (nosound == options_end)
        return arguments;
    *nosound = "-ao";
    arguments.insert(nosound + 1, "pcm:fast:file=/dev/null");
    return arguments;
}

} // namespace

std::vector<std::string> translatePlayerArguments(const std::vector<std::string>& arguments) {
    std::vector<std::string> translated;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        bool dropped = false;
        for (std::string_view option : DroppedOptions) {
            if (argument == option) {
                dropped = true;
            }
        }
        if (dropped) {
            ++i; // its value
            continue;
        }
        translated.push_back(argument);
        if (i + 1 >= arguments.size()) {
            continue;
        }
        for (const ValueReplacement& replacement : ValueReplacements) {
            if (argument == replacement.option && arguments[i + 1] == replacement.from) {
                translated.push_back(std::string(replacement.to));
                if (!replacement.added.empty()) {
                    translated.push_back(std::string(replacement.added));
                }
                ++i;
                break;
            }
        }
    }
    return identifyWithLength(translated);
}

} // namespace vidora
