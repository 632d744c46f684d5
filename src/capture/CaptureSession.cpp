#include "capture/CaptureSession.h"

#include "platform/ToolProcesses.h"

#include <QStandardPaths>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace vidora {

namespace {

// The live picture's pipe holds several pictures, so a player that is slow for a moment does
// not hold up the recording (a 320x240 picture is 115 KB; a plain pipe holds 64 KB).
constexpr int kLivePipeBytes = 1024 * 1024;

// Whether a child started next inherits the descriptor.
void setInherited(int descriptor, bool inherited) {
    ::fcntl(descriptor, F_SETFD, inherited ? 0 : FD_CLOEXEC);
}

void closeDescriptor(int& descriptor) {
    if (descriptor >= 0)
        ::close(descriptor);
    descriptor = -1;
}

// util-linux's setpriv: it sets the parent-death signal and replaces itself with the tool,
// keeping its process id and descriptors, so the system ends the tool when the program itself
// ends without ending it (a crash, a kill).
const QString& setprivProgram() {
    static const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    return setpriv;
}

// Starts a tool that the system ends with the given signal when the program ends. FFmpeg
// finishes its files on TERM; the player gets KILL, since its picture's host is gone with the
// program.
qint64 startEndingWithProgram(ToolProcess* tool, const QString& program,
                              const QStringList& arguments, const char* signalName) {
    return tool->start(setprivProgram(),
                       QStringList{QStringLiteral("--pdeathsig"), QString::fromLatin1(signalName),
                                   QStringLiteral("--"), program} +
                           arguments);
}

} // namespace

CaptureSession::CaptureSession(QObject* parent) : QObject(parent) {}

CaptureSession::~CaptureSession() {
    stop();
}

bool CaptureSession::start(const Tools& tools, const CaptureSource& source,
                           const QString& recordingFile, quint64 windowId, bool mirrorLivePicture) {
    if (isRunning())
        stop();
    delete m_recorder;
    m_recorder = nullptr;
    delete m_player;
    m_player = nullptr;
    m_progress = CaptureProgressReader();
    m_errorText.clear();
    m_stopping = false;
    m_playerArguments.clear();
    // No recorder is started that could outlive the program.
    if (setprivProgram().isEmpty()) {
        m_errorText = QStringLiteral("setpriv was not found; it comes with the package "
                                     "util-linux and makes FFmpeg end with the program.");
        return false;
    }

    // Both ends are closed on exec unless handed on on purpose: the player gets only the read
    // end and FFmpeg only the write end, so the player's end makes FFmpeg's writes fail (and
    // the tee muxer drop the live picture) instead of filling the pipe.
    int pipeEnds[2] = {-1, -1};
    if (windowId != 0 && ::pipe2(pipeEnds, O_CLOEXEC) == 0) {
        ::fcntl(pipeEnds[1], F_SETPIPE_SZ, kLivePipeBytes);
        setInherited(pipeEnds[0], true);
        // A player that cannot start costs the live picture only.
        if (startPlayer(tools, windowId, pipeEnds[0]) == 0)
            closeDescriptor(pipeEnds[1]);
        closeDescriptor(pipeEnds[0]);
    }

    CaptureOutputs outputs;
    outputs.recordingFile = recordingFile;
    outputs.livePictureDescriptor = pipeEnds[1];
    outputs.mirrorLivePicture = mirrorLivePicture;
    m_recorderArguments = BuildCaptureArguments(source, outputs);

    m_recorder = new ToolProcess(this);
    m_recorder->setOutput(ToolProcess::Output::Separate);
    connect(m_recorder, &ToolProcess::outputRead, this,
            [this](const QByteArray& piece) { m_progress.feed(piece); });
    connect(m_recorder, &ToolProcess::finished, this, &CaptureSession::onRecorderFinished);
    if (pipeEnds[1] >= 0)
        setInherited(pipeEnds[1], true);
    const qint64 processId =
        startEndingWithProgram(m_recorder, tools.ffmpeg, m_recorderArguments, "TERM");
    closeDescriptor(pipeEnds[1]);
    if (processId == 0) {
        m_errorText = m_recorder->errorText();
        stopPlayer();
        return false;
    }
    return true;
}

qint64 CaptureSession::startPlayer(const Tools& tools, quint64 windowId, int readDescriptor) {
    m_playerArguments = {
        QStringLiteral("-wid"), QString::number(windowId), QStringLiteral("-really-quiet"),
        QStringLiteral("-nosound"), QStringLiteral("-nolirc"), QStringLiteral("-nomouseinput"),
        QStringLiteral("-nocache"),
        // Each picture is shown as it arrives: a live picture has no clock to keep.
        QStringLiteral("-benchmark"), QStringLiteral("-vo"), tools.playerVideoOutput,
        QStringLiteral("-demuxer"), QStringLiteral("lavf")};
    if (!tools.keepPreviewAspect)
        m_playerArguments << QStringLiteral("-nokeepaspect");
    m_playerArguments << QStringLiteral("/dev/fd/%1").arg(readDescriptor);
    m_player = new ToolProcess(this);
    return startEndingWithProgram(m_player, tools.player, m_playerArguments, "KILL");
}

bool CaptureSession::stop() {
    m_stopping = true;
    bool success = false;
    // FFmpeg's quit key: it finishes its files (the AVI gets its index) and ends.
    if (m_recorder)
        m_recorder->quitOrKill(kRecorderStopMs);
    if (m_recorder && m_recorder->hasEnded())
        success = m_recorder->exitCode() == 0 && !m_recorder->crashed();
    stopPlayer();
    return success;
}

void CaptureSession::stopPlayer() {
    if (m_player)
        m_player->quitOrKill(kPlayerStopMs);
}

bool CaptureSession::isRunning() const {
    return m_recorder && m_recorder->isRunning();
}

qint64 CaptureSession::recorderProcessId() const {
    return m_recorder ? m_recorder->processId() : 0;
}

qint64 CaptureSession::playerProcessId() const {
    return m_player ? m_player->processId() : 0;
}

void CaptureSession::onRecorderFinished(int exitCode, bool crashed) {
    if (m_stopping)
        return;
    const bool success = exitCode == 0 && !crashed;
    if (!success) {
        const QString tail = QString::fromLocal8Bit(m_recorder->errorTail()).trimmed();
        m_errorText = tail.section(u'\n', -1);
    }
    stopPlayer();
    emit endedByItself(success);
}

} // namespace vidora
