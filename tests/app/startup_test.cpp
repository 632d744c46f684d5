#include "app/MainWindow.h"
#include "app/ProfileChooser.h"
#include "app/PropertySheet.h"
#include "platform/Inifun.h"
#include "profiles/OptionSheetModel.h"
#include "support/ProgramFolder.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>

using namespace vidora;

namespace {

// Each test starts the window from a program folder of its own.
class MainWindowStart : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        m_programFolder.emplace(m_folder.path());
    }

    QString settingsFile() const { return m_folder.filePath(QStringLiteral("settings.dat")); }
    void writeSettings(const QByteArray& content) {
        QFile file(settingsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    static QString value(MainWindow& window, const char* category, const char* item) {
        OptionSheet& sheet = window.optionSheet();
        return sheet
            .GetValue(sheet.itemAt(QString::fromLatin1(category), QString::fromLatin1(item)))
            .value_or(QStringLiteral("<missing>"));
    }

    QTemporaryDir m_folder;
    std::optional<test::ProgramFolder> m_programFolder;
};

} // namespace

// With no profile stored, "CONVERT NOW" gives a file that nearly every player plays.
TEST_F(MainWindowStart, FirstStartChoosesTheCommonMp4RowWithItsOptionSet) {
    for (const QByteArray& stored : {QByteArray(), QByteArray("[set]\nprofile=\n")}) {
        SCOPED_TRACE(stored.toStdString());
        QFile::remove(settingsFile());
        if (!stored.isEmpty())
            writeSettings(stored);
        MainWindow window;
        EXPECT_EQ(window.profileChooser()->selectedCaption(),
                  QStringLiteral("Customized MP4 Movie(*.mp4)"));
        EXPECT_EQ(value(window, "Video Options", "Video Codec"), QStringLiteral("x264"));
        EXPECT_EQ(value(window, "Audio Options", "Audio Codec"), QStringLiteral("aac"));
        window.close();
        EXPECT_EQ(ReadSetting(settingsFile(), QStringLiteral("set"), QStringLiteral("profile")),
                  QStringLiteral("94"));
    }
}

TEST_F(MainWindowStart, RestoresTheStoredProfileWithItsOptionSetBeforeShowing) {
    writeSettings("[Set]\nprofile=26\n");
    MainWindow window;
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.profileChooser()->selectedCaption(),
              QStringLiteral("Sony PSP MPEG-4 Movie(*.mp4)"));
    EXPECT_EQ(value(window, "Video Options", "Video Codec"), QStringLiteral("mpeg4"));
    EXPECT_EQ(value(window, "Video Options", "Video Size"), QStringLiteral("368x208"));

    // The sheet's display properties are on: a value lists its choices, and switching the
    // grid or the shading off changes the picture.
    auto* shown = qobject_cast<OptionSheetModel*>(window.propertySheet()->model());
    ASSERT_TRUE(shown);
    const QModelIndex codec = shown->indexOf(window.optionSheet().itemAt(
        QStringLiteral("Video Options"), QStringLiteral("Video Codec")));
    EXPECT_EQ(codec.data(Qt::ToolTipRole).toString(), QStringLiteral("mpeg4"));
    PropertySheet* sheet = window.propertySheet();
    sheet->resize(400, 400);
    const QImage asStarted = sheet->grab().toImage();
    sheet->setGridLines(false);
    EXPECT_NE(sheet->grab().toImage(), asStarted) << "no grid lines";
    sheet->setGridLines(true);
    EXPECT_EQ(sheet->grab().toImage(), asStarted);
    sheet->setShadedCategories(false);
    EXPECT_NE(sheet->grab().toImage(), asStarted) << "no shaded categories";
}

TEST_F(MainWindowStart, StoredProfilesThatNameNoRowSelectNothing) {
    for (const char* stored : {"0", "abc", "102", "-1", "12.5"}) {
        SCOPED_TRACE(stored);
        writeSettings(QByteArray("[set]\nprofile=") + stored + "\n");
        MainWindow window;
        EXPECT_EQ(window.profileChooser()->selectedItemNumber(), 0);
        EXPECT_EQ(value(window, "Video Options", "Video Framerate"), QStringLiteral("29.97"));
    }
    writeSettings("[set]\nprofile=101\n");
    MainWindow last;
    EXPECT_EQ(last.profileChooser()->selectedCaption(), QStringLiteral("M4A Audio(*.m4a)"));
}

TEST_F(MainWindowStart, ClosingRemembersTheChosenRowForTheNextStart) {
    writeSettings("[set]\noutputfolder=/tmp/out\nprofile=5\n");
    {
        MainWindow window;
        window.show();
        window.profileChooser()->selectItemNumber(97);
        emit window.profileChooser()->activated(96);
        EXPECT_EQ(value(window, "Audio Options", "Audio Codec"), QStringLiteral("ogg"));
        window.close();
    }
    EXPECT_EQ(ReadSetting(settingsFile(), QStringLiteral("set"), QStringLiteral("profile")),
              QStringLiteral("97"));
    EXPECT_EQ(ReadSetting(settingsFile(), QStringLiteral("set"), QStringLiteral("outputfolder")),
              QStringLiteral("/tmp/out"));
    MainWindow again;
    EXPECT_EQ(again.profileChooser()->selectedCaption(), QStringLiteral("OGG Vorbis Audio(*.ogg)"));
    EXPECT_EQ(value(again, "Audio Options", "Audio Codec"), QStringLiteral("ogg"));
}

TEST_F(MainWindowStart, SheetShowsValuesAndHandsEditsBackToTheModel) {
    writeSettings("[set]\nprofile=0\n"); // no row: the sheet keeps its defaults
    MainWindow window;
    auto* shown = qobject_cast<OptionSheetModel*>(window.propertySheet()->model());
    ASSERT_TRUE(shown);
    OptionSheet& sheet = window.optionSheet();
    OptionItem* codec =
        sheet.itemAt(QStringLiteral("Video Options"), QStringLiteral("Video Codec"));
    OptionItem* name = sheet.itemAt(QStringLiteral("General"), QStringLiteral("Item Name"));
    ASSERT_TRUE(codec && name);
    const QModelIndex codecValue = shown->indexOf(codec);
    ASSERT_TRUE(codecValue.isValid());
    EXPECT_EQ(codecValue.data().toString(), QStringLiteral("xvid"));
    EXPECT_TRUE(codecValue.flags() & Qt::ItemIsEditable);
    EXPECT_FALSE(shown->indexOf(name).flags() & Qt::ItemIsEditable);

    // What the editor does on a pick.
    EXPECT_TRUE(shown->setData(codecValue, QStringLiteral("x264")));
    EXPECT_EQ(sheet.GetValue(codec), QStringLiteral("x264"));
    sheet.SetValue(codec, QStringLiteral("mpeg4"));
    EXPECT_EQ(codecValue.data().toString(), QStringLiteral("mpeg4"));
    EXPECT_EQ(shown->rowCount(), 4);
}

// A settings file that is a pipe would block the start before any window showed.
TEST_F(MainWindowStart, ASettingsFileThatIsAPipeStartsLikeNoSettingsAndStaysAPipe) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(settingsFile()).constData(), 0644), 0);
    QElapsedTimer clock;
    clock.start();
    {
        MainWindow window;
        window.show();
        EXPECT_EQ(window.profileChooser()->selectedCaption(),
                  QStringLiteral("Customized MP4 Movie(*.mp4)"));
        window.close();
    }
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_FALSE(QFileInfo(settingsFile()).isFile()) << "the pipe was not replaced";
}
