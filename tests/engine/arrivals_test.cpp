// Arrival waves, new skiers and parking.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/arrivals.h"
#include "engine/clock.h"
#include "support/engine_fixture.h"

namespace vallorn {
namespace {

using test::EngineFixture;

TEST(SpawnSkiers, WealthAndSkillLevelsGiveTheirRanges) {
    EngineFixture e;
    for (int level = 1; level <= 3; ++level) {
        e->Skiers.clear();
        SpawnSkiers(*e, 200, {0, 0, 0, 1}, level, level, true);
        ASSERT_EQ(e->Skiers.size(), 200u);
        for (const auto& s : e->Skiers) {
            EXPECT_GE(s->Money, (level - 1) * 300 + 200);
            EXPECT_LE(s->Money, (level - 1) * 300 + 299);
            EXPECT_GE(s->SpendingLimit, level * 20 - 10);
            EXPECT_LE(s->SpendingLimit, std::min(100, level * 20 + level * 15 - 11));
            EXPECT_GE(s->Skill, level * 0.25f);
            EXPECT_LT(s->Skill, level * 0.25f + 0.25f);
            EXPECT_EQ(s->State, kSkierIdle);
            EXPECT_EQ(s->Happiness, 0);
            EXPECT_EQ(s->Energy, 0);
            EXPECT_LE(std::abs(s->Position.x), 10.0f);
            EXPECT_LE(std::abs(s->Position.z), 10.0f);
            EXPECT_EQ(s->QueueIndex, 64);
        }
    }
}

TEST(SpawnSkiers, TheParkRatingMakesArrivalsRicherAndSpendMore) {
    EngineFixture e;
    e->Park.ParkRatingPercent = 0;
    SpawnSkiers(*e, 300, {0, 0, 0, 1}, 10, 10, true);
    for (const auto& s : e->Skiers) {
        EXPECT_GE(s->Money, 250);
        EXPECT_LE(s->Money, 499);
        EXPECT_GE(s->SpendingLimit, 5);
        EXPECT_LE(s->SpendingLimit, 14);
        EXPECT_GE(s->Skill, 0.25f);
        EXPECT_LT(s->Skill, 0.75f);
    }
    e->Skiers.clear();
    e->Park.ParkRatingPercent = 80;  // +400 money, spending + 20 + 0..19
    SpawnSkiers(*e, 300, {0, 0, 0, 1}, 10, 10, true);
    for (const auto& s : e->Skiers) {
        EXPECT_GE(s->Money, 650);
        EXPECT_LE(s->Money, 899);
        EXPECT_GE(s->SpendingLimit, 25);
        EXPECT_LE(s->SpendingLimit, 53);
    }
    e->Skiers.clear();
    e->Park.ParkRatingPercent = 400;  // spending limits stop at 100
    SpawnSkiers(*e, 50, {0, 0, 0, 1}, 10, 10, true);
    for (const auto& s : e->Skiers) EXPECT_LE(s->SpendingLimit, 100);
}

TEST(SpawnSkiers, CapacityIsRespectedUnlessIgnored) {
    EngineFixture e;
    e->Params.Game.SkiersPerParkingLot = 50;
    e->Park.ParkMaxSkiers = 0;
    SpawnSkiers(*e, 3, {0, 0, 0, 1}, 10, 10, false);
    EXPECT_EQ(e->Skiers.size(), 3u);             // skiers - 1 = -1 does not exceed 0
    e.AddBuilding(kBuildParking, {0, 0, 0, 1});  // 50 places
    AllocateParking(*e);
    SpawnSkiers(*e, 48, {0, 0, 0, 1}, 10, 10, false);
    EXPECT_EQ(e->Park.ParkMaxSkiers, 50);
    SpawnSkiers(*e, 5, {0, 0, 0, 1}, 10, 10, false);  // 51 - 1 = 50: not above, a wave comes
    EXPECT_EQ(e->Skiers.size(), 56u);
    SpawnSkiers(*e, 5, {0, 0, 0, 1}, 10, 10, false);  // 55 > 50: full
    EXPECT_EQ(e->Skiers.size(), 56u);
    SpawnSkiers(*e, 5, {0, 0, 0, 1}, 10, 10, true);
    EXPECT_EQ(e->Skiers.size(), 61u);
}

TEST(Parking, CapacityAndCarsFollowTheOpenLots) {
    EngineFixture e;
    auto& a = e.AddBuilding(kBuildParking, {0, 0, 0, 1});
    auto& b = e.AddBuilding(kBuildParking, {-100, 0, 0, 1});
    auto& closed = e.AddBuilding(kBuildParking, {-200, 0, 0, 1}, false);
    e.AddBuilding(kBuildStall, {-300, 0, 0, 1});
    SpawnSkiers(*e, 23, {0, 0, 0, 1}, 1, 1, true);  // (23 - 1) / 5 + 1 = 5 cars
    EXPECT_EQ(e->Park.ParkMaxSkiers, 2 * e->Params.Game.SkiersPerParkingLot);
    EXPECT_EQ(a.CarCount, 3);
    EXPECT_EQ(b.CarCount, 2);
    EXPECT_EQ(closed.CarCount, 0);
    EXPECT_TRUE(a.CarPlaces[0].Taken && a.CarPlaces[1].Taken && a.CarPlaces[2].Taken);
    EXPECT_FALSE(a.CarPlaces[3].Taken);
    EXPECT_EQ(a.CarPlaces[1].Model, 2);  // car 2 of the round robin
    EXPECT_EQ(b.CarPlaces[1].Model, 3);

    // A crowd larger than the places fills them all and stops at the last place.
    SpawnSkiers(*e, 200, {0, 0, 0, 1}, 1, 1, true);
    for (const auto& place : a.CarPlaces) EXPECT_TRUE(place.Taken);
    EXPECT_GT(a.CarCount, kParkingPlaces);

    a.Open = b.Open = false;
    AllocateParking(*e);
    EXPECT_EQ(e->Park.ParkMaxSkiers, 0);
    EXPECT_EQ(a.CarCount, 0);
    EXPECT_FALSE(a.CarPlaces[0].Taken);
}

TEST(ArrivalPoint, AnOpenParkingLotIsWhereSkiersArrive) {
    EngineFixture e;
    auto& lot = e.AddBuilding(kBuildParking, {-400, 0, 800, 1});
    e.AddBuilding(kBuildParking, {-900, 0, 100, 1}, false);
    const TSKIVector p = UpdateArrivalPoint(*e);
    EXPECT_EQ(e->ArrivalBuilding, &lot);
    const TSKIVector door = lot.EntrancePoint();
    EXPECT_FLOAT_EQ(p.x, door.x);
    EXPECT_FLOAT_EQ(p.z, door.z);
    EXPECT_GT(p.y, door.y);  // lifted a little above the ground
}

// A crowd that comes by car, and every morning's returning crowd, is shared among the open
// lots: no lot is left out, and a closed one gets nobody.
TEST(ArrivalPoint, ACrowdAndTheMorningsReturnAreSharedAmongTheOpenLots) {
    EngineFixture e;
    std::vector<TSKIBuilding*> lots;
    for (float x : {-400.0f, -800.0f, -1200.0f})
        lots.push_back(&e.AddBuilding(kBuildParking, {x, 0, 800, 1}));
    const TSKIBuilding& closed = e.AddBuilding(kBuildParking, {-600, 0, 1400, 1}, false);
    auto near = [&](const TSKIBuilding& lot, float reach) {
        return std::count_if(e->Skiers.begin(), e->Skiers.end(), [&](const auto& s) {
            return GroundDistance(s->Position, lot.EntrancePoint()) < reach;
        });
    };
    SpawnSkiers(*e, 300, UpdateArrivalPoint(*e), 10, 10, true);
    for (const TSKIBuilding* lot : lots) EXPECT_GT(near(*lot, 15), 50);

    for (auto& s : e->Skiers) s->Position = {-2000, 0, 2000, 1};
    for (auto& s : e->Skiers) s->Happiness = 50;  // nobody goes home overnight
    DayChange(*e);
    ASSERT_EQ(e->Skiers.size(), 300u);
    for (const TSKIBuilding* lot : lots) EXPECT_GT(near(*lot, 30), 50);
    EXPECT_EQ(near(closed, 30), 0);
}

TEST(ArrivalPoint, WithoutParkingTheLowestLiftsBottomStationOrTheMapMiddle) {
    EngineFixture e;
    TSKIVector p = UpdateArrivalPoint(*e);
    EXPECT_EQ(e->ArrivalBuilding, nullptr);
    const TSKIVector middle = e->CellToWorld(256, 256, false);
    EXPECT_FLOAT_EQ(p.x, middle.x);
    EXPECT_FLOAT_EQ(p.z, middle.z);

    e.AddLift({{-100, 50, 100, 1}, {-100, 90, 300, 1}});
    e.AddLift({{-600, 20, 700, 1}, {-600, 80, 900, 1}});
    e.AddLift({{-300, 35, 200, 1}, {-300, 99, 300, 1}});
    p = UpdateArrivalPoint(*e);
    EXPECT_EQ(e->ArrivalBuilding, nullptr);
    EXPECT_FLOAT_EQ(p.x, -600);
    EXPECT_FLOAT_EQ(p.z, 700);
}

TEST(ArrivalWaves, ComeOnlyWithAnArrivalBuildingAndGrowWithTheRating) {
    EngineFixture e;
    e->Params.Game.TickTime = 1.0f;
    e->Params.Game.SkiersPerParkingLot = 50;
    e->Park.ParkSpawnSpeed = 2;  // a wave every third tick
    for (int k = 0; k < 30; ++k) PeriodicTick(*e);
    EXPECT_TRUE(e->Skiers.empty());  // no parking, no waves

    auto& lot = e.AddBuilding(kBuildParking, {-400, 0, 400, 1});
    e->Park.ParkSpawnCounter = 0;
    // A ruined reputation drives the rating far below 0: waves of 0 or 1 skier still come.
    e->Park.ParkRatingLeftUnhappy = -10000;
    int waves = 0;
    size_t before = 0;
    for (int k = 0; k < 150; ++k) {
        PeriodicTick(*e);
        if (e->Park.ParkSpawnCounter == 0) {
            ++waves;
            EXPECT_LE(e->Skiers.size() - before, 1u);
            before = e->Skiers.size();
        }
    }
    EXPECT_EQ(waves, 50);
    EXPECT_GT(e->Skiers.size(), 8u);
    EXPECT_LT(e->Skiers.size(), 45u);
    EXPECT_EQ(lot.CustomersServed, e->Skiers.size());

    // A famous park (a huge PR bonus) shows a rating of 100 % and gets waves of up to 10.
    e->Skiers.clear();
    e->Park.ParkRatingLeftUnhappy = 0;
    e->Park.ParkPopularity = 1000;
    size_t biggest = 0;
    before = 0;
    for (int k = 0; k < 30; ++k) {
        PeriodicTick(*e);
        if (e->Park.ParkSpawnCounter == 0) {
            biggest = std::max(biggest, e->Skiers.size() - before);
            before = e->Skiers.size();
        }
    }
    EXPECT_EQ(e->Park.ParkRatingPercent, 100);
    EXPECT_GT(biggest, 5u);
    EXPECT_LE(biggest, 10u);
    EXPECT_GT(e->Skiers.size(), 25u);
    EXPECT_LE(e->Skiers.size(), 65u);  // the lot holds 50: late waves may find it full
}

TEST(ArrivalWaves, AWaveTurnedAwayByAFullParkIsNotCountedByTheLot) {
    EngineFixture e;
    e->Params.Game.TickTime = 1.0f;
    e->Params.Game.SkiersPerParkingLot = 50;
    auto& lot = e.AddBuilding(kBuildParking, {-400, 0, 400, 1});  // 50 places
    SpawnSkiers(*e, 60, {0, 0, 0, 1}, 10, 10, true);
    e->Park.ParkSpawnSpeed = 0;  // a wave every tick
    e->Park.ParkPopularity = 1000;
    for (int k = 0; k < 20; ++k) PeriodicTick(*e);
    EXPECT_EQ(e->Skiers.size(), 60u);
    EXPECT_EQ(lot.CustomersServed, 0);
}

TEST(ArrivalWaves, SameSeedSameCrowd) {
    auto crowd = [](uint64_t seed) {
        EngineFixture e(seed);
        e.AddBuilding(kBuildParking, {-400, 0, 400, 1});
        e->Park.ParkRatingPercent = 60;
        for (int k = 0; k < 200; ++k) PeriodicTick(*e);
        std::vector<int32_t> money;
        for (const auto& s : e->Skiers) money.push_back(s->Money);
        return money;
    };
    EXPECT_EQ(crowd(11), crowd(11));
    EXPECT_NE(crowd(11), crowd(12));
}

}  // namespace
}  // namespace vallorn
