// The slope tool on a mountainside: drawing down from a lift's upper station with automatic
// nodes, finishing at a station, and the refusals with their texts.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "construction/construction_actions.h"
#include "construction/tool_world.h"
#include "engine/player_actions.h"
#include "support/engine_fixture.h"

namespace vallorn {
namespace {

// Ground rising by 0.25 per row: higher rows are uphill; from column 275 on it lies 10 lower,
// behind a cliff. A quad chairlift climbs from (150, 100) to (200, 100). Around (190, 260):
// a road, blocked ground on the flat and on the cliff's edge.
class SlopeTool : public test::ToolWorld {
protected:
    test::TestLevel Level() const override {
        test::TestLevel l;
        l.height = [](int i, int j) { return test::Ramp(i, j) - (j >= 275 ? 10.0f : 0.0f); };
        l.meshKey = "ramp-cliff";
        l.rows[190] = Row(250, 253, 'R');
        l.rows[185] = Row(264, 266, '4');
        l.rows[195] = Row(274, 275, '4');
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
    EXPECT_FALSE(f->Display().Layers() & kDisplayBlocked);
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
    EXPECT_EQ(Hover(140, 110), "Path blocked!\nA building is in the way");
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

TEST_F(SlopeTool, AStillCursorBesideALiftKeepsItsVerdictAndItsClickDraws) {
    // A platter lift's line three rows below the cursor: the slope fits two cells wide only.
    Lift(187, 110, 187, 130, 0);
    ASSERT_TRUE(con.StartSlopeTool(200, 100));
    Hover(195, 115);
    ASSERT_EQ(Nodes(), 2u);
    for (int frame = 0; frame < 90; ++frame) {
        ASSERT_EQ(Hover(189, 118), "Draw slope") << "frame " << frame;
        ASSERT_TRUE(tool.SlopeSegmentValid) << "frame " << frame;
    }
    EXPECT_LT(tool.CursorRadius, 12.0f);  // as wide as the segment clears
    con.ToolClick();
    ASSERT_EQ(Nodes(), 3u);
    EXPECT_EQ(tool.SlopeEndI, 189);
    EXPECT_EQ(tool.SlopeEndJ, 118);
}

TEST_F(SlopeTool, ABlockedPathSaysWhatBlocksIt) {
    Lift(150, 260, 200, 260);
    Lift(180, 256, 188, 256, 0);  // a platter lift: its line cells block slopes
    ASSERT_TRUE(PlaceBuilding(*f, At(kBuildStall, 190, 246), false));
    ASSERT_NE(
        f->CreateSlope({f->CellToWorld(197, 270, true), f->CellToWorld(187, 270, true)}, "Slope"),
        nullptr);
    ASSERT_EQ(f->Cell(192, 270).Kind, kCellSlope);
    ASSERT_EQ(f->Cell(189, 246).Kind, kCellOccupied);
    ASSERT_TRUE(con.StartSlopeTool(200, 260));
    const std::string blocked = "Path blocked!\n";
    EXPECT_EQ(Hover(190, 252), blocked + "A road is in the way");
    EXPECT_EQ(Hover(185, 265), blocked + "Blocked terrain");
    EXPECT_EQ(Hover(195, 274), blocked + "The ground is too steep");
    EXPECT_EQ(Hover(190, 246), blocked + "A building is in the way");
    EXPECT_EQ(Hover(189, 246), blocked + "A building is in the way");  // its footprint
    EXPECT_EQ(Hover(184, 256), blocked + "A lift is in the way");
    EXPECT_EQ(Hover(192, 270), blocked + "Another slope is in the way");
    EXPECT_EQ(tool.ToolTextColor, kToolTextRed);
    EXPECT_EQ(SlopeNodeAction(con, 600, 260).Check(*f).Text, blocked + "Off the map");
    // Over the slope's width: the segment passes two cells from the platter lift's line.
    Click(194, 262);
    ASSERT_EQ(Nodes(), 2u);
    EXPECT_EQ(Hover(178, 258), blocked + "A lift is in the way");
}

// Each approach ends 9 cells from the lower station, in eight directions; from below, the
// station stands more than 2 units above the last node.
TEST_F(SlopeTool, ASlopeReachesALowerStationOnOpenGroundFromEverySide) {
    const auto drawTo = [&](int i, int j) {
        // A long segment takes its node by itself, and the click adds no second one there.
        ASSERT_EQ(Hover(i, j), "Draw slope");
        con.ToolClick();
        ASSERT_EQ(tool.SlopeEndI, i);
        ASSERT_EQ(tool.SlopeEndJ, j);
    };
    for (int di = -1; di <= 1; ++di) {
        for (int dj = -1; dj <= 1; ++dj) {
            if (di == 0 && dj == 0) continue;
            SCOPED_TRACE("approach " + std::to_string(di) + " " + std::to_string(dj));
            ASSERT_TRUE(con.StartSlopeTool(200, 100));
            drawTo(195, 115);
            drawTo(172, 116);
            drawTo(150 + 9 * di, 100 + 9 * dj);
            for (int frame = 0; frame < 10; ++frame) ASSERT_EQ(Hover(150, 100), "Finish slope");
            con.ToolClick();
            ASSERT_EQ(f->Sections.size(), 2u);
            const TSKISection& slope = *f->Sections.back();
            EXPECT_EQ(slope.Points.size(), 5u);
            int i, j;
            TSKIEngine::WorldToCell(slope.Points.back(), i, j);
            EXPECT_LE(std::max(std::abs(i - 150), std::abs(j - 100)), 2);
            ASSERT_TRUE(DeleteSection(*f, 1, false));
        }
    }
}

}  // namespace
}  // namespace vallorn
