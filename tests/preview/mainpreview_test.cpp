// The main window's preview entries with a fake player: what they play, when they are enabled,
// and that no player outlives the window.

#include "FakePlayer.h"
#include "app/MainWindow.h"
#include "platform/ToolProcesses.h"
#include "preview/PlayerEmbedding.h"
#include "preview/PreviewArea.h"
#include "preview/PreviewPlayer.h"
#include "preview/PreviewState.h"
#include "support/EventLoop.h"
#include "support/QtPrinters.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace vidora;

namespace {

const char* const kEntries[] = {"play", "PlaySelectedFile", "videoclip", "cuttime"};
const char* const kStartButtons[] = {"cmdPlay", "Command4", "Command5"};

class MainPreview : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        window = std::make_unique<MainWindow>();
        window->show();
    }
    void TearDown() override { window.reset(); }

    void addJob(const QString& path, const QString& videoTime) {
        const int row = window->jobs().append(path);
        window->jobs().setField(row, JobField::VideoTime, videoTime);
    }
    QWidget* child(const char* name) {
        return window->previewArea()->findChild<QWidget*>(QString::fromLatin1(name));
    }
    void click(const char* name) {
        QTest::mouseClick(static_cast<QPushButton*>(child(name)), Qt::LeftButton);
    }
    void select(int row) {
        QTreeView* view = window->jobListView();
        const QRect cell = view->visualRect(view->model()->index(row, 0));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    }
    QString playedFile() { return folder.argumentsOf(PreviewProcessId).value(15); }

    test::FakePlayerFolder folder;
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainPreview, EntriesFollowTheJobList) {
    const auto enabled = [&](bool expected) {
        for (const char* name : kEntries)
            EXPECT_EQ(window->action(QString::fromLatin1(name))->isEnabled(), expected) << name;
        for (const char* name : kStartButtons)
            EXPECT_EQ(child(name)->isEnabled(), expected) << name;
        EXPECT_EQ(child("Slider1")->isEnabled(), expected);
        // The keys to a running player stay at hand, whatever the list holds.
        for (const char* name : {"cmdPause", "cmdStop", "cmdBack", "cmdForward"})
            EXPECT_TRUE(child(name)->isEnabled()) << name;
    };
    enabled(false);
    addJob(QStringLiteral("/v/a.avi"), QStringLiteral("0:00:20"));
    enabled(true);
    window->jobs().remove(0);
    enabled(false);
    addJob(QStringLiteral("/v/a.avi"), QStringLiteral("0:00:20"));
    window->jobs().clear();
    enabled(false);
}

TEST_F(MainPreview, EveryPlayEntryPlaysTheSelectedJob) {
    // Nothing to play in an empty list.
    window->action(QStringLiteral("play"))->setEnabled(true);
    window->action(QStringLiteral("play"))->trigger();
    EXPECT_EQ(PreviewProcessId, 0);

    addJob(QStringLiteral("/v/one.avi"), QStringLiteral("0:00:20"));
    addJob(QStringLiteral("/v/two words.avi"), QStringLiteral("0:01:05"));
    // With no job selected, the first one plays.
    window->action(QStringLiteral("play"))->trigger();
    EXPECT_EQ(playedFile(), "/v/one.avi");

    select(1);
    EXPECT_EQ(window->previewState().PreviewFile, "/v/two words.avi");
    const qint64 first = PreviewProcessId;
    window->action(QStringLiteral("PlaySelectedFile"))->trigger();
    EXPECT_EQ(playedFile(), "/v/two words.avi");
    EXPECT_TRUE(folder.waitForKeys(first, {"q"}));
    EXPECT_EQ(static_cast<QLabel*>(child("SkinLabel10"))->text(), "Total time:0:01:05");

    select(0);
    click("cmdPlay");
    EXPECT_EQ(playedFile(), "/v/one.avi");
    const QString host = QString::number(child("Text2")->winId());
    EXPECT_EQ(folder.argumentsOf(PreviewProcessId).mid(0, 2), QStringList({"-wid", host}));

    // The labels and the slider follow the count.
    window->previewPlayer().tick();
    window->previewPlayer().tick();
    EXPECT_EQ(static_cast<QLabel*>(child("LblCurTime"))->text(), "0:00:02");
    EXPECT_EQ(static_cast<QSlider*>(child("Slider1"))->value(), 10);
    const qint64 playing = PreviewProcessId;
    click("cmdPause");
    click("cmdForward");
    click("cmdBack");
    click("cmdStop");
    EXPECT_TRUE(folder.waitForKeys(playing, {"space", "right", "left", "q"}));
    EXPECT_EQ(static_cast<QLabel*>(child("LblCurTime"))->text(), QString());
}

