#include "ui/palette_boxes.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <imgui.h>

#include "base/number_format.h"
#include "ui/info_fields.h"
#include "ui/probe.h"

namespace vallorn {

namespace {

constexpr float kBoxWidth = 300;

std::string Printf(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Whole(long value, const char* unit) {
    return std::to_string(value) + unit;
}

}  // namespace

std::optional<TSKIPaletteText> LiftPaletteText(const TSKIParameters& params, int type) {
    if (type < 0 || type >= kLiftTypeCount) return std::nullopt;
    const TSKILiftParams& p = params.Lifts[size_t(type)];
    TSKIPaletteText t;
    t.Title = p.DisplayName.empty() ? p.Name : p.DisplayName;
    const double perHour =
        p.GondoleSpacing > 0 ? double(p.GondoleCapacity) * p.Speed * 600.0 / p.GondoleSpacing : 0;
    // Decimal figures show two decimals, as the objective texts do.
    t.Rows = {
        {"Gondola capacity:", std::to_string(p.GondoleCapacity)},
        {"Lift speed:", Printf("%.2f m/sec", p.Speed / 10.0)},
        {"Max. length:", Whole(std::lround(p.MaxLength * 5.0), " meters")},
        {"Transport capacity:", Whole(std::lround(perHour), " pers./hour")},
        {"Cost per pole:", FormatMoney(p.CostPerPole)},
        {"Cost per gondola:", FormatMoney(p.CostPerGondole)},
        {"Running cost:", Whole(p.RunningCost, ".-/hour")},
        {"Service quality:", Whole(std::lround(p.ServiceQuality * 100.0), " %")},
    };
    t.Description = p.Description;
    return t;
}

std::string PaletteServices(const TSKIBuildingParams& type) {
    std::string s;
    if (type.RefillHappiness > 0) s += "fun,";
    if (type.RefillCold > 0) s += "warm up,";
    if (type.RefillEnergy > 0) s += "rest,";
    if (type.RefillHunger > 0) s += "food";
    return s;
}

std::optional<TSKIPaletteText> BuildingPaletteText(const TSKIParameters& params, int type) {
    if (type < 0 || type >= kBuildingTypeCount) return std::nullopt;
    const TSKIBuildingParams& p = params.Buildings[size_t(type)];
    TSKIPaletteText t;
    t.Title = p.Name;
    t.Rows = {
        {"Capacity:", std::to_string(p.Capacity)},
        {"Price:", FormatMoney(p.Cost)},
        {"Size:", Whole(p.Size, " meters")},
        {"Services:", PaletteServices(p)},
        {"Rating:", Printf("%.2f points", p.Rating)},
        {"Upkeep:", FormatMoney(p.RunningCost) + "/hour"},
        {"Service quality:", Whole(std::lround(p.ServiceQuality * 100.0), " %")},
    };
    t.Description = p.Description;
    return t;
}

float PaletteTop(float mouseY, float scale) {
    const float step = 12.0f * scale;
    return std::floor(mouseY / step) * step;
}

void DrawPaletteBox(const TSKIParameters& params, TSKIPaletteKind kind, int type, float left,
                    float mouseY, float viewWidth, float viewHeight, float scale) {
    const std::optional<TSKIPaletteText> text = kind == TSKIPaletteKind::Lift
                                                    ? LiftPaletteText(params, type)
                                                    : BuildingPaletteText(params, type);
    if (!text) return;
    const float width = kBoxWidth * scale;
    static float lastHeight = 420;
    const TSKIPlacement at =
        PlaceOnScreen(left, PaletteTop(mouseY, scale), width, lastHeight, viewWidth, viewHeight);
    ImGui::SetNextWindowPos(ImVec2(at.X, at.Y), ImGuiCond_Always);
    ImGui::SetNextWindowSize(ImVec2(width, 0), ImGuiCond_Always);
    ImGui::PushStyleVar(ImGuiStyleVar_WindowPadding, ImVec2(10 * scale, 10 * scale));
    ImGui::BeginTooltip();
    probe::Window(kind == TSKIPaletteKind::Lift ? "Lift palette" : "Building palette");
    ImGui::PushStyleColor(ImGuiCol_Text, ImVec4(0.55f, 0.8f, 1.0f, 1));
    ImGui::TextUnformatted(text->Title.c_str());
    ImGui::PopStyleColor();
    probe::LastItem("label", text->Title);
    DrawPalettePicture(kind, type, width - 20 * scale, (width - 20 * scale) / 2);
    if (ImGui::BeginTable("values", 2, ImGuiTableFlags_SizingFixedFit)) {
        for (const auto& [caption, value] : text->Rows) {
            ImGui::TableNextRow();
            ImGui::TableSetColumnIndex(0);
            ImGui::TextDisabled("%s", caption.c_str());
            ImGui::TableSetColumnIndex(1);
            ImGui::TextUnformatted(value.c_str());
            probe::LastItem("label", caption + " " + value);
        }
        ImGui::EndTable();
    }
    if (!text->Description.empty()) {
        ImGui::Separator();
        ImGui::PushTextWrapPos(width - 10 * scale);
        ImGui::TextWrapped("%s", text->Description.c_str());
        ImGui::PopTextWrapPos();
    }
    lastHeight = ImGui::GetWindowHeight();
    ImGui::EndTooltip();
    ImGui::PopStyleVar();
}

}  // namespace vallorn
