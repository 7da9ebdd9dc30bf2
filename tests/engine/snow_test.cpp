// Snow on the terrain: snow makers, the overnight change, grooming, quality,
// the snow under a skier and the editor's snow operations.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/overlays.h"
#include "engine/snow.h"
#include "support/engine_fixture.h"

namespace vallorn {
namespace {

using test::EngineFixture;

// A bare flat grid (no level files needed): every cell free, no snow, height 10.
class Snow : public ::testing::Test {
protected:
    void SetUp() override {
        e->Grid.assign(size_t(kGridSide) * kGridSide, TerrainCell{});
        for (TerrainCell& c : e->Grid) c.Height = 10;
        e->Params.Buildings[kBuildSnowCannon].Category = kCategorySnowCannon;
        e->Params.Buildings[kBuildStall].Category = kCategoryRestaurant;
        ShowLayer(e->Display(), kDisplaySnow, true);
    }
    TSKIBuilding& Cannon(int i, int j) {
        return e.AddBuilding(kBuildSnowCannon, e->CellToWorld(i, j, false));
    }
    int NaturalSnowCells() {
        int n = 0;
        for (int i = 0; i < kGridSize; ++i)
            for (int j = 0; j < kGridSize; ++j) n += e->Cell(i, j).NaturalSnow;
        return n;
    }
    // Natural snow on columns 0..width-1 of every row: each row has its edge at `width`.
    void SnowField(int width) {
        for (int i = 0; i < kGridSize; ++i)
            for (int j = 0; j < width; ++j) e->Cell(i, j).NaturalSnow = true;
    }
    EngineFixture e;
};

// --- snow makers -------------------------------------------------------------

TEST_F(Snow, ASnowMakerReachesADiscOfTwentyCells) {
    Cannon(200, 200);
    e.AddBuilding(kBuildStall, e->CellToWorld(300, 300, false));  // makes no snow
    RebuildSnowOverlay(*e);
    EXPECT_TRUE(e->Cell(200, 200).ArtificialSnow);
    EXPECT_TRUE(e->Cell(220, 200).ArtificialSnow);
    EXPECT_TRUE(e->Cell(200, 180).ArtificialSnow);
    EXPECT_TRUE(e->Cell(212, 216).ArtificialSnow);   // 20 away exactly
    EXPECT_FALSE(e->Cell(221, 200).ArtificialSnow);  // outside the square
    EXPECT_FALSE(e->Cell(215, 215).ArtificialSnow);  // corner of the square, outside the disc
    EXPECT_FALSE(e->Cell(300, 300).ArtificialSnow);
    EXPECT_FALSE(e->Cell(215, 200).NaturalSnow);
}

TEST_F(Snow, NaturalSnowAlreadyPaintedInTheSquareBecomesArtificial) {
    // Both cells lie in the cannon's square but outside its disc: the earlier row is painted
    // before the cannon's centre is visited, the later one after.
    e->Cell(185, 185).NaturalSnow = true;
    e->Cell(215, 215).NaturalSnow = true;
    Cannon(200, 200);
    RebuildSnowOverlay(*e);
    EXPECT_TRUE(e->Cell(185, 185).ArtificialSnow);
    EXPECT_FALSE(e->Cell(215, 215).ArtificialSnow);
}

TEST_F(Snow, RemovingOneOfTwoCannonsKeepsSnowWhereTheOtherStillReaches) {
    Cannon(100, 100);
    Cannon(100, 130);
    RebuildSnowOverlay(*e);
    ASSERT_TRUE(e->Cell(100, 115).ArtificialSnow);
    ASSERT_TRUE(e->Cell(100, 145).ArtificialSnow);
    // Taking the second one away: the rebuild alone never clears snow ...
    e->Buildings.pop_back();
    RebuildSnowOverlay(*e);
    EXPECT_TRUE(e->Cell(100, 145).ArtificialSnow);
    // ... the removal clears its square and the rebuild restores the first one's reach.
    ClearArtificialSnowAround(*e, 100, 130);
    RebuildSnowOverlay(*e);
    EXPECT_TRUE(e->Cell(100, 115).ArtificialSnow);  // the first one reaches it
    EXPECT_TRUE(e->Cell(100, 120).ArtificialSnow);
    EXPECT_FALSE(e->Cell(100, 121).ArtificialSnow);
    EXPECT_FALSE(e->Cell(100, 145).ArtificialSnow);
    EXPECT_FALSE(e->Cell(120, 150).ArtificialSnow);
}

TEST_F(Snow, ClearingAtTheGridEdgeStaysInTheGrid) {
    for (TerrainCell& c : e->Grid) c.ArtificialSnow = true;
    ClearArtificialSnowAround(*e, 0, 512);
    EXPECT_FALSE(e->Cell(0, 512).ArtificialSnow);
    EXPECT_FALSE(e->Cell(20, 492).ArtificialSnow);
    EXPECT_TRUE(e->Cell(21, 492).ArtificialSnow);
    EXPECT_TRUE(e->Cell(0, 491).ArtificialSnow);
}

// --- overnight snow -------------------------------------------------------------------------

TEST_F(Snow, ASnowyNightGrowsTheFieldAtItsEdgeAndEndsTheGrooming) {
    SnowField(100);
    e->Cell(300, 300).Groomed = true;
    const int before = NaturalSnowCells();
    const uint32_t mask = e->Overlays.Revisions[size_t(TSKIOverlay::SnowMask)];
    e->Park.ParkWeather = 0.5f;  // counts as snowing: one disc
    EndOfDaySnow(*e);
    const int grown = NaturalSnowCells() - before;
    EXPECT_GE(grown, 150);   // half a disc of radius 10 at least
    EXPECT_LE(grown, 1400);  // half a disc of radius 29 at most
    EXPECT_FALSE(e->Cell(300, 300).Groomed);
    for (int i = 0; i < kGridSize; ++i) {
        for (int j = 0; j < 100; ++j) ASSERT_TRUE(e->Cell(i, j).NaturalSnow);
        for (int j = 130; j < kGridSize; ++j)
            ASSERT_FALSE(e->Cell(i, j).NaturalSnow) << i << "," << j;
    }
    EXPECT_GT(e->Overlays.Revisions[size_t(TSKIOverlay::SnowMask)], mask);  // shown anew
}

TEST_F(Snow, AMildNightEatsDiscsOutOfTheField) {
    SnowField(100);
    const int before = NaturalSnowCells();
    e->Park.ParkWeather = 0.0f;  // 51 discs
    EndOfDaySnow(*e);
    const int melted = before - NaturalSnowCells();
    EXPECT_GT(melted, 1000);
    for (int i = 0; i < kGridSize; ++i) {
        for (int j = 0; j < 70; ++j) ASSERT_TRUE(e->Cell(i, j).NaturalSnow);
        for (int j = 100; j < kGridSize; ++j) ASSERT_FALSE(e->Cell(i, j).NaturalSnow);
    }
}

TEST_F(Snow, ALevelWithoutNaturalSnowStaysBareButKeepsItsCannonSnow) {
    Cannon(250, 250);
    for (float w : {0.99f, 0.0f, 0.7f}) {
        e->Park.ParkWeather = w;
        EndOfDaySnow(*e);
        EXPECT_EQ(NaturalSnowCells(), 0);
    }
    EXPECT_TRUE(e->Cell(250, 260).ArtificialSnow);
}

// --- grooming and quality --------------------------------------------------------------------

TEST_F(Snow, GroomingMarksTheThreeByThreeCellsSnowOrNot) {
    GroomAround(*e, 50, 60);
    for (int a = 49; a <= 51; ++a)
        for (int b = 59; b <= 61; ++b) EXPECT_TRUE(e->Cell(a, b).Groomed);
    EXPECT_FALSE(e->Cell(52, 60).Groomed);
    EXPECT_FALSE(e->Cell(50, 62).Groomed);
    GroomAround(*e, 0, 0);  // the grid's corner
    EXPECT_TRUE(e->Cell(1, 1).Groomed);
    GroomAround(*e, 512, 512);
    EXPECT_TRUE(e->Cell(512, 512).Groomed);
}

TEST_F(Snow, QualityCountsGroomedAndBareSlopeCells) {
    e->Park.ParkSnowQuality = 42;
    ComputeSnowQuality(*e);
    EXPECT_EQ(e->Park.ParkSnowQuality, 42);  // no slope: unchanged

    // Four slope cells: two with groomed snow, one groomed but bare, one with plain snow.
    const int j[4] = {1, 2, 3, 4};
    for (int k : j) e->Cell(30, k).Kind = kCellSlope;
    e->Cell(30, 1).NaturalSnow = e->Cell(30, 1).Groomed = true;
    e->Cell(30, 2).ArtificialSnow = e->Cell(30, 2).Groomed = true;
    e->Cell(30, 3).Groomed = true;
    e->Cell(30, 4).NaturalSnow = true;
    e->Cell(31, 1).Groomed = true;  // not a slope cell
    ComputeSnowQuality(*e);
    EXPECT_FLOAT_EQ(e->Park.ParkSnowQuality, 50.0f * 3 / 4 + 50 - 50.0f / 4);

    for (int k : j) e->Cell(30, k) = TerrainCell{.Kind = kCellSlope};
    ComputeSnowQuality(*e);
    EXPECT_EQ(e->Park.ParkSnowQuality, 0);
    for (int k : j) e->Cell(30, k).NaturalSnow = e->Cell(30, k).Groomed = true;
    e->Cell(512, 512).Kind = kCellSlopeCentre;  // the last row and column count too
    ComputeSnowQuality(*e);
    EXPECT_FLOAT_EQ(e->Park.ParkSnowQuality, 50.0f * 4 / 5 + 50 - 50.0f / 5);
}

// --- weather and the snow under a skier -------------------------------------------------------

TEST_F(Snow, WeatherTextAndWhatTheSnowMeansToASkier) {
    e->Park.ParkWeather = 0.75f;
    EXPECT_EQ(WeatherText(*e), "-5 'C, snowing");
    e->Park.ParkWeather = 0.2f;
    EXPECT_EQ(Temperature(*e), 6);
    EXPECT_EQ(WeatherText(*e), "6 'C, snow melting");

    TerrainCell cell;
    cell.Height = 40;
    EXPECT_FLOAT_EQ(WeatherColdMultiplier(*e, cell), 8.0f);
    EXPECT_EQ(BareSnowAccidentWeight(cell), 9);
    EXPECT_EQ(SnowEnjoyment(*e, cell), 0);
    cell.Groomed = true;  // groomed but bare: still dangerous, still pleasant
    EXPECT_EQ(BareSnowAccidentWeight(cell), 9);
    EXPECT_FLOAT_EQ(SnowEnjoyment(*e, cell), e->Params.Game.EnjoySnowQualityFactor);
    cell.ArtificialSnow = true;
    EXPECT_EQ(BareSnowAccidentWeight(cell), 0);
}

// --- editor --------------------------------------------------------------------------------------

TEST_F(Snow, SnowPeaksCoverTheGroundAboveTheMarker) {
    e->Cell(5, 5).Height = 30;
    e->Cell(6, 6).Height = 20;
    e->Cell(7, 7).NaturalSnow = true;
    SnowPeaks(*e, 20);
    EXPECT_TRUE(e->Cell(5, 5).NaturalSnow);
    EXPECT_FALSE(e->Cell(6, 6).NaturalSnow);
    EXPECT_FALSE(e->Cell(7, 7).NaturalSnow);
}

TEST_F(Snow, FloodSnowFillsTheRegionOfLikeSnowWhateverTheDisplayLayers) {
    // A ring of snow around a bare pocket with a bare slope cell in it: flooding the pocket
    // stops at the ring and takes the slope cell, with the "Snow" layer on or off.
    for (const bool shown : {true, false}) {
        for (TerrainCell& c : e->Grid) c = TerrainCell{};
        for (int a = 10; a <= 20; ++a) {
            e->Cell(a, 10).NaturalSnow = e->Cell(a, 20).NaturalSnow = true;
            e->Cell(10, a).NaturalSnow = e->Cell(20, a).NaturalSnow = true;
        }
        e->Cell(12, 15).Kind = kCellSlope;
        ShowLayer(e->Display(), kDisplaySnow, shown);
        RebuildSnowOverlay(*e);
        FloodSnow(*e, 15, 15);
        EXPECT_TRUE(e->Cell(11, 11).NaturalSnow) << shown;
        EXPECT_TRUE(e->Cell(12, 15).NaturalSnow) << shown;
        EXPECT_TRUE(e->Cell(19, 19).NaturalSnow) << shown;
        EXPECT_FALSE(e->Cell(21, 15).NaturalSnow) << shown;
        EXPECT_FALSE(e->Cell(9, 9).NaturalSnow) << shown;
        EXPECT_EQ(NaturalSnowCells(), 11 * 11) << shown;
    }
}

}  // namespace
}  // namespace vallorn
