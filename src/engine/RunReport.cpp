#include "engine/RunReport.h"

#include "base/TextValues.h"
#include "launcher/EncoderOutput.h"

#include <QRegularExpression>
#include <QStringList>

namespace vidora {

namespace {

// Lines FFmpeg writes whatever happens: its banner, the descriptions of inputs and outputs,
// the progress and the closing summary. None of them says why a job failed.
bool isRoutineLine(const QString& line) {
    static const char* const routineStarts[] = {
        "ffmpeg version", "built with",       "configuration:",     "Input #",
        "Output #",       "Stream mapping",   "Press [q]",          "frame=",
        "size=",          "video:",           "Conversion failed!", "encoded ",
        "[out#",          "Exiting normally",
    };
    for (const char* start : routineStarts)
        if (line.startsWith(QLatin1StringView(start)))
            return true;
    // "libavutil      57. 28.100 / 57. 28.100"
    static const QRegularExpression library(QStringLiteral("^lib\\w+\\s+\\d+\\.\\s*\\d+\\."));
    return library.match(line).hasMatch();
}

} // namespace

QString lastMeaningfulLine(const QByteArray& output) {
    static const QRegularExpression lineEnd(QStringLiteral("[\r\n]"));
    const QStringList lines = QString::fromUtf8(output).split(lineEnd, Qt::SkipEmptyParts);
    for (auto it = lines.crbegin(); it != lines.crend(); ++it) {
        // Indented lines describe streams and metadata.
        if (it->front().isSpace())
            continue;
        const QString line = it->trimmed();
        if (!line.isEmpty() && !isRoutineLine(line))
            return line;
    }
    return {};
}

QString encoderFailureText(int exitCode, bool crashed, const QByteArray& output) {
    static const QRegularExpression receivedSignal(QStringLiteral("received signal (\\d+)"));
    const QString text = QString::fromUtf8(output);
    // The signal that ended the encoder, if one did: the crash's own, or fp.dll's exit code
    // 128 + N for an FFmpeg ended by signal N (as a shell reports it; FFmpeg itself never ends
    // with such a code), or the one FFmpeg says it received.
    constexpr int kSignalBase = 128;
    constexpr int kLastSignal = 64;
    QString signal;
    if (crashed)
        signal = QString::number(exitCode);
    else if (exitCode > kSignalBase && exitCode <= kSignalBase + kLastSignal)
        signal = QString::number(exitCode - kSignalBase);
    else if (const QRegularExpressionMatch received = receivedSignal.match(text);
             received.hasMatch())
        signal = received.captured(1);
    QString reason;
    if (!signal.isEmpty())
        reason = QStringLiteral("The encoder was stopped (signal %1)").arg(signal);
    else if (text.contains(QLatin1StringView(NothingEncodedWords.data(),
                                             qsizetype(NothingEncodedWords.size()))))
        reason = QString::fromUtf16(FailureReason::NothingEncoded);
    else if (text.contains(u"No space left on device"))
        reason = QString::fromUtf16(FailureReason::DiskFull);
    else if (text.contains(u"Invalid data found when processing input") ||
             text.contains(u"does not contain any stream") || text.contains(u"matches no streams"))
        reason = QString::fromUtf16(FailureReason::NoMedia);
    else if (text.contains(u"Permission denied") || text.contains(u"Read-only file system"))
        reason = QString::fromUtf16(FailureReason::FolderNotWritable);
    else
        reason = QStringLiteral("The encoder failed (exit code %1)").arg(exitCode);
    const QString line = lastMeaningfulLine(output);
    return line.isEmpty() ? reason : reason + u'\n' + line;
}

int totalPercent(int done, int jobs) {
    if (jobs <= 0)
        return 0;
    return static_cast<int>(roundHalfEven(100.0 * done / jobs));
}

QString runEndText(const QString& firstLine, int converted, int failed, int cancelled) {
    if (failed == 0 && cancelled == 0)
        return firstLine;
    QString counts = QStringLiteral("%1 converted, %2 failed, %3 cancelled.")
                         .arg(converted)
                         .arg(failed)
                         .arg(cancelled);
    if (failed > 0)
        counts += QStringLiteral(" Point at a \"Fail\" status to see why.");
    return firstLine + u'\n' + counts;
}

} // namespace vidora
