#include "platform/Paths.h"

#include <QCoreApplication>

namespace vidora {

namespace {
QString& appFolderOverride() {
    static QString folder;
    return folder;
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

QString joinPath(const QString& folder, const QString& name) {
    if (folder.endsWith(u'/'))
        return folder + name;
    return folder + u'/' + name;
}

} // namespace vidora
