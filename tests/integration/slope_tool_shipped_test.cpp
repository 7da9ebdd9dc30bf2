// The slope tool on a shipped sandbox map: drawing down beside a new lift to its lower station.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "construction/construction_actions.h"
#include "construction/tool_world.h"
#include "engine/player_actions.h"
#include "persistence/saved_game.h"
#include "support/engine_fixture.h"

namespace vallorn {
namespace {

// The sandbox map Aldermoor as shipped: a quad chairlift across the hillside, and a slope drawn
// down beside it on its lower side, the mouse moving a cell a frame with the cursor snap on.
TEST(SlopeToolOnAldermoor, ASlopeDrawnDownBesideANewLiftFinishesAtItsLowerStation) {
    test::FakeDialogs dialogs;
    TSKIEngine e(TSKIEngineSetup{test::BuildRoot(), 3, &dialogs});
    ASSERT_TRUE(LoadGameFile(e, test::BuildRoot() / "worlds" / "Aldermoor.ski"));
    for (int i = 284; i <= 296; ++i)
        for (int j = 199; j <= 211; ++j)
            ASSERT_TRUE(e.Cell(i, j).Kind == kCellFree && !e.Cell(i, j).Blocked) << i << " " << j;
    e.Park.ParkCash = 1000000;
    ASSERT_TRUE(PerformAction(e, BuildLiftAction(290, 205, 290, 250, kLiftQuadChair)).Done());

    TSKIToolState tool;
    TSKIConstruction con(e, tool);
    ASSERT_TRUE(tool.CursorSnap);
    ASSERT_TRUE(con.StartSlopeTool(290, 250));
    const auto moveTo = [&](int i, int j) {
        int ci = tool.CursorI, cj = tool.CursorJ;
        while (ci != i || cj != j) {
            ci += (i > ci) - (i < ci);
            cj += (j > cj) - (j < cj);
            con.SetCursorTarget(e.CellToWorld(ci, cj, true));
            con.UpdateTools(1.0f / 30);
        }
    };
    con.SetCursorTarget(e.CellToWorld(290, 250, true));
    con.UpdateTools(1.0f / 30);
    moveTo(293, 247);
    moveTo(293, 208);
    ASSERT_GE(tool.SlopePath.size(), 5u);
    // The station stands 3 units above the cells beside it; the slope's last node stays.
    EXPECT_GT(e.Cell(290, 205).Height, e.Cell(293, 208).Height + 2);
    moveTo(290, 205);
    for (int frame = 0; frame < 10; ++frame) {
        con.UpdateTools(1.0f / 30);
        ASSERT_EQ(tool.ToolText, "Finish slope") << "frame " << frame;
    }
    con.ToolClick();
    ASSERT_EQ(e.SlopeCount(), 1);
    int i, j;
    TSKIEngine::WorldToCell(e.Sections.back()->Points.back(), i, j);
    EXPECT_LE(std::max(std::abs(i - 290), std::abs(j - 205)), 2);
}

}  // namespace
}  // namespace vallorn
