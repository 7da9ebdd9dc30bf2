#include "ui/load_save_window.h"

#include <imgui.h>

#include "missions/missions.h"
#include "ui/probe.h"
#include "ui/title_screen.h"

namespace vallorn {

void TSKILoadSaveWindow::Fill(const std::string& profileName,
                              const std::filesystem::path& profileFolder) {
    profile_ = profileName;
    names_ = SavedGameNames(profileFolder);
    selected_ = -1;
    Visible = raise_ = true;
}

TSKILoadSaveWindow::TResult TSKILoadSaveWindow::Draw(bool canSave, float viewWidth,
                                                     float viewHeight, float scale) {
    TResult result;
    if (!Visible) return result;
    PlaceCentred(360 * scale, 360 * scale, viewWidth, viewHeight, raise_, true);
    bool open = true;
    const ImGuiWindowFlags flags =
        ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoResize | ImGuiWindowFlags_NoSavedSettings;
    if (ImGui::Begin("Load and save game", &open, flags)) {
        probe::Window("Load and save game");
        KeepWindowInFront();
        ImGui::Text("Profile: %s", profile_.c_str());
        const float buttons = ImGui::GetFrameHeightWithSpacing() + 4 * scale;
        if (ImGui::BeginListBox("##games", ImVec2(-1, -buttons))) {
            for (int k = 0; k <= int(names_.size()); ++k) {
                const std::string& label =
                    k == 0 ? std::string(kCreateNewSave) : names_[size_t(k - 1)];
                ImGui::PushID(k);
                if (ImGui::Selectable(label.c_str(), selected_ == k)) selected_ = k;
                probe::LastItem("entry", label);
                ImGui::PopID();
            }
            ImGui::EndListBox();
        }
        const bool any = selected_ >= 0;
        const bool game = selected_ > 0 && selected_ <= int(names_.size());
        const ImVec2 button(100 * scale, 0);
        const auto act = [&](const char* label, bool enabled, TAction action) {
            ImGui::BeginDisabled(!enabled);
            if (ImGui::Button(label, button)) result.Action = action;
            probe::LastItem("button", label, enabled);
            ImGui::EndDisabled();
        };
        act("Save", any && canSave, TAction::Save);
        ImGui::SameLine();
        act("Load", game, TAction::Load);
        ImGui::SameLine();
        act("Delete", game, TAction::Delete);
        if (game) result.Name = names_[size_t(selected_ - 1)];
    }
    ImGui::End();
    if (!open) result.Action = TAction::Close;
    return result;
}

}  // namespace vallorn
