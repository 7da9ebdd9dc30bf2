// Deleting slopes, lifts and buildings: the questions, what the world gets back, and what a
// declined question leaves alone.
#include <gtest/gtest.h>

#include "construction/tool_world.h"

namespace vallorn {
namespace {

using Demolition = test::ToolWorld;

TEST_F(Demolition, ADeletedSlopeFreesItsCellsAndItsRoutes) {
    TSKISection* slope = f->CreateSlope({f->CellToWorld(100, 100, false) + TSKIVector(0, 0, 0, 3),
                                         f->CellToWorld(120, 110, false) + TSKIVector(0, 0, 0, 3),
                                         f->CellToWorld(140, 100, false) + TSKIVector(0, 0, 0, 3)},
                                        "Blue run");
    f->RebuildNavigation();
    ASSERT_EQ(f->SectionByIndex(f->Cell(120, 110).Section), slope);
    ASSERT_GT(f->Cell(120, 110).NavLinkCount, 0);

    f.dialogs.answer = false;
    EXPECT_FALSE(DeleteSection(*f, 0, true));
    ASSERT_EQ(f.dialogs.questions.size(), 1u);
    EXPECT_EQ(f.dialogs.questions[0], "Do you really want to delete \rBlue run permanently?");
    EXPECT_EQ(f->Sections.size(), 1u);
    EXPECT_EQ(f->SectionByIndex(f->Cell(120, 110).Section), slope);

    f.dialogs.answer = true;
    EXPECT_TRUE(DeleteSection(*f, 0, true));
    EXPECT_TRUE(test::ParkConsistent(*f));
    EXPECT_TRUE(f->Sections.empty());
    for (int i = 95; i <= 145; ++i) {
        for (int j = 95; j <= 115; ++j) {
            EXPECT_EQ(f->Cell(i, j).Kind, kCellFree) << i << "," << j;
            EXPECT_EQ(f->Cell(i, j).NavLinkCount, 0) << i << "," << j;
        }
    }
}

TEST_F(Demolition, ADeletedLiftGivesBackItsStationsAndCorridor) {
    Lift(100, 100, 100, 160);
    ASSERT_TRUE(f->Cell(101, 130).UnderLift);
    EXPECT_TRUE(DeleteSection(*f, 0, false));
    EXPECT_TRUE(test::ParkConsistent(*f));
    EXPECT_TRUE(f.dialogs.questions.empty());
    EXPECT_EQ(f->Cell(100, 100).Kind, kCellFree);
    EXPECT_EQ(f->Cell(100, 160).Kind, kCellFree);
    EXPECT_EQ(f->Cell(100, 130).Kind, kCellFree);
    EXPECT_FALSE(f->Cell(101, 130).UnderLift);
    // The ground can take a new lift at once.
    EXPECT_NE(BuildLift(*f, 100, 100, 100, 160, 3), nullptr);
}

TEST_F(Demolition, ADeletedLiftThatStoodOnASlopeGivesTheSlopeItsCellsBack) {
    TSKISection* slope = f->CreateSlope({f->CellToWorld(100, 100, false) + TSKIVector(0, 0, 0, 3),
                                         f->CellToWorld(120, 110, false) + TSKIVector(0, 0, 0, 3),
                                         f->CellToWorld(140, 100, false) + TSKIVector(0, 0, 0, 3)});
    auto slopeCells = [&] {
        int n = 0;
        for (const TerrainCell& c : f->Grid)
            n += f->SectionByIndex(c.Section) == slope &&
                 (c.Kind == kCellSlope || c.Kind == kCellSlopeCentre);
        return n;
    };
    const int before = slopeCells();
    // A cable car whose upper station stands on the slope.
    Lift(120, 60, 120, 108, 4);
    ASSERT_LT(slopeCells(), before);
    ASSERT_TRUE(DeleteSection(*f, 1, false));
    EXPECT_TRUE(test::ParkConsistent(*f));
    EXPECT_EQ(slopeCells(), before);
    EXPECT_EQ(f->SectionByIndex(f->Cell(120, 108).Section), slope);
}

TEST_F(Demolition, OverlappingSnowCannonsKeepSnowWhereTheOtherStillReaches) {
    ASSERT_TRUE(PlaceBuilding(*f, At(kBuildSnowCannon, 100, 100), true));
    ASSERT_TRUE(PlaceBuilding(*f, At(kBuildSnowCannon, 100, 120), true));
    ASSERT_TRUE(f->Cell(100, 90).ArtificialSnow);
    ASSERT_TRUE(f->Cell(100, 110).ArtificialSnow);
    ASSERT_TRUE(f->Cell(100, 130).ArtificialSnow);

    f.dialogs.answer = false;
    EXPECT_FALSE(DeleteBuilding(*f, 0));
    EXPECT_EQ(f->Buildings.size(), 2u);
    f.dialogs.answer = true;
    EXPECT_TRUE(DeleteBuilding(*f, 0));
    EXPECT_TRUE(test::ParkConsistent(*f));
    EXPECT_EQ(f.dialogs.questions.back(), "Do you really want to delete this building?");
    EXPECT_FALSE(f->Cell(100, 90).ArtificialSnow);
    EXPECT_TRUE(f->Cell(100, 110).ArtificialSnow);
    EXPECT_TRUE(f->Cell(100, 130).ArtificialSnow);
    EXPECT_EQ(f->Cell(100, 100).Kind, kCellFree);
    EXPECT_EQ(f->BuildingByIndex(f->Cell(100, 100).Building), nullptr);
}

TEST_F(Demolition, DeletingABuildingTakesItsVehiclesAndRenumbersTheOthers) {
    ASSERT_TRUE(PlaceBuilding(*f, At(kBuildRescueStation, 100, 100), true));
    ASSERT_TRUE(PlaceBuilding(*f, At(kBuildSnowcatGarage, 140, 140), true));
    size_t snowcats = 0;
    for (const auto& v : f->Vehicles) snowcats += v->Building == 1;
    ASSERT_GT(snowcats, 0u);
    ASSERT_LT(snowcats, f->Vehicles.size());

    con.StartAreaTool(0);  // the selection goes with the building
    Hover(100, 100);
    con.DeleteUnderCursor();
    EXPECT_TRUE(test::ParkConsistent(*f));
    EXPECT_EQ(f->Buildings.size(), 1u);
    EXPECT_EQ(con.AreaBuilding(), nullptr);
    EXPECT_EQ(f->Vehicles.size(), snowcats);
    for (const auto& v : f->Vehicles) EXPECT_EQ(v->Building, 0);

    EXPECT_TRUE(DeleteBuilding(*f, 0));
    EXPECT_TRUE(f->Vehicles.empty());
    EXPECT_EQ(f->GarageCount, 0);
}

}  // namespace
}  // namespace vallorn
