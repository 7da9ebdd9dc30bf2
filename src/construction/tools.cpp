// The tool state machine: choosing and cancelling tools, the per-frame update that drives
// the cursor and the active tool, the click, the keys, and the hover text without a tool.
#include <algorithm>

#include "construction/construction_actions.h"
#include "construction/tool_geometry.h"
#include "engine/overlays.h"
#include "engine/player_actions.h"
#include "engine/snow.h"

namespace vallorn {

using namespace construction;

namespace {

constexpr float kKeyRepeat = 0.25f;
constexpr float kSkierTextHold = 2.5f;

// Index of a key among the tool keys, or -1.
int KeySlot(int key) {
    if (key == kKeyBackspace) return 0;
    if (key == kKeyEscape) return 1;
    if (key >= '1' && key <= '8') return 2 + (key - '1');
    return -1;
}

// The display flag of each digit key, in the order of the display window's boxes.
constexpr uint8_t kDigitFlags[8] = {kDisplayLongVisibility, kDisplaySlopes,       kDisplayBlocked,
                                    kDisplayCursorSnap,     kDisplayBlueRedBlack, kDisplayTrees,
                                    kDisplaySnow,           kDisplaySkierInfo};

void ToggleDisplay(TSKIConstruction& c, int digit) {
    TSKIEngine& e = c.Engine;
    TSKIToolState& t = c.State;
    const uint8_t flag = kDigitFlags[digit];
    const bool on = !LayerShown(e.Display(), flag);
    ShowLayer(e.Display(), flag, on);
    switch (flag) {
        case kDisplaySlopes:
        case kDisplayBlueRedBlack:
            RebuildOverlay(e, TSKIOverlay::SlopePaint);
            break;
        case kDisplayCursorSnap:
            t.CursorSnap = on;
            break;
        case kDisplayTrees:
            RebuildOverlay(e, TSKIOverlay::ObjectImprint);
            break;
        case kDisplaySnow:
            RebuildSnowOverlay(e);
            break;
        case kDisplaySkierInfo:
            // Skier info forces the snap off and gives it back when it is switched off; while
            // the building tool holds the snap off too, the player's snap is the one it kept.
            if (on) {
                t.SkierInfoSavedSnap =
                    t.Tool == TSKITool::Building ? t.SavedCursorSnap : t.CursorSnap;
                t.CursorSnap = false;
            } else if (t.Tool != TSKITool::Building) {
                t.CursorSnap = t.SkierInfoSavedSnap;
            }
            break;
        default:
            break;
    }
    RefreshTerrainView(e);
    t.ShowDisplayWindow = true;
}

}  // namespace

namespace construction {

void HidePreviews(TSKIToolState& t) {
    t.LiftLinePreview.clear();
    t.LiftPoleNodes.clear();
    t.LiftPolesVisible = false;
    t.SlopeSegment.clear();
    t.SlopeSegmentValid = false;
    t.AreaLine.clear();
    t.AreaLineVisible = false;
    t.BuildingPreviewVisible = false;
}

void UpdateNoTool(TSKIConstruction& c, float dt) {
    TSKIEngine& e = c.Engine;
    TSKIToolState& t = c.State;
    HidePreviews(t);
    const TSKIBuilding* garage = c.AreaBuilding();
    if (garage != nullptr && garage->Params().Category == kCategorySnowCatGarage) {
        t.AreaLine = SampleLine(e, e.CellToWorld(garage->CellI, garage->CellJ, true),
                                e.CellToWorld(garage->AreaI, garage->AreaJ, true), 2.0f);
        t.AreaLineVisible = true;
    }
    t.ToolTextColor = kToolTextBlue;
    // A skier's text stays up for a while after it was made.
    if (t.SkierTextTime > 0) {
        t.SkierTextTime -= dt;
        t.ToolText = t.SkierText;
        return;
    }
    const std::string skier = e.NearestSkierText(t.CursorPosition);
    if (!skier.empty()) {
        t.SkierText = skier;
        t.SkierTextTime = kSkierTextHold;
        t.ToolText = skier;
        return;
    }
    const TerrainCell& cell = t.CursorCell;
    t.ToolText.clear();
    if (const TSKISection* section = e.SectionByIndex(cell.Section)) {
        t.ToolText = section->Name;
        if (cell.Kind == kCellLiftLower) t.ToolText += " - lower station";
        if (cell.Kind == kCellLiftUpper) t.ToolText += " - upper station";
        if (section->IsLift() && section->Status == kLiftClosed) t.ToolText += " - closed";
        return;
    }
    if (KindOf(cell) == kCellOccupied) t.ToolText = "Blocked terrain";
    if (const TSKIBuilding* building = e.BuildingByIndex(cell.Building)) {
        t.ToolText = building->Params().Name;
        if (!building->Open) t.ToolText += " - closed";
    }
}

}  // namespace construction

TSKIBuilding* TSKIConstruction::AreaBuilding() {
    TSKIToolState& t = State;
    if (t.AreaBuilding < 0) return nullptr;
    const auto& list = Engine.Buildings;
    const auto at = [&](size_t k) {
        return list[k]->CellI == t.AreaCellI && list[k]->CellJ == t.AreaCellJ;
    };
    if (size_t(t.AreaBuilding) < list.size() && at(size_t(t.AreaBuilding)))
        return list[size_t(t.AreaBuilding)].get();
    for (size_t k = 0; k < list.size(); ++k) {
        if (!at(k)) continue;
        t.AreaBuilding = int32_t(k);
        return list[k].get();
    }
    t.AreaBuilding = -1;
    return nullptr;
}

void TSKIConstruction::StartTreeTool() {
    LeaveBuildingTool(*this);
    State.Tool = TSKITool::Trees;
    ShowLayer(Engine.Display(), kDisplayTrees, true);
    RefreshTerrainView(Engine);
}

void TSKIConstruction::StartEditorTool(TSKITool tool) {
    if (tool == TSKITool::Trees) {
        StartTreeTool();
        return;
    }
    if (!IsEditorTool(tool)) return;
    LeaveBuildingTool(*this);
    State.Tool = tool;
    if (tool == TSKITool::AddHouse || tool == TSKITool::DeleteHouse) State.CursorRadius = 10;
    State.HouseToDelete = -1;
    RefreshTerrainView(Engine);
}

void TSKIConstruction::CancelTool() {
    if (State.Tool == TSKITool::Building) GiveBackBuildingToolSnap(*this);
    State.Tool = TSKITool::None;
    State.CursorRadius = 12;
    State.SlopePath.clear();
    State.AreaBuilding = -1;
    HidePreviews(State);
    RefreshTerrainView(Engine);
}

void TSKIConstruction::LeaveTool() {
    LeaveBuildingTool(*this);
    State.Tool = TSKITool::None;
}

void TSKIConstruction::UpdateTools(float deltaSeconds) {
    TSKIToolState& t = State;
    const float dt = std::max(0.0f, deltaSeconds);
    for (float& k : t.KeyCooldowns) k = std::max(0.0f, k - dt);
    if (!Engine.HasGrid()) return;
    // A selection whose building went away (a load, a removal elsewhere) is dropped.
    if (t.AreaBuilding >= 0 && AreaBuilding() == nullptr && t.Tool == TSKITool::Area)
        t.Tool = TSKITool::None;
    UpdateCursorRadius(*this, dt);
    UpdateCursor(*this);
    switch (t.Tool) {
        case TSKITool::None:
            UpdateNoTool(*this, dt);
            break;
        case TSKITool::Lift:
            UpdateLiftTool(*this);
            break;
        case TSKITool::Slope:
            UpdateSlopeSegment(*this, t.CursorI, t.CursorJ, dt);
            break;
        case TSKITool::Trees:
            UpdateTreeTool(*this);
            if (t.Input.LeftButton) PlantTreesAtCursor(*this);
            break;
        case TSKITool::Building:
            UpdateBuildingTool(*this);
            break;
        case TSKITool::Area:
            UpdateAreaTool(*this);
            break;
        case TSKITool::BlockBrush:
        case TSKITool::UnblockBrush:
        case TSKITool::RemoveTrees:
        case TSKITool::SnowBrush:
        case TSKITool::BareBrush:
        case TSKITool::RoadBrush:
            t.ToolText.clear();
            if (t.Input.LeftButton) UpdateEditorBrush(*this);
            break;
        case TSKITool::AddHouse:
        case TSKITool::DeleteHouse:
            UpdateHouseTool(*this);
            break;
        default:  // the ride modes
            t.ToolText.clear();
            if (t.Tool == TSKITool::FreeRide) UpdateRideOffer(*this);
            break;
    }
    UpdateRide(*this, t.Input.Ride, dt);  // hides the avatar outside the ride modes
}

void TSKIConstruction::ToolClick() {
    TSKIToolState& t = State;
    if (!Engine.HasGrid()) return;
    switch (t.Tool) {
        case TSKITool::Lift:
            if (!t.LiftPolesVisible) return;
            if (PerformAction(Engine,
                              BuildLiftAction(t.LowerI, t.LowerJ, t.CursorI, t.CursorJ, t.LiftType))
                    .Done()) {
                t.Tool = TSKITool::None;
                HidePreviews(t);
            }
            break;
        case TSKITool::Slope:
            // A click on free ground adds a node to the drawing; one on a slope or a lift
            // station lays the slope, the player action a script's slope-finish is.
            if (TSKIEngine::CellInGrid(t.CursorI, t.CursorJ) &&
                KindOf(Engine.Cell(t.CursorI, t.CursorJ)) != kCellFree) {
                PerformAction(Engine, SlopeFinishAction(*this, t.CursorI, t.CursorJ));
            } else {
                SlopeClickAt(*this, t.CursorI, t.CursorJ);
            }
            break;
        case TSKITool::Trees:
            PlantTreesAtCursor(*this);
            break;
        case TSKITool::FreeRide:
            TakeRide(*this);
            break;
        case TSKITool::Building:
            BuildingClick(*this);
            break;
        case TSKITool::Area:
            AreaClick(*this);
            break;
        case TSKITool::AddHouse:
        case TSKITool::DeleteHouse:
            HouseClick(*this);
            break;
        default:
            break;
    }
}

void TSKIConstruction::ToggleDisplayBox(int box) {
    if (box >= 0 && box < 8) ToggleDisplay(*this, box);
}

void TSKIConstruction::ToolKey(int key) {
    TSKIToolState& t = State;
    const int slot = KeySlot(key);
    if (slot < 0 || t.KeyCooldowns[size_t(slot)] > 0) return;
    t.KeyCooldowns[size_t(slot)] = kKeyRepeat;
    if (key == kKeyBackspace) {
        if (t.Tool == TSKITool::Slope) SlopeBackspace(*this);
    } else if (key == kKeyEscape) {
        // Escape leaves the tool in hand, as "Cancel" does; with none it asks for the menu.
        if (IsRideMode(t.Tool)) {
            t.Tool = TSKITool::None;  // a race is dropped without a word
            t.Avatar.HeadUpText.clear();
        } else if (t.Tool != TSKITool::None) {
            CancelTool();
        } else {
            t.MenuRequested = true;
        }
    } else {
        ToggleDisplay(*this, key - '1');
    }
}

}  // namespace vallorn
