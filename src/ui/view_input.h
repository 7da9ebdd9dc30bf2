// The mouse and keys over the 3D view: what is a click, a drag, a wheel turn or a tool key,
// decided once the interface has said whether it wants the pointer and the keyboard.
#pragma once

#include <vector>

#include <SDL.h>

#include "presentation/camera.h"

namespace vallorn {

// A key of the game's speed, applied as the menu bar's speed buttons are: Space pauses and
// resumes at the speed before the pause, F1, F2 and F3 run the game at 1 x, 2 x and 4 x.
enum class TSKISpeedKey { None, TogglePause, Normal, Fast, VeryFast };

// What the view does this frame.
struct TSKIViewCommands {
    bool Click = false;            // a left click that did not drag: the tool's click
    bool ClickSamePixel = false;   // ... whose button went up on the pixel it went down on
    float ClickX = 0, ClickY = 0;  // where the click's button went up (window units)
    bool RightClick = false;       // a right click that did not drag: the build menu
    float Wheel = 0;               // wheel delta, 120 per notch (positive: turned away)
    std::vector<int> ToolKeys;     // kKeyBackspace, kKeyEscape, '1'..'8'
    TSKISpeedKey Speed = TSKISpeedKey::None;  // the last speed key of the frame
    bool AnyKeyOrClick = false;               // skips the intro
    bool Dragging = false;                    // the pointer moves the camera (the drag cursor)
};

class TSKIViewInput {
public:
    // Every event of the frame, as PumpEvents delivers them.
    void OnEvent(const SDL_Event& e);
    // After ImGui::NewFrame. `uiMouse` / `uiKeyboard`: the interface wants them (or a modal
    // box shows). The pointer is in window units. Clears the frame's events.
    TSKIViewCommands Resolve(bool uiMouse, bool uiKeyboard, float mouseX, float mouseY, bool focus);
    // The camera's input of this frame (drag deltas since the previous frame), after Resolve.
    TSKICameraInput Camera() const { return camera_; }
    // The left button went down in the view and is still held (tree planting, brushes).
    bool LeftHeldInView() const { return press_[0].InView && press_[0].Held; }
    bool Shift() const { return shift_; }
    bool PageUp() const { return pageUp_; }
    bool PageDown() const { return pageDown_; }
    // The pointer is over the view and not over a window of the interface.
    bool PointerInView() const { return pointerInView_; }

private:
    struct TPress {
        bool Held = false, InView = false, Dragged = false;
        float X = 0, Y = 0;
    };
    std::vector<SDL_Event> events_;
    TPress press_[3];  // left, right, middle
    TSKICameraInput camera_;
    float lastX_ = -1, lastY_ = -1;
    bool shift_ = false, pageUp_ = false, pageDown_ = false, pointerInView_ = false;
};

}  // namespace vallorn
