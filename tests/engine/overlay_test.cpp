// The park state behind the terrain overlays, and how the view is told that an overlay changed.
#include <gtest/gtest.h>

#include <vector>

#include "engine/engine.h"
#include "engine/level_file.h"
#include "engine/overlays.h"
#include "support/test_level.h"

namespace vallorn {
namespace {

// Flat at 10 with a terrace 10 higher on cells 100..139 (steep) and one 2.5 higher on cells
// 300..339 (medium).
float Terraces(int i, int j) {
    if (i >= 300 && i < 340 && j >= 300 && j < 340) return 12.5f;
    return test::Plateau(i, j);
}

class OverlayTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::TestLevel level;
        level.height = Terraces;
        level.meshKey = "terraces";
        level.rows[5] = "0123";
        const TSKILevelLoadResult r = f.WriteAndLoad(level);
        ASSERT_TRUE(r.ok()) << r.error;
    }
    test::LevelFixture f;
};

TEST_F(OverlayTest, SteepnessIsTheRiseAboveTheLowerNeighbours) {
    // Built at load.
    EXPECT_FLOAT_EQ(f->Cell(100, 120).Steepness, 10.0f);
    EXPECT_FLOAT_EQ(f->Cell(300, 320).Steepness, 2.5f);
    EXPECT_FLOAT_EQ(f->Cell(120, 120).Steepness, 0.0f);  // no lower neighbour
}

TEST_F(OverlayTest, OccupancyMarksBuildingsLiftsAndBlockedCells) {
    f->Params.Buildings[kBuildStall].Size = 5;  // cells up to 5 away, closer than 5 units
    f->Params.Lifts[0].OnGround = true;
    f->Cell(60, 61).Tree = true;
    f->Cell(60, 62).Tree = true;
    f->Cell(10, 10).Kind = kCellOccupied;  // left over from an earlier rebuild
    f->Cell(11, 11).Blocked = true;
    TSKIBuilding& b = f.AddBuilding(kBuildStall, f->CellToWorld(60, 60, true));
    std::vector<TSKIVector> line;
    for (int k = 0; k < 6; ++k) line.push_back(f->CellToWorld(400, 100 + 10 * k, true));
    TSKISection& lift = f.AddLift(line, 0);
    lift.Stations.push_back(f->CellToWorld(410, 105, true));
    RebuildOverlay(*f, TSKIOverlay::Occupancy);

    const std::vector<uint8_t> marks = OccupancyMarks(*f);
    auto mark = [&](int i, int j) { return marks[size_t(i) * kGridSize + size_t(j)]; };
    EXPECT_EQ(f->Cell(60, 60).Kind, kCellBuilding);
    EXPECT_EQ(f->BuildingByIndex(f->Cell(60, 60).Building), &b);
    EXPECT_EQ(f->Cell(60, 61).Kind, kCellOccupied);  // 4 units away
    EXPECT_FALSE(f->Cell(60, 61).Tree);
    EXPECT_EQ(f->Cell(61, 61).Kind, kCellFree);  // 5.7 units away
    EXPECT_TRUE(f->Cell(60, 62).Tree);           // 8 units away
    EXPECT_EQ(mark(60, 60), kOccupancyTaken);
    EXPECT_EQ(f->Cell(10, 10).Kind, kCellFree);
    EXPECT_EQ(mark(10, 10), kOccupancyFree);
    EXPECT_EQ(f->Cell(11, 11).Kind, kCellOccupied);
    EXPECT_EQ(mark(11, 11), kOccupancyTaken);

    EXPECT_EQ(mark(400, 100), kOccupancyLiftStart);  // the lower station
    EXPECT_EQ(mark(400, 150), kOccupancyTaken);
    EXPECT_EQ(mark(400, 130), kOccupancyTaken);
    EXPECT_EQ(mark(399, 130), kOccupancyTaken);  // inner nodes are marked wider
    EXPECT_EQ(mark(400, 129), kOccupancyTaken);
    EXPECT_EQ(mark(399, 110), kOccupancyFree);   // the second node is not
    EXPECT_EQ(mark(410, 105), kOccupancyTaken);  // a pole
    EXPECT_EQ(f->Cell(400, 130).Kind, kCellFree);
}

