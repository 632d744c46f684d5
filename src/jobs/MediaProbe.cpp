#include "jobs/MediaProbe.h"

#include "base/TextValues.h"
#include "engine/Process.h"
#include "jobs/JobList.h"
#include "platform/Paths.h"
#include "platform/ToolProcesses.h"

#include <QCoreApplication>
#include <QDir>
#include <QList>
#include <QStringView>
#include <algorithm>
#include <limits>

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

int ProbeMediaFile(JobList& list, const QString& path) {
    const int added = list.append(path);
    if (added < 0)
        return -1;
    const quint64 id = list.rowId(added);

    QString output;
    {
        const std::unique_ptr<Process> player =
            CreateToolProcess(QString::fromUtf16(kPlayerFileName), identifyArguments(path));
        // A player that cannot be started leaves the output empty; the row still gets its
        // start and size, and adding goes on with the next file.
        player->Launch();
        output = player->StdOut();
    }

    // Events were handled while the player ran: rows may have come or gone meanwhile.
    const int row = list.indexOfId(id);
    if (row >= 0)
        applyIdentifyResult(list, row, parseIdentifyOutput(output));
    // Lets the view paint the filled row before the next file is probed.
    QCoreApplication::processEvents();
    return list.indexOfId(id);
}

} // namespace vidora
