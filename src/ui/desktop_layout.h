// Where the floating windows stand around the main window, each kept inside the screen.
#pragma once

namespace vallorn {

struct TSKIRect {
    float X = 0, Y = 0, W = 0, H = 0;
};

// Moves a rectangle back inside a screen of the size, the top left corner winning when the
// rectangle is larger than the screen.
TSKIRect KeepOnScreen(TSKIRect r, float screenWidth, float screenHeight);

// The floating windows that exist, with their sizes on input and their places on output.
struct TSKIDesktop {
    TSKIRect MenuBar;  // 167 above the main window's bottom edge (28 below it), 39 from its left
    TSKIRect Loading;  // the loading picture: centred, 50 above the middle
    TSKIRect Tip;      // the tip: 385 below the picture's top (never over it), centred, 400 wide
};

// Places the windows around `main` (distances scale with `scale`, the display's DPI factor) and
// keeps each inside the screen.
TSKIDesktop ArrangeDesktop(const TSKIRect& main, TSKIDesktop sizes, float screenWidth,
                           float screenHeight, float scale = 1.0f);

}  // namespace vallorn
