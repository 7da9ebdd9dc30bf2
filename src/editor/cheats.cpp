// The editor's cheats.
#include "editor/cheats.h"

#include "base/saturating.h"
#include "construction/construction.h"
#include "engine/clock.h"
#include "entities/building.h"
#include "entities/section.h"
#include "entities/skier.h"

namespace vallorn {

void GiveCash(TSKIEngine& engine) {
    AddTo(engine.Park.ParkCash, kGiveCash);
}

void ForgetAllCosts(TSKIEngine& engine) {
    for (const auto& s : engine.Sections)
        if (s->IsLift()) s->InvestedMoney = 0;
    engine.Park.ParkEcoExpence = 0;
    for (const auto& b : engine.Buildings) b->CostsForgotten = 1;
}

void KillAllSkiers(TSKIEngine& engine) {
    for (size_t k = engine.Skiers.size(); k-- > 0;) RemoveSkier(engine, k);
    engine.Park.ParkLeftBecauseUnhappy = 0;
    engine.Park.ParkLeftBecauseNoMoney = 0;
    engine.Park.ParkLeftBecauseDied = 0;
}

void EraseRecord(TSKIEngine& engine, int index) {
    if (index < 0 || size_t(index) >= engine.Sections.size()) return;
    TSKISection& s = *engine.Sections[size_t(index)];
    if (s.IsSlope()) s.InvestedMoney = 0;
}

void KillAllGondolas(TSKIEngine& engine) {
    for (const auto& s : engine.Sections) {
        if (!s->IsLift()) continue;
        for (const auto& skier : engine.Skiers) {
            if (skier->State != kSkierOnLift || skier->CurrentSection != s.get()) continue;
            skier->State = kSkierIdle;
            skier->CurrentSection = nullptr;
        }
        s->LoadingCarrier = nullptr;
        s->Carriers.clear();
        s->Filling = true;
    }
}

int DeleteAllLandmarks(TSKIEngine& engine) {
    int removed = 0;
    for (size_t k = engine.Buildings.size(); k-- > 0;) {
        if (k < engine.Buildings.size() && engine.Buildings[k]->Type == kBuildSightseeing &&
            DeleteBuilding(engine, k))
            ++removed;
    }
    return removed;
}

void UnlockAll(TSKIEngine& engine, TSKIProfile& profile) {
    profile.Terms.UnlockedLifts.fill(true);
    profile.Terms.UnlockedBuildings.fill(true);
    for (TSKIMissionData& m : profile.Missions) m.State = kMissionUnlocked;
    engine.Profile.UnlockedLifts = profile.Terms.UnlockedLifts;
    engine.Profile.UnlockedBuildings = profile.Terms.UnlockedBuildings;
}

}  // namespace vallorn
