// The harness itself: a start that never shows the game's window is ended and made once more,
// and the failure message says so.
#include <gtest/gtest.h>

#include "gui/gui_harness.h"

namespace vallorn::gui {
namespace {

TEST(Harness, AStartThatShowsNoWindowIsMadeOnceMoreAndTheLogSaysSo) {
    TGame::TSetup setup;
    setup.command = {"sleep", "120"};  // comes up on its display, never draws
    setup.windowSeconds = 4;
    TGame game(setup);
    EXPECT_FALSE(game.WaitFor([](const TProbeState&) { return true; }, 1));
    const std::string log = game.Log();
    const size_t first = log.find(TGame::kStartedAgain);
    ASSERT_NE(first, std::string::npos) << log;
    EXPECT_EQ(log.find(TGame::kStartedAgain, first + 1), std::string::npos) << "more than once";
    // The second start is left running on a display that answers.
    EXPECT_NE(log.find("(0 game windows on it)"), std::string::npos) << log;
}

}  // namespace
}  // namespace vallorn::gui
