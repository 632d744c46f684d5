#include "app/Form1.h"

#include "app/AboutWindow.h"
#include "app/ButtonBar.h"
#include "app/ProfileChooser.h"
#include "app/ProgressPanel.h"
#include "app/PropertySheet.h"
#include "app/Skin.h"
#include "base/TextValues.h"
#include "jobs/InputFiles.h"
#include "jobs/JobTableModel.h"
#include "jobs/MediaProbe.h"
#include "platform/Messages.h"
#include "platform/Paths.h"
#include "platform/Settings.h"
#include "platform/ToolProcesses.h"
#include "preview/PreviewArea.h"
#include "profiles/Catalogue.h"
#include "profiles/OptionSets.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace vidora {

namespace {

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
    "cuttime",   "Capture1",    "Import1",
};

// Entries that change the job list or start a run: disabled while a run is in progress.
constexpr const char* kLockedWhileRunning[] = {
    "AddFiles",           "RemoveSelectedFile", "ClearAllFiles", "AddFiless",
    "RemoveSelectedItem", "ClearAllItems",      "BurnNow",       "convertnow1",
};

} // namespace

// What the conversion run reads from this window: the job list, the chosen profile and the
// option sheet.
class Form1::RunContextOfWindow : public RunContext {
public:
    explicit RunContextOfWindow(Form1& window) : m_window(window) {}
    int jobCount() const override { return m_window.m_jobs.count(); }
    QString jobPath(int row) const override { return field(row, JobField::Path); }
    QString jobStart(int row) const override { return field(row, JobField::Start); }
    QString jobEnd(int row) const override { return field(row, JobField::End); }
    void setJobStatus(int row, const QString& status, const QString& detail) override {
        m_window.m_jobs.setField(row, JobField::StatusDetail, detail);
        m_window.m_jobs.setField(row, JobField::Status, status);
    }
    int selectedItemNumber() const override {
        return m_window.m_profileChooser->selectedItemNumber();
    }
    QString selectedCaption() const override {
        return m_window.m_profileChooser->selectedCaption();
    }
    std::optional<OptionValues> optionValues() const override {
        return readOptionValues(m_window.m_sheet);
    }

private:
    QString field(int row, JobField which) const { return m_window.m_jobs.field(row, which); }
    Form1& m_window;
};

Form1::Form1(QWidget* parent)
    : QMainWindow(parent), m_runContext(std::make_unique<RunContextOfWindow>(*this)),
      m_run(*m_runContext) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Vidora"));
    buildLayout();
    buildMenus();
    connectRun();
    load();
}

Form1::~Form1() = default;

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
    m_picture3->loadPictures(AppFolder());
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
    m_lvwAudioTracks->viewport()->setAcceptDrops(true);
    m_jobModel = new JobTableModel(&m_jobs, this);
    m_lvwAudioTracks->setModel(m_jobModel);
    // Long paths keep their end, the file's own name, in sight.
    m_lvwAudioTracks->setTextElideMode(Qt::ElideLeft);
    m_lvwAudioTracks->header()->setStretchLastSection(false);
    m_lvwAudioTracks->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_lvwAudioTracks->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_lvwAudioTracks->header()->setMinimumSectionSize(60);
    connect(m_lvwAudioTracks, &QTreeView::clicked, this, &Form1::lvwAudioTracks_Click);
    connect(m_lvwAudioTracks, &QTreeView::doubleClicked, this, &Form1::openTrimmingWindow);
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
    on("AddFiles", &Form1::addFiles);
    on("AddFiless", &Form1::addFiles);
    on("RemoveSelectedFile", &Form1::removeSelectedFile);
    on("RemoveSelectedItem", &Form1::removeSelectedFile);
    on("ClearAllFiles", &Form1::clearAllFiles);
    on("ClearAllItems", &Form1::clearAllFiles);
    on("BurnNow", &Form1::BurnNow_Click);
    on("convertnow1", &Form1::BurnNow_Click);
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

void Form1::connectRun() {
    ProgressPanel* panel = m_picture4;
    connect(&m_run, &ConversionRun::runningChanged, this, &Form1::setRunning);
    connect(&m_run, &ConversionRun::panelVisibleChanged, panel, &QWidget::setVisible);
    connect(&m_run, &ConversionRun::busyChanged, this, [this](bool busy) {
        if (busy)
            setCursor(Qt::WaitCursor);
        else
            unsetCursor();
    });
    connect(&m_run, &ConversionRun::totalProgressChanged, panel->prgTotalProgress,
            &PercentBar::setPercent);
    connect(&m_run, &ConversionRun::trackProgressChanged, panel->prgTrackProgress,
            &PercentBar::setPercent);
    connect(&m_run, &ConversionRun::jobCaptionChanged, panel->Frame14, &QGroupBox::setTitle);
    connect(&m_run, &ConversionRun::elapsedTextChanged, panel->SkinLabel2, &QLabel::setText);
    connect(panel->Command1, &QPushButton::clicked, &m_run, &ConversionRun::requestCancel);
}

