// The preview's commands, ticker and slider with a fake player that records its arguments and
// the keys it reads.

#include "FakePlayer.h"
#include "platform/ToolProcesses.h"
#include "preview/PreviewPlayer.h"
#include "preview/PreviewState.h"
#include "support/EventLoop.h"
#include "support/QtPrinters.h"
#include "support/Scripts.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace vidora;

namespace {

constexpr quint64 kHost = 41943047;
const QString kPlayText = QStringLiteral(" -priority   abovenormal   -framedrop   -colorkey  0  "
                                         "-nokeepaspect   -framedrop   -autosync   100   -vo gl2  "
                                         "-vf   screenshot ");
const QString kFirstFrameText = QStringLiteral(" -priority   abovenormal   -framedrop   -colorkey  "
                                               "0  -nokeepaspect   -framedrop   -autosync   100   "
                                               " -vo gl2 -vf   screenshot ");
const QString kSeekText = QStringLiteral(" -priority   abovenormal   -framedrop   -colorkey  0  "
                                         "-nokeepaspect   -framedrop   -autosync   100    -vo gl2  "
                                         "-vf   screenshot ");
const QStringList kOptions = {"-priority",     "abovenormal", "-framedrop", "-colorkey", "0",
                              "-nokeepaspect", "-framedrop",  "-autosync",  "100",       "-vo",
                              "gl2",           "-vf",         "screenshot"};

class Preview : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        player.setHostWindow([] { return kHost; });
    }
    void TearDown() override { state.endPlayers(); }

    QString quotedPlayer() const { return u'"' + folder.path() + QStringLiteral("/mp.dll\""); }

    test::FakePlayerFolder folder;
    PreviewState state;
    PreviewPlayer player{state, mainWindowOptionTexts()};
};

TEST(PlayerCommandLine, IsBuiltBlankForBlankAndGivesTheFileAsOneArgument) {
    const QString file = QStringLiteral("/home/jo/it's a \"-film\" ä.avi");
    const PlayerCommand withStart =
        BuildPlayerCommandLine(QStringLiteral("/opt/Vidora/"), 75, 4242, kSeekText, file);
    EXPECT_EQ(withStart.text,
              "\"/opt/Vidora/mp.dll\" -ss 75 -wid 4242" + kSeekText + u'"' + file + u'"');
    EXPECT_EQ(withStart.program, "/opt/Vidora/mp.dll");
    EXPECT_EQ(withStart.arguments,
              QStringList({"-ss", "75", "-wid", "4242"}) + kOptions + QStringList{file});

    const PlayerCommand fromStart =
        BuildPlayerCommandLine(QStringLiteral("/opt/Vidora/"), std::nullopt, 7, kPlayText, {});
    EXPECT_EQ(fromStart.text, "\"/opt/Vidora/mp.dll\" -wid 7" + kPlayText + "\"\"");
    EXPECT_EQ(fromStart.arguments, QStringList({"-wid", "7"}) + kOptions + QStringList{""});

    // A relative name is never read as an option.
    EXPECT_EQ(
        BuildPlayerCommandLine(QStringLiteral("/a/"), 0, 1, kPlayText, "-x.avi").arguments.last(),
        "./-x.avi");
}

TEST(PlayerCommandLine, EachWindowHasItsOptionTexts) {
    const PlayerOptionTexts& main = mainWindowOptionTexts();
    EXPECT_EQ(main.play, kPlayText);
    EXPECT_EQ(main.lastFrames, kPlayText);
    EXPECT_EQ(main.firstFrame, kFirstFrameText);
    EXPECT_EQ(main.seek, kSeekText);
    const PlayerOptionTexts& trimming = trimmingWindowOptionTexts();
    const QString trimmingPlay =
        QStringLiteral(" -priority   abovenormal   -framedrop   -colorkey  0  -nokeepaspect   "
                       "-framedrop   -autosync   100   -vo gl2   -vf   screenshot ");
    EXPECT_EQ(trimming.play, trimmingPlay);
    EXPECT_EQ(trimming.lastFrames, trimmingPlay);
    EXPECT_EQ(trimming.seek, trimmingPlay);
    EXPECT_EQ(trimming.firstFrame, kSeekText);
}

