// A small resort on the default mountain, run for two game days the way the game runs it.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <unordered_map>

#include "engine/arrivals.h"
#include "engine/clock.h"
#include "engine/level_file.h"
#include "persistence/state_hash.h"
#include "support/resort_builder.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

struct Watch {
    TSKIVector position;
    int32_t since = 0;
};

struct ScenarioResult {
    std::array<bool, 7> seen{};
    int stuck = 0;
    std::string stuckReport;
    std::string hash;
    int32_t liftCustomers = 0, liftIncome = 0, restaurantCustomers = 0, restaurantIncome = 0;
    int32_t cash = 0, cashAtStart = 0, runningCosts = 0;
    size_t skiersAtEnd = 0;
    int maxSkiers = 0;
};

ScenarioResult RunScenario(uint64_t seed) {
    ScenarioResult r;
    TSKIEngine e({test::BuildRoot(), seed, nullptr});
    EXPECT_TRUE(LoadLevelFile(e, "Mountain", false).ok());
    const test::TResortLayout layout = test::BuildResort(e);
    EXPECT_TRUE(layout.ok()) << layout.error;
    if (!layout.ok()) return r;
    e.Park.ParkSpeed = 4;
    // The player prices the lift and the restaurants high, and a campaign brings a busload
    // of budget skiers on the first morning: some of them run out of money.
    e.Sections[size_t(layout.lift)]->TicketPrice = 25;
    e.Buildings[size_t(layout.stall)]->ServicePrice = 45;
    e.Buildings[size_t(layout.shelter)]->ServicePrice = 35;
    UpdateArrivalPoint(e);
    SpawnSkiers(e, 60, e.ArrivalPoint, 1, 2, true);
    r.cashAtStart = e.Park.ParkCash;

    // A game hour: the day's ticks over its seven hours.
    const int32_t hour = e.Game().DayLength / 7 + 1;
    std::unordered_map<const TSKISkier*, Watch> watch;
    int64_t lastTick = e.TicksRun;
    while (e.DayChanges < 2) {
        OnProgress(e, 1.0 / 30.0);
        if (e.TicksRun == lastTick) continue;
        lastTick = e.TicksRun;
        r.maxSkiers = std::max(r.maxSkiers, int(e.Skiers.size()));
        std::unordered_map<const TSKISkier*, Watch> next;
        for (const auto& s : e.Skiers) {
            r.seen[s->State] = true;
            Watch w{s->Position, e.Park.ParkTime};
            auto it = watch.find(s.get());
            const bool resting = s->State == kSkierWaiting || s->State == kSkierInBuilding ||
                                 s->State == kSkierInjured || s->State == kSkierOnLift;
            if (it != watch.end() && !resting) {
                const TSKIVector d = s->Position - it->second.position;
                if (std::hypot(d.x, d.z) < 0.5f) {
                    w = it->second;
                    if (e.Park.ParkTime - w.since > hour) {
                        ++r.stuck;
                        r.stuckReport += "skier " + std::to_string(e.IndexOf(s.get())) + " state " +
                                         std::to_string(s->State) + " at " +
                                         std::to_string(s->Position.x) + "," +
                                         std::to_string(s->Position.z) + "\n";
                        w.since = e.Park.ParkTime;  // report each hour once
                    }
                }
            }
            next[s.get()] = w;
        }
        watch.swap(next);
    }
    const TSKISection& lift = *e.Sections[size_t(layout.lift)];
    r.liftCustomers = lift.CustomersServed;
    r.liftIncome = lift.TotalIncome;
    for (int b : {layout.stall, layout.shelter}) {
        r.restaurantCustomers += e.Buildings[size_t(b)]->CustomersServed;
        r.restaurantIncome += e.Buildings[size_t(b)]->TotalIncome;
    }
    for (const auto& section : e.Sections) r.runningCosts += section->TotalExpense;
    for (const auto& b : e.Buildings) r.runningCosts += b->TotalExpense;
    r.cash = e.Park.ParkCash;
    r.skiersAtEnd = e.Skiers.size();
    r.hash = StateHashText(e);
    return r;
}

TEST(ResortScenario, TwoDaysOnTheMountainServeEveryoneAndStrandNoOne) {
    const ScenarioResult r = RunScenario(42);
    const char* names[] = {"idle",        "on lift", "skiing", "waiting",
                           "in building", "leaving", "injured"};
    for (int s = 0; s < 7; ++s) EXPECT_TRUE(r.seen[s]) << "never seen: " << names[s];
    EXPECT_GT(r.maxSkiers, 20);
    EXPECT_GT(r.liftCustomers, 30);  // 34 to 93 over two days, by the seed
    EXPECT_GT(r.restaurantCustomers, 10);
    EXPECT_GT(r.liftIncome, 0);
    EXPECT_GT(r.restaurantIncome, 0);
    // Every ticket and every meal went into the cash box and every hour's running costs
    // came out of it; nothing else moved money.
    EXPECT_GT(r.runningCosts, 0);
    EXPECT_EQ(r.cash, r.cashAtStart + r.liftIncome + r.restaurantIncome - r.runningCosts);
    EXPECT_EQ(r.stuck, 0) << r.stuckReport;
}

TEST(ResortScenario, TheSameSeedGivesTheSamePark) {
    const ScenarioResult a = RunScenario(9);
    const ScenarioResult b = RunScenario(9);
    EXPECT_EQ(a.hash, b.hash);
    EXPECT_EQ(a.cash, b.cash);
    EXPECT_EQ(a.skiersAtEnd, b.skiersAtEnd);
}

}  // namespace
}  // namespace vallorn
