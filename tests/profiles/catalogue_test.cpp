#include "profiles/Catalogue.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace vidora;

namespace {

struct Family {
    const char* header;
    int first;
    int last;
};

// The family blocks in chooser order: each header with the rows up to the next header.
const Family kFamilies[] = {
    {"Apple iPad", 0, 4},
    {"Apple iPod", 5, 10},
    {"Apple iPhone", 11, 14},
    {"Apple TV", 15, 17},
    {"Google Android", 18, 23},
    {"Sony PSP", 24, 26},
    {"Sony PS3", 27, 30},
    {"Sony Walkman", 31, 34},
    {"Microsoft Zune", 35, 39},
    {"Archos", 40, 46},
    {"Creative Zen", 47, 51},
    {"iRiver", 52, 58},
    {"Sandisk Sansa", 59, 62},
    {"Microsoft Xbox 360", 63, 66},
    {"Nintendo Wii", 67, 68},
    {"Mobile Phone", 69, 73},
    {"BlackBerry", 74, 75},
    {"Nokia", 76, 77},
    {"Windows Mobile", 78, 80},
    {"Flash Video", 81, 83},
    {"Toshiba Gigabeat", 84, 85},
    {"Common Used Video Formats", 86, 93},
    {"Common Used Audio Formats", 94, 100},
};

QString caption(int row) {
    return QString::fromLatin1(Catalogue::row(row)->caption);
}

} // namespace

TEST(Catalogue, HoldsTheFamilyBlocksInOrder) {
    ASSERT_EQ(Catalogue::rows().size(), 101u);
    int headers = 0;
    for (const Family& family : kFamilies) {
        SCOPED_TRACE(family.header);
        const CatalogueRow* header = Catalogue::row(family.first);
        ASSERT_NE(header, nullptr);
        EXPECT_EQ(header->kind, RowKind::Header);
        EXPECT_STREQ(header->caption, family.header);
        EXPECT_GT(header->picture, 0);
        for (int row = family.first + 1; row <= family.last; ++row) {
            EXPECT_EQ(Catalogue::row(row)->kind, RowKind::Profile) << row;
            EXPECT_EQ(Catalogue::row(row)->picture, 0) << row;
        }
        ++headers;
    }
    EXPECT_EQ(headers, 23);
    EXPECT_EQ(Catalogue::row(-1), nullptr);
    EXPECT_EQ(Catalogue::row(101), nullptr);
}

TEST(Catalogue, ItemNumbersAreProfileIndexesPlusOne) {
    EXPECT_EQ(Catalogue::itemNumber(0), 1);
    EXPECT_EQ(Catalogue::itemNumber(100), 101);
    EXPECT_EQ(Catalogue::profileIndex(12), 11);
}

TEST(Catalogue, KeepsCaptionsLetterForLetter) {
    EXPECT_EQ(caption(1), QStringLiteral("Apple iPad MPEG-4 Movie(*.mp4)"));
    EXPECT_EQ(caption(2), caption(8));
    EXPECT_EQ(caption(3), caption(9));
    EXPECT_EQ(caption(49), QStringLiteral("Creative Zen Vison Movie(*.avi)"));
    EXPECT_EQ(caption(73), QStringLiteral("Nokia N-series MPEG-4 Movie(*.mp4)"));
    EXPECT_EQ(caption(77), QStringLiteral("Nokia N-Series MPEG-4 Movie(*.mp4)"));
    EXPECT_EQ(caption(100), QStringLiteral("M4A Audio(*.m4a)"));
}

TEST(Catalogue, EveryProfileCaptionYieldsTheExtensionOfItsFilePattern) {
    const QSet<QString> extensions{".mp4", ".wmv", ".avi", ".3gp", ".3g2", ".flv", ".swf",
                                   ".mpg", ".mp3", ".ogg", ".wav", ".aac", ".wma", ".m4a"};
    for (int row = 0; row < Catalogue::RowCount; ++row) {
        SCOPED_TRACE(row);
        const QString text = caption(row);
        const QString extension = Catalogue::outputExtension(text);
        if (Catalogue::row(row)->kind == RowKind::Header) {
            EXPECT_TRUE(extension.isEmpty());
            continue;
        }
        EXPECT_TRUE(extensions.contains(extension)) << extension.toStdString();
        EXPECT_TRUE(text.endsWith(u"(*" + extension + u")"));
    }
    EXPECT_EQ(Catalogue::outputExtension(u"Sony PS3 MPEG-4 AVC Movie(480p)(*.mp4)"),
              QStringLiteral(".mp4"));
    EXPECT_EQ(Catalogue::outputExtension(u"Flash SWF(*.swf)"), QStringLiteral(".swf"));
    EXPECT_EQ(Catalogue::outputExtension(u"Mobile Phone 3GP2 Movie(*.3g2)"),
              QStringLiteral(".3g2"));
}

TEST(Catalogue, SharesPicturesWhereFamiliesShareThem) {
    EXPECT_EQ(Catalogue::row(52)->picture, 31);
    EXPECT_EQ(Catalogue::row(78)->picture, 31);
    EXPECT_EQ(Catalogue::row(0)->picture, 44);
}

TEST(Catalogue, NamesPictureFilesWithTwoDigits) {
    EXPECT_EQ(Catalogue::pictureFileName(1), QStringLiteral("01.png"));
    EXPECT_EQ(Catalogue::pictureFileName(31), QStringLiteral("31.png"));
    EXPECT_EQ(Catalogue::pictureFileName(Catalogue::kPictureCount), QStringLiteral("44.png"));
}