TEST_F(Preview, EveryStartHasItsCommandLineAndQuitsThePlayerBefore) {
    const QString file = QStringLiteral("/media/my clip's.avi");
    player.play(file, QStringLiteral("0:01:40"));
    const qint64 first = PreviewProcessId;
    ASSERT_NE(first, 0);
    EXPECT_EQ(state.PreviewFile, file);
    EXPECT_EQ(state.lastCommand().text,
              quotedPlayer() + " -wid 41943047" + kPlayText + u'"' + file + u'"');
    // The player runs in the program folder.
    EXPECT_EQ(folder.startOf(first),
              QStringList({folder.path(), "-wid", "41943047"}) + kOptions + QStringList{file});

    player.firstFrame();
    const qint64 second = PreviewProcessId;
    EXPECT_NE(second, first);
    EXPECT_TRUE(folder.waitForKeys(first, {"q"}));
    EXPECT_EQ(state.lastCommand().text,
              quotedPlayer() + " -wid 41943047" + kFirstFrameText + u'"' + file + u'"');
    EXPECT_EQ(folder.argumentsOf(second),
              QStringList({"-wid", "41943047"}) + kOptions + QStringList{file});

    player.lastFrames();
    const qint64 third = PreviewProcessId;
    EXPECT_TRUE(folder.waitForKeys(second, {"q"}));
    // The last frames show when the player starts a little before the length.
    EXPECT_EQ(state.lastCommand().text,
              quotedPlayer() + " -ss 97 -wid 41943047" + kPlayText + u'"' + file + u'"');
    EXPECT_EQ(folder.argumentsOf(third).mid(0, 4), QStringList({"-ss", "97", "-wid", "41943047"}));
    EXPECT_EQ(state.PreviewPosition, 100);

    player.seek(25);
    const qint64 fourth = PreviewProcessId;
    EXPECT_TRUE(folder.waitForKeys(third, {"q"}));
    EXPECT_EQ(state.lastCommand().text,
              quotedPlayer() + " -ss 25 -wid 41943047" + kSeekText + u'"' + file + u'"');
    EXPECT_EQ(folder.argumentsOf(fourth).last(), file);
    EXPECT_TRUE(test::waitFor([&] { return state.runningPlayers() == 1; }, 5000));
}

TEST_F(Preview, KeysReachTheRunningPlayerInOrder) {
    player.play(QStringLiteral("/media/a.avi"), QStringLiteral("0:00:30"));
    const qint64 pid = PreviewProcessId;
    ASSERT_FALSE(folder.startOf(pid).isEmpty());
    ASSERT_TRUE(player.isTickerActive());

    player.pause();
    EXPECT_FALSE(player.isTickerActive()); // the count stops while the picture is paused
    player.forward();
    player.back();
    player.pause();
    EXPECT_TRUE(player.isTickerActive());
    state.PreviewPosition = 7;
    player.back();
    player.forward();
    EXPECT_EQ(state.PreviewPosition, 7); // the steps are the player's own: the count stays

    player.stop();
    EXPECT_TRUE(folder.waitForKeys(pid, {"space", "right", "left", "space", "left", "right", "q"}));
    EXPECT_TRUE(test::waitFor([&] { return !test::processRuns(pid); }, 5000));
    EXPECT_FALSE(player.isTickerActive());
    EXPECT_EQ(state.PreviewPosition, 0);
    EXPECT_EQ(player.currentTimeText(), QString());
}

TEST_F(Preview, PlayQuitsEvenAPlayerThatEndedAndStartsAnother) {
    player.play(QStringLiteral("/media/ends.avi"), QStringLiteral("0:00:30"));
    const qint64 ended = PreviewProcessId;
    ASSERT_FALSE(folder.startOf(ended).isEmpty());
    ASSERT_TRUE(test::waitFor([&] { return state.runningPlayers() == 0; }, 5000));

    // The quit key finds no player to go to; the new one starts all the same.
    player.play(QStringLiteral("/media/b.avi"), QStringLiteral("0:00:30"));
    EXPECT_NE(PreviewProcessId, ended);
    EXPECT_EQ(folder.argumentsOf(PreviewProcessId).last(), "/media/b.avi");
}

