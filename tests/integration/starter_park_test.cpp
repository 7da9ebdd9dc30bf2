// The starter park the build ships: what it holds, and a game day of it as the game runs it.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "park/starter_park.h"
#include "persistence/state_hash.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

namespace fs = std::filesystem;

fs::path StarterFile() {
    return test::BuildRoot() / "worlds" / datagen::kStarterFile;
}

TEST(StarterPark, HoldsAWholeSmallResortOnTheDefaultLevel) {
    TSKIEngine e({test::BuildRoot(), 3, nullptr});
    ASSERT_TRUE(e.LoadGameFile(StarterFile())) << e.LoadError;
    EXPECT_EQ(e.Level.LevelName, "Mountain");
    EXPECT_EQ(e.Park.ParkMissionIndex, kMissionUnlimitedSandbox);
    EXPECT_EQ(e.GameCaption, "Sandbox game");

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
    EXPECT_EQ(e.Park.ParkMaxSkiers, 100) << "both lots take cars";
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

TEST(StarterPark, RunsADayWithEveryPartWorkingAndSavesBackTheSame) {
    TSKIEngine e({test::BuildRoot(), 5, nullptr});
    ASSERT_TRUE(e.LoadGameFile(StarterFile())) << e.LoadError;
    e.Park.ParkSpeed = 4;
    e.SpawnSkiers(300, e.UpdateArrivalPoint(), 10, 10, true);
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
        e.OnProgress(1.0 / 30.0);
        look();
    }
    for (const TerrainCell& c : e.Grid)
        groomed += c.Groomed && (c.Kind == kCellSlope || c.Kind == kCellSlopeCentre);
    while (e.DayChanges < 1) e.OnProgress(1.0 / 30.0);

    EXPECT_EQ(rode.size(), 2u) << "both lifts carried skiers";
    EXPECT_GT(restaurantCustomers, 20);
    EXPECT_GT(groomed, 200) << "the snowcats groomed the slopes";
    EXPECT_GT(e.Park.ParkCash, cashAtStart) << "a busy day pays";
    EXPECT_EQ(e.Park.ParkLeftBecauseDied, 0);

    // What the day leaves is a park that saves and loads back to the same file.
    test::TempDir dir;
    ASSERT_TRUE(e.SaveGameFile(dir / "day1.ski"));
    TSKIEngine again({test::BuildRoot(), 5, nullptr});
    ASSERT_TRUE(again.LoadGameFile(dir / "day1.ski")) << again.LoadError;
    EXPECT_EQ(StateHash(again), StateHash(e));
}

}  // namespace
}  // namespace vallorn
