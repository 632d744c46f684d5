// Pages, thumbnails and downloads against a loopback HTTP server the tests run themselves.
#include "download/Folders.h"
#include "download/LoopbackServer.h"
#include "download/WatchPages.h"
#include "platform/Paths.h"
#include "support/Recorders.h"
#include "webvideo/Transfers.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace vidora {
namespace {

using test::contentOf;
using test::LoopbackServer;
using test::ServedReply;

QByteArray bodyOf(qsizetype size) {
    QByteArray body;
    for (qsizetype i = 0; i < size; ++i)
        body += char('a' + i % 26);
    return body;
}

class Transfers : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folders.isValid());
        ASSERT_TRUE(m_server.start());
        QObject::connect(&m_inet, &HttpTransfer::statusChanged,
                         [this](const QString& text) { m_statuses << text; });
    }
    QString downloads() const { return m_folders.downloads(); }
    QString cached(const QString& name) const { return m_folders.cached(name); }
    bool download(const QString& path, const QString& name) {
        m_percents.clear();
        return DownloadToFile(m_inet, m_server.url(path), downloads(), name,
                              [this](int percent) { m_percents << percent; });
    }
    QStringList downloadFolderEntries() const {
        return QDir(downloads()).entryList(QDir::Files | QDir::Hidden);
    }

    test::DownloadFolders m_folders;
    LoopbackServer m_server;
    HttpTransfer m_inet;
    test::MessageRecorder m_messages;
    QStringList m_statuses;
    QList<int> m_percents;
};

TEST_F(Transfers, APageIsReadWholeWhenSentInChunks) {
    ServedReply reply;
    reply.body = test::watchPage({}).toUtf8() + QByteArray(5000, ' ') + "Größe end";
    reply.chunkBytes = 700;
    m_server.serve(QStringLiteral("/watch?v=Ab3"), reply);
    const QString page = LoadPage(m_inet, m_server.url(QStringLiteral("/watch?v=Ab3")));
    EXPECT_EQ(page, QString::fromUtf8(reply.body));
    EXPECT_TRUE(m_messages.shown.isEmpty());
    // The states Qt lets us see, in order, then the page's own two texts.
    const QStringList expected{
        "Making Request...", "Connecting Host",    "Request sent.", "Receiving Response..",
        "Reading Data...",   "Response received.", "Complete!"};
    QStringList seen = m_statuses;
    seen.removeDuplicates();
    EXPECT_EQ(seen, expected);
}

TEST_F(Transfers, APageThatIsNotThereGivesTheErrorStatusAndAMessage) {
    EXPECT_TRUE(LoadPage(m_inet, m_server.url(QStringLiteral("/missing"))).isEmpty());
    EXPECT_TRUE(m_statuses.contains(QStringLiteral("Error 404 Not Found")))
        << m_statuses.join(u'|').toStdString();
    ASSERT_EQ(m_messages.shown.size(), 1);
    EXPECT_TRUE(m_messages.shown[0].startsWith(u"error: Something Went Wrong\n"));
    EXPECT_FALSE(m_statuses.contains(QStringLiteral("Complete!")));

    // Nobody listening at all.
    m_messages.shown.clear();
    EXPECT_TRUE(LoadPage(m_inet, QStringLiteral("http://127.0.0.1:1/")).isEmpty());
    ASSERT_EQ(m_messages.shown.size(), 1);
    EXPECT_TRUE(m_messages.shown[0].startsWith(u"error: Something Went Wrong\n"));
}

TEST_F(Transfers, AStalledPageEndsAsSlowConnectionWithinItsTimeout) {
    ServedReply reply;
    reply.body = bodyOf(4000);
    reply.stallAfter = 1000;
    m_server.serve(QStringLiteral("/slow"), reply);
    m_inet.setStallTimeout(400);
    // The wait lets other work run: a timer of the window fires meanwhile.
    bool timerRan = false;
    QTimer::singleShot(100, [&] { timerRan = true; });
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(LoadPage(m_inet, m_server.url(QStringLiteral("/slow"))).isEmpty());
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_GE(clock.elapsed(), 350); // coarse timers may fire a little early
    EXPECT_TRUE(timerRan);
    EXPECT_EQ(m_statuses.last(), QStringLiteral("Slow Connection"));
    ASSERT_EQ(m_messages.shown.size(), 1);
    EXPECT_TRUE(m_messages.shown[0].startsWith(u"error: Something Went Wrong\n"));
    EXPECT_TRUE(m_messages.shown[0].contains(u"time-out"));
    EXPECT_FALSE(m_inet.isBusy());
}

