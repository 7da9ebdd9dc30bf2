// The park messages: warnings built every 11th history sample, one of them shown at random
// in the message strip of the in-game menu bar.
#include <algorithm>
#include <string>
#include <vector>

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

// A lift or restaurant turns skiers away for its price when, since the messages were last
// built (about a day), one in four of its riders or customers paid more than the service was
// worth to them: each of them loses mood, the rating follows and with it what skiers pay, so
// the player is told which place it is before the profit falls.
constexpr int32_t kDearShareOf = 4;    // one in four
constexpr int32_t kFewestServed = 20;  // fewer served say nothing

bool TurnsAwayForPrice(uint16_t dear, uint16_t served, uint16_t& dearMark, uint16_t& servedMark) {
    const int32_t newDear = int32_t(dear) - int32_t(dearMark);
    const int32_t newServed = int32_t(served) - int32_t(servedMark);
    dearMark = dear;
    servedMark = served;
    return newServed >= kFewestServed && newDear * kDearShareOf >= newServed;
}

// The message for every open lift and building whose price turns skiers away, once each.
std::vector<std::string> TooExpensivePlaces(TSKIEngine& engine) {
    std::vector<std::string> places;
    auto add = [&places](const std::string& name) {
        std::string text = "Skiers find the " + name + " too expensive. Lower its price.";
        if (std::find(places.begin(), places.end(), text) == places.end())
            places.push_back(std::move(text));
    };
    for (auto& s : engine.Sections) {
        if (!s->IsLift()) continue;
        if (TurnsAwayForPrice(s->TooExpensiveCount, s->CustomersServed, s->TooExpensiveAtMessages,
                              s->ServedAtMessages) &&
            s->Status == kLiftOpen)
            add(s->Name);
    }
    for (auto& b : engine.Buildings) {
        if (TurnsAwayForPrice(b->TooExpensiveCount, b->CustomersServed, b->TooExpensiveAtMessages,
                              b->ServedAtMessages) &&
            b->Open)
            add(b->Params().Name);
    }
    return places;
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
    const std::vector<std::string> dearPlaces = TooExpensivePlaces(engine);
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
        for (const std::string& text : dearPlaces) engine.ParkMessages.push_back(text);
    }
    if (engine.ParkMessages.empty()) {
        engine.ShownParkMessage.clear();
        return;
    }
    engine.ShownParkMessage =
        engine.ParkMessages[size_t(engine.Rng.Below(int32_t(engine.ParkMessages.size())))];
}

}  // namespace vallorn
