#include "engine/Process.h"

#include "base/CommandLineText.h"
#include "base/TextValues.h"
#include "platform/Paths.h"
#include "platform/ToolProcesses.h"

#include <QEventLoop>
#include <QPointer>
#include <algorithm>

namespace vidora {

Process::Process(QObject* parent) : QObject(parent) {}

Process::~Process() {
    Abort(0);
}

void Process::setCommand(const QString& program, const QStringList& arguments) {
    m_program = program;
    m_arguments = arguments;
    m_commandText = joinCommandLine(program, arguments);
    CmdLine = m_commandText;
}

QString Process::ElapsedTime() const {
    if (!m_startTime.isValid())
        return secondsToTimeText(0);
    return secondsToTimeText(m_startTime.secsTo(QDateTime::currentDateTime()));
}

void Process::Read() {
    if (m_tool) {
        const QPointer<Process> alive(this);
        m_tool->readPending();
        if (!alive || !announceOutput())
            return; // a handler destroyed this object
    }
    IsActive();
}

void Process::onOutput(const QByteArray& bytes) {
    m_unannounced += bytes;
    if (!m_holdOutput)
        announceOutput();
}

bool Process::announceOutput() {
    if (m_unannounced.isEmpty())
        return true;
    // The decoder keeps a letter whose bytes are split between two reads until the rest
    // arrives.
    const QString piece = m_decoder.decode(m_unannounced);
    m_unannounced.clear();
    if (piece.isEmpty())
        return true;
    // Kept before it is announced, so a handler that reads more output meanwhile still leaves
    // StdOut in arrival order.
    if (OutputLimit <= 0)
        m_stdOut += piece;
    else if (m_stdOut.size() < OutputLimit)
        m_stdOut += QStringView(piece).first(std::min(piece.size(), OutputLimit - m_stdOut.size()));
    const QPointer<Process> alive(this);
    emit StdOutChanged(piece);
    return !alive.isNull();
}

bool Process::IsActive() {
    if (!m_childHeld)
        return false;
    if (m_tool && m_tool->isRunning())
        return true;
    Abort(0);
    return false;
}

void Process::Abort(qint32 vnRC) {
    releaseChild(vnRC);
    // Collects what the child wrote before it ended.
    const QPointer<Process> alive(this);
    Read();
    if (!alive)
        return; // a handler destroyed this object, which has released everything
    closePipe();
    emit Finished();
}

void Process::Launch() {
    if (m_tool) {
        // A child of an earlier Launch that is still held goes without a word: this run starts
        // afresh.
        m_childHeld = false;
        disconnect(m_tool, nullptr, this, nullptr);
        m_tool->kill();
        closePipe();
    }
    m_rc = 0;
    m_stdOut.clear();
    m_unannounced.clear();
    m_startTime = QDateTime::currentDateTime();
    m_decoder.resetState();

    QString program;
    QStringList arguments;
    if (!m_commandText.isNull() && CmdLine == m_commandText) {
        program = m_program;
        arguments = m_arguments + splitCommandLine(Parameters);
    } else {
        arguments = splitCommandLine(CmdLine + u' ' + Parameters);
        if (arguments.isEmpty())
            return;
        program = arguments.takeFirst();
    }

    m_tool = new ToolProcess(this);
    connect(m_tool, &ToolProcess::outputRead, this, &Process::onOutput);
    connect(m_tool, &ToolProcess::finished, this, &Process::onChildFinished);
    // Nothing runs when the start fails; the pipe stays until Abort, at the latest when the
    // object goes.
    if (m_tool->start(program, arguments) == 0)
        return;
    m_childHeld = true;
    if (Async)
        return;

    // The wait wakes on the child's output and end; other handlers and timers run meanwhile.
    QEventLoop loop;
    connect(this, &Process::Finished, &loop, &QEventLoop::quit);
    if (m_childHeld)
        loop.exec();
}

void Process::onChildFinished() {
    if (m_childHeld)
        Abort(0);
}

void Process::releaseChild(qint32 vnRC) {
    if (!m_childHeld)
        return;
    m_childHeld = false;
    // From here on only Abort announces output, so no handler runs before the child is
    // released.
    disconnect(m_tool, &ToolProcess::finished, this, &Process::onChildFinished);
    const bool stillRunning = m_tool->isRunning();
    m_holdOutput = true;
    m_tool->kill();
    m_holdOutput = false;
    if (vnRC != 0)
        m_rc = vnRC;
    else if (stillRunning)
        m_rc = 0; // ended by us, with the exit code it was given
    else
        m_rc = m_tool->exitCode(); // its own code; for a crash the signal's number
}

void Process::closePipe() {
    if (!m_tool)
        return;
    ToolProcess* tool = m_tool;
    m_tool = nullptr;
    disconnect(tool, nullptr, this, nullptr);
    // This may run inside one of the tool's own signals, even while this object is destroyed
    // by a handler: the tool object goes later, not with this object.
    tool->setParent(nullptr);
    tool->deleteLater();
}

QString Process::joinCommandLine(const QString& program, const QStringList& arguments) {
    QStringList parts;
    for (const QString& part : QStringList{program} + arguments) {
        if (part.isEmpty() || part.contains(u' ') || part.contains(u'\t'))
            parts << u'"' + part + u'"';
        else
            parts << part;
    }
    return parts.join(u' ');
}

std::unique_ptr<Process> CreateToolProcess(const QString& toolFileName,
                                           const QStringList& arguments) {
    auto process = std::make_unique<Process>();
    process->setCommand(AppFolder() + toolFileName, arguments);
    return process;
}

} // namespace vidora
