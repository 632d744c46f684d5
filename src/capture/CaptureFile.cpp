#include "capture/CaptureFile.h"

#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>

namespace vidora {

namespace {

// The path with every link resolved, also for a file that does not exist yet.
QString resolvedPath(const QFileInfo& file) {
    const QString folder = QFileInfo(file.absolutePath()).canonicalFilePath();
    return joinPath(folder.isEmpty() ? file.absolutePath() : folder, file.fileName());
}

bool isInside(const QString& path, const QString& folder) {
    if (folder.isEmpty())
        return false;
    const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
    if (canonicalFolder.isEmpty())
        return false;
    return path.startsWith(joinPath(canonicalFolder, QString()));
}

} // namespace

QString DefaultCaptureFile() {
    return joinPath(VideosFolder(), QStringLiteral("dvcapture.avi"));
}

QString RecordingPartFile(const QString& path) {
    return path + QStringLiteral(".part");
}

QString CheckCaptureFile(const QString& path, const QString& programFolder,
                         bool replacementConfirmed) {
    if (path.trimmed().isEmpty())
        return QStringLiteral("Choose the file to record into.");
    const QFileInfo file(path);
    if (!file.isAbsolute() || file.fileName().isEmpty())
        return QStringLiteral("The capture file needs its full path: %1").arg(path);
    if (file.isDir())
        return QStringLiteral("%1 is a folder; choose a file to record into.").arg(path);

    const QString folder = file.absolutePath();
    if (!QFileInfo::exists(folder) && QDir::cleanPath(folder) == QDir::cleanPath(VideosFolder()))
        QDir().mkpath(folder);
    const QFileInfo folderInfo(folder);
    if (!folderInfo.isDir())
        return QStringLiteral("The folder %1 does not exist.").arg(folder);
    if (!folderInfo.isWritable())
        return QStringLiteral("The folder %1 cannot be written.").arg(folder);

    const QString resolved = resolvedPath(file);
    if (isInside(resolved, programFolder))
        return QStringLiteral("%1 is in Vidora's program folder; choose a file elsewhere.")
            .arg(path);
    if (file.exists() && !replacementConfirmed)
        return QStringLiteral("%1 already exists. Choose it with \"Browse...\" to replace it.")
            .arg(path);
    return {};
}

} // namespace vidora
