// The terrain overlays (occupancy, steepness, slope paint, object imprint, snow) rebuilt from
// the grid.
#pragma once

#include "base/overlays.h"
#include "engine/engine.h"

namespace vallorn {

void RebuildOverlay(TSKIEngine& engine, TSKIOverlay overlay);
void RefreshTerrainView(TSKIEngine& engine);
// The display choices a new game starts with: the display flags of kDisplayNewGame, no
// highlight and no skier flags. The overlays are not redrawn: the level load that resets them
// draws every overlay afterwards and refreshes the terrain view once.
void ResetDisplayChoices(TSKIEngine& engine);
void RebuildOccupancy(TSKIEngine& engine);
void RebuildSteepness(TSKIEngine& engine);
void RebuildSlopePaint(TSKIEngine& engine);
void RebuildObjectImprint(TSKIEngine& engine);

}  // namespace vallorn
