// The park's rating, the accounting hour, loans, marketing and PR.
#include <algorithm>
#include <cmath>
#include <limits>

#include "base/saturating.h"
#include "engine/arrivals.h"
#include "engine/economy.h"
#include "engine/engine.h"
#include "engine/history.h"

namespace vallorn {

namespace {

constexpr float kScoreCap = 25.0f;          // slope, lift and building parts of the percentage
constexpr float kFullSlopeMetres = 500.0f;  // a slope this long counts fully
constexpr float kRedBonus = 0.25f;          // a wholly red slope counts 25 % more
constexpr float kBlackBonus = 0.5f;         // a wholly black slope counts 50 % more
constexpr float kMaxLiftQuality = 2.0f;
constexpr float kPRPopularity = 20.0f;

const char* const kMarketingNoMoney = "Marketing campaign - Warning: not enough money!";

// Building types that sell a service: their takings count in the hour's profit.
bool Sells(uint8_t type) {
    return type == kBuildStall || type == kBuildSnowBar || type == kBuildSelfService ||
           type == kBuildKiosk;
}

// A penalty below zero recovers by its cooldown; at zero or above it rests at zero.
void Recover(float& penalty, float cooldown) {
    if (penalty >= 0) {
        penalty = 0;
    } else {
        penalty += cooldown;
    }
}

}  // namespace

float SlopeQuality(const TSKISection& slope) {
    const float metres =
        slope.LengthMetres > 0 ? slope.LengthMetres : slope.Length() * kMetresPerUnit;
    const float length = std::clamp(metres / kFullSlopeMetres, 0.0f, 1.0f);
    return length *
           (1.0f + kRedBonus * slope.RedShare / 100.0f + kBlackBonus * slope.BlackShare / 100.0f);
}

float LiftQuality(const TSKIEngine& engine, const TSKISection& lift) {
    if (lift.LiftType >= kLiftTypeCount) return 0;
    return std::min(kMaxLiftQuality,
                    engine.Params.Lifts[lift.LiftType].ServiceQuality + lift.UpgradeBonus);
}

void UpdateRating(TSKIEngine& engine) {
    TSKIParkData& p = engine.Park;
    const TSKIGameParams& g = engine.Params.Game;

    // 1. The skiers' mood.
    p.ParkAvgHappiness = AverageHappiness(engine);
    p.ParkAvgCold = AverageCold(engine);
    p.ParkAvgHunger = AverageHunger(engine);
    p.ParkAvgEnergy = AverageEnergy(engine);

    // 2. What the park offers.
    float slopes = 0, lifts = 0, buildings = 0;
    for (const auto& s : engine.Sections) {
        if (s->IsSlope()) {
            slopes += SlopeQuality(*s) * g.SlopeRating;
        } else if (s->LiftType < kLiftTypeCount) {
            lifts += LiftQuality(engine, *s) * engine.Params.Lifts[s->LiftType].Rating;
        }
    }
    for (const auto& b : engine.Buildings) {
        if (b->Type < kBuildingTypeCount) buildings += engine.Params.Buildings[b->Type].Rating;
    }
    p.ParkSlopeScore = slopes;
    p.ParkLiftScore = lifts;
    p.ParkBuildScore = buildings;

    // 3., 4. Penalties recover; popularity fades.
    Recover(p.ParkRatingLeftUnhappy, g.RatingLeftUnhappyCooldown);
    Recover(p.ParkRatingLeftDead, g.RatingLeftDiedCooldown);
    if (p.ParkPopularity > 0) {
        p.ParkPopularity -= g.PopularityCooldown;
    } else {
        p.ParkPopularity = 0;
    }

    // 5., 6. The shown percentage caps the three offer parts and stops at 100 however much
    // popularity campaigns bought; the raw rating does not.
    const float common = p.ParkAvgHappiness + p.ParkRatingLeftUnhappy + p.ParkRatingLeftDead -
                         float(p.ParkTreesFelled) + p.ParkPopularity;
    p.ParkRatingPercent =
        (std::clamp(p.ParkSlopeScore, 0.0f, kScoreCap) +
         std::clamp(p.ParkLiftScore, 0.0f, kScoreCap) +
         std::clamp(p.ParkBuildScore, 0.0f, kScoreCap) + p.ParkSnowQuality / 4.0f + common) /
        2.0f;
    p.ParkRatingPercent = std::min(p.ParkRatingPercent, 100.0f);
    p.ParkRating =
        p.ParkSlopeScore + p.ParkLiftScore + p.ParkBuildScore + p.ParkSnowQuality + common;

    // 7. The unlimited sandbox has a fixed rating.
    if (p.ParkSandboxDiff == kSandboxDiffUnlimited) {
        p.ParkRatingPercent = 100.0f;
        p.ParkRating = 200.0f;
    }
}

void HourlyAccounting(TSKIEngine& engine) {
    TSKIParkData& p = engine.Park;

    // 1. Sections: the hour's takings become the previous period's; open lifts are paid for.
    for (auto& s : engine.Sections) {
        s->PreviousTakings = s->CurrentTakings;
        s->CurrentTakings = 0;
        if (s->IsLift() && s->Status == kLiftOpen) {
            TakeFrom(p.ParkCash, s->RunningCost);
            AddTo(s->TotalExpense, s->RunningCost);
        }
    }

    // 2. Buildings likewise; their running-cost total stops below 65000.
    for (auto& b : engine.Buildings) {
        b->PreviousTakings = b->CurrentTakings;
        b->CurrentTakings = 0;
        if (b->Open) {
            const int32_t cost = b->Params().RunningCost;
            TakeFrom(p.ParkCash, cost);
            b->TotalExpense = CappedAdd(b->TotalExpense, cost);
        }
    }

    // 3. The hour's profit from the open lifts ...
    int32_t profit = 0;
    for (const auto& s : engine.Sections) {
        if (s->IsLift() && s->Status == kLiftOpen) {
            profit += int32_t(s->PreviousTakings) - int32_t(s->RunningCost);
        }
    }
    // 4. ... and the open buildings; the sightseeing building is paid for but not counted.
    for (const auto& b : engine.Buildings) {
        if (!b->Open) continue;
        const int32_t cost = b->Params().RunningCost;
        if (IsServiceType(b->Type)) {
            profit -= cost;
        } else if (Sells(b->Type)) {
            profit += int32_t(b->PreviousTakings) - cost;
        }
    }
    p.ParkHourProfit = profit;
    engine.HourAccumulator = 0;  // 5.
}

int32_t DailyLoanInterest(const TSKIEngine& engine) {
    const int64_t percent = std::clamp(engine.Profile.LoanInterest, 0, kMaxLoanInterest);
    const int64_t loan = engine.Park.ParkLoan;
    // Rounded toward minus infinity, as the books have always rounded it.
    const int64_t product = loan * percent;
    const int64_t interest = product >= 0 ? product / 100 : -((-product + 99) / 100);
    return int32_t(std::clamp<int64_t>(interest, std::numeric_limits<int32_t>::min(),
                                       std::numeric_limits<int32_t>::max()));
}

bool TakeLoan(TSKIEngine& engine, int32_t amount) {
    if (amount <= 0 || int64_t(engine.Park.ParkLoan) + amount > engine.Profile.LoanLimit)
        return false;
    AddTo(engine.Park.ParkLoan, amount);
    AddTo(engine.Park.ParkCash, amount);
    engine.Park.ParkLoanInterest = DailyLoanInterest(engine);
    return true;
}

bool RepayLoan(TSKIEngine& engine, int32_t amount) {
    if (amount <= 0 || engine.Park.ParkCash < amount || engine.Park.ParkLoan < amount) return false;
    TakeFrom(engine.Park.ParkLoan, amount);
    TakeFrom(engine.Park.ParkCash, amount);
    engine.Park.ParkLoanInterest = DailyLoanInterest(engine);
    return true;
}

int32_t MarketingPrice(const TSKIEngine& engine, int priceType) {
    switch (priceType) {
        case 1:
            return std::max(0, engine.Profile.MarketingPriceCheap);
        case 2:
            return std::max(0, engine.Profile.MarketingPriceNormal);
        case 3:
            return std::max(0, engine.Profile.MarketingPriceVIP);
        default:
            return 0;
    }
}

std::string MarketingPriceWarning(const TSKIEngine& engine, int priceType) {
    const int32_t price = MarketingPrice(engine, priceType);
    return price > 0 && engine.Park.ParkCash < price ? kMarketingNoMoney : "";
}

TSKIMarketingResult StartMarketingCampaign(TSKIEngine& engine, int priceType, int readerType) {
    TSKIMarketingResult result;
    const int32_t price = MarketingPrice(engine, priceType);
    if (price <= 0 || readerType < 1 || readerType > 3) return result;
    if (engine.Park.ParkCash < price) {
        result.Text = kMarketingNoMoney;
        return result;
    }
    TakeFrom(engine.Park.ParkCash, price);
    AddTo(engine.Park.ParkMarketingExpence, price);
    const int32_t n = 10 + engine.Rng.Range(0, 9);
    const TSKIVector point = UpdateArrivalPoint(engine);
    SpawnSkiers(engine, n, point, priceType, readerType, true);
    if (engine.ArrivalBuilding) {
        engine.ArrivalBuilding->CustomersServed =
            CappedAdd(engine.ArrivalBuilding->CustomersServed, n);
    }
    static const char* const kWealth[] = {"poor ", "", "rich "};
    static const char* const kReaders[] = {"begginers have arrived.", "skiers have arrived.",
                                           "skilled skiers have arrived."};
    result.Started = true;
    result.Arrivals = n;
    result.Text = std::to_string(n) + " new " + kWealth[priceType - 1] + kReaders[readerType - 1];
    return result;
}

bool RunPRCampaign(TSKIEngine& engine) {
    const int32_t price = engine.Profile.PRCampPrice;
    if (price <= 0 || engine.Park.ParkCash < price) return false;
    engine.Park.ParkPopularity += kPRPopularity;
    AddTo(engine.Park.ParkMarketingExpence, price);
    TakeFrom(engine.Park.ParkCash, price);
    return true;
}

}  // namespace vallorn
