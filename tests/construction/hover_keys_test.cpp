// Without a tool the hover text names what is under the cursor; the cursor snaps to
// stations; the keys toggle the display flags, leave the ride modes and ask for the menu.
#include <gtest/gtest.h>

#include "construction/tool_world.h"
#include "persistence/saved_game.h"

namespace vallorn {
namespace {

class HoverAndKeys : public test::ToolWorld {
protected:
    test::TestLevel Level() const override {
        test::TestLevel l;
        l.rows[50] = Row(50, 50, '4');
        return l;
    }
};

TEST_F(HoverAndKeys, TheHoverTextNamesSectionsStationsBuildingsAndBlockedGround) {
    TSKISection& lift = Lift(100, 100, 100, 160);
    lift.Name = "Eagle";
    EXPECT_EQ(Hover(100, 100), "Eagle - lower station");
    EXPECT_EQ(Hover(100, 160), "Eagle - upper station");
    EXPECT_EQ(Hover(100, 130), "");  // an aerial line leaves the ground under it free
    lift.Status = kLiftClosed;
    EXPECT_EQ(Hover(100, 160), "Eagle - upper station - closed");

    ASSERT_TRUE(PlaceBuilding(*f, At(kBuildStall, 150, 150), false));
    EXPECT_EQ(Hover(150, 150), "Stall");
    f->Buildings[0]->Open = false;
    EXPECT_EQ(Hover(150, 150), "Stall - closed");
    EXPECT_EQ(Hover(50, 50), "Blocked terrain");
    f->CreateSlope({f->CellToWorld(200, 200, false) + TSKIVector(0, 0, 0, 3),
                    f->CellToWorld(210, 205, false) + TSKIVector(0, 0, 0, 3),
                    f->CellToWorld(220, 200, false) + TSKIVector(0, 0, 0, 3)},
                   "Blue run");
    EXPECT_EQ(Hover(210, 205), "Blue run");
    EXPECT_EQ(Hover(300, 300), "");
    EXPECT_EQ(tool.ToolTextColor, kToolTextBlue);
}

TEST_F(HoverAndKeys, ASkierUnderTheCursorIsDescribedOnlyWhileNoToolIsChosen) {
    TSKISkierRecord r;
    r.Position = f->CellToWorld(120, 120, true);
    f->Skiers.push_back(std::make_unique<TSKISkier>(*f, r));
    con.StartTreeTool();
    EXPECT_EQ(Hover(120, 120).rfind("Skier", 0), std::string::npos);
    con.CancelTool();
    EXPECT_EQ(Hover(120, 120).rfind("Skier 0:", 0), 0u);
}

TEST_F(HoverAndKeys, TheCursorSnapsToANearbyStationUnlessSnapIsOff) {
    Lift(100, 100, 100, 160);
    tool.CursorSnap = true;
    Hover(102, 98);
    EXPECT_EQ(tool.CursorI, 100);
    EXPECT_EQ(tool.CursorJ, 100);
    EXPECT_EQ(tool.CursorCell.Kind, kCellLiftLower);
    Hover(106, 98);  // too far
    EXPECT_EQ(tool.CursorI, 106);
    tool.CursorSnap = false;
    Hover(102, 98);
    EXPECT_EQ(tool.CursorI, 102);
    for (const TSKIVector& p : tool.CursorRing)
        EXPECT_NEAR(std::hypot(p.x - tool.CursorPosition.x, p.z - tool.CursorPosition.z),
                    tool.CursorRadius, 1e-3f);
}

TEST_F(HoverAndKeys, TheMouseRayFindsTheGroundItPointsAt) {
    const TSKIVector ground = f->CellToWorld(120, 140, true);
    const TSKIVector eye = ground + TSKIVector(60, 80, -30, 0);
    ASSERT_TRUE(con.CursorFromRay(eye, ground - eye));
    con.UpdateTools(1.0f / 30);
    EXPECT_EQ(tool.CursorI, 120);
    EXPECT_EQ(tool.CursorJ, 140);
    EXPECT_NEAR(tool.CursorPosition.y, ground.y, 0.01f);
    // Pointing at the sky misses and leaves the cursor where it was.
    EXPECT_FALSE(con.CursorFromRay(eye, TSKIVector(0, 1, 0, 0)));
    con.UpdateTools(1.0f / 30);
    EXPECT_EQ(tool.CursorI, 120);
}

TEST_F(HoverAndKeys, DigitKeysToggleDisplayFlagsAtMostFourTimesASecond) {
    const uint8_t flags = f->Display().Layers();
    con.ToolKey('3');
    EXPECT_EQ(f->Display().Layers(), flags ^ kDisplayBlocked);
    EXPECT_TRUE(tool.ShowDisplayWindow);
    con.ToolKey('3');
    EXPECT_EQ(f->Display().Layers(), flags ^ kDisplayBlocked);
    con.UpdateTools(0.3f);
    con.ToolKey('3');
    EXPECT_EQ(f->Display().Layers(), flags);

    // The snap follows its box; long visibility starts on and the key turns it off.
    const bool snap = f->Display().Layers() & kDisplayCursorSnap;
    con.ToolKey('4');
    EXPECT_EQ(tool.CursorSnap, !snap);
    con.ToolKey('1');
    EXPECT_FALSE(f->Display().Layers() & kDisplayLongVisibility);
}

TEST_F(HoverAndKeys, EscapeLeavesARideOrAsksForTheMenu) {
    tool.Tool = TSKITool::FreeRide;
    con.ToolKey(kKeyEscape);
    EXPECT_EQ(tool.Tool, TSKITool::None);
    EXPECT_FALSE(tool.MenuRequested);
    con.UpdateTools(0.3f);
    con.ToolKey(kKeyEscape);
    EXPECT_TRUE(tool.MenuRequested);
}

TEST_F(HoverAndKeys, CancelEndsTheToolAndSetsTheBrushBack) {
    con.StartBuildingTool(kBuildHospital);
    Hover(100, 100);
    con.CancelTool();
    EXPECT_EQ(tool.Tool, TSKITool::None);
    EXPECT_EQ(tool.CursorRadius, 12.0f);
    EXPECT_FALSE(tool.BuildingPreviewVisible);
}

TEST_F(HoverAndKeys, LeavingTheBuildingToolForAnotherGivesTheSnapBack) {
    tool.CursorSnap = true;
    con.StartBuildingTool(kBuildStall);
    con.StartBuildingTool(kBuildKiosk);  // a second choice keeps the saved snap
    EXPECT_FALSE(tool.CursorSnap);
    con.StartTreeTool();
    EXPECT_TRUE(tool.CursorSnap);
}

TEST_F(HoverAndKeys, SkierInfoAndTheBuildingToolGiveTheSnapBackInEitherOrder) {
    tool.CursorSnap = true;
    con.StartBuildingTool(kBuildStall);
    con.ToolKey('8');  // skier info on
    con.CancelTool();
    EXPECT_FALSE(tool.CursorSnap);  // skier info still holds it off
    con.UpdateTools(0.3f);
    con.ToolKey('8');
    EXPECT_TRUE(tool.CursorSnap);

    con.UpdateTools(0.3f);
    con.ToolKey('8');
    con.StartBuildingTool(kBuildStall);
    con.UpdateTools(0.3f);
    con.ToolKey('8');
    EXPECT_FALSE(tool.CursorSnap);  // the building tool still holds it off
    con.CancelTool();
    EXPECT_TRUE(tool.CursorSnap);

    // Closing the game while the building tool is chosen gives the snap back too: the tools'
    // owner leaves the tool after the close.
    con.StartBuildingTool(kBuildStall);
    EXPECT_FALSE(tool.CursorSnap);
    CloseGame(*f);
    con.LeaveTool();
    EXPECT_TRUE(tool.CursorSnap);
    EXPECT_EQ(tool.Tool, TSKITool::None);
}

}  // namespace
}  // namespace vallorn
