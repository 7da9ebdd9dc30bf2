// Saved games as people edit and share them: values beyond what the game writes, damaged
// records, and the indexes that refer to them.
#include <gtest/gtest.h>

#include "engine/engine.h"
#include "persistence/ini_file.h"
#include "persistence/saved_game_blocks.h"
#include "support/resort_builder.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

using test::TempDir;

std::unique_ptr<TSKIEngine> NewEngine() {
    return std::make_unique<TSKIEngine>(TSKIEngineSetup{test::BuildRoot(), 3, nullptr});
}

// The world position of a cell's corner, as the game computes it.
TSKIVector At(int i, int j, float y = 0) {
    return {-4.0f * float(i) - 0.5f, y, 4.0f * float(j) - 0.5f, 1};
}

// A saved game on the shipped mountain, written block by block.
class TGameText {
public:
    TGameText() { f.WriteString("SKIWorld", "WorldName", "Mountain"); }
    void Skier(const TSKISkierRecord& r) {
        Put("StreamSKISkiers", std::to_string(skiers++), PackSkier(r));
    }
    void Building(const TSKIBuildingBlock& b) {
        Put("SKIBuildings", std::to_string(buildings++) + "s", PackBuilding(b));
    }
    void Vehicle(const TSKIVehicleBlock& b) {
        Put("SKIVehicles", std::to_string(vehicles++) + "s", PackVehicle(b));
    }
    void Put(const char* section, const std::string& key, const TSKIBlock& b) {
        f.WriteBinary(section, key, b.data(), b.size());
    }
    bool Load(TSKIEngine& e, const TempDir& dir) {
        test::WriteText(dir / "game.ski", f.ToText());
        return e.LoadGameFile(dir / "game.ski");
    }
    TIniFile f;
    int skiers = 0, buildings = 0, vehicles = 0;
};

TSKIBuildingBlock Garage(int i, int j) {
    TSKIBuildingBlock b;
    b.Record.Type = kBuildSnowcatGarage;
    b.Record.Position = At(i, j);
    b.Record.Direction = {0, 0, 1, 0};
    return b;
}

TEST(SavedGameBounds, ValuesWithADefaultRangeAreClampedIntoIt) {
    TGameText g;
    g.f.WriteString("SKIParkData", "ParkCamPosX", "1e30");
    g.f.WriteString("SKIParkData", "ParkCamPosZ", "-3e9");
    g.f.WriteString("SKIParkData", "ParkWeather", "7");
    TSKISkierRecord s;
    s.Position = At(200, 200, 50);
    s.Cold = 1e9f, s.Hunger = -1e30f, s.Skill = 40;
    g.Skier(s);
    TSKIBuildingBlock b = Garage(210, 210);
    b.AreaI = 2147483000, b.AreaJ = -5;
    b.Record.UpgradeBonus = 1e20f;
    g.Building(b);
    TempDir dir;
    auto e = NewEngine();
    ASSERT_TRUE(g.Load(*e, dir)) << e->LoadError;
    EXPECT_FLOAT_EQ(e->CameraFocusX, kWorldMaxX);
    EXPECT_FLOAT_EQ(e->CameraFocusZ, kWorldMinZ);
    EXPECT_FLOAT_EQ(e->Park.ParkWeather, 1);
    ASSERT_EQ(e->Skiers.size(), 1u);
    EXPECT_FLOAT_EQ(e->Skiers[0]->Cold, 100);
    EXPECT_FLOAT_EQ(e->Skiers[0]->Hunger, -100);
    EXPECT_FLOAT_EQ(e->Skiers[0]->Skill, 1);
    ASSERT_EQ(e->Buildings.size(), 1u);
    EXPECT_EQ(e->Buildings[0]->AreaI, e->Buildings[0]->CellI);
    EXPECT_EQ(e->Buildings[0]->AreaJ, e->Buildings[0]->CellJ);
    EXPECT_FLOAT_EQ(e->Buildings[0]->UpgradeBonus, kUpgradeBonusMax);
    // The snowcat works round its own cell and the park runs on.
    for (int k = 0; k < 120; ++k) e->OnProgress(0.1);
}

TEST(SavedGameBounds, ClockAndCashStopAtTheirLimitsInsteadOfWrapping) {
    auto e = NewEngine();
    ASSERT_TRUE(e->LoadLevelFile("Mountain", false).ok());
    ASSERT_TRUE(test::BuildResort(*e).ok());
    e->Park.ParkTime = std::numeric_limits<int32_t>::max();
    e->Park.ParkCash = std::numeric_limits<int32_t>::min() + 10;
    TempDir dir;
    ASSERT_TRUE(e->SaveGameFile(dir / "edge.ski"));
    auto l = NewEngine();
    ASSERT_TRUE(l->LoadGameFile(dir / "edge.ski")) << l->LoadError;
    l->Park.ParkSpeed = 4;
    for (int k = 0; k < 100000 && l->AccountingHours < 1; ++k) l->OnProgress(0.1);
    ASSERT_GE(l->AccountingHours, 1);
    EXPECT_EQ(l->Park.ParkTime, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(l->DayChanges, 0);
    EXPECT_EQ(l->Park.ParkCash, std::numeric_limits<int32_t>::min());
    // A clock before -1 is refused.
    test::WriteText(dir / "early.ski",
                    "[SKIWorld]\nWorldName=Mountain\n[SKIParkData]\nParkTime=-2\n");
    EXPECT_FALSE(l->LoadGameFile(dir / "early.ski"));
    EXPECT_NE(l->LoadError.find("ParkTime"), std::string::npos) << l->LoadError;
}

}  // namespace
}  // namespace vallorn
