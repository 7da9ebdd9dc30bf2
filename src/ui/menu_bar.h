// The in-game menu bar ("Main menu"): the cash with the game's date and the day's weather, the
// window buttons, the four speed buttons, the park's message strip and the editor's button.
#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "engine/player_actions.h"
#include "ui/desktop_layout.h"
#include "ui/view_input.h"

namespace vallorn {

class TSKIEngine;
struct TSKICalendar;
namespace gl {
class TTexture;
}

enum class TSKIMenuButton : int {
    Game,
    Display,
    Stats,
    Objectives,
    Help,
    Pause,
    Speed1,
    Speed2,
    Speed4,
    Count
};

// The park speed a speed button stands for; negative for the other buttons.
float ButtonSpeed(TSKIMenuButton button);
// The speed a speed key sets when the park runs at `current`: Space pauses a running park and
// runs a paused one at `beforePause` (1 x when that is no running speed); negative for no key.
float SpeedForKey(TSKISpeedKey key, float current, float beforePause);

// The game's date and clock beside the cash, the days counted from 1: "Season 1, day 3, 10:40".
std::string MenuBarDate(const TSKICalendar& calendar);
// The day's weather as the park record has it: "-3 °C, snowing" or "4 °C, snow melting".
std::string MenuBarWeather(const TSKIEngine& engine);

class TSKIMenuBar {
public:
    TSKIMenuBar();
    ~TSKIMenuBar();

    // Loads each button's two pictures (NAME.bmp, NAMEON.bmp) from the data folder as
    // textures; a button without its pictures is drawn as a text button. Needs the GL context.
    void LoadPictures(const std::filesystem::path& dataFolder);

    // What the player pressed this frame (the window acts on it after the frame).
    struct TClicks {
        bool Help = false;
        bool Edit = false;
        bool Game = false;        // the title screen, shown or hidden
        bool Objectives = false;  // the objectives window, shown or hidden
        bool Stats = false;       // the statistics window, shown or hidden
        bool Display = false;     // the display window, shown or hidden
        // A speed button: the action that sets the park's speed, performed after the bar.
        std::optional<TSKIPlayerAction> Speed;
    };
    // Inside the ImGui frame. `place`: where ArrangeDesktop put the bar, applied when `arrange`.
    // The bar fits the display: its buttons go into rows, and shrink, when the display is too
    // small for one row of them at `scale`.
    TClicks Draw(const TSKIEngine& engine, const std::string& cashText, float scale,
                 const TSKIRect& place, bool arrange);
    // The bar's size last drawn (for ArrangeDesktop).
    TSKIRect Size() const { return size_; }
    bool State(TSKIMenuButton b) const { return state_[size_t(b)]; }
    // Presses a speed button: the exclusive states, and the action that sets the park's speed
    // (none for the other buttons).
    std::optional<TSKIPlayerAction> PressSpeed(const TSKIEngine& engine, TSKIMenuButton button);
    // A speed key pressed over the view: the same as the speed button it stands for (nothing
    // while the bar is hidden).
    std::optional<TSKIPlayerAction> PressSpeedKey(const TSKIEngine& engine, TSKISpeedKey key);
    // Clears a window button's state (a load clears the display button's).
    void SetState(TSKIMenuButton b, bool on) { state_[size_t(b)] = on; }

    bool Visible = true;

private:
    struct TPictures;
    std::array<std::unique_ptr<TPictures>, size_t(TSKIMenuButton::Count)> pictures_;
    std::array<bool, size_t(TSKIMenuButton::Count)> state_{};
    TSKIRect size_{0, 0, 560, 139};
    float beforePause_ = 1.0f;  // the running speed the pause key returns to
};

}  // namespace vallorn
