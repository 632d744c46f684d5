#pragma once

#include <QString>
#include <optional>

namespace vidora {

// The file's last line, or the empty text. Lines end at LF (a CR before it is dropped). For a
// text that ends with a line end this is its last line; for one that does not, the line
// before the last (the last may still be being written). Fewer than two pieces, or a file
// that cannot be read, give the empty text. Only the file's tail is read, so the cost does not
// grow with the file.
QString ReadLastLineOfFile(const QString& sFileName);

// The encoded time of an encoder statistics line, in seconds. The line's "="-separated sixth
// field holds the time followed by one blank and the next field's two-letter name:
//   frame=  250 q= 2.0 f_size=  1234 s_size=   456kB time= 10.000 br=  987.6kbits/s ...
// Fewer than six fields, or no number there, give 0.
double encodedSecondsOfStatsLine(const QString& line);

// The per-job bar for an encoded time: time / duration * 100, rounded halves to even. Empty
// for a zero duration (the bar keeps its value). Values above 100 are passed on as they are.
std::optional<int> trackPercent(double encodedSeconds, qint32 durationSeconds);

} // namespace vidora
