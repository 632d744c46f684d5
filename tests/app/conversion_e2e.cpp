// The conversion run through the real main window, the real fp.dll and FFmpeg, on clips
// generated for each test.

#include "app/MainWindow.h"
#include "app/ProfileChooser.h"
#include "app/ProgressPanel.h"
#include "engine/ConversionProgress.h"
#include "platform/Desktop.h"
#include "platform/Inifun.h"
#include "platform/ToolProcesses.h"
#include "support/EventLoop.h"
#include "support/Media.h"
#include "support/PersonFolders.h"
#include "support/Processes.h"
#include "support/ProgramFolder.h"
#include "support/QtPrinters.h"
#include "support/Recorders.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>
#include <optional>
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
        m_programFolder.emplace(m_program.path());
        setting(QStringLiteral("outputfolder"), m_out.path());
        m_window = std::make_unique<MainWindow>();
        m_window->show();
        QObject::connect(&m_window->conversionRun(), &ConversionRun::totalProgressChanged,
                         [this](int percent) { totals << percent; });
        choose(2); // "Apple iPad MPEG-4 Movie(*.mp4)"
    }
    void TearDown() override {
        m_window.reset();
        m_programFolder.reset();
    }

    void setting(const QString& key, const QString& value) {
        WriteSetting(settingsFilePath(), QStringLiteral("set"), key, value);
    }
    void choose(int itemNumber) {
        m_window->profileChooser()->selectItemNumber(itemNumber);
        m_window->onProfileChosen();
    }
    QString clip(const QString& name, int seconds) {
        const QString path = m_media.filePath(name);
        QString error;
        EXPECT_TRUE(test::generateClip(path, seconds, QStringLiteral("640x480"), &error))
            << error.toStdString();
        return path;
    }
    // Adds the files as a drop does and waits until every probe has ended.
    void add(const QStringList& paths) {
        m_window->addDroppedFiles(paths);
        ASSERT_TRUE(test::waitFor([&] { return !m_window->prober().isBusy(); }, 60000));
    }
    QString status(int row) const { return m_window->jobs().field(row, JobField::Status); }
    QString out(const QString& name) const { return m_out.filePath(name); }

    QTemporaryDir m_program;
    QTemporaryDir m_media;
    QTemporaryDir m_out;
    test::MessageRecorder messages;
    test::DesktopRecorder desktop;
    std::optional<test::ProgramFolder> m_programFolder;
    std::unique_ptr<MainWindow> m_window;
    QList<int> totals;
};

class NotificationRecorder : public Notifications {
public:
    NotificationRecorder() { setNotificationsForTesting(this); }
    ~NotificationRecorder() override { setNotificationsForTesting(nullptr); }
    void notify(const QString& title, const QString& text) override {
        shown << title + u": " + text;
    }
    QStringList shown;
};

using test::waitFor;

} // namespace

TEST_F(Conversion, ThreeJobsGiveValidFilesAndTheBarSequence) {
    add({clip(QStringLiteral("one.avi"), 2), clip(QStringLiteral("two clip ü.avi"), 2),
         clip(QStringLiteral("it's three.avi"), 2)});
    ASSERT_EQ(m_window->jobs().count(), 3);
    m_window->action(QStringLiteral("BurnNow"))->trigger();
    EXPECT_EQ(status(0), QStringLiteral("OK"));
    EXPECT_EQ(status(1), QStringLiteral("OK"));
    EXPECT_EQ(status(2), QStringLiteral("OK"));
    EXPECT_EQ(totals, (QList<int>{33, 67, 100, 100, 0}));
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
    choose(93); // "Customized WMV Movie(*.wmv)": a long clip takes a while
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
            m_window->progressPanel()->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
        });
    });
    m_window->convertNow();
    EXPECT_EQ(status(0), QStringLiteral("OK"));
    EXPECT_EQ(status(1), QStringLiteral("Cancel"));
    EXPECT_EQ(status(2), QString());
    EXPECT_EQ(messages.shown, QStringList{"error: Conversion Canceled by the user!\n1 converted, "
                                          "0 failed, 1 cancelled."});
    EXPECT_EQ(m_window->progressPanel()->totalPercent(), 0);
    EXPECT_EQ(m_window->progressPanel()->jobPercent(), 0);
    EXPECT_FALSE(m_window->progressPanel()->isVisible());
    EXPECT_TRUE(desktop.requests.isEmpty());
    // The encoder stops on its key, well before the long clip could be done.
    ASSERT_GT(encoder, 0);
    EXPECT_TRUE(waitFor([&] { return !test::processRuns(encoder); }, 5000));
    EXPECT_TRUE(m_window->action(QStringLiteral("AddFiles"))->isEnabled());
    // The cancelled job leaves nothing, under its final name or its temporary one.
    EXPECT_EQ(QDir(m_out.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("a.wmv")});
}

