#pragma once

#include "engine/EncoderCommandLine.h"
#include "engine/OutputPath.h"
#include "profiles/OptionValues.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <optional>
#include <utility>

namespace vidora {

class ToolProcess;

// What a run reads from and writes to the window's job list and profile choice. The run
// walks the jobs by position; the window keeps the list from changing while it runs.
class RunContext {
public:
    virtual ~RunContext() = default;
    virtual int jobCount() const = 0;
    virtual QString jobPath(int row) const = 0;
    virtual QString jobStart(int row) const = 0;
    virtual QString jobEnd(int row) const = 0;
    // The file's full length as the probe found it (a job time text; empty when unknown).
    virtual QString jobVideoTime(int row) const = 0;
    // Writes a job's status ("Processing", "OK", "Fail", "Cancel") and, for a failed job, why.
    virtual void setJobStatus(int row, const QString& status, const QString& detail) = 0;
    // The chooser's selected item number (0 for none) and its caption, read as a job starts.
    virtual int selectedItemNumber() const = 0;
    virtual QString selectedCaption() const = 0;
    // The ten option values, read afresh for every job; empty when the sheet lacks one.
    virtual std::optional<OptionValues> optionValues() const = 0;
};

// The conversion run: every job of the list through the encoder, one after the other, with
// the progress timer, cancel and the completion step. It talks to the window only through
// RunContext and its signals, so tests drive it without one.
class ConversionRun : public QObject {
    Q_OBJECT
public:
    static constexpr int kProgressIntervalMs = 1000;
    static const QString kProcessing;
    static const QString kOk;
    static const QString kFail;
    static const QString kCancel;

    explicit ConversionRun(RunContext& context, QObject* parent = nullptr);
    ~ConversionRun() override;

    // The whole run; returns when it has ended, was cancelled, or stopped at a missing input
    // file. The window stays alive inside: the wait for each encoder is a local event loop.
    void run();
    // The Cancel button: the run takes it at its next look.
    void requestCancel();
    // The program ends during a run: the current job's encoder is told to stop and the run
    // ends without messages or a completion step.
    void abandon();
    bool isRunning() const { return m_running; }

    // The run's state, as the progress timer and the key sender read it.
    bool CancelRequested = false;
    qint16 TotalPercent = 0;
    qint64 ElapsedSeconds = 0;
    qint32 JobStartSeconds = 0;
    qint32 JobDurationSeconds = 0;

    // One tick of the progress timer: elapsed time, the per-job bar and the time left from the
    // statistics file's last line.
    void onProgressTick();
    bool isProgressTimerActive() const { return m_progressTimer.isActive(); }

signals:
    void runningChanged(bool running);
    void panelVisibleChanged(bool visible);
    void busyChanged(bool busy);
    void totalProgressChanged(int percent);
    void trackProgressChanged(int percent);
    void jobCaptionChanged(const QString& caption);
    void elapsedTextChanged(const QString& text);
    // The estimate of the time left; empty while there is none.
    void timeLeftTextChanged(const QString& text);
    void cancelRequested();
    // The run has ended (completed or cancelled): what its closing message says. Emitted
    // before the message is shown, so the window can also tell a person who looks elsewhere.
    void runEnded(const QString& text);

private:
    enum class JobEnd { Done, Cancelled, Stopped };
    // A job ready for its encoder, or why it cannot be converted.
    struct PreparedJob {
        QString failure;
        QString caption;
        QString output;
        EncoderCommand command;
    };
    JobEnd convertJob(int row);
    PreparedJob prepareJob(int row, const QString& input);
    QString outputFailure(const QString& output) const;
    JobEnd waitForEncoder(int row, const PreparedJob& job);
    void failJob(int row, const QString& why);
    void finishRun();
    void cancelJob(int row);
    // The panel goes back to its idle state: bars at 0, no time left, hidden.
    void resetProgress();
    void setRunning(bool running);

    RunContext& m_context;
    QTimer m_progressTimer;
    bool m_running = false;
    bool m_abandoned = false;
    QString m_outputFolder;
    // The job list's files as they were when the run started, for the check that no output
    // replaces one of them.
    QList<std::pair<FileIdentity, QString>> m_listedFiles;
    bool m_overwriteExistingFiles = false;
    double m_threads = 0;
    // This run's outcomes so far.
    int m_converted = 0;
    int m_failed = 0;
    int m_cancelled = 0;
    // The clip seconds of the jobs after the current one, for the run's time left.
    double m_laterJobsSeconds = 0;
};

} // namespace vidora
