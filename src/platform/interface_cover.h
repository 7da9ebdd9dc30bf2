// What the interface's windows hide, so that a software rasteriser shades no pixel twice for
// nothing: the opaque inner rectangles of the windows shown, in framebuffer pixels (for the
// 3D view to leave undrawn), and the layering of the windows' own drawing (a window draws
// nothing where a window in front of it covers it).
#pragma once

#include <vector>

#include "presentation/renderer.h"

struct ImDrawData;

namespace vallorn {

// Call after the interface's windows are built and before ImGui renders them. Windows whose
// background lets the view through (none, a collapsed title, a translucent style, popups and
// tooltips) cover nothing; the rounded corners and borders are left out.
std::vector<TSKICoverRect> InterfaceCover(int framebufferWidth, int framebufferHeight);

// After ImGui::Render, before the draw data is drawn: writes each covering window's place in
// the drawing order into the stencil buffer over its cover rectangle, and starts every draw
// list with a test that passes only where no window drawn later covers. EndWindowLayers
// turns the test off after the draw data is drawn. Needs a stencil buffer.
void LayerWindows(ImDrawData& data, int framebufferWidth, int framebufferHeight);
void EndWindowLayers();

}  // namespace vallorn
