#include "ui/info_widgets.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <imgui.h>

#include "entities/section.h"
#include "ui/probe.h"

namespace vallorn::info {

namespace {

constexpr unsigned kSignColours[3] = {IM_COL32(30, 110, 230, 255), IM_COL32(220, 40, 40, 255),
                                      IM_COL32(20, 20, 20, 255)};

void DrawSign(ImDrawList* dl, ImVec2 c, uint8_t difficulty, float r) {
    const unsigned fill = DifficultyColour(difficulty);
    const unsigned edge = IM_COL32(255, 255, 255, 230);
    switch (difficulty) {
        case kDifficultyBlue:
            dl->AddCircleFilled(c, r, fill, 20);
            dl->AddCircle(c, r, edge, 20, 1.5f);
            break;
        case kDifficultyRed:
            dl->AddRectFilled(ImVec2(c.x - r * 0.85f, c.y - r * 0.85f),
                              ImVec2(c.x + r * 0.85f, c.y + r * 0.85f), fill);
            dl->AddRect(ImVec2(c.x - r * 0.85f, c.y - r * 0.85f),
                        ImVec2(c.x + r * 0.85f, c.y + r * 0.85f), edge, 0, 0, 1.5f);
            break;
        default: {
            const ImVec2 p[4] = {{c.x, c.y - r}, {c.x + r, c.y}, {c.x, c.y + r}, {c.x - r, c.y}};
            dl->AddConvexPolyFilled(p, 4, fill);
            dl->AddPolyline(p, 4, edge, ImDrawFlags_Closed, 1.5f);
            break;
        }
    }
}

}  // namespace

unsigned DifficultyColour(uint8_t difficulty) {
    return kSignColours[std::min<int>(difficulty, 2)];
}

void Row(const char* caption, const std::string& value) {
    ImGui::TableNextRow();
    ImGui::TableSetColumnIndex(0);
    ImGui::TextDisabled("%s", caption);
    ImGui::TableSetColumnIndex(1);
    ImGui::TextUnformatted(value.c_str());
    probe::LastItem("label", std::string(caption) + " " + value);
}

void QualityBar(float quality, const std::string& text, float scale) {
    const ImVec2 at = ImGui::GetCursorScreenPos();
    const float h = ImGui::GetTextLineHeight() + 2 * scale;
    const float full = 150.0f * scale;
    const float width = std::clamp(quality, 0.0f, 2.0f) * 75.0f * scale;
    float rgb[3];
    QualityColour(quality, rgb);
    ImDrawList* dl = ImGui::GetWindowDrawList();
    dl->AddRectFilled(at, ImVec2(at.x + full, at.y + h), IM_COL32(40, 40, 48, 255), 3.0f);
    dl->AddRectFilled(at, ImVec2(at.x + width, at.y + h),
                      ImGui::GetColorU32(ImVec4(rgb[0], rgb[1], rgb[2], 1)), 3.0f);
    dl->AddRect(at, ImVec2(at.x + full, at.y + h), IM_COL32(120, 120, 130, 255), 3.0f);
    // The figure over the bar, with a shadow that keeps it legible on every fill.
    const ImVec2 size = ImGui::CalcTextSize(text.c_str());
    const ImVec2 t(at.x + (full - size.x) / 2, at.y + (h - size.y) / 2);
    dl->AddText(ImVec2(t.x + 1, t.y + 1), IM_COL32(0, 0, 0, 220), text.c_str());
    dl->AddText(t, IM_COL32(255, 255, 255, 255), text.c_str());
    ImGui::Dummy(ImVec2(full, h));
}

void DifficultySign(uint8_t difficulty, float size) {
    const ImVec2 at = ImGui::GetCursorScreenPos();
    const float r = size * 0.5f;
    DrawSign(ImGui::GetWindowDrawList(), ImVec2(at.x + r, at.y + r), difficulty, r);
    ImGui::Dummy(ImVec2(size, size));
}

int PriceStepper(const std::string& price, float scale) {
    int step = 0;
    ImGui::PushID("price");
    if (ImGui::ArrowButton("down", ImGuiDir_Down)) step = -1;
    probe::LastItem("button", "Price down");
    if (ImGui::IsItemHovered()) ImGui::SetTooltip("Lower the price by 1");
    ImGui::SameLine(0, 4 * scale);
    ImGui::AlignTextToFramePadding();
    ImGui::TextUnformatted(price.c_str());
    ImGui::SameLine(0, 4 * scale);
    if (ImGui::ArrowButton("up", ImGuiDir_Up)) step = 1;
    probe::LastItem("button", "Price up");
    if (ImGui::IsItemHovered()) ImGui::SetTooltip("Raise the price by 1");
    ImGui::PopID();
    return step;
}

void Relief(const TSKIRelief& relief, bool byDifficulty, float width, float height, float scale) {
    const ImVec2 at = ImGui::GetCursorScreenPos();
    ImDrawList* dl = ImGui::GetWindowDrawList();
    dl->AddRectFilled(at, ImVec2(at.x + width, at.y + height), IM_COL32(226, 234, 242, 255), 4.0f);
    ImGui::Dummy(ImVec2(width, height));
    const size_t n = relief.Heights.size();
    if (n < 2) return;
    const auto [lo, hi] = std::minmax_element(relief.Heights.begin(), relief.Heights.end());
    const float span = std::max(*hi - *lo, 1.0f);
    const float top = at.y + 22 * scale, bottom = at.y + height - (byDifficulty ? 30 : 14) * scale;
    const float left = at.x + 10 * scale, step = 3 * scale;
    auto point = [&](size_t k) {
        return ImVec2(left + step * float(k),
                      bottom - (relief.Heights[k] - *lo) / span * (bottom - top));
    };
    // The ground under the line (without the seams anti-aliasing would leave between its
    // strips), then the line.
    const ImDrawListFlags flags = dl->Flags;
    dl->Flags &= ~ImDrawListFlags_AntiAliasedFill;
    for (size_t k = 1; k < n; ++k) {
        const ImVec2 a = point(k - 1), b = point(k);
        const ImVec2 q[4] = {a, b, ImVec2(b.x, bottom), ImVec2(a.x, bottom)};
        dl->AddConvexPolyFilled(q, 4, IM_COL32(250, 252, 255, 255));
    }
    dl->Flags = flags;
    for (size_t k = 1; k < n; ++k) {
        const unsigned colour =
            byDifficulty ? DifficultyColour(relief.Difficulty[k]) : IM_COL32(110, 110, 110, 255);
        dl->AddLine(point(k - 1), point(k), colour, 4.0f * scale);
    }
    // Start and end heights by the ends.
    char text[32];
    std::snprintf(text, sizeof text, "%d m", int(relief.Heights.front()));
    const ImVec2 a = point(0);
    dl->AddText(ImVec2(a.x, std::max(at.y + 2, a.y - 20 * scale)), IM_COL32(40, 40, 40, 255), text);
    std::snprintf(text, sizeof text, "%d m", int(relief.Heights.back()));
    const ImVec2 b = point(n - 1);
    const float tw = ImGui::CalcTextSize(text).x;
    dl->AddText(ImVec2(b.x - tw, std::max(at.y + 2, b.y - 20 * scale)), IM_COL32(40, 40, 40, 255),
                text);
    if (!byDifficulty) return;
    // Along the base, each run of one band carries its sign, so the profile reads without
    // telling red from green.
    const float base = at.y + height - 14 * scale, r = 6 * scale;
    size_t runStart = 0;
    for (size_t k = 1; k <= n; ++k) {
        if (k < n && relief.Difficulty[k] == relief.Difficulty[runStart]) continue;
        const float x0 = point(runStart).x, x1 = point(k - 1).x;
        dl->AddLine(ImVec2(x0, base), ImVec2(x1, base),
                    DifficultyColour(relief.Difficulty[runStart]), 2.0f * scale);
        const float size = std::max(3.5f * scale, std::min(r, (x1 - x0) * 0.5f));
        DrawSign(dl, ImVec2((x0 + x1) * 0.5f, base), relief.Difficulty[runStart], size);
        runStart = k;
    }
}

}  // namespace vallorn::info
