// mp.dll: the program's player. It becomes the system's MPlayer (same process id, same
// standard input, so keys written to it reach MPlayer) after fitting the command line to it.

#include "launcher/PlayerArguments.h"
#include "launcher/ToolLookup.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/prctl.h>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    using namespace vidora;
    // The player never outlives the program that started it, even one that crashed: the
    // kernel kills it when its parent goes (the setting survives the exec below). A parent
    // already gone before the setting took hold leaves nobody to show the picture to.
    const pid_t parent = getppid();
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) {
        return 127;
    }
    const char* searchPath = std::getenv("PATH");
    const std::string mplayer =
        findExecutable("mplayer", searchPath ? std::string_view(searchPath) : DefaultSearchPath);
    const std::string missing = missingToolMessage("mp.dll", "mplayer", "mplayer");
    if (mplayer.empty()) {
        std::fprintf(stderr, "%s\n", missing.c_str());
        return 127;
    }

    std::vector<std::string> arguments =
        translatePlayerArguments(std::vector<std::string>(argv + 1, argv + argc));
    std::vector<char*> execArguments;
    execArguments.push_back(const_cast<char*>("mplayer"));
    for (std::string& argument : arguments) {
        execArguments.push_back(argument.data());
    }
    execArguments.push_back(nullptr);
    execv(mplayer.c_str(), execArguments.data());

    if (errno == ENOENT) {
        std::fprintf(stderr, "%s\n", missing.c_str());
    } else {
        std::fprintf(stderr, "mp.dll: cannot start %s: %s\n", mplayer.c_str(),
                     std::strerror(errno));
    }
    return 127;
}
