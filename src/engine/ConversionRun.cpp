#include "engine/ConversionRun.h"

#include "base/TextValues.h"
#include "engine/ConversionProgress.h"
#include "engine/EncoderCommandLine.h"
#include "platform/Desktop.h"
#include "platform/Messages.h"
#include "platform/Paths.h"
#include "platform/Settings.h"
#include "platform/ToolProcesses.h"
#include "profiles/Catalogue.h"

#include <QEventLoop>
#include <QFileInfo>
#include <algorithm>
#include <limits>

namespace vidora {

const QString ConversionRun::Processing = QStringLiteral("Processing");
const QString ConversionRun::Ok = QStringLiteral("OK");
const QString ConversionRun::Fail = QStringLiteral("Fail");
const QString ConversionRun::Cancel = QStringLiteral("Cancel");

namespace {

constexpr int kQuitKey = 81;

// The program folder as the command line names it: without its trailing "/", but for "/".
QString programFolder() {
    QString folder = AppFolder();
    if (folder.size() > 1)
        folder.chop(1);
    return folder;
}

// The last few lines the encoder wrote: what explains a failure to the user.
QString lastLines(const QByteArray& output, int count = 6) {
    QStringList lines = QString::fromUtf8(output).split(u'\n', Qt::SkipEmptyParts);
    for (QString& line : lines)
        line = line.trimmed();
    lines.removeAll(QString());
    return lines.mid(std::max<qsizetype>(0, lines.size() - count)).join(u'\n');
}

bool sameFile(const QString& a, const QString& b) {
    const QString first = QFileInfo(a).canonicalFilePath();
    return !first.isEmpty() && first == QFileInfo(b).canonicalFilePath();
}

} // namespace

ConversionRun::ConversionRun(RunContext& context, QObject* parent)
    : QObject(parent), m_context(context) {
    m_timer2.setInterval(TimerIntervalMs);
    connect(&m_timer2, &QTimer::timeout, this, &ConversionRun::Timer2_Timer);
}

ConversionRun::~ConversionRun() = default;

void ConversionRun::setRunning(bool running) {
    m_running = running;
    emit runningChanged(running);
}

void ConversionRun::requestCancel() {
    // Only a run in progress has anything to cancel.
    if (!m_running)
        return;
    CancelRequested = true;
    emit cancelRequested();
}

void ConversionRun::abandon() {
    if (!m_running)
        return;
    m_abandoned = true;
    emit cancelRequested();
}

void ConversionRun::BurnNow_Click() {
    if (m_running || m_context.jobCount() == 0)
        return;
    m_abandoned = false;
    if (PreviewProcessId != 0)
        SendPlayerKey(kQuitKey);
    setRunning(true);
    CancelRequested = false;
    emit panelVisibleChanged(true);
    TotalPercent = 0;
    emit busyChanged(true);

    // The settings are read once, before the first job.
    const Settings settings;
    const QString folder = settings.outputFolder();
    m_outputFolder = folder.isEmpty() ? programFolder() : folder;
    m_overwriteExistingFiles = settings.overwriteExistingFiles();
    // A stored count far outside any machine's is taken as the nearest one an int holds.
    m_threads = static_cast<int>(std::clamp(settings.threadCount(), -1024.0, 1024.0));

    const int rows = m_context.jobCount();
    for (int row = 0; row < rows; ++row) {
        if (convertJob(row) != JobEnd::Done) {
            setRunning(false);
            return;
        }
    }
    finishRun();
    setRunning(false);
}

ConversionRun::JobEnd ConversionRun::convertJob(int row) {
    emit trackProgressChanged(0);
    const QString input = m_context.jobPath(row);
    const QFileInfo inputInfo(input);
    // Only an ordinary, visible file is converted; anything else stops the run.
    if (!inputInfo.isFile() || inputInfo.isHidden()) {
        messages().error(QStringLiteral("Invalid input file name. ") + input);
        restoreWindow();
        return JobEnd::Stopped;
    }
    // A job that cannot be prepared or started fails, and the run goes on with the next one.
    const auto fail = [&](const QString& why) {
        m_context.setJobStatus(row, Fail, why);
        return JobEnd::Done;
    };

    const QString extension = Catalogue::outputExtension(m_context.selectedCaption());
    if (extension.isEmpty())
        return fail(QStringLiteral("The selected profile is a family heading; choose one of its "
                                   "profiles."));
    const auto values = m_context.optionValues();
    const auto options = values ? JobOptions::fromValues(*values) : std::nullopt;
    if (!options)
        return fail(QStringLiteral("\"Audio Bitrate\" and \"Audio Channel\" must be numbers."));

    const QString fileName = inputInfo.fileName();
    const qsizetype dot = fileName.indexOf(u'.');
    if (dot < 0)
        return fail(QStringLiteral("The input file name has no extension."));
    QString base = fileName.left(dot);
    QString output = joinPath(m_outputFolder, base + extension);
    if (!m_overwriteExistingFiles) {
        while (QFileInfo::exists(output)) {
            base += QStringLiteral("_New");
            output = joinPath(m_outputFolder, base + extension);
        }
    }
    if (sameFile(input, output))
        return fail(QStringLiteral("The output file would replace the input file."));

    const auto start = timeTextToSeconds(m_context.jobStart(row));
    const auto end = timeTextToSeconds(m_context.jobEnd(row));
    constexpr qint64 limit = std::numeric_limits<qint32>::max();
    if (!start || !end || *start > limit || *end > limit)
        return fail(QStringLiteral("The job's start or end is not a time."));
    JobStartSeconds = static_cast<qint32>(*start);
    JobDurationSeconds = static_cast<qint32>(*end - *start);

    EncoderJob job;
    job.profileIndex = Catalogue::profileIndex(m_context.selectedItemNumber());
    job.inputPath = input;
    job.startSeconds = JobStartSeconds;
    job.durationSeconds = JobDurationSeconds;
    job.outputPath = output;
    job.programFolder = programFolder();
    job.threads = m_threads;
    const auto command = BuildEncoderCommandLine(job, *options);
    if (!command)
        return fail(QStringLiteral("No profile is selected."));

    emit jobCaptionChanged(QStringLiteral("Progress....") + input + QStringLiteral(" To ") +
                           output);
    m_context.setJobStatus(row, Processing, QString());

    ToolProcess encoder;
    encoder.setWorkingDirectory(job.programFolder);
    const qint64 pid = encoder.start(command->program, command->arguments);
    if (pid == 0)
        return fail(QStringLiteral("The encoder could not be started: ") + encoder.errorText());
    EncoderProcessId = pid;
    ElapsedSeconds = 0;
    m_timer2.start();

    // The wait: woken by the encoder's end or by Cancel; timers and handlers run meanwhile.
    QEventLoop wait;
    connect(&encoder, &ToolProcess::finished, &wait, &QEventLoop::quit);
    connect(this, &ConversionRun::cancelRequested, &wait, &QEventLoop::quit);
    if (!encoder.hasEnded() && !CancelRequested && !m_abandoned)
        wait.exec();

    if (m_abandoned) {
        m_timer2.stop();
        m_context.setJobStatus(row, Cancel, QString());
        if (!encoder.hasEnded())
            SendEncoderKey(kQuitKey);
        return JobEnd::Cancelled;
    }

    if (CancelRequested) {
        cancelJob(row);
        return JobEnd::Cancelled;
    }
    m_timer2.stop();
    emit trackProgressChanged(100);
    if (encoder.exitCode() != 0 || encoder.crashed()) {
        m_context.setJobStatus(row, Fail, lastLines(encoder.errorTail()));
        return JobEnd::Done;
    }
    m_context.setJobStatus(row, Ok, QString());
    TotalPercent = static_cast<qint16>(roundHalfEven(TotalPercent + 100.0 / m_context.jobCount()));
    emit totalProgressChanged(TotalPercent);
    return JobEnd::Done;
}

void ConversionRun::cancelJob(int row) {
    m_context.setJobStatus(row, Cancel, QString());
    emit busyChanged(false);
    // The encoder is told to stop and left to finish its file; it is not waited for.
    SendEncoderKey(kQuitKey);
    messages().error(QStringLiteral("Conversion Canceled by the user!"));
    emit trackProgressChanged(0);
    emit totalProgressChanged(0);
    emit panelVisibleChanged(false);
    CancelRequested = false;
    m_timer2.stop();
    TotalPercent = 0;
}

void ConversionRun::restoreWindow() {
    m_timer2.stop();
    emit busyChanged(false);
    emit trackProgressChanged(0);
    emit totalProgressChanged(0);
    emit panelVisibleChanged(false);
    TotalPercent = 0;
}

void ConversionRun::finishRun() {
    m_timer2.stop();
    emit totalProgressChanged(100);
    emit busyChanged(false);
    if (Settings().shutDownAfterRun())
        desktop().powerOff();
    messages().information(QStringLiteral("Conversion completed!"));
    emit trackProgressChanged(0);
    emit totalProgressChanged(0);
    emit panelVisibleChanged(false);
    TotalPercent = 0;
    desktop().openFolder(m_outputFolder);
}

void ConversionRun::Timer2_Timer() {
    ++ElapsedSeconds;
    emit elapsedTextChanged(secondsToTimeText(ElapsedSeconds));
    const QString line = ReadLastLineOfFile(StatsFileName(programFolder()));
    // A zero duration leaves the bar as it is.
    if (const auto percent = trackPercent(encodedSecondsOfStatsLine(line), JobDurationSeconds))
        emit trackProgressChanged(*percent);
}

} // namespace vidora
