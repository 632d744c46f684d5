// The conversion run against a fake encoder script standing where fp.dll stands (fake_fp.sh):
// it records its arguments, writes a statistics line, and ends as the input's name asks.

#include "engine/ConversionRun.h"
#include "platform/Inifun.h"
#include "platform/Paths.h"
#include "profiles/Catalogue.h"
#include "profiles/OptionSets.h"
#include "profiles/OptionSheet.h"
#include "support/PersonFolders.h"
#include "support/ProgramFolder.h"
#include "support/QtPrinters.h"
#include "support/Recorders.h"
#include "support/Scripts.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

using namespace vidora;

namespace {

const QString kFakeEncoder = QStringLiteral(VIDORA_SOURCE_DIR "/tests/engine/fake_fp.sh");

struct Job {
    explicit Job(QString file, QString from = QStringLiteral("0:00:00"),
                 QString to = QStringLiteral("0:00:03"))
        : path(std::move(file)), start(std::move(from)), end(std::move(to)) {}
    QString path;
    QString start;
    QString end;
    QString length; // the file's full length; empty: the probe found none
    QString status;
    QString detail;
};

class FakeContext : public RunContext {
public:
    FakeContext() { prolist(sheet); }
    int jobCount() const override { return static_cast<int>(jobs.size()); }
    QString jobPath(int row) const override { return jobs[row].path; }
    QString jobStart(int row) const override { return jobs[row].start; }
    QString jobEnd(int row) const override { return jobs[row].end; }
    QString jobVideoTime(int row) const override { return jobs[row].length; }
    void setJobStatus(int row, const QString& status, const QString& detail) override {
        jobs[row].status = status;
        jobs[row].detail = detail;
        // The run's first step clears every row; the log keeps what comes after.
        if (!status.isEmpty())
            statusLog << QStringLiteral("%1:%2").arg(row).arg(status);
    }
    int selectedItemNumber() const override { return itemNumber; }
    QString selectedCaption() const override {
        return itemNumber ? QString::fromLatin1(Catalogue::row(itemNumber - 1)->caption)
                          : QString();
    }
    std::optional<OptionValues> optionValues() const override { return readOptionValues(sheet); }
    void choose(int profileIndex) {
        itemNumber = profileIndex + 1;
        applyOptionSet(sheet, profileIndex);
    }

    std::vector<Job> jobs;
    int itemNumber = 0;
    OptionSheet sheet;
    QStringList statusLog;
};

class Run : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_program.isValid() && m_inputs.isValid() && m_outputs.isValid());
        m_programFolder.emplace(m_program.path());
        ASSERT_TRUE(
            test::copyExecutable(kFakeEncoder, m_program.filePath(QStringLiteral("fp.dll"))));
        setting(QStringLiteral("outputfolder"), m_outputs.path());
        context.choose(1); // "Apple iPad MPEG-4 Movie(*.mp4)"
        connect();
    }

    void connect() {
        QObject::connect(&run, &ConversionRun::totalProgressChanged,
                         [this](int percent) { totals << percent; });
        QObject::connect(&run, &ConversionRun::trackProgressChanged,
                         [this](int percent) { tracks << percent; });
        QObject::connect(&run, &ConversionRun::panelVisibleChanged,
                         [this](bool visible) { panel << visible; });
    }
    void setting(const QString& key, const QString& value) {
        WriteSetting(settingsFilePath(), QStringLiteral("set"), key, value);
    }
    QString input(const QString& name) {
        const QString path = m_inputs.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("clip");
        return path;
    }
    void addJobs(const QStringList& names) {
        for (const QString& name : names)
            context.jobs.emplace_back(input(name));
    }
    QString output(const QString& name) const { return m_outputs.filePath(name); }
    QStringList argumentsOf(const QString& inputName) const {
        QFile file(m_program.filePath(u"args." + inputName));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
    QStringList statuses() const {
        QStringList all;
        for (const Job& job : context.jobs)
            all << job.status;
        return all;
    }

    QTemporaryDir m_program;
    std::optional<test::ProgramFolder> m_programFolder;
    QTemporaryDir m_inputs;
    QTemporaryDir m_outputs;
    FakeContext context;
    ConversionRun run{context};
    test::MessageRecorder messages;
    test::DesktopRecorder desktop;
    QList<int> totals;
    QList<int> tracks;
    QList<bool> panel;
};

} // namespace

