#include "base/park_data.h"

#include <algorithm>
#include <vector>

#include "base/types.h"

namespace vallorn {

namespace {

using P = TSKIParkData;
using K = TParkKeyKind;

constexpr int64_t kCountMax = 65535;
// The clock of a saved game: far enough from the end of its 32-bit range that the days go on
// for millions of days (a clock at the end of the range would stop, and the day with it).
constexpr int64_t kParkTimeMax = int64_t(1) << 30;

// The loan and the money spent on interest, marketing and trees are never below zero: a file
// that says otherwise is refused.
const TParkKey kKeys[] = {
    {"ParkName", &P::ParkName, K::Saved, 1},
    {"ParkTime", &P::ParkTime, K::Saved, 2, 0, -1, kParkTimeMax},  // -1: before the first tick
    {"ParkCash", &P::ParkCash, K::Saved, 3, 100000000},
    {"ParkMaxSkiers", &P::ParkMaxSkiers, K::Saved, 4, 300},
    {"ParkRating", &P::ParkRating, K::Saved, 5},
    {"ParkRatingPercent", &P::ParkRatingPercent, K::Live},
    {"ParkAvgHappiness", &P::ParkAvgHappiness, K::Live},
    {"ParkRatingLeftUnhappy", &P::ParkRatingLeftUnhappy, K::Saved, 6},
    {"ParkRatingLeftDead", &P::ParkRatingLeftDead, K::Saved, 7},
    {"ParkSlopeScore", &P::ParkSlopeScore, K::Live},
    {"ParkLiftScore", &P::ParkLiftScore, K::Live},
    {"ParkBuildScore", &P::ParkBuildScore, K::Live},
    {"ParkLeftBecauseUnhappy", &P::ParkLeftBecauseUnhappy, K::Saved, 8, 0, 0, kCountMax},
    {"ParkLeftBecauseNoMoney", &P::ParkLeftBecauseNoMoney, K::Saved, 9, 0, 0, kCountMax},
    {"ParkLeftBecauseDied", &P::ParkLeftBecauseDied, K::Saved, 10, 0, 0, kCountMax},
    {"ParkCamPosX", std::monostate{}, K::CameraX, 11, -256},
    {"ParkCamPosZ", std::monostate{}, K::CameraZ, 12, 256},
    {"ParkAccidentCooldown", &P::ParkAccidentCooldown, K::Live},
    {"ParkSpeed", &P::ParkSpeed, K::Live},
    {"ParkWeather", &P::ParkWeather, K::Weather, 22, 0.5},
    {"ParkTreesFelled", &P::ParkTreesFelled, K::Live},
    {"ParkLoan", &P::ParkLoan, K::Saved, 13, 0, 0},
    {"ParkLoanInterest", &P::ParkLoanInterest, K::Live},
    {"ParkLoanExpence", &P::ParkLoanExpence, K::Saved, 14, 0, 0},
    {"ParkMarketingExpence", &P::ParkMarketingExpence, K::Saved, 15, 0, 0},
    {"ParkSpawnSpeed", &P::ParkSpawnSpeed, K::Saved, 16, 20},
    {"ParkSpawnCounter", &P::ParkSpawnCounter, K::Live},
    {"ParkSlopeLength", &P::ParkSlopeLength, K::Live},
    {"ParkSnowQuality", &P::ParkSnowQuality, K::Live},
    {"ParkMissionIndex", &P::ParkMissionIndex, K::Saved, 17, kMissionNone},
    {"ParkEcoExpence", &P::ParkEcoExpence, K::Saved, 18, 0, 0},
    {"ParkAvgCold", &P::ParkAvgCold, K::Live},
    {"ParkAvgHunger", &P::ParkAvgHunger, K::Live},
    {"ParkAvgEnergy", &P::ParkAvgEnergy, K::Live},
    {"ParkRewards", &P::ParkRewards, K::Saved, 19},
    {"ParkHourProfit", &P::ParkHourProfit, K::Live},
    {"ParkSandboxDiff", &P::ParkSandboxDiff, K::Saved, 20, 1, 0, 255},
    {"ParkPopularity", &P::ParkPopularity, K::Saved, 21},
    // The simulated seconds gathered toward the next accounting hour and history sample, so
    // that a park saved in the middle of an hour pays that hour's running costs after a load.
    {"ParkHourClock", std::monostate{}, K::HourClock, 23},
    {"ParkHistoryClock", std::monostate{}, K::HistoryClock, 24},
};

}  // namespace

std::span<const TParkKey> ParkKeys() {
    return kKeys;
}

std::span<const TParkKey* const> SavedParkKeys() {
    static const auto saved = [] {
        std::vector<const TParkKey*> keys;
        for (const TParkKey& k : kKeys)
            if (k.SavedAt) keys.push_back(&k);
        std::sort(keys.begin(), keys.end(),
                  [](const TParkKey* a, const TParkKey* b) { return a->SavedAt < b->SavedAt; });
        return keys;
    }();
    return saved;
}

void CopyParkField(const TParkKey& key, const TSKIParkData& from, TSKIParkData& to) {
    std::visit(
        [&](auto field) {
            if constexpr (!std::is_same_v<decltype(field), std::monostate>) to.*field = from.*field;
        },
        key.Field);
}

}  // namespace vallorn
