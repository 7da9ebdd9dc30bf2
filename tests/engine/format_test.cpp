#include <gtest/gtest.h>

#include <climits>

#include "engine/engine.h"

namespace vallorn {
namespace {

TEST(FormatMoney, GroupsThousandsWithPointsAndEndsWithCommaDash) {
    EXPECT_EQ(FormatMoney(950), "950,-");
    EXPECT_EQ(FormatMoney(1000), "1.000,-");
    EXPECT_EQ(FormatMoney(1234567), "1.234.567,-");
    EXPECT_EQ(FormatMoney(-5000), "-5.000,-");
    EXPECT_EQ(FormatMoney(-999), "-999,-");
    EXPECT_EQ(FormatMoney(100000), "100.000,-");
    EXPECT_EQ(FormatMoney(INT32_MIN), "-2.147.483.648,-");
}

TEST(FormatMoney, ZeroIsBlankOnlyWhenAsked) {
    EXPECT_EQ(FormatMoney(0), "0,-");
    EXPECT_EQ(FormatMoney(0, true), "");
    EXPECT_EQ(FormatMoney(5, true), "5,-");
}

TEST(FormatDuration, LeavesOutZeroPartsButNeverTheSeconds) {
    EXPECT_EQ(FormatDuration(0), "0 seconds");
    EXPECT_EQ(FormatDuration(1), "1 seconds");
    EXPECT_EQ(FormatDuration(75), "1 minute, 15 seconds");
    EXPECT_EQ(FormatDuration(120), "2 minutes, 0 seconds");
    EXPECT_EQ(FormatDuration(3600), "1 hour, 0 seconds");
    EXPECT_EQ(FormatDuration(7322), "2 hours, 2 minutes, 2 seconds");
    EXPECT_EQ(FormatDuration(86400 + 61), "1 day, 1 minute, 1 seconds");
    EXPECT_EQ(FormatDuration(3 * 86400 + 5 * 3600), "3 days, 5 hours, 0 seconds");
}

}  // namespace
}  // namespace vallorn
