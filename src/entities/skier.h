// A visitor of the resort.
#pragma once

#include <cstdint>

#include "engine/terrain.h"
#include "engine/types.h"

namespace vallorn {

class TSKIEngine;
class TSKISection;
class TSKIBuilding;

// What creates a skier: filled by the arrivals and by game loading.
struct TSKISkierRecord {
    uint8_t LiftType = 0;
    int32_t Money = 0;
    int32_t SpendingLimit = 0;
    float Cold = 0, Hunger = 0, Happiness = 0;
    float Skill = 0.5f;
    float Energy = 0;
    bool Injured = false;
    TSKIVector Position{0, 0, 0, 1};
    bool Leaving = false;
};

class TSKISkier {
public:
    TSKISkier(TSKIEngine& engine, const TSKISkierRecord& record);

    // Back to the start of a visit: idle, no target, fresh timers.
    void Init();

    TSKIEngine& Engine;
    uint8_t State = kSkierIdle;
    TSKISection* CurrentSection = nullptr;
    float DecisionTimer = 0;
    float Speed = 0;
    float TargetSpeed = 0;
    float PreviousHeight = 0;
    float Carve = 0;
    float CarveTarget = 0;
    float QueueCheckTimer = 0;
    float NeedsTimer = 0;
    uint8_t Preference = 0;
    uint8_t LastLinkCount = 0;
    TSKINavLink CurrentTarget{};
    TSKIVector SmoothingAnchor{0, 0, 0, 1};
    TSKIVector SmoothedPosition{0, 0, 0, 1};
    TSKIVector SeatPosition{0, 0, 0, 1};
    TSKIBuilding* Building = nullptr;
    bool RescueAssigned = false;
    uint8_t ModelVariant = 0;
    uint8_t Animation = 0;
    uint8_t QueueIndex = 64;
    uint8_t LiftType = 0;
    int32_t Money = 0;
    int32_t SpendingLimit = 0;
    float Cold = 0, Hunger = 0, Happiness = 0;
    float Skill = 0.5f;
    float Energy = 0;
    bool Injured = false;
    TSKIVector SpawnPosition{0, 0, 0, 1};
    bool Leaving = false;
    TSKIVector Position{0, 0, 0, 1};
};

}  // namespace vallorn
