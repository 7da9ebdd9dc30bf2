#include "report.h"

#include "engine/clock.h"
#include "engine/engine.h"
#include "json_writer.h"
#include "missions/profile.h"
#include "persistence/state_hash.h"

namespace vallorn::sim {

std::string LevelInfoJson(const TSKIEngine& e) {
    int64_t blocked = 0, trees = 0, snow = 0, roads = 0;
    for (int i = 0; i < kGridSize; ++i) {
        for (int j = 0; j < kGridSize; ++j) {
            const TerrainCell& c = e.Cell(i, j);
            blocked += c.Blocked;
            trees += c.Tree;
            snow += c.NaturalSnow;
            roads += c.Kind == kCellRoad;
        }
    }
    JsonWriter w;
    w.BeginObject();
    w.Field("Level", e.Level.LevelName);
    w.Field("FromAddons", e.Level.FromAddons);
    w.Field("GridSize", e.Level.GridSize);
    w.Field("WorldSize", e.Level.WorldSize);
    w.Field("TextureSize", e.Level.TextureSize);
    w.Field("MaxHeight", e.Level.MaxHeight);
    w.Field("MaxAltitude", e.Level.MaxHeight * 3.0 + 500.0);
    w.Field("BlockedCells", blocked);
    w.Field("TreeCells", trees);
    w.Field("NaturalSnowCells", snow);
    w.Field("RoadCells", roads);
    w.Field("Houses", int64_t(e.Houses.size()));
    w.Field("TreeCount", e.Level.TreeCount);
    w.EndObject();
    return w.Text();
}

namespace {

void ParkFields(JsonWriter& w, const TSKIParkData& p) {
    for (const TParkKey& key : ParkKeys())
        VisitParkField(key, p, [&](const auto& value) { w.Field(key.Name, value); });
}

const char* kStateNames[] = {"Idle",       "OnLift",  "Skiing", "Waiting",
                             "InBuilding", "Leaving", "Injured"};

}  // namespace

std::string RunReportJson(TSKIEngine& e, const std::function<void(JsonWriter&)>& extra) {
    JsonWriter w;
    w.BeginObject();
    w.Field("Level", e.Level.LevelName);
    w.BeginObject("Park");
    ParkFields(w, e.Park);
    w.EndObject();
    const TSKICalendar cal = CalendarAt(e, e.Park.ParkTime);
    w.BeginObject("Calendar");
    w.Field("Season", cal.Season);
    w.Field("Day", cal.Day);
    w.Field("Hour", cal.Hour);
    w.Field("Minute", cal.Minute);
    w.Field("Clock", ClockText(cal));
    w.EndObject();
    w.Field("TicksRun", e.TicksRun);
    w.Field("DayChanges", e.DayChanges);
    w.Field("AccountingHours", e.AccountingHours);
    w.Field("HistorySamples", e.HistorySamples);

    int64_t byState[kSkierStateCount] = {};
    for (const auto& s : e.Skiers) {
        if (s->State < kSkierStateCount) ++byState[s->State];
    }
    w.BeginObject("Skiers");
    w.Field("Total", int64_t(e.Skiers.size()));
    for (int k = 0; k < kSkierStateCount; ++k) w.Field(kStateNames[k], byState[k]);
    w.EndObject();

    w.BeginArray("Lifts");
    for (size_t k = 0; k < e.Sections.size(); ++k) {
        const TSKISection& s = *e.Sections[k];
        if (!s.IsLift()) continue;
        w.BeginObject();
        w.Field("Index", int64_t(k));
        w.Field("Name", s.Name);
        w.Field("Type", s.LiftType);
        w.Field("Status", s.Status);
        w.Field("TicketPrice", s.TicketPrice);
        w.Field("CustomersServed", s.CustomersServed);
        w.Field("TotalIncome", s.TotalIncome);
        w.Field("InvestedMoney", s.InvestedMoney);
        w.EndObject();
    }
    w.EndArray();
    w.BeginArray("Buildings");
    for (size_t k = 0; k < e.Buildings.size(); ++k) {
        const TSKIBuilding& b = *e.Buildings[k];
        w.BeginObject();
        w.Field("Index", int64_t(k));
        w.Field("Type", b.Type);
        w.Field("Open", b.Open);
        w.Field("CustomersServed", b.CustomersServed);
        w.Field("TotalIncome", b.TotalIncome);
        w.Field("TotalExpense", b.TotalExpense);
        w.EndObject();
    }
    w.EndArray();
    w.BeginArray("CashHistory");
    for (int32_t v : e.History[size_t(TSKIHistory::Cash)]) w.Item(v);
    w.EndArray();
    // Damaged records the saved game's load left out.
    w.Field("LoadDropped", int64_t(e.LoadDropped));
    w.BeginArray("LoadWarnings");
    for (const std::string& line : e.LoadWarnings) {
        w.BeginObject();
        w.Field("Warning", line);
        w.EndObject();
    }
    w.EndArray();
    w.Field("StateHash", StateHashText(e));
    if (extra) extra(w);
    w.EndObject();
    return w.Text();
}

namespace {

// One value that changed: "Key": {"From": before, "To": after}.
template <typename T>
void Change(JsonWriter& w, std::string_view key, T from, T to) {
    if (from == to) return;
    w.BeginObject(key);
    w.Field("From", from);
    w.Field("To", to);
    w.EndObject();
}

// The indices whose flag was off before and is on after.
template <size_t N>
void Unlocked(JsonWriter& w, std::string_view key, const std::array<bool, N>& from,
              const std::array<bool, N>& to) {
    w.BeginArray(key);
    for (size_t k = 0; k < N; ++k)
        if (to[k] && !from[k]) w.Item(int64_t(k));
    w.EndArray();
}

// Missions of `after` whose state moved from below `state` to it.
void Missions(JsonWriter& w, std::string_view key, const TSKIProfile& before,
              const TSKIProfile& after, uint8_t state) {
    w.BeginArray(key);
    for (size_t k = 0; k < after.Missions.size(); ++k) {
        const uint8_t was =
            k < before.Missions.size() ? before.Missions[k].State : uint8_t(kMissionLocked);
        // Unlocked counts a mission that is open now and was locked; a mission completed
        // straight from locked is listed as completed only.
        const uint8_t now = after.Missions[k].State;
        const bool listed = state == kMissionCompleted
                                ? now == kMissionCompleted && was != kMissionCompleted
                                : now == kMissionUnlocked && was == kMissionLocked;
        if (!listed) continue;
        w.BeginObject();
        w.Field("Index", int64_t(k));
        w.Field("Name", after.Missions[k].Name);
        w.EndObject();
    }
    w.EndArray();
}

}  // namespace

void WriteMissionReport(JsonWriter& w, const TSKIEngine& e, bool accomplished,
                        const TSKIProfile& before, const TSKIProfile& after) {
    w.BeginArray("Objectives");
    for (const TSKIObjective& o : e.Objectives) {
        w.BeginObject();
        w.Field("Name", o.Name);
        w.Field("Type", o.Type);
        w.Field("Value", o.Value);
        w.Field("Active", o.Active);
        w.Field("Completed", o.Completed);
        w.Field("Primary", o.Primary);
        w.EndObject();
    }
    w.EndArray();
    w.Field("Accomplished", accomplished);

    w.BeginObject("ProfileGained");
    Missions(w, "MissionsUnlocked", before, after, kMissionUnlocked);
    Missions(w, "MissionsCompleted", before, after, kMissionCompleted);
    const TSKIProfileTerms& a = before.Terms;
    const TSKIProfileTerms& b = after.Terms;
    Unlocked(w, "LiftsUnlocked", a.UnlockedLifts, b.UnlockedLifts);
    Unlocked(w, "BuildingsUnlocked", a.UnlockedBuildings, b.UnlockedBuildings);
    w.BeginObject("Terms");
    Change(w, "Friends", a.Friends, b.Friends);
    Change(w, "FriendsEnabled", a.FriendsEnabled, b.FriendsEnabled);
    Change(w, "LoanInterest", a.LoanInterest, b.LoanInterest);
    Change(w, "LoanLimit", a.LoanLimit, b.LoanLimit);
    Change(w, "MarketingPriceCheap", a.MarketingPriceCheap, b.MarketingPriceCheap);
    Change(w, "MarketingPriceNormal", a.MarketingPriceNormal, b.MarketingPriceNormal);
    Change(w, "MarketingPriceVIP", a.MarketingPriceVIP, b.MarketingPriceVIP);
    Change(w, "PRCampPrice", a.PRCampPrice, b.PRCampPrice);
    w.EndObject();
    Change(w, "SandboxDiff", before.SandboxDiff, after.SandboxDiff);
    w.BeginArray("SandboxMaps");
    for (size_t m = 0; m < after.SandBox.size(); ++m) {
        if (after.SandBox[m].Completed == before.SandBox[m].Completed) continue;
        w.BeginObject();
        w.Field("Map", int64_t(m + 1));
        w.Field("From", before.SandBox[m].Completed);
        w.Field("To", after.SandBox[m].Completed);
        w.EndObject();
    }
    w.EndArray();
    w.Field("CampaignCompleted", after.CampCompleted && !before.CampCompleted);
    w.EndObject();
}

}  // namespace vallorn::sim
