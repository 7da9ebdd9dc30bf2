// The build menu's items and the rules that show, hide, caption and enable them.
#include "construction/build_menu.h"

#include "construction/construction.h"
#include "construction/construction_actions.h"
#include "engine/engine.h"

namespace vallorn {

namespace {

using Cmd = TSKIMenuCommand;

struct ItemDef {
    const char* Name;
    const char* Caption;
    int Tag;
};

// In the menu's order.
constexpr ItemDef kLiftItems[] = {
    {"Single1", "Platter lift", 0},        {"Bar1", "T-Bar", 1},
    {"N2Seats1", "Double chairlift", 2},   {"N4Seats1", "Quad chairlift", 3},
    {"Sixchairlift1", "Six chairlift", 6}, {"Cabin1", "Cable car", 4},
    {"Cablecar1", "Aerial tram", 5},
};
constexpr ItemDef kServiceItems[] = {
    {"Snowcannon1", "Snow cannon", kBuildSnowCannon},
    {"Restingplace1", "Cot", kBuildCot},
    {"Shelter1", "Shelter", kBuildShelter},
    {"Snowcatgarage1", "Snowcat garage", kBuildSnowcatGarage},
    {"Smallrescuestation1", "Ski patrol", kBuildSkiPatrol},
    {"Rescuestation1", "Rescue station", kBuildRescueStation},
    {"Office1", "Parking", kBuildParking},
    {"Hospital1", "Hospital", kBuildHospital},
};
constexpr ItemDef kRestaurantItems[] = {
    {"Stall1", "Stall", kBuildStall},
    {"Snowbar1", "Snow bar", kBuildSnowBar},
    {"Kiosk1", "Kiosk", kBuildKiosk},
    {"Selfservice1", "Self-service", kBuildSelfService},
};
constexpr int kReplaceTagBase = 100;
constexpr int kPlantTreesTag = 100;

const char* ReplaceItemName(uint8_t type) {
    switch (type) {
        case kLiftDoubleChair:
            return "Upgrade2Seats";
        case kLiftQuadChair:
            return "Upgrade4Seats";
        case kLiftSixChair:
            return "UpgradeSixchairlift";
        case kLiftCableCar:
            return "UpgradeCabin";
        case kLiftAerialTram:
            return "UpgradeCableCar";
        default:
            return "UpgradeLift";
    }
}

TSKIMenuItem Item(const char* name, std::string caption, int tag, Cmd command) {
    TSKIMenuItem m;
    m.Name = name;
    m.Caption = std::move(caption);
    m.Tag = tag;
    m.Command = command;
    return m;
}

TSKIMenuItem Head(const char* name, const char* caption) {
    return Item(name, caption, -1, Cmd::None);
}

bool AnyVisible(const TSKIMenuItem& head) {
    for (const auto& i : head.Items) {
        if (i.Visible) return true;
    }
    return false;
}

bool AnyEnabled(const TSKIMenuItem& head) {
    for (const auto& i : head.Items) {
        if (i.Visible && i.Enabled) return true;
    }
    return false;
}

bool KindIn(uint8_t kind, std::initializer_list<uint8_t> kinds) {
    for (uint8_t k : kinds) {
        if (k == kind) return true;
    }
    return false;
}

// The one visible item of `items` that a path segment names (see FindMenuItem).
const TSKIMenuItem* MatchSegment(const std::vector<TSKIMenuItem>& items, const std::string& seg,
                                 std::string* error) {
    for (const auto& i : items) {
        if (i.Visible && i.Caption == seg) return &i;
    }
    const TSKIMenuItem* found = nullptr;
    for (const auto& i : items) {
        if (!i.Visible || i.Caption.size() <= seg.size() || i.Caption.compare(0, seg.size(), seg) ||
            i.Caption[seg.size()] != ' ') {
            continue;
        }
        if (found) {
            if (error) *error = "\"" + seg + "\" names more than one menu item";
            return nullptr;
        }
        found = &i;
    }
    if (!found && error) *error = "No menu item \"" + seg + "\"";
    return found;
}

TSKIActionCheck Refused(std::string text) {
    TSKIActionCheck c;
    c.Text = std::move(text);
    return c;
}

}  // namespace

std::vector<TSKIMenuItem> BuildMenu(const TSKIMenuContext& c) {
    const bool locks = IsCampaignMission(c.MissionIndex) && !c.EditorOpen;
    const bool riding = IsRideMode(c.Tool);
    const uint8_t kind = c.CellKind;
    auto buildingShown = [&](int type) { return !locks || c.UnlockedBuildings[size_t(type)]; };

    std::vector<TSKIMenuItem> menu;
    TSKIMenuItem slope = Item("BuildSlope", "Build slope", -1, Cmd::BuildSlope);
    slope.Visible = !riding && KindIn(kind, {kCellSlopeCentre, kCellLiftLower, kCellLiftUpper});
    menu.push_back(slope);

    TSKIMenuItem lift = Head("BuildLift1", "Build lift");
    for (const ItemDef& d : kLiftItems) {
        TSKIMenuItem i = Item(d.Name, d.Caption, d.Tag, Cmd::BuildLift);
        i.Visible = !locks || c.UnlockedLifts[size_t(d.Tag)];
        lift.Items.push_back(i);
    }
    lift.Visible = !riding && KindIn(kind, {kCellFree, kCellSlope}) && AnyVisible(lift);
    menu.push_back(lift);

    TSKIMenuItem replace = Head("Upgradelift1", "Replace lift");
    for (const TSKIReplaceEntry& r : c.Replace) {
        TSKIMenuItem i = Item(ReplaceItemName(r.LiftType), r.Caption, kReplaceTagBase + r.LiftType,
                              Cmd::ReplaceLift);
        i.Visible = r.Visible;
        i.Enabled = r.Enabled;
        replace.Items.push_back(i);
    }
    replace.Visible = !riding && KindIn(kind, {kCellLiftLower, kCellLiftUpper}) &&
                      c.CellHasSection && c.SectionIsLift && AnyEnabled(replace);
    menu.push_back(replace);

    TSKIMenuItem services = Head("Construct1", "Services");
    for (const ItemDef& d : kServiceItems) {
        TSKIMenuItem i = Item(d.Name, d.Caption, d.Tag, Cmd::Building);
        i.Visible = buildingShown(d.Tag);
        services.Items.push_back(i);
    }
    services.Items.push_back(Item("Planttrees1", "Plant trees", kPlantTreesTag, Cmd::PlantTrees));
    services.Visible = !riding;
    menu.push_back(services);

    TSKIMenuItem restaurants = Head("ShopsBars1", "Restaurants");
    for (const ItemDef& d : kRestaurantItems) {
        TSKIMenuItem i = Item(d.Name, d.Caption, d.Tag, Cmd::Building);
        i.Visible = buildingShown(d.Tag);
        restaurants.Items.push_back(i);
    }
    restaurants.Visible = !riding && AnyVisible(restaurants);
    menu.push_back(restaurants);

    // "Delete" names what it deletes; a cell of a deletable kind with nothing on it offers no
    // Delete that would do nothing.
    TSKIMenuItem del = Item("Delete1", "Delete", -1, Cmd::Delete);
    const bool onBuilding = kind == kCellBuilding && !c.BuildingName.empty();
    if (onBuilding) {
        del.Caption = "Delete " + c.BuildingName;
    } else if (c.CellHasSection) {
        del.Caption = "Delete " + c.SectionName;
    }
    del.Visible = !riding &&
                  KindIn(kind, {kCellSlope, kCellSlopeCentre, kCellLiftLower, kCellLiftUpper,
                                kCellUnderLift, kCellBuilding}) &&
                  (onBuilding || c.CellHasSection);
    menu.push_back(del);

    TSKIMenuItem ride = Item("Freeride1", "Free ride", -1, Cmd::FreeRide);
    ride.Visible = !riding;
    menu.push_back(ride);
    menu.push_back(Item("Cancel1", "Cancel", -1, Cmd::Cancel));
    return menu;
}

TSKIMenuContext MenuContext(const TSKIEngine& e, const TSKIToolState& t) {
    TSKIMenuContext c;
    // The cell as it is now: an action since the last cursor update may have changed it.
    const TerrainCell cell = e.HasGrid() ? e.Cell(t.CursorI, t.CursorJ) : t.CursorCell;
    c.CellKind = cell.Kind;
    if (const TSKISection* section = e.SectionByIndex(cell.Section)) {
        c.CellHasSection = true;
        c.SectionIsLift = section->IsLift();
        c.SectionName = section->Name;
        if (c.SectionIsLift && KindIn(cell.Kind, {kCellLiftLower, kCellLiftUpper})) {
            c.Replace = ReplaceLiftMenu(e, size_t(cell.Section));
        }
    }
    const TSKIBuilding* building = e.BuildingByIndex(cell.Building);
    if (building && building->Type < kBuildingTypeCount) {
        c.BuildingName = e.Params.Buildings[building->Type].Name;
    }
    c.Tool = t.Tool;
    c.MissionIndex = e.Park.ParkMissionIndex;
    c.EditorOpen = e.EditorOpen;
    c.UnlockedLifts = e.Profile.UnlockedLifts;
    c.UnlockedBuildings = e.Profile.UnlockedBuildings;
    c.Cash = e.Park.ParkCash;
    return c;
}

const TSKIMenuItem* FindMenuItem(const std::vector<TSKIMenuItem>& menu, const std::string& path,
                                 std::string* error) {
    const std::vector<TSKIMenuItem>* level = &menu;
    const TSKIMenuItem* item = nullptr;
    size_t start = 0;
    while (true) {
        const size_t slash = path.find('/', start);
        const std::string seg =
            path.substr(start, slash == std::string::npos ? slash : slash - start);
        if (seg.empty()) {
            if (error) *error = "Empty menu path segment in \"" + path + "\"";
            return nullptr;
        }
        item = MatchSegment(*level, seg, error);
        if (!item) return nullptr;
        if (slash == std::string::npos) return item;
        level = &item->Items;
        start = slash + 1;
    }
}

TSKIPlayerAction MenuItemAction(TSKIConstruction& tools, const TSKIMenuItem& item) {
    return {
        "menu " + item.Caption,
        [item](const TSKIEngine&) {
            if (item.Command == Cmd::None) return Refused(item.Caption + " is a submenu");
            if (!item.Visible || !item.Enabled) {
                return Refused(item.Caption + " is not available");
            }
            TSKIActionCheck c;
            c.Ok = true;
            c.Text = item.Caption;
            return c;
        },
        [item, &tools](TSKIEngine& e, std::string& reason) {
            const TSKIToolState& t = tools.State;
            const int i = t.CursorI, j = t.CursorJ;
            switch (item.Command) {
                case Cmd::BuildSlope:
                    if (tools.StartSlopeTool(i, j)) return TSKIActionResult::Done;
                    break;
                case Cmd::BuildLift:
                    if (tools.StartLiftTool(i, j, uint8_t(item.Tag))) {
                        return TSKIActionResult::Done;
                    }
                    break;
                case Cmd::Building:
                    tools.StartBuildingTool(uint8_t(item.Tag));
                    return TSKIActionResult::Done;
                case Cmd::PlantTrees:
                    tools.StartTreeTool();
                    return TSKIActionResult::Done;
                case Cmd::Cancel:
                    tools.CancelTool();
                    return TSKIActionResult::Done;
                case Cmd::Delete: {
                    const TSKIActionResult result = tools.DeleteUnderCursor();
                    if (result == TSKIActionResult::Failed) reason = "Nothing to delete";
                    return result;
                }
                case Cmd::ReplaceLift: {
                    const int32_t section =
                        e.HasGrid() ? e.Cell(t.CursorI, t.CursorJ).Section : t.CursorCell.Section;
                    const int32_t index = e.SectionByIndex(section) ? section : -1;
                    if (index < 0) break;
                    tools.State.Tool = TSKITool::None;
                    const TSKIActionOutcome outcome = PerformAction(
                        e, ReplaceLiftAction(size_t(index), uint8_t(item.Tag - kReplaceTagBase)));
                    reason = outcome.Reason;
                    return outcome.Result;
                }
                case Cmd::FreeRide:
                    StartFreeRide(tools);
                    return TSKIActionResult::Done;
                case Cmd::None:
                    break;
            }
            if (reason.empty()) reason = item.Caption + " cannot start here";
            return TSKIActionResult::Failed;
        }};
}

TSKIActionOutcome ChooseMenuItem(TSKIConstruction& tools, const std::string& path) {
    TSKIEngine& engine = tools.Engine;
    const std::vector<TSKIMenuItem> menu = BuildMenu(MenuContext(engine, tools.State));
    std::string error;
    const TSKIMenuItem* item = FindMenuItem(menu, path, &error);
    if (!item) {
        TSKIActionOutcome out;
        out.Check.Text = error;
        out.Reason = error;
        return out;
    }
    return PerformAction(engine, MenuItemAction(tools, *item));
}

}  // namespace vallorn
