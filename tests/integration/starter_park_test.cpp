// The starter park the build ships: what it holds, and a game day of it as the game runs it.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

#include "engine/arrivals.h"
#include "engine/clock.h"
#include "engine/level_file.h"
#include "park/starter_park.h"
#include "persistence/saved_game.h"
#include "persistence/state_hash.h"
#include "support/engine_fixture.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

namespace fs = std::filesystem;

fs::path StarterFile() {
    return test::BuildRoot() / "worlds" / datagen::kStarterFile;
}

TEST(StarterPark, HoldsAWholeSmallResortOnTheDefaultLevel) {
    TSKIEngine e({test::BuildRoot(), 3, nullptr});
    ASSERT_TRUE(LoadGameFile(e, StarterFile())) << e.LoadError;
    EXPECT_TRUE(test::ParkConsistent(e));
    EXPECT_EQ(e.Level.LevelName, "Mountain");
    EXPECT_EQ(e.Park.ParkMissionIndex, kMissionUnlimitedSandbox);
    EXPECT_EQ(GameCaption(e), "Sandbox game");

    std::map<uint8_t, int> lifts, buildings;
    for (const auto& s : e.Sections)
        if (s->IsLift()) ++lifts[s->LiftType];
    for (const auto& b : e.Buildings) ++buildings[b->Type];
    EXPECT_EQ(e.SlopeCount(), 3);
    EXPECT_EQ(e.LiftCount(), 2);
    EXPECT_EQ(lifts[3], 1) << "a quad chairlift";
    EXPECT_EQ(lifts[1], 1) << "a T-bar";
    for (uint8_t type :
         {kBuildStall, kBuildShelter, kBuildSnowCannon, kBuildSkiPatrol, kBuildSnowcatGarage}) {
        EXPECT_EQ(buildings[type], 1) << "building type " << int(type);
    }
    EXPECT_EQ(buildings[kBuildParking], 2);
    EXPECT_EQ(e.Park.ParkMaxSkiers, 2 * e.Params.Game.SkiersPerParkingLot) << "both lots take cars";
    // The ski patrol and the garage came with their vehicles.
    std::map<uint8_t, int> vehicles;
    for (const auto& v : e.Vehicles) ++vehicles[v->Type];
    EXPECT_GT(vehicles[0], 0) << "snowmobiles";
    EXPECT_GT(vehicles[3], 0) << "snowcats";
    // The snow cannon makes snow around itself.
    int artificial = 0;
    for (const TerrainCell& c : e.Grid) artificial += c.ArtificialSnow;
    EXPECT_GT(artificial, 100);
    // Every slope and lift is linked into the routes.
    for (const auto& s : e.Sections) EXPECT_FALSE(s->Points.empty());
}

// Each service building holds one vehicle on each of its seats (a hospital's helicopter on
// its first), and no two share a seat.
void ExpectFleetsFitTheirBuildings(const TSKIEngine& e, const char* what) {
    int services = 0;
    for (size_t b = 0; b < e.Buildings.size(); ++b) {
        const TSKIBuilding& home = *e.Buildings[b];
        const uint8_t category = home.Params().Category;
        if (category != kCategoryRescue && category != kCategoryHospital &&
            category != kCategorySnowCatGarage)
            continue;
        ++services;
        const size_t capacity = category == kCategoryHospital ? 1 : home.Seats.size();
        std::set<int32_t> seats;
        for (const auto& v : e.Vehicles) {
            if (v->Building != int32_t(b)) continue;
            EXPECT_TRUE(seats.insert(v->Seat).second) << what << ": building " << b;
        }
        EXPECT_EQ(seats.size(), capacity) << what << ": building " << b;
    }
    EXPECT_EQ(services, 2) << what << ": the ski patrol and the garage";
}

