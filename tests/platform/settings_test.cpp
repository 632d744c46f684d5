// The typed settings over a real settings file: how each stored value reads, and what the
// writers store.

#include "platform/Settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace vidora {
namespace {

class SettingsTest : public ::testing::Test {
protected:
    QString path() const { return m_dir.filePath(QStringLiteral("settings.dat")); }

    void writeFile(const char* text) const {
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QByteArray fileBytes() const {
        QFile file(path());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
};

TEST_F(SettingsTest, NoFileGivesTheDefaults) {
    const Settings settings(path());
    EXPECT_EQ(settings.outputFolder(), QString());
    EXPECT_FALSE(settings.overwriteExistingFiles());
    EXPECT_EQ(settings.threadCount(), 0);
    EXPECT_EQ(settings.threadText(), QString());
    EXPECT_FALSE(settings.shutDownAfterRun());
    EXPECT_EQ(settings.profileItemNumber(), 0);
    EXPECT_FALSE(settings.hasProfile());
}

TEST_F(SettingsTest, StoredValuesReadAsTheirNumbers) {
    writeFile("[SET]\noutputfolder=   \nexistedfile=2\nthread= 2.5abc\nautoshut=true\n"
              "Profile=12\n");
    const Settings settings(path());
    // Blanks only: the default folder.
    EXPECT_EQ(settings.outputFolder(), QString());
    // Any number other than 0 overwrites.
    EXPECT_TRUE(settings.overwriteExistingFiles());
    EXPECT_EQ(settings.threadCount(), 2.5);
    EXPECT_EQ(settings.threadText(), QStringLiteral("2.5abc"));
    // Only a stored 1 powers off; a word never does.
    EXPECT_FALSE(settings.shutDownAfterRun());
    EXPECT_EQ(settings.profileItemNumber(), 12);
    EXPECT_TRUE(settings.hasProfile());
}

TEST_F(SettingsTest, ANumberIsReadFromTheStartOfItsText) {
    const std::pair<const char*, double> cases[] = {
        {"-1.5x", -1.5}, {".5", 0.5}, {"1e3", 1}, {"yes", 0}, {"", 0}, {" 8 threads", 8}};
    for (const auto& [stored, count] : cases) {
        writeFile(QByteArray(QByteArray("[set]\nthread=") + stored + "\n").constData());
        EXPECT_EQ(Settings(path()).threadCount(), count) << stored;
    }
}

TEST_F(SettingsTest, OnlyAWholeNumberNamesAProfile) {
    for (const char* stored : {"profile=12.5\n", "profile=abc\n", "profile=\n"}) {
        writeFile(QByteArray(QByteArray("[set]\n") + stored).constData());
        EXPECT_EQ(Settings(path()).profileItemNumber(), 0) << stored;
    }
    writeFile("[set]\nprofile=7kb\n");
    EXPECT_EQ(Settings(path()).profileItemNumber(), 7);
}

TEST_F(SettingsTest, WritersStoreTheFileFormat) {
    const Settings settings(path());
    ASSERT_TRUE(settings.setOutputFolder(QStringLiteral("  /home/me/Videos é  ")));
    ASSERT_TRUE(settings.setOverwriteExistingFiles(false));
    ASSERT_TRUE(settings.setShutDownAfterRun(false));
    ASSERT_TRUE(settings.setThreadCount(-1));
    ASSERT_TRUE(settings.setProfileItemNumber(12));
    EXPECT_EQ(fileBytes(), QByteArray("[set]\noutputfolder=/home/me/Videos é\nexistedfile=0\n"
                                      "autoshut=0\nthread=-1\nprofile=12\n"));

    settings.setOverwriteExistingFiles(true);
    settings.setShutDownAfterRun(true);
    settings.setThreadCount(4);
    EXPECT_TRUE(settings.overwriteExistingFiles());
    EXPECT_TRUE(settings.shutDownAfterRun());
    EXPECT_EQ(settings.threadText(), QStringLiteral("4"));
    EXPECT_EQ(settings.outputFolder(), QStringLiteral("/home/me/Videos é"));
}

} // namespace
} // namespace vidora
