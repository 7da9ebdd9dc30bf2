// The park messages: warnings built every 11th history sample, one of them shown at random
// in the message strip of the in-game menu bar.
#include "engine/economy.h"
#include "engine/engine.h"

namespace vallorn {

namespace {

constexpr int32_t kSamplesPerMessages = 11;
constexpr size_t kFewestSkiers = 6;  // below this no warning is worth showing
constexpr float kLowMood = 30.0f;
constexpr float kGateReach = 24.0f;  // idle skiers this near a lift's gate stand at it
constexpr int kIdleAtGate = 5;       // so many of them at a full queue make a message

// An open lift whose queue is full (its tail slot taken) with idle skiers at its gate: the
// line turns skiers away while other lifts may have room.
bool FullQueueWithIdleSkiers(const TSKIEngine& engine) {
    for (const auto& section : engine.Sections) {
        if (!section->IsLift() || section->Status != kLiftOpen || section->Points.empty() ||
            section->QueueSlots[kQueueTail] == nullptr) {
            continue;
        }
        const TSKIVector& gate = section->Points.front();
        int idle = 0;
        for (const auto& skier : engine.Skiers) {
            if (skier->State == kSkierIdle && GroundDistance(gate, skier->Position) < kGateReach)
                ++idle;
        }
        if (idle >= kIdleAtGate) return true;
    }
    return false;
}

// Riders who paid more than their ticket was worth to them, out of all riders of the open
// lifts, from which the prices are turning skiers away (the profit falls soon after).
constexpr int64_t kExpensiveShareOf = 4;  // one rider in four
constexpr int64_t kFewestRiders = 100;    // before this many rides the share says nothing

// Whether the open lifts' tickets cost too many riders their mood.
bool TicketsTooDear(const TSKIEngine& engine) {
    int64_t dear = 0, riders = 0;
    for (const auto& s : engine.Sections) {
        if (!s->IsLift() || s->Status != kLiftOpen) continue;
        dear += s->TooExpensiveCount;
        riders += s->CustomersServed;
    }
    return riders >= kFewestRiders && dear * kExpensiveShareOf >= riders;
}

}  // namespace

bool BuildingUnlocked(const TSKIEngine& engine, uint8_t type) {
    return type < kBuildingTypeCount && engine.Profile.UnlockedBuildings[type];
}

void ParkMessageSample(TSKIEngine& engine) {
    if (++engine.MessageSamples < kSamplesPerMessages) return;
    engine.MessageSamples = 0;
    BuildParkMessages(engine);
}

void BuildParkMessages(TSKIEngine& engine) {
    if (engine.Park.ParkMissionIndex == kMissionUnlimitedSandbox) return;
    const TSKIParkData& p = engine.Park;
    engine.ParkMessages.clear();
    if (engine.Skiers.size() >= kFewestSkiers) {
        auto add = [&engine](bool condition, const char* text) {
            if (condition) engine.ParkMessages.emplace_back(text);
        };
        add(p.ParkCash < 0, "Cash balance is in negative numbers.");
        add(int64_t(engine.Skiers.size()) >= p.ParkMaxSkiers &&
                BuildingUnlocked(engine, kBuildParking),
            "Maximum parking capacity reached");
        add(p.ParkRatingPercent < 30, "Park rating is terrible. Check the rating stats");
        add(p.ParkAvgHappiness < kLowMood, "Skiers are unhappy.");
        add(p.ParkAvgCold < kLowMood && BuildingUnlocked(engine, kBuildShelter),
            "Skiers are freezing.");
        add(p.ParkAvgHunger < kLowMood && BuildingUnlocked(engine, kBuildStall),
            "Skiers are hungry.");
        add(p.ParkAvgEnergy < kLowMood && BuildingUnlocked(engine, kBuildCot), "Skiers are tired.");
        add(p.ParkRatingLeftUnhappy < -10, "You have bad reputation.");
        add(p.ParkRatingLeftDead < -15 && BuildingUnlocked(engine, kBuildSkiPatrol),
            "Skiers have died on the slope because of slow rescue !");
        add(p.ParkTreesFelled >= 6, "Environmental damage too high. Replant some trees");
        add(p.ParkSnowQuality < 49 && BuildingUnlocked(engine, kBuildSnowCannon),
            "Snow quality is dangerously low.");
        add(p.ParkHourProfit < 0, "Profit in last hour was negative.");
        add(FullQueueWithIdleSkiers(engine),
            "A lift's queue is full and skiers stand idle at its gate. Build another lift.");
        add(TicketsTooDear(engine), "Lift tickets are too expensive. Skiers are turning away.");
    }
    if (engine.ParkMessages.empty()) {
        engine.ShownParkMessage.clear();
        return;
    }
    engine.ShownParkMessage =
        engine.ParkMessages[size_t(engine.Rng.Below(int32_t(engine.ParkMessages.size())))];
}

}  // namespace vallorn
