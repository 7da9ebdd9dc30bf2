// The slope tool on a mountainside: drawing down from a lift's upper station with automatic
// nodes, finishing at a station, and the refusals with their texts.
#include <gtest/gtest.h>

#include "construction/tool_world.h"

namespace vallorn {
namespace {

// Ground rising by 0.25 per row: higher rows are uphill. A quad chairlift climbs from
// (150, 100) to (200, 100).
class SlopeTool : public test::ToolWorld {
protected:
    test::TestLevel Level() const override {
        test::TestLevel l;
        l.height = test::Ramp;
        l.meshKey = "ramp";
        return l;
    }
    void SetUp() override {
        ToolWorld::SetUp();
        Lift(150, 100, 200, 100);
    }
    size_t Nodes() const { return tool.SlopePath.size(); }
};

TEST_F(SlopeTool, ASlopeDrawnDownhillFromTheTopStationIsLaidWhenFinishedAtTheBottom) {
    ASSERT_TRUE(con.StartSlopeTool(200, 100));
    EXPECT_EQ(tool.Tool, TSKITool::Slope);
    ASSERT_EQ(Nodes(), 1u);

    // A long valid segment over free ground gets its node by itself; the first node leaves
    // the upper station.
    EXPECT_EQ(Hover(195, 115), "Draw slope");
    EXPECT_EQ(tool.ToolTextColor, kToolTextSlopeGreen);
    ASSERT_EQ(Nodes(), 2u);
    EXPECT_EQ(tool.SlopeEndI, 195);
    EXPECT_EQ(tool.SlopeEndJ, 115);
    EXPECT_NE(f->CellAt(tool.SlopePath.front()).Kind, kCellLiftUpper);

    Hover(180, 125);
    Hover(170, 118);
    Hover(160, 112);
    ASSERT_EQ(Nodes(), 5u);
    EXPECT_EQ(Hover(150, 100), "Finish slope");
    ASSERT_TRUE(tool.SlopeSegmentValid);
    con.ToolClick();

    ASSERT_EQ(f->Sections.size(), 2u);
    const TSKISection& slope = *f->Sections[1];
    EXPECT_TRUE(slope.IsSlope());
    EXPECT_EQ(slope.Name, "Slope #2");
    EXPECT_EQ(slope.Points.size(), 6u);
    EXPECT_EQ(tool.Tool, TSKITool::None);
    EXPECT_FALSE(f->DisplayFlags & kDisplayBlocked);
    EXPECT_EQ(f->SectionByIndex(f->Cell(180, 125).Section), &slope);
    EXPECT_EQ(Cash(), 10000000);  // slopes are free
}

TEST_F(SlopeTool, ASlopeWhoseInteriorLegNowCrossesALiftIsDroppedAtTheFinish) {
    ASSERT_TRUE(con.StartSlopeTool(200, 100));
    Hover(195, 115);
    Hover(180, 125);
    // A platter lift is laid across the leg just drawn.
    Lift(188, 108, 188, 135, 0);
    Hover(170, 118);
    Hover(160, 112);
    ASSERT_EQ(Nodes(), 5u);
    EXPECT_EQ(Hover(150, 100), "Finish slope");
    con.ToolClick();
    EXPECT_EQ(f->Sections.size(), 2u);  // the two lifts only
    EXPECT_EQ(tool.Tool, TSKITool::None);
    EXPECT_EQ(f->Cell(180, 125).Kind, kCellFree);
}

TEST_F(SlopeTool, FinishingOnTheFirstSegmentIsTooShortAndTheClickDoesNothing) {
    Lift(145, 115, 175, 125);
    ASSERT_TRUE(con.StartSlopeTool(150, 100));
    EXPECT_EQ(Hover(145, 115), "Slope too short!");
    EXPECT_EQ(tool.ToolTextColor, kToolTextRed);
    EXPECT_FALSE(tool.SlopeSegmentValid);
    con.ToolClick();
    EXPECT_EQ(f->Sections.size(), 2u);
    EXPECT_EQ(tool.Tool, TSKITool::Slope);
}

TEST_F(SlopeTool, UphillShortAndBlockedSegmentsAreRefusedWithTheirTexts) {
    ASSERT_TRUE(con.StartSlopeTool(150, 100));
    // 40 rows up: too long too, but the climb is the last failure and its text shows.
    EXPECT_EQ(Hover(190, 110), "Can not draw uphill!");
    EXPECT_EQ(Hover(150, 101), "Section too short!");
    EXPECT_EQ(Nodes(), 1u);

    ASSERT_TRUE(PlaceBuilding(*f, At(kBuildKiosk, 140, 110), false));
    EXPECT_EQ(Hover(140, 110), "Path blocked!");
    EXPECT_FALSE(tool.SlopeSegmentValid);
    con.ToolClick();
    EXPECT_EQ(Nodes(), 1u);
}

TEST_F(SlopeTool, ClimbingBackTakesTheLastNodeAndBackspaceUndoesThenEnds) {
    ASSERT_TRUE(con.StartSlopeTool(200, 100));
    Hover(195, 115);
    ASSERT_EQ(Nodes(), 2u);
    // Pointing back up the hill: the segment climbs more than 2 units.
    Hover(215, 115);
    EXPECT_EQ(Nodes(), 1u);

    Hover(195, 115);
    Hover(180, 125);
    ASSERT_EQ(Nodes(), 3u);
    con.ToolKey(kKeyBackspace);
    EXPECT_EQ(Nodes(), 2u);
    EXPECT_EQ(tool.SlopeEndI, 195);
    EXPECT_EQ(tool.SlopeEndJ, 115);
    con.ToolKey(kKeyBackspace);  // within a quarter second: ignored
    EXPECT_EQ(Nodes(), 2u);
    Hover(195, 115, 0.3f);  // a segment too short to add a node while waiting
    con.ToolKey(kKeyBackspace);
    EXPECT_EQ(Nodes(), 1u);
    Hover(200, 100, 0.3f);
    con.ToolKey(kKeyBackspace);
    EXPECT_EQ(tool.Tool, TSKITool::None);
}

TEST_F(SlopeTool, ASlopeStartsOnlyAtAStationOrASlopeCentreLine) {
    EXPECT_FALSE(con.StartSlopeTool(120, 120));
    EXPECT_FALSE(con.StartSlopeTool(175, 100));  // under the lift line
    EXPECT_TRUE(con.StartSlopeTool(150, 100));
}

}  // namespace
}  // namespace vallorn
