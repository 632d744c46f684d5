#include "platform/Inifun.h"

#include "base/TextValues.h"
#include "platform/Paths.h"

#include <QByteArrayView>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringList>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace vidora {

namespace {

// The settings file holds a few hundred bytes. Reading stops after this much, so a huge or
// foreign file costs no more than this to look at; whatever lies beyond is not read and is
// dropped by the next write.
constexpr qint64 MaxFileBytes = 1024 * 1024;
// A key with the longest path Linux allows fits several times over; a longer line is not a
// setting.
constexpr qsizetype MaxLineBytes = 16 * 1024;

bool isControl(QChar c) {
    const char16_t u = c.unicode();
    return (u < 0x20 && u != u'\t') || u == 0x7f;
}

struct SettingsText {
    bool readable = true; // false: the file is there but cannot be opened
    QStringList lines;    // its text lines; lines that are not text are left out
};

// One line of the file as text, or nothing when the line is not text: too long, not UTF-8,
// or holding control bytes (NUL included) other than tabs.
std::optional<QString> decodeLine(QByteArrayView bytes) {
    if (bytes.size() > MaxLineBytes)
        return std::nullopt;
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString line = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    for (const QChar c : line) {
        if (isControl(c))
            return std::nullopt;
    }
    return line;
}

SettingsText readSettingsText(const QString& filePath) {
    SettingsText text;
    const QFileInfo info(filePath);
    if (!info.exists() && !info.isSymLink())
        return text;
    QFile file(filePath);
    // Only an ordinary file is read: a pipe or a device would never end (or never start).
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        text.readable = false;
        return text;
    }
    const QByteArray bytes = file.read(MaxFileBytes + 1);
    QByteArrayView rest(bytes);
    if (rest.size() > MaxFileBytes) {
        // Cut short: the last, incomplete line is left out.
        rest = rest.first(rest.lastIndexOf('\n', MaxFileBytes - 1) + 1);
    }
    if (rest.startsWith("\xEF\xBB\xBF"))
        rest = rest.sliced(3);
    while (!rest.isEmpty()) {
        const qsizetype end = rest.indexOf('\n');
        const QByteArrayView line = end < 0 ? rest : rest.first(end);
        rest = end < 0 ? QByteArrayView() : rest.sliced(end + 1);
        if (std::optional<QString> decoded = decodeLine(line))
            text.lines << *decoded;
    }
    return text;
}

bool sameName(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The name of a "[name]" line, or nothing for any other line.
std::optional<QStringView> sectionName(QStringView line) {
    line = line.trimmed();
    if (!line.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = line.indexOf(u']');
    return (close < 0 ? line.sliced(1) : line.sliced(1, close - 1)).trimmed();
}

struct Entry {
    QStringView key;
    QStringView value;
};

// The key and value of a "key=value" line; nothing for a comment, a section or a line
// without "=".
std::optional<Entry> entryOf(QStringView line) {
    const QStringView trimmed = line.trimmed();
    if (trimmed.startsWith(u';') || trimmed.startsWith(u'#') || trimmed.startsWith(u'['))
        return std::nullopt;
    const qsizetype equals = trimmed.indexOf(u'=');
    if (equals <= 0)
        return std::nullopt;
    const QStringView key = trimmed.first(equals).trimmed();
    if (key.isEmpty())
        return std::nullopt;
    return Entry{key, trimmed.sliced(equals + 1).trimmed()};
}

// Where a key lives in the lines: the key's line, else the first section of that name and the
// line after its last non-blank line, where a new key goes.
struct Location {
    qsizetype keyLine = -1;
    qsizetype sectionLine = -1;
    qsizetype insertAt = -1;
};

Location locate(const QStringList& lines, QStringView section, QStringView key) {
    Location where;
    bool inSection = false;
    bool inFirstSection = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (const std::optional<QStringView> name = sectionName(lines[i])) {
            inSection = sameName(*name, section);
            inFirstSection = inSection && where.sectionLine < 0;
            if (inFirstSection) {
                where.sectionLine = i;
                where.insertAt = i + 1;
            }
            continue;
        }
        if (!inSection)
            continue;
        if (inFirstSection && !lines[i].trimmed().isEmpty())
            where.insertAt = i + 1;
        if (const std::optional<Entry> entry = entryOf(lines[i]);
            entry && sameName(entry->key, key)) {
            where.keyLine = i;
            return where;
        }
    }
    return where;
}

// The value as written: it ends at a NUL, a line end or another control character (a value
// is one line of text). It is kept whole: a folder's path is never cut.
QString storedValue(QStringView value) {
    qsizetype end = 0;
    while (end < value.size() && !isControl(value[end]))
        ++end;
    return value.first(end).toString();
}

// The file a write replaces: a file reached through a link is replaced where it lies.
QString replacedFile(const QString& filePath) {
    const QFileInfo info(filePath);
    return info.isSymLink() && info.exists() ? info.canonicalFilePath() : filePath;
}

// The temporary a write goes through, beside the file it replaces:
// "settings.dat.tmp.<process id>".
QString temporaryPrefix(const QString& filePath) {
    return replacedFile(filePath) + QStringLiteral(".tmp.");
}

bool writeAll(int descriptor, const QByteArray& bytes) {
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t count = ::write(descriptor, bytes.constData() + written,
                                      static_cast<size_t>(bytes.size() - written));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        written += count;
    }
    return true;
}

