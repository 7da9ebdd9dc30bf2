// The level and mission editor window ("Editor", "Editor - <level>"), opened from the menu
// bar's "Edit" button: the pages "Level", "Paint", "Objectives" and "Debug". It only draws
// and reads the park; what it changes in the park is a player action of the editor
// (editor/editor_actions.h), performed after the frame like the input boxes and loads.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "construction/construction.h"
#include "editor/editor_actions.h"
#include "editor/objective_editor.h"
#include "engine/engine.h"
#include "missions/profile.h"
#include "ui/editor_file_dialog.h"

namespace vallorn {

class TSKIEditorWindow {
public:
    struct TContext {
        const TSKIEngine& Engine;
        ITSKIToolChoice& Tools;  // picking up and putting down tools
        TSKIToolState& ToolState;
        TSKIProfile& Profile;
        float FramesPerSecond = 0;
        // Runs an action after the frame (input boxes, loads).
        std::function<void(std::function<void()>)> Later;
        // Performs a player action after the frame; `then` (when given) sees how it went.
        std::function<void(TSKIPlayerAction, std::function<void(const TSKIActionOutcome&)>)> Act;
        // The level in the engine was replaced or rebuilt: the view reloads it.
        std::function<void()> LevelChanged;
        // "Load game": the main window's LoadGame.
        std::function<bool(const std::filesystem::path&)> LoadGame;
        // "Mat info": the view's materials, a count line first (none without a view).
        std::function<std::vector<std::string>()> MaterialInfo;
    };

    bool Visible() const { return visible_; }
    // Shows and hides the window: the action that opens or closes the editor for the park.
    TSKIPlayerAction Show();
    TSKIPlayerAction Hide(ITSKIToolChoice& tools);
    void Draw(const TContext& c, float scale);

private:
    enum class TPending {
        None,
        NewLevelMap,
        NewLevelName,
        LoadLevel,
        SaveLevel,
        HeightMap,
        SnowTexture,
        GroundTexture,
        SaveGame,
        LoadGame,
        ImportRoad,
        HelpPage
    };
    void DrawLevel(const TContext& c);
    void DrawRecords(const TContext& c);
    void DrawPaint(const TContext& c);
    void DrawObjectives(const TContext& c);
    void DrawDebug(const TContext& c);
    void Ask(const TContext& c, const std::string& caption, const std::string& prompt,
             const std::string& initial, std::function<void(const std::string&)> then);
    void OpenDialog(TPending what, const TContext& c);
    void OnFileChosen(const TContext& c, const std::filesystem::path& file);
    // Performs the action after the frame; a failure is shown in an error box.
    void Act(const TContext& c, TSKIPlayerAction action, std::function<void()> then = nullptr);

    bool visible_ = false;
    std::string caption_ = "Editor";
    bool captionDue_ = false;  // a file was chosen: the caption follows the level next frame
    TSKIEditorFileDialog dialog_;
    TPending pending_ = TPending::None;
    std::filesystem::path heightMap_;  // "New level": the picture chosen first
    int tool_ = -1;                    // the Paint page's tool list
    int grain_ = 12;
    int house_ = 0;
    int selected_ = -1;  // the selected objective
    std::string treesText_ = "Num. of trees:";
    std::string treeCountText_ = "Tree count:";
    char description_[1024] = {};
    int slope_ = -1;    // the slope "Erase record" acts on
    std::string memo_;  // the Debug page's memo ("Mat info")
};

}  // namespace vallorn