TEST_F(Run, EmptyListDoesNothing) {
    run.run();
    EXPECT_TRUE(panel.isEmpty());
    EXPECT_TRUE(messages.shown.isEmpty());
    EXPECT_TRUE(desktop.requests.isEmpty());
}

TEST_F(Run, ThreeJobsSucceedWithTheirBarSequence) {
    addJobs({QStringLiteral("a.avi"), QStringLiteral("b.avi"), QStringLiteral("c.avi")});
    run.run();
    EXPECT_EQ(statuses(), (QStringList{"OK", "OK", "OK"}));
    EXPECT_EQ(context.statusLog, (QStringList{"0:Processing", "0:OK", "1:Processing", "1:OK",
                                              "2:Processing", "2:OK"}));
    EXPECT_EQ(totals, (QList<int>{33, 67, 100, 100, 0}));
    EXPECT_EQ(tracks.mid(0, 2), (QList<int>{0, 100}));
    EXPECT_EQ(panel, (QList<bool>{true, false}));
    EXPECT_EQ(messages.shown, QStringList{"information: Conversion completed!"});
    EXPECT_EQ(desktop.requests, QStringList{u"folder: " + m_outputs.path()});
    for (const char* name : {"a.mp4", "b.mp4", "c.mp4"})
        EXPECT_TRUE(QFile::exists(output(QString::fromLatin1(name)))) << name;
    EXPECT_FALSE(run.isRunning());
    EXPECT_FALSE(run.isProgressTimerActive());
}

TEST_F(Run, TotalBarIsTheShareOfJobsDoneRoundedOnce) {
    QStringList six;
    for (int i = 0; i < 6; ++i)
        six << QStringLiteral("s%1.avi").arg(i);
    addJobs(six);
    run.run();
    // Adding a rounded share per job gave 17, 34, 51, 68, 85, 102.
    EXPECT_EQ(totals, (QList<int>{17, 33, 50, 67, 83, 100, 100, 0}));

    context.jobs.clear();
    totals.clear();
    QStringList eight;
    for (int i = 0; i < 8; ++i)
        eight << QStringLiteral("e%1.avi").arg(i);
    addJobs(eight);
    run.run();
    // Halves go to the even number.
    EXPECT_EQ(totals, (QList<int>{12, 25, 38, 50, 62, 75, 88, 100, 100, 0}));
}

TEST_F(Run, NamesOutputsAfterTheInputAndKeepsExistingFiles) {
    addJobs({QStringLiteral("my.clip.avi")});
    for (const char* existing : {"my.mp4", "my_New.mp4"}) {
        QFile file(output(QString::fromLatin1(existing)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("keep me");
    }
    run.run();
    EXPECT_TRUE(QFile::exists(output(QStringLiteral("my_New_New.mp4"))));
    QFile kept(output(QStringLiteral("my.mp4")));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("keep me"));

    setting(QStringLiteral("existedfile"), QStringLiteral("1"));
    run.run();
    EXPECT_TRUE(
        argumentsOf(QStringLiteral("my.clip.avi")).contains(output(QStringLiteral("my.mp4"))));
}

TEST_F(Run, ALongOutputFolderIsUsedWhole) {
    // A sibling whose name is a prefix of the long one must stay empty.
    const QString prefix = m_outputs.filePath(QString(120, u'f'));
    const QString folder = prefix + QStringLiteral(" and the rest of a long name");
    ASSERT_GT(folder.size(), 140);
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QDir().mkpath(prefix.left(127)));
    setting(QStringLiteral("outputfolder"), folder);
    addJobs({QStringLiteral("a.avi")});
    run.run();
    EXPECT_EQ(statuses(), QStringList{QStringLiteral("OK")});
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/a.mp4")));
    EXPECT_TRUE(QDir(prefix.left(127)).isEmpty());
}

TEST_F(Run, ReadsThreadsAndUsesTheVideosFolderWithoutAnOutputFolder) {
    const test::PersonFolders person;
    setting(QStringLiteral("outputfolder"), QStringLiteral("   "));
    setting(QStringLiteral("thread"), QStringLiteral("2.5 threads"));
    addJobs({QStringLiteral("a.avi")});
    run.run();
    EXPECT_TRUE(QFile::exists(QDir(person.videos()).filePath(QStringLiteral("a.mp4"))));
    EXPECT_FALSE(QFile::exists(m_program.filePath(QStringLiteral("a.mp4"))));
    EXPECT_EQ(desktop.requests, QStringList{u"folder: " + person.videos()});
    const QStringList arguments = argumentsOf(QStringLiteral("a.avi"));
    const qsizetype threads = arguments.indexOf(QStringLiteral("-threads"));
    ASSERT_GE(threads, 0);
    // The count as stored: the encoder, not the run, makes a whole count of it.
    EXPECT_EQ(arguments.value(threads + 1), QStringLiteral("2.5"));
}

