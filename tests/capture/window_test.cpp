#include "FakeCaptureDevice.h"
#include "capture/CaptureFile.h"
#include "capture/CaptureWindow.h"
#include "platform/Paths.h"
#include "support/EventLoop.h"
#include "support/ProgramFolder.h"
#include "support/QtPrinters.h"
#include "support/Recorders.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

namespace vidora {
namespace {

using test::FakeCaptureDevice;
using test::supportedRange;

class CaptureWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        m_programFolder = m_folder.filePath(QStringLiteral("program"));
        QDir().mkpath(m_programFolder);
        m_programFolderInUse.emplace(m_programFolder);
    }

    // The window over the fake device, opened as the main window opens it.
    std::unique_ptr<CaptureWindow> open() {
        auto window = std::make_unique<CaptureWindow>(m_device);
        window->load();
        return window;
    }

    template <typename T> static T* control(CaptureWindow& window, const char* name) {
        T* found = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QString recordingFile() const { return m_folder.filePath(QStringLiteral("my capture.avi")); }

    QTemporaryDir m_folder;
    QString m_programFolder;
    std::optional<test::ProgramFolder> m_programFolderInUse;
    FakeCaptureDevice m_device;
    test::MessageRecorder m_messages;
};

TEST_F(CaptureWindowTest, OpensWithTheInitialTextsAndTheCallsInTheirOrder) {
    m_device.names = {QStringLiteral("Camera A"), QStringLiteral("Camera B")};
    m_device.ranges[0] = supportedRange(-100, 100);
    m_device.values[0] = 20;
    const auto window = open();

    EXPECT_EQ(window->objectName(), QStringLiteral("Form3"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Capture Video From DV"));
    EXPECT_TRUE(window->isModal());
    EXPECT_EQ(control<QLineEdit>(*window, "Text1")->text(), DefaultCaptureFile());
    EXPECT_EQ(DefaultCaptureFile(),
              QStandardPaths::writableLocation(QStandardPaths::MoviesLocation) +
                  QStringLiteral("/dvcapture.avi"));
    EXPECT_EQ(control<QLabel>(*window, "Label2")->text(), QStringLiteral("00:00:00"));
    const char* const buttons[][2] = {{"Command1", "Start capture"},
                                      {"Command2", "Stop capture"},
                                      {"Command3", "Preview"},
                                      {"Command4", "Exit"},
                                      {"Command5", "Browse..."}};
    for (const auto& [name, caption] : buttons) {
        EXPECT_EQ(control<QPushButton>(*window, name)->text(), QString::fromLatin1(caption));
        EXPECT_TRUE(control<QPushButton>(*window, name)->isEnabled()) << name;
    }
    auto* timer = control<QTimer>(*window, "Timer1");
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 500);
    auto* list = control<QComboBox>(*window, "Combo1");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->itemText(0), QStringLiteral("Camera A"));
    EXPECT_EQ(list->itemText(1), QStringLiteral("Camera B"));
    EXPECT_EQ(list->currentIndex(), 0);

    EXPECT_EQ(m_device.takeCalls(),
              QStringList({"preview window", "deviceName 0", "deviceName 1", "disconnect",
                           "select 0", "connect", "range 0", "value 0", "range 1", "range 2",
                           "range 3", "startup 0 0 1 0", "background #000000"}));
}

TEST_F(CaptureWindowTest, ChoosingADeviceReconnectsAndSetsTheSliders) {
    m_device.names = {QStringLiteral("Camera A"), QStringLiteral("Zoom only")};
    m_device.ranges.fill(supportedRange(0, 10));
    const auto window = open();
    for (const char* name : {"Slider0", "Slider1", "Slider2", "Slider3"})
        EXPECT_TRUE(control<QSlider>(*window, name)->isEnabled()) << name;
    m_device.takeCalls();

    // A camera that offers zoom only.
    m_device.ranges.fill(PropertyRange{});
    m_device.ranges[3] = supportedRange(100, 500);
    m_device.values[3] = 250;
    window->chooseDevice(1);

    EXPECT_EQ(m_device.takeCalls(), QStringList({"disconnect", "select 1", "connect", "range 0",
                                                 "range 1", "range 2", "range 3", "value 3"}));
    for (const char* name : {"Slider0", "Slider1", "Slider2"})
        EXPECT_FALSE(control<QSlider>(*window, name)->isEnabled()) << name;
    auto* zoom = control<QSlider>(*window, "Slider3");
    EXPECT_TRUE(zoom->isEnabled());
    EXPECT_EQ(zoom->minimum(), 100);
    EXPECT_EQ(zoom->maximum(), 500);
    EXPECT_EQ(zoom->value(), 250);
}

TEST_F(CaptureWindowTest, ChoosingAnotherDeviceDuringARecordingStopsItFirst) {
    m_device.names = {QStringLiteral("Camera A"), QStringLiteral("Camera B")};
    const auto window = open();
    control<QLineEdit>(*window, "Text1")->setText(recordingFile());
    window->startCapture();
    m_device.takeCalls();
    window->chooseDevice(1);
    const QStringList calls = m_device.takeCalls();
    ASSERT_GE(calls.size(), 4);
    EXPECT_EQ(calls.mid(0, 4),
              QStringList({"stop recording", "disconnect", "select 1", "connect"}));
    EXPECT_TRUE(control<QPushButton>(*window, "Command1")->isEnabled());
}

TEST_F(CaptureWindowTest, MovingASliderSetsItsPropertyOnly) {
    m_device.names = {QStringLiteral("Camera")};
    m_device.ranges[1] = supportedRange(-50, 50);
    m_device.values[1] = -10;
    const auto window = open();
    // Setting the sliders from the device set no property.
    EXPECT_FALSE(m_device.calls.join(u'|').contains(QStringLiteral("set ")));
    m_device.takeCalls();

    control<QSlider>(*window, "Slider1")->setValue(30);
    EXPECT_EQ(m_device.takeCalls(), QStringList({"set 1 = 30"}));
    EXPECT_EQ(m_device.values[1], 30);
}

TEST_F(CaptureWindowTest, WithoutADeviceOnlyBrowseAndExitWork) {
    const auto window = open();
    EXPECT_EQ(control<QComboBox>(*window, "Combo1")->count(), 0);
    EXPECT_FALSE(control<QPushButton>(*window, "Command1")->isEnabled());
    EXPECT_FALSE(control<QPushButton>(*window, "Command2")->isEnabled());
    EXPECT_FALSE(control<QPushButton>(*window, "Command3")->isEnabled());
    EXPECT_TRUE(control<QPushButton>(*window, "Command4")->isEnabled());
    EXPECT_TRUE(control<QPushButton>(*window, "Command5")->isEnabled());
    EXPECT_EQ(m_device.takeCalls(),
              QStringList({"preview window", "startup 0 0 1 0", "background #000000"}));

    // The commands of the disabled buttons do nothing either.
    window->startCapture();
    window->preview();
    EXPECT_TRUE(m_device.takeCalls().isEmpty());

    window->show();
    control<QPushButton>(*window, "Command4")->click();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(CaptureWindowTest, StartCaptureRecordsIntoTheFileAndStartingAgainStops) {
    m_device.names = {QStringLiteral("Camera")};
    const auto window = open();
    control<QLineEdit>(*window, "Text1")->setText(recordingFile());
    m_device.takeCalls();

    control<QPushButton>(*window, "Command1")->click();
    EXPECT_EQ(m_device.takeCalls(),
              QStringList({"file " + recordingFile(), "preview on", "start recording"}));
    EXPECT_FALSE(control<QPushButton>(*window, "Command1")->isEnabled());
    EXPECT_FALSE(control<QPushButton>(*window, "Command3")->isEnabled());
    EXPECT_TRUE(control<QPushButton>(*window, "Command2")->isEnabled());

    // "Start capture" during a recording stops it and starts no other.
    window->startCapture();
    EXPECT_EQ(m_device.takeCalls(), QStringList({"stop recording"}));
    EXPECT_FALSE(m_device.recording);
    EXPECT_TRUE(control<QPushButton>(*window, "Command1")->isEnabled());
    EXPECT_TRUE(control<QPushButton>(*window, "Command3")->isEnabled());
    EXPECT_TRUE(m_messages.shown.isEmpty()) << m_messages.shown.join(u'\n').toStdString();
}

TEST_F(CaptureWindowTest, PreviewStopsARecordingOrShowsThePicture) {
    m_device.names = {QStringLiteral("Camera")};
    const auto window = open();
    control<QLineEdit>(*window, "Text1")->setText(recordingFile());
    m_device.takeCalls();
    window->preview();
    EXPECT_EQ(m_device.takeCalls(), QStringList({"preview on"}));

    window->startCapture();
    m_device.takeCalls();
    window->preview();
    EXPECT_EQ(m_device.takeCalls(), QStringList({"stop recording"}));
    EXPECT_TRUE(control<QPushButton>(*window, "Command1")->isEnabled());
}

TEST_F(CaptureWindowTest, TheLabelFollowsTheRecordingOnlyAndKeepsItsLastText) {
    m_device.names = {QStringLiteral("Camera")};
    const auto window = open();
    auto* label = control<QLabel>(*window, "Label2");
    m_device.figures = {250, 3, 10250};
    window->onStatisticsTick();
    EXPECT_EQ(label->text(), QStringLiteral("00:00:00"));

    control<QLineEdit>(*window, "Text1")->setText(recordingFile());
    window->startCapture();
    window->onStatisticsTick();
    EXPECT_EQ(label->text(), QStringLiteral("250 frames (3 dropped) - 10.25 sec."));
    m_device.figures = {251, 3, 10290};
    window->onStatisticsTick();
    EXPECT_EQ(label->text(), QStringLiteral("251 frames (3 dropped) - 10.29 sec."));

    // The figures of the finished recording stay.
    m_device.figures = {260, 4, 10600};
    window->stopCapture();
    EXPECT_EQ(label->text(), QStringLiteral("260 frames (4 dropped) - 10.60 sec."));
    m_device.figures = {0, 0, 0};
    window->onStatisticsTick();
    EXPECT_EQ(label->text(), QStringLiteral("260 frames (4 dropped) - 10.60 sec."));
}

TEST_F(CaptureWindowTest, ARecordingThatEndsByItselfFreesTheButtonsAndSaysWhy) {
    m_device.names = {QStringLiteral("Camera")};
    const auto window = open();
    control<QLineEdit>(*window, "Text1")->setText(recordingFile());
    window->startCapture();
    m_device.recording = false;
    m_device.error = QStringLiteral("The device went away.");
    window->onStatisticsTick();
    EXPECT_TRUE(control<QPushButton>(*window, "Command1")->isEnabled());
    EXPECT_TRUE(control<QPushButton>(*window, "Command3")->isEnabled());
    EXPECT_EQ(m_messages.shown, QStringList({"error: The device went away."}));
}

TEST_F(CaptureWindowTest, BrowseAsksForTheFileAndACancelChangesNothing) {
    m_device.names = {QStringLiteral("Camera")};
    const auto window = open();
    QStringList asked;
    QString answer = QStringLiteral("/videos/it's [my] file.avi");
    window->setSaveDialog(
        [&](QWidget*, const QString& title, const QString& file, const QString& filter) {
            asked << title << file << filter;
            return answer;
        });
    auto* text = control<QLineEdit>(*window, "Text1");
    control<QPushButton>(*window, "Command5")->click();
    EXPECT_EQ(asked,
              QStringList({"Save Video File", DefaultCaptureFile(), "Avi Video file (*.avi)"}));
    EXPECT_EQ(text->text(), answer);

    answer.clear();
    control<QPushButton>(*window, "Command5")->click();
    EXPECT_EQ(text->text(), QStringLiteral("/videos/it's [my] file.avi"));
}

TEST_F(CaptureWindowTest, AnExistingFileIsReplacedOnlyWhenTheDialogConfirmedIt) {
    m_device.names = {QStringLiteral("Camera")};
    const auto window = open();
    QFile existing(recordingFile());
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    control<QLineEdit>(*window, "Text1")->setText(recordingFile());
    m_device.takeCalls();

    window->startCapture();
    EXPECT_FALSE(m_device.recording);
    EXPECT_FALSE(m_device.calls.contains(QStringLiteral("start recording")));
    ASSERT_EQ(m_messages.shown.size(), 1);
    EXPECT_TRUE(m_messages.shown[0].startsWith(QStringLiteral("error: ")));
    EXPECT_TRUE(m_messages.shown[0].contains(recordingFile()));
    EXPECT_TRUE(control<QPushButton>(*window, "Command1")->isEnabled());

    // The save dialog asked (Qt's dialog does for an existing file): now it may be replaced.
    window->setSaveDialog([this](QWidget*, const QString&, const QString&, const QString&) {
        return recordingFile();
    });
    window->browse();
    window->startCapture();
    EXPECT_TRUE(m_device.recording);
}

TEST_F(CaptureWindowTest, RecordingIntoTheProgramFolderOrAMissingFolderFailsWithAMessage) {
    m_device.names = {QStringLiteral("Camera")};
    const auto window = open();
    const QString cases[] = {m_programFolder + QStringLiteral("/settings.dat"),
                             m_programFolder + QStringLiteral("/new.avi"),
                             m_folder.filePath(QStringLiteral("missing/new.avi")),
                             QStringLiteral("relative.avi"), QString()};
    for (const QString& file : cases) {
        m_messages.shown.clear();
        control<QLineEdit>(*window, "Text1")->setText(file);
        window->startCapture();
        EXPECT_FALSE(m_device.recording) << file.toStdString();
        EXPECT_EQ(m_messages.shown.size(), 1) << file.toStdString();
    }
}

TEST_F(CaptureWindowTest, AFailedStartSaysWhyAndLeavesTheButtons) {
    m_device.names = {QStringLiteral("Camera")};
    m_device.startFails = true;
    m_device.error = QStringLiteral("FFmpeg is missing.");
    const auto window = open();
    control<QLineEdit>(*window, "Text1")->setText(recordingFile());
    window->startCapture();
    EXPECT_TRUE(control<QPushButton>(*window, "Command1")->isEnabled());
    ASSERT_EQ(m_messages.shown.size(), 1);
    EXPECT_TRUE(m_messages.shown[0].contains(QStringLiteral("FFmpeg is missing.")));
}

TEST_F(CaptureWindowTest, ExitTheCloseBoxAndTheWindowsEndEachStopTheRecording) {
    m_device.names = {QStringLiteral("Camera")};
    {
        const auto window = open();
        window->show();
        control<QLineEdit>(*window, "Text1")->setText(recordingFile());
        window->startCapture();
        m_device.takeCalls();
        control<QPushButton>(*window, "Command4")->click();
        EXPECT_FALSE(window->isVisible());
        const QStringList calls = m_device.takeCalls();
        ASSERT_FALSE(calls.isEmpty());
        EXPECT_EQ(calls.first(), QStringLiteral("stop recording"));
        EXPECT_TRUE(calls.contains(QStringLiteral("shut down")));
        EXPECT_FALSE(m_device.recording);
    }
    {
        const auto window = open();
        window->show();
        control<QLineEdit>(*window, "Text1")->setText(recordingFile());
        window->startCapture();
        m_device.takeCalls();
        window->close(); // the close box
        const QStringList calls = m_device.takeCalls();
        ASSERT_FALSE(calls.isEmpty());
        EXPECT_EQ(calls.first(), QStringLiteral("stop recording"));
        EXPECT_FALSE(m_device.recording);
    }
    {
        // Esc leaves the window as "Exit" does.
        m_device.figures = {75, 0, 3000};
        const auto window = open();
        window->show();
        control<QLineEdit>(*window, "Text1")->setText(recordingFile());
        window->startCapture();
        m_device.takeCalls();
        QTest::keyClick(window.get(), Qt::Key_Escape);
        EXPECT_FALSE(window->isVisible());
        EXPECT_EQ(m_device.takeCalls(), QStringList({"stop recording", "shut down"}));
        EXPECT_FALSE(m_device.recording);
        EXPECT_EQ(control<QLabel>(*window, "Label2")->text(),
                  QStringLiteral("75 frames (0 dropped) - 3.00 sec."));
    }
    {
        const auto window = open();
        m_device.takeCalls();
    }
    EXPECT_EQ(m_device.takeCalls(), QStringList({"shut down"}));
}

TEST_F(CaptureWindowTest, WhileARecordingEndsTheWindowTakesNoOtherCommand) {
    m_device.names = {QStringLiteral("Camera")};
    m_device.stopWaitMs = 300;
    const auto window = open();
    int browsed = 0;
    window->setSaveDialog([&](QWidget*, const QString&, const QString&, const QString&) {
        ++browsed;
        return QString();
    });
    window->show();
    control<QLineEdit>(*window, "Text1")->setText(recordingFile());
    window->startCapture();
    m_device.takeCalls();
    bool visibleDuringStop = false;
    QTimer::singleShot(50, window.get(), [&] {
        for (const char* name : {"Command2", "Command1", "Command3", "Command4", "Command5"})
            QTest::mouseClick(control<QPushButton>(*window, name), Qt::LeftButton);
        QTest::keyClick(window.get(), Qt::Key_Escape);
        window->onStatisticsTick();
        window->close(); // the close box
        visibleDuringStop = window->isVisible();
    });
    control<QPushButton>(*window, "Command2")->click();
    EXPECT_EQ(m_device.mostStopsAtOnce, 1);
    EXPECT_EQ(browsed, 0);
    EXPECT_TRUE(visibleDuringStop);
    EXPECT_EQ(m_device.takeCalls(), QStringList({"stop recording"}));
    EXPECT_TRUE(m_messages.shown.isEmpty()) << m_messages.shown.join(u'\n').toStdString();
    EXPECT_TRUE(control<QPushButton>(*window, "Command1")->isEnabled());
    // The close asked for meanwhile follows the stop.
    EXPECT_TRUE(test::waitFor([&] { return !window->isVisible(); }, 5000));
    EXPECT_TRUE(m_device.takeCalls().contains(QStringLiteral("shut down")));
}

} // namespace
} // namespace vidora
