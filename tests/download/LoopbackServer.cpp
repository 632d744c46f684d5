#include "download/LoopbackServer.h"

#include <QFile>
#include <QHostAddress>
#include <QProcess>
#include <QSslConfiguration>
#include <QSslServer>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <memory>

namespace vidora::test {

namespace {

constexpr qint64 kGeneratedPiece = 256 * 1024;
constexpr qint64 kSocketBacklog = 1024 * 1024;

// Writes a generated body as the socket drains, so the server never holds it whole.
void writeGenerated(QTcpSocket* socket, std::shared_ptr<qint64> left, qint64 stallAt) {
    static const QByteArray piece(kGeneratedPiece, 'v');
    while (*left > 0 && socket->bytesToWrite() < kSocketBacklog) {
        qint64 size = std::min(*left, kGeneratedPiece);
        if (stallAt >= 0)
            size = std::min(size, *left - stallAt);
        if (size <= 0)
            return; // stalled: nothing more is sent, the connection stays open
        socket->write(piece.constData(), size);
        *left -= size;
    }
    if (*left == 0)
        socket->disconnectFromHost();
}

} // namespace

LoopbackServer::LoopbackServer(Scheme scheme, QObject* parent)
    : QObject(parent), m_scheme(scheme) {}

LoopbackServer::~LoopbackServer() = default;

bool LoopbackServer::makeCertificate(QSslCertificate& certificate, QSslKey& key) {
    QTemporaryDir dir;
    const QString keyFile = dir.filePath(QStringLiteral("key.pem"));
    const QString certificateFile = dir.filePath(QStringLiteral("certificate.pem"));
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"),
                   QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                   QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
                   QStringLiteral("-keyout"), keyFile, QStringLiteral("-out"), certificateFile,
                   QStringLiteral("-days"), QStringLiteral("1"), QStringLiteral("-subj"),
                   QStringLiteral("/CN=127.0.0.1"), QStringLiteral("-addext"),
                   QStringLiteral("subjectAltName=IP:127.0.0.1")});
    if (!openssl.waitForFinished(20000) || openssl.exitCode() != 0)
        return false;
    QFile keyIn(keyFile);
    QFile certificateIn(certificateFile);
    if (!keyIn.open(QIODevice::ReadOnly) || !certificateIn.open(QIODevice::ReadOnly))
        return false;
    key = QSslKey(keyIn.readAll(), QSsl::Ec);
    certificate = QSslCertificate(certificateIn.readAll());
    return !key.isNull() && !certificate.isNull();
}

bool LoopbackServer::start(quint16 port) {
    if (m_scheme == Scheme::Https) {
        if (!makeCertificate(m_certificate, m_key))
            return false;
        auto* server = new QSslServer(this);
        QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
        configuration.setLocalCertificate(m_certificate);
        configuration.setPrivateKey(m_key);
        configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
        server->setSslConfiguration(configuration);
        m_server = server;
    } else {
        m_server = new QTcpServer(this);
    }
    connect(m_server, &QTcpServer::pendingConnectionAvailable, this, [this] {
        while (QTcpSocket* socket = m_server->nextPendingConnection())
            onConnection(socket);
    });
    return m_server->listen(QHostAddress::LocalHost, port);
}

quint16 LoopbackServer::port() const {
    return m_server ? m_server->serverPort() : 0;
}

QString LoopbackServer::url(const QString& path) const {
    return (m_scheme == Scheme::Https ? QStringLiteral("https") : QStringLiteral("http")) +
           QStringLiteral("://127.0.0.1:") + QString::number(port()) + path;
}

void LoopbackServer::serve(const QString& path, const ServedReply& reply) {
    m_replies.insert(path, reply);
}

void LoopbackServer::onConnection(QTcpSocket* socket) {
    socket->setParent(this);
    auto request = std::make_shared<QByteArray>();
    connect(socket, &QTcpSocket::readyRead, socket, [this, socket, request] {
        if (request->endsWith("\r\n\r\n"))
            return; // answered already
        *request += socket->readAll();
        if (request->contains("\r\n\r\n"))
            answer(socket, *request);
    });
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
}

void LoopbackServer::answer(QTcpSocket* socket, const QByteArray& request) {
    const QList<QByteArray> requestLine = request.left(request.indexOf("\r\n")).split(' ');
    const QString path =
        requestLine.size() > 1 ? QString::fromLatin1(requestLine.at(1)) : QString();
    m_requests[path] += 1;
    ServedReply reply;
    if (m_replies.contains(path)) {
        reply = m_replies.value(path);
    } else {
        reply.status = 404;
        reply.reason = "Not Found";
        reply.body = "<html>no such page</html>";
    }

    const qint64 length = reply.generatedBytes >= 0 ? reply.generatedBytes : reply.body.size();
    QByteArray head = "HTTP/1.1 " + QByteArray::number(reply.status) + ' ' + reply.reason + "\r\n";
    for (const auto& [name, value] : reply.headers)
        head += name + ": " + value + "\r\n";
    if (reply.chunkBytes > 0)
        head += "Transfer-Encoding: chunked\r\n";
    else if (!reply.withoutLength)
        head += "Content-Length: " + QByteArray::number(length) + "\r\n";
    head += "Connection: close\r\n\r\n";
    socket->write(head);

    if (reply.generatedBytes >= 0) {
        auto left = std::make_shared<qint64>(reply.generatedBytes);
        const qint64 stallAt =
            reply.stallAfter >= 0 ? reply.generatedBytes - reply.stallAfter : qint64(-1);
        connect(socket, &QTcpSocket::bytesWritten, socket,
                [socket, left, stallAt] { writeGenerated(socket, left, stallAt); });
        writeGenerated(socket, left, stallAt);
        return;
    }
    QByteArray body = reply.body;
    const bool stalls = reply.stallAfter >= 0 && reply.stallAfter < body.size();
    if (stalls)
        body.truncate(reply.stallAfter);
    if (reply.chunkBytes > 0) {
        for (qsizetype at = 0; at < body.size(); at += reply.chunkBytes) {
            const QByteArray piece = body.mid(at, reply.chunkBytes);
            socket->write(QByteArray::number(piece.size(), 16) + "\r\n" + piece + "\r\n");
        }
        if (!stalls)
            socket->write("0\r\n\r\n");
    } else {
        socket->write(body);
    }
    if (!stalls)
        socket->disconnectFromHost();
}

} // namespace vidora::test
