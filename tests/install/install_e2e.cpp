// `cmake --install` into a temporary prefix with a blank in its name: the program folder, the
// link on the path, the desktop entry and the icons, and the installed program starting,
// keeping one window, and ending when asked to.

#include "support/EventLoop.h"
#include "support/Media.h"
#include "support/PersonFolders.h"
#include "support/ProgramRun.h"
#include "support/QtPrinters.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <memory>

using namespace vidora;

namespace {

const QString kBuiltProgram = QStringLiteral(VIDORA_PROGRAM_DIR);

// Every file below a folder, by its path relative to the folder.
QStringList filesBelow(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class Installed : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_root = std::make_unique<QTemporaryDir>();
        s_prefix = s_root->filePath(QStringLiteral("my prefix"));
        s_result = test::runProgram(QStringLiteral(VIDORA_CMAKE_COMMAND),
                                    {QStringLiteral("--install"), QStringLiteral(VIDORA_BUILD_DIR),
                                     QStringLiteral("--prefix"), s_prefix},
                                    120000, &s_output);
    }
    static void TearDownTestSuite() { s_root.reset(); }
    void SetUp() override { ASSERT_EQ(s_result, 0) << s_output.toStdString(); }

    static QString installed(const QString& path) { return s_prefix + u'/' + path; }
    static QString programFolder() { return installed(QStringLiteral("lib/vidora")); }

    static inline std::unique_ptr<QTemporaryDir> s_root;
    static inline QString s_prefix;
    static inline int s_result = -1;
    static inline QString s_output;
};

} // namespace

TEST_F(Installed, TheProgramFolderIsCompleteAndAsBuilt) {
    QStringList expected{"vidora", "fp.dll", "mp.dll", "loading.jpg"};
    // What the build draws and copies into its program folder, every file of it.
    for (const char* folder : {"skins", "help", "pictures", "buttons", "icons"}) {
        const QString name = QString::fromLatin1(folder);
        const QStringList built = filesBelow(kBuiltProgram + u'/' + name);
        EXPECT_FALSE(built.isEmpty()) << folder;
        for (const QString& file : built)
            expected << name + u'/' + file;
    }
    expected.sort();
    EXPECT_EQ(filesBelow(programFolder()), expected);
    for (const QString& file : expected) {
        if (QFileInfo(kBuiltProgram + u'/' + file).isExecutable())
            continue;
        EXPECT_EQ(contents(programFolder() + u'/' + file), contents(kBuiltProgram + u'/' + file))
            << file.toStdString();
    }
    for (const char* tool : {"vidora", "fp.dll", "mp.dll"})
        EXPECT_TRUE(QFileInfo(programFolder() + u'/' + QLatin1StringView(tool)).isExecutable())
            << tool;
    // The working folder is there, empty; nothing the build's runs wrote came along.
    EXPECT_TRUE(QFileInfo(programFolder() + QStringLiteral("/Cache")).isDir());
    EXPECT_FALSE(QFileInfo::exists(programFolder() + QStringLiteral("/settings.dat")));
}

TEST_F(Installed, ALinkOnThePathStartsTheProgramFolder) {
    const QFileInfo link(installed(QStringLiteral("bin/vidora")));
    ASSERT_TRUE(link.isSymLink());
    EXPECT_EQ(link.symLinkTarget(), programFolder() + QStringLiteral("/vidora"));
    // Relative, so the installed tree can be moved as a whole (as DESTDIR staging does).
    EXPECT_EQ(QFile::symLinkTarget(link.filePath()), link.symLinkTarget());
    EXPECT_EQ(QFileInfo(link.filePath()).canonicalFilePath(),
              QFileInfo(programFolder() + QStringLiteral("/vidora")).canonicalFilePath());
}

