// What the conversion run costs beyond the encoder itself, and what one progress tick costs.
//
//   run_bench job PROGRAM_FOLDER CLIP OUTPUT_FOLDER ROUNDS
//     Converts CLIP with the "Apple iPad MPEG-4 Movie(*.mp4)" profile, once by starting the
//     encoder command directly and once through the conversion run, alternating for ROUNDS
//     rounds. Prints both wall times, their ratio (target <= 1.03) and the CPU time the program
//     itself spent during the run as a share of the run's wall time (target <= 1%).
//   run_bench tick PROGRAM_FOLDER TICKS
//     Times progress ticks against a 1 KB and a 200 MB statistics file, side by side, and
//     prints the ratio (target <= 2).

#include "engine/ConversionRun.h"
#include "engine/EncoderCommandLine.h"
#include "platform/Desktop.h"
#include "platform/Inifun.h"
#include "platform/Messages.h"
#include "platform/Paths.h"
#include "profiles/Catalogue.h"
#include "profiles/OptionSets.h"
#include "profiles/OptionSheet.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

using namespace vidora;

namespace {

constexpr int kProfile = 1; // "Apple iPad MPEG-4 Movie(*.mp4)"

class Quiet : public Messages, public Desktop {
public:
    void information(const QString&) override {}
    void error(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    void openFolder(const QString&) override {}
    void openUrl(const QString&) override {}
    void powerOff() override {}
};

class OneJob : public RunContext {
public:
    OneJob(QString clip, QString end) : m_clip(std::move(clip)), m_end(std::move(end)) {
        prolist(m_sheet);
        applyOptionSet(m_sheet, kProfile);
    }
    int jobCount() const override { return 1; }
    QString jobPath(int) const override { return m_clip; }
    QString jobStart(int) const override { return QStringLiteral("0:00:00"); }
    QString jobEnd(int) const override { return m_end; }
    QString jobVideoTime(int) const override { return m_end; }
    void setJobStatus(int, const QString& status, const QString&) override { m_status = status; }
    int selectedItemNumber() const override { return kProfile + 1; }
    QString selectedCaption() const override {
        return QString::fromLatin1(Catalogue::row(kProfile)->caption);
    }
    std::optional<OptionValues> optionValues() const override { return readOptionValues(m_sheet); }
    QString status() const { return m_status; }
    const OptionSheet& sheet() const { return m_sheet; }

private:
    QString m_clip;
    QString m_end;
    QString m_status;
    OptionSheet m_sheet;
};

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

int job(const QString& clip, const QString& outputFolder, int rounds) {
    const QString folder = AppFolder().chopped(1);
    WriteSetting(settingsFilePath(), QStringLiteral("set"), QStringLiteral("outputfolder"),
                 outputFolder);
    WriteSetting(settingsFilePath(), QStringLiteral("set"), QStringLiteral("existedfile"),
                 QStringLiteral("1"));
    QProcess probe;
    probe.start(QStringLiteral("ffprobe"),
                {QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-show_entries"),
                 QStringLiteral("format=duration"), QStringLiteral("-of"),
                 QStringLiteral("csv=p=0"), clip});
    probe.waitForFinished(-1);
    const int seconds = static_cast<int>(QString::fromUtf8(probe.readAll()).trimmed().toDouble());
    OneJob context(clip, QStringLiteral("0:%1:%2")
                             .arg(seconds / 60, 2, 10, QLatin1Char('0'))
                             .arg(seconds % 60, 2, 10, QLatin1Char('0')));
    ConversionRun run(context);

    EncoderJob direct;
    direct.profileIndex = kProfile;
    direct.inputPath = clip;
    direct.durationSeconds = seconds;
    direct.outputPath = QDir(outputFolder).filePath(QStringLiteral("direct.mp4"));
    direct.programFolder = folder;
    const auto command = BuildEncoderCommandLine(
        direct, *JobOptions::fromValues(*readOptionValues(context.sheet())));

    QList<double> directTimes;
    QList<double> runTimes;
    QList<double> cpuShares;
    for (int round = 0; round < rounds; ++round) {
        for (int side = 0; side < 2; ++side) {
            const bool directFirst = round % 2 == 0;
            QElapsedTimer wall;
            if ((side == 0) == directFirst) {
                wall.start();
                QProcess encoder;
                encoder.setStandardInputFile(QProcess::nullDevice());
                encoder.setStandardOutputFile(QProcess::nullDevice());
                encoder.setStandardErrorFile(QProcess::nullDevice());
                encoder.setWorkingDirectory(folder);
                encoder.start(command->program, command->arguments);
                encoder.waitForFinished(-1);
                directTimes << wall.nsecsElapsed() / 1e9;
            } else {
                const double cpu = cpuSeconds();
                wall.start();
                run.run();
                const double seconds = wall.nsecsElapsed() / 1e9;
                runTimes << seconds;
                cpuShares << (cpuSeconds() - cpu) / seconds;
                if (context.status() != ConversionRun::kOk)
                    std::fprintf(stderr, "the run's job ended %s\n", qPrintable(context.status()));
            }
        }
    }
    const auto median = [](QList<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    const double directMedian = median(directTimes);
    const double runMedian = median(runTimes);
    std::printf("clip: %d s; rounds: %d\n", seconds, rounds);
    std::printf("encoder started directly: median %.3f s\n", directMedian);
    std::printf("through the conversion run: median %.3f s\n", runMedian);
    std::printf("wall ratio run/direct: %.3f (target <= 1.03)\n", runMedian / directMedian);
    std::printf("program's own CPU during the run: %.3f%% of wall (target <= 1%%)\n",
                100 * median(cpuShares));
    return 0;
}

int tick(int ticks) {
    const QString stats = StatsFileName(AppFolder().chopped(1));
    const QByteArray line = "frame=  250 q= 2.0 f_size=  1234 s_size=   456kB time= 10.000 "
                            "br=  987.6kbits/s avg_br=  365.0kbits/s type= P\n";
    const auto fill = [&](qint64 bytes) {
        QFile file(stats);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        QByteArray block;
        while (block.size() < 1024 * 1024)
            block += line;
        for (qint64 written = 0; written + block.size() <= bytes; written += block.size())
            file.write(block);
        while (file.size() < bytes)
            file.write(line);
    };
    OneJob context(QString(), QStringLiteral("0:01:35"));
    ConversionRun run(context);
    run.JobDurationSeconds = 95;
    const auto time = [&] {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < ticks; ++i)
            run.onProgressTick();
        return timer.nsecsElapsed() / 1e3 / ticks;
    };
    double small = 0;
    double large = 0;
    for (int round = 0; round < 3; ++round) {
        fill(1024);
        small += time();
        fill(200LL * 1024 * 1024);
        large += time();
    }
    QFile::remove(stats);
    std::printf("tick with a 1 KB statistics file: %.1f us\n", small / 3);
    std::printf("tick with a 200 MB statistics file: %.1f us\n", large / 3);
    std::printf("ratio 200 MB / 1 KB: %.2f (target <= 2)\n", large / small);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    Quiet quiet;
    setMessagesForTesting(&quiet);
    setDesktopForTesting(&quiet);
    if (args.size() >= 3)
        setAppFolderForTesting(args[2]);
    if (args.value(1) == u"job" && args.size() == 6)
        return job(args[3], args[4], args[5].toInt());
    if (args.value(1) == u"tick" && args.size() == 4)
        return tick(args[3].toInt());
    std::fprintf(stderr, "usage: run_bench job PROGRAM_FOLDER CLIP OUTPUT_FOLDER ROUNDS\n"
                         "       run_bench tick PROGRAM_FOLDER TICKS\n");
    return 2;
}