TEST_F(Conversion, MissingInputStopsTheRun) {
    const QString gone = clip(QStringLiteral("gone.avi"), 1);
    add({clip(QStringLiteral("a.avi"), 1), gone, clip(QStringLiteral("c.avi"), 1)});
    QFile::remove(gone);
    m_window->convertNow();
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
    m_window->convertNow();
    EXPECT_EQ(status(0), QStringLiteral("Fail"));
    EXPECT_EQ(status(1), QStringLiteral("Fail"));
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_TRUE(messages.shown[0].startsWith(u"information: Conversion completed!\n0 converted, 2 "
                                             u"failed, 0 cancelled."));
}

TEST_F(Conversion, ExistingOutputsGetNewNamesOrAreOverwritten) {
    add({clip(QStringLiteral("clip.avi"), 1)});
    QFile existing(out(QStringLiteral("clip.mp4")));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("an older file");
    existing.close();

    m_window->convertNow();
    EXPECT_EQ(status(0), QStringLiteral("OK"));
    EXPECT_TRUE(test::probeMedia(out(QStringLiteral("clip_New.mp4"))).hasVideo);
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll(), QByteArray("an older file"));
    existing.close();

    setting(QStringLiteral("existedfile"), QStringLiteral("1"));
    m_window->convertNow();
    EXPECT_EQ(status(0), QStringLiteral("OK"));
    EXPECT_TRUE(test::probeMedia(out(QStringLiteral("clip.mp4"))).hasVideo);
    EXPECT_FALSE(QFile::exists(out(QStringLiteral("clip_New_New.mp4"))));
}

TEST_F(Conversion, WithoutAnOutputFolderTheVideosFolderGetsTheFiles) {
    const test::PersonFolders person;
    setting(QStringLiteral("outputfolder"), QString());
    add({clip(QStringLiteral("a.avi"), 1)});
    m_window->convertNow();
    EXPECT_EQ(status(0), QStringLiteral("OK"));
    EXPECT_TRUE(test::probeMedia(QDir(person.videos()).filePath(QStringLiteral("a.mp4"))).hasVideo);
    EXPECT_FALSE(QFile::exists(m_program.filePath(QStringLiteral("a.mp4"))));
    EXPECT_EQ(desktop.requests, QStringList{u"folder: " + person.videos()});
}

TEST_F(Conversion, AReadOnlyProgramFolderStillConverts) {
    const test::PersonFolders person;
    // As after a system-wide install: the program folder is someone else's, and its files
    // only readable and runnable.
    m_programFolder.reset();
    m_programFolder.emplace(m_program.path(), test::ProgramFolder::Access::ReadOnly);
    ASSERT_TRUE(QFile::remove(m_program.filePath(QStringLiteral("settings.dat"))));
    const QFile::Permissions readable = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                        QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(m_program.path(), readable));
    setting(QStringLiteral("outputfolder"), m_out.path());
    add({clip(QStringLiteral("a.avi"), 2)});
    m_window->convertNow();
    EXPECT_EQ(status(0), QStringLiteral("OK"))
        << m_window->jobs().field(0, JobField::StatusDetail).toStdString();
    EXPECT_TRUE(test::probeMedia(out(QStringLiteral("a.mp4"))).hasVideo);
    // The statistics and the settings went to the person's data folder.
    EXPECT_FALSE(
        ReadLastLineOfFile(person.programData() + QStringLiteral("/curconvert.log")).isEmpty());
    EXPECT_EQ(ReadSetting(person.programData() + QStringLiteral("/settings.dat"),
                          QStringLiteral("set"), QStringLiteral("outputfolder")),
              m_out.path());
    // Closing writes the profile there too, while the folders are still the test's.
    m_window->close();
    m_window.reset();
    EXPECT_EQ(QDir(m_program.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              (QStringList{"fp.dll", "mp.dll"}));
    EXPECT_EQ(ReadSetting(person.programData() + QStringLiteral("/settings.dat"),
                          QStringLiteral("set"), QStringLiteral("profile")),
              QStringLiteral("2"));
    QFile::setPermissions(m_program.path(), readable | QFile::WriteOwner);
}

