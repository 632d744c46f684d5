#include "app/CommandLine.h"

#include <QDir>
#include <QUrl>

namespace vidora {

QStringList filesFromArguments(const QStringList& arguments, const QString& workingFolder) {
    QStringList files;
    const QDir folder(workingFolder);
    bool marker = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == u"--" && !marker) {
            marker = true;
            continue;
        }
        if (argument.isEmpty())
            continue;
        if (argument.startsWith(u"file://")) {
            files << QUrl(argument).toLocalFile();
            continue;
        }
        files << QDir::cleanPath(folder.absoluteFilePath(argument));
    }
    return files;
}

} // namespace vidora
