#include "ui/campaign_window.h"

#include <algorithm>

#include <imgui.h>

#include "ui/probe.h"
#include "ui/title_screen.h"

namespace vallorn {

namespace {

constexpr float kMapWidth = 1024, kMapHeight = 768;
constexpr float kPanelWidth = 123, kPanelHeight = 74;  // the least a panel takes on the map
// The most: the shipped map keeps 196 map pixels between the left edges of neighbours.
constexpr float kPanelRoom = 188;

float TextWidth(const ImFont* font, float size, const char* text) {
    return const_cast<ImFont*>(font)->CalcTextSizeA(size, 1e9f, 0, text).x;
}

}  // namespace

const char* FirstButtonText(const TSKIMissionPanel& p) {
    return p.Resume ? "Restart" : p.Completed ? "Replay" : "Start";
}

TSKIMissionPanelLayout LayoutMissionPanel(const ImFont* font, float fontSize, float mapScale,
                                          const std::string& name, const TSKIMissionPanel& p) {
    // Every measure is a share of the type size, so the widest line at a size tells the size
    // at which it fills the room.
    auto widest = [&](float f) {
        const float margin = 0.5f * f, pad = 0.5f * f;
        const float nameWidth = TextWidth(font, f, name.c_str()) + 1;  // bold: drawn twice
        const float status = TextWidth(font, f, "Status: Completed");
        float buttons = TextWidth(font, f, FirstButtonText(p)) + 2 * pad;
        if (p.Resume) {
            buttons = 2 * std::max(buttons, TextWidth(font, f, "Resume") + 2 * pad) + 0.25f * f;
        }
        return std::max({nameWidth, status, buttons}) + 2 * margin;
    };
    TSKIMissionPanelLayout l;
    const float room = kPanelRoom * mapScale;
    l.Font = fontSize;
    const float needed = widest(fontSize);
    if (needed > room) l.Font = fontSize * room / needed;
    const float f = l.Font;
    l.Margin = 0.5f * f;
    l.Gap = 0.25f * f;
    l.ButtonHeight = 1.6f * f;
    l.Width = std::min(room, std::max(kPanelWidth * mapScale, widest(f)));
    l.Height = std::max(kPanelHeight * mapScale, l.Margin * 2 + 2.5f * f + l.Gap + l.ButtonHeight);
    const float row = l.Width - 2 * l.Margin;
    l.ButtonWidth = p.Resume ? (row - l.Gap) / 2 : row;
    return l;
}

std::vector<TSKIMissionPanel> MissionPanels(const TSKIMissions& missions) {
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

void TSKICampaignWindow::Rebuild(const TSKIMissions& missions) {
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
        // One type size for every panel: the largest at which all their texts fit.
        float fontSize = ImGui::GetFontSize();
        for (const TSKIMissionPanel& p : panels_) {
            if (p.Index >= profile.MissionCount()) continue;
            const std::string& name = profile.Missions[size_t(p.Index)].Name;
            fontSize = LayoutMissionPanel(ImGui::GetFont(), fontSize, fit, name, p).Font;
        }
        for (const TSKIMissionPanel& p : panels_) {
            if (p.Index >= profile.MissionCount()) continue;
            const TSKIMissionData& m = profile.Missions[size_t(p.Index)];
            const float s = fit;
            const TSKIMissionPanelLayout l =
                LayoutMissionPanel(ImGui::GetFont(), fontSize, s, m.Name, p);
            ImGui::SetCursorScreenPos(
                ImVec2(origin.x + float(m.MapLeft) * s, origin.y + float(m.MapTop) * s));
            ImGui::PushID(p.Index);
            ImGui::PushStyleColor(ImGuiCol_ChildBg, ImVec4(0.83f, 0.82f, 0.78f, 0.95f));
            ImGui::PushStyleColor(ImGuiCol_Text, ImVec4(0, 0, 0, 1));
            ImGui::BeginChild("panel", ImVec2(l.Width, l.Height), false,
                              ImGuiWindowFlags_NoScrollbar);
            ImGui::SetWindowFontScale(1.0f);  // the scale stays with the panel between frames
            ImGui::SetWindowFontScale(l.Font / ImGui::GetFontSize());
            const ImVec2 at = ImGui::GetCursorScreenPos();
            const ImVec2 min = ImGui::GetWindowPos();
            probe::Item("panel", m.Name, min.x, min.y, min.x + l.Width, min.y + l.Height);
            ImDrawList* draw = ImGui::GetWindowDrawList();
            ImFont* font = ImGui::GetFont();
            // The name in bold: drawn twice, one pixel apart.
            const float x = at.x + l.Margin;
            float y = at.y + l.Margin;
            draw->AddText(font, l.Font, ImVec2(x, y), IM_COL32(0, 0, 0, 255), m.Name.c_str());
            draw->AddText(font, l.Font, ImVec2(x + 1, y), IM_COL32(0, 0, 0, 255), m.Name.c_str());
            y += 1.25f * l.Font;
            draw->AddText(font, l.Font, ImVec2(x, y), IM_COL32(0, 0, 0, 255), "Status:");
            draw->AddText(font, l.Font, ImVec2(x + TextWidth(font, l.Font, "Status: "), y),
                          p.Completed ? IM_COL32(0, 128, 0, 255) : IM_COL32(0, 0, 0, 255),
                          p.Completed ? "Completed" : "Unlocked");
            y += 1.25f * l.Font + l.Gap;
            ImGui::PushStyleColor(ImGuiCol_Text, ImVec4(1, 1, 1, 1));
            ImGui::PushStyleVar(ImGuiStyleVar_FramePadding, ImVec2(0.5f * l.Font, 0.3f * l.Font));
            ImGui::SetCursorScreenPos(ImVec2(x, y));
            const char* first = FirstButtonText(p);
            if (ImGui::Button(first, ImVec2(l.ButtonWidth, l.ButtonHeight)))
                result.Start = p.Index, result.Resume = false;
            probe::LastItem("button", m.Name + ": " + first);
            if (p.Resume) {
                ImGui::SetCursorScreenPos(ImVec2(x + l.ButtonWidth + l.Gap, y));
                if (ImGui::Button("Resume", ImVec2(l.ButtonWidth, l.ButtonHeight)))
                    result.Start = p.Index, result.Resume = true;
                probe::LastItem("button", m.Name + ": Resume");
            }
            ImGui::PopStyleVar();
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
