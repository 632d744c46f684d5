#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vidora {

// What fp.dll learns of a job's source when a row's encoder or container cannot take every
// source as it comes. The sound is that of the audio stream FFmpeg picks on its own.
struct SourceFacts {
    bool known = false; // false: not probed, or the probe failed
    bool hasVideo = false;
    bool hasAudio = false;
    int sampleRate = 0;
    int channels = 0;
};

// ffprobe's arguments for a source (and the -f its input was given, empty for none): one line
// per stream, "codec_type=audio|sample_rate=96000|channels=6|disposition:default=1".
std::vector<std::string> sourceProbeArguments(const std::string& input, const std::string& format);

// Reads that output. Of several audio streams FFmpeg picks the one marked default, then the one
// with the most channels, then the first.
SourceFacts parseSourceProbe(std::string_view output);

} // namespace vidora
