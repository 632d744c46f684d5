#pragma once

#include <QString>

namespace vidora {

// The program folder (the folder of the running executable) with a trailing "/".
// Everything the program ships lives there: the tools, the skin, the pictures, the help.
QString AppFolder();

// Overrides the program folder for tests; an empty text goes back to the executable's folder.
void setAppFolderForTesting(const QString& folder);

// The folder of the program's own working files (settings.dat, curconvert.log, Cache), with a
// trailing "/": the program folder when it can be written; otherwise, as after a system-wide
// install, the person's data folder for Vidora ($XDG_DATA_HOME/Vidora), created with its Cache
// folder when missing.
QString AppDataFolder();

// Tests run as root, who may write any folder: this makes the program folder count as one
// that cannot be written (false: as it really is).
void setAppFolderReadOnlyForTesting(bool readOnly);

// The program's working folder "Cache" in AppDataFolder (thumbnails of the web video download).
QString CacheFolder();

// The person's videos folder (the XDG videos directory), created when missing; the output
// folder when the settings name none.
QString VideosFolder();

// Whether this program may make and remove entries in the folder.
bool canWrite(const QString& folder);

// Joins a folder and a name with "/"; a folder that already ends in "/" gets none added.
QString joinPath(const QString& folder, const QString& name);

} // namespace vidora
