#pragma once

#include "app/ImageList.h"
#include "app/Menus.h"
#include "profiles/OptionSheet.h"

#include <QMainWindow>

class QGroupBox;
class QMenu;
class QTreeView;

namespace vidora {

class ButtonBar;
class PreviewArea;
class ProfileChooser;
class ProgressPanel;
class PropertySheet;

// The main window. It builds its areas and wires menus, buttons and widgets to the logic; the
// work behind each command lives in the logic layers.
class Form1 : public QMainWindow {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);

    ProfileChooser* profileChooser() const { return m_profileChooser; }
    OptionSheet& optionSheet() { return m_sheet; }
    PropertySheet* propertySheet() const { return m_ps1; }
    ButtonBar* buttonBar() const { return m_picture3; }
    ProgressPanel* progressPanel() const { return m_picture4; }
    PreviewArea* previewArea() const { return m_preview; }
    QTreeView* jobListView() const { return m_lvwAudioTracks; }
    QMenu* jobListMenu() const { return m_popupmenu1; }
    // A menu or context-menu action by its item name ("AddFiles", "convertnow1", ...).
    QAction* action(const QString& name) const;

    // The chooser's handler: applies the selected row's option set to the sheet; with no
    // row selected it changes nothing.
    void ImageCombo1_Click();
    // Menu "Exit" and the "EXIT" button: the player is told to quit, then the window closes.
    void exitProgram();
    void showAbout();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void buildMenus();
    // The start-up sequence, in its order; every step runs even when one before failed.
    void load();
    // The end sequence: remembers the selected profile for the next start.
    void unload();

    // Commands whose windows are not part of the program yet; their entries stay disabled.
    void openSettingsDialog() {}
    void openHelp() {}
    void openHomePage() {}
    void openSupportPage() {}
    void openCaptureWindow() {}
    void openDownloadWindow() {}
    void playSelectedFile() {}
    void openTrimmingWindow() {}

    ImageList m_imageList1;
    OptionSheet m_sheet;
    Actions m_actions;
    ButtonBar* m_picture3 = nullptr;
    QGroupBox* m_videoList = nullptr;
    QTreeView* m_lvwAudioTracks = nullptr;
    QMenu* m_popupmenu1 = nullptr;
    ProfileChooser* m_profileChooser = nullptr;
    PropertySheet* m_ps1 = nullptr;
    PreviewArea* m_preview = nullptr;
    ProgressPanel* m_picture4 = nullptr;
};

} // namespace vidora
