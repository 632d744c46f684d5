// Where the program's own files and the person's files go: the program folder while it can be
// written, the person's data folder for Vidora when it cannot, and the XDG videos folder for
// converted files.

#include "platform/Inifun.h"
#include "platform/Paths.h"
#include "platform/Settings.h"
#include "support/PersonFolders.h"
#include "support/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vidora;

namespace {

class PathsTest : public ::testing::Test {
protected:
    QTemporaryDir m_program;
    test::PersonFolders m_person;
};

} // namespace

TEST_F(PathsTest, AWritableProgramFolderKeepsTheProgramsOwnFiles) {
    const test::ProgramFolder folder(m_program.path());
    EXPECT_EQ(AppDataFolder(), m_program.path() + u'/');
    EXPECT_EQ(settingsFilePath(), m_program.filePath(QStringLiteral("settings.dat")));
    EXPECT_FALSE(QFileInfo::exists(m_person.programData())) << "nothing made elsewhere";
}

TEST_F(PathsTest, AReadOnlyProgramFolderSendsThemToThePersonsDataFolder) {
    const test::ProgramFolder folder(m_program.path(), test::ProgramFolder::Access::ReadOnly);
    EXPECT_EQ(AppFolder(), m_program.path() + u'/') << "the shipped files stay where they are";
    EXPECT_EQ(AppDataFolder(), m_person.programData() + u'/');
    EXPECT_TRUE(QFileInfo(m_person.programData() + QStringLiteral("/Cache")).isDir());

    ASSERT_TRUE(Settings().setThreadCount(3));
    EXPECT_EQ(Settings().threadCount(), 3);
    EXPECT_TRUE(QFileInfo::exists(m_person.programData() + QStringLiteral("/settings.dat")));
    EXPECT_TRUE(QDir(m_program.path()).isEmpty()) << "nothing written into the program folder";
}

TEST_F(PathsTest, TheVideosFolderIsTheDesktopsAndIsMadeWhenMissing) {
    ASSERT_FALSE(QFileInfo::exists(m_person.videos()));
    EXPECT_EQ(VideosFolder(), m_person.videos());
    EXPECT_TRUE(QFileInfo(m_person.videos()).isDir());
    // A second call finds it there.
    EXPECT_EQ(VideosFolder(), m_person.videos());
}

TEST(JoinPath, AddsOneSlashAndNoneToTheRoot) {
    EXPECT_EQ(joinPath(QStringLiteral("/a b"), QStringLiteral("c")), QStringLiteral("/a b/c"));
    EXPECT_EQ(joinPath(QStringLiteral("/a/"), QStringLiteral("c")), QStringLiteral("/a/c"));
    EXPECT_EQ(joinPath(QStringLiteral("/"), QStringLiteral("c")), QStringLiteral("/c"));
}
