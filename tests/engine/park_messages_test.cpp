// The park messages of the menu bar's strip.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/arrivals.h"
#include "engine/economy.h"
#include "support/engine_fixture.h"

namespace vallorn {
namespace {

using test::EngineFixture;

// A park whose every figure is fine: no message holds.
class ParkMessages : public ::testing::Test {
protected:
    void SetUp() override {
        TSKIParkData& p = e->Park;
        p.ParkMissionIndex = 0;
        p.ParkCash = 1000;
        p.ParkRatingPercent = 50;
        p.ParkAvgHappiness = p.ParkAvgCold = p.ParkAvgHunger = p.ParkAvgEnergy = 50;
        p.ParkSnowQuality = 80;
        p.ParkHourProfit = 10;
        e->Profile.UnlockedBuildings.fill(true);
        SpawnSkiers(*e, 6, {0, 0, 0, 1}, 2, 2, true);  // allocates no parking
        p.ParkMaxSkiers = 100;
    }
    bool Has(const std::string& text) {
        const auto& list = e->ParkMessages;
        return std::find(list.begin(), list.end(), text) != list.end();
    }
    EngineFixture e;
};

TEST_F(ParkMessages, AHealthyParkHidesTheStrip) {
    e->ShownParkMessage = "Skiers are hungry.";
    BuildParkMessages(*e);
    EXPECT_TRUE(e->ParkMessages.empty());
    EXPECT_TRUE(e->ShownParkMessage.empty());
}

TEST_F(ParkMessages, EveryConditionAddsItsMessageInOrder) {
    TSKIParkData& p = e->Park;
    p.ParkCash = -1;
    p.ParkMaxSkiers = 6;
    p.ParkRatingPercent = 29;
    p.ParkAvgHappiness = p.ParkAvgCold = p.ParkAvgHunger = p.ParkAvgEnergy = 29;
    p.ParkRatingLeftUnhappy = -10.5f;
    p.ParkRatingLeftDead = -15.5f;
    p.ParkTreesFelled = 6;
    p.ParkSnowQuality = 48.9f;
    p.ParkHourProfit = -1;
    TSKISection& lift = e.AddLift({{0, 0, 0, 1}, {-40, 0, 0, 1}}, kLiftTBar);
    lift.Name = "T-bar #1";
    lift.CustomersServed = 100;
    lift.TooExpensiveCount = 25;  // one rider in four paid more than the ride was worth
    BuildParkMessages(*e);
    const std::vector<std::string> all = {
        "Cash balance is in negative numbers.",
        "Maximum parking capacity reached",
        "Park rating is terrible. Check the rating stats",
        "Skiers are unhappy.",
        "Skiers are freezing.",
        "Skiers are hungry.",
        "Skiers are tired.",
        "You have bad reputation.",
        "Skiers have died on the slope because of slow rescue !",
        "Environmental damage too high. Replant some trees",
        "Snow quality is dangerously low.",
        "Profit in last hour was negative.",
        "Skiers find the T-bar #1 too expensive. Lower its price.",
    };
    EXPECT_EQ(e->ParkMessages, all);
    EXPECT_TRUE(std::find(all.begin(), all.end(), e->ShownParkMessage) != all.end());

    // Warnings about what the player cannot build yet stay quiet.
    e->Profile.UnlockedBuildings.fill(false);
    BuildParkMessages(*e);
    EXPECT_EQ(e->ParkMessages.size(), 6u);  // the T-bar's riders since the last list were none
    EXPECT_FALSE(Has("Maximum parking capacity reached"));
    EXPECT_FALSE(Has("Skiers are freezing."));
    EXPECT_FALSE(Has("Skiers are hungry."));
    EXPECT_FALSE(Has("Skiers are tired."));
    EXPECT_FALSE(Has("Skiers have died on the slope because of slow rescue !"));
    EXPECT_FALSE(Has("Snow quality is dangerously low."));
    EXPECT_TRUE(Has("You have bad reputation."));
}

TEST_F(ParkMessages, BoundariesOfTheConditions) {
    TSKIParkData& p = e->Park;
    p.ParkRatingPercent = 30;
    p.ParkRatingLeftUnhappy = -10;
    p.ParkRatingLeftDead = -15;
    p.ParkTreesFelled = 5;
    p.ParkSnowQuality = 49;
    p.ParkMaxSkiers = 7;
    p.ParkCash = 0;
    p.ParkHourProfit = 0;
    TSKISection& lift = e.AddLift({{0, 0, 0, 1}, {-40, 0, 0, 1}}, kLiftTBar);
    lift.CustomersServed = 100;
    lift.TooExpensiveCount = 24;
    TSKISection& closed = e.AddLift({{0, 0, 40, 1}, {-40, 0, 40, 1}}, kLiftTBar);
    closed.Status = kLiftClosed;  // a closed lift's old riders do not count
    closed.CustomersServed = closed.TooExpensiveCount = 50;
    BuildParkMessages(*e);
    EXPECT_TRUE(e->ParkMessages.empty());
}

TEST_F(ParkMessages, FewerThanSixSkiersOrTheUnlimitedSandboxGiveNoMessages) {
    e->Park.ParkCash = -500;
    e->Skiers.pop_back();
    BuildParkMessages(*e);
    EXPECT_TRUE(e->ParkMessages.empty());
    EXPECT_TRUE(e->ShownParkMessage.empty());

    SpawnSkiers(*e, 1, {0, 0, 0, 1}, 2, 2, true);
    e->Park.ParkMaxSkiers = 100;
    BuildParkMessages(*e);
    ASSERT_EQ(e->ParkMessages.size(), 1u);
    EXPECT_EQ(e->ShownParkMessage, "Cash balance is in negative numbers.");

    // The unlimited sandbox leaves the list and the strip as they are.
    e->Park.ParkMissionIndex = kMissionUnlimitedSandbox;
    e->Park.ParkCash = 500;
    BuildParkMessages(*e);
    EXPECT_EQ(e->ParkMessages.size(), 1u);
    EXPECT_EQ(e->ShownParkMessage, "Cash balance is in negative numbers.");
}

// A lift whose queue is full while skiers stand idle at its gate says so; a line with room,
// or a full one with fewer idle skiers about, does not.
TEST_F(ParkMessages, AFullQueueWithIdleSkiersAtItsGateIsReported) {
    const std::string text =
        "A lift's queue is full and skiers stand idle at its gate. Build another lift.";
    TSKISection& lift = e.AddLift({{-100, 0, 100, 1}, {-100, 50, 300, 1}});
    for (auto& s : e->Skiers) s->Position = {-110, 0, 95, 1};
    BuildParkMessages(*e);
    EXPECT_FALSE(Has(text));
    lift.QueueSlots[kQueueTail] = e->Skiers[0].get();
    e->Skiers[0]->State = kSkierWaiting;
    BuildParkMessages(*e);
    EXPECT_TRUE(Has(text));
    e->Skiers[1]->Position = {-300, 0, 95, 1};  // four idle skiers left at the gate
    BuildParkMessages(*e);
    EXPECT_FALSE(Has(text));
}

// A lift or a restaurant where one customer in four since the last list paid more than the
// service was worth to him is named; the next list names it again only if it still does.
TEST_F(ParkMessages, APlaceWhosePriceTurnsSkiersAwayIsNamedWhileItDoes) {
    TSKISection& lift = e.AddLift({{0, 0, 0, 1}, {-40, 0, 0, 1}}, kLiftTBar);
    lift.Name = "T-bar #1";
    TSKIBuilding& stall = e.AddBuilding(kBuildStall, {40, 0, 40, 1});
    const std::string liftText = "Skiers find the T-bar #1 too expensive. Lower its price.";
    const std::string stallText = "Skiers find the Stall too expensive. Lower its price.";
    lift.CustomersServed = 400, lift.TooExpensiveCount = 20;   // a cheap day
    stall.CustomersServed = 19, stall.TooExpensiveCount = 19;  // too few to say
    BuildParkMessages(*e);
    EXPECT_TRUE(e->ParkMessages.empty());
    lift.CustomersServed += 100, lift.TooExpensiveCount += 25;  // the price went up
    stall.CustomersServed += 20, stall.TooExpensiveCount += 5;
    BuildParkMessages(*e);
    EXPECT_EQ(e->ParkMessages, (std::vector<std::string>{liftText, stallText}));
    lift.CustomersServed += 100, lift.TooExpensiveCount += 24;  // and down again
    stall.CustomersServed += 20;
    BuildParkMessages(*e);
    EXPECT_TRUE(e->ParkMessages.empty());
}

TEST_F(ParkMessages, TheListIsRebuiltOnEveryEleventhHistorySample) {
    e->Park.ParkCash = -1;
    for (int k = 1; k <= 10; ++k) ParkMessageSample(*e);
    EXPECT_TRUE(e->ParkMessages.empty());
    ParkMessageSample(*e);
    EXPECT_EQ(e->ParkMessages.size(), 1u);
    e->Park.ParkCash = 1;
    for (int k = 1; k <= 10; ++k) ParkMessageSample(*e);
    EXPECT_EQ(e->ParkMessages.size(), 1u);
    ParkMessageSample(*e);
    EXPECT_TRUE(e->ParkMessages.empty());
}

}  // namespace
}  // namespace vallorn
