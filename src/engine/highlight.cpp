#include "engine/highlight.h"

#include <algorithm>
#include <cmath>

#include "engine/economy.h"
#include "engine/stats_figures.h"

namespace vallorn {

namespace {

struct TColour {
    uint8_t R, G, B;
};
constexpr TColour kRed{255, 0, 0}, kGreen{0, 128, 0}, kBlue{0, 0, 255};

// Service quality 0..2 as a colour from red (0) to green (2).
TColour QualityColour(float quality) {
    const int q = std::clamp(int(quality * 128), 0, 255);
    return {uint8_t(255 - q), uint8_t(q), 0};
}

// The share of customers who found the price too high, from green (none) to red (all).
TColour PriceColour(int tooExpensive, int customers) {
    int v = 0;
    if (customers > 0) {
        v = int(std::lround(std::lround(tooExpensive * 100.0 / customers) * 2.55));
        v = std::clamp(v, 0, 255);
    }
    return {uint8_t(v), uint8_t(255 - v), 0};
}

bool IsType(uint8_t type, std::initializer_list<uint8_t> types) {
    return std::find(types.begin(), types.end(), type) != types.end();
}

}  // namespace

std::vector<TSKIHighlightBeam> HighlightBeams(const TSKIEngine& engine) {
    std::vector<TSKIHighlightBeam> beams;
    const int mode = engine.HighlightMode;
    if (mode <= kHighlightNothing || mode >= kHighlightModes) return beams;
    auto add = [&](const TSKIVector& at, TColour c, float width) {
        beams.push_back({at, c.R, c.G, c.B, width});
    };
    for (const auto& s : engine.Sections) {
        if (!s->IsLift()) continue;
        const TSKIVector at = s->GatePosition;
        switch (mode) {
            case kHighlightClosed:
                if (s->Status == kLiftClosed) add(at, kRed, 3);
                break;
            case kHighlightServiceQuality:
                add(at, QualityColour(s->Type().ServiceQuality + s->UpgradeBonus), 3);
                break;
            case kHighlightProfit:
                add(at, s->TotalIncome - s->TotalExpense >= 0 ? kGreen : kRed, 3);
                break;
            case kHighlightTooExpensive:
                add(at, PriceColour(s->TooExpensiveCount, s->CustomersServed), 3);
                break;
            case kHighlightNoCustomers:
                if (s->CustomersServed == 0) add(at, kRed, 3);
                break;
            case kHighlightPrice:
                add(at, kBlue, s->TicketPrice * 0.2f);
                break;
            case kHighlightQueues:
                if (s->QueueLength > 0) add(at, kBlue, s->QueueLength * 0.5f);
                break;
            default:
                break;
        }
    }
    for (const auto& b : engine.Buildings) {
        const TSKIVector at = b->Position;
        const uint8_t t = b->Type;
        const bool restaurant = IsRestaurantType(t);
        switch (mode) {
            case kHighlightClosed:
                if (!b->Open) add(at, kRed, 3);
                break;
            case kHighlightSnowCannons:
                if (t == kBuildSnowCannon) add(at, kBlue, 80);
                break;
            case kHighlightSnowcats:
                if (t == kBuildSnowcatGarage)
                    add(engine.CellToWorld(b->AreaI, b->AreaJ, true), kBlue, 80);
                break;
            case kHighlightRestaurants:
                if (restaurant) add(at, kBlue, 3);
                break;
            case kHighlightCots:
                if (t == kBuildCot) add(at, kBlue, 3);
                break;
            case kHighlightShelters:
                if (t == kBuildShelter) add(at, kBlue, 3);
                break;
            case kHighlightMedical:
                if (IsType(t, {kBuildRescueStation, kBuildSkiPatrol, kBuildHospital}))
                    add(at, kBlue, 3);
                break;
            case kHighlightParking:
                if (t == kBuildParking) add(at, kBlue, 3);
                break;
            case kHighlightServiceQuality:
                if (restaurant)
                    add(at, QualityColour(b->Params().ServiceQuality + b->UpgradeBonus), 3);
                break;
            case kHighlightProfit:
                if (restaurant) add(at, b->TotalIncome < b->TotalExpense ? kRed : kGreen, 3);
                break;
            case kHighlightTooExpensive:
                if (restaurant) add(at, PriceColour(b->TooExpensiveCount, b->CustomersServed), 3);
                break;
            case kHighlightNoCustomers:
                // Every type but the snow cannon, the snowcat garage and the sightseeing building.
                if (IsType(t, {kBuildStall, kBuildRescueStation, kBuildSnowBar, kBuildSkiPatrol,
                               kBuildHospital, kBuildCot, kBuildShelter, kBuildParking,
                               kBuildSelfService, kBuildKiosk}) &&
                    b->CustomersServed == 0)
                    add(at, kRed, 3);
                break;
            case kHighlightPrice:
                if (restaurant) add(at, kBlue, b->ServicePrice * 0.2f);
                break;
            default:
                break;
        }
    }
    return beams;
}

void RefreshHighlight(TSKIEngine& engine) {
    engine.HighlightBeamCache = HighlightBeams(engine);
}

}  // namespace vallorn
