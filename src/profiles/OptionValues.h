#pragma once

#include <QString>

namespace vidora {

// The ten option values a conversion reads from the option sheet, as the texts the sheet
// holds ("29.97", "12.2", "WMV V9", "No"). Nothing here is checked or turned into a number.
struct OptionValues {
    QString videoCodec;   // "Video Options" / "Video Codec"
    QString aspectRatio;  // "Video Options" / "Aspect Ratio"
    QString videoSize;    // "Video Options" / "Video Size"
    QString videoBitrate; // "Video Options" / "Video Bitrate"
    QString frameRate;    // "Video Options" / "Video Framerate"
    QString audioCodec;   // "Audio Options" / "Audio Codec"
    QString disableAudio; // "Audio Options" / "Disable Audio"
    QString audioBitrate; // "Audio Options" / "Audio Bitrate"
    QString sampleRate;   // "Audio Options" / "Sample Rate"
    QString audioChannel; // "Audio Options" / "Audio Channel"
};

} // namespace vidora
