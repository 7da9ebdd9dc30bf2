// The editor's cheats on the "Level" page. "End day" and "Add skiers" are the engine's day
// change (engine/clock.h) and SpawnSkiers (engine/arrivals.h) called directly.
#pragma once

#include "engine/engine.h"
#include "missions/profile.h"

namespace vallorn {

constexpr int32_t kGiveCash = 100000;

// "Give cash": ParkCash += 100000 (held at the largest amount).
void GiveCash(TSKIEngine& engine);
// "Forget all costs": no lift keeps invested money, tree planting spent becomes 0 and every
// building's costs are forgotten.
void ForgetAllCosts(TSKIEngine& engine);
// "Kill": every skier leaves at once (lifts, queues, seats and vehicles forget them) and the
// three counts of skiers who left become 0.
void KillAllSkiers(TSKIEngine& engine);
// "Erase record": the record of section `index` when it is a slope becomes 0.
void EraseRecord(TSKIEngine& engine, int index);
// "KillAllGondolas": every lift loses its carriers and fills again from the lower station;
// the skiers who rode them stand idle, on no lift.
void KillAllGondolas(TSKIEngine& engine);
// "Delete all landmarks": every building of the landmark type (sightseeing), last to first,
// through the normal building removal (which asks first). Returns how many went.
int DeleteAllLandmarks(TSKIEngine& engine);
// "Unlock all": every lift kind and building type unlocked in the profile (and the park's
// copy of its terms), every mission unlocked, completed ones included.
void UnlockAll(TSKIEngine& engine, TSKIProfile& profile);

}  // namespace vallorn
