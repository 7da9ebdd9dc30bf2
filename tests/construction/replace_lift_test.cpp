// Replacing a lift: the offers and their prices, the exchange, and every way it can be
// refused without touching the old lift.
#include <gtest/gtest.h>

#include <set>

#include "construction/build_menu.h"
#include "construction/construction_actions.h"
#include "construction/tool_world.h"

namespace vallorn {
namespace {

class ReplaceLift : public test::ToolWorld {
protected:
    void SetUp() override {
        ToolWorld::SetUp();
        double_ = BuildLift(*f, 100, 100, 100, 160, 2);
        ASSERT_NE(double_, nullptr);
        start_ = Cash();
    }
    int32_t Price(uint8_t type) const { return LiftPrice(*f, 100, 100, 100, 160, type); }
    TSKISection* double_ = nullptr;
    int32_t start_ = 0;
};

TEST_F(ReplaceLift, ADoubleChairliftIsOfferedTheOtherChairAndCabinTypesAtFullPrice) {
    const std::vector<TSKIReplaceEntry> menu = ReplaceLiftMenu(*f, 0);
    std::set<int> visible;
    for (const TSKIReplaceEntry& e : menu) {
        EXPECT_GE(e.LiftType, 2) << "platter lifts and T-bars are never offered";
        if (!e.Visible) continue;
        visible.insert(e.LiftType);
        EXPECT_TRUE(e.Enabled);
    }
    EXPECT_EQ(visible, (std::set<int>{3, 4, 5, 6}));
    for (const TSKIReplaceEntry& e : menu) {
        if (e.LiftType == 3) {
            EXPECT_EQ(e.Caption, "Quad chairlift (" + FormatMoney(Price(3)) + ")");
        }
        if (e.LiftType == 5) {
            EXPECT_EQ(e.Caption, "Aerial tram (" + FormatMoney(Price(5)) + ")");
        }
    }
    EXPECT_TRUE(ReplaceMenuShown(menu));

    // Only what the cash covers is enabled; nothing enabled hides the submenu.
    f->Park.ParkCash = Price(3);
    for (const TSKIReplaceEntry& e : ReplaceLiftMenu(*f, 0))
        if (e.Visible) {
            EXPECT_EQ(e.Enabled, Price(e.LiftType) <= Price(3)) << int(e.LiftType);
        }
    f->Park.ParkCash = 0;
    EXPECT_FALSE(ReplaceMenuShown(ReplaceLiftMenu(*f, 0)));
}

TEST_F(ReplaceLift, InACampaignMissionOnlyUnlockedTypesAreOffered) {
    f->Park.ParkMissionIndex = 0;
    f->Profile.UnlockedLifts[3] = true;
    f->Profile.UnlockedLifts[2] = true;
    std::set<int> visible;
    for (const TSKIReplaceEntry& e : ReplaceLiftMenu(*f, 0))
        if (e.Visible) visible.insert(e.LiftType);
    EXPECT_EQ(visible, std::set<int>{3});
    f->EditorOpen = true;  // the editor offers everything
    visible.clear();
    for (const TSKIReplaceEntry& e : ReplaceLiftMenu(*f, 0))
        if (e.Visible) visible.insert(e.LiftType);
    EXPECT_EQ(visible.size(), 4u);
}

TEST_F(ReplaceLift, YesReplacesTheLiftAndChargesTheFullPrice) {
    double_->TicketPrice = 99;
    EXPECT_TRUE(vallorn::ReplaceLift(*f, 0, 3));
    ASSERT_EQ(f.dialogs.questions.size(), 1u);
    EXPECT_EQ(f.dialogs.questions[0],
              "Do you want to replace Double chairlift #1 with Quad "
              "chairlift ?\rPrice: " +
                  FormatMoney(Price(3)));
    ASSERT_EQ(f->Sections.size(), 1u);
    const TSKISection& quad = *f->Sections[0];
    EXPECT_EQ(quad.LiftType, 3);
    EXPECT_EQ(quad.Name, "Quad chairlift #1");
    EXPECT_EQ(quad.TicketPrice, f->Params.Lifts[3].DefaultPrice);
    EXPECT_EQ(quad.InvestedMoney, Price(3));
    EXPECT_EQ(quad.LowerJ, 100);
    EXPECT_EQ(quad.UpperJ, 160);
    EXPECT_EQ(start_ - Cash(), Price(3));
    EXPECT_TRUE(f.dialogs.errors.empty());
    EXPECT_EQ(built.back(), std::make_pair(int(kBuiltLift), uint8_t(3)));
}

TEST_F(ReplaceLift, NoChangesNothingAndTheActionIsDeclined) {
    f.dialogs.answer = false;
    const TSKIActionOutcome o = PerformAction(*f, ReplaceLiftAction(0, 6));
    EXPECT_EQ(o.Result, TSKIActionResult::Declined);
    EXPECT_EQ(f.dialogs.questions.size(), 1u);
    ASSERT_EQ(f->Sections.size(), 1u);
    EXPECT_EQ(f->Sections[0].get(), double_);
    EXPECT_EQ(double_->LiftType, 2);
    EXPECT_EQ(Cash(), start_);
}

TEST_F(ReplaceLift, RefusalsShowTheErrorDialogAndKeepTheOldLift) {
    auto refused = [&](uint8_t type) {
        f.dialogs.errors.clear();
        EXPECT_FALSE(vallorn::ReplaceLift(*f, 0, type));
        EXPECT_TRUE(f.dialogs.questions.empty());
        EXPECT_EQ(f->Sections.size(), 1u);
        EXPECT_EQ(f->Sections[0].get(), double_);
        EXPECT_EQ(Cash(), f->Park.ParkCash);
        return f.dialogs.errors.size() == 1 ? f.dialogs.errors[0] : std::string("(none)");
    };
    // 240 units: an aerial tram needs twice its 60-unit pole distance... and more room.
    ASSERT_LT(240.0f, 2 * f->Params.Lifts[5].PoleMinDist * 2.1f);
    f->Park.ParkCash = Price(4) - 1;
    EXPECT_EQ(refused(4), "Can not upgrade. Not enough money!");
    f->Park.ParkCash = start_;
    EXPECT_EQ(refused(1), "(none)");  // a T-bar is no replacement
    EXPECT_EQ(Cash(), start_);
}

TEST_F(ReplaceLift, AShortLineRefusesATypeWithWiderPoles) {
    TSKISection* shortLift = BuildLift(*f, 120, 100, 120, 128, 2);  // 112 units
    ASSERT_NE(shortLift, nullptr);
    const int32_t cash = Cash();
    vallorn::ReplaceLift(*f, 1, 5);  // an aerial tram needs 120
    ASSERT_EQ(f.dialogs.errors.size(), 1u);
    EXPECT_EQ(f.dialogs.errors[0], "Can not upgrade. Lift too short!");
    EXPECT_EQ(f->Sections[1].get(), shortLift);
    EXPECT_EQ(Cash(), cash);
}

TEST_F(ReplaceLift, ALineTheNewLiftCouldNotBeBuiltOnKeepsTheOldLift) {
    // A lift laid across the double's line, as a saved game may hold it.
    Lift(90, 130, 110, 130, 2);
    ASSERT_EQ(f->Sections.size(), 2u);
    const int32_t cash = Cash();
    vallorn::ReplaceLift(*f, 0, 3);
    ASSERT_EQ(f.dialogs.errors.size(), 1u);
    EXPECT_EQ(f.dialogs.errors[0], "Can not upgrade. Invalid location!");
    EXPECT_TRUE(f.dialogs.questions.empty());
    ASSERT_EQ(f->Sections.size(), 2u);
    EXPECT_EQ(f->Sections[0].get(), double_);
    EXPECT_EQ(f->Cell(100, 100).Kind, kCellLiftLower);
    EXPECT_EQ(Cash(), cash);
    // Its own stations and corridor do not stand in the way of a replacement.
    DeleteSection(*f, 1, false);
    vallorn::ReplaceLift(*f, 0, 3);
    EXPECT_EQ(f->Sections[0]->LiftType, 3);
}

// A new aerial lift may cross a road; a replacement may not, whatever its type.
TEST_F(ReplaceLift, ARoadUnderTheLineRefusesTheReplacementButNotANewAerialLift) {
    f->Cell(100, 130).Kind = kCellRoad;
    f->Cell(120, 130).Kind = kCellRoad;
    EXPECT_NE(BuildLift(*f, 120, 100, 120, 160, 3), nullptr);
    EXPECT_FALSE(vallorn::ReplaceLift(*f, 0, 3));
    ASSERT_EQ(f.dialogs.errors.size(), 1u);
    EXPECT_EQ(f.dialogs.errors[0], "Can not upgrade. Invalid location!");
    EXPECT_EQ(f->Sections[0].get(), double_);
}

TEST_F(ReplaceLift, TheMenuSeesALiftRemovedBySomethingElseSinceTheCursorLastMoved) {
    TSKISection* quad = BuildLift(*f, 140, 100, 140, 160, 3);
    ASSERT_NE(quad, nullptr);
    const std::string name = quad->Name;
    Hover(140, 100);  // the quad's lower station, section 1
    ASSERT_TRUE(PerformAction(*f, DeleteSectionAction(0)).Done());  // a window deletes the double
    const TSKIMenuContext c = MenuContext(*f, tool);
    EXPECT_TRUE(c.CellHasSection);
    EXPECT_EQ(c.SectionName, name);
}

}  // namespace
}  // namespace vallorn
