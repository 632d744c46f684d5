#include "engine/Process.h"
#include "platform/Paths.h"
#include "support/EventLoop.h"
#include "support/ProgramFolder.h"
#include "support/QtPrinters.h"
#include "support/Scripts.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <sys/resource.h>

using namespace vidora;
using vidora::test::settle;
using vidora::test::waitFor;

namespace {

double cpuSecondsOfThisProcess() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec +
           usage.ru_stime.tv_usec / 1e6;
}

// Counts the events of one Process and keeps every piece announced.
struct Events {
    int finished = 0;
    QStringList pieces;

    void watch(Process& process) {
        QObject::connect(&process, &Process::Finished, [this] { ++finished; });
        QObject::connect(&process, &Process::StdOutChanged,
                         [this](const QString& piece) { pieces << piece; });
    }
};

class ProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Blanks and an apostrophe in every path the runner is given.
        m_dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/vidora proc's-XXXXXX");
        ASSERT_TRUE(m_dir->isValid());
    }

    // A shell script in the test folder, made executable.
    QString writeScript(const QString& name, const QByteArray& body) {
        return test::writeExecutableScript(m_dir->filePath(name), body);
    }

    static QString quoted(const QString& path) { return u'"' + path + u'"'; }

    std::unique_ptr<QTemporaryDir> m_dir;
};

TEST_F(ProcessTest, CollectsThreeLinesAndTheExitCode) {
    Process process;
    Events events;
    events.watch(process);
    process.CmdLine =
        quoted(writeScript("three lines.sh", "printf 'one\\ntwo\\nthree\\n'\nexit 3"));
    process.Launch();

    EXPECT_EQ(process.StdOut(), QStringLiteral("one\ntwo\nthree\n"));
    EXPECT_EQ(process.RC(), 3);
    EXPECT_EQ(events.finished, 1);
    ASSERT_FALSE(events.pieces.isEmpty());
    EXPECT_EQ(events.pieces.join(QString()), process.StdOut()); // one event per piece, in order
    for (const QString& piece : events.pieces)
        EXPECT_FALSE(piece.isEmpty());
    EXPECT_FALSE(process.IsActive());
}

TEST_F(ProcessTest, CollectsOutputWrittenJustBeforeTheEnd) {
    Process process;
    Events events;
    events.watch(process);
    process.CmdLine = quoted(writeScript(
        "late.sh", "sleep 0.3\nprintf 'first\\n'\nprintf 'on error\\n' >&2\nprintf 'last words'"));
    process.Launch();

    // Standard output and error come back through one pipe, in the order written.
    EXPECT_EQ(process.StdOut(), QStringLiteral("first\non error\nlast words"));
    EXPECT_EQ(process.RC(), 0);
    EXPECT_EQ(events.finished, 1);
}

TEST_F(ProcessTest, AMissingProgramStartsNothingAndRaisesNoEvent) {
    auto process = std::make_unique<Process>();
    Events events;
    events.watch(*process);
    process->CmdLine = quoted(m_dir->filePath("no such tool")) + " -identify";
    QElapsedTimer clock;
    clock.start();
    process->Launch();

    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_EQ(process->StdOut(), QString());
    EXPECT_EQ(process->RC(), 0);
    EXPECT_EQ(events.finished, 0);
    EXPECT_FALSE(process->IsActive());

    // The pipe is released when the object goes, and that raises Finished.
    process.reset();
    EXPECT_EQ(events.finished, 1);
}

TEST_F(ProcessTest, AnEmptyCommandLineStartsNothing) {
    Process process;
    Events events;
    events.watch(process);
    process.CmdLine = "   ";
    process.Launch();
    EXPECT_EQ(process.StdOut(), QString());
    EXPECT_EQ(process.RC(), 0);
    EXPECT_EQ(events.finished, 0);
}

