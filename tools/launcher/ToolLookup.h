#pragma once

#include <string>
#include <string_view>
#include <sys/types.h>
#include <vector>

namespace vidora {

// Folders searched when the environment has no PATH, as the shell does.
inline constexpr std::string_view DefaultSearchPath = "/usr/local/bin:/usr/bin:/bin";

// The full path of the executable file `name` in the first folder of `searchPath` (a PATH
// value, folders separated by ":", an empty folder meaning the current one) that holds it;
// empty when none does.
std::string findExecutable(std::string_view name, std::string_view searchPath);

// findExecutable in the folders of this process's PATH (DefaultSearchPath when it has none).
std::string findOnPath(std::string_view name);

// The one line a launcher prints when its tool is missing, naming the Debian package that
// brings it: "fp.dll: ffmpeg not found; install the Debian package ffmpeg".
std::string missingToolMessage(std::string_view launcher, std::string_view tool,
                               std::string_view package);

// A tool of a launcher: the launcher's own name, the tool's name and the Debian package that
// brings it ("fp.dll", "ffmpeg", "ffmpeg").
struct LaunchedTool {
    std::string_view launcher;
    std::string_view name;
    std::string_view package;
};

// Asks the kernel to send this process `signalNumber` when `parent` goes (the request survives
// exec). False when `parent` was already gone before the request took hold: then nobody is
// left to use the tool.
bool endWithParent(pid_t parent, int signalNumber);

// Replaces this process with the tool at `path` (argv[0] is the tool's name), given these
// arguments. Returns never: when the exec fails it prints the one line that says why and exits
// with 127.
[[noreturn]] void execTool(const LaunchedTool& tool, const std::string& path,
                           std::vector<std::string>& arguments);

} // namespace vidora
