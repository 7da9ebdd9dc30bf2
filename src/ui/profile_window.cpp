#include "ui/profile_window.h"

#include <imgui.h>

#include "ui/probe.h"
#include "ui/title_screen.h"

namespace vallorn {

void TSKIProfileWindow::Fill(std::vector<std::string> names, const std::string& current) {
    names_ = std::move(names);
    shown_ = current;
    selected_ = -1;
    raise_ = true;
}

TSKIProfileWindow::TResult TSKIProfileWindow::Draw(bool hasProfile, float viewWidth,
                                                   float viewHeight, float scale) {
    TResult result;
    if (!Visible) return result;
    PlaceCentred(320 * scale, 300 * scale, viewWidth, viewHeight, raise_);
    bool open = true;
    if (ImGui::Begin("Profile", hasProfile ? &open : nullptr,
                     ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoSavedSettings)) {
        probe::Window("Profile");
        KeepWindowInFront();
        ImGui::TextUnformatted("Current profile:");
        ImGui::SameLine();
        ImGui::TextUnformatted(shown_.c_str());
        probe::Value("profile_shown", shown_);
        const float buttons = ImGui::GetFrameHeightWithSpacing() + 4 * scale;
        if (ImGui::BeginListBox("##profiles", ImVec2(-1, -buttons))) {
            for (size_t i = 0; i < names_.size(); ++i) {
                // Clicking an entry shows its name without making it current.
                if (ImGui::Selectable(names_[i].c_str(), selected_ == int(i))) {
                    selected_ = int(i);
                    shown_ = names_[i];
                }
                probe::LastItem("entry", names_[i]);
            }
            ImGui::EndListBox();
        }
        const bool any = selected_ >= 0 && selected_ < int(names_.size());
        const ImVec2 button(95 * scale, 0);
        if (ImGui::Button("Create new", button)) result.Action = TAction::Create;
        probe::LastItem("button", "Create new");
        ImGui::SameLine();
        ImGui::BeginDisabled(!any);
        if (ImGui::Button("Delete", button)) result.Action = TAction::Delete;
        probe::LastItem("button", "Delete", any);
        ImGui::SameLine();
        if (ImGui::Button("Select", button)) result.Action = TAction::Select;
        probe::LastItem("button", "Select", any);
        ImGui::EndDisabled();
        if (any && result.Action != TAction::Create) result.Name = names_[size_t(selected_)];
    }
    ImGui::End();
    if (!open) result.Action = TAction::Close;
    return result;
}

}  // namespace vallorn
