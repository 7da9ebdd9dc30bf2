#include "ui/hover_panel.h"

#include <algorithm>
#include <cfloat>

#include <imgui.h>

#include "ui/probe.h"
#include "ui/text_lists.h"

namespace vallorn {

void DrawHoverPanel(const std::string& raw, const TSKIColor& color, float mouseX, float mouseY,
                    float viewWidth, float viewHeight) {
    if (raw.empty() || mouseX < 0 || mouseY < 0) return;
    const std::string text = LineBreaks(raw);
    const ImVec2 extent = ImGui::CalcTextSize(text.c_str());
    const ImVec2 pad = ImGui::GetStyle().FramePadding;
    // 20 pixels right of the pointer; flipped to its left near the right edge.
    float x = mouseX + 20;
    if (x + extent.x + 2 * pad.x > viewWidth) x = mouseX - 20 - extent.x - 2 * pad.x;
    const float y = std::clamp(mouseY - extent.y / 2 - pad.y, 0.0f,
                               std::max(0.0f, viewHeight - extent.y - 2 * pad.y));
    ImDrawList* list = ImGui::GetForegroundDrawList();
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
    ImDrawList* list = ImGui::GetForegroundDrawList();
    list->AddText(font, size, ImVec2(at.x + 2, at.y + 2), IM_COL32(0, 0, 0, 200), text.c_str());
    list->AddText(font, size, at, IM_COL32(255, 255, 255, 255), text.c_str());
}

}  // namespace vallorn
