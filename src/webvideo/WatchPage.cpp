#include "webvideo/WatchPage.h"

#include <QRegularExpression>

namespace vidora {

namespace {

// A page field: where it starts and ends, and what is done with the text found.
enum class FieldRule { Title, Plain, Description, Decoded };

struct PageField {
    const char* start;
    const char* end;
    QString WatchPageInfo::*field;
    FieldRule rule;
};

// The markers of the watch page, in the order they are read.
const PageField kPageFields[] = {
    {"VIDEO_TITLE': '", "',", &WatchPageInfo::Title, FieldRule::Title},
    {"data-discoverbox-username=\"", "\" >", &WatchPageInfo::Author, FieldRule::Plain},
    {"'VIDEO_ID': '", "'", &WatchPageInfo::VideoId, FieldRule::Plain},
    {"watch-video-added post-date\">", "</span>", &WatchPageInfo::Published, FieldRule::Plain},
    {"VideoCategoryLink');\">", "</a>", &WatchPageInfo::Category, FieldRule::Plain},
    {"watch-video-desc description\">", "</span>", &WatchPageInfo::Description,
     FieldRule::Description},
    {"rv.2.thumbnailUrl\": \"", "\",", &WatchPageInfo::ThumbnailUrl, FieldRule::Decoded},
    {"length_seconds\": \"", "\",", &WatchPageInfo::LengthSeconds, FieldRule::Decoded},
    {"master-sprite ratingL ratingL-", "\"", &WatchPageInfo::Rating, FieldRule::Decoded},
};

const QString kTitleRemoved = QStringLiteral("/\\':()");
const QString kDescriptionSpan = QStringLiteral("<span >");

QString withoutTitleCharacters(QString title) {
    title.removeIf([](QChar c) { return kTitleRemoved.contains(c); });
    return title;
}

// Of the text found, everything from 7 characters after the first "<span >" (the character
// right after it), or from the 7th character when there is none.
QString descriptionAfterSpan(const QString& found) {
    const qsizetype span = found.indexOf(kDescriptionSpan) + 1; // 1-based, 0 when absent
    return found.mid(span + 7 - 1);
}

int hexDigit(QChar c) {
    if (c >= u'0' && c <= u'9')
        return c.unicode() - u'0';
    if (c >= u'a' && c <= u'f')
        return c.unicode() - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c.unicode() - u'A' + 10;
    return -1;
}

} // namespace

QString TextBetween(const QString& text, const QString& start, const QString& end) {
    // Positions count from 1, as the page's markers were always measured.
    const qsizetype a = (text.indexOf(start) + 1) + start.size();
    const qsizetype from = std::max<qsizetype>(a, 1) - 1;
    const qsizetype found = from > text.size() ? -1 : text.indexOf(end, from);
    const qsizetype b = found + 1;
    if (b - a < 0)
        return {};
    return text.mid(a - 1, b - a);
}

WatchPageInfo ParseWatchPage(const QString& page) {
    WatchPageInfo info;
    for (const PageField& field : kPageFields) {
        const QString found =
            TextBetween(page, QString::fromLatin1(field.start), QString::fromLatin1(field.end));
        switch (field.rule) {
        case FieldRule::Title:
            info.*field.field = withoutTitleCharacters(found);
            break;
        case FieldRule::Plain:
            info.*field.field = found;
            break;
        case FieldRule::Description:
            info.*field.field = descriptionAfterSpan(found);
            break;
        case FieldRule::Decoded: {
            const std::optional<QString> decoded = URLDecode(found);
            // An undecodable field ends the parse; it and the fields after it stay empty.
            if (!decoded)
                return info;
            info.*field.field = *decoded;
            break;
        }
        }
    }
    return info;
}

QList<int> GetURLs(const QString& strHypertext, FormatLinks& links) {
    static const QRegularExpression mapPattern(QStringLiteral("\"fmt_url_map\": \"([^\"]+)"));
    const QRegularExpressionMatch match = mapPattern.match(strHypertext);
    QList<int> found;
    if (!match.hasMatch())
        return found;
    const std::optional<QString> map = URLDecode(match.captured(1));
    if (!map)
        return found;
    for (const QString& piece : map->split(u',')) {
        const qsizetype bar = piece.indexOf(u'|');
        if (bar < 0)
            return found;
        bool isNumber = false;
        const int code = piece.left(bar).trimmed().toShort(&isNumber);
        if (!isNumber)
            return found;
        for (const FormatEntry& format : kFormats) {
            if (format.code == code) {
                links.*format.link = piece.mid(bar + 1);
                found << code;
            }
        }
    }
    return found;
}

std::optional<QString> URLDecode(const QString& s) {
    QString text = s;
    text.replace(u'+', u' ');
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'%') {
            result += c;
            continue;
        }
        if (i + 2 >= text.size())
            continue; // a "%" without two characters after it is dropped
        const int high = hexDigit(text.at(i + 1));
        const int low = hexDigit(text.at(i + 2));
        if (high < 0 || low < 0)
            return std::nullopt;
        result += QChar(high * 16 + low);
        i += 2;
    }
    return result;
}

} // namespace vidora
