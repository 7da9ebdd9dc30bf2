// The hover text of the tools: one line beside the pointer on a half-transparent panel whose
// colour tells the state (blue by default, green for a valid lift or slope, red for an error).
#pragma once

#include <string>

#include "base/image.h"

namespace vallorn {

// Inside the ImGui frame; nothing when the text is empty.
void DrawHoverPanel(const std::string& text, const TSKIColor& color, float mouseX, float mouseY,
                    float viewWidth, float viewHeight);

}  // namespace vallorn