TEST_F(Run, AReadOnlyProgramFolderGetsNoStatisticsFile) {
    const test::PersonFolders person;
    m_programFolder.reset();
    m_programFolder.emplace(m_program.path(), test::ProgramFolder::Access::ReadOnly);
    setting(QStringLiteral("outputfolder"), m_outputs.path());
    addJobs({QStringLiteral("a.avi")});
    run.run();
    EXPECT_EQ(statuses(), QStringList{"OK"});
    const QStringList arguments = argumentsOf(QStringLiteral("a.avi"));
    EXPECT_EQ(arguments.last(), person.programData() + QStringLiteral("/curconvert.log"));
    EXPECT_FALSE(QFile::exists(m_program.filePath(QStringLiteral("curconvert.log"))));
}

TEST_F(Run, HeaderRowFailsEveryJobAndStillCompletes) {
    context.choose(0); // "Apple iPad", a family heading
    addJobs({QStringLiteral("a.avi"), QStringLiteral("b.avi")});
    run.run();
    EXPECT_EQ(statuses(), (QStringList{"Fail", "Fail"}));
    EXPECT_FALSE(context.jobs[0].detail.isEmpty());
    EXPECT_EQ(totals, (QList<int>{100, 0}));
    EXPECT_EQ(messages.shown, QStringList{"information: Conversion completed!\n0 converted, 2 "
                                          "failed, 0 cancelled. Point at a \"Fail\" status to "
                                          "see why."});
}

TEST_F(Run, MissingInputStopsTheRunAndRestoresTheWindow) {
    addJobs({QStringLiteral("a.avi")});
    context.jobs.emplace_back(m_inputs.filePath(QStringLiteral("gone.avi")));
    addJobs({QStringLiteral("c.avi")});
    run.run();
    EXPECT_EQ(statuses(), (QStringList{"OK", "", ""}));
    EXPECT_EQ(messages.shown, QStringList{u"error: Invalid input file name. " +
                                          m_inputs.filePath(QStringLiteral("gone.avi"))});
    EXPECT_EQ(panel, (QList<bool>{true, false}));
    EXPECT_EQ(totals.last(), 0);
    EXPECT_TRUE(desktop.requests.isEmpty());
    EXPECT_FALSE(run.isRunning());
}

TEST_F(Run, HiddenFilesAndFoldersAreNotInputs) {
    addJobs({QStringLiteral(".hidden.avi")});
    run.run();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].startsWith(u"error: Invalid input file name. "));
    messages.shown.clear();
    context.jobs = {Job(m_inputs.path())};
    run.run();
    EXPECT_EQ(messages.shown, QStringList{u"error: Invalid input file name. " + m_inputs.path()});
}

TEST_F(Run, EncoderErrorFailsTheJobAndShowsWhy) {
    addJobs({QStringLiteral("a.avi"), QStringLiteral("fail.avi")});
    run.run();
    EXPECT_EQ(statuses(), (QStringList{"OK", "Fail"}));
    // The reason, then the encoder's own last word: not its banner, not "Conversion failed!".
    EXPECT_EQ(context.jobs[1].detail,
              QStringLiteral("The encoder failed (exit code 1)\nUnknown encoder 'nothing'"));
    EXPECT_EQ(totals, (QList<int>{50, 100, 0})); // the failed job adds nothing
    EXPECT_EQ(messages.shown, QStringList{"information: Conversion completed!\n1 converted, 1 "
                                          "failed, 0 cancelled. Point at a \"Fail\" status to "
                                          "see why."});
}

TEST_F(Run, UnusableOptionValuesFailTheJob) {
    OptionItem* bitrate =
        context.sheet.itemAt(QStringLiteral("Audio Options"), QStringLiteral("Audio Bitrate"));
    context.sheet.SetValue(bitrate, QStringLiteral("lots"));
    addJobs({QStringLiteral("a.avi")});
    context.jobs.emplace_back(input(QStringLiteral("b.avi")), QStringLiteral("0:00:00"),
                              QStringLiteral("soon"));
    run.run();
    EXPECT_EQ(statuses(), (QStringList{"Fail", "Fail"}));
    context.sheet.SetValue(bitrate, QStringLiteral("128"));
    context.jobs = {Job(input(QStringLiteral("noextension"))),
                    Job(input(QStringLiteral("far.avi")), QStringLiteral("0:00:00"),
                        QStringLiteral("999999999:00:00"))};
    run.run();
    EXPECT_EQ(statuses(), (QStringList{"Fail", "Fail"}));
}

