// Needs: the periodic update by state, going to a building, leaving for lack of money or
// mood, the unlimited sandbox, injuries, death and the accident test.
#include <gtest/gtest.h>

#include "entities/skier_world.h"

namespace vallorn {
namespace {

using SkierNeeds = test::SkierWorld;

TEST_F(SkierNeeds, MoneyBelowTheSpendingLimitSendsEvenAHappySkierHome) {
    const int32_t lift = AddLift(At(100, 100), At(80, 100));
    TSKISkier& s = AddSkier(At(100, 100));
    s.Happiness = s.Cold = s.Hunger = s.Energy = 100;
    s.Money = 9;
    s.SpendingLimit = 10;
    s.JoinQueue(&Section(lift));
    const float rating = E().Park.ParkRatingLeftUnhappy;
    s.CheckNeeds();
    EXPECT_EQ(s.State, kSkierLeaving);
    EXPECT_TRUE(s.Leaving);
    EXPECT_EQ(s.TargetSpeed, 5.0f);
    EXPECT_EQ(s.NeedsTimer, 2.0f);
    EXPECT_EQ(Section(lift).QueueSlots[kQueueTail], nullptr);  // gave up its place
    EXPECT_EQ(E().Park.ParkLeftBecauseNoMoney, 1);
    EXPECT_EQ(E().Park.ParkLeftBecauseUnhappy, 0);
    EXPECT_EQ(E().Park.ParkRatingLeftUnhappy, rating);  // costs no rating

    // Money equal to the limit is enough to stay.
    TSKISkier& t = AddSkier(At(100, 100));
    t.Happiness = t.Cold = t.Hunger = t.Energy = 100;
    t.Money = t.SpendingLimit = 10;
    t.CheckNeeds();
    EXPECT_EQ(t.State, kSkierIdle);
}

TEST_F(SkierNeeds, AnUnhappySkierLeavesWithAPenaltyExceptInTheUnlimitedSandbox) {
    TSKISkier& s = AddSkier(At(100, 100), {.Money = 500});
    s.Happiness = -100;
    s.CheckNeeds();
    EXPECT_EQ(s.State, kSkierLeaving);
    EXPECT_EQ(E().Park.ParkLeftBecauseUnhappy, 1);
    EXPECT_FLOAT_EQ(E().Park.ParkRatingLeftUnhappy, -E().Params.Game.RatingLeftUnhappyPenalty);

    // Riders decide at the top, not on the way up.
    TSKISkier& rider = AddSkier(At(100, 100));
    rider.State = kSkierOnLift;
    rider.Happiness = -100;
    rider.CheckNeeds();
    EXPECT_EQ(rider.State, kSkierOnLift);

    E().Park.ParkSandboxDiff = 99;
    TSKISkier& t = AddSkier(At(100, 100), {.Money = 500});
    t.Happiness = -100;
    t.CheckNeeds();
    EXPECT_EQ(t.State, kSkierIdle);
    EXPECT_EQ(E().Park.ParkLeftBecauseUnhappy, 1);
}

TEST_F(SkierNeeds, TheUnlimitedSandboxKeepsEveryNeedBetweenZeroAndAHundred) {
    E().Park.ParkSandboxDiff = 99;
    TSKISkier& s = AddSkier(At(100, 100), {.Money = 500});
    s.State = kSkierWaiting;  // waiting chills and annoys
    s.Cold = -50;
    s.Happiness = -80;
    s.Energy = 150;
    for (int t = 0; t < 50; ++t) {
        ASSERT_TRUE(s.Periodic());
        for (float need : {s.Cold, s.Hunger, s.Happiness, s.Energy}) {
            EXPECT_GE(need, 0.0f);
            EXPECT_LE(need, 100.0f);
        }
    }
    s.State = kSkierIdle;
    s.CheckNeeds();
    EXPECT_EQ(s.State, kSkierIdle);
}

TEST_F(SkierNeeds, WaitingChillsRestsAndAnnoys) {
    const TSKIGameParams& g = E().Params.Game;
    TSKISkier& s = AddSkier(At(100, 100));
    s.State = kSkierWaiting;
    E().Park.ParkWeather = 0.5f;
    ASSERT_TRUE(s.Periodic());
    const float cold = g.WaitColdFactor * 10.0f * 0.5f;  // cell height 10
    EXPECT_NEAR(s.Cold, cold, 1e-5f);
    EXPECT_NEAR(s.Energy, g.WaitEnergyFactor, 1e-5f);
    EXPECT_NEAR(s.Hunger, g.HungerFactor, 1e-5f);
    EXPECT_NEAR(s.Happiness,
                (cold + g.WaitEnergyFactor + g.HungerFactor) * 0.01f + g.UnHappyWaitFactor, 1e-5f);
}

TEST_F(SkierNeeds, ASlopeOfTheSkillsLevelCountsTwiceGroomedSnowAddsAndCrowdsSpoil) {
    const TSKIGameParams& g = E().Params.Game;
    const int32_t slope = AddSlope({At(100, 100), TSKIVector(-440.5f, 10, 399.5f, 30.0f)});
    SetLinks(100, 100, {{slope, 1}});     // width 30: twice the usual enjoyment
    E().Cell(100, 100).Steepness = 1.0f;  // a beginners' slope
    TSKISkier& beginner = AddSkier(At(100, 100), {.Skill = 0.2f});
    TSKISkier& pro = AddSkier(At(100, 100), {.Skill = 0.9f});
    for (TSKISkier* s : {&beginner, &pro}) {
        s->State = kSkierSkiing;
        ASSERT_TRUE(s->Periodic());
    }
    const float e = g.EnjoySlopeFactor * 2.0f;
    EXPECT_NEAR(beginner.Happiness - pro.Happiness, e, 1e-5f);

    // Groomed snow adds its factor; two more skiers on the cell cost 50 x 0.01.
    E().Cell(100, 100).Groomed = true;
    E().Cell(100, 100).Crowd = 3;
    TSKISkier& groomed = AddSkier(At(100, 100), {.Skill = 0.9f});
    groomed.State = kSkierSkiing;
    ASSERT_TRUE(groomed.Periodic());
    EXPECT_NEAR(groomed.Happiness - pro.Happiness, g.EnjoySnowQualityFactor - 0.5f, 1e-5f);
}

TEST_F(SkierNeeds, NeedsSendASkierIntoTheNearestFittingBuilding) {
    TSKIBuilding* stall =
        E().CreateBuilding({.Type = kBuildStall, .ServicePrice = 6, .Position = At(100, 105)});
    TSKISkier& hungry = AddSkier(At(100, 100), {.Money = 100, .Hunger = -50});
    hungry.Happiness = hungry.Cold = hungry.Energy = 50;
    hungry.CheckNeeds();
    EXPECT_EQ(hungry.State, kSkierInBuilding);
    EXPECT_EQ(hungry.Building, stall);
    EXPECT_EQ(hungry.Money, 94);

    // Only cold: a stall serves food only.
    TSKISkier& cold = AddSkier(At(100, 100), {.Money = 100, .Cold = -50});
    cold.Happiness = cold.Hunger = cold.Energy = 50;
    cold.CheckNeeds();
    EXPECT_EQ(cold.State, kSkierIdle);

    // Beyond 40 units nothing is found.
    TSKISkier& far = AddSkier(At(100, 120), {.Money = 100, .Hunger = -50});
    far.Happiness = far.Cold = far.Energy = 50;
    far.CheckNeeds();
    EXPECT_EQ(far.State, kSkierIdle);
}

TEST_F(SkierNeeds, ASeatedCustomerIsRefilledEachTick) {
    TSKIBuilding* stall = E().CreateBuilding({.Type = kBuildStall, .Position = At(100, 105)});
    TSKISkier& s = AddSkier(At(100, 105), {.Money = 100});
    ASSERT_TRUE(stall->Enter(s));
    ASSERT_TRUE(s.Periodic());  // walking in: nothing yet
    EXPECT_NEAR(s.Hunger, E().Params.Game.HungerFactor, 1e-5f);
    s.TargetSpeed = 0;
    ASSERT_TRUE(s.Periodic());
    EXPECT_NEAR(s.Hunger, 2 * E().Params.Game.HungerFactor + stall->Params().RefillHunger, 1e-4f);
}

TEST_F(SkierNeeds, AnInjuredSkierWithoutRescueDiesAfter101Ticks) {
    E().Params.Game.DieFactor = 1.0f;
    TSKISkier& s = AddSkier(At(100, 100), {.Money = 100, .Injured = true});
    ASSERT_EQ(s.State, kSkierInjured);
    for (int t = 1; t <= 100; ++t) ASSERT_TRUE(s.Periodic()) << "tick " << t;
    EXPECT_FALSE(s.Periodic());
    EXPECT_EQ(E().Park.ParkLeftBecauseDied, 1);
    EXPECT_FLOAT_EQ(E().Park.ParkRatingLeftDead, -E().Params.Game.RatingLeftDiedPenalty);

    // The count of deaths stops at 65000.
    E().Park.ParkLeftBecauseDied = 65000;
    TSKISkier& t = AddSkier(At(100, 100), {.Energy = -100, .Injured = true});
    EXPECT_FALSE(t.Periodic());
    EXPECT_EQ(E().Park.ParkLeftBecauseDied, 65000);
}

TEST_F(SkierNeeds, InTheUnlimitedSandboxTheInjuredNeverDie) {
    E().Params.Game.DieFactor = 1.0f;
    E().Park.ParkSandboxDiff = 99;
    TSKISkier& s = AddSkier(At(100, 100), {.Injured = true});
    for (int t = 0; t < 500; ++t) {
        ASSERT_TRUE(s.Periodic());
        ASSERT_EQ(s.Energy, 0.0f);
    }
    EXPECT_EQ(E().Park.ParkLeftBecauseDied, 0);
}

TEST_F(SkierNeeds, AccidentsNeedNoCooldownASkiingSkierAndSpeed) {
    E().Cell(100, 100).Steepness = 10.0f;  // risk 40 + 9 (bare) + speed: always an accident
    TSKISkier& s = AddSkier(At(100, 100));
    s.Cell = E().Cell(100, 100);
    s.State = kSkierSkiing;
    s.Speed = 6.0f;

    E().Park.ParkAccidentCooldown = 1;
    s.AccidentTest();
    EXPECT_EQ(s.State, kSkierSkiing);

    E().Park.ParkAccidentCooldown = 0;
    s.Speed = 3.99f;
    s.AccidentTest();
    EXPECT_EQ(s.State, kSkierSkiing);

    s.Speed = 6.0f;
    s.State = kSkierIdle;
    s.AccidentTest();
    EXPECT_EQ(s.State, kSkierIdle);

    s.State = kSkierSkiing;
    s.AccidentTest();
    EXPECT_EQ(s.State, kSkierInjured);
    EXPECT_TRUE(s.Injured);
    EXPECT_GE(E().Park.ParkAccidentCooldown, 10);
    EXPECT_LE(E().Park.ParkAccidentCooldown, 19);
}

TEST_F(SkierNeeds, SnowAndTreesChangeTheRisk) {
    // Steepness 2, speed 4, skill 0: risk 16 on snow, 25 bare, 28 bare among trees. An
    // accident happens when 20 + a draw of 0..14 lies below the risk.
    TerrainCell& cell = E().Cell(100, 100);
    cell.Steepness = 2.0f;
    TSKISkier& s = AddSkier(At(100, 100), {.Skill = 0});
    int snowy = 0, bare = 0, trees = 0;
    for (int t = 0; t < 600; ++t) {
        for (int variant = 0; variant < 3; ++variant) {
            cell.NaturalSnow = variant == 0;
            cell.Tree = variant == 2;
            s.Cell = cell;
            s.State = kSkierSkiing;
            s.Speed = 4.0f;
            E().Park.ParkAccidentCooldown = 0;
            s.AccidentTest();
            if (s.State == kSkierInjured) ++(variant == 0 ? snowy : variant == 1 ? bare : trees);
        }
    }
    EXPECT_EQ(snowy, 0);
    EXPECT_NEAR(bare / 600.0, 5.0 / 15.0, 0.06);   // draws 0..4 of 15
    EXPECT_NEAR(trees / 600.0, 8.0 / 15.0, 0.06);  // draws 0..7 of 15
}

}  // namespace
}  // namespace vallorn