TEST_F(Installed, TheDesktopEntryIsValidAndStartsTheInstalledProgram) {
    const QString entry = installed(QStringLiteral("share/applications/vidora.desktop"));
    ASSERT_TRUE(QFileInfo::exists(entry));
    QString verdict;
    const int validate =
        test::runProgram(QStringLiteral("desktop-file-validate"), {entry}, 30000, &verdict);
    ASSERT_NE(validate, -1) << "desktop-file-validate is missing (package desktop-file-utils)";
    EXPECT_EQ(validate, 0) << verdict.toStdString();
    EXPECT_EQ(verdict.trimmed(), QString()) << "no hints or warnings either";

    const QString text = QString::fromUtf8(contents(entry));
    const auto value = [&text](const char* key) {
        const QRegularExpression line(u"^" + QLatin1StringView(key) + u"=(.*)$",
                                      QRegularExpression::MultilineOption);
        return line.match(text).captured(1);
    };
    EXPECT_EQ(value("Name"), QStringLiteral("Vidora"));
    EXPECT_EQ(value("GenericName"), QStringLiteral("Video Converter"));
    EXPECT_EQ(value("Icon"), QStringLiteral("vidora"));
    // The path has a blank: one quoted argument, then the files.
    EXPECT_EQ(value("Exec"), u"\"" + installed(QStringLiteral("bin/vidora")) + u"\" %F");
    EXPECT_TRUE(value("Categories").split(u';').contains(QStringLiteral("Video")));
    const QStringList types = value("MimeType").split(u';', Qt::SkipEmptyParts);
    for (const char* type : {"video/mp4", "video/x-msvideo", "video/x-matroska", "video/mpeg",
                             "video/quicktime", "video/x-flv", "video/x-ms-wmv", "video/3gpp"})
        EXPECT_TRUE(types.contains(QLatin1StringView(type))) << type;
}

TEST_F(Installed, TheIconIsInTheHicolorThemeScalableAndInEverySize) {
    QFile svg(installed(QStringLiteral("share/icons/hicolor/scalable/apps/vidora.svg")));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&svg);
    ASSERT_TRUE(xml.readNextStartElement());
    EXPECT_EQ(xml.name(), QStringLiteral("svg"));
    int paths = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"path")
            ++paths;
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_GE(paths, 3);

    const QStringList sizes = QStringLiteral(VIDORA_ICON_SIZES).split(u',');
    EXPECT_TRUE(sizes.contains(QStringLiteral("48")) && sizes.contains(QStringLiteral("256")));
    for (const QString& size : sizes) {
        QImageReader png(
            installed(QStringLiteral("share/icons/hicolor/%1x%1/apps/vidora.png").arg(size)));
        EXPECT_EQ(png.format(), "png") << size.toStdString();
        EXPECT_EQ(png.size(), QSize(size.toInt(), size.toInt())) << size.toStdString();
    }
}

TEST_F(Installed, TheInstalledProgramStartsKeepsOneWindowAndEndsOnRequest) {
    QTemporaryDir runtime;
    const test::PersonFolders person;
    const QStringList environment = QStringList{u"XDG_RUNTIME_DIR=" + runtime.path()}
                                    << person.environment();
    const QString program = installed(QStringLiteral("bin/vidora"));
    test::ProgramRun first(program, {}, environment, runtime.path());
    const QString socket = runtime.filePath(QStringLiteral("vidora.socket"));
    ASSERT_TRUE(
        test::waitFor([&] { return QFileInfo::exists(socket) || !first.isRunning(); }, 30000))
        << first.errors().toStdString();
    ASSERT_TRUE(first.isRunning()) << first.errors().toStdString();
    // It runs from the installed program folder.
    EXPECT_EQ(QFileInfo(QStringLiteral("/proc/%1/exe").arg(first.processId())).canonicalFilePath(),
              QFileInfo(programFolder() + QStringLiteral("/vidora")).canonicalFilePath());

    // A second start finds it and ends at once; the first goes on.
    test::ProgramRun second(program, {}, environment, runtime.path());
    EXPECT_EQ(second.exitCode(20000), 0) << second.errors().toStdString();
    EXPECT_TRUE(first.isRunning());

    first.terminate();
    EXPECT_EQ(first.exitCode(20000), 0) << first.errors().toStdString();
    // It ended as a closed window ends: the chosen row (a first start's) is remembered.
    QFile settings(programFolder() + QStringLiteral("/settings.dat"));
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_TRUE(settings.readAll().contains("profile=94\n"));
}
