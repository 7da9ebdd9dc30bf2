// The park's rating, the accounting hour, loans, marketing and PR.
#include <algorithm>
#include <cmath>

#include "base/saturating.h"
#include "engine/engine.h"

namespace vallorn {

namespace {

constexpr float kScoreCap = 25.0f;          // slope, lift and building parts of the percentage
constexpr float kFullSlopeMetres = 500.0f;  // a slope this long counts fully
constexpr float kRedBonus = 0.25f;          // a wholly red slope counts 25 % more
constexpr float kBlackBonus = 0.5f;         // a wholly black slope counts 50 % more
constexpr float kMaxLiftQuality = 2.0f;
constexpr float kPRPopularity = 20.0f;

const char* const kMarketingNoMoney = "Marketing campaign - Warning: not enough money!";

// Building types whose hour counts only their running cost in the hour's profit.
bool ChargedOnly(uint8_t type) {
    switch (type) {
        case kBuildSnowCannon:
        case kBuildRescueStation:
        case kBuildSkiPatrol:
        case kBuildHospital:
        case kBuildSnowcatGarage:
        case kBuildCot:
        case kBuildShelter:
        case kBuildParking:
            return true;
        default:
            return false;
    }
}

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

float TSKIEngine::SlopeQuality(const TSKISection& slope) const {
    const float metres =
        slope.LengthMetres > 0 ? slope.LengthMetres : slope.Length() * kMetresPerUnit;
    const float length = std::clamp(metres / kFullSlopeMetres, 0.0f, 1.0f);
    return length *
           (1.0f + kRedBonus * slope.RedShare / 100.0f + kBlackBonus * slope.BlackShare / 100.0f);
}

float TSKIEngine::LiftQuality(const TSKISection& lift) const {
    if (lift.LiftType >= kLiftTypeCount) return 0;
    return std::min(kMaxLiftQuality,
                    Params.Lifts[lift.LiftType].ServiceQuality + lift.UpgradeBonus);
}

void TSKIEngine::UpdateRating() {
    TSKIParkData& p = Park;
    const TSKIGameParams& g = Params.Game;

    // 1. The skiers' mood.
    p.ParkAvgHappiness = AverageHappiness();
    p.ParkAvgCold = AverageCold();
    p.ParkAvgHunger = AverageHunger();
    p.ParkAvgEnergy = AverageEnergy();

    // 2. What the park offers.
    float slopes = 0, lifts = 0, buildings = 0;
    for (const auto& s : Sections) {
        if (s->IsSlope()) {
            slopes += SlopeQuality(*s) * g.SlopeRating;
        } else if (s->LiftType < kLiftTypeCount) {
            lifts += LiftQuality(*s) * Params.Lifts[s->LiftType].Rating;
        }
    }
    for (const auto& b : Buildings) {
        if (b->Type < kBuildingTypeCount) buildings += Params.Buildings[b->Type].Rating;
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

    // 5., 6. The shown percentage caps the three offer parts; the raw rating does not.
    const float common = p.ParkAvgHappiness + p.ParkRatingLeftUnhappy + p.ParkRatingLeftDead -
                         float(p.ParkTreesFelled) + p.ParkPopularity;
    p.ParkRatingPercent =
        (std::clamp(p.ParkSlopeScore, 0.0f, kScoreCap) +
         std::clamp(p.ParkLiftScore, 0.0f, kScoreCap) +
         std::clamp(p.ParkBuildScore, 0.0f, kScoreCap) + p.ParkSnowQuality / 4.0f + common) /
        2.0f;
    p.ParkRating =
        p.ParkSlopeScore + p.ParkLiftScore + p.ParkBuildScore + p.ParkSnowQuality + common;

    // 7. The unlimited sandbox has a fixed rating.
    if (p.ParkSandboxDiff == kSandboxDiffUnlimited) {
        p.ParkRatingPercent = 100.0f;
        p.ParkRating = 200.0f;
    }
}

void TSKIEngine::HourlyAccounting() {
    TSKIParkData& p = Park;

    // 1. Sections: the hour's takings become the previous period's; open lifts are paid for.
    for (auto& s : Sections) {
        s->PreviousTakings = s->CurrentTakings;
        s->CurrentTakings = 0;
        if (s->IsLift() && s->Status == kLiftOpen) {
            TakeFrom(p.ParkCash, s->RunningCost);
            AddTo(s->TotalExpense, s->RunningCost);
        }
    }

    // 2. Buildings likewise; their running-cost total stops below 65000.
    for (auto& b : Buildings) {
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
    for (const auto& s : Sections) {
        if (s->IsLift() && s->Status == kLiftOpen) {
            profit += int32_t(s->PreviousTakings) - int32_t(s->RunningCost);
        }
    }
    // 4. ... and the open buildings; the sightseeing building is paid for but not counted.
    for (const auto& b : Buildings) {
        if (!b->Open) continue;
        const int32_t cost = b->Params().RunningCost;
        if (ChargedOnly(b->Type)) {
            profit -= cost;
        } else if (Sells(b->Type)) {
            profit += int32_t(b->PreviousTakings) - cost;
        }
    }
    p.ParkHourProfit = profit;
    HourAccumulator = 0;  // 5.
}

bool TSKIEngine::TakeLoan(int32_t amount) {
    if (amount <= 0 || int64_t(Park.ParkLoan) + amount > Profile.LoanLimit) return false;
    AddTo(Park.ParkLoan, amount);
    AddTo(Park.ParkCash, amount);
    Park.ParkLoanInterest =
        int32_t(std::floor(double(Profile.LoanInterest) * double(Park.ParkLoan) / 100.0));
    return true;
}

bool TSKIEngine::RepayLoan(int32_t amount) {
    if (amount <= 0 || Park.ParkCash < amount || Park.ParkLoan < amount) return false;
    TakeFrom(Park.ParkLoan, amount);
    TakeFrom(Park.ParkCash, amount);
    Park.ParkLoanInterest =
        int32_t(std::floor(double(Profile.LoanInterest) * double(Park.ParkLoan) / 100.0));
    return true;
}

int32_t TSKIEngine::MarketingPrice(int priceType) const {
    switch (priceType) {
        case 1:
            return std::max(0, Profile.MarketingPriceCheap);
        case 2:
            return std::max(0, Profile.MarketingPriceNormal);
        case 3:
            return std::max(0, Profile.MarketingPriceVIP);
        default:
            return 0;
    }
}

std::string TSKIEngine::MarketingPriceWarning(int priceType) const {
    const int32_t price = MarketingPrice(priceType);
    return price > 0 && Park.ParkCash < price ? kMarketingNoMoney : "";
}

TSKIMarketingResult TSKIEngine::StartMarketingCampaign(int priceType, int readerType) {
    TSKIMarketingResult result;
    const int32_t price = MarketingPrice(priceType);
    if (price <= 0 || readerType < 1 || readerType > 3) return result;
    if (Park.ParkCash < price) {
        result.Text = kMarketingNoMoney;
        return result;
    }
    TakeFrom(Park.ParkCash, price);
    AddTo(Park.ParkMarketingExpence, price);
    const int32_t n = 10 + Rng.Range(0, 9);
    const TSKIVector point = UpdateArrivalPoint();
    SpawnSkiers(n, point, priceType, readerType, true);
    if (ArrivalBuilding) {
        ArrivalBuilding->CustomersServed = CappedAdd(ArrivalBuilding->CustomersServed, n);
    }
    static const char* const kWealth[] = {"poor ", "", "rich "};
    static const char* const kReaders[] = {"begginers have arrived.", "skiers have arrived.",
                                           "skilled skiers have arrived."};
    result.Started = true;
    result.Arrivals = n;
    result.Text = std::to_string(n) + " new " + kWealth[priceType - 1] + kReaders[readerType - 1];
    return result;
}

bool TSKIEngine::RunPRCampaign() {
    const int32_t price = Profile.PRCampPrice;
    if (price <= 0 || Park.ParkCash < price) return false;
    Park.ParkPopularity += kPRPopularity;
    AddTo(Park.ParkMarketingExpence, price);
    TakeFrom(Park.ParkCash, price);
    return true;
}

}  // namespace vallorn
