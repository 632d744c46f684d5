#pragma once

#include <QString>

// The settings file: a small INI reader and writer of our own.
//
// Format: "[section]" lines and "key=value" lines, UTF-8, LF line ends (CR LF is read too).
// Section and key names match regardless of letter case, so "set" and "Set" are one section.
// Values are plain text, never quoted. Lines that are not text (invalid UTF-8, NUL or other
// control bytes, longer than a few KiB) and anything past the first MiB are ignored when
// reading and dropped by the next write; every other line, comments included, is kept as it is.
namespace vidora {

// The key's value in the section, or the empty text for a missing file, section or key.
// At most 127 characters come back, as the settings format always has: the value is cut to
// 127, then blanks are trimmed from both ends. Never reports an error.
QString ReadSetting(const QString& filePath, const QString& section, const QString& key);

// Stores the value under the key (its first 128 characters, ending early at a NUL, a line end
// or another control character, so that a value can never add lines of its own), creating the file
// and the section when needed and replacing an existing key in place. The file is replaced as a
// whole (written beside it, then renamed over it), so a failed write leaves the last good file.
// Returns false when nothing was written: the file cannot be read or written, or a name is empty or
// holds a line end, "=" (key) or "]" (section). Callers may ignore the result: a lost write is not
// an error for the user.
bool WriteSetting(const QString& filePath, const QString& section, const QString& key,
                  const QString& value);

// The program's settings file: settings.dat in the folder of its own files (AppDataFolder).
QString settingsFilePath();

} // namespace vidora
