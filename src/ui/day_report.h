// The end-of-day report's content: what the window shows, worked out from the two snapshots,
// the happy count and the profile's friends.
#pragma once

#include <string>

#include "engine/engine.h"

namespace vallorn {

struct TSKIDayReport {
    std::string Day;          // "Season: 1   Day: 3"
    bool ShowLastDay = true;  // "Last day" and "Difference" (hidden after a load)
    std::string LastCash, LastSkiers;
    std::string TodayCash, TodaySkiers;
    std::string DiffCash, DiffSkiers;
    std::string Weather;
    std::string VisitorsStay;
    std::string VisitorsLeft;     // empty: hidden
    std::string VisitorsFriends;  // empty: hidden
};

TSKIDayReport MakeDayReport(const TSKIEngine& engine, const TSKIParkData& start,
                            const TSKIParkData& end, int happySkiers);

// Draws the report as the body of a modal box; true when "Continue" was pressed.
bool DrawDayReport(const TSKIDayReport& report);

}  // namespace vallorn
