#pragma once

#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QSslConfiguration>
#include <QString>
#include <QUrl>
#include <functional>
#include <optional>

class QNetworkAccessManager;

class QTimer;

namespace vidora {

// One HTTP transfer component: it runs one transfer at a time, says whether it is busy, and
// reports the states of its transfer as the status texts the download window shows. Waiting
// is a local event loop woken by the reply's signals, so the window stays responsive; a
// transfer that receives nothing for the stall timeout ends as "Slow Connection".
//
// States Qt lets us observe, with the status text each one gives:
//   the request is issued          -> "Making Request..."
//   socketStartedConnecting        -> "Connecting Host"
//   encrypted (https only)         -> "Connected."
//   requestSent                    -> "Request sent."
//   metaDataChanged (headers)      -> "Receiving Response.."
//   finished without an error      -> "Response received."
//   errorOccurred                  -> "Error " code " " text (HTTP status and reason phrase)
// Qt reports neither the name lookup nor the disconnect, so "Looking up IP address",
// "IP address found", "Disconnecting..." and "Disconnected." never show.
class HttpTransfer : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultStallTimeoutMs = 30000;
    // Bytes Qt may hold for a download before the program reads them.
    static constexpr qint64 kReadBufferBytes = 1024 * 1024;

    explicit HttpTransfer(QObject* parent = nullptr);
    ~HttpTransfer() override;

    bool isBusy() const { return m_reply != nullptr; }
    void setStallTimeout(int ms) { m_stallTimeoutMs = ms; }
    // The TLS settings of https transfers (tests trust their own certificate this way).
    void setTlsConfiguration(const QSslConfiguration& configuration);
    // Ends the running transfer; its caller sees it as ended by the user, without a message.
    void abort();
    // Shows a status text of the caller's own ("Reading Data...", "Complete!").
    void showStatus(const QString& text) { emit statusChanged(text); }

    // How a transfer ended.
    enum class Outcome { Done, Failed, TimedOut, Aborted };
    struct Result {
        Outcome outcome = Outcome::Failed;
        QString errorText;
    };
    // What a transfer does with its reply: called when data can be read (and once more when
    // the reply has finished without an error). Returning an error text stops the transfer.
    using ReadHandler = std::function<QString(QNetworkReply& reply, bool finished)>;

    // Runs one GET and waits for its end. Fails at once when the component is busy.
    Result get(const QUrl& url, const ReadHandler& read, bool identityEncoding = false);

signals:
    void statusChanged(const QString& text);

private:
    void setStatus(int state);
    void restartStallTimer();

    QNetworkAccessManager* m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
    std::optional<QSslConfiguration> m_tls;
    int m_stallTimeoutMs = kDefaultStallTimeoutMs;
    QTimer* m_stallTimer = nullptr;
    bool m_timedOut = false;
    bool m_aborted = false;
};

// The status text of a transfer state (1 to 11); empty for a state that leaves it unchanged.
// State 11 (an error) gives "Error " with the response code and the response text.
QString StatusText(int state, int responseCode = 0, const QString& responseText = {});

// The address of a link or a typed page address: surrounding blanks removed, escapes kept as
// the bytes they stand for, "http://" added when no scheme is given.
QUrl AddressOfLink(const QString& link);

// The page at the address as text; the empty text when it could not be read, after a message
// "Something Went Wrong" with the reason ("Slow Connection" in the status when it stalled).
QString LoadPage(HttpTransfer& inet, const QString& strURL);

// Fetches a picture into the Cache folder of the program folder under the name (made safe).
// False, silently, when the component is busy (the cached file stays as it was) or anything
// fails; the cached file is replaced only by a complete new one.
bool CacheThumbnail(HttpTransfer& inet, const QString& address, const QString& name);

// Downloads the link into the folder under the name (made safe), reading 1024-byte chunks as
// they arrive and reporting the percentage after each chunk, whenever it changes. The total
// comes from "Content-Length"; without it nothing is written. The bytes go into the partial
// download's file (PartialDownloadName) first; a complete download then replaces a file of
// the name whole. An error ends the download with the message "Error-", the reason and where
// what arrived is kept: under the name itself when no file had it, else in the partial
// download's file, the existing file untouched. True when the whole file was written.
bool DownloadToFile(HttpTransfer& inet, const QString& link, const QString& folder,
                    const QString& name, const std::function<void(int percent)>& progress);

// The file a download is written into until it is complete: the name (made safe) and ".part".
QString PartialDownloadName(const QString& name);

// The percentage after `done` of `total` bytes, rounded halves to the even neighbour.
int DownloadPercent(qint64 done, qint64 total);
// The percentage label's text: the number followed by " % ".
QString PercentText(int percent);

// A file name from a page value that cannot reach outside its folder: "/", "\" and control
// characters become "_", and an empty name, "." or ".." becomes "video".
QString SafeFileName(const QString& name);

// The person's download folder (XDG download directory), created when missing.
QString DownloadFolder();
// Overrides the download folder for tests; an empty text goes back to the person's.
void setDownloadFolderForTesting(const QString& folder);

} // namespace vidora
