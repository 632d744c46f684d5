#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

namespace vidora {

class JobList;
class Process;

// What one identify run of the player told of a file, as the probe writes it into the file's
// row. A field that stays empty leaves its cell empty.
struct IdentifyResult {
    qint32 width = 0;
    qint32 height = 0;
    // The job time text of the length, for End and Video Time.
    std::optional<QString> lengthText;
    std::optional<QString> format;
    // Whether the output was read to its end, so that Start and Size are written. False when
    // a width or height was not a number: reading stopped at that line and what came before
    // it is all the row gets.
    bool complete = false;

    // width "x" height, in decimal: "640x480", "0x0".
    QString sizeText() const;
};

// The start every probed row gets.
inline constexpr char16_t ProbeStartText[] = u"0:00:00";

// Reads the player's identify output. One key=value pair per line (lines end in LF; a CR
// before it is dropped); the key is the text before the first "=", the value the text up to
// the second "=". Keys are matched exactly:
//   ID_VIDEO_WIDTH, ID_VIDEO_HEIGHT  whole numbers; anything else ends the reading there
//   ID_LENGTH                        seconds, leading number (0 when none), rounded halves to
//                                    even, written as a job time text (no wrap at 24 hours)
//   ID_VIDEO_FORMAT                  kept exactly as printed
// Every other line is ignored; a key that comes again replaces the earlier value.
IdentifyResult parseIdentifyOutput(const QString& output);

// The player's arguments for identifying a file, ending with the file. A relative path is
// given as "./path", so that the player never reads a name such as "-x.avi" as an option.
QStringList identifyArguments(const QString& path);

// Writes a parse result into a row: End, Format and Video Time where they were found, then
// Start and Size when the output was read to its end.
void applyIdentifyResult(JobList& list, int row, const IdentifyResult& result);

// Adds files to the job list and fills their rows from identify runs of the player mp.dll. The
// rows are appended at once, in the order given, each with its path exactly as given; the
// player runs on as many files at a time as the machine has cores, and each row is filled when
// its run ends (in whatever order the runs end). A run that cannot be started, prints nothing
// useful or has not ended after ProbeTimeoutMs leaves its row with its path, "0:00:00" and
// "0x0". Events are handled all the while; a row removed meanwhile is simply not filled.
class MediaProber : public QObject {
    Q_OBJECT
public:
    static constexpr int ProbeTimeoutMs = 30000;
    // An identify run prints a few KiB; what a broken file makes it print beyond this is dropped.
    static constexpr qsizetype OutputLimit = 256 * 1024;

    // parallelRuns 0: as many as the machine has cores.
    explicit MediaProber(JobList& list, int parallelRuns = 0, int timeoutMs = ProbeTimeoutMs,
                         QObject* parent = nullptr);
    ~MediaProber() override;

    // Appends a row for each path and queues its identify run. Nothing is added while the list
    // is locked; returns how many rows were added.
    int add(const QStringList& paths);
    // Whether identify runs are queued or running.
    bool isBusy() const { return m_busy; }
    int parallelRuns() const { return m_parallelRuns; }

signals:
    void busyChanged(bool busy);
    // A row was filled from its identify run.
    void rowProbed(int row);

private:
    struct Pending {
        quint64 rowId;
        QString path;
    };
    void startRuns();
    void runEnded(Process* player, quint64 rowId);
    void setBusy(bool busy);

    JobList& m_list;
    int m_parallelRuns;
    int m_timeoutMs;
    QList<Pending> m_queue;
    QList<Process*> m_running;
    bool m_busy = false;
};

} // namespace vidora
