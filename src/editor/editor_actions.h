// The level and mission editor's changes to the park as player actions: every button, input
// box, file choice and objective field of the editor window that changes the park is one
// action here. Each action's name is the line an action script replays ("editor cash 5000",
// "editor flood-snow 120 80", "objective 2 value 40"), and EditorActionFromLine turns such a
// line back into the action.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "construction/tool_state.h"
#include "editor/level_editor.h"
#include "editor/terrain_editor.h"
#include "engine/player_actions.h"

namespace vallorn {

struct TSKIProfile;

// The editor window opened or closed: landmarks may be placed and trees are set before
// paying while it is open.
TSKIPlayerAction EditorOpenAction(bool open);

// An input box of the "Level" page: the text as typed (EditorValue's rule for bad texts).
TSKIPlayerAction EditorValueAction(TEditorValue which, const std::string& text);

// The file choices that change the level: a new level from a height-map picture, a new height
// map or ground picture for the loaded level, a level of the add-ons folder, a road picture.
// A failure is the action's reason (the window shows it).
TSKIPlayerAction NewLevelAction(const std::filesystem::path& picture, const std::string& name);
TSKIPlayerAction ChangeHeightMapAction(const std::filesystem::path& picture);
TSKIPlayerAction ChangeGroundPictureAction(const std::filesystem::path& picture, bool snow);
// A level of the add-ons, or of the shipped worlds (script word "shipped" after the name).
TSKIPlayerAction LoadEditorLevelAction(const std::string& name, bool addOn = true);
TSKIPlayerAction ImportRoadAction(const std::filesystem::path& picture);
// "Save level" and "Save game" (the authored mission, whose mission index follows the folder
// it is saved into).
TSKIPlayerAction SaveLevelAction(const std::string& name);
TSKIPlayerAction SaveMissionAction(const std::string& name);
// The "Paint" page's tool shows what it paints: the blocked terrain alone for the blocked
// and road brushes, the trees for the tree tools, the snow for the snow brushes.
TSKIPlayerAction PaintDisplayAction(TSKITool tool);

// The buttons with nothing to choose.
enum class TEditorCommand {
    DeleteAllLandmarks,   // "Delete all landmarks"
    ForgiveEnviroDamage,  // "Forgive enviro damage"
    ForgetAllCosts,       // "Forget all costs"
    EndDay,               // "End day": the day change
    KillAllSkiers,        // "Kill"
    GiveCash,             // "Give cash"
    KillAllGondolas,      // "KillAllGondolas"
    CutAllTrees,          // "Cut all"
    DeleteAllHouses,      // "Delete all houses"
};
TSKIPlayerAction EditorCommandAction(TEditorCommand command);

// "Unlock all" for the profile of the running game (the runner plays without one: the park's
// copy of the terms only).
TSKIPlayerAction UnlockAllAction(TSKIProfile* profile);
// "Add skiers": ten skiers at ground point (x, z), whatever the park's capacity.
TSKIPlayerAction AddSkiersAction(float x, float z);
// "Erase record": the downhill race record of slope `slope`.
TSKIPlayerAction EraseRecordAction(int slope);
// "Reduce trees" to `target` trees.
TSKIPlayerAction ReduceTreesAction(int32_t target);
// The "Paint" page's bulk work at a cell (the camera's focus cell in the window).
TSKIPlayerAction ResetBlockedAction(int grain);
TSKIPlayerAction SnowPeaksAction(int i, int j);
TSKIPlayerAction FloodSnowAction(int i, int j);
TSKIPlayerAction FloodBlockedAction(int i, int j, TFloodBlocked what);

// The "Objectives" page: a change to the list or to objective `index`'s field. `field` is
// one of add, delete, delete-all, reset, type, name, value, time-goal, place ("I J"),
// description, active, primary, reversible (on|off), unlock-objective and unlock-mission
// (slot 0..4, then the name), reward, reward-value, help. Refused for another field.
TSKIPlayerAction ObjectiveAction(int index, const std::string& field, const std::string& value = {},
                                 int slot = 0);

// The action an editor line names: its words after "editor" or "objective" as the action's
// name has them ("editor", "cash", "5000"). Nullopt, with the reason in `error`, for a line
// that names none.
std::optional<TSKIPlayerAction> EditorActionFromLine(const std::vector<std::string>& words,
                                                     std::string* error = nullptr);

}  // namespace vallorn
