// The trimming window Form2 on its own and as the main window opens it, under the offscreen
// platform with a fake player.

#include "FakePlayer.h"
#include "app/MainWindow.h"
#include "platform/ToolProcesses.h"
#include "preview/ClipTrim.h"
#include "preview/PreviewArea.h"
#include "preview/PreviewPlayer.h"
#include "preview/PreviewState.h"
#include "preview/TrimmingWindow.h"
#include "profiles/OptionSheet.h"
#include "support/EventLoop.h"
#include "support/QtPrinters.h"
#include "support/Recorders.h"
#include "support/widgets/ModalWindow.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <functional>
#include <gtest/gtest.h>

using namespace vidora;

namespace {

const QString kTrimmingPlayText =
    QStringLiteral(" -priority   abovenormal   -framedrop   -colorkey  0  -nokeepaspect   "
                   "-framedrop   -autosync   100   -vo gl2   -vf   screenshot ");

const QString kSkin = QStringLiteral("QDialog { background: #fafafa; }");

QString text(QWidget* window, const char* name) {
    return window->findChild<QLineEdit*>(QString::fromLatin1(name))->text();
}

QSlider* slider(QWidget* window, const char* name) {
    return window->findChild<QSlider*>(QString::fromLatin1(name));
}

void click(QWidget* window, const char* name) {
    QPushButton* button = window->findChild<QPushButton*>(QString::fromLatin1(name));
    ASSERT_NE(button, nullptr) << name;
    QTest::mouseClick(button, Qt::LeftButton);
}

// The user leaves a slider at a value: it moves there, then the mouse button goes up on it.
void release(QSlider* slider, int value) {
    slider->setValue(value);
    QTest::mouseRelease(slider, Qt::LeftButton);
}

class TrimmingWindowTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }
    void TearDown() override { state.endPlayers(); }

    test::FakePlayerFolder folder;
    test::MessageRecorder messages;
    PreviewState state;
};

TEST(ClipTrim, ComparesTimesAsSecondsAndShowsTheClipDuration) {
    ClipTrim fresh({"/v/a.avi", "0:00:00", "0:01:40", "0:01:40"});
    EXPECT_EQ(fresh.caption(), "Clip Time  -  /v/a.avi");
    EXPECT_EQ(fresh.markerMaximum(), 100);
    EXPECT_EQ(fresh.startMarker(), 0);
    EXPECT_EQ(fresh.endMarker(), 100);
    EXPECT_EQ(fresh.clipText(), "0:01:40");
    EXPECT_TRUE(fresh.canAccept());

    // As texts "9:00:00" lies after "10:00:00"; as times it comes first.
    EXPECT_TRUE(ClipTrim({"f", "9:00:00", "10:00:00", "12:00:00"}).canAccept());
    ClipTrim backwards({"f", "10:00:00", "9:30:00", "12:00:00"});
    EXPECT_FALSE(backwards.canAccept());
    EXPECT_EQ(backwards.clipText(), "0:30:00"); // the amount, without its sign
    EXPECT_FALSE(ClipTrim({"f", "0:00:05", "0:00:05", "0:01:00"}).canAccept());
    // A job whose probe found no length: nothing to trim between.
    ClipTrim unknown({"f", "0:00:00", "", ""});
    EXPECT_EQ(unknown.markerMaximum(), 0);
    EXPECT_FALSE(unknown.canAccept());

    fresh.releaseEndMarker(30);
    fresh.releaseStartMarker(45);
    EXPECT_EQ(fresh.startText(), "0:00:45");
    EXPECT_EQ(fresh.endText(), "0:00:30");
    EXPECT_EQ(fresh.clipText(), "0:00:15");
    EXPECT_FALSE(fresh.canAccept());
    fresh.releaseEndMarker(500); // beyond the length: the marker's end
    EXPECT_EQ(fresh.endText(), "0:01:40");
    EXPECT_TRUE(fresh.canAccept());
}

