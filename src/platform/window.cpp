#include "platform/window.h"

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include <backends/imgui_impl_opengl3.h>
#include <backends/imgui_impl_sdl.h>
#include <imgui.h>

#include "platform/interface_cover.h"
#include "platform/window_style.h"

namespace vallorn {

namespace {

bool EnvSet(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr && v[0] != '\0';
}

bool OffscreenAllowed() {
    return EnvSet("VALLORN_ALLOW_OFFSCREEN");
}

}  // namespace

bool TSKIWindow::DisplayAvailable(std::string* why) {
    auto fail = [&](std::string reason) {
        if (why) *why = std::move(reason);
        return false;
    };
    const char* driver = std::getenv("SDL_VIDEODRIVER");
    const bool wantsOffscreen = driver != nullptr && std::strcmp(driver, "offscreen") == 0;
    if (wantsOffscreen && !OffscreenAllowed())
        return fail("the offscreen video driver is not a display");
    if (!wantsOffscreen && !EnvSet("DISPLAY") && !EnvSet("WAYLAND_DISPLAY"))
        return fail("no display: neither DISPLAY nor WAYLAND_DISPLAY is set");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return fail(std::string("the video system does not start: ") + SDL_GetError());
    const char* current = SDL_GetCurrentVideoDriver();
    const bool offscreen = current != nullptr && std::strcmp(current, "offscreen") == 0;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    if (offscreen && !OffscreenAllowed())
        return fail("only the offscreen video driver is available, which is not a display");
    if (why) why->clear();
    return true;
}

TSKIWindow::~TSKIWindow() {
    Close();
}

bool TSKIWindow::Open(const TSKIWindowSetup& setup, std::string* error) {
    auto fail = [&](std::string reason) {
        if (error) *error = std::move(reason);
        Close();
        return false;
    };
    if (window_) Close();
    setup_ = setup;
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) != 0)
        return fail(std::string("the video system does not start: ") + SDL_GetError());
    videoInit_ = true;

    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_FLAGS, SDL_GL_CONTEXT_FORWARD_COMPATIBLE_FLAG);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);

    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    if (setup.FullScreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    window_ = SDL_CreateWindow(setup.Title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                               setup.Width, setup.Height, flags);
    if (!window_) return fail(std::string("the window cannot be created: ") + SDL_GetError());
    SDL_SetWindowMinimumSize(window_, setup.MinWidth, setup.MinHeight);
    fullScreen_ = setup.FullScreen;

    context_ = SDL_GL_CreateContext(window_);
    if (!context_) return fail(std::string("no OpenGL 3.3 core context: ") + SDL_GetError());
    SDL_GL_MakeCurrent(window_, context_);
    if (SDL_GL_SetSwapInterval(1) != 0) SDL_GL_SetSwapInterval(0);

    // Black from the first frame on.
    glViewport(0, 0, Width(), Height());
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    SDL_GL_SwapWindow(window_);

    dpiScale_ = MeasureDpiScale();

    IMGUI_CHECKVERSION();
    ImGui::CreateContext();
    imgui_ = true;
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.LogFilename = nullptr;
    if (!ImGui_ImplSDL2_InitForOpenGL(window_, context_))
        return fail("the interface cannot attach to the window");
    backendSdl_ = true;
    if (!ImGui_ImplOpenGL3_Init("#version 330 core"))
        return fail("the interface cannot draw with OpenGL 3.3");
    backendGl_ = true;
    ApplyWindowStyle(dpiScale_, PixelRatio());

    cursors_[0] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_ARROW);
    cursors_[1] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_WAIT);
    cursors_[2] = SDL_CreateSystemCursor(SDL_SYSTEM_CURSOR_SIZEALL);
    if (error) error->clear();
    return true;
}

float TSKIWindow::PixelRatio() const {
    if (!window_) return 1.0f;
    int ww = 0, wh = 0;
    SDL_GetWindowSize(window_, &ww, &wh);
    return ww > 0 ? std::max(1.0f, float(Width()) / float(ww)) : 1.0f;
}

float TSKIWindow::MeasureDpiScale() const {
    if (const char* forced = std::getenv("VALLORN_UI_SCALE")) {
        const float f = std::strtof(forced, nullptr);
        if (f >= 0.5f && f <= 4.0f) return f;
    }
    float scale = 1.0f;
    float ddpi = 0, hdpi = 0, vdpi = 0;
    const int display = SDL_GetWindowDisplayIndex(window_);
    if (display >= 0 && SDL_GetDisplayDPI(display, &ddpi, &hdpi, &vdpi) == 0 && hdpi > 0 &&
        std::isfinite(hdpi))
        scale = hdpi / 96.0f;
    // A window whose drawable is larger than itself already scales its pixels; its layout
    // stays in window units, so only the font's sharpness follows that ratio.
    scale /= PixelRatio();
    // Quarter steps, never smaller than the designed size: a badly reported DPI must not
    // make the text unreadable.
    scale = std::round(scale * 4.0f) / 4.0f;
    return std::clamp(scale, 1.0f, 3.0f);
}

void TSKIWindow::Close() {
    for (SDL_Cursor*& c : cursors_) {
        if (c) SDL_FreeCursor(c);
        c = nullptr;
    }
    if (backendGl_) ImGui_ImplOpenGL3_Shutdown();
    if (backendSdl_) ImGui_ImplSDL2_Shutdown();
    backendGl_ = backendSdl_ = false;
    if (imgui_) ImGui::DestroyContext();
    imgui_ = false;
    if (context_) SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context_));
    context_ = nullptr;
    if (window_) SDL_DestroyWindow(window_);
    window_ = nullptr;
    if (videoInit_) SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS);
    videoInit_ = false;
    frameOpen_ = false;
    cursorShape_ = TSKICursorShape::Arrow;
}

