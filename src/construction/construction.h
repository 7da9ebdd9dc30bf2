// The construction tools over a park: choosing and cancelling tools, the per-frame update of
// the cursor and the active tool, the click and the keys. Every change a tool makes to the park
// goes through the same construction functions and player actions a window or a script calls.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "construction/tool_state.h"
#include "engine/engine.h"
#include "engine/player_actions.h"

namespace vallorn {

// --- the park's construction, shared by the tools' clicks and the construction actions ---
// Price of a lift of the type between two station cells, from its pole layout.
int32_t LiftPrice(const TSKIEngine& e, int lowerI, int lowerJ, int upperI, int upperJ,
                  uint8_t liftType);
// Builds and charges a lift as the lift tool's click does; null when its line is blocked.
TSKISection* BuildLift(TSKIEngine& e, int lowerI, int lowerJ, int upperI, int upperJ,
                       uint8_t liftType);
// How many trees a building placed so would fell.
int TreesFelledBy(const TSKIEngine& e, const TSKIBuildingRecord& record);
// The placement verdict: "OK (price)", followed by the trees it fells and their cost in
// rating when it fells any, or the reason it cannot be placed.
std::string ValidateBuilding(const TSKIEngine& e, const TSKIBuildingRecord& record,
                             bool checkMoney);
// Places a building; with `charge` only when valid, and it is paid for.
bool PlaceBuilding(TSKIEngine& e, const TSKIBuildingRecord& record, bool charge);
// Demolition and replacement (dialogs through the engine's Dialogs).
bool DeleteSection(TSKIEngine& e, size_t index, bool askFirst);
bool DeleteBuilding(TSKIEngine& e, size_t index);
// One entry of the "Replace lift" submenu.
struct TSKIReplaceEntry {
    uint8_t LiftType = 0;
    std::string Caption;  // "Quad chairlift (1.234,-)"
    bool Visible = false;
    bool Enabled = false;
};
// Whether the "Replace lift" submenu is shown: some entry is enabled.
bool ReplaceMenuShown(const std::vector<TSKIReplaceEntry>& entries);
std::vector<TSKIReplaceEntry> ReplaceLiftMenu(const TSKIEngine& e, size_t liftIndex);
// True when replaced. Otherwise `problem` (when given) receives why: the reason shown
// after "Can not upgrade. ", or empty when the player answered No.
bool ReplaceLift(TSKIEngine& e, size_t liftIndex, uint8_t newType, std::string* problem = nullptr);
// A campaign mission with the editor closed: types must be unlocked in the profile.
inline bool CampaignLocks(const TSKIEngine& e) {
    return IsCampaignMission(e.Park.ParkMissionIndex) && !e.EditorOpen;
}
bool LiftUnlocked(const TSKIEngine& e, uint8_t type);

// What a window may do with the tools beyond reading their state: pick one up or put it down.
// Choosing a tool edits no park (it changes what the view shows); what a tool then lays goes
// through the construction functions and player actions like every other change.
class ITSKIToolChoice {
public:
    virtual ~ITSKIToolChoice() = default;
    virtual void StartBuildingTool(uint8_t type) = 0;
    // An editor brush, the house tools or the trees.
    virtual void StartEditorTool(TSKITool tool) = 0;
    // No tool any more, the building tool's snap given back.
    virtual void LeaveTool() = 0;
};

class TSKIConstruction : public ITSKIToolChoice {
public:
    TSKIConstruction(TSKIEngine& engine, TSKIToolState& state) : Engine(engine), State(state) {}

    TSKIEngine& Engine;
    TSKIToolState& State;

    // The ground point the mouse ray hit (the cursor moves there on the next update).
    void SetCursorTarget(const TSKIVector& groundPoint);
    // Casts the ray against the terrain surface mesh; false (cursor unchanged) on a miss.
    bool CursorFromRay(const TSKIVector& origin, const TSKIVector& direction);
    bool StartLiftTool(int i, int j, uint8_t liftType);
    bool StartSlopeTool(int i, int j);
    void StartBuildingTool(uint8_t type) override;
    void StartTreeTool();
    void StartAreaTool(size_t buildingIndex);
    void StartEditorTool(TSKITool tool) override;  // an editor brush, the house tools or trees
    void CancelTool();
    // Once per frame, before the engine's frame handler: cursor, snap, brushes, previews,
    // hover text, then the avatar's frame under the held ride keys (free_ride.h).
    void UpdateTools(float deltaSeconds);
    // A left mouse-button press in the 3D view.
    void ToolClick();
    void ToolKey(int key);  // kKeyBackspace, kKeyEscape, '1'..'8'
    // A display box of the display window (0 long visibility .. 7 skier info, the order of
    // the keys '1'..'8'), toggled as its key toggles it.
    void ToggleDisplayBox(int box);
    // Deletes what is under the cursor (a slope or lift, and a building), asking first: Done
    // when something went, Declined when a question was answered No, Failed when nothing is
    // there.
    TSKIActionResult DeleteUnderCursor();
    // No tool any more, the building tool's snap given back: after a day change (which also
    // ends a ride), and when a game is closed or a level or game is loaded.
    void LeaveTool() override;
    // The garage selected for its area of operations, found again by its cell when the
    // building list changed; null (and the selection dropped) when it is gone.
    TSKIBuilding* AreaBuilding();
};

}  // namespace vallorn