TEST_F(Preview, TickerMovesTheSliderAndTheTimeUntilTheLength) {
    QSignalSpy slider(&player, &PreviewPlayer::sliderValueChanged);
    QSignalSpy total(&player, &PreviewPlayer::totalTimeChanged);
    player.play(QStringLiteral("/media/a.avi"), QStringLiteral("0:00:08"));
    EXPECT_EQ(player.totalTimeText(), "Total time:0:00:08");
    ASSERT_EQ(total.size(), 1);
    EXPECT_EQ(state.PreviewLength, 8);
    EXPECT_EQ(state.PreviewPosition, 0);

    QList<int> values;
    QStringList times;
    while (player.isTickerActive() && times.size() < 20) {
        player.tick();
        values << player.sliderValue();
        times << player.currentTimeText();
    }
    // 1/8 is 12.5 %: halves go to the even neighbour.
    EXPECT_EQ(values, QList<int>({12, 25, 38, 50, 62, 75, 88, 100}));
    EXPECT_EQ(times.first(), "0:00:01");
    EXPECT_EQ(times.last(), "0:00:08");
    EXPECT_EQ(slider.size(), 8);
}

TEST_F(Preview, TheTickerRunsEverySecond) {
    player.play(QStringLiteral("/media/a.avi"), QStringLiteral("0:00:30"));
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(test::waitFor([&] { return state.PreviewPosition >= 1; }, 3000));
    EXPECT_GE(clock.elapsed(), PreviewPlayer::TickerIntervalMs - 50);
    // A loaded machine may let more ticks pass before this looks: the labels follow the count.
    const qint32 position = state.PreviewPosition;
    EXPECT_EQ(player.currentTimeText(),
              QString::asprintf("0:%02d:%02d", position / 60, position % 60));
    // The count over the 30 s length, in percent (never a half here).
    EXPECT_EQ(player.sliderValue(), (position * 100 + 15) / 30);
}

TEST_F(Preview, SeekingAtTheEndStopsTheTickerAndLeavesThePlayerAlone) {
    player.play(QStringLiteral("/media/a.avi"), QStringLiteral("0:00:10"));
    const qint64 pid = PreviewProcessId;
    ASSERT_FALSE(folder.startOf(pid).isEmpty());

    player.seek(100);
    EXPECT_EQ(state.PreviewPosition, 10);
    EXPECT_EQ(player.currentTimeText(), "0:00:10");
    EXPECT_FALSE(player.isTickerActive());
    EXPECT_EQ(PreviewProcessId, pid);
    test::settle(200);
    EXPECT_EQ(folder.keysOf(pid), QStringList());

    // Anywhere before the end: a new start there; the ticker keeps its state (off here).
    player.seek(33);
    EXPECT_EQ(state.PreviewPosition, 3); // 3.3 rounded
    EXPECT_NE(PreviewProcessId, pid);
    EXPECT_FALSE(player.isTickerActive());
    EXPECT_EQ(folder.argumentsOf(PreviewProcessId).mid(0, 2), QStringList({"-ss", "3"}));
}

TEST_F(Preview, LastFramesStopsTheTickerAtItsFirstTick) {
    player.play(QStringLiteral("/media/a.avi"), QStringLiteral("0:00:40"));
    player.tick();
    const int slider = player.sliderValue();
    player.lastFrames();
    EXPECT_EQ(state.PreviewPosition, 40);
    EXPECT_TRUE(player.isTickerActive());
    player.tick();
    EXPECT_FALSE(player.isTickerActive());
    EXPECT_EQ(player.sliderValue(), slider); // 41/40 lies beyond 100 %
    EXPECT_EQ(player.currentTimeText(), "0:00:41");

    // A file shorter than the lead starts at 0.
    player.play(QStringLiteral("/media/b.avi"), QStringLiteral("0:00:02"));
    player.lastFrames();
    EXPECT_EQ(folder.argumentsOf(PreviewProcessId).mid(0, 2), QStringList({"-ss", "0"}));
}

