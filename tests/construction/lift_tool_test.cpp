// The lift tool as the player uses it: the hover text with the price and its warnings, the
// placement rules, and the click that builds and charges the lift.
#include <gtest/gtest.h>

#include "construction/tool_world.h"

namespace vallorn {
namespace {

using test::ToolWorld;

float Wave(int, int j) {
    return 10.0f + 15.0f * std::sin(float(j) * 0.08f);
}

class HillyLift : public ToolWorld {
protected:
    test::TestLevel Level() const override {
        test::TestLevel l;
        l.height = Wave;
        l.meshKey = "wave";
        return l;
    }
};

class RampLift : public ToolWorld {
protected:
    test::TestLevel Level() const override {
        test::TestLevel l;
        l.height = test::Ramp;
        l.meshKey = "ramp";
        return l;
    }
};

using FlatLift = ToolWorld;

TEST_F(HillyLift, TheHoveredPriceIsThePriceChargedAndTheLiftIsBuiltAsNew) {
    // From a trough at j = 59 up to the crest at j = 98.
    ASSERT_TRUE(con.StartLiftTool(100, 59, 3));
    EXPECT_EQ(tool.Tool, TSKITool::Lift);
    EXPECT_TRUE(f->Display().Layers() & kDisplayBlocked);
    const int32_t price = LiftPrice(*f, 100, 59, 100, 98, 3);
    // The bulging ground needs poles between the stations.
    Hover(100, 98);
    ASSERT_TRUE(tool.LiftPolesVisible) << tool.ToolText;
    EXPECT_GT(tool.LiftPoleNodes.size(), 2u);
    const std::string shown = tool.ToolText;
    EXPECT_EQ(shown.rfind("Place upper station (Price:", 0), 0u) << shown;
    EXPECT_EQ(tool.ToolTextColor, kToolTextLiftGreen);

    const int32_t before = Cash();
    con.ToolClick();
    ASSERT_EQ(f->Sections.size(), 1u);
    const int32_t charged = before - Cash();
    EXPECT_EQ(charged, price);
    EXPECT_EQ(shown, "Place upper station (Price:" + FormatMoney(charged) + ")");

    const TSKISection& lift = *f->Sections[0];
    EXPECT_EQ(lift.Name, "Quad chairlift #1");
    EXPECT_EQ(lift.InvestedMoney, price);
    EXPECT_EQ(lift.TicketPrice, f->Params.Lifts[3].DefaultPrice);
    EXPECT_EQ(lift.Status, kLiftOpen);
    EXPECT_EQ(tool.Tool, TSKITool::None);
    EXPECT_FALSE(f->Display().Layers() & kDisplayBlocked);
    ASSERT_EQ(built.size(), 1u);
    EXPECT_EQ(built[0], std::make_pair(int(kBuiltLift), uint8_t(3)));
    // The routes were rebuilt: the corridor under the new line is known.
    EXPECT_TRUE(f->Cell(100, 80).UnderLift);
}

TEST_F(HillyLift, ALineThatDipsBetweenItsStationsWarnsThatItRunsDownhill) {
    // Crests of the waves at j = 20 and j = 98, a valley between them.
    ASSERT_TRUE(con.StartLiftTool(100, 20, 2));
    const int32_t price = LiftPrice(*f, 100, 20, 100, 98, 2);
    EXPECT_EQ(Hover(100, 98),
              "Warning! Lift runs downhill! (Price:" + std::to_string(price) + ",-)");
    EXPECT_TRUE(tool.LiftPolesVisible);  // a warning, not an error: the click builds
    con.ToolClick();
    EXPECT_EQ(f->Sections.size(), 1u);
}

TEST_F(RampLift, AnUpperStationBelowTheLowerOneIsWarnedAboutButStillBuilt) {
    ASSERT_TRUE(con.StartLiftTool(200, 100, 3));
    const int32_t price = LiftPrice(*f, 200, 100, 120, 100, 3);
    EXPECT_EQ(Hover(120, 100), "Warning! Upper station is lower than lower station! (Price:" +
                                   std::to_string(price) + ",-)");
    con.ToolClick();
    EXPECT_EQ(f->Sections.size(), 1u);
}

TEST_F(FlatLift, LengthLimitsAreInclusiveAtTwicePoleDistanceAndAtTheMaximum) {
    // Double chairlift: poles at least 20 apart, at most 600 long; cells are 4 units.
    ASSERT_EQ(f->Params.Lifts[2].PoleMinDist, 20.0f);
    ASSERT_EQ(f->Params.Lifts[2].MaxLength, 600.0f);
    ASSERT_TRUE(con.StartLiftTool(100, 100, 2));
    EXPECT_EQ(Hover(100, 110).rfind("Place upper station", 0), 0u) << tool.ToolText;
    EXPECT_EQ(Hover(100, 109), "Lift too short!");
    EXPECT_EQ(tool.ToolTextColor, kToolTextRed);
    EXPECT_FALSE(tool.LiftPolesVisible);
    EXPECT_EQ(Hover(100, 250).rfind("Place upper station", 0), 0u) << tool.ToolText;
    EXPECT_EQ(Hover(100, 251), "Lift too long!");
    con.ToolClick();
    EXPECT_TRUE(f->Sections.empty());
    EXPECT_EQ(tool.Tool, TSKITool::Lift);
}

TEST_F(FlatLift, WithoutTheMoneyTheTextNamesThePriceAndTheClickDoesNothing) {
    f->Park.ParkCash = 100;
    ASSERT_TRUE(con.StartLiftTool(100, 100, 3));
    const int32_t price = LiftPrice(*f, 100, 100, 100, 160, 3);
    EXPECT_EQ(Hover(100, 160), "Not enough money! (" + FormatMoney(price) + ")");
    con.ToolClick();
    EXPECT_TRUE(f->Sections.empty());
    EXPECT_EQ(Cash(), 100);
}

TEST_F(FlatLift, SurfaceLiftsCannotCrossSlopesButAerialLiftsCan) {
    f->CreateSlope({f->CellToWorld(90, 130, false) + TSKIVector(0, 0, 0, 3),
                    f->CellToWorld(100, 131, false) + TSKIVector(0, 0, 0, 3),
                    f->CellToWorld(110, 130, false) + TSKIVector(0, 0, 0, 3)});
    ASSERT_TRUE(f->Cell(100, 130).Kind == kCellSlope || f->Cell(100, 130).Kind == kCellSlopeCentre);
    ASSERT_TRUE(con.StartLiftTool(100, 100, 0));
    EXPECT_EQ(Hover(100, 160), "Invalid location!");
    ASSERT_TRUE(con.StartLiftTool(100, 100, 3));
    EXPECT_EQ(Hover(100, 160).rfind("Place upper station", 0), 0u) << tool.ToolText;
    con.ToolClick();
    EXPECT_EQ(f->Sections.size(), 2u);
}

TEST_F(FlatLift, AerialLiftsAvoidStationsOtherCorridorsBuildingsAndBlockedGround) {
    auto blocked = [&](int upperJ) {
        EXPECT_TRUE(con.StartLiftTool(100, 100, 3));
        return Hover(100, upperJ) == "Invalid location!";
    };
    // Another lift's corridor beside the line: no lift cell, only its corridor.
    Lift(99, 140, 99, 200);
    ASSERT_EQ(f->Cell(100, 170).Kind, kCellFree);
    ASSERT_TRUE(f->Cell(100, 170).UnderLift);
    EXPECT_TRUE(blocked(190));
    EXPECT_FALSE(blocked(138));

    // A station on the line.
    Lift(100, 130, 140, 130);
    EXPECT_TRUE(blocked(136));
    DeleteSection(*f, 1, false);
    DeleteSection(*f, 0, false);
    EXPECT_FALSE(blocked(160));

    // A building centre on the line.
    ASSERT_TRUE(PlaceBuilding(*f, At(kBuildKiosk, 100, 130), false));
    EXPECT_TRUE(blocked(160));
}

class BlockedLift : public ToolWorld {
protected:
    test::TestLevel Level() const override {
        test::TestLevel l;
        l.rows[100] = Row(130, 130, '4');
        return l;
    }
};

TEST_F(BlockedLift, BlockedGroundStopsEveryLift) {
    ASSERT_TRUE(f->Cell(100, 130).Blocked);
    for (uint8_t type : {uint8_t(0), uint8_t(3), uint8_t(5)}) {
        ASSERT_TRUE(con.StartLiftTool(100, 110, type));
        EXPECT_EQ(Hover(100, 170), "Invalid location!") << int(type);
    }
    EXPECT_FALSE(con.StartLiftTool(100, 130, 3));  // no lower station on blocked ground
    EXPECT_EQ(BuildLift(*f, 100, 110, 100, 170, 3), nullptr);
}

}  // namespace
}  // namespace vallorn
