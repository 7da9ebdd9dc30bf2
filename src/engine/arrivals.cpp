// Where skiers arrive, how many come, and where their cars stand.
#include <algorithm>
#include <cmath>

#include "engine/arrivals.h"
#include "engine/engine.h"

namespace vallorn {

namespace {

constexpr float kArrivalLift = 0.2f;  // the arrival point stands this far above the ground
constexpr int kMaxLotsConsidered = 65;
constexpr int kSkiersPerCar = 5;
constexpr double kMorningSpread = 20.0;  // returning skiers stand this far around their lot

// The open lots, at most kMaxLotsConsidered of them, in building order.
std::vector<TSKIBuilding*> OpenLots(const TSKIEngine& engine) {
    std::vector<TSKIBuilding*> lots;
    for (const auto& b : engine.Buildings) {
        if (b->Type == kBuildParking && b->Open) {
            lots.push_back(b.get());
            if (int(lots.size()) >= kMaxLotsConsidered) break;
        }
    }
    return lots;
}

TSKIVector LotArrivalPoint(const TSKIEngine& engine, const TSKIBuilding& lot) {
    TSKIVector point = lot.EntrancePoint();
    point.y = (engine.HasGrid() ? engine.TerrainHeight(point) : point.y) + kArrivalLift;
    point.w = 1;
    return point;
}

}  // namespace

int SpawnSkiers(TSKIEngine& engine, int count, TSKIVector point, int wealthLevel, int skillLevel,
                bool ignoreCapacity) {
    if (!ignoreCapacity && int64_t(engine.Skiers.size()) - 1 > engine.Park.ParkMaxSkiers) return 0;
    // Whatever the capacity, no more than a park can hold.
    const int64_t room = std::max<int64_t>(0, kMaxParkSkiers - int64_t(engine.Skiers.size()));
    count = int(std::clamp<int64_t>(count, 0, room));
    const float rating = engine.Park.ParkRatingPercent;
    // Skiers who come by car to the arrival point park at any open lot, so that a crowd is
    // shared among the lots.
    std::vector<TSKIBuilding*> lots;
    if (point.x == engine.ArrivalPoint.x && point.z == engine.ArrivalPoint.z)
        lots = OpenLots(engine);
    for (int n = 0; n < count; ++n) {
        TSKISkierRecord r;
        r.Position =
            lots.size() < 2
                ? point
                : LotArrivalPoint(engine, *lots[size_t(engine.Rng.Below(int32_t(lots.size())))]);
        r.Position.x += float(engine.Rng.Between(-10.0, 10.0));
        r.Position.z += float(engine.Rng.Between(-10.0, 10.0));
        if (wealthLevel == 10) {
            r.Money = 250 + engine.Rng.Range(0, 249);
            if (rating > 0) r.Money += int32_t(std::lround(5.0 * rating));
            r.SpendingLimit = 5 + engine.Rng.Range(0, 9);
            if (rating > 0) {
                const int32_t q = int32_t(std::lround(rating / 4.0));
                r.SpendingLimit += q + engine.Rng.Below(q);
            }
        } else {
            const int level = std::clamp(wealthLevel, 1, 3);
            r.Money = (level - 1) * 300 + 200 + engine.Rng.Range(0, 99);
            r.SpendingLimit = level * 20 + engine.Rng.Below(level * 15) - 10;
        }
        r.SpendingLimit = std::min(r.SpendingLimit, 100);
        if (skillLevel == 10) {
            r.Skill = float(0.25 + engine.Rng.Uniform() * 0.5);
        } else {
            r.Skill = float(std::clamp(skillLevel, 1, 3) * 0.25 + engine.Rng.Uniform() * 0.25);
        }
        engine.Skiers.push_back(std::make_unique<TSKISkier>(engine, r));
    }
    AllocateParking(engine);
    return count;
}

void SpreadReturningSkiers(TSKIEngine& engine) {
    const std::vector<TSKIBuilding*> lots = OpenLots(engine);
    if (lots.size() < 2) return;
    for (auto& skier : engine.Skiers) {
        if (skier->State != kSkierIdle) continue;
        const TSKIBuilding& lot = *lots[size_t(engine.Rng.Below(int32_t(lots.size())))];
        skier->Position = LotArrivalPoint(engine, lot);
        skier->Position.x += float(engine.Rng.Between(-kMorningSpread, kMorningSpread));
        skier->Position.z += float(engine.Rng.Between(-kMorningSpread, kMorningSpread));
        skier->SmoothingAnchor = skier->SmoothedPosition = skier->Position;
    }
}

TSKIVector UpdateArrivalPoint(TSKIEngine& engine) {
    TSKIVector point = engine.CellToWorld(kGridSize / 2, kGridSize / 2, engine.HasGrid());
    engine.ArrivalBuilding = nullptr;

    const std::vector<TSKIBuilding*> lots = OpenLots(engine);
    if (!lots.empty()) {
        TSKIBuilding* lot = lots[size_t(engine.Rng.Below(int32_t(lots.size())))];
        point = LotArrivalPoint(engine, *lot);
        engine.ArrivalBuilding = lot;
    } else {
        // Without parking, skiers gather at the bottom station of the lowest lift.
        const TSKISection* lowest = nullptr;
        for (const auto& s : engine.Sections) {
            if (!s->IsLift() || s->Points.empty()) continue;
            if (!lowest || s->Points.front().y < lowest->Points.front().y) lowest = s.get();
        }
        if (lowest) point = lowest->Points.front();
    }
    point.w = 1;
    engine.ArrivalPoint = point;
    return point;
}

void AllocateParking(TSKIEngine& engine) {
    // Every lot is emptied (a closed lot keeps no cars); the open ones are filled again.
    std::vector<TSKIBuilding*> lots;
    for (const auto& b : engine.Buildings) {
        if (b->Type != kBuildParking) continue;
        b->CarPlaces.fill({});
        b->CarCount = 0;
        if (b->Open) lots.push_back(b.get());
    }
    engine.Park.ParkMaxSkiers = engine.Params.Game.SkiersPerParkingLot * int32_t(lots.size());
    if (lots.empty()) return;
    const int64_t skiers = int64_t(engine.Skiers.size());
    const int64_t cars = (skiers - 1) / kSkiersPerCar + 1;
    const int64_t lotCount = int64_t(lots.size());
    for (int64_t k = 0; k < cars; ++k) {
        TSKIBuilding& lot = *lots[size_t(k % lotCount)];
        const size_t place = size_t(std::min<int64_t>(k / lotCount, kParkingPlaces - 1));
        lot.CarPlaces[place].Taken = true;
        lot.CarPlaces[place].Model = uint8_t(k % 10);
        if (lot.CarCount < 255) ++lot.CarCount;
    }
}

}  // namespace vallorn
