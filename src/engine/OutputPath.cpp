#include "engine/OutputPath.h"

#include "launcher/OutputFiles.h"
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
    // fp.dll names the file; the program asks the same rule for the same name.
    return QFile::decodeName(
        QByteArray::fromStdString(temporaryOutputPath(QFile::encodeName(output).toStdString())));
}

bool directoryEntryExists(const QString& path) {
    struct stat status {};
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0;
}

std::optional<FileIdentity> fileIdentity(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return FileIdentity{status.st_dev, status.st_ino};
}

bool sameExistingFile(const QString& first, const QString& second) {
    const auto identity = fileIdentity(first);
    return identity && identity == fileIdentity(second);
}

} // namespace vidora
