// The settings dialog "Video Options" over a real settings file: what it shows when it opens,
// what "OK" stores and in which order, what "Cancel" and the close box leave alone, and the
// folder picker behind "Browse...".

#include "app/ButtonBar.h"
#include "app/FolderPicker.h"
#include "app/MainWindow.h"
#include "app/SettingsDialog.h"
#include "platform/Inifun.h"
#include "support/PersonFolders.h"
#include "support/ProgramFolder.h"
#include "support/QtPrinters.h"
#include "support/Recorders.h"
#include "support/widgets/ModalWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

using namespace vidora;

namespace {

// Answers "Browse..." as the person would, and keeps what the dialog asked.
class PickerRecorder : public FolderPicker {
public:
    PickerRecorder() { setFolderPickerForTesting(this); }
    ~PickerRecorder() override { setFolderPickerForTesting(nullptr); }
    QString pickFolder(QWidget* owner, const QString& startFolder) override {
        owners << owner;
        starts << startFolder;
        return answer;
    }
    QString answer;
    QList<QWidget*> owners;
    QStringList starts;
};

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_program.isValid());
        m_programFolder.emplace(m_program.path());
    }
    QString file() const { return m_program.filePath(QStringLiteral("settings.dat")); }
    void writeFile(const QByteArray& content) const {
        QFile out(file());
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(content);
    }
    QByteArray fileBytes() const {
        QFile in(file());
        return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray("<no file>");
    }

    template <typename Widget> static Widget* part(const SettingsDialog& dialog, const char* name) {
        auto* widget = dialog.findChild<Widget*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    static QLineEdit* folderBox(const SettingsDialog& d) { return part<QLineEdit>(d, "Text2"); }
    static QLineEdit* threadsBox(const SettingsDialog& d) { return part<QLineEdit>(d, "Text1"); }
    static QRadioButton* addNew(const SettingsDialog& d) {
        return part<QRadioButton>(d, "Option1");
    }
    static QRadioButton* overwrite(const SettingsDialog& d) {
        return part<QRadioButton>(d, "Option2");
    }
    static QCheckBox* shutDown(const SettingsDialog& d) { return part<QCheckBox>(d, "Check1"); }
    static void click(const SettingsDialog& d, const char* button) {
        part<QPushButton>(d, button)->click();
    }

    QTemporaryDir m_program;
    test::PersonFolders m_person;
    test::MessageRecorder m_messages;
    std::optional<test::ProgramFolder> m_programFolder;
};

} // namespace

