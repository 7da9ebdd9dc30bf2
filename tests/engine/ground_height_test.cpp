// Moving entities read the ground from the stored cell heights.
#include <gtest/gtest.h>

#include "support/test_level.h"

namespace vallorn {
namespace {

TEST(GroundHeight, MatchesTheCellsAtTheirPointsAndInterpolatesBetween) {
    test::LevelFixture f;
    test::TestLevel level;
    level.height = test::Ramp;  // 0.25 per row
    level.meshKey = "ramp";
    ASSERT_TRUE(f.WriteAndLoad(level).ok());
    for (auto [i, j] : {std::pair{10, 10}, {200, 33}, {511, 0}, {0, 511}}) {
        const TSKIVector p = f->CellToWorld(i, j, false);
        EXPECT_NEAR(f->GroundHeight(p), f->Cell(i, j).Height, 1e-4f) << i << "," << j;
    }
    // Half way between rows 100 and 101, and a quarter of the way across a column.
    TSKIVector p = f->CellToWorld(100, 50, false);
    p.x -= 2.0f;
    p.z += 1.0f;
    EXPECT_NEAR(f->GroundHeight(p), 0.5f * (f->Cell(100, 50).Height + f->Cell(101, 50).Height),
                1e-3f);
    EXPECT_NEAR(f->GroundHeight(p), f->TerrainHeight(p), 0.01f);  // the mesh agrees
    // Beyond the map the border cells hold.
    EXPECT_NEAR(f->GroundHeight({100, 0, -100, 1}), f->Cell(0, 0).Height, 1e-4f);
    EXPECT_NEAR(f->GroundHeight({-5000, 0, 5000, 1}), f->Cell(511, 511).Height, 1e-4f);
}

TEST(GroundHeight, IsZeroWithoutALevel) {
    test::EngineFixture f;
    EXPECT_EQ(f->GroundHeight({-100, 0, 100, 1}), 0.0f);
}

}  // namespace
}  // namespace vallorn
