#include "jobs/MediaProbe.h"

#include "base/TextValues.h"
#include "engine/Process.h"
#include "jobs/JobList.h"
#include "platform/Paths.h"
#include "platform/ToolProcesses.h"

#include <QDir>
#include <QList>
#include <QStringView>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <utility>

namespace vidora {

namespace {

// "-endpos 1" stops after one second of the file, "-benchmark" decodes as fast as the machine
// can, "-nosound" and "-vo null" open no output; the crop lines of "-vf cropdetect" are not read.
const QStringList FixedArguments = {
    QStringLiteral("-identify"),  QStringLiteral("-benchmark"), QStringLiteral("-nosound"),
    QStringLiteral("-vo"),        QStringLiteral("null"),       QStringLiteral("-vf"),
    QStringLiteral("cropdetect"), QStringLiteral("-endpos"),    QStringLiteral("1")};

QString lengthToTimeText(QStringView value) {
    const double rounded = roundHalfEven(leadingNumberOrZero(value));
    // A length beyond any real file still gives a time text rather than an overflow.
    constexpr double Longest = 1e15;
    return secondsToTimeText(static_cast<qint64>(std::clamp(rounded, 0.0, Longest)));
}

} // namespace

QString IdentifyResult::sizeText() const {
    return QString::number(width) + u'x' + QString::number(height);
}

IdentifyResult parseIdentifyOutput(const QString& output) {
    IdentifyResult result;
    const QList<QStringView> lines = QStringView(output).split(u'\n');
    for (QStringView line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const qsizetype firstEquals = line.indexOf(u'=');
        if (firstEquals < 0)
            continue;
        const QStringView key = line.left(firstEquals);
        QStringView value = line.mid(firstEquals + 1);
        const qsizetype secondEquals = value.indexOf(u'=');
        if (secondEquals >= 0)
            value = value.left(secondEquals);

        if (key == u"ID_VIDEO_WIDTH" || key == u"ID_VIDEO_HEIGHT") {
            const std::optional<qint32> number = toInt32(value);
            if (!number)
                return result; // the row keeps what was read so far, without Start and Size
            (key == u"ID_VIDEO_WIDTH" ? result.width : result.height) = *number;
        } else if (key == u"ID_LENGTH") {
            result.lengthText = lengthToTimeText(value);
        } else if (key == u"ID_VIDEO_FORMAT") {
            result.format = value.toString();
        }
    }
    result.complete = true;
    return result;
}

QStringList identifyArguments(const QString& path) {
    QString file = path;
    if (!file.isEmpty() && QDir::isRelativePath(file))
        file.prepend(QStringLiteral("./"));
    return FixedArguments + QStringList{file};
}

void applyIdentifyResult(JobList& list, int row, const IdentifyResult& result) {
    if (result.lengthText) {
        list.setField(row, JobField::End, *result.lengthText);
        list.setField(row, JobField::VideoTime, *result.lengthText);
    }
    if (result.format)
        list.setField(row, JobField::Format, *result.format);
    if (result.complete) {
        list.setField(row, JobField::Start, QString::fromUtf16(ProbeStartText));
        list.setField(row, JobField::Size, result.sizeText());
    }
}

MediaProber::MediaProber(JobList& list, int parallelRuns, int timeoutMs, QObject* parent)
    : QObject(parent), m_list(list),
      m_parallelRuns(parallelRuns > 0 ? parallelRuns : std::max(1, QThread::idealThreadCount())),
      m_timeoutMs(timeoutMs) {}

MediaProber::~MediaProber() {
    // Players still running are ended with their process objects; none outlives the prober.
    for (Process* player : std::as_const(m_running)) {
        disconnect(player, nullptr, this, nullptr);
        delete player;
    }
}

int MediaProber::add(const QStringList& paths) {
    int added = 0;
    for (const QString& path : paths) {
        const int row = m_list.append(path);
        if (row < 0)
            break;
        m_queue.append({m_list.rowId(row), path});
        ++added;
    }
    if (added > 0) {
        setBusy(true);
        startRuns();
    }
    return added;
}

void MediaProber::startRuns() {
    while (m_running.size() < m_parallelRuns && !m_queue.isEmpty()) {
        const Pending next = m_queue.takeFirst();
        if (m_list.indexOfId(next.rowId) < 0)
            continue; // removed before its turn
        Process* player =
            CreateToolProcess(QString::fromUtf16(kPlayerFileName), identifyArguments(next.path))
                .release();
        player->setParent(this);
        player->Async = true;
        player->OutputLimit = OutputLimit;
        const quint64 rowId = next.rowId;
        connect(player, &Process::Finished, this,
                [this, player, rowId] { runEnded(player, rowId); });
        // A player that has not ended by then is stopped; its row shows what a failed probe
        // shows.
        QTimer::singleShot(m_timeoutMs, player, [player] { player->Abort(-1); });
        m_running.append(player);
        player->Launch();
        // A player that could not be started raises no Finished: its run ends here.
        if (m_running.contains(player) && !player->IsActive())
            runEnded(player, rowId);
    }
    if (m_running.isEmpty() && m_queue.isEmpty())
        setBusy(false);
}

void MediaProber::runEnded(Process* player, quint64 rowId) {
    if (!m_running.removeOne(player))
        return;
    disconnect(player, nullptr, this, nullptr);
    const bool timedOut = player->RC() == -1;
    const QString output = timedOut ? QString() : player->StdOut();
    player->deleteLater();
    const int row = m_list.indexOfId(rowId);
    if (row >= 0) {
        applyIdentifyResult(m_list, row, parseIdentifyOutput(output));
        emit rowProbed(row);
    }
    startRuns();
}

void MediaProber::setBusy(bool busy) {
    if (busy == m_busy)
        return;
    m_busy = busy;
    emit busyChanged(busy);
}

} // namespace vidora
