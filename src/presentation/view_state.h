// What only the view keeps of a running park: the figures' animation frames and the trees'
// wind steps, the falling snow, the display layers, the skier flags and the highlight palette
// with its beams.
// They follow the park but nothing in the park's rules reads them; the game window owns one
// and hands it to its engine as the park's display (engine/display.h), the headless runner
// has none.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "base/random.h"
#include "engine/display.h"
#include "engine/engine.h"
#include "presentation/highlight.h"
#include "presentation/snowfall.h"

namespace vallorn {

struct TSKIViewState : ITSKIDisplay {
    // The animation frame (0..19) of each character template.
    std::array<uint8_t, kCharacterTemplates> AnimationPhase{};
    float AnimationTimer = 0;
    // The trees' wind steps so far: near trees move to their next frame at each step.
    uint32_t TreeSteps = 0;
    float TreeStepTimer = 0;

    // The falling snow, and the park's day it was made for (a new day brings its weather's).
    TSKISnowfall Snowfall;
    int64_t SnowfallDay = -1;

    // A new park: the characters start at scattered frames, the snow draws its own numbers.
    void Restart(TSKIRandom& rng);
    // Moves on by the time the park moved in a frame of `deltaTime` real seconds: nothing
    // while the park is not running, the figures and trees nothing while it is paused or
    // busy; the trees step only above the lowest detail.
    void Advance(const TSKIEngine& engine, double deltaTime);

    // The display layers (kDisplay* bits), the skier flags (0 none, 1..8 the overlay bands of
    // presentation/dots.h) and the highlight palette's mode (kHighlight*) with the beams as
    // they were last built: when the mode was chosen and when the park said what they mark
    // changed.
    uint8_t DisplayFlags = kDisplayNewGame;
    uint8_t OverlayMode = 0;
    uint8_t HighlightMode = kHighlightNothing;
    std::vector<TSKIHighlightBeam> Beams;

    // The palette's choice: the beams of the mode are built at once.
    void SetHighlightMode(const TSKIEngine& park, int mode);

    uint8_t Layers() const override { return DisplayFlags; }
    void SetLayers(uint8_t layers) override { DisplayFlags = layers; }
    void HighlightChanged(const TSKIEngine& park) override;
    void QueuesMoved(const TSKIEngine& park) override;
    void ResetChoices() override;
    void ParkCleared(bool closed) override;
};

}  // namespace vallorn
