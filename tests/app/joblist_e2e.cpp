// The job list in the real main window, filled by the real MPlayer through mp.dll.

#include "app/ButtonBar.h"
#include "app/MainWindow.h"
#include "profiles/OptionSheet.h"
#include "support/EventLoop.h"
#include "support/Media.h"
#include "support/ProgramFolder.h"
#include "support/QtPrinters.h"
#include "support/Recorders.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <QUrl>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>

using namespace vidora;

namespace {

class JobListWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_program.isValid() && m_media.isValid());
        ASSERT_TRUE(QFile::link(QStringLiteral(VIDORA_PROGRAM_DIR "/mp.dll"),
                                m_program.filePath(QStringLiteral("mp.dll"))));
        m_programFolder.emplace(m_program.path());
        m_window = std::make_unique<MainWindow>();
        m_window->show();
    }
    void TearDown() override {
        m_window.reset();
        m_programFolder.reset();
    }
    QString clip(const QString& name, int seconds) {
        const QString path = m_media.filePath(name);
        EXPECT_TRUE(test::generateClip(path, seconds));
        return path;
    }
    QString text(const QString& name) {
        const QString path = m_media.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a video");
        return path;
    }
    // Drops files on the list the way a file manager does: file URLs. Returns whether the list
    // took the drag.
    bool drop(const QStringList& paths, bool waitForProbes = true) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& path : paths)
            urls << QUrl::fromLocalFile(path);
        data.setUrls(urls);
        QWidget* viewport = m_window->jobListView()->viewport();
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &enter);
        QDropEvent event(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &event);
        if (waitForProbes) {
            EXPECT_TRUE(test::waitFor([&] { return !m_window->prober().isBusy(); }, 60000));
        }
        return enter.isAccepted();
    }
    QStringList paths() const {
        QStringList all;
        for (int row = 0; row < m_window->jobs().count(); ++row)
            all << m_window->jobs().field(row, JobField::Path);
        return all;
    }
    QString sheetValue(const char* category, const char* item) {
        OptionSheet& sheet = m_window->optionSheet();
        return sheet
            .GetValue(sheet.itemAt(QString::fromLatin1(category), QString::fromLatin1(item)))
            .value_or(QString());
    }

    QTemporaryDir m_program;
    QTemporaryDir m_media;
    test::MessageRecorder messages;
    std::optional<test::ProgramFolder> m_programFolder;
    std::unique_ptr<MainWindow> m_window;
};

} // namespace

TEST_F(JobListWindow, DropStopsAtTheFirstFileThatIsNotAVideo) {
    const QString avi = clip(QStringLiteral("first clip.avi"), 1);
    const QString notes = text(QStringLiteral("notes.txt"));
    const QString mp4 = clip(QStringLiteral("second.mp4"), 1);
    EXPECT_TRUE(drop({avi, notes, mp4}));
    EXPECT_EQ(paths(), QStringList{avi});
    EXPECT_EQ(messages.shown, QStringList{"information: Only Video files are allowed!"});
    const QStringList headers{"File Name", "Start",  "End",       "Size",
                              "Format",    "Status", "Video Time"};
    for (int column = 0; column < headers.size(); ++column)
        EXPECT_EQ(m_window->jobListView()->model()->headerData(column, Qt::Horizontal).toString(),
                  headers[column]);
    const auto cell = [this](int column) {
        return m_window->jobListView()->model()->index(0, column).data().toString();
    };
    EXPECT_EQ(cell(1), QStringLiteral("0:00:00"));
    EXPECT_EQ(cell(2), QStringLiteral("0:00:01"));
    EXPECT_EQ(cell(3), QStringLiteral("640x480"));
    EXPECT_FALSE(cell(4).isEmpty());
    EXPECT_EQ(cell(6), QStringLiteral("0:00:01"));
}

