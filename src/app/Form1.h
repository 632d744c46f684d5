#pragma once

#include "app/ImageList.h"

#include <QMainWindow>

class QLabel;

namespace vidora {

class ProfileChooser;

// The main window. It builds its areas and wires them to the logic; the work behind each
// command lives in the logic layers.
class Form1 : public QMainWindow {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);

    ProfileChooser* profileChooser() const { return m_profileChooser; }

private:
    void buildLayout();
    // The start-up sequence, in its order; every step runs even when one before failed.
    void load();

    ImageList m_imageList1;
    ProfileChooser* m_profileChooser = nullptr;
};

} // namespace vidora
