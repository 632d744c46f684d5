#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace vidora {

struct SettingsFormValues;

// The settings dialog `Frmset`, "Video Options": the output folder, what to do with an output
// file that exists, the shut-down switch and the encoder threads. It shows the settings file's
// values when it opens and writes them only on "OK"; "Cancel" and the close box write nothing.
class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit SettingsDialog(QWidget* parent = nullptr);

    // "Browse...": the folder picker; a chosen folder replaces the folder box, a cancel leaves
    // it as it was.
    void browse();
    // "OK": refuses a thread count above eight with "Thread error!" and stays open; otherwise
    // stores the four settings and closes.
    void confirm();

private:
    void load();
    SettingsFormValues values() const;

    QLineEdit* m_folder = nullptr;
    QRadioButton* m_addNew = nullptr;
    QRadioButton* m_overwrite = nullptr;
    QCheckBox* m_shutDown = nullptr;
    QLineEdit* m_threads = nullptr;
};

} // namespace vidora
