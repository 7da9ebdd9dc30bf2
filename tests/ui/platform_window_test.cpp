// The window without a display: it is refused unless the offscreen driver is allowed, and an
// offscreen window opens black at its size and hands injected clicks to the interface at the
// events' position.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include <imgui.h>

#include "platform/window.h"

namespace vallorn {
namespace {

// Sets or clears environment variables for one test and puts them back afterwards.
class ScopedEnv {
public:
    void Set(const char* name, const char* value) {
        if (const char* old = std::getenv(name))
            saved_.emplace_back(name, std::string(old));
        else
            saved_.emplace_back(name, std::nullopt);
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->second)
                setenv(it->first.c_str(), it->second->c_str(), 1);
            else
                unsetenv(it->first.c_str());
        }
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

void Push(TSKIWindow& window, Uint32 type, int x, int y) {
    SDL_Event e{};
    e.type = type;
    if (type == SDL_MOUSEMOTION) {
        e.motion.windowID = SDL_GetWindowID(window.Sdl());
        e.motion.x = x;
        e.motion.y = y;
    } else {
        e.button.windowID = SDL_GetWindowID(window.Sdl());
        e.button.button = SDL_BUTTON_LEFT;
        e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.button.x = x;
        e.button.y = y;
    }
    SDL_PushEvent(&e);
}

TEST(Window, NeedsADisplayUnlessOffscreenIsAllowed) {
    ScopedEnv env;
    env.Set("DISPLAY", nullptr);
    env.Set("WAYLAND_DISPLAY", nullptr);
    env.Set("SDL_VIDEODRIVER", nullptr);
    env.Set("VALLORN_ALLOW_OFFSCREEN", nullptr);
    std::string why;
    EXPECT_FALSE(TSKIWindow::DisplayAvailable(&why));
    EXPECT_NE(why.find("DISPLAY"), std::string::npos) << why;

    env.Set("SDL_VIDEODRIVER", "offscreen");
    EXPECT_FALSE(TSKIWindow::DisplayAvailable(&why));
    EXPECT_FALSE(why.empty());

    env.Set("VALLORN_ALLOW_OFFSCREEN", "1");
    ASSERT_TRUE(TSKIWindow::DisplayAvailable(&why)) << why;

    TSKIWindow window;
    ASSERT_TRUE(window.Open({}, &why)) << why;
    EXPECT_EQ(window.Width(), 1024);
    EXPECT_EQ(window.Height(), 768);
    int clicks = 0;
    TSKIImage frame;
    for (int f = 0; f < 12; ++f) {
        if (f == 2) Push(window, SDL_MOUSEMOTION, 70, 70);
        if (f == 4) Push(window, SDL_MOUSEBUTTONDOWN, 70, 70);
        if (f == 6) Push(window, SDL_MOUSEBUTTONUP, 70, 70);
        ASSERT_TRUE(window.PumpEvents(nullptr));
        window.BeginFrame();
        ImGui::SetNextWindowPos(ImVec2(40, 40));
        ImGui::Begin("probe", nullptr, ImGuiWindowFlags_NoDecoration);
        if (ImGui::Button("Press", ImVec2(100, 60))) ++clicks;
        ImGui::End();
        window.EndFrame(f == 11 ? &frame : nullptr);
    }
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(window.MouseX(), 70);
    ASSERT_EQ(frame.Width(), 1024);
    EXPECT_EQ(frame.Get(800, 600), TSKIColor{});      // black outside the interface
    EXPECT_NE(frame.Get(60, 60), TSKIColor{});        // the button, rows top to bottom
    EXPECT_EQ(frame.Get(60, 768 - 60), TSKIColor{});  // not flipped onto the bottom
}

}  // namespace
}  // namespace vallorn
