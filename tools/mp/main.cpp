// mp.dll: the program's player. It becomes the system's MPlayer (same process id, same
// standard input, so keys written to it reach MPlayer) after fitting the command line to it.

#include "launcher/PlayerArguments.h"
#include "launcher/ToolLookup.h"

#include <csignal>
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
    // A player that is not installed gives an empty path: the exec fails and says which
    // package is missing.
    const std::string mplayer = findOnPath(kPlayer.name);
    std::vector<std::string> arguments =
        translatePlayerArguments(std::vector<std::string>(argv + 1, argv + argc));
    execTool(kPlayer, mplayer, arguments);
}