TEST_F(Preview, AnEmptyVideoTimeHasNoLength) {
    player.play(QStringLiteral("/media/a.avi"), QString());
    EXPECT_NE(PreviewProcessId, 0);
    EXPECT_EQ(player.totalTimeText(), "Total time:");
    EXPECT_EQ(state.PreviewLength, 0);
    player.tick();
    EXPECT_FALSE(player.isTickerActive());
    EXPECT_EQ(player.sliderValue(), 0);
    EXPECT_EQ(player.currentTimeText(), "0:00:01");
}

TEST_F(Preview, StartsBeforeAnyPlayShowAnEmptyFileName) {
    player.firstFrame();
    EXPECT_TRUE(state.lastCommand().text.endsWith(kFirstFrameText + "\"\""));
    EXPECT_EQ(folder.argumentsOf(PreviewProcessId).last(), QString());
}

TEST_F(Preview, LongRecordingsKeepTheirTimeTexts) {
    player.play(QStringLiteral("/media/night.avi"), QStringLiteral("10:00:00"));
    EXPECT_EQ(state.PreviewLength, 36000);
    player.seek(50);
    EXPECT_EQ(player.currentTimeText(), "5:00:00");
    EXPECT_EQ(folder.argumentsOf(PreviewProcessId).mid(0, 2), QStringList({"-ss", "18000"}));
    state.PreviewPosition = 35998;
    player.tick();
    EXPECT_EQ(player.currentTimeText(), "9:59:59");
    EXPECT_EQ(player.sliderValue(), 100);
}

TEST_F(Preview, APlayerThatCannotStartLeavesTheIdAndTheTickerCounts) {
    player.play(QStringLiteral("/media/a.avi"), QStringLiteral("0:00:30"));
    const qint64 pid = PreviewProcessId;
    ASSERT_TRUE(QFile::remove(folder.path() + "/mp.dll"));
    player.seek(50);
    EXPECT_EQ(PreviewProcessId, pid);
    EXPECT_EQ(state.PreviewPosition, 15);
    player.setTickerActive(true);
    player.tick();
    EXPECT_EQ(state.PreviewPosition, 16);
}

TEST_F(Preview, EndingThePlayersOfAHostQuitsThemAndKillsWhatStaysDeaf) {
    // Another host's player, which is not touched.
    PreviewPlayer other(state, trimmingWindowOptionTexts());
    other.setHostWindow([] { return quint64(99); });
    other.useOwnFile(QStringLiteral("/media/b.avi"));
    other.firstFrame();
    const qint64 otherPid = PreviewProcessId;
    ASSERT_FALSE(folder.startOf(otherPid).isEmpty());
    EXPECT_EQ(state.PreviewFile, QString()); // the other plays its own file
    PreviewProcessId = 0;                    // as if its quit key had been lost: both players run

    // A player that never reads its quit key.
    QFile::remove(folder.path() + "/mp.dll");
    test::writeExecutableScript(folder.path() + "/mp.dll", "exec sleep 30");
    player.play(QStringLiteral("/media/a.avi"), QStringLiteral("0:00:30"));
    const qint64 deafPid = PreviewProcessId;
    ASSERT_NE(deafPid, 0);
    ASSERT_EQ(state.runningPlayers(), 2);

    QElapsedTimer clock;
    clock.start();
    player.endPlayers();
    EXPECT_GE(clock.elapsed(), PreviewState::QuitWaitMs - 50);
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_FALSE(test::processRuns(deafPid));
    EXPECT_EQ(state.runningPlayers(kHost), 0);
    EXPECT_EQ(state.runningPlayers(99), 1);
    EXPECT_TRUE(folder.keysOf(otherPid).isEmpty());
    EXPECT_FALSE(player.isTickerActive());

    // A player that quits on its key is waited for, not killed.
    other.endPlayers();
    EXPECT_EQ(folder.keysOf(otherPid), QStringList{"q"});
    EXPECT_EQ(state.runningPlayers(), 0);
}

} // namespace
