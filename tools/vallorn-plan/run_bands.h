// The colour a run will have before it is laid: the steepness bands of the cells under a line
// of cells, counted as a slope counts its points, and lift lines over ground of one band.
#pragma once

#include <array>
#include <utility>
#include <vector>

#include "engine/engine.h"

namespace vallorn::plan {

struct TBandCount {
    int blue = 0, red = 0, black = 0;
    // b, r or k, as a slope's sign takes it: the largest share, ties to the steeper band.
    char Colour() const;
    // The share of `colour`'s band among the cells counted.
    float Share(char colour) const;
};

// The bands of the cells along the polyline through `cells`, about two samples a cell.
TBandCount BandsAlong(const TSKIEngine& engine, const std::vector<std::pair<int, int>>& cells);

using TLiftLine = std::array<int, 4>;  // lower i, j, upper i, j

// Lift lines of `liftType` climbing at least `rise` whose lower station lies within `around`
// cells of (ci, cj) but no nearer than `keepOff`, on free ground with flat station ground, no
// longer than `maxLength` units, where `colour`'s band holds more of the ground under the line
// than any other; the greatest share first, at most `count` of them.
std::vector<TLiftLine> SteepLines(const TSKIEngine& engine, int liftType, char colour, int ci,
                                  int cj, int around, int keepOff, float rise, float maxLength,
                                  size_t count);

}  // namespace vallorn::plan
