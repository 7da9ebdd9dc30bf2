#include "ui/hover_panel.h"

#include <algorithm>
#include <cfloat>

#include <imgui.h>
#include <imgui_internal.h>

#include "ui/probe.h"
#include "ui/text_lists.h"

namespace vallorn {
namespace {

// Whether the box from (x0, y0) to (x1, y1) runs under an open window of this frame.
bool UnderAWindow(float x0, float y0, float x1, float y1) {
    const ImGuiContext* context = ImGui::GetCurrentContext();
    if (!context) return false;
    for (const ImGuiWindow* w : context->Windows) {
        if (!w->Active || w->Hidden || w->IsFallbackWindow ||
            (w->Flags & ImGuiWindowFlags_ChildWindow))
            continue;
        if (x0 < w->Pos.x + w->Size.x && x1 > w->Pos.x && y0 < w->Pos.y + w->Size.y &&
            y1 > w->Pos.y)
            return true;
    }
    return false;
}

}  // namespace

void DrawHoverPanel(const std::string& raw, const TSKIColor& color, float mouseX, float mouseY,
                    float viewWidth, float viewHeight) {
    if (raw.empty() || mouseX < 0 || mouseY < 0) return;
    const std::string text = LineBreaks(raw);
    const ImVec2 extent = ImGui::CalcTextSize(text.c_str());
    const ImVec2 pad = ImGui::GetStyle().FramePadding;
    // 20 pixels right of the pointer; flipped to its left near the right edge, or where a
    // window on the right would hide it and the left is clear.
    const float width = extent.x + 2 * pad.x, height = extent.y + 2 * pad.y;
    const float y =
        std::clamp(mouseY - extent.y / 2 - pad.y, 0.0f, std::max(0.0f, viewHeight - height));
    const float right = mouseX + 20, left = mouseX - 20 - width;
    float x = right;
    if (right + width > viewWidth ||
        (UnderAWindow(right, y, right + width, y + height) &&
         !UnderAWindow(std::max(0.0f, left), y, std::max(0.0f, left) + width, y + height)))
        x = left;
    // Over the view and under every window: the label never hides an open window.
    ImDrawList* list = ImGui::GetBackgroundDrawList();
    const ImVec2 a(std::max(0.0f, x), y);
    const ImVec2 b(a.x + extent.x + 2 * pad.x, a.y + extent.y + 2 * pad.y);
    list->AddRectFilled(a, b, IM_COL32(color.r, color.g, color.b, 128), 3.0f);
    list->AddText(ImVec2(a.x + pad.x, a.y + pad.y), IM_COL32(255, 255, 255, 255), text.c_str());
    probe::Value("hover", text);
}

void DrawHeadUpText(const std::string& text, float viewWidth, float scale) {
    if (text.empty()) return;
    ImFont* font = ImGui::GetFont();
    const float size = ImGui::GetFontSize() * 1.5f;
    const ImVec2 extent = font->CalcTextSizeA(size, FLT_MAX, 0.0f, text.c_str());
    const ImVec2 at(std::max(0.0f, (viewWidth - extent.x) / 2), 50.0f * scale);
    ImDrawList* list = ImGui::GetBackgroundDrawList();
    list->AddText(font, size, ImVec2(at.x + 2, at.y + 2), IM_COL32(0, 0, 0, 200), text.c_str());
    list->AddText(font, size, at, IM_COL32(255, 255, 255, 255), text.c_str());
}

std::vector<TSKIRideControl> RideControls(TSKITool tool) {
    if (!IsRideMode(tool)) return {};
    std::vector<TSKIRideControl> lines = {{"W / Up", "faster"},
                                          {"S / Down", "slower"},
                                          {"A D / Left Right", "turn"},
                                          {"Ctrl held", "carve, keeping the speed"}};
    if (tool == TSKITool::FreeRide) {
        lines.push_back({"Left click", "ride a lift up from its lower station"});
        lines.push_back({"Escape", "stop riding"});
    } else {
        lines.push_back({"Escape", "give up the race"});
    }
    return lines;
}

void DrawRideControls(TSKITool tool, bool avatarShown, float viewWidth, float viewHeight,
                      const TSKIRect& menuBar, float scale) {
    if (!avatarShown) return;
    const std::vector<TSKIRideControl> lines = RideControls(tool);
    if (lines.empty()) return;
    // Two columns: the keys, then what they do.
    float keysWidth = 0, actionsWidth = 0;
    for (const TSKIRideControl& line : lines) {
        keysWidth = std::max(keysWidth, ImGui::CalcTextSize(line.Keys.c_str()).x);
        actionsWidth = std::max(actionsWidth, ImGui::CalcTextSize(line.Action.c_str()).x);
    }
    const float pad = 6.0f * scale, margin = 12.0f * scale, gap = 12.0f * scale;
    const float lineHeight = ImGui::GetTextLineHeight();
    const ImVec2 size(keysWidth + gap + actionsWidth + 2 * pad,
                      lineHeight * float(lines.size()) + 2 * pad);
    ImVec2 b(std::max(size.x, viewWidth - margin), std::max(size.y, viewHeight - margin));
    // Above the menu bar when the corner is under it.
    const bool onBar = menuBar.W > 0 && menuBar.X < b.x && menuBar.X + menuBar.W > b.x - size.x &&
                       menuBar.Y < b.y && menuBar.Y + menuBar.H > b.y - size.y;
    if (onBar) b.y = std::max(size.y, menuBar.Y - margin);
    const ImVec2 a(b.x - size.x, b.y - size.y);
    // Under the windows: a window moved over the corner hides it.
    ImDrawList* list = ImGui::GetBackgroundDrawList();
    list->AddRectFilled(a, b, IM_COL32(0, 0, 0, 150), 4.0f * scale);
    for (size_t k = 0; k < lines.size(); ++k) {
        const float y = a.y + pad + lineHeight * float(k);
        list->AddText(ImVec2(a.x + pad, y), IM_COL32(255, 225, 140, 255), lines[k].Keys.c_str());
        list->AddText(ImVec2(a.x + pad + keysWidth + gap, y), IM_COL32(255, 255, 255, 255),
                      lines[k].Action.c_str());
    }
    probe::Item("panel", "ride controls", a.x, a.y, b.x, b.y);
}

}  // namespace vallorn
