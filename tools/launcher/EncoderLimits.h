#pragma once

#include <string>
#include <string_view>

namespace vidora {

// What an FFmpeg encoder, inside a given container, accepts of the values a profile asks for.
// Each function returns the accepted value nearest to the one asked for, or the value itself
// where nothing is known against it. Codec and format names are FFmpeg's ("libmp3lame",
// "flv"); an empty format means "whatever the output file's ending chooses".

int acceptedSampleRate(std::string_view audioCodec, std::string_view format, int sampleRate);

// The number of channels the encoder takes that is nearest to `channels`.
int acceptedChannelCount(std::string_view audioCodec, int channels);

// Whether FFmpeg leaves the encoder to refuse a source's sound that it cannot take (it fits
// the sound only to encoders that list what they accept): then fp.dll asks for a sample rate
// and channel count the encoder takes, found from the source, wherever the command line gives
// none.
bool fitsSourceSound(std::string_view audioCodec);

// Whether the container refuses a file without sound (Sony's PSP variant of MP4 wants exactly
// one video and one audio stream).
bool needsSound(std::string_view format);

// countText is the value of -threads as stored ("2", "2.5", "-1"); the result is a whole count
// FFmpeg takes: the nearest one, at least 1 for a positive count, and 0 (FFmpeg chooses) for a
// negative one.
std::string acceptedThreadCount(const std::string& countText);

// channels and sampleRate are 0 when the command line does not set them.
long long acceptedAudioBitrate(std::string_view audioCodec, int sampleRate, int channels,
                               long long bitsPerSecond);

// rateText is the value of -r as written ("29.970", "30000/1001"); the result is the text to
// put in its place.
std::string acceptedFrameRate(std::string_view videoCodec, const std::string& rateText);

// The picture format an encoder is to write when the command line names none, empty for
// whatever FFmpeg picks from the source. x264 would keep a 10-bit or 4:4:4 source's format,
// which no player of the catalogue's devices decodes.
std::string_view devicePixelFormat(std::string_view videoCodec);

// sizeText is the value of -s ("720x405"); the result is the text to put in its place.
std::string acceptedVideoSize(std::string_view videoCodec, const std::string& sizeText);

} // namespace vidora