TEST_F(Conversion, StartAndEndTimesTrimTheJob) {
    add({clip(QStringLiteral("long.avi"), 8)});
    m_window->jobs().setField(0, JobField::Start, QStringLiteral("0:00:02"));
    m_window->jobs().setField(0, JobField::End, QStringLiteral("0:00:05"));
    m_window->convertNow();
    EXPECT_EQ(status(0), QStringLiteral("OK"));
    EXPECT_NEAR(test::probeMedia(out(QStringLiteral("long.mp4"))).duration, 3.0, 0.5);
}

TEST_F(Conversion, EncoderErrorFailsTheJobAndTellsWhy) {
    const QString fake = m_media.filePath(QStringLiteral("not a video.avi"));
    QFile text(fake);
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("this is not a video\n");
    text.close();
    const QString empty = m_media.filePath(QStringLiteral("empty.mp4"));
    QFile(empty).open(QIODevice::WriteOnly);
    add({fake, clip(QStringLiteral("good.avi"), 1), empty});
    m_window->convertNow();
    EXPECT_EQ(status(0), QStringLiteral("Fail"));
    EXPECT_EQ(status(1), QStringLiteral("OK"));
    EXPECT_EQ(status(2), QStringLiteral("Fail"));
    for (int row : {0, 2})
        EXPECT_TRUE(m_window->jobs()
                        .field(row, JobField::StatusDetail)
                        .startsWith(u"No video or audio found in this file"))
            << m_window->jobs().field(row, JobField::StatusDetail).toStdString();
    EXPECT_EQ(totals, (QList<int>{33, 100, 0}));
    QFile unchanged(fake);
    ASSERT_TRUE(unchanged.open(QIODevice::ReadOnly));
    EXPECT_EQ(unchanged.readAll(), QByteArray("this is not a video\n"));
}

TEST_F(Conversion, AClipConvertsToItsTrueEnd) {
    // The list shows whole seconds: 3.448 s reads 0:00:03, 0.4 s reads 0:00:00.
    QStringList clips;
    for (const char* length : {"3.448", "0.4"}) {
        const QString path =
            m_media.filePath(QStringLiteral("len%1.avi").arg(QLatin1StringView(length)));
        ASSERT_EQ(test::runProgram(QStringLiteral("ffmpeg"),
                                   {QStringLiteral("-nostdin"), QStringLiteral("-v"),
                                    QStringLiteral("error"), QStringLiteral("-f"),
                                    QStringLiteral("lavfi"), QStringLiteral("-i"),
                                    QStringLiteral("testsrc=size=320x240:rate=25:duration=%1")
                                        .arg(QLatin1StringView(length)),
                                    QStringLiteral("-c:v"), QStringLiteral("mpeg4"), path},
                                   60000),
                  0);
        clips << path;
    }
    add(clips);
    ASSERT_EQ(m_window->jobs().field(0, JobField::End), QStringLiteral("0:00:03"));
    ASSERT_EQ(m_window->jobs().field(1, JobField::End), QStringLiteral("0:00:00"));
    m_window->convertNow();
    EXPECT_EQ(status(0), QStringLiteral("OK"));
    EXPECT_EQ(status(1), QStringLiteral("OK"));
    EXPECT_NEAR(test::probeMedia(out(QStringLiteral("len3.mp4"))).duration, 3.448, 0.1);
    const test::MediaInfo shortOne = test::probeMedia(out(QStringLiteral("len0.mp4")));
    EXPECT_TRUE(shortOne.hasVideo);
    EXPECT_NEAR(shortOne.duration, 0.4, 0.1);
}

