// Action scripts of the headless runner (docs/action-scripts.md): one command a line, words
// separated by blanks, texts in double quotes, '#' starts a comment. Every line is checked
// before the run starts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vallorn::sim {

struct ScriptStep {
    int Line = 0;      // 1-based line in the file
    std::string Text;  // the line as written, without comment and outer blanks
    std::string Command;
    std::vector<std::string> Args;  // quotes removed
};

struct Script {
    std::string File;
    std::vector<ScriptStep> Steps;
};

// Parses a script. Returns every error, one a line, each as "FILE:LINE: reason"; empty when
// the script is good.
std::vector<std::string> ParseScript(const std::string& text, const std::string& file, Script& out);

// Number arguments of a checked step.
int64_t ArgInt(const ScriptStep& step, size_t index);
double ArgReal(const ScriptStep& step, size_t index);
// Lift type 0..6 and building type 0..12 by number or by their short names ("quad", "stall").
int LiftTypeArg(const std::string& word);
int BuildingTypeArg(const std::string& word);

}  // namespace vallorn::sim
