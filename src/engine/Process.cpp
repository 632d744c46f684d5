#include "engine/Process.h"

#include "base/CommandLineText.h"
#include "base/TextValues.h"
#include "platform/Paths.h"

#include <QEventLoop>
#include <QPointer>
#include <QProcess>

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
    if (!m_process)
        return;
    const QByteArray bytes = m_process->readAllStandardOutput();
    if (!bytes.isEmpty()) {
        // The decoder keeps a letter whose bytes are split between two reads until the rest
        // arrives.
        const QString piece = m_decoder.decode(bytes);
        if (!piece.isEmpty()) {
            // Kept before it is announced, so a handler that reads more output meanwhile still
            // leaves StdOut in arrival order.
            m_stdOut += piece;
            const QPointer<Process> alive(this);
            emit StdOutChanged(piece);
            if (!alive)
                return; // a handler destroyed this object
        }
    }
    IsActive();
}

bool Process::IsActive() {
    if (!m_childHeld)
        return false;
    if (m_process && m_process->state() != QProcess::NotRunning)
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
    if (m_process) {
        // A child of an earlier Launch that is still held goes without a word: this run starts
        // afresh.
        m_childHeld = false;
        if (m_process->state() != QProcess::NotRunning) {
            disconnect(m_process, nullptr, this, nullptr);
            m_process->kill();
            m_process->waitForFinished();
        }
        closePipe();
    }
    m_rc = 0;
    m_stdOut.clear();
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

    m_process = new QProcess(this);
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    connect(m_process, &QProcess::readyReadStandardOutput, this, &Process::Read);
    connect(m_process, &QProcess::finished, this, &Process::onChildFinished);
    m_process->start(program, arguments, QIODevice::ReadWrite);
    if (!m_process->waitForStarted()) {
        // Nothing runs; the pipe stays until Abort, at the latest when the object goes.
        if (m_process->state() != QProcess::NotRunning) {
            m_process->kill();
            m_process->waitForFinished();
        }
        return;
    }
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
    // From here on only Abort reads, so no handler runs before the child is released.
    disconnect(m_process, nullptr, this, nullptr);
    const bool stillRunning = m_process->state() != QProcess::NotRunning;
    if (stillRunning) {
        m_process->kill();
        m_process->waitForFinished();
    }
    if (vnRC != 0)
        m_rc = vnRC;
    else if (stillRunning)
        m_rc = 0; // ended by us, with the exit code it was given
    else
        m_rc = m_process->exitCode(); // its own code; for a crash the signal's number
}

void Process::closePipe() {
    if (!m_process)
        return;
    QProcess* process = m_process;
    m_process = nullptr;
    disconnect(process, nullptr, this, nullptr);
    process->closeWriteChannel();
    // This may run inside one of the process object's own signals, even while this object is
    // destroyed by a handler: the process object goes later, not with this object.
    process->setParent(nullptr);
    process->deleteLater();
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
