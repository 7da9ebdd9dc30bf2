#include "ui/sandbox_window.h"

#include <string>

#include <imgui.h>

#include "ui/probe.h"
#include "ui/title_screen.h"

namespace vallorn {

namespace {

constexpr const char* kHints[6] = {
    "Unlimited - play without restrictions, unlimited money and skiers",
    "Very easy",
    "Easy",
    "Medium",
    "Hard",
    "Very hard"};

}  // namespace

void TSKISandboxWindow::LoadPictures(const std::filesystem::path& dataFolder) {
    data_ = dataFolder;
    for (int d = 0; d < 6; ++d) {
        lit_[size_t(d)].Load(dataFolder / ("star" + std::to_string(d) + ".bmp"));
        unlit_[size_t(d)].Load(dataFolder / ("starOFF" + std::to_string(d) + ".bmp"));
    }
}

void TSKISandboxWindow::Show(const TSKIProfile& profile) {
    rows_ = SandboxRows(profile);
    selected_ = 0;
    difficulty_ = 1;
    thumbnail_.Clear();
    Visible = raise_ = true;
}

TSKISandboxWindow::TResult TSKISandboxWindow::Draw(const TSKIProfile& profile, float viewWidth,
                                                   float viewHeight, float scale) {
    TResult result;
    if (!Visible) return result;
    PlaceCentred(620 * scale, 520 * scale, viewWidth, viewHeight, raise_);
    bool open = true;
    if (ImGui::Begin("Sandbox game", &open,
                     ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoSavedSettings)) {
        probe::Window("Sandbox game");
        KeepWindowInFront();
        const float listHeight = 280 * scale;
        // The maps and the difficulty completed on each: one row each, so that both columns
        // scroll and select together.
        const ImGuiTableFlags table =
            ImGuiTableFlags_ScrollY | ImGuiTableFlags_BordersOuter | ImGuiTableFlags_RowBg;
        if (ImGui::BeginTable("maps", 2, table, ImVec2(330 * scale, listHeight))) {
            ImGui::TableSetupScrollFreeze(0, 1);
            ImGui::TableSetupColumn("Scenario map", ImGuiTableColumnFlags_WidthStretch);
            ImGui::TableSetupColumn("Completed on diffuculty", ImGuiTableColumnFlags_WidthFixed);
            ImGui::TableHeadersRow();
            for (size_t i = 0; i < rows_.size(); ++i) {
                ImGui::TableNextRow();
                ImGui::TableNextColumn();
                ImGui::PushID(int(i));
                if (ImGui::Selectable(rows_[i].Name.c_str(), selected_ == int(i),
                                      ImGuiSelectableFlags_SpanAllColumns))
                    selected_ = int(i);
                probe::LastItem("map", rows_[i].Name);
                ImGui::PopID();
                ImGui::TableNextColumn();
                ImGui::TextUnformatted(rows_[i].Completed.c_str());
            }
            ImGui::EndTable();
        }
        ImGui::SameLine();
        if (selected_ >= 0 && selected_ < int(rows_.size())) {
            const int map = rows_[size_t(selected_)].Map;
            thumbnail_.Load(data_ / ("ThMap" + std::to_string(map) + ".bmp"));
            probe::Value("sandbox_map", double(map));
        }
        if (thumbnail_.Loaded()) ImGui::Image(thumbnail_.Id(), ImVec2(240 * scale, 240 * scale));
        // Difficulty buttons 1..5 and the unlimited one, as the profile allows.
        for (int d : {1, 2, 3, 4, 5, 0}) {
            if (!SandboxDifficultyShown(profile, d)) continue;
            ImGui::PushID(d);
            TSKIPicture& picture = d == difficulty_ ? lit_[size_t(d)] : unlit_[size_t(d)];
            bool pressed = false;
            if (picture.Loaded()) {
                pressed = ImGui::ImageButton(picture.Id(), ImVec2(48 * scale, 48 * scale));
            } else {
                pressed = ImGui::Button(d == 0 ? "U" : std::to_string(d).c_str(),
                                        ImVec2(54 * scale, 54 * scale));
            }
            probe::LastItem("difficulty", kHints[d]);
            if (ImGui::IsItemHovered()) ImGui::SetTooltip("%s", kHints[d]);
            if (pressed) difficulty_ = d;
            ImGui::PopID();
            ImGui::SameLine();
        }
        ImGui::NewLine();
        const std::string label = SandboxDifficultyLabel(difficulty_);
        ImGui::TextUnformatted(label.c_str());
        probe::Value("sandbox_difficulty", label);
        ImGui::TextWrapped(
            "Note: completing all maps on any difficulty or any map on highest difficulty "
            "unlocks bonus mission.");
        if (ImGui::Button("Play", ImVec2(100 * scale, 0)) && selected_ >= 0 &&
            selected_ < int(rows_.size())) {
            result.PlayMap = rows_[size_t(selected_)].Map;
            result.Difficulty = difficulty_;
        }
        probe::LastItem("button", "Play");
    }
    ImGui::End();
    if (!open) result.Closed = true;
    return result;
}

}  // namespace vallorn
