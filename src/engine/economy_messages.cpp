// The park messages: warnings built every 11th history sample, one of them shown at random
// in the message strip of the in-game menu bar.
#include "engine/engine.h"

namespace vallorn {

namespace {

constexpr int32_t kSamplesPerMessages = 11;
constexpr size_t kFewestSkiers = 6;  // below this no warning is worth showing
constexpr float kLowMood = 30.0f;

}  // namespace

bool TSKIEngine::BuildingUnlocked(uint8_t type) const {
    return type < kBuildingTypeCount && Profile.UnlockedBuildings[type];
}

void TSKIEngine::ParkMessageSample() {
    if (++MessageSamples < kSamplesPerMessages) return;
    MessageSamples = 0;
    BuildParkMessages();
}

void TSKIEngine::BuildParkMessages() {
    if (Park.ParkMissionIndex == kMissionUnlimitedSandbox) return;
    const TSKIParkData& p = Park;
    ParkMessages.clear();
    if (Skiers.size() >= kFewestSkiers) {
        auto add = [this](bool condition, const char* text) {
            if (condition) ParkMessages.emplace_back(text);
        };
        add(p.ParkCash < 0, "Cash balance is in negative numbers.");
        add(int64_t(Skiers.size()) >= p.ParkMaxSkiers && BuildingUnlocked(kBuildParking),
            "Maximum parking capacity reached");
        add(p.ParkRatingPercent < 30, "Park rating is terrible. Check the rating stats");
        add(p.ParkAvgHappiness < kLowMood, "Skiers are unhappy.");
        add(p.ParkAvgCold < kLowMood && BuildingUnlocked(kBuildShelter), "Skiers are freezing.");
        add(p.ParkAvgHunger < kLowMood && BuildingUnlocked(kBuildStall), "Skiers are hungry.");
        add(p.ParkAvgEnergy < kLowMood && BuildingUnlocked(kBuildCot), "Skiers are tired.");
        add(p.ParkRatingLeftUnhappy < -10, "You have bad reputation.");
        add(p.ParkRatingLeftDead < -15 && BuildingUnlocked(kBuildSkiPatrol),
            "Skiers have died on the slope because of slow rescue !");
        add(p.ParkTreesFelled >= 6, "Environmental damage too high. Replant some trees");
        add(p.ParkSnowQuality < 49 && BuildingUnlocked(kBuildSnowCannon),
            "Snow quality is dangerously low.");
        add(p.ParkHourProfit < 0, "Profit in last hour was negative.");
    }
    if (ParkMessages.empty()) {
        MessageStripVisible = false;
        ShownParkMessage.clear();
        return;
    }
    MessageStripVisible = true;
    ShownParkMessage = ParkMessages[size_t(Rng.Below(int32_t(ParkMessages.size())))];
}

}  // namespace vallorn
