// Averages over the skiers and the history series behind the statistics graphs.
#include <cmath>

#include "engine/engine.h"
#include "engine/history.h"

namespace vallorn {

namespace {

// Maps the skier range -100..100 to 0..100; 0 without skiers.
template <typename Get>
float NeedAverage(const std::vector<std::unique_ptr<TSKISkier>>& skiers, Get get) {
    if (skiers.empty()) return 0;
    double sum = 0;
    for (const auto& s : skiers) sum += double(get(*s)) + 100.0;
    return float(sum / double(skiers.size()) / 2.0);
}

}  // namespace

float AverageHappiness(const TSKIEngine& engine) {
    return NeedAverage(engine.Skiers, [](const TSKISkier& s) { return s.Happiness; });
}
float AverageCold(const TSKIEngine& engine) {
    return NeedAverage(engine.Skiers, [](const TSKISkier& s) { return s.Cold; });
}
float AverageHunger(const TSKIEngine& engine) {
    return NeedAverage(engine.Skiers, [](const TSKISkier& s) { return s.Hunger; });
}
float AverageEnergy(const TSKIEngine& engine) {
    return NeedAverage(engine.Skiers, [](const TSKISkier& s) { return s.Energy; });
}

float AverageSpendingLimit(const TSKIEngine& engine) {
    if (engine.Skiers.empty()) return 0;
    double sum = 0;
    for (const auto& s : engine.Skiers) sum += s->SpendingLimit;
    return float(sum / double(engine.Skiers.size()));
}

int32_t CountHappySkiers(const TSKIEngine& engine) {
    int32_t n = 0;
    for (const auto& s : engine.Skiers) n += s->Happiness > kNeedLow;
    return n;
}

void SampleHistory(TSKIEngine& engine) {
    const int32_t samples[kHistoryInUse] = {
        engine.Park.ParkCash,
        int32_t(engine.Skiers.size()),
        int32_t(std::floor(AverageHappiness(engine))),
        int32_t(std::floor(AverageHunger(engine))),
        int32_t(std::floor(AverageCold(engine))),
        int32_t(std::floor(AverageEnergy(engine))),
        int32_t(std::floor(engine.Park.ParkRatingPercent)),
        int32_t(std::floor(AverageSpendingLimit(engine))),
        engine.Park.ParkHourProfit,
    };
    for (int k = 0; k < kHistoryInUse; ++k) {
        auto& series = engine.History[size_t(k)];
        series.push_front(samples[k]);
        if (series.size() > kHistoryLength) series.pop_back();
    }
    ++engine.HistorySamples;
}

}  // namespace vallorn