TEST_F(JobListWindow, OddNamesAreListedLikeAnyOther) {
    // FFmpeg picks the container by the ending: write an AVI, then give it the odd name.
    const QString odd = m_media.filePath(QStringLiteral("-it's a \"quoted\" clip é.STORM"));
    ASSERT_TRUE(QFile::rename(clip(QStringLiteral("plain.avi"), 1), odd));
    drop({odd, odd});
    EXPECT_EQ(paths(), (QStringList{odd, odd}));
    EXPECT_EQ(m_window->jobs().field(1, JobField::Size), QStringLiteral("640x480"));
    EXPECT_TRUE(messages.shown.isEmpty());
}

TEST_F(JobListWindow, RemoveAndClearWorkOnTheSelection) {
    const QString a = clip(QStringLiteral("a.avi"), 1);
    drop({a, a, a});
    ASSERT_EQ(m_window->jobs().count(), 3);
    m_window->action(QStringLiteral("RemoveSelectedFile"))->trigger();
    EXPECT_EQ(m_window->jobs().count(), 3) << "no selection, nothing removed";
    QTreeView* view = m_window->jobListView();
    view->setCurrentIndex(view->model()->index(1, 0));
    m_window->action(QStringLiteral("RemoveSelectedItem"))->trigger();
    EXPECT_EQ(m_window->jobs().count(), 2);
    m_window->action(QStringLiteral("ClearAllItems"))->trigger();
    EXPECT_EQ(m_window->jobs().count(), 0);
}

TEST_F(JobListWindow, ClickShowsTheJobInTheSheet) {
    const QString a = clip(QStringLiteral("shown.avi"), 2);
    m_window->lvwAudioTracks_Click(); // an empty list changes nothing
    EXPECT_EQ(sheetValue("General", "Item Name"), QStringLiteral("Auto"));
    drop({a});
    m_window->jobs().setField(0, JobField::End, QStringLiteral("0:05:10"));
    QTreeView* view = m_window->jobListView();
    view->setCurrentIndex(view->model()->index(0, 2));
    m_window->lvwAudioTracks_Click();
    EXPECT_EQ(sheetValue("General", "Item Name"), a);
    EXPECT_EQ(sheetValue("Output Duration", "Start Time"), QStringLiteral("0:00:00"));
    EXPECT_EQ(sheetValue("Output Duration", "Stop Time"), QStringLiteral("0:05:10"));
    EXPECT_EQ(sheetValue("Output Duration", "All Clip Duration"), QStringLiteral("0:00:02"));
}

TEST_F(JobListWindow, ListCannotChangeWhileARunIsInProgress) {
    const QString a = clip(QStringLiteral("a.avi"), 1);
    drop({a});
    emit m_window->conversionRun().runningChanged(true);
    EXPECT_FALSE(m_window->action(QStringLiteral("AddFiles"))->isEnabled());
    EXPECT_FALSE(m_window->action(QStringLiteral("ClearAllFiles"))->isEnabled());
    EXPECT_FALSE(m_window->action(QStringLiteral("BurnNow"))->isEnabled());
    // The settings and the help stay at hand: the run has read its settings when it started.
    EXPECT_TRUE(m_window->buttonBar()->button(QStringLiteral("Image10"))->isEnabled());
    EXPECT_TRUE(m_window->buttonBar()->button(QStringLiteral("Image8"))->isEnabled());
    EXPECT_FALSE(drop({a}));
    m_window->clearAllFiles();
    EXPECT_EQ(m_window->jobs().count(), 1);
    emit m_window->conversionRun().runningChanged(false);
    EXPECT_TRUE(m_window->action(QStringLiteral("AddFiles"))->isEnabled());
}