TEST_F(ProcessTest, AbortEndsARunningChildWithTheGivenCode) {
    Process process;
    Events events;
    events.watch(process);
    process.Async = true;
    process.CmdLine = quoted(writeScript("long.sh", "echo $$\nexec sleep 30"));
    QElapsedTimer clock;
    clock.start();
    process.Launch();
    EXPECT_LT(clock.elapsed(), 2000); // an asynchronous Launch does not wait for the child

    ASSERT_TRUE(waitFor([&] { return process.StdOut().endsWith(u'\n'); }, 5000));
    const pid_t child = process.StdOut().trimmed().toInt();
    ASSERT_GT(child, 0);
    EXPECT_TRUE(process.IsActive());
    EXPECT_EQ(events.finished, 0);

    process.Abort(5);
    EXPECT_EQ(process.RC(), 5);
    EXPECT_EQ(events.finished, 1);
    EXPECT_FALSE(process.IsActive());
    // The child is gone (ended and reaped), long before its 30 seconds.
    EXPECT_EQ(::kill(child, 0), -1);
    EXPECT_LT(clock.elapsed(), 10000);
}

TEST_F(ProcessTest, AbortWithZeroOnARunningChildGivesZero) {
    Process process;
    process.Async = true;
    process.CmdLine = quoted(writeScript("long.sh", "echo started\nexec sleep 30"));
    process.Launch();
    ASSERT_TRUE(waitFor([&] { return process.StdOut() == "started\n"; }, 5000));
    process.Abort(0);
    EXPECT_EQ(process.RC(), 0);
    EXPECT_FALSE(process.IsActive());
}

TEST_F(ProcessTest, AnEndedChildIsReleasedOnceAndLaterAbortsOnlyRaiseFinished) {
    auto process = std::make_unique<Process>();
    Events events;
    events.watch(*process);
    process->CmdLine = quoted(writeScript("three.sh", "echo done\nexit 3"));
    process->Launch();
    ASSERT_EQ(events.finished, 1);
    ASSERT_EQ(process->RC(), 3);

    // Nothing is left to end, read or close: the code and the output stay as they were.
    process->Abort(7);
    EXPECT_EQ(process->RC(), 3);
    EXPECT_EQ(process->StdOut(), QStringLiteral("done\n"));
    EXPECT_EQ(events.finished, 2);

    process.reset();
    EXPECT_EQ(events.finished, 3);
    EXPECT_EQ(events.pieces.join(QString()), QStringLiteral("done\n"));
}

TEST_F(ProcessTest, AnAsynchronousChildIsReleasedWhenItEnds) {
    Process process;
    Events events;
    events.watch(process);
    process.Async = true;
    process.CmdLine = quoted(writeScript("short.sh", "sleep 0.3\necho bye\nexit 2"));
    process.Launch();
    EXPECT_TRUE(process.IsActive());
    ASSERT_TRUE(waitFor([&] { return events.finished > 0; }, 5000));
    EXPECT_EQ(events.finished, 1);
    EXPECT_EQ(process.StdOut(), QStringLiteral("bye\n"));
    EXPECT_EQ(process.RC(), 2);
    EXPECT_FALSE(process.IsActive());
}

TEST_F(ProcessTest, AChildKilledBySignalDoesNotLookLikeSuccess) {
    Process process;
    process.CmdLine = quoted(writeScript("crash.sh", "echo going\nkill -SEGV $$"));
    process.Launch();
    EXPECT_EQ(process.StdOut(), QStringLiteral("going\n"));
    EXPECT_NE(process.RC(), 0);
}

TEST_F(ProcessTest, LotsOfOutputNeitherBlocksTheChildNorGetsLost) {
    Process process;
    Events events;
    events.watch(process);
    process.CmdLine =
        quoted(writeScript("much.sh", "head -c 3000000 /dev/zero | tr '\\000' 'a'\necho\nexit 0"));
    // Should the child ever block on a full pipe, this ends the wait and the test fails.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&] { process.Abort(99); });
    guard.start(60000);
    process.Launch();
    guard.stop();

    EXPECT_EQ(process.RC(), 0);
    EXPECT_EQ(process.StdOut().size(), 3000001);
    EXPECT_EQ(process.StdOut().count(u'a'), 3000000);
    EXPECT_EQ(events.pieces.join(QString()), process.StdOut());
    EXPECT_EQ(events.finished, 1);
}

