#include "download/StreamPreview.h"

#include "platform/Paths.h"
#include "platform/ToolProcesses.h"
#include "webvideo/Transfers.h"

#include <QUrl>
#include <QWidget>

namespace vidora {

StreamPreview::StreamPreview(QWidget* host, QObject* parent) : QObject(parent), m_host(host) {}

StreamPreview::~StreamPreview() {
    stop();
}

QStringList StreamPreview::PlayerArguments(quintptr windowId, const QString& link) {
    // The options of the program's embedded previews; -nokeepaspect fills the host.
    return {QStringLiteral("-wid"),       QString::number(windowId),
            QStringLiteral("-priority"),  QStringLiteral("abovenormal"),
            QStringLiteral("-framedrop"), QStringLiteral("-colorkey"),
            QStringLiteral("0"),          QStringLiteral("-nokeepaspect"),
            QStringLiteral("-framedrop"), QStringLiteral("-autosync"),
            QStringLiteral("100"),        QStringLiteral("-vo"),
            QStringLiteral("gl2"),        QStringLiteral("-vf"),
            QStringLiteral("screenshot"), link};
}

qint64 StreamPreview::play(const QString& link) {
    stop();
    // The very address a download of the link fetches.
    const QUrl url = AddressOfLink(link);
    // Anything but a web address is never given to the player.
    if (!m_host || !url.isValid() || (url.scheme() != u"http" && url.scheme() != u"https"))
        return 0;
    m_player = std::make_unique<ToolProcess>();
    m_player->setWorkingDirectory(AppFolder());
    return m_player->start(joinPath(AppFolder(), QString::fromUtf16(kPlayerFileName)),
                           PlayerArguments(m_host->winId(), url.toString(QUrl::FullyEncoded)));
}

bool StreamPreview::isPlaying() const {
    return m_player && m_player->isRunning();
}

void StreamPreview::stop() {
    if (!m_player)
        return;
    m_player->quitOrKill(kQuitWaitMs);
    m_player.reset();
}

} // namespace vidora
