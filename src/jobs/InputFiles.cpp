#include "jobs/InputFiles.h"

#include <QFileInfo>

namespace vidora {

namespace {

struct FilterRow {
    const char16_t* label;
    // Extensions separated by blanks; empty for the filter of every file.
    const char16_t* extensions;
};

// The open dialog's filters, in the order the dialog lists them.
constexpr FilterRow FilterRows[] = {
    {u"All supported media files",
     u"avi wmv wma asf mov mp4 3gp 3g2 rm rmvb flv mkv m2ts m1v mpe mpg mpeg m2v divx ogm vro "
     u"dr amv ms-dvr dvr-ms m4v qt 3gp2 3gpp mpeg4 rv f4v avs mts tod mpv dat mpeg1 vob mpeg2 "
     u"m2p mod ts tp m2t ogv ogg nsv"},
    {u"Windows Media files (*.avi;*.wmv;*.wma;*.asf;*.ms-dvr;*.dvr-ms)",
     u"avi wmv wma asf ms-dvr dvr-ms"},
    {u"Mov/MP4 Files (*.mov;*.mp4;*.3gp;*.3g2;*.m4v;*.qt;*.3gp2;*.3gpp;*.mpeg4)",
     u"mov mp4 3gp 3g2 m4v qt 3gp2 3gpp mpeg4"},
    {u"Real Media Files (*.rm;*.rmvb;*.rv)", u"rm rmvb rv"},
    {u"Flash Video files (*.flv;*.f4v)", u"flv f4v"},
    {u"Matroska Video files (*.mkv)", u"mkv"},
    {u"AviSynth Scripts (*.avs)", u"avs"},
    {u"Sony High Definition Video File (*.m2ts;*.mts;*.tod)", u"m2ts mts tod"},
    {u"MPEG-1 Video File (*.m1v;*.mpe;*.mpg;*.mpeg;*.mpv;*.dat;*.mpeg1)",
     u"m1v mpe mpg mpeg mpv dat mpeg1"},
    {u"MPEG-2 Video File (*.m2v;*.mpe;*.mpg;*.mpeg;*.mpv;*.vob;*.mpeg2;*.m2p;*.mod)",
     u"m2v mpe mpg mpeg mpv vob mpeg2 m2p mod"},
    {u"MPEG Transport Stream Files (*.ts;*.tp;*.m2t)", u"ts tp m2t"},
    {u"Divx Video File (*.divx)", u"divx"},
    {u"Ogg Media File (*.ogm;*.ogv;*.ogg)", u"ogm ogv ogg"},
    {u"DVD-VR Video File(*.vro)", u"vro"},
    {u"Nullsoft Stream Video Files (*.nsv)", u"nsv"},
    {u"Other Video File(*.dr;*.amv)", u"dr amv"},
    // "*.*" means every file where it comes from; here names need no dot, so it is "*".
    {u"All files (*.*)", u""},
};

// The endings a drop accepts, compared with the upper-cased path.
constexpr const char16_t* DropEndings[] = {u"AVI", u"MPG",  u"WMV", u"FLV",  u"ASF", u"MOV",
                                           u"QT",  u"MPEG", u"RM",  u"RMVB", u"MP4", u"3GP",
                                           u"3G2", u"SWF",  u"MKV", u"DIVX"};

QList<DialogFilter> buildFilters() {
    QList<DialogFilter> filters;
    for (const FilterRow& row : FilterRows) {
        DialogFilter filter;
        filter.label = QString::fromUtf16(row.label);
        const QStringList extensions =
            QString::fromUtf16(row.extensions).split(u' ', Qt::SkipEmptyParts);
        for (const QString& extension : extensions)
            filter.patterns << QStringLiteral("*.") + extension;
        if (filter.patterns.isEmpty())
            filter.patterns << QStringLiteral("*");
        filters << filter;
    }
    return filters;
}

} // namespace

const QList<DialogFilter>& openDialogFilters() {
    static const QList<DialogFilter> filters = buildFilters();
    return filters;
}

QString dialogNameFilter(const DialogFilter& filter) {
    return filter.label + QStringLiteral(" (") + filter.patterns.join(u' ') + u')';
}

QStringList openDialogNameFilters() {
    QStringList filters;
    for (const DialogFilter& filter : openDialogFilters())
        filters << dialogNameFilter(filter);
    return filters;
}

bool isAcceptedDropPath(const QString& path) {
    const QString upper = path.toUpper();
    for (const char16_t* ending : DropEndings) {
        if (upper.endsWith(QString::fromUtf16(ending)))
            return true;
    }
    return false;
}

DropDecision acceptDroppedPaths(const QStringList& paths) {
    DropDecision decision;
    for (const QString& path : paths) {
        if (!isAcceptedDropPath(path)) {
            decision.refused = true;
            break;
        }
        decision.accepted << path;
    }
    return decision;
}

QString refusalReason(const QString& path) {
    for (const QChar c : path) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return QStringLiteral("its name holds a line break or another control character");
    }
    const QFileInfo info(path);
    // Bytes that are not valid text come back from the file system as U+FFFD, a name under
    // which the file does not exist.
    if (path.contains(QChar::ReplacementCharacter) && !info.exists() && !info.isSymLink())
        return QStringLiteral("its name is not valid text");
    if (info.exists() && !info.isFile())
        return QStringLiteral("it is not an ordinary file");
    return {};
}

QString refusedFilesMessage(const QStringList& paths) {
    QString text = QStringLiteral("These files were not added:\n");
    for (const QString& path : paths)
        text += u'\n' + path + QStringLiteral(": ") + refusalReason(path) + u'.';
    return text + QStringLiteral("\n\nRename them (use only letters, digits, blanks and "
                                 "punctuation) or copy them into ordinary files, then add them "
                                 "again.");
}

} // namespace vidora
