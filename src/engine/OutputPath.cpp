#include "engine/OutputPath.h"

#include "platform/Paths.h"

#include <QFile>
#include <QFileInfo>
#include <sys/stat.h>

namespace vidora {

std::optional<QString> outputBaseName(const QString& inputPath) {
    const QString fileName = QFileInfo(inputPath).fileName();
    const qsizetype dot = fileName.indexOf(u'.');
    if (dot < 0)
        return std::nullopt;
    return fileName.left(dot);
}

std::optional<QString> outputPathFor(const QString& inputPath, const QString& folder,
                                     const QString& extension, bool overwriteExisting,
                                     const std::function<bool(const QString&)>& taken) {
    std::optional<QString> base = outputBaseName(inputPath);
    if (!base)
        return std::nullopt;
    QString path = joinPath(folder, *base + extension);
    if (overwriteExisting)
        return path;
    while (taken(path)) {
        *base += QStringLiteral("_New");
        path = joinPath(folder, *base + extension);
    }
    return path;
}

QString temporaryOutputPath(const QString& output) {
    const qsizetype nameStart = output.lastIndexOf(u'/') + 1;
    const QString name = output.mid(nameStart);
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString stem = dot < 0 ? name : name.left(dot);
    const QString extension = dot < 0 ? QString() : name.mid(dot);
    return output.left(nameStart) + u'.' + stem + u".part" + extension;
}

bool directoryEntryExists(const QString& path) {
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0;
}

bool sameExistingFile(const QString& first, const QString& second) {
    struct stat a {};
    struct stat b {};
    return ::stat(QFile::encodeName(first).constData(), &a) == 0 &&
           ::stat(QFile::encodeName(second).constData(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

} // namespace vidora
