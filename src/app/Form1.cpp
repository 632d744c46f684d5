#include "app/Form1.h"

#include "app/AboutWindow.h"
#include "app/ButtonBar.h"
#include "app/ProfileChooser.h"
#include "app/ProgressPanel.h"
#include "app/PropertySheet.h"
#include "app/Skin.h"
#include "base/TextValues.h"
#include "platform/Inifun.h"
#include "platform/Paths.h"
#include "platform/ToolProcesses.h"
#include "preview/PreviewArea.h"
#include "profiles/Catalogue.h"
#include "profiles/OptionSets.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTreeView>
#include <QVBoxLayout>

namespace vidora {

namespace {

const QString kProfileKey = QStringLiteral("profile");
constexpr int kQuitKey = 81;

// Which picture button stands for which menu item.
constexpr std::pair<const char*, const char*> kButtonActions[] = {
    {"Image1", "AddFiles"}, {"Image2", "RemoveSelectedFile"}, {"Image9", "ClearAllFiles"},
    {"Image10", "options"}, {"Image8", "helphelp"},           {"Image7", "exit"},
    {"Image11", "BurnNow"},
};

// Menu entries whose windows are not part of the program yet.
constexpr const char* kNotYetAvailable[] = {
    "Capture",   "importvideo", "options",  "checkupdate",   "play",
    "videoclip", "helphelp",    "HomePage", "SupportOnline", "PlaySelectedFile",
    "cuttime",   "Capture1",    "Import1",  "BurnNow",       "convertnow1",
};

} // namespace

Form1::Form1(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Vidora"));
    buildLayout();
    buildMenus();
    load();
}

QAction* Form1::action(const QString& name) const {
    return m_actions.value(name);
}

void Form1::buildLayout() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("Central"));
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    m_picture3 = new ButtonBar(central);
    outer->addWidget(m_picture3);

    auto* body = new QGridLayout;
    body->setContentsMargins(10, 10, 10, 10);
    body->setHorizontalSpacing(10);
    body->setVerticalSpacing(10);
    outer->addLayout(body, 1);

    m_videoList = new QGroupBox(QStringLiteral("Video List"), central);
    m_videoList->setObjectName(QStringLiteral("VideoListFrame"));
    m_lvwAudioTracks = new QTreeView(m_videoList);
    m_lvwAudioTracks->setObjectName(QStringLiteral("lvwAudioTracks"));
    m_lvwAudioTracks->setRootIsDecorated(false);
    m_lvwAudioTracks->setUniformRowHeights(true);
    m_lvwAudioTracks->setAlternatingRowColors(true);
    m_lvwAudioTracks->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lvwAudioTracks->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_lvwAudioTracks->setContextMenuPolicy(Qt::NoContextMenu);
    m_lvwAudioTracks->viewport()->installEventFilter(this);
    auto* listLayout = new QVBoxLayout(m_videoList);
    listLayout->addWidget(m_lvwAudioTracks);

    m_preview = new PreviewArea(central);

    auto* profileBox = new QWidget(central);
    auto* profileLayout = new QGridLayout(profileBox);
    profileLayout->setContentsMargins(0, 0, 0, 0);
    auto* profileLabel = new QLabel(QStringLiteral("Profile:"), profileBox);
    profileLabel->setObjectName(QStringLiteral("ProfileLabel"));
    m_profileChooser = new ProfileChooser(profileBox);
    profileLabel->setBuddy(m_profileChooser);
    m_ps1 = new PropertySheet(m_sheet, profileBox);
    profileLayout->addWidget(profileLabel, 0, 0);
    profileLayout->addWidget(m_profileChooser, 0, 1);
    profileLayout->addWidget(m_ps1, 1, 0, 1, 2);
    profileLayout->setColumnStretch(1, 1);

    body->addWidget(m_videoList, 0, 0);
    body->addWidget(m_preview, 1, 0);
    body->addWidget(profileBox, 0, 1, 2, 1);
    body->setColumnStretch(0, 3);
    body->setColumnStretch(1, 2);
    body->setRowStretch(0, 3);
    body->setRowStretch(1, 2);

    // The progress panel floats above the window's areas while a conversion runs.
    m_picture4 = new ProgressPanel(central);
    m_picture4->move(120, 160);

    connect(m_profileChooser, &ProfileChooser::rowChosen, this, &Form1::ImageCombo1_Click);

    setCentralWidget(central);
    resize(1100, 720);
}