void Form1::setRunning(bool running) {
    m_jobs.setLocked(running);
    for (const char* name : kLockedWhileRunning)
        action(QString::fromLatin1(name))->setEnabled(!running);
    if (running)
        m_picture4->raise();
}

void Form1::BurnNow_Click() {
    m_run.BurnNow_Click();
}

void Form1::addFiles() {
    if (m_jobs.isLocked())
        return;
    const QStringList filters = openDialogNameFilters();
    // Qt's own dialog shows each filter's label exactly as written.
    const QStringList files = QFileDialog::getOpenFileNames(
        this, QString::fromUtf16(OpenDialogTitle), QString(), filters.join(QStringLiteral(";;")),
        nullptr,
        QFileDialog::DontResolveSymlinks | QFileDialog::HideNameFilterDetails |
            QFileDialog::DontUseNativeDialog);
    probeFiles(files);
}

void Form1::probeFiles(const QStringList& paths) {
    // No run may start while rows are still being filled in.
    action(QStringLiteral("BurnNow"))->setEnabled(false);
    action(QStringLiteral("convertnow1"))->setEnabled(false);
    for (const QString& path : paths)
        ProbeMediaFile(m_jobs, path);
    action(QStringLiteral("BurnNow"))->setEnabled(!m_run.isRunning());
    action(QStringLiteral("convertnow1"))->setEnabled(!m_run.isRunning());
}

void Form1::addDroppedFiles(const QStringList& paths) {
    if (m_jobs.isLocked())
        return;
    const DropDecision decision = acceptDroppedPaths(paths);
    probeFiles(decision.accepted);
    if (decision.refused)
        messages().information(QString::fromUtf16(OnlyVideoFilesMessage));
    unsetCursor();
}

void Form1::removeSelectedFile() {
    const QModelIndex current = m_lvwAudioTracks->currentIndex();
    if (current.isValid())
        m_jobs.remove(current.row());
}

void Form1::clearAllFiles() {
    m_jobs.clear();
}

void Form1::lvwAudioTracks_Click() {
    const QModelIndex current = m_lvwAudioTracks->currentIndex();
    if (m_jobs.count() == 0 || !current.isValid())
        return;
    const Job job = m_jobs.at(current.row());
    const auto set = [this](const char* category, const char* item, const QString& value) {
        m_sheet.SetValue(m_sheet.itemAt(QString::fromLatin1(category), QString::fromLatin1(item)),
                         value);
    };
    set("General", "Item Name", job.path);
    // The job's full length: the one figure of the list that fits the item's name.
    set("Output Duration", "All Clip Duration", job.videoTime);
    set("Output Duration", "Start Time", job.start);
    set("Output Duration", "Stop Time", job.end);
}

void Form1::load() {
    applySkin(this);
    m_imageList1 = ImageList::load(AppFolder());
    m_picture4->hide();
    m_profileChooser->buildCatalogue(m_imageList1);

    m_sheet.SetImageList(QStringLiteral("ImageList1"));
    prolist(m_sheet);

    // Only a whole number names a row; anything else leaves the chooser without a selection.
    m_profileChooser->selectItemNumber(Settings().profileItemNumber());
    ImageCombo1_Click();

    m_ps1->setShadedCategories(true);
    m_ps1->setGridLines(true);
    m_ps1->setChoiceToolTips(true);

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
    Settings().setProfileItemNumber(itemNumber);
}

void Form1::closeEvent(QCloseEvent* event) {
    unload();
    // A run in progress ends with the window; its encoder is told to stop.
    m_run.abandon();
    event->accept();
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_lvwAudioTracks->viewport())
        return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        // The job list's context menu opens where the right button goes down.
        auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() != Qt::RightButton)
            break;
        m_popupmenu1->popup(press->globalPosition().toPoint());
        return true;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (drag->mimeData()->hasUrls() && !m_jobs.isLocked())
            drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        QStringList paths;
        for (const QUrl& url : drop->mimeData()->urls())
            if (url.isLocalFile())
                paths << url.toLocalFile();
        drop->acceptProposedAction();
        addDroppedFiles(paths);
        return true;
    }
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace vidora
