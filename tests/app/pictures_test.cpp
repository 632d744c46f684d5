// The pictures the build draws into the program folder: the chooser's picture list and the
// preview area's loading.jpg.

#include "profiles/Catalogue.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QSet>
#include <gtest/gtest.h>

namespace vidora {
namespace {

QString pictureFile(int number) {
    return QDir(QStringLiteral(VIDORA_PROGRAM_DIR))
        .filePath(QStringLiteral("pictures/") + Catalogue::pictureFileName(number));
}

TEST(Pictures, EveryPositionOfThePictureListIsALoadable32By32Png) {
    for (int number = 1; number <= Catalogue::kPictureCount; ++number) {
        SCOPED_TRACE(pictureFile(number).toStdString());
        QImage image;
        ASSERT_TRUE(image.load(pictureFile(number), "PNG"));
        EXPECT_EQ(image.size(), QSize(32, 32));
        EXPECT_TRUE(image.hasAlphaChannel());
    }
}

TEST(Pictures, AreGlyphsOnATransparentBackground) {
    for (int number = 1; number <= Catalogue::kPictureCount; ++number) {
        SCOPED_TRACE(number);
        const QImage image = QImage(pictureFile(number)).convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(image.isNull());
        // The corners stay clear, so the picture sits on whatever the chooser draws behind it.
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(image.pixel(31, 0)), 0);
        EXPECT_EQ(qAlpha(image.pixel(0, 31)), 0);
        EXPECT_EQ(qAlpha(image.pixel(31, 31)), 0);
        // ... and there is a glyph: a fair share of the square is drawn.
        int opaque = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                opaque += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
        EXPECT_GT(opaque, 32 * 32 / 8);
    }
}

TEST(Pictures, AreAllDifferent) {
    QSet<QByteArray> seen;
    for (int number = 1; number <= Catalogue::kPictureCount; ++number) {
        const QImage image = QImage(pictureFile(number)).convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(image.isNull()) << number;
        const QByteArray pixels(reinterpret_cast<const char*>(image.constBits()),
                                image.sizeInBytes());
        const QByteArray hash = QCryptographicHash::hash(pixels, QCryptographicHash::Sha1);
        EXPECT_FALSE(seen.contains(hash)) << "picture " << number << " repeats an earlier one";
        seen.insert(hash);
    }
}

TEST(Pictures, EveryHeaderRowNamesAPictureOfTheList) {
    for (const CatalogueRow& row : Catalogue::rows()) {
        if (row.kind != RowKind::Header)
            continue;
        SCOPED_TRACE(row.caption);
        EXPECT_GE(row.picture, 1);
        EXPECT_LE(row.picture, Catalogue::kPictureCount);
        EXPECT_TRUE(QFileInfo::exists(pictureFile(row.picture)));
    }
}

TEST(Pictures, LoadingPictureIsA320By240Jpeg) {
    QImage image;
    ASSERT_TRUE(image.load(
        QDir(QStringLiteral(VIDORA_PROGRAM_DIR)).filePath(QStringLiteral("loading.jpg")), "JPG"));
    EXPECT_EQ(image.size(), QSize(320, 240));
}

} // namespace
} // namespace vidora
