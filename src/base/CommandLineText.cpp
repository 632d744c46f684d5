#include "base/CommandLineText.h"

namespace vidora {

QStringList splitCommandLine(const QString& text) {
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool inQuotes = false;
    for (QChar c : text) {
        if (c == u'"') {
            inQuotes = !inQuotes;
            inArgument = true;
        } else if ((c == u' ' || c == u'\t') && !inQuotes) {
            if (inArgument)
                arguments << current;
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument)
        arguments << current;
    return arguments;
}

} // namespace vidora
