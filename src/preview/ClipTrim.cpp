#include "preview/ClipTrim.h"

#include "base/TextValues.h"
#include "preview/PreviewState.h"

#include <QtGlobal>
#include <algorithm>

namespace vidora {

namespace {

int markerAt(const QString& timeText, int maximum) {
    return std::clamp<int>(previewSeconds(timeText), 0, maximum);
}

} // namespace

ClipTrim::ClipTrim(const TrimHandOver& handOver)
    : m_file(handOver.file), m_maximum(previewSeconds(handOver.videoTime)),
      m_startMarker(markerAt(handOver.start, m_maximum)),
      m_endMarker(markerAt(handOver.end, m_maximum)), m_startText(handOver.start),
      m_endText(handOver.end), m_clipText(durationText(handOver.start, handOver.end)) {}

QString ClipTrim::caption() const {
    return QStringLiteral("Clip Time  -  ") + m_file;
}

void ClipTrim::releaseStartMarker(int seconds) {
    m_startMarker = std::clamp(seconds, 0, m_maximum);
    m_startText = secondsToTimeText(m_startMarker);
    m_clipText = durationText(m_startText, m_endText);
}

void ClipTrim::releaseEndMarker(int seconds) {
    m_endMarker = std::clamp(seconds, 0, m_maximum);
    m_endText = secondsToTimeText(m_endMarker);
    m_clipText = durationText(m_startText, m_endText);
}

bool ClipTrim::canAccept() const {
    const std::optional<qint64> start = timeTextToSeconds(m_startText);
    const std::optional<qint64> end = timeTextToSeconds(m_endText);
    return start && end && *start < *end;
}

QString ClipTrim::durationText(const QString& start, const QString& end) {
    return secondsToTimeText(qAbs(qint64(previewSeconds(end)) - previewSeconds(start)));
}

} // namespace vidora
