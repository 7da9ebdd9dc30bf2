#include "presentation/highlight.h"

#include <algorithm>
#include <cmath>

#include "engine/economy.h"
#include "engine/engine.h"
#include "engine/stats_figures.h"

namespace vallorn {

namespace {

struct TBeamColour {
    uint8_t R, G, B;
};
constexpr TBeamColour kBeamRed{255, 0, 0}, kBeamGreen{0, 128, 0}, kBeamBlue{0, 0, 255};

// Service quality 0..2 as a colour from red (0) to green (2).
TBeamColour QualityColour(float quality) {
    const int q = std::clamp(int(quality * 128), 0, 255);
    return {uint8_t(255 - q), uint8_t(q), 0};
}

// The share of customers who found the price too high, from green (none) to red (all).
TBeamColour PriceColour(int tooExpensive, int customers) {
    int v = 0;
    if (customers > 0) {
        v = int(std::lround(std::lround(tooExpensive * 100.0 / customers) * 2.55));
        v = std::clamp(v, 0, 255);
    }
    return {uint8_t(v), uint8_t(255 - v), 0};
}

bool IsBeamType(uint8_t type, std::initializer_list<uint8_t> types) {
    return std::find(types.begin(), types.end(), type) != types.end();
}

}  // namespace

std::vector<TSKIHighlightBeam> HighlightBeams(const TSKIEngine& engine, int mode) {
    std::vector<TSKIHighlightBeam> beams;
    if (mode <= kHighlightNothing || mode >= kHighlightModes) return beams;
    auto add = [&](const TSKIVector& at, TBeamColour c, float width) {
        beams.push_back({at, c.R, c.G, c.B, width});
    };
    for (const auto& s : engine.Sections) {
        if (!s->IsLift()) continue;
        const TSKIVector at = s->GatePosition;
        switch (mode) {
            case kHighlightClosed:
                if (s->Status == kLiftClosed) add(at, kBeamRed, 3);
                break;
            case kHighlightServiceQuality:
                add(at, QualityColour(s->Type().ServiceQuality + s->UpgradeBonus), 3);
                break;
            case kHighlightProfit:
                add(at, s->TotalIncome - s->TotalExpense >= 0 ? kBeamGreen : kBeamRed, 3);
                break;
            case kHighlightTooExpensive:
                add(at, PriceColour(s->TooExpensiveCount, s->CustomersServed), 3);
                break;
            case kHighlightNoCustomers:
                if (s->CustomersServed == 0) add(at, kBeamRed, 3);
                break;
            case kHighlightPrice:
                add(at, kBeamBlue, s->TicketPrice * 0.2f);
                break;
            case kHighlightQueues:
                if (s->QueueLength > 0) add(at, kBeamBlue, s->QueueLength * 0.5f);
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
                if (!b->Open) add(at, kBeamRed, 3);
                break;
            case kHighlightSnowCannons:
                if (t == kBuildSnowCannon) add(at, kBeamBlue, 80);
                break;
            case kHighlightSnowcats:
                if (t == kBuildSnowcatGarage)
                    add(engine.CellToWorld(b->AreaI, b->AreaJ, true), kBeamBlue, 80);
                break;
            case kHighlightRestaurants:
                if (restaurant) add(at, kBeamBlue, 3);
                break;
            case kHighlightCots:
                if (t == kBuildCot) add(at, kBeamBlue, 3);
                break;
            case kHighlightShelters:
                if (t == kBuildShelter) add(at, kBeamBlue, 3);
                break;
            case kHighlightMedical:
                if (IsBeamType(t, {kBuildRescueStation, kBuildSkiPatrol, kBuildHospital}))
                    add(at, kBeamBlue, 3);
                break;
            case kHighlightParking:
                if (t == kBuildParking) add(at, kBeamBlue, 3);
                break;
            case kHighlightServiceQuality:
                if (restaurant)
                    add(at, QualityColour(b->Params().ServiceQuality + b->UpgradeBonus), 3);
                break;
            case kHighlightProfit:
                if (restaurant)
                    add(at, b->TotalIncome < b->TotalExpense ? kBeamRed : kBeamGreen, 3);
                break;
            case kHighlightTooExpensive:
                if (restaurant) add(at, PriceColour(b->TooExpensiveCount, b->CustomersServed), 3);
                break;
            case kHighlightNoCustomers:
                // Every type but the snow cannon, the snowcat garage and the sightseeing building.
                if (IsBeamType(t, {kBuildStall, kBuildRescueStation, kBuildSnowBar, kBuildSkiPatrol,
                                   kBuildHospital, kBuildCot, kBuildShelter, kBuildParking,
                                   kBuildSelfService, kBuildKiosk}) &&
                    b->CustomersServed == 0)
                    add(at, kBeamRed, 3);
                break;
            case kHighlightPrice:
                if (restaurant) add(at, kBeamBlue, b->ServicePrice * 0.2f);
                break;
            default:
                break;
        }
    }
    return beams;
}

}  // namespace vallorn
