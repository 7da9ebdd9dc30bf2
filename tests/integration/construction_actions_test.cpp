// Construction as player actions on the shipped Training level: a check gives the verdict and
// the price the tools would show and changes nothing; the apply builds and charges that price.
#include <gtest/gtest.h>

#include "construction/build_menu.h"
#include "construction/construction.h"
#include "construction/construction_actions.h"
#include "engine/engine.h"
#include "engine/level_file.h"
#include "engine/player_actions.h"
#include "persistence/saved_game.h"
#include "support/engine_fixture.h"

namespace vallorn {
namespace {

// A platter lift up the Training slope; a road runs a few cells east of it.
constexpr int kLowerI = 112, kLowerJ = 244, kUpperI = 140, kUpperJ = 244;

class ConstructionActions : public ::testing::Test {
protected:
    void SetUp() override {
        e = std::make_unique<TSKIEngine>(TSKIEngineSetup{test::BuildRoot(), 3, &dialogs});
        con = std::make_unique<TSKIConstruction>(*e, tool);
        ASSERT_TRUE(LoadLevelFile(*e, "Training", false).ok());
        e->Park.ParkCash = 50000;
    }
    TSKIActionOutcome Do(const TSKIPlayerAction& a) { return PerformAction(*e, a); }
    void BuildLiftAndSlope() {
        ASSERT_TRUE(Do(BuildLiftAction(kLowerI, kLowerJ, kUpperI, kUpperJ, 0)).Done());
        ASSERT_TRUE(Do(SlopeStartAction(*con, kUpperI, kUpperJ)).Done());
        ASSERT_TRUE(Do(SlopeNodeAction(*con, 132, 234)).Done());
        ASSERT_TRUE(Do(SlopeNodeAction(*con, 120, 234)).Done());
        ASSERT_TRUE(Do(SlopeFinishAction(*con, kLowerI, kLowerJ)).Done());
    }
    // A refusal with the tools' text that leaves the park as it was.
    void ExpectRefused(const TSKIPlayerAction& a, const std::string& text) {
        const std::string before = SaveGameText(*e);
        const TSKIActionOutcome o = Do(a);
        EXPECT_EQ(o.Result, TSKIActionResult::Refused) << a.Name;
        EXPECT_EQ(o.Reason, text) << a.Name;
        EXPECT_EQ(SaveGameText(*e), before) << a.Name;
    }
    void PointAt(int i, int j) {
        tool.CursorSnap = false;
        con->SetCursorTarget(e->CellToWorld(i, j, true));
        con->UpdateTools(0);
    }

