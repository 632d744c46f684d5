#pragma once

#include <QString>

class QWidget;

namespace vidora {

// The folder picker: Qt's folder dialog titled "Vidora", showing folders only, modal over its
// owner. Tests put their own in its place, so none of them waits on a real dialog.
class FolderPicker {
public:
    virtual ~FolderPicker() = default;
    // The chosen folder's full path, or an empty text when the person cancels.
    virtual QString pickFolder(QWidget* owner, const QString& startFolder) = 0;
};

FolderPicker& folderPicker();
// Puts another implementation in place (nullptr: the real dialog again). The caller keeps it.
void setFolderPickerForTesting(FolderPicker* replacement);

} // namespace vidora
