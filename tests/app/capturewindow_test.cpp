#include "app/MainWindow.h"
#include "platform/Paths.h"
#include "support/ProgramFolder.h"
#include "support/widgets/ModalWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vidora;

namespace {

// Both entries of the main window open the capture window, modal over it, with this computer's
// devices: without VIDORA_CAPTURE_TEST_PATTERN no test pattern among them.
TEST(CaptureEntries, OpenTheCaptureWindowModally) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const test::ProgramFolder programFolder(folder.path());
    qunsetenv("VIDORA_CAPTURE_TEST_PATTERN");
    MainWindow window;
    for (const char* name : {"Capture", "Capture1"}) {
        QAction* entry = window.action(QString::fromLatin1(name));
        ASSERT_TRUE(entry->isEnabled()) << name;
        QString title;
        bool modal = false;
        int testPatterns = -1;
        test::whenModalOpens([&](QWidget* dialog) {
            title = dialog->windowTitle();
            modal = dialog->isModal() && dialog->objectName() == QStringLiteral("Form3");
            testPatterns = dialog->findChild<QComboBox*>(QStringLiteral("Combo1"))
                               ->findText(QStringLiteral("Test pattern")) >= 0;
            dialog->findChild<QPushButton*>(QStringLiteral("Command4"))->click();
        });
        entry->trigger(); // returns when the window has closed
        EXPECT_EQ(title, QStringLiteral("Capture Video From DV")) << name;
        EXPECT_TRUE(modal) << name;
        EXPECT_EQ(testPatterns, 0) << name;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << name;
    }
}

} // namespace
