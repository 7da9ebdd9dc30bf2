// The statistics window's two drawn pages: the skiers' distributions ("Graphs") with the
// "Show flags" box, and the history series ("History"), drawn with ImGui's own primitives.
#include <algorithm>
#include <cmath>
#include <vector>

#include <imgui.h>

#include "engine/player_actions.h"
#include "ui/probe.h"
#include "ui/stats_pages.h"
#include "ui/stats_window.h"

namespace vallorn {

namespace {

constexpr const char* kGraphs[] = {"Happiness", "Cash",  "Cold",   "Spending limit",
                                   "Hunger",    "Skill", "Energy", "Injured"};
// Axis labels: the low end, the middle and the high end of each graph.
constexpr const char* kAxis[][3] = {
    {"Unhappy", "Content", "Happy"},         {"0,-", "500,-", "1000,-"},
    {"Freazing", "Temperate", "Warm"},       {"0,-", "50,-", "100,-"},
    {"Hungry", "Content", "Full stomach"},   {"Beginner", "Intermediate", "Pro"},
    {"Exhausted", "Fresh", "Ful of energy"}, {"Injured", "", "Healthy"},
};
constexpr const char* kSeries[kHistoryInUse] = {"Cash",         "Num. of skiers", "Skier happiness",
                                                "Skier hunger", "Skier cold",     "Skier energy",
                                                "Rating",       "Spending limit", "Hourly profit"};

ImU32 BandColour(int band, bool skill) {
    static const ImU32 usual[3] = {IM_COL32(220, 0, 0, 255), IM_COL32(230, 200, 0, 255),
                                   IM_COL32(0, 170, 0, 255)};
    static const ImU32 skills[3] = {IM_COL32(0, 0, 230, 255), IM_COL32(220, 0, 0, 255),
                                    IM_COL32(0, 0, 0, 255)};
    return skill ? skills[band] : usual[band];
}

// A choice among `items` laid out in rows of `perRow`; true when it changed.
bool Choice(const char* const* items, int count, int perRow, int& selected) {
    bool changed = false;
    for (int i = 0; i < count; ++i) {
        if (i % perRow != 0) ImGui::SameLine();
        if (ImGui::RadioButton(items[i], selected == i)) {
            changed = selected != i;
            selected = i;
        }
        probe::LastItem("radio", items[i]);
    }
    return changed;
}

}  // namespace

std::vector<TSKIGraphBar> DistributionBars(const TSKIDistribution& d, float width, float height) {
    std::vector<TSKIGraphBar> bars;
    if (d.Peak <= 0) return bars;
    // The bars of the last bins reach past bin 500: the picture spans them too.
    const float unit = width / float(kGraphBins + kGraphBarBins - 1);
    for (int x = 0; x < kGraphBins; ++x) {
        const int count = d.Bins[size_t(x)];
        if (count == 0) continue;
        const float top = height - std::round(float(count) * 255.0f / float(d.Peak)) * height / 255;
        bars.push_back({x, float(x) * unit, top, float(x + kGraphBarBins) * unit, height});
    }
    return bars;
}

void TSKIStatsWindow::DrawGraphs(const TSKIEngine& engine, const TSKIViewState& view,
                                 TResult& result, float scale) {
    ImGui::TextUnformatted("Display graph");
    const bool changed = Choice(kGraphs, 8, 4, graph_);
    // The box follows the view: a new game starts without skier flags.
    showFlags_ = view.OverlayMode != 0;
    if (ImGui::Checkbox("Show flags", &showFlags_) || (changed && showFlags_)) {
        result.SkierFlags = uint8_t(showFlags_ ? graph_ + 1 : 0);
    }
    probe::LastItem("check", "Show flags");
    if (ImGui::IsItemHovered())
        ImGui::SetTooltip("Marks each skier in the view with the colour of this graph");

    const TSKIDistribution d = SkierDistribution(engine, TSKIGraph(graph_));
    // The picture's 501 x 256 stretched over the page.
    const float width = ImGui::GetContentRegionAvail().x;
    const float height = std::max(
        120 * scale, std::min(ImGui::GetContentRegionAvail().y - 60 * scale, width * 256 / 501));
    ImGui::TextUnformatted(d.Peak > 254 ? "max" : std::to_string(d.Peak).c_str());
    ImGui::SameLine();
    ImGui::TextDisabled("Num. of skiers");
    const ImVec2 at = ImGui::GetCursorScreenPos();
    ImDrawList* draw = ImGui::GetWindowDrawList();
    draw->AddRectFilled(at, ImVec2(at.x + width, at.y + height), IM_COL32(210, 210, 210, 255));
    const bool skill = TSKIGraph(graph_) == TSKIGraph::Skill;
    for (const TSKIGraphBar& bar : DistributionBars(d, width, height)) {
        draw->AddRectFilled(ImVec2(at.x + bar.X0, at.y + bar.Y0),
                            ImVec2(at.x + bar.X1, at.y + bar.Y1),
                            BandColour(DistributionBand(bar.Bin), skill));
    }
    draw->AddLine(at, ImVec2(at.x, at.y + height), IM_COL32(0, 0, 0, 255), 2);
    draw->AddLine(ImVec2(at.x, at.y + height), ImVec2(at.x + width, at.y + height),
                  IM_COL32(0, 0, 0, 255), 2);
    ImGui::Dummy(ImVec2(width, height));
    // The axis labels under the low end, the middle and the high end.
    const auto& axis = kAxis[graph_];
    const float y = ImGui::GetCursorPosY(), x0 = ImGui::GetCursorPosX();
    for (int k = 0; k < 3; ++k) {
        const float w = ImGui::CalcTextSize(axis[k]).x;
        ImGui::SetCursorPos(ImVec2(x0 + std::clamp(width * k / 2 - w * k / 2, 0.0f, width - w), y));
        ImGui::TextUnformatted(axis[k]);
    }
}

void TSKIStatsWindow::DrawHistory(const TSKIEngine& engine, float scale) {
    ImGui::TextUnformatted("History select");
    Choice(kSeries, kHistoryInUse, 3, history_);
    const auto& values = engine.History[size_t(history_)];
    const auto range = HistoryRange(TSKIHistory(history_), values);
    const float labelWidth = 80 * scale;
    const float width = ImGui::GetContentRegionAvail().x - labelWidth - 8 * scale;
    const float height = std::max(120.0f * scale, ImGui::GetContentRegionAvail().y - 84 * scale);
    ImGui::TextUnformatted(range ? std::to_string(std::lround(range->Max)).c_str() : "");
    probe::LastItem("label", "history max");
    const ImVec2 at(ImGui::GetCursorScreenPos().x + labelWidth, ImGui::GetCursorScreenPos().y);
    ImDrawList* draw = ImGui::GetWindowDrawList();
    draw->AddRectFilled(at, ImVec2(at.x + width, at.y + height), IM_COL32(255, 255, 255, 255));
    draw->AddRect(at, ImVec2(at.x + width, at.y + height), IM_COL32(120, 120, 120, 255));
    if (range) {
        auto yOf = [&](float v) {
            return at.y + height - (v - range->Min) / (range->Max - range->Min) * height;
        };
        // Quarter lines across, the zero line darker.
        for (int q = 1; q < 4; ++q) {
            const float y = at.y + height * float(q) / 4;
            draw->AddLine(ImVec2(at.x, y), ImVec2(at.x + width, y), IM_COL32(225, 225, 225, 255));
        }
        if (range->Min < 0) {
            draw->AddLine(ImVec2(at.x, yOf(0)), ImVec2(at.x + width, yOf(0)),
                          IM_COL32(170, 170, 170, 255));
        }
        // The newest sample is at the front: time runs left to right over the whole series.
        const size_t n = values.size();
        const float step = width / float(std::max<size_t>(n - 1, 1));
        std::vector<ImVec2> line;
        line.reserve(n);
        for (size_t k = 0; k < n; ++k) {
            line.emplace_back(at.x + k * step, yOf(float(values[n - 1 - k])));
        }
        draw->AddPolyline(line.data(), int(line.size()), IM_COL32(20, 60, 200, 255), 0,
                          2.0f * scale);
    }
    ImGui::Dummy(ImVec2(width + labelWidth, height));
    ImGui::TextUnformatted(range ? std::to_string(std::lround(range->Min)).c_str() : "");
    ImGui::SameLine(labelWidth);
    ImGui::TextDisabled(range ? "older  <  time  >  now" : "Not enough samples yet.");
    if (ImGui::Button("Erase history")) pending_.push_back(EraseHistoryAction());
    probe::LastItem("button", "Erase history");
}

}  // namespace vallorn
