// The game clock: frame handler, periodic tick, calendar and day change.
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "engine/arrivals.h"
#include "engine/clock.h"
#include "engine/history.h"
#include "support/engine_fixture.h"

namespace vallorn {
namespace {

using test::EngineFixture;

class Clock : public ::testing::Test {
protected:
    void SetUp() override {
        e->Params.Game.TickTime = 1.0f;
        e->Params.Game.DayLength = 600;
        e->Params.Game.DaysInSeason = 30;
        e->Params.Game.HistoryInterval = 60.0f;
    }
    // Runs ticks directly until the clock reaches `ticks`.
    void TickTo(int32_t ticks) {
        while (e->Park.ParkTime < ticks) PeriodicTick(*e);
    }
    EngineFixture e;
};

TEST_F(Clock, CalendarOfADefaultDay) {
    TSKICalendar c = CalendarAt(*e, 0);
    EXPECT_EQ(c.Season, 1);
    EXPECT_EQ(c.Day, 0);
    EXPECT_EQ(ClockText(c), "9:00");
    c = CalendarAt(*e, 599);
    EXPECT_EQ(c.Day, 0);
    EXPECT_EQ(c.Hour, 15);
    EXPECT_EQ(c.Minute, 59);
    EXPECT_EQ(ClockText(c), "15:59");
    c = CalendarAt(*e, 600);
    EXPECT_EQ(c.Day, 1);
    EXPECT_EQ(ClockText(c), "9:00");
    // 8 ticks of 85.7 per hour: five minutes past nine
    EXPECT_EQ(ClockText(CalendarAt(*e, 8)), "9:05");
    c = CalendarAt(*e, 600 * 30);
    EXPECT_EQ(c.Season, 2);
    EXPECT_EQ(c.Day, 0);
    c = CalendarAt(*e, 600 * 30 - 1);
    EXPECT_EQ(c.Season, 1);
    EXPECT_EQ(c.Day, 29);
}

TEST_F(Clock, EveryHourOfTheDayIsReachedAndMinutesStayInRange) {
    int hoursSeen = 0, lastHour = 8;
    for (int t = 0; t < 600; ++t) {
        TSKICalendar c = CalendarAt(*e, t);
        ASSERT_GE(c.Minute, 0);
        ASSERT_LE(c.Minute, 59);
        ASSERT_GE(c.Hour, lastHour);
        if (c.Hour != lastHour) ++hoursSeen, lastHour = c.Hour;
    }
    EXPECT_EQ(hoursSeen, 7);  // 9:00 to 15:59
}

TEST_F(Clock, AStalledFrameAdvancesAtMostATenthOfASecondTimesTheSpeed) {
    e->Park.ParkSpeed = 4;
    OnProgress(*e, 0.5);
    EXPECT_FLOAT_EQ(e->TickAccumulator, 0.4f);
    e->Park.ParkSpeed = 1;
    OnProgress(*e, 0.05);
    EXPECT_FLOAT_EQ(e->TickAccumulator, 0.45f);
    OnProgress(*e, -1.0);  // a clock running backwards moves nothing
    EXPECT_FLOAT_EQ(e->TickAccumulator, 0.45f);
}

TEST_F(Clock, AtMostOneTickPerFrameAndTheExcessIsDropped) {
    e->Params.Game.TickTime = 0.01f;
    e->Park.ParkSpeed = 4;
    for (int k = 0; k < 10; ++k) OnProgress(*e, 0.1);
    EXPECT_EQ(e->Park.ParkTime, 10);
    EXPECT_FLOAT_EQ(e->TickAccumulator, 0.0f);
}

TEST_F(Clock, TicksFollowTheSpeedFactor) {
    // At 32 frames a second a tick of 1 s comes at the first frame past 1 s of game time:
    // the 33rd frame at speed 1, the 17th at speed 2, the 9th at speed 4.
    for (float speed : {1.0f, 2.0f, 4.0f}) {
        e->Park.ParkSpeed = speed;
        e->TickAccumulator = 0;
        const int32_t start = e->Park.ParkTime;
        int frames = 0;
        while (e->Park.ParkTime == start) OnProgress(*e, 1.0 / 32), ++frames;
        EXPECT_EQ(frames, speed == 1 ? 33 : speed == 2 ? 17 : 9) << speed;
    }
}

TEST_F(Clock, PauseFreezesTimeAndArrivals) {
    e.AddBuilding(kBuildParking, {-400, 0, 400, 1});
    e->Park.ParkSpawnSpeed = 0;
    e->Park.ParkSpeed = 0;
    for (int k = 0; k < 1000; ++k) OnProgress(*e, 0.1);
    EXPECT_EQ(e->Park.ParkTime, 0);
    EXPECT_TRUE(e->Skiers.empty());
    e->Park.ParkSpeed = 1;
    for (int k = 0; k < 100; ++k) OnProgress(*e, 0.1);
    EXPECT_GT(e->Park.ParkTime, 0);
}

TEST_F(Clock, HaltedOrStoppedEnginesIgnoreFramesAndBusyOnesSkipTheTick) {
    e->Halted = true;
    OnProgress(*e, 0.1);
    EXPECT_FLOAT_EQ(e->TickAccumulator, 0.0f);
    e->Halted = false;
    e->Running = false;  // no level loaded: the scene timer is off
    OnProgress(*e, 0.1);
    EXPECT_FLOAT_EQ(e->TickAccumulator, 0.0f);
    e->Running = true;
    e->Busy = true;
    PeriodicTick(*e);
    EXPECT_EQ(e->Park.ParkTime, 0);
}

TEST_F(Clock, HistoryIsSampledEveryIntervalAndCapped) {
    e->Park.ParkCash = 1234;
    TickTo(61);  // the accumulator must pass 60
    ASSERT_EQ(e->HistorySamples, 1);
    EXPECT_EQ(e->History[0].front(), 1234);
    for (int k = 0; k < 400; ++k) {
        e->Park.ParkCash = k;
        SampleHistory(*e);
    }
    EXPECT_EQ(e->History[0].size(), kHistoryLength);
    EXPECT_EQ(e->History[0].front(), 399);  // newest first
    EXPECT_EQ(e->History[0].back(), 399 - int(kHistoryLength) + 1);
    EXPECT_EQ(e->History[9].size(), 0u);  // the two spare series stay empty
}

TEST_F(Clock, AccountingHourEverySixtyFirstTick) {
    TickTo(61);
    EXPECT_EQ(e->AccountingHours, 1);
    TickTo(122);
    EXPECT_EQ(e->AccountingHours, 2);
}

TEST_F(Clock, DayChangeRunsWhenTheTickCrossesIntoANewDay) {
    e->Park.ParkLoanInterest = 150;
    e->Park.ParkLoanExpence = 10;
    const int32_t cash = e->Park.ParkCash;
    TickTo(599);
    EXPECT_EQ(e->DayChanges, 0);
    PeriodicTick(*e);
    EXPECT_EQ(e->Park.ParkTime, 600);
    EXPECT_EQ(e->DayChanges, 1);
    ASSERT_EQ(e.dialogs.reports.size(), 1u);
    EXPECT_EQ(e->Park.ParkCash, cash - 150);
    EXPECT_EQ(e->Park.ParkLoanExpence, 160);
    EXPECT_FALSE(e->Busy);
    // The report compares the start of the day with its end; the new day starts from a
    // fresh snapshot.
    const auto& r = e.dialogs.reports[0];
    EXPECT_EQ(r.start.ParkTime, 0);
    EXPECT_EQ(r.end.ParkTime, 600);
    EXPECT_EQ(e->StartOfDay.ParkTime, 600);
    EXPECT_EQ(e->StartOfDay.ParkCash, cash);  // taken before the bank's interest
}

TEST_F(Clock, TheWeatherIsRedrawnEachDayAndDescribedInTheSnapshot) {
    std::set<float> weathers;
    for (int day = 1; day <= 5; ++day) {
        TickTo(600 * day);
        weathers.insert(e->Park.ParkWeather);
        EXPECT_GE(e->Park.ParkWeather, 0.0f);
        EXPECT_LT(e->Park.ParkWeather, 1.0f);
    }
    EXPECT_EQ(weathers.size(), 5u);
    e->Park.ParkWeather = 0.75f;
    EXPECT_EQ(e->TakeSnapshot().ParkWeatherText, "-5 'C, snowing");
    e->Park.ParkWeather = 0.2f;
    EXPECT_EQ(e->TakeSnapshot().ParkWeatherText, "6 'C, snow melting");
    e->Park.ParkWeather = 0.5f;
    EXPECT_EQ(e->TakeSnapshot().ParkWeatherText, "0 'C, snowing");
}

TEST_F(Clock, UnhappySkiersDoNotComeBackAndTheRestMeetIdleAtTheArrivalPoint) {
    e.AddBuilding(kBuildParking, {-400, 0, 400, 1});
    e->Park.ParkSpawnSpeed = 1000000;  // no waves
    SpawnSkiers(*e, 6, {0, 0, 0, 1}, 2, 2, true);
    e->Skiers[1]->Happiness = -34;
    e->Skiers[4]->Happiness = -90;
    e->Skiers[2]->Happiness = -32.5f;  // just above the line: comes back
    e->Skiers[3]->State = kSkierSkiing;
    e->Skiers[5]->Building = e->Buildings[0].get();
    e->Skiers[0]->State = kSkierInjured;  // healed overnight
    e->Skiers[0]->Injured = true;
    e->Park.ParkTime = 599;  // the last tick of the day
    PeriodicTick(*e);
    ASSERT_EQ(e.dialogs.reports.size(), 1u);
    EXPECT_EQ(e.dialogs.reports[0].happy, 4);  // happy means above -33
    EXPECT_EQ(e.dialogs.reports[0].end.ParkSkierCount, 6);
    ASSERT_EQ(e->Skiers.size(), 4u);
    EXPECT_TRUE(test::ParkConsistent(*e));
    for (const auto& s : e->Skiers) {
        EXPECT_EQ(s->State, kSkierIdle);
        EXPECT_FALSE(s->Injured);
        EXPECT_EQ(s->Building, nullptr);
        EXPECT_LE(std::abs(s->Position.x - e->ArrivalPoint.x), 20.0f);
        EXPECT_LE(std::abs(s->Position.z - e->ArrivalPoint.z), 20.0f);
    }
}

TEST_F(Clock, FriendsArriveEachMorningWhenWelcome) {
    e.AddBuilding(kBuildParking, {-400, 0, 400, 1});
    e->Park.ParkSpawnSpeed = 1000000;  // no waves
    e->Profile.Friends = 7;
    e->Profile.FriendsEnabled = false;
    TickTo(600);
    EXPECT_EQ(e->Skiers.size(), 0u);
    e->Profile.FriendsEnabled = true;
    TickTo(1200);
    EXPECT_EQ(e->Skiers.size(), 7u);
    EXPECT_EQ(e->Buildings[0]->CustomersServed, 7);
    for (const auto& s : e->Skiers) {
        EXPECT_GE(s->Money, 800);  // friends are wealthy
        EXPECT_LE(s->Money, 899);
    }
}

// A parameter file of one day a season: every day is day 0 of a new season, and still ends.
TEST_F(Clock, WithOneDayASeasonEveryDayStillEnds) {
    e->Params.Game.DaysInSeason = 1;
    TickTo(3 * 600);
    EXPECT_EQ(e->DayChanges, 3);
    EXPECT_EQ(CalendarAt(*e, e->Park.ParkTime).Season, 4);
}

TEST_F(Clock, AccidentCooldownCountsDown) {
    e->Park.ParkAccidentCooldown = 3;
    for (int k = 0; k < 5; ++k) PeriodicTick(*e);
    EXPECT_EQ(e->Park.ParkAccidentCooldown, -1);
}

TEST_F(Clock, CrowdCountersCountSkiersStandingOnACell) {
    e->Grid.assign(size_t(kGridSide) * kGridSide, TerrainCell{});
    SpawnSkiers(*e, 3, {0, 0, 0, 1}, 1, 1, true);
    const TSKIVector p = e->CellToWorld(10, 20, false);
    for (auto& s : e->Skiers) s->Position = p;
    e->Skiers[2]->State = kSkierOnLift;  // riders do not crowd the ground
    UpdateCrowdCounters(*e);
    EXPECT_EQ(e->Cell(10, 20).Crowd, 3);
    e->Skiers[0]->Position = e->CellToWorld(11, 20, false);
    UpdateCrowdCounters(*e);
    EXPECT_EQ(e->Cell(10, 20).Crowd, 2);
    EXPECT_EQ(e->Cell(11, 20).Crowd, 2);
    e->Skiers[0]->Position = {5000, 0, 5000, 1};  // off the map: not counted
    e->Skiers[1]->Position = {5000, 0, 5000, 1};
    UpdateCrowdCounters(*e);
    EXPECT_EQ(e->Cell(10, 20).Crowd, 1);
    EXPECT_EQ(e->Cell(11, 20).Crowd, 1);
}

}  // namespace
}  // namespace vallorn
