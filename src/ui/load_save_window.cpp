#include "ui/load_save_window.h"

#include <imgui.h>

#include <algorithm>

#include "ui/probe.h"
#include "ui/title_screen.h"

namespace vallorn {

namespace {

// How an entry reads in the list: the automatic saves under their folder's name.
std::string EntryLabel(const TSKISavedGame& game) {
    return game.Auto ? "auto/" + game.Name : game.Name;
}

}  // namespace

void TSKILoadSaveWindow::Fill(const std::string& profileName, const TSKIFolders& folders) {
    profile_ = profileName;
    games_ = ListSavedGames(folders, profileName);
    selected_ = -1;
    Visible = raise_ = true;
}

size_t TSKILoadSaveWindow::Entries() const {
    return 1 + size_t(std::count_if(games_.begin(), games_.end(),
                                    [](const TSKISavedGame& g) { return !g.Auto; }));
}

TSKILoadSaveWindow::TResult TSKILoadSaveWindow::Draw(bool canSave, float viewWidth,
                                                     float viewHeight, float scale) {
    TResult result;
    if (!Visible) return result;
    PlaceCentred(600 * scale, 420 * scale, viewWidth, viewHeight, raise_, true);
    bool open = true;
    const ImGuiWindowFlags flags = ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoResize |
                                   ImGuiWindowFlags_NoSavedSettings | ImGuiWindowFlags_NoScrollbar |
                                   ImGuiWindowFlags_NoScrollWithMouse;
    if (ImGui::Begin("Load and save game", &open, flags)) {
        probe::Window("Load and save game");
        KeepWindowInFront();
        ImGui::Text("Profile: %s", profile_.c_str());
        const TSKISavedGame* chosen = selected_ > 0 && selected_ <= int(games_.size())
                                          ? &games_[size_t(selected_ - 1)]
                                          : nullptr;
        // Below the list: the reason of a greyed entry (two lines) and the buttons.
        const float below = ImGui::GetFrameHeightWithSpacing() +
                            2 * ImGui::GetTextLineHeightWithSpacing() + 6 * scale;
        const ImGuiTableFlags table = ImGuiTableFlags_ScrollY | ImGuiTableFlags_RowBg |
                                      ImGuiTableFlags_BordersOuter | ImGuiTableFlags_SizingFixedFit;
        if (ImGui::BeginTable("##games", 3, table, ImVec2(-1, -below))) {
            ImGui::TableSetupScrollFreeze(0, 1);
            ImGui::TableSetupColumn("Saved game", ImGuiTableColumnFlags_WidthStretch);
            ImGui::TableSetupColumn("Park", ImGuiTableColumnFlags_WidthFixed, 150 * scale);
            ImGui::TableSetupColumn("Saved on", ImGuiTableColumnFlags_WidthFixed, 120 * scale);
            ImGui::TableHeadersRow();
            const ImVec4 greyed = ImGui::GetStyle().Colors[ImGuiCol_TextDisabled];
            for (int k = 0; k <= int(games_.size()); ++k) {
                const TSKISavedGame* game = k == 0 ? nullptr : &games_[size_t(k - 1)];
                const std::string label = game ? EntryLabel(*game) : std::string(kCreateNewSave);
                const bool loadable = !game || game->Problem.empty();
                ImGui::TableNextRow();
                ImGui::TableNextColumn();
                ImGui::PushID(k);
                if (!loadable) ImGui::PushStyleColor(ImGuiCol_Text, greyed);
                if (ImGui::Selectable(label.c_str(), selected_ == k,
                                      ImGuiSelectableFlags_SpanAllColumns))
                    selected_ = k;
                probe::LastItem("entry", label, loadable);
                const bool hovered = ImGui::IsItemHovered();
                if (game) {
                    ImGui::TableNextColumn();
                    ImGui::TextUnformatted(game->Park.c_str());
                    ImGui::TableNextColumn();
                    ImGui::TextUnformatted(SavedGameTimeText(game->Time).c_str());
                }
                if (!loadable) ImGui::PopStyleColor();
                if (!loadable && hovered)
                    ImGui::SetTooltip("Cannot be loaded: %s", game->Problem.c_str());
                ImGui::PopID();
            }
            ImGui::EndTable();
        }
        const std::string problem =
            chosen && !chosen->Problem.empty() ? "Cannot be loaded: " + chosen->Problem : "";
        ImGui::PushTextWrapPos(0);
        ImGui::TextUnformatted(problem.c_str());
        ImGui::PopTextWrapPos();
        probe::Value("save_problem", problem);
        ImGui::SetCursorPosY(ImGui::GetWindowHeight() - ImGui::GetFrameHeightWithSpacing() -
                             2 * scale);
        const ImVec2 button(100 * scale, 0);
        const auto act = [&](const char* label, bool enabled, TAction action) {
            ImGui::BeginDisabled(!enabled);
            if (ImGui::Button(label, button)) result.Action = action;
            probe::LastItem("button", label, enabled);
            ImGui::EndDisabled();
        };
        // The automatic saves are the game's: loaded and deleted, never written over.
        act("Save", (selected_ == 0 || (chosen && !chosen->Auto)) && canSave, TAction::Save);
        ImGui::SameLine();
        act("Load", chosen && chosen->Problem.empty(), TAction::Load);
        ImGui::SameLine();
        act("Delete", chosen != nullptr, TAction::Delete);
        if (chosen) {
            result.Name = EntryLabel(*chosen);
            result.Path = chosen->Path;
        }
    }
    ImGui::End();
    if (!open) result.Action = TAction::Close;
    return result;
}

}  // namespace vallorn
