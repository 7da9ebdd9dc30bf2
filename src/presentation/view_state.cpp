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
}

void TSKIViewState::Advance(const TSKIEngine& engine, double deltaTime) {
    if (engine.Halted || !engine.Running || engine.Busy) return;
    const float step = FrameStep(engine, deltaTime);
    if (step <= 0) return;
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

}  // namespace vallorn
