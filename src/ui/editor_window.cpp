#include "ui/editor_window.h"

#include <imgui.h>

#include <cstdlib>
#include <cstring>
#include <system_error>

#include "base/number_format.h"
#include "editor/cheats.h"
#include "editor/level_editor.h"
#include "editor/terrain_editor.h"
#include "engine/arrivals.h"
#include "engine/clock.h"
#include "engine/level_file.h"
#include "engine/overlays.h"
#include "engine/snow.h"
#include "missions/objective_texts.h"
#include "persistence/saved_game.h"
#include "ui/editor_widgets.h"
#include "ui/probe.h"

namespace fs = std::filesystem;

namespace vallorn {

using editor_ui::Button;
using editor_ui::FocusCell;

namespace {

// A level loaded in the editor starts a new game: the cursor snaps again, as its display box
// (reset by the load) says.
void CursorSnapOfNewGame(TSKIToolState& t) {
    t.CursorSnap = t.SavedCursorSnap = t.SkierInfoSavedSnap = true;
}

struct TPaintTool {
    const char* Name;
    TSKITool Tool;
};
constexpr TPaintTool kPaintTools[] = {{"Paint blocked terrain", TSKITool::BlockBrush},
                                      {"Erase blocked terrain", TSKITool::UnblockBrush},
                                      {"Paint trees", TSKITool::Trees},
                                      {"Cut trees", TSKITool::RemoveTrees},
                                      {"Paint snow", TSKITool::SnowBrush},
                                      {"Erase snow", TSKITool::BareBrush},
                                      {"Paint road", TSKITool::RoadBrush},
                                      {"Build house", TSKITool::AddHouse},
                                      {"Delete house", TSKITool::DeleteHouse}};

const TSKIFileFilter kLevelFilter{"SKI Level files (*.skil)", {".skil"}, ".skil"};
const TSKIFileFilter kBitmapFilter{"Bitmaps (*.bmp)", {".bmp", ".png", ".jpg", ".jpeg"}, ""};
const TSKIFileFilter kTextureFilter{"JPEG or BMP", {".jpg", ".jpeg", ".bmp"}, ""};
const TSKIFileFilter kGameSaveFilter{"SKI files (*.ski)", {".ski"}, ".ski"};
const TSKIFileFilter kGameLoadFilter{"SKI Game files (*.ski)", {".ski"}, ".ski"};
const TSKIFileFilter kHelpFilter{"|*.htm||*.html", {".htm", ".html"}, ""};

std::string Real2(float v) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f", double(v));
    return text;
}

}  // namespace

TSKIPlayerAction TSKIEditorWindow::Show() {
    visible_ = true;
    return EditorOpenAction(true);
}

TSKIPlayerAction TSKIEditorWindow::Hide(ITSKIToolChoice& tools) {
    visible_ = false;
    tools.LeaveTool();
    return EditorOpenAction(false);
}

void TSKIEditorWindow::Ask(const TContext& c, const std::string& caption, const std::string& prompt,
                           const std::string& initial,
                           std::function<void(const std::string&)> then) {
    IDialogs* dialogs = c.Engine.Dialogs;
    c.Later([dialogs, caption, prompt, initial, then] {
        if (const auto text = dialogs->InputText(caption, prompt, initial)) then(*text);
    });
}

void TSKIEditorWindow::Act(const TContext& c, TSKIPlayerAction action, std::function<void()> then) {
    IDialogs* dialogs = c.Engine.Dialogs;
    c.Act(std::move(action), [dialogs, then](const TSKIActionOutcome& out) {
        if (out.Result == TSKIActionResult::Failed && !out.Reason.empty())
            dialogs->ShowError(out.Reason);
        if (then) then();
    });
}

