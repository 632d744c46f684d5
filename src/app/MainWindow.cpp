#include "app/MainWindow.h"

#include "app/AboutWindow.h"
#include "app/ButtonBar.h"
#include "app/Links.h"
#include "app/ProfileChooser.h"
#include "app/ProgressPanel.h"
#include "app/PropertySheet.h"
#include "app/SettingsDialog.h"
#include "app/Skin.h"
#include "capture/CaptureWindow.h"
#include "capture/SystemCaptureDevice.h"
#include "download/DownloadWindow.h"
#include "jobs/InputFiles.h"
#include "jobs/JobTableModel.h"
#include "jobs/MediaProbe.h"
#include "platform/Desktop.h"
#include "platform/Messages.h"
#include "platform/Paths.h"
#include "platform/Settings.h"
#include "platform/ToolProcesses.h"
#include "preview/PreviewArea.h"
#include "preview/PreviewPlayer.h"
#include "preview/TrimmingWindow.h"
#include "profiles/Catalogue.h"
#include "profiles/OptionSets.h"

#include <QCloseEvent>
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
#include <QTreeView>
#include <QVBoxLayout>

namespace vidora {

namespace {

// Which picture button stands for which menu item.
constexpr std::pair<const char*, const char*> kButtonActions[] = {
    {"Image1", "AddFiles"}, {"Image2", "RemoveSelectedFile"}, {"Image9", "ClearAllFiles"},
    {"Image10", "options"}, {"Image8", "helphelp"},           {"Image7", "exit"},
    {"Image11", "BurnNow"},
};

// Menu entries with nothing behind them.
constexpr const char* kWithoutAction[] = {"checkupdate"};

// Entries that change the job list or start a run: disabled while a run is in progress.
constexpr const char* kLockedWhileRunning[] = {
    "AddFiles",           "RemoveSelectedFile", "ClearAllFiles", "AddFiless",
    "RemoveSelectedItem", "ClearAllItems",      "BurnNow",       "convertnow1",
};

} // namespace

// What the conversion run reads from this window: the job list, the chosen profile and the
// option sheet.
class MainWindow::RunContextOfWindow final : public RunContext {
public:
    explicit RunContextOfWindow(MainWindow& window) : m_window(window) {}
    int jobCount() const override { return m_window.m_jobs.count(); }
    QString jobPath(int row) const override { return field(row, JobField::Path); }
    QString jobStart(int row) const override { return field(row, JobField::Start); }
    QString jobEnd(int row) const override { return field(row, JobField::End); }
    QString jobVideoTime(int row) const override { return field(row, JobField::VideoTime); }
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
    MainWindow& m_window;
};

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent), m_runContext(std::make_unique<RunContextOfWindow>(*this)),
      m_run(*m_runContext) {
    setObjectName(QStringLiteral("Form1"));
    // The reason a job failed is its status tooltip: it shows also while another window has
    // the focus, for example right after the end-of-run message closed.
    setAttribute(Qt::WA_AlwaysShowToolTips);
    setWindowTitle(QStringLiteral("Vidora"));
    buildLayout();
    buildMenus();
    connectRun();
    wirePreview();
    load();
}

MainWindow::~MainWindow() {
    endPreview();
}

QAction* MainWindow::action(const QString& name) const {
    return m_actions.value(name);
}

void MainWindow::buildLayout() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("Central"));
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    m_buttonBar = new ButtonBar(central);
    m_buttonBar->loadPictures(AppFolder());
    outer->addWidget(m_buttonBar);

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
    connect(m_lvwAudioTracks, &QTreeView::clicked, this, &MainWindow::lvwAudioTracks_Click);
    connect(m_lvwAudioTracks, &QTreeView::doubleClicked, this, &MainWindow::openTrimmingWindow);
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
    m_propertySheet = new PropertySheet(m_sheet, profileBox);
    profileLayout->addWidget(profileLabel, 0, 0);
    profileLayout->addWidget(m_profileChooser, 0, 1);
    profileLayout->addWidget(m_propertySheet, 1, 0, 1, 2);
    profileLayout->setColumnStretch(1, 1);

    body->addWidget(m_videoList, 0, 0);
    body->addWidget(m_preview, 1, 0);
    body->addWidget(profileBox, 0, 1, 2, 1);
    body->setColumnStretch(0, 3);
    body->setColumnStretch(1, 2);
    body->setRowStretch(0, 3);
    body->setRowStretch(1, 2);

    // The progress panel floats above the window's areas while a conversion runs.
    m_progressPanel = new ProgressPanel(central);
    m_progressPanel->move(120, 160);

    connect(m_profileChooser, &ProfileChooser::rowChosen, this, &MainWindow::onProfileChosen);

    setCentralWidget(central);
    resize(1100, 720);
}

