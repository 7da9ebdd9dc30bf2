// The options window "Options" of the title menu: music, sound, the mouse, full screen, edge
// scroll and the graphic detail. Sound, full screen, edge scroll and detail act at once;
// "Accept" keeps everything and writes the options file, "Cancel" reads the files back.
#pragma once

#include "base/params.h"
#include "engine/options_controls.h"

namespace vallorn {

class TSKIOptionsWindow {
public:
    bool Visible = false;
    // Loads the controls from the settings and remembers the detail level.
    void Show(const TSKIEngineOptions& options);
    int ShownDetail() const { return shownDetail_; }
    const TSKIOptionControls& Controls() const { return controls_; }

    enum class TAction { None, Accept, Cancel };
    struct TResult {
        TAction Action = TAction::None;
        bool Sound = false;       // the sound bar moved: the volume changed at once
        bool FullScreen = false;  // the full-screen box was clicked
        bool Detail = false;      // a detail panel was clicked
    };
    // Inside the ImGui frame; the settings that act at once are written into `live`.
    TResult Draw(TSKIEngineOptions& live, float viewWidth, float viewHeight, float scale);

private:
    TSKIOptionControls controls_;
    int shownDetail_ = 1;
    bool raise_ = false;
};

}  // namespace vallorn
