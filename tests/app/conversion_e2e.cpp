// The conversion run through the real main window, the real fp.dll and FFmpeg, on clips
// generated for each test.

#include "app/Form1.h"
#include "app/ProfileChooser.h"
#include "app/ProgressPanel.h"
#include "platform/Inifun.h"
#include "platform/Paths.h"
#include "platform/ToolProcesses.h"
#include "support/Media.h"
#include "support/QtPrinters.h"
#include "support/Recorders.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <signal.h>

using namespace vidora;

namespace {

class Conversion : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_program.isValid() && m_media.isValid() && m_out.isValid());
        for (const char* tool : {"fp.dll", "mp.dll"})
            ASSERT_TRUE(
                QFile::link(QStringLiteral(VIDORA_PROGRAM_DIR "/") + QLatin1StringView(tool),
                            m_program.filePath(QLatin1StringView(tool))));
        setAppFolderForTesting(m_program.path());
        setting(QStringLiteral("outputfolder"), m_out.path());
        m_window = std::make_unique<Form1>();
        m_window->show();
        QObject::connect(&m_window->conversionRun(), &ConversionRun::totalProgressChanged,
                         [this](int percent) { totals << percent; });
        choose(2); // "Apple iPad MPEG-4 Movie(*.mp4)"
    }
    void TearDown() override {
        m_window.reset();
        setAppFolderForTesting(QString());
    }

    void setting(const QString& key, const QString& value) {
        WriteSetting(settingsFilePath(), QStringLiteral("set"), key, value);
    }
    void choose(int itemNumber) {
        m_window->profileChooser()->selectItemNumber(itemNumber);
        m_window->ImageCombo1_Click();
    }
    QString clip(const QString& name, int seconds) {
        const QString path = m_media.filePath(name);
        QString error;
        EXPECT_TRUE(test::generateClip(path, seconds, QStringLiteral("640x480"), &error))
            << error.toStdString();
        return path;
    }
    void add(const QStringList& paths) { m_window->addDroppedFiles(paths); }
    QString status(int row) const { return m_window->jobs().field(row, JobField::Status); }
    QString out(const QString& name) const { return m_out.filePath(name); }

    QTemporaryDir m_program;
    QTemporaryDir m_media;
    QTemporaryDir m_out;
    test::MessageRecorder messages;
    test::DesktopRecorder desktop;
    std::unique_ptr<Form1> m_window;
    QList<int> totals;
};

bool processRuns(qint64 pid) {
    return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) == 0;
}

} // namespace

TEST_F(Conversion, ThreeJobsGiveValidFilesAndTheBarSequence) {
    add({clip(QStringLiteral("one.avi"), 2), clip(QStringLiteral("two clip ü.avi"), 2),
         clip(QStringLiteral("it's three.avi"), 2)});
    ASSERT_EQ(m_window->jobs().count(), 3);
    m_window->action(QStringLiteral("BurnNow"))->trigger();
    EXPECT_EQ(status(0), QStringLiteral("OK"));
    EXPECT_EQ(status(1), QStringLiteral("OK"));
    EXPECT_EQ(status(2), QStringLiteral("OK"));
    EXPECT_EQ(totals, (QList<int>{33, 66, 99, 100, 0}));
    EXPECT_EQ(messages.shown, QStringList{"information: Conversion completed!"});
    EXPECT_EQ(desktop.requests, QStringList{u"folder: " + m_out.path()});
    EXPECT_FALSE(m_window->progressPanel()->isVisible());
    for (const char* name : {"one.mp4", "two clip ü.mp4", "it's three.mp4"}) {
        const test::MediaInfo info = test::probeMedia(out(QString::fromUtf8(name)));
        EXPECT_TRUE(info.hasVideo && info.hasAudio) << name;
        EXPECT_NEAR(info.duration, 2.0, 0.5) << name;
        EXPECT_EQ(info.width, 1024) << name; // the iPad profile's size
    }
}

