#include "platform/Desktop.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>
#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace vidora {

namespace {

class SystemDesktop : public Desktop {
public:
    void openFolder(const QString& folder) override {
        QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
    }
    void openUrl(const QString& address) override {
        QDesktopServices::openUrl(QUrl(address, QUrl::StrictMode));
    }
    void powerOff() override {
        // systemd-logind first; it lets running programs finish or inhibit the shut-down.
        QDBusInterface logind(
            QStringLiteral("org.freedesktop.login1"), QStringLiteral("/org/freedesktop/login1"),
            QStringLiteral("org.freedesktop.login1.Manager"), QDBusConnection::systemBus());
        if (logind.isValid()) {
            const QDBusMessage reply = logind.call(QStringLiteral("PowerOff"), false);
            if (reply.type() != QDBusMessage::ErrorMessage)
                return;
        }
        QProcess::startDetached(QStringLiteral("systemctl"), {QStringLiteral("poweroff")});
    }
};

Desktop* replacement = nullptr;

} // namespace

Desktop& desktop() {
    static SystemDesktop system;
    return replacement ? *replacement : system;
}

void setDesktopForTesting(Desktop* desktop) {
    replacement = desktop;
}

} // namespace vidora
