#include "platform/ToolProcesses.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QList>
#include <QProcess>
#include <QTimer>

namespace vidora {

qint64 PreviewProcessId = 0;
qint64 EncoderProcessId = 0;

namespace {

// The keys the program sends its tools, with the PC set-1 scan code a key message carries and
// the bytes a tool reads from a terminal when that key is pressed.
struct ToolKey {
    int virtualKey;
    quint8 scanCode;
    const char* terminalBytes;
};

constexpr ToolKey toolKeys[] = {
    {kQuitKey, 0x10, "q"},         // Q: quit
    {kPauseKey, 0x39, " "},        // Space: pause and resume
    {kBackKey, 0x4B, "\x1b[D"},    // Left arrow: step back
    {kForwardKey, 0x4D, "\x1b[C"}, // Right arrow: step forward
};

const ToolKey* findToolKey(int virtualKey) {
    for (const ToolKey& key : toolKeys) {
        if (key.virtualKey == virtualKey)
            return &key;
    }
    return nullptr;
}

// Every tool this program started, while its process object exists. Entries whose process has
// ended or whose object is gone are skipped and dropped at the next search.
struct StartedTool {
    qint64 processId;
    QString program;
    QPointer<QProcess> process;
};

QList<StartedTool>& startedTools() {
    static QList<StartedTool> tools;
    return tools;
}

bool runs(const StartedTool& tool) {
    return tool.process && tool.process->state() == QProcess::Running &&
           tool.process->processId() == tool.processId;
}

// Keeps the process objects of tools whose starter is gone, until each tool ends. Belongs to the
// application object, so the tools still running when the program ends are ended with it.
QObject* orphanKeeper() {
    static QPointer<QObject> keeper;
    if (!keeper && QCoreApplication::instance())
        keeper = new QObject(QCoreApplication::instance());
    return keeper;
}

void dropOutput(QProcess* process) {
    process->readAllStandardOutput();
    if (process->processChannelMode() == QProcess::SeparateChannels)
        process->readAllStandardError();
}

bool writeToTool(QProcess* process, QByteArrayView bytes) {
    if (!process || process->state() != QProcess::Running)
        return false;
    if (process->write(bytes.data(), bytes.size()) != bytes.size())
        return false;
    // QProcess writes only when the event loop next runs; a key must not wait for that (the
    // program may be about to end). A short wait is enough: a tool's input pipe is never full.
    process->waitForBytesWritten(100);
    return true;
}

void sendToolKey(qint64 processId, const QString& titleText, int virtualKey) {
    if (processId == 0)
        return;
    const QByteArray bytes = TerminalKeyBytes(virtualKey);
    if (bytes.isEmpty())
        return;
    // The key goes to the named tool only: when it does not run, nothing is sent.
    if (const std::optional<ToolWindow> window = FindToolWindow(processId, titleText))
        window->post(bytes);
}

} // namespace

ToolProcess::ToolProcess(QObject* parent) : QObject(parent) {}

ToolProcess::~ToolProcess() {
    if (!m_process)
        return;
    // The process object may be inside one of its own signals (a handler of finished may
    // destroy its tool), so it goes later, not with this object.
    m_process->setParent(nullptr);
    if (!isRunning()) {
        m_process->deleteLater();
        return;
    }
    // The tool goes on without its starter: its output is still read so it never blocks on a
    // full pipe, and its process object goes when the tool ends.
    QProcess* process = m_process;
    disconnect(process, nullptr, this, nullptr);
    process->setParent(orphanKeeper());
    connect(process, &QProcess::readyReadStandardOutput, process,
            [process] { dropOutput(process); });
    connect(process, &QProcess::readyReadStandardError, process,
            [process] { dropOutput(process); });
    connect(process, &QProcess::finished, process, &QObject::deleteLater);
    dropOutput(process);
}

qint64 ToolProcess::start(const QString& program, const QStringList& arguments) {
    if (m_process)
        return 0;
    startedTools().removeIf([](const StartedTool& tool) { return !runs(tool); });
    m_program = program;
    m_process = new QProcess(this);
    m_process->setProcessChannelMode(m_output == Output::Merged ? QProcess::MergedChannels
                                                                : QProcess::SeparateChannels);
    if (!m_workingDirectory.isEmpty())
        m_process->setWorkingDirectory(m_workingDirectory);
    connect(m_process, &QProcess::readyReadStandardOutput, this, &ToolProcess::readOutput);
    connect(m_process, &QProcess::readyReadStandardError, this, &ToolProcess::readError);
    connect(m_process, &QProcess::finished, this, &ToolProcess::onFinished);
    connect(m_process, &QProcess::errorOccurred, this, &ToolProcess::onErrorOccurred);

    // Standard input stays an open pipe: it is the channel the tool's keys are written to.
    m_process->start(program, arguments, QIODevice::ReadWrite);
    // Only the start itself is waited for (the exec of the tool), never its run.
    if (!m_process->waitForStarted()) {
        if (m_process->state() != QProcess::NotRunning) {
            m_process->kill();
            m_process->waitForFinished();
        }
        if (m_errorText.isEmpty()) {
            m_errorText = QStringLiteral("The tool could not be started: ") + m_program;
            emit failedToStart(m_errorText);
        }
        return 0;
    }
    m_processId = m_process->processId();
    startedTools().append({m_processId, m_program, m_process});
    return m_processId;
}

bool ToolProcess::isRunning() const {
    return m_process && !m_ended && m_process->state() != QProcess::NotRunning;
}

bool ToolProcess::writeInput(QByteArrayView bytes) {
    return !m_ended && writeToTool(m_process, bytes);
}

bool ToolProcess::waitForEnd(int timeoutMs) {
    if (!isRunning())
        return m_processId == 0 || m_ended;
    QEventLoop loop;
    connect(this, &ToolProcess::finished, &loop, &QEventLoop::quit);
    QTimer timer;
    if (timeoutMs >= 0) {
        timer.setSingleShot(true);
        connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        timer.start(timeoutMs);
    }
    const QPointer<ToolProcess> alive(this);
    loop.exec();
    return !alive || m_ended; // a handler may have destroyed this object meanwhile
}

void ToolProcess::kill() {
    if (!isRunning())
        return;
    m_process->kill();
    // The kernel ends a killed process at once; the bound only keeps a stuck wait finite.
    m_process->waitForFinished(10000);
}

bool ToolProcess::quitOrKill(int waitMs) {
    if (!isRunning())
        return true;
    writeInput(TerminalKeyBytes(kQuitKey));
    if (waitForEnd(waitMs))
        return true; // also when a handler destroyed this object meanwhile
    kill();
    return false;
}

void ToolProcess::readPending() {
    if (!m_process)
        return;
    const QPointer<ToolProcess> alive(this);
    readOutput();
    if (alive && m_output == Output::Separate)
        readError();
}

void ToolProcess::readOutput() {
    const QByteArray piece = m_process->readAllStandardOutput();
    if (piece.isEmpty())
        return;
    if (m_output == Output::Merged)
        keepErrorTail(piece);
    emit outputRead(piece);
}

void ToolProcess::readError() {
    const QByteArray piece = m_process->readAllStandardError();
    if (piece.isEmpty())
        return;
    keepErrorTail(piece);
    emit errorRead(piece);
}

void ToolProcess::keepErrorTail(const QByteArray& piece) {
    m_errorTail += piece;
    if (m_errorTail.size() > ErrorTailBytes)
        m_errorTail.remove(0, m_errorTail.size() - ErrorTailBytes);
}

void ToolProcess::onFinished() {
    if (m_ended)
        return;
    // Whatever the tool wrote last comes before its end.
    const QPointer<ToolProcess> alive(this);
    readPending();
    if (!alive)
        return; // a handler destroyed this object
    m_ended = true;
    m_crashed = m_process->exitStatus() == QProcess::CrashExit;
    m_exitCode = m_process->exitCode();
    emit finished(m_exitCode, m_crashed);
}

void ToolProcess::onErrorOccurred() {
    if (m_process->error() != QProcess::FailedToStart || m_processId != 0)
        return;
    m_errorText = m_process->errorString();
    if (m_errorText.isEmpty())
        m_errorText = QStringLiteral("The tool could not be started: ") + m_program;
    emit failedToStart(m_errorText);
}

bool ToolWindow::post(QByteArrayView bytes) const {
    return writeToTool(qobject_cast<QProcess*>(m_process.data()), bytes);
}

std::optional<ToolWindow> FindToolWindow(qint64 processId, const QString& titleText) {
    QList<StartedTool>& tools = startedTools();
    tools.removeIf([](const StartedTool& tool) { return !runs(tool); });
    if (processId == 0)
        return std::nullopt;
    // When several match, the last one started wins (a process id is never reused while the
    // tool that had it still runs, so this is only ever one).
    for (auto it = tools.crbegin(); it != tools.crend(); ++it) {
        if (it->processId != processId)
            continue;
        if (!QFileInfo(it->program).fileName().contains(titleText, Qt::CaseSensitive))
            continue;
        ToolWindow window;
        window.m_processId = it->processId;
        window.m_program = it->program;
        window.m_process = it->process.data();
        return window;
    }
    return std::nullopt;
}

void SendPlayerKey(int virtualKey) {
    sendToolKey(PreviewProcessId, QString::fromUtf16(kPlayerFileName), virtualKey);
}

void SendEncoderKey(int virtualKey) {
    sendToolKey(EncoderProcessId, QString::fromUtf16(kEncoderFileName), virtualKey);
}

QByteArray TerminalKeyBytes(int virtualKey) {
    const ToolKey* key = findToolKey(virtualKey);
    return key ? QByteArray(key->terminalBytes) : QByteArray();
}

quint32 MakeKeyParam(int virtualKey, quint32 message) {
    const ToolKey* key = findToolKey(virtualKey);
    const quint32 scanCode = key ? key->scanCode : 0;
    const quint32 releaseBits = message == WM_KEYDOWN ? 0 : 0xC0000000u;
    return releaseBits | (scanCode & 0xFFu) << 16 | 1u;
}

} // namespace vidora
