// The construction tools over a park: choosing and cancelling tools, the per-frame update of
// the cursor and the active tool, the click and the keys. Every change a tool makes to the park
// goes through the same construction functions and player actions a window or a script calls.
#pragma once

#include <cstdint>

#include "construction/tool_state.h"
#include "engine/engine.h"
#include "engine/player_actions.h"

namespace vallorn {

class TSKIConstruction {
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
    void StartBuildingTool(uint8_t type);
    void StartTreeTool();
    void StartAreaTool(size_t buildingIndex);
    void StartEditorTool(TSKITool tool);  // an editor brush, the house tools or the trees
    void CancelTool();
    // Once per frame, before the engine's frame handler: cursor, snap, brushes, previews,
    // hover text.
    void UpdateTools(float deltaSeconds);
    // A left mouse-button press in the 3D view.
    void ToolClick();
    void ToolKey(int key);  // kKeyBackspace, kKeyEscape, '1'..'8'
    // Deletes what is under the cursor (a slope or lift, and a building), asking first: Done
    // when something went, Declined when a question was answered No, Failed when nothing is
    // there.
    TSKIActionResult DeleteUnderCursor();
    // No tool any more, the building tool's snap given back: after a day change (which also
    // ends a ride), and when a game is closed or a level or game is loaded.
    void LeaveTool();
    // The garage selected for its area of operations, found again by its cell when the
    // building list changed; null (and the selection dropped) when it is gone.
    TSKIBuilding* AreaBuilding();
};

}  // namespace vallorn