void Form1::buildMenus() {
    m_actions = buildMainMenus(menuBar());
    m_popupmenu1 = new QMenu(this);
    const Actions context = buildJobListMenu(m_popupmenu1);
    for (auto it = context.cbegin(); it != context.cend(); ++it)
        m_actions.insert(it.key(), it.value());

    for (const char* name : kNotYetAvailable)
        action(QString::fromLatin1(name))->setEnabled(false);

    const auto on = [this](const char* name, auto slot) {
        connect(action(QString::fromLatin1(name)), &QAction::triggered, this, slot);
    };
    on("exit", &Form1::exitProgram);
    on("About", &Form1::showAbout);
    on("options", &Form1::openSettingsDialog);
    on("helphelp", &Form1::openHelp);
    on("HomePage", &Form1::openHomePage);
    on("SupportOnline", &Form1::openSupportPage);
    on("Capture", &Form1::openCaptureWindow);
    on("Capture1", &Form1::openCaptureWindow);
    on("importvideo", &Form1::openDownloadWindow);
    on("Import1", &Form1::openDownloadWindow);
    on("play", &Form1::playSelectedFile);
    on("PlaySelectedFile", &Form1::playSelectedFile);
    on("videoclip", &Form1::openTrimmingWindow);
    on("cuttime", &Form1::openTrimmingWindow);

    for (const auto& [button, item] : kButtonActions)
        m_picture3->bind(QString::fromLatin1(button), action(QString::fromLatin1(item)));
}

void Form1::load() {
    applySkin(this);
    m_imageList1 = ImageList::load(AppFolder());
    m_picture4->hide();
    m_profileChooser->buildCatalogue(m_imageList1);

    m_sheet.SetImageList(QStringLiteral("ImageList1"));
    prolist(m_sheet);

    const double stored = readSettingNumber(settingsFilePath(), QStringLiteral("set"), kProfileKey);
    // Only a whole number names a row; anything else leaves the chooser without a selection.
    const int itemNumber = stored == static_cast<int>(stored) ? static_cast<int>(stored) : 0;
    m_profileChooser->selectItemNumber(itemNumber);
    ImageCombo1_Click();

    m_ps1->setShadedCategories(true);
    m_ps1->setGridLines(true);
    m_ps1->setChoiceToolTips(true);

    m_picture3->loadPictures(AppFolder());
    m_preview->showPicture(AppFolder() + QStringLiteral("loading.jpg"));
}

void Form1::ImageCombo1_Click() {
    const int itemNumber = m_profileChooser->selectedItemNumber();
    if (itemNumber == 0)
        return;
    applyOptionSet(m_sheet, Catalogue::profileIndex(itemNumber));
}

void Form1::exitProgram() {
    SendPlayerKey(kQuitKey);
    close();
}

void Form1::showAbout() {
    AboutWindow about(this);
    about.exec();
}

void Form1::unload() {
    const int itemNumber = m_profileChooser->selectedItemNumber();
    // With no row selected the stored profile stays as it was.
    if (itemNumber == 0)
        return;
    WriteSetting(settingsFilePath(), QStringLiteral("Set"), kProfileKey,
                 QString::number(itemNumber));
}

void Form1::closeEvent(QCloseEvent* event) {
    unload();
    event->accept();
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    // The job list's context menu opens where the right button goes down.
    if (watched == m_lvwAudioTracks->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() == Qt::RightButton) {
            m_popupmenu1->popup(press->globalPosition().toPoint());
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace vidora
