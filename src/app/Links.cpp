#include "app/Links.h"

#include "app/HelpWindow.h"
#include "platform/Desktop.h"
#include "platform/Paths.h"

#include <QUrl>

namespace vidora {

void OpenHelp(QWidget* owner) {
    auto* window = new HelpWindow(owner);
    window->show();
}

void OpenLink(const QString& address) {
    QUrl url(address);
    if (url.scheme().isEmpty())
        url = QUrl::fromLocalFile(AppFolder() + address);
    desktop().openUrl(url.toString(QUrl::FullyEncoded));
}

QString homePageAddress() {
    return QStringLiteral(VIDORA_HOME_PAGE);
}

QString supportPageAddress() {
    return QStringLiteral(VIDORA_SUPPORT_PAGE);
}

} // namespace vidora
