// The capture window with the test pattern device, the real FFmpeg and the real player (with
// no picture output: the offscreen platform has no X windows to draw into).

#include "capture/CaptureWindow.h"
#include "capture/SystemCaptureDevice.h"
#include "platform/Paths.h"
#include "support/EventLoop.h"
#include "support/Media.h"
#include "support/Processes.h"
#include "support/ProgramFolder.h"
#include "support/QtPrinters.h"
#include "support/Recorders.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>

namespace vidora {
namespace {

using test::processRuns;

// The seconds of a statistics label ("75 frames (0 dropped) - 3.00 sec.").
double shownSeconds(const QString& label) {
    static const QRegularExpression kLabel(
        QStringLiteral("^(\\d+) frames \\((\\d+) dropped\\) - (\\d+\\.\\d\\d) sec\\.$"));
    const QRegularExpressionMatch match = kLabel.match(label);
    return match.hasMatch() ? match.captured(3).toDouble() : -1;
}

class CaptureEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        qputenv(kTestPatternVariable, "1");
        CaptureSession::Tools tools;
        tools.ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
        tools.player = QStringLiteral(VIDORA_PROGRAM_DIR "/mp.dll");
        tools.playerVideoOutput = QStringLiteral("null");
        ASSERT_FALSE(tools.ffmpeg.isEmpty());
        m_device = std::make_unique<SystemCaptureDevice>(nullptr, &tools);
        m_window = std::make_unique<CaptureWindow>(*m_device);
        m_window->load();
        m_window->show();
        // The test pattern is the last device; on a computer with cameras they come first.
        auto* list = m_window->findChild<QComboBox*>(QStringLiteral("Combo1"));
        ASSERT_GE(list->count(), 1);
        if (list->count() > 1) {
            list->setCurrentIndex(list->count() - 1);
            m_window->chooseDevice(list->count() - 1);
        }
        m_text = m_window->findChild<QLineEdit*>(QStringLiteral("Text1"));
        m_label = m_window->findChild<QLabel*>(QStringLiteral("Label2"));
    }
    void TearDown() override {
        m_window.reset();
        m_device.reset();
        qunsetenv(kTestPatternVariable);
    }

    // Starts a recording into the file and waits until it has recorded the given time.
    void recordFor(const QString& file, qint64 ms) {
        m_text->setText(file);
        m_window->startCapture();
        ASSERT_TRUE(m_device->isRecording()) << m_messages.shown.join(u'\n').toStdString();
        m_recorder = m_device->session().recorderProcessId();
        m_player = m_device->session().playerProcessId();
        EXPECT_TRUE(processRuns(m_recorder));
        // The recorded time, not the wall clock: a busy computer may run the pattern late.
        ASSERT_TRUE(test::waitFor([&] { return m_device->statistics().elapsedMs >= ms; }, 30000))
            << m_device->statistics().elapsedMs;
    }

    void expectNothingRuns() {
        EXPECT_FALSE(processRuns(m_recorder));
        EXPECT_FALSE(processRuns(m_player));
    }

    QTemporaryDir m_folder;
    const test::ProgramFolder m_programFolder{QStringLiteral(VIDORA_PROGRAM_DIR)};
    test::MessageRecorder m_messages;
    std::unique_ptr<SystemCaptureDevice> m_device;
    std::unique_ptr<CaptureWindow> m_window;
    QLineEdit* m_text = nullptr;
    QLabel* m_label = nullptr;
    qint64 m_recorder = 0;
    qint64 m_player = 0;
};

TEST_F(CaptureEndToEnd, OffersTheTestPatternAndShowsItsLivePicture) {
    auto* list = m_window->findChild<QComboBox*>(QStringLiteral("Combo1"));
    ASSERT_GE(list->count(), 1);
    EXPECT_EQ(list->itemText(list->count() - 1), QStringLiteral("Test pattern"));
    // The chosen device is connected and its picture goes to the player.
    EXPECT_TRUE(m_device->session().isRunning());
    const qint64 player = m_device->session().playerProcessId();
    EXPECT_TRUE(processRuns(player));
    EXPECT_TRUE(m_device->session().playerArguments().contains(QStringLiteral("-wid")));
    m_recorder = m_device->session().recorderProcessId();
    m_player = player;
    m_window.reset();
    expectNothingRuns();
}

