// The construction tools' state: which tool is active, where the cursor is, what the previews
// and the hover panel show, and what each tool remembers between frames. The engine holds the
// park; whoever drives the tools (the game window, the headless runner, the tests) owns this
// state and hands it to TSKIConstruction together with the engine.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/image.h"
#include "base/terrain.h"
#include "base/types.h"
#include "construction/free_ride.h"
#include "entities/building.h"

namespace vallorn {

// The active tool.
enum class TSKITool : uint8_t {
    None = 0,
    Lift = 2,          // from a lower station to the cursor
    Slope = 3,         // drawing a slope node by node
    BlockBrush = 5,    // editor: blocked terrain
    UnblockBrush = 6,  // editor: free terrain (roads too)
    Trees = 7,         // planting trees (game and editor)
    RemoveTrees = 8,   // editor
    SnowBrush = 9,     // editor: natural snow
    BareBrush = 10,    // editor: no natural snow
    Building = 11,     // placing a service building
    Area = 12,         // a snowcat garage's area of operations
    FreeRide = 13,     // the player's own skier
    RoadBrush = 14,    // editor
    Race = 15,         // the player's own skier against the clock
    AddHouse = 16,     // editor: decorative houses
    DeleteHouse = 17,  // editor
};

// The brushes of the level editor.
constexpr bool IsEditorTool(TSKITool tool) {
    switch (tool) {
        case TSKITool::BlockBrush:
        case TSKITool::UnblockBrush:
        case TSKITool::RemoveTrees:
        case TSKITool::SnowBrush:
        case TSKITool::BareBrush:
        case TSKITool::RoadBrush:
        case TSKITool::AddHouse:
        case TSKITool::DeleteHouse:
            return true;
        default:
            return false;
    }
}
constexpr bool IsRideMode(TSKITool tool) {
    return tool == TSKITool::FreeRide || tool == TSKITool::Race;
}

// Key codes of ToolKey besides the digits '1'..'8'.
constexpr int kKeyBackspace = 8;
constexpr int kKeyEscape = 27;

// Hover panel colours (the panel is drawn half transparent).
constexpr TSKIColor kToolTextBlue{0, 0, 255};
constexpr TSKIColor kToolTextLiftGreen{0, 204, 0};
constexpr TSKIColor kToolTextSlopeGreen{0, 255, 0};
constexpr TSKIColor kToolTextRed{255, 0, 0};

struct TSKIToolState {
    TSKITool Tool = TSKITool::None;
    // Input, as the view feeds it every frame.
    struct TSKIToolInput {
        bool LeftButton = false, Shift = false, PageUp = false, PageDown = false;
        TSKIRideKeys Ride;  // the avatar's keys, held down this frame
    };
    TSKIToolInput Input;
    // The cursor: the ground point the mouse ray hit (the cursor moves there on the next
    // update), where it stands after the snap, its brush ring 2 units above the terrain and
    // the cell under it.
    TSKIVector CursorTarget{0, 0, 0, 1};
    bool CursorTargetSet = false;
    TSKIVector CursorPosition{0, 0, 0, 1};
    float CursorRadius = 10;
    bool CursorSnap = true;
    std::array<TSKIVector, 16> CursorRing{};
    TerrainCell CursorCell;
    int CursorI = 0, CursorJ = 0;
    std::string ToolText;                     // hover text; the panel is hidden when empty
    TSKIColor ToolTextColor = kToolTextBlue;  // hover panel colour
    std::string SkierText;                    // the last skier's description, held a while
    float SkierTextTime = 0;                  // seconds it stays up
    // Previews, as plain data.
    std::vector<TSKIVector> LiftLinePreview;  // samples of the lift line (terrain + 5)
    std::vector<TSKIVector> LiftPoleNodes;    // stations and poles with their heights
    bool LiftPolesVisible = false;            // also the two station markers
    TSKIVector StationMarkers[2]{{0, 0, 0, 1}, {0, 0, 0, 1}};
    std::vector<TSKIVector> SlopePath;     // drawn nodes: position, width (cells) in w
    std::vector<TSKIVector> SlopeSegment;  // from the end cell to the cursor (terrain + 5)
    bool SlopeSegmentValid = false;        // yellow when valid, red when not
    std::vector<TSKIVector> AreaLine;      // area of operations, 2 above the terrain
    bool AreaLineVisible = false;
    TSKIBuildingRecord BuildingPreview;  // the building being placed
    bool BuildingPreviewVisible = false;
    float BuildingPreviewTurn = 0;  // degrees about the vertical axis
    // What each tool remembers.
    int LowerI = 0, LowerJ = 0;  // the lift tool's lower station cell
    uint8_t LiftType = 0;
    int SlopeEndI = 0, SlopeEndJ = 0;  // cell of the last slope node
    // The garage whose area of operations is shown or set: its index and its centre cell,
    // by which the selection follows the building when the list changes (-1: none).
    int32_t AreaBuilding = -1;
    int AreaCellI = 0, AreaCellJ = 0;
    bool SavedCursorSnap = true;     // the player's snap while the building tool holds it off
    bool SkierInfoSavedSnap = true;  // the player's snap while "Skier info" holds it off
    int32_t HouseIndex = 0;          // editor houses
    bool ChangeHouse = false;
    int32_t HouseToDelete = -1;
    bool MenuRequested = false;            // Esc outside a ride: the window opens the in-game menu
    bool ShowDisplayWindow = false;        // a display key was pressed
    std::array<float, 10> KeyCooldowns{};  // per key (Backspace, Esc, digits): seconds left
    TSKIAvatar Avatar;                     // the player's own skier (free ride, race)
};

}  // namespace vallorn