void TSKIEditorWindow::OpenDialog(TPending what, const TContext& c) {
    const TSKIFolders& f = c.Engine.Folders;
    pending_ = what;
    // A picture is read from anywhere; levels and games open from the shipped worlds or the
    // add-ons, and are saved into the add-ons (or beside the level they belong to).
    TSKIFilePlaces pictures;
    pictures.AnyFolder = true;
    pictures.Named = {{"Game folder", f.Root}};
    if (const char* home = std::getenv("HOME"); home && *home)
        pictures.Named.emplace_back("Home", home);
    TSKIFilePlaces worlds;
    worlds.Named = {{"Add-ons", f.Addons}, {"Shipped", f.Worlds}};
    switch (what) {
        case TPending::NewLevelMap:
        case TPending::HeightMap:
            dialog_.Open("Select height map", f.Root, kBitmapFilter, pictures);
            break;
        case TPending::ImportRoad:
            dialog_.Open("Select road bitmap", f.Root, kBitmapFilter, pictures);
            break;
        case TPending::SnowTexture:
        case TPending::GroundTexture:
            dialog_.Open("Select texture", f.Root, kTextureFilter, pictures);
            break;
        case TPending::NewLevelName:
        case TPending::SaveLevel:
            dialog_.Open("Save file", f.Addons, kLevelFilter);
            break;
        case TPending::LoadLevel:
            dialog_.Open("Load level", f.Addons, kLevelFilter, worlds);
            break;
        case TPending::SaveGame:
            dialog_.Open("Save game", c.Engine.Level.FromAddons ? f.Addons : f.Worlds,
                         kGameSaveFilter);
            break;
        case TPending::LoadGame:
            dialog_.Open("Load game", f.Worlds, kGameLoadFilter, worlds);
            break;
        case TPending::HelpPage:
            dialog_.Open("Help page", f.Root / "help", kHelpFilter);
            break;
        case TPending::None:
            break;
    }
}

void TSKIEditorWindow::OnFileChosen(const TContext& c, const fs::path& file) {
    const TPending what = pending_;
    pending_ = TPending::None;
    const std::string stem = file.stem().string();
    switch (what) {
        case TPending::NewLevelMap:
            heightMap_ = file;
            OpenDialog(TPending::NewLevelName, c);
            return;
        case TPending::NewLevelName: {
            TSKIToolState* tools = &c.ToolState;
            Act(c, NewLevelAction(heightMap_, stem), [tools, changed = c.LevelChanged] {
                CursorSnapOfNewGame(*tools);
                changed();
            });
            break;
        }
        case TPending::HeightMap:
            Act(c, ChangeHeightMapAction(file), c.LevelChanged);
            break;
        case TPending::SnowTexture:
        case TPending::GroundTexture:
            Act(c, ChangeGroundPictureAction(file, what == TPending::SnowTexture), c.LevelChanged);
            break;
        case TPending::SaveLevel:
            Act(c, SaveLevelAction(stem));
            break;
        case TPending::LoadLevel: {
            // A level picked among the shipped worlds loads from there, any other from the
            // add-ons.
            std::error_code ec;
            const bool shipped = fs::equivalent(file.parent_path(), c.Engine.Folders.Worlds, ec);
            TSKIToolState* tools = &c.ToolState;
            Act(c, LoadEditorLevelAction(stem, !shipped), [tools, changed = c.LevelChanged] {
                CursorSnapOfNewGame(*tools);
                changed();
            });
            break;
        }
        case TPending::SaveGame:
            Act(c, SaveMissionAction(stem));
            break;
        case TPending::LoadGame: {
            const auto load = c.LoadGame;
            c.Later([load, file] { load(file); });
            break;
        }
        case TPending::HelpPage:
            Act(c, ObjectiveAction(selected_, "help", stem));
            break;
        case TPending::ImportRoad:
            Act(c, ImportRoadAction(file));
            break;
        case TPending::None:
            break;
    }
    // The caption names the level once the choice's action has run, after this frame.
    captionDue_ = true;
}