TEST(StarterPark, EachServiceBuildingHasTheFleetOfItsCapacity) {
    TSKIEngine built({test::BuildRoot(), 1, nullptr});
    ASSERT_TRUE(LoadLevelFile(built, datagen::kStarterLevel, false).ok());
    ASSERT_EQ(datagen::BuildStarterPark(built, nullptr), "");
    ExpectFleetsFitTheirBuildings(built, "as laid out");
    TSKIEngine shipped({test::BuildRoot(), 3, nullptr});
    ASSERT_TRUE(LoadGameFile(shipped, StarterFile())) << shipped.LoadError;
    ExpectFleetsFitTheirBuildings(shipped, "as shipped");
    EXPECT_EQ(shipped.Vehicles.size(), built.Vehicles.size());
}

TEST(StarterPark, RunsADayWithEveryPartWorkingAndSavesBackTheSame) {
    TSKIEngine e({test::BuildRoot(), 5, nullptr});
    ASSERT_TRUE(LoadGameFile(e, StarterFile())) << e.LoadError;
    e.Park.ParkSpeed = 4;
    SpawnSkiers(e, 300, UpdateArrivalPoint(e), 10, 10, true);
    const int32_t cashAtStart = e.Park.ParkCash;
    std::map<int, bool> rode;
    int32_t restaurantCustomers = 0;
    int groomed = 0;
    auto look = [&] {
        for (const auto& s : e.Sections)
            if (s->IsLift() && s->CustomersServed > 0) rode[e.IndexOf(s.get())] = true;
        int32_t customers = 0;
        for (const auto& b : e.Buildings)
            if (b->Type == kBuildStall || b->Type == kBuildShelter) customers += b->CustomersServed;
        restaurantCustomers = std::max(restaurantCustomers, customers);
    };
    // Up to the last tick before the day change, which ends the grooming.
    while (e.TicksRun < e.Game().DayLength - 2) {
        OnProgress(e, 1.0 / 30.0);
        look();
    }
    for (const TerrainCell& c : e.Grid)
        groomed += c.Groomed && (c.Kind == kCellSlope || c.Kind == kCellSlopeCentre);
    while (e.DayChanges < 1) OnProgress(e, 1.0 / 30.0);

    EXPECT_EQ(rode.size(), 2u) << "both lifts carried skiers";
    EXPECT_GT(restaurantCustomers, 20);
    EXPECT_GT(groomed, 200) << "the snowcats groomed the slopes";
    EXPECT_GT(e.Park.ParkCash, cashAtStart) << "a busy day pays";
    EXPECT_EQ(e.Park.ParkLeftBecauseDied, 0);

    // What the day leaves is a park that saves and loads back to the same file.
    test::TempDir dir;
    ASSERT_TRUE(SaveGameFile(e, dir / "day1.ski"));
    TSKIEngine again({test::BuildRoot(), 5, nullptr});
    ASSERT_TRUE(LoadGameFile(again, dir / "day1.ski")) << again.LoadError;
    EXPECT_TRUE(test::ParkConsistent(again));
    EXPECT_EQ(StateHash(again), StateHash(e));
}

// The game window hands the core what the view saw of every cell each frame (in view, near
// the camera); the headless runner never does. Those flags pick models and animations only:
// a park seen whole and a park seen nowhere run the same.
TEST(StarterPark, WhatTheViewSeesChangesNothingInThePark) {
    auto run = [](uint8_t flags) {
        TSKIEngine e({test::BuildRoot(), 7, nullptr});
        EXPECT_TRUE(LoadGameFile(e, StarterFile())) << e.LoadError;
        e.Park.ParkSpeed = 4;
        SpawnSkiers(e, 200, UpdateArrivalPoint(e), 10, 10, true);
        e.SetCellViewFlags(std::vector<uint8_t>(e.Grid.size(), flags));
        while (e.TicksRun < 200) OnProgress(e, 1.0 / 30.0);
        EXPECT_GT(e.Skiers.size(), 100u);
        return StateHashText(e);
    };
    EXPECT_EQ(run(kCellInView | kCellNearCamera), run(0));
}

}  // namespace
}  // namespace vallorn
