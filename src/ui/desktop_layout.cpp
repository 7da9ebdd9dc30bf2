#include "ui/desktop_layout.h"

#include <algorithm>

namespace vallorn {

TSKIRect KeepOnScreen(TSKIRect r, float screenWidth, float screenHeight) {
    r.X = std::max(0.0f, std::min(r.X, screenWidth - r.W));
    r.Y = std::max(0.0f, std::min(r.Y, screenHeight - r.H));
    return r;
}

TSKIDesktop ArrangeDesktop(const TSKIRect& main, TSKIDesktop d, float screenWidth,
                           float screenHeight, float scale) {
    d.MenuBar.X = main.X + 39 * scale;
    // 167 above the bottom edge, which leaves 28 under the bar of 139; a bar laid out smaller
    // at a large scale keeps that gap rather than floating over the view.
    d.MenuBar.Y = main.Y + main.H - std::min(167 * scale, d.MenuBar.H + 28 * scale);
    d.Loading.X = main.X + (main.W - d.Loading.W) / 2;
    d.Loading.Y = main.Y + (main.H - d.Loading.H) / 2 - 50 * scale;
    d.Loading = KeepOnScreen(d.Loading, screenWidth, screenHeight);
    d.Tip.W = 400 * scale;
    d.Tip.X = main.X + (main.W - d.Tip.W) / 2;
    d.Tip.Y = d.Loading.Y + std::max(385 * scale, d.Loading.H + 8 * scale);
    d.MenuBar = KeepOnScreen(d.MenuBar, screenWidth, screenHeight);
    d.Tip = KeepOnScreen(d.Tip, screenWidth, screenHeight);
    return d;
}

}  // namespace vallorn
