// The game's one top-level window: SDL2 with an OpenGL 3.3 core context and Dear ImGui on it,
// its events, its cursor shapes, full screen and the read-back of the drawn frame.
#pragma once

#include <functional>
#include <string>

#include <SDL.h>

#include "base/image.h"

namespace vallorn {

struct TSKIWindowSetup {
    std::string Title = "VALLORN";
    int Width = 1024, Height = 768;
    int MinWidth = 800, MinHeight = 600;
    bool FullScreen = false;
};

enum class TSKICursorShape { Arrow, Wait, Drag };

class TSKIWindow {
public:
    TSKIWindow() = default;
    ~TSKIWindow();
    TSKIWindow(const TSKIWindow&) = delete;
    TSKIWindow& operator=(const TSKIWindow&) = delete;

    // True when a display can be opened (SDL's video driver initialises and is not the
    // offscreen one unless VALLORN_ALLOW_OFFSCREEN is set); `why` receives the reason.
    static bool DisplayAvailable(std::string* why);

    // Creates the window (centred, black), the GL context and ImGui with a font and sizes
    // scaled to the display's DPI. False with a reason.
    bool Open(const TSKIWindowSetup& setup, std::string* error);
    void Close();
    bool IsOpen() const { return window_ != nullptr; }

    // Pumps the pending events: ImGui sees each one (the pointer position taken from the
    // events, not polled), then `handler`. False once the window was asked to close.
    bool PumpEvents(const std::function<void(const SDL_Event&)>& handler);
    // Starts the ImGui frame (after PumpEvents) and clears the drawable to black; at the end,
    // EndFrame renders ImGui over what was drawn and swaps.
    void BeginFrame();
    void EndFrame() { EndFrame(nullptr); }
    // As EndFrame; `capture` (when given) receives the finished frame, interface included,
    // rows top to bottom (empty when it could not be read).
    void EndFrame(TSKIImage* capture);

    int Width() const;  // drawable size in pixels
    int Height() const;
    float DpiScale() const { return dpiScale_; }
    // The pointer in window units (the events' and the interface's), -1 before it was seen.
    float MouseX() const { return mouseX_; }
    float MouseY() const { return mouseY_; }
    bool HasFocus() const;

    void SetFullScreen(bool fullScreen);
    bool FullScreen() const { return fullScreen_; }
    void Raise();
    // Arrow leaves the pointer to the interface (which shows a text beam or a hand where
    // they fit); Wait and Drag hold until another shape is set. Cheap to call every frame.
    void SetCursor(TSKICursorShape shape);
    // The drawn back buffer without the interface (call before EndFrame), rows top to bottom.
    bool ReadPixels(TSKIImage& out) const;
    SDL_Window* Sdl() const { return window_; }

private:
    float PixelRatio() const;  // drawable pixels per window unit
    float MeasureDpiScale() const;

    TSKIWindowSetup setup_;
    SDL_Window* window_ = nullptr;
    void* context_ = nullptr;
    bool imgui_ = false;
    bool backendSdl_ = false, backendGl_ = false, videoInit_ = false, frameOpen_ = false;
    bool fullScreen_ = false;
    float dpiScale_ = 1.0f;
    float mouseX_ = -1, mouseY_ = -1;
    bool mouseInside_ = false;
    bool pressed_[3] = {false, false, false};  // went down since the last frame
    bool held_[3] = {false, false, false};
    SDL_Cursor* cursors_[3] = {nullptr, nullptr, nullptr};
    TSKICursorShape cursorShape_ = TSKICursorShape::Arrow;
};

}  // namespace vallorn
