// Planting trees with the brush: the texts, the clearance around every planted tree and the
// price of each tree.
#include <gtest/gtest.h>

#include "construction/construction_actions.h"
#include "construction/tool_world.h"

namespace vallorn {
namespace {

class TreeTool : public test::ToolWorld {
protected:
    test::TestLevel Level() const override {
        test::TestLevel l;
        l.rows[104] = Row(100, 100, '4');  // one blocked cell inside the brush
        return l;
    }
    void SetUp() override {
        ToolWorld::SetUp();
        f->Park.ParkTreesFelled = 50;
        ASSERT_TRUE(PlaceBuilding(*f, At(kBuildStall, 96, 96), false));
        Lift(90, 103, 90, 140);
        con.StartTreeTool();
        // Page Up held widens the brush to its limit.
        tool.Input.PageUp = true;
        for (int k = 0; k < 40; ++k) Hover(100, 100);
        tool.Input.PageUp = false;
    }
};

TEST_F(TreeTool, TheTextTellsThePriceTheLackOfCashOrThatNoTreeIsNeeded) {
    EXPECT_EQ(tool.Tool, TSKITool::Trees);
    EXPECT_TRUE(f->Display().Layers() & kDisplayTrees);
    EXPECT_GE(tool.CursorRadius, 30.0f);
    const int32_t price = f->Game().TreePrice;
    EXPECT_EQ(Hover(100, 100), "Plant trees (Price: " + std::to_string(price) + ",- each)");
    f->Park.ParkCash = price - 1;
    EXPECT_EQ(Hover(100, 100), "Not enough cash!");
    EXPECT_EQ(tool.ToolTextColor, kToolTextRed);
    f->Park.ParkTreesFelled = 0;
    EXPECT_EQ(Hover(100, 100), "No more trees needed!");
}

TEST_F(TreeTool, PlantingWhereATreeStandsIsRefusedForWantOfRoomAndCostsNothing) {
    ASSERT_TRUE(f->PlantTree(150, 150, 0));
    const int32_t cash = Cash();
    const TSKIActionOutcome o = PerformAction(*f, PlantTreeAction(150, 150));
    EXPECT_EQ(o.Result, TSKIActionResult::Refused);
    EXPECT_EQ(o.Reason, "No room for a tree");
    EXPECT_EQ(Cash(), cash);
}

TEST_F(TreeTool, HeldButtonPlantsPaidTreesNeverNearANonFreeCell) {
    const int32_t start = Cash();
    tool.Input.LeftButton = true;
    for (int frame = 0; frame < 600; ++frame) Hover(100, 100);
    tool.Input.LeftButton = false;
    int planted = 0;
    for (int i = 80; i <= 120; ++i) {
        for (int j = 80; j <= 120; ++j) {
            if (!f->Cell(i, j).Tree) continue;
            ++planted;
            for (int a = i - 3; a <= i + 3; ++a)
                for (int b = j - 3; b <= j + 3; ++b) {
                    EXPECT_EQ(f->Cell(a, b).Kind, kCellFree) << i << "," << j;
                    EXPECT_FALSE(f->Cell(a, b).UnderLift) << i << "," << j;
                }
        }
    }
    EXPECT_GT(planted, 0);
    EXPECT_EQ(start - Cash(), planted * f->Game().TreePrice);
}

TEST_F(TreeTool, PlantingStopsWhenTheCashRunsShort) {
    f->Park.ParkCash = 3 * f->Game().TreePrice + 1;
    tool.Input.LeftButton = true;
    for (int frame = 0; frame < 600; ++frame) Hover(100, 100);
    EXPECT_EQ(f->CountTrees(), 3);
    EXPECT_EQ(Cash(), 1);
}

}  // namespace
}  // namespace vallorn
