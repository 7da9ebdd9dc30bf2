// The display window "Display" of the menu bar's display button: the display boxes (each
// toggled as its key '1'..'8' toggles it), the skiers' flags with their legend, and the
// "Highlight" panel that opens the Highlight palette directly below the window.
#pragma once

#include <optional>

#include "engine/engine.h"
#include "presentation/view_state.h"

namespace vallorn {

class TSKIDisplayWindow {
public:
    bool Visible() const { return visible_; }
    void Show() { visible_ = raise_ = true; }
    // Shows the window with its "Highlight" panel pressed: the palette below it.
    void ShowPalette() { visible_ = raise_ = highlight_ = true; }
    // Closing hides the Highlight palette as well.
    void Hide() { visible_ = false; }

    // What a frame of the window asks for: the skier flags and the palette's highlight mode
    // chosen, for the view; a display box clicked (0 long visibility .. 7 skier info) is
    // toggled by the tools as its key toggles it. The game window does both.
    struct TClicks {
        std::optional<uint8_t> SkierFlags;
        std::optional<uint8_t> HighlightMode;
        int ToggledBox = -1;
    };
    // Inside the ImGui frame; the boxes, flags and palette show `view`'s choices.
    TClicks Draw(const TSKIViewState& view, float viewWidth, float viewHeight, float scale);

private:
    std::optional<uint8_t> DrawPalette(const TSKIViewState& view, float viewWidth, float viewHeight,
                                       float scale);

    bool visible_ = false;
    bool raise_ = false;
    bool highlight_ = false;    // the "Highlight" panel is pressed
    float x_ = 0, bottom_ = 0;  // where the palette goes: below the window, left-aligned
    float paletteWidth_ = 0, paletteHeight_ = 0;  // its size last drawn
};

}  // namespace vallorn
