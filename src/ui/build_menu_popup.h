// The right-click build menu of the 3D view, drawn from the core's build-menu model: items,
// captions, visibility and enabled state come from BuildMenu; choosing an item performs its
// player action.
#pragma once

#include <vector>

#include "construction/build_menu.h"
#include "construction/construction.h"

namespace vallorn {

class TSKIBuildMenuPopup {
public:
    // Opens at the pointer for the cell under the cursor (a right click in the view that did
    // not drag).
    void Open(TSKIConstruction& tools);
    // Inside the ImGui frame: draws the menu while open and performs a chosen item. Refusals
    // come back as the action's text through the engine's dialogs.
    void Draw(TSKIConstruction& tools);
    bool IsOpen() const { return open_; }
    void Close() { open_ = false; }

private:
    std::vector<TSKIMenuItem> menu_;
    bool open_ = false;
    bool requested_ = false;
};

}  // namespace vallorn
