#include "ui/view_input.h"

#include <cmath>

#include "construction/tool_state.h"

namespace vallorn {

namespace {

// Pixels the pointer may move while a button is held and still count as a click.
constexpr float kClickSlop = 4.0f;

int ButtonIndex(uint8_t button) {
    switch (button) {
        case SDL_BUTTON_LEFT:
            return 0;
        case SDL_BUTTON_RIGHT:
            return 1;
        case SDL_BUTTON_MIDDLE:
            return 2;
        default:
            return -1;
    }
}

int ToolKeyOf(SDL_Keycode key) {
    if (key == SDLK_BACKSPACE) return kKeyBackspace;
    if (key == SDLK_ESCAPE) return kKeyEscape;
    if (key >= SDLK_1 && key <= SDLK_8) return '1' + int(key - SDLK_1);
    if (key >= SDLK_KP_1 && key <= SDLK_KP_8) return '1' + int(key - SDLK_KP_1);
    return 0;
}

// The speed keys leave the display keys, the camera's and the ride's keys alone.
TSKISpeedKey SpeedKeyOf(SDL_Keycode key) {
    switch (key) {
        case SDLK_SPACE:
            return TSKISpeedKey::TogglePause;
        case SDLK_F1:
            return TSKISpeedKey::Normal;
        case SDLK_F2:
            return TSKISpeedKey::Fast;
        case SDLK_F3:
            return TSKISpeedKey::VeryFast;
        default:
            return TSKISpeedKey::None;
    }
}

}  // namespace

void TSKIViewInput::OnEvent(const SDL_Event& e) {
    switch (e.type) {
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
        case SDL_MOUSEMOTION:
        case SDL_MOUSEWHEEL:
        case SDL_KEYDOWN:
            events_.push_back(e);
            break;
        case SDL_WINDOWEVENT:
            if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST) {
                for (TPress& p : press_) p = {};
            }
            break;
        default:
            break;
    }
}

TSKIViewCommands TSKIViewInput::Resolve(bool uiMouse, bool uiKeyboard, float mouseX, float mouseY,
                                        bool focus) {
    TSKIViewCommands c;
    for (const SDL_Event& e : events_) {
        switch (e.type) {
            case SDL_MOUSEBUTTONDOWN: {
                c.AnyKeyOrClick = true;
                const int b = ButtonIndex(e.button.button);
                if (b < 0) break;
                press_[b] = {true, !uiMouse, false, float(e.button.x), float(e.button.y)};
                break;
            }
            case SDL_MOUSEBUTTONUP: {
                const int b = ButtonIndex(e.button.button);
                if (b < 0) break;
                TPress& p = press_[b];
                if (p.Held && p.InView && !p.Dragged && !uiMouse) {
                    if (b == 0) {
                        c.Click = true;
                        c.ClickSamePixel = float(e.button.x) == p.X && float(e.button.y) == p.Y;
                        c.ClickX = float(e.button.x);
                        c.ClickY = float(e.button.y);
                    }
                    if (b == 1) c.RightClick = true;
                }
                p = {};
                break;
            }
            case SDL_MOUSEMOTION:
                for (TPress& p : press_) {
                    if (p.Held && std::hypot(e.motion.x - p.X, e.motion.y - p.Y) > kClickSlop)
                        p.Dragged = true;
                }
                break;
            case SDL_MOUSEWHEEL:
                if (!uiMouse) {
                    const float y =
                        e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
                    c.Wheel += 120.0f * y;
                }
                break;
            case SDL_KEYDOWN:
                c.AnyKeyOrClick = true;
                if (!uiKeyboard) {
                    if (const int k = ToolKeyOf(e.key.keysym.sym)) c.ToolKeys.push_back(k);
                    // A held key repeats: the pause must not flicker on and off.
                    const TSKISpeedKey speed = SpeedKeyOf(e.key.keysym.sym);
                    if (speed != TSKISpeedKey::None && !e.key.repeat) c.Speed = speed;
                }
                break;
            default:
                break;
        }
    }
    events_.clear();

    const uint8_t* keys = SDL_GetKeyboardState(nullptr);
    const SDL_Keymod mods = SDL_GetModState();
    const bool keysFree = !uiKeyboard && focus;
    auto held = [&](SDL_Scancode a, SDL_Scancode b) { return keysFree && (keys[a] || keys[b]); };
    shift_ = keysFree && (mods & KMOD_SHIFT);
    const bool ctrl = keysFree && (mods & KMOD_CTRL);
    pageUp_ = held(SDL_SCANCODE_PAGEUP, SDL_SCANCODE_PAGEUP);
    pageDown_ = held(SDL_SCANCODE_PAGEDOWN, SDL_SCANCODE_PAGEDOWN);
    pointerInView_ = !uiMouse && mouseX >= 0 && mouseY >= 0;

    TSKICameraInput in;
    in.LeftButton = press_[0].Held && press_[0].InView;
    in.MiddleButton = press_[2].Held && press_[2].InView;
    in.Ctrl = ctrl;
    in.Shift = shift_;
    in.Forward = held(SDL_SCANCODE_W, SDL_SCANCODE_UP);
    in.Back = held(SDL_SCANCODE_S, SDL_SCANCODE_DOWN);
    in.Left = held(SDL_SCANCODE_A, SDL_SCANCODE_LEFT);
    in.Right = held(SDL_SCANCODE_D, SDL_SCANCODE_RIGHT);
    in.MouseX = pointerInView_ ? mouseX : -1;
    in.MouseY = pointerInView_ ? mouseY : -1;
    const bool dragKey =
        focus && (in.LeftButton || in.MiddleButton || ((in.Ctrl || in.Shift) && !uiMouse));
    if (dragKey && lastX_ >= 0 && mouseX >= 0) {
        in.DragX = lastX_ - mouseX;
        in.DragY = lastY_ - mouseY;
    }
    c.Dragging =
        dragKey && (press_[0].Dragged || press_[2].Dragged || in.DragX != 0 || in.DragY != 0);
    lastX_ = mouseX;
    lastY_ = mouseY;
    camera_ = in;
    return c;
}

}  // namespace vallorn
