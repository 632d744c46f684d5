#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <optional>

class QProcess;

namespace vidora {

// The process ids of the most recently started player (preview) and encoder (conversion);
// 0 while none was started. Keys go to these tools only while they still run.
extern qint64 PreviewProcessId;
extern qint64 EncoderProcessId;

// One start of an external tool (the encoder fp.dll, the player mp.dll), the way every tool
// of the program is started: without a window, from a program path and an argument list
// (never through a shell, so any letter in a path arrives unchanged), with its standard input
// kept open as the channel its keys are written to, and with its output always read, so the
// tool never blocks on a full pipe. The last 8 KiB of its error output are kept to explain a
// failure.
//
// One object starts one tool. Destroying the object does not end a tool that still runs: the
// tool goes on (its output is still read and dropped) until it ends by itself or on its quit
// key; it stays reachable for the keys until then.
class ToolProcess : public QObject {
    Q_OBJECT
public:
    // Whether error output comes through outputRead together with the standard output
    // (Merged) or on its own through errorRead (Separate).
    enum class Output { Merged, Separate };

    static constexpr qsizetype ErrorTailBytes = 8 * 1024;

    explicit ToolProcess(QObject* parent = nullptr);
    ~ToolProcess() override;

    void setOutput(Output output) { m_output = output; }
    // Empty: the program's own current folder.
    void setWorkingDirectory(const QString& folder) { m_workingDirectory = folder; }

    // Starts the tool and returns its process id, or 0 when it could not be started (then
    // failedToStart has been emitted and errorText says why). Starts at most once per object.
    qint64 start(const QString& program, const QStringList& arguments);

    qint64 processId() const { return m_processId; }
    QString program() const { return m_program; }
    bool isRunning() const;
    bool hasEnded() const { return m_ended; }
    int exitCode() const { return m_exitCode; }
    bool crashed() const { return m_crashed; }
    QString errorText() const { return m_errorText; }
    // The last ErrorTailBytes of the error output (of all output when merged).
    QByteArray errorTail() const { return m_errorTail; }

    // Writes bytes to the tool's standard input at once; false when the tool does not run.
    bool writeInput(QByteArrayView bytes);

    // Ends the tool at once (SIGKILL) and waits until it has gone; its end is reported as any
    // other. Nothing happens when it does not run.
    void kill();
    // Asks the tool to end by its quit key and waits up to waitMs, other handlers running; a
    // tool that is still running then is killed (a player may hang in its output for good).
    // True when it ended by itself or on its key.
    bool quitOrKill(int waitMs);
    // Hands on at once what the tool has written and was not yet announced.
    void readPending();

    // Waits in a local event loop until the tool has ended, other handlers and timers running
    // meanwhile; a negative timeout waits as long as it takes. True when the tool has ended.
    bool waitForEnd(int timeoutMs = -1);

signals:
    void outputRead(const QByteArray& piece);
    void errorRead(const QByteArray& piece);
    void finished(int exitCode, bool crashed);
    void failedToStart(const QString& reason);

private:
    void readOutput();
    void readError();
    void keepErrorTail(const QByteArray& piece);
    void onFinished();
    void onErrorOccurred();

    Output m_output = Output::Merged;
    QString m_workingDirectory;
    QString m_program;
    QProcess* m_process = nullptr;
    qint64 m_processId = 0;
    bool m_ended = false;
    int m_exitCode = 0;
    bool m_crashed = false;
    QString m_errorText;
    QByteArray m_errorTail;
};

// A running tool found by FindToolWindow: where the keys of that tool are written.
class ToolWindow {
public:
    qint64 processId() const { return m_processId; }
    QString program() const { return m_program; }
    // Writes bytes to the tool's standard input; false when the tool no longer runs.
    bool post(QByteArrayView bytes) const;

private:
    friend std::optional<ToolWindow> FindToolWindow(qint64 processId, const QString& titleText);
    qint64 m_processId = 0;
    QString m_program;
    QPointer<QObject> m_process;
};

// Among the tools this program started and that still run, the one with this process id whose
// program file name contains titleText (exact, case-sensitive). Nothing otherwise: a stale or
// foreign process id never finds an earlier tool.
std::optional<ToolWindow> FindToolWindow(qint64 processId, const QString& titleText);

// The two tools of the program folder.
inline constexpr char16_t kPlayerFileName[] = u"mp.dll";
inline constexpr char16_t kEncoderFileName[] = u"fp.dll";

// The keys the program sends its tools, as Windows virtual-key codes.
inline constexpr int kQuitKey = 81;
inline constexpr int kPauseKey = 32;
inline constexpr int kBackKey = 37;
inline constexpr int kForwardKey = 39;

// Sends a key (Windows virtual-key code: Q 81, Space 32, Left 37, Right 39) to the player
// PreviewProcessId ("mp.dll") or the encoder EncoderProcessId ("fp.dll"). Nothing is sent when
// that tool does not run or the key is not one of these; neither waits for the tool to react.
void SendPlayerKey(int virtualKey);
void SendEncoderKey(int virtualKey);

// The bytes a tool reads from a terminal for the key ("q", " ", ESC "[D", ESC "[C"); empty for
// a key the tools are never sent.
QByteArray TerminalKeyBytes(int virtualKey);

constexpr quint32 WM_KEYDOWN = 0x0100;
constexpr quint32 WM_KEYUP = 0x0101;

// The second parameter of a key message: repeat count 1 in bits 0-15, the key's PC set-1 scan
// code in bits 16-23 (0 for an unknown key), and for any message but WM_KEYDOWN the
// previous-state and transition bits 30 and 31. Q: 0x00100001 down, 0xC0100001 up.
quint32 MakeKeyParam(int virtualKey, quint32 message);

} // namespace vidora
