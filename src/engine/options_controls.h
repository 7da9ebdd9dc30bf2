// The options window's controls and their mapping to the engine's settings: the sound bar in
// hundredths, the zoom bar reversed about 0.5, the panning bar in hundredths, the invert box as
// the zoom direction's sign, the sound on exactly when the bar is above 0.
#pragma once

#include "base/params.h"

namespace vallorn {

struct TSKIOptionControls {
    bool Music = true;
    int Sound = 100;  // 0..100
    bool InvertZoom = false;
    int Zoom = 50;      // 0..100
    int Rotation = 20;  // 10..30
    int Panning = 6;    // 1..30
    bool FullScreen = true;
    bool EdgeScroll = true;
    int Detail = 1;  // 0 low, 1 medium, 2 high

    bool operator==(const TSKIOptionControls&) const = default;
};

// The controls as the window shows them for the settings (bars held to their ranges).
TSKIOptionControls ControlsFromOptions(const TSKIEngineOptions& options);
// The settings the controls stand for, over `options` (the keys the window does not own stay).
void ApplyControls(const TSKIOptionControls& controls, TSKIEngineOptions& options);
// "Default": what a fresh install plays with.
inline TSKIOptionControls DefaultControls() {
    return {};
}

}  // namespace vallorn
