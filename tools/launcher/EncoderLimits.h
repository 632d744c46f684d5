#pragma once

#include <string>
#include <string_view>

namespace vidora {

// What an FFmpeg encoder, inside a given container, accepts of the values a profile asks for.
// Each function returns the accepted value nearest to the one asked for, or the value itself
// where nothing is known against it. Codec and format names are FFmpeg's ("libmp3lame",
// "flv"); an empty format means "whatever the output file's ending chooses".

int acceptedSampleRate(std::string_view audioCodec, std::string_view format, int sampleRate);

// channels and sampleRate are 0 when the command line does not set them.
long long acceptedAudioBitrate(std::string_view audioCodec, int sampleRate, int channels,
                               long long bitsPerSecond);

// rateText is the value of -r as written ("29.970", "30000/1001"); the result is the text to
// put in its place.
std::string acceptedFrameRate(std::string_view videoCodec, const std::string& rateText);

// sizeText is the value of -s ("720x405"); the result is the text to put in its place.
std::string acceptedVideoSize(std::string_view videoCodec, const std::string& sizeText);

} // namespace vidora
