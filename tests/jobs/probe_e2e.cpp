#include "jobs/JobList.h"
#include "jobs/MediaProbe.h"
#include "platform/Paths.h"
#include "support/EventLoop.h"
#include "support/Media.h"
#include "support/Processes.h"
#include "support/ProgramFolder.h"
#include "support/Scripts.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>

namespace vidora {
namespace {

// Probes through the real mp.dll of the program folder, that is the system's MPlayer, on
// files generated here.
class ProbeE2E : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(QFileInfo::exists(QStringLiteral(VIDORA_PROGRAM_DIR "/mp.dll")))
            << "build the program folder first";
    }

    QString path(const QString& name) const { return m_dir.filePath(name); }

    QString clip(const QString& name, int seconds, const QString& size) const {
        const QString file = path(name);
        QString error;
        EXPECT_TRUE(test::generateClip(file, seconds, size, &error)) << error.toStdString();
        return file;
    }

    static void expectNothingFound(const Job& job, const QString& file) {
        EXPECT_EQ(job.path, file);
        EXPECT_EQ(job.start, "0:00:00");
        EXPECT_EQ(job.end, "");
        EXPECT_EQ(job.size, "0x0");
        EXPECT_EQ(job.format, "");
        EXPECT_EQ(job.status, "");
        EXPECT_EQ(job.videoTime, "");
    }

    // Adds the files through a prober and waits until every identify run has ended; returns
    // how many rows were added.
    static int probe(JobList& list, const QStringList& files, int parallelRuns = 0) {
        MediaProber prober(list, parallelRuns);
        const int added = prober.add(files);
        EXPECT_TRUE(test::waitFor([&] { return !prober.isBusy(); }, 60000));
        return added;
    }

    QTemporaryDir m_dir;
    const test::ProgramFolder m_programFolder{QStringLiteral(VIDORA_PROGRAM_DIR "/")};
};

TEST_F(ProbeE2E, VideoFilesWithSoundGetEveryColumn) {
    const QString avi = clip(QStringLiteral("holiday.avi"), 5, QStringLiteral("640x480"));
    const QString mp4 = clip(QStringLiteral("phone.mp4"), 3, QStringLiteral("320x240"));
    JobList list;

    ASSERT_EQ(probe(list, {avi, mp4}), 2);
    ASSERT_EQ(list.count(), 2);

    const Job first = list.at(0);
    EXPECT_EQ(first.path, avi);
    EXPECT_EQ(first.start, "0:00:00");
    EXPECT_EQ(first.end, "0:00:05");
    EXPECT_EQ(first.size, "640x480");
    EXPECT_EQ(first.format, "FMP4"); // MPlayer names MPEG-4 part 2 in AVI by its FourCC
    EXPECT_EQ(first.status, "");
    EXPECT_EQ(first.videoTime, "0:00:05");

    const Job second = list.at(1);
    EXPECT_EQ(second.path, mp4);
    EXPECT_EQ(second.start, "0:00:00");
    EXPECT_EQ(second.end, "0:00:03");
    EXPECT_EQ(second.size, "320x240");
    EXPECT_EQ(second.format, "MP4V");
    EXPECT_EQ(second.status, "");
    EXPECT_EQ(second.videoTime, "0:00:03");
}

// A file of sound alone: no size and no format, but its length (mp.dll lets the identify run
// decode the sound, without which MPlayer 1.5 reports none), so it can be converted.
TEST_F(ProbeE2E, AnAudioOnlyFileGetsItsLengthButNoSizeOrFormat) {
    const QString mp3 = path(QStringLiteral("tone.mp3"));
    ASSERT_EQ(test::runProgram(QStringLiteral("ffmpeg"),
                               {"-nostdin", "-v", "error", "-y", "-f", "lavfi", "-i",
                                "sine=frequency=440:duration=4", mp3},
                               60000),
              0);
    JobList list;
    ASSERT_EQ(probe(list, {mp3}), 1);
    const Job job = list.at(0);
    EXPECT_EQ(job.start, QStringLiteral("0:00:00"));
    EXPECT_EQ(job.end, QStringLiteral("0:00:04"));
    EXPECT_EQ(job.videoTime, QStringLiteral("0:00:04"));
    EXPECT_EQ(job.size, QStringLiteral("0x0"));
    EXPECT_TRUE(job.format.isEmpty());
}

