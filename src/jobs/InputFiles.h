#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace vidora {

// Which files may enter the job list: the open dialog's title and filters, and the endings a
// drop accepts. The two sets differ on purpose (a drop takes SWF, which no filter lists, and
// refuses many extensions the dialog offers).

inline constexpr char16_t OpenDialogTitle[] = u"Open Video File";
inline constexpr char16_t OnlyVideoFilesMessage[] = u"Only Video files are allowed!";

// One filter of the open dialog: the label the user sees and the file patterns it selects.
struct DialogFilter {
    QString label;
    QStringList patterns; // "*.avi", ...; "*" for every file
};

// The 17 filters in their order; the first is selected when the dialog opens.
const QList<DialogFilter>& openDialogFilters();

// A filter as QFileDialog takes it: the label, a blank, the patterns separated by blanks in
// parentheses. QFileDialog reads the patterns from the last parentheses only, so a label that
// lists its own patterns ("Flash Video files (*.flv;*.f4v)") is kept whole; with the option
// QFileDialog::HideNameFilterDetails the dialog shows exactly the label.
QString dialogNameFilter(const DialogFilter& filter);
// dialogNameFilter of every filter, in order.
QStringList openDialogNameFilters();

// Whether a dropped path may enter the list: its upper-cased text ends in one of the video
// endings (only the ending counts, a dot before it is not needed, so "STORM" ends in "RM").
bool isAcceptedDropPath(const QString& path);

struct DropDecision {
    QStringList accepted; // in the order the drop delivered them
    // A path was refused: the drop stops there and the paths after it are not looked at.
    bool refused = false;
};
DropDecision acceptDroppedPaths(const QStringList& paths);

// Why a file cannot enter the list, or the empty text when it can: its name holds a line end or
// another control character (the player's output and the list would break on it), its name is
// not valid text in the file system's encoding (the file could not be found again under it), or
// it is there but not an ordinary file (a pipe or a device would never end a probe).
QString refusalReason(const QString& path);

// The one message for the files an add refused: each one with its reason, then what to do.
QString refusedFilesMessage(const QStringList& paths);

} // namespace vidora
