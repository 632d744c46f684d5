// The download window against a loopback server, with a fake player in the program folder.
#include "download/DownloadWindow.h"
#include "download/Folders.h"
#include "download/LoopbackServer.h"
#include "download/StreamPreview.h"
#include "download/WatchPages.h"
#include "platform/Paths.h"
#include "support/EventLoop.h"
#include "support/Recorders.h"
#include "support/Scripts.h"
#include "webvideo/Transfers.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <gtest/gtest.h>

namespace vidora {
namespace {

using test::LoopbackServer;
using test::ServedReply;

// Records its arguments and runs until it reads the quit key, as the player does.
const char kFakePlayer[] = R"(#!/bin/bash
printf '%s\n' "$@" > "$(dirname "$0")/player-args.txt"
while IFS= read -r -n1 key; do [ "$key" = q ] && exit 0; done
exit 0
)";

QByteArray jpegPicture() {
    QImage image(120, 90, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

QString escaped(const QString& text) {
    return QString::fromLatin1(QUrl::toPercentEncoding(text));
}

class DownloadWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folders.isValid());
        m_program = m_folders.program();
        ASSERT_TRUE(QFile::copy(QStringLiteral(VIDORA_PROGRAM_DIR "/loading.jpg"),
                                m_program + QStringLiteral("loading.jpg")));
        test::writeExecutable(m_program + QStringLiteral("mp.dll"), kFakePlayer);
        ASSERT_TRUE(m_server.start());

        ServedReply picture;
        picture.body = jpegPicture();
        m_server.serve(QStringLiteral("/vi/Ab3/default.jpg"), picture);
        for (const char* path : {"/mp4", "/hdlow", "/hdhigh", "/flv"}) {
            ServedReply video;
            video.body = QByteArray(2500, 'v') + path;
            m_server.serve(QString::fromLatin1(path), video);
        }
    }
    // A watch page whose thumbnail and four links point at this server.
    void servePage(const QString& path, const QString& map, const QString& title = "My: Clip") {
        test::WatchPageFields fields;
        fields.title = title;
        fields.videoId = QStringLiteral("Ab3");
        fields.thumbnailUrl = escaped(m_server.url(QStringLiteral("/vi/Ab3/default.jpg")));
        fields.formatMap = escaped(map);
        ServedReply page;
        page.body = test::watchPage(fields).toUtf8();
        page.chunkBytes = 900;
        m_server.serve(path, page);
    }
    QString allFormats() const {
        return u"22|" + m_server.url(QStringLiteral("/mp4")) + u",34|" +
               m_server.url(QStringLiteral("/hdlow")) + u",35|" +
               m_server.url(QStringLiteral("/hdhigh")) + u",5|" +
               m_server.url(QStringLiteral("/flv"));
    }
    QPushButton* button(DownloadWindow& window, const char* name) {
        return window.findChild<QPushButton*>(QString::fromLatin1(name));
    }
    QString text(DownloadWindow& window, const char* name) {
        return window.findChild<QLabel*>(QString::fromLatin1(name))->text();
    }
    QGroupBox* previewArea(DownloadWindow& window) {
        return window.findChild<QGroupBox*>(QStringLiteral("frmPR"));
    }
    void getDirectLink(DownloadWindow& window, const QString& path) {
        window.findChild<QLineEdit*>(QStringLiteral("txtWatchUrl"))->setText(m_server.url(path));
        QTest::mouseClick(button(window, "cmdG"), Qt::LeftButton);
    }
    QStringList playerArguments() const {
        QFile in(m_program + QStringLiteral("player-args.txt"));
        if (!in.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(in.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
    QByteArray downloaded(const QString& name) const {
        return test::contentOf(m_folders.downloads() + u'/' + name);
    }

    test::DownloadFolders m_folders;
    QString m_program;
    LoopbackServer m_server;
    test::MessageRecorder m_messages;
};

TEST_F(DownloadWindowTest, OpensWithItsControlsAndTexts) {
    DownloadWindow window;
    window.show();
    EXPECT_EQ(window.windowTitle(), QStringLiteral("DorOrudEvir-Beta Release"));
    EXPECT_EQ(window.size(), QSize(478, 323));
    EXPECT_TRUE(window.isModal());
    EXPECT_EQ(text(window, "Label1"), QStringLiteral("Enter YouTube video URL"));
    auto* address = window.findChild<QLineEdit*>(QStringLiteral("txtWatchUrl"));
    EXPECT_TRUE(address->text().endsWith(u"watch?v=XXXXX"));
    EXPECT_EQ(button(window, "cmdG")->text(), QStringLiteral("Get Direct Link"));
    EXPECT_TRUE(button(window, "cmdG")->isDefault());
    EXPECT_EQ(text(window, "lblTitle"), QStringLiteral("Status  "));
    EXPECT_EQ(text(window, "lblTitle1"), QStringLiteral("Title"));
    EXPECT_EQ(text(window, "lblDur"), QStringLiteral("Duration"));
    EXPECT_EQ(text(window, "lblCat"), QStringLiteral("Category"));
    EXPECT_EQ(text(window, "lblRat"), QStringLiteral("Rating"));
    EXPECT_EQ(text(window, "lblRating"), QStringLiteral("Rating"));
    EXPECT_EQ(text(window, "lblPublished"), QStringLiteral("Published"));
    EXPECT_EQ(text(window, "lblAuthor"), QStringLiteral("Author"));
    EXPECT_EQ(text(window, "Label2"), QString());
    const std::pair<const char*, const char*> formats[] = {{"getMp4", "Get MP4"},
                                                           {"getHDH", "Get HD Low"},
                                                           {"getHDL", "Get HD High"},
                                                           {"getFlv", "Get FLV"}};
    for (const auto& [name, caption] : formats) {
        EXPECT_EQ(button(window, name)->text(), QString::fromLatin1(caption));
        EXPECT_FALSE(button(window, name)->isEnabled()) << name;
    }
    auto* bar = window.findChild<QProgressBar*>(QStringLiteral("pbDownload"));
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 100);
    EXPECT_EQ(button(window, "cmdPR")->text(), QStringLiteral("Preview"));
    EXPECT_EQ(button(window, "cmdCLose")->text(), QStringLiteral("X"));
    EXPECT_EQ(previewArea(window)->title(), QStringLiteral("YouTube Preview"));
    EXPECT_GE(previewArea(window)->x(), window.width());
    EXPECT_EQ(text(window, "Label8"), QStringLiteral("Click and wait for video to Load..."));
    EXPECT_EQ(text(window, "Label6"), QStringLiteral("X"));
    EXPECT_NE(window.findChild<QWidget*>(QStringLiteral("SWF")), nullptr);
    EXPECT_FALSE(window.findChild<QLabel*>(QStringLiteral("picTitle"))->pixmap().isNull());

    // The address box has the focus; Tab reaches every enabled button.
    ASSERT_TRUE(test::waitFor([&] { return address->hasFocus(); }, 2000));
    QSet<QString> reached;
    for (int i = 0; i < 12; ++i) {
        reached.insert(QApplication::focusWidget()->objectName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    for (const char* name : {"txtWatchUrl", "cmdG", "cmdPR", "cmdCLose"})
        EXPECT_TRUE(reached.contains(QString::fromLatin1(name))) << name;
}

TEST_F(DownloadWindowTest, GetDirectLinkShowsThePageAndOffersItsFormats) {
    servePage(QStringLiteral("/watch?v=Ab3"), allFormats());
    DownloadWindow window;
    window.show();
    auto* address = window.findChild<QLineEdit*>(QStringLiteral("txtWatchUrl"));
    address->setText(m_server.url(QStringLiteral("/watch?v=Ab3")));
    // Return in the address box runs "Get Direct Link".
    QTest::keyClick(address, Qt::Key_Return);
    EXPECT_EQ(m_server.requestCount(QStringLiteral("/watch?v=Ab3")), 1);
    EXPECT_TRUE(m_messages.shown.isEmpty()) << m_messages.shown.join(u'|').toStdString();
    EXPECT_EQ(text(window, "lblTitle"), QStringLiteral("Complete!"));
    EXPECT_EQ(text(window, "lblTitle1"), QStringLiteral("My Clip"));
    EXPECT_EQ(text(window, "lblAuthor"), QStringLiteral("clipmaker"));
    EXPECT_EQ(text(window, "lblCat"), QStringLiteral("Music"));
    EXPECT_EQ(text(window, "lblDur"), QStringLiteral("213 Sec."));
    EXPECT_EQ(text(window, "lblPublished"), QStringLiteral("March 03, 2010"));
    EXPECT_EQ(text(window, "lblRating"), QStringLiteral("4.5"));
    EXPECT_EQ(window.findChild<QPlainTextEdit*>(QStringLiteral("txtDesc"))->toPlainText(),
              QStringLiteral("A clip about clips.\nSecond line"));
    EXPECT_EQ(m_server.requestCount(QStringLiteral("/vi/Ab3/default.jpg")), 1);
    EXPECT_TRUE(QFile::exists(m_program + QStringLiteral("Cache/Ab3.jpg")));
    const QPixmap shown = window.findChild<QLabel*>(QStringLiteral("picTitle"))->pixmap();
    EXPECT_EQ(shown.size(), QSize(120, 90));
    for (const char* name : {"getMp4", "getHDH", "getHDL", "getFlv"})
        EXPECT_TRUE(button(window, name)->isEnabled()) << name;

    // A second run needs a change of the address first.
    EXPECT_FALSE(button(window, "cmdG")->isEnabled());
    QTest::keyClick(address, Qt::Key_Return);
    QTest::mouseClick(button(window, "cmdG"), Qt::LeftButton);
    EXPECT_EQ(m_server.requestCount(QStringLiteral("/watch?v=Ab3")), 1);
    address->setText(address->text() + QStringLiteral("&x"));
    EXPECT_TRUE(button(window, "cmdG")->isEnabled());
}

TEST_F(DownloadWindowTest, APageWithOnlyFlvOffersOnlyFlvAndPreviewPlaysNothing) {
    servePage(QStringLiteral("/flvonly"), u"5|" + m_server.url(QStringLiteral("/flv")));
    DownloadWindow window;
    window.show();
    getDirectLink(window, QStringLiteral("/flvonly"));
    EXPECT_FALSE(button(window, "getMp4")->isEnabled());
    EXPECT_FALSE(button(window, "getHDH")->isEnabled());
    EXPECT_FALSE(button(window, "getHDL")->isEnabled());
    EXPECT_TRUE(button(window, "getFlv")->isEnabled());

    QTest::mouseClick(button(window, "cmdPR"), Qt::LeftButton);
    EXPECT_EQ(previewArea(window)->pos(), QPoint(20, 30)); // 300 x 450 twips
    EXPECT_FALSE(window.isPreviewPlaying());
    EXPECT_TRUE(playerArguments().isEmpty());
}

TEST_F(DownloadWindowTest, ThePlayersWindowMovesWithThePreviewArea) {
    DownloadWindow window;
    window.show();
    auto* host = window.findChild<QWidget*>(QStringLiteral("SWF"));
    ASSERT_NE(host->winId(), 0u);
    QTest::mouseClick(button(window, "cmdPR"), Qt::LeftButton);
    ASSERT_EQ(previewArea(window)->pos(), QPoint(20, 30));
    // The player draws into the host's own window: it must stand where the host is shown.
    QWindow* drawnInto = host->windowHandle();
    ASSERT_NE(drawnInto, nullptr);
    EXPECT_EQ(drawnInto->mapToGlobal(QPoint()), host->mapToGlobal(QPoint()));
    QTest::mouseClick(window.findChild<QLabel*>(QStringLiteral("Label6")), Qt::LeftButton);
    EXPECT_EQ(drawnInto->mapToGlobal(QPoint()), host->mapToGlobal(QPoint()));
}

TEST_F(DownloadWindowTest, ThePreviewPlaysTheAddressADownloadFetches) {
    QWidget host;
    StreamPreview preview(&host);
    // A decoded link as the page gives it: a blank and a byte that is no ASCII letter.
    const QString link = QStringLiteral("  ") + m_server.url(QStringLiteral("/a b")) + QChar(0xE9) +
                         QStringLiteral("?x=1 ");
    const QString address = AddressOfLink(link).toString(QUrl::FullyEncoded);
    EXPECT_EQ(address, m_server.url(QStringLiteral("/a%20b%E9?x=1")));
    ASSERT_NE(preview.play(link), 0);
    ASSERT_TRUE(test::waitFor([&] { return !playerArguments().isEmpty(); }, 5000));
    EXPECT_EQ(playerArguments().last(), address);
    preview.stop();

    // Without a scheme, as a download reads it.
    QFile::remove(m_program + QStringLiteral("player-args.txt"));
    const QString bare = m_server.url(QStringLiteral("/flv")).mid(7); // without "http://"
    ASSERT_NE(preview.play(bare), 0);
    ASSERT_TRUE(test::waitFor([&] { return !playerArguments().isEmpty(); }, 5000));
    EXPECT_EQ(playerArguments().last(), m_server.url(QStringLiteral("/flv")));
    preview.stop();
    // Nothing that is no web address reaches the player.
    EXPECT_EQ(preview.play(QStringLiteral("-vo null")), 0);
    EXPECT_EQ(preview.play(QStringLiteral("file:///etc/passwd")), 0);
    EXPECT_EQ(preview.play(QString()), 0);
}

TEST_F(DownloadWindowTest, FormatsDownloadOrPlayAsAnswered) {
    servePage(QStringLiteral("/all"), allFormats(), QStringLiteral("Clip (Live)"));
    DownloadWindow window;
    window.show();
    getDirectLink(window, QStringLiteral("/all"));
    int asked = 0;
    bool answer = true;
    window.setDownloadOrPlayQuestion([&] {
        ++asked;
        return answer;
    });

    // "Get Direct Link" stays disabled: the focus goes to the address box, not to "X".
    EXPECT_EQ(QApplication::focusWidget(),
              window.findChild<QLineEdit*>(QStringLiteral("txtWatchUrl")));
    button(window, "getMp4")->setFocus();
    QTest::keyClick(button(window, "getMp4"), Qt::Key_Space);
    EXPECT_EQ(QApplication::focusWidget(), button(window, "getMp4"));
    EXPECT_EQ(asked, 0); // MP4 always downloads
    EXPECT_EQ(downloaded(QStringLiteral("Clip Live.mp4")), QByteArray(2500, 'v') + "/mp4");
    EXPECT_EQ(text(window, "Label2"), QStringLiteral("100 % "));
    EXPECT_EQ(window.findChild<QProgressBar*>(QStringLiteral("pbDownload"))->value(), 100);

    QTest::mouseClick(button(window, "getHDH"), Qt::LeftButton);
    QTest::mouseClick(button(window, "getHDL"), Qt::LeftButton);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(downloaded(QStringLiteral("Clip Live_Full_HD.flv")),
              QByteArray(2500, 'v') + "/hdlow");
    EXPECT_EQ(downloaded(QStringLiteral("Clip Live_HD.flv")), QByteArray(2500, 'v') + "/hdhigh");
    EXPECT_TRUE(m_messages.shown.isEmpty()) << m_messages.shown.join(u'|').toStdString();

    // No: the preview area comes into view at 240 x 120 twips and plays the link.
    answer = false;
    QTest::mouseClick(button(window, "getFlv"), Qt::LeftButton);
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(previewArea(window)->pos(), QPoint(16, 8));
    ASSERT_TRUE(window.isPreviewPlaying());
    ASSERT_TRUE(test::waitFor([&] { return !playerArguments().isEmpty(); }, 5000));
    const QStringList arguments = playerArguments();
    auto* host = window.findChild<QWidget*>(QStringLiteral("SWF"));
    EXPECT_EQ(arguments.first(), QStringLiteral("-wid"));
    EXPECT_EQ(arguments.at(1), QString::number(host->winId()));
    EXPECT_TRUE(arguments.contains(QStringLiteral("-nokeepaspect")));
    EXPECT_EQ(arguments.last(), m_server.url(QStringLiteral("/flv")));
    EXPECT_EQ(host->toolTip(), QStringLiteral("Preview of Clip Live"));
    EXPECT_FALSE(QFile::exists(m_folders.downloads() + QStringLiteral("/Clip Live.flv")));

    // The "X" of the preview area moves it out of view; playback goes on.
    QTest::mouseClick(window.findChild<QLabel*>(QStringLiteral("Label6")), Qt::LeftButton);
    EXPECT_GE(previewArea(window)->x(), window.width());
    EXPECT_TRUE(window.isPreviewPlaying());
    // Closing the window stops the player.
    QTest::mouseClick(button(window, "cmdCLose"), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.isPreviewPlaying());
}

TEST_F(DownloadWindowTest, ButtonsWaitWhileADownloadRunsAndClosingEndsIt) {
    servePage(QStringLiteral("/all"), allFormats());
    ServedReply slow;
    slow.body = QByteArray(10000, 's');
    slow.stallAfter = 5000;
    m_server.serve(QStringLiteral("/mp4"), slow);
    DownloadWindow window;
    window.show();
    getDirectLink(window, QStringLiteral("/all"));
    window.pageTransfer().setStallTimeout(5000); // the test's own bound
    QStringList enabledDuring;
    // Looked at and closed once everything before the stall has arrived.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &window, [&] {
        if (text(window, "Label2") != u"41 % " || !enabledDuring.isEmpty())
            return;
        for (const char* name : {"getMp4", "getHDH", "getHDL", "getFlv", "cmdPR", "cmdG"}) {
            if (button(window, name)->isEnabled())
                enabledDuring << QString::fromLatin1(name);
        }
        enabledDuring << text(window, "Label2");
        window.close();
    });
    poll.start(20);
    QTest::mouseClick(button(window, "getMp4"), Qt::LeftButton);
    EXPECT_EQ(enabledDuring, QStringList{"41 % "});
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(m_messages.shown.isEmpty());
    EXPECT_EQ(downloaded(QStringLiteral("My Clip.mp4")), QByteArray(4096, 's'));
}

TEST_F(DownloadWindowTest, AnUnreachablePageLeavesEmptyLabelsAndTheLoadingPicture) {
    DownloadWindow window;
    window.show();
    const QPixmap loading = window.findChild<QLabel*>(QStringLiteral("picTitle"))->pixmap();
    getDirectLink(window, QStringLiteral("/gone"));
    ASSERT_EQ(m_messages.shown.size(), 1);
    EXPECT_TRUE(m_messages.shown[0].startsWith(u"error: Something Went Wrong\n"));
    EXPECT_EQ(text(window, "lblTitle"), QStringLiteral("Error 404 Not Found"));
    EXPECT_EQ(text(window, "lblTitle1"), QString());
    EXPECT_EQ(text(window, "lblDur"), QStringLiteral(" Sec."));
    for (const char* name : {"getMp4", "getHDH", "getHDL", "getFlv"})
        EXPECT_FALSE(button(window, name)->isEnabled()) << name;
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("picTitle"))->pixmap().cacheKey(),
              loading.cacheKey());
}

TEST_F(DownloadWindowTest, TheAddressIsSelectedWholeByAClickAndTheWindowDragsByItsBackground) {
    DownloadWindow window;
    window.show();
    auto* address = window.findChild<QLineEdit*>(QStringLiteral("txtWatchUrl"));
    QTest::mouseClick(address, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(address->selectedText(), address->text());

    const QPoint before = window.pos();
    QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(200, 300));
    QMouseEvent move(QEvent::MouseMove, QPointF(230, 320), window.mapToGlobal(QPointF(230, 320)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &move);
    QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(230, 320));
    EXPECT_EQ(window.pos(), before + QPoint(30, 20));
}

} // namespace
} // namespace vidora
