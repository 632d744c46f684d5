#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <memory>

namespace vidora {

class ToolProcess;

// Runs one command as a hidden child whose standard output and error come back through one
// pipe, collects everything it writes and keeps its exit code. The media probe runs the player
// through it. The child's standard input is an open pipe that nothing is written to, so a tool
// that reads keys from it simply gets none.
class Process : public QObject {
    Q_OBJECT
public:
    // The program path and its arguments as one command-line text: blanks separate arguments,
    // double quotes group a text holding blanks (`"/opt/my folder/mp.dll" -identify`).
    QString CmdLine;
    // Further arguments in the same form, appended after CmdLine's.
    QString Parameters;
    // false: Launch returns once the child has ended and its output is collected.
    // true: Launch returns at once; Finished is raised when the child has ended.
    bool Async = false;
    // At most this many characters of the child's output are kept in StdOut (its start);
    // whatever comes after is still read, so the child never blocks, and dropped. 0: no limit.
    qsizetype OutputLimit = 0;

    explicit Process(QObject* parent = nullptr);
    ~Process() override;

    // Sets the program and its arguments directly, so a path holding blanks, quotes or any
    // other letter arrives unchanged. CmdLine becomes the same command as text; if CmdLine is
    // changed afterwards, the text is used instead.
    void setCommand(const QString& program, const QStringList& arguments);

    QDateTime StartTime() const { return m_startTime; }
    // Time since StartTime as H:MM:SS.
    QString ElapsedTime() const;
    qint32 RC() const { return m_rc; }
    QString StdOut() const { return m_stdOut; }

    // Collects what the child has written so far.
    void Read();
    // Whether the child still runs; releases it when it has ended.
    bool IsActive();
    // Ends the child if it still runs (its exit code becomes vnRC unless that is 0), collects
    // what it wrote last, releases everything and raises Finished.
    void Abort(qint32 vnRC);
    void Launch();

    // The command-line text of a program and its arguments; an argument that is empty or holds
    // a blank is put in double quotes.
    static QString joinCommandLine(const QString& program, const QStringList& arguments);

signals:
    void Finished();
    void StdOutChanged(const QString& vsText);

private:
    void onOutput(const QByteArray& bytes);
    // Announces the output held back so far; false when a handler destroyed this object.
    bool announceOutput();
    void onChildFinished();
    void releaseChild(qint32 vnRC);
    void closePipe();

    QString m_program;
    QStringList m_arguments;
    QString m_commandText; // CmdLine as setCommand wrote it
    QDateTime m_startTime;
    qint32 m_rc = 0;
    QString m_stdOut;
    QStringDecoder m_decoder{QStringDecoder::Utf8};
    QByteArray m_unannounced;      // output read but not yet announced
    bool m_holdOutput = false;     // while the child is released, its last output waits
    ToolProcess* m_tool = nullptr; // the pipe: from Launch until Abort
    bool m_childHeld = false;      // a started child not yet released
};

// A Process for a tool of the program folder: its program is AppFolder() + toolFileName (for
// example "mp.dll") with these arguments; nothing is started yet.
std::unique_ptr<Process> CreateToolProcess(const QString& toolFileName,
                                           const QStringList& arguments = {});

} // namespace vidora
