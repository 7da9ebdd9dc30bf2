#include "ui/day_report.h"

#include <gtest/gtest.h>

#include "support/engine_fixture.h"

namespace vallorn {
namespace {

TSKIParkData Snapshot(int32_t time, int32_t cash, int32_t skiers) {
    TSKIParkData p;
    p.ParkTime = time;
    p.ParkCash = cash;
    p.ParkSkierCount = skiers;
    p.ParkWeatherText = "-4 C, snowing";
    return p;
}

TEST(DayReport, ComparesWithTheDayBeforeUnlessTheGameWasJustLoaded) {
    test::EngineFixture e;
    const int32_t day = e->Params.Game.DayLength, season = day * e->Params.Game.DaysInSeason;
    e->Park.ParkTime = season + 2 * day;  // the day that begins: season 2, day 2

    // A fresh level compares with its all-zero snapshot.
    TSKIParkData zero;
    zero.ParkTime = 0;
    zero.ParkCash = 0;
    TSKIDayReport r = MakeDayReport(*e, zero, Snapshot(e->Park.ParkTime, 1234567, 12), 12);
    EXPECT_EQ(r.Day, "Season: 2   Day: 2");
    EXPECT_TRUE(r.ShowLastDay);
    EXPECT_EQ(r.LastCash, "0,-");
    EXPECT_EQ(r.LastSkiers, "0");
    EXPECT_EQ(r.TodayCash, "1.234.567,-");
    EXPECT_EQ(r.DiffCash, "1.234.567,-");
    EXPECT_EQ(r.DiffSkiers, "12");
    EXPECT_EQ(r.Weather, "-4 C, snowing");

    // A day that lost money and skiers shows negative differences.
    r = MakeDayReport(*e, Snapshot(day, 5000, 30), Snapshot(2 * day, 3500, 21), 21);
    EXPECT_EQ(r.DiffCash, "-1.500,-");
    EXPECT_EQ(r.DiffSkiers, "-9");

    // After a load the start snapshot's time is -1: nothing to compare with.
    r = MakeDayReport(*e, Snapshot(-1, 5000, 30), Snapshot(2 * day, 3500, 21), 21);
    EXPECT_FALSE(r.ShowLastDay);
    EXPECT_EQ(r.TodayCash, "3.500,-");
}

TEST(DayReport, VisitorLinesFollowTheHappyCountAndTheFriends) {
    test::EngineFixture e;
    TSKIDayReport r = MakeDayReport(*e, Snapshot(0, 0, 0), Snapshot(600, 0, 20), 15);
    EXPECT_EQ(r.VisitorsStay, "15 skiers will come back tommorow.");
    EXPECT_EQ(r.VisitorsLeft, "4 skiers will not come back because they did not like the park.");
    EXPECT_TRUE(r.VisitorsFriends.empty());

    // Nobody left over: the line is hidden.
    r = MakeDayReport(*e, Snapshot(0, 0, 0), Snapshot(600, 0, 16), 15);
    EXPECT_TRUE(r.VisitorsLeft.empty());

    // Friends only when the profile has some and they are enabled.
    e->Profile.Friends = 3;
    e->Profile.FriendsEnabled = false;
    EXPECT_TRUE(
        MakeDayReport(*e, Snapshot(0, 0, 0), Snapshot(600, 0, 1), 1).VisitorsFriends.empty());
    e->Profile.FriendsEnabled = true;
    EXPECT_EQ(MakeDayReport(*e, Snapshot(0, 0, 0), Snapshot(600, 0, 1), 1).VisitorsFriends,
              "3 new friends will come tommorow.");
    e->Profile.Friends = 0;
    EXPECT_TRUE(
        MakeDayReport(*e, Snapshot(0, 0, 0), Snapshot(600, 0, 1), 1).VisitorsFriends.empty());
}

}  // namespace
}  // namespace vallorn
