#pragma once

#include <QString>
#include <QStringList>

namespace vidora::test {

// Writes a test clip with FFmpeg's generated sources: a moving test picture and a tone in
// stereo. Returns false (with FFmpeg's message in `error`) when FFmpeg fails.
bool generateClip(const QString& path, int seconds, const QString& size = QStringLiteral("640x480"),
                  QString* error = nullptr);

// What ffprobe tells of a media file.
struct MediaInfo {
    bool readable = false;
    QString formatName; // FFmpeg's demuxer names, for example "mov,mp4,m4a,3gp,3g2,mj2"
    double duration = -1;
    bool hasVideo = false;
    int width = 0;
    int height = 0;
    QString videoCodec;  // of the first video stream, FFmpeg's name ("h264")
    QString pixelFormat; // of the first video stream ("yuv420p")
    bool hasAudio = false;
    QString audioCodec; // of the first audio stream ("aac")
    QString error;
};
MediaInfo probeMedia(const QString& path);

// Runs a program to its end; returns its exit code, or -1 when it could not run or timed out.
int runProgram(const QString& program, const QStringList& arguments, int timeoutMs,
               QString* output = nullptr);

} // namespace vidora::test
