#pragma once

#include <QString>
#include <QStringList>

namespace vidora {

// Where a capture device's pictures come from.
enum class CaptureSourceKind {
    V4l2,        // a Video4Linux2 capture device (a camera, a capture card)
    FireWireDv,  // a DV camera on FireWire, through FFmpeg's iec61883 input
    TestPattern, // FFmpeg's generated test picture, played in real time
};

struct CaptureSource {
    CaptureSourceKind kind = CaptureSourceKind::TestPattern;
    QString name;     // the device list's text
    QString location; // the V4L2 node, or the FireWire GUID ("auto": the first DV camera)
};

// What one FFmpeg run of a capture device writes.
struct CaptureOutputs {
    // The AVI file to record into; empty: none (the live picture only).
    QString recordingFile;
    // The pipe descriptor of the live picture, a small raw picture stream in NUT; -1: none.
    int livePictureDescriptor = -1;
    bool mirrorLivePicture = false;
};

// The size of the live picture stream; the player scales it to its host.
constexpr int kLivePictureWidth = 320;

// FFmpeg's arguments for one run of the device: it owns the device, reports its progress on
// its standard output ("-progress pipe:1") and stops cleanly on "q" on its standard input.
// With a recording and a live picture both go through the tee muxer, and the live picture's
// output may fail (its player ended) without ending the recording. A V4L2 source and the test
// pattern are recorded as MJPEG (DV video accepts only DV sizes and rates); DV from FireWire is
// copied as it comes, sound included.
QStringList BuildCaptureArguments(const CaptureSource& source, const CaptureOutputs& outputs);

// A text as one item of the tee muxer's output list: every ASCII character that is not a
// letter or a digit gets a backslash, so FFmpeg reads the text back unchanged whatever it holds.
QString EscapeTeeItem(const QString& text);

} // namespace vidora
