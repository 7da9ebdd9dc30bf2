// A stranger's map or profile cannot break the player's terms: a friends reward or a profile
// brings no more skiers than a park holds, and the bank's interest stays 0..100 % a day.
#include <gtest/gtest.h>

#include <limits>

#include "base/ini_file.h"
#include "engine/arrivals.h"
#include "engine/clock.h"
#include "engine/economy.h"
#include "missions/profile.h"
#include "missions_fixture.h"

namespace vallorn {
namespace {

constexpr int32_t kIntMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kIntMax = std::numeric_limits<int32_t>::max();

class ProfileTermsLimits : public test::MissionsFixture {};

TEST_F(ProfileTermsLimits, AMapsFriendsRewardBringsNoMoreSkiersThanAParkHolds) {
    profile.Name = "Ann";
    // A shared map whose objective, met at once, pays the most friends a number can hold.
    const TIniFile map = TIniFile::FromText(
        "[SKIObjectives]\nObjCount=1\nObjectiveType0=0\nObjectiveActive0=1\nObjectiveReward0=2\n"
        "ObjectiveRewardValue0=2147483647\n");
    std::string error;
    ASSERT_TRUE(ReadObjectives(map, e->Objectives, &error)) << error;
    Evaluate();
    ASSERT_TRUE(At(0).Completed);
    ASSERT_EQ(profile.Terms.Friends, kMaxFriends);
    EXPECT_EQ(ProfileOnDisk().Terms.Friends, kMaxFriends);
    // A profile file that holds more reads as the most a park holds.
    TSKIProfile read;
    ASSERT_TRUE(ParseProfile("[Friends]\n2147483647\n[FriendsEnabled]\nY\n", read, &error));
    EXPECT_EQ(read.Terms.Friends, kMaxFriends);

    // Whatever the terms say, the mornings fill the park up to what it holds and no further.
    e->Profile.Friends = kIntMax;
    e->Profile.FriendsEnabled = true;
    DayChange(*e);
    EXPECT_EQ(e->Skiers.size(), size_t(kMaxParkSkiers));
    DayChange(*e);
    EXPECT_EQ(e->Skiers.size(), size_t(kMaxParkSkiers));
    EXPECT_EQ(SpawnSkiers(*e, 5, e->ArrivalPoint, 3, 3, true), 0);
}

TEST_F(ProfileTermsLimits, TheBankNeverPaysAndNeverTakesMoreThanTheLoanADay) {
    // Interest from the profile file: the rate is held to 0..100 % a day.
    const struct {
        int32_t rate;
        int32_t read;
    } cases[] = {{kIntMax, kMaxLoanInterest}, {kIntMin, 0}, {-100, 0}, {7, 7}};
    for (const auto& c : cases) {
        TSKIProfile read;
        std::string error;
        ASSERT_TRUE(ParseProfile("[LoanInterest]\n" + std::to_string(c.rate) + "\n[LoanLimit]\n" +
                                     std::to_string(kIntMax) + "\n[MarketingPriceCheap]\n-5\n",
                                 read, &error));
        EXPECT_EQ(read.Terms.LoanInterest, c.read) << c.rate;
        EXPECT_EQ(read.Terms.LoanLimit, kMaxLoanLimit);
        EXPECT_EQ(read.Terms.MarketingPriceCheap, 0);

        // A day with a loan of 5000 on the terms as the engine holds them, even unbounded.
        e->Profile.LoanInterest = c.rate;
        e->Profile.LoanLimit = 5000;
        e->Park.ParkLoan = 0;
        ASSERT_TRUE(TakeLoan(*e, 5000));
        const int32_t cash = e->Park.ParkCash;
        DayChange(*e);
        EXPECT_LE(e->Park.ParkCash, cash) << c.rate;
        EXPECT_GE(e->Park.ParkCash, cash - 5000) << c.rate;
        ASSERT_TRUE(RepayLoan(*e, 5000));
    }
}

}  // namespace
}  // namespace vallorn
