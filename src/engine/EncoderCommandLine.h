#pragma once

#include "profiles/OptionValues.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace vidora {

// The option values of one job, converted for the encoder command line.
struct JobOptions {
    QString videoCodec;   // MapVideoCodec of "Video Codec"
    QString aspectRatio;  // "Aspect Ratio" as is
    QString videoSize;    // "Video Size" as is
    QString videoBitrate; // "Video Bitrate" in kbit/s; the command appends "000"
    QString frameRate;    // "Video Framerate", "Auto" read as "25"
    QString audioCodec;   // MapAudioCodec of "Audio Codec"
    QString disableAudio; // "" for "No", " -an " for anything else
    qint16 audioBitrate = 0;
    QString sampleRate;
    qint16 audioChannels = 0;

    // Converts the sheet's values. Empty when "Audio Bitrate" or "Audio Channel" is not a
    // 16-bit number: the job cannot be converted.
    static std::optional<JobOptions> fromValues(const OptionValues& values);
};

QString MapVideoCodec(const QString& value);
QString MapAudioCodec(const QString& value);

// Everything one encoder run needs besides the options.
struct EncoderJob {
    int profileIndex = 0;
    QString inputPath;
    qint32 startSeconds = 0;
    qint32 durationSeconds = 0;
    QString outputPath;
    QString programFolder; // without trailing "/", except for the root
    QString statsFolder;   // where curconvert.log goes, written the same way; empty: programFolder
    double threads = 0;    // as stored; fp.dll makes a whole count of it
};

// One encoder start: the command-line text as the encoder's users know it, and the program
// and arguments it actually receives. The list is built from the same pieces as the text, so a
// path with blanks, quotes or any other letter arrives as one argument, unchanged.
struct EncoderCommand {
    QString text;
    QString program;
    QStringList arguments;
};

// Empty for a profile index outside 0..100.
std::optional<EncoderCommand> BuildEncoderCommandLine(const EncoderJob& job,
                                                      const JobOptions& options);

// The file the encoder writes its statistics to, in the given folder.
QString StatsFileName(const QString& programFolder);

} // namespace vidora
