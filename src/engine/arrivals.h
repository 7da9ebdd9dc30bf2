// Where and how skiers arrive at the park.
#pragma once

#include "engine/engine.h"

namespace vallorn {

// Returns how many skiers came: none when the park is full and capacity is respected, and never
// more than bring the park to kMaxParkSkiers, even when capacity is ignored.
int SpawnSkiers(TSKIEngine& engine, int count, TSKIVector point, int wealthLevel, int skillLevel,
                bool ignoreCapacity);
TSKIVector UpdateArrivalPoint(TSKIEngine& engine);
void AllocateParking(TSKIEngine& engine);

}  // namespace vallorn
