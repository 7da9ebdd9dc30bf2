// What the view makes of the mouse: a click, a drag of the camera, or the interface's.
#include <gtest/gtest.h>

#include "construction/tool_state.h"
#include "ui/view_input.h"

namespace vallorn {
namespace {

SDL_Event Button(Uint32 type, Uint8 button, int x, int y) {
    SDL_Event e{};
    e.type = type;
    e.button.button = button;
    e.button.x = x;
    e.button.y = y;
    return e;
}

SDL_Event Motion(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    return e;
}

SDL_Event Key(SDL_Keycode key) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = key;
    return e;
}

TEST(ViewInput, TellsClicksFromDragsAndLeavesTheInterfaceItsOwn) {
    TSKIViewInput in;
    // A press and a release a few pixels apart: the tool's click.
    in.OnEvent(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 100, 100));
    in.OnEvent(Motion(102, 101));
    in.OnEvent(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 102, 101));
    TSKIViewCommands c = in.Resolve(false, false, 102, 101, true);
    EXPECT_TRUE(c.Click);
    EXPECT_TRUE(c.AnyKeyOrClick);
    EXPECT_FALSE(c.ClickSamePixel);  // moved: no information window
    in.OnEvent(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 40, 50));
    in.OnEvent(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 40, 50));
    c = in.Resolve(false, false, 40, 50, true);
    EXPECT_TRUE(c.Click && c.ClickSamePixel);
    EXPECT_FLOAT_EQ(c.ClickX, 40);
    EXPECT_FLOAT_EQ(c.ClickY, 50);

    // A press that moves on drags the camera (previous minus current position) and is no click.
    in.OnEvent(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 100, 100));
    c = in.Resolve(false, false, 100, 100, true);
    EXPECT_TRUE(in.LeftHeldInView());
    in.OnEvent(Motion(130, 90));
    c = in.Resolve(false, false, 130, 90, true);
    EXPECT_TRUE(in.Camera().LeftButton);
    EXPECT_FLOAT_EQ(in.Camera().DragX, -30);
    EXPECT_FLOAT_EQ(in.Camera().DragY, 10);
    EXPECT_TRUE(c.Dragging);
    in.OnEvent(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 130, 90));
    c = in.Resolve(false, false, 130, 90, true);
    EXPECT_FALSE(c.Click);
    EXPECT_FALSE(in.LeftHeldInView());
    EXPECT_FLOAT_EQ(in.Camera().DragX, 0);

    // Over a window of the interface the right click and the keys are not the view's.
    in.OnEvent(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 50, 50));
    in.OnEvent(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 50, 50));
    in.OnEvent(Key(SDLK_BACKSPACE));
    c = in.Resolve(true, true, 50, 50, true);
    EXPECT_FALSE(c.RightClick);
    EXPECT_TRUE(c.ToolKeys.empty());
    EXPECT_TRUE(c.AnyKeyOrClick);  // still skips the intro
    EXPECT_FALSE(in.PointerInView());

    in.OnEvent(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 50, 50));
    in.OnEvent(Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 50, 50));
    for (SDL_Keycode k : {SDLK_BACKSPACE, SDLK_3, SDLK_x, SDLK_ESCAPE}) in.OnEvent(Key(k));
    c = in.Resolve(false, false, 50, 50, true);
    EXPECT_TRUE(c.RightClick);
    EXPECT_EQ(c.ToolKeys, (std::vector<int>{kKeyBackspace, '3', kKeyEscape}));
}

}  // namespace
}  // namespace vallorn
