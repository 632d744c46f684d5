#pragma once

#include <QString>

namespace vidora {

// The program folder (the folder of the running executable) with a trailing "/".
// Everything the program ships and writes lives there: the tools, the skin, the pictures,
// settings.dat, curconvert.log, Cache and downloads.
QString AppFolder();

// Overrides the program folder for tests; an empty text goes back to the executable's folder.
void setAppFolderForTesting(const QString& folder);

// Joins a folder and a name with "/"; a folder that already ends in "/" gets none added.
QString joinPath(const QString& folder, const QString& name);

} // namespace vidora
