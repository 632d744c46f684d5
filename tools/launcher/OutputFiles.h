#pragma once

#include <string>

namespace vidora {

// The hidden name beside an output under which FFmpeg writes it until the job has succeeded:
// a dot, the name without its extension, ".part" and the extension, which FFmpeg picks the
// container from ("/out/clip.mp4" becomes "/out/.clip.part.mp4"). The program names the same
// file when it clears up after an encoder that was killed.
std::string temporaryOutputPath(const std::string& output);

// Whether an output is an ordinary file, which fp.dll lets FFmpeg write under its temporary
// name: not "-", a pipe, a device under /dev or a URL (anything with a ":" before its first
// "/" may name one of FFmpeg's protocols).
bool isWrittenThroughTemporary(const std::string& output);

// Gives a complete output its final name, replacing any file of that name in one step. Empty
// when that was done, otherwise the line that says why not (the temporary is then removed).
std::string publishOutput(const std::string& temporary, const std::string& output);

// Removes the temporary file of an output that is not complete; nothing when there is none.
void discardOutput(const std::string& temporary);

} // namespace vidora
