#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

namespace vidora {

// One Vidora window per person: two would share one settings file and one statistics file.
// The first start holds a lock in the person's runtime folder and listens on a local socket
// there; a later start hands its files to the first over that socket and ends.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    enum class Start {
        First,        // this is the only one: go on and show the window
        HandedOver,   // another one runs and has the files: end
        NotAnswering, // another one holds the lock but takes no files: end
    };

    // `folder`: where the lock and the socket live; empty for the person's runtime folder
    // ($XDG_RUNTIME_DIR).
    explicit SingleInstance(const QString& folder = QString(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // Becomes the first instance, or hands `files` (full paths) to the one that runs. Waits a
    // few seconds at most for a first instance that is still starting.
    Start start(const QStringList& files);

    QString socketPath() const;

signals:
    // A later start handed these files over (full paths, in its order).
    void filesHandedOver(const QStringList& files);

private:
    enum class Lock { Taken, HeldElsewhere, Unavailable };
    Lock takeLock();
    void listen();
    bool handOver(const QStringList& files) const;
    void receive(QLocalSocket* socket);

    QString m_folder;
    int m_lock = -1;
    QLocalServer* m_server = nullptr;
};

} // namespace vidora
