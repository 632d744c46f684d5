#include "base/TextValues.h"

#include <QList>
#include <cmath>
#include <limits>

namespace vidora {

namespace {

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Length of the number at the start of `text` (after `start`), 0 when none.
qsizetype numberLength(QStringView text, qsizetype start) {
    qsizetype i = start;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    qsizetype digits = 0;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text[i] == u'.') {
        qsizetype j = i + 1;
        qsizetype fraction = 0;
        while (j < text.size() && isDigit(text[j])) {
            ++j;
            ++fraction;
        }
        if (digits + fraction > 0) {
            digits += fraction;
            i = j;
        }
    }
    return digits > 0 ? i - start : 0;
}

} // namespace

std::optional<double> leadingNumber(QStringView text) {
    qsizetype start = 0;
    while (start < text.size() && (text[start] == u' ' || text[start] == u'\t'))
        ++start;
    const qsizetype length = numberLength(text, start);
    if (length == 0)
        return std::nullopt;
    bool ok = false;
    const double value = text.mid(start, length).toString().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double leadingNumberOrZero(QStringView text) {
    return leadingNumber(text).value_or(0.0);
}

double roundHalfEven(double value) {
    return std::nearbyint(value);
}

namespace {

template <typename Integer> std::optional<Integer> wholeNumber(QStringView text) {
    const QStringView trimmed = text.trimmed();
    if (trimmed.isEmpty() || numberLength(trimmed, 0) != trimmed.size())
        return std::nullopt;
    const auto value = leadingNumber(trimmed);
    if (!value)
        return std::nullopt;
    const double rounded = roundHalfEven(*value);
    if (rounded < std::numeric_limits<Integer>::min() ||
        rounded > std::numeric_limits<Integer>::max())
        return std::nullopt;
    return static_cast<Integer>(rounded);
}

} // namespace

std::optional<qint16> toInt16(QStringView text) {
    return wholeNumber<qint16>(text);
}

std::optional<qint32> toInt32(QStringView text) {
    return wholeNumber<qint32>(text);
}

QString secondsToTimeText(qint64 seconds) {
    if (seconds < 0)
        seconds = 0;
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

std::optional<qint64> timeTextToSeconds(QStringView text) {
    const QList<QStringView> parts = text.trimmed().split(u':');
    if (parts.size() != 3)
        return std::nullopt;
    qint64 total = 0;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QStringView part = parts[i];
        const bool leading = i == 0;
        // Minutes and seconds are one or two digits below 60; hours any count of digits.
        if (part.isEmpty() || (!leading && part.size() > 2) || part.size() > 9)
            return std::nullopt;
        for (QChar c : part)
            if (!isDigit(c))
                return std::nullopt;
        const qint64 value = part.toLongLong();
        if (!leading && value > 59)
            return std::nullopt;
        total = total * 60 + value;
    }
    return total;
}

} // namespace vidora
