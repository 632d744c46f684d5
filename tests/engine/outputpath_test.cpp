#include "engine/OutputPath.h"
#include "launcher/OutputFiles.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vidora;

TEST(OutputPath, IsTheInputsNameUpToItsFirstDotWithTheProfilesExtension) {
    const auto none = [](const QString&) { return false; };
    EXPECT_EQ(outputPathFor(QStringLiteral("/v/my.clip.avi"), QStringLiteral("/out"),
                            QStringLiteral(".mp4"), false, none),
              QStringLiteral("/out/my.mp4"));
    EXPECT_EQ(outputPathFor(QStringLiteral("/v.d/clip.avi"), QStringLiteral("/"),
                            QStringLiteral(".mp3"), false, none),
              QStringLiteral("/clip.mp3"));
    // A leading dot leaves an empty base name, as the rule says.
    EXPECT_EQ(outputPathFor(QStringLiteral("/v/.avi"), QStringLiteral("/out"),
                            QStringLiteral(".mp4"), false, none),
              QStringLiteral("/out/.mp4"));
    EXPECT_FALSE(outputPathFor(QStringLiteral("/v.d/noextension"), QStringLiteral("/out"),
                               QStringLiteral(".mp4"), false, none));
}

TEST(OutputPath, AddsNewUntilTheNameIsFreeUnlessExistingFilesAreOverwritten) {
    const QSet<QString> existing{QStringLiteral("/out/my.mp4"), QStringLiteral("/out/my_New.mp4")};
    const auto taken = [&existing](const QString& path) { return existing.contains(path); };
    EXPECT_EQ(outputPathFor(QStringLiteral("/v/my.clip.avi"), QStringLiteral("/out"),
                            QStringLiteral(".mp4"), false, taken),
              QStringLiteral("/out/my_New_New.mp4"));
    EXPECT_EQ(outputPathFor(QStringLiteral("/v/my.clip.avi"), QStringLiteral("/out"),
                            QStringLiteral(".mp4"), true, taken),
              QStringLiteral("/out/my.mp4"));
}

TEST(OutputPath, TheTemporaryNameIsTheOneTheEncoderWrites) {
    EXPECT_EQ(temporaryOutputPath(QStringLiteral("/out/clip.mp4")),
              QStringLiteral("/out/.clip.part.mp4"));
    for (const char* output :
         {"/out/clip.mp4", "/out dir.d/it's -a \"ä\" 映画_New.wmv", "/clip.m4a", "/out/.mp4",
          "/out.d/no extension", "relative.mp3", "/out/my.clip.v2.avi"}) {
        EXPECT_EQ(temporaryOutputPath(QString::fromUtf8(output)).toUtf8().toStdString(),
                  vidora::temporaryOutputPath(std::string(output)))
            << output;
    }
}

TEST(OutputPath, EveryDirectoryEntryExistsAndFilesAreKnownByIdentity) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString file = dir.filePath(QStringLiteral("clip.avi"));
    QFile(file).open(QIODevice::WriteOnly);
    const QString dangling = dir.filePath(QStringLiteral("dangling.mp4"));
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("nowhere")), dangling));
    const QString alias = dir.filePath(QStringLiteral("alias.avi"));
    ASSERT_TRUE(QFile::link(file, alias));
    QDir(dir.path()).mkdir(QStringLiteral("sub"));

    EXPECT_TRUE(directoryEntryExists(file));
    EXPECT_TRUE(directoryEntryExists(dangling));
    EXPECT_TRUE(directoryEntryExists(dir.filePath(QStringLiteral("sub"))));
    EXPECT_FALSE(directoryEntryExists(dir.filePath(QStringLiteral("free.mp4"))));

    EXPECT_TRUE(sameExistingFile(alias, file));
    EXPECT_TRUE(sameExistingFile(dir.filePath(QStringLiteral("sub/../clip.avi")), file));
    EXPECT_FALSE(sameExistingFile(dangling, file));
    EXPECT_FALSE(sameExistingFile(dir.filePath(QStringLiteral("free.mp4")), file));
    EXPECT_FALSE(sameExistingFile(dir.filePath(QStringLiteral("sub")), file));
}