TEST_F(Transfers, ADownloadReportsThePercentAfterEachChunk) {
    ServedReply reply;
    reply.body = bodyOf(2500);
    m_server.serve(QStringLiteral("/v/2500"), reply);
    EXPECT_TRUE(download(QStringLiteral("/v/2500"), QStringLiteral("Clip -x 'ü'.mp4")));
    EXPECT_EQ(m_percents, (QList<int>{41, 82, 100}));
    EXPECT_EQ(PercentText(m_percents.last()), QStringLiteral("100 % "));
    EXPECT_EQ(contentOf(downloads() + QStringLiteral("/Clip -x 'ü'.mp4")), reply.body);
    EXPECT_EQ(downloadFolderEntries(), QStringList{"Clip -x 'ü'.mp4"});
    EXPECT_TRUE(m_messages.shown.isEmpty());
}

TEST_F(Transfers, PercentagesRoundHalvesToTheEvenNeighbour) {
    EXPECT_EQ(DownloadPercent(1024, 2500), 41);
    EXPECT_EQ(DownloadPercent(1, 8), 12);  // 12.5
    EXPECT_EQ(DownloadPercent(3, 8), 38);  // 37.5
    EXPECT_EQ(DownloadPercent(1, 200), 0); // 0.5
    EXPECT_EQ(DownloadPercent(3, 200), 2); // 1.5
    EXPECT_EQ(DownloadPercent(7, 7), 100);
}

TEST_F(Transfers, WithoutALengthNothingIsWritten) {
    ServedReply closeEnded;
    closeEnded.body = bodyOf(3000);
    closeEnded.withoutLength = true;
    m_server.serve(QStringLiteral("/nolength"), closeEnded);
    ServedReply chunked;
    chunked.body = bodyOf(3000);
    chunked.chunkBytes = 1000;
    m_server.serve(QStringLiteral("/chunked"), chunked);

    for (const QString& path : {QStringLiteral("/nolength"), QStringLiteral("/chunked")}) {
        m_messages.shown.clear();
        EXPECT_FALSE(download(path, QStringLiteral("x.flv")));
        ASSERT_EQ(m_messages.shown.size(), 1) << path.toStdString();
        EXPECT_TRUE(m_messages.shown[0].startsWith(u"error: Error-"));
        EXPECT_TRUE(m_messages.shown[0].contains(u"Content-Length"));
        EXPECT_TRUE(m_percents.isEmpty());
        EXPECT_TRUE(downloadFolderEntries().isEmpty()) << path.toStdString();
    }
}

TEST_F(Transfers, ALengthOfZeroMakesAnEmptyFile) {
    m_server.serve(QStringLiteral("/empty"), ServedReply{});
    EXPECT_TRUE(download(QStringLiteral("/empty"), QStringLiteral("empty.flv")));
    EXPECT_TRUE(m_percents.isEmpty());
    EXPECT_TRUE(QFile::exists(downloads() + QStringLiteral("/empty.flv")));
    EXPECT_EQ(contentOf(downloads() + QStringLiteral("/empty.flv")), QByteArray());
    EXPECT_TRUE(m_messages.shown.isEmpty());
}

TEST_F(Transfers, AMissingFileIsAnErrorAndWritesNothing) {
    EXPECT_FALSE(download(QStringLiteral("/nothing"), QStringLiteral("n.mp4")));
    EXPECT_TRUE(m_statuses.contains(QStringLiteral("Error 404 Not Found")));
    ASSERT_EQ(m_messages.shown.size(), 1);
    EXPECT_TRUE(m_messages.shown[0].startsWith(u"error: Error-"));
    EXPECT_TRUE(downloadFolderEntries().isEmpty());
}