TEST_F(Run, NeverWritesOntoItsInput) {
    setting(QStringLiteral("existedfile"), QStringLiteral("1"));
    setting(QStringLiteral("outputfolder"), m_inputs.path() + QStringLiteral("/./"));
    addJobs({QStringLiteral("clip.mp4")});
    run.run();
    EXPECT_EQ(statuses(), QStringList{"Fail"});
    QFile original(m_inputs.filePath(QStringLiteral("clip.mp4")));
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    EXPECT_EQ(original.readAll(), QByteArray("clip"));
    EXPECT_TRUE(argumentsOf(QStringLiteral("clip.mp4")).isEmpty()) << "the encoder never started";
}

TEST_F(Run, TrimmedTimesGiveStartAndDuration) {
    addJobs({QStringLiteral("a.avi")});
    context.jobs[0].start = QStringLiteral("0:01:30");
    context.jobs[0].end = QStringLiteral("0:03:00");
    run.run();
    EXPECT_EQ(run.JobStartSeconds, 90);
    EXPECT_EQ(run.JobDurationSeconds, 90);
    const QStringList arguments = argumentsOf(QStringLiteral("a.avi"));
    EXPECT_EQ(arguments.value(arguments.indexOf(QStringLiteral("-ss")) + 1), QStringLiteral("90"));
    EXPECT_EQ(arguments.value(arguments.indexOf(QStringLiteral("-t")) + 1), QStringLiteral("90"));
}

