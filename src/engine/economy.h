// Economy, rating, accounting, loans, campaigns and the park messages.
#pragma once

#include <cstdint>
#include <string>

#include "engine/engine.h"

namespace vallorn {

// The services: the buildings that earn nothing themselves (cannons, rescue, garages, cots,
// shelters, parking). An hour's profit counts only their running cost, and the finance table
// gives them a row of their own; the restaurants and the sightseeing building are not services.
constexpr bool IsServiceType(uint8_t type) {
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

// Outcome of a marketing campaign: the text to show in an information box (or the warning
// when the cash does not cover the price; empty for a price type that cannot be chosen).
struct TSKIMarketingResult {
    bool Started = false;
    int32_t Arrivals = 0;
    std::string Text;
};

// Quality of a slope: its length (full at 500 m, less in proportion below) raised by its
// red (up to +25 %) and black (up to +50 %) shares. Of a lift: the type's service quality
// plus the lift's upgrade bonus, at most 2.
float SlopeQuality(const TSKISection& slope);
float LiftQuality(const TSKIEngine& engine, const TSKISection& lift);
// Every tick: averages, scores, penalty recovery, popularity and both ratings.
void UpdateRating(TSKIEngine& engine);
// Every accounting hour: takings move to the previous period, running costs are paid and
// the hour's profit is computed.
void HourlyAccounting(TSKIEngine& engine);
// Every history sample: counts toward the park messages, which are rebuilt on every 11th
// sample (BuildParkMessages).
void ParkMessageSample(TSKIEngine& engine);
// Rebuilds the message list and picks the one shown (nothing in the unlimited sandbox).
void BuildParkMessages(TSKIEngine& engine);
bool BuildingUnlocked(const TSKIEngine& engine, uint8_t type);
// The interest the bank takes each day: floor(loan x the profile's interest / 100), the
// interest held to 0..kMaxLoanInterest % and the result to what the park's books hold.
int32_t DailyLoanInterest(const TSKIEngine& engine);
// Loans; refused (false, nothing changes) beyond the limit or without the money.
bool TakeLoan(TSKIEngine& engine, int32_t amount);
bool RepayLoan(TSKIEngine& engine, int32_t amount);
// Marketing: the price of a price type 1..3 (0 for another type or a price the profile
// does not offer); whether it can be chosen; the warning when the cash is short.
int32_t MarketingPrice(const TSKIEngine& engine, int priceType);
inline bool MarketingPriceOffered(const TSKIEngine& engine, int priceType) {
    return MarketingPrice(engine, priceType) > 0;
}
std::string MarketingPriceWarning(const TSKIEngine& engine, int priceType);
// Confirms a campaign of price type 1..3 for readers 1..3: pays, brings 10..19 skiers of
// that wealth and skill to a fresh arrival point whatever the capacity.
TSKIMarketingResult StartMarketingCampaign(TSKIEngine& engine, int priceType, int readerType);
// PR: +20 popularity for the profile's price; false (nothing) without a price or money.
bool RunPRCampaign(TSKIEngine& engine);

}  // namespace vallorn
