#include "webvideo/Transfers.h"

#include "platform/Messages.h"
#include "platform/Paths.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTimer>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace vidora {

namespace {

// The status texts of the transfer states, by state number; state 11 gets the response code
// and text appended.
const char* const kStatusTexts[] = {
    nullptr,
    "Looking up IP address",
    "IP address found",
    "Connecting Host",
    "Connected.",
    "Making Request...",
    "Request sent.",
    "Receiving Response..",
    "Response received.",
    "Disconnecting...",
    "Disconnected.",
    "Error ",
};
constexpr int kErrorState = 11;

constexpr qint64 kChunkBytes = 1024;
// More than any watch page or thumbnail: a reply this long is not one.
constexpr qint64 kMaxPageBytes = 64 * 1024 * 1024;
constexpr qint64 kMaxThumbnailBytes = 16 * 1024 * 1024;

QString gDownloadFolderForTesting;

int httpStatus(const QNetworkReply& reply) {
    return reply.attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

// The body of a redirect or an error reply is not what was asked for: it is dropped, and a
// transfer that ends with such a reply has failed. Nothing when the reply is the content.
std::optional<QString> dropWhenNotTheContent(QNetworkReply& reply, bool finished) {
    const int status = httpStatus(reply);
    if (status < 300)
        return std::nullopt;
    reply.readAll();
    if (!finished)
        return QString();
    return QStringLiteral("The server answered ") + QString::number(status) + u' ' +
           reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
}

QString timeoutText(int ms) {
    return QStringLiteral("The server sent nothing for %1 seconds (time-out)")
        .arg(QString::number(ms / 1000.0));
}

// Replaces a file with another by renaming, in one step. The empty text when it did, else why
// not.
QString replaceFile(const QString& from, const QString& to) {
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0)
        return {};
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

QString StatusText(int state, int responseCode, const QString& responseText) {
    if (state < 1 || state > kErrorState)
        return {};
    QString text = QString::fromLatin1(kStatusTexts[state]);
    if (state == kErrorState)
        text += QString::number(responseCode) + u' ' + responseText;
    return text;
}

HttpTransfer::HttpTransfer(QObject* parent)
    : QObject(parent), m_network(new QNetworkAccessManager(this)), m_stallTimer(new QTimer(this)) {
    m_stallTimer->setSingleShot(true);
    connect(m_stallTimer, &QTimer::timeout, this, [this] {
        if (!m_reply)
            return;
        m_timedOut = true;
        m_reply->abort();
    });
}

HttpTransfer::~HttpTransfer() {
    abort();
}

void HttpTransfer::setTlsConfiguration(const QSslConfiguration& configuration) {
    m_tls = configuration;
    // Connections made under the former settings (and their failures) are not reused.
    m_network->clearConnectionCache();
}

void HttpTransfer::abort() {
    if (!m_reply)
        return;
    m_aborted = true;
    m_reply->abort();
}

void HttpTransfer::setStatus(int state) {
    emit statusChanged(StatusText(state));
}

void HttpTransfer::restartStallTimer() {
    m_stallTimer->start(m_stallTimeoutMs);
}

HttpTransfer::Result HttpTransfer::get(const QUrl& url, const ReadHandler& read,
                                       bool identityEncoding) {
    if (m_reply)
        return {Outcome::Failed, QStringLiteral("The transfer component is busy")};
    const QString scheme = url.scheme();
    if (!url.isValid() || (scheme != u"http" && scheme != u"https"))
        return {Outcome::Failed,
                QStringLiteral("Not a web address: ") + url.toDisplayString(QUrl::FullyDecoded)};

    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    // A download counts the bytes of "Content-Length": they must arrive as sent, not unpacked.
    if (identityEncoding)
        request.setRawHeader("Accept-Encoding", "identity");
    if (m_tls)
        request.setSslConfiguration(*m_tls);

    m_timedOut = false;
    m_aborted = false;
    setStatus(5);
    QNetworkReply* reply = m_network->get(request);
    m_reply = reply;
    // Qt holds at most this much before it is read, so a download never sits in memory whole.
    reply->setReadBufferSize(kReadBufferBytes);

    QEventLoop loop;
    QString handlerError;
    const auto stateSignal = [&](auto signal, int state) {
        connect(reply, signal, &loop, [this, state] {
            restartStallTimer();
            setStatus(state);
        });
    };
    stateSignal(&QNetworkReply::socketStartedConnecting, 3);
    stateSignal(&QNetworkReply::encrypted, 4);
    stateSignal(&QNetworkReply::requestSent, 6);
    stateSignal(&QNetworkReply::metaDataChanged, 7);
    connect(reply, &QNetworkReply::redirected, &loop, [this] { restartStallTimer(); });
    connect(reply, &QNetworkReply::downloadProgress, &loop, [this] { restartStallTimer(); });
    connect(reply, &QNetworkReply::readyRead, &loop, [&, reply] {
        restartStallTimer();
        if (!handlerError.isEmpty() || reply->isFinished())
            return;
        handlerError = read(*reply, false);
        if (!handlerError.isEmpty())
            reply->abort();
    });
    connect(reply, &QNetworkReply::errorOccurred, &loop, [&, reply] {
        if (m_timedOut || m_aborted || !handlerError.isEmpty())
            return;
        QString text = reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
        if (text.isEmpty())
            text = reply->errorString();
        emit statusChanged(StatusText(kErrorState, httpStatus(*reply), text));
    });
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    restartStallTimer();
    if (!reply->isFinished())
        loop.exec();
    m_stallTimer->stop();
    disconnect(reply, nullptr, &loop, nullptr);

    Result result;
    if (m_aborted) {
        result = {Outcome::Aborted, QStringLiteral("The transfer was ended")};
    } else if (m_timedOut) {
        result = {Outcome::TimedOut, timeoutText(m_stallTimeoutMs)};
        emit statusChanged(QStringLiteral("Slow Connection"));
    } else if (!handlerError.isEmpty()) {
        result = {Outcome::Failed, handlerError};
    } else if (reply->error() != QNetworkReply::NoError) {
        result = {Outcome::Failed, reply->errorString()};
    } else if (const QString last = read(*reply, true); !last.isEmpty()) {
        result = {Outcome::Failed, last};
    } else {
        result = {Outcome::Done, {}};
        setStatus(8);
    }
    m_reply = nullptr;
    reply->deleteLater();
    return result;
}

QUrl AddressOfLink(const QString& link) {
    QString text = link.trimmed();
    if (!text.isEmpty() && !text.contains(QStringLiteral("://")))
        text.prepend(QStringLiteral("http://"));
    // A decoded escape is one byte (a Latin-1 character): it goes out as that same byte.
    QString escaped;
    escaped.reserve(text.size());
    for (const QChar c : text) {
        const char16_t code = c.unicode();
        if (code == u' ' || (code >= 0x80 && code <= 0xFF))
            escaped += u'%' + QString::number(code, 16).rightJustified(2, u'0').toUpper();
        else
            escaped += c;
    }
    return QUrl(escaped, QUrl::TolerantMode);
}

// Reads a whole reply of at most `limit` bytes into `body`; `pieceRead` runs after each piece.
static HttpTransfer::Result readWhole(HttpTransfer& inet, const QString& address, qint64 limit,
                                      QByteArray& body, const std::function<void()>& pieceRead) {
    return inet.get(AddressOfLink(address), [&](QNetworkReply& reply, bool finished) {
        if (const std::optional<QString> dropped = dropWhenNotTheContent(reply, finished))
            return *dropped;
        if (reply.bytesAvailable() == 0)
            return QString();
        body += reply.readAll();
        if (body.size() > limit)
            return QStringLiteral("The reply is longer than any page or picture");
        pieceRead();
        return QString();
    });
}

QString LoadPage(HttpTransfer& inet, const QString& strURL) {
    QByteArray page;
    const HttpTransfer::Result result = readWhole(inet, strURL, kMaxPageBytes, page, [&inet] {
        inet.showStatus(QStringLiteral("Reading Data..."));
    });
    if (result.outcome == HttpTransfer::Outcome::Aborted)
        return {};
    if (result.outcome != HttpTransfer::Outcome::Done) {
        messages().error(QStringLiteral("Something Went Wrong\n") + result.errorText);
        return {};
    }
    inet.showStatus(QStringLiteral("Complete!"));
    return QString::fromUtf8(page);
}

bool CacheThumbnail(HttpTransfer& inet, const QString& address, const QString& name) {
    if (inet.isBusy())
        return false;
    QByteArray picture;
    if (readWhole(inet, address, kMaxThumbnailBytes, picture, [] {}).outcome !=
        HttpTransfer::Outcome::Done)
        return false;
    // The program ships its Cache folder; without it nothing is stored.
    const QString folder = CacheFolder();
    if (!QFileInfo(folder).isDir())
        return false;
    QSaveFile file(joinPath(folder, SafeFileName(name)));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(picture);
    return file.commit();
}

int DownloadPercent(qint64 done, qint64 total) {
    // The current rounding mode rounds halves to the even neighbour.
    return static_cast<int>(std::nearbyint(100.0 / static_cast<double>(total) * done));
}

QString PercentText(int percent) {
    return QString::number(percent) + QStringLiteral(" % ");
}

QString PartialDownloadName(const QString& name) {
    return SafeFileName(name) + QStringLiteral(".part");
}

bool DownloadToFile(HttpTransfer& inet, const QString& link, const QString& folder,
                    const QString& name, const std::function<void(int percent)>& progress) {
    const QString target = joinPath(folder, SafeFileName(name));
    // Written under a name of its own first: a file of the same name is replaced only by a
    // complete download, and a download cut short (even by a crash) says what it is.
    const QString partial = joinPath(folder, PartialDownloadName(name));
    QFile file(partial);
    qint64 total = 0;
    qint64 remaining = 0;
    int shownPercent = -1;
    char chunk[kChunkBytes];

    const auto read = [&](QNetworkReply& reply, bool finished) -> QString {
        if (const std::optional<QString> dropped = dropWhenNotTheContent(reply, finished))
            return *dropped;
        if (!file.isOpen()) {
            bool isNumber = false;
            total = reply.rawHeader("Content-Length").trimmed().toLongLong(&isNumber);
            if (!isNumber || total < 0)
                return QStringLiteral("The server did not send the length of the file "
                                      "(\"Content-Length\")");
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
                return file.errorString() + QStringLiteral(": ") + partial;
            remaining = total;
        }
        while (remaining > 0) {
            const qint64 size = remaining < kChunkBytes + 1 ? remaining : kChunkBytes;
            if (reply.bytesAvailable() < size)
                break;
            if (reply.read(chunk, size) != size)
                return reply.errorString();
            remaining -= size;
            const int percent = DownloadPercent(total - remaining, total);
            if (percent != shownPercent) {
                shownPercent = percent;
                progress(percent);
            }
            if (file.write(chunk, size) != size)
                return file.errorString() + QStringLiteral(": ") + partial;
        }
        if (finished && remaining > 0)
            return QStringLiteral("The transfer ended before the whole file had arrived");
        return {};
    };
    const HttpTransfer::Result result = inet.get(AddressOfLink(link), read, true);

    const bool started = file.isOpen();
    file.close();
    QString reason = result.errorText;
    if (result.outcome == HttpTransfer::Outcome::Done) {
        if (file.error() != QFileDevice::NoError)
            reason = file.errorString() + QStringLiteral(": ") + partial;
        else if (const QString renameError = replaceFile(partial, target); renameError.isEmpty())
            return true;
        else
            reason =
                QStringLiteral("The download could not be named %1 (%2)").arg(target, renameError);
    }
    // What arrived stays. It takes the file's own name only where no file of that name exists:
    // an existing file is replaced by a complete download only, so the part keeps its name.
    QString keptIn;
    if (started) {
        keptIn = partial;
        if (result.outcome != HttpTransfer::Outcome::Done && !QFileInfo::exists(target) &&
            replaceFile(partial, target).isEmpty())
            keptIn = target;
    }
    if (result.outcome != HttpTransfer::Outcome::Aborted) {
        QString text = QStringLiteral("Error-") + reason;
        if (keptIn == partial && QFileInfo::exists(target))
            text += QStringLiteral("\nWhat arrived is kept in %1; %2 is unchanged.")
                        .arg(partial, target);
        else if (!keptIn.isEmpty())
            text += QStringLiteral("\nWhat arrived is kept in %1.").arg(keptIn);
        messages().error(text);
    }
    return false;
}

QString SafeFileName(const QString& name) {
    if (name.isEmpty() || name == u"." || name == u"..")
        return QStringLiteral("video");
    QString safe = name;
    for (QChar& c : safe) {
        if (c == u'/' || c == u'\\' || c.category() == QChar::Other_Control)
            c = u'_';
    }
    return safe;
}

QString DownloadFolder() {
    QString folder = gDownloadFolderForTesting;
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    QDir().mkpath(folder);
    return folder;
}

void setDownloadFolderForTesting(const QString& folder) {
    gDownloadFolderForTesting = folder;
}

} // namespace vidora
