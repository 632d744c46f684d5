#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <utility>

namespace vidora {

// The output file's base name: the input's file name (without folder) up to, not including,
// its first "."; empty when the name holds no ".".
std::optional<QString> outputBaseName(const QString& inputPath);

// Where a job's output goes: the folder, the input's base name and the profile's extension.
// Unless existing files are overwritten, "_New" is added to the base name while `taken` says
// a name is in use: clip.mp4, clip_New.mp4, clip_New_New.mp4 ... Empty when the input's name
// holds no ".".
std::optional<QString> outputPathFor(const QString& inputPath, const QString& folder,
                                     const QString& extension, bool overwriteExisting,
                                     const std::function<bool(const QString&)>& taken);

// The hidden name under which the encoder writes an output until its job has succeeded: a dot,
// the name without its extension, ".part" and the extension ("/out/clip.mp4" becomes
// "/out/.clip.part.mp4"). The encoder removes it when a job fails or is cancelled; the run
// removes it too, for an encoder that was killed before it could.
QString temporaryOutputPath(const QString& output);

// Whether the folder holds an entry of this name of any kind: a file, a folder, or a symbolic
// link, also one that points nowhere (writing through it would land somewhere else).
bool directoryEntryExists(const QString& path);

// The device and inode of an existing file once symbolic links are followed, so a link or a
// second spelling of a file gives the file's own; nothing when there is no such file.
using FileIdentity = std::pair<quint64, quint64>;
std::optional<FileIdentity> fileIdentity(const QString& path);

// Whether two paths name the same existing file (the same identity).
bool sameExistingFile(const QString& first, const QString& second);

} // namespace vidora