TEST_F(MainPreview, TheSlidersReleaseSeeks) {
    addJob(QStringLiteral("/v/one.avi"), QStringLiteral("0:01:40"));
    click("cmdPlay");
    auto* slider = static_cast<QSlider*>(child("Slider1"));
    slider->setValue(40);
    QTest::mouseRelease(slider, Qt::LeftButton);
    EXPECT_EQ(folder.argumentsOf(PreviewProcessId).mid(0, 2), QStringList({"-ss", "40"}));
    EXPECT_EQ(static_cast<QLabel*>(child("LblCurTime"))->text(), "0:00:40");
}

TEST_F(MainPreview, TheLoadingPictureGivesWayWhileAPlayerDraws) {
    addJob(QStringLiteral("/v/one.avi"), QStringLiteral("0:01:40"));
    QLabel* picture = child("Text2")->findChild<QLabel*>();
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(picture->isVisible());
    click("cmdPlay");
    const qint64 first = PreviewProcessId;
    ASSERT_FALSE(folder.startOf(first).isEmpty());
    EXPECT_FALSE(picture->isVisible());
    // A new start replaces the player: the picture stays away while the next one draws.
    click("Command4");
    ASSERT_TRUE(test::waitFor([&] { return !test::processRuns(first); }, 5000));
    test::settle(50);
    EXPECT_FALSE(picture->isVisible());
    click("cmdStop");
    EXPECT_TRUE(test::waitFor([&] { return picture->isVisible(); }, 5000));
}

TEST_F(MainPreview, NoPlayerOutlivesTheWindow) {
    addJob(QStringLiteral("/v/one.avi"), QStringLiteral("0:01:40"));
    click("cmdPlay");
    const qint64 pid = PreviewProcessId;
    ASSERT_FALSE(folder.startOf(pid).isEmpty());
    // The close box: the player is ended before its host goes.
    window->close();
    EXPECT_FALSE(test::processRuns(pid));
    EXPECT_EQ(folder.keysOf(pid), QStringList{"q"});

    window = std::make_unique<MainWindow>();
    addJob(QStringLiteral("/v/one.avi"), QStringLiteral("0:01:40"));
    click("cmdPlay");
    const qint64 second = PreviewProcessId;
    ASSERT_FALSE(folder.startOf(second).isEmpty());
    window.reset();
    EXPECT_FALSE(test::processRuns(second));
}

TEST_F(MainPreview, OnlyTheHostHasANativeWindowOfItsOwn) {
    QWidget* host = child("Text2");
    EXPECT_NE(host->winId(), 0u);
    // Its parents up to the main window stay Qt's own, whatever the application's settings.
    int parents = 0;
    for (QWidget* parent = host->parentWidget(); parent && !parent->isWindow();
         parent = parent->parentWidget(), ++parents)
        EXPECT_EQ(parent->internalWinId(), 0u) << parent->objectName().toStdString();
    EXPECT_GE(parents, 1);
}

TEST(PlayerEmbedding, AWaylandSessionAsksForXcbUnlessAPlatformWasChosen) {
    const auto platform = [](std::initializer_list<std::pair<const char*, const char*>> values) {
        QProcessEnvironment environment;
        for (const auto& [key, value] : values)
            environment.insert(QString::fromLatin1(key), QString::fromLatin1(value));
        return embeddingPlatform(environment);
    };
    EXPECT_EQ(platform({{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}}), "xcb");
    EXPECT_EQ(platform({{"XDG_SESSION_TYPE", "wayland"}, {"DISPLAY", ":1"}}), "xcb");
    EXPECT_EQ(
        platform(
            {{"WAYLAND_DISPLAY", "wayland-0"}, {"DISPLAY", ":0"}, {"QT_QPA_PLATFORM", "wayland"}}),
        "");
    // Without XWayland there is no X11 to ask for.
    EXPECT_EQ(platform({{"WAYLAND_DISPLAY", "wayland-0"}}), "");
    EXPECT_EQ(platform({{"XDG_SESSION_TYPE", "x11"}, {"DISPLAY", ":0"}}), "");
}

} // namespace
