// Slopes on the grid: the cells they claim, their raster, detail line, difficulty colour,
// names, and what their removal frees.
#include <gtest/gtest.h>

#include "entities/network_world.h"

namespace vallorn {
namespace {

class SlopeLaying : public test::NetworkWorld {
protected:
    // Cells of row 200 from column `from` on get the steepness.
    void Steep(int from, float steepness) {
        for (int i = 190; i <= 210; ++i)
            for (int j = from; j < 300; ++j) f->Cell(i, j).Steepness = steepness;
    }
    // A straight slope along row 200 from column 100, 78 units long: 40 detail points,
    // two on each of the cells 100..119.
    TSKISection& Straight() {
        const TSKIVector a = At(200, 100, 3);
        TSKIVector b = a;
        b.z += 78;
        return *f->CreateSlope({a, b});
    }
};

TEST_F(SlopeLaying, ClaimsFreeCellsUnderItsPenAndMarksInteriorPoints) {
    f->Cell(201, 112).Kind = kCellRoad;
    TSKISection& s = Slope({{200, 100}, {200, 110}, {200, 120}, {200, 130}}, 2.6f);  // pen 3
    // Surface under the pen, the centre line at the interior points only.
    EXPECT_EQ(f->Cell(200, 105).Kind, kCellSlope);
    EXPECT_EQ(f->Cell(199, 105).Kind, kCellSlope);
    EXPECT_EQ(f->Cell(201, 125).Kind, kCellSlope);
    EXPECT_EQ(f->Cell(202, 105).Kind, kCellFree);
    EXPECT_EQ(f->Cell(200, 132).Kind, kCellFree);  // the pen's square reaches one beyond
    EXPECT_EQ(f->SectionByIndex(f->Cell(200, 105).Section), &s);
    EXPECT_EQ(f->Cell(200, 110).Kind, kCellSlopeCentre);
    EXPECT_EQ(f->Cell(200, 120).Kind, kCellSlopeCentre);
    EXPECT_EQ(f->SectionByIndex(f->Cell(200, 120).Section), &s);
    EXPECT_EQ(f->Cell(200, 100).Kind, kCellSlope);
    EXPECT_EQ(f->Cell(200, 130).Kind, kCellSlope);
    // Ground that was not free keeps its kind and owner.
    EXPECT_EQ(f->Cell(201, 112).Kind, kCellRoad);
    EXPECT_EQ(f->SectionByIndex(f->Cell(201, 112).Section), nullptr);
    EXPECT_EQ(f->SectionByIndex(f->Cell(202, 100).Section), nullptr);

    // The raster names the point that ends the segment covering a cell; later segments
    // win where they overlap.
    EXPECT_EQ(s.RasterValue(200, 105), 1);
    EXPECT_EQ(s.RasterValue(200, 110), 2);
    EXPECT_EQ(s.RasterValue(201, 112), 2);
    EXPECT_EQ(s.RasterValue(200, 125), 3);
    EXPECT_EQ(s.RasterValue(205, 105), TSKISection::kRasterEmpty);
    EXPECT_EQ(s.RasterValue(0, 0), TSKISection::kRasterEmpty);
}

TEST_F(SlopeLaying, DetailLineEveryTwoUnitsAcrossCornersAndLengthInMetres) {
    const TSKIVector a = At(300, 100, 3);
    TSKIVector b = a, c = a;
    b.z += 3;
    c.z += 6;
    TSKISection& s = *f->CreateSlope({a, b, c});
    ASSERT_EQ(s.DetailLine.size(), 4u);  // at 0, 2, 4 and 6 units
    for (size_t k = 1; k < s.DetailLine.size(); ++k)
        EXPECT_NEAR(Dist(s.DetailLine[k - 1], s.DetailLine[k]), 2.0f, 1e-3f);
    EXPECT_NEAR(s.Length(), 6.0f, 1e-3f);
    EXPECT_NEAR(s.LengthMetres, 30.0f, 1e-3f);

    TSKISection& longer = Straight();
    EXPECT_EQ(longer.DetailLine.size(), 40u);
    EXPECT_NEAR(longer.LengthMetres, 390.0f, 1e-2f);
}

TEST_F(SlopeLaying, AllSteepIsBlack) {
    Steep(0, 3.5f);
    TSKISection& s = Straight();
    EXPECT_EQ(s.Difficulty, kDifficultyBlack);
    EXPECT_FLOAT_EQ(s.BlackShare, 100.0f);
    EXPECT_FLOAT_EQ(s.BlueShare, 0.0f);
}

TEST_F(SlopeLaying, TiesGoBlackBeforeRedBeforeBlue) {
    Steep(110, 3.0f);  // the second half, exactly at the black threshold
    TSKISection& halfBlack = Straight();
    EXPECT_FLOAT_EQ(halfBlack.BlueShare, 50.0f);
    EXPECT_FLOAT_EQ(halfBlack.BlackShare, 50.0f);
    EXPECT_EQ(halfBlack.Difficulty, kDifficultyBlack);

    Steep(110, 2.0f);  // red from 2
    TSKISection& halfRed = Straight();
    EXPECT_FLOAT_EQ(halfRed.RedShare, 50.0f);
    EXPECT_EQ(halfRed.Difficulty, kDifficultyRed);

    Steep(110, 1.99f);
    EXPECT_EQ(Straight().Difficulty, kDifficultyBlue);

    Steep(110, 0);
    Steep(115, 5.0f);  // a quarter black
    TSKISection& mostlyBlue = Straight();
    EXPECT_FLOAT_EQ(mostlyBlue.BlackShare, 25.0f);
    EXPECT_EQ(mostlyBlue.Difficulty, kDifficultyBlue);
}

TEST_F(SlopeLaying, CreatedSlopesAreNumberedAndFollowTheTerrain) {
    TSKIVector high = At(100, 100, 4);
    high.y = 99;  // drawn anywhere: the slope lies on the ground
    TSKISection* first = f->CreateSlope({high, At(100, 120, 4), At(100, 140, 4)});
    TSKISection& named = Slope({{110, 100}, {110, 120}}, 3, "Black run");
    TSKISection& third = Slope({{120, 100}, {120, 120}});
    EXPECT_EQ(first->Name, "Slope #1");
    EXPECT_EQ(named.Name, "Black run");
    EXPECT_EQ(third.Name, "Slope #3");
    EXPECT_TRUE(first->IsSlope());
    EXPECT_NEAR(first->Points[0].y, 10.0f, 1e-3f);
    EXPECT_FLOAT_EQ(first->Points[0].w, 4.0f);
    EXPECT_EQ(first->LowerI, 100);
    EXPECT_EQ(first->UpperJ, 140);
    EXPECT_EQ(f->IndexOf(&third), 2);
    EXPECT_EQ(f->CreateSlope({}), nullptr);
}

TEST_F(SlopeLaying, DestroyFreesOnlyTheSlopesOwnCells) {
    f->Cell(200, 115).Kind = kCellRoad;
    TSKISection& a = Slope({{200, 100}, {200, 110}, {200, 120}, {200, 130}}, 5);
    TSKISection& b = Slope({{204, 100}, {204, 110}, {204, 130}}, 3);  // rows 203..205
    ASSERT_EQ(f->SectionByIndex(f->Cell(203, 120).Section), &b);
    a.Destroy();
    for (int i = 190; i <= 202; ++i)
        for (int j = 90; j <= 140; ++j) {
            if (i == 200 && j == 115) continue;
            EXPECT_EQ(f->SectionByIndex(f->Cell(i, j).Section), nullptr) << i << "," << j;
            EXPECT_EQ(f->Cell(i, j).Kind, kCellFree) << i << "," << j;
        }
    EXPECT_EQ(f->Cell(200, 115).Kind, kCellRoad);
    EXPECT_EQ(f->SectionByIndex(f->Cell(203, 120).Section), &b);
    EXPECT_EQ(f->Cell(204, 110).Kind, kCellSlopeCentre);
}

}  // namespace
}  // namespace vallorn
