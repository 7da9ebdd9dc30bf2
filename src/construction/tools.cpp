// The tool state machine: choosing and cancelling tools, the per-frame update that drives
// the cursor and the active tool, the click, the keys, and the hover text without a tool.
#include <algorithm>

#include "construction/tool_geometry.h"
#include "engine/player_actions.h"

namespace vallorn {

using namespace construction;

namespace {

constexpr float kKeyRepeat = 0.25f;
constexpr float kSkierTextHold = 2.5f;

bool IsEditorTool(uint8_t code) {
    return code == 5 || code == 6 || code == 8 || code == 9 || code == 10 || code == 14 ||
           code == 16 || code == 17;
}

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

void ToggleDisplay(TSKIEngine& e, int digit) {
    const uint8_t flag = kDigitFlags[digit];
    e.DisplayFlags ^= flag;
    const bool on = (e.DisplayFlags & flag) != 0;
    switch (flag) {
        case kDisplaySlopes:
        case kDisplayBlueRedBlack:
            e.RebuildOverlay(TSKIOverlay::SlopePaint);
            break;
        case kDisplayCursorSnap:
            e.CursorSnap = on;
            break;
        case kDisplayTrees:
            e.RebuildOverlay(TSKIOverlay::ObjectImprint);
            break;
        case kDisplaySnow:
            e.RebuildSnowOverlay();
            break;
        case kDisplaySkierInfo:
            // Skier info forces the snap off and gives it back when it is switched off; while
            // the building tool holds the snap off too, the player's snap is the one it kept.
            if (on) {
                e.SkierInfoSavedSnap = e.ConstructionTool == 11 ? e.SavedCursorSnap : e.CursorSnap;
                e.CursorSnap = false;
            } else if (e.ConstructionTool != 11) {
                e.CursorSnap = e.SkierInfoSavedSnap;
            }
            break;
        default:
            break;
    }
    e.RefreshTerrainView();
    e.ShowDisplayWindow = true;
}

}  // namespace

namespace construction {

void HidePreviews(TSKIEngine& e) {
    e.LiftLinePreview.clear();
    e.LiftPoleNodes.clear();
    e.LiftPolesVisible = false;
    e.SlopeSegment.clear();
    e.SlopeSegmentValid = false;
    e.AreaLine.clear();
    e.AreaLineVisible = false;
    e.BuildingPreviewVisible = false;
}

void UpdateNoTool(TSKIEngine& e, float dt) {
    HidePreviews(e);
    if (e.AreaBuilding != nullptr && e.AreaBuilding->Params().Category == kCategorySnowCatGarage) {
        const TSKIBuilding& b = *e.AreaBuilding;
        e.AreaLine = SampleLine(e, e.CellToWorld(b.CellI, b.CellJ, true),
                                e.CellToWorld(b.AreaI, b.AreaJ, true), 2.0f);
        e.AreaLineVisible = true;
    }
    e.ToolTextColor = kToolTextBlue;
    // A skier's text stays up for a while after it was made.
    if (e.HoverTextTime > 0) {
        e.HoverTextTime -= dt;
        e.ToolText = e.HoverText;
        return;
    }
    const std::string skier = e.SkierHoverText(e.CursorPosition);
    if (!skier.empty()) {
        e.HoverText = skier;
        e.HoverTextTime = kSkierTextHold;
        e.ToolText = skier;
        return;
    }
    const TerrainCell& c = e.CursorCell;
    e.ToolText.clear();
    if (const TSKISection* section = e.SectionByIndex(c.Section)) {
        e.ToolText = section->Name;
        if (c.Kind == kCellLiftLower) e.ToolText += " - lower station";
        if (c.Kind == kCellLiftUpper) e.ToolText += " - upper station";
        if (section->IsLift() && section->Status == kLiftClosed) e.ToolText += " - closed";
        return;
    }
    if (KindOf(c) == kCellOccupied) e.ToolText = "Blocked terrain";
    if (const TSKIBuilding* building = e.BuildingByIndex(c.Building)) {
        e.ToolText = building->Params().Name;
        if (!building->Open) e.ToolText += " - closed";
    }
}

}  // namespace construction

void TSKIEngine::StartTreeTool() {
    LeaveBuildingTool(*this);
    ConstructionTool = 7;
    DisplayFlags |= kDisplayTrees;
    RefreshTerrainView();
}

void TSKIEngine::StartEditorTool(uint8_t code) {
    if (code == 7) {
        StartTreeTool();
        return;
    }
    if (!IsEditorTool(code)) return;
    LeaveBuildingTool(*this);
    ConstructionTool = code;
    if (code == 16 || code == 17) CursorRadius = 10;
    HouseToDelete = -1;
    RefreshTerrainView();
}

void TSKIEngine::CancelTool() {
    if (ConstructionTool == 11) GiveBackBuildingToolSnap(*this);
    ConstructionTool = 0;
    CursorRadius = 12;
    SlopePath.clear();
    AreaBuilding = nullptr;
    HidePreviews(*this);
    RefreshTerrainView();
}

void TSKIEngine::UpdateTools(float deltaSeconds) {
    const float dt = std::max(0.0f, deltaSeconds);
    for (float& k : KeyCooldowns) k = std::max(0.0f, k - dt);
    if (!HasGrid()) return;
    // A selection whose building went away (a load, a removal elsewhere) is dropped.
    if (AreaBuilding != nullptr && IndexOf(AreaBuilding) < 0) {
        AreaBuilding = nullptr;
        if (ConstructionTool == 12) ConstructionTool = 0;
    }
    UpdateCursorRadius(*this, dt);
    UpdateCursor(*this);
    switch (ConstructionTool) {
        case 0:
            UpdateNoTool(*this, dt);
            break;
        case 2:
            UpdateLiftTool(*this);
            break;
        case 3:
            UpdateSlopeTool(*this, dt);
            break;
        case 7:
            UpdateTreeTool(*this);
            if (ToolInput.LeftButton) PlantTreesAtCursor(*this);
            break;
        case 11:
            UpdateBuildingTool(*this);
            break;
        case 12:
            UpdateAreaTool(*this);
            break;
        case 5:
        case 6:
        case 8:
        case 9:
        case 10:
        case 14:
            ToolText.clear();
            if (ToolInput.LeftButton) UpdateEditorBrush(*this);
            break;
        case 16:
        case 17:
            UpdateHouseTool(*this);
            break;
        default:  // the ride modes
            ToolText.clear();
            break;
    }
}

void TSKIEngine::ToolClick() {
    if (!HasGrid()) return;
    switch (ConstructionTool) {
        case 2:
            if (!LiftPolesVisible) return;
            if (PerformAction(
                    *this, BuildLiftAction(ToolLowerI, ToolLowerJ, CursorI, CursorJ, ToolLiftType))
                    .Done()) {
                ConstructionTool = 0;
                HidePreviews(*this);
            }
            break;
        case 3:
            SlopeClick(*this);
            break;
        case 7:
            PlantTreesAtCursor(*this);
            break;
        case 11:
            BuildingClick(*this);
            break;
        case 12:
            AreaClick(*this);
            break;
        case 16:
        case 17:
            HouseClick(*this);
            break;
        default:
            break;
    }
}

void TSKIEngine::ToolKey(int key) {
    const int slot = KeySlot(key);
    if (slot < 0 || KeyCooldowns[size_t(slot)] > 0) return;
    KeyCooldowns[size_t(slot)] = kKeyRepeat;
    if (key == kKeyBackspace) {
        if (ConstructionTool == 3) SlopeBackspace(*this);
    } else if (key == kKeyEscape) {
        if (ConstructionTool == 13 || ConstructionTool == 15)
            ConstructionTool = 0;
        else
            MenuRequested = true;
    } else {
        ToggleDisplay(*this, key - '1');
    }
}

}  // namespace vallorn
