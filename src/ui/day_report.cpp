#include "ui/day_report.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include <imgui.h>

#include "base/number_format.h"
#include "engine/clock.h"
#include "ui/probe.h"

namespace vallorn {

namespace {

int32_t Clamp32(int64_t v) {
    return int32_t(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                       std::numeric_limits<int32_t>::max()));
}

// A figure in a table cell, against the cell's right edge.
void Figure(const std::string& text) {
    ImGui::TableNextColumn();
    const float free = ImGui::GetContentRegionAvail().x - ImGui::CalcTextSize(text.c_str()).x;
    if (free > 0) ImGui::SetCursorPosX(ImGui::GetCursorPosX() + free);
    ImGui::TextUnformatted(text.c_str());
}

}  // namespace

TSKIDayReport MakeDayReport(const TSKIEngine& engine, const TSKIParkData& start,
                            const TSKIParkData& end, int happySkiers) {
    TSKIDayReport r;
    // The day that now begins, counted from 0.
    const TSKICalendar c = CalendarAt(engine, engine.Park.ParkTime);
    r.Day = "Season: " + std::to_string(c.Season) + "   Day: " + std::to_string(c.Day);

    // A loaded game has no previous day to compare with.
    r.ShowLastDay = start.ParkTime != -1;
    r.LastCash = FormatMoney(start.ParkCash);
    r.LastSkiers = std::to_string(start.ParkSkierCount);
    r.TodayCash = FormatMoney(end.ParkCash);
    r.TodaySkiers = std::to_string(end.ParkSkierCount);
    r.DiffCash = FormatMoney(Clamp32(int64_t(end.ParkCash) - start.ParkCash));
    r.DiffSkiers = std::to_string(int64_t(end.ParkSkierCount) - start.ParkSkierCount);
    r.Weather = end.ParkWeatherText;

    r.VisitorsStay = std::to_string(happySkiers) + " skiers will come back tommorow.";
    const int64_t left = int64_t(end.ParkSkierCount) - 1 - happySkiers;
    if (left > 0) {
        r.VisitorsLeft =
            std::to_string(left) + " skiers will not come back because they did not like the park.";
    }
    if (engine.Profile.Friends > 0 && engine.Profile.FriendsEnabled) {
        r.VisitorsFriends =
            std::to_string(engine.Profile.Friends) + " new friends will come tommorow.";
    }
    return r;
}

bool DrawDayReport(const TSKIDayReport& report) {
    const float em = ImGui::GetFontSize();
    ImGui::TextUnformatted(report.Day.c_str());
    ImGui::Spacing();

    // Cash and skiers side by side for the days that are shown.
    const int columns = report.ShowLastDay ? 4 : 2;
    const ImGuiTableFlags flags =
        ImGuiTableFlags_Borders | ImGuiTableFlags_SizingFixedFit | ImGuiTableFlags_NoHostExtendX;
    if (ImGui::BeginTable("##dayfigures", columns, flags)) {
        ImGui::TableSetupColumn("", ImGuiTableColumnFlags_WidthFixed, 4.5f * em);
        if (report.ShowLastDay) {
            ImGui::TableSetupColumn("Last day", ImGuiTableColumnFlags_WidthFixed, 7.5f * em);
        }
        ImGui::TableSetupColumn("Today", ImGuiTableColumnFlags_WidthFixed, 7.5f * em);
        if (report.ShowLastDay) {
            ImGui::TableSetupColumn("Difference", ImGuiTableColumnFlags_WidthFixed, 7.5f * em);
        }
        ImGui::TableHeadersRow();
        auto row = [&](const char* name, const std::string& last, const std::string& today,
                       const std::string& diff) {
            ImGui::TableNextRow();
            ImGui::TableNextColumn();
            ImGui::TextUnformatted(name);
            if (report.ShowLastDay) Figure(last);
            Figure(today);
            if (report.ShowLastDay) Figure(diff);
        };
        row("Cash", report.LastCash, report.TodayCash, report.DiffCash);
        row("Skiers", report.LastSkiers, report.TodaySkiers, report.DiffSkiers);
        ImGui::EndTable();
    }

    ImGui::Spacing();
    ImGui::TextUnformatted("Weather forcast:");
    ImGui::SameLine(0, 0.3f * em);
    ImGui::TextUnformatted(report.Weather.c_str());
    ImGui::Separator();
    ImGui::PushTextWrapPos(ImGui::GetCursorPosX() + 30.0f * em);
    ImGui::TextUnformatted(report.VisitorsStay.c_str());
    if (!report.VisitorsLeft.empty()) ImGui::TextUnformatted(report.VisitorsLeft.c_str());
    if (!report.VisitorsFriends.empty()) ImGui::TextUnformatted(report.VisitorsFriends.c_str());
    ImGui::PopTextWrapPos();
    ImGui::Spacing();

    // "Continue", centred under the report.
    const float width = 7.0f * em;
    const float avail = std::max(ImGui::GetContentRegionAvail().x, 30.0f * em);
    ImGui::SetCursorPosX(ImGui::GetCursorPosX() + (avail - width) * 0.5f);
    const bool pressed = ImGui::Button("Continue", ImVec2(width, 0));
    probe::LastItem("button", "Continue");
    return pressed;
}

}  // namespace vallorn
