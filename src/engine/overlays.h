// The park state behind the terrain overlays, brought up to date where an overlay changes:
// the cells' kinds under lifts, buildings and blocked terrain, the cells' steepness and the
// snow makers' artificial snow. The pictures are the view's (presentation/overlay_paint.h):
// a rebuild here only marks its overlay changed.
#pragma once

#include <cstdint>
#include <vector>

#include "base/overlays.h"
#include "engine/engine.h"

namespace vallorn {

// Brings the park state behind an overlay up to date, marks it changed and refreshes the view.
void RebuildOverlay(TSKIEngine& engine, TSKIOverlay overlay);
void RefreshTerrainView(TSKIEngine& engine);
// The display choices a new game starts with: the display flags of kDisplayNewGame, no
// highlight and no skier flags. The overlays are not marked: the level load that resets them
// marks every overlay afterwards and refreshes the terrain view once.
void ResetDisplayChoices(TSKIEngine& engine);
// Cells under buildings, blocked terrain and lifts: occupied cells are freed and marked again
// (a building's cells lose their trees, its centre cell is the building's).
void RebuildOccupancy(TSKIEngine& engine);
// Each cell's steepness: its height above the mean of its lower neighbours.
void RebuildSteepness(TSKIEngine& engine);
void RebuildSlopePaint(TSKIEngine& engine);
void RebuildObjectImprint(TSKIEngine& engine);

// What the occupancy marks on a cell, by cell (index i * kGridSize + j): nothing, a lift's
// line, station or end, or occupied ground (a building, blocked terrain, a road); a lift's
// start is marked apart. The occupancy picture and the editor's blocked fill read it.
enum : uint8_t { kOccupancyFree = 0, kOccupancyTaken = 1, kOccupancyLiftStart = 2 };
std::vector<uint8_t> OccupancyMarks(const TSKIEngine& engine);

}  // namespace vallorn