// Replaces the file by one holding `bytes`: written beside it and renamed over it, so an
// interrupted write (a crash, a full disk) keeps the last good file. The new file keeps the
// old one's permissions; a file reached through a link is replaced where it lies.
bool replaceFile(const QString& filePath, const QByteArray& bytes) {
    const QString target = replacedFile(filePath);
    struct stat old {};
    const bool existed = ::stat(QFile::encodeName(target).constData(), &old) == 0;
    const mode_t mode = existed ? (old.st_mode & 07777) : 0644;
    const QByteArray temporary =
        QFile::encodeName(temporaryPrefix(target) + QString::number(::getpid()));
    const int descriptor =
        ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (descriptor < 0)
        return false;
    const bool written =
        writeAll(descriptor, bytes) && ::fchmod(descriptor, mode) == 0 && ::fsync(descriptor) == 0;
    const bool closed = ::close(descriptor) == 0;
    if (!written || !closed ||
        ::rename(temporary.constData(), QFile::encodeName(target).constData()) != 0) {
        ::unlink(temporary.constData());
        return false;
    }
    return true;
}

// Section and key names are fixed texts of the program; refuse what would not read back.
bool isUsableName(QStringView name, QChar forbidden) {
    const QStringView trimmed = name.trimmed();
    if (trimmed.isEmpty() || trimmed.contains(forbidden))
        return false;
    for (const QChar c : trimmed) {
        if (isControl(c))
            return false;
    }
    return true;
}

bool isUsableKey(QStringView key) {
    const QStringView trimmed = key.trimmed();
    return isUsableName(key, u'=') && !trimmed.startsWith(u';') && !trimmed.startsWith(u'#') &&
           !trimmed.startsWith(u'[');
}

} // namespace

QString ReadSetting(const QString& filePath, const QString& section, const QString& key) {
    const SettingsText text = readSettingsText(filePath);
    const Location where =
        locate(text.lines, QStringView(section).trimmed(), QStringView(key).trimmed());
    if (where.keyLine < 0)
        return {};
    const std::optional<Entry> entry = entryOf(text.lines[where.keyLine]);
    return entry->value.trimmed().toString();
}

bool WriteSetting(const QString& filePath, const QString& section, const QString& key,
                  const QString& value) {
    if (!isUsableName(section, u']') || !isUsableKey(key))
        return false;
    SettingsText text = readSettingsText(filePath);
    // A file we cannot read is not replaced by one holding only this key.
    if (!text.readable)
        return false;

    const QStringView sectionName = QStringView(section).trimmed();
    const QStringView keyName = QStringView(key).trimmed();
    const QString stored = storedValue(value);
    const Location where = locate(text.lines, sectionName, keyName);
    if (where.keyLine >= 0) {
        // The key keeps its place and its spelling in the file.
        const QString existingKey = entryOf(text.lines[where.keyLine])->key.toString();
        text.lines[where.keyLine] = existingKey + u'=' + stored;
    } else if (where.sectionLine >= 0) {
        text.lines.insert(where.insertAt, keyName + u'=' + stored);
    } else {
        text.lines << u'[' + sectionName + u']' << keyName + u'=' + stored;
    }

    return replaceFile(filePath, (text.lines.join(u'\n') + u'\n').toUtf8());
}

void RemoveLeftoverSettingsTemporaries(const QString& filePath) {
    const QFileInfo temporaries(temporaryPrefix(filePath));
    const QString prefix = temporaries.fileName();
    QDir folder = temporaries.absoluteDir();
    for (const QString& name : folder.entryList({prefix + u'*'}, QDir::Files | QDir::Hidden)) {
        bool ok = false;
        const qint64 owner = QStringView(name).sliced(prefix.size()).toLongLong(&ok);
        // A temporary of a program that still runs is that program's write in progress.
        if (ok && owner > 0 && (::kill(static_cast<pid_t>(owner), 0) == 0 || errno == EPERM))
            continue;
        folder.remove(name);
    }
}

QString settingsFilePath() {
    return joinPath(AppDataFolder(), QStringLiteral("settings.dat"));
}

} // namespace vidora