TEST_F(ProbeE2E, AFileThatIsNotMediaAndAMissingFileKeepTheirRows) {
    const QString text = path(QStringLiteral("notes.avi"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("These are notes, not a video.\n");
    file.close();
    const QString missing = path(QStringLiteral("gone.avi"));

    JobList list;
    EXPECT_EQ(probe(list, {text, missing}), 2);
    ASSERT_EQ(list.count(), 2);
    expectNothingFound(list.at(0), text);
    expectNothingFound(list.at(1), missing);
    EXPECT_FALSE(QFileInfo::exists(missing));
}

TEST_F(ProbeE2E, APlayerThatCannotBeStartedLeavesTheRowAsNothingWasFound) {
    const QString avi = clip(QStringLiteral("a.avi"), 1, QStringLiteral("160x120"));
    const test::ProgramFolder noPlayer(path(QStringLiteral("no player here")) + u'/');
    JobList list;
    EXPECT_EQ(probe(list, {avi}), 1);
    expectNothingFound(list.at(0), avi);
}

TEST_F(ProbeE2E, NamesWithBlanksQuotesDashesAndLettersOfAnyScriptAreProbedLikeAnyOther) {
    const QString source = clip(QStringLiteral("source.avi"), 2, QStringLiteral("320x240"));
    const QStringList names = {QStringLiteral("-dash first.avi"),
                               QStringLiteral("it's a \"quoted\" name.avi"),
                               QStringLiteral("ünïcödé vidéo 動画.avi"),
                               QStringLiteral("semi;colon $(echo x) `y` & z.avi")};
    JobList list;
    for (const QString& name : names) {
        ASSERT_TRUE(QFile::copy(source, path(name))) << name.toStdString();
        ASSERT_EQ(probe(list, {path(name)}), 1);
        const Job job = list.at(list.count() - 1);
        EXPECT_EQ(job.path, path(name));
        EXPECT_EQ(job.size, "320x240") << name.toStdString();
        EXPECT_EQ(job.end, "0:00:02") << name.toStdString();
        EXPECT_EQ(job.format, "FMP4") << name.toStdString();
    }

    // A relative name with a leading dash, as a caller might hand over: kept as given in the
    // row, and not taken for an option by the player.
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(m_dir.path()));
    ASSERT_EQ(probe(list, {QStringLiteral("-dash first.avi")}), 1);
    QDir::setCurrent(previous);
    const int row = list.count() - 1;
    EXPECT_EQ(list.at(row).path, "-dash first.avi");
    EXPECT_EQ(list.at(row).size, "320x240");

    // Nothing was written next to the inputs, and they are unchanged.
    EXPECT_EQ(QFileInfo(path(names[0])).size(), QFileInfo(source).size());
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files).size(), names.size() + 1);
}

// The row exists before the player runs; events handled while it runs may change the list,
// and the probe still fills its own row.
TEST_F(ProbeE2E, TheRowComesFirstAndIsFilledWhereverItMovedMeanwhile) {
    const QString first = clip(QStringLiteral("first.avi"), 1, QStringLiteral("160x120"));
    const QString second = clip(QStringLiteral("second.avi"), 2, QStringLiteral("320x240"));
    JobList list;
    ASSERT_EQ(probe(list, {first}), 1);

    Job atAdding;
    int countAtAdding = 0;
    QObject::connect(&list, &JobList::rowAdded, &list, [&](int row) {
        atAdding = list.at(row);
        countAtAdding = list.count();
        // Runs while the player is at work: the user removes the first row.
        QTimer::singleShot(0, &list, [&] { list.remove(0); });
    });

    EXPECT_EQ(probe(list, {second}), 1);
    EXPECT_EQ(countAtAdding, 2);
    EXPECT_EQ(atAdding.path, second);
    EXPECT_TRUE(atAdding.start.isEmpty() && atAdding.size.isEmpty());

    ASSERT_EQ(list.count(), 1);
    const Job job = list.at(0);
    EXPECT_EQ(job.path, second);
    EXPECT_EQ(job.size, "320x240");
    EXPECT_EQ(job.end, "0:00:02");
}

TEST_F(ProbeE2E, AListClearedWhileThePlayerRunsStaysEmpty) {
    const QString avi = clip(QStringLiteral("a.avi"), 1, QStringLiteral("160x120"));
    JobList list;
    QObject::connect(&list, &JobList::rowAdded, &list,
                     [&] { QTimer::singleShot(0, &list, [&] { list.clear(); }); });
    probe(list, {avi});
    EXPECT_EQ(list.count(), 0);
}

