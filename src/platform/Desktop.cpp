#include "platform/Desktop.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace vidora {

namespace {

class SystemDesktop final : public Desktop {
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

class SessionNotifications final : public Notifications {
public:
    void notify(const QString& title, const QString& text) override {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected())
            return;
        QDBusMessage call = QDBusMessage::createMethodCall(
            QStringLiteral("org.freedesktop.Notifications"),
            QStringLiteral("/org/freedesktop/Notifications"),
            QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
        // app_name, replaces_id, app_icon, summary, body, actions, hints, expire_timeout
        call << QStringLiteral("Vidora") << quint32(0) << QString() << title << text
             << QStringList() << QVariantMap() << qint32(-1);
        // Sent without waiting: no notification service means no notification, nothing more.
        bus.send(call);
    }
};

Notifications* notificationsReplacement = nullptr;

} // namespace

Desktop& desktop() {
    static SystemDesktop system;
    return replacement ? *replacement : system;
}

void setDesktopForTesting(Desktop* desktop) {
    replacement = desktop;
}

Notifications& notifications() {
    static SessionNotifications session;
    return notificationsReplacement ? *notificationsReplacement : session;
}

void setNotificationsForTesting(Notifications* replacement) {
    notificationsReplacement = replacement;
}

} // namespace vidora