void MainWindow::buildMenus() {
    m_actions = buildMainMenus(menuBar());
    m_jobListMenu = new QMenu(this);
    const Actions context = buildJobListMenu(m_jobListMenu);
    for (auto it = context.cbegin(); it != context.cend(); ++it)
        m_actions.insert(it.key(), it.value());

    for (const char* name : kWithoutAction)
        action(QString::fromLatin1(name))->setEnabled(false);

    const auto on = [this](const char* name, auto slot) {
        connect(action(QString::fromLatin1(name)), &QAction::triggered, this, slot);
    };
    on("AddFiles", &MainWindow::addFiles);
    on("AddFiless", &MainWindow::addFiles);
    on("RemoveSelectedFile", &MainWindow::removeSelectedFile);
    on("RemoveSelectedItem", &MainWindow::removeSelectedFile);
    on("ClearAllFiles", &MainWindow::clearAllFiles);
    on("ClearAllItems", &MainWindow::clearAllFiles);
    on("BurnNow", &MainWindow::convertNow);
    on("convertnow1", &MainWindow::convertNow);
    on("exit", &MainWindow::exitProgram);
    on("About", &MainWindow::showAbout);
    on("options", &MainWindow::openSettingsDialog);
    on("helphelp", [this] { OpenHelp(this); });
    on("HomePage", [] { OpenLink(homePageAddress()); });
    on("SupportOnline", [] { OpenLink(supportPageAddress()); });
    on("Capture", &MainWindow::openCaptureWindow);
    on("Capture1", &MainWindow::openCaptureWindow);
    on("importvideo", &MainWindow::openDownloadWindow);
    on("Import1", &MainWindow::openDownloadWindow);
    on("play", &MainWindow::playSelectedFile);
    on("PlaySelectedFile", &MainWindow::playSelectedFile);
    on("videoclip", &MainWindow::openTrimmingWindow);
    on("cuttime", &MainWindow::openTrimmingWindow);
    // Clearing is on Ctrl+C, the key people press to copy: every removal can be undone.
    on("undo", &MainWindow::undoRemoval);
    action(QStringLiteral("undo"))->setEnabled(false);
    connect(&m_jobs, &JobList::canUndoChanged, action(QStringLiteral("undo")),
            &QAction::setEnabled);
    // The Delete key removes the selected row while the list has the focus.
    auto* deleteRow = new QAction(m_lvwAudioTracks);
    deleteRow->setObjectName(QStringLiteral("DeleteSelectedRow"));
    deleteRow->setShortcut(QKeySequence::Delete);
    deleteRow->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    m_lvwAudioTracks->addAction(deleteRow);
    connect(deleteRow, &QAction::triggered, this, &MainWindow::removeSelectedFile);

    for (const auto& [button, item] : kButtonActions)
        m_buttonBar->bind(QString::fromLatin1(button), action(QString::fromLatin1(item)));
}

void MainWindow::connectRun() {
    connect(&m_prober, &MediaProber::busyChanged, this, &MainWindow::updateConvertEntries);
    ProgressPanel* panel = m_progressPanel;
    connect(&m_run, &ConversionRun::runningChanged, this, &MainWindow::setRunning);
    connect(&m_run, &ConversionRun::panelVisibleChanged, panel, [panel](bool visible) {
        panel->setVisible(visible);
        // Above the preview's picture, which is a window of its own.
        if (visible)
            panel->raise();
    });
    connect(&m_run, &ConversionRun::busyChanged, this, [this](bool busy) {
        if (busy)
            setCursor(Qt::WaitCursor);
        else
            unsetCursor();
    });
    connect(&m_run, &ConversionRun::totalProgressChanged, panel, &ProgressPanel::setTotalPercent);
    connect(&m_run, &ConversionRun::totalProgressChanged, this, [this](int percent) {
        // The title shows how far the run is, also when the window is minimised or covered.
        if (m_run.isRunning())
            setWindowTitle(QStringLiteral("%1% - Vidora").arg(percent));
    });
    connect(&m_run, &ConversionRun::trackProgressChanged, panel, &ProgressPanel::setJobPercent);
    connect(&m_run, &ConversionRun::jobCaptionChanged, panel, &ProgressPanel::setJobCaption);
    connect(&m_run, &ConversionRun::elapsedTextChanged, panel, &ProgressPanel::setElapsedText);
    connect(&m_run, &ConversionRun::timeLeftTextChanged, panel, &ProgressPanel::setTimeLeftText);
    connect(&m_run, &ConversionRun::runEnded, this, [this](const QString& text) {
        // A person working in another window learns of the end from the desktop.
        if (!isActiveWindow())
            notifications().notify(QStringLiteral("Vidora"), text);
    });
    connect(panel, &ProgressPanel::cancelRequested, &m_run, &ConversionRun::requestCancel);
}

