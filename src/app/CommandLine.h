#pragma once

#include <QString>
#include <QStringList>

namespace vidora {

// The files given on the command line (what Qt leaves of it, the program's name first), as
// full paths: a relative path is taken from `workingFolder` and a file:// address becomes its
// path. The program has no options, so every argument is a file, also "-x.avi"; a first "--",
// the usual end of options, is passed over.
QStringList filesFromArguments(const QStringList& arguments, const QString& workingFolder);

} // namespace vidora
