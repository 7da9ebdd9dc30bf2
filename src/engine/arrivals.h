// Where and how skiers arrive at the park.
#pragma once

#include "engine/engine.h"

namespace vallorn {

// Returns how many skiers came: none when the park is full and capacity is respected, and never
// more than bring the park to kMaxParkSkiers, even when capacity is ignored.
int SpawnSkiers(TSKIEngine& engine, int count, TSKIVector point, int wealthLevel, int skillLevel,
                bool ignoreCapacity);
TSKIVector UpdateArrivalPoint(TSKIEngine& engine);
// The morning's returning skiers (idle, as the day change leaves them) each start at one of
// the open lots drawn at random, so that a resort with several lots is not entered through
// one of them alone. With fewer than two open lots nothing changes.
void SpreadReturningSkiers(TSKIEngine& engine);
void AllocateParking(TSKIEngine& engine);

}  // namespace vallorn
