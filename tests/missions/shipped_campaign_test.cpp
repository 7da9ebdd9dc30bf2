// The shipped profile template: what every new player starts from.
#include <gtest/gtest.h>

#include <algorithm>

#include "missions/profile.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

TEST(ShippedCampaign, TemplateStartsANewPlayerOnTheFirstOfFifteenMissionsLaidOutInASnake) {
    TSKIProfile p;
    std::string error;
    ASSERT_TRUE(ParseProfile(
        test::ReadText(test::SourceRoot() / "assets" / "worlds" / "missions.txt"), p, &error))
        << error;
    ASSERT_EQ(p.MissionCount(), 15);
    for (int i = 0; i < 15; ++i) {
        const TSKIMissionData& m = p.Missions[size_t(i)];
        const int row = i / 5, column = row % 2 == 0 ? i % 5 : 4 - i % 5;
        EXPECT_EQ(m.State, i == 0 ? kMissionUnlocked : kMissionLocked) << m.Name;
        EXPECT_EQ(m.MapLeft, 48 + column * 196) << m.Name;
        EXPECT_EQ(m.MapTop, 56 + row * 224) << m.Name;
    }
    // The reminder of missions 11 and 14 names the side missions: they must exist.
    for (const char* side : {"Marketing", "Banking", "Friends"}) {
        EXPECT_TRUE(std::any_of(p.Missions.begin(), p.Missions.end(),
                                [&](const TSKIMissionData& m) { return m.Name == side; }))
            << side;
    }
    const TSKIProfileTerms n = TSKIProfileTerms::NewPlayer();
    EXPECT_EQ(p.Terms.LoanInterest, n.LoanInterest);
    EXPECT_EQ(p.Terms.LoanLimit, n.LoanLimit);
    EXPECT_EQ(p.Terms.MarketingPriceCheap, n.MarketingPriceCheap);
    EXPECT_EQ(p.Terms.MarketingPriceNormal, n.MarketingPriceNormal);
    EXPECT_EQ(p.Terms.MarketingPriceVIP, n.MarketingPriceVIP);
    EXPECT_EQ(p.Terms.PRCampPrice, n.PRCampPrice);
    EXPECT_FALSE(p.SandboxUnlocked);  // the parking blueprint comes with the fifth mission
    EXPECT_EQ(p.SandboxDiff, 1);
    EXPECT_EQ(p.SandBox[0].Text, "Aldermoor");
    EXPECT_EQ(p.SandBox[20].Text, "Whitepeak");
}

}  // namespace
}  // namespace vallorn
