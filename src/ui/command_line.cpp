#include "ui/command_line.h"

namespace vallorn {

const char* CommandLineUsage() {
    return "usage: vallorn [FILE.ski] [--level NAME] [--root DIR]\n"
           "  FILE.ski      open a saved game instead of the starter park\n"
           "  --level NAME  open the level NAME of the worlds folder\n"
           "  --root DIR    the folder of the game's data (data/ worlds/ help/); by default\n"
           "                $VALLORN_ROOT, else the program's folder when it has data/, else\n"
           "                ../share/vallorn beside it (an installed game, whose saves and\n"
           "                add-ons live in $XDG_DATA_HOME/vallorn/)\n";
}

std::optional<std::string> ParseCommandLine(const std::vector<std::string>& args,
                                            TSKICommandLine& out) {
    out = {};
    bool levelGiven = false, rootGiven = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](const std::string& option,
                         std::string& into) -> std::optional<std::string> {
            const std::string prefix = option + "=";
            if (a.rfind(prefix, 0) == 0) {
                into = a.substr(prefix.size());
            } else if (i + 1 < args.size()) {
                into = args[++i];
            } else {
                return option + " needs a value";
            }
            if (into.empty()) return option + " needs a value";
            return std::nullopt;
        };
        if (a == "-h" || a == "--help") {
            out.Help = true;
        } else if (a == "--level" || a.rfind("--level=", 0) == 0) {
            if (levelGiven) return "--level given twice";
            levelGiven = true;
            if (auto e = value("--level", out.Level)) return e;
        } else if (a == "--root" || a.rfind("--root=", 0) == 0) {
            if (rootGiven) return "--root given twice";
            rootGiven = true;
            std::string root;
            if (auto e = value("--root", root)) return e;
            out.Root = root;
        } else if (!a.empty() && a[0] == '-') {
            return "unknown option '" + a + "'";
        } else if (a.empty()) {
            return "an empty file name";
        } else if (!out.Game.empty()) {
            return "only one saved game can be opened";
        } else {
            out.Game = a;
        }
    }
    if (!out.Game.empty() && levelGiven) return "open either a saved game or a level, not both";
    return std::nullopt;
}

}  // namespace vallorn
