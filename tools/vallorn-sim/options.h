// Command line of the headless runner.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vallorn::sim {

struct Options {
    enum class Command { None, Help, Info, Run } command = Command::None;
    std::string level;
    bool addons = false;
    std::string root;
    std::string saveAs;  // info: save the loaded level into addons under this name
    std::string game;    // run: a saved game to load instead of a level
    std::string save;    // run: write the park as a saved game at the end
    std::optional<int64_t> days, ticks;
    int64_t skiers = 0;  // run: skiers brought to the arrival point when the run starts
    double speed = 4;
    double fps = 30;
    uint64_t seed = 1;
    std::string report;
    std::string table;    // run: the day-by-day table written here
    std::string actions;  // run: an action script replayed while the park runs
    bool check = false;   // run: the park's consistency is checked every game tick
    // run: the missions. The profile played as (save/<profile>.prof, created when missing);
    // campaign mission N of it (from its automatic save with `resume`) or sandbox map MAP at a
    // difficulty (0 unlimited); the run ends once the mission is accomplished.
    std::string profile;
    std::optional<int64_t> mission;
    bool resume = false;
    std::optional<int64_t> sandbox, difficulty;
    bool untilAccomplished = false;
};

// Parses argv. Returns an error text for bad arguments (the caller prints usage, exits 2).
std::optional<std::string> ParseOptions(const std::vector<std::string>& args, Options& out);
const char* Usage();

}  // namespace vallorn::sim
