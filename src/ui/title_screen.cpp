#include "ui/title_screen.h"

#include <algorithm>
#include <array>

#include <imgui.h>
#include <imgui_internal.h>

#include "ui/probe.h"

namespace vallorn {

namespace {

struct TEntry {
    TSKITitleEntry Entry;
    const char* Label;
    const char* Hint;
};

constexpr std::array<TEntry, 9> kEntries{{
    {TSKITitleEntry::Campaign, "Campaign", "Play campaign"},
    {TSKITitleEntry::Sandbox, "Sandbox", "Play sandbox game"},
    {TSKITitleEntry::Addons, "Addons", "Play addons"},
    {TSKITitleEntry::LoadSave, "Load & Save", "Load or save game"},
    {TSKITitleEntry::Profile, "Profile:", "Manage profiles"},
    {TSKITitleEntry::Help, "Help", "Read help"},
    {TSKITitleEntry::Options, "Options", "Change settings"},
    {TSKITitleEntry::Credits, "Credits", "View credits"},
    {TSKITitleEntry::Exit, "Exit game", "Exit game"},
}};

}  // namespace

void KeepWindowInFront() {
    // A modal box stays above everything.
    if (ImGui::GetTopMostPopupModal()) return;
    ImGui::BringWindowToDisplayFront(ImGui::GetCurrentWindow());
}

void PlaceCentred(float width, float height, float viewWidth, float viewHeight, bool& raise,
                  bool alwaysSized) {
    ImGui::SetNextWindowPos(ImVec2((viewWidth - width) / 2, (viewHeight - height) / 2),
                            ImGuiCond_Appearing);
    ImGui::SetNextWindowSize(ImVec2(width, height),
                             alwaysSized ? ImGuiCond_Always : ImGuiCond_Appearing);
    if (raise) ImGui::SetNextWindowFocus();
    raise = false;
}

TSKITitleEntry TSKITitleScreen::Draw(const std::string& profileName, bool mayClose, float viewWidth,
                                     float viewHeight, float scale) {
    TSKITitleEntry chosen = TSKITitleEntry::None;
    if (!Visible) return chosen;
    const float fontScale = 1.6f;
    const ImGuiStyle& style = ImGui::GetStyle();
    const float line = ImGui::GetFontSize() * fontScale + 8 * scale;
    const ImVec2 size(260 * scale, (line + style.ItemSpacing.y) * float(kEntries.size()) +
                                       ImGui::GetFrameHeight() + 2 * style.WindowPadding.y);
    // At the left of the view, clear of the help window in its middle.
    ImGui::SetNextWindowPos(
        ImVec2(std::min(40 * scale, viewWidth - size.x), (viewHeight - size.y) / 2),
        ImGuiCond_Always);
    ImGui::SetNextWindowSize(size, ImGuiCond_Always);
    if (raise_) ImGui::SetNextWindowFocus();
    raise_ = false;
    bool open = true;
    const ImGuiWindowFlags flags = ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_NoResize |
                                   ImGuiWindowFlags_NoMove | ImGuiWindowFlags_NoSavedSettings |
                                   ImGuiWindowFlags_NoScrollbar;
    if (ImGui::Begin("Game menu", mayClose ? &open : nullptr, flags)) {
        probe::Window("Game menu");
        KeepWindowInFront();
        ImGui::SetWindowFontScale(fontScale);
        ImDrawList* draw = ImGui::GetWindowDrawList();
        for (const TEntry& e : kEntries) {
            const std::string text = e.Entry == TSKITitleEntry::Profile
                                         ? std::string(e.Label) + " " + profileName
                                         : std::string(e.Label);
            ImGui::PushID(e.Label);
            const ImVec2 at = ImGui::GetCursorScreenPos();
            const ImVec2 textSize = ImGui::CalcTextSize(text.c_str());
            const bool pressed = ImGui::InvisibleButton("entry", ImVec2(size.x - 30 * scale, line));
            const bool hover = ImGui::IsItemHovered();
            probe::LastItem("entry", e.Label);
            if (hover) ImGui::SetTooltip("%s", e.Hint);
            // The label, and one pixel right and below it its shadow.
            const ImVec2 pos(at.x + 4 * scale, at.y + (line - textSize.y) / 2);
            draw->AddText(ImVec2(pos.x + 1, pos.y + 1), IM_COL32(0, 0, 0, 255), text.c_str());
            draw->AddText(pos, hover ? IM_COL32(255, 220, 60, 255) : IM_COL32(235, 240, 255, 255),
                          text.c_str());
            if (hover) {
                draw->AddLine(ImVec2(pos.x, pos.y + textSize.y),
                              ImVec2(pos.x + textSize.x, pos.y + textSize.y),
                              IM_COL32(255, 220, 60, 255));
            }
            ImGui::PopID();
            if (pressed) chosen = e.Entry;
        }
        ImGui::SetWindowFontScale(1.0f);
    }
    ImGui::End();
    if (!open) chosen = TSKITitleEntry::Close;
    return chosen;
}

}  // namespace vallorn
