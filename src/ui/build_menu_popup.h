// The right-click build menu of the 3D view, drawn from the core's build-menu model: items,
// captions, visibility and enabled state come from BuildMenu; choosing an item performs its
// player action.
#pragma once

#include <optional>
#include <vector>

#include "construction/build_menu.h"
#include "construction/tool_state.h"
#include "engine/engine.h"

namespace vallorn {

class TSKIBuildMenuPopup {
public:
    // Opens at the pointer for the cell under the cursor (a right click in the view that did
    // not drag). The menu is worked out now, from the park as it is at the click.
    void Open(const TSKIEngine& engine, const TSKIToolState& tools);
    // Inside the ImGui frame, every frame: draws the menu while open; a chosen item is kept for
    // TakeChosen, since its action may ask a question (a modal box cannot start while a frame
    // is being drawn).
    void Draw(const TSKIEngine& engine, const TSKIToolState& tools);
    // Outside the ImGui frame (after EndFrame; the game loop asks every frame): the item
    // chosen in the last Draw, once, with the cell the menu was opened on. The game window
    // puts the cursor back on that cell and performs the item's player action (MenuItemAction).
    struct TChosen {
        TSKIMenuItem Item;
        int CellI = 0, CellJ = 0;
    };
    std::optional<TChosen> TakeChosen();
    // The menu is showing (the camera does not drag meanwhile) or an item waits to be
    // performed.
    bool IsOpen() const { return open_ || chosen_.has_value(); }
    void Close() { open_ = requested_ = false; }
    // The items as they were built at the last Open.
    const std::vector<TSKIMenuItem>& Items() const { return menu_; }
    // The item under the pointer in the last Draw (the palette boxes describe lift and
    // building items), with the right edge of the (sub)menu that shows it.
    struct THovered {
        TSKIMenuCommand Command = TSKIMenuCommand::None;
        int Tag = -1;
        float MenuRight = 0;
    };
    const std::optional<THovered>& Hovered() const { return hovered_; }

private:
    void DrawItems(const std::vector<TSKIMenuItem>& items);

    std::vector<TSKIMenuItem> menu_;
    std::optional<TSKIMenuItem> chosen_;
    std::optional<THovered> hovered_;
    // The cell the menu was opened on: the item acts there even if the cursor moved since.
    int cellI_ = 0, cellJ_ = 0;
    int menuKind_ = 0;  // the kind of that cell
    bool open_ = false;
    bool requested_ = false;
};

}  // namespace vallorn
