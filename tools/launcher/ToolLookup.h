#pragma once

#include <string>
#include <string_view>

namespace vidora {

// Folders searched when the environment has no PATH, as the shell does.
inline constexpr std::string_view DefaultSearchPath = "/usr/local/bin:/usr/bin:/bin";

// The full path of the executable file `name` in the first folder of `searchPath` (a PATH
// value, folders separated by ":", an empty folder meaning the current one) that holds it;
// empty when none does.
std::string findExecutable(std::string_view name, std::string_view searchPath);

// The one line a launcher prints when its tool is missing, naming the Debian package that
// brings it: "fp.dll: ffmpeg not found; install the Debian package ffmpeg".
std::string missingToolMessage(std::string_view launcher, std::string_view tool,
                               std::string_view package);

} // namespace vidora
