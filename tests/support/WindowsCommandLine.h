#pragma once

#include <QString>
#include <QStringList>

namespace vidora::test {

// Splits a command-line text the way the Windows command line does for paths without
// double quotes: blanks separate arguments, runs of blanks count as one, and double quotes
// group a text holding blanks (the quotes are not part of the argument).
QStringList splitWindowsCommandLine(const QString& text);

} // namespace vidora::test
