#pragma once

#include <QDialog>

namespace vidora {

// The about window: the program's name, version and purpose. It has no buttons; the window's
// close box closes it.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);
};

} // namespace vidora
