#pragma once

#include "app/ImageList.h"
#include "app/Menus.h"
#include "engine/ConversionRun.h"
#include "jobs/JobList.h"
#include "jobs/MediaProbe.h"
#include "profiles/OptionSheet.h"

#include <QMainWindow>
#include <memory>

class QGroupBox;
class QMenu;
class QTreeView;
class QModelIndex;

namespace vidora {

class ButtonBar;
class PreviewArea;
class PreviewPlayer;
class PreviewState;
class ProfileChooser;
class ProgressPanel;
class PropertySheet;
class JobTableModel;

// The main window. It builds its areas and wires menus, buttons and widgets to the logic; the
// work behind each command lives in the logic layers.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    ProfileChooser* profileChooser() const { return m_profileChooser; }
    OptionSheet& optionSheet() { return m_sheet; }
    PropertySheet* propertySheet() const { return m_propertySheet; }
    ButtonBar* buttonBar() const { return m_buttonBar; }
    ProgressPanel* progressPanel() const { return m_progressPanel; }
    PreviewArea* previewArea() const { return m_preview; }
    QTreeView* jobListView() const { return m_lvwAudioTracks; }
    QMenu* jobListMenu() const { return m_jobListMenu; }
    // A menu or context-menu action by its item name ("AddFiles", "convertnow1", ...).
    QAction* action(const QString& name) const;
    JobList& jobs() { return m_jobs; }
    MediaProber& prober() { return m_prober; }
    ConversionRun& conversionRun() { return m_run; }
    PreviewState& previewState() { return *m_previewState; }
    PreviewPlayer& previewPlayer() { return *m_previewPlayer; }

    // Adding, removing and clearing jobs.
    void addFiles();
    void addDroppedFiles(const QStringList& paths);
    // Files from the command line or handed over by a later start: the window comes to the
    // front and they are added as if dropped, each batch after the one before.
    void addHandedOverFiles(const QStringList& paths);
    void removeSelectedFile();
    void clearAllFiles();
    // Brings back the rows of the last removal or clearing.
    void undoRemoval();
    // A click on a job shows its file and times in the option sheet.
    void lvwAudioTracks_Click();
    // "CONVERT NOW", Action > "Convert Now!" and the context menu's "Convert Now!".
    void convertNow();

    // The chooser's handler: applies the selected row's option set to the sheet; with no
    // row selected it changes nothing.
    void onProfileChosen();
    // Menu "Exit" and the "EXIT" button: the player is told to quit, then the window closes.
    void exitProgram();
    void showAbout();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void buildMenus();
    void connectRun();
    // Adds one row per file through the probe, in order.
    void probeFiles(const QStringList& paths);
    // "CONVERT NOW" is offered only while no run goes on and every probe has ended.
    void updateConvertEntries();
    void setRunning(bool running);
    // The start-up sequence, in its order; every step runs even when one before failed.
    void load();
    // The end sequence: remembers the selected profile for the next start.
    void unload();

    // "Capture Video From DV": the capture window, modal, with this computer's devices.
    void openCaptureWindow();

    // "Import Video From Youtube": the web video download window, modal.
    void openDownloadWindow();
    // Edit > "Video Settings" and the "Settings" button: the settings dialog, modal.
    void openSettingsDialog();

    // The preview and the trimming window.
    void wirePreview();
    // Play Selected File: the selected job (the first when none is selected) from its start.
    void playSelectedFile();
    // Video Clip and a double-click on a job: the trimming window, modal, for the selected job.
    void openTrimmingWindow();
    void updatePreviewEntries();
    // The row the preview and the trimming window act on; -1 for an empty list.
    int selectedJobRow() const;
    // Ends the preview before its host goes: the ticker stops, the players end.
    void endPreview();

    class RunContextOfWindow;

    ImageList m_chooserPictures;
    OptionSheet m_sheet;
    JobList m_jobs;
    MediaProber m_prober{m_jobs};
    JobTableModel* m_jobModel = nullptr;
    std::unique_ptr<RunContextOfWindow> m_runContext;
    ConversionRun m_run;
    Actions m_actions;
    ButtonBar* m_buttonBar = nullptr;
    QGroupBox* m_videoList = nullptr;
    QTreeView* m_lvwAudioTracks = nullptr;
    QMenu* m_jobListMenu = nullptr;
    ProfileChooser* m_profileChooser = nullptr;
    PropertySheet* m_propertySheet = nullptr;
    PreviewArea* m_preview = nullptr;
    std::unique_ptr<PreviewState> m_previewState;
    std::unique_ptr<PreviewPlayer> m_previewPlayer;
    ProgressPanel* m_progressPanel = nullptr;
};

} // namespace vidora
