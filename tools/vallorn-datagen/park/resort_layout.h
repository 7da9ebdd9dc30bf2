// Lays out a small working resort by code on a loaded level, the way a player would with the
// construction tools: a parking lot by the road, lifts up the slopes, slopes back down and
// service buildings near the bottom. Used for the shipped starter park and by the tests.
#pragma once

#include <string>
#include <vector>

#include "engine/engine.h"

namespace vallorn::datagen {

struct TResortLayout {
    int parking = -1;  // building indices
    int stall = -1, shelter = -1;
    int lift = -1;  // section indices
    std::vector<int> slopes;
    int lowerI = 0, lowerJ = 0, upperI = 0, upperJ = 0;  // the lift's station cells
    std::string error;                                   // why no layout was found
    bool ok() const { return error.empty(); }
};

// The road cell farthest from the map's edge: where the road ends inside the map.
bool RoadEnd(const TSKIEngine& engine, int& i, int& j);
// Free ground: inside the grid (with a margin of 2 cells), kind free and not blocked.
bool FreeGround(const TSKIEngine& engine, int i, int j);
// Every cell within `radius` cells is free ground and no more than `step` above or below.
bool FlatFree(const TSKIEngine& engine, int i, int j, int radius, float step);

// Station cells of a lift of `liftType` whose lower station lies within `around` cells of
// (ci, cj) but no nearer than `keepOff`, climbing at least `rise`, with free ground between
// and no longer than `maxLength` world units (0: the type's own limit); the line whose
// gradient is nearest `gradient` wins. False when there is none.
bool FindLiftLine(const TSKIEngine& engine, int liftType, int ci, int cj, int around, int keepOff,
                  float rise, float gradient, int out[4], float maxLength = 0);

// A slope from beside the upper station down to beside the lower one, bowing `side` cells
// off the lift line (positive: to the line's left). Returns its section index.
int LaySlope(TSKIEngine& engine, const int line[4], float side, float width);

// A building of `type` on flat free ground, searched in rings from `from` to `to` cells around
// (ci, cj); `offset` varies the choice between buildings placed around the same point.
// Returns its index, or -1. Working fields as a newly placed building has them.
int PlaceNear(TSKIEngine& engine, uint8_t type, int ci, int cj, int from, int to, int offset);

// Finds ground for the resort near the inner end of the level's road and builds it: a
// parking lot, a lift of `liftType` climbing at least `rise` (at most `maxLiftLength` long,
// 0: the type's limit), `slopes` slopes from the top station back to the bottom (each taking
// its own way), a stall and a shelter near the bottom station. Rebuilds the navigation once
// at the end.
TResortLayout BuildResort(TSKIEngine& engine, int liftType = kLiftQuadChair, float rise = 60.0f,
                          int slopes = 2, float maxLiftLength = 0);

}  // namespace vallorn::datagen
