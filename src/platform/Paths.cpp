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

} // namespace

bool canWrite(const QString& folder) {
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

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
    // Every settings read and every progress tick asks: the folder is worked out once for the
    // program folder and data location in use, not with a look at the disk each time.
    struct Choice {
        QString program;
        bool readOnly = false;
        QString dataLocation;
        QString folder;
    };
    static Choice last;
    const QString program = AppFolder();
    const QString dataLocation =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (!last.folder.isEmpty() && last.program == program && last.readOnly == appFolderReadOnly() &&
        last.dataLocation == dataLocation)
        return last.folder;
    QString folder = program;
    if (appFolderReadOnly() || !canWrite(program)) {
        folder = joinPath(dataLocation, QStringLiteral("Vidora/"));
        // A folder that cannot be made shows up where it is used: the settings keep their
        // defaults and a job fails with the reason.
        QDir().mkpath(folder + kCacheFolder);
    }
    last = {program, appFolderReadOnly(), dataLocation, folder};
    return folder;
}

void setAppFolderReadOnlyForTesting(bool readOnly) {
    appFolderReadOnly() = readOnly;
}

QString CacheFolder() {
    return joinPath(AppDataFolder(), kCacheFolder);
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
