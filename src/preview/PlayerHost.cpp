#include "preview/PlayerHost.h"

#include <QPalette>
#include <QWidget>

namespace vidora {

void preparePlayerHost(QWidget* host, HostParents parents) {
    if (parents == HostParents::Windowless)
        host->setAttribute(Qt::WA_DontCreateNativeAncestors);
    host->setAttribute(Qt::WA_NativeWindow);
    host->setAutoFillBackground(true);
    QPalette black = host->palette();
    black.setColor(QPalette::Window, Qt::black);
    host->setPalette(black);
}

} // namespace vidora