TEST_F(JobListWindow, ConvertingStaysLockedUntilEveryProbeOfEveryAddHasEnded) {
    const QString a = clip(QStringLiteral("a.avi"), 1);
    const QString b = clip(QStringLiteral("b.avi"), 1);
    QAction* convert = m_window->action(QStringLiteral("BurnNow"));
    ASSERT_TRUE(convert->isEnabled());
    drop({a, a, a}, false);
    EXPECT_FALSE(convert->isEnabled());
    // A second add while the first is still probing; the first add's runs end meanwhile.
    QCoreApplication::processEvents();
    drop({b, b, b}, false);
    bool everOfferedEarly = false;
    QObject::connect(&m_window->prober(), &MediaProber::rowProbed, [&] {
        everOfferedEarly |= convert->isEnabled() && m_window->prober().isBusy();
    });
    // Converting now would meet rows without their times: it does nothing.
    m_window->convertNow();
    EXPECT_FALSE(m_window->conversionRun().isRunning());
    EXPECT_TRUE(messages.shown.isEmpty());
    ASSERT_TRUE(test::waitFor([&] { return !m_window->prober().isBusy(); }, 60000));
    EXPECT_FALSE(everOfferedEarly);
    EXPECT_TRUE(convert->isEnabled());
    EXPECT_TRUE(m_window->action(QStringLiteral("convertnow1"))->isEnabled());
    ASSERT_EQ(m_window->jobs().count(), 6);
    for (int row = 0; row < 6; ++row)
        EXPECT_EQ(m_window->jobs().field(row, JobField::End), QStringLiteral("0:00:01")) << row;
}

TEST_F(JobListWindow, FilesThatWouldBreakTheListAreRefusedOnceAndTheOthersArrive) {
    const QString good = clip(QStringLiteral("good.avi"), 1);
    const QString forged = m_media.filePath(QStringLiteral("x\nID_LENGTH=99\n.avi"));
    QFile(forged).open(QIODevice::WriteOnly);
    const QString pipe = m_media.filePath(QStringLiteral("pipe.avi"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
    const QString zero = m_media.filePath(QStringLiteral("zero.avi"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    QElapsedTimer clock;
    clock.start();
    m_window->addDroppedFiles({forged, pipe, good, zero});
    ASSERT_TRUE(test::waitFor([&] { return !m_window->prober().isBusy(); }, 60000));
    EXPECT_LT(clock.elapsed(), 20000) << "no probe hangs on a pipe or a device";
    EXPECT_EQ(paths(), QStringList{good});
    EXPECT_EQ(m_window->jobs().field(0, JobField::Size), QStringLiteral("640x480"));
    ASSERT_EQ(messages.shown.size(), 1);
    for (const QString& refused : {forged, pipe, zero})
        EXPECT_TRUE(messages.shown[0].contains(refused)) << refused.toStdString();
    EXPECT_TRUE(messages.shown[0].startsWith(QStringLiteral("error: These files were not added")));
}

TEST_F(JobListWindow, ClearingAndRemovingAreUndoneAndDeleteRemovesTheSelectedRow) {
    const QString a = clip(QStringLiteral("a.avi"), 1);
    const QString b = clip(QStringLiteral("b.avi"), 2);
    drop({a, b});
    m_window->jobs().setField(1, JobField::Start, QStringLiteral("0:00:01"));
    QAction* undo = m_window->action(QStringLiteral("undo"));
    EXPECT_EQ(undo->shortcut(), QKeySequence(QStringLiteral("Ctrl+Z")));
    EXPECT_FALSE(undo->isEnabled());

    // Ctrl+C, pressed to copy, clears the list: Ctrl+Z brings it back with its trims.
    m_window->action(QStringLiteral("ClearAllFiles"))->trigger();
    EXPECT_EQ(m_window->jobs().count(), 0);
    ASSERT_TRUE(undo->isEnabled());
    undo->trigger();
    EXPECT_EQ(paths(), (QStringList{a, b}));
    EXPECT_EQ(m_window->jobs().field(1, JobField::Start), QStringLiteral("0:00:01"));
    EXPECT_FALSE(undo->isEnabled());

    QTreeView* view = m_window->jobListView();
    view->setFocus();
    view->setCurrentIndex(view->model()->index(0, 0));
    QTest::keyClick(view, Qt::Key_Delete);
    EXPECT_EQ(paths(), QStringList{b});
    undo->trigger();
    EXPECT_EQ(paths(), (QStringList{a, b}));

    // While a run goes on nothing is undone.
    m_window->action(QStringLiteral("RemoveSelectedFile"))->trigger();
    emit m_window->conversionRun().runningChanged(true);
    EXPECT_FALSE(undo->isEnabled());
    emit m_window->conversionRun().runningChanged(false);
    EXPECT_TRUE(undo->isEnabled());
}
