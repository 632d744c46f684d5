#include "platform/Inifun.h"

#include "base/TextValues.h"
#include "platform/Paths.h"

#include <QByteArrayView>
#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringList>
#include <optional>

namespace vidora {

namespace {

// The settings file holds a few hundred bytes. Reading stops after this much, so a huge or
// foreign file costs no more than this to look at; whatever lies beyond is not read and is
// dropped by the next write.
constexpr qint64 MaxFileBytes = 1024 * 1024;
// A key with a 128-character value fits many times over; a longer line is not a setting.
constexpr qsizetype MaxLineBytes = 4096;
// Reads keep 127 characters and writes 128, as the settings format always has.
constexpr qsizetype MaxReadLength = 127;
constexpr qsizetype MaxWriteLength = 128;

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
    QFile file(filePath);
    if (!file.exists())
        return text;
    if (!file.open(QIODevice::ReadOnly)) {
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

// The first `length` characters, never splitting a character outside the basic plane.
QStringView leftCharacters(QStringView text, qsizetype length) {
    if (text.size() <= length)
        return text;
    if (length > 0 && text[length - 1].isHighSurrogate())
        --length;
    return text.first(length);
}

// The value as written: it ends at a NUL, a line end or another control character (a value
// is one line of text), and keeps 128 characters.
QString storedValue(QStringView value) {
    qsizetype end = 0;
    while (end < value.size() && !isControl(value[end]))
        ++end;
    return leftCharacters(value.first(end), MaxWriteLength).toString();
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
    return leftCharacters(entry->value, MaxReadLength).trimmed().toString();
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

    // Written beside the file and renamed over it, so an interrupted write (a crash, a full
    // disk) keeps the last good file.
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = (text.lines.join(u'\n') + u'\n').toUtf8();
    // Flushed here: QSaveFile::commit() of Qt 6.4 reports success and renames a cut-short
    // file over the good one when the data only fails to reach the disk on its final flush.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QString settingsFilePath() {
    return joinPath(AppDataFolder(), QStringLiteral("settings.dat"));
}

} // namespace vidora
