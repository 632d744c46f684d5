// "Import Video From Youtube" of the menu and of the job list's menu opens the download window.
#include "app/MainWindow.h"
#include "platform/Paths.h"
#include "support/ProgramFolder.h"

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace vidora;

namespace {

TEST(DownloadEntry, BothEntriesOpenTheDownloadWindowModally) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const test::ProgramFolder programFolder(folder.path());
    {
        MainWindow window;
        for (const char* name : {"importvideo", "Import1"}) {
            QAction* entry = window.action(QString::fromLatin1(name));
            ASSERT_TRUE(entry->isEnabled()) << name;
            QString opened;
            bool modal = false;
            QTimer::singleShot(0, [&] {
                if (QWidget* active = QApplication::activeModalWidget()) {
                    opened = active->objectName();
                    modal = active->isModal();
                    active->close();
                }
            });
            entry->trigger(); // returns when the window has closed
            EXPECT_EQ(opened, QStringLiteral("Formyutobe")) << name;
            EXPECT_TRUE(modal) << name;
        }
    }
}

} // namespace
