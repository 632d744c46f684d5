#include "launcher/EncoderLimits.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <span>

namespace vidora {

namespace {

// Sample rates (Hz) an encoder opens with, as FFmpeg 5.1 lists them.
constexpr int Ac3Rates[] = {48000, 44100, 32000};
constexpr int Mp2Rates[] = {48000, 44100, 32000, 24000, 22050, 16000};
constexpr int Mp3Rates[] = {48000, 44100, 32000, 24000, 22050, 16000, 12000, 11025, 8000};
constexpr int AacRates[] = {96000, 88200, 64000, 48000, 44100, 32000, 24000,
                            22050, 16000, 12000, 11025, 8000,  7350};
// A Flash header names MP3 sound only at these three rates; FFmpeg's flv and swf writers refuse
// any other.
constexpr int FlashMp3Rates[] = {44100, 22050, 11025};

// Encoders that list no sample rates or channel layouts for FFmpeg to choose from and refuse
// what they cannot take when they open ("sample rate is too high: 96000 > 48kHz", "too many
// channels: got 6, need 2 or fewer"). Any rate up to the highest one is taken.
struct SoundLimit {
    std::string_view codec;
    int highestRate;
    int mostChannels;
};

constexpr SoundLimit SoundLimits[] = {
    {"wmav1", 48000, 2},
    {"wmav2", 48000, 2},
};

const SoundLimit* soundLimitOf(std::string_view audioCodec) {
    for (const SoundLimit& limit : SoundLimits) {
        if (limit.codec == audioCodec) {
            return &limit;
        }
    }
    return nullptr;
}

constexpr std::string_view FormatsNeedingSound[] = {"psp"};

struct SampleRateRule {
    std::string_view codec;
    std::string_view format; // empty: any container
    std::span<const int> rates;
};

// The first rule that matches decides; container rules stand before the encoder's own.
constexpr SampleRateRule SampleRateRules[] = {
    {"libmp3lame", "flv", FlashMp3Rates},
    {"libmp3lame", "swf", FlashMp3Rates},
    {"libmp3lame", "", Mp3Rates},
    {"ac3", "", Ac3Rates},
    {"mp2", "", Mp2Rates},
    {"aac", "", AacRates},
};

// MPEG audio layer II knows only these bitrates (kbit/s): the first list for 32 kHz and up,
// the second for the half rates of MPEG-2.
constexpr int Mp2Kbits[] = {32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384};
constexpr int Mp2HalfRateKbits[] = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};

// libvorbis refuses to set up a managed bitrate outside a range that depends on the channels
// and the sample rate. Measured with FFmpeg 5.1 in 1 kbit/s steps; a rate uses the row with
// the highest rate not above it.
struct VorbisRange {
    int channels;
    int fromRate;
    int minimumKbits;
    int maximumKbits;
};

constexpr VorbisRange VorbisRanges[] = {
    {1, 0, 8, 42},       {1, 11025, 12, 50},  {1, 16000, 16, 100}, {1, 22050, 16, 90},
    {1, 32000, 30, 190}, {1, 44100, 32, 240}, {2, 0, 12, 84},      {2, 11025, 16, 100},
    {2, 16000, 24, 200}, {2, 22050, 30, 180}, {2, 32000, 36, 380}, {2, 44100, 45, 500},
};

struct FrameRate {
    int numerator;
    int denominator;
};

// MPEG-1 video names only these picture rates. FFmpeg would round other rates to the nearest
// entry of a longer list that MPEG-1 then refuses (10 fps for 8), so the launcher rounds to the
// nearest rate of this one.
constexpr FrameRate Mpeg1Rates[] = {{24000, 1001}, {24, 1}, {25, 1},       {30000, 1001},
                                    {30, 1},       {50, 1}, {60000, 1001}, {60, 1}};

// Encoders whose picture width and height must be multiples of a number: 4:2:0 pictures of
// x264 and Xvid have half-size colour planes, H.263+ codes blocks of four.
struct SizeMultiple {
    std::string_view codec;
    int multiple;
};

constexpr SizeMultiple SizeMultiples[] = {{"libx264", 2}, {"libxvid", 2}, {"h263p", 4}};

struct PixelFormat {
    std::string_view codec;
    std::string_view format;
};

// 8-bit pictures with half-size colour planes: what the profiles' H.264 players decode.
constexpr PixelFormat DevicePixelFormats[] = {{"libx264", "yuv420p"}};

// Of equally near values the higher one wins: it loses nothing.
int nearest(std::span<const int> values, int wanted) {
    int best = values.front();
    for (int value : values) {
        const long long distance = std::llabs(static_cast<long long>(value) - wanted);
        const long long bestDistance = std::llabs(static_cast<long long>(best) - wanted);
        if (distance < bestDistance || (distance == bestDistance && value > best)) {
            best = value;
        }
    }
    return best;
}

// A rate written as a decimal number or as a fraction "a/b"; NaN when it is neither.
double frameRateValue(const std::string& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    const double numerator = std::strtod(begin, &end);
    if (end == begin) {
        return NAN;
    }
    if (*end == '\0') {
        return numerator;
    }
    if (*end != '/') {
        return NAN;
    }
    const char* denominatorBegin = end + 1;
    const double denominator = std::strtod(denominatorBegin, &end);
    if (end == denominatorBegin || *end != '\0' || denominator == 0) {
        return NAN;
    }
    return numerator / denominator;
}

} // namespace