TEST_F(ProcessTest, AnOutputLimitKeepsTheStartAndStillReadsTheRest) {
    Process process;
    process.OutputLimit = 1000;
    process.CmdLine = quoted(writeScript(
        "flood.sh", "echo ID_LENGTH=5\nhead -c 5000000 /dev/zero | tr '\\000' 'x'\nexit 4"));
    process.Launch();
    // The child wrote all of it and ended by itself with its own code.
    EXPECT_EQ(process.RC(), 4);
    EXPECT_EQ(process.StdOut().size(), 1000);
    EXPECT_TRUE(process.StdOut().startsWith(QStringLiteral("ID_LENGTH=5\n")));
}

TEST_F(ProcessTest, ALetterSplitBetweenTwoReadsArrivesWhole) {
    Process process;
    Events events;
    events.watch(process);
    // "é" is C3 A9 in UTF-8; the child writes its two bytes a moment apart.
    process.CmdLine = quoted(
        writeScript("split.sh", "printf 'caf\\303'\nsleep 0.5\nprintf '\\251 \\342\\202\\254\\n'"));
    process.Launch();

    EXPECT_EQ(process.StdOut(), QString::fromUtf8("caf\xc3\xa9 \xe2\x82\xac\n"));
    EXPECT_FALSE(process.StdOut().contains(QChar::ReplacementCharacter));
    for (const QString& piece : events.pieces)
        EXPECT_FALSE(piece.contains(QChar::ReplacementCharacter)) << piece.toStdString();
}

TEST_F(ProcessTest, ASynchronousLaunchWaitsWithoutUsingTheProcessor) {
    Process process;
    process.CmdLine = quoted(writeScript("sleep.sh", "exec sleep 1"));
    EXPECT_EQ(process.ElapsedTime(), QStringLiteral("0:00:00"));

    const QDateTime before = QDateTime::currentDateTime();
    QElapsedTimer clock;
    clock.start();
    const double cpuBefore = cpuSecondsOfThisProcess();
    process.Launch();
    const double cpuUsed = cpuSecondsOfThisProcess() - cpuBefore;

    EXPECT_GE(clock.elapsed(), 900);
    EXPECT_LT(cpuUsed, 0.2);
    EXPECT_GE(process.StartTime(), before.addMSecs(-1));
    EXPECT_LE(process.StartTime(), before.addMSecs(200));
    EXPECT_TRUE(QRegularExpression("^0:00:0[12]$").match(process.ElapsedTime()).hasMatch())
        << process.ElapsedTime().toStdString();
}

TEST_F(ProcessTest, OtherHandlersRunDuringASynchronousLaunch) {
    Process process;
    process.CmdLine = quoted(writeScript("wait.sh", "sleep 0.6\necho end"));
    bool timerFired = false;
    QString outputWhenTimerFired;
    QTimer::singleShot(150, [&] {
        timerFired = true;
        outputWhenTimerFired = process.StdOut();
    });
    process.Launch();
    EXPECT_TRUE(timerFired);
    EXPECT_EQ(outputWhenTimerFired, QString()); // it fired while the child still ran
    EXPECT_EQ(process.StdOut(), QStringLiteral("end\n"));
}

TEST_F(ProcessTest, AHandlerCanAbortTheChildItIsWaitingFor) {
    Process process;
    Events events;
    events.watch(process);
    process.CmdLine = quoted(writeScript("forever.sh", "echo begun\nexec sleep 30"));
    QObject::connect(&process, &Process::StdOutChanged, [&] { process.Abort(4); });
    QElapsedTimer clock;
    clock.start();
    process.Launch();
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_EQ(process.RC(), 4);
    EXPECT_EQ(process.StdOut(), QStringLiteral("begun\n"));
    EXPECT_EQ(events.finished, 1);
}

