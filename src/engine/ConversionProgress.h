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

// An estimate of the time left, in whole seconds, from the pace of the current job: the
// encoder has encoded `encodedSeconds` of the clip in `elapsedSeconds`, and `leftToEncode`
// seconds of media are still to come (the rest of this job, or of the whole run). Empty while
// the estimate would mean nothing: in the first seconds of a job (kFirstEstimateSeconds), before
// anything was encoded, or once the encoded time has passed the clip's length.
inline constexpr qint64 kFirstEstimateSeconds = 3;
std::optional<qint64> secondsLeft(double encodedSeconds, qint64 elapsedSeconds, double clipSeconds,
                                  double leftToEncode);

// The panel's time-left text: the current job's and, when more jobs follow, the whole run's
// ("0:00:12 (all jobs 0:03:40)"). Empty when there is no estimate.
QString timeLeftText(std::optional<qint64> jobSecondsLeft, std::optional<qint64> runSecondsLeft);

} // namespace vidora
