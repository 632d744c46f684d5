#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// Values travel through the program as text (option values, job times, settings).
// These are the few places where such a text becomes a number, or a number a text.
namespace vidora {

// The number at the start of a text, "." as decimal point: optional leading blanks, an
// optional sign, digits, an optional point and fraction. Whatever follows is ignored.
// Empty when the text does not start with a number.
std::optional<double> leadingNumber(QStringView text);

// The leading number, or 0 when there is none: how every stored setting is read.
double leadingNumberOrZero(QStringView text);

// Rounds to the nearest integer, halves to the even one (2.5 -> 2, 3.5 -> 4, -0.5 -> 0).
double roundHalfEven(double value);

// A whole text as a 16-bit signed integer: blanks around it are allowed, the rest must be
// one number, which is rounded halves to even. Empty for a non-number or a value outside
// -32768..32767.
std::optional<qint16> toInt16(QStringView text);
// The same for a 32-bit signed integer.
std::optional<qint32> toInt32(QStringView text);

// Job time text "H:MM:SS": hours without leading zero (and without wrapping at 24),
// two-digit minutes and seconds. Negative values are written as 0:00:00.
QString secondsToTimeText(qint64 seconds);

// Seconds of a time text "H:MM:SS" (any count of hour digits, one or two for minutes and
// seconds, each below 60): hours * 3600 + minutes * 60 + seconds. Empty when the text is
// not such a time.
std::optional<qint64> timeTextToSeconds(QStringView text);

} // namespace vidora
