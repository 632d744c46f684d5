#include "capture/CaptureCommandLine.h"

namespace vidora {

namespace {

constexpr char kTestPatternInput[] = "testsrc=size=640x480:rate=25";

QStringList inputArguments(const CaptureSource& source) {
    switch (source.kind) {
    case CaptureSourceKind::V4l2:
        return {QStringLiteral("-f"), QStringLiteral("v4l2"), QStringLiteral("-i"),
                source.location};
    case CaptureSourceKind::FireWireDv:
        return {QStringLiteral("-f"), QStringLiteral("iec61883"), QStringLiteral("-i"),
                source.location.isEmpty() ? QStringLiteral("auto") : source.location};
    case CaptureSourceKind::TestPattern:
        // "-re": a camera delivers its pictures in real time; the generator would not.
        return {QStringLiteral("-re"), QStringLiteral("-f"), QStringLiteral("lavfi"),
                QStringLiteral("-i"), QString::fromLatin1(kTestPatternInput)};
    }
    return {};
}

QString livePictureFilter(bool mirror) {
    return QStringLiteral("scale=%1:-2,format=yuv420p").arg(kLivePictureWidth) +
           (mirror ? QStringLiteral(",hflip") : QString());
}

QString joinIndices(int first, int count) {
    QStringList indices;
    for (int i = 0; i < count; ++i)
        indices << QString::number(first + i);
    return indices.join(u',');
}

} // namespace

QString EscapeTeeItem(const QString& text) {
    QString escaped;
    escaped.reserve(text.size() * 2);
    for (const QChar c : text) {
        // FFmpeg's separators and quotes are all ASCII; other letters pass as they are.
        if (c.unicode() < 0x80 && !c.isLetterOrNumber())
            escaped += u'\\';
        escaped += c;
    }
    return escaped;
}

QStringList BuildCaptureArguments(const CaptureSource& source, const CaptureOutputs& outputs) {
    const bool recording = !outputs.recordingFile.isEmpty();
    const bool live = outputs.livePictureDescriptor >= 0;
    const bool copyDv = source.kind == CaptureSourceKind::FireWireDv;

    QStringList arguments{QStringLiteral("-hide_banner"), QStringLiteral("-nostats"),
                          QStringLiteral("-loglevel"),    QStringLiteral("error"),
                          QStringLiteral("-progress"),    QStringLiteral("pipe:1")};
    arguments << inputArguments(source);

    // Streams in output order: the live picture first (when there is one), then what the AVI
    // keeps.
    QString graph;
    if (live)
        graph = QStringLiteral("[0:v]") + livePictureFilter(outputs.mirrorLivePicture);
    if (live && recording && !copyDv)
        graph = QStringLiteral("[0:v]split=2[live][record];[live]") +
                livePictureFilter(outputs.mirrorLivePicture) + QStringLiteral("[livesmall]");
    else if (live)
        graph += QStringLiteral("[livesmall]");
    if (!graph.isEmpty())
        arguments << QStringLiteral("-filter_complex") << graph;

    int streamCount = 0;
    if (live) {
        arguments << QStringLiteral("-map") << QStringLiteral("[livesmall]")
                  << QStringLiteral("-c:v:0") << QStringLiteral("rawvideo");
        ++streamCount;
    }
    const int firstRecorded = streamCount;
    if (recording) {
        if (copyDv) {
            arguments << QStringLiteral("-map") << QStringLiteral("0:v") << QStringLiteral("-map")
                      << QStringLiteral("0:a?") << QStringLiteral("-c:v:%1").arg(firstRecorded)
                      << QStringLiteral("copy") << QStringLiteral("-c:a") << QStringLiteral("copy");
            streamCount += 2;
        } else {
            arguments << QStringLiteral("-map")
                      << (live ? QStringLiteral("[record]") : QStringLiteral("0:v"))
                      << QStringLiteral("-c:v:%1").arg(firstRecorded) << QStringLiteral("mjpeg")
                      << QStringLiteral("-q:v:%1").arg(firstRecorded) << QStringLiteral("3");
            streamCount += 1;
        }
    }

    const QString livePipe = QStringLiteral("pipe:%1").arg(outputs.livePictureDescriptor);
    if (recording && live) {
        // A select that names a stream the run lacks (DV without sound) selects nothing more.
        const QString aviItem = QStringLiteral("[f=avi:select=%1]")
                                    .arg(joinIndices(firstRecorded, streamCount - firstRecorded)) +
                                EscapeTeeItem(outputs.recordingFile);
        const QString liveItem = QStringLiteral("[f=nut:select=0:onfail=ignore]") + livePipe;
        arguments << QStringLiteral("-f") << QStringLiteral("tee") << aviItem + u'|' + liveItem;
    } else if (recording) {
        arguments << QStringLiteral("-f") << QStringLiteral("avi") << outputs.recordingFile;
    } else if (live) {
        arguments << QStringLiteral("-f") << QStringLiteral("nut") << livePipe;
    } else {
        arguments << QStringLiteral("-f") << QStringLiteral("null") << QStringLiteral("-");
    }
    return arguments;
}

} // namespace vidora
