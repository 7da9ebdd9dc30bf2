// Averages over the skiers and the sampled history series.
#pragma once

#include <cstdint>

#include "engine/engine.h"

namespace vallorn {

float AverageHappiness(const TSKIEngine& engine);
float AverageCold(const TSKIEngine& engine);
float AverageHunger(const TSKIEngine& engine);
float AverageEnergy(const TSKIEngine& engine);
float AverageSpendingLimit(const TSKIEngine& engine);
void SampleHistory(TSKIEngine& engine);
int32_t CountHappySkiers(const TSKIEngine& engine);

}  // namespace vallorn
