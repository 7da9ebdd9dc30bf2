// The terrain overlays' pictures painted from the park.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/overlays.h"
#include "engine/snow.h"
#include "presentation/overlay_paint.h"
#include "support/test_level.h"

namespace vallorn {
namespace {

constexpr TSKIColor kRed200{200, 0, 0};
constexpr TSKIColor kBlack{0, 0, 0};
constexpr TSKIColor kWhite{255, 255, 255};

class OverlayPaint : public ::testing::Test {
protected:
    void SetUp() override {
        test::TestLevel level;
        level.height = test::Plateau;  // cells 100..139 x 100..139 stand 10 higher
        level.meshKey = "plateau";
        level.rows[5] = "0126R";  // a tree on (5, 2), blocked (5, 3), a road on (5, 4)
        const TSKILevelLoadResult r = f.WriteAndLoad(level);
        ASSERT_TRUE(r.ok()) << r.error;
    }
    const TSKIImage& Paint(TSKIOverlay o, uint8_t shown) {
        PaintOverlay(*f, o, shown, pictures[size_t(o)]);
        return pictures[size_t(o)];
    }
    test::LevelFixture f;
    TSKIImage pictures[size_t(TSKIOverlay::Count)];
};

TEST_F(OverlayPaint, SteepnessAndOccupancyShowTheirCellsInTheirColours) {
    const TSKIImage& steep = Paint(TSKIOverlay::Steepness, 0);
    const TSKIColor nearBlack{10, 10, 10}, blue{0, 0, 200};
    EXPECT_EQ(steep.Width(), 512);
    EXPECT_EQ(steep.Get(100, 120), nearBlack);  // 10 above its lower neighbours
    EXPECT_EQ(steep.Get(98, 120), nearBlack);   // a circle of radius 2 around the cell
    EXPECT_EQ(steep.Get(103, 120), blue);
    EXPECT_EQ(steep.Get(50, 50), blue);
    f->Cell(300, 320).Steepness = 2.5f;
    EXPECT_EQ(Paint(TSKIOverlay::Steepness, 0).Get(302, 320), kRed200);

    f->Params.Lifts[0].OnGround = true;
    std::vector<TSKIVector> line;
    for (int k = 0; k < 6; ++k) line.push_back(f->CellToWorld(400, 100 + 10 * k, true));
    f.AddLift(line, 0);
    RebuildOverlay(*f, TSKIOverlay::Occupancy);
    const TSKIImage& occupancy = Paint(TSKIOverlay::Occupancy, 0);
    EXPECT_EQ(occupancy.Get(400, 100), (TSKIColor{255, 0, 0}));  // the lift's start
    EXPECT_EQ(occupancy.Get(399, 130), kRed200);
    EXPECT_EQ(occupancy.Get(5, 3), kRed200);
    EXPECT_EQ(occupancy.Get(5, 4), kRed200);
    EXPECT_EQ(occupancy.Get(5, 1), kBlack);
}

TEST_F(OverlayPaint, SlopePaintUsesDifficultyColoursAndTwoPenWidths) {
    auto slope = std::make_unique<TSKISection>(*f);
    slope->Kind = kSectionSlope;
    slope->Difficulty = kDifficultyRed;
    slope->Points = {f->CellToWorld(200, 100, false), f->CellToWorld(200, 160, false)};
    slope->Points[0].w = slope->Points[1].w = 5;  // widths ride in w
    f->Sections.push_back(std::move(slope));
    const TSKIImage& img = Paint(TSKIOverlay::SlopePaint, kDisplaySlopes);
    EXPECT_EQ(img.Get(200, 130), (TSKIColor{150, 0, 0}));  // second pass, pen 3
    EXPECT_EQ(img.Get(201, 130), (TSKIColor{150, 0, 0}));
    EXPECT_EQ(img.Get(202, 130), (TSKIColor{170, 0, 0}));  // first pass only, pen 5
    EXPECT_EQ(img.Get(203, 130), kWhite);
    f->Sections.back()->Difficulty = kDifficultyBlack;
    EXPECT_EQ(Paint(TSKIOverlay::SlopePaint, kDisplaySlopes).Get(200, 130),
              (TSKIColor{50, 50, 50}));
    EXPECT_EQ(Paint(TSKIOverlay::SlopePaint, 0).Get(200, 130), (TSKIColor{150, 150, 150}));
    EXPECT_EQ(Paint(TSKIOverlay::SlopePaint, 0).Get(202, 130), (TSKIColor{170, 170, 170}));
}

TEST_F(OverlayPaint, SnowColoursFollowSnowGroomingAndTheSnowLayer) {
    f->Cell(10, 10).NaturalSnow = true;
    f->Cell(10, 11).NaturalSnow = f->Cell(10, 11).Groomed = true;
    f->Cell(10, 12).Groomed = true;  // groomed but bare: no snow colour
    // Slope cells: bare, groomed snow, ungroomed snow.
    f->Cell(20, 1).Kind = kCellSlope;
    f->Cell(20, 2).Kind = kCellSlopeCentre;
    f->Cell(20, 2).ArtificialSnow = f->Cell(20, 2).Groomed = true;
    f->Cell(20, 3).Kind = kCellSlope;
    f->Cell(20, 3).NaturalSnow = true;
    const TSKIImage& snow = Paint(TSKIOverlay::SnowOverlay, kDisplaySnow);
    EXPECT_EQ(snow.Get(10, 10), (TSKIColor{70, 70, 70}));
    EXPECT_EQ(snow.Get(10, 11), (TSKIColor{135, 135, 135}));
    EXPECT_EQ(snow.Get(10, 12), kBlack);
    EXPECT_EQ(snow.Get(20, 1), (TSKIColor{255, 0, 0}));
    EXPECT_EQ(snow.Get(20, 2), (TSKIColor{0, 128, 0}));
    EXPECT_EQ(snow.Get(20, 3), (TSKIColor{255, 255, 0}));
    const TSKIImage& mask = Paint(TSKIOverlay::SnowMask, kDisplaySnow);
    EXPECT_EQ(mask.Get(10, 10), kBlack);
    EXPECT_EQ(mask.Get(20, 2), kBlack);
    EXPECT_EQ(mask.Get(10, 12), (TSKIColor{180, 180, 180}));
    const TSKIImage& plain = Paint(TSKIOverlay::SnowOverlay, 0);
    EXPECT_EQ(plain.Get(10, 10), (TSKIColor{40, 40, 40}));
    EXPECT_EQ(plain.Get(10, 11), (TSKIColor{80, 80, 80}));
    EXPECT_EQ(plain.Get(20, 1), kBlack);
    EXPECT_EQ(plain.Get(20, 2), (TSKIColor{80, 80, 80}));
}

// Grooming repaints only the cells it names, and the picture is what a whole painting gives.
TEST_F(OverlayPaint, GroomedCellsPaintedAloneMatchAWholePainting) {
    for (int i = 30; i < 60; ++i)
        for (int j = 30; j < 60; ++j) f->Cell(i, j).NaturalSnow = true;
    f->Cell(45, 45).Kind = kCellSlope;
    const TSKIOverlay both[2] = {TSKIOverlay::SnowOverlay, TSKIOverlay::SnowMask};
    uint32_t painted[2];
    for (int k = 0; k < 2; ++k) {
        PaintOverlay(*f, both[k], kDisplaySnow, pictures[size_t(both[k])]);
        painted[k] = f->Overlays.Revisions[size_t(both[k])];
    }
    GroomAround(*f, 45, 45);
    GroomAround(*f, 58, 31);
    for (int k = 0; k < 2; ++k) {
        int first = 0, last = 0;
        ASSERT_TRUE(f->Overlays.CellsChangedSince(both[k], painted[k], first, last));
        EXPECT_EQ(first, 44);
        EXPECT_EQ(last, 59);
        TSKIImage& img = pictures[size_t(both[k])];
        PaintOverlayCells(*f, both[k], kDisplaySnow, first, last, img);
        TSKIImage whole;
        PaintOverlay(*f, both[k], kDisplaySnow, whole);
        EXPECT_TRUE(img.Pixels() == whole.Pixels()) << k;
    }
    EXPECT_EQ(pictures[size_t(TSKIOverlay::SnowOverlay)].Get(45, 45), (TSKIColor{0, 128, 0}));
}

TEST_F(OverlayPaint, ObjectImprintShowsTreesOnlyAtHighDetailWithTheTreesLayer) {
    f->Cell(5, 2).TreePosition = TSKIVector(-1000.5f, 20, 1000.5f, 1);
    auto marked = [&](uint8_t shown) {
        const TSKIImage& img = Paint(TSKIOverlay::ObjectImprint, shown);
        int n = 0;
        for (int x = 1000 - 20; x <= 1000 + 20; ++x)
            for (int y = 1000 - 30; y <= 1000 + 5; ++y) n += !(img.Get(x, y) == kWhite);
        return n;
    };
    f->Options.Detail = 2;
    EXPECT_GT(marked(kDisplayTrees), 10);
    EXPECT_EQ(pictures[size_t(TSKIOverlay::ObjectImprint)].Width(), 2048);
    EXPECT_EQ(marked(0), 0);
    f->Options.Detail = 1;
    EXPECT_EQ(marked(kDisplayTrees), 0);
    EXPECT_NE(OverlayLook(*f, TSKIOverlay::ObjectImprint, kDisplayTrees),
              OverlayLook(*f, TSKIOverlay::ObjectImprint, 0));
    // Buildings are marked whatever the detail.
    f.AddBuilding(kBuildStall, TSKIVector(-1500.5f, 10, 300.5f, 1));
    EXPECT_NE(Paint(TSKIOverlay::ObjectImprint, 0).Get(1500, 300), kWhite);
}

}  // namespace
}  // namespace vallorn