TEST_F(TrimmingWindowTest, OpensWithTheJobsTimesAndItsCaption) {
    state.PreviewPosition = 12;
    TrimmingWindow window(state, {"/v/my clip.avi", "0:00:00", "0:01:40", "0:01:40"});
    EXPECT_EQ(window.windowTitle(), "Clip Time  -  /v/my clip.avi");
    EXPECT_TRUE(window.isModal());
    EXPECT_EQ(text(&window, "Text1"), "0:00:00");
    EXPECT_EQ(text(&window, "Text2"), "0:01:40");
    EXPECT_EQ(text(&window, "Text3"), "0:01:40");
    EXPECT_EQ(slider(&window, "Slider1")->maximum(), 100);
    EXPECT_EQ(slider(&window, "Slider2")->maximum(), 100);
    EXPECT_EQ(slider(&window, "Slider1")->value(), 0);
    EXPECT_EQ(slider(&window, "Slider2")->value(), 100);
    EXPECT_EQ(slider(&window, "Slider3")->value(), 0);
    EXPECT_EQ(state.PreviewPosition, 0);
    EXPECT_EQ(state.PreviewLength, 100);
    EXPECT_EQ(window.findChild<QLabel*>("SkinLabel10")->text(), "Total time: 0:00:00");
    EXPECT_EQ(window.findChild<QPushButton*>("Command1")->text(), "OK");
    EXPECT_EQ(window.findChild<QPushButton*>("Command2")->text(), "Cancel");
    EXPECT_TRUE(window.findChild<QPushButton*>("Command1")->isDefault());

    TrimmingWindow empty(state, {"/v/b.avi", "0:00:00", "", ""});
    EXPECT_EQ(slider(&empty, "Slider1")->maximum(), 0);
    EXPECT_EQ(slider(&empty, "Slider2")->maximum(), 0);
}

TEST_F(TrimmingWindowTest, MarkersSetTheTimesWhenReleasedAndOkRefusesAnEndBeforeTheStart) {
    TrimmingWindow window(state, {"/v/a.avi", "0:00:00", "0:01:40", "0:01:40"});
    window.show();
    release(slider(&window, "Slider1"), 50);
    EXPECT_EQ(text(&window, "Text1"), "0:00:50");
    EXPECT_EQ(text(&window, "Text3"), "0:00:50");
    release(slider(&window, "Slider2"), 20);
    EXPECT_EQ(text(&window, "Text2"), "0:00:20");
    EXPECT_EQ(text(&window, "Text3"), "0:00:30");

    click(&window, "Command1");
    EXPECT_EQ(messages.shown, QStringList{"error: Start time or End time is error."});
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Rejected);

    release(slider(&window, "Slider2"), 80);
    click(&window, "Command1");
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(window.startText(), "0:00:50");
    EXPECT_EQ(window.endText(), "0:01:20");
    EXPECT_EQ(messages.shown.size(), 1);
}

TEST_F(TrimmingWindowTest, KeysIAndOSetTheMarkersToThePreviewsCount) {
    TrimmingWindow window(state, {"/v/a.avi", "0:00:00", "0:01:40", "0:01:40"});
    window.show();
    EXPECT_TRUE(slider(&window, "Slider1")->toolTip().contains("I"));
    EXPECT_TRUE(slider(&window, "Slider2")->toolTip().contains("O"));
    state.PreviewPosition = 12;
    // From whichever control holds the focus.
    QTest::keyClick(slider(&window, "Slider3"), Qt::Key_I);
    EXPECT_EQ(text(&window, "Text1"), "0:00:12");
    EXPECT_EQ(slider(&window, "Slider1")->value(), 12);
    state.PreviewPosition = 40;
    QTest::keyClick(window.findChild<QPushButton*>("cmdPlay"), Qt::Key_O);
    EXPECT_EQ(text(&window, "Text2"), "0:00:40");
    EXPECT_EQ(slider(&window, "Slider2")->value(), 40);
    EXPECT_EQ(text(&window, "Text3"), "0:00:28");
    // A count past the length sets the end of the file.
    state.PreviewPosition = 101;
    QTest::keyClick(&window, Qt::Key_O);
    EXPECT_EQ(text(&window, "Text2"), "0:01:40");
}

