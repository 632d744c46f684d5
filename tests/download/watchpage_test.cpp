// Watch-page parsing on pages built here in the site's historical layout.
#include "download/WatchPages.h"
#include "webvideo/Transfers.h"
#include "webvideo/WatchPage.h"

#include <gtest/gtest.h>

namespace vidora {
namespace {

using test::watchPage;
using test::WatchPageFields;

TEST(WatchPage, ReadsEveryFieldBetweenItsMarkers) {
    WatchPageFields fields;
    fields.title = QStringLiteral("My: (Best) Clip/2");
    const WatchPageInfo info = ParseWatchPage(watchPage(fields));
    EXPECT_EQ(info.Title, QStringLiteral("My Best Clip2"));
    EXPECT_EQ(info.Author, QStringLiteral("clipmaker"));
    EXPECT_EQ(info.VideoId, QStringLiteral("Ab3_x-9"));
    EXPECT_EQ(info.Published, QStringLiteral("March 03, 2010"));
    EXPECT_EQ(info.Category, QStringLiteral("Music"));
    EXPECT_EQ(info.Description, QStringLiteral("A clip about clips.\nSecond line"));
    EXPECT_EQ(info.ThumbnailUrl, QStringLiteral("http://i.example.com/vi/Ab3_x-9/default.jpg"));
    EXPECT_EQ(info.LengthSeconds, QStringLiteral("213"));
    EXPECT_EQ(info.Rating, QStringLiteral("4.5"));
}

TEST(WatchPage, TitleLosesEveryCharacterAFileNameMustNotHold) {
    WatchPageFields fields;
    fields.title = QStringLiteral("a/b\\c:d(e)f\"g");
    EXPECT_EQ(ParseWatchPage(watchPage(fields)).Title, QStringLiteral("abcdef\"g"));
    // An apostrophe not followed by a comma stays inside the marker and is removed too.
    fields.title = QStringLiteral("It's here");
    EXPECT_EQ(ParseWatchPage(watchPage(fields)).Title, QStringLiteral("Its here"));
}

TEST(WatchPage, DescriptionStartsAfterItsSpanOrAtTheSeventhCharacter) {
    WatchPageFields fields;
    fields.descriptionBlock = QStringLiteral("\n  <p><span >Text after span");
    EXPECT_EQ(ParseWatchPage(watchPage(fields)).Description, QStringLiteral("Text after span"));
    fields.descriptionBlock = QStringLiteral("123456789 no span");
    EXPECT_EQ(ParseWatchPage(watchPage(fields)).Description, QStringLiteral("789 no span"));
}

TEST(WatchPage, TextBetweenCountsFromTheStartMarkersLengthWhenItIsMissing) {
    EXPECT_EQ(TextBetween(QStringLiteral("xx[abc]yy"), QStringLiteral("["), QStringLiteral("]")),
              QStringLiteral("abc"));
    EXPECT_EQ(TextBetween(QStringLiteral("xx[abc"), QStringLiteral("["), QStringLiteral("]")),
              QString());
    // Start marker "<<<" missing: the end is looked for from position 3, the text from there.
    EXPECT_EQ(TextBetween(QStringLiteral("abcdef]"), QStringLiteral("<<<"), QStringLiteral("]")),
              QStringLiteral("cdef"));
    EXPECT_EQ(TextBetween(QString(), QStringLiteral("<"), QStringLiteral(">")), QString());
    // The end marker right after the start gives the empty text.
    EXPECT_EQ(TextBetween(QStringLiteral("a[]b"), QStringLiteral("["), QStringLiteral("]")),
              QString());
}

TEST(WatchPage, APageOfAnotherLayoutGivesEmptyFields) {
    const WatchPageInfo info =
        ParseWatchPage(QStringLiteral("<html><body>{\"videoDetails\": {}}</body></html>"));
    EXPECT_TRUE(info.Title.isEmpty());
    EXPECT_TRUE(info.Author.isEmpty());
    EXPECT_TRUE(info.Published.isEmpty());
    EXPECT_TRUE(info.ThumbnailUrl.isEmpty());
    EXPECT_TRUE(info.Rating.isEmpty());
    FormatLinks links;
    EXPECT_TRUE(GetURLs(QStringLiteral("<html></html>"), links).isEmpty());
    EXPECT_TRUE(links.LinkMp4.isEmpty());
}

TEST(WatchPage, AnInvalidEscapeEndsTheParseAtThatField) {
    WatchPageFields fields;
    fields.lengthSeconds = QStringLiteral("2%zz3");
    const WatchPageInfo info = ParseWatchPage(watchPage(fields));
    EXPECT_EQ(info.Title, QStringLiteral("Clip"));
    EXPECT_EQ(info.Description, QStringLiteral("A clip about clips.\nSecond line"));
    EXPECT_EQ(info.ThumbnailUrl, QStringLiteral("http://i.example.com/vi/Ab3_x-9/default.jpg"));
    EXPECT_TRUE(info.LengthSeconds.isEmpty());
    EXPECT_TRUE(info.Rating.isEmpty());
}

TEST(WatchPage, LongPagesAndLongFieldsAreReadWhole) {
    WatchPageFields fields;
    fields.filler = QString(40000, u'x');
    fields.thumbnailUrl = QStringLiteral("http%3A%2F%2Fi.example.com%2F") +
                          QStringLiteral("a%2Fb").repeated(8000) + QStringLiteral(".jpg");
    const QString page = watchPage(fields);
    ASSERT_GT(page.size(), 32767);
    const WatchPageInfo info = ParseWatchPage(page);
    EXPECT_EQ(info.ThumbnailUrl, QStringLiteral("http://i.example.com/") +
                                     QStringLiteral("a/b").repeated(8000) + QStringLiteral(".jpg"));
    EXPECT_EQ(info.Rating, QStringLiteral("4.5"));
    FormatLinks links;
    EXPECT_EQ(GetURLs(page, links), (QList<int>{22, 34, 35, 5}));
}

TEST(WatchPage, HostileIdsAndTitlesNameNothingOutsideTheirFolder) {
    WatchPageFields fields;
    fields.videoId = QStringLiteral("../../.config/autostart/x");
    fields.title = QStringLiteral("..");
    const WatchPageInfo info = ParseWatchPage(watchPage(fields));
    EXPECT_EQ(SafeFileName(info.VideoId + QStringLiteral(".jpg")),
              QStringLiteral(".._.._.config_autostart_x.jpg"));
    EXPECT_EQ(SafeFileName(info.Title), QStringLiteral("video"));
    EXPECT_EQ(SafeFileName(QString()), QStringLiteral("video"));
    EXPECT_EQ(SafeFileName(QStringLiteral(".")), QStringLiteral("video"));
    EXPECT_EQ(SafeFileName(QStringLiteral("a\\b\nc\td\x7f")), QStringLiteral("a_b_c_d_"));
    // Everything else a Linux file name can hold stays as it is.
    EXPECT_EQ(SafeFileName(QStringLiteral("-rf 'Größe' \"x\" ...mp4")),
              QStringLiteral("-rf 'Größe' \"x\" ...mp4"));
}

TEST(FormatMap, SetsTheLinkOfEachKnownCodeAndSkipsOthers) {
    FormatLinks links;
    const QString page = test::pageWithMap(QStringLiteral("22%7CA%2C35%7CB%2C5%7CC"));
    EXPECT_EQ(GetURLs(page, links), (QList<int>{22, 35, 5}));
    EXPECT_EQ(links.LinkMp4, QStringLiteral("A"));
    EXPECT_EQ(links.LinkHdHigh, QStringLiteral("B"));
    EXPECT_EQ(links.LinkFlv, QStringLiteral("C"));
    EXPECT_TRUE(links.LinkHdLow.isEmpty());

    // Unknown codes are skipped; a later piece of the same code wins; links not in the map stay.
    EXPECT_EQ(GetURLs(test::pageWithMap(QStringLiteral("18|X,34|D,34|E")), links),
              (QList<int>{34, 34}));
    EXPECT_EQ(links.LinkHdLow, QStringLiteral("E"));
    EXPECT_EQ(links.LinkMp4, QStringLiteral("A"));
    // The link keeps everything after the first "|" and stays escaped once more.
    GetURLs(test::pageWithMap(QStringLiteral("5%7Chttp%3A%2F%2Fh%2Fv%3Fa%253D1%7Cz")), links);
    EXPECT_EQ(links.LinkFlv, QStringLiteral("http://h/v?a%3D1|z"));
}

TEST(FormatMap, TheScanEndsAtAPieceWithoutBarOrWithoutANumber) {
    FormatLinks links;
    EXPECT_EQ(GetURLs(test::pageWithMap(QStringLiteral("22|A,junk,5|C")), links), (QList<int>{22}));
    EXPECT_EQ(links.LinkMp4, QStringLiteral("A"));
    EXPECT_TRUE(links.LinkFlv.isEmpty());

    FormatLinks other;
    EXPECT_EQ(GetURLs(test::pageWithMap(QStringLiteral("35|B,x5|C,22|A")), other),
              (QList<int>{35}));
    EXPECT_TRUE(other.LinkFlv.isEmpty());
    EXPECT_TRUE(other.LinkMp4.isEmpty());
    // A code beyond 16 bits is not a number either.
    EXPECT_TRUE(GetURLs(test::pageWithMap(QStringLiteral("70000|A,22|B")), other).isEmpty());
    EXPECT_TRUE(GetURLs(test::pageWithMap(QStringLiteral("|A,22|B")), other).isEmpty());
}

TEST(FormatMap, AMapThatCannotBeDecodedSetsNothing) {
    FormatLinks links;
    links.LinkMp4 = QStringLiteral("earlier");
    EXPECT_TRUE(GetURLs(test::pageWithMap(QStringLiteral("22|A,%G1,5|C")), links).isEmpty());
    EXPECT_EQ(links.LinkMp4, QStringLiteral("earlier"));
    EXPECT_TRUE(links.LinkFlv.isEmpty());
    // The expression wants the exact key: another spelling is no map.
    EXPECT_TRUE(GetURLs(QStringLiteral("\"FMT_URL_MAP\": \"22|A\""), links).isEmpty());
    EXPECT_TRUE(GetURLs(QStringLiteral("\"fmt_url_map\": \"\""), links).isEmpty());
}

TEST(UrlDecode, DecodesEscapesAndBlanks) {
    EXPECT_EQ(URLDecode(QStringLiteral("a+b%2Cc")), QStringLiteral("a b,c"));
    EXPECT_EQ(URLDecode(QStringLiteral("%2B")), QStringLiteral("+"));
    EXPECT_EQ(URLDecode(QStringLiteral("100%")), QStringLiteral("100"));
    EXPECT_EQ(URLDecode(QStringLiteral("ab%c")), QStringLiteral("abc"));
    EXPECT_EQ(URLDecode(QStringLiteral("%41%62%2f%2F")), QStringLiteral("Ab//"));
    EXPECT_EQ(URLDecode(QString()), QString());
    // An escape stands for one byte: %E9 is the one character of that code.
    EXPECT_EQ(URLDecode(QStringLiteral("caf%E9")), QStringLiteral("caf\u00e9"));
    EXPECT_EQ(URLDecode(QStringLiteral("%C3%A9")), QStringLiteral("\u00c3\u00a9"));
    EXPECT_EQ(URLDecode(QStringLiteral("%2541")), QStringLiteral("%41"));
}

TEST(UrlDecode, AnEscapeOfNonHexCharactersIsAnError) {
    EXPECT_FALSE(URLDecode(QStringLiteral("%zz")).has_value());
    EXPECT_FALSE(URLDecode(QStringLiteral("ok%4Gtail")).has_value());
    EXPECT_FALSE(URLDecode(QStringLiteral("%+1")).has_value());
    // Two "%" at the end: neither has two characters after it.
    EXPECT_EQ(URLDecode(QStringLiteral("a%%")), QStringLiteral("a"));
}

TEST(UrlDecode, DecodesTextsOfAnyLength) {
    const QString longText = QStringLiteral("%41b").repeated(20000);
    ASSERT_GT(longText.size(), 32767);
    const std::optional<QString> decoded = URLDecode(longText);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, QStringLiteral("Ab").repeated(20000));
}

} // namespace
} // namespace vidora
