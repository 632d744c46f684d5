#include "launcher/ToolLookup.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vidora {

std::string findExecutable(std::string_view name, std::string_view searchPath) {
    if (name.empty()) {
        return {};
    }
    std::size_t start = 0;
    while (start <= searchPath.size()) {
        std::size_t colon = searchPath.find(':', start);
        if (colon == std::string_view::npos) {
            colon = searchPath.size();
        }
        std::string folder(searchPath.substr(start, colon - start));
        if (folder.empty()) {
            // Not `= "."`: GCC 12 warns falsely (-Wrestrict) about that assignment when
            // optimising.
            folder.assign(1, '.');
        }
        const std::string candidate = folder + "/" + std::string(name);
        struct stat status {};
        if (stat(candidate.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
            access(candidate.c_str(), X_OK) == 0) {
            return candidate;
        }
        start = colon + 1;
    }
    return {};
}

std::string findOnPath(std::string_view name) {
    const char* searchPath = std::getenv("PATH");
    return findExecutable(name, searchPath ? std::string_view(searchPath) : DefaultSearchPath);
}

std::string missingToolMessage(std::string_view launcher, std::string_view tool,
                               std::string_view package) {
    return std::string(launcher) + ": " + std::string(tool) +
           " not found; install the Debian package " + std::string(package);
}

bool endWithParent(pid_t parent, int signalNumber) {
    prctl(PR_SET_PDEATHSIG, signalNumber);
    return getppid() == parent;
}

void execTool(const LaunchedTool& tool, const std::string& path,
              std::vector<std::string>& arguments) {
    const std::string name(tool.name);
    std::vector<char*> execArguments;
    execArguments.push_back(const_cast<char*>(name.c_str()));
    for (std::string& argument : arguments) {
        execArguments.push_back(argument.data());
    }
    execArguments.push_back(nullptr);
    execv(path.c_str(), execArguments.data());
    const std::string failure =
        errno == ENOENT
            ? missingToolMessage(tool.launcher, tool.name, tool.package)
            : std::string(tool.launcher) + ": cannot start " + path + ": " + std::strerror(errno);
    std::fprintf(stderr, "%s\n", failure.c_str());
    _exit(127);
}

} // namespace vidora
