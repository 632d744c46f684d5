#include "capture/CaptureProgress.h"

namespace vidora {

namespace {

constexpr qsizetype kLongestLine = 4096;

// A whole number as FFmpeg writes it; nothing for "N/A" and anything else.
std::optional<qint64> numberValue(QByteArrayView text) {
    bool ok = false;
    const qint64 number = text.trimmed().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return number;
}

} // namespace

bool CaptureProgressReader::feed(QByteArrayView piece) {
    m_blockEnded = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < piece.size(); ++i) {
        if (piece[i] != '\n')
            continue;
        m_partialLine += piece.sliced(start, i - start);
        takeLine(m_partialLine);
        m_partialLine.clear();
        start = i + 1;
    }
    m_partialLine += piece.sliced(start);
    // A line that never ends is not a report line; it must not grow without bound.
    if (m_partialLine.size() > kLongestLine)
        m_partialLine.clear();
    return m_blockEnded;
}

void CaptureProgressReader::takeLine(QByteArrayView line) {
    if (line.endsWith('\r'))
        line.chop(1);
    const qsizetype equals = line.indexOf('=');
    if (equals <= 0)
        return;
    const QByteArrayView key = line.first(equals).trimmed();
    const QByteArrayView value = line.sliced(equals + 1);
    const std::optional<qint64> number = numberValue(value);
    if (key == "frame") {
        if (number)
            m_block.framesCaptured = qMax<qint64>(0, *number);
    } else if (key == "drop_frames") {
        if (number)
            m_block.framesDropped = qMax<qint64>(0, *number);
    } else if (key == "out_time_us") {
        if (number) {
            m_block.elapsedMs = qMax<qint64>(0, *number) / 1000;
            m_blockHasTimeUs = true;
        }
    } else if (key == "out_time_ms") {
        if (number && !m_blockHasTimeUs)
            m_block.elapsedMs = qMax<qint64>(0, *number) / 1000;
    } else if (key == "progress") {
        m_statistics = m_block;
        m_blockHasTimeUs = false;
        m_blockEnded = true;
        if (value.trimmed() == "end")
            m_ended = true;
    }
}

} // namespace vidora
