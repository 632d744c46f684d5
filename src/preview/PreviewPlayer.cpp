#include "preview/PreviewPlayer.h"

#include "base/TextValues.h"
#include "platform/Paths.h"
#include "platform/ToolProcesses.h"

#include <algorithm>
#include <limits>

namespace vidora {

PreviewPlayer::PreviewPlayer(PreviewState& state, const PlayerOptionTexts& optionTexts,
                             QObject* parent)
    : QObject(parent), m_state(state), m_optionTexts(optionTexts) {
    m_positionTimer.setInterval(TickerIntervalMs);
    connect(&m_positionTimer, &QTimer::timeout, this, &PreviewPlayer::tick);
}

void PreviewPlayer::setHostWindow(std::function<quint64()> hostWindow) {
    m_hostWindow = std::move(hostWindow);
}

void PreviewPlayer::useOwnFile(const QString& file) {
    m_ownFile = file;
}

QString PreviewPlayer::file() const {
    return m_ownFile ? *m_ownFile : m_state.PreviewFile;
}

QString PreviewPlayer::totalTimeCaption(const QString& videoTime) {
    return QStringLiteral("Total time:") + videoTime;
}

quint64 PreviewPlayer::hostWindow() const {
    return m_hostWindow ? m_hostWindow() : 0;
}

void PreviewPlayer::start(std::optional<qint32> startSeconds, const QString& optionText) {
    const quint64 host = hostWindow();
    const PlayerCommand command =
        BuildPlayerCommandLine(AppFolder(), startSeconds, host, optionText, file());
    if (!m_hosts.contains(host))
        m_hosts << host;
    // A player that cannot be started is not reported; the ticker counts all the same.
    m_state.startPlayer(command, host);
}

void PreviewPlayer::play(const QString& file, const QString& videoTime) {
    if (PreviewState::previewProcessId() != 0)
        SendPlayerKey(kQuitKey);
    (m_ownFile ? *m_ownFile : m_state.PreviewFile) = file;
    start(std::nullopt, m_optionTexts.play);
    m_totalTime = totalTimeCaption(videoTime);
    emit totalTimeChanged(m_totalTime);
    m_state.PreviewPosition = 0;
    m_state.PreviewLength = previewSeconds(videoTime);
    setTickerActive(true);
}

void PreviewPlayer::firstFrame() {
    SendPlayerKey(kQuitKey);
    start(std::nullopt, m_optionTexts.firstFrame);
    m_state.PreviewPosition = 0;
    setTickerActive(true);
}

void PreviewPlayer::lastFrames() {
    SendPlayerKey(kQuitKey);
    start(std::max<qint32>(0, m_state.PreviewLength - LastFramesLeadSeconds),
          m_optionTexts.lastFrames);
    m_state.PreviewPosition = m_state.PreviewLength;
    setTickerActive(true);
}

void PreviewPlayer::pause() {
    SendPlayerKey(kPauseKey);
    // The count stops while the picture is paused.
    setTickerActive(!isTickerActive());
}

void PreviewPlayer::back() {
    SendPlayerKey(kBackKey);
}

void PreviewPlayer::forward() {
    SendPlayerKey(kForwardKey);
}

void PreviewPlayer::stop() {
    SendPlayerKey(kQuitKey);
    m_state.PreviewPosition = 0;
    setTickerActive(false);
    setCurrentTime(QString());
}

void PreviewPlayer::tick() {
    qint32& position = m_state.PreviewPosition;
    const qint32 length = m_state.PreviewLength;
    if (position < std::numeric_limits<qint32>::max())
        ++position;
    if (length != 0) {
        const double percent = roundHalfEven(static_cast<double>(position) / length * 100);
        if (percent >= 0 && percent <= 100)
            setSliderValue(static_cast<int>(percent));
    }
    setCurrentTime(secondsToTimeText(position));
    if (position >= length)
        setTickerActive(false);
}

void PreviewPlayer::seek(int sliderValue) {
    qint32& position = m_state.PreviewPosition;
    const qint32 length = m_state.PreviewLength;
    m_sliderValue = sliderValue;
    position = static_cast<qint32>(roundHalfEven(static_cast<double>(sliderValue) * length / 100));
    setCurrentTime(secondsToTimeText(position));
    if (position < length) {
        SendPlayerKey(kQuitKey);
        start(position, m_optionTexts.seek);
        return;
    }
    // At the end there is nothing left to show: the running player is left alone.
    setTickerActive(false);
}

void PreviewPlayer::endPlayers() {
    setTickerActive(false);
    for (quint64 host : std::as_const(m_hosts))
        m_state.endPlayers(host);
}

void PreviewPlayer::setTickerActive(bool active) {
    if (active)
        m_positionTimer.start();
    else
        m_positionTimer.stop();
}

void PreviewPlayer::setSliderValue(int value) {
    if (value == m_sliderValue)
        return;
    m_sliderValue = value;
    emit sliderValueChanged(value);
}

void PreviewPlayer::setCurrentTime(const QString& text) {
    m_currentTime = text;
    emit currentTimeChanged(text);
}

} // namespace vidora