TEST_F(Conversion, CancelDuringTheSecondJobStopsItsEncoder) {
    choose(93); // "Customized AVI Movie(*.avi)": a long clip takes a while
    add({clip(QStringLiteral("a.mkv"), 1), clip(QStringLiteral("long.mkv"), 60),
         clip(QStringLiteral("c.mkv"), 1)});
    ConversionRun& run = m_window->conversionRun();
    qint64 encoder = 0;
    QObject::connect(&run, &ConversionRun::jobCaptionChanged, [&](const QString& caption) {
        if (!caption.contains(u"long.mkv"))
            return;
        QTimer::singleShot(700, m_window.get(), [&] {
            encoder = EncoderProcessId;
            EXPECT_TRUE(m_window->progressPanel()->isVisible());
            m_window->progressPanel()->Command1->click();
        });
    });
    m_window->BurnNow_Click();
    EXPECT_EQ(status(0), QStringLiteral("OK"));
    EXPECT_EQ(status(1), QStringLiteral("Cancel"));
    EXPECT_EQ(status(2), QString());
    EXPECT_EQ(messages.shown, QStringList{"error: Conversion Canceled by the user!"});
    EXPECT_EQ(m_window->progressPanel()->prgTotalProgress->percent(), 0);
    EXPECT_EQ(m_window->progressPanel()->prgTrackProgress->percent(), 0);
    EXPECT_FALSE(m_window->progressPanel()->isVisible());
    EXPECT_TRUE(desktop.requests.isEmpty());
    // The encoder stops on its key, well before the long clip could be done.
    QElapsedTimer clock;
    clock.start();
    while (processRuns(encoder) && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_FALSE(processRuns(encoder));
    EXPECT_TRUE(m_window->action(QStringLiteral("AddFiles"))->isEnabled());
}

TEST_F(Conversion, MissingInputStopsTheRun) {
    const QString gone = clip(QStringLiteral("gone.avi"), 1);
    add({clip(QStringLiteral("a.avi"), 1), gone, clip(QStringLiteral("c.avi"), 1)});
    QFile::remove(gone);
    m_window->BurnNow_Click();
    EXPECT_EQ(status(0), QStringLiteral("OK"));
    EXPECT_EQ(status(1), QString());
    EXPECT_EQ(status(2), QString());
    EXPECT_EQ(messages.shown, QStringList{u"error: Invalid input file name. " + gone});
    EXPECT_FALSE(m_window->progressPanel()->isVisible());
    EXPECT_EQ(m_window->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(Conversion, HeaderRowFailsEveryJob) {
    choose(1); // "Apple iPad" heading
    add({clip(QStringLiteral("a.avi"), 1), clip(QStringLiteral("b.avi"), 1)});
    m_window->BurnNow_Click();
    EXPECT_EQ(status(0), QStringLiteral("Fail"));
    EXPECT_EQ(status(1), QStringLiteral("Fail"));
    EXPECT_EQ(messages.shown, QStringList{"information: Conversion completed!"});
}

TEST_F(Conversion, ExistingOutputsGetNewNamesOrAreOverwritten) {
    add({clip(QStringLiteral("clip.avi"), 1)});
    QFile existing(out(QStringLiteral("clip.mp4")));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("an older file");
    existing.close();

    m_window->BurnNow_Click();
    EXPECT_EQ(status(0), QStringLiteral("OK"));
    EXPECT_TRUE(test::probeMedia(out(QStringLiteral("clip_New.mp4"))).hasVideo);
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll(), QByteArray("an older file"));
    existing.close();

    setting(QStringLiteral("existedfile"), QStringLiteral("1"));
    m_window->BurnNow_Click();
    EXPECT_EQ(status(0), QStringLiteral("OK"));
    EXPECT_TRUE(test::probeMedia(out(QStringLiteral("clip.mp4"))).hasVideo);
    EXPECT_FALSE(QFile::exists(out(QStringLiteral("clip_New_New.mp4"))));
}

TEST_F(Conversion, WithoutAnOutputFolderTheProgramFolderGetsTheFiles) {
    setting(QStringLiteral("outputfolder"), QString());
    add({clip(QStringLiteral("a.avi"), 1)});
    m_window->BurnNow_Click();
    EXPECT_EQ(status(0), QStringLiteral("OK"));
    EXPECT_TRUE(test::probeMedia(m_program.filePath(QStringLiteral("a.mp4"))).hasVideo);
    EXPECT_EQ(desktop.requests, QStringList{u"folder: " + m_program.path()});
}

TEST_F(Conversion, StartAndEndTimesTrimTheJob) {
    add({clip(QStringLiteral("long.avi"), 8)});
    m_window->jobs().setField(0, JobField::Start, QStringLiteral("0:00:02"));
    m_window->jobs().setField(0, JobField::End, QStringLiteral("0:00:05"));
    m_window->BurnNow_Click();
    EXPECT_EQ(status(0), QStringLiteral("OK"));
    EXPECT_NEAR(test::probeMedia(out(QStringLiteral("long.mp4"))).duration, 3.0, 0.5);
}

TEST_F(Conversion, EncoderErrorFailsTheJobAndTellsWhy) {
    const QString fake = m_media.filePath(QStringLiteral("not a video.avi"));
    QFile text(fake);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("this is not a video\n");
    text.close();
    add({fake, clip(QStringLiteral("good.avi"), 1)});
    m_window->BurnNow_Click();
    EXPECT_EQ(status(0), QStringLiteral("Fail"));
    EXPECT_FALSE(m_window->jobs().field(0, JobField::StatusDetail).isEmpty());
    EXPECT_EQ(status(1), QStringLiteral("OK"));
    EXPECT_EQ(totals, (QList<int>{50, 100, 0}));
    QFile unchanged(fake);
    ASSERT_TRUE(unchanged.open(QIODevice::ReadOnly));
    EXPECT_EQ(unchanged.readAll(), QByteArray("this is not a video\n"));
}
