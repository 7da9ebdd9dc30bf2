// The hover text of the tools: beside the pointer on a half-transparent panel whose colour
// tells the state (blue by default, green for a valid lift or slope, red for an error). And the
// head-up text.
#pragma once

#include <string>

#include "base/image.h"

namespace vallorn {

// Inside the ImGui frame; nothing when the text is empty. The text's carriage returns break
// its lines (a skier's description is one line a need).
void DrawHoverPanel(const std::string& text, const TSKIColor& color, float mouseX, float mouseY,
                    float viewWidth, float viewHeight);

// The head-up text of free ride and the downhill race: centred horizontally, 50 pixels (times
// the display scale) from the top of the view, white with a dark shadow; nothing when empty.
void DrawHeadUpText(const std::string& text, float viewWidth, float scale);

}  // namespace vallorn