bool TSKIWindow::PumpEvents(const std::function<void(const SDL_Event&)>& handler) {
    bool open = true;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        switch (e.type) {
            case SDL_MOUSEMOTION:
                mouseX_ = float(e.motion.x);
                mouseY_ = float(e.motion.y);
                mouseInside_ = true;
                break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP: {
                mouseX_ = float(e.button.x);
                mouseY_ = float(e.button.y);
                mouseInside_ = true;
                const int b = e.button.button == SDL_BUTTON_LEFT     ? 0
                              : e.button.button == SDL_BUTTON_RIGHT  ? 1
                              : e.button.button == SDL_BUTTON_MIDDLE ? 2
                                                                     : -1;
                if (b >= 0) {
                    const bool down = e.type == SDL_MOUSEBUTTONDOWN;
                    if (down) pressed_[b] = true;
                    held_[b] = down;
                }
                break;
            }
            case SDL_WINDOWEVENT:
                if (e.window.event == SDL_WINDOWEVENT_LEAVE && !held_[0] && !held_[1] && !held_[2])
                    mouseInside_ = false;
                if (e.window.event == SDL_WINDOWEVENT_ENTER) mouseInside_ = true;
                if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST)
                    held_[0] = held_[1] = held_[2] = false;
                if (e.window.event == SDL_WINDOWEVENT_CLOSE && window_ &&
                    e.window.windowID == SDL_GetWindowID(window_))
                    open = false;
                break;
            case SDL_QUIT:
                open = false;
                break;
            default:
                break;
        }
        if (imgui_) ImGui_ImplSDL2_ProcessEvent(&e);
        if (handler) handler(e);
    }
    return open;
}

void TSKIWindow::BeginFrame() {
    if (!window_ || !imgui_) return;
    // A frame begun inside another (a nested loop started while drawing) closes the outer one
    // first: ImGui cannot nest frames.
    if (frameOpen_) ImGui::EndFrame();
    ImGui_ImplOpenGL3_NewFrame();
    ImGui_ImplSDL2_NewFrame();
    // The backend polls the pointer from the desktop, which injected events do not move: the
    // position and the buttons come from the events instead.
    ImGuiIO& io = ImGui::GetIO();
    io.MousePos = mouseInside_ ? ImVec2(mouseX_, mouseY_) : ImVec2(-FLT_MAX, -FLT_MAX);
    for (int b = 0; b < 3; ++b) {
        io.MouseDown[b] = pressed_[b] || held_[b];
        pressed_[b] = false;
    }
    ImGui::NewFrame();
    frameOpen_ = true;
    glViewport(0, 0, Width(), Height());
    glClearColor(0, 0, 0, 1);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void TSKIWindow::EndFrame(TSKIImage* capture) {
    if (capture) *capture = TSKIImage();
    if (!window_ || !imgui_ || !frameOpen_) return;
    frameOpen_ = false;
    ImGui::Render();
    glViewport(0, 0, Width(), Height());
    DrawOnlyWhatShows(*ImGui::GetDrawData(), Width(), Height());
    ImGui_ImplOpenGL3_RenderDrawData(ImGui::GetDrawData());
    if (capture && !ReadPixels(*capture)) *capture = TSKIImage();
    SDL_GL_SwapWindow(window_);
}

int TSKIWindow::Width() const {
    if (!window_) return 0;
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window_, &w, &h);
    return w;
}

int TSKIWindow::Height() const {
    if (!window_) return 0;
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window_, &w, &h);
    return h;
}

bool TSKIWindow::HasFocus() const {
    return window_ && (SDL_GetWindowFlags(window_) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

void TSKIWindow::SetFullScreen(bool fullScreen) {
    if (!window_ || fullScreen == fullScreen_) return;
    if (SDL_SetWindowFullscreen(window_, fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0)
        return;
    fullScreen_ = fullScreen;
    if (!fullScreen) {
        SDL_RestoreWindow(window_);
        SDL_SetWindowSize(window_, setup_.Width, setup_.Height);
        SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
}

void TSKIWindow::Raise() {
    if (!window_) return;
    if (SDL_GetWindowFlags(window_) & SDL_WINDOW_MINIMIZED) SDL_RestoreWindow(window_);
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
}

void TSKIWindow::SetCursor(TSKICursorShape shape) {
    if (!window_) return;
    const bool changed = shape != cursorShape_;
    cursorShape_ = shape;
    if (shape == TSKICursorShape::Arrow && imgui_) {
        // The interface shapes the pointer itself each frame (arrow, text beam, hand, ...).
        ImGui::GetIO().ConfigFlags &= ~ImGuiConfigFlags_NoMouseCursorChange;
        return;
    }
    if (imgui_) ImGui::GetIO().ConfigFlags |= ImGuiConfigFlags_NoMouseCursorChange;
    SDL_Cursor* c = cursors_[static_cast<int>(shape)];
    if (c && changed) SDL_SetCursor(c);
}

bool TSKIWindow::ReadPixels(TSKIImage& out) const {
    const int w = Width(), h = Height();
    if (w <= 0 || h <= 0) return false;
    std::vector<uint8_t> raw(size_t(w) * size_t(h) * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, w, h, GL_RGB, GL_UNSIGNED_BYTE, raw.data());
    if (glGetError() != GL_NO_ERROR) return false;
    out.Resize(w, h);
    const size_t row = size_t(w) * 3;
    for (int y = 0; y < h; ++y)
        std::memcpy(out.Pixels().data() + size_t(y) * row, raw.data() + size_t(h - 1 - y) * row,
                    row);
    return true;
}

}  // namespace vallorn
