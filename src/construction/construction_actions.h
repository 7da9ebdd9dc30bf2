// Construction as player actions: each check gives the verdict the construction tool's hover
// gives, each apply calls the same construction function as the tool's click.
#pragma once

#include <cstdint>

#include "engine/player_actions.h"
#include "entities/building.h"

namespace vallorn {

class TSKIConstruction;

// A lift between two station cells, built and charged as the lift tool's click does.
TSKIPlayerAction BuildLiftAction(int lowerI, int lowerJ, int upperI, int upperJ, uint8_t liftType);
// Slope drawing with the slope tool of `tools`: start at a slope centre line or a lift
// station, add nodes on free cells, finish on a slope centre line or station. Each step judges
// the segment from the last node to the cell as the tool does for the cursor's cell.
TSKIPlayerAction SlopeStartAction(TSKIConstruction& tools, int i, int j);
TSKIPlayerAction SlopeNodeAction(TSKIConstruction& tools, int i, int j);
TSKIPlayerAction SlopeFinishAction(TSKIConstruction& tools, int i, int j);
// A building of the type centred on a cell, facing `directionDegrees` (0: +Z), paid for.
TSKIPlayerAction PlaceBuildingAction(uint8_t type, int i, int j, float directionDegrees = 0);
// The building tool's click: the previewed record as it stands (position and direction).
TSKIPlayerAction PlaceBuildingAction(const TSKIBuildingRecord& record);
// One tree on a cell where one fits (TreeFits), charged GameTreePrice.
TSKIPlayerAction PlantTreeAction(int i, int j);
// A snowcat garage's area of operations.
TSKIPlayerAction SetAreaAction(size_t building, int i, int j);
TSKIPlayerAction DeleteSectionAction(size_t section);
TSKIPlayerAction DeleteBuildingAction(size_t building);
TSKIPlayerAction ReplaceLiftAction(size_t lift, uint8_t newType);
// The slope window's "Downhill race": the avatar of `tools` races the slope.
TSKIPlayerAction DownhillRaceAction(TSKIConstruction& tools, size_t slope);

}  // namespace vallorn
