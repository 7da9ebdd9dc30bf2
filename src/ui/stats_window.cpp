#include "ui/stats_window.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <imgui.h>

#include "engine/clock.h"
#include "ui/judged_text.h"
#include "ui/probe.h"
#include "ui/stats_layout.h"

namespace vallorn {

namespace {

constexpr const char* kCaptions[TSKIStatsWindow::kPages] = {
    "Park",      "Rating",  "Skiers",    "Graphs",  "Lifts",
    "Buildings", "Finance", "Marketing", "History", "Achievements"};

std::string Fixed2(double v) {
    char text[48];
    std::snprintf(text, sizeof text, "%.2f", v);
    return text;
}

std::string Rounded(double v) {
    return std::to_string(std::lround(v));
}

}  // namespace

namespace stats {

bool BeginFigures(const char* id) {
    return ImGui::BeginTable(id, 2, ImGuiTableFlags_SizingFixedFit | ImGuiTableFlags_RowBg);
}

void Figure(const char* label, const std::string& value, TSKIJudged judged) {
    ImGui::TableNextRow();
    ImGui::TableSetColumnIndex(0);
    ImGui::TextUnformatted(label);
    ImGui::TableSetColumnIndex(1);
    JudgedText(value, judged);
}

}  // namespace stats

const char* TSKIStatsWindow::PageCaption(int page) {
    return page >= 0 && page < kPages ? kCaptions[page] : "";
}

TSKIStatsWindow::TResult TSKIStatsWindow::Draw(const TSKIEngine& engine, const TSKIViewState& view,
                                               float viewWidth, float viewHeight, float scale) {
    TResult result;
    if (!Visible) return result;
    // Above the menu bar, centred across the view.
    const ImVec2 size(std::min(800 * scale, viewWidth),
                      std::min(560 * scale, viewHeight - 180 * scale));
    ImGui::SetNextWindowSize(size, ImGuiCond_Appearing);
    ImGui::SetNextWindowPos(ImVec2((viewWidth - size.x) / 2, 12 * scale), ImGuiCond_Appearing);
    if (raise_) ImGui::SetNextWindowFocus();
    raise_ = false;
    bool open = true;
    if (ImGui::Begin("Statistics", &open, ImGuiWindowFlags_NoCollapse)) {
        probe::Window("Statistics");
        const TSKIParkData snap = engine.TakeSnapshot();
        const TSKISkierCounts counts = CountSkiers(engine);
        if (ImGui::BeginTabBar("pages")) {
            for (int p = 0; p < kPages; ++p) {
                const bool shown = ImGui::BeginTabItem(
                    kCaptions[p], nullptr, p == selectPage_ ? ImGuiTabItemFlags_SetSelected : 0);
                probe::LastItem("tab", kCaptions[p]);
                if (!shown) continue;
                page_ = p;
                ImGui::BeginChild("page", ImVec2(0, 0), false);
                switch (p) {
                    case 0:
                        DrawPark(engine, snap, counts);
                        break;
                    case 1:
                        DrawRating(snap);
                        break;
                    case 2:
                        DrawSkiers(engine, counts);
                        break;
                    case 3:
                        DrawGraphs(engine, view, result, scale);
                        break;
                    case 4:
                        DrawLifts(engine, result);
                        break;
                    case 5:
                        DrawBuildings(engine, result);
                        break;
                    case 6:
                        DrawFinance(engine);
                        break;
                    case 7:
                        DrawMarketing(engine);
                        break;
                    case 8:
                        DrawHistory(engine, scale);
                        break;
                    default:
                        DrawAchievements(engine);
                        break;
                }
                ImGui::EndChild();
                ImGui::EndTabItem();
            }
            ImGui::EndTabBar();
            selectPage_ = -1;
        }
        probe::Value("stats_page", std::string(kCaptions[page_]));
    }
    ImGui::End();
    if (!open) Visible = false;
    result.Actions = std::move(pending_);
    pending_.clear();
    return result;
}

void TSKIStatsWindow::DrawPark(const TSKIEngine& engine, const TSKIParkData& snap,
                               const TSKISkierCounts& c) {
    const TSKICalendar cal = CalendarAt(engine, snap.ParkTime);
    if (stats::BeginFigures("park")) {
        using stats::Figure;
        Figure("Lifts:", std::to_string(snap.ParkLiftCount));
        Figure("Slopes:",
               std::to_string(snap.ParkSlopeCount) + " (" + Fixed2(snap.ParkSlopeLength) + " km)");
        Figure("Skiers:", std::to_string(c.Total));
        Figure("Time:", "Season:" + std::to_string(cal.Season) +
                            "  Day:" + std::to_string(cal.Day) + "  Time:" + ClockText(cal));
        Figure("Weather:", snap.ParkWeatherText);
        Figure("Ecology:", std::to_string(snap.ParkTreesFelled) + " trees cut down",
               JudgeTreesFelled(snap.ParkTreesFelled));
        Figure("Snow quality:", Fixed2(snap.ParkSnowQuality) + " %",
               JudgeSnowQuality(snap.ParkSnowQuality));
        Figure("Parking capacity:", std::to_string(snap.ParkMaxSkiers));
        ImGui::EndTable();
    }
    if (c.Total > snap.ParkMaxSkiers - 3)
        JudgedText("Maximum parking capacity reached !", TSKIJudged::Bad);
    ImGui::TextUnformatted("Opening hours: 9:00 - 16:00");
}

void TSKIStatsWindow::DrawRating(const TSKIParkData& snap) {
    if (snap.ParkSandboxDiff == kSandboxDiffUnlimited) {
        ImGui::TextWrapped("You do not have to worry about rating in unlimited mode.");
        return;
    }
    ImGui::TextUnformatted("Total rating:");
    ImGui::SameLine();
    JudgedText(Rounded(snap.ParkRatingPercent) + " %", JudgeTotalRating(snap.ParkRatingPercent));
    if (ImGui::BeginTable("rating", 3, ImGuiTableFlags_SizingFixedFit | ImGuiTableFlags_RowBg)) {
        ImGui::TableSetupColumn("");
        ImGui::TableSetupColumn("Points");
        ImGui::TableSetupColumn("Percentage");
        ImGui::TableHeadersRow();
        auto row = [](const char* label, float points, const TSKIJudgedText& share) {
            ImGui::TableNextRow();
            ImGui::TableSetColumnIndex(0);
            ImGui::TextUnformatted(label);
            ImGui::TableSetColumnIndex(1);
            ImGui::TextUnformatted(Fixed2(points).c_str());
            ImGui::TableSetColumnIndex(2);
            JudgedText(share.Text, share.Judged);
        };
        row("Skier happiness", snap.ParkAvgHappiness, JudgeShare(snap.ParkAvgHappiness));
        row("Slopes", snap.ParkSlopeScore, JudgeShare(ScoreShare(snap.ParkSlopeScore)));
        row("Lifts", snap.ParkLiftScore, JudgeShare(ScoreShare(snap.ParkLiftScore)));
        row("Buildings", snap.ParkBuildScore, JudgeShare(ScoreShare(snap.ParkBuildScore)));
        row("Snow", snap.ParkSnowQuality, JudgeShare(snap.ParkSnowQuality, true));
        ImGui::EndTable();
    }
    ImGui::Text("Points: %s", Rounded(snap.ParkRating).c_str());
    ImGui::Separator();
    // The extra parts: each halves into the total percentage.
    auto part = [](const char* label, long value, bool bad) {
        char text[64];
        if (value == 0) {
            std::snprintf(text, sizeof text, "0");
        } else {
            std::snprintf(text, sizeof text, "%ld   %s%ld%%", value, value > 0 ? "+" : "",
                          std::lround(value / 2.0));
        }
        ImGui::TextUnformatted(label);
        ImGui::SameLine(260);
        JudgedText(text, bad ? TSKIJudged::Bad : value > 0 ? TSKIJudged::Good : TSKIJudged::Plain);
    };
    part("Rating from popularity:", std::lround(snap.ParkPopularity), false);
    const long unhappy = std::lround(snap.ParkRatingLeftUnhappy);
    part("Rating from bad reputation:", unhappy, unhappy < 0);
    const long dead = std::lround(snap.ParkRatingLeftDead);
    part("Rating from casualties:", dead, dead < 0);
    part("Rating from ecology:", -snap.ParkTreesFelled, snap.ParkTreesFelled > 0);
}

void TSKIStatsWindow::DrawSkiers(const TSKIEngine& engine, const TSKISkierCounts& c) {
    // Without skiers the shares keep their last texts.
    if (c.Total > 0) {
        for (int s = 0; s < kSkierStateCount; ++s)
            activity_[s] = CountWithShare(c.ByState[size_t(s)], c.Total);
        for (int k = 0; k < 4; ++k) concern_[k] = CountWithShare(c.ByConcern[size_t(k)], c.Total);
    }
    const int waiting = SharePercent(c.ByState[kSkierWaiting], c.Total);
    const int leaving = SharePercent(c.ByState[kSkierLeaving], c.Total);
    using stats::Figure;
    // Two columns: the activities on the left, the reasons and concerns on the right.
    if (!ImGui::BeginTable("skiers", 2, ImGuiTableFlags_SizingStretchSame)) return;
    ImGui::TableNextRow();
    ImGui::TableSetColumnIndex(0);
    if (stats::BeginFigures("activity")) {
        Figure("Number of skiers:", std::to_string(c.Total));
        Figure("No activity:", activity_[kSkierIdle]);
        Figure("On lifts:", activity_[kSkierOnLift]);
        Figure("On slope:", activity_[kSkierSkiing]);
        Figure("Waiting:", activity_[kSkierWaiting], JudgeWaiting(waiting));
        Figure("Dining:", activity_[kSkierInBuilding]);
        Figure("Leaving:", activity_[kSkierLeaving], JudgeLeaving(leaving));
        Figure("Injured:", activity_[kSkierInjured],
               c.ByState[kSkierInjured] > 0 ? TSKIJudged::Bad : TSKIJudged::Plain);
        ImGui::EndTable();
    }
    ImGui::TableSetColumnIndex(1);
    ImGui::TextUnformatted("Reason of leaving");
    if (stats::BeginFigures("leaving")) {
        Figure("Unhappy:", std::to_string(engine.Park.ParkLeftBecauseUnhappy));
        Figure("Spent all money:", std::to_string(engine.Park.ParkLeftBecauseNoMoney));
        Figure("Died:", std::to_string(engine.Park.ParkLeftBecauseDied));
        ImGui::EndTable();
    }
    ImGui::TextUnformatted("Worst concern");
    if (stats::BeginFigures("concern")) {
        Figure("Unhappy:", concern_[0]);
        Figure("Cold:", concern_[1]);
        Figure("Exhausted:", concern_[2]);
        Figure("Hungry:", concern_[3]);
        ImGui::EndTable();
    }
    ImGui::EndTable();
    ImGui::Spacing();
    ImGui::TextUnformatted("Average values");
    if (stats::BeginFigures("averages")) {
        const TSKIParkData& p = engine.Park;
        Figure("Happiness:", Rounded(p.ParkAvgHappiness) + " %");
        Figure("Cold:", Rounded(p.ParkAvgCold) + " %");
        Figure("Energy:", Rounded(p.ParkAvgEnergy) + " %");
        Figure("Hunger:", Rounded(p.ParkAvgHunger) + " %");
        int64_t limits = 0;
        for (const auto& s : engine.Skiers) limits += s->SpendingLimit;
        const int32_t average = c.Total > 0 ? int32_t(limits / c.Total) : 0;
        Figure("Spending limit:", FormatMoney(average));
        ImGui::EndTable();
    }
}

}  // namespace vallorn
