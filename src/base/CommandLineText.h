#pragma once

#include <QString>
#include <QStringList>

namespace vidora {

// Splits a command-line text into arguments the way the Windows command line does for texts
// without escaped quotes: blanks and tabs separate arguments, runs of them count as one, and
// double quotes group a text holding blanks (the quotes are not part of the argument).
QStringList splitCommandLine(const QString& text);

} // namespace vidora
