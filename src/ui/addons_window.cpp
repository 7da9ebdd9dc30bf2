#include "ui/addons_window.h"

#include <imgui.h>

#include "ui/probe.h"
#include "ui/title_screen.h"

namespace vallorn {

void TSKIAddonsWindow::Show(const TSKIFolders& folders) {
    folders_ = folders;
    names_ = ListAddons(folders);
    selected_ = -1;
    prefix_.clear();
    picture_.Clear();
    description_.clear();
    Visible = raise_ = true;
}

void TSKIAddonsWindow::Select(int row) {
    selected_ = row;
    // Add-ons whose names begin alike share their preview and description.
    const std::string prefix = AddonPrefix(names_[size_t(row)]);
    if (prefix == prefix_) return;
    prefix_ = prefix;
    const std::filesystem::path picture = AddonPicture(folders_, prefix);
    if (picture.empty() || !picture_.Load(picture)) picture_.Clear();
    description_ = AddonDescription(folders_, prefix);
}

TSKIAddonsWindow::TResult TSKIAddonsWindow::Draw(float viewWidth, float viewHeight, float scale) {
    TResult result;
    if (!Visible) return result;
    PlaceCentred(560 * scale, 420 * scale, viewWidth, viewHeight, raise_);
    bool open = true;
    if (ImGui::Begin("Addons", &open,
                     ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoSavedSettings)) {
        probe::Window("Addons");
        KeepWindowInFront();
        ImGui::BeginGroup();
        ImGui::TextUnformatted("Select map");
        const float bottom = 2 * ImGui::GetFrameHeightWithSpacing();
        if (ImGui::BeginListBox("##addons", ImVec2(200 * scale, -bottom))) {
            for (size_t i = 0; i < names_.size(); ++i) {
                if (ImGui::Selectable(names_[i].c_str(), selected_ == int(i))) Select(int(i));
                probe::LastItem("entry", names_[i]);
            }
            ImGui::EndListBox();
        }
        ImGui::EndGroup();
        ImGui::SameLine();
        ImGui::BeginGroup();
        if (picture_.Loaded()) ImGui::Image(picture_.Id(), ImVec2(300 * scale, 200 * scale));
        ImGui::InputTextMultiline("##description", description_.data(), description_.size() + 1,
                                  ImVec2(300 * scale, -bottom), ImGuiInputTextFlags_ReadOnly);
        probe::Value("addon_description", description_);
        ImGui::EndGroup();
        const bool any = selected_ >= 0 && selected_ < int(names_.size());
        ImGui::BeginDisabled(!any);
        if (ImGui::Button("Play", ImVec2(100 * scale, 0)) && any)
            result.Play = names_[size_t(selected_)];
        probe::LastItem("button", "Play", any);
        ImGui::EndDisabled();
        // The link: blue, underlined, a hand over it.
        const char* link = "Check internet for new addons";
        ImGui::PushStyleColor(ImGuiCol_Text, ImVec4(0.45f, 0.65f, 1.0f, 1));
        ImGui::TextUnformatted(link);
        ImGui::PopStyleColor();
        probe::LastItem("link", link);
        const ImVec2 a = ImGui::GetItemRectMin(), b = ImGui::GetItemRectMax();
        ImGui::GetWindowDrawList()->AddLine(ImVec2(a.x, b.y), b, IM_COL32(115, 165, 255, 255));
        if (ImGui::IsItemHovered()) {
            ImGui::SetMouseCursor(ImGuiMouseCursor_Hand);
            ImGui::SetTooltip("Requires internet connection");
        }
        if (ImGui::IsItemClicked()) result.Link = true;
    }
    ImGui::End();
    if (!open) result.Closed = true;
    return result;
}

}  // namespace vallorn
