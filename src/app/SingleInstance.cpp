#include "app/SingleInstance.h"

#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace vidora {

namespace {

// What a later start sends: this tag, then the list of files, in QDataStream's format. The
// first start answers with one byte once it has them.
const QByteArray kTag = QByteArrayLiteral("vidora-files-1");
constexpr QDataStream::Version kStreamVersion = QDataStream::Qt_6_4;
constexpr char kReceived = '1';

// How long a later start looks for a first one that is still starting, and how long either
// side waits for the other's bytes.
constexpr int kFindFirstMs = 5000;
constexpr int kTransferMs = 5000;
// More than any list of files a person hands over.
constexpr qint64 kMaxMessageBytes = 16 * 1024 * 1024;

} // namespace

SingleInstance::SingleInstance(const QString& folder, QObject* parent)
    : QObject(parent), m_folder(folder) {
    if (m_folder.isEmpty())
        m_folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

SingleInstance::~SingleInstance() {
    if (m_server)
        m_server->close();
    if (m_lock >= 0)
        ::close(m_lock);
}

QString SingleInstance::socketPath() const {
    return QDir(m_folder).filePath(QStringLiteral("vidora.socket"));
}

SingleInstance::Start SingleInstance::start(const QStringList& files) {
    switch (takeLock()) {
    case Lock::Taken:
        listen();
        return Start::First;
    case Lock::Unavailable:
        // No runtime folder to keep a lock in: the program still starts.
        return Start::First;
    case Lock::HeldElsewhere:
        break;
    }
    return handOver(files) ? Start::HandedOver : Start::NotAnswering;
}

SingleInstance::Lock SingleInstance::takeLock() {
    const QByteArray path =
        QFile::encodeName(QDir(m_folder).filePath(QStringLiteral("vidora.lock")));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return Lock::Unavailable;
    // The lock goes with the process: a first start that crashed leaves nothing that blocks.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return held ? Lock::HeldElsewhere : Lock::Unavailable;
    }
    m_lock = fd;
    return Lock::Taken;
}

void SingleInstance::listen() {
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // A socket left by a first start that crashed; the lock says none runs now.
    QLocalServer::removeServer(socketPath());
    // Without the socket the window still works; later starts then report no answer.
    if (!m_server->listen(socketPath()))
        return;
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { receive(socket); });
            // A start that connects and sends nothing is not waited for.
            QTimer::singleShot(kTransferMs, socket, [socket] { socket->abort(); });
            receive(socket);
        }
    });
}

void SingleInstance::receive(QLocalSocket* socket) {
    if (socket->bytesAvailable() > kMaxMessageBytes) {
        socket->abort();
        return;
    }
    QDataStream in(socket);
    in.setVersion(kStreamVersion);
    in.startTransaction();
    QByteArray tag;
    QStringList files;
    in >> tag >> files;
    if (!in.commitTransaction())
        return; // not all there yet
    if (tag != kTag) {
        socket->abort();
        return;
    }
    socket->write(&kReceived, 1);
    socket->flush();
    socket->disconnectFromServer();
    emit filesHandedOver(files);
}

bool SingleInstance::handOver(const QStringList& files) const {
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out.setVersion(kStreamVersion);
    out << kTag << files;

    const QDeadlineTimer deadline(kFindFirstMs);
    QLocalSocket socket;
    // The first start may hold the lock and not listen yet.
    while (true) {
        socket.connectToServer(socketPath());
        if (socket.waitForConnected(500))
            break;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(100);
    }
    socket.write(message);
    if (!socket.waitForBytesWritten(kTransferMs))
        return false;
    if (socket.bytesAvailable() < 1 && !socket.waitForReadyRead(kTransferMs) &&
        socket.bytesAvailable() < 1)
        return false;
    char answer = 0;
    return socket.read(&answer, 1) == 1 && answer == kReceived;
}

} // namespace vidora
