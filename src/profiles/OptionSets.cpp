#include "profiles/OptionSets.h"

#include "profiles/OptionSheet.h"

#include <array>
#include <vector>

namespace vidora {

namespace {

using Choices = std::vector<const char*>;

// What a row does to one item.
enum class Effect {
    Unchanged, // neither value nor choices are touched
    Replace,   // choices cleared, value set, then the choices added in order
    ValueOnly, // value set, choices untouched
    Append     // value set, then the choices added after those the item already has
};

struct ItemEffect {
    Effect effect = Effect::Unchanged;
    const char* value = nullptr;
    Choices choices;
};

ItemEffect replace(const char* text, const Choices& choices) {
    return {Effect::Replace, text, choices};
}

ItemEffect value(const char* text) {
    return {Effect::ValueOnly, text, {}};
}

ItemEffect append(const char* text, const Choices& choices) {
    return {Effect::Append, text, choices};
}

const ItemEffect kUnchanged{};

struct ItemAddress {
    const char* category;
    const char* caption;
};

// The seven items an option set may touch, in the order every set visits them: the video
// items first, then the audio items. For the device sets the order does not change the
// outcome (a failing step is skipped); for the common formats it decides which items a
// failing step leaves untouched.
constexpr std::array<ItemAddress, 7> kItems{{
    {"Video Options", "Video Codec"},
    {"Video Options", "Video Size"},
    {"Video Options", "Video Bitrate"},
    {"Video Options", "Video Framerate"},
    {"Audio Options", "Audio Codec"},
    {"Audio Options", "Audio Bitrate"},
    {"Audio Options", "Sample Rate"},
}};

// One row's effects, in the order of kItems.
using OptionSet = std::array<ItemEffect, kItems.size()>;

// Choice lists used by more than one row.
const Choices kXvidMpeg4X264{"xvid", "mpeg4", "x264"};
const Choices kXvidMpeg4{"xvid", "mpeg4"};
const Choices kXvidX264Mpeg4{"xvid", "x264", "mpeg4"};
const Choices kMpeg4Xvid{"mpeg4", "xvid"};
const Choices kMpeg4{"mpeg4"};
const Choices kX264{"x264"};
const Choices kMpeg2Video{"mpeg2video"};
const Choices kWmvV9V8{"WMV V9", "WMV V8"};
const Choices kWmvV9{"WMV V9"};
const Choices kH263Mpeg4{"h263", "mpeg4"};
const Choices kMjpeg{"mjpeg"};
const Choices kFlv{"FLV"};

const Choices kAac{"aac"};
const Choices kMp3{"mp3"};
const Choices kWma9{"WMA9"};
const Choices kAc3{"ac3"};
const Choices kPcm{"pcm"};
const Choices kAmrNbFaac{"amr_nb", "faac"};

const Choices kIPadSizes{"480x320", "640x480", "1024x768", "1280x720"};
const Choices kIPodSizes{"320x240", "480x270", "480x320", "640x480"};
const Choices kIPhoneSizes{"480x320", "480x270", "720x405", "640x480"};
const Choices kAppleTvSizes{"320x240", "480x320", "480x270", "720x432", "640x480"};
const Choices kAndroidSizes{"480x320", "480x270", "720x405", "640x480"};
const Choices kAndroidWideSizes{"480x320", "480x270", "720x405", "640x480", "800x480"};
const Choices kPspSizes{"368x208", "320x240", "160x112"};
const Choices kPs3Sizes{"480x272", "640x480", "720x480", "720x576"};
const Choices kPocketSizes{"320x240", "220x176", "176x144", "160x112"};
const Choices kSize320x240{"320x240"};
const Choices kZuneHdSizes{"320x240", "480x272", "720x480", "720x576", "1280x720"};
const Choices kSize160x128{"160x128"};
const Choices kArchosWideSizes{"320x240", "160x128", "480x272", "640x480", "720x576", "800x480"};
const Choices kSize128x128{"128x128"};
const Choices kSansaSizes{"640x480", "512x384", "480x576", "480x480",
                          "480x320", "320x240", "224x176", "160x112"};
const Choices kXboxSizes{"320x240",  "640x480",   "720x480",  "720x576",  "1024x768",
                         "1280x720", "1280x1024", "1366x768", "1920x1080"};
const Choices kWiiSizes{"848x480", "720x576", "720x480", "640x480", "512x384", "480x576", "480x480",
                        "480x320", "480x272", "368x208", "320x240", "352x288", "352x240"};
const Choices kPhone3gpSizes{"128x96", "176x144", "352x288", "704x576", "1408x1152"};
const Choices kBlackBerrySizes{"480x360", "480x320", "160x112", "320x240"};
const Choices kNokiaSizes{"128x96",  "176x144", "220x176", "320x176",
                          "320x240", "352x288", "640x480"};
const Choices kPalmSizes{"320x240", "720x576", "640x480"};
const Choices kFlashSizes{"128x96", "176x144", "220x176", "320x240", "704x576", "640x480"};
const Choices kNtscDvdSizes{"720x480", "704x480", "352x480", "352x240"};

const Choices kPs3BitrateAdditions{"2000", "2500", "3000"};
const Choices kPocketPcBitrateAdditions{"384"};
const Choices kGigabeatBitrates{"768", "512", "384", "256"};
const Choices kDvdBitrates{"8000", "5000", "2000"};
const Choices kDvdAudioBitrates{"128", "192"};

// The long size list of the customisable formats; 720x480 and 720x576 are in it twice.
const Choices kLongSizes{"128x96",  "176x144", "352x240",  "352x288",  "480x272",   "480x480",
                         "480x576", "640x480", "720x480",  "720x576",  "704x576",   "320x240",
                         "720x480", "720x576", "1080x720", "1280x720", "1440x1080", "1920x1080"};
// The MPEG-1 list: the first twelve of the long list.
const Choices kShortSizes(kLongSizes.begin(), kLongSizes.begin() + 12);
const Choices kCustomisedBitrates{"768", "2000", "4000", "5000", "6000", "8000", "10000", "12000"};

constexpr int kFirstDeviceRow = 0;
constexpr int kLastDeviceRow = 85;
constexpr int kFirstCommonRow = 86;
constexpr int kLastCommonRow = 100;

// Rows 0 to 85. A group header row gets the set of its first entry, except "Apple iPod",
// whose header proposes an audio bitrate of 128 where its first entry proposes 64.
const std::array<OptionSet, kLastDeviceRow - kFirstDeviceRow + 1>& deviceSets() {
    static const std::array<OptionSet, kLastDeviceRow - kFirstDeviceRow + 1> sets{{
        // 0 "Apple iPad"
        {replace("x264", kXvidMpeg4X264), replace("1024x768", kIPadSizes), value("768"),
         value("25"), replace("aac", kAac), value("128"), value("44100")},
        // 1 "Apple iPad MPEG-4 Movie(*.mp4)"
        {replace("x264", kXvidMpeg4X264), replace("1024x768", kIPadSizes), value("768"),
         value("25"), replace("aac", kAac), value("128"), value("44100")},
        // 2 "Apple iPod Movie for 480p TV Out(*.mp4)", iPad block
        {replace("x264", kXvidMpeg4X264), replace("640x480", kIPadSizes), value("768"), value("25"),
         replace("aac", kAac), value("128"), value("44100")},
        // 3 "Apple iPod Movie for 576p TV Out(*.mp4)", iPad block
        {replace("x264", kXvidMpeg4X264),
         replace("720x576", {"720x576", "480x320", "640x480", "1024x768", "1280x720"}),
         value("768"), value("25"), replace("aac", kAac), value("128"), value("44100")},
        // 4 "Apple iPod Movie for 720p TV Out(*.mp4)"
        {replace("x264", kXvidMpeg4X264), replace("1280x720", kIPadSizes), value("768"),
         value("25"), replace("aac", kAac), value("128"), value("44100")},

        // 5 "Apple iPod"
        {replace("xvid", kXvidMpeg4X264), replace("320x240", kIPodSizes), value("512"), value("25"),
         replace("aac", kAac), value("128"), value("44100")},
        // 6 "Apple iPod Video MPEG-4 Movie(*.mp4)"
        {replace("xvid", kXvidMpeg4X264), replace("320x240", kIPodSizes), value("512"), value("25"),
         replace("aac", kAac), value("64"), value("44100")},
        // 7 "Apple iPod Nano/Classic MPEG-4 Movie(*.mp4)"
        {replace("xvid", kXvidMpeg4X264), replace("320x240", kIPodSizes), value("512"), value("25"),
         replace("aac", kAac), value("160"), value("44100")},
        // 8 "Apple iPod Movie for 480p TV Out(*.mp4)", iPod block
        {replace("xvid", kXvidMpeg4X264), replace("640x480", {"640x480"}), value("512"),
         value("25"), replace("aac", kAac), value("128"), value("44100")},
        // 9 "Apple iPod Movie for 576p TV Out(*.mp4)", iPod block
        {replace("xvid", kXvidMpeg4X264), replace("768x576", {"768x576"}), value("512"),
         value("25"), replace("aac", kAac), value("128"), value("44100")},
        // 10 "Apple iPod Touch MPEG-4 Movie(*.mp4)"
        {replace("xvid", kXvidMpeg4X264), replace("320x240", kIPodSizes), value("768"), value("25"),
         replace("aac", kAac), value("128"), value("44100")},

        // 11 "Apple iPhone"
        {replace("x264", kXvidMpeg4X264), replace("480x320", kIPhoneSizes), value("768"),
         value("25"), replace("aac", kAac), value("128"), value("44100")},
        // 12 "Apple iPhone MPEG-4 Movie(*.mp4)"
        {replace("x264", kXvidMpeg4X264), replace("480x320", kIPhoneSizes), value("768"),
         value("25"), replace("aac", kAac), value("128"), value("44100")},
        // 13 "Apple iPhone Movie for 480p TV Out(*.mp4)"
        {replace("x264", kXvidMpeg4X264), replace("640x480", kIPhoneSizes), value("768"),
         value("25"), replace("aac", kAac), value("128"), value("44100")},
        // 14 "Apple iPhone Movie for 576p TV Out(*.mp4)"
        {replace("x264", kXvidMpeg4X264),
         replace("768x576", {"480x320", "480x270", "720x405", "640x480", "768x576"}), value("768"),
         value("25"), replace("aac", kAac), value("128"), value("44100")},

        // 15 "Apple TV"
        {replace("xvid", kXvidMpeg4), replace("720x432", kAppleTvSizes), value("512"), value("25"),
         replace("aac", kAac), value("128"), value("44100")},
        // 16 "Apple TV MPEG-4 Movie(*.mp4)"
        {replace("xvid", kXvidMpeg4), replace("720x432", kAppleTvSizes), value("512"), value("25"),
         replace("aac", kAac), value("128"), value("44100")},
        // 17 "Apple TV MPEG-4 AVC Movie(*.mp4)"
        {replace("x264", kX264),
         replace("768x576", {"320x240", "480x320", "480x270", "720x432", "640x480", "768x576",
                             "960x540", "1280x720"}),
         value("1500"), value("24"), replace("aac", kAac), value("64"), value("44100")},

        // 18 "Google Android"
        {replace("x264", kXvidX264Mpeg4), replace("480x320", kAndroidSizes), value("768"),
         value("25"), replace("aac", kAac), value("128"), value("44100")},
        // 19 "Google Android MPEG-4 Movie(*.mp4)"
        {replace("x264", kXvidX264Mpeg4), replace("480x320", kAndroidSizes), value("768"),
         value("25"), replace("aac", kAac), value("128"), value("44100")},
        // 20 "Google Nexus One MPEG-4 Movie(*.mp4)"
        {replace("x264", kXvidX264Mpeg4), replace("800x480", kAndroidWideSizes), value("1200"),
         value("25"), replace("aac", kAac), value("128"), value("44100")},
        // 21 "Sony Ericsson Xperia MPEG-4 Movie(*.mp4)"
        {replace("x264", kXvidX264Mpeg4),
         replace("854x480", {"480x320", "640x480", "800x480", "854x480"}), value("1200"),
         value("25"), replace("aac", kAac), value("128"), value("44100")},
        // 22 "HTC Desire MPEG-4 Movie(*.mp4)"
        {replace("x264", kXvidX264Mpeg4), replace("800x480", kAndroidWideSizes), value("1200"),
         value("25"), replace("aac", kAac), value("128"), value("44100")},
        // 23 "IS01 MPEG-4 Movie(*.mp4)"
        {replace("x264", kXvidX264Mpeg4),
         replace("960x480", {"320x240", "640x480", "800x480", "960x480"}), value("1200"),
         value("25"), replace("aac", kAac), value("128"), value("44100")},

        // 24 "Sony PSP"
        {replace("mpeg4", kMpeg4), replace("368x208", kPspSizes), value("512"), value("29.97"),
         replace("aac", kAac), value("64"), value("24000")},
        // 25 "Sony PSP MPEG-4 Movie(*.mp4)"
        {replace("mpeg4", kMpeg4), replace("368x208", kPspSizes), value("512"), value("29.97"),
         replace("aac", kAac), value("64"), value("24000")},
        // 26 "Sony PSP MPEG-4 AVC Movie(*.mp4)"
        {replace("x264", kX264), replace("368x208", {"368x208", "320x240", "160x112", "480x272"}),
         value("512"), value("29.97"), replace("aac", kAac), value("64"), value("48000")},

        // 27 "Sony PS3"
        {replace("x264", kX264), replace("720x480", kPs3Sizes),
         append("2000", kPs3BitrateAdditions), value("29.976"), replace("aac", kAac), value("96"),
         value("48000")},
        // 28 "Sony PS3 MPEG-4 AVC Movie(480p)(*.mp4)"
        {replace("x264", kX264), replace("720x480", kPs3Sizes),
         append("2000", kPs3BitrateAdditions), value("29.976"), replace("aac", kAac), value("96"),
         value("48000")},
        // 29 "Sony PS3 MPEG-4 AVC Movie(720p)(*.mp4)"
        {replace("x264", kX264),
         replace("720x576", {"480x272", "640x480", "720x480", "720x576", "1280x720"}),
         append("2000", kPs3BitrateAdditions), value("29.976"), replace("aac", kAac), value("128"),
         value("48000")},
        // 30 "Sony PS3 MPEG-4 AVC Movie(1080p)(*.mp4)"
        {replace("x264", kX264),
         replace("1440x1080", {"480x272", "640x480", "720x480", "720x576", "1280x720", "1440x1080",
                               "1920x1080"}),
         append("2000", kPs3BitrateAdditions), value("23.976"), replace("aac", kAac), value("128"),
         value("48000")},

        // 31 "Sony Walkman"
        {replace("xvid", kXvidMpeg4), replace("320x240", kPocketSizes), value("768"), value("25"),
         replace("aac", kAac), value("128"), value("44100")},
        // 32 "Sony Walkman MPEG-4 Movie(*.mp4)"
        {replace("xvid", kXvidMpeg4), replace("320x240", kPocketSizes), value("768"), value("25"),
         replace("aac", kAac), value("128"), value("44100")},
        // 33 "Sony Walkman MPEG-4 AVC Movie(*.mp4)"
        {replace("x264", kX264), replace("320x240", kPocketSizes), value("512"), value("25"),
         replace("aac", kAac), value("128"), value("44100")},
        // 34 "Sony Walkman WMV9 Movie(*.wmv)"
        {replace("WMV V9", kWmvV9), replace("320x240", kSize320x240), value("768"), kUnchanged,
         replace("WMA9", kWma9), value("128"), value("44100")},

        // 35 "Microsoft Zune"
        {replace("WMV V9", kWmvV9V8), replace("320x240", kSize320x240), value("768"), kUnchanged,
         replace("WMA9", kWma9), kUnchanged, kUnchanged},
        // 36 "Microsoft Zune WMV Movie(*.wmv)"
        {replace("WMV V9", kWmvV9V8), replace("320x240", kSize320x240), value("768"), kUnchanged,
         replace("WMA9", kWma9), kUnchanged, kUnchanged},
        // 37 "Microsoft Zune MPEG-4 Movie(*.mp4)"
        {replace("mpeg4", kMpeg4Xvid), replace("320x240", kSize320x240), value("512"), value("25"),
         replace("aac", kAac), value("128"), value("44100")},
        // 38 "Microsoft Zune HD WMV Movie(*.wmv)"
        {replace("WMV V9", kWmvV9V8), replace("480x272", kZuneHdSizes), value("1500"), kUnchanged,
         replace("WMA9", kWma9), kUnchanged, kUnchanged},
        // 39 "Microsoft Zune HD MPEG-4 Movie(*.mp4)"
        {replace("mpeg4", kMpeg4Xvid), replace("480x272", kZuneHdSizes), value("1500"), value("25"),
         replace("aac", kAac), value("128"), value("44100")},

        // 40 "Archos"
        {replace("WMV V9", kWmvV9), replace("160x128", kSize160x128), value("256"), value("25"),
         replace("WMA9", kWma9), value("128"), value("44100")},
        // 41 "Archos 105 Movie(*.wmv)"
        {replace("WMV V9", kWmvV9), replace("160x128", kSize160x128), value("256"), value("25"),
         replace("WMA9", kWma9), value("128"), value("44100")},
        // 42 "Archos 404/405 Movie(*.wmv)"
        {replace("WMV V9", kWmvV9),
         replace("320x240", {"320x240", "160x128", "640x480", "720x576"}), value("256"),
         value("25"), replace("WMA9", kWma9), value("128"), value("44100")},
        // 43 "Archos 504/604 Movie(*.wmv)"
        {replace("WMV V9", kWmvV9),
         replace("480x272", {"320x240", "160x128", "480x272", "640x480", "720x576"}), value("512"),
         value("25"), replace("WMA9", kWma9), value("128"), value("44100")},
        // 44 "Archos 605/705/TV+ Movie(*.wmv)"
        {replace("WMV V9", kWmvV9), replace("800x480", kArchosWideSizes), value("512"), value("25"),
         replace("WMA9", kWma9), value("128"), value("44100")},
        // 45 "Archos AV500 Movie(*.wmv)"
        {replace("WMV V9", kWmvV9), replace("800x480", kArchosWideSizes), value("512"), value("25"),
         replace("WMA9", kWma9), value("128"), value("44100")},
        // 46 "Archos AV700 Movie(*.wmv)"
        {replace("WMV V9", kWmvV9), replace("800x480", kArchosWideSizes), value("512"), value("25"),
         replace("WMA9", kWma9), value("128"), value("44100")},

        // 47 "Creative Zen"
        {replace("mpeg4", kMpeg4Xvid), replace("320x240", kPocketSizes), value("384"), value("25"),
         replace("mp3", kMp3), value("96"), value("44100")},
        // 48 "Creative Zen X-Fi Movie(*.avi)"
        {replace("mpeg4", kMpeg4Xvid), replace("320x240", kPocketSizes), value("384"), value("25"),
         replace("mp3", kMp3), value("96"), value("44100")},
        // 49 "Creative Zen Vison Movie(*.avi)"
        {replace("mpeg4", kMpeg4Xvid),
         replace("320x240", {"320x240", "220x176", "176x144", "160x112", "640x480"}), value("384"),
         value("25"), replace("mp3", kMp3), value("96"), value("44100")},
        // 50 "Creative Zen Vison M Movie(*.avi)"
        {replace("mpeg4", kMpeg4Xvid), replace("320x240", kPocketSizes), value("384"), value("25"),
         replace("mp3", kMp3), value("96"), value("44100")},
        // 51 "Creative Zen Vison W Movie(*.avi)"
        {replace("mpeg4", kMpeg4Xvid),
         replace("480x272", {"320x240", "220x176", "176x144", "160x112", "480x272"}), value("384"),
         value("25"), replace("mp3", kMp3), value("96"), value("44100")},

        // 52 "iRiver"
        {replace("mpeg4", kMpeg4Xvid), replace("128x128", kSize128x128), value("256"), value("15"),
         replace("mp3", kMp3), value("128"), value("44100")},
        // 53 "iRiver E10 Movie(*.avi)"
        {replace("mpeg4", kMpeg4Xvid), replace("128x128", kSize128x128), value("256"), value("15"),
         replace("mp3", kMp3), value("128"), value("44100")},
        // 54 "iRiver U10/Clix Movie(*.avi)"
        {replace("mpeg4", kMpeg4Xvid), replace("220x176", kPocketSizes), value("256"), value("15"),
         replace("mp3", kMp3), value("128"), value("44100")},
        // 55 "iRiver B20/X20/Clix 2/E100/Lplayer Movie(*.avi)"
        {replace("mpeg4", kMpeg4Xvid), replace("320x240", kPocketSizes), value("384"), value("15"),
         replace("mp3", kMp3), value("96"), value("44100")},
        // 56 "iRiver Spinn/D28/DICPLE D30 Movie(*.avi)"
        {replace("mpeg4", kMpeg4Xvid),
         replace("480x270", {"480x270", "320x240", "220x176", "176x144", "160x112"}), value("384"),
         value("15"), replace("mp3", kMp3), value("96"), value("44100")},
        // 57 "iRiver P10/P20 Movie(*.avi)"
        {replace("mpeg4", kMpeg4Xvid),
         replace("640x272", {"640x480", "640x368", "640x272", "480x360", "320x240", "220x176",
                             "176x144", "160x112"}),
         value("512"), value("25"), replace("mp3", kMp3), value("128"), value("44100")},
        // 58 "iRiver PMP-120/140/IMP-1000/1100 Movie(*.avi)"
        {replace("mpeg4", kMpeg4Xvid),
         replace("640x480", {"720x480", "640x480", "640x368", "640x272", "480x360", "320x240"}),
         value("512"), value("25"), replace("mp3", kMp3), value("128"), value("44100")},

        // 59 "Sandisk Sansa"
        {replace("mpeg4", kMpeg4), replace("320x240", kSansaSizes), value("512"), value("20"),
         replace("aac", kAac), value("64"), value("24000")},
        // 60 "Sandisk Sansa AVI Movie(*.avi)"
        {replace("mpeg4", kMpeg4), replace("320x240", kSansaSizes), value("512"), value("20"),
         replace("aac", kAac), value("64"), value("24000")},
        // 61 "Sandisk Sansa WMV Movie(*.wmv)"
        {replace("WMV V9", kWmvV9V8), replace("320x240", kSansaSizes), value("768"), kUnchanged,
         replace("WMA9", kWma9), value("64"), value("24000")},
        // 62 "Sandisk Sansa MPEG-4 Movie(*.mp4)"
        {replace("mpeg4", kMpeg4), replace("368x208", kPspSizes), value("512"), value("24"),
         replace("aac", kAac), value("64"), value("24000")},

        // 63 "Microsoft Xbox 360"
        {replace("WMV V8", kWmvV9V8), replace("1280x720", kXboxSizes), value("768"), value("30"),
         replace("WMA9", kWma9), value("128"), kUnchanged},
        // 64 "Xbox WMV Movie(*.wmv)"
        {replace("WMV V8", kWmvV9V8), replace("1280x720", kXboxSizes), value("768"), value("30"),
         replace("WMA9", kWma9), value("128"), kUnchanged},
        // 65 "Xbox AVI Movie(*.avi)"
        {replace("mpeg4", kMpeg4),
         replace("720x576",
                 {"320x240", "512x384", "640x480", "720x480", "720x576", "1024x768", "1280x720"}),
         value("1024"), value("30"), replace("mp3", kMp3), value("128"), value("44100")},
        // 66 "Xbox MPEG-4 Movie(*.mp4)"
        {replace("mpeg4", kXvidMpeg4X264), replace("1280x720", kXboxSizes), value("1500"),
         value("30"), replace("aac", kAac), value("128"), value("48000")},

        // 67 "Nintendo Wii"
        {replace("mjpeg", kMjpeg), replace("720x480", kWiiSizes), value("768"), value("25"),
         replace("pcm", kPcm), value("128"), kUnchanged},
        // 68 "Nintendo Wii AVI Movie(*.avi)"
        {replace("mjpeg", kMjpeg), replace("720x480", kWiiSizes), value("768"), value("25"),
         replace("pcm", kPcm), value("128"), kUnchanged},

        // 69 "Mobile Phone"
        {replace("h263", kH263Mpeg4), replace("176x144", kPhone3gpSizes), value("64"), value("15"),
         replace("amr_nb", kAmrNbFaac), value("12.2"), value("8000")},
        // 70 "Mobile Phone 3GP Movie(*.3gp)"
        {replace("h263", kH263Mpeg4), replace("176x144", kPhone3gpSizes), value("64"), value("15"),
         replace("amr_nb", kAmrNbFaac), value("12.2"), value("8000")},
        // 71 "Mobile Phone 3GP2 Movie(*.3g2)"
        {replace("h263", kH263Mpeg4), replace("176x144", kPhone3gpSizes), value("64"), value("15"),
         replace("amr_nb", kAmrNbFaac), value("12.2"), value("8000")},
        // 72 "Mobile Phone MPEG-4 Movie(*.mp4)"
        {replace("mpeg4", kMpeg4Xvid),
         replace("176x144",
                 {"128x96", "160x120", "176x144", "220x176", "320x240", "352x288", "640x480"}),
         value("128"), value("15"), replace("aac", kAac), value("64"), value("11025")},
        // 73 "Nokia N-series MPEG-4 Movie(*.mp4)"
        {replace("mpeg4", kMpeg4Xvid),
         replace("320x176", {"128x96", "160x120", "176x144", "220x176", "320x176", "352x288",
                             "240x180", "320x240", "640x360", "640x480", "800x480"}),
         value("128"), value("15"), replace("aac", kAac), value("64"), value("24000")},

        // 74 "BlackBerry"
        {replace("mpeg4", kMpeg4), replace("320x240", kBlackBerrySizes), value("512"), value("24"),
         replace("aac", kAac), value("64"), value("44100")},
        // 75 "BlackBerry MPEG-4 Movie(*.mp4)"
        {replace("mpeg4", kMpeg4), replace("320x240", kBlackBerrySizes), value("512"), value("24"),
         replace("aac", kAac), value("64"), value("44100")},

        // 76 "Nokia"
        {replace("mpeg4", kMpeg4Xvid), replace("320x176", kNokiaSizes), value("128"), kUnchanged,
         replace("aac", kAac), value("64"), kUnchanged},
        // 77 "Nokia N-Series MPEG-4 Movie(*.mp4)"
        {replace("mpeg4", kMpeg4Xvid), replace("320x176", kNokiaSizes), value("128"), kUnchanged,
         replace("aac", kAac), value("64"), kUnchanged},

        // 78 "Windows Mobile"
        {replace("WMV V9", kWmvV9V8), replace("320x240", kPalmSizes),
         append("384", kPocketPcBitrateAdditions), kUnchanged, replace("WMA9", kWma9), value("64"),
         kUnchanged},
        // 79 "Palm Treo Series Movie(*.wmv)"
        {replace("WMV V9", kWmvV9V8), replace("320x240", kPalmSizes),
         append("384", kPocketPcBitrateAdditions), kUnchanged, replace("WMA9", kWma9), value("64"),
         kUnchanged},
        // 80 "General Pocket PC Movie(*.wmv)"
        {replace("WMV V9", kWmvV9V8),
         replace("320x240", {"320x240", "720x576", "720x480", "640x480", "512x384", "480x576",
                             "480x480", "480x320", "480x272", "368x208", "352x288", "352x240"}),
         append("768", kPocketPcBitrateAdditions), kUnchanged, replace("WMA9", kWma9), value("64"),
         kUnchanged},

        // 81 "Flash Video"
        {replace("FLV", kFlv), replace("320x240", kFlashSizes), value("512"), value("25"),
         replace("mp3", kMp3), value("64"), value("44100")},
        // 82 "Flash Video Movie(*.flv)"
        {replace("FLV", kFlv), replace("320x240", kFlashSizes), value("512"), value("25"),
         replace("mp3", kMp3), value("64"), value("44100")},
        // 83 "Flash SWF(*.swf)"
        {replace("SWF", {"SWF"}), replace("320x240", kFlashSizes), value("512"), value("25"),
         replace("mp3", kMp3), value("64"), value("44100")},

        // 84 "Toshiba Gigabeat"
        {replace("WMV V9", kWmvV9), replace("320x240", kSize320x240),
         replace("512", kGigabeatBitrates), kUnchanged, replace("WMA9", kWma9), value("64"),
         kUnchanged},
        // 85 "Toshiba Gigabeat WMV Movie(*.wmv)"
        {replace("WMV V9", kWmvV9), replace("320x240", kSize320x240),
         replace("512", kGigabeatBitrates), kUnchanged, replace("WMA9", kWma9), value("64"),
         kUnchanged},
    }};
    return sets;
}

// Rows 86 to 100. Each group header gets the set of its first entry. The audio formats
// leave the four video items as the previous row left them.
const std::array<OptionSet, kLastCommonRow - kFirstCommonRow + 1>& commonFormatSets() {
    static const std::array<OptionSet, kLastCommonRow - kFirstCommonRow + 1> sets{{
        // 86 "Common Used Video Formats"
        {replace("mpeg2video", kMpeg2Video), replace("720x480", kNtscDvdSizes),
         replace("8000", kDvdBitrates), replace("25", {"25"}), replace("ac3", kAc3),
         replace("128", kDvdAudioBitrates), value("48000")},
        // 87 "DVD Video NTSC Movie(*.mpg)"
        {replace("mpeg2video", kMpeg2Video), replace("720x480", kNtscDvdSizes),
         replace("8000", kDvdBitrates), replace("25", {"25"}), replace("ac3", kAc3),
         replace("128", kDvdAudioBitrates), value("48000")},
        // 88 "DVD Video PAL Movie(*.mpg)"
        {replace("mpeg2video", kMpeg2Video),
         replace("720x576", {"720x576", "704x576", "352x576", "352x288"}),
         replace("8000", kDvdBitrates), value("25"), replace("ac3", kAc3),
         replace("128", kDvdAudioBitrates), value("48000")},
        // 89 "MPEG-I Movie(*.mpg)"
        {replace("mpeg1video", {"mpeg1video"}), replace("352x240", kShortSizes), value("1152"),
         value("29.970"), replace("mp2", {"mp2"}), value("224"), value("44100")},
        // 90 "MPEG-II Movie(*.mpg)"
        {replace("mpeg2video", kMpeg2Video), replace("720x480", kLongSizes),
         append("1800", {"1800"}), value("29.970"), replace("mp2", {"ac3", "mp2"}), value("128"),
         value("44100")},
        // 91 "Customized AVI Movie(*.avi)"
        {replace("xvid", {"xvid", "mpeg4", "msmpeg4", "msmpeg4v2", "mjpeg", "wmv1", "wmv2", "mpeg2",
                          "mpeg1", "h263p", "x264", "huffyuv", "ffv1"}),
         replace("720x480", kLongSizes), replace("768", kCustomisedBitrates), value("25"),
         replace("mp3", {"ac3", "mp3", "mp2", "aac"}), value("128"), value("44100")},
        // 92 "Customized WMV Movie(*.wmv)"
        {replace("WMV V9", kWmvV9V8), replace("720x480", kLongSizes),
         replace("768", kCustomisedBitrates), kUnchanged, replace("WMA", {"WMA"}), value("128"),
         kUnchanged},
        // 93 "Customized MP4 Movie(*.mp4)"
        {replace("x264", {"x264", "mpeg4", "xvid"}), replace("320x240", kLongSizes), value("768"),
         value("25"), replace("aac", kAac), value("128"), value("44100")},

        // 94 "Common Used Audio Formats"
        {kUnchanged, kUnchanged, kUnchanged, kUnchanged, replace("mp3", kMp3), value("128"),
         value("44100")},
        // 95 "MP3 Audio(*.mp3)"
        {kUnchanged, kUnchanged, kUnchanged, kUnchanged, replace("mp3", kMp3), value("128"),
         value("44100")},
        // 96 "OGG Vorbis Audio(*.ogg)"
        {kUnchanged, kUnchanged, kUnchanged, kUnchanged, replace("ogg", {"ogg"}), value("128"),
         value("44100")},
        // 97 "WAVE Audio(*.wav)"
        {kUnchanged, kUnchanged, kUnchanged, kUnchanged, replace("wav", {"wav"}), value("128"),
         value("44100")},
        // 98 "AAC Audio(*.aac)"
        {kUnchanged, kUnchanged, kUnchanged, kUnchanged, replace("aac", kAac), value("128"),
         value("44100")},
        // 99 "WMA Audio(*.wma)"
        {kUnchanged, kUnchanged, kUnchanged, kUnchanged, replace("WMA9", kWma9), kUnchanged,
         kUnchanged},
        // 100 "M4A Audio(*.m4a)"
        {kUnchanged, kUnchanged, kUnchanged, kUnchanged, replace("aac", kAac), value("128"),
         value("44100")},
    }};
    return sets;
}

enum class OnFailure {
    SkipStep, // the device sets: the failing step is left out, the rest goes on
    Stop      // the common formats: the set ends at the failing step
};

// Applies one item's effect. Returns false when a step failed and the set must stop.
bool applyItem(OptionSheet& sheet, const ItemAddress& address, const ItemEffect& effect,
               OnFailure onFailure) {
    if (effect.effect == Effect::Unchanged)
        return true;

    const auto goOn = [onFailure](bool succeeded) {
        return succeeded || onFailure == OnFailure::SkipStep;
    };

    OptionItem* item =
        sheet.itemAt(QString::fromLatin1(address.category), QString::fromLatin1(address.caption));
    // Every further step of a missing item would fail as well: skipping the item is skipping
    // each of them.
    if (!item)
        return goOn(false);

    if (effect.effect == Effect::Replace && !goOn(sheet.ClearChoices(item)))
        return false;
    // The value goes in before the new choices: the sheet takes a value whatever its choices.
    if (!goOn(sheet.SetValue(item, QString::fromLatin1(effect.value))))
        return false;
    for (const char* choice : effect.choices) {
        if (!goOn(sheet.AddChoice(item, QString::fromLatin1(choice))))
            return false;
    }
    return true;
}

} // namespace

void ApplyDeviceOptions(OptionSheet& sheet, int profileIndex) {
    if (profileIndex < kFirstDeviceRow || profileIndex > kLastDeviceRow)
        return;
    const OptionSet& set = deviceSets()[static_cast<std::size_t>(profileIndex - kFirstDeviceRow)];
    for (std::size_t i = 0; i < kItems.size(); ++i) {
        // A failing step is skipped quietly and the rest of the set still applies, as
        // choosing a profile always has.
        applyItem(sheet, kItems[i], set[i], OnFailure::SkipStep);
    }
}

void ApplyCommonFormatOptions(OptionSheet& sheet, int profileIndex) {
    if (profileIndex < kFirstCommonRow || profileIndex > kLastCommonRow)
        return;
    const OptionSet& set =
        commonFormatSets()[static_cast<std::size_t>(profileIndex - kFirstCommonRow)];
    for (std::size_t i = 0; i < kItems.size(); ++i) {
        // The first failing step ends the set quietly; later items keep what they had.
        if (!applyItem(sheet, kItems[i], set[i], OnFailure::Stop))
            return;
    }
}

void applyOptionSet(OptionSheet& sheet, int profileIndex) {
    if (profileIndex >= kFirstDeviceRow && profileIndex <= kLastDeviceRow)
        ApplyDeviceOptions(sheet, profileIndex);
    else
        ApplyCommonFormatOptions(sheet, profileIndex);
}

} // namespace vidora
