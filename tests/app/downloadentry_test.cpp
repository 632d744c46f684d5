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
            const test::OpenedModal opened = test::openModal([entry] { entry->trigger(); });
            EXPECT_EQ(opened.name, QStringLiteral("Formyutobe")) << name;
            EXPECT_TRUE(opened.modal) << name;
        }
    }
}

} // namespace
