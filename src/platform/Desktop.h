#pragma once

#include <QString>

namespace vidora {

// What the program asks of the desktop: show a folder in the file manager, open a web address
// in the browser, and switch the computer off after a conversion when the user asked for it.
// Tests put a recorder in its place; no test ever powers anything off.
class Desktop {
public:
    virtual ~Desktop() = default;
    virtual void openFolder(const QString& folder) = 0;
    virtual void openUrl(const QString& address) = 0;
    // An orderly power-off request (other programs may still save their work).
    virtual void powerOff() = 0;
};

Desktop& desktop();
// Puts another implementation in place (nullptr: the real desktop again). The caller keeps it.
void setDesktopForTesting(Desktop* replacement);

// A desktop notification: a short message the desktop shows outside the program's windows.
// The real one goes to the freedesktop notification service over the session bus when one
// runs, and does nothing otherwise; it never waits for the service.
class Notifications {
public:
    virtual ~Notifications() = default;
    virtual void notify(const QString& title, const QString& text) = 0;
};

Notifications& notifications();
// Puts another implementation in place (nullptr: the real service again). The caller keeps it.
void setNotificationsForTesting(Notifications* replacement);

} // namespace vidora
