// vallorn: the game. Opens the window, plays the intro and the starter park (or the saved
// game or level named on the command line).
#include <cstdio>
#include <string>
#include <vector>

#include "platform/single_instance.h"
#include "platform/window.h"
#include "ui/command_line.h"
#include "ui/game_window.h"

using namespace vallorn;

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    TSKICommandLine commandLine;
    if (auto error = ParseCommandLine(args, commandLine)) {
        std::fprintf(stderr, "vallorn: %s\n%s", error->c_str(), CommandLineUsage());
        return 2;
    }
    if (commandLine.Help) {
        std::fputs(CommandLineUsage(), stdout);
        return 0;
    }
    std::string why;
    if (!TSKIWindow::DisplayAvailable(&why)) {
        std::fprintf(stderr,
                     "vallorn: the game needs a display (%s); the headless runner vallorn-sim "
                     "runs parks without one\n",
                     why.c_str());
        return 2;
    }
    // One running copy: a second start asks the first to come to the front and leaves.
    TSKISingleInstance instance;
    if (!instance.Acquire()) return 0;
    try {
        TSKIGameWindow game(commandLine, &instance);
        return game.Run();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vallorn: %s\n", e.what());
        return 1;
    }
}
