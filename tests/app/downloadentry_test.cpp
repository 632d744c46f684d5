// "Import Video From Youtube" of the menu and of the job list's menu opens the download window.
#include "app/MainWindow.h"
#include "platform/Paths.h"
#include "support/ProgramFolder.h"
#include "support/widgets/ModalWindow.h"

#include <QAction>
#include <QTemporaryDir>
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
            test::whenModalOpens([&](QWidget* active) {
                opened = active->objectName();
                modal = active->isModal();
                active->close();
            });
            entry->trigger(); // returns when the window has closed
            EXPECT_EQ(opened, QStringLiteral("Formyutobe")) << name;
            EXPECT_TRUE(modal) << name;
        }
    }
}

} // namespace
