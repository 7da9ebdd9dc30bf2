// The highlight beams are a cache: rebuilt by construction, by the tick in the queue mode and
// when asked, and left alone by everything else the park does.
#include <gtest/gtest.h>

#include "construction/construction_actions.h"
#include "construction/tool_world.h"
#include "engine/clock.h"
#include "engine/highlight.h"
#include "engine/player_actions.h"

namespace vallorn {
namespace {

using HighlightRefresh = test::ToolWorld;

TEST_F(HighlightRefresh, BeamsFollowConstructionAndQueueTicksButNothingElse) {
    f->HighlightMode = 13;  // price: one beam per lift, as wide as a fifth of its ticket
    RefreshHighlight(*f);
    EXPECT_TRUE(f->HighlightBeamCache.empty());

    TSKISection* lift = BuildLift(*f, 100, 100, 100, 160, 2);
    ASSERT_NE(lift, nullptr);
    ASSERT_EQ(f->HighlightBeamCache.size(), 1u);
    EXPECT_FLOAT_EQ(f->HighlightBeamCache[0].Width, lift->TicketPrice * 0.2f);
    EXPECT_EQ(f->HighlightBeamCache[0].Base.x, lift->GatePosition.x);

    // A new price changes nothing until an event: the tick outside the queue mode is none.
    const float width = f->HighlightBeamCache[0].Width;
    lift->TicketPrice = uint16_t(lift->TicketPrice + 50);
    PeriodicTick(*f);
    EXPECT_FLOAT_EQ(f->HighlightBeamCache[0].Width, width);

    // In the queue mode every tick follows the queue: the lift has nobody waiting, so the
    // tick takes back the queue set here and the beam with it.
    lift->QueueLength = 10;
    f->HighlightMode = 14;
    RefreshHighlight(*f);
    ASSERT_EQ(f->HighlightBeamCache.size(), 1u);
    EXPECT_FLOAT_EQ(f->HighlightBeamCache[0].Width, 5.0f);
    PeriodicTick(*f);
    EXPECT_EQ(lift->QueueLength, 0);
    EXPECT_TRUE(f->HighlightBeamCache.empty());

    // Demolition takes the beam away at once.
    f->HighlightMode = 13;
    RefreshHighlight(*f);
    ASSERT_EQ(f->HighlightBeamCache.size(), 1u);
    ASSERT_TRUE(PerformAction(*f, DeleteSectionAction(0)).Done());
    EXPECT_TRUE(f->HighlightBeamCache.empty());
}

// The palette's action builds the beams of its mode; the information windows' buttons move
// them when they are done, a bare action leaves them for the next event.
TEST_F(HighlightRefresh, ThePalettesActionAndTheWindowsButtonsRebuildTheBeams) {
    TSKISection* lift = BuildLift(*f, 100, 100, 100, 160, 2);
    ASSERT_NE(lift, nullptr);
    const size_t index = size_t(f->IndexOf(lift));
    ASSERT_TRUE(PerformAction(*f, SetLiftOpenAction(index, true)).Done());
    EXPECT_EQ(PerformAction(*f, SetHighlightModeAction(kHighlightModes)).Result,
              TSKIActionResult::Refused);
    ASSERT_TRUE(PerformAction(*f, SetHighlightModeAction(kHighlightClosed)).Done());
    EXPECT_EQ(f->HighlightMode, kHighlightClosed);
    EXPECT_TRUE(f->HighlightBeamCache.empty());  // the lift is open
    ASSERT_TRUE(PerformAction(*f, MovingBeams(SetLiftOpenAction(index, false))).Done());
    EXPECT_EQ(f->HighlightBeamCache.size(), 1u);
    ASSERT_TRUE(PerformAction(*f, SetLiftOpenAction(index, true)).Done());
    EXPECT_EQ(f->HighlightBeamCache.size(), 1u);
}

}  // namespace
}  // namespace vallorn
