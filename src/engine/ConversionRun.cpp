#include "engine/ConversionRun.h"

#include "base/TextValues.h"
#include "engine/ConversionProgress.h"
#include "engine/OutputPath.h"
#include "engine/RunReport.h"
#include "platform/Desktop.h"
#include "platform/Messages.h"
#include "platform/Paths.h"
#include "platform/Settings.h"
#include "platform/ToolProcesses.h"
#include "profiles/Catalogue.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <limits>

namespace vidora {

const QString ConversionRun::kProcessing = QStringLiteral("Processing");
const QString ConversionRun::kOk = QStringLiteral("OK");
const QString ConversionRun::kFail = QStringLiteral("Fail");
const QString ConversionRun::kCancel = QStringLiteral("Cancel");

namespace {

// A folder as the command line names it: without its trailing "/", but for "/".
QString commandLineFolder(QString folder) {
    if (folder.size() > 1)
        folder.chop(1);
    return folder;
}

QString programFolder() {
    return commandLineFolder(AppFolder());
}

// Where the statistics file goes: the program folder unless it is read-only.
QString statsFolder() {
    return commandLineFolder(AppDataFolder());
}

// A job's clip length in seconds, or 0 when its times are not times.
double clipSeconds(const RunContext& context, int row) {
    const auto start = timeTextToSeconds(context.jobStart(row));
    const auto end = timeTextToSeconds(context.jobEnd(row));
    return start && end && *end > *start ? static_cast<double>(*end - *start) : 0;
}

// The statistics file starts empty for every job, so the bar never shows an earlier job's
// last line.
void clearStatistics(const QString& path) {
    if (!QFile::remove(path) && QFile::exists(path)) {
        QFile file(path);
        // Failing here only means the first tick may read an old line.
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.close();
    }
}

// The encoder writes under a temporary name and removes that file when its job does not
// succeed; an encoder killed before it could (or that the program's end kills) leaves it. Removing
// it while the encoder is still closing the file is harmless: the encoder writes on into a file
// without a name.
void removeUnfinishedOutput(const QString& output) {
    QFile::remove(temporaryOutputPath(output));
}

} // namespace

ConversionRun::ConversionRun(RunContext& context, QObject* parent)
    : QObject(parent), m_context(context) {
    m_progressTimer.setInterval(kProgressIntervalMs);
    connect(&m_progressTimer, &QTimer::timeout, this, &ConversionRun::onProgressTick);
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

void ConversionRun::run() {
    if (m_running || m_context.jobCount() == 0)
        return;
    m_abandoned = false;
    if (PreviewProcessId != 0)
        SendPlayerKey(kQuitKey);
    setRunning(true);
    CancelRequested = false;
    m_converted = m_failed = m_cancelled = 0;
    // Statuses and reasons of an earlier run would read as this run's.
    for (int row = 0; row < m_context.jobCount(); ++row)
        m_context.setJobStatus(row, QString(), QString());
    emit panelVisibleChanged(true);
    TotalPercent = 0;
    emit busyChanged(true);

    // The settings are read once, before the first job.
    const Settings settings;
    m_outputFolder = settings.outputFolderOrVideos();
    // The list is locked while the run goes on: its files and clip lengths are known now.
    m_listedFiles.clear();
    m_laterJobsSeconds = 0;
    for (int row = 0; row < m_context.jobCount(); ++row) {
        if (const auto identity = fileIdentity(m_context.jobPath(row)))
            m_listedFiles.append({*identity, m_context.jobPath(row)});
        m_laterJobsSeconds += clipSeconds(m_context, row);
    }
    m_overwriteExistingFiles = settings.overwriteExistingFiles();
    // The count goes to the encoder as stored; one far outside any machine's is taken as the
    // nearest sensible one.
    m_threads = std::clamp(settings.threadCount(), -1024.0, 1024.0);

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
    // From here on this job's clip is the current one, no longer a later one.
    m_laterJobsSeconds -= clipSeconds(m_context, row);
    emit trackProgressChanged(0);
    emit timeLeftTextChanged(QString());
    const QString input = m_context.jobPath(row);
    const QFileInfo inputInfo(input);
    // Only an ordinary, visible file is converted; anything else stops the run.
    if (!inputInfo.isFile() || inputInfo.isHidden()) {
        messages().error(QStringLiteral("Invalid input file name. ") + input);
        emit busyChanged(false);
        resetProgress();
        return JobEnd::Stopped;
    }
    const PreparedJob job = prepareJob(row, input);
    // A job that cannot be prepared fails, and the run goes on with the next one.
    if (!job.failure.isEmpty()) {
        failJob(row, job.failure);
        return JobEnd::Done;
    }
    return waitForEncoder(row, job);
}

void ConversionRun::failJob(int row, const QString& why) {
    ++m_failed;
    m_context.setJobStatus(row, kFail, why);
}

ConversionRun::PreparedJob ConversionRun::prepareJob(int row, const QString& input) {
    PreparedJob job;
    const auto failure = [&job](const QString& why) {
        job.failure = why;
        return job;
    };
    const QString extension = Catalogue::outputExtension(m_context.selectedCaption());
    if (extension.isEmpty())
        return failure(QStringLiteral("The selected profile is a family heading; choose one of "
                                      "its profiles."));
    const auto values = m_context.optionValues();
    const auto options = values ? JobOptions::fromValues(*values) : std::nullopt;
    if (!options)
        return failure(QStringLiteral("\"Audio Bitrate\" and \"Audio Channel\" must be numbers."));

    const auto output = outputPathFor(input, m_outputFolder, extension, m_overwriteExistingFiles,
                                      directoryEntryExists);
    if (!output)
        return failure(QStringLiteral("The input file name has no extension."));
    if (const QString why = outputFailure(*output); !why.isEmpty())
        return failure(why);

    const QString startText = m_context.jobStart(row);
    const QString endText = m_context.jobEnd(row);
    const QString lengthText = m_context.jobVideoTime(row);
    // The probe found no length: nothing in the file it could play.
    if (endText.trimmed().isEmpty() && lengthText.trimmed().isEmpty())
        return failure(QString::fromUtf16(FailureReason::NoMedia));
    const auto start = timeTextToSeconds(startText);
    const auto end = timeTextToSeconds(endText);
    constexpr qint64 limit = std::numeric_limits<qint32>::max() - 1;
    if (!start || !end || *start > limit || *end > limit)
        return failure(QStringLiteral("The job's start or end is not a time."));
    JobStartSeconds = static_cast<qint32>(*start);
    JobDurationSeconds = static_cast<qint32>(*end - *start);
    // The list's times are whole seconds, the file's length is not (3.448 s reads 0:00:03, a
    // clip under half a second 0:00:00): a job that ends at the file's end is given one second
    // more, so the encoder goes on to the file's true end.
    const auto length = timeTextToSeconds(lengthText);
    const bool toTheEnd = length && *end >= *length;

    EncoderJob encoderJob;
    encoderJob.profileIndex = Catalogue::profileIndex(m_context.selectedItemNumber());
    encoderJob.inputPath = input;
    encoderJob.startSeconds = JobStartSeconds;
    encoderJob.durationSeconds = JobDurationSeconds + (toTheEnd ? 1 : 0);
    encoderJob.outputPath = *output;
    encoderJob.programFolder = programFolder();
    encoderJob.statsFolder = statsFolder();
    encoderJob.threads = m_threads;
    const auto command = BuildEncoderCommandLine(encoderJob, *options);
    if (!command)
        return failure(QStringLiteral("No profile is selected."));
    job.command = *command;
    job.output = *output;
    job.caption = QStringLiteral("Progress....") + input + QStringLiteral(" To ") + *output;

    return job;
}

QString ConversionRun::outputFailure(const QString& output) const {
    const QString folder = QFileInfo(output).absolutePath();
    if (!QFileInfo(folder).isDir() || !canWrite(folder))
        return QString::fromUtf16(FailureReason::FolderNotWritable) + u": " + folder;
    // No file of the list is ever replaced, whichever job it belongs to and however it is
    // spelled (a link, "..", another folder's name for it).
    const auto identity = fileIdentity(output);
    if (!identity)
        return {};
    for (const auto& [listedIdentity, listed] : m_listedFiles) {
        if (listedIdentity == *identity)
            return QStringLiteral("The output would replace %1, a file of the job list.")
                .arg(listed);
    }
    return {};
}

ConversionRun::JobEnd ConversionRun::waitForEncoder(int row, const PreparedJob& job) {
    emit jobCaptionChanged(job.caption);
    m_context.setJobStatus(row, kProcessing, QString());

    const QString folder = statsFolder();
    clearStatistics(StatsFileName(folder));
    ToolProcess encoder;
    encoder.setWorkingDirectory(folder);
    const qint64 pid = encoder.start(job.command.program, job.command.arguments);
    if (pid == 0) {
        failJob(row, QStringLiteral("The encoder could not be started: ") + encoder.errorText());
        return JobEnd::Done;
    }
    EncoderProcessId = pid;
    ElapsedSeconds = 0;
    m_progressTimer.start();

    // The wait: woken by the encoder's end or by Cancel; timers and handlers run meanwhile.
    QEventLoop wait;
    connect(&encoder, &ToolProcess::finished, &wait, &QEventLoop::quit);
    connect(this, &ConversionRun::cancelRequested, &wait, &QEventLoop::quit);
    if (!encoder.hasEnded() && !CancelRequested && !m_abandoned)
        wait.exec();

    if (m_abandoned) {
        m_progressTimer.stop();
        m_context.setJobStatus(row, kCancel, QString());
        if (!encoder.hasEnded())
            SendEncoderKey(kQuitKey);
        removeUnfinishedOutput(job.output);
        return JobEnd::Cancelled;
    }
    if (CancelRequested) {
        removeUnfinishedOutput(job.output);
        cancelJob(row);
        return JobEnd::Cancelled;
    }
    m_progressTimer.stop();
    emit trackProgressChanged(100);
    emit timeLeftTextChanged(QString());
    if (encoder.exitCode() != 0 || encoder.crashed()) {
        removeUnfinishedOutput(job.output);
        failJob(row,
                encoderFailureText(encoder.exitCode(), encoder.crashed(), encoder.errorTail()));
        return JobEnd::Done;
    }
    ++m_converted;
    m_context.setJobStatus(row, kOk, QString());
    TotalPercent = static_cast<qint16>(totalPercent(m_converted, m_context.jobCount()));
    emit totalProgressChanged(TotalPercent);
    return JobEnd::Done;
}

void ConversionRun::resetProgress() {
    m_progressTimer.stop();
    emit trackProgressChanged(0);
    emit totalProgressChanged(0);
    emit timeLeftTextChanged(QString());
    emit panelVisibleChanged(false);
    TotalPercent = 0;
}

void ConversionRun::cancelJob(int row) {
    ++m_cancelled;
    m_context.setJobStatus(row, kCancel, QString());
    emit busyChanged(false);
    // The encoder is told to stop and left to finish its file; it is not waited for.
    SendEncoderKey(kQuitKey);
    const QString text = runEndText(QStringLiteral("Conversion Canceled by the user!"), m_converted,
                                    m_failed, m_cancelled);
    emit runEnded(text);
    messages().error(text);
    resetProgress();
    CancelRequested = false;
}

void ConversionRun::finishRun() {
    m_progressTimer.stop();
    emit totalProgressChanged(100);
    emit busyChanged(false);
    if (Settings().shutDownAfterRun())
        desktop().powerOff();
    const QString text =
        runEndText(QStringLiteral("Conversion completed!"), m_converted, m_failed, m_cancelled);
    emit runEnded(text);
    messages().information(text);
    resetProgress();
    desktop().openFolder(m_outputFolder);
}

void ConversionRun::onProgressTick() {
    ++ElapsedSeconds;
    emit elapsedTextChanged(secondsToTimeText(ElapsedSeconds));
    const QString line = ReadLastLineOfFile(StatsFileName(statsFolder()));
    const double encoded = encodedSecondsOfStatsLine(line);
    // A zero duration leaves the bar as it is.
    if (const auto percent = trackPercent(encoded, JobDurationSeconds))
        emit trackProgressChanged(*percent);
    const double clip = JobDurationSeconds;
    const auto jobLeft = secondsLeft(encoded, ElapsedSeconds, clip, clip - encoded);
    const auto runLeft =
        secondsLeft(encoded, ElapsedSeconds, clip, clip - encoded + m_laterJobsSeconds);
    emit timeLeftTextChanged(timeLeftText(jobLeft, runLeft));
}

} // namespace vidora
