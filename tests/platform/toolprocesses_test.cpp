// Starting tools and sending them keys, with small tool scripts that show what they receive.

#include "platform/ToolProcesses.h"
#include "support/EventLoop.h"
#include "support/QtPrinters.h"
#include "support/Scripts.h"
#include "support/ToolProcessIds.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <unistd.h>

using namespace vidora;
using vidora::test::settle;
using vidora::test::waitFor;

namespace {

// A started tool with everything it wrote to its standard output.
struct StartedTool {
    std::unique_ptr<ToolProcess> tool = std::make_unique<ToolProcess>();
    QByteArray output;
    qint64 pid = 0;

    void start(const QString& program, const QStringList& arguments = {}) {
        QObject::connect(tool.get(), &ToolProcess::outputRead,
                         [this](const QByteArray& piece) { output += piece; });
        pid = tool->start(program, arguments);
    }
};

class ToolProcesses : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/vidora tools' -XXXXXX");
        ASSERT_TRUE(m_dir->isValid());
    }

    // A tool script in its own folder under the test folder, made executable.
    QString writeTool(const QString& folder, const QString& name, const QByteArray& body) {
        QDir(m_dir->path()).mkpath(folder);
        return test::writeExecutableScript(m_dir->filePath(folder + u'/' + name), body);
    }

    // A tool that writes back every byte it reads as a key.
    QString echoTool(const QString& folder, const QString& name) {
        return writeTool(folder, name, "exec cat");
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    test::ToolProcessIdsReset m_processIds;
};

TEST(MakeKeyParam, KeepsRepeatCountScanCodeAndReleaseBits) {
    EXPECT_EQ(MakeKeyParam(81, WM_KEYDOWN), 0x00100001u);
    EXPECT_EQ(MakeKeyParam(81, WM_KEYUP), 0xC0100001u);
    EXPECT_EQ(MakeKeyParam(32, WM_KEYDOWN), 0x00390001u);
    EXPECT_EQ(MakeKeyParam(32, WM_KEYUP), 0xC0390001u);
    EXPECT_EQ(MakeKeyParam(37, WM_KEYDOWN), 0x004B0001u);
    EXPECT_EQ(MakeKeyParam(37, WM_KEYUP), 0xC04B0001u);
    EXPECT_EQ(MakeKeyParam(39, WM_KEYDOWN), 0x004D0001u);
    EXPECT_EQ(MakeKeyParam(39, WM_KEYUP), 0xC04D0001u);
    // Any message but a key-down carries the release bits; an unknown key has no scan code.
    EXPECT_EQ(MakeKeyParam(81, 0x0104), 0xC0100001u);
    EXPECT_EQ(MakeKeyParam(65, WM_KEYDOWN), 0x00000001u);
    // Taken as a signed 32-bit number, a release parameter is negative.
    EXPECT_LT(static_cast<qint32>(MakeKeyParam(81, WM_KEYUP)), 0);
}

TEST_F(ToolProcesses, KeysArriveAsTerminalBytesOnTheToolsInput) {
    StartedTool player;
    player.start(echoTool("player", "mp.dll"));
    ASSERT_NE(player.pid, 0);
    StartedTool encoder;
    encoder.start(echoTool("encoder", "fp.dll"));
    ASSERT_NE(encoder.pid, 0);
    PreviewProcessId = player.pid;
    EncoderProcessId = encoder.pid;

    SendPlayerKey(37);
    SendPlayerKey(32);
    SendPlayerKey(65); // no tool is ever sent this key: nothing goes out
    SendPlayerKey(39);
    SendPlayerKey(81);
    SendEncoderKey(81);

    const QByteArray expected = "\x1b[D \x1b[Cq";
    EXPECT_TRUE(waitFor([&] { return player.output.size() >= expected.size(); }, 5000));
    EXPECT_TRUE(waitFor([&] { return !encoder.output.isEmpty(); }, 5000));
    settle(100);
    EXPECT_EQ(player.output, expected);
    EXPECT_EQ(encoder.output, QByteArray("q"));
}