TEST_F(CaptureEndToEnd, AThreeSecondRecordingLastsAsLongAsTheWindowShowed) {
    const QString file = m_folder.filePath(QStringLiteral("it's a \"take\" | [1] größer.avi"));
    recordFor(file, 3000);
    test::settle(600);
    m_window->onStatisticsTick();
    const double running = shownSeconds(m_label->text());
    EXPECT_GE(running, 3.0) << m_label->text().toStdString();
    m_window->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    EXPECT_FALSE(m_device->isRecording());

    const double shown = shownSeconds(m_label->text());
    ASSERT_GE(shown, running) << m_label->text().toStdString();
    const test::MediaInfo info = test::probeMedia(file);
    ASSERT_TRUE(info.readable) << info.error.toStdString();
    EXPECT_EQ(info.formatName, QStringLiteral("avi"));
    EXPECT_TRUE(info.hasVideo);
    EXPECT_EQ(info.width, 640);
    EXPECT_EQ(info.height, 480);
    EXPECT_NEAR(info.duration, shown, 0.5) << m_label->text().toStdString();
    EXPECT_FALSE(QFile::exists(file + QStringLiteral(".part")));
    EXPECT_FALSE(processRuns(m_recorder));
    EXPECT_TRUE(m_messages.shown.isEmpty()) << m_messages.shown.join(u'\n').toStdString();
    // The live picture goes on after the recording, from a run of its own.
    EXPECT_TRUE(test::waitFor([&] { return m_device->session().isRunning(); }, 5000));
    EXPECT_NE(m_device->session().recorderProcessId(), m_recorder);
}

TEST_F(CaptureEndToEnd, ExitDuringARecordingLeavesAPlayableFileAndNoProcess) {
    const QString file = m_folder.filePath(QStringLiteral("exit.avi"));
    recordFor(file, 1500);
    m_window->findChild<QPushButton*>(QStringLiteral("Command4"))->click();
    EXPECT_FALSE(m_window->isVisible());
    expectNothingRuns();
    const test::MediaInfo info = test::probeMedia(file);
    ASSERT_TRUE(info.readable) << info.error.toStdString();
    EXPECT_GE(info.duration, 1.5);
    EXPECT_NEAR(info.duration, shownSeconds(m_label->text()), 0.5);
    // Nor does a live picture come back after the window has gone.
    test::settle(300);
    EXPECT_FALSE(m_device->session().isRunning());
    EXPECT_FALSE(processRuns(m_device->session().recorderProcessId()));
}

TEST_F(CaptureEndToEnd, TheCloseBoxDuringARecordingLeavesAPlayableFileAndNoProcess) {
    const QString file = m_folder.filePath(QStringLiteral("close box.avi"));
    recordFor(file, 1500);
    m_window->close();
    expectNothingRuns();
    const test::MediaInfo info = test::probeMedia(file);
    ASSERT_TRUE(info.readable) << info.error.toStdString();
    EXPECT_GE(info.duration, 1.5);
    // Nor does a live picture come back after the window has gone.
    test::settle(300);
    EXPECT_FALSE(m_device->session().isRunning());
    EXPECT_FALSE(processRuns(m_device->session().recorderProcessId()));
}

TEST_F(CaptureEndToEnd, TheRecordingGoesOnWhenTheLivePictureEnds) {
    const QString file = m_folder.filePath(QStringLiteral("no picture.avi"));
    recordFor(file, 500);
    ASSERT_TRUE(processRuns(m_player));
    ::kill(pid_t(m_player), SIGKILL);
    const qint64 before = m_device->statistics().elapsedMs;
    ASSERT_TRUE(
        test::waitFor([&] { return m_device->statistics().elapsedMs >= before + 1500; }, 30000));
    EXPECT_TRUE(m_device->isRecording());
    m_window->stopCapture();
    const test::MediaInfo info = test::probeMedia(file);
    ASSERT_TRUE(info.readable) << info.error.toStdString();
    EXPECT_NEAR(info.duration, shownSeconds(m_label->text()), 0.5);
}

