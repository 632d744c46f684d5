#pragma once

#include <QByteArray>
#include <QString>

namespace vidora {

// What the run tells the person about a job that failed and about a run that ended, in words a
// person understands; the row's "Fail" status carries the job's reason as its tooltip.
namespace FailureReason {
inline constexpr char16_t NoMedia[] = u"No video or audio found in this file";
inline constexpr char16_t FolderNotWritable[] = u"The output folder cannot be written";
inline constexpr char16_t DiskFull[] = u"No space left on the output disk";
inline constexpr char16_t NothingEncoded[] = u"Nothing was encoded: the output would be empty";
} // namespace FailureReason

// The last line of an encoder's output that says something about the job: not its banner,
// the build and library lines, the indented stream descriptions, the progress lines, nor the
// closing "Conversion failed!". Lines end at LF or CR. Empty when there is none.
QString lastMeaningfulLine(const QByteArray& output);

// Why an encoder run failed: a reason ("The encoder was stopped (signal 9)", "No space left on
// the output disk", ...) and, on a second line, the encoder's last meaningful line.
QString encoderFailureText(int exitCode, bool crashed, const QByteArray& output);

// The total bar after `done` of `jobs` jobs: done * 100 / jobs, rounded once (halves to even),
// so it never passes 100 and moves with every few jobs of a long list. 0 for no jobs.
int totalPercent(int done, int jobs);

// What the end of a run says: "Conversion completed!" (or the cancel message) and, when any
// job did not end "OK", a second line with the counts and where the reasons show.
QString runEndText(const QString& firstLine, int converted, int failed, int cancelled);

} // namespace vidora