TEST_F(ToolProcesses, KeysGoOnlyToTheToolTheCallerNames) {
    StartedTool player;
    player.start(echoTool("player", "mp.dll"));
    StartedTool encoder;
    encoder.start(echoTool("encoder", "fp.dll"));
    ASSERT_NE(player.pid, 0);
    ASSERT_NE(encoder.pid, 0);

    // The ids point at the other tool, at nothing, at this test program, at a process that is
    // not one of the program's tools: nothing is written anywhere.
    PreviewProcessId = encoder.pid;
    EncoderProcessId = player.pid;
    SendPlayerKey(81);
    SendEncoderKey(32);
    PreviewProcessId = 0;
    EncoderProcessId = 0;
    SendPlayerKey(81);
    SendEncoderKey(81);
    PreviewProcessId = getpid();
    SendPlayerKey(81);
    QProcess foreign;
    foreign.start("/bin/sh", {"-c", "exec cat"});
    ASSERT_TRUE(foreign.waitForStarted());
    PreviewProcessId = foreign.processId();
    SendPlayerKey(81);

    // Marks: once they arrive, anything sent before them would have arrived too.
    PreviewProcessId = player.pid;
    EncoderProcessId = encoder.pid;
    SendPlayerKey(39);
    SendEncoderKey(37);
    EXPECT_TRUE(waitFor([&] { return player.output.size() >= 3; }, 5000));
    EXPECT_TRUE(waitFor([&] { return encoder.output.size() >= 3; }, 5000));
    settle(100);
    EXPECT_EQ(player.output, QByteArray("\x1b[C"));
    EXPECT_EQ(encoder.output, QByteArray("\x1b[D"));
    foreign.closeWriteChannel();
    ASSERT_TRUE(foreign.waitForFinished(5000));
    EXPECT_EQ(foreign.readAllStandardOutput(), QByteArray());
}

TEST_F(ToolProcesses, FindToolWindowFindsOnlyARunningToolOfOursByIdAndTitle) {
    StartedTool player;
    const QString playerPath = echoTool("player", "mp.dll");
    player.start(playerPath);
    ASSERT_NE(player.pid, 0);

    const std::optional<ToolWindow> found = FindToolWindow(player.pid, "mp.dll");
    ASSERT_TRUE(found);
    EXPECT_EQ(found->processId(), player.pid);
    EXPECT_EQ(found->program(), playerPath);
    EXPECT_TRUE(FindToolWindow(player.pid, "mp"));

    EXPECT_FALSE(FindToolWindow(player.pid, "MP.DLL")); // the title test is case-sensitive
    EXPECT_FALSE(FindToolWindow(player.pid, "fp.dll"));
    EXPECT_FALSE(FindToolWindow(player.pid + 100000, "mp.dll"));
    EXPECT_FALSE(FindToolWindow(0, "mp.dll"));
    EXPECT_FALSE(FindToolWindow(getpid(), "mp.dll"));

    // A tool whose file name holds the title only in capitals is not the player.
    StartedTool shouting;
    shouting.start(echoTool("shouting", "MP.DLL"));
    ASSERT_NE(shouting.pid, 0);
    EXPECT_FALSE(FindToolWindow(shouting.pid, "mp.dll"));
    EXPECT_TRUE(FindToolWindow(shouting.pid, "MP.DLL"));

    // The folder's name does not count, only the tool's own.
    StartedTool inPlayerFolder;
    inPlayerFolder.start(echoTool("mp.dll", "fp.dll"));
    ASSERT_NE(inPlayerFolder.pid, 0);
    EXPECT_FALSE(FindToolWindow(inPlayerFolder.pid, "mp.dll"));
    EXPECT_TRUE(FindToolWindow(inPlayerFolder.pid, "fp.dll"));
}

TEST_F(ToolProcesses, AToolThatHasEndedGetsNoKeys) {
    const QString output = m_dir->filePath("received");
    StartedTool first;
    first.start(writeTool("player", "mp.dll", "head -c 1 > \"$1\""), {output});
    ASSERT_NE(first.pid, 0);
    PreviewProcessId = first.pid;
    SendPlayerKey(81);
    ASSERT_TRUE(first.tool->waitForEnd(5000));
    EXPECT_EQ(first.tool->exitCode(), 0);
    QFile received(output);
    ASSERT_TRUE(received.open(QIODevice::ReadOnly));
    EXPECT_EQ(received.readAll(), QByteArray("q"));

    // The stale id finds nothing, and sending to it writes nowhere.
    EXPECT_FALSE(FindToolWindow(first.pid, "mp.dll"));
    SendPlayerKey(32);

    // A restarted tool is found by its new id only.
    StartedTool second;
    second.start(echoTool("player", "mp.dll"));
    ASSERT_NE(second.pid, 0);
    SendPlayerKey(81); // still the first tool's id
    PreviewProcessId = second.pid;
    SendPlayerKey(32);
    EXPECT_TRUE(waitFor([&] { return !second.output.isEmpty(); }, 5000));
    settle(100);
    EXPECT_EQ(second.output, QByteArray(" "));
}

