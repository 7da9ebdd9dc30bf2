// Vehicles on the default mountain: snowcats grooming real slopes among trees and lifts, and
// a helicopter reaching a skier who fell on a slope, over the real terrain.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/level_file.h"
#include "support/resort_builder.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

int CountGroomedSlopeCells(const TSKIEngine& e) {
    int n = 0;
    for (const TerrainCell& c : e.Grid) {
        n += (c.Kind == kCellSlope || c.Kind == kCellSlopeCentre) && c.Groomed;
    }
    return n;
}

class VehiclesOnTheMountain : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(LoadLevelFile(e, "Mountain", false).ok());
        layout = test::BuildResort(e);
        ASSERT_TRUE(layout.ok()) << layout.error;
    }
    // A building of the type a few cells beside the lift's lower station.
    TSKIBuilding& PlaceNearBottom(uint8_t type, int di, int dj) {
        TSKIBuildingRecord r;
        r.Type = type;
        r.Position = e.CellToWorld(layout.lowerI + di, layout.lowerJ + dj, true);
        return *e.CreateBuilding(r);
    }
    void TickVehicles(float seconds, float dt = 0.1f) {
        for (float t = 0; t < seconds; t += dt) {
            for (size_t k = e.Vehicles.size(); k-- > 0;) e.Vehicles[k]->Tick(dt);
        }
    }

    TSKIEngine e{{test::BuildRoot(), 11, nullptr}};
    test::TResortLayout layout;
};

TEST_F(VehiclesOnTheMountain, SnowcatsGroomTheSlopesAndGoHomeWhenTheGarageCloses) {
    TSKIBuilding& garage = PlaceNearBottom(kBuildSnowcatGarage, 0, 14);
    garage.AreaI = layout.lowerI;
    garage.AreaJ = layout.lowerJ;
    ASSERT_EQ(e.Vehicles.size(), 2u);
    const int before = CountGroomedSlopeCells(e);
    TickVehicles(300);
    EXPECT_GT(CountGroomedSlopeCells(e), before + 20);
    for (const auto& cat : e.Vehicles) {
        EXPECT_TRUE(e.PositionInGrid(cat->Position));
        EXPECT_NEAR(cat->Position.y, e.GroundHeight(cat->Position), 1e-3f);
    }

    garage.Open = false;
    TickVehicles(400);
    for (const auto& cat : e.Vehicles) {
        EXPECT_TRUE(cat->Returning);
        EXPECT_FALSE(cat->Moving);
        EXPECT_LT(GroundDistance(cat->Position, cat->ParkingPlace()), 3.0f);
    }
}

TEST_F(VehiclesOnTheMountain, AHelicopterReachesASkierWhoFellOnASlope) {
    PlaceNearBottom(kBuildHospital, 0, -18);
    ASSERT_EQ(e.Vehicles.size(), 1u);
    TSKIVehicle& heli = *e.Vehicles[0];
    const TSKISection& slope = *e.Sections[size_t(layout.slopes[0])];
    TSKISkierRecord record;
    record.Position = slope.Points[slope.Points.size() / 2];
    record.Position.w = 1;  // the drawn point carries the slope width there
    record.Position.y = e.GroundHeight(record.Position) + 0.2f;
    record.Injured = true;
    e.Skiers.push_back(std::make_unique<TSKISkier>(e, record));
    TSKISkier& s = *e.Skiers.back();
    s.State = kSkierInjured;
    s.Energy = 0;

    const TSKIVector pad = heli.ParkingPlace();
    const float away = GroundDistance(pad, s.Position);
    ASSERT_GT(away, 40.0f);
    float highest = 0;
    int ticks = 0;
    while (s.Injured && ticks < 90) {
        ASSERT_TRUE(s.Periodic());
        ++ticks;
        for (float t = 0; t < e.Game().TickTime; t += 0.05f) {
            heli.Tick(0.05f);
            highest = std::max(highest, heli.Position.y - e.GroundHeight(heli.Position));
        }
    }
    EXPECT_GT(ticks, int(away / e.Params.Vehicles[kVehicleHelicopter].Speed / e.Game().TickTime));
    EXPECT_NEAR(highest, 30.316f, 0.01f);  // it flew at cruising height
    EXPECT_FALSE(s.Injured);
    EXPECT_EQ(s.State, kSkierIdle);
    TickVehicles(120);
    EXPECT_FALSE(heli.Moving);
    EXPECT_LT(GroundDistance(heli.Position, heli.ParkingPlace()), 1e-3f);
}

}  // namespace
}  // namespace vallorn
