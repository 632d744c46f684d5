#pragma once

#include <QObject>

class QSocketNotifier;

namespace vidora {

// The requests to end that come as signals: SIGTERM (the session ending, `kill`), SIGINT
// (Ctrl+C in a terminal) and SIGHUP (the terminal closing). Each is turned into `requested`
// on the event loop, so the program can end the way its window's close box ends it.
class TerminationRequests : public QObject {
    Q_OBJECT
public:
    explicit TerminationRequests(QObject* parent = nullptr);
    ~TerminationRequests() override;

signals:
    void requested();

private:
    QSocketNotifier* m_notifier = nullptr;
};

} // namespace vidora
