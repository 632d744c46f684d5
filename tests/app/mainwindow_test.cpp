#include "app/ButtonBar.h"
#include "app/MainWindow.h"
#include "app/ProfileChooser.h"
#include "app/ProgressPanel.h"
#include "platform/Inifun.h"
#include "platform/Paths.h"
#include "support/ProgramFolder.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>
#include <optional>

using namespace vidora;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        m_programFolder.emplace(m_folder.path());
    }
    QTemporaryDir m_folder;
    std::optional<test::ProgramFolder> m_programFolder;
};

QStringList captions(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

// A mouse move without a button, as the window system delivers it to the widget under the mouse.
void hover(QWidget* widget, QPoint position) {
    QMouseEvent move(QEvent::MouseMove, QPointF(position), widget->mapToGlobal(QPointF(position)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
}

} // namespace

TEST_F(MainWindowTest, MenusHoldTheirItemsShortcutsAndSeparators) {
    MainWindow window;
    const QList<QAction*> menus = window.menuBar()->actions();
    ASSERT_EQ(menus.size(), 4);
    EXPECT_EQ(menus[0]->text(), QStringLiteral("File(&F)"));
    EXPECT_EQ(
        captions(menus[0]->menu()),
        (QStringList{"Add Files", "Remove Selected File", "Clear All Files", "-",
                     "Capture Video From DV", "-", "Import Video From Youtube", "-", "Exit"}));
    EXPECT_EQ(captions(menus[1]->menu()),
              (QStringList{"Undo", "-", "Video Settings", "-", "Check for Updates"}));
    EXPECT_EQ(captions(menus[3]->menu()),
              (QStringList{"Help", "-", "Vidora Home Page", "Support Online", "-", "About"}));
    EXPECT_EQ(window.action(QStringLiteral("AddFiles"))->shortcut(),
              QKeySequence(QStringLiteral("Ctrl+A")));
    EXPECT_EQ(window.action(QStringLiteral("BurnNow"))->shortcut(),
              QKeySequence(QStringLiteral("Ctrl+N")));
    EXPECT_EQ(window.action(QStringLiteral("helphelp"))->shortcut(),
              QKeySequence(QStringLiteral("F1")));
    EXPECT_EQ(captions(window.jobListMenu()),
              (QStringList{"Convert Now!", "-", "Play Selected File", "-", "Video Clip", "-",
                           "Add Files", "Remove Selected Item", "Clear All Items", "-",
                           "Capture Video From DV", "-", "Import Video From Youtube"}));
}

TEST_F(MainWindowTest, OnlyCheckForUpdatesIsDisabledAndButtonsFollowTheirEntries) {
    MainWindow window;
    for (const char* name : {"options", "helphelp", "HomePage", "SupportOnline", "About", "exit"})
        EXPECT_TRUE(window.action(QString::fromLatin1(name))->isEnabled()) << name;
    // It has nothing behind it.
    EXPECT_FALSE(window.action(QStringLiteral("checkupdate"))->isEnabled());
    for (const char* name : {"Image10", "Image8", "Image7"})
        EXPECT_TRUE(window.buttonBar()->button(QString::fromLatin1(name))->isEnabled()) << name;
    // A button follows its action when the action changes later.
    window.action(QStringLiteral("options"))->setEnabled(false);
    EXPECT_FALSE(window.buttonBar()->button(QStringLiteral("Image10"))->isEnabled());
}

TEST_F(MainWindowTest, ButtonBarShowsCaptionsAndHoverBorders) {
    MainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ButtonBar* bar = window.buttonBar();
    QStringList texts;
    for (const PictureButton* button : bar->buttons())
        texts << button->text();
    EXPECT_EQ(texts, (QStringList{"Add Files", "Remove File", "Clear All", "Settings", "Help",
                                  "EXIT", "CONVERT NOW"}));
    PictureButton* add = bar->button(QStringLiteral("Image1"));
    hover(add, add->rect().center());
    EXPECT_TRUE(add->property("bordered").toBool());
    PictureButton* exitButton = bar->button(QStringLiteral("Image7"));
    hover(exitButton, exitButton->rect().center());
    EXPECT_TRUE(exitButton->property("bordered").toBool());
    // Moving over the bare bar takes every border away.
    hover(bar, QPoint(bar->width() / 2 + 40, 2));
    for (const PictureButton* button : bar->buttons())
        EXPECT_FALSE(button->property("bordered").toBool()) << button->objectName().toStdString();
}

TEST_F(MainWindowTest, ExitButtonClosesTheWindowAndRemembersTheProfile) {
    MainWindow window;
    window.show();
    window.profileChooser()->setCurrentIndex(12);
    window.buttonBar()->button(QStringLiteral("Image7"))->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(ReadSetting(settingsFilePath(), QStringLiteral("set"), QStringLiteral("profile")),
              QStringLiteral("13"));
}

TEST_F(MainWindowTest, ProgressPanelIsHiddenAtStartAndDragsWithTheLeftButtonOnly) {
    MainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ProgressPanel* panel = window.progressPanel();
    EXPECT_FALSE(panel->isVisible());
    panel->show();
    const QPoint start = panel->pos();

    QTest::mousePress(panel, Qt::RightButton, {}, QPoint(10, 10));
    QTest::mouseMove(panel, QPoint(60, 40));
    QTest::mouseRelease(panel, Qt::RightButton, {}, QPoint(60, 40));
    EXPECT_EQ(panel->pos(), start);

    QTest::mousePress(panel, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(panel->isDragging());
    // Moving by (50, 30) inside the panel moves the panel by the same amount.
    QMouseEvent move(QEvent::MouseMove, QPointF(60, 40), panel->mapToGlobal(QPointF(60, 40)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(panel, &move);
    EXPECT_EQ(panel->pos(), start + QPoint(50, 30));
    QTest::mouseRelease(panel, Qt::LeftButton, {}, panel->rect().topLeft() + QPoint(10, 10));
    EXPECT_FALSE(panel->isDragging());
}

// The preview's picture is a window of its own (the player draws into it); on X11 a click goes
// to the topmost window under the mouse, so the panel must be a window of its own, raised over
// the picture when it shows, or Cancel would not answer where the panel covers the preview.
TEST_F(MainWindowTest, TheProgressPanelIsAWindowAboveThePreviewsPicture) {
    MainWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ProgressPanel* panel = window.progressPanel();
    EXPECT_TRUE(panel->testAttribute(Qt::WA_NativeWindow));
    emit window.conversionRun().panelVisibleChanged(true);
    EXPECT_TRUE(panel->isVisible());
    const QObjectList siblings = panel->parentWidget()->children();
    QWidget* preview = window.findChild<QWidget*>(QStringLiteral("Text2"));
    ASSERT_TRUE(preview);
    QWidget* previewBranch = preview;
    while (previewBranch->parentWidget() != panel->parentWidget())
        previewBranch = previewBranch->parentWidget();
    EXPECT_GT(siblings.indexOf(panel), siblings.indexOf(previewBranch)) << "drawn and hit above";
    emit window.conversionRun().panelVisibleChanged(false);
    EXPECT_FALSE(panel->isVisible());
}

TEST(PercentBar, ShowsValuesAboveAHundredWithoutBreaking) {
    PercentBar bar;
    bar.setPercent(33);
    EXPECT_EQ(bar.value(), 33);
    EXPECT_EQ(bar.text(), QStringLiteral("33%"));
    bar.setPercent(102);
    EXPECT_EQ(bar.text(), QStringLiteral("102%"));
    EXPECT_EQ(bar.value(), 102);
    EXPECT_GE(bar.maximum(), 102);
    bar.setPercent(0);
    EXPECT_EQ(bar.value(), 0);
    EXPECT_EQ(bar.maximum(), 100);
}

TEST(ButtonBar, DisabledButtonsShowAFadedPicture) {
    ButtonBar bar;
    {
        const test::ProgramFolder folder(QStringLiteral(VIDORA_PROGRAM_DIR));
        bar.loadPictures(AppFolder());
    }
    const QIcon icon = bar.button(QStringLiteral("Image10"))->icon();
    ASSERT_FALSE(icon.isNull());
    const QImage normal = icon.pixmap(QSize(48, 48), QIcon::Normal).toImage();
    const QImage faded = icon.pixmap(QSize(48, 48), QIcon::Disabled).toImage();
    const auto opacity = [](const QImage& image) {
        qint64 sum = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                sum += qAlpha(image.pixel(x, y));
        return sum;
    };
    ASSERT_GT(opacity(normal), 0);
    EXPECT_LT(opacity(faded), opacity(normal) / 2);
}
