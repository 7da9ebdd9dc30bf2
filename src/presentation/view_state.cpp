#include "presentation/view_state.h"

#include "engine/clock.h"

namespace vallorn {

namespace {

constexpr float kViewTreeStepInterval = 1.0f / 15.0f;
constexpr float kViewAnimationInterval = 0.04f;
constexpr int kViewAnimationFrames = 20;

}  // namespace

void TSKIViewState::Restart(TSKIRandom& rng) {
    for (uint8_t& phase : AnimationPhase) phase = uint8_t(rng.Below(kViewAnimationFrames));
    AnimationTimer = TreeStepTimer = 0;
    Snowfall.Rng.Seed(rng.Next());
}

void TSKIViewState::Advance(const TSKIEngine& engine, double deltaTime) {
    if (engine.Halted || !engine.Running) return;
    const float step = FrameStep(engine, deltaTime);
    if (engine.DayChanges != SnowfallDay) {
        if (SnowfallDay >= 0) Snowfall.Reset(engine);
        SnowfallDay = engine.DayChanges;
    }
    Snowfall.Update(engine, step);
    if (engine.Busy || step <= 0) return;
    if (engine.Options.Detail > 0) {
        TreeStepTimer += step;
        while (TreeStepTimer > kViewTreeStepInterval) {
            TreeStepTimer -= kViewTreeStepInterval;
            ++TreeSteps;
        }
    }
    AnimationTimer += step;
    while (AnimationTimer > kViewAnimationInterval) {
        AnimationTimer -= kViewAnimationInterval;
        for (uint8_t& phase : AnimationPhase) phase = uint8_t((phase + 1) % kViewAnimationFrames);
    }
}

void TSKIViewState::SetHighlightMode(const TSKIEngine& park, int mode) {
    if (mode < 0 || mode >= kHighlightModes) return;
    HighlightMode = uint8_t(mode);
    HighlightChanged(park);
}

void TSKIViewState::HighlightChanged(const TSKIEngine& park) {
    Beams = HighlightBeams(park, HighlightMode);
}

void TSKIViewState::QueuesMoved(const TSKIEngine& park) {
    if (HighlightMode == kHighlightQueues) HighlightChanged(park);
}

void TSKIViewState::ResetChoices() {
    DisplayFlags = kDisplayNewGame;
    HighlightMode = kHighlightNothing;
    OverlayMode = 0;
}

void TSKIViewState::ParkCleared(bool closed) {
    Beams.clear();
    // The falling snow belongs to the park that goes; the next one starts its own.
    Snowfall.Clear();
    if (closed) HighlightMode = kHighlightNothing;
}

}  // namespace vallorn