TEST_F(TrimmingWindowTest, ItsPreviewPlaysTheJobIntoItsOwnHost) {
    state.PreviewFile = QStringLiteral("/v/main.avi");
    TrimmingWindow window(state, {"/v/trim me.avi", "0:00:00", "0:00:50", "0:00:50"});
    window.show();
    click(&window, "cmdPlay");
    const qint64 pid = PreviewProcessId;
    ASSERT_NE(pid, 0);
    const QString host = QString::number(window.findChild<QWidget*>("Text4")->winId());
    EXPECT_EQ(state.lastCommand().text, '"' + folder.path() + "/mp.dll\" -wid " + host +
                                            kTrimmingPlayText + "\"/v/trim me.avi\"");
    EXPECT_EQ(window.findChild<QLabel*>("SkinLabel10")->text(), "Total time:0:00:50");
    EXPECT_EQ(state.PreviewFile, "/v/main.avi"); // the main window's file stays
    EXPECT_TRUE(window.player().isTickerActive());

    release(slider(&window, "Slider3"), 50);
    EXPECT_TRUE(folder.waitForKeys(pid, {"q"}));
    EXPECT_EQ(state.lastCommand().text, '"' + folder.path() + "/mp.dll\" -ss 25 -wid " + host +
                                            kTrimmingPlayText + "\"/v/trim me.avi\"");
    EXPECT_EQ(window.findChild<QLabel*>("LblCurTime")->text(), "0:00:25");
    window.player().tick();
    EXPECT_EQ(slider(&window, "Slider3")->value(), 52);
}

TEST_F(TrimmingWindowTest, ClosingQuitsItsPlayerAndForgetsTheFile) {
    for (const char* how : {"Command2", "close box", "Command1"}) {
        TrimmingWindow window(state, {"/v/a.avi", "0:00:00", "0:00:50", "0:00:50"});
        window.show();
        click(&window, "cmdPlay");
        const qint64 pid = PreviewProcessId;
        ASSERT_FALSE(folder.startOf(pid).isEmpty()) << how;
        EXPECT_EQ(window.trimFile(), "/v/a.avi");
        if (QByteArray(how) == "close box")
            window.close();
        else
            click(&window, how);
        EXPECT_FALSE(window.isVisible()) << how;
        EXPECT_FALSE(window.player().isTickerActive()) << how;
        EXPECT_EQ(folder.keysOf(pid).value(0), "q") << how;
        EXPECT_FALSE(test::processRuns(pid)) << how;
        EXPECT_EQ(window.trimFile(), QString()) << how;
    }
}

TEST_F(TrimmingWindowTest, WhileItWaitsForItsPlayerToQuitItTakesNoClickAndLeavesNoPlayer) {
    qint64 startedWhileClosing = 0;
    {
        // This player ignores its quit key: closing waits for it up to a second, then kills it.
        TrimmingWindow window(state, {"/v/stubborn.avi", "0:00:00", "0:00:50", "0:00:50"});
        window.show();
        click(&window, "cmdPlay");
        const qint64 pid = PreviewProcessId;
        ASSERT_FALSE(folder.startOf(pid).isEmpty());
        QTimer::singleShot(200, [&] {
            click(&window, "cmdPlay");
            release(slider(&window, "Slider3"), 50);
            QTest::keyClick(&window, Qt::Key_I);
            startedWhileClosing = PreviewProcessId == pid ? 0 : PreviewProcessId;
        });
        click(&window, "Command2");
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(startedWhileClosing, 0) << "a player started into the closing window";
        EXPECT_EQ(text(&window, "Text1"), "0:00:00");
        EXPECT_FALSE(test::processRuns(pid));
        EXPECT_EQ(state.runningPlayers(), 0);

        // Whatever else starts a player into the host, the window's end ends it.
        window.player().play(QStringLiteral("/v/stubborn.avi"), QStringLiteral("0:00:50"));
        startedWhileClosing = PreviewProcessId;
        ASSERT_FALSE(folder.startOf(startedWhileClosing).isEmpty());
    }
    EXPECT_FALSE(test::processRuns(startedWhileClosing));
    EXPECT_EQ(state.runningPlayers(), 0);
}

// The main window's side: what it does before, while and after the window is open.
class TrimmingFromTheJobList : public TrimmingWindowTest {
protected:
    void SetUp() override {
        TrimmingWindowTest::SetUp();
        QDir(folder.path()).mkpath(QStringLiteral("skins"));
        QFile skin(folder.path() + "/skins/frmmain.skn");
        ASSERT_TRUE(skin.open(QIODevice::WriteOnly));
        skin.write(kSkin.toUtf8());
        skin.close();
        main = std::make_unique<MainWindow>();
        main->show();
        for (const QString& name :
             {QStringLiteral("/v/first.avi"), QStringLiteral("/v/second.avi")}) {
            const int row = main->jobs().append(name);
            main->jobs().setField(row, JobField::Start, QStringLiteral("0:00:00"));
            main->jobs().setField(row, JobField::End, QStringLiteral("0:01:40"));
            main->jobs().setField(row, JobField::VideoTime, QStringLiteral("0:01:40"));
        }
        select(1);
    }
    void TearDown() override {
        main.reset();
        TrimmingWindowTest::TearDown();
    }

