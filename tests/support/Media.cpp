#include "support/Media.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace vidora::test {

int runProgram(const QString& program, const QStringList& arguments, int timeoutMs,
               QString* output) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForStarted(10000))
        return -1;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return -1;
    }
    if (output)
        *output = QString::fromUtf8(process.readAll());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

bool generateClip(const QString& path, int seconds, const QString& size, QString* error) {
    const QString length = QString::number(seconds);
    QString output;
    const int code =
        runProgram(QStringLiteral("ffmpeg"),
                   {QStringLiteral("-nostdin"),
                    QStringLiteral("-v"),
                    QStringLiteral("error"),
                    QStringLiteral("-y"),
                    QStringLiteral("-f"),
                    QStringLiteral("lavfi"),
                    QStringLiteral("-i"),
                    QStringLiteral("testsrc=size=%1:rate=25:duration=%2").arg(size, length),
                    QStringLiteral("-f"),
                    QStringLiteral("lavfi"),
                    QStringLiteral("-i"),
                    QStringLiteral("sine=frequency=440:sample_rate=44100:duration=%1").arg(length),
                    QStringLiteral("-ac"),
                    QStringLiteral("2"),
                    QStringLiteral("-c:v"),
                    QStringLiteral("mpeg4"),
                    QStringLiteral("-q:v"),
                    QStringLiteral("5"),
                    QStringLiteral("-c:a"),
                    QStringLiteral("libmp3lame"),
                    QStringLiteral("-shortest"),
                    path},
                   120000, &output);
    if (error)
        *error = output;
    return code == 0;
}

namespace {

// Some containers (SWF) carry no duration: count the video frames and divide by their rate.
double countedVideoDuration(const QString& path) {
    QString output;
    const int code = runProgram(QStringLiteral("ffprobe"),
                                {QStringLiteral("-v"), QStringLiteral("error"),
                                 QStringLiteral("-count_frames"), QStringLiteral("-select_streams"),
                                 QStringLiteral("v:0"), QStringLiteral("-show_entries"),
                                 QStringLiteral("stream=nb_read_frames,avg_frame_rate"),
                                 QStringLiteral("-of"), QStringLiteral("json"), path},
                                60000, &output);
    if (code != 0)
        return -1;
    const QJsonArray streams = QJsonDocument::fromJson(output.toUtf8())
                                   .object()
                                   .value(QStringLiteral("streams"))
                                   .toArray();
    if (streams.isEmpty())
        return -1;
    const QJsonObject stream = streams.first().toObject();
    const double frames = stream.value(QStringLiteral("nb_read_frames")).toString().toDouble();
    const QStringList rate = stream.value(QStringLiteral("avg_frame_rate")).toString().split(u'/');
    const double perSecond =
        rate.size() == 2 && rate[1].toDouble() > 0 ? rate[0].toDouble() / rate[1].toDouble() : 0;
    return perSecond > 0 ? frames / perSecond : -1;
}

} // namespace

MediaInfo probeMedia(const QString& path) {
    MediaInfo info;
    QString output;
    const int code = runProgram(
        QStringLiteral("ffprobe"),
        {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
         QStringLiteral(
             "format=format_name,duration:stream=codec_type,codec_name,width,height,pix_fmt"),
         QStringLiteral("-of"), QStringLiteral("json"), path},
        60000, &output);
    if (code != 0) {
        info.error = output;
        return info;
    }
    const QJsonObject root = QJsonDocument::fromJson(output.toUtf8()).object();
    const QJsonObject format = root.value(QStringLiteral("format")).toObject();
    info.readable = !format.isEmpty();
    info.formatName = format.value(QStringLiteral("format_name")).toString();
    bool ok = false;
    const double duration = format.value(QStringLiteral("duration")).toString().toDouble(&ok);
    info.duration = ok ? duration : -1;
    for (const QJsonValue& value : root.value(QStringLiteral("streams")).toArray()) {
        const QJsonObject stream = value.toObject();
        const QString type = stream.value(QStringLiteral("codec_type")).toString();
        const QString codec = stream.value(QStringLiteral("codec_name")).toString();
        if (type == u"video" && !info.hasVideo) {
            info.hasVideo = true;
            info.width = stream.value(QStringLiteral("width")).toInt();
            info.height = stream.value(QStringLiteral("height")).toInt();
            info.videoCodec = codec;
            info.pixelFormat = stream.value(QStringLiteral("pix_fmt")).toString();
        } else if (type == u"audio" && !info.hasAudio) {
            info.hasAudio = true;
            info.audioCodec = codec;
        }
    }
    if (info.duration < 0 && info.hasVideo)
        info.duration = countedVideoDuration(path);
    return info;
}

} // namespace vidora::test
