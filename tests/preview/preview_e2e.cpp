// The preview and the trimming window with the real mp.dll and MPlayer, and a job trimmed in
// the trimming window converted by the real fp.dll and FFmpeg. The tests run under the
// offscreen platform, whose window ids are no X11 windows: MPlayer gets the null video output
// (a wrapper named mplayer, found first on the PATH, swaps the value of -vo for "null").

#include "FakePlayer.h"
#include "app/MainWindow.h"
#include "app/ProfileChooser.h"
#include "platform/Inifun.h"
#include "platform/Paths.h"
#include "platform/ToolProcesses.h"
#include "preview/PreviewPlayer.h"
#include "preview/PreviewState.h"
#include "preview/TrimmingWindow.h"
#include "support/EventLoop.h"
#include "support/Media.h"
#include "support/ProgramFolder.h"
#include "support/QtPrinters.h"
#include "support/Recorders.h"
#include "support/Scripts.h"
#include "support/ToolProcessIds.h"
#include "support/widgets/ModalWindow.h"

#include <QAction>
#include <QFile>
#include <QRegularExpression>
#include <QSlider>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace vidora;

namespace {

class RealPlayer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_program.isValid() && m_media.isValid() && m_wrapper.isValid());
        for (const char* tool : {"fp.dll", "mp.dll"})
            ASSERT_TRUE(
                QFile::link(QStringLiteral(VIDORA_PROGRAM_DIR "/") + QLatin1StringView(tool),
                            m_program.filePath(QLatin1StringView(tool))));

        const QString mplayer = QStandardPaths::findExecutable(QStringLiteral("mplayer"));
        ASSERT_FALSE(mplayer.isEmpty()) << "MPlayer (Debian package mplayer) is not installed";
        test::writeExecutable(
            m_wrapper.filePath(QStringLiteral("mplayer")),
            "#!/bin/bash\n"
            "args=()\nprevious=\n"
            "for a in \"$@\"; do\n"
            "  if [ \"$previous\" = -vo ]; then args+=(null); else args+=(\"$a\"); fi\n"
            "  previous=$a\n"
            "done\n"
            "exec '" +
                mplayer.toUtf8() + "' -ao null \"${args[@]}\"\n");
        m_path = qgetenv("PATH");
        qputenv("PATH", m_wrapper.path().toUtf8() + ':' + m_path);
    }
    void TearDown() override { qputenv("PATH", m_path); }

    QString clip(const QString& name, int seconds) {
        const QString path = m_media.filePath(name);
        QString error;
        EXPECT_TRUE(test::generateClip(path, seconds, QStringLiteral("160x120"), &error))
            << error.toStdString();
        return path;
    }

    QTemporaryDir m_program;
    QTemporaryDir m_media;
    QTemporaryDir m_wrapper;
    QByteArray m_path;
    test::ProgramFolder m_programFolder{m_program.path()};
    test::ToolProcessIdsReset m_processIds;
};

// The video times of MPlayer's status lines ("A:   5.3 V:   5.3 A-V: ..."), in order.
QList<double> videoTimes(const QByteArray& output) {
    static const QRegularExpression status(QStringLiteral(R"((?:^|\s)V:\s*(-?[0-9]+\.[0-9]+))"));
    QList<double> times;
    auto matches = status.globalMatch(QString::fromLatin1(output));
    while (matches.hasNext())
        times << matches.next().captured(1).toDouble();
    return times;
}

TEST_F(RealPlayer, AStartAtFiveSecondsBeginsThereAndTheKeysActOnThePlayer) {
    const QString file = clip(QStringLiteral("it's a clip.avi"), 40);
    PreviewState state;
    QByteArray output;
    QObject::connect(&state, &PreviewState::playerOutput,
                     [&](const QByteArray& piece) { output += piece; });
    PreviewPlayer player(state, mainWindowOptionTexts());
    player.setHostWindow([] { return quint64(1); });
    player.useOwnFile(file);
    state.PreviewLength = 40;

    player.seek(12); // 12 % of 40 s: the player starts with -ss 5
    const qint64 pid = PreviewProcessId;
    ASSERT_NE(pid, 0);
    ASSERT_TRUE(state.lastCommand().text.contains(" -ss 5 -wid 1 "));
    ASSERT_TRUE(test::waitFor([&] { return videoTimes(output).size() >= 5; }, 20000))
        << output.toStdString();
    const QList<double> start = videoTimes(output);
    EXPECT_GE(start.first(), 4.9);
    EXPECT_LT(start.first(), 6.0);

    output.clear();
    player.pause();
    ASSERT_TRUE(test::waitFor([&] { return output.contains("PAUSE"); }, 5000));
    player.pause();
    ASSERT_TRUE(test::waitFor([&] { return !videoTimes(output).isEmpty(); }, 5000));
    const double beforeStep = videoTimes(output).last();
    output.clear();
    player.forward(); // MPlayer's own step: 10 s on
    ASSERT_TRUE(test::waitFor(
        [&] {
            const QList<double> times = videoTimes(output);
            return !times.isEmpty() && times.last() >= beforeStep + 8;
        },
        10000))
        << beforeStep << " " << output.right(300).toStdString();
    const double afterStep = videoTimes(output).last();
    output.clear();
    player.back();
    ASSERT_TRUE(test::waitFor(
        [&] {
            const QList<double> times = videoTimes(output);
            return !times.isEmpty() && times.last() <= afterStep - 5;
        },
        10000));

    player.stop();
    ASSERT_TRUE(test::waitFor([&] { return !test::processRuns(pid); }, 5000));
    EXPECT_TRUE(output.contains("(Quit)"));
}

