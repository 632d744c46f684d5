#include "engine/ConversionProgress.h"

#include "base/TextValues.h"

#include <QFile>
#include <QList>
#include <cmath>

namespace vidora {

namespace {
// A statistics line is about a hundred bytes; the tail grows only for a far longer line.
constexpr qint64 kTailBytes = 4096;
} // namespace

QString ReadLastLineOfFile(const QString& sFileName) {
    QFile file(sFileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const qint64 size = file.size();
    for (qint64 tail = kTailBytes;; tail *= 2) {
        const qint64 start = std::max<qint64>(0, size - tail);
        if (!file.seek(start))
            return {};
        const QByteArray bytes = file.read(size - start);
        const QList<QByteArray> pieces = bytes.split('\n');
        // The wanted piece is the one before the last; when the tail starts inside the file
        // its first piece may be cut, so it only counts when the whole file was read.
        const qsizetype wanted = pieces.size() - 2;
        const bool complete = start == 0 || wanted >= 1;
        if (!complete)
            continue;
        if (wanted < 0)
            return {};
        QByteArray line = pieces[wanted];
        if (line.endsWith('\r'))
            line.chop(1);
        return QString::fromUtf8(line);
    }
}

double encodedSecondsOfStatsLine(const QString& line) {
    const QStringList fields = line.trimmed().split(u'=');
    if (fields.size() < 6)
        return 0;
    QString field = fields[5];
    field.chop(2);
    return leadingNumberOrZero(field.trimmed());
}

std::optional<int> trackPercent(double encodedSeconds, qint32 durationSeconds) {
    if (durationSeconds == 0)
        return std::nullopt;
    return static_cast<int>(roundHalfEven(encodedSeconds / durationSeconds * 100.0));
}

std::optional<qint64> secondsLeft(double encodedSeconds, qint64 elapsedSeconds, double clipSeconds,
                                  double leftToEncode) {
    if (elapsedSeconds < kFirstEstimateSeconds || encodedSeconds <= 0 || clipSeconds <= 0 ||
        encodedSeconds > clipSeconds || leftToEncode < 0)
        return std::nullopt;
    const double pace = encodedSeconds / static_cast<double>(elapsedSeconds);
    const double left = std::ceil(leftToEncode / pace);
    // A pace so slow that the estimate runs into years tells nobody anything.
    constexpr double kLongest = 100.0 * 3600;
    if (left > kLongest)
        return std::nullopt;
    return static_cast<qint64>(left);
}

QString timeLeftText(std::optional<qint64> jobSecondsLeft, std::optional<qint64> runSecondsLeft) {
    if (!jobSecondsLeft)
        return {};
    QString text = secondsToTimeText(*jobSecondsLeft);
    if (runSecondsLeft && *runSecondsLeft > *jobSecondsLeft)
        text += QStringLiteral(" (all jobs %1)").arg(secondsToTimeText(*runSecondsLeft));
    return text;
}

} // namespace vidora
