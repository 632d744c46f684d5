#pragma once

#include "app/ImageList.h"
#include "profiles/OptionSheet.h"

#include <QMainWindow>

namespace vidora {

class ProfileChooser;
class PropertySheet;

// The main window. It builds its areas and wires them to the logic; the work behind each
// command lives in the logic layers.
class Form1 : public QMainWindow {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);

    ProfileChooser* profileChooser() const { return m_profileChooser; }
    OptionSheet& optionSheet() { return m_sheet; }
    PropertySheet* propertySheet() const { return m_ps1; }

    // The chooser's handler: applies the selected row's option set to the sheet; with no
    // row selected it changes nothing.
    void ImageCombo1_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    // The start-up sequence, in its order; every step runs even when one before failed.
    void load();
    // The end sequence: remembers the selected profile for the next start.
    void unload();

    ImageList m_imageList1;
    OptionSheet m_sheet;
    ProfileChooser* m_profileChooser = nullptr;
    PropertySheet* m_ps1 = nullptr;
};

} // namespace vidora
