#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

namespace vidora::test {

// A program started by a test, on the offscreen platform, with some variables of its
// environment set (each "NAME=value"), in a working folder. It is killed when the run goes, so
// no program outlives its test.
class ProgramRun {
public:
    ProgramRun(const QString& program, const QStringList& arguments, const QStringList& environment,
               const QString& workingFolder = QString());
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    qint64 processId() const { return m_process.processId(); }
    bool isRunning() const { return m_process.state() != QProcess::NotRunning; }
    // Waits, the event loop running, for the program to end: its exit code, or -1 when it did not
    // end in time or was ended by a signal.
    int exitCode(int timeoutMs);
    // Asks the program to end as the desktop does when the session ends (SIGTERM).
    void terminate();
    // What it wrote to its standard error so far.
    QString errors();

private:
    QProcess m_process;
};

} // namespace vidora::test
