// The shared cell queries: cell <-> world position, bounds, ground height.
#include <gtest/gtest.h>

#include "engine/engine.h"
#include "support/test_level.h"

namespace vallorn {
namespace {

TSKIVector P(float x, float z) {
    return TSKIVector(x, 0, z, 1);
}

TEST(TerrainGridCells, EveryCellsWorldPointMapsBackToTheCell) {
    test::EngineFixture f;
    int wrong = 0;
    for (int i = 0; i < kGridSize; ++i)
        for (int j = 0; j < kGridSize; ++j) {
            int ci = -1, cj = -1;
            TSKIEngine::WorldToCell(f->CellToWorld(i, j, false), ci, cj);
            wrong += (ci != i || cj != j);
        }
    EXPECT_EQ(wrong, 0);
    const TSKIVector p = f->CellToWorld(3, 5, false);
    EXPECT_FLOAT_EQ(p.x, -12.5f);
    EXPECT_FLOAT_EQ(p.z, 19.5f);
    EXPECT_EQ(p.y, 0.0f);
}

TEST(TerrainGridCells, PositionsBeyondTheMapClampButAreNotInTheGrid) {
    test::EngineFixture f;
    int i, j;
    TSKIEngine::WorldToCell(P(500, -300), i, j);
    EXPECT_EQ(i, 0);
    EXPECT_EQ(j, 0);
    EXPECT_FALSE(f->PositionInGrid(P(500, -300)));
    TSKIEngine::WorldToCell(P(-9000, 9000), i, j);
    EXPECT_EQ(i, 511);
    EXPECT_EQ(j, 511);
    EXPECT_FALSE(f->PositionInGrid(P(-9000, 9000)));

    // Floor rounds toward minus infinity: x = +2.1 is row -1, outside; +1.9 is row 0.
    EXPECT_FALSE(f->PositionInGrid(P(2.1f, 10)));
    EXPECT_TRUE(f->PositionInGrid(P(1.9f, 10)));
    EXPECT_FALSE(f->PositionInGrid(P(-10, -2.1f)));
    TSKIEngine::WorldToCell(P(1.9f, -1.9f), i, j);
    EXPECT_EQ(i, 0);
    EXPECT_EQ(j, 0);
}

TEST(TerrainGridCells, IndexFiveHundredTwelveIsInTheGridButNeverProduced) {
    test::EngineFixture f;
    EXPECT_TRUE(TSKIEngine::CellInGrid(512, 512));
    EXPECT_FALSE(TSKIEngine::CellInGrid(513, 0));
    EXPECT_FALSE(TSKIEngine::CellInGrid(0, -1));
    const TSKIVector edge = f->CellToWorld(512, 512, false);
    EXPECT_TRUE(f->PositionInGrid(edge));
    int i, j;
    TSKIEngine::WorldToCell(edge, i, j);
    EXPECT_EQ(i, 511);
    EXPECT_EQ(j, 511);
    EXPECT_EQ(f->CellToWorld(513, 0, true), TSKIVector(0, 0, 0, 0));
    EXPECT_EQ(f->CellToWorld(-1, 4, false), TSKIVector(0, 0, 0, 0));
}

TEST(TerrainGridCells, MapPixelGivesOnePixelPerWorldUnitOnTheImprint) {
    int px, pz;
    TSKIEngine::MapPixel(P(-1000.5f, 2047.9f), 2048, px, pz);
    EXPECT_EQ(px, 1000);
    EXPECT_EQ(pz, 2047);
    TSKIEngine::MapPixel(P(-1000.5f, 1000.5f), 512, px, pz);
    EXPECT_EQ(px, 512);  // 4000 clamps to the size
    EXPECT_EQ(pz, 512);
    TSKIEngine::MapPixel(P(-8, 8), 4096, px, pz);
    EXPECT_EQ(px, 4);
    EXPECT_EQ(pz, 4);
    TSKIEngine::MapPixel(P(3, -3), 2048, px, pz);
    EXPECT_EQ(px, 0);
    EXPECT_EQ(pz, 0);
}

TEST(TerrainGridCells, QueriesWithoutALevelAreHarmless) {
    test::EngineFixture f;
    EXPECT_EQ(f->TerrainHeight(P(-10, 10)), 256.0f);
    EXPECT_FALSE(f->CellInView(P(-10, 10)));
    EXPECT_FALSE(f->CellNearCamera(P(-10, 10)));
    EXPECT_EQ(f->CellAt(P(-10, 10)).Kind, kCellFree);
}

// A level on a ramp (height 0.25 per row), loaded once for the height queries.
class TerrainHeightTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        fixture = new test::LevelFixture();
        test::TestLevel level;
        level.height = test::Ramp;
        level.meshKey = "ramp";
        loaded = fixture->WriteAndLoad(level);
    }
    static void TearDownTestSuite() {
        delete fixture;
        fixture = nullptr;
    }
    TSKIEngine& E() { return **fixture; }
    static test::LevelFixture* fixture;
    static TSKILevelLoadResult loaded;
};
test::LevelFixture* TerrainHeightTest::fixture = nullptr;
TSKILevelLoadResult TerrainHeightTest::loaded;

TEST_F(TerrainHeightTest, ExactAtVerticesInterpolatedBetweenAndStoredInTheCells) {
    ASSERT_TRUE(loaded.ok()) << loaded.error;
    for (int i : {0, 1, 17, 256, 511}) {
        for (int j : {0, 3, 400, 511}) {
            EXPECT_EQ(E().TerrainHeight(E().CellToWorld(i, j, false)), 0.25f * i);
            EXPECT_EQ(E().Cell(i, j).Height, 0.25f * i);
        }
    }
    EXPECT_EQ(E().CellToWorld(40, 40, true).y, 10.0f);
    EXPECT_EQ(E().TerrainHeight(E().CellToWorld(512, 512, false)), 128.0f);
    // Half way between rows 10 and 11.
    EXPECT_NEAR(E().TerrainHeight(P(-42.5f, 33.0f)), 2.625f, 1e-5);
    EXPECT_FLOAT_EQ(E().Level.MaxHeight, 0.25f * 511);
}

TEST_F(TerrainHeightTest, OffTheMeshTheHeightIs256) {
    ASSERT_TRUE(loaded.ok()) << loaded.error;
    EXPECT_EQ(E().TerrainHeight(P(100, 100)), 256.0f);
    EXPECT_EQ(E().TerrainHeight(P(-100, 2100)), 256.0f);
    EXPECT_EQ(E().TerrainHeight(P(-2100, 10)), 256.0f);
}

TEST_F(TerrainHeightTest, CellFlagsAreReadThroughThePositionsCell) {
    ASSERT_TRUE(loaded.ok()) << loaded.error;
    E().Cell(20, 30).InView = true;
    E().Cell(20, 30).NearCamera = true;
    E().Cell(0, 0).InView = true;
    const TSKIVector inside = E().CellToWorld(20, 30, false) + TSKIVector(1.0f, 0, 1.0f, 0);
    EXPECT_TRUE(E().CellInView(inside));
    EXPECT_TRUE(E().CellNearCamera(inside));
    EXPECT_EQ(E().CellAt(inside).GridI, 20);
    EXPECT_EQ(E().CellAt(inside).GridJ, 30);
    // Outside the grid the in-view test is false even though the clamped cell is in view.
    EXPECT_FALSE(E().CellInView(P(50, -50)));
    E().Cell(20, 30).InView = false;
    EXPECT_FALSE(E().CellInView(inside));
}

}  // namespace
}  // namespace vallorn