TEST_F(Conversion, NoOutputReplacesAnotherInputOfTheList) {
    setting(QStringLiteral("existedfile"), QStringLiteral("1"));
    setting(QStringLiteral("outputfolder"), m_media.path());
    choose(92); // "Customized AVI Movie(*.avi)"
    const QString original = clip(QStringLiteral("clip.avi"), 1);
    const QString second = clip(QStringLiteral("clip.v2.avi"), 1);
    QFile file(original);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    add({original, second});
    m_window->convertNow();
    EXPECT_EQ(status(0), QStringLiteral("Fail"));
    EXPECT_EQ(status(1), QStringLiteral("Fail"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before) << "the listed clip.avi is untouched";
}

TEST_F(Conversion, AKilledEncoderFailsTheJobWithTheSignal) {
    add({clip(QStringLiteral("long.avi"), 60), clip(QStringLiteral("after.avi"), 1)});
    ConversionRun& run = m_window->conversionRun();
    bool unfinishedFileSeen = false;
    QObject::connect(&run, &ConversionRun::jobCaptionChanged, [&](const QString& caption) {
        if (caption.contains(u"long.avi"))
            QTimer::singleShot(700, m_window.get(), [&] {
                // The encoder writes under the hidden name the run removes after it is killed.
                unfinishedFileSeen = QFileInfo(out(QStringLiteral(".long.part.mp4"))).size() > 0;
                if (EncoderProcessId > 0)
                    ::kill(static_cast<pid_t>(EncoderProcessId), SIGKILL);
            });
    });
    m_window->convertNow();
    EXPECT_TRUE(unfinishedFileSeen);
    EXPECT_EQ(QDir(m_out.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("after.mp4")});
    EXPECT_EQ(status(0), QStringLiteral("Fail"));
    EXPECT_TRUE(m_window->jobs()
                    .field(0, JobField::StatusDetail)
                    .startsWith(u"The encoder was stopped (signal 9)"))
        << m_window->jobs().field(0, JobField::StatusDetail).toStdString();
    EXPECT_EQ(status(1), QStringLiteral("OK"));
}

TEST_F(Conversion, TheEndIsToldInTheMessageAndOnTheDesktopWhenTheWindowIsNotActive) {
    NotificationRecorder notifications;
    const QString broken = m_media.filePath(QStringLiteral("broken.avi"));
    QFile(broken).open(QIODevice::WriteOnly);
    add({clip(QStringLiteral("good.avi"), 1), broken});
    const QString expected = QStringLiteral("Conversion completed!\n1 converted, 1 failed, 0 "
                                            "cancelled. Point at a \"Fail\" status to see why.");
    QApplication::setActiveWindow(m_window.get());
    m_window->convertNow();
    EXPECT_EQ(messages.shown, QStringList{u"information: " + expected});
    EXPECT_TRUE(notifications.shown.isEmpty()) << "the person is looking at the window";

    // The person keeps working in another window. On the offscreen platform showing the
    // progress panel activates the converter's window, so the focus is taken back each time.
    QWidget elsewhere;
    elsewhere.show();
    QApplication::setActiveWindow(&elsewhere);
    QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, &elsewhere,
                     [&elsewhere](QWindow* focused) {
                         if (focused != elsewhere.windowHandle())
                             QApplication::setActiveWindow(&elsewhere);
                     });
    m_window->convertNow();
    EXPECT_FALSE(m_window->isActiveWindow());
    EXPECT_EQ(notifications.shown, QStringList{u"Vidora: " + expected});
}

TEST_F(Conversion, ThePanelShowsTheTimeLeftAndTheTitleTheTotal) {
    add({clip(QStringLiteral("long.avi"), 60), clip(QStringLiteral("b.avi"), 10)});
    ProgressPanel* panel = m_window->progressPanel();
    QString timeLeft;
    QString title;
    QObject::connect(&m_window->conversionRun(), &ConversionRun::jobCaptionChanged, [&] {
        QTimer::singleShot(0, m_window.get(), [&] {
            waitFor([&] { return !panel->timeLeftText().isEmpty(); }, 20000);
            timeLeft = panel->timeLeftText();
            title = m_window->windowTitle();
            m_window->conversionRun().requestCancel();
        });
    });
    m_window->convertNow();
    // "0:00:12 (all jobs 0:00:13)": this job's and the run's.
    EXPECT_TRUE(
        QRegularExpression(QStringLiteral("^\\d+:\\d\\d:\\d\\d \\(all jobs \\d+:\\d\\d:\\d\\d\\)$"))
            .match(timeLeft)
            .hasMatch())
        << timeLeft.toStdString();
    EXPECT_EQ(title, QStringLiteral("0% - Vidora"));
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("Vidora"));
    EXPECT_TRUE(panel->timeLeftText().isEmpty());
}
