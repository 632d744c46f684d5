// Keys to the real tools: the encoder fp.dll stops on Q and removes its unfinished file; the player
// mp.dll pauses and resumes on Space, seeks on the arrows and quits on Q.

#include "platform/ToolProcesses.h"
#include "support/EventLoop.h"
#include "support/Media.h"
#include "support/QtPrinters.h"
#include "support/ToolProcessIds.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

using namespace vidora;
using vidora::test::settle;
using vidora::test::waitFor;

namespace {

class ToolKeys : public ::testing::Test {
protected:
    void SetUp() override {
        const QString folder = QStringLiteral(VIDORA_PROGRAM_DIR);
        m_encoder = folder + "/fp.dll";
        m_player = folder + "/mp.dll";
        if (!QFileInfo(m_encoder).isExecutable() || !QFileInfo(m_player).isExecutable())
            GTEST_SKIP() << "The tool launchers fp.dll and mp.dll are not built in "
                         << VIDORA_PROGRAM_DIR << "; build the target vidora_program first.";
        m_dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/vidora keys \xc3\xa9-XXXXXX");
        ASSERT_TRUE(m_dir->isValid());
    }

    test::ToolProcessIdsReset m_processIds;
    QString m_encoder;
    QString m_player;
    std::unique_ptr<QTemporaryDir> m_dir;
};

TEST_F(ToolKeys, TheEncoderStopsOnQAndRemovesItsUnfinishedFile) {
    const QString output = m_dir->filePath("stopped early's.mp4");
    const QString unfinished = m_dir->filePath(".stopped early's.part.mp4");
    const QString statistics = m_dir->filePath("curconvert.log");
    // A source read at its own pace: the encode would take a full minute.
    ToolProcess encoder;
    encoder.setWorkingDirectory(m_dir->path());
    encoder.setOutput(ToolProcess::Output::Separate);
    const qint64 pid = encoder.start(
        m_encoder, {"-re", "-f", "lavfi", "-i", "testsrc=duration=60:size=320x240:rate=25",
                    "-vcodec", "mpeg4", "-b:v", "500000", "-vstats_file", statistics, output});
    ASSERT_NE(pid, 0) << encoder.errorText().toStdString();
    EncoderProcessId = pid;

    // Let it encode for a while; it must still be at work then.
    settle(2500);
    ASSERT_TRUE(encoder.isRunning()) << encoder.errorTail().toStdString();
    ASSERT_TRUE(QFileInfo::exists(unfinished));

    QElapsedTimer clock;
    clock.start();
    SendEncoderKey(81);
    ASSERT_TRUE(encoder.waitForEnd(10000)) << "the encoder did not stop on Q";
    EXPECT_LT(clock.elapsed(), 1000) << "the encoder took " << clock.elapsed() << " ms to stop";
    EXPECT_FALSE(encoder.crashed());
    // A cancelled job is no success, although FFmpeg closed its file properly.
    EXPECT_NE(encoder.exitCode(), 0) << encoder.errorTail().toStdString();
    EXPECT_FALSE(FindToolWindow(pid, "fp.dll"));
    EXPECT_FALSE(QFileInfo::exists(unfinished));
    EXPECT_FALSE(QFileInfo::exists(output));
}

// The playing position from the player's status lines ("A:   2.4 V:   2.4 A-V:  0.001 ..."): the
// last one it printed.
std::optional<double> lastPosition(const QByteArray& output) {
    static const QRegularExpression status("(?<!-)V:\\s*(-?[0-9]+\\.[0-9]+)");
    QRegularExpressionMatchIterator it = status.globalMatch(QString::fromLatin1(output));
    std::optional<double> position;
    while (it.hasNext())
        position = it.next().captured(1).toDouble();
    return position;
}

TEST_F(ToolKeys, ThePlayerPausesResumesSeeksAndQuitsOnItsKeys) {
    const QString clip = m_dir->filePath("preview clip \xc3\xbc.avi");
    ASSERT_EQ(
        test::runProgram("ffmpeg",
                         {"-v", "error", "-y", "-f", "lavfi", "-i",
                          "testsrc=duration=30:size=320x240:rate=25", "-f", "lavfi", "-i",
                          "sine=duration=30", "-c:v", "mpeg4", "-c:a", "mp2", "-shortest", clip},
                         120000),
        0);

    ToolProcess player;
    QByteArray output;
    QObject::connect(&player, &ToolProcess::outputRead,
                     [&](const QByteArray& piece) { output += piece; });
    const qint64 pid = player.start(m_player, {"-vo", "null", "-ao", "null", clip});
    ASSERT_NE(pid, 0) << player.errorText().toStdString();
    PreviewProcessId = pid;
    const auto position = [&] { return lastPosition(output).value_or(-1); };

    ASSERT_TRUE(waitFor([&] { return position() >= 1.0; }, 10000))
        << output.right(500).toStdString();

    // Space pauses: the position stands still.
    SendPlayerKey(32);
    settle(400);
    const double pausedAt = position();
    settle(1500);
    EXPECT_NEAR(position(), pausedAt, 0.15) << "the player went on playing after Space";
    EXPECT_TRUE(player.isRunning());

    // Space again resumes.
    SendPlayerKey(32);
    EXPECT_TRUE(waitFor([&] { return position() > pausedAt + 0.5; }, 5000))
        << "the player did not resume on Space";

    // Right steps forward, Left steps back.
    const double beforeRight = position();
    SendPlayerKey(39);
    EXPECT_TRUE(waitFor([&] { return position() > beforeRight + 5; }, 5000))
        << "the player did not step forward on Right";
    const double beforeLeft = position();
    SendPlayerKey(37);
    EXPECT_TRUE(waitFor([&] { return position() < beforeLeft - 5; }, 5000))
        << "the player did not step back on Left";

    // Q quits, long before the clip's end.
    ASSERT_LT(position(), 25);
    QElapsedTimer clock;
    clock.start();
    SendPlayerKey(81);
    ASSERT_TRUE(player.waitForEnd(10000)) << "the player did not quit on Q";
    EXPECT_LT(clock.elapsed(), 1000) << "the player took " << clock.elapsed() << " ms to quit";
    EXPECT_FALSE(player.crashed());
    EXPECT_TRUE(output.contains("(Quit)")) << output.right(500).toStdString();
    EXPECT_FALSE(FindToolWindow(pid, "mp.dll"));
}

} // namespace
