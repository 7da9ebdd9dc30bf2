// The overlay images painted onto the terrain.
#include <gtest/gtest.h>

#include <vector>

#include "engine/engine.h"
#include "engine/level_file.h"
#include "engine/overlays.h"
#include "support/test_level.h"

namespace vallorn {
namespace {

constexpr TSKIColor kRed200{200, 0, 0};
constexpr TSKIColor kBlack{0, 0, 0};
constexpr TSKIColor kWhite{255, 255, 255};

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
    const TSKIImage& Image(TSKIOverlay o) { return f->Overlays[o]; }
    test::LevelFixture f;
};

TEST_F(OverlayTest, SteepnessIsTheRiseAboveTheLowerNeighboursInThreeColours) {
    // Built at load.
    EXPECT_FLOAT_EQ(f->Cell(100, 120).Steepness, 10.0f);
    EXPECT_FLOAT_EQ(f->Cell(300, 320).Steepness, 2.5f);
    EXPECT_FLOAT_EQ(f->Cell(120, 120).Steepness, 0.0f);  // no lower neighbour
    const TSKIImage& img = Image(TSKIOverlay::Steepness);
    const TSKIColor nearBlack{10, 10, 10}, blue{0, 0, 200};
    EXPECT_EQ(img.Get(100, 120), nearBlack);
    EXPECT_EQ(img.Get(102, 120), nearBlack);  // a circle of radius 2 around the cell
    EXPECT_EQ(img.Get(103, 120), blue);
    EXPECT_EQ(img.Get(98, 120), nearBlack);
    EXPECT_EQ(img.Get(300, 320), kRed200);
    EXPECT_EQ(img.Get(298, 320), kRed200);
    EXPECT_EQ(img.Get(50, 50), blue);
    EXPECT_EQ(img.Get(0, 0), blue);
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

    const TSKIImage& img = Image(TSKIOverlay::Occupancy);
    EXPECT_EQ(f->Cell(60, 60).Kind, kCellBuilding);
    EXPECT_EQ(f->BuildingByIndex(f->Cell(60, 60).Building), &b);
    EXPECT_EQ(f->Cell(60, 61).Kind, kCellOccupied);  // 4 units away
    EXPECT_FALSE(f->Cell(60, 61).Tree);
    EXPECT_EQ(f->Cell(61, 61).Kind, kCellFree);  // 5.7 units away
    EXPECT_TRUE(f->Cell(60, 62).Tree);           // 8 units away
    EXPECT_EQ(img.Get(60, 60), kRed200);
    EXPECT_EQ(f->Cell(10, 10).Kind, kCellFree);
    EXPECT_EQ(img.Get(10, 10), kBlack);
    EXPECT_EQ(f->Cell(11, 11).Kind, kCellOccupied);
    EXPECT_EQ(img.Get(11, 11), kRed200);

    EXPECT_EQ(img.Get(400, 100), (TSKIColor{255, 0, 0}));  // the lower station
    EXPECT_EQ(img.Get(400, 150), kRed200);
    EXPECT_EQ(img.Get(400, 130), kRed200);
    EXPECT_EQ(img.Get(399, 130), kRed200);  // inner nodes are drawn wider
    EXPECT_EQ(img.Get(400, 129), kRed200);
    EXPECT_EQ(img.Get(399, 110), kBlack);   // the second node is not
    EXPECT_EQ(img.Get(410, 105), kRed200);  // a pole
    EXPECT_EQ(f->Cell(400, 130).Kind, kCellFree);
}

TEST_F(OverlayTest, SlopePaintUsesDifficultyColoursAndTwoPenWidths) {
    auto slope = std::make_unique<TSKISection>(*f);
    slope->Kind = kSectionSlope;
    slope->Difficulty = kDifficultyRed;
    slope->Points = {f->CellToWorld(200, 100, false), f->CellToWorld(200, 160, false)};
    slope->Points[0].w = slope->Points[1].w = 5;  // widths ride in w
    f->Sections.push_back(std::move(slope));
    ShowLayer(f->Display(), kDisplaySlopes, true);
    RebuildOverlay(*f, TSKIOverlay::SlopePaint);
    const TSKIImage& img = Image(TSKIOverlay::SlopePaint);
    EXPECT_EQ(img.Get(200, 130), (TSKIColor{150, 0, 0}));  // second pass, pen 3
    EXPECT_EQ(img.Get(201, 130), (TSKIColor{150, 0, 0}));
    EXPECT_EQ(img.Get(202, 130), (TSKIColor{170, 0, 0}));  // first pass only, pen 5
    EXPECT_EQ(img.Get(203, 130), kWhite);

    f->Sections.back()->Difficulty = kDifficultyBlack;
    RebuildOverlay(*f, TSKIOverlay::SlopePaint);
    EXPECT_EQ(img.Get(200, 130), (TSKIColor{50, 50, 50}));
    ShowLayer(f->Display(), kDisplaySlopes, false);
    RebuildOverlay(*f, TSKIOverlay::SlopePaint);
    EXPECT_EQ(img.Get(200, 130), (TSKIColor{150, 150, 150}));
    EXPECT_EQ(img.Get(202, 130), (TSKIColor{170, 170, 170}));
}

TEST_F(OverlayTest, SnowImagesFollowTheSnowFlags) {
    f->Cell(5, 1).Groomed = true;
    f->Cell(9, 9).ArtificialSnow = true;
    ShowLayer(f->Display(), kDisplaySnow, true);
    RebuildOverlay(*f, TSKIOverlay::SnowOverlay);
    const TSKIImage& snow = Image(TSKIOverlay::SnowOverlay);
    const TSKIImage& mask = Image(TSKIOverlay::SnowMask);
    const TSKIColor snowColour{70, 70, 70};  // with the "Snow" display option
    EXPECT_EQ(snow.Get(5, 3), snowColour);   // natural snow from the level file
    EXPECT_EQ(snow.Get(9, 9), snowColour);
    EXPECT_NE(snow.Get(5, 1), snowColour);  // groomed looks different
    EXPECT_NE(snow.Get(5, 1), snow.Get(5, 0));
    EXPECT_EQ(snow.Get(5, 0), kBlack);
    EXPECT_EQ(mask.Get(5, 3), kBlack);
    EXPECT_EQ(mask.Get(5, 0), (TSKIColor{180, 180, 180}));
}

TEST_F(OverlayTest, ObjectImprintShowsTreesOnlyAtHighDetailWithTheTreesFlag) {
    f->Cell(5, 2).TreePosition = TSKIVector(-1000.5f, 20, 1000.5f, 1);
    auto nonWhite = [&](int x0, int y0) {
        int n = 0;
        const TSKIImage& img = Image(TSKIOverlay::ObjectImprint);
        for (int x = x0 - 20; x <= x0 + 20; ++x)
            for (int y = y0 - 30; y <= y0 + 5; ++y) n += !(img.Get(x, y) == kWhite);
        return n;
    };
    f->Options.Detail = 2;
    ShowLayer(f->Display(), kDisplayTrees, true);
    RebuildOverlay(*f, TSKIOverlay::ObjectImprint);
    EXPECT_EQ(Image(TSKIOverlay::ObjectImprint).Width(), 2048);
    EXPECT_GT(nonWhite(1000, 1000), 10);
    f->Options.Detail = 1;
    RebuildOverlay(*f, TSKIOverlay::ObjectImprint);
    EXPECT_EQ(nonWhite(1000, 1000), 0);
    // Buildings are marked whatever the detail.
    f.AddBuilding(kBuildStall, TSKIVector(-1500.5f, 10, 300.5f, 1));
    RebuildOverlay(*f, TSKIOverlay::ObjectImprint);
    EXPECT_NE(Image(TSKIOverlay::ObjectImprint).Get(1500, 300), kWhite);
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
    const TSKIImage picture = Image(TSKIOverlay::Steepness);
    RebuildSteepness(*f);
    int differ = 0;
    for (int i = 0; i < kGridSize; ++i)
        for (int j = 0; j < kGridSize; ++j) {
            const size_t k = size_t(i) * kGridSize + size_t(j);
            differ += heights[k] != f->CellToWorld(i, j, true).y ||
                      steepness[k] != f->Cell(i, j).Steepness;
        }
    EXPECT_EQ(differ, 0);
    EXPECT_EQ(picture.Pixels(), Image(TSKIOverlay::Steepness).Pixels());
    EXPECT_FLOAT_EQ(f->Cell(100, 120).Steepness, 10.0f);
    // Another surface works out its own.
    test::TestLevel flat;
    flat.name = "Flat";
    ASSERT_TRUE(f.WriteAndLoad(flat).ok());
    EXPECT_EQ(f->Cell(100, 120).Steepness, 0.0f);
    EXPECT_EQ(Image(TSKIOverlay::Steepness).Get(100, 120), (TSKIColor{0, 0, 200}));
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

// The images of a level let go are drawn into by the next load, in this engine or another: what
// the last park painted on them leaves no trace.
TEST(OverlayStorage, ALoadIntoImagesAnotherLevelLetGoDrawsThemAsTheFirstLoadDid) {
    test::TestLevel level;
    level.height = Terraces;
    level.meshKey = "terraces";
    level.rows[5] = "0123";
    level.rows[6] = "R2R6";
    std::vector<TSKIImage> first;
    {
        test::LevelFixture a;
        const TSKILevelLoadResult r = a.WriteAndLoad(level);
        ASSERT_TRUE(r.ok()) << r.error;
        first.assign(a->Overlays.Images.begin(), a->Overlays.Images.end());
        for (TSKIImage& img : a->Overlays.Images) img.Fill({1, 2, 3});
    }
    test::LevelFixture b;
    const TSKILevelLoadResult r = b.WriteAndLoad(level);
    ASSERT_TRUE(r.ok()) << r.error;
    for (size_t k = 0; k < first.size(); ++k) {
        const TSKIImage& img = b->Overlays.Images[k];
        EXPECT_EQ(img.Width(), first[k].Width()) << "overlay " << k;
        EXPECT_TRUE(img.Pixels() == first[k].Pixels()) << "overlay " << k;
    }
}

}  // namespace
}  // namespace vallorn
