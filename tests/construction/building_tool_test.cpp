// Placing service buildings: the verdicts in their order, the parking lot's road, the
// charged creation with what comes with it, several buildings with Shift held, and the
// snowcat garage's area of operations.
#include <gtest/gtest.h>

#include <cstdio>

#include "construction/tool_world.h"

namespace vallorn {
namespace {

// Flat ground with a road along row 200.
class BuildingTool : public test::ToolWorld {
protected:
    test::TestLevel Level() const override {
        test::TestLevel l;
        l.rows[200] = Row(0, 511, 'R');
        return l;
    }
    std::string Verdict(uint8_t type, int i, int j, bool checkMoney = true) const {
        return ValidateBuilding(*f, At(type, i, j), checkMoney);
    }
    int32_t Cost(uint8_t type) const { return f->Params.Buildings[type].Cost; }
};

TEST_F(BuildingTool, VerdictsComeInTheirOrder) {
    ASSERT_EQ(f->Cell(200, 100).Kind, kCellRoad);
    // A snow bar's disc covers its cell and the eight around it.
    EXPECT_EQ(Verdict(kBuildSnowBar, 150, 100), "OK (" + FormatMoney(Cost(kBuildSnowBar)) + ")");
    EXPECT_EQ(Verdict(kBuildSnowBar, 199, 100), "Location ocupied");
    TSKIBuildingRecord beyond = At(kBuildSnowBar, 100, 100);
    beyond.Position.x = -4.0f * 600;
    EXPECT_EQ(ValidateBuilding(*f, beyond, true), "Invalid location");

    // Beside a lift: first the corridor alone, then its station as well.
    Lift(150, 50, 150, 150);
    int edge = 150;
    while (f->Cell(edge + 1, 120).UnderLift) ++edge;
    ASSERT_GT(edge, 150);
    ASSERT_EQ(f->Cell(edge, 120).Kind, kCellFree);
    EXPECT_EQ(Verdict(kBuildSnowBar, edge + 1, 120), "Can not build under lift");
    EXPECT_EQ(Verdict(kBuildSnowBar, edge + 2, 120).rfind("OK", 0), 0u);
    EXPECT_EQ(Verdict(kBuildSnowBar, 151, 150), "Location ocupied");

    f->Park.ParkCash = Cost(kBuildSnowBar) - 1;
    EXPECT_EQ(Verdict(kBuildSnowBar, 120, 100),
              "Not enough money (" + FormatMoney(Cost(kBuildSnowBar)) + ")");
    EXPECT_EQ(Verdict(kBuildSnowBar, 120, 100, false).rfind("OK", 0), 0u);
    EXPECT_EQ(Verdict(kBuildSnowBar, 199, 100), "Location ocupied");  // outranks the money
}

TEST_F(BuildingTool, AParkingLotNeedsARoadNearbyOtherTypesDoNot) {
    EXPECT_EQ(Verdict(kBuildParking, 195, 100).rfind("OK", 0), 0u)
        << Verdict(kBuildParking, 195, 100);
    EXPECT_EQ(Verdict(kBuildParking, 185, 100), "Office must be build close to road!");
    EXPECT_EQ(Verdict(kBuildStall, 185, 100).rfind("OK", 0), 0u);
}

TEST_F(BuildingTool, ShiftKeepsTheToolAndEveryBuildingIsCharged) {
    tool.CursorSnap = true;
    con.StartBuildingTool(kBuildStall);
    EXPECT_EQ(tool.Tool, TSKITool::Building);
    EXPECT_FALSE(tool.CursorSnap);
    const int32_t start = Cash();
    tool.Input.Shift = true;
    Click(150, 150);
    Click(150, 170);
    EXPECT_EQ(f->Buildings.size(), 2u);
    EXPECT_EQ(tool.Tool, TSKITool::Building);
    EXPECT_EQ(Cash(), start - 2 * Cost(kBuildStall));
    // A refused place costs nothing and keeps the tool.
    Click(199, 100);
    EXPECT_EQ(f->Buildings.size(), 2u);
    tool.Input.Shift = false;
    Click(150, 190);
    EXPECT_EQ(f->Buildings.size(), 3u);
    EXPECT_EQ(Cash(), start - 3 * Cost(kBuildStall));
    EXPECT_EQ(tool.Tool, TSKITool::None);
    EXPECT_TRUE(tool.CursorSnap);
    EXPECT_EQ(built.size(), 3u);
    const TSKIBuilding& stall = *f->Buildings[0];
    EXPECT_EQ(f->Cell(stall.CellI, stall.CellJ).Kind, kCellBuilding);
    EXPECT_EQ(f->BuildingByIndex(f->Cell(stall.CellI, stall.CellJ).Building), &stall);
    EXPECT_EQ(stall.ServicePrice, f->Params.Buildings[kBuildStall].ServiceCost);
    EXPECT_TRUE(stall.Open);
}

TEST_F(BuildingTool, AGarageComesWithItsSnowcatsAndItsAreaOfOperations) {
    con.StartBuildingTool(kBuildSnowcatGarage);
    Hover(120, 120);
    EXPECT_EQ(tool.CursorRadius, float(f->Params.Buildings[kBuildSnowcatGarage].Size));
    con.ToolClick();
    ASSERT_EQ(f->Buildings.size(), 1u);
    TSKIBuilding& garage = *f->Buildings[0];
    EXPECT_EQ(f->GarageCount, 1);
    EXPECT_FALSE(f->Vehicles.empty());
    for (const auto& v : f->Vehicles) EXPECT_EQ(v->Building, 0);
    EXPECT_EQ(garage.AreaI, garage.CellI);
    EXPECT_EQ(garage.AreaJ, garage.CellJ);
    EXPECT_EQ(tool.CursorRadius, 12.0f);
    EXPECT_EQ(built.back(), std::make_pair(int(kBuiltBuilding), uint8_t(kBuildSnowcatGarage)));

    con.StartAreaTool(0);
    EXPECT_EQ(tool.Tool, TSKITool::Area);
    EXPECT_EQ(Hover(120, 200), "Target out of reach!");
    EXPECT_FALSE(tool.AreaLineVisible);
    con.ToolClick();
    EXPECT_EQ(garage.AreaI, garage.CellI);
    EXPECT_EQ(Hover(140, 150), "Set area of operations");
    EXPECT_TRUE(tool.AreaLineVisible);
    con.ToolClick();
    EXPECT_EQ(garage.AreaI, 140);
    EXPECT_EQ(garage.AreaJ, 150);
    EXPECT_EQ(tool.Tool, TSKITool::None);
    EXPECT_EQ(con.AreaBuilding(), nullptr);
}

TEST_F(BuildingTool, TheAreaToolForgetsAGarageRemovedBehindItsBack) {
    ASSERT_TRUE(PlaceBuilding(*f, At(kBuildSnowcatGarage, 120, 120), true));
    con.StartAreaTool(0);
    f->RemoveBuilding(0);  // as a load or another window would
    Hover(130, 130);
    EXPECT_EQ(con.AreaBuilding(), nullptr);
    EXPECT_EQ(tool.Tool, TSKITool::None);
    con.ToolClick();
}

TEST_F(BuildingTool, ASnowCannonShowsItsReachAndMakesSnow) {
    con.StartBuildingTool(kBuildSnowCannon);
    EXPECT_TRUE(f->Display().Layers() & kDisplaySnow);
    Hover(100, 100);
    EXPECT_EQ(tool.CursorRadius, 80.0f);
    EXPECT_EQ(tool.ToolText, "OK (" + FormatMoney(Cost(kBuildSnowCannon)) + ")");
    con.ToolClick();
    EXPECT_TRUE(f->Cell(100, 110).ArtificialSnow);
}

// A garage in a wood says how many trees it fells and what they cost in rating, and fells
// exactly those; on open ground the verdict stays the plain price.
TEST_F(BuildingTool, APlacementInAWoodSaysWhatItFells) {
    for (int i = 100; i < 140; ++i)
        for (int j = 100; j < 140; ++j) f->PlantTree(i, j, 0);
    f->Level.TreeCount = f->CountTrees();
    f->CountTreesFelled();
    const std::string verdict = Verdict(kBuildSnowcatGarage, 120, 120);
    int trees = 0;
    float cost = 0;
    ASSERT_EQ(
        std::sscanf(verdict.c_str(), "OK (%*[^)]) Fells %d trees: rating -%f %%", &trees, &cost), 2)
        << verdict;
    const int32_t before = f->CountTrees();
    ASSERT_TRUE(PlaceBuilding(*f, At(kBuildSnowcatGarage, 120, 120), true));
    EXPECT_EQ(before - f->CountTrees(), trees);
    EXPECT_EQ(f->Park.ParkTreesFelled, trees);
    EXPECT_FLOAT_EQ(cost, 0.5f * float(trees));
    EXPECT_EQ(Verdict(kBuildSnowcatGarage, 170, 170),
              "OK (" + FormatMoney(Cost(kBuildSnowcatGarage)) + ")");
}

class SteepBuilding : public test::ToolWorld {
protected:
    test::TestLevel Level() const override {
        test::TestLevel l;
        l.height = [](int i, int) { return 2.5f * float(i); };
        l.meshKey = "steep";
        return l;
    }
};

TEST_F(SteepBuilding, SteepGroundRefusesEveryTypeButTheLandmark) {
    EXPECT_EQ(ValidateBuilding(*f, At(kBuildHospital, 100, 100), true), "Terrain too steep");
    EXPECT_EQ(ValidateBuilding(*f, At(kBuildSightseeing, 100, 100), true).rfind("OK", 0), 0u);
}

}  // namespace
}  // namespace vallorn