void MainWindow::setRunning(bool running) {
    m_jobs.setLocked(running);
    for (const char* name : kLockedWhileRunning)
        action(QString::fromLatin1(name))->setEnabled(!running);
    updateConvertEntries();
    if (running) {
        m_progressPanel->raise();
        setWindowTitle(QStringLiteral("0% - Vidora"));
    } else {
        setWindowTitle(QStringLiteral("Vidora"));
    }
}

void MainWindow::openCaptureWindow() {
    SystemCaptureDevice device;
    CaptureWindow window(device, this);
    applySkin(&window);
    window.load();
    window.exec();
}

void MainWindow::convertNow() {
    // A list still being probed has rows without their times.
    if (m_prober.isBusy())
        return;
    m_run.run();
}

void MainWindow::updateConvertEntries() {
    // The list is locked exactly while a run goes on.
    const bool offered = !m_jobs.isLocked() && !m_prober.isBusy();
    action(QStringLiteral("BurnNow"))->setEnabled(offered);
    action(QStringLiteral("convertnow1"))->setEnabled(offered);
}

void MainWindow::addFiles() {
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

void MainWindow::probeFiles(const QStringList& paths) {
    QStringList accepted;
    QStringList refused;
    for (const QString& path : paths)
        (refusalReason(path).isEmpty() ? accepted : refused) << path;
    m_prober.add(accepted);
    // Every other file of the add arrives; the refused ones are named once, with what to do.
    if (!refused.isEmpty())
        messages().error(refusedFilesMessage(refused));
}

void MainWindow::addDroppedFiles(const QStringList& paths) {
    if (m_jobs.isLocked())
        return;
    const DropDecision decision = acceptDroppedPaths(paths);
    probeFiles(decision.accepted);
    if (decision.refused)
        messages().information(QString::fromUtf16(OnlyVideoFilesMessage));
    unsetCursor();
}

void MainWindow::addHandedOverFiles(const QStringList& paths) {
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
    // As if dropped: the probes run on without holding this call.
    addDroppedFiles(paths);
}

void MainWindow::removeSelectedFile() {
    const QModelIndex current = m_lvwAudioTracks->currentIndex();
    if (current.isValid())
        m_jobs.remove(current.row());
}

void MainWindow::clearAllFiles() {
    m_jobs.clear();
}

void MainWindow::undoRemoval() {
    m_jobs.undo();
}

void MainWindow::lvwAudioTracks_Click() {
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

void MainWindow::load() {
    applySkin(this);
    m_chooserPictures = ImageList::load(AppFolder());
    m_progressPanel->hide();
    m_profileChooser->buildCatalogue(m_chooserPictures);

    m_sheet.SetImageList(QStringLiteral("ImageList1"));
    prolist(m_sheet);

    // Only a whole number names a row; anything else leaves the chooser without a selection.
    // A first start, with no profile stored, offers a row whose files play nearly everywhere.
    const Settings settings;
    m_profileChooser->selectItemNumber(
        settings.hasProfile() ? settings.profileItemNumber()
                              : Catalogue::itemNumber(Catalogue::kFirstStartProfileIndex));
    onProfileChosen();

    m_propertySheet->setShadedCategories(true);
    m_propertySheet->setGridLines(true);
    m_propertySheet->setChoiceToolTips(true);

    m_preview->showPicture(AppFolder() + QStringLiteral("loading.jpg"));
}

void MainWindow::onProfileChosen() {
    const int itemNumber = m_profileChooser->selectedItemNumber();
    if (itemNumber == 0)
        return;
    applyOptionSet(m_sheet, Catalogue::profileIndex(itemNumber));
}

void MainWindow::exitProgram() {
    SendPlayerKey(kQuitKey);
    close();
}

void MainWindow::showAbout() {
    AboutWindow about(this);
    about.exec();
}

void MainWindow::openSettingsDialog() {
    SettingsDialog dialog(this);
    dialog.exec();
}

void MainWindow::openDownloadWindow() {
    DownloadWindow window(this);
    window.exec();
}

void MainWindow::unload() {
    const int itemNumber = m_profileChooser->selectedItemNumber();
    // With no row selected the stored profile stays as it was.
    if (itemNumber == 0)
        return;
    Settings().setProfileItemNumber(itemNumber);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    unload();
    // A run in progress ends with the window; its encoder is told to stop.
    m_run.abandon();
    endPreview();
    event->accept();
}

// ---- The preview and the trimming window ------------------------------------------------

void MainWindow::wirePreview() {
    m_previewState = std::make_unique<PreviewState>();
    m_previewPlayer = std::make_unique<PreviewPlayer>(*m_previewState, mainWindowOptionTexts());
    connectPreview(m_preview, m_previewPlayer.get());
    connect(m_preview, &PreviewArea::playClicked, this, &MainWindow::playSelectedFile);
    // A click on a job makes its file the one First Frame, Last Frames and seeking show.
    connect(m_lvwAudioTracks, &QTreeView::clicked, this, [this] {
        const int row = selectedJobRow();
        if (row >= 0)
            m_previewState->PreviewFile = m_jobs.field(row, JobField::Path);
    });
    connect(&m_jobs, &JobList::rowAdded, this, &MainWindow::updatePreviewEntries);
    connect(&m_jobs, &JobList::rowRemoved, this, &MainWindow::updatePreviewEntries);
    connect(&m_jobs, &JobList::cleared, this, &MainWindow::updatePreviewEntries);
    connect(&m_run, &ConversionRun::runningChanged, this, &MainWindow::updatePreviewEntries);
    updatePreviewEntries();
}

void MainWindow::updatePreviewEntries() {
    const bool anyJob = m_jobs.count() > 0;
    for (const char* name : {"play", "PlaySelectedFile"})
        action(QString::fromLatin1(name))->setEnabled(anyJob);
    // The trimming window rewrites a job's times: not while a run reads them.
    for (const char* name : {"videoclip", "cuttime"})
        action(QString::fromLatin1(name))->setEnabled(anyJob && !m_run.isRunning());
    m_preview->setStartControlsEnabled(anyJob);
}

int MainWindow::selectedJobRow() const {
    if (m_jobs.count() == 0)
        return -1;
    const QModelIndex current = m_lvwAudioTracks->currentIndex();
    return current.isValid() && m_jobs.isValidRow(current.row()) ? current.row() : 0;
}

void MainWindow::playSelectedFile() {
    const int row = selectedJobRow();
    if (row < 0)
        return;
    m_previewPlayer->play(m_jobs.field(row, JobField::Path),
                          m_jobs.field(row, JobField::VideoTime));
}

void MainWindow::openTrimmingWindow() {
    const int row = selectedJobRow();
    if (row < 0 || m_run.isRunning())
        return;
    if (PreviewState::previewProcessId() != 0)
        SendPlayerKey(kQuitKey);
    // Both windows count in the one preview state: this window's count stops with its player.
    m_previewPlayer->setTickerActive(false);
    const Job job = m_jobs.at(row);
    const quint64 id = m_jobs.rowId(row);
    m_previewState->PreviewPosition = 0;
    m_previewState->PreviewLength = 0;

    TrimmingWindow window(*m_previewState, {job.path, job.start, job.end, job.videoTime}, this);
    applySkin(&window);
    if (window.exec() != QDialog::Accepted)
        return;
    // Rows may have come or gone while the window was open: the job is found by its id.
    const int at = m_jobs.indexOfId(id);
    if (at < 0)
        return;
    m_jobs.setField(at, JobField::Start, window.startText());
    m_jobs.setField(at, JobField::End, window.endText());
    lvwAudioTracks_Click();
}

void MainWindow::endPreview() {
    if (!m_previewState)
        return;
    m_previewPlayer->setTickerActive(false);
    m_previewState->endPlayers();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_lvwAudioTracks->viewport())
        return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        // The job list's context menu opens where the right button goes down.
        auto* press = static_cast<QMouseEvent*>(event);
        if (press->button() != Qt::RightButton)
            break;
        m_jobListMenu->popup(press->globalPosition().toPoint());
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