TEST_F(RealPlayer, ClosingTheWindowsLeavesNoPlayerRunning) {
    const QString file = clip(QStringLiteral("clip.avi"), 30);
    test::MessageRecorder messages;
    auto main = std::make_unique<MainWindow>();
    main->show();
    main->addDroppedFiles({file});
    ASSERT_TRUE(test::waitFor([&] { return !main->prober().isBusy(); }, 60000));
    ASSERT_EQ(main->jobs().field(0, JobField::VideoTime), "0:00:30");

    QByteArray output;
    QObject::connect(&main->previewState(), &PreviewState::playerOutput,
                     [&](const QByteArray& piece) { output += piece; });
    main->action(QStringLiteral("play"))->trigger();
    const qint64 mainPlayer = PreviewProcessId;
    ASSERT_TRUE(test::waitFor([&] { return output.contains("Starting playback"); }, 20000));

    // The trimming window: the main window's player quits as it opens, its own as it closes.
    qint64 trimmingPlayer = 0;
    bool trimmingPlayerStarted = false;
    test::whenModalOpens([&](QWidget* window) {
        output.clear();
        QTest::mouseClick(window->findChild<QWidget*>("cmdPlay"), Qt::LeftButton);
        trimmingPlayer = PreviewProcessId;
        trimmingPlayerStarted =
            test::waitFor([&] { return output.contains("Starting playback"); }, 20000);
        window->close();
    });
    main->action(QStringLiteral("videoclip"))->trigger();
    EXPECT_FALSE(test::processRuns(mainPlayer));
    EXPECT_TRUE(trimmingPlayerStarted) << output.toStdString();
    ASSERT_NE(trimmingPlayer, 0);
    ASSERT_NE(trimmingPlayer, mainPlayer);
    EXPECT_FALSE(test::processRuns(trimmingPlayer));

    output.clear();
    main->action(QStringLiteral("play"))->trigger();
    const qint64 lastPlayer = PreviewProcessId;
    ASSERT_TRUE(test::waitFor([&] { return output.contains("Starting playback"); }, 20000));
    main->close();
    EXPECT_FALSE(test::processRuns(lastPlayer));
    EXPECT_EQ(main->previewState().runningPlayers(), 0);
}

TEST_F(RealPlayer, AJobTrimmedInTheTrimmingWindowConvertsToItsClip) {
    QTemporaryDir out;
    ASSERT_TRUE(out.isValid());
    WriteSetting(settingsFilePath(), QStringLiteral("set"), QStringLiteral("outputfolder"),
                 out.path());
    const QString file = clip(QStringLiteral("long clip.avi"), 30);
    test::MessageRecorder messages;
    test::DesktopRecorder desktop;
    MainWindow main;
    main.show();
    main.profileChooser()->selectItemNumber(2); // "Apple iPad MPEG-4 Movie(*.mp4)"
    main.onProfileChosen();
    main.addDroppedFiles({file});
    ASSERT_TRUE(test::waitFor([&] { return !main.prober().isBusy(); }, 60000));
    ASSERT_EQ(main.jobs().field(0, JobField::End), "0:00:30");

    test::whenModalOpens([&](QWidget* window) {
        auto* start = window->findChild<QSlider*>("Slider1");
        start->setValue(6);
        QTest::mouseRelease(start, Qt::LeftButton);
        // The end marker by the key O, at the preview's count.
        main.previewState().PreviewPosition = 18;
        QTest::keyClick(window, Qt::Key_O);
        QTest::mouseClick(window->findChild<QWidget*>("Command1"), Qt::LeftButton);
    });
    main.action(QStringLiteral("videoclip"))->trigger();
    ASSERT_EQ(main.jobs().field(0, JobField::Start), "0:00:06");
    ASSERT_EQ(main.jobs().field(0, JobField::End), "0:00:18");

    main.convertNow();
    EXPECT_EQ(main.jobs().field(0, JobField::Status), "OK")
        << main.jobs().field(0, JobField::StatusDetail).toStdString();
    const test::MediaInfo info = test::probeMedia(out.filePath(QStringLiteral("long clip.mp4")));
    EXPECT_TRUE(info.hasVideo) << info.error.toStdString();
    EXPECT_NEAR(info.duration, 12.0, 0.5);
    EXPECT_TRUE(messages.shown.contains("information: Conversion completed!"))
        << messages.shown.join(u'|').toStdString();
}

} // namespace
