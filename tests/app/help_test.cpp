// The help: the pages shipped in the built program folder and the links between them, the help
// window that OpenHelp opens, and the two addresses OpenLink hands to the desktop.

#include "app/ButtonBar.h"
#include "app/HelpWindow.h"
#include "app/Links.h"
#include "app/MainWindow.h"
#include "support/ProgramFolder.h"
#include "support/QtPrinters.h"
#include "support/Recorders.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QUrl>
#include <gtest/gtest.h>
#include <optional>

using namespace vidora;

namespace {

const QString kBuiltHelp = QStringLiteral(VIDORA_PROGRAM_DIR "/help");

// The pages the help is made of, each about one part of the program.
const QStringList kPages = {"index.html",      "joblist.html",  "profiles.html", "trimming.html",
                            "converting.html", "settings.html", "download.html", "capture.html",
                            "shortcuts.html",  "faq.html"};

QString read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QStringList captures(const QString& text, const QRegularExpression& pattern) {
    QStringList found;
    for (const QRegularExpressionMatch& match : pattern.globalMatch(text))
        found << match.captured(1);
    return found;
}

QStringList linksOf(const QString& html) {
    static const QRegularExpression href(QStringLiteral("\\bhref=\"([^\"]*)\""));
    return captures(html, href);
}

QStringList anchorsOf(const QString& html) {
    static const QRegularExpression id(QStringLiteral("\\bid=\"([^\"]*)\""));
    return captures(html, id);
}

// Each test reads the help of the built program folder; nothing there is written.
class HelpWindowTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (qobject_cast<HelpWindow*>(window))
                delete window;
    }
    static QTextBrowser* browser(const HelpWindow& window) {
        return window.findChild<QTextBrowser*>(QStringLiteral("HelpBrowser"));
    }
    static QToolButton* tool(const HelpWindow& window, const char* name) {
        return window.findChild<QToolButton*>(QString::fromLatin1(name));
    }
    static QUrl page(const QString& name, const QString& fragment = QString()) {
        QUrl url = QUrl::fromLocalFile(kBuiltHelp + u'/' + name);
        url.setFragment(fragment.isEmpty() ? QString() : fragment);
        return url;
    }

    const test::ProgramFolder m_programFolder{QStringLiteral(VIDORA_PROGRAM_DIR)};
    test::DesktopRecorder m_desktop;
};

} // namespace

TEST(HelpPages, EveryPageIsShippedWithATitle) {
    for (const QString& name : kPages) {
        const QString html = read(kBuiltHelp + u'/' + name);
        ASSERT_FALSE(html.isEmpty()) << name.toStdString();
        static const QRegularExpression title(QStringLiteral("<title>([^<]+)</title>"));
        EXPECT_FALSE(captures(html, title).value(0).trimmed().isEmpty()) << name.toStdString();
    }
    // And nothing in the sources is left out of the program folder.
    const QStringList sources = QDir(QStringLiteral(VIDORA_SOURCE_DIR "/resources/help"))
                                    .entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(QDir(kBuiltHelp).entryList(QDir::Files, QDir::Name), sources);
    EXPECT_TRUE(sources.contains(QStringLiteral("help.css")));
}

TEST(HelpPages, EveryLinkResolvesToAShippedFileOrAnchor) {
    int links = 0;
    for (const QString& name : QDir(kBuiltHelp).entryList({QStringLiteral("*.html")})) {
        const QUrl base = QUrl::fromLocalFile(kBuiltHelp + u'/' + name);
        for (const QString& link : linksOf(read(base.toLocalFile()))) {
            ++links;
            const QUrl target = base.resolved(QUrl(link));
            const std::string where = QString(name + u": " + link).toStdString();
            ASSERT_TRUE(target.isLocalFile()) << where << " leaves the help";
            const QString file = target.toLocalFile();
            ASSERT_TRUE(QFileInfo(file).isFile()) << where;
            EXPECT_TRUE(file.startsWith(kBuiltHelp + u'/')) << where;
            if (target.hasFragment()) {
                EXPECT_TRUE(anchorsOf(read(file)).contains(target.fragment())) << where;
            }
        }
    }
    EXPECT_GT(links, 60);
}

TEST(HelpPages, TheStartPageLeadsToEveryPage) {
    QStringList reached;
    for (const QString& link : linksOf(read(kBuiltHelp + QStringLiteral("/index.html"))))
        reached << QUrl(link).path();
    for (const QString& name : kPages)
        EXPECT_TRUE(reached.contains(name)) << name.toStdString();
}

TEST(HelpPages, TheCapturePageTellsHowToTryItWithoutACamera) {
    const QString capture = read(kBuiltHelp + QStringLiteral("/capture.html"));
    EXPECT_TRUE(capture.contains(QStringLiteral("VIDORA_CAPTURE_TEST_PATTERN=1")));
    EXPECT_TRUE(capture.contains(QStringLiteral("<b>Test pattern</b>")));
    // The reasons a job fails with are the ones the run gives.
    const QString converting = read(kBuiltHelp + QStringLiteral("/converting.html"));
    for (const char* reason :
         {"No video or audio found in this file", "The output folder cannot be written",
          "No space left on the output disk", "Point the mouse at a"})
        EXPECT_TRUE(converting.contains(QLatin1StringView(reason))) << reason;
}