TEST_F(Run, CancelDuringTheSecondJobStopsItsEncoderByItsKey) {
    addJobs({QStringLiteral("a.avi"), QStringLiteral("wait.avi"), QStringLiteral("c.avi")});
    QObject::connect(&run, &ConversionRun::jobCaptionChanged, [this](const QString& caption) {
        if (caption.contains(u"wait.avi"))
            QTimer::singleShot(300, &run, [this] { run.requestCancel(); });
    });
    // A second start while the run waits is ignored.
    QTimer::singleShot(150, &run, [this] { run.run(); });
    run.run();
    EXPECT_EQ(statuses(), (QStringList{"OK", "Cancel", ""}));
    EXPECT_EQ(messages.shown, QStringList{"error: Conversion Canceled by the user!\n1 converted, "
                                          "0 failed, 1 cancelled."});
    EXPECT_EQ(totals.last(), 0);
    EXPECT_EQ(tracks.last(), 0);
    EXPECT_EQ(panel, (QList<bool>{true, false}));
    EXPECT_TRUE(desktop.requests.isEmpty());
    EXPECT_FALSE(run.CancelRequested);
    EXPECT_FALSE(run.isProgressTimerActive());
    // The encoder got "q" and ended by itself.
    QElapsedTimer clock;
    clock.start();
    const QString stopped = m_program.filePath(QStringLiteral("stopped.wait.avi"));
    while (!QFile::exists(stopped) && clock.elapsed() < 3000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    EXPECT_TRUE(QFile::exists(stopped));
}

TEST_F(Run, AutomaticShutDownOnlyForOne) {
    addJobs({QStringLiteral("a.avi")});
    setting(QStringLiteral("autoshut"), QStringLiteral("yes"));
    run.run();
    EXPECT_FALSE(desktop.requests.contains(QStringLiteral("power off")));
    setting(QStringLiteral("autoshut"), QStringLiteral("1"));
    desktop.requests.clear();
    run.run();
    EXPECT_EQ(desktop.requests.value(0), QStringLiteral("power off"));
}

TEST_F(Run, ProgressTickReadsTheStatisticsFile) {
    QList<QString> labels;
    QObject::connect(&run, &ConversionRun::elapsedTextChanged,
                     [&labels](const QString& text) { labels << text; });
    QFile stats(m_program.filePath(QStringLiteral("curconvert.log")));
    ASSERT_TRUE(stats.open(QIODevice::WriteOnly));
    stats.write("frame=  250 q= 2.0 f_size=  1234 s_size=   456kB time= 10.000 br=  987.6kbits/s "
                "avg_br=  365.0kbits/s type= P\r\n");
    stats.close();
    run.JobDurationSeconds = 95;
    run.ElapsedSeconds = 4;
    run.onProgressTick();
    EXPECT_EQ(labels, QList<QString>{"0:00:05"});
    EXPECT_EQ(tracks, QList<int>{11});
    // A zero duration leaves the bar; the label keeps counting past 32,767 seconds.
    run.JobDurationSeconds = 0;
    run.ElapsedSeconds = 32767;
    run.onProgressTick();
    EXPECT_EQ(labels.last(), QStringLiteral("9:06:08"));
    EXPECT_EQ(tracks, QList<int>{11});
}

TEST_F(Run, NoOutputReplacesAFileOfTheJobList) {
    // The output is named after the input's name up to its first ".": clip.v2.avi gives
    // clip.avi, another input of the list. Both orders, and the job's own input.
    setting(QStringLiteral("existedfile"), QStringLiteral("1"));
    setting(QStringLiteral("outputfolder"), m_inputs.path());
    context.choose(91); // "Customized AVI Movie(*.avi)"
    for (const bool reversed : {false, true}) {
        context.jobs.clear();
        addJobs({QStringLiteral("clip.avi"), QStringLiteral("clip.v2.avi")});
        if (reversed)
            std::swap(context.jobs[0], context.jobs[1]);
        run.run();
        EXPECT_EQ(statuses(), (QStringList{"Fail", "Fail"})) << reversed;
        EXPECT_TRUE(context.jobs[0].detail.contains(u"a file of the job list")) << reversed;
        EXPECT_FALSE(context.jobs[0].detail.contains(u'\n')) << "one line";
        QFile kept(m_inputs.filePath(QStringLiteral("clip.avi")));
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), QByteArray("clip")) << reversed;
        EXPECT_TRUE(argumentsOf(QStringLiteral("clip.v2.avi")).isEmpty()) << reversed;
    }

    // Across folders: in2/clip.avi converts into in/, where in/clip.mp4 is listed.
    context.choose(1);
    QDir(m_inputs.path()).mkpath(QStringLiteral("in"));
    QDir(m_inputs.path()).mkpath(QStringLiteral("in2"));
    setting(QStringLiteral("outputfolder"), m_inputs.filePath(QStringLiteral("in")));
    for (const bool reversed : {false, true}) {
        context.jobs.clear();
        context.jobs.emplace_back(input(QStringLiteral("in2/clip.avi")));
        context.jobs.emplace_back(input(QStringLiteral("in/clip.mp4")));
        if (reversed)
            std::swap(context.jobs[0], context.jobs[1]);
        run.run();
        EXPECT_EQ(statuses(), (QStringList{"Fail", "Fail"})) << reversed;
        QFile kept(m_inputs.filePath(QStringLiteral("in/clip.mp4")));
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), QByteArray("clip")) << reversed;
    }

    // Under the "_New" policy the listed file keeps its name and the output gets a new one.
    setting(QStringLiteral("existedfile"), QStringLiteral("0"));
    run.run();
    EXPECT_EQ(statuses(), (QStringList{"OK", "OK"}));
    EXPECT_TRUE(QFile::exists(m_inputs.filePath(QStringLiteral("in/clip_New.mp4"))));
}

TEST_F(Run, ADanglingLinkCountsAsAnExistingName) {
    addJobs({QStringLiteral("my.avi")});
    const QString target = m_inputs.filePath(QStringLiteral("elsewhere.mp4"));
    ASSERT_TRUE(QFile::link(target, output(QStringLiteral("my.mp4"))));
    run.run();
    EXPECT_EQ(statuses(), QStringList{"OK"});
    EXPECT_TRUE(QFile::exists(output(QStringLiteral("my_New.mp4"))));
    EXPECT_FALSE(QFile::exists(target)) << "nothing is written through the link";
}

TEST_F(Run, AJobToTheFileEndConvertsAllOfIt) {
    // The list's times are whole seconds: a 3.448 s file reads 0:00:03, a 0.4 s one 0:00:00.
    addJobs(
        {QStringLiteral("whole.avi"), QStringLiteral("short.avi"), QStringLiteral("trimmed.avi")});
    context.jobs[0].length = QStringLiteral("0:00:03");
    context.jobs[1].end = context.jobs[1].length = QStringLiteral("0:00:00");
    context.jobs[2].length = QStringLiteral("0:00:09");
    run.run();
    EXPECT_EQ(statuses(), (QStringList{"OK", "OK", "OK"}));
    const auto durationOf = [this](const char* name) {
        const QStringList arguments = argumentsOf(QString::fromLatin1(name));
        return arguments.value(arguments.indexOf(QStringLiteral("-t")) + 1);
    };
    EXPECT_EQ(durationOf("whole.avi"), QStringLiteral("4"));
    EXPECT_EQ(durationOf("short.avi"), QStringLiteral("1")) << "never -t 0";
    EXPECT_EQ(durationOf("trimmed.avi"), QStringLiteral("3")) << "a trimmed end stays as set";
}

