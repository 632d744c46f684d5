#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <memory>

class QWidget;

namespace vidora {

class ToolProcess;

// Plays a stream link inside a host widget with the program's player mp.dll (-wid), the picture
// scaled to fill the host. The player is stopped before the host can go away: its quit key,
// up to a second's wait, then a kill (a player whose window vanished may hang).
class StreamPreview : public QObject {
    Q_OBJECT
public:
    static constexpr int kQuitWaitMs = 1000;

    explicit StreamPreview(QWidget* host, QObject* parent = nullptr);
    ~StreamPreview() override;

    // Stops a player still running and starts one for the link, read as a download reads it
    // (AddressOfLink); only http and https addresses are played. Returns the player's process
    // id, 0 when nothing was started.
    qint64 play(const QString& link);
    void stop();
    bool isPlaying() const;

    // The player's arguments for a host window id and a link.
    static QStringList PlayerArguments(quintptr windowId, const QString& link);

private:
    QPointer<QWidget> m_host;
    std::unique_ptr<ToolProcess> m_player;
};

} // namespace vidora
