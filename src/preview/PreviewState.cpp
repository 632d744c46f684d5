#include "preview/PreviewState.h"

#include "base/TextValues.h"
#include "platform/Paths.h"
#include "platform/ToolProcesses.h"

#include <QDir>
#include <QElapsedTimer>
#include <QPointer>
#include <limits>

namespace vidora {

namespace {

// Where the player's start options differ, they differ in blanks only.
const QString kMainPlay = QStringLiteral(
    " -priority   abovenormal   -framedrop   -colorkey  0  -nokeepaspect   -framedrop   -autosync   100   -vo gl2  -vf   screenshot ");
const QString kMainFirstFrame = QStringLiteral(
    " -priority   abovenormal   -framedrop   -colorkey  0  -nokeepaspect   -framedrop   -autosync   100    -vo gl2 -vf   screenshot ");
const QString kMainSeek = QStringLiteral(
    " -priority   abovenormal   -framedrop   -colorkey  0  -nokeepaspect   -framedrop   -autosync   100    -vo gl2  -vf   screenshot ");
const QString kTrimmingPlay = QStringLiteral(
    " -priority   abovenormal   -framedrop   -colorkey  0  -nokeepaspect   -framedrop   -autosync   100   -vo gl2   -vf   screenshot ");
const QString kTrimmingFirstFrame = QStringLiteral(
    " -priority   abovenormal   -framedrop   -colorkey  0  -nokeepaspect   -framedrop   -autosync   100    -vo gl2  -vf   screenshot ");

} // namespace

PlayerCommand BuildPlayerCommandLine(const QString& appFolder, std::optional<qint32> startSeconds,
                                     quint64 hostWindow, const QString& optionText,
                                     const QString& file) {
    PlayerCommand command;
    command.program = appFolder + kPlayerFileName;
    command.text = u'"' + command.program + u'"';
    if (startSeconds) {
        command.text += QStringLiteral(" -ss ") + QString::number(*startSeconds);
        command.arguments << QStringLiteral("-ss") << QString::number(*startSeconds);
    }
    command.text += QStringLiteral(" -wid ") + QString::number(hostWindow);
    command.arguments << QStringLiteral("-wid") << QString::number(hostWindow);
    command.text += optionText + u'"' + file + u'"';
    command.arguments << optionText.split(u' ', Qt::SkipEmptyParts);
    const bool relative = !file.isEmpty() && QDir::isRelativePath(file);
    command.arguments << (relative ? QStringLiteral("./") + file : file);
    return command;
}

const PlayerOptionTexts& mainWindowOptionTexts() {
    static const PlayerOptionTexts texts{kMainPlay, kMainFirstFrame, kMainPlay, kMainSeek};
    return texts;
}

const PlayerOptionTexts& trimmingWindowOptionTexts() {
    static const PlayerOptionTexts texts{kTrimmingPlay, kTrimmingFirstFrame, kTrimmingPlay,
                                         kTrimmingPlay};
    return texts;
}

qint32 previewSeconds(const QString& timeText) {
    const std::optional<qint64> seconds = timeTextToSeconds(timeText);
    if (!seconds)
        return 0;
    return static_cast<qint32>(std::min<qint64>(*seconds, std::numeric_limits<qint32>::max()));
}

PreviewState::PreviewState(QObject* parent) : QObject(parent) {}

PreviewState::~PreviewState() {
    // No quit key here: whatever still runs is killed, so no player outlives its state.
    // A killed player's end takes it off the list, so the loop walks a copy.
    const QList<Player> players = m_players;
    for (const Player& player : players)
        player.process->kill();
}

qint64 PreviewState::previewProcessId() {
    return PreviewProcessId;
}

qint64 PreviewState::startPlayer(const PlayerCommand& command, quint64 hostWindow) {
    m_lastCommand = command;
    auto* process = new ToolProcess(this);
    process->setWorkingDirectory(AppFolder());
    connect(process, &ToolProcess::outputRead, this, &PreviewState::playerOutput);
    const qint64 pid = process->start(command.program, command.arguments);
    if (pid == 0) {
        process->deleteLater();
        return 0;
    }
    PreviewProcessId = pid;
    m_players.append({process, hostWindow});
    connect(process, &ToolProcess::finished, this, [this, process, hostWindow] {
        m_players.removeIf([process](const Player& player) { return player.process == process; });
        process->deleteLater();
        emit playerEnded(hostWindow);
    });
    emit playerStarted(hostWindow);
    return pid;
}

QList<PreviewState::Player> PreviewState::playersOf(std::optional<quint64> hostWindow) const {
    QList<Player> players;
    for (const Player& player : m_players)
        if ((!hostWindow || player.hostWindow == *hostWindow) && player.process->isRunning())
            players << player;
    return players;
}

int PreviewState::runningPlayers(std::optional<quint64> hostWindow) const {
    return static_cast<int>(playersOf(hostWindow).size());
}

void PreviewState::endPlayers(std::optional<quint64> hostWindow) {
    // The process objects go after their end, maybe while this waits: each is watched.
    QList<QPointer<ToolProcess>> players;
    for (const Player& player : playersOf(hostWindow))
        players << player.process;
    if (players.isEmpty())
        return;
    const QByteArray quit = TerminalKeyBytes(kQuitKey);
    for (const QPointer<ToolProcess>& player : std::as_const(players))
        player->writeInput(quit);
    QElapsedTimer clock;
    clock.start();
    for (const QPointer<ToolProcess>& player : std::as_const(players)) {
        const qint64 left = std::max<qint64>(0, QuitWaitMs - clock.elapsed());
        if (!player || player->waitForEnd(static_cast<int>(left)))
            continue;
        // A player that did not quit in time may hang in its output for good; only a kill ends
        // it.
        player->kill();
    }
}

} // namespace vidora