TEST_F(Transfers, AStalledDownloadKeepsWhatArrived) {
    ServedReply reply;
    reply.body = bodyOf(5000);
    reply.stallAfter = 2200;
    m_server.serve(QStringLiteral("/stall"), reply);
    m_inet.setStallTimeout(1000);
    EXPECT_FALSE(download(QStringLiteral("/stall"), QStringLiteral("part.mp4")));
    EXPECT_EQ(m_statuses.last(), QStringLiteral("Slow Connection"));
    ASSERT_EQ(m_messages.shown.size(), 1);
    EXPECT_TRUE(m_messages.shown[0].startsWith(u"error: Error-"));
    EXPECT_TRUE(m_messages.shown[0].contains(u"time-out"));
    EXPECT_TRUE(m_messages.shown[0].endsWith(
        QStringLiteral("\nWhat arrived is kept in %1/part.mp4.").arg(downloads())))
        << m_messages.shown[0].toStdString();
    // Two whole chunks had arrived and were written.
    EXPECT_EQ(contentOf(downloads() + QStringLiteral("/part.mp4")), reply.body.left(2048));
    EXPECT_EQ(m_percents, (QList<int>{20, 41}));
    EXPECT_EQ(downloadFolderEntries(), QStringList{"part.mp4"});
}

TEST_F(Transfers, AnExistingFileIsReplacedOnlyByACompleteDownload) {
    const QString target = downloads() + QStringLiteral("/same.mp4");
    QFile existing(target);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write(QByteArray(9000, 'z'));
    existing.close();

    ServedReply broken;
    broken.body = bodyOf(5000);
    broken.stallAfter = 3000;
    m_server.serve(QStringLiteral("/broken"), broken);
    m_inet.setStallTimeout(1000);
    EXPECT_FALSE(download(QStringLiteral("/broken"), QStringLiteral("same.mp4")));
    EXPECT_EQ(contentOf(target), QByteArray(9000, 'z'));
    // What arrived stays beside it, under a name that says what it is.
    EXPECT_EQ(downloadFolderEntries(), QStringList({"same.mp4", "same.mp4.part"}));
    EXPECT_EQ(contentOf(target + QStringLiteral(".part")), broken.body.left(2048));
    ASSERT_EQ(m_messages.shown.size(), 1);
    EXPECT_TRUE(m_messages.shown[0].startsWith(u"error: Error-"));
    EXPECT_TRUE(m_messages.shown[0].endsWith(
        QStringLiteral("\nWhat arrived is kept in %1.part; %1 is unchanged.").arg(target)))
        << m_messages.shown[0].toStdString();

    ServedReply whole;
    whole.body = bodyOf(2500);
    m_server.serve(QStringLiteral("/whole"), whole);
    EXPECT_TRUE(download(QStringLiteral("/whole"), QStringLiteral("same.mp4")));
    EXPECT_EQ(contentOf(target), whole.body);
    EXPECT_EQ(downloadFolderEntries(), QStringList{"same.mp4"});
}

TEST_F(Transfers, ADownloadThatCannotTakeItsNameSaysWhyAndWhereItIs) {
    // A folder holds the name: the complete download cannot be renamed onto it.
    ASSERT_TRUE(QDir(downloads()).mkdir(QStringLiteral("taken.mp4")));
    ServedReply whole;
    whole.body = bodyOf(2500);
    m_server.serve(QStringLiteral("/whole"), whole);
    EXPECT_FALSE(download(QStringLiteral("/whole"), QStringLiteral("taken.mp4")));
    const QString target = downloads() + QStringLiteral("/taken.mp4");
    ASSERT_EQ(m_messages.shown.size(), 1);
    EXPECT_EQ(m_messages.shown[0],
              QStringLiteral("error: Error-The download could not be named %1 (Is a directory)\n"
                             "What arrived is kept in %1.part; %1 is unchanged.")
                  .arg(target));
    EXPECT_EQ(contentOf(target + QStringLiteral(".part")), whole.body);
    EXPECT_TRUE(QFileInfo(target).isDir());
}

