// The in-game menu bar ("Main menu"): the cash, the window buttons, the four speed buttons,
// the park's message strip and the editor's button.
#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <string>

#include "ui/desktop_layout.h"

namespace vallorn {

class TSKIEngine;
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
    };
    // Inside the ImGui frame. `place`: where ArrangeDesktop put the bar, applied when `arrange`.
    TClicks Draw(TSKIEngine& engine, const std::string& cashText, float scale,
                 const TSKIRect& place, bool arrange);
    // The bar's size last drawn (for ArrangeDesktop).
    TSKIRect Size() const { return size_; }
    bool State(TSKIMenuButton b) const { return state_[size_t(b)]; }
    // Presses a speed button: the park's speed and the exclusive states.
    void PressSpeed(TSKIEngine& engine, TSKIMenuButton button);
    // Clears a window button's state (a load clears the display button's).
    void SetState(TSKIMenuButton b, bool on) { state_[size_t(b)] = on; }

    bool Visible = true;

private:
    struct TPictures;
    std::array<std::unique_ptr<TPictures>, size_t(TSKIMenuButton::Count)> pictures_;
    std::array<bool, size_t(TSKIMenuButton::Count)> state_{};
    TSKIRect size_{0, 0, 560, 139};
};

}  // namespace vallorn
