// mp.dll: the program's player. It becomes the system's MPlayer (same process id, same
// standard input, so keys written to it reach MPlayer) after fitting the command line to it.

#include "launcher/PlayerArguments.h"
#include "launcher/ToolLookup.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    using namespace vidora;
    constexpr LaunchedTool kPlayer{"mp.dll", "mplayer", "mplayer"};
    // The player never outlives the program that started it, even one that crashed: the
    // kernel kills it when its parent goes. A parent already gone leaves nobody to show the
    // picture to.
    if (!endWithParent(getppid(), SIGKILL)) {
        return 127;
    }
    const char* searchPath = std::getenv("PATH");
    const std::string mplayer =
        findExecutable("mplayer", searchPath ? std::string_view(searchPath) : DefaultSearchPath);
    if (mplayer.empty()) {
        std::fprintf(stderr, "%s\n",
                     missingToolMessage(kPlayer.launcher, kPlayer.name, kPlayer.package).c_str());
        return 127;
    }
    std::vector<std::string> arguments =
        translatePlayerArguments(std::vector<std::string>(argv + 1, argv + argc));
    execTool(kPlayer, mplayer, arguments);
}