TEST_F(Transfers, RedirectsAreFollowed) {
    ServedReply moved;
    moved.status = 302;
    moved.reason = "Found";
    moved.headers = {{"Location", "/real/file"}};
    moved.body = "moved";
    m_server.serve(QStringLiteral("/get"), moved);
    ServedReply file;
    file.body = bodyOf(3000);
    m_server.serve(QStringLiteral("/real/file"), file);
    EXPECT_TRUE(download(QStringLiteral("/get"), QStringLiteral("r.flv")));
    EXPECT_EQ(contentOf(downloads() + QStringLiteral("/r.flv")), file.body);
    EXPECT_EQ(m_server.requestCount(QStringLiteral("/real/file")), 1);

    ServedReply page;
    page.body = "<html>the page</html>";
    m_server.serve(QStringLiteral("/real/page"), page);
    moved.headers = {{"Location", "/real/page"}};
    m_server.serve(QStringLiteral("/old/page"), moved);
    EXPECT_EQ(LoadPage(m_inet, m_server.url(QStringLiteral("/old/page"))),
              QStringLiteral("<html>the page</html>"));
}

TEST_F(Transfers, AnAnswerThatIsNeitherContentNorRedirectIsAFailure) {
    ServedReply choices;
    choices.status = 300;
    choices.reason = "Multiple Choices";
    choices.body = "pick one";
    m_server.serve(QStringLiteral("/choices"), choices);
    EXPECT_FALSE(download(QStringLiteral("/choices"), QStringLiteral("c.mp4")));
    ASSERT_EQ(m_messages.shown.size(), 1);
    EXPECT_EQ(m_messages.shown[0],
              QStringLiteral("error: Error-The server answered 300 Multiple Choices"));
    EXPECT_TRUE(downloadFolderEntries().isEmpty());
    EXPECT_TRUE(LoadPage(m_inet, m_server.url(QStringLiteral("/choices"))).isEmpty());
    ASSERT_EQ(m_messages.shown.size(), 2);
    EXPECT_TRUE(m_messages.shown[1].startsWith(u"error: Something Went Wrong\n"));
}

TEST_F(Transfers, ClosingEndsADownloadWithoutAMessageAndKeepsWhatArrived) {
    ServedReply reply;
    reply.body = bodyOf(6000);
    reply.stallAfter = 3100;
    m_server.serve(QStringLiteral("/long"), reply);
    // Ended once everything before the stall has been written.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [this] {
        if (!m_percents.isEmpty() && m_percents.last() == 51)
            m_inet.abort();
    });
    poll.start(20);
    EXPECT_FALSE(download(QStringLiteral("/long"), QStringLiteral("kept.mp4")));
    EXPECT_TRUE(m_messages.shown.isEmpty());
    EXPECT_EQ(contentOf(downloads() + QStringLiteral("/kept.mp4")), reply.body.left(3072));
}

TEST_F(Transfers, ThumbnailsGoIntoTheCacheFolderOnly) {
    ServedReply picture;
    picture.body = "\xff\xd8 not really a jpeg";
    m_server.serve(QStringLiteral("/vi/Ab3/default.jpg"), picture);
    const QString address = m_server.url(QStringLiteral("/vi/Ab3/default.jpg"));
    EXPECT_TRUE(CacheThumbnail(m_inet, address, QStringLiteral("Ab3.jpg")));
    EXPECT_EQ(contentOf(cached(QStringLiteral("Ab3.jpg"))), picture.body);

    EXPECT_TRUE(CacheThumbnail(m_inet, address, QStringLiteral("../../escape.jpg")));
    EXPECT_EQ(contentOf(cached(QStringLiteral(".._.._escape.jpg"))), picture.body);
    EXPECT_FALSE(QFile::exists(m_folders.path(QStringLiteral("escape.jpg"))));

    EXPECT_FALSE(CacheThumbnail(m_inet, m_server.url(QStringLiteral("/none.jpg")),
                                QStringLiteral("none.jpg")));
    EXPECT_FALSE(QFile::exists(cached(QStringLiteral("none.jpg"))));
    ASSERT_TRUE(QDir(cached(QString())).removeRecursively());
    EXPECT_FALSE(CacheThumbnail(m_inet, address, QStringLiteral("Ab3.jpg")));
    EXPECT_TRUE(m_messages.shown.isEmpty());
}

