#pragma once

#include <QString>

namespace vidora {

// The capture file the window offers first: dvcapture.avi in the person's videos folder.
QString DefaultCaptureFile();

// Why a recording cannot go into this file, or an empty text when it can: the name must be a
// full path to a file in a folder that can be written, not one of the program's own files (in
// programFolder), and an existing file is replaced only when the person confirmed it
// (replacementConfirmed: the save dialog asked). The videos folder is created when missing.
QString CheckCaptureFile(const QString& path, const QString& programFolder,
                         bool replacementConfirmed);

// The name a recording is written under until it is complete; then it is renamed to its
// own name, so a finished file is only ever replaced by a complete one.
QString RecordingPartFile(const QString& path);

} // namespace vidora
