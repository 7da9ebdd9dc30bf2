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

using TSKIHighlightBeam = TSKIEngine::TSKIHighlightBeam;

// The beams of the engine's highlight mode (0..14) as the park stands now.
std::vector<TSKIHighlightBeam> HighlightBeams(const TSKIEngine& engine);

// Rebuilds the engine's beam cache for its highlight mode. Called when the mode changes, when
// an information window opens, closes or upgrades a lift or building, when construction
// creates or removes lifts, slopes or buildings, and by the periodic tick in mode 14 (queues);
// the view draws the cache.
void RefreshHighlight(TSKIEngine& engine);

}  // namespace vallorn