TEST_F(ProbeE2E, TheSameFileTwiceGivesTwoEqualRows) {
    const QString avi = clip(QStringLiteral("twice.avi"), 1, QStringLiteral("160x120"));
    JobList list;
    ASSERT_EQ(probe(list, {avi, avi}), 2);
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.at(0).size, "160x120");
    EXPECT_EQ(list.at(1).size, "160x120");
    EXPECT_EQ(list.at(0).end, list.at(1).end);
    EXPECT_NE(list.rowId(0), list.rowId(1));
}

// Several identify runs at once: every row is there, in the order of the add, before any run
// ends, and each is filled with its own file's facts however the runs overtake each other.
TEST_F(ProbeE2E, ManyFilesAreProbedSeveralAtATimeIntoTheirOwnRows) {
    QStringList files;
    QStringList expectedEnds;
    for (int i = 0; i < 6; ++i) {
        // Longer clips first, so later runs may well end earlier.
        const int seconds = 6 - i;
        files << clip(QStringLiteral("clip %1.avi").arg(i), seconds,
                      i % 2 ? QStringLiteral("320x240") : QStringLiteral("160x120"));
        expectedEnds << QStringLiteral("0:00:0%1").arg(seconds);
    }
    JobList list;
    MediaProber prober(list, 3);
    QList<int> probedRows;
    QObject::connect(&prober, &MediaProber::rowProbed, [&](int row) { probedRows << row; });
    QList<bool> busy;
    QObject::connect(&prober, &MediaProber::busyChanged, [&](bool b) { busy << b; });
    ASSERT_EQ(prober.add(files), 6);
    ASSERT_EQ(list.count(), 6);
    for (int row = 0; row < 6; ++row) {
        EXPECT_EQ(list.at(row).path, files[row]) << row;
        EXPECT_TRUE(list.at(row).start.isEmpty()) << "no run has ended yet";
    }
    ASSERT_TRUE(test::waitFor([&] { return !prober.isBusy(); }, 60000));
    EXPECT_EQ(busy, (QList<bool>{true, false}));
    std::sort(probedRows.begin(), probedRows.end());
    EXPECT_EQ(probedRows, (QList<int>{0, 1, 2, 3, 4, 5}));
    for (int row = 0; row < 6; ++row) {
        EXPECT_EQ(list.at(row).end, expectedEnds[row]) << row;
        EXPECT_EQ(list.at(row).size, row % 2 ? "320x240" : "160x120") << row;
    }
}

// A player that never ends (a file that makes it read forever) is stopped after the timeout:
// its row shows a failed probe and the next file is probed all the same.
TEST_F(ProbeE2E, APlayerThatNeverEndsIsStoppedAndItsRowShowsTheFailure) {
    const QString avi = clip(QStringLiteral("a.avi"), 1, QStringLiteral("160x120"));
    QTemporaryDir stuck;
    ASSERT_TRUE(stuck.isValid());
    test::writeExecutableScript(stuck.filePath(QStringLiteral("mp.dll")),
                                "case \"$*\" in *never*)\n"
                                "  echo $$ > \"$(dirname \"$0\")/pid\"; exec sleep 60;;\n"
                                "esac\n"
                                "echo ID_VIDEO_WIDTH=8; echo ID_VIDEO_HEIGHT=6; echo ID_LENGTH=1");
    const test::ProgramFolder folder(stuck.path());
    JobList list;
    MediaProber prober(list, 1, 500);
    QElapsedTimer clock;
    clock.start();
    prober.add({path(QStringLiteral("never.avi")), avi});
    ASSERT_TRUE(test::waitFor([&] { return !prober.isBusy(); }, 20000));
    EXPECT_LT(clock.elapsed(), 10000);
    expectNothingFound(list.at(0), path(QStringLiteral("never.avi")));
    EXPECT_EQ(list.at(1).size, "8x6");
    QFile pidFile(stuck.filePath(QStringLiteral("pid")));
    ASSERT_TRUE(pidFile.open(QIODevice::ReadOnly));
    const qint64 first = pidFile.readAll().trimmed().toLongLong();
    ASSERT_GT(first, 0);
    EXPECT_TRUE(test::waitFor([&] { return !test::processRuns(first); }, 5000))
        << "the stuck player was ended";
}

} // namespace
} // namespace vidora
