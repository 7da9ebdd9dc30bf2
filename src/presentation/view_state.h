// What only the view keeps of a running park: the figures' animation frames and the trees'
// wind steps. They follow the park's simulated time but nothing in the park reads them; the
// game window owns one, the headless runner none.
#pragma once

#include <array>
#include <cstdint>

#include "base/random.h"
#include "engine/engine.h"

namespace vallorn {

struct TSKIViewState {
    // The animation frame (0..19) of each character template.
    std::array<uint8_t, kCharacterTemplates> AnimationPhase{};
    float AnimationTimer = 0;
    // The trees' wind steps so far: near trees move to their next frame at each step.
    uint32_t TreeSteps = 0;
    float TreeStepTimer = 0;

    // A new park: the characters start at scattered frames.
    void Restart(TSKIRandom& rng);
    // Moves on by the time the park moved in a frame of `deltaTime` real seconds: nothing
    // while the park is paused, busy or not running; the trees step only above the lowest
    // detail.
    void Advance(const TSKIEngine& engine, double deltaTime);
};

}  // namespace vallorn
