#include "ui/display_window.h"

#include <algorithm>
#include <string>

#include <imgui.h>

#include "presentation/highlight.h"
#include "ui/judged_text.h"
#include "ui/probe.h"

namespace vallorn {

namespace {

struct TBox {
    const char* Caption;
    uint8_t Flag;
};
// In the order of the keys '1'..'8'.
constexpr TBox kBoxes[8] = {
    {"Long visibility", kDisplayLongVisibility},
    {"Slopes", kDisplaySlopes},
    {"Blocked terrain", kDisplayBlocked},
    {"Cursor snap", kDisplayCursorSnap},
    {"Blue-Red-Black", kDisplayBlueRedBlack},
    {"Trees", kDisplayTrees},
    {"Snow", kDisplaySnow},
    {"Skier info", kDisplaySkierInfo},
};

struct TMode {
    const char* Caption;
    const char* Hint;
};
constexpr TMode kModes[kHighlightModes] = {
    {"Nothing", ""},
    {"All closed", "Closed lifts and buildings"},
    {"Snowcannons", "Snowcannons and their effective range"},
    {"Snowcats", "Snowcats area of operation"},
    {"Restaurants", "Stalls, snowbars, kiosks and self-service restaurants"},
    {"Cots", "All cots"},
    {"Shelters", "All shelters"},
    {"Medical", "Ski patrols, rescue stations and hospitals"},
    {"Parking", "All parking places"},
    {"Service quality", "Color and beam width show service quality"},
    {"Profit", "Red in negative numbers, green profitable"},
    {"Too expensive", "Color represent customers satisfaction with price"},
    {"No customers", "No visitors whatsoever"},
    {"Price", "Beam width represents price"},
    {"Queues", "Beam width represents queue"},
};

// The skiers' flags: what each colour of the chosen property means, low to high.
constexpr const char* kFlags[9] = {"None",   "Happiness", "Cash",   "Cold",   "Spending limit",
                                   "Hunger", "Skill",     "Energy", "Injured"};
constexpr const char* kLegend[8][3] = {
    {"Unhappy", "Content", "Happy"},
    {"Poor", "Some money", "Rich"},
    {"Freezing", "Temperate", "Warm"},
    {"Low", "Medium", "High"},
    {"Hungry", "Content", "Full"},
    {"Beginner", "Intermediate", "Pro"},
    {"Exhausted", "Fresh", "Full of energy"},
    {"Injured", "", "Healthy"},
};

// Keeps a window inside the view: moved left or up so that its far edges are on screen.
void KeepOnScreen(float viewWidth, float viewHeight) {
    const ImVec2 pos = ImGui::GetWindowPos(), size = ImGui::GetWindowSize();
    const ImVec2 kept(std::max(0.0f, std::min(pos.x, viewWidth - size.x)),
                      std::max(0.0f, std::min(pos.y, viewHeight - size.y)));
    if (kept.x != pos.x || kept.y != pos.y) ImGui::SetWindowPos(kept);
}

}  // namespace

TSKIDisplayWindow::TClicks TSKIDisplayWindow::Draw(const TSKIViewState& view, float viewWidth,
                                                   float viewHeight, float scale) {
    TClicks clicks;
    if (!visible_) return clicks;
    // At the top right corner at first; the palette hangs below it.
    ImGui::SetNextWindowPos(ImVec2(viewWidth - 8 * scale, 8 * scale), ImGuiCond_FirstUseEver,
                            ImVec2(1, 0));
    if (raise_) ImGui::SetNextWindowFocus();
    raise_ = false;
    bool open = true;
    const ImGuiWindowFlags flags = ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_AlwaysAutoResize;
    if (ImGui::Begin("Display", &open, flags)) {
        probe::Window("Display");
        KeepOnScreen(viewWidth, viewHeight);
        const bool skierInfo = (view.DisplayFlags & kDisplaySkierInfo) != 0;
        for (int k = 0; k < 8; ++k) {
            bool on = (view.DisplayFlags & kBoxes[k].Flag) != 0;
            // Skier info holds the cursor snap off; the snap comes back with it.
            const bool disabled = kBoxes[k].Flag == kDisplayCursorSnap && skierInfo;
            if (disabled) on = false;
            ImGui::BeginDisabled(disabled);
            if (ImGui::Checkbox(kBoxes[k].Caption, &on)) clicks.ToggledBox = k;
            ImGui::EndDisabled();
            probe::LastItem("check", kBoxes[k].Caption, !disabled);
            if (ImGui::IsItemHovered(ImGuiHoveredFlags_AllowWhenDisabled))
                ImGui::SetTooltip("Key shortcut '%d'", k + 1);
        }
        ImGui::Separator();
        int mode = std::min<int>(view.OverlayMode, 8);
        ImGui::SetNextItemWidth(160 * scale);
        if (ImGui::BeginCombo("Skier flags", kFlags[mode])) {
            for (int m = 0; m < 9; ++m) {
                if (ImGui::Selectable(kFlags[m], m == mode)) clicks.SkierFlags = uint8_t(m);
                probe::LastItem("flag", kFlags[m]);
            }
            ImGui::EndCombo();
        }
        probe::LastItem("combo", "Skier flags");
        if (ImGui::IsItemHovered()) ImGui::SetTooltip("Marks each skier in the view by colour");
        if (mode > 0) {
            // The legend: the flag colours with the judgement marks and their meaning.
            static const TSKIJudged kBands[3] = {TSKIJudged::Bad, TSKIJudged::Average,
                                                 TSKIJudged::Good};
            for (int b = 0; b < 3; ++b) {
                if (*kLegend[mode - 1][b] == 0) continue;
                if (mode == 6) {  // skill: the piste colours, named
                    static const ImVec4 kSkill[3] = {ImVec4(0.2f, 0.4f, 1, 1),
                                                     ImVec4(1, 0.25f, 0.2f, 1), ImVec4(0, 0, 0, 1)};
                    static const char* kPiste[3] = {" (blue)", " (red)", " (black)"};
                    ImGui::ColorButton("##c", kSkill[b], ImGuiColorEditFlags_NoTooltip,
                                       ImVec2(14 * scale, 14 * scale));
                    ImGui::SameLine();
                    ImGui::Text("%s%s", kLegend[5][b], kPiste[b]);
                } else {
                    JudgedText(kLegend[mode - 1][b], kBands[b]);
                }
            }
        }
        ImGui::Separator();
        // The "Highlight" panel: pressed while the palette shows.
        ImGui::PushStyleColor(
            ImGuiCol_Button,
            ImGui::GetStyleColorVec4(highlight_ ? ImGuiCol_ButtonActive : ImGuiCol_Button));
        if (ImGui::Button("Highlight", ImVec2(-1, 0))) highlight_ = !highlight_;
        ImGui::PopStyleColor();
        probe::LastItem("button", "Highlight");
        probe::Value("display_flags", double(view.DisplayFlags));
        probe::Value("highlight_mode", double(view.HighlightMode));
        const ImVec2 pos = ImGui::GetWindowPos(), size = ImGui::GetWindowSize();
        x_ = pos.x;
        bottom_ = pos.y + size.y;
    }
    ImGui::End();
    if (!open) visible_ = false;
    if (visible_ && highlight_) {
        if (auto mode = DrawPalette(view, viewWidth, viewHeight, scale))
            clicks.HighlightMode = mode;
    }
    return clicks;
}

std::optional<uint8_t> TSKIDisplayWindow::DrawPalette(const TSKIViewState& view, float viewWidth,
                                                      float viewHeight, float scale) {
    std::optional<uint8_t> action;
    // Directly below the display window, left-aligned with it, kept inside the view.
    const ImVec2 at(std::max(0.0f, std::min(x_, viewWidth - paletteWidth_)),
                    std::max(0.0f, std::min(bottom_, viewHeight - paletteHeight_)));
    ImGui::SetNextWindowPos(at, ImGuiCond_Always);
    bool open = true;
    const ImGuiWindowFlags flags = ImGuiWindowFlags_NoCollapse | ImGuiWindowFlags_AlwaysAutoResize |
                                   ImGuiWindowFlags_NoFocusOnAppearing;
    if (ImGui::Begin("Highlight", &open, flags)) {
        probe::Window("Highlight");
        // Three panels a row; the chosen one pressed in and framed, the others raised.
        for (int m = 0; m < kHighlightModes; ++m) {
            const bool chosen = view.HighlightMode == m;
            if (m % 3 != 0) ImGui::SameLine();
            if (ImGui::Selectable(kModes[m].Caption, chosen, 0, ImVec2(120 * scale, 0)))
                action = uint8_t(m);
            probe::LastItem("panel", kModes[m].Caption);
            if (*kModes[m].Hint && ImGui::IsItemHovered()) ImGui::SetTooltip("%s", kModes[m].Hint);
            if (chosen) {
                const ImVec2 a = ImGui::GetItemRectMin(), b = ImGui::GetItemRectMax();
                ImGui::GetWindowDrawList()->AddRect(a, b, ImGui::GetColorU32(ImGuiCol_Text));
            }
        }
        ImGui::Dummy(ImVec2(0, 2 * scale));
    }
    paletteWidth_ = ImGui::GetWindowWidth();
    paletteHeight_ = ImGui::GetWindowHeight();
    ImGui::End();
    // Closing the palette releases the window's "Highlight" panel.
    if (!open) highlight_ = false;
    return action;
}

}  // namespace vallorn