TEST_F(SettingsDialogTest, ShowsItsControlsWithTheirTexts) {
    SettingsDialog dialog;
    EXPECT_EQ(dialog.objectName(), QStringLiteral("Frmset"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Video Options"));
    EXPECT_TRUE(dialog.isModal());
    EXPECT_EQ(part<QPushButton>(dialog, "Command4")->text(), QStringLiteral("Browse..."));
    EXPECT_EQ(part<QPushButton>(dialog, "Command1")->text(), QStringLiteral("OK"));
    EXPECT_EQ(part<QPushButton>(dialog, "Command2")->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(addNew(dialog)->text(), QStringLiteral("Add \"New\" after filename"));
    EXPECT_EQ(overwrite(dialog)->text(), QStringLiteral("Overwrite the existed file"));
    EXPECT_EQ(shutDown(dialog)->text(),
              QStringLiteral("Automatically Shutdown Computer After Conversion"));
    QStringList frames;
    for (const QGroupBox* frame : dialog.findChildren<QGroupBox*>())
        frames << frame->title();
    EXPECT_EQ(frames,
              (QStringList{"Save Video Files to", "If same as an existed file", "", "Thread"}));
    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        labels << label->text();
    EXPECT_EQ(labels, (QStringList{"Output Folder", "Number of threads to use for",
                                   "(0-8), 0 - Disable multi-thread"}));
    // Choosing one of the two options un-chooses the other.
    overwrite(dialog)->click();
    EXPECT_FALSE(addNew(dialog)->isChecked());
}

TEST_F(SettingsDialogTest, WithoutASettingsFileItShowsTheVideosFolderAndTheDefaults) {
    for (const char* content : {"", "[set]\n", "[other]\nthread=4\n"}) {
        if (*content)
            writeFile(content);
        SettingsDialog dialog;
        EXPECT_EQ(folderBox(dialog)->text(), m_person.videos()) << content;
        EXPECT_TRUE(QFileInfo(m_person.videos()).isDir()) << "made when missing";
        EXPECT_TRUE(addNew(dialog)->isChecked()) << content;
        EXPECT_FALSE(shutDown(dialog)->isChecked()) << content;
        EXPECT_EQ(threadsBox(dialog)->text(), QString()) << content;
    }
}

TEST_F(SettingsDialogTest, AFullSettingsFileIsShownAsStored) {
    writeFile("[set]\noutputfolder= /home/me/My Films é \nexistedfile=2\nautoshut=1\n"
              "thread=2.5abc\n");
    SettingsDialog dialog;
    EXPECT_EQ(folderBox(dialog)->text(), QStringLiteral("/home/me/My Films é"));
    EXPECT_TRUE(overwrite(dialog)->isChecked());
    EXPECT_TRUE(shutDown(dialog)->isChecked());
    EXPECT_EQ(threadsBox(dialog)->text(), QStringLiteral("2.5abc")) << "exactly as stored";

    // Values that are not the numbers asked for read as their defaults.
    writeFile("[set]\nexistedfile=abc\nautoshut=yes\n");
    SettingsDialog second;
    EXPECT_TRUE(addNew(second)->isChecked());
    EXPECT_FALSE(shutDown(second)->isChecked());
}

TEST_F(SettingsDialogTest, OkAtOnceWithoutAFileWritesTheFourKeysInOrder) {
    SettingsDialog dialog;
    dialog.show();
    click(dialog, "Command1");
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(fileBytes(), "[set]\noutputfolder=" + m_person.videos().toUtf8() +
                               "\nexistedfile=0\nautoshut=0\nthread=0\n");
    EXPECT_TRUE(m_messages.shown.isEmpty());
}

TEST_F(SettingsDialogTest, OkStoresWhatThePersonChanged) {
    SettingsDialog dialog;
    folderBox(dialog)->setText(QStringLiteral("  /srv/it's a \"film\" folder  "));
    overwrite(dialog)->click();
    shutDown(dialog)->click();
    threadsBox(dialog)->setText(QStringLiteral("4"));
    click(dialog, "Command1");
    EXPECT_EQ(fileBytes(), "[set]\noutputfolder=/srv/it's a \"film\" folder\nexistedfile=1\n"
                           "autoshut=1\nthread=4\n");
    // The next opening shows what was stored.
    SettingsDialog again;
    EXPECT_EQ(folderBox(again)->text(), QStringLiteral("/srv/it's a \"film\" folder"));
    EXPECT_TRUE(overwrite(again)->isChecked());
    EXPECT_TRUE(shutDown(again)->isChecked());
    EXPECT_EQ(threadsBox(again)->text(), QStringLiteral("4"));
}

TEST_F(SettingsDialogTest, OnlyTheUpperThreadLimitIsChecked) {
    const std::pair<const char*, const char*> accepted[] = {
        {"8", "8"}, {"abc", "0"}, {"-1", "-1"}, {" 3 threads", "3"}, {"", "0"}};
    for (const auto& [typed, stored] : accepted) {
        SettingsDialog dialog;
        threadsBox(dialog)->setText(QString::fromUtf8(typed));
        click(dialog, "Command1");
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << typed;
        EXPECT_EQ(ReadSetting(file(), QStringLiteral("set"), QStringLiteral("thread")),
                  QString::fromLatin1(stored))
            << typed;
    }
    EXPECT_TRUE(m_messages.shown.isEmpty());
}

TEST_F(SettingsDialogTest, MoreThanEightThreadsIsRefusedAndWritesNothing) {
    for (const char* typed : {"8.5", "9", "12abc"}) {
        SettingsDialog dialog;
        dialog.show();
        folderBox(dialog)->setText(QStringLiteral("/somewhere"));
        threadsBox(dialog)->setText(QString::fromLatin1(typed));
        click(dialog, "Command1");
        EXPECT_EQ(m_messages.shown, QStringList{"error: Thread error!"}) << typed;
        EXPECT_TRUE(dialog.isVisible()) << "the dialog stays open";
        EXPECT_EQ(threadsBox(dialog)->text(), QString::fromLatin1(typed)) << "input unchanged";
        EXPECT_FALSE(QFile::exists(file())) << typed;
        m_messages.shown.clear();
    }
}

TEST_F(SettingsDialogTest, ABlanksOnlyFolderIsStoredEmpty) {
    SettingsDialog dialog;
    folderBox(dialog)->setText(QStringLiteral("    "));
    click(dialog, "Command1");
    EXPECT_TRUE(fileBytes().startsWith("[set]\noutputfolder=\nexistedfile=0\n"));
    // Empty means the videos folder, which the next opening shows.
    SettingsDialog again;
    EXPECT_EQ(folderBox(again)->text(), m_person.videos());
}

TEST_F(SettingsDialogTest, CancelAndTheCloseBoxWriteNothing) {
    const QByteArray stored = "[set]\noutputfolder=/kept\nthread=2\n";
    writeFile(stored);
    for (bool closeBox : {false, true}) {
        SettingsDialog dialog;
        dialog.show();
        folderBox(dialog)->setText(QStringLiteral("/changed"));
        threadsBox(dialog)->setText(QStringLiteral("20"));
        overwrite(dialog)->click();
        if (closeBox)
            dialog.close();
        else
            click(dialog, "Command2");
        EXPECT_EQ(dialog.result(), QDialog::Rejected) << closeBox;
        EXPECT_FALSE(dialog.isVisible()) << closeBox;
        EXPECT_EQ(fileBytes(), stored) << closeBox;
    }
    EXPECT_TRUE(m_messages.shown.isEmpty());
}

TEST_F(SettingsDialogTest, BrowseTakesThePickedFolderAndACancelKeepsATypedOne) {
    PickerRecorder picker;
    SettingsDialog dialog;
    folderBox(dialog)->setText(QStringLiteral(" /typed by hand "));
    click(dialog, "Command4");
    EXPECT_EQ(folderBox(dialog)->text(), QStringLiteral(" /typed by hand "));
    ASSERT_EQ(picker.owners.size(), 1);
    EXPECT_EQ(picker.owners[0], &dialog);
    EXPECT_EQ(picker.starts[0], QStringLiteral("/typed by hand"));

    picker.answer = QStringLiteral("/media/disk/-new folder ü");
    click(dialog, "Command4");
    EXPECT_EQ(folderBox(dialog)->text(), QStringLiteral("/media/disk/-new folder ü"));
    click(dialog, "Command1");
    EXPECT_EQ(ReadSetting(file(), QStringLiteral("set"), QStringLiteral("outputfolder")),
              QStringLiteral("/media/disk/-new folder ü"));
}

TEST_F(SettingsDialogTest, TheRealPickerIsAFoldersOnlyDialogTitledVidora) {
    SettingsDialog dialog;
    dialog.show();
    folderBox(dialog)->setText(m_program.path());
    QString title;
    bool foldersOnly = false;
    QWidget* parent = nullptr;
    // Closes whatever modal window opens over the dialog, so nothing waits on it.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* picker = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!picker)
            return;
        title = picker->windowTitle();
        foldersOnly = picker->fileMode() == QFileDialog::Directory &&
                      picker->testOption(QFileDialog::ShowDirsOnly);
        parent = picker->parentWidget();
        picker->reject();
    });
    closer.start(20);
    click(dialog, "Command4");
    closer.stop();
    EXPECT_EQ(title, QStringLiteral("Vidora"));
    EXPECT_TRUE(foldersOnly);
    EXPECT_EQ(parent, &dialog);
    EXPECT_EQ(folderBox(dialog)->text(), m_program.path()) << "cancelled: kept";
}

TEST_F(SettingsDialogTest, OpensWithTheSharedSkin) {
    QDir(m_program.path()).mkdir(QStringLiteral("skins"));
    QFile skin(m_program.filePath(QStringLiteral("skins/frmmain.skn")));
    ASSERT_TRUE(skin.open(QIODevice::WriteOnly));
    skin.write("QDialog { background-color: #123456; }\n");
    skin.close();
    SettingsDialog dialog;
    EXPECT_EQ(dialog.styleSheet(), QStringLiteral("QDialog { background-color: #123456; }\n"));
}

TEST_F(SettingsDialogTest, TheMenuEntryAndTheSettingsButtonOpenItModally) {
    MainWindow window;
    QAction* entry = window.action(QStringLiteral("options"));
    EXPECT_EQ(entry->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
    const std::function<void()> opens[] = {
        [entry] { entry->trigger(); },
        [&window] { window.buttonBar()->button(QStringLiteral("Image10"))->click(); }};
    for (const auto& open : opens) {
        const test::OpenedModal opened = test::openModal(open);
        EXPECT_EQ(opened.name, QStringLiteral("Frmset"));
        EXPECT_TRUE(opened.modal);
    }
    EXPECT_FALSE(QFile::exists(file())) << "closed with its close box: nothing written";
}
