// The park state record: one live copy in the engine and a start-of-day snapshot.
#pragma once

#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <type_traits>
#include <variant>

namespace vallorn {

// ParkMissionIndex: 0 and up a campaign mission (its number); below zero free play: a sandbox
// game, a game on an add-on level, an unlimited sandbox, or no mission set at all.
constexpr int32_t kMissionAddon = -98;
constexpr int32_t kMissionUnlimitedSandbox = -99;
constexpr int32_t kMissionNone = -100;
constexpr bool IsCampaignMission(int32_t missionIndex) {
    return missionIndex >= 0;
}

// ParkSandboxDiff of an unlimited sandbox: needs never drive skiers away and the rating is fixed.
constexpr uint8_t kSandboxDiffUnlimited = 99;

struct TSKIParkData {
    std::string ParkName = "SKI Park";
    int32_t ParkTime = 0;
    int32_t ParkLiftCount = 0;   // snapshots only
    int32_t ParkSlopeCount = 0;  // snapshots only
    int32_t ParkSkierCount = 0;  // snapshots only
    int32_t ParkCash = 50000;
    int32_t ParkMaxSkiers = 300;
    float ParkRating = 0;
    float ParkRatingPercent = 0;
    float ParkAvgHappiness = 0;
    float ParkRatingLeftUnhappy = 0;
    float ParkRatingLeftDead = 0;
    float ParkSlopeScore = 0;
    float ParkLiftScore = 0;
    float ParkBuildScore = 0;
    uint16_t ParkLeftBecauseUnhappy = 0;
    uint16_t ParkLeftBecauseNoMoney = 0;
    uint16_t ParkLeftBecauseDied = 0;
    int32_t ParkAccidentCooldown = 0;
    float ParkSpeed = 1.0f;
    float ParkWeather = 0.5f;
    std::string ParkWeatherText;  // snapshots only
    int32_t ParkTreesFelled = 0;
    int32_t ParkLoan = 0;
    int32_t ParkLoanInterest = 0;
    int32_t ParkLoanExpence = 0;
    int32_t ParkMarketingExpence = 0;
    int32_t ParkSpawnSpeed = 20;
    int32_t ParkSpawnCounter = 0;
    float ParkSlopeLength = 0;
    float ParkSnowQuality = 0;
    int32_t ParkMissionIndex = kMissionNone;
    uint8_t AccomplishedShown = 0;
    int32_t ParkEcoExpence = 0;
    float ParkAvgCold = 0;
    float ParkAvgHunger = 0;
    float ParkAvgEnergy = 0;
    int32_t ParkRewards = 0;
    int32_t ParkHourProfit = 0;
    uint8_t ParkSandboxDiff = 1;
    float ParkPopularity = 0;
    float Reserved = 0;
};

// One park key: its name, the park record field it names, and how saved games hold it.
using TParkField =
    std::variant<std::monostate, std::string TSKIParkData::*, int32_t TSKIParkData::*,
                 uint16_t TSKIParkData::*, uint8_t TSKIParkData::*, float TSKIParkData::*>;

enum class TParkKeyKind : uint8_t {
    Live,     // worked out while the park runs: reported, never saved
    Saved,    // saved and read back; an integer outside [Min, Max] refuses the file
    Weather,  // saved; read held to 0..1, a value that does not parse draws a random weather
    CameraX,  // the camera's focus point, saved among the park keys (no park field)
    CameraZ,
    HourClock,     // the engine's progress through the accounting hour (no park field)
    HistoryClock,  // the engine's progress toward the next history sample (no park field)
};

struct TParkKey {
    const char* Name;
    TParkField Field;  // std::monostate for the camera and clock keys
    TParkKeyKind Kind;
    uint8_t SavedAt = 0;  // place among the saved park keys (1 = first); 0 when not saved
    double Default = 0;   // read when a saved game lacks the key
    int64_t Min = std::numeric_limits<int32_t>::min();
    int64_t Max = std::numeric_limits<int32_t>::max();
};

// Every park key, in the order of the runner's report (the saved keys in their saved order
// are SavedParkKeys()).
std::span<const TParkKey> ParkKeys();
std::span<const TParkKey* const> SavedParkKeys();

// Copies the field `key` names from `from` to `to` (nothing for the camera and clock keys).
void CopyParkField(const TParkKey& key, const TSKIParkData& from, TSKIParkData& to);

// Calls `f` with the field of `park` that `key` names; does nothing for the camera and clock
// keys.
template <class Park, class F>
void VisitParkField(const TParkKey& key, Park& park, F&& f) {
    std::visit(
        [&](auto field) {
            if constexpr (!std::is_same_v<decltype(field), std::monostate>) f(park.*field);
        },
        key.Field);
}

}  // namespace vallorn
