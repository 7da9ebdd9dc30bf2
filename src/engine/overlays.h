// The terrain overlays (occupancy, steepness, slope paint, object imprint, snow) rebuilt from
// the grid.
#pragma once

#include "base/overlays.h"
#include "engine/engine.h"

namespace vallorn {

void RebuildOverlay(TSKIEngine& engine, TSKIOverlay overlay);
void RefreshTerrainView(TSKIEngine& engine);
void RebuildOccupancy(TSKIEngine& engine);
void RebuildSteepness(TSKIEngine& engine);
void RebuildSlopePaint(TSKIEngine& engine);
void RebuildObjectImprint(TSKIEngine& engine);

}  // namespace vallorn
