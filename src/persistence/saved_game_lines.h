// The saved line of a slope or lift ("SKISections"), read and built on the engine, and what a
// park can hold, which bounds what a saved game may ask the loader to build.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "engine/engine.h"
#include "persistence/saved_game_blocks.h"

namespace vallorn {

// What a park can hold, by the construction tools' own rules. A file that holds more is refused
// as it is read, before anything is built, so that loading takes time and memory by the map,
// whatever the file's size:
// - a lift takes a lower station with its queue's 65 places and an upper station, its line
//   keeps clear of other stations, and no type runs beyond 1,200 units (300 cells);
constexpr int64_t kMaxLifts = 1024;
// - a lift's carriers are spaced along its line both ways: at most 2 x 1,200 / 8 of any type;
constexpr int64_t kMaxCarriers = 512;
// - slope nodes stand 10 units (2.5 cells) or more apart along slopes of three cells' width
//   or more, and slopes never overlap; so the nodes of all the slopes together, and the
//   cells their segments paint (length times width, in cells), stay within the map's
//   262,144 cells, with room to spare for the margins of the paint;
constexpr int64_t kMaxSlopeNodes = 32768;
constexpr double kMaxSlopeArea = 4.0 * double(kGridSize) * double(kGridSize);
// - every building stands on cells of its own, the smallest taking nine of them; each has
//   a fleet of at most 31 vehicles (the highest slot number is 30), and no park has more
//   skiers than kMaxParkSkiers.
constexpr int64_t kMaxBuildings = 16384;
constexpr int64_t kMaxVehicles = 65536;

struct TCarrierLine {
    TSKIVector Position{0, 0, 0, 1};
    int32_t Track = 1;
    std::vector<int32_t> Riders;
};

struct TSectionLine {
    bool Lift = false;
    int32_t X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    std::string Name;
    std::vector<TCarrierLine> Carriers;
    std::vector<TSKIVector> Nodes;  // slopes: x, w, z
};

enum class TLineKind { Section, Ignored, Bad };

// The cells the segments of a slope paint: Bresenham steps times the pen width, in cells.
double SlopeArea(const std::vector<TSKIVector>& nodes);
// One saved line: Ignored for a kind that is neither lift nor slope, Bad with the reason in
// `error` for a line that does not parse or asks for more than a park holds.
TLineKind ParseSectionLine(const std::string& line, TSectionLine& out, std::string& error);

// The skiers a load has seated on carriers so far.
using TSeated = std::unordered_set<const TSKISkier*>;

// Builds a parsed section on the engine. `skiers` maps the file's skier indexes to the
// restored skiers (null where one was dropped). Riders beyond a carrier's seats, and with
// `seated` a skier seated already, are left standing, with a line in `warnings` when given.
void ApplySection(TSKIEngine& e, const TSectionLine& s, const TSKISectionBlock& block,
                  const std::vector<TSKISkier*>& skiers, TSeated* seated = nullptr,
                  std::vector<std::string>* warnings = nullptr);

}  // namespace vallorn