void TSKIEditorWindow::Draw(const TContext& c, float scale) {
    if (!visible_) return;
    // A load replaces the engine under the open window: the new one is edited too.
    if (!c.Engine.EditorOpen) c.Act(EditorOpenAction(true), nullptr);
    if (captionDue_ && !c.Engine.Level.LevelName.empty())
        caption_ = "Editor - " + c.Engine.Level.LevelName;
    captionDue_ = false;
    ImGui::SetNextWindowSize(ImVec2(440 * scale, 500 * scale), ImGuiCond_FirstUseEver);
    ImGui::SetNextWindowPos(ImVec2(20 * scale, 80 * scale), ImGuiCond_FirstUseEver);
    bool open = true;
    const std::string title = caption_ + "###Editor";
    if (ImGui::Begin(title.c_str(), &open)) {
        probe::LastItem("window", caption_);
        if (ImGui::BeginTabBar("EditorPages")) {
            const char* pages[] = {"Level", "Paint", "Objectives", "Debug"};
            for (int k = 0; k < 4; ++k) {
                const bool shown = ImGui::BeginTabItem(pages[k]);
                probe::LastItem("tab", pages[k]);
                if (!shown) {
                    // Leaving the Paint page puts the tools down.
                    if (k == 1 && tool_ >= 0) {
                        tool_ = -1;
                        c.Tools.LeaveTool();
                    }
                    continue;
                }
                if (k == 0) DrawLevel(c);
                if (k == 1) DrawPaint(c);
                if (k == 2) DrawObjectives(c);
                if (k == 3) DrawDebug(c);
                ImGui::EndTabItem();
            }
            ImGui::EndTabBar();
        }
        if (const auto file = dialog_.Draw(scale)) OnFileChosen(c, *file);
        if (!dialog_.IsOpen()) pending_ = TPending::None;
    }
    ImGui::End();
    if (!open) c.Act(Hide(c.Tools), nullptr);
}

void TSKIEditorWindow::DrawLevel(const TContext& c) {
    const TSKIEngine& e = c.Engine;
    const TSKIParkData& p = e.Park;
    struct TFile {
        const char* label;
        const std::string& value;
        TPending change;
    };
    const TFile files[] = {{"Elevation data: ", e.Level.ElevationFile, TPending::HeightMap},
                           {"Snow texture: ", e.Level.TextureSnow, TPending::SnowTexture},
                           {"Ground texture: ", e.Level.TextureGround, TPending::GroundTexture}};
    for (const TFile& f : files) {
        ImGui::PushID(f.label);
        ImGui::Text("%s%s", f.label, f.value.c_str());
        ImGui::SameLine();
        if (Button("change")) OpenDialog(f.change, c);
        ImGui::PopID();
    }
    ImGui::Separator();
    struct TValue {
        std::string text;
        const char* caption;
        const char* prompt;
        TEditorValue which;
    };
    const TValue values[] = {
        {"Cash: " + std::to_string(p.ParkCash), "Cash", "Set cash:", TEditorValue::Cash},
        {"Time: " + std::to_string(p.ParkTime), "Time", "Set time:", TEditorValue::Time},
        {"Spawn speed: " + std::to_string(p.ParkSpawnSpeed), "Skiers spawn speed",
         "Set time:", TEditorValue::SpawnSpeed},
        {"Max skiers: " + std::to_string(p.ParkMaxSkiers), "Max skiers",
         "Set max capacity:", TEditorValue::MaxSkiers},
        {"Scale XZ: " + Real2(e.Level.Scale.x), "Set scale XZ",
         "Set scale XZ:", TEditorValue::ScaleXZ},
        {"Scale Y: " + Real2(e.Level.Scale.y), "Set scale Y", "Set scale Y:", TEditorValue::ScaleY},
        {"Blocking threshold: " + Real2(e.Level.BlockThreshold), "Set blocking threshold",
         "Set:", TEditorValue::BlockThreshold}};
    for (const TValue& v : values) {
        if (ImGui::Selectable(v.text.c_str())) {
            const TEditorValue which = v.which;
            Ask(c, v.caption, v.prompt, v.text.substr(v.text.find(": ") + 2),
                [act = c.Act, which](const std::string& t) {
                    act(EditorValueAction(which, t), nullptr);
                });
        }
        probe::LastItem("label", v.text);
    }
    ImGui::Text("World: %s", e.Level.LevelName.c_str());
    ImGui::Separator();
    if (Button("New level")) OpenDialog(TPending::NewLevelMap, c);
    ImGui::SameLine();
    if (Button("Load level")) OpenDialog(TPending::LoadLevel, c);
    ImGui::SameLine();
    if (Button("Save level")) OpenDialog(TPending::SaveLevel, c);
    if (Button("Save game")) OpenDialog(TPending::SaveGame, c);
    ImGui::SameLine();
    if (Button("Load game")) OpenDialog(TPending::LoadGame, c);
    if (Button("Add landmark")) c.Tools.StartBuildingTool(kBuildSightseeing);
    ImGui::SameLine();
    auto command = [&](TEditorCommand what) { Act(c, EditorCommandAction(what)); };
    if (Button("Delete all landmarks")) command(TEditorCommand::DeleteAllLandmarks);
    ImGui::Separator();
    if (Button("Forgive enviro damage")) command(TEditorCommand::ForgiveEnviroDamage);
    if (Button("Forget all costs")) command(TEditorCommand::ForgetAllCosts);
    ImGui::SameLine();
    if (Button("End day")) command(TEditorCommand::EndDay);
    if (Button("Add skiers")) Act(c, AddSkiersAction(e.Viewpoint.FocusX, e.Viewpoint.FocusZ));
    ImGui::SameLine();
    if (Button("Kill")) command(TEditorCommand::KillAllSkiers);
    ImGui::SameLine();
    if (Button("Give cash")) command(TEditorCommand::GiveCash);
    ImGui::SameLine();
    if (Button("Unlock all")) Act(c, UnlockAllAction(&c.Profile));
    DrawRecords(c);
}

