// The blocked-terrain mask computed from the slope of the ground.
#include <gtest/gtest.h>

#include "engine/blocked.h"
#include "engine/engine.h"
#include "engine/overlays.h"
#include "support/test_level.h"

namespace vallorn {
namespace {

// Flat ground at 10 with: the plateau of test::Plateau (cells 100..139 raised by 10), a
// one-cell spike at (302, 302), and a 5 x 5 checkerboard of 10 and 15 on cells 200..204.
float Rough(int i, int j) {
    if (i == 302 && j == 302) return 30.0f;
    if (i >= 200 && i <= 204 && j >= 200 && j <= 204) return 10.0f + 5.0f * float((i + j) % 2);
    return test::Plateau(i, j);
}

int CountBlocked(const TSKIEngine& e, int i0 = 0, int i1 = 511, int j0 = 0, int j1 = 511) {
    int n = 0;
    for (int i = i0; i <= i1; ++i)
        for (int j = j0; j <= j1; ++j) n += e.Cell(i, j).Blocked;
    return n;
}

class BlockedTest : public ::testing::Test {
protected:
    void SetUp() override {
        level.height = Rough;
        level.meshKey = "rough";
    }
    void Load() {
        const TSKILevelLoadResult r = f.WriteAndLoad(level);
        ASSERT_TRUE(r.ok()) << r.error;
    }
    test::LevelFixture f;
    test::TestLevel level;
};

TEST_F(BlockedTest, GrainZeroKeepsEverySteepCell) {
    level.rows[5] = "4444";  // blocked by hand, cleared because the ground there is flat
    Load();
    ASSERT_TRUE(f->Cell(5, 0).Blocked);
    ComputeBlocked(*f, 0);
    EXPECT_FALSE(f->Cell(5, 0).Blocked);
    // The plateau: a ring of 40 cells on each side outside the cliff and the 156 cells of
    // its own edge; the corners outside are not next to the cliff.
    EXPECT_EQ(CountBlocked(*f, 90, 150, 90, 150), 4 * 40 + 156);
    EXPECT_TRUE(f->Cell(99, 120).Blocked);
    EXPECT_TRUE(f->Cell(100, 120).Blocked);
    EXPECT_FALSE(f->Cell(101, 120).Blocked);
    EXPECT_FALSE(f->Cell(99, 99).Blocked);
    // The spike and its four neighbours.
    EXPECT_EQ(CountBlocked(*f, 295, 310, 295, 310), 5);
}

TEST_F(BlockedTest, TheThresholdComparesTheRiseTimesTheYScale) {
    level.blockThreshold = "20,5";  // the cliff's 10 rises 20 after the Y scale of 2
    Load();
    ComputeBlocked(*f, 0);
    EXPECT_EQ(CountBlocked(*f, 90, 150, 90, 150), 0);
    EXPECT_EQ(CountBlocked(*f, 295, 310, 295, 310), 5);  // the spike rises 40
    f->Level.BlockThreshold = 19.5f;
    ComputeBlocked(*f, 0);
    EXPECT_EQ(CountBlocked(*f, 90, 150, 90, 150), 4 * 40 + 156);
}

TEST_F(BlockedTest, GrainAboveAWindowClearsEverything) {
    Load();
    ComputeBlocked(*f, 26);  // a 5 x 5 window holds at most 25 cells
    EXPECT_EQ(CountBlocked(*f), 0);
    // When its turn comes, the checkerboard's window holds 16 blocked cells (its first row
    // and column went with the windows before it): kept at grain 16, not at 17.
    ComputeBlocked(*f, 16);
    EXPECT_EQ(CountBlocked(*f, 190, 215, 190, 215), 9);
    ComputeBlocked(*f, 17);
    EXPECT_EQ(CountBlocked(*f, 190, 215, 190, 215), 0);
}

TEST_F(BlockedTest, SpecksGoAndOverlappingWindowsEatIntoTheirNeighbours) {
    Load();
    ComputeBlocked(*f, 8);
    // The spike's five cells all lie in the window of rows and columns 300..304.
    EXPECT_EQ(CountBlocked(*f, 295, 310, 295, 310), 0);
    // The checkerboard fills the window 200..204, but the windows visited before it (rows
    // 196..200, columns 196..200) and after it (rows 204..208, columns 204..208) hold only its
    // shared edge row or column plus a few cells outside, so they clear those rows and
    // columns: what stays is the 3 x 3 core.
    EXPECT_EQ(CountBlocked(*f, 190, 215, 190, 215), 9);
    for (int i = 201; i <= 203; ++i)
        for (int j = 201; j <= 203; ++j) EXPECT_TRUE(f->Cell(i, j).Blocked) << i << "," << j;
    EXPECT_FALSE(f->Cell(200, 202).Blocked);
    EXPECT_FALSE(f->Cell(204, 202).Blocked);
}

TEST_F(BlockedTest, TheOccupancyIsRebuiltFromTheMask) {
    level.rows[10] = "R0";
    Load();
    ComputeBlocked(*f, 0);
    std::vector<uint8_t> marks = OccupancyMarks(*f);
    EXPECT_EQ(f->Cell(99, 120).Kind, kCellOccupied);
    EXPECT_EQ(marks[99 * kGridSize + 120], kOccupancyTaken);
    EXPECT_EQ(marks[10 * kGridSize + 0], kOccupancyTaken);  // the road
    EXPECT_EQ(marks[50 * kGridSize + 50], kOccupancyFree);
    // Clearing the mask frees the cells again.
    ComputeBlocked(*f, 26);
    EXPECT_EQ(f->Cell(99, 120).Kind, kCellFree);
    marks = OccupancyMarks(*f);
    EXPECT_EQ(marks[99 * kGridSize + 120], kOccupancyFree);
    EXPECT_EQ(f->Cell(10, 0).Kind, kCellRoad);
}

}  // namespace
}  // namespace vallorn
