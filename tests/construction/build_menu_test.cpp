// The build menu as data: what shows on which cell, in which kind of game, with which unlocks,
// and how a caption path finds its item.
#include <gtest/gtest.h>

#include "construction/build_menu.h"
#include "construction/construction.h"
#include "engine/engine.h"

namespace vallorn {
namespace {

std::vector<std::string> Shown(const std::vector<TSKIMenuItem>& items) {
    std::vector<std::string> captions;
    for (const auto& i : items) {
        if (i.Visible) captions.push_back(i.Caption);
    }
    return captions;
}

const TSKIMenuItem& Named(const std::vector<TSKIMenuItem>& items, const std::string& name) {
    for (const auto& i : items) {
        if (i.Name == name) return i;
    }
    static TSKIMenuItem none;
    ADD_FAILURE() << "no item " << name;
    return none;
}

TSKIMenuContext Sandbox(uint8_t kind) {
    TSKIMenuContext c;
    c.CellKind = kind;
    c.MissionIndex = kMissionUnlimitedSandbox;
    c.Cash = 50000;
    return c;
}

TSKIReplaceEntry Offer(uint8_t type, const char* caption, bool visible, bool enabled) {
    TSKIReplaceEntry e;
    e.LiftType = type;
    e.Caption = caption;
    e.Visible = visible;
    e.Enabled = enabled;
    return e;
}

TEST(BuildMenu, AFreeCellOffersLiftsServicesRestaurantsFreeRideAndCancel) {
    const auto menu = BuildMenu(Sandbox(kCellFree));
    EXPECT_EQ(Shown(menu), (std::vector<std::string>{"Build lift", "Services", "Restaurants",
                                                     "Free ride", "Cancel"}));
    EXPECT_EQ(
        Shown(Named(menu, "BuildLift1").Items),
        (std::vector<std::string>{"Platter lift", "T-Bar", "Double chairlift", "Quad chairlift",
                                  "Six chairlift", "Cable car", "Aerial tram"}));
    EXPECT_EQ(Named(Named(menu, "BuildLift1").Items, "Sixchairlift1").Tag, 6);
    EXPECT_EQ(Named(Named(menu, "Construct1").Items, "Office1").Caption, "Parking");
    EXPECT_EQ(Named(Named(menu, "Construct1").Items, "Office1").Tag, 10);
    EXPECT_EQ(Named(Named(menu, "Construct1").Items, "Planttrees1").Tag, 100);
    EXPECT_EQ(Shown(Named(menu, "ShopsBars1").Items),
              (std::vector<std::string>{"Stall", "Snow bar", "Kiosk", "Self-service"}));
}

TEST(BuildMenu, SlopesStartOnCentreLinesAndStationsAndDeleteNamesWhatItDeletes) {
    TSKIMenuContext c = Sandbox(kCellSlopeCentre);
    c.CellHasSection = true;
    c.SectionName = "Slope #1";
    auto menu = BuildMenu(c);
    EXPECT_EQ(Shown(menu), (std::vector<std::string>{"Build slope", "Services", "Restaurants",
                                                     "Delete Slope #1", "Free ride", "Cancel"}));
    c.CellKind = kCellSlope;  // the slope's surface: lifts may start here, slopes may not
    menu = BuildMenu(c);
    EXPECT_TRUE(Named(menu, "BuildLift1").Visible);
    EXPECT_FALSE(Named(menu, "BuildSlope").Visible);

    c.CellKind = kCellUnderLift;
    c.SectionName = "Platter lift #2";
    EXPECT_EQ(Named(BuildMenu(c), "Delete1").Caption, "Delete Platter lift #2");

    c = Sandbox(kCellBuilding);
    c.BuildingName = "Stall";
    menu = BuildMenu(c);
    EXPECT_EQ(Named(menu, "Delete1").Caption, "Delete Stall");
    EXPECT_TRUE(Named(menu, "Delete1").Visible);

    // Blocked terrain and roads delete nothing; a building cell without a building neither.
    for (uint8_t kind : {kCellOccupied, kCellRoad, kCellBuilding}) {
        EXPECT_FALSE(Named(BuildMenu(Sandbox(kind)), "Delete1").Visible) << int(kind);
    }
}

TEST(BuildMenu, ACampaignMissionHidesWhatTheProfileHasNotUnlocked) {
    TSKIMenuContext c = Sandbox(kCellFree);
    c.MissionIndex = 0;
    c.UnlockedLifts[0] = true;
    c.UnlockedBuildings[kBuildParking] = true;
    auto menu = BuildMenu(c);
    EXPECT_EQ(Shown(Named(menu, "BuildLift1").Items), std::vector<std::string>{"Platter lift"});
    EXPECT_EQ(Shown(Named(menu, "Construct1").Items),
              (std::vector<std::string>{"Parking", "Plant trees"}));
    EXPECT_FALSE(Named(menu, "ShopsBars1").Visible);  // nothing left in it

    c.UnlockedLifts[0] = false;
    EXPECT_FALSE(Named(BuildMenu(c), "BuildLift1").Visible);

    // The editor and the sandboxes ignore the unlocks.
    c.EditorOpen = true;
    EXPECT_EQ(Shown(Named(BuildMenu(c), "BuildLift1").Items).size(), 7u);
    c.EditorOpen = false;
    c.MissionIndex = -3;  // sandbox map 3
    EXPECT_EQ(Shown(Named(BuildMenu(c), "ShopsBars1").Items).size(), 4u);
}

TEST(BuildMenu, ReplaceLiftShowsOverAStationOnlyWhenAnOfferCanBePaid) {
    TSKIMenuContext c = Sandbox(kCellLiftLower);
    c.CellHasSection = true;
    c.SectionIsLift = true;
    c.SectionName = "Double chairlift #1";
    c.Replace = {Offer(2, "", false, false), Offer(3, "Quad chairlift (9.000,-)", true, true),
                 Offer(6, "Six chairlift (60.000,-)", true, false)};
    auto menu = BuildMenu(c);
    const TSKIMenuItem& replace = Named(menu, "Upgradelift1");
    ASSERT_TRUE(replace.Visible);
    EXPECT_EQ(Shown(replace.Items),
              (std::vector<std::string>{"Quad chairlift (9.000,-)", "Six chairlift (60.000,-)"}));
    EXPECT_EQ(Named(replace.Items, "Upgrade4Seats").Tag, 103);
    EXPECT_FALSE(Named(replace.Items, "UpgradeSixchairlift").Enabled);  // greyed with its price
    EXPECT_TRUE(Named(menu, "BuildSlope").Visible);
    EXPECT_FALSE(Named(menu, "BuildLift1").Visible);

    c.Replace[1].Enabled = false;  // nothing affordable: no submenu
    EXPECT_FALSE(Named(BuildMenu(c), "Upgradelift1").Visible);
    c.Replace[1].Enabled = true;
    c.CellKind = kCellUnderLift;  // the lift's line is no station
    EXPECT_FALSE(Named(BuildMenu(c), "Upgradelift1").Visible);
}

TEST(BuildMenu, RidingHidesBuildingAndDeletingButKeepsCancel) {
    for (TSKITool tool : {TSKITool::FreeRide, TSKITool::Race}) {
        TSKIMenuContext c = Sandbox(kCellLiftUpper);
        c.Tool = tool;
        c.CellHasSection = true;
        c.SectionIsLift = true;
        c.Replace = {Offer(3, "Quad chairlift (1,-)", true, true)};
        EXPECT_EQ(Shown(BuildMenu(c)), std::vector<std::string>{"Cancel"}) << int(tool);
    }
}

TEST(BuildMenu, CaptionPathsMatchExactlyOrByLeadingWordsOfOneItem) {
    TSKIMenuContext c = Sandbox(kCellLiftUpper);
    c.CellHasSection = true;
    c.SectionIsLift = true;
    c.SectionName = "T-Bar #1";
    c.Replace = {Offer(6, "Six chairlift (1.234.567,-)", true, true)};
    const auto menu = BuildMenu(c);
    std::string error;
    const TSKIMenuItem* six = FindMenuItem(menu, "Replace lift/Six chairlift", &error);
    ASSERT_NE(six, nullptr) << error;
    EXPECT_EQ(six->Tag, 106);
    EXPECT_EQ(FindMenuItem(menu, "Replace lift/Six chairlift (1.234.567,-)"), six);
    EXPECT_EQ(FindMenuItem(menu, "Delete")->Caption, "Delete T-Bar #1");
    EXPECT_EQ(FindMenuItem(menu, "Services/Snow cannon")->Tag, 0);
    EXPECT_EQ(FindMenuItem(menu, "Restaurants/Stall")->Tag, 1);

    EXPECT_EQ(FindMenuItem(menu, "Build lift/Quad chairlift", &error), nullptr);  // hidden here
    EXPECT_EQ(error, "No menu item \"Build lift\"");
    EXPECT_EQ(FindMenuItem(menu, "Services/Snow")->Caption, "Snow cannon");  // not "Snowcat"
    std::vector<TSKIMenuItem> two(2);
    two[0].Caption = "Snow cannon";
    two[1].Caption = "Snow bar";
    EXPECT_EQ(FindMenuItem(two, "Snow", &error), nullptr);
    EXPECT_EQ(error, "\"Snow\" names more than one menu item");
    EXPECT_EQ(FindMenuItem(menu, "Services//Stall", &error), nullptr);
    EXPECT_EQ(FindMenuItem(menu, "Six chair", &error), nullptr);  // not a leading word
}

TEST(BuildMenu, ChoosingAnItemIsRefusedForHeadsAndGreyedItems) {
    TSKIEngine engine;
    TSKIToolState state;
    TSKIConstruction tools(engine, state);
    TSKIMenuContext c = Sandbox(kCellLiftLower);
    c.CellHasSection = c.SectionIsLift = true;
    c.Replace = {Offer(3, "Quad chairlift (1,-)", true, true),
                 Offer(4, "Cable car (9,-)", true, false)};
    const auto menu = BuildMenu(c);
    const TSKIActionCheck head =
        MenuItemAction(tools, *FindMenuItem(menu, "Services")).Check(engine);
    EXPECT_FALSE(head.Ok);
    EXPECT_EQ(head.Text, "Services is a submenu");
    const TSKIActionCheck greyed =
        MenuItemAction(tools, *FindMenuItem(menu, "Replace lift/Cable car")).Check(engine);
    EXPECT_EQ(greyed.Text, "Cable car (9,-) is not available");
    EXPECT_TRUE(MenuItemAction(tools, *FindMenuItem(menu, "Cancel")).Check(engine).Ok);
}

}  // namespace
}  // namespace vallorn
