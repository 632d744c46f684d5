#pragma once

#include "profiles/OptionValues.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <optional>

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
    static constexpr int TimerIntervalMs = 1000;
    static const QString Processing;
    static const QString Ok;
    static const QString Fail;
    static const QString Cancel;

    explicit ConversionRun(RunContext& context, QObject* parent = nullptr);
    ~ConversionRun() override;

    // The whole run; returns when it has ended, was cancelled, or stopped at a missing input
    // file. The window stays alive inside: the wait for each encoder is a local event loop.
    void BurnNow_Click();
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

    // One tick of the progress timer `Timer2`: elapsed time and the per-job bar from the
    // statistics file's last line.
    void Timer2_Timer();
    bool isTimer2Active() const { return m_timer2.isActive(); }

signals:
    void runningChanged(bool running);
    void panelVisibleChanged(bool visible);
    void busyChanged(bool busy);
    void totalProgressChanged(int percent);
    void trackProgressChanged(int percent);
    void jobCaptionChanged(const QString& caption);
    void elapsedTextChanged(const QString& text);
    void cancelRequested();

private:
    enum class JobEnd { Done, Cancelled, Stopped };
    JobEnd convertJob(int row);
    void finishRun();
    void cancelJob(int row);
    void restoreWindow();
    void setRunning(bool running);

    RunContext& m_context;
    QTimer m_timer2;
    bool m_running = false;
    bool m_abandoned = false;
    QString m_outputFolder;
    bool m_overwriteExistingFiles = false;
    int m_threads = 0;
};

} // namespace vidora
