#include "app/ProgramIcon.h"

#include "platform/Paths.h"

#include <QDir>

namespace vidora {

QIcon programIcon() {
    const QDir icons(AppFolder() + QStringLiteral("icons"));
    QIcon icon;
    for (const QString& file : icons.entryList({QStringLiteral("vidora-*.png")}, QDir::Files))
        icon.addFile(icons.filePath(file));
    return icon;
}

} // namespace vidora
