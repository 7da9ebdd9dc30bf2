// Passes shared by the level recipes: the road and its parking plateau, the blocked mask,
// natural snow and forest, and the decorative houses.
#pragma once

#include <cstdint>
#include <vector>

#include "level_model.h"

namespace vallorn::datagen {

// A Catmull-Rom curve through `control`, resampled every `step` cells.
std::vector<TPoint> SmoothCurve(const std::vector<TPoint>& control, double step);

// Distance from (i, j) to the polyline; `along` (if given) receives the index of the
// segment start plus the fraction along that segment of the nearest point.
double DistanceToLine(const std::vector<TPoint>& line, double i, double j, double* along = nullptr);

// Lays the road of `level.road`: levels its corridor to a smoothed profile whose grade stays
// below `maxGrade` (rise per world unit), flattens the plateau at its end, marks road cells
// and fills `level.roadDistance`.
void BuildRoad(TLevel& level, double maxGrade);

// Blocked cells as the level editor computes them: a cell 1..510 is blocked when a
// four-neighbour differs in height by more than blockThreshold / scaleY; then every 5 x 5
// window (4-cell stride) holding fewer than `grain` blocked cells is cleared. Road cells are
// never blocked.
void MarkBlocked(TLevel& level, int grain);

// LevelBlockThreshold of the shipped hills: blocked above a step of 4.25 world units between
// neighbours (46 degrees), so black pitches (a drop of 3 per cell and more) stay open while
// the cliffs stay closed.
constexpr float kSteepBlockThreshold = 8.5f;

struct TCoverRules {
    uint64_t seed = 1;
    double snowLine = 0;          // natural snow above this height ...
    double snowLineNoise = 0;     // ... moved up or down by this much by noise
    double snowMaxSlope = 10;     // no snow holds on faces steeper than this
    double treeLine = 0;          // trees only below this height ...
    double treeLineNoise = 0;     // ... moved by noise
    double treeMaxSlope = 0.6;    // no trees on steeper ground
    double forestScale = 60;      // size of the forest patches, cells
    double forestCover = 0.5;     // share of the ground (below the tree line) that is forest
    double forestDensity = 0.7;   // chance of a tree on a forest cell
    double sparseDensity = 0.01;  // chance of a lone tree outside the forests
    double roadClearance = 3;     // no trees this close to the road line, cells
};

// Sets natural snow and trees from heights, slopes and noise. Never on road cells; trees
// never on blocked cells or the road's plateau.
void PlaceSnowAndTrees(TLevel& level, const TCoverRules& rules);

// Puts up to `count` houses beside the road on gentle ground (tags 0..3), facing the road,
// each at least `spacing` cells from the others and clear of the parking plateau. The cells
// around a house are blocked, as the editor's house tool does, and lose their trees.
void PlaceHouses(TLevel& level, int count, double spacing, uint64_t seed);

class TNoise2D;

// The height a cliff band adds at (i, j): a step in the slope across the band, gentler above
// and below, much steeper in between, ragged along its edge and tapering at both ends.
// `across` is the distance from the band's line (> 0 toward the summit), `along` the distance
// along it from its middle.
double CliffStep(double across, double along, double length, double width, double drop, double i,
                 double j, const TNoise2D& noise);

// Counts of cells carrying a flag.
int CountFlag(const TLevel& level, uint8_t bit);

}  // namespace vallorn::datagen
