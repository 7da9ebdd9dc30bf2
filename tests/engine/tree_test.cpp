// Planting and removing trees, and the count of trees felled.
#include <gtest/gtest.h>

#include "engine/engine.h"
#include "support/test_level.h"

namespace vallorn {
namespace {

class TreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::TestLevel level;
        level.rows[0] = "2222222222";  // ten trees at load
        const TSKILevelLoadResult r = f.WriteAndLoad(level);
        ASSERT_TRUE(r.ok()) << r.error;
        f->Park.ParkCash = 1000;
    }
    test::LevelFixture f;
};

TEST_F(TreeTest, PlantingChargesThePriceAndRecountsTheTreesFelled) {
    f->RemoveTree(0, 0);
    f->RemoveTree(0, 1);
    f->RemoveTree(0, 2);
    EXPECT_EQ(f->Park.ParkTreesFelled, 0);  // removing alone does not recount
    EXPECT_TRUE(f->PlantTree(50, 60, 100));
    EXPECT_TRUE(f->Cell(50, 60).Tree);
    EXPECT_EQ(f->Park.ParkCash, 900);
    EXPECT_EQ(f->Park.ParkEcoExpence, 100);
    EXPECT_EQ(f->Park.ParkTreesFelled, 10 - 8);
    // More trees than the level began with: the count stops at 0.
    EXPECT_TRUE(f->PlantTree(50, 61, 100));
    EXPECT_TRUE(f->PlantTree(50, 62, 100));
    EXPECT_TRUE(f->PlantTree(50, 63, 100));
    EXPECT_EQ(f->Park.ParkTreesFelled, 0);
    EXPECT_EQ(f->Park.ParkEcoExpence, 400);
}

TEST_F(TreeTest, AFreeTreeChargesNothingAndDoesNotRecount) {
    f->RemoveTree(0, 5);
    f->Park.ParkTreesFelled = 42;
    EXPECT_TRUE(f->PlantTree(70, 70, 0));
    EXPECT_TRUE(f->Cell(70, 70).Tree);
    EXPECT_EQ(f->Park.ParkCash, 1000);
    EXPECT_EQ(f->Park.ParkEcoExpence, 0);
    EXPECT_EQ(f->Park.ParkTreesFelled, 42);
}

TEST_F(TreeTest, OccupiedCellsTakeNoTreeAndChargeNothing) {
    f->Cell(10, 1).Kind = kCellRoad;
    f->Cell(10, 2).Kind = kCellSlope;
    f->Cell(10, 3).Kind = kCellSlopeCentre;
    f->Cell(10, 4).Kind = kCellOccupied;
    f->Cell(10, 5).Kind = kCellBuilding;
    f->Cell(10, 6).Kind = kCellLiftLower;
    f->Cell(10, 7).UnderLift = true;
    for (int j = 1; j <= 7; ++j) {
        EXPECT_FALSE(f->PlantTree(10, j, 100)) << j;
        EXPECT_FALSE(f->Cell(10, j).Tree) << j;
    }
    EXPECT_FALSE(f->PlantTree(0, 0, 100));  // already has a tree
    EXPECT_FALSE(f->PlantTree(-1, 0, 100));
    EXPECT_FALSE(f->PlantTree(0, 513, 100));
    EXPECT_EQ(f->Park.ParkCash, 1000);
    EXPECT_EQ(f->Park.ParkEcoExpence, 0);
    // Blocked terrain that is still of the free kind takes a tree.
    f->Cell(10, 8).Blocked = true;
    EXPECT_TRUE(f->PlantTree(10, 8, 0));
}

TEST_F(TreeTest, WithoutTheCashNothingIsPlantedUnlessTheEditorIsOpen) {
    f->Park.ParkCash = 99;
    EXPECT_FALSE(f->PlantTree(20, 20, 100));
    EXPECT_FALSE(f->Cell(20, 20).Tree);
    EXPECT_EQ(f->Park.ParkCash, 99);
    // The editor sets the tree before the money test, and charges nothing it cannot pay.
    f->EditorOpen = true;
    EXPECT_TRUE(f->PlantTree(20, 20, 100));
    EXPECT_TRUE(f->Cell(20, 20).Tree);
    EXPECT_EQ(f->Park.ParkCash, 99);
    EXPECT_EQ(f->Park.ParkEcoExpence, 0);
    // With the cash the editor pays like the game.
    f->Park.ParkCash = 500;
    EXPECT_TRUE(f->PlantTree(20, 21, 100));
    EXPECT_EQ(f->Park.ParkCash, 400);
}

TEST_F(TreeTest, RemovingKeepsTheTreesLookAndCountingSeesTheWholeGrid) {
    const TSKIVector pos = f->Cell(0, 4).TreePosition;
    f->RemoveTree(0, 4);
    f->RemoveTree(600, 4);  // outside: ignored
    EXPECT_FALSE(f->Cell(0, 4).Tree);
    EXPECT_EQ(f->CountTrees(), 9);
    EXPECT_TRUE(f->PlantTree(0, 4, 0));
    EXPECT_EQ(f->Cell(0, 4).TreePosition, pos);
    EXPECT_TRUE(f->PlantTree(512, 512, 0));  // the extra row is part of the grid
    EXPECT_EQ(f->CountTrees(), 11);
}

}  // namespace
}  // namespace vallorn
