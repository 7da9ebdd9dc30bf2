// The menu bar without a display: the speed keys over the view, and the date and weather it
// shows beside the cash.
#include <gtest/gtest.h>

#include "engine/clock.h"
#include "support/engine_fixture.h"
#include "ui/menu_bar.h"
#include "ui/view_input.h"

namespace vallorn {
namespace {

SDL_Event KeyDown(SDL_Keycode key, bool repeat = false) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = key;
    e.key.repeat = repeat ? 1 : 0;
    return e;
}

// One key over the view, resolved and applied as the game window does.
void PressKey(TSKIViewInput& in, TSKIMenuBar& bar, TSKIEngine& engine, SDL_Keycode key,
              bool uiKeyboard = false, bool repeat = false) {
    in.OnEvent(KeyDown(key, repeat));
    const TSKIViewCommands c = in.Resolve(false, uiKeyboard, 10, 10, true);
    if (const auto action = bar.PressSpeedKey(engine, c.Speed)) PerformAction(engine, *action);
}

void PressButton(TSKIMenuBar& bar, TSKIEngine& engine, TSKIMenuButton button) {
    PerformAction(engine, *bar.PressSpeed(engine, button));
}

TEST(MenuBar, SpaceAndTheFunctionKeysWorkTheSpeedButtons) {
    test::EngineFixture e;
    TSKIViewInput in;
    TSKIMenuBar bar;
    PressButton(bar, *e, TSKIMenuButton::Speed1);
    PressKey(in, bar, *e, SDLK_F3);
    EXPECT_EQ(e->Park.ParkSpeed, 4.0f);
    EXPECT_TRUE(bar.State(TSKIMenuButton::Speed4));
    // Space pauses, and goes back to the speed before the pause.
    PressKey(in, bar, *e, SDLK_SPACE);
    EXPECT_EQ(e->Park.ParkSpeed, 0.0f);
    EXPECT_TRUE(bar.State(TSKIMenuButton::Pause));
    PressKey(in, bar, *e, SDLK_SPACE, false, true);  // the key held down: no second toggle
    EXPECT_EQ(e->Park.ParkSpeed, 0.0f);
    PressKey(in, bar, *e, SDLK_SPACE);
    EXPECT_EQ(e->Park.ParkSpeed, 4.0f);
    // ... also after a pause by the button.
    PressKey(in, bar, *e, SDLK_F2);
    PressButton(bar, *e, TSKIMenuButton::Pause);
    PressKey(in, bar, *e, SDLK_SPACE);
    EXPECT_EQ(e->Park.ParkSpeed, 2.0f);
    PressKey(in, bar, *e, SDLK_F1);
    EXPECT_EQ(e->Park.ParkSpeed, 1.0f);
    // Each press is the player action a script's line replays; no other speed is taken.
    EXPECT_EQ(bar.PressSpeed(*e, TSKIMenuButton::Speed4)->Name, "speed 4");
    EXPECT_FALSE(bar.PressSpeed(*e, TSKIMenuButton::Stats));
    EXPECT_EQ(PerformAction(*e, SetSpeedAction(3)).Result, TSKIActionResult::Refused);
    EXPECT_EQ(e->Park.ParkSpeed, 1.0f);

    // Not while a text field or a box has the keyboard, nor while the bar is hidden; the
    // display keys stay the display's.
    PressKey(in, bar, *e, SDLK_SPACE, true);
    EXPECT_EQ(e->Park.ParkSpeed, 1.0f);
    bar.Visible = false;
    PressKey(in, bar, *e, SDLK_F3);
    EXPECT_EQ(e->Park.ParkSpeed, 1.0f);
    bar.Visible = true;
    in.OnEvent(KeyDown(SDLK_2));
    const TSKIViewCommands c = in.Resolve(false, false, 10, 10, true);
    EXPECT_EQ(c.Speed, TSKISpeedKey::None);
    EXPECT_EQ(c.ToolKeys, std::vector<int>{'2'});
}

TEST(MenuBar, ShowsTheDateFromDayOneAndTheWeatherOfTheParkRecord) {
    test::EngineFixture e;
    const int32_t day = e->Params.Game.DayLength;
    const int32_t season = day * e->Params.Game.DaysInSeason;
    EXPECT_EQ(MenuBarDate(CalendarAt(*e, 0)), "Season 1, day 1, 9:00");
    EXPECT_EQ(MenuBarDate(CalendarAt(*e, season + 2 * day)), "Season 2, day 3, 9:00");
    TSKICalendar c;
    c.Hour = 10;
    c.Minute = 5;
    EXPECT_EQ(MenuBarDate(c), "Season 1, day 1, 10:05");
    e->Park.ParkWeather = 0.75f;
    EXPECT_EQ(MenuBarWeather(*e), "-5 \u00b0C, snowing");
    e->Park.ParkWeather = 0.25f;
    EXPECT_EQ(MenuBarWeather(*e), "5 \u00b0C, snow melting");
}

}  // namespace
}  // namespace vallorn
