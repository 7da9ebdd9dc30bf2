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

    ASSERT_TRUE(f->PlaceBuilding(At(kBuildStall, 150, 150), false));
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
    EXPECT_EQ(f->ToolTextColor, kToolTextBlue);
}

TEST_F(HoverAndKeys, TheCursorSnapsToANearbyStationUnlessSnapIsOff) {
    Lift(100, 100, 100, 160);
    f->CursorSnap = true;
    Hover(102, 98);
    EXPECT_EQ(f->CursorI, 100);
    EXPECT_EQ(f->CursorJ, 100);
    EXPECT_EQ(f->CursorCell.Kind, kCellLiftLower);
    Hover(106, 98);  // too far
    EXPECT_EQ(f->CursorI, 106);
    f->CursorSnap = false;
    Hover(102, 98);
    EXPECT_EQ(f->CursorI, 102);
    for (const TSKIVector& p : f->CursorRing)
        EXPECT_NEAR(std::hypot(p.x - f->CursorPosition.x, p.z - f->CursorPosition.z),
                    f->CursorRadius, 1e-3f);
}

TEST_F(HoverAndKeys, TheMouseRayFindsTheGroundItPointsAt) {
    const TSKIVector ground = f->CellToWorld(120, 140, true);
    const TSKIVector eye = ground + TSKIVector(60, 80, -30, 0);
    ASSERT_TRUE(f->CursorFromRay(eye, ground - eye));
    f->UpdateTools(1.0f / 30);
    EXPECT_EQ(f->CursorI, 120);
    EXPECT_EQ(f->CursorJ, 140);
    EXPECT_NEAR(f->CursorPosition.y, ground.y, 0.01f);
    // Pointing at the sky misses and leaves the cursor where it was.
    EXPECT_FALSE(f->CursorFromRay(eye, TSKIVector(0, 1, 0, 0)));
    f->UpdateTools(1.0f / 30);
    EXPECT_EQ(f->CursorI, 120);
}

TEST_F(HoverAndKeys, DigitKeysToggleDisplayFlagsAtMostFourTimesASecond) {
    const uint8_t flags = f->DisplayFlags;
    f->ToolKey('3');
    EXPECT_EQ(f->DisplayFlags, flags ^ kDisplayBlocked);
    EXPECT_TRUE(f->ShowDisplayWindow);
    f->ToolKey('3');
    EXPECT_EQ(f->DisplayFlags, flags ^ kDisplayBlocked);
    f->UpdateTools(0.3f);
    f->ToolKey('3');
    EXPECT_EQ(f->DisplayFlags, flags);

    const bool snap = f->CursorSnap;
    f->ToolKey('4');
    EXPECT_EQ(f->CursorSnap, !snap);
    f->ToolKey('1');
    EXPECT_TRUE(f->DisplayFlags & kDisplayLongVisibility);
}

TEST_F(HoverAndKeys, EscapeLeavesARideOrAsksForTheMenu) {
    f->ConstructionTool = 13;
    f->ToolKey(kKeyEscape);
    EXPECT_EQ(f->ConstructionTool, 0);
    EXPECT_FALSE(f->MenuRequested);
    f->UpdateTools(0.3f);
    f->ToolKey(kKeyEscape);
    EXPECT_TRUE(f->MenuRequested);
}

TEST_F(HoverAndKeys, CancelEndsTheToolAndSetsTheBrushBack) {
    f->StartBuildingTool(kBuildHospital);
    Hover(100, 100);
    f->CancelTool();
    EXPECT_EQ(f->ConstructionTool, 0);
    EXPECT_EQ(f->CursorRadius, 12.0f);
    EXPECT_FALSE(f->BuildingPreviewVisible);
}

TEST_F(HoverAndKeys, LeavingTheBuildingToolForAnotherGivesTheSnapBack) {
    f->CursorSnap = true;
    f->StartBuildingTool(kBuildStall);
    f->StartBuildingTool(kBuildKiosk);  // a second choice keeps the saved snap
    EXPECT_FALSE(f->CursorSnap);
    f->StartTreeTool();
    EXPECT_TRUE(f->CursorSnap);
}

TEST_F(HoverAndKeys, SkierInfoAndTheBuildingToolGiveTheSnapBackInEitherOrder) {
    f->CursorSnap = true;
    f->StartBuildingTool(kBuildStall);
    f->ToolKey('8');  // skier info on
    f->CancelTool();
    EXPECT_FALSE(f->CursorSnap);  // skier info still holds it off
    f->UpdateTools(0.3f);
    f->ToolKey('8');
    EXPECT_TRUE(f->CursorSnap);

    f->UpdateTools(0.3f);
    f->ToolKey('8');
    f->StartBuildingTool(kBuildStall);
    f->UpdateTools(0.3f);
    f->ToolKey('8');
    EXPECT_FALSE(f->CursorSnap);  // the building tool still holds it off
    f->CancelTool();
    EXPECT_TRUE(f->CursorSnap);

    // Closing the game while the building tool is chosen gives the snap back too.
    f->StartBuildingTool(kBuildStall);
    EXPECT_FALSE(f->CursorSnap);
    CloseGame(*f);
    EXPECT_TRUE(f->CursorSnap);
}

}  // namespace
}  // namespace vallorn
