// Averages over the skiers and the history series behind the statistics graphs.
#include <cmath>

#include "engine/engine.h"

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

float TSKIEngine::AverageHappiness() const {
    return NeedAverage(Skiers, [](const TSKISkier& s) { return s.Happiness; });
}
float TSKIEngine::AverageCold() const {
    return NeedAverage(Skiers, [](const TSKISkier& s) { return s.Cold; });
}
float TSKIEngine::AverageHunger() const {
    return NeedAverage(Skiers, [](const TSKISkier& s) { return s.Hunger; });
}
float TSKIEngine::AverageEnergy() const {
    return NeedAverage(Skiers, [](const TSKISkier& s) { return s.Energy; });
}

float TSKIEngine::AverageSpendingLimit() const {
    if (Skiers.empty()) return 0;
    double sum = 0;
    for (const auto& s : Skiers) sum += s->SpendingLimit;
    return float(sum / double(Skiers.size()));
}

int32_t TSKIEngine::CountHappySkiers() const {
    int32_t n = 0;
    for (const auto& s : Skiers) n += s->Happiness > kNeedLow;
    return n;
}

void TSKIEngine::SampleHistory() {
    const int32_t samples[kHistoryInUse] = {
        Park.ParkCash,
        int32_t(Skiers.size()),
        int32_t(std::floor(AverageHappiness())),
        int32_t(std::floor(AverageHunger())),
        int32_t(std::floor(AverageCold())),
        int32_t(std::floor(AverageEnergy())),
        int32_t(std::floor(Park.ParkRatingPercent)),
        int32_t(std::floor(AverageSpendingLimit())),
        Park.ParkHourProfit,
    };
    for (int k = 0; k < kHistoryInUse; ++k) {
        auto& series = History[size_t(k)];
        series.push_front(samples[k]);
        if (series.size() > kHistoryLength) series.pop_back();
    }
    ++HistorySamples;
}

}  // namespace vallorn
