// The highlight markers of the display window's "Highlight" palette: one vertical beam per
// lift or building that the chosen mode selects, coloured and sized by the mode.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/engine.h"

namespace vallorn {

constexpr int kHighlightModes = 15;
constexpr float kHighlightBeamHeight = 4000.0f;
constexpr float kHighlightBeamAlpha = 0.2f;

struct TSKIHighlightBeam {
    TSKIVector Base;  // where the beam stands: a lift's gate, a building, a garage's area
    uint8_t R = 0, G = 0, B = 0;
    float Width = 3;  // the beam's radius
};

// The beams of the engine's highlight mode (0..14) as the park stands now.
std::vector<TSKIHighlightBeam> HighlightBeams(const TSKIEngine& engine);

}  // namespace vallorn
