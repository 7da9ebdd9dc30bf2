// The right-click build menu of the 3D view as data: which items show, their captions, tags
// and whether they can be chosen, from the cell under the cursor, the current tool, the kind
// of game, the editor, the profile's unlocks and the cash. The window only draws the tree;
// choosing an item (also by its caption path, as the runner's scripts do) starts its tool or
// action here.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/params.h"
#include "base/park_data.h"
#include "construction/construction.h"
#include "construction/tool_state.h"
#include "engine/player_actions.h"

namespace vallorn {

class TSKIConstruction;

enum class TSKIMenuCommand : uint8_t {
    None,  // a submenu head
    BuildSlope,
    BuildLift,    // lift type = tag
    ReplaceLift,  // lift type = tag - 100
    Building,     // building type = tag
    PlantTrees,
    Delete,
    FreeRide,
    Cancel,
};

struct TSKIMenuItem {
    std::string Name;  // the window's component name: "BuildLift1", "Stall1", ...
    std::string Caption;
    int Tag = -1;  // -1: none
    bool Visible = true;
    bool Enabled = true;
    TSKIMenuCommand Command = TSKIMenuCommand::None;
    std::vector<TSKIMenuItem> Items;  // a submenu's items
};

// Everything the menu depends on.
struct TSKIMenuContext {
    uint8_t CellKind = 0;
    bool CellHasSection = false;
    bool SectionIsLift = false;
    std::string SectionName;
    std::string BuildingName;  // the building type's name when the cell holds a building
    TSKITool Tool = TSKITool::None;
    int32_t MissionIndex = kMissionNone;
    bool EditorOpen = false;
    std::array<bool, kLiftTypeCount> UnlockedLifts{};
    std::array<bool, kBuildingTypeCount> UnlockedBuildings{};
    int32_t Cash = 0;
    // The "Replace lift" entries of the lift under the cursor (caption with its price, visible,
    // enabled as the cash allows); empty elsewhere.
    std::vector<TSKIReplaceEntry> Replace;
};

// The menu for a context: the top-level items in their order.
std::vector<TSKIMenuItem> BuildMenu(const TSKIMenuContext& context);

// The context of a running engine: the cell under the cursor, the tool and the park's state.
TSKIMenuContext MenuContext(const TSKIEngine& engine, const TSKIToolState& tools);

// Finds an item by its caption path, segments separated by '/': "Build lift/Quad chairlift".
// A segment matches a caption that equals it; failing that, the one caption that begins with
// the segment followed by a space ("Delete" finds "Delete Slope #1", "Six chairlift" finds
// "Six chairlift (1.234.567,-)"). Only visible items match. Null with the reason in `error`
// when nothing or more than one item matches.
const TSKIMenuItem* FindMenuItem(const std::vector<TSKIMenuItem>& menu, const std::string& path,
                                 std::string* error = nullptr);

// The action of choosing an item: refused while it is disabled or a submenu head; its apply
// starts the item's tool (lift, slope, building, trees) or carries out Delete, Replace or
// Cancel on the cell under the cursor.
TSKIPlayerAction MenuItemAction(TSKIConstruction& tools, const TSKIMenuItem& item);

// Builds the menu of the engine's current state, finds the path and performs its action; a
// path that matches nothing is refused with the reason.
TSKIActionOutcome ChooseMenuItem(TSKIConstruction& tools, const std::string& path);

}  // namespace vallorn