TEST_F(HelpWindowTest, OpenHelpShowsTheStartPageWithoutWaiting) {
    QWidget owner;
    OpenHelp(&owner);
    const QList<HelpWindow*> windows = owner.findChildren<HelpWindow*>();
    ASSERT_EQ(windows.size(), 1);
    HelpWindow* window = windows.first();
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isWindow());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(window->currentPage(), page(QStringLiteral("index.html")));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Vidora Help"));
    EXPECT_TRUE(browser(*window)->toPlainText().contains(QStringLiteral("Getting started")));
    // A second call opens a second window.
    OpenHelp(&owner);
    EXPECT_EQ(owner.findChildren<HelpWindow*>().size(), 2);
}

TEST_F(HelpWindowTest, ThePagesAreShownWithTheHelpsStyleSheet) {
    HelpWindow window;
    QColor heading;
    const QTextDocument* document = browser(window)->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (block.text() == u"Vidora Help")
            heading = block.begin().fragment().charFormat().foreground().color();
    }
    // help.css gives the page titles the accent colour.
    EXPECT_EQ(heading, QColor(0x1d, 0x4e, 0xd8));
}

TEST_F(HelpWindowTest, LinksMoveThroughTheHelpAndBackAndForward) {
    HelpWindow window;
    window.followLink(QUrl(QStringLiteral("converting.html#fail")));
    EXPECT_EQ(window.currentPage(),
              page(QStringLiteral("converting.html"), QStringLiteral("fail")));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Converting - Vidora Help"));
    window.followLink(QUrl(QStringLiteral("settings.html")));
    EXPECT_EQ(window.currentPage(), page(QStringLiteral("settings.html")));
    ASSERT_TRUE(tool(window, "HelpBack")->isEnabled());
    tool(window, "HelpBack")->click();
    EXPECT_EQ(window.currentPage(),
              page(QStringLiteral("converting.html"), QStringLiteral("fail")));
    ASSERT_TRUE(tool(window, "HelpForward")->isEnabled());
    tool(window, "HelpForward")->click();
    EXPECT_EQ(window.currentPage(), page(QStringLiteral("settings.html")));
    tool(window, "HelpContents")->click();
    EXPECT_EQ(window.currentPage(), page(QStringLiteral("index.html")));
    EXPECT_TRUE(m_desktop.requests.isEmpty()) << "the help's own pages stay in the window";
}

TEST_F(HelpWindowTest, AnAddressOutsideTheHelpGoesToTheDesktop) {
    HelpWindow window;
    window.followLink(QUrl(QStringLiteral("https://example.org/a page?x=1")));
    EXPECT_EQ(m_desktop.requests, QStringList{"url: https://example.org/a%20page?x=1"});
    EXPECT_EQ(window.currentPage(), page(QStringLiteral("index.html")));
}

TEST(HelpWindowMissing, AProgramFolderWithoutTheHelpSaysSo) {
    QTemporaryDir folder;
    const test::ProgramFolder programFolder(folder.path());
    HelpWindow window;
    EXPECT_TRUE(window.findChild<QTextBrowser*>(QStringLiteral("HelpBrowser"))
                    ->toPlainText()
                    .contains(QStringLiteral("The help pages are missing")));
}

TEST(Links, OpenLinkHandsTheAddressToTheDesktop) {
    QTemporaryDir folder;
    const QString programFolder = folder.filePath(QStringLiteral("my programs/Vidora"));
    const test::ProgramFolder inUse(programFolder);
    test::DesktopRecorder desktop;
    OpenLink(QStringLiteral("https://example.org/faq"));
    // An address without a scheme is a file of the program folder.
    OpenLink(QStringLiteral("help/faq.html"));
    EXPECT_EQ(desktop.requests,
              (QStringList{"url: https://example.org/faq",
                           u"url: " + QUrl::fromLocalFile(programFolder + u"/help/faq.html")
                                          .toString(QUrl::FullyEncoded)}));
    EXPECT_TRUE(desktop.requests[1].contains(QStringLiteral("my%20programs")));
}

TEST_F(HelpWindowTest, TheMainWindowsEntriesOpenTheHelpAndTheTwoPages) {
    QTemporaryDir folder;
    // The window's own settings go to a folder of the test's; the help is the built one.
    {
        const test::ProgramFolder settingsFolder(folder.path());
        MainWindow window;
        EXPECT_EQ(window.action(QStringLiteral("helphelp"))->shortcut(), QKeySequence(Qt::Key_F1));
        const test::ProgramFolder built(QStringLiteral(VIDORA_PROGRAM_DIR));
        window.action(QStringLiteral("helphelp"))->trigger();
        window.buttonBar()->button(QStringLiteral("Image8"))->click();
        EXPECT_EQ(window.findChildren<HelpWindow*>().size(), 2);
        window.action(QStringLiteral("HomePage"))->trigger();
        window.action(QStringLiteral("SupportOnline"))->trigger();
        EXPECT_EQ(m_desktop.requests,
                  (QStringList{u"url: " + page(QStringLiteral("index.html")).toString(),
                               u"url: " + page(QStringLiteral("faq.html")).toString()}));
        EXPECT_EQ(homePageAddress(), QStringLiteral("help/index.html"));
        EXPECT_EQ(supportPageAddress(), QStringLiteral("help/faq.html"));
    }
}
