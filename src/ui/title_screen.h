// The title screen "Game menu": the entries with their hints, each drawn with a one-pixel
// shadow and lit while the pointer is over it.
#pragma once

#include <string>

namespace vallorn {

enum class TSKITitleEntry {
    None,
    Campaign,
    Sandbox,
    Addons,
    LoadSave,
    Profile,
    Help,
    Options,
    Credits,
    Exit,
    Close,  // the window's close button or Escape (the caller decides whether it may close)
};

// Inside a window's Begin: the window is drawn in front of the game's other windows (the help
// and objectives windows that the park opens meanwhile) without taking the keyboard.
void KeepWindowInFront();
// Before a window's Begin: the window is centred in the view and sized `width` x `height` when
// it appears (sized every frame with `alwaysSized`), and takes the focus once after `raise`
// was set (which is cleared).
void PlaceCentred(float width, float height, float viewWidth, float viewHeight, bool& raise,
                  bool alwaysSized = false);

class TSKITitleScreen {
public:
    bool Visible = false;
    // Shows the screen in front of the other windows.
    void Show() { Visible = raise_ = true; }
    // Inside the ImGui frame; the entry chosen this frame.
    TSKITitleEntry Draw(const std::string& profileName, bool mayClose, float viewWidth,
                        float viewHeight, float scale);

private:
    bool raise_ = false;
};

}  // namespace vallorn
