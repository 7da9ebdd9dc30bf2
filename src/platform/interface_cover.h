// What the interface's windows hide, so that a software rasteriser shades no pixel twice for
// nothing: the opaque inner rectangles of the windows shown, in framebuffer pixels (for the
// 3D view to leave undrawn), and the windows' own drawing cut to what shows of each (a window
// draws nothing where a window in front of it covers it).
#pragma once

#include <utility>
#include <vector>

#include "presentation/renderer.h"

struct ImDrawData;

namespace vallorn {

// Call after the interface's windows are built and before ImGui renders them. Windows whose
// background lets the view through (none, a collapsed title, a translucent style, popups and
// tooltips) cover nothing; the rounded corners and borders are left out.
std::vector<TSKICoverRect> InterfaceCover(int framebufferWidth, int framebufferHeight);

// The drawing order of the draw data's lists (0 the background, the top-level windows 1 up,
// the foreground over all) and the cover rectangles of the windows by their place in it.
struct TSKIWindowLayers {
    std::vector<int> Places;  // by draw list
    std::vector<std::pair<int, TSKICoverRect>> Covers;
};
TSKIWindowLayers WindowLayers(const ImDrawData& data, int framebufferWidth, int framebufferHeight);

// The parts of `clip` that no rectangle of `covers` hides, as few rectangles as rows of
// runs allow, none overlapping another.
std::vector<TSKICoverRect> UncoveredParts(const TSKICoverRect& clip,
                                          const std::vector<TSKICoverRect>& covers);

// Cuts each draw command of a window into the parts of its clip rectangle that no window
// drawn later covers, each part drawing only the triangles that reach into it: nothing is
// drawn where a window in front will be drawn over it.
void ClipToUncovered(ImDrawData& data, const TSKIWindowLayers& layers, int framebufferWidth,
                     int framebufferHeight);

// After ImGui::Render, before the draw data is drawn: the windows' layers, each cut to what
// the windows in front of it leave showing.
void DrawOnlyWhatShows(ImDrawData& data, int framebufferWidth, int framebufferHeight);

}  // namespace vallorn