TEST_F(OverlayTest, ALevelLoadedAgainHasTheHeightsAndSteepnessWorkedOutAfresh) {
    // The second load shares the first one's surface, its cell heights and steepness.
    const TSKILevelLoadResult again = LoadLevelFile(*f, "Test", false);
    ASSERT_TRUE(again.ok()) << again.error;
    std::vector<float> heights, steepness;
    for (int i = 0; i < kGridSize; ++i)
        for (int j = 0; j < kGridSize; ++j) {
            heights.push_back(f->Cell(i, j).Height);
            steepness.push_back(f->Cell(i, j).Steepness);
        }
    RebuildSteepness(*f);
    int differ = 0;
    for (int i = 0; i < kGridSize; ++i)
        for (int j = 0; j < kGridSize; ++j) {
            const size_t k = size_t(i) * kGridSize + size_t(j);
            differ += heights[k] != f->CellToWorld(i, j, true).y ||
                      steepness[k] != f->Cell(i, j).Steepness;
        }
    EXPECT_EQ(differ, 0);
    EXPECT_FLOAT_EQ(f->Cell(100, 120).Steepness, 10.0f);
    // Another surface works out its own.
    test::TestLevel flat;
    flat.name = "Flat";
    ASSERT_TRUE(f.WriteAndLoad(flat).ok());
    EXPECT_EQ(f->Cell(100, 120).Steepness, 0.0f);
}

TEST_F(OverlayTest, EveryRebuildBumpsItsRevisionAndTheView) {
    const uint32_t view = f->Overlays.ViewRevision;
    const uint32_t occupancy = f->Overlays.Revisions[size_t(TSKIOverlay::Occupancy)];
    const uint32_t steep = f->Overlays.Revisions[size_t(TSKIOverlay::Steepness)];
    RebuildOverlay(*f, TSKIOverlay::Occupancy);
    RebuildOverlay(*f, TSKIOverlay::Steepness);
    EXPECT_EQ(f->Overlays.Revisions[size_t(TSKIOverlay::Occupancy)], occupancy + 1);
    EXPECT_EQ(f->Overlays.Revisions[size_t(TSKIOverlay::Steepness)], steep + 1);
    EXPECT_EQ(f->Overlays.ViewRevision, view + 2);
}

// The view paints again only the cells a change names, until a whole change or more changes
// than are remembered.
TEST(OverlayRevisions, PartChangesNameTheirCellsUntilAWholeChange) {
    TSKIOverlays o;
    const TSKIOverlay snow = TSKIOverlay::SnowOverlay;
    int first = 0, last = 0;
    ASSERT_TRUE(o.CellsChangedSince(snow, 0, first, last));
    EXPECT_GT(first, last);  // nothing changed
    o.TouchCells(snow, 10, 12);
    o.TouchCells(snow, 4, 5);
    o.TouchCells(TSKIOverlay::SnowMask, 100, 200);  // another overlay's
    ASSERT_TRUE(o.CellsChangedSince(snow, 0, first, last));
    EXPECT_EQ(first, 4);
    EXPECT_EQ(last, 12);
    ASSERT_TRUE(o.CellsChangedSince(snow, 1, first, last));
    EXPECT_EQ(first, 4);
    EXPECT_EQ(last, 5);
    o.Touch(snow);
    EXPECT_FALSE(o.CellsChangedSince(snow, 2, first, last));
    const uint32_t whole = o.Revisions[size_t(snow)];
    for (int k = 0; k < 200; ++k) o.TouchCells(snow, k, k);
    EXPECT_FALSE(o.CellsChangedSince(snow, whole, first, last));  // too many to remember
    ASSERT_TRUE(o.CellsChangedSince(snow, whole + 190, first, last));
    EXPECT_EQ(first, 190);
    EXPECT_EQ(last, 199);
}

}  // namespace
}  // namespace vallorn