TEST_F(CaptureEndToEnd, AConfirmedFileIsReplacedByTheCompleteRecordingOnly) {
    const QString file = m_folder.filePath(QStringLiteral("again.avi"));
    QFile old(file);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("the earlier recording");
    old.close();
    m_window->setSaveDialog(
        [&](QWidget*, const QString&, const QString&, const QString&) { return file; });
    m_window->browse();
    m_text->setText(file);
    m_window->startCapture();
    ASSERT_TRUE(m_device->isRecording());
    ASSERT_TRUE(test::waitFor([&] { return m_device->statistics().elapsedMs >= 1000; }, 30000));
    // While the recording runs, the earlier file is still whole.
    QFile during(file);
    ASSERT_TRUE(during.open(QIODevice::ReadOnly));
    EXPECT_EQ(during.readAll(), QByteArray("the earlier recording"));
    during.close();
    m_window->stopCapture();
    EXPECT_TRUE(test::probeMedia(file).readable);
}

TEST_F(CaptureEndToEnd, ASecondStopWhileTheFirstWaitsChangesNothing) {
    const QString file = m_folder.filePath(QStringLiteral("twice.avi"));
    recordFor(file, 1000);
    // Runs inside the first stop's wait for FFmpeg to finish the file.
    bool secondStopRan = false;
    QTimer::singleShot(0, m_device.get(), [&] {
        m_device->stopRecording();
        m_device->shutDown();
        secondStopRan = true;
    });
    m_device->stopRecording();
    EXPECT_TRUE(secondStopRan);
    EXPECT_FALSE(m_device->isRecording());
    EXPECT_EQ(m_device->errorText(), QString());
    const test::MediaInfo info = test::probeMedia(file);
    ASSERT_TRUE(info.readable) << info.error.toStdString();
    EXPECT_GE(info.duration, 1.0);
    EXPECT_FALSE(QFile::exists(file + QStringLiteral(".part")));
    EXPECT_FALSE(processRuns(m_recorder));
}

// The program ends under a recording without ending it (a crash, a kill): the system ends
// its FFmpeg (which finishes the file) and its player.
TEST(CaptureWithTheProgram, AProgramKilledDuringARecordingLeavesNoProcessRunning) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString file = folder.filePath(QStringLiteral("orphan.avi"));
    QProcess holder;
    holder.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    holder.start(QStringLiteral(VIDORA_RECORDING_HOLDER),
                 {QStringLiteral(VIDORA_PROGRAM_DIR "/"), file});
    ASSERT_TRUE(holder.waitForStarted(10000));
    ASSERT_TRUE(test::waitFor([&] { return holder.canReadLine() || !holder.isOpen(); }, 30000));
    const QList<QByteArray> ids = holder.readLine().trimmed().split(' ');
    ASSERT_EQ(ids.size(), 2);
    const qint64 recorder = ids[0].toLongLong();
    const qint64 player = ids[1].toLongLong();
    ASSERT_TRUE(processRuns(recorder));
    ASSERT_TRUE(processRuns(player));
    const QString part = file + QStringLiteral(".part");
    ASSERT_TRUE(test::waitFor([&] { return QFileInfo(part).size() > 100000; }, 30000));

    ::kill(pid_t(holder.processId()), SIGKILL);
    ASSERT_TRUE(holder.waitForFinished(10000));
    EXPECT_TRUE(
        test::waitFor([&] { return !processRuns(recorder) && !processRuns(player); }, 10000))
        << "still running: " << (processRuns(recorder) ? "FFmpeg " : "")
        << (processRuns(player) ? "the player" : "");
    // Ended on TERM, FFmpeg finished the file; it keeps its temporary name, as nobody named it.
    const test::MediaInfo info = test::probeMedia(part);
    EXPECT_TRUE(info.readable) << info.error.toStdString();
    EXPECT_FALSE(QFile::exists(file));
}

} // namespace
} // namespace vidora