    void select(int row) {
        QTreeView* view = main->jobListView();
        view->setCurrentIndex(view->model()->index(row, 0));
    }
    // Opens the trimming window from this entry; `inside` acts on it while it is open.
    void openWith(const std::function<void()>& open,
                  const std::function<void(TrimmingWindow*)>& inside) {
        bool ran = false;
        test::whenModalOpens([&](QWidget* modal) {
            auto* window = qobject_cast<TrimmingWindow*>(modal);
            ran = window != nullptr;
            if (window)
                inside(window);
            if (modal->isVisible())
                modal->close();
        });
        open();
        EXPECT_TRUE(ran) << "no trimming window opened";
    }
    QString field(int row, JobField which) { return main->jobs().field(row, which); }

    std::unique_ptr<MainWindow> main;
};

TEST_F(TrimmingFromTheJobList, OkWritesTheTimesIntoTheSelectedJob) {
    main->previewPlayer().play(QStringLiteral("/v/first.avi"), QStringLiteral("0:01:40"));
    const qint64 mainPlayer = PreviewProcessId;
    main->previewState().PreviewPosition = 30;
    openWith([&] { main->action(QStringLiteral("videoclip"))->trigger(); },
             [&](TrimmingWindow* window) {
                 EXPECT_EQ(window->windowTitle(), "Clip Time  -  /v/second.avi");
                 EXPECT_EQ(window->styleSheet(), kSkin); // skinned like the main window
                 // The main window's player got its quit key; the count starts afresh.
                 EXPECT_TRUE(folder.waitForKeys(mainPlayer, {"q"}));
                 EXPECT_FALSE(main->previewPlayer().isTickerActive());
                 EXPECT_EQ(main->previewState().PreviewPosition, 0);
                 EXPECT_EQ(main->previewState().PreviewLength, 100);
                 release(slider(window, "Slider1"), 10);
                 release(slider(window, "Slider2"), 70);
                 click(window, "Command1");
             });
    EXPECT_EQ(field(1, JobField::Start), "0:00:10");
    EXPECT_EQ(field(1, JobField::End), "0:01:10");
    EXPECT_EQ(field(1, JobField::VideoTime), "0:01:40");
    EXPECT_EQ(field(0, JobField::End), "0:01:40");
    // The option sheet shows the job's new times.
    OptionSheet& sheet = main->optionSheet();
    EXPECT_EQ(sheet.GetValue(sheet.itemAt("Output Duration", "Start Time")), "0:00:10");
    EXPECT_EQ(sheet.GetValue(sheet.itemAt("Output Duration", "Stop Time")), "0:01:10");
}

TEST_F(TrimmingFromTheJobList, CancelAndTheCloseBoxLeaveTheJobAlone) {
    const auto moveMarkers = [](TrimmingWindow* window) {
        release(slider(window, "Slider1"), 10);
        release(slider(window, "Slider2"), 70);
    };
    openWith([&] { main->action(QStringLiteral("cuttime"))->trigger(); },
             [&](TrimmingWindow* window) {
                 moveMarkers(window);
                 click(window, "Command2");
             });
    openWith([&] { main->action(QStringLiteral("videoclip"))->trigger(); },
             [&](TrimmingWindow* window) {
                 moveMarkers(window);
                 window->close();
             });
    EXPECT_EQ(field(1, JobField::Start), "0:00:00");
    EXPECT_EQ(field(1, JobField::End), "0:01:40");
}

TEST_F(TrimmingFromTheJobList, ADoubleClickOpensItForThatJob) {
    QTreeView* view = main->jobListView();
    const QRect cell = view->visualRect(view->model()->index(0, 0));
    openWith(
        [&] {
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        },
        [&](TrimmingWindow* window) {
            EXPECT_EQ(window->windowTitle(), "Clip Time  -  /v/first.avi");
            QTest::keyClick(window, Qt::Key_Escape);
        });
    // The click made the job's file the preview's.
    EXPECT_EQ(main->previewState().PreviewFile, "/v/first.avi");
}

} // namespace
