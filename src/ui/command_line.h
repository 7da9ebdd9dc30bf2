// The program's command line: vallorn [FILE.ski] [--level NAME] [--root DIR].
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vallorn {

struct TSKICommandLine {
    std::filesystem::path Game;  // a saved game to open instead of the starter park
    std::string Level;           // a level of the worlds folder to open instead
    std::filesystem::path Root;  // the folder holding data/ worlds/ save/ addons/
    bool Help = false;
};

// Reads the arguments (without the program name); the reason when they make no sense.
std::optional<std::string> ParseCommandLine(const std::vector<std::string>& args,
                                            TSKICommandLine& out);
const char* CommandLineUsage();

}  // namespace vallorn
