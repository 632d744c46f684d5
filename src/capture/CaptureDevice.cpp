#include "capture/CaptureDevice.h"

namespace vidora {

QString FormatCaptureStatistics(const CaptureStatistics& statistics) {
    // Seconds with two decimals, rounded half up from whole milliseconds, so that no binary
    // fraction decides the last digit (10255 ms read 10.26 sec.).
    const qint64 hundredths = (qMax<qint64>(0, statistics.elapsedMs) + 5) / 10;
    const QString seconds = QString::number(hundredths / 100) + u'.' +
                            QString::number(hundredths % 100).rightJustified(2, u'0');
    return QString::number(statistics.framesCaptured) + u" frames (" +
           QString::number(statistics.framesDropped) + u" dropped) - " + seconds + u" sec.";
}

} // namespace vidora