void TSKIEditorWindow::DrawRecords(const TContext& c) {
    const TSKIEngine& e = c.Engine;
    ImGui::Separator();
    // The slope whose downhill race record "Erase record" clears.
    const bool valid =
        slope_ >= 0 && size_t(slope_) < e.Sections.size() && e.Sections[size_t(slope_)]->IsSlope();
    if (!valid) slope_ = -1;
    auto label = [&](int k) {
        const TSKISection& s = *e.Sections[size_t(k)];
        return s.Name + " (record " + std::to_string(s.InvestedMoney) + " s)";
    };
    const std::string shown = valid ? label(slope_) : std::string("No slope");
    ImGui::SetNextItemWidth(220);
    if (ImGui::BeginCombo("Slope", shown.c_str())) {
        for (int k = 0; k < int(e.Sections.size()); ++k) {
            if (!e.Sections[size_t(k)]->IsSlope()) continue;
            ImGui::PushID(k);
            if (ImGui::Selectable(label(k).c_str(), k == slope_)) slope_ = k;
            ImGui::PopID();
        }
        ImGui::EndCombo();
    }
    ImGui::SameLine();
    if (Button("Erase record")) Act(c, EraseRecordAction(slope_));
    if (Button("KillAllGondolas")) Act(c, EditorCommandAction(TEditorCommand::KillAllGondolas));
}

void TSKIEditorWindow::DrawPaint(const TContext& c) {
    const TSKIEngine& e = c.Engine;
    ImGui::TextUnformatted("Tool");
    for (int k = 0; k < int(std::size(kPaintTools)); ++k) {
        if (ImGui::Selectable(kPaintTools[k].Name, tool_ == k)) {
            tool_ = k;
            const TSKITool tool = kPaintTools[k].Tool;
            c.ToolState.HouseIndex = house_;
            c.Tools.StartEditorTool(tool);
            Act(c, PaintDisplayAction(tool));
        }
        probe::LastItem("tool", kPaintTools[k].Name);
    }
    ImGui::SliderInt("House", &house_, 0, 9);
    c.ToolState.HouseIndex = house_;
    ImGui::Checkbox("Change house", &c.ToolState.ChangeHouse);
    ImGui::Separator();
    ImGui::SliderInt("Grain", &grain_, 0, 18);
    if (Button("Reset blocked")) Act(c, ResetBlockedAction(grain_));
    int i = 0, j = 0;
    FocusCell(e, i, j);
    if (Button("Snow peaks") && e.HasGrid() && TSKIWorld::CellInGrid(i, j))
        Act(c, SnowPeaksAction(i, j));
    ImGui::SameLine();
    if (Button("Flood snow")) Act(c, FloodSnowAction(i, j));
    ImGui::SameLine();
    if (Button("Flood blocked")) {
        const TFloodBlocked what = tool_ == 0   ? TFloodBlocked::Block
                                   : tool_ == 1 ? TFloodBlocked::Free
                                                : TFloodBlocked::Leave;
        Act(c, FloodBlockedAction(i, j, what));
    }
    if (Button("Import road")) OpenDialog(TPending::ImportRoad, c);
    if (ImGui::Selectable(treesText_.c_str()))
        treesText_ = "Num. of trees: " + std::to_string(e.CountTrees());
    if (Button("Cut all")) Act(c, EditorCommandAction(TEditorCommand::CutAllTrees));
    ImGui::SameLine();
    if (Button("Delete all houses")) Act(c, EditorCommandAction(TEditorCommand::DeleteAllHouses));
}

}  // namespace vallorn
