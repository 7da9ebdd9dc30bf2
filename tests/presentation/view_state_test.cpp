// The view's own animation state follows the park's simulated time.
#include <gtest/gtest.h>

#include "presentation/view_state.h"
#include "support/engine_fixture.h"

namespace vallorn {
namespace {

TEST(ViewState, FiguresAndTreesMoveWithTheParksTime) {
    test::EngineFixture e;
    e->Options.Detail = 1;
    TSKIRandom rng(5);
    TSKIViewState view;
    view.Restart(rng);
    for (uint8_t phase : view.AnimationPhase) EXPECT_LT(phase, 20);
    const auto start = view.AnimationPhase;
    auto frames = [&](int n, double dt) {
        for (int k = 0; k < n; ++k) view.Advance(*e, dt);
    };

    // A paused, busy or stopped park holds the figures and the trees still.
    e->Park.ParkSpeed = 0;
    frames(100, 0.1);
    e->Park.ParkSpeed = 2;
    e->Busy = true;
    frames(100, 0.1);
    e->Busy = false;
    e->Running = false;
    frames(100, 0.1);
    EXPECT_EQ(view.AnimationPhase, start);
    EXPECT_EQ(view.TreeSteps, 0u);

    // At twice the speed a tenth of a second moves the park 0.2 s, and a stalled frame counts
    // as a tenth: 0.4 s in all, ten figure frames of 0.04 s and six tree steps of a fifteenth
    // (one less where the sums round down).
    e->Running = true;
    frames(1, 0.1);
    frames(1, 5.0);
    EXPECT_GE(view.TreeSteps, 5u);
    EXPECT_LE(view.TreeSteps, 6u);
    for (size_t k = 0; k < start.size(); ++k) {
        EXPECT_LT(view.AnimationPhase[k], 20);
        EXPECT_NEAR((view.AnimationPhase[k] - start[k] + 20) % 20, 10, 1) << k;
    }

    // At the lowest detail the trees stand still while the figures go on.
    e->Options.Detail = 0;
    const uint32_t steps = view.TreeSteps;
    const auto phases = view.AnimationPhase;
    frames(1, 0.1);
    EXPECT_EQ(view.TreeSteps, steps);
    EXPECT_NE(view.AnimationPhase, phases);
}

}  // namespace
}  // namespace vallorn
