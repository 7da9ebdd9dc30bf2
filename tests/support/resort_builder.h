// Builds a small working resort by code on a loaded level, the way the construction tools
// will: a parking lot by the road, a lift from the valley up a shoulder, slopes back down
// and restaurants near the bottom.
#pragma once

#include <string>
#include <vector>

#include "engine/engine.h"

namespace vallorn::test {

struct TResortLayout {
    int parking = -1;  // building indices
    int stall = -1, shelter = -1;
    int lift = -1;  // section indices
    std::vector<int> slopes;
    int lowerI = 0, lowerJ = 0, upperI = 0, upperJ = 0;  // the lift's station cells
    std::string error;                                   // why no layout was found
    bool ok() const { return error.empty(); }
};

// Finds ground for the resort near the inner end of the level's road and builds it: a
// parking lot, a lift of `liftType` climbing at least `rise`, `slopes` slopes from the top
// station back to the bottom (each taking its own way), a stall and a shelter near the
// bottom station. Rebuilds the navigation once at the end.
TResortLayout BuildResort(TSKIEngine& engine, int liftType = 3, float rise = 60.0f, int slopes = 2);

}  // namespace vallorn::test