int acceptedSampleRate(std::string_view audioCodec, std::string_view format, int sampleRate) {
    if (const SoundLimit* limit = soundLimitOf(audioCodec)) {
        return std::min(sampleRate, limit->highestRate);
    }
    for (const SampleRateRule& rule : SampleRateRules) {
        if (rule.codec == audioCodec && (rule.format.empty() || rule.format == format)) {
            return nearest(rule.rates, sampleRate);
        }
    }
    return sampleRate;
}

int acceptedChannelCount(std::string_view audioCodec, int channels) {
    if (const SoundLimit* limit = soundLimitOf(audioCodec)) {
        return std::min(channels, limit->mostChannels);
    }
    return channels;
}

bool fitsSourceSound(std::string_view audioCodec) {
    return soundLimitOf(audioCodec) != nullptr;
}

bool needsSound(std::string_view format) {
    return std::find(std::begin(FormatsNeedingSound), std::end(FormatsNeedingSound), format) !=
           std::end(FormatsNeedingSound);
}

std::string acceptedThreadCount(const std::string& countText) {
    const char* begin = countText.c_str();
    char* end = nullptr;
    const double count = std::strtod(begin, &end);
    if (end == begin || *end != '\0' || std::isnan(count)) {
        return countText;
    }
    if (count < 0) {
        return "0";
    }
    const long long whole = std::llround(std::min(count, 1e6));
    return std::to_string(count > 0 ? std::max(whole, 1LL) : 0LL);
}

long long acceptedAudioBitrate(std::string_view audioCodec, int sampleRate, int channels,
                               long long bitsPerSecond) {
    if (audioCodec == "mp2" && sampleRate > 0) {
        const std::span<const int> kbits =
            sampleRate >= 32000 ? std::span<const int>(Mp2Kbits) : Mp2HalfRateKbits;
        const long long wanted = (bitsPerSecond + 500) / 1000;
        return 1000LL * nearest(kbits, static_cast<int>(std::min(wanted, 100000LL)));
    }
    if (audioCodec == "libvorbis" && sampleRate > 0 && channels > 0) {
        const VorbisRange* range = nullptr;
        for (const VorbisRange& candidate : VorbisRanges) {
            if (candidate.channels == channels && candidate.fromRate <= sampleRate) {
                range = &candidate;
            }
        }
        if (range != nullptr) {
            return std::clamp(bitsPerSecond, 1000LL * range->minimumKbits,
                              1000LL * range->maximumKbits);
        }
    }
    return bitsPerSecond;
}

std::string_view devicePixelFormat(std::string_view videoCodec) {
    for (const PixelFormat& entry : DevicePixelFormats) {
        if (entry.codec == videoCodec) {
            return entry.format;
        }
    }
    return {};
}

std::string acceptedVideoSize(std::string_view videoCodec, const std::string& sizeText) {
    int multiple = 0;
    for (const SizeMultiple& entry : SizeMultiples) {
        if (entry.codec == videoCodec) {
            multiple = entry.multiple;
        }
    }
    const std::size_t x = sizeText.find('x');
    if (multiple == 0 || x == std::string::npos) {
        return sizeText;
    }
    auto side = [](const std::string& text) {
        char* end = nullptr;
        const long value = text.empty() || text[0] < '0' || text[0] > '9'
                               ? -1
                               : std::strtol(text.c_str(), &end, 10);
        return (end && *end == '\0' && value > 0 && value < 100000) ? static_cast<int>(value) : -1;
    };
    const int width = side(sizeText.substr(0, x));
    const int height = side(sizeText.substr(x + 1));
    if (width < 0 || height < 0) {
        return sizeText;
    }
    // The nearest multiple, halfway rounding up, and never less than one multiple.
    auto fit = [multiple](int length) {
        return std::max(multiple, (length + multiple / 2) / multiple * multiple);
    };
    if (fit(width) == width && fit(height) == height) {
        return sizeText;
    }
    return std::to_string(fit(width)) + "x" + std::to_string(fit(height));
}

std::string acceptedFrameRate(std::string_view videoCodec, const std::string& rateText) {
    if (videoCodec != "mpeg1video") {
        return rateText;
    }
    const double wanted = frameRateValue(rateText);
    if (std::isnan(wanted) || wanted <= 0) {
        return rateText;
    }
    const FrameRate* best = &Mpeg1Rates[0];
    for (const FrameRate& rate : Mpeg1Rates) {
        const double value = static_cast<double>(rate.numerator) / rate.denominator;
        const double bestValue = static_cast<double>(best->numerator) / best->denominator;
        if (std::fabs(value - wanted) < std::fabs(bestValue - wanted)) {
            best = &rate;
        }
    }
    // A rate FFmpeg would find by itself ("29.970" for 30000/1001) is left as written.
    if (std::fabs(static_cast<double>(best->numerator) / best->denominator - wanted) < 0.01) {
        return rateText;
    }
    if (best->denominator == 1) {
        return std::to_string(best->numerator);
    }
    return std::to_string(best->numerator) + "/" + std::to_string(best->denominator);
}

} // namespace vidora
