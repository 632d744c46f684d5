#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

namespace vidora {

class ToolProcess;

// One start of the preview player: the command-line text as written blank for blank, and the
// program and arguments the player actually receives, made from the same pieces (the file
// arrives as one argument whatever letters it holds).
struct PlayerCommand {
    QString text;
    QString program;
    QStringList arguments;
};

// The player command line of a preview start:
//   a double quote, the program folder's "mp.dll", a double quote;
//   only when starting at a time: " -ss " and the whole seconds;
//   " -wid " and the host window's id, in decimal;
//   the option text (it begins and ends with a blank);
//   the file between double quotes.
// A relative file is given as "./file", so that the player never reads "-x.avi" as an option.
PlayerCommand BuildPlayerCommandLine(const QString& appFolder, std::optional<qint32> startSeconds,
                                     quint64 hostWindow, const QString& optionText,
                                     const QString& file);

// The option texts of one window's starts. They hold the same options and differ only in the
// blanks between them.
struct PlayerOptionTexts {
    QString play;
    QString firstFrame;
    QString lastFrames;
    QString seek;
};
const PlayerOptionTexts& mainWindowOptionTexts();
const PlayerOptionTexts& trimmingWindowOptionTexts();

// Seconds of a job time text; 0 for a text that is no time (an empty Video Time), and at most
// what a 32-bit count holds.
qint32 previewSeconds(const QString& timeText);

// The preview state the main window's preview and the trimming window share, with the players
// it started. PreviewProcessId is the program's one player id (platform/ToolProcesses.h), the
// one the player keys and the conversion run use; every start here sets it.
//
// Every player started here belongs to this object and to the host window it draws into: a
// host must not go away while its player still draws (MPlayer's gl output then hangs for
// good), so endPlayers() tells them to quit, waits for them up to a second and kills what is
// left. Destroying the state kills whatever still runs.
class PreviewState : public QObject {
    Q_OBJECT
public:
    static constexpr int QuitWaitMs = 1000;

    explicit PreviewState(QObject* parent = nullptr);
    ~PreviewState() override;

    QString PreviewFile;
    qint32 PreviewPosition = 0;
    qint32 PreviewLength = 0;
    static qint64 previewProcessId();

    // Starts the player in the program folder, without waiting for it; its process id becomes
    // PreviewProcessId. A player that cannot be started leaves PreviewProcessId as it was and
    // returns 0.
    qint64 startPlayer(const PlayerCommand& command, quint64 hostWindow);

    // Ends the players drawing into this host (with no host given: every player): the quit
    // key, a wait of up to QuitWaitMs for all of them, then a kill. Events are handled while it
    // waits.
    void endPlayers(std::optional<quint64> hostWindow = std::nullopt);

    // The command of the latest start, whether the player started or not.
    PlayerCommand lastCommand() const { return m_lastCommand; }

    // Players started here that still run (into this host, or into any).
    int runningPlayers(std::optional<quint64> hostWindow = std::nullopt) const;

signals:
    // A player was started into this host.
    void playerStarted(quint64 hostWindow);
    // A player that drew into this host has ended.
    void playerEnded(quint64 hostWindow);
    // What the players print (MPlayer's "Starting playback...", its status lines).
    void playerOutput(const QByteArray& piece);

private:
    struct Player {
        ToolProcess* process;
        quint64 hostWindow;
    };
    QList<Player> playersOf(std::optional<quint64> hostWindow) const;

    QList<Player> m_players;
    PlayerCommand m_lastCommand;
};

} // namespace vidora
