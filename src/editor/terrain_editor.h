// The editor's bulk terrain work ("Paint" and "Debug" pages, "Forgive enviro damage"):
// blocked terrain, roads from a picture, trees and houses over the whole map. The brushes are
// construction tools; snow peaks and the snow flood are engine/snow.h.
#pragma once

#include <filesystem>
#include <string>

#include "engine/engine.h"

namespace vallorn {

// "Reset blocked": the blocked terrain derived again with `grain` (0..18), shown alone.
void ResetBlocked(TSKIEngine& engine, int grain);

// What "Flood blocked" does to the filled region: the tool list's "Paint blocked terrain",
// "Erase blocked terrain", or any other tool (nothing).
enum class TFloodBlocked { Block, Free, Leave };
// Fills the region of the blocked overlay's colour at cell (i, j) (four-connected) and blocks
// or frees its cells; returns how many cells the region holds (0 outside the grid).
int FloodBlocked(TSKIEngine& engine, int i, int j, TFloodBlocked what);

// "Import road": every pixel (x, y) of the picture (PNG, BMP or JPEG) that is not black makes
// cell (x, y) a road: not blocked, no tree, unbuildable. Returns the number of road cells
// made, or -1 with a reason when the picture cannot be read.
int ImportRoad(TSKIEngine& engine, const std::filesystem::path& picture,
               std::string* error = nullptr);

void CutAllTrees(TSKIEngine& engine);
void DeleteAllHouses(TSKIEngine& engine);
// "Reduce trees": below the current count, trees of random cells are removed until `target`
// remain (0: all), which becomes the level's starting tree count; at or above it nothing
// changes. Returns the tree count after.
int32_t ReduceTrees(TSKIEngine& engine, int32_t target);
// "Forgive enviro damage": occupied cells lose their trees and the remaining count becomes
// the level's starting tree count, so no tree counts as cut down.
void ForgiveEnviroDamage(TSKIEngine& engine);

}  // namespace vallorn
