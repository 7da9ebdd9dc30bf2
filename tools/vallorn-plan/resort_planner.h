// Lays out a resort on a loaded level as a player would, through player actions only, and
// returns the action script that builds it again (docs/action-scripts.md): parking by the
// road's end, lifts from the base up the fall line, a run of each colour the ground allows,
// rescue, food, warmth, snow cannons on the runs and a snowcat garage. The balance tests run
// the script with vallorn-sim on every shipped map; the options leave out or change one thing
// at a time so that each choice can be measured.
#pragma once

#include <string>
#include <vector>

#include "engine/engine.h"

namespace vallorn::plan {

struct TPlanOptions {
    bool cannons = true;
    bool grooming = true;          // a snowcat garage working the base
    bool rescue = true;            // a ski patrol
    bool food = true;              // a snow bar and a stall
    bool warmth = true;            // a shelter
    int parkings = 3;              // at most so many lots of 50 skiers, one per lift by the base
    std::string colours = "bbrk";  // the lines wanted, in order: b blue, r red, k black
    int liftType = -1;             // every lift of this type (-1: by the line's colour)
    double priceFactor = 1.0;      // ticket and service prices, times the defaults
    int upgrades = 0;              // each lift upgraded so many times once the loan is repaid
    std::string campaign;          // a campaign line bought as the resort opens ("pr", ...)
    int loan = 30000;              // taken at the start, repaid in 10,000s as the takings come in
};

// The sensible player, the careless one (no snow cannons, no grooming, no rescue, one lot)
// and the greedy one (three times the prices, no rescue, no food).
TPlanOptions SensiblePlayer();
TPlanOptions CarelessPlayer();
TPlanOptions GreedyPlayer();

struct TResortPlan {
    std::vector<std::string> lines;  // the action script, one line each
    int lifts = 0, slopes = 0, cannons = 0, treesFelled = 0;
    std::string colours;  // the colour of each run built (b, r, k)
    std::string error;    // why there is no resort (no road, no ground for a lift)
    bool ok() const { return error.empty(); }
    std::string Text() const;
};

// Plans on `engine`, which holds the freshly loaded level (the plan builds on it: the engine
// ends holding the resort). Deterministic: the same level and options give the same script.
TResortPlan PlanResort(TSKIEngine& engine, const TPlanOptions& options);

}  // namespace vallorn::plan