TEST_F(ToolProcesses, AKeyToAToolThatClosedItsInputDoesNotHarmTheProgram) {
    StartedTool deaf;
    deaf.start(writeTool("deaf", "mp.dll", "exec 0<&-\necho closed\nexec sleep 2"));
    ASSERT_NE(deaf.pid, 0);
    ASSERT_TRUE(waitFor([&] { return deaf.output == "closed\n"; }, 5000));
    PreviewProcessId = deaf.pid;
    // A write into a pipe nobody reads must neither end this program nor wait forever.
    SendPlayerKey(81);
    SendPlayerKey(32);
    settle(100);
    EXPECT_TRUE(deaf.tool->isRunning());
    EXPECT_TRUE(deaf.tool->waitForEnd(10000));
}

TEST_F(ToolProcesses, AToolGoesOnWhenItsStarterIsGoneAndStillGetsItsKeys) {
    const QString output = m_dir->filePath("received");
    // It waits for one key, then writes much more than a pipe holds, to both outputs.
    const QString program = writeTool("player", "mp.dll",
                                      "head -c 1 > \"$1\"\n"
                                      "head -c 1000000 /dev/zero\n"
                                      "head -c 1000000 /dev/zero >&2");
    auto tool = std::make_unique<ToolProcess>();
    tool->setOutput(ToolProcess::Output::Separate);
    const qint64 pid = tool->start(program, {output});
    ASSERT_NE(pid, 0);
    tool.reset();

    ASSERT_TRUE(FindToolWindow(pid, "mp.dll"));
    PreviewProcessId = pid;
    SendPlayerKey(32);
    // Nobody listens to its output any more, and yet it does not block on it: it ends.
    EXPECT_TRUE(waitFor([&] { return !FindToolWindow(pid, "mp.dll"); }, 10000));
    QFile received(output);
    ASSERT_TRUE(received.open(QIODevice::ReadOnly));
    EXPECT_EQ(received.readAll(), QByteArray(" "));
}

TEST_F(ToolProcesses, OutputIsAlwaysReadAndItsErrorTailKept) {
    // 20 KiB of noise on the error output, then the reason; the standard output on its own.
    const QString program = writeTool("encoder", "fp.dll",
                                      "head -c 20000 /dev/zero | tr '\\000' 'x' >&2\n"
                                      "head -c 2000000 /dev/zero\n"
                                      "printf 'the reason it failed\\n' >&2\nexit 4");
    ToolProcess tool;
    tool.setOutput(ToolProcess::Output::Separate);
    qsizetype outputBytes = 0;
    QByteArray errorBytes;
    int finishedCalls = 0;
    int exitCode = -1;
    bool crashed = true;
    QObject::connect(&tool, &ToolProcess::outputRead,
                     [&](const QByteArray& piece) { outputBytes += piece.size(); });
    QObject::connect(&tool, &ToolProcess::errorRead,
                     [&](const QByteArray& piece) { errorBytes += piece; });
    QObject::connect(&tool, &ToolProcess::finished, [&](int code, bool didCrash) {
        ++finishedCalls;
        exitCode = code;
        crashed = didCrash;
    });
    ASSERT_NE(tool.start(program, {}), 0);
    EXPECT_TRUE(tool.isRunning());
    ASSERT_TRUE(tool.waitForEnd(20000));

    EXPECT_EQ(finishedCalls, 1);
    EXPECT_EQ(exitCode, 4);
    EXPECT_FALSE(crashed);
    EXPECT_EQ(tool.exitCode(), 4);
    EXPECT_FALSE(tool.isRunning());
    EXPECT_EQ(outputBytes, 2000000);
    EXPECT_EQ(errorBytes.size(), 20000 + 21);
    EXPECT_EQ(tool.errorTail().size(), ToolProcess::ErrorTailBytes);
    EXPECT_TRUE(tool.errorTail().endsWith("xxxthe reason it failed\n"));
}

