#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace vidora {

class JobList;

// What one identify run of the player told of a file, as the probe writes it into the file's
// row. A field that stays empty leaves its cell empty.
struct IdentifyResult {
    qint32 width = 0;
    qint32 height = 0;
    // The job time text of the length, for End and Video Time.
    std::optional<QString> lengthText;
    std::optional<QString> format;
    // Whether the output was read to its end, so that Start and Size are written. False when
    // a width or height was not a number: reading stopped at that line and what came before
    // it is all the row gets.
    bool complete = false;

    // width "x" height, in decimal: "640x480", "0x0".
    QString sizeText() const;
};

// The start every probed row gets.
inline constexpr char16_t ProbeStartText[] = u"0:00:00";

// Reads the player's identify output. One key=value pair per line (lines end in LF; a CR
// before it is dropped); the key is the text before the first "=", the value the text up to
// the second "=". Keys are matched exactly:
//   ID_VIDEO_WIDTH, ID_VIDEO_HEIGHT  whole numbers; anything else ends the reading there
//   ID_LENGTH                        seconds, leading number (0 when none), rounded halves to
//                                    even, written as a job time text (no wrap at 24 hours)
//   ID_VIDEO_FORMAT                  kept exactly as printed
// Every other line is ignored; a key that comes again replaces the earlier value.
IdentifyResult parseIdentifyOutput(const QString& output);

// The player's arguments for identifying a file, ending with the file. A relative path is
// given as "./path", so that the player never reads a name such as "-x.avi" as an option.
QStringList identifyArguments(const QString& path);

// Writes a parse result into a row: End, Format and Video Time where they were found, then
// Start and Size when the output was read to its end.
void applyIdentifyResult(JobList& list, int row, const IdentifyResult& result);

// Adds a file to the job list: appends its row (its path exactly as given) at once, runs the
// player mp.dll in identify mode on it until the player has ended, other events being
// handled meanwhile, and fills the row from what the player printed. A player that cannot
// be started or prints nothing useful leaves the row with its path, "0:00:00" and "0x0".
// Returns the row's position, or -1 when the list is locked (then nothing is added or run) or
// the row was removed while the player ran.
int ProbeMediaFile(JobList& list, const QString& path);

} // namespace vidora
