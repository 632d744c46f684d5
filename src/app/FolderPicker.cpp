#include "app/FolderPicker.h"

#include <QFileDialog>

namespace vidora {

namespace {

class FolderDialog final : public FolderPicker {
public:
    QString pickFolder(QWidget* owner, const QString& startFolder) override {
        return QFileDialog::getExistingDirectory(owner, QStringLiteral("Vidora"), startFolder,
                                                 QFileDialog::ShowDirsOnly);
    }
};

FolderPicker* replacement = nullptr;

} // namespace

FolderPicker& folderPicker() {
    static FolderDialog dialog;
    return replacement ? *replacement : dialog;
}

void setFolderPickerForTesting(FolderPicker* picker) {
    replacement = picker;
}

} // namespace vidora
