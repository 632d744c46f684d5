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
// The value comes back whole, blanks trimmed from both ends. Only an ordinary file is read (a
// pipe or a device reads as no file). Never reports an error.
QString ReadSetting(const QString& filePath, const QString& section, const QString& key);

// Stores the value under the key (whole, ending early at a NUL, a line end or another control
// character, so that a value can never add lines of its own), creating the file and the section
// when needed and replacing an existing key in place. The file is replaced as a whole (written
// beside it, then renamed over it, keeping its permissions), so a failed write leaves the last
// good file. Returns false when nothing was written: the file cannot be read or written, or a
// name is empty or holds a line end, "=" (key) or "]" (section). Callers may ignore the result:
// a lost write is not an error for the user.
bool WriteSetting(const QString& filePath, const QString& section, const QString& key,
                  const QString& value);

// Removes the temporaries that writes of the file left behind when their program was ended
// mid-write ("settings.dat.tmp.<process id>" of a process that no longer runs).
void RemoveLeftoverSettingsTemporaries(const QString& filePath);

// The program's settings file: settings.dat in the folder of its own files (AppDataFolder).
QString settingsFilePath();

} // namespace vidora
