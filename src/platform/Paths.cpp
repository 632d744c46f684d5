#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <unistd.h>

namespace vidora {

namespace {

QString& appFolderOverride() {
    static QString folder;
    return folder;
}

bool& appFolderReadOnly() {
    static bool readOnly = false;
    return readOnly;
}

const QString kCacheFolder = QStringLiteral("Cache");

bool canWrite(const QString& folder) {
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

} // namespace

QString AppFolder() {
    QString folder = appFolderOverride();
    if (folder.isEmpty())
        folder = QCoreApplication::applicationDirPath();
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

void setAppFolderForTesting(const QString& folder) {
    appFolderOverride() = folder;
}

QString AppDataFolder() {
    const QString program = AppFolder();
    if (!appFolderReadOnly() && canWrite(program))
        return program;
    const QString data =
        joinPath(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation),
                 QStringLiteral("Vidora/"));
    // A folder that cannot be made shows up where it is used: the settings keep their
    // defaults and a job fails with the reason.
    QDir().mkpath(data + kCacheFolder);
    return data;
}

void setAppFolderReadOnlyForTesting(bool readOnly) {
    appFolderReadOnly() = readOnly;
}

QString VideosFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    if (folder.isEmpty())
        folder = joinPath(QDir::homePath(), QStringLiteral("Videos"));
    // When it cannot be made, the run says so for each job.
    QDir().mkpath(folder);
    return folder;
}

QString joinPath(const QString& folder, const QString& name) {
    if (folder.endsWith(u'/'))
        return folder + name;
    return folder + u'/' + name;
}

} // namespace vidora
