// The display window "Display" of the menu bar's display button: the display boxes (each
// toggled as its key '1'..'8' toggles it), the skiers' flags with their legend, and the
// "Highlight" panel that opens the Highlight palette directly below the window.
#pragma once

#include <optional>

#include "engine/engine.h"
#include "engine/player_actions.h"

namespace vallorn {

class TSKIConstruction;

class TSKIDisplayWindow {
public:
    bool Visible() const { return visible_; }
    void Show() { visible_ = raise_ = true; }
    // Shows the window with its "Highlight" panel pressed: the palette below it.
    void ShowPalette() { visible_ = raise_ = highlight_ = true; }
    // Closing hides the Highlight palette as well.
    void Hide() { visible_ = false; }

    // Inside the ImGui frame. The boxes act through the construction's display toggles; the
    // skier flags and the palette's highlight mode are the player action returned, which the
    // game window performs.
    std::optional<TSKIPlayerAction> Draw(const TSKIEngine& engine, TSKIConstruction& tools,
                                         float viewWidth, float viewHeight, float scale);

private:
    std::optional<TSKIPlayerAction> DrawPalette(const TSKIEngine& engine, float viewWidth,
                                                float viewHeight, float scale);

    bool visible_ = false;
    bool raise_ = false;
    bool highlight_ = false;    // the "Highlight" panel is pressed
    float x_ = 0, bottom_ = 0;  // where the palette goes: below the window, left-aligned
    float paletteWidth_ = 0, paletteHeight_ = 0;  // its size last drawn
};

}  // namespace vallorn
