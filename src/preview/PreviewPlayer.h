#pragma once

#include "preview/PreviewState.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <optional>

namespace vidora {

// One window's preview without its widgets: the commands of its buttons, its one-second
// position ticker `Timer1`, the position slider and the two time labels. It starts the player
// into its window's host with its window's option texts and counts the position itself, in
// the shared PreviewState; the player is never asked where it is.
//
// The main window's preview plays the shared PreviewFile; the trimming window's plays its own
// file (useOwnFile).
class PreviewPlayer : public QObject {
    Q_OBJECT
public:
    static constexpr int TickerIntervalMs = 1000;
    // MPlayer started at a file's very length shows frames from the start of some files:
    // Last Frames starts this much earlier (never before 0).
    static constexpr qint32 LastFramesLeadSeconds = 3;

    PreviewPlayer(PreviewState& state, const PlayerOptionTexts& optionTexts,
                  QObject* parent = nullptr);

    // The host window's id for the next start, asked at each start.
    void setHostWindow(std::function<quint64()> hostWindow);
    // From now on this player plays `file` and leaves PreviewFile alone.
    void useOwnFile(const QString& file);
    QString file() const;
    PreviewState& state() { return m_state; }

    // Play: the quit key to a running player, then this file from its beginning; the total
    // time label shows the Video Time, the count starts at 0 of its length.
    void play(const QString& file, const QString& videoTime);
    void firstFrame();
    void lastFrames();
    void pause();
    void back();
    void forward();
    void stop();
    // One step of the ticker: the count, the slider and the current time label.
    void tick();
    // The position slider released at this value (0 to 100).
    void seek(int sliderValue);

    // Stops the ticker and ends this player's processes before its host goes away.
    void endPlayers();

    bool isTickerActive() const { return m_positionTimer.isActive(); }
    void setTickerActive(bool active);
    int sliderValue() const { return m_sliderValue; }
    QString currentTimeText() const { return m_currentTime; }
    QString totalTimeText() const { return m_totalTime; }

    // "Total time:" immediately followed by the Video Time, as Play writes it.
    static QString totalTimeCaption(const QString& videoTime);

signals:
    void sliderValueChanged(int value);
    void currentTimeChanged(const QString& text);
    void totalTimeChanged(const QString& text);

private:
    void start(std::optional<qint32> startSeconds, const QString& optionText);
    void setSliderValue(int value);
    void setCurrentTime(const QString& text);
    quint64 hostWindow() const;

    PreviewState& m_state;
    PlayerOptionTexts m_optionTexts;
    std::function<quint64()> m_hostWindow;
    std::optional<QString> m_ownFile;
    // Every host this player has drawn into.
    QList<quint64> m_hosts;
    QTimer m_positionTimer;
    int m_sliderValue = 0;
    QString m_currentTime = QStringLiteral("0:00:00");
    QString m_totalTime = QStringLiteral("Total time: 0:00:00");
};

} // namespace vidora