TEST_F(Run, EveryJobStartsWithAnEmptyStatisticsFile) {
    // The second job writes no statistics: its bar must not show the first job's last line.
    addJobs({QStringLiteral("a.avi"), QStringLiteral("quietwait.avi")});
    qsizetype secondJobStart = -1;
    QObject::connect(&run, &ConversionRun::jobCaptionChanged, [&](const QString& caption) {
        if (!caption.contains(u"quietwait.avi"))
            return;
        secondJobStart = tracks.size();
        QTimer::singleShot(200, &run, [this] {
            run.onProgressTick();
            run.requestCancel();
        });
    });
    run.run();
    ASSERT_GE(secondJobStart, 0);
    EXPECT_EQ(tracks.mid(secondJobStart, 1), QList<int>{0});
}

TEST_F(Run, ANewRunClearsEveryStatusAndReasonFirst) {
    addJobs({QStringLiteral("a.avi"), QStringLiteral("fail.avi"), QStringLiteral("c.avi")});
    run.run();
    EXPECT_EQ(statuses(), (QStringList{"OK", "Fail", "OK"}));
    QFile::remove(context.jobs[1].path);
    run.run();
    EXPECT_EQ(statuses(), (QStringList{"OK", "", ""}));
    EXPECT_TRUE(context.jobs[1].detail.isEmpty());
}

TEST_F(Run, FailureReasonsSayWhatHappened) {
    addJobs({QStringLiteral("empty.avi"), QStringLiteral("kill.avi"), QStringLiteral("full.avi")});
    context.jobs[0].end.clear(); // the probe found no length: nothing to play
    run.run();
    EXPECT_EQ(statuses(), (QStringList{"Fail", "Fail", "Fail"}));
    EXPECT_EQ(context.jobs[0].detail, QStringLiteral("No video or audio found in this file"));
    EXPECT_EQ(context.jobs[1].detail, QStringLiteral("The encoder was stopped (signal 9)"));
    EXPECT_EQ(context.jobs[2].detail,
              QStringLiteral("No space left on the output disk\n[mp4 @ 0x55] Error writing "
                             "trailer of %1: No space left on device")
                  .arg(output(QStringLiteral("full.mp4"))));

    setting(QStringLiteral("outputfolder"), m_outputs.filePath(QStringLiteral("missing")));
    context.jobs = {Job(input(QStringLiteral("a.avi")))};
    run.run();
    EXPECT_EQ(statuses(), QStringList{"Fail"});
    EXPECT_TRUE(context.jobs[0].detail.startsWith(u"The output folder cannot be written"));
    EXPECT_TRUE(argumentsOf(QStringLiteral("a.avi")).isEmpty()) << "the encoder never started";
}

TEST_F(Run, TheTimeLeftFollowsThePaceOfTheJob) {
    QStringList left;
    QObject::connect(&run, &ConversionRun::timeLeftTextChanged,
                     [&left](const QString& text) { left << text; });
    // Jobs of 3 s each; the stand-in has encoded 1 s of the waiting job.
    addJobs({QStringLiteral("wait.avi"), QStringLiteral("b.avi"), QStringLiteral("c.avi")});
    QObject::connect(&run, &ConversionRun::jobCaptionChanged, [this](const QString& caption) {
        if (!caption.contains(u"wait.avi"))
            return;
        QTimer::singleShot(300, &run, [this] {
            for (int tick = 0; tick < 3; ++tick)
                run.onProgressTick();
            run.requestCancel();
        });
    });
    run.run();
    // Nothing for the first two seconds; then 1 s encoded in 3 s: 2 s of this job and 6 s of
    // the later ones to go, at a third of real time.
    EXPECT_EQ(left.mid(1, 3), (QStringList{"", "", "0:00:06 (all jobs 0:00:24)"}));
    EXPECT_EQ(left.last(), QString()) << "the estimate goes with the run";
}