TEST_F(Transfers, AThumbnailWhileTheComponentIsBusyIsNotFetched) {
    ServedReply old;
    old.body = "old picture";
    m_server.serve(QStringLiteral("/old.jpg"), old);
    ASSERT_TRUE(
        CacheThumbnail(m_inet, m_server.url(QStringLiteral("/old.jpg")), QStringLiteral("Id.jpg")));
    ServedReply slow;
    slow.body = "new picture";
    slow.stallAfter = 3;
    m_server.serve(QStringLiteral("/slow.jpg"), slow);
    ServedReply fresh;
    fresh.body = "fresh picture";
    m_server.serve(QStringLiteral("/fresh.jpg"), fresh);

    m_inet.setStallTimeout(1000);
    std::optional<bool> second;
    QTimer::singleShot(100, [&] {
        EXPECT_TRUE(m_inet.isBusy());
        second = CacheThumbnail(m_inet, m_server.url(QStringLiteral("/fresh.jpg")),
                                QStringLiteral("Id.jpg"));
    });
    EXPECT_FALSE(CacheThumbnail(m_inet, m_server.url(QStringLiteral("/slow.jpg")),
                                QStringLiteral("Id.jpg")));
    ASSERT_TRUE(second.has_value());
    EXPECT_FALSE(*second);
    EXPECT_EQ(m_server.requestCount(QStringLiteral("/fresh.jpg")), 0);
    EXPECT_EQ(contentOf(cached(QStringLiteral("Id.jpg"))), old.body);
}

TEST_F(Transfers, HttpsWorksWithATrustedCertificateAndFailsWithout) {
    if (QStandardPaths::findExecutable(QStringLiteral("openssl")).isEmpty())
        GTEST_SKIP() << "skipped: openssl is not installed, so no test certificate can be made "
                        "(scripts/install-deps.sh installs the Debian package openssl)";
    LoopbackServer secure(LoopbackServer::Scheme::Https);
    ASSERT_TRUE(secure.start()) << "the https loopback server did not start";
    ServedReply page;
    page.body = "<html>secure page</html>";
    secure.serve(QStringLiteral("/watch"), page);
    ServedReply file;
    file.body = bodyOf(2500);
    secure.serve(QStringLiteral("/file"), file);

    EXPECT_TRUE(LoadPage(m_inet, secure.url(QStringLiteral("/watch"))).isEmpty());
    ASSERT_EQ(m_messages.shown.size(), 1);
    m_messages.shown.clear();

    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setCaCertificates({secure.certificate()});
    m_inet.setTlsConfiguration(tls);
    m_statuses.clear();
    EXPECT_EQ(LoadPage(m_inet, secure.url(QStringLiteral("/watch"))),
              QStringLiteral("<html>secure page</html>"));
    EXPECT_TRUE(m_statuses.contains(QStringLiteral("Connected.")));
    EXPECT_TRUE(DownloadToFile(m_inet, secure.url(QStringLiteral("/file")), downloads(),
                               QStringLiteral("s.mp4"), [this](int p) { m_percents << p; }));
    EXPECT_EQ(m_percents, (QList<int>{41, 82, 100}));
    EXPECT_EQ(contentOf(downloads() + QStringLiteral("/s.mp4")), file.body);
    EXPECT_TRUE(m_messages.shown.isEmpty()) << m_messages.shown.join(u'|').toStdString();
}

TEST(TransferAddresses, KeepEscapedBytesAndAddTheScheme) {
    EXPECT_EQ(AddressOfLink(QStringLiteral("  http://h/v?a=b c  ")).toEncoded(),
              QByteArray("http://h/v?a=b%20c"));
    EXPECT_EQ(AddressOfLink(QStringLiteral("http://h/caf\u00e9")).toEncoded(),
              QByteArray("http://h/caf%E9"));
    EXPECT_EQ(AddressOfLink(QStringLiteral("www.example.com/watch?v=XXXXX")).toEncoded(),
              QByteArray("http://www.example.com/watch?v=XXXXX"));
    EXPECT_EQ(StatusText(3), QStringLiteral("Connecting Host"));
    EXPECT_EQ(StatusText(11, 404, QStringLiteral("Not Found")),
              QStringLiteral("Error 404 Not Found"));
    EXPECT_TRUE(StatusText(12).isEmpty());
}

} // namespace
} // namespace vidora