TEST_F(ProcessTest, AHandlerMayDestroyTheObjectWhileItReads) {
    auto process = std::make_unique<Process>();
    int finished = 0;
    QObject::connect(process.get(), &Process::Finished, [&] { ++finished; });
    QObject::connect(process.get(), &Process::StdOutChanged, [&] { process.reset(); });
    process->Async = true;
    process->CmdLine = quoted(writeScript("talk.sh", "echo $$\nexec sleep 30"));
    process->Launch();
    ASSERT_TRUE(waitFor([&] { return !process; }, 5000));
    EXPECT_EQ(finished, 1);
    waitFor([] { return false; }, 100); // lets the released process object go
}

TEST_F(ProcessTest, AHandlerMayDestroyTheObjectWhenTheChildEnds) {
    auto process = std::make_unique<Process>();
    QObject::connect(process.get(), &Process::Finished, [&] { process.reset(); });
    process->Async = true;
    process->CmdLine = quoted(writeScript("short.sh", "echo bye"));
    process->Launch();
    EXPECT_TRUE(waitFor([&] { return !process; }, 5000));
    waitFor([] { return false; }, 100);
}

const char argumentsScript[] = "for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done";

TEST_F(ProcessTest, ACommandGivenAsAListArrivesUnchanged) {
    Process process;
    const QString program = writeScript("it's \"quoted\" ü.sh", argumentsScript);
    const QStringList arguments{"-leading",
                                "two  blanks",
                                "quote\"inside",
                                "it's",
                                "",
                                QString::fromUtf8("\xc3\xbcml\xc3\xa4ut")};
    process.setCommand(program, arguments);
    process.Parameters = "extra \"more words\"";
    process.Launch();

    EXPECT_EQ(process.StdOut(), QString::fromUtf8("[-leading]\n[two  blanks]\n[quote\"inside]\n"
                                                  "[it's]\n[]\n[\xc3\xbcml\xc3\xa4ut]\n"
                                                  "[extra]\n[more words]\n"));
    EXPECT_EQ(process.RC(), 0);
}

TEST_F(ProcessTest, ACommandLineTextIsSplitAtBlanksOutsideQuotes) {
    Process process;
    const QString program = writeScript("args.sh", argumentsScript);
    process.CmdLine = quoted(program) + "  -identify \"C:/my clips/a b.avi\"   plain";
    process.Parameters = "-endpos 1";
    process.Launch();
    EXPECT_EQ(process.StdOut(),
              QStringLiteral("[-identify]\n[C:/my clips/a b.avi]\n[plain]\n[-endpos]\n[1]\n"));

    // A command set as a list, whose text is then replaced, runs the new text.
    Process changed;
    changed.setCommand(m_dir->filePath("not used"), {"x"});
    EXPECT_EQ(changed.CmdLine, quoted(m_dir->filePath("not used")) + " x");
    changed.CmdLine = quoted(program) + " replaced";
    changed.Launch();
    EXPECT_EQ(changed.StdOut(), QStringLiteral("[replaced]\n"));
}

TEST_F(ProcessTest, CreateToolProcessRunsTheToolOfTheProgramFolder) {
    writeScript("mp.dll", argumentsScript);
    std::unique_ptr<Process> process;
    {
        const test::ProgramFolder folder(m_dir->path());
        process = CreateToolProcess("mp.dll", {"-identify", "/videos/my clip's.avi"});
    }

    EXPECT_EQ(process->CmdLine,
              quoted(m_dir->filePath("mp.dll")) + " -identify \"/videos/my clip's.avi\"");
    EXPECT_FALSE(process->Async);
    process->Launch();
    EXPECT_EQ(process->StdOut(), QStringLiteral("[-identify]\n[/videos/my clip's.avi]\n"));
}

TEST_F(ProcessTest, LaunchingAgainStartsAfresh) {
    Process process;
    process.CmdLine = quoted(writeScript("once.sh", "echo run\nexit 6"));
    process.Launch();
    ASSERT_EQ(process.RC(), 6);
    process.CmdLine = quoted(writeScript("twice.sh", "echo again"));
    process.Launch();
    EXPECT_EQ(process.StdOut(), QStringLiteral("again\n"));
    EXPECT_EQ(process.RC(), 0);
}

} // namespace
