// The navigation rebuild: links of slopes and lift gates, nearby lifts, slope ends, the
// corridor under lift lines, nearest lifts, walking targets and the resort's slope length.
#include <gtest/gtest.h>

#include "entities/network_world.h"

namespace vallorn {
namespace {

class Navigation : public test::NetworkWorld {
protected:
    using Link = std::pair<int32_t, int32_t>;
    std::vector<Link> Links(int i, int j) const {
        const TerrainCell& c = f->Cell(i, j);
        std::vector<Link> links;
        for (uint8_t k = 0; k < c.NavLinkCount; ++k)
            links.emplace_back(c.NavLinks[k].Section, c.NavLinks[k].Point);
        return links;
    }
    static Link L(int32_t section, int32_t point) { return {section, point}; }
    // Walking targets are positions (w = 1) at a point's place.
    static bool Same(const TSKIVector& target, const TSKIVector& point) {
        return target.x == point.x && target.y == point.y && target.z == point.z &&
               target.w == 1.0f;
    }
};

TEST_F(Navigation, WhereTwoSlopesAndALiftMeetACellOffersThreeLinks) {
    Slope({{200, 100}, {200, 120}, {200, 140}, {200, 160}});
    Slope({{180, 130}, {200, 130}, {220, 130}, {240, 130}});
    Lift(190, 140, 190, 200);
    f->RebuildNavigation();
    // Each slope names the point that ends its segment over the cell; then the gate.
    EXPECT_EQ(Links(200, 130), (std::vector<Link>{L(0, 2), L(1, 2), L(2, kGatePoint)}));
    EXPECT_EQ(f->Cell(200, 130).NavClass, 2);
    EXPECT_EQ(Links(200, 105), (std::vector<Link>{L(0, 1)}));
    EXPECT_EQ(f->Cell(200, 105).NavClass, 1);
    // The first segment is drawn 16 wide so that skiers find a slope's start.
    EXPECT_EQ(Links(186, 123), (std::vector<Link>{L(1, 1)}));
    EXPECT_TRUE(Links(186, 120).empty());
    EXPECT_TRUE(Links(50, 50).empty());
    EXPECT_EQ(f->Cell(50, 50).NavClass, 0);
    EXPECT_EQ(f->Cell(190, 140).NavClass, 3);
    EXPECT_EQ(f->Cell(190, 200).NavClass, 3);
    // Interior points stay on the centre line.
    EXPECT_EQ(f->Cell(200, 120).Kind, kCellSlopeCentre);
}

TEST_F(Navigation, ACellListsAtMostTheFirstFiveNearbyLifts) {
    for (int k = 0; k < 6; ++k) Lift(300 + 2 * k, 300, 300 + 2 * k, 360);
    f->RebuildNavigation();
    const TerrainCell& c = f->Cell(305, 305);
    ASSERT_EQ(c.NearbyCount, 5);
    std::vector<Link> gates;
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(c.Nearby[size_t(k)].Section, k);
        EXPECT_EQ(c.Nearby[size_t(k)].Point, 0);
        gates.push_back(L(k, kGatePoint));
    }
    EXPECT_EQ(Links(305, 305), gates);
    // Within 14 cells (a square) of the sixth lower station only.
    EXPECT_EQ(Links(323, 300), (std::vector<Link>{L(5, kGatePoint)}));
    EXPECT_EQ(f->Cell(323, 314).NearbyCount, 1);
    EXPECT_EQ(f->Cell(325, 300).NearbyCount, 0);
}

TEST_F(Navigation, AtMostEightSlopeLinksAndNineLinksInAll) {
    for (int k = 0; k < 9; ++k) Slope({{250, 200}, {250, 220}, {250, 240}, {250, 260}});
    Lift(262, 230, 262, 290);
    f->RebuildNavigation();
    std::vector<Link> expected;
    for (int k = 0; k < 8; ++k) expected.push_back(L(k, 2));
    expected.push_back(L(9, kGatePoint));
    EXPECT_EQ(Links(250, 230), expected);
}

TEST_F(Navigation, TheEndOfASlopeLeadsToItsLastPointUnlessALiftIsNear) {
    TSKISection& s = Slope({{100, 300}, {100, 320}, {100, 340}, {100, 360}});
    Lift(108, 372, 108, 430);  // cells from row 94 and column 358 on are near it
    f->RebuildNavigation();
    ASSERT_EQ(s.Points.size(), 4u);
    // Inside the disc of radius 7 around the end the slope's own links are erased.
    EXPECT_EQ(Links(100, 355), (std::vector<Link>{L(0, 3)}));
    EXPECT_EQ(Links(96, 356), (std::vector<Link>{L(0, 3)}));  // beside the slope
    EXPECT_EQ(Links(100, 365), (std::vector<Link>{L(1, kGatePoint)}));
    EXPECT_EQ(Links(100, 360), (std::vector<Link>{L(1, kGatePoint)}));
    // Outside the disc: the slope's links.
    EXPECT_EQ(Links(100, 330), (std::vector<Link>{L(0, 2)}));
    EXPECT_EQ(Links(100, 368), (std::vector<Link>{L(1, kGatePoint)}));
    EXPECT_TRUE(Links(92, 360).empty());  // off the disc, not near the lift
}

TEST_F(Navigation, CellsUnderALiftLineFormATwoCellCorridor) {
    Lift(400, 100, 400, 160);
    Lift(300, 300, 340, 340);
    f->RebuildNavigation();
    EXPECT_TRUE(f->Cell(400, 130).UnderLift);
    EXPECT_TRUE(f->Cell(401, 130).UnderLift);
    EXPECT_FALSE(f->Cell(399, 130).UnderLift);
    EXPECT_FALSE(f->Cell(402, 130).UnderLift);
    EXPECT_FALSE(f->Cell(400, 165).UnderLift);
    EXPECT_TRUE(f->Cell(320, 320).UnderLift);
    EXPECT_FALSE(f->Cell(320, 330).UnderLift);
    // A rebuild after the lift is gone clears it.
    f->RemoveSection(0);
    f->RebuildNavigation();
    EXPECT_FALSE(f->Cell(400, 130).UnderLift);
}

TEST_F(Navigation, NearestLiftsAndWalkingTargets) {
    Lift(100, 400, 100, 460);
    Lift(300, 400, 300, 460);
    TSKISection& s = Slope({{200, 100}, {200, 120}, {200, 140}});
    TSKISection& t = Slope({{230, 130}, {230, 150}, {230, 170}});
    f->RebuildNavigation();
    EXPECT_EQ(f->SectionByIndex(f->Cell(150, 400).NearestSection), f->Sections[0].get());
    EXPECT_EQ(f->SectionByIndex(f->Cell(250, 10).NearestSection), f->Sections[1].get());
    EXPECT_EQ(f->SectionByIndex(f->Cell(512, 512).NearestSection), f->Sections[1].get());

    // Off the slopes: the nearest slope point.
    EXPECT_TRUE(Same(f->Cell(210, 125).WalkTarget, s.Points[1]));
    EXPECT_TRUE(Same(f->Cell(240, 180).WalkTarget, t.Points[2]));
    // At a slope's end: the first point nearest to the cell, here the other slope's.
    EXPECT_TRUE(Same(f->Cell(200, 135).WalkTarget, t.Points[0]));
    // Elsewhere on a slope: the middle of the map.
    TSKIVector middle = At(256, 256);
    EXPECT_TRUE(Same(f->Cell(200, 110).WalkTarget, middle));

    // Kept when asked, while they still lead onto a slope or a station.
    f->Cell(50, 50).WalkTarget = At(200, 110);
    f->Cell(60, 60).WalkTarget = At(10, 10);
    f->RebuildNavigation(true);
    EXPECT_TRUE(Same(f->Cell(50, 50).WalkTarget, At(200, 110)));
    EXPECT_TRUE(Same(f->Cell(60, 60).WalkTarget, s.Points[0]));
    f->RebuildNavigation(false);
    EXPECT_TRUE(Same(f->Cell(50, 50).WalkTarget, s.Points[0]));
}

TEST_F(Navigation, TotalSlopeLengthInKilometresAndTheBusyFlag) {
    TSKISection& s = Slope({{200, 100}, {200, 120}, {200, 140}});
    TSKISection& t = Slope({{230, 130}, {230, 150}, {230, 170}});
    Lift(100, 400, 100, 460);
    f->RebuildNavigation();
    EXPECT_NEAR(f->Park.ParkSlopeLength, (s.LengthMetres + t.LengthMetres) * 0.001f, 1e-4f);
    EXPECT_NEAR(f->Park.ParkSlopeLength, 1.6f, 1e-3f);
    EXPECT_FALSE(f->Busy);
    f->Busy = true;  // a rebuild during the day change leaves the engine busy
    f->RebuildNavigation();
    EXPECT_TRUE(f->Busy);
}

}  // namespace
}  // namespace vallorn
