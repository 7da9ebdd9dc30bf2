// The editor's brushes and houses, and the parking capacity that follows the lots placed
// and deleted.
#include <gtest/gtest.h>

#include "construction/tool_world.h"

namespace vallorn {
namespace {

class EditorTools : public test::ToolWorld {
protected:
    // Holds the left button over the cell for one frame of the tool.
    void Brush(TSKITool brush, int i, int j) {
        con.StartEditorTool(brush);
        tool.Input.LeftButton = true;
        Hover(i, j);
        tool.Input.LeftButton = false;
    }
};

TEST_F(EditorTools, BrushesPaintWithinTheCursorRadiusOnlyWhileTheButtonIsHeld) {
    tool.CursorRadius = 12;
    con.StartEditorTool(TSKITool::BlockBrush);
    Hover(100, 100);
    EXPECT_FALSE(f->Cell(100, 100).Blocked);
    Brush(TSKITool::BlockBrush, 100, 100);
    EXPECT_TRUE(f->Cell(100, 100).Blocked);
    EXPECT_TRUE(f->Cell(103, 100).Blocked);  // 12 units away
    EXPECT_FALSE(f->Cell(104, 100).Blocked);
    EXPECT_FALSE(f->Cell(103, 103).Blocked);  // beyond the radius, inside the square
    Brush(TSKITool::UnblockBrush, 100, 100);
    EXPECT_FALSE(f->Cell(100, 100).Blocked);

    Brush(TSKITool::RoadBrush, 150, 150);
    EXPECT_EQ(f->Cell(150, 150).Kind, kCellRoad);
    Brush(TSKITool::UnblockBrush, 150, 150);
    EXPECT_EQ(f->Cell(150, 150).Kind, kCellFree);

    const uint32_t shown = f->Overlays.Revisions[size_t(TSKIOverlay::SnowOverlay)];
    Brush(TSKITool::SnowBrush, 200, 200);
    EXPECT_TRUE(f->Cell(200, 200).NaturalSnow);
    int first = 0, last = 0;  // the view is told which cells to show anew
    EXPECT_TRUE(f->Overlays.CellsChangedSince(TSKIOverlay::SnowOverlay, shown, first, last));
    EXPECT_TRUE(first <= 197 && last >= 203) << first << ".." << last;
    Brush(TSKITool::BareBrush, 200, 200);
    EXPECT_FALSE(f->Cell(200, 200).NaturalSnow);

    f->Cell(250, 250).Tree = true;
    Brush(TSKITool::RemoveTrees, 250, 250);
    EXPECT_FALSE(f->Cell(250, 250).Tree);
}

TEST_F(EditorTools, HousesAreBuiltBlockingTheirGroundAndDeletedByName) {
    con.StartEditorTool(TSKITool::AddHouse);
    tool.HouseIndex = 4;
    EXPECT_EQ(Hover(300, 300), "Build house 4");
    con.ToolClick();
    ASSERT_EQ(f->Houses.size(), 1u);
    EXPECT_EQ(f->Houses[0].Tag, 4);
    EXPECT_EQ(f->Cell(301, 300).Kind, kCellOccupied);

    con.StartEditorTool(TSKITool::DeleteHouse);
    EXPECT_EQ(Hover(320, 320), "No house");
    con.ToolClick();
    EXPECT_EQ(f->Houses.size(), 1u);
    EXPECT_EQ(Hover(300, 300), "Delete house 0");
    con.ToolClick();
    EXPECT_TRUE(f->Houses.empty());
}

TEST_F(EditorTools, ParkingCapacityFollowsTheLots) {
    f->Cell(200, 100).Kind = kCellRoad;
    ASSERT_TRUE(PlaceBuilding(*f, At(kBuildParking, 195, 100), true));
    EXPECT_EQ(f->Park.ParkMaxSkiers, f->Params.Game.SkiersPerParkingLot);
    EXPECT_TRUE(DeleteBuilding(*f, 0));
    EXPECT_EQ(f->Park.ParkMaxSkiers, 0);
}

}  // namespace
}  // namespace vallorn
