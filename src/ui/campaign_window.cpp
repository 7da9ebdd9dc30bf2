#include "ui/campaign_window.h"

#include <algorithm>

#include <imgui.h>

#include "ui/probe.h"
#include "ui/title_screen.h"

namespace vallorn {

namespace {

constexpr float kMapWidth = 1024, kMapHeight = 768;
constexpr float kPanelWidth = 123, kPanelHeight = 74;

}  // namespace

std::vector<TSKIMissionPanel> MissionPanels(TSKIMissions& missions) {
    std::vector<TSKIMissionPanel> panels;
    const TSKIProfile& profile = missions.Profile();
    for (int i = 0; i < profile.MissionCount(); ++i) {
        const TSKIMissionData& m = profile.Missions[size_t(i)];
        if (m.State == kMissionLocked) continue;
        panels.push_back({i, m.State == kMissionCompleted, missions.HasAutoSave(i)});
    }
    return panels;
}

void TSKICampaignWindow::LoadPicture(const std::filesystem::path& dataFolder) {
    background_.Load(dataFolder / "campaign.bmp");
}

void TSKICampaignWindow::Rebuild(TSKIMissions& missions) {
    panels_ = MissionPanels(missions);
    Visible = raise_ = true;
}

TSKICampaignWindow::TResult TSKICampaignWindow::Draw(const TSKIProfile& profile, float viewWidth,
                                                     float viewHeight, float scale) {
    TResult result;
    if (!Visible) return result;
    // The map at its own size, smaller when the view is: panels keep their places on it.
    const float title = ImGui::GetFrameHeight();
    const float fit = std::min({1.0f, viewWidth / kMapWidth, (viewHeight - title) / kMapHeight});
    const ImVec2 map(kMapWidth * fit, kMapHeight * fit);
    ImGui::SetNextWindowPos(ImVec2((viewWidth - map.x) / 2, (viewHeight - map.y - title) / 2),
                            ImGuiCond_Always);
    ImGui::SetNextWindowSize(ImVec2(map.x, map.y + title), ImGuiCond_Always);
    if (raise_) ImGui::SetNextWindowFocus();
    raise_ = false;
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(0, 0));
    bool open = true;
    const ImGuiWindowFlags flags = ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoResize |
                                   ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoSavedSettings |
                                   ImGuiWindowFlags_NoScrollbar;
    if (ImGui::Begin("Campaign", &open, flags)) {
        probe::Window("Campaign");
        KeepWindowInFront();
        const ImVec2 origin = ImGui::GetCursorScreenPos();
        if (background_.Loaded()) {
            ImGui::GetWindowDrawList()->AddImage(background_.Id(), origin,
                                                 ImVec2(origin.x + map.x, origin.y + map.y));
        }
        ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(0, 0));
        for (const TSKIMissionPanel& p : panels_) {
            if (p.Index >= profile.MissionCount()) continue;
            const TSKIMissionData& m = profile.Missions[size_t(p.Index)];
            const float s = fit;
            ImGui::SetCursorScreenPos(
                ImVec2(origin.x + float(m.MapLeft) * s, origin.y + float(m.MapTop) * s));
            ImGui::PushID(p.Index);
            ImGui::PushStyleColor(ImGuiCol_ChildBg, ImVec4(0.83f, 0.82f, 0.78f, 0.95f));
            ImGui::PushStyleColor(ImGuiCol_Text, ImVec4(0, 0, 0, 1));
            ImGui::BeginChild("panel", ImVec2(kPanelWidth * s, kPanelHeight * s), false,
                              ImGuiWindowFlags_NoScrollbar);
            const ImVec2 at = ImGui::GetCursorScreenPos();
            const ImVec2 min = ImGui::GetWindowPos();
            probe::Item("panel", m.Name, min.x, min.y, min.x + kPanelWidth * s,
                        min.y + kPanelHeight * s);
            ImDrawList* draw = ImGui::GetWindowDrawList();
            // The name in bold: drawn twice, one pixel apart.
            draw->AddText(ImVec2(at.x + 8 * s, at.y + 8 * s), IM_COL32(0, 0, 0, 255),
                          m.Name.c_str());
            draw->AddText(ImVec2(at.x + 9 * s, at.y + 8 * s), IM_COL32(0, 0, 0, 255),
                          m.Name.c_str());
            // The status line in the small type the panel's width was drawn for.
            const float small = 11.0f * s;
            draw->AddText(ImGui::GetFont(), small, ImVec2(at.x + 8 * s, at.y + 24 * s),
                          IM_COL32(0, 0, 0, 255), "Status:");
            draw->AddText(ImGui::GetFont(), small, ImVec2(at.x + 49 * s, at.y + 24 * s),
                          p.Completed ? IM_COL32(0, 128, 0, 255) : IM_COL32(0, 0, 0, 255),
                          p.Completed ? "Completed" : "Unlocked");
            ImGui::PushStyleColor(ImGuiCol_Text, ImVec4(1, 1, 1, 1));
            ImGui::SetCursorScreenPos(ImVec2(at.x + 4 * s, at.y + 44 * s));
            const char* first = p.Resume ? "Restart" : p.Completed ? "Replay" : "Start";
            if (ImGui::Button(first, ImVec2((p.Resume ? 57 : 115) * s, 25 * s)))
                result.Start = p.Index, result.Resume = false;
            probe::LastItem("button", m.Name + ": " + first);
            if (p.Resume) {
                ImGui::SetCursorScreenPos(ImVec2(at.x + 62 * s, at.y + 44 * s));
                if (ImGui::Button("Resume", ImVec2(57 * s, 25 * s)))
                    result.Start = p.Index, result.Resume = true;
                probe::LastItem("button", m.Name + ": Resume");
            }
            ImGui::PopStyleColor();
            ImGui::EndChild();
            ImGui::PopStyleColor(2);
            ImGui::PopID();
        }
        ImGui::PopStyleVar();
    }
    ImGui::End();
    ImGui::PopStyleVar();
    (void)scale;
    if (!open) result.Closed = true;
    return result;
}

}  // namespace vallorn
