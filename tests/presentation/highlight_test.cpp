// The highlight palette's beams: what each mode marks, and the view's beams rebuilt by
// construction, by the tick in the queue mode and when asked, and left alone by everything
// else the park does.
#include <gtest/gtest.h>

#include "construction/construction_actions.h"
#include "construction/tool_world.h"
#include "engine/clock.h"
#include "engine/player_actions.h"
#include "presentation/view_state.h"
#include "support/engine_fixture.h"

namespace vallorn {
namespace {

using test::EngineFixture;

TEST(HighlightBeams, EachModeMarksItsLiftsAndBuildings) {
    EngineFixture e;
    TSKISection& lift = e.AddLift({{0, 0, 0, 1}, {0, 0, 40, 1}});
    lift.Status = kLiftClosed;
    lift.QueueLength = 6;
    lift.CustomersServed = 4, lift.TooExpensiveCount = 1;  // 25 %: v = round(25 x 2.55) = 64
    TSKIBuilding& bar = e.AddBuilding(1, {60, 0, 60, 1}, true);
    bar.ServicePrice = 20;
    e.AddBuilding(0, {90, 0, 60, 1}, false);  // a closed snow cannon

    auto beams = [&](int mode) { return HighlightBeams(*e, mode); };
    EXPECT_TRUE(beams(0).empty());
    EXPECT_EQ(beams(1).size(), 2u);  // the closed lift and the closed cannon
    const auto cannons = beams(2);
    ASSERT_EQ(cannons.size(), 1u);
    EXPECT_EQ(cannons[0].Width, 80);
    EXPECT_EQ(cannons[0].B, 255);
    const auto price = beams(11);
    ASSERT_EQ(price.size(), 2u);  // the lift and the restaurant
    EXPECT_EQ(price[0].R, 64);
    EXPECT_EQ(price[0].G, 191);
    EXPECT_EQ(price[1].R, 0);  // nobody served: no complaint
    const auto prices = beams(13);
    EXPECT_FLOAT_EQ(prices.back().Width, 4);  // service price 20 x 0.2
    const auto queues = beams(14);
    ASSERT_EQ(queues.size(), 1u);
    EXPECT_FLOAT_EQ(queues[0].Width, 3);
}

// A park shown by a view.
class HighlightRefresh : public test::ToolWorld {
protected:
    void SetUp() override {
        test::ToolWorld::SetUp();
        f->SetDisplay(&view);
    }
    TSKIViewState view;
};

TEST_F(HighlightRefresh, BeamsFollowConstructionAndQueueTicksButNothingElse) {
    // Price: one beam per lift, as wide as a fifth of its ticket.
    view.SetHighlightMode(*f, kHighlightPrice);
    EXPECT_TRUE(view.Beams.empty());

    TSKISection* lift = BuildLift(*f, 100, 100, 100, 160, 2);
    ASSERT_NE(lift, nullptr);
    ASSERT_EQ(view.Beams.size(), 1u);
    EXPECT_FLOAT_EQ(view.Beams[0].Width, lift->TicketPrice * 0.2f);
    EXPECT_EQ(view.Beams[0].Base.x, lift->GatePosition.x);

    // A new price changes nothing until an event: the tick outside the queue mode is none.
    const float width = view.Beams[0].Width;
    lift->TicketPrice = uint16_t(lift->TicketPrice + 50);
    PeriodicTick(*f);
    EXPECT_FLOAT_EQ(view.Beams[0].Width, width);

    // In the queue mode every tick follows the queue: the lift has nobody waiting, so the
    // tick takes back the queue set here and the beam with it.
    lift->QueueLength = 10;
    view.SetHighlightMode(*f, kHighlightQueues);
    ASSERT_EQ(view.Beams.size(), 1u);
    EXPECT_FLOAT_EQ(view.Beams[0].Width, 5.0f);
    PeriodicTick(*f);
    EXPECT_EQ(lift->QueueLength, 0);
    EXPECT_TRUE(view.Beams.empty());

    // Demolition takes the beam away at once.
    view.SetHighlightMode(*f, kHighlightPrice);
    ASSERT_EQ(view.Beams.size(), 1u);
    ASSERT_TRUE(PerformAction(*f, DeleteSectionAction(0)).Done());
    EXPECT_TRUE(view.Beams.empty());
}

// The palette's choice builds the beams of its mode; the information windows' buttons move
// them when they are done, a bare action leaves them for the next event.
TEST_F(HighlightRefresh, ThePalettesChoiceAndTheWindowsButtonsRebuildTheBeams) {
    TSKISection* lift = BuildLift(*f, 100, 100, 100, 160, 2);
    ASSERT_NE(lift, nullptr);
    const size_t index = size_t(f->IndexOf(lift));
    ASSERT_TRUE(PerformAction(*f, SetLiftOpenAction(index, true)).Done());
    view.SetHighlightMode(*f, kHighlightModes);  // no such mode
    EXPECT_EQ(view.HighlightMode, kHighlightNothing);
    view.SetHighlightMode(*f, kHighlightClosed);
    EXPECT_EQ(view.HighlightMode, kHighlightClosed);
    EXPECT_TRUE(view.Beams.empty());  // the lift is open
    ASSERT_TRUE(PerformAction(*f, MovingBeams(SetLiftOpenAction(index, false))).Done());
    EXPECT_EQ(view.Beams.size(), 1u);
    ASSERT_TRUE(PerformAction(*f, SetLiftOpenAction(index, true)).Done());
    EXPECT_EQ(view.Beams.size(), 1u);
}

}  // namespace
}  // namespace vallorn