    test::FakeDialogs dialogs;
    std::unique_ptr<TSKIEngine> e;
    TSKIToolState tool;
    std::unique_ptr<TSKIConstruction> con;
};

TEST_F(ConstructionActions, ALiftIsChargedThePriceItsCheckShowed) {
    const TSKIPlayerAction lift = BuildLiftAction(kLowerI, kLowerJ, kUpperI, kUpperJ, 0);
    const TSKIActionCheck c = lift.Check(*e);
    ASSERT_TRUE(c.Ok) << c.Text;
    EXPECT_EQ(c.Cost, LiftPrice(*e, kLowerI, kLowerJ, kUpperI, kUpperJ, 0));
    EXPECT_EQ(c.Text, "Place upper station (Price:" + FormatMoney(c.Cost) + ")");
    EXPECT_TRUE(Do(lift).Done());
    EXPECT_EQ(e->Park.ParkCash, 50000 - c.Cost);
    ASSERT_EQ(e->LiftCount(), 1);
    EXPECT_EQ(e->Sections[0]->InvestedMoney, c.Cost);
    EXPECT_EQ(e->Cell(kLowerI, kLowerJ).Kind, kCellLiftLower);
}

TEST_F(ConstructionActions, ALiftCheckRefusesWithTheHoverTexts) {
    ExpectRefused(BuildLiftAction(kLowerI, kLowerJ, kLowerI + 3, kLowerJ, 0), "Lift too short!");
    ExpectRefused(BuildLiftAction(kLowerI, 251, kUpperI, 251, 0), "Invalid location!");  // road
    ExpectRefused(BuildLiftAction(kLowerI, kLowerJ, kUpperI, kUpperJ, 9), "No such lift type");
    e->Park.ParkCash = 100;
    const int32_t price = LiftPrice(*e, kLowerI, kLowerJ, kUpperI, kUpperJ, 0);
    ExpectRefused(BuildLiftAction(kLowerI, kLowerJ, kUpperI, kUpperJ, 0),
                  "Not enough money! (" + FormatMoney(price) + ")");
    e->Park.ParkMissionIndex = 0;  // a campaign mission without the unlock
    e->Park.ParkCash = 50000;
    ExpectRefused(BuildLiftAction(kLowerI, kLowerJ, kUpperI, kUpperJ, 0),
                  "This lift type is locked");
}

TEST_F(ConstructionActions, ASlopeIsDrawnNodeByNodeFromTheTopStationToTheBottomOne) {
    ExpectRefused(SlopeNodeAction(*con, 132, 234), "No slope is being drawn");
    ExpectRefused(SlopeStartAction(*con, 132, 234), "A slope starts on a slope or a lift station");
    BuildLiftAndSlope();
    EXPECT_EQ(e->SlopeCount(), 1);
    EXPECT_EQ(tool.Tool, TSKITool::None);
    EXPECT_EQ(e->Park.ParkCash, 50000 - e->Sections[0]->InvestedMoney);  // slopes are free
    const uint8_t kind = e->Cell(126, 234).Kind;
    EXPECT_TRUE(kind == kCellSlope || kind == kCellSlopeCentre) << int(kind);
}

TEST_F(ConstructionActions, FinishingRightAfterTheStartIsTooShortAndBuildsNothing) {
    ASSERT_TRUE(Do(BuildLiftAction(kLowerI, kLowerJ, kUpperI, kUpperJ, 0)).Done());
    ASSERT_TRUE(Do(SlopeStartAction(*con, kUpperI, kUpperJ)).Done());
    ExpectRefused(SlopeFinishAction(*con, 132, 234),
                  "A slope finishes on a slope or a lift station");
    const TSKIActionOutcome o = Do(SlopeFinishAction(*con, kLowerI, kLowerJ));
    EXPECT_EQ(o.Result, TSKIActionResult::Failed);
    EXPECT_EQ(o.Reason, "Slope too short!");
    EXPECT_EQ(e->SlopeCount(), 0);
    EXPECT_EQ(tool.Tool, TSKITool::Slope);  // still drawing
}

TEST_F(ConstructionActions, BuildingsFollowThePlacementRulesAndArePaidFor) {
    BuildLiftAndSlope();
    const int32_t cash = e->Park.ParkCash;
    ExpectRefused(PlaceBuildingAction(kBuildParking, 118, 247), "Can not build under lift");
    ExpectRefused(PlaceBuildingAction(kBuildStall, 126, 234), "Location ocupied");  // the slope
    ExpectRefused(PlaceBuildingAction(kBuildSightseeing, 104, 236), "No such building type");
    const TSKIPlayerAction stall = PlaceBuildingAction(kBuildStall, 104, 236);
    EXPECT_EQ(stall.Check(*e).Text, "OK (" + FormatMoney(3000) + ")");
    EXPECT_TRUE(Do(stall).Done());
    EXPECT_EQ(e->Park.ParkCash, cash - 3000);
    e->Park.ParkCash = 10;
    EXPECT_EQ(
        PlaceBuildingAction(kBuildStall, 100, 240).Check(*e).Text.rfind("Not enough money (", 0),
        0u);
}

TEST_F(ConstructionActions, DeletingAsksFirstAndNoKeepsEverything) {
    BuildLiftAndSlope();
    dialogs.answer = false;
    EXPECT_EQ(Do(DeleteSectionAction(1)).Result, TSKIActionResult::Declined);
    EXPECT_EQ(dialogs.questions.back(), "Do you really want to delete \rSlope #2 permanently?");
    EXPECT_EQ(e->SlopeCount(), 1);
    dialogs.answer = true;
    EXPECT_TRUE(Do(DeleteSectionAction(1)).Done());
    EXPECT_EQ(e->SlopeCount(), 0);
    EXPECT_EQ(e->Cell(126, 234).Kind, kCellFree);
    ExpectRefused(DeleteSectionAction(1), "No such slope or lift");
}

TEST_F(ConstructionActions, ALiftIsReplacedForTheFullPriceOfTheNewType) {
    ASSERT_TRUE(Do(BuildLiftAction(kLowerI, kLowerJ, kUpperI, kUpperJ, 0)).Done());
    ExpectRefused(ReplaceLiftAction(0, 1), "This lift type is not offered");  // T-bar
    const int32_t price = LiftPrice(*e, kLowerI, kLowerJ, kUpperI, kUpperJ, 2);
    const TSKIActionCheck c = ReplaceLiftAction(0, 2).Check(*e);
    EXPECT_EQ(c.Cost, price);
    EXPECT_EQ(c.Text, "Double chairlift (" + FormatMoney(price) + ")");
    const int32_t cash = e->Park.ParkCash;
    EXPECT_TRUE(Do(ReplaceLiftAction(0, 2)).Done());
    EXPECT_EQ(e->Park.ParkCash, cash - price);
    ASSERT_EQ(e->LiftCount(), 1);
    EXPECT_EQ(e->Sections[0]->LiftType, 2);
}

TEST_F(ConstructionActions, TheMenuStartsTheToolsOfTheCellUnderTheCursor) {
    PointAt(kLowerI, kLowerJ);
    TSKIActionOutcome o = ChooseMenuItem(*con, "Build slope");
    EXPECT_EQ(o.Reason, "No menu item \"Build slope\"");
    EXPECT_TRUE(ChooseMenuItem(*con, "Build lift/Platter lift").Done());
    EXPECT_EQ(tool.Tool, TSKITool::Lift);
    EXPECT_EQ(tool.LowerI, kLowerI);
    PointAt(kUpperI, kUpperJ);
    con->ToolClick();
    ASSERT_EQ(e->LiftCount(), 1);

    PointAt(kUpperI, kUpperJ);
    EXPECT_EQ(tool.ToolText, "Platter lift #1 - upper station");
    EXPECT_TRUE(ChooseMenuItem(*con, "Build slope").Done());
    EXPECT_EQ(tool.Tool, TSKITool::Slope);
    EXPECT_TRUE(ChooseMenuItem(*con, "Cancel").Done());
    EXPECT_EQ(tool.Tool, TSKITool::None);
    EXPECT_TRUE(ChooseMenuItem(*con, "Services/Parking").Done());
    EXPECT_EQ(tool.Tool, TSKITool::Building);
    EXPECT_EQ(tool.BuildingPreview.Type, kBuildParking);
    EXPECT_TRUE(ChooseMenuItem(*con, "Free ride").Done());
    EXPECT_EQ(tool.Tool, TSKITool::FreeRide);
}

// The tree tool's rule: room around the cell, blocked ground counting as occupied; a park
// that needs no more trees still gets them.
TEST_F(ConstructionActions, TreesArePlantedWithRoomAroundWhetherNeededOrNot) {
    BuildLiftAndSlope();
    ExpectRefused(PlantTreeAction(126, 237), "No room for a tree");  // three cells off the slope
    ASSERT_EQ(e->Cell(87, 203).Kind, kCellFree);
    e->Cell(87, 203).Blocked = true;
    ExpectRefused(PlantTreeAction(90, 200), "No room for a tree");
    e->Cell(87, 203).Blocked = false;
    e->Park.ParkCash = e->Game().TreePrice - 1;
    ExpectRefused(PlantTreeAction(90, 200), "Not enough cash!");
    e->Park.ParkCash = 50000;
    e->Park.ParkTreesFelled = 0;
    ASSERT_FALSE(e->Cell(90, 200).Tree);
    EXPECT_TRUE(Do(PlantTreeAction(90, 200)).Done());
    EXPECT_TRUE(e->Cell(90, 200).Tree);
    EXPECT_EQ(e->Park.ParkCash, 50000 - e->Game().TreePrice);
}

TEST_F(ConstructionActions, AGaragesAreaOfOperationsIsSetWithinReach) {
    ASSERT_TRUE(Do(PlaceBuildingAction(kBuildStall, 104, 236)).Done());
    ASSERT_TRUE(Do(PlaceBuildingAction(kBuildSnowcatGarage, 90, 200)).Done());
    ExpectRefused(SetAreaAction(0, 95, 205), "Only a snowcat garage has an area of operations");
    ExpectRefused(SetAreaAction(1, 90, 290), "Target out of reach!");  // 360 units away
    EXPECT_TRUE(Do(SetAreaAction(1, 100, 230)).Done());
    EXPECT_EQ(e->Buildings[1]->AreaI, 100);
    EXPECT_EQ(e->Buildings[1]->AreaJ, 230);
    EXPECT_EQ(tool.Tool, TSKITool::None);
}

TEST_F(ConstructionActions, ABuildingIsDeletedOnlyWhenThePlayerSaysYes) {
    ASSERT_TRUE(Do(PlaceBuildingAction(kBuildStall, 104, 236)).Done());
    EXPECT_EQ(DeleteBuildingAction(0).Check(*e).Text, "Delete Stall");
    dialogs.answer = false;
    EXPECT_EQ(Do(DeleteBuildingAction(0)).Result, TSKIActionResult::Declined);
    EXPECT_EQ(dialogs.questions.back(), "Do you really want to delete this building?");
    PointAt(104, 236);  // the menu's Delete asks the same and says so
    EXPECT_EQ(ChooseMenuItem(*con, "Delete").Result, TSKIActionResult::Declined);
    EXPECT_EQ(e->Buildings.size(), 1u);
    dialogs.answer = true;
    EXPECT_TRUE(ChooseMenuItem(*con, "Delete").Done());
    EXPECT_TRUE(e->Buildings.empty());
}

TEST_F(ConstructionActions, AMarketingCampaignBringsSkiersToTheParkingAndSaysSo) {
    ASSERT_TRUE(Do(PlaceBuildingAction(kBuildParking, 106, 256)).Done());
    e->Profile.MarketingPriceNormal = 7000;
    const int32_t cash = e->Park.ParkCash;
    EXPECT_TRUE(Do(MarketingAction(2, 3)).Done());
    EXPECT_EQ(e->Park.ParkCash, cash - 7000);
    const size_t n = e->Skiers.size();
    EXPECT_GE(n, 10u);
    EXPECT_LE(n, 19u);
    ASSERT_FALSE(dialogs.infos.empty());
    EXPECT_EQ(dialogs.infos.back(), std::to_string(n) + " new skilled skiers have arrived.");
}

}  // namespace
}  // namespace vallorn
