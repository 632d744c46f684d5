#pragma once

#include "platform/Desktop.h"
#include "platform/Messages.h"

#include <QStringList>

namespace vidora::test {

// Stands in for the message boxes while it lives, and keeps what they would have shown as
// "information: ..." and "error: ...".
class MessageRecorder : public Messages {
public:
    MessageRecorder() { setMessagesForTesting(this); }
    ~MessageRecorder() override { setMessagesForTesting(nullptr); }
    void information(const QString& text) override { shown << u"information: " + text; }
    void error(const QString& text) override { shown << u"error: " + text; }
    QStringList shown;
};

// Stands in for the desktop while it lives; nothing is opened or powered off.
class DesktopRecorder : public Desktop {
public:
    DesktopRecorder() { setDesktopForTesting(this); }
    ~DesktopRecorder() override { setDesktopForTesting(nullptr); }
    void openFolder(const QString& folder) override { requests << u"folder: " + folder; }
    void openUrl(const QString& address) override { requests << u"url: " + address; }
    void powerOff() override { requests << QStringLiteral("power off"); }
    QStringList requests;
};

} // namespace vidora::test
