#pragma once

#include <QList>
#include <QString>
#include <optional>

namespace vidora {

// The facts of one video that a watch page shows, as found between fixed markers of the page's
// text (one historical layout of the site; a page of another layout gives empty fields).
struct WatchPageInfo {
    QString VideoId;
    QString Title; // without / \ ' : ( ), so it can name a file
    QString Author;
    QString Published;
    QString Category;
    QString Description;
    QString ThumbnailUrl;  // percent-decoded
    QString LengthSeconds; // percent-decoded
    QString Rating;        // percent-decoded
};

// The direct stream links of the four formats the download window offers; empty until found.
struct FormatLinks {
    QString LinkMp4;    // format code 22
    QString LinkHdLow;  // format code 34
    QString LinkHdHigh; // format code 35
    QString LinkFlv;    // format code 5
};

// The text between the first start marker and the first end marker after it, with the
// positions of the old string functions: a missing start marker is not special (the end marker
// is then looked for from the position equal to the start marker's length), and a missing end
// marker gives the empty text.
QString TextBetween(const QString& text, const QString& start, const QString& end);

// The video's facts from the raw page text. A field whose percent-decoding fails ends the
// parse: it and the fields after it stay empty.
WatchPageInfo ParseWatchPage(const QString& page);

// Looks up the page's format map and sets the link of every known format it lists (a later
// piece with the same code replaces the earlier link; links not listed keep their value).
// Returns the format codes found, in the map's order. A piece without "|", a code that is not
// a 16-bit number, or a map that cannot be percent-decoded ends the scan there.
QList<int> GetURLs(const QString& strHypertext, FormatLinks& links);

// Percent-decoding: "+" becomes a blank, "%" and two hexadecimal digits become the character
// of that code (Latin-1, so each escape stays one byte), a "%" with fewer than two characters
// after it is dropped. Nothing when a "%" is followed by two characters that are not both
// hexadecimal digits. Any length is decoded.
std::optional<QString> URLDecode(const QString& s);

// The format codes the download window offers, with the link each one sets.
struct FormatEntry {
    int code;
    QString FormatLinks::*link;
};
inline constexpr FormatEntry kFormats[] = {
    {22, &FormatLinks::LinkMp4},
    {34, &FormatLinks::LinkHdLow},
    {35, &FormatLinks::LinkHdHigh},
    {5, &FormatLinks::LinkFlv},
};

} // namespace vidora
