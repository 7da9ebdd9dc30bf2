// The shipped levels loaded through the engine's level loader, as the game loads them.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/blocked.h"
#include "engine/engine.h"
#include "engine/level_file.h"
#include "shipped_level.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

namespace fs = std::filesystem;

class ShippedLevelLoad : public testing::TestWithParam<std::string> {
protected:
    // A program folder whose worlds/ links to the build's generated files.
    void SetUp() override {
        test::MakeProgramFolder(dir.Path());
        for (const auto& e : fs::directory_iterator(test::BuildRoot() / "worlds"))
            fs::create_symlink(e.path(), dir / "worlds" / e.path().filename());
        engine = std::make_unique<TSKIEngine>(TSKIEngineSetup{dir.Path(), 3, nullptr});
    }
    test::TempDir dir;
    std::unique_ptr<TSKIEngine> engine;
};

TEST_P(ShippedLevelLoad, GivesTheGridTexturesAndHousesOfTheLevelFile) {
    const std::string name = GetParam();
    const auto& shipped = test::ShippedLevel(name);
    ASSERT_TRUE(shipped.Complete());
    const TSKILevelLoadResult r = LoadLevelFile(*engine, name, false);
    ASSERT_TRUE(r.ok()) << r.error;

    const TSKILevelData& level = engine->Level;
    EXPECT_EQ(level.TextureSize, 1024);
    EXPECT_EQ(engine->SnowTexture.Height(), 1024);
    EXPECT_EQ(engine->GroundTexture.Width(), 1024);
    EXPECT_FLOAT_EQ(level.BlockThreshold, shipped.blockThreshold);
    EXPECT_FLOAT_EQ(level.MaxHeight,
                    *std::max_element(shipped.heights.begin(), shipped.heights.end()));
    EXPECT_FALSE(engine->Skirt.Empty());

    int trees = 0, snow = 0, blocked = 0, roads = 0, treeFlags = 0;
    for (int i = 0; i < 512; ++i) {
        for (int j = 0; j < 512; ++j) {
            const TerrainCell& c = engine->Cell(i, j);
            snow += c.NaturalSnow;
            blocked += c.Blocked;
            roads += c.Kind == kCellRoad;
            treeFlags += c.Tree;
            trees += shipped.Tree(i, j);
            ASSERT_EQ(c.NaturalSnow, shipped.Snow(i, j)) << i << "," << j;
            ASSERT_EQ(c.Blocked, shipped.Blocked(i, j)) << i << "," << j;
            ASSERT_EQ(c.Kind == kCellRoad, shipped.Road(i, j)) << i << "," << j;
            ASSERT_FLOAT_EQ(c.Height, shipped.H(i, j)) << i << "," << j;
        }
    }
    // Trees stand only on free cells; a generated level never asks for one elsewhere.
    EXPECT_EQ(level.TreeCount, trees);
    EXPECT_EQ(treeFlags, trees);
    ASSERT_EQ(engine->Houses.size(), shipped.houses.size());
    for (size_t k = 0; k < shipped.houses.size(); ++k) {
        EXPECT_EQ(engine->Houses[k].Tag, shipped.houses[k].Tag);
        EXPECT_FLOAT_EQ(engine->Houses[k].Position.x, shipped.houses[k].Position.x);
        EXPECT_FLOAT_EQ(engine->Houses[k].Position.z, shipped.houses[k].Position.z);
    }
    RecordProperty("snow", snow);
    RecordProperty("blocked", blocked);
    RecordProperty("roads", roads);
}

INSTANTIATE_TEST_SUITE_P(All, ShippedLevelLoad, testing::Values("Mountain", "Training", "blank"));

// The blocked mask comes from the same rule as the editor's "Reset blocked" with its usual
// grain, so an author who resets it gets the shipped cliffs back (houses aside).
TEST_F(ShippedLevelLoad, EditorRecomputesTheSameBlockedTerrain) {
    const auto& shipped = test::ShippedLevel("Mountain");
    ASSERT_TRUE(shipped.Complete());
    ASSERT_TRUE(LoadLevelFile(*engine, "Mountain", false).ok());
    ComputeBlocked(*engine, 12);
    int differ = 0, blocked = 0;
    for (int i = 0; i < 512; ++i) {
        for (int j = 0; j < 512; ++j) {
            if (shipped.Road(i, j) || shipped.NearHouse(i, j, 1)) continue;
            blocked += engine->Cell(i, j).Blocked;
            differ += engine->Cell(i, j).Blocked != shipped.Blocked(i, j);
        }
    }
    EXPECT_GT(blocked, 5000);
    EXPECT_LT(differ, blocked / 200) << "of " << blocked << " blocked cells";
}

}  // namespace
}  // namespace vallorn