TEST_F(ToolProcesses, MergedOutputKeepsTheTailOfBoth) {
    ToolProcess tool;
    QByteArray output;
    QObject::connect(&tool, &ToolProcess::outputRead,
                     [&](const QByteArray& piece) { output += piece; });
    ASSERT_NE(tool.start(writeTool("t", "fp.dll", "echo out\necho err >&2\nexit 1"), {}), 0);
    ASSERT_TRUE(tool.waitForEnd(5000));
    EXPECT_EQ(output, QByteArray("out\nerr\n"));
    EXPECT_EQ(tool.errorTail(), QByteArray("out\nerr\n"));
    EXPECT_EQ(tool.exitCode(), 1);
}

TEST_F(ToolProcesses, ArgumentsAndWorkingFolderArriveUnchanged) {
    const QString program = writeTool("it's a \"tool\"", "fp.dll",
                                      "pwd\nfor a in \"$@\"; do printf '[%s]\\n' \"$a\"; done");
    const QString folder = m_dir->filePath("work dir");
    QDir().mkpath(folder);
    StartedTool tool;
    tool.tool->setWorkingDirectory(folder);
    tool.start(program, {"-i", "/clips/my clip's \"best\".avi", "-leading", ""});
    ASSERT_NE(tool.pid, 0);
    ASSERT_TRUE(tool.tool->waitForEnd(5000));
    EXPECT_EQ(QString::fromUtf8(tool.output),
              folder + "\n[-i]\n[/clips/my clip's \"best\".avi]\n[-leading]\n[]\n");
}

TEST_F(ToolProcesses, AMissingToolIsAnErrorNotSilence) {
    ToolProcess tool;
    QString reason;
    int failures = 0;
    int ends = 0;
    QObject::connect(&tool, &ToolProcess::failedToStart, [&](const QString& text) {
        ++failures;
        reason = text;
    });
    QObject::connect(&tool, &ToolProcess::finished, [&] { ++ends; });
    EXPECT_EQ(tool.start(m_dir->filePath("Vidora/fp.dll"), {"-i", "x"}), 0);
    EXPECT_EQ(failures, 1);
    EXPECT_FALSE(reason.isEmpty());
    EXPECT_EQ(tool.errorText(), reason);
    EXPECT_EQ(tool.processId(), 0);
    EXPECT_FALSE(tool.isRunning());
    EXPECT_TRUE(tool.waitForEnd(1000)); // nothing to wait for
    EXPECT_FALSE(tool.writeInput("q"));
    settle(50);
    EXPECT_EQ(ends, 0);

    // One object starts one tool.
    EXPECT_EQ(tool.start("/bin/true", {}), 0);
}

TEST_F(ToolProcesses, AHandlerMayDestroyTheToolObjectWhenTheToolEnds) {
    auto tool = std::make_unique<ToolProcess>();
    int exitCode = -1;
    QObject::connect(tool.get(), &ToolProcess::finished, [&](int code) {
        exitCode = code;
        tool.reset();
    });
    ASSERT_NE(tool->start(writeTool("t", "fp.dll", "echo bye\nexit 3"), {}), 0);
    EXPECT_TRUE(waitFor([&] { return !tool; }, 5000));
    EXPECT_EQ(exitCode, 3);
    settle(100); // lets the process object go
}

TEST_F(ToolProcesses, WaitingForAToolLetsOtherHandlersRun) {
    ToolProcess tool;
    ASSERT_NE(tool.start(writeTool("t", "fp.dll", "exec sleep 0.5"), {}), 0);
    bool timerFired = false;
    QTimer::singleShot(100, [&] { timerFired = tool.isRunning(); });
    EXPECT_FALSE(tool.waitForEnd(50)); // times out while it still runs
    EXPECT_TRUE(tool.waitForEnd(5000));
    EXPECT_TRUE(timerFired);
    EXPECT_TRUE(tool.hasEnded());
    EXPECT_EQ(tool.exitCode(), 0);
}

} // namespace
