// The objective types and rewards: their rules and effects, then the two tables.
#include "missions/objective_types.h"

#include <algorithm>
#include <cmath>

#include "base/saturating.h"

namespace vallorn {

namespace {

constexpr int kNearCells = 5;  // "near a place": within 5 cells in both directions

// Some cell within 5 cells of (i, j), inside the grid, has a skier on it. The place is any
// number a file holds: the square around it is worked out in 64 bits and cut to the grid.
bool SkiersNear(const TSKIEngine& engine, int32_t i, int32_t j) {
    if (!engine.HasGrid()) return false;
    const int64_t a0 = std::max<int64_t>(int64_t(i) - kNearCells, 0);
    const int64_t a1 = std::min<int64_t>(int64_t(i) + kNearCells, kGridSize);
    const int64_t b0 = std::max<int64_t>(int64_t(j) - kNearCells, 0);
    const int64_t b1 = std::min<int64_t>(int64_t(j) + kNearCells, kGridSize);
    for (int64_t a = a0; a <= a1; ++a) {
        for (int64_t b = b0; b <= b1; ++b) {
            if (engine.Cell(int(a), int(b)).Crowd > 1) return true;
        }
    }
    return false;
}

bool BuildingExists(const TSKIEngine& engine, int type) {
    for (const auto& b : engine.Buildings) {
        if (b->Type == type) return true;
    }
    return false;
}

bool LiftExists(const TSKIEngine& engine, int kind) {
    for (const auto& s : engine.Sections) {
        if (s->IsLift() && s->LiftType == kind) return true;
    }
    return false;
}

// The camera's focus point is closer than `distance` to the world point of the cell (measured
// over the ground: the focus point lies on it).
bool FocusNear(const TSKIEngine& engine, int i, int j, int32_t distance) {
    if (!TSKIWorld::CellInGrid(i, j)) return false;
    const TSKIVector p = engine.CellToWorld(i, j, false);
    const double dx = double(engine.Viewpoint.FocusX) - p.x;
    const double dz = double(engine.Viewpoint.FocusZ) - p.z;
    return std::sqrt(dx * dx + dz * dz) < double(distance);
}

// The cell holds the slope whose race is running.
bool RaceSlopeAt(const TSKIEngine& engine, int i, int j) {
    if (!engine.HasGrid() || !TSKIWorld::CellInGrid(i, j)) return false;
    const int32_t section = engine.Cell(i, j).Section;
    return section >= 0 && section == engine.RaceSlope;
}

// Some slope at least `metres` long with a skier near its first point.
bool LongSlopeInUse(const TSKIEngine& engine, int32_t metres) {
    for (const auto& s : engine.Sections) {
        if (!s->IsSlope() || s->Points.empty()) continue;
        if (double(s->Length()) * kMetresPerUnit < double(metres)) continue;
        if (!engine.PositionInGrid(s->Points.front())) continue;
        int i, j;
        TSKIWorld::WorldToCell(s->Points.front(), i, j);
        if (SkiersNear(engine, i, j)) return true;
    }
    return false;
}

bool LongLift(const TSKIEngine& engine, int32_t metres) {
    for (const auto& s : engine.Sections) {
        if (s->IsLift() && double(s->Length()) * kMetresPerUnit >= double(metres)) return true;
    }
    return false;
}

// --- the park values a card counts down to ----------------------------------------------------

double Cash(const TSKIEngine& e) {
    return e.Park.ParkCash;
}
double Rating(const TSKIEngine& e) {
    return e.Park.ParkRating;
}
double SkierCount(const TSKIEngine& e) {
    return double(e.Skiers.size());
}
double TreesFelled(const TSKIEngine& e) {
    return e.Park.ParkTreesFelled;
}
double SlopeKilometres(const TSKIEngine& e) {
    return e.Park.ParkSlopeLength;
}
double SnowQuality(const TSKIEngine& e) {
    return e.Park.ParkSnowQuality;
}
double LiftScore(const TSKIEngine& e) {
    return e.Park.ParkLiftScore;
}
double BuildScore(const TSKIEngine& e) {
    return e.Park.ParkBuildScore;
}
double RatingPercent(const TSKIEngine& e) {
    return e.Park.ParkRatingPercent;
}
double Happiness(const TSKIEngine& e) {
    return e.Park.ParkAvgHappiness;
}
double Cold(const TSKIEngine& e) {
    return e.Park.ParkAvgCold;
}
double Hunger(const TSKIEngine& e) {
    return e.Park.ParkAvgHunger;
}
double Energy(const TSKIEngine& e) {
    return e.Park.ParkAvgEnergy;
}

// --- the rules --------------------------------------------------------------------------------

// "At least V" of a park value, and its opposite.
template <double (*Value)(const TSKIEngine&)>
bool AtLeast(const TSKIEngine& e, const TSKIObjective& o, int, int) {
    return Value(e) >= double(o.Value);
}
template <double (*Value)(const TSKIEngine&)>
bool Below(const TSKIEngine& e, const TSKIObjective& o) {
    return Value(e) < double(o.Value);
}

bool NoLoanAndCash(const TSKIEngine& e, const TSKIObjective& o, int, int) {
    return e.Park.ParkCash >= o.Value && e.Park.ParkLoan == 0;
}
bool CashBelow(const TSKIEngine& e, const TSKIObjective& o) {
    return e.Park.ParkCash < o.Value;  // the loan is not looked at
}
bool SkierNearPlace(const TSKIEngine& e, const TSKIObjective& o, int, int) {
    return SkiersNear(e, o.GridX, o.GridY);
}
bool FewTreesFelled(const TSKIEngine& e, const TSKIObjective& o, int, int) {
    return e.Park.ParkTreesFelled <= o.Value;
}
bool TooManyTreesFelled(const TSKIEngine& e, const TSKIObjective& o) {
    return e.Park.ParkTreesFelled > o.Value;
}
bool BuildingBuilt(const TSKIEngine& e, const TSKIObjective& o, int building, int) {
    return building >= 0 && o.Value == building && BuildingExists(e, building);
}
bool LiftBuilt(const TSKIEngine& e, const TSKIObjective& o, int, int lift) {
    return lift >= 0 && o.Value == lift && LiftExists(e, lift);
}
bool Never(const TSKIEngine&, const TSKIObjective&, int, int) {
    return false;
}
bool PlaceFound(const TSKIEngine& e, const TSKIObjective& o, int, int) {
    return FocusNear(e, o.GridX, o.GridY, o.Value);
}
bool RecordBeaten(const TSKIEngine& e, const TSKIObjective& o, int building, int) {
    return building == -2 && RaceSlopeAt(e, o.GridX, o.GridY);
}
bool LongSlopeSkied(const TSKIEngine& e, const TSKIObjective& o, int, int) {
    return LongSlopeInUse(e, o.Value);
}
bool LongLiftBuilt(const TSKIEngine& e, const TSKIObjective& o, int, int) {
    return LongLift(e, o.Value);
}

// --- the rewards' effects ---------------------------------------------------------------------

bool GiveMoney(TSKIParkData& park, TSKIProfileTerms&, int32_t r) {
    AddTo(park.ParkCash, r);
    AddTo(park.ParkRewards, r);
    return false;
}
bool GivePopularity(TSKIParkData& park, TSKIProfileTerms&, int32_t r) {
    park.ParkPopularity += float(r);
    return false;
}
bool GiveFriends(TSKIParkData&, TSKIProfileTerms& t, int32_t r) {
    if (r > t.Friends) {
        t.Friends = r;
        t.FriendsEnabled = true;
    }
    return true;
}
bool GiveLift(TSKIParkData&, TSKIProfileTerms& t, int32_t r) {
    if (r >= 0 && r < kLiftTypeCount) t.UnlockedLifts[size_t(r)] = true;
    return true;
}
bool GiveBuilding(TSKIParkData&, TSKIProfileTerms& t, int32_t r) {
    if (r >= 0 && r < kBuildingTypeCount) t.UnlockedBuildings[size_t(r)] = true;
    return true;
}
bool GiveInterest(TSKIParkData&, TSKIProfileTerms& t, int32_t r) {
    if (r < t.LoanInterest) t.LoanInterest = r;
    return true;
}
bool GiveLoanLimit(TSKIParkData&, TSKIProfileTerms& t, int32_t r) {
    if (r > t.LoanLimit) t.LoanLimit = r;
    return true;
}
// A marketing or PR price: an unset price takes the reward, a lower reward replaces it.
template <int32_t TSKIProfileTerms::*Price>
bool GivePrice(TSKIParkData&, TSKIProfileTerms& t, int32_t r) {
    int32_t& price = t.*Price;
    if (price == 0) price = r;
    if (r < price) price = r;
    return true;
}

using V = TSKIValueShown;

// clang-format off
constexpr TSKIObjectiveKind kObjectiveKinds[kObjectiveTypeCount] = {
    {kObjectiveMoney, "Money", "Earn cash:", "Earn cash: {}",
     V::Money, Cash, NoLoanAndCash, CashBelow},
    {kObjectiveRating, "Rating points", "Achieve rating points:", "Achieve rating: {}",
     V::Count, Rating, AtLeast<Rating>, Below<Rating>},
    {kObjectiveSkiers, "NumOfSkiers", "Achieve number of skiers:", "Achieve number of skiers: {}",
     V::Count, SkierCount, AtLeast<SkierCount>, Below<SkierCount>},
    {kObjectiveReachLocation, "ReachLocation", "Get skiers to location.", "Get skiers to location.",
     V::None, nullptr, SkierNearPlace, nullptr},
    {kObjectiveEcology, "Ecology", "Environmental damage less than:",
     "Environmental damage less than: {} trees cut down.",
     V::Trees, TreesFelled, FewTreesFelled, TooManyTreesFelled},
    {kObjectiveSlopeKilometres, "KM of slopes", "Build slopes:", "Build {} kilometers of slopes.",
     V::Kilometres, SlopeKilometres, AtLeast<SlopeKilometres>, Below<SlopeKilometres>},
    {kObjectiveSnowQuality, "Snow quality", "Snow quality at least:", "Snow quality at least {} %",
     V::Percent, SnowQuality, AtLeast<SnowQuality>, Below<SnowQuality>},
    {kObjectiveBuildBuilding, "Build building", "Build building type:", "Build {}.",
     V::Building, nullptr, BuildingBuilt, nullptr},
    {kObjectiveBuildLift, "Build lift", "Build lift type:", "Build {}.",
     V::Lift, nullptr, LiftBuilt, nullptr},
    {kObjectiveWait, "Wait", "", "",
     V::None, nullptr, Never, nullptr, /*Waits=*/true},
    {kObjectiveFind, "Find", "Find location", "Find location",
     V::None, nullptr, PlaceFound, nullptr, false, /*HidesPlace=*/true},
    {kObjectiveLiftRating, "Rating of lifts", "Have rating from lifts:",
     "Have rating from lifts at least {} points.",
     V::Points, LiftScore, AtLeast<LiftScore>, Below<LiftScore>},
    {kObjectiveBuildingRating, "Rating of buildings", "Have rating from buildings:",
     "Have rating from buildings at least {} points.",
     V::Points, BuildScore, AtLeast<BuildScore>, Below<BuildScore>},
    {kObjectiveRaceRecord, "Race record", "Beat time record:", "Race record {}",
     V::RaceRecord, nullptr, RecordBeaten, nullptr},
    {kObjectiveRatingPercent, "Rating %", "Achieve rating percentage:", "Get {} % rating.",
     V::Percent, RatingPercent, AtLeast<RatingPercent>, Below<RatingPercent>},
    {kObjectiveSkierHappiness, "Skier happiness", "Average skier happiness:",
     "Get {} % averidge skier happiness.",
     V::Percent, Happiness, AtLeast<Happiness>, Below<Happiness>},
    {kObjectiveSkierCold, "Skier cold", "Average skier cold:", "Get {} % averidge skier coldness.",
     V::Percent, Cold, AtLeast<Cold>, Below<Cold>},
    {kObjectiveSkierHunger, "Skier hunger", "Average skier hunger:",
     "Get {} % averidge skier hunger.",
     V::Percent, Hunger, AtLeast<Hunger>, Below<Hunger>},
    {kObjectiveSkierEnergy, "Skier energy", "Average skier energy:",
     "Get {} % averidge skier energy.",
     V::Percent, Energy, AtLeast<Energy>, Below<Energy>},
    {kObjectiveLongestSlope, "Longest slope", "Longest slope:",
     "Build slope at least {} meters long.",
     V::Metres, nullptr, LongSlopeSkied, nullptr},
    {kObjectiveLongestLift, "Longest lift", "Longest lift:", "Build lift at least {} meters long.",
     V::Metres, nullptr, LongLiftBuilt, nullptr},
};

constexpr TSKIRewardKind kRewardKinds[kObjectiveRewardCount] = {
    {kRewardNothing, "Nothing", "", "", V::None, nullptr},
    {kRewardMoney, "Money", "Cash reward: {}", "Cash reward: {}", V::Money, GiveMoney},
    {kRewardFriends, "Friends", "Acquire {} new friends as a reward.",
     "Acquire {} new friends as a reward.", V::Count, GiveFriends},
    {kRewardUnlockLift, "Unlock lift", "Reward: blueprints for {}.",
     "Reward: blueprints for {}.", V::Lift, GiveLift},
    {kRewardUnlockBuilding, "Unlock building", "Reward: blueprints for {}.",
     "Reward: blueprints for {}.", V::Building, GiveBuilding},
    {kRewardLowerInterest, "Lower bank interest", "Reward: bank interest {}%.",
     "Reward: lower bank interest to {}%.", V::Count, GiveInterest},
    {kRewardHigherLoanLimit, "Higher loan limit", "Reward: increase bank loan limit to {}",
     "Reward: increase bank loan limit to {}", V::Money, GiveLoanLimit},
    {kRewardCheapMarketing, "Cheap marketing price", "Reward - Cheap marketing price: {}",
     "Reward - cheap marketing price: {}", V::Money,
     GivePrice<&TSKIProfileTerms::MarketingPriceCheap>},
    {kRewardNormalMarketing, "Normal marketing price", "Reward - Normal marketing price: {}",
     "Reward - normal marketing price: {}", V::Money,
     GivePrice<&TSKIProfileTerms::MarketingPriceNormal>},
    {kRewardVIPMarketing, "VIP marketing price", "Reward - Exclusive marketing price: {}",
     "Reward - exclusive marketing price: : {}", V::Money,
     GivePrice<&TSKIProfileTerms::MarketingPriceVIP>},
    {kRewardPRCampaign, "PR campaign price", "Reward - PR campaign price: {}",
     "Reward - PR campaign price: {}", V::Money, GivePrice<&TSKIProfileTerms::PRCampPrice>},
    {kRewardPopularity, "Popularity", "Reward - popularity rise of {} rating points.",
     "Reward - popularity rise of {} rating points.", V::Count, GivePopularity},
};
// clang-format on

constexpr TSKIObjectiveKind kUnknownObjective{0xff, "", "", "", V::None, nullptr, Never, nullptr};
constexpr TSKIRewardKind kUnknownReward{0xff, "", "", "", V::None, nullptr};

// Each row sits at its own number, so the tables can be indexed by the stored codes.
constexpr bool RowsInOrder() {
    for (uint8_t t = 0; t < kObjectiveTypeCount; ++t)
        if (kObjectiveKinds[t].Type != t) return false;
    for (uint8_t r = 0; r < kObjectiveRewardCount; ++r)
        if (kRewardKinds[r].Reward != r) return false;
    return true;
}
static_assert(RowsInOrder(), "an objective or reward row is out of place");

}  // namespace

std::span<const TSKIObjectiveKind> ObjectiveKinds() {
    return kObjectiveKinds;
}

std::span<const TSKIRewardKind> RewardKinds() {
    return kRewardKinds;
}

const TSKIObjectiveKind& ObjectiveKind(uint8_t type) {
    return type < kObjectiveTypeCount ? kObjectiveKinds[type] : kUnknownObjective;
}

const TSKIRewardKind& RewardKind(uint8_t reward) {
    return reward < kObjectiveRewardCount ? kRewardKinds[reward] : kUnknownReward;
}

bool ObjectiveMet(const TSKIEngine& engine, const TSKIObjective& o, int building, int lift) {
    return ObjectiveKind(o.Type).Met(engine, o, building, lift);
}

bool ObjectiveBroken(const TSKIEngine& engine, const TSKIObjective& o) {
    const TSKIObjectiveKind& kind = ObjectiveKind(o.Type);
    return kind.Broken && kind.Broken(engine, o);
}

}  // namespace vallorn
