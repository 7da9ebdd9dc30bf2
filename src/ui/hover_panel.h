// The hover text of the tools: beside the pointer on a half-transparent panel whose colour
// tells the state (blue by default, green for a valid lift or slope, red for an error). The
// head-up text and the keys of the ride modes.
#pragma once

#include <string>
#include <vector>

#include "base/image.h"
#include "construction/tool_state.h"
#include "ui/desktop_layout.h"

namespace vallorn {

// Inside the ImGui frame; nothing when the text is empty. The text's carriage returns break
// its lines (a skier's description is one line a need).
void DrawHoverPanel(const std::string& text, const TSKIColor& color, float mouseX, float mouseY,
                    float viewWidth, float viewHeight);

// The head-up text of free ride and the downhill race: centred horizontally, 50 pixels (times
// the display scale) from the top of the view, white with a dark shadow; nothing when empty.
void DrawHeadUpText(const std::string& text, float viewWidth, float scale);

// The keys of free ride or of the downhill race, one line each; none for the other tools.
struct TSKIRideControl {
    std::string Keys, Action;
};
std::vector<TSKIRideControl> RideControls(TSKITool tool);
// While the avatar is shown: its keys on a small dark panel in the bottom right corner of the
// view, under the windows, and above `menuBar` (the bar's rectangle; empty when hidden) when it
// would stand on it.
void DrawRideControls(TSKITool tool, bool avatarShown, float viewWidth, float viewHeight,
                      const TSKIRect& menuBar, float scale);

}  // namespace vallorn
