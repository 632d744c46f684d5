#include "app/Skin.h"

#include "platform/Paths.h"

#include <QFile>
#include <QWidget>

namespace vidora {

bool applySkin(QWidget* window) {
    QFile file(AppFolder() + QStringLiteral("skins/frmmain.skn"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    // A skin is a few KiB; anything far larger is not one.
    if (file.size() > 1024 * 1024)
        return false;
    const QString sheet = QString::fromUtf8(file.readAll());
    if (sheet.trimmed().isEmpty())
        return false;
    window->setStyleSheet(sheet);
    return true;
}

} // namespace vidora
