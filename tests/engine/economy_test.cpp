// The park rating, the accounting hour, loans, marketing and PR.
#include <gtest/gtest.h>

#include "engine/arrivals.h"
#include "engine/economy.h"
#include "support/engine_fixture.h"

namespace vallorn {
namespace {

using test::EngineFixture;

// An engine with plain rules: every recovery and decay 1 a tick, one slope of 500 m counts 1.
class Economy : public ::testing::Test {
protected:
    void SetUp() override {
        TSKIGameParams& g = e->Params.Game;
        g.SlopeRating = 1;
        g.RatingLeftUnhappyCooldown = 1;
        g.RatingLeftDiedCooldown = 2;
        g.PopularityCooldown = 1;
        for (auto& lift : e->Params.Lifts) {
            lift.Rating = 1;
            lift.ServiceQuality = 1;
        }
        for (auto& b : e->Params.Buildings) {
            b.Rating = 0;
            b.RunningCost = 0;
        }
        e->Park.ParkSnowQuality = 0;
        e->Profile = TSKIProfileTerms{};  // a profile's fall-back terms: 6 %, 7,000 campaigns
        e->Park.ParkSandboxDiff = 1;
    }
    TSKISection& AddSlope(float metres, float red = 0, float black = 0) {
        auto s = std::make_unique<TSKISection>(*e);
        s->Kind = kSectionSlope;
        s->LengthMetres = metres;
        s->RedShare = red;
        s->BlackShare = black;
        e->Sections.push_back(std::move(s));
        return *e->Sections.back();
    }
    TSKISection& AddLift(uint8_t status = kLiftOpen, uint16_t runningCost = 0) {
        TSKISection& lift = e.AddLift({{0, 0, 0, 1}, {-40, 0, 0, 1}}, 3);
        lift.Status = status;
        lift.RunningCost = runningCost;
        return lift;
    }
    void AddSkiers(int n, float happiness) {
        SpawnSkiers(*e, n, {0, 0, 0, 1}, 2, 2, true);
        for (auto& s : e->Skiers) s->Happiness = happiness;
    }
    EngineFixture e;
};

// --- rating -----------------------------------------------------------------------------

TEST_F(Economy, ThePercentageCapsEachOfferPartAt25WhileTheRawRatingDoesNot) {
    for (int k = 0; k < 40; ++k) AddSlope(500);
    UpdateRating(*e);
    EXPECT_FLOAT_EQ(e->Park.ParkSlopeScore, 40);
    EXPECT_FLOAT_EQ(e->Park.ParkRatingPercent, 12.5f);
    EXPECT_FLOAT_EQ(e->Park.ParkRating, 40);

    // Lifts and buildings have their own caps; buildings count open or closed.
    e->Params.Lifts[3].Rating = 10;
    for (int k = 0; k < 3; ++k) AddLift(kLiftClosed);
    e->Params.Buildings[kBuildHospital].Rating = 20;
    e.AddBuilding(kBuildHospital, {0, 0, 0, 1}, true);
    e.AddBuilding(kBuildHospital, {0, 0, 0, 1}, false);
    UpdateRating(*e);
    EXPECT_FLOAT_EQ(e->Park.ParkLiftScore, 30);
    EXPECT_FLOAT_EQ(e->Park.ParkBuildScore, 40);
    EXPECT_FLOAT_EQ(e->Park.ParkRatingPercent, 37.5f);
    EXPECT_FLOAT_EQ(e->Park.ParkRating, 110);
}

TEST_F(Economy, RatingAddsMoodSnowTreesAndPopularity) {
    AddSkiers(4, 20);  // happiness 20 maps to 60
    e->Park.ParkSnowQuality = 80;
    e->Park.ParkTreesFelled = 3;
    e->Park.ParkPopularity = 11;  // 10 after this tick's decay
    UpdateRating(*e);
    EXPECT_FLOAT_EQ(e->Park.ParkAvgHappiness, 60);
    EXPECT_FLOAT_EQ(e->Park.ParkRatingPercent, (60 + 20 - 3 + 10) / 2.0f);
    EXPECT_FLOAT_EQ(e->Park.ParkRating, 60 + 80 - 3 + 10);

    // No skiers: every average is 0.
    e->Skiers.clear();
    UpdateRating(*e);
    EXPECT_EQ(e->Park.ParkAvgHappiness, 0);
    EXPECT_EQ(e->Park.ParkAvgCold, 0);
    EXPECT_EQ(e->Park.ParkAvgHunger, 0);
    EXPECT_EQ(e->Park.ParkAvgEnergy, 0);
}

TEST_F(Economy, CampaignsCannotPushTheShownRatingAbove100) {
    AddSkiers(4, 33.4f);  // the happiest skiers
    for (int k = 0; k < 40; ++k) AddSlope(500);
    e->Park.ParkSnowQuality = 100;
    e->Park.ParkPopularity = 201;  // ten PR campaigns
    UpdateRating(*e);
    EXPECT_FLOAT_EQ(e->Park.ParkRatingPercent, 100);
    EXPECT_GT(e->Park.ParkRating, 300);
}

TEST_F(Economy, TheUnlimitedSandboxHasAFixedRating) {
    e->Park.ParkSandboxDiff = kSandboxDiffUnlimited;
    e->Park.ParkTreesFelled = 50;
    UpdateRating(*e);
    EXPECT_EQ(e->Park.ParkRatingPercent, 100);
    EXPECT_EQ(e->Park.ParkRating, 200);
}

TEST_F(Economy, SlopeQualityFollowsLengthAndSteepShares) {
    EXPECT_FLOAT_EQ(SlopeQuality(AddSlope(250)), 0.5f);
    EXPECT_FLOAT_EQ(SlopeQuality(AddSlope(2000)), 1.0f);
    EXPECT_FLOAT_EQ(SlopeQuality(AddSlope(500, 100, 0)), 1.25f);
    EXPECT_FLOAT_EQ(SlopeQuality(AddSlope(500, 50, 50)), 1.375f);
    EXPECT_FLOAT_EQ(SlopeQuality(AddSlope(0)), 0.0f);
}

TEST_F(Economy, LiftQualityIsServiceQualityPlusUpgradeUpToTwo) {
    TSKISection& lift = AddLift();
    e->Params.Lifts[3].ServiceQuality = 1.2f;
    lift.UpgradeBonus = 0.3f;
    EXPECT_FLOAT_EQ(LiftQuality(*e, lift), 1.5f);
    lift.UpgradeBonus = 1.0f;
    EXPECT_FLOAT_EQ(LiftQuality(*e, lift), 2.0f);
    e->Params.Lifts[3].Rating = 4;
    UpdateRating(*e);
    EXPECT_FLOAT_EQ(e->Park.ParkLiftScore, 8.0f);
}

// --- penalties and popularity -------------------------------------------------------------

TEST_F(Economy, PenaltiesRecoverByTheirCooldownAndRestAtZero) {
    e->Park.ParkRatingLeftUnhappy = -2.5f;
    e->Park.ParkRatingLeftDead = -3;
    UpdateRating(*e);
    EXPECT_FLOAT_EQ(e->Park.ParkRatingLeftUnhappy, -1.5f);
    EXPECT_FLOAT_EQ(e->Park.ParkRatingLeftDead, -1);
    EXPECT_FLOAT_EQ(e->Park.ParkRatingPercent, (-1.5f - 1) / 2);
    UpdateRating(*e);
    UpdateRating(*e);
    UpdateRating(*e);
    EXPECT_EQ(e->Park.ParkRatingLeftUnhappy, 0);
    EXPECT_EQ(e->Park.ParkRatingLeftDead, 0);
    e->Park.ParkRatingLeftUnhappy = 4;  // never a bonus
    UpdateRating(*e);
    EXPECT_EQ(e->Park.ParkRatingLeftUnhappy, 0);
}

TEST_F(Economy, PopularityFadesToZero) {
    e->Park.ParkPopularity = 1.5f;
    UpdateRating(*e);
    EXPECT_FLOAT_EQ(e->Park.ParkPopularity, 0.5f);
    UpdateRating(*e);
    EXPECT_FLOAT_EQ(e->Park.ParkPopularity, -0.5f);
    UpdateRating(*e);
    EXPECT_EQ(e->Park.ParkPopularity, 0);
}

// --- accounting hour ---------------------------------------------------------------------------

TEST_F(Economy, TheHourChargesOpenLiftsAndCountsTheirTakings) {
    e->Park.ParkCash = 1000;
    TSKISection& open = AddLift(kLiftOpen, 30);
    TSKISection& closed = AddLift(kLiftClosed, 50);
    TSKISection& broken = AddLift(kLiftBroken, 70);
    TSKISection& slope = AddSlope(500);
    open.CurrentTakings = 100;
    closed.CurrentTakings = 40;
    slope.CurrentTakings = 7;
    e->HourAccumulator = 61;
    HourlyAccounting(*e);
    EXPECT_EQ(e->Park.ParkCash, 970);
    EXPECT_EQ(open.TotalExpense, 30);
    EXPECT_EQ(closed.TotalExpense, 0);
    EXPECT_EQ(broken.TotalExpense, 0);
    // Every section moves its takings, open or not.
    EXPECT_EQ(open.PreviousTakings, 100);
    EXPECT_EQ(closed.PreviousTakings, 40);
    EXPECT_EQ(slope.PreviousTakings, 7);
    EXPECT_EQ(open.CurrentTakings, 0);
    EXPECT_EQ(closed.CurrentTakings, 0);
    EXPECT_EQ(e->Park.ParkHourProfit, 70);
    EXPECT_EQ(e->HourAccumulator, 0);

    // The next hour without takings loses the running cost.
    HourlyAccounting(*e);
    EXPECT_EQ(e->Park.ParkHourProfit, -30);
    EXPECT_EQ(open.PreviousTakings, 0);
}

TEST_F(Economy, BuildingsArePaidWhileOpenAndCountByTheirKind) {
    e->Park.ParkCash = 0;
    for (auto& p : e->Params.Buildings) p.RunningCost = 10;
    TSKIBuilding& stall = e.AddBuilding(kBuildStall, {0, 0, 0, 1});
    TSKIBuilding& hospital = e.AddBuilding(kBuildHospital, {0, 0, 0, 1});
    TSKIBuilding& sight = e.AddBuilding(kBuildSightseeing, {0, 0, 0, 1});
    TSKIBuilding& closedKiosk = e.AddBuilding(kBuildKiosk, {0, 0, 0, 1}, false);
    stall.CurrentTakings = 55;
    hospital.CurrentTakings = 99;  // not a seller: its takings never count
    closedKiosk.CurrentTakings = 20;
    HourlyAccounting(*e);
    EXPECT_EQ(e->Park.ParkCash, -30);  // three open buildings
    EXPECT_EQ(stall.TotalExpense, 10);
    EXPECT_EQ(sight.TotalExpense, 10);
    EXPECT_EQ(closedKiosk.TotalExpense, 0);
    EXPECT_EQ(closedKiosk.PreviousTakings, 20);
    EXPECT_EQ(closedKiosk.CurrentTakings, 0);
    // stall 55 - 10, hospital -10, the sightseeing building not counted.
    EXPECT_EQ(e->Park.ParkHourProfit, 35);
}

TEST_F(Economy, BuildingRunningCostTotalsStopBelow65000) {
    e->Params.Buildings[kBuildShelter].RunningCost = 100;
    TSKIBuilding& b = e.AddBuilding(kBuildShelter, {0, 0, 0, 1});
    b.TotalExpense = 64850;
    e->Park.ParkCash = 1000;
    HourlyAccounting(*e);
    EXPECT_EQ(b.TotalExpense, 64950);
    HourlyAccounting(*e);
    EXPECT_EQ(b.TotalExpense, 64950);  // 65050 would pass the cap
    EXPECT_EQ(e->Park.ParkCash, 800);  // the cash is charged all the same
}

// --- loans -------------------------------------------------------------------------------------

TEST_F(Economy, LoansChargeInterestOnWhatIsOwed) {
    e->Park.ParkCash = 1000;
    ASSERT_TRUE(TakeLoan(*e, 5000));
    EXPECT_EQ(e->Park.ParkLoan, 5000);
    EXPECT_EQ(e->Park.ParkCash, 6000);
    EXPECT_EQ(e->Park.ParkLoanInterest, 300);
    e->Profile.LoanInterest = 7;
    ASSERT_TRUE(TakeLoan(*e, 5000));
    EXPECT_EQ(e->Park.ParkLoanInterest, 700);
    ASSERT_TRUE(RepayLoan(*e, 5000));
    EXPECT_EQ(e->Park.ParkLoan, 5000);
    EXPECT_EQ(e->Park.ParkCash, 6000);
    EXPECT_EQ(e->Park.ParkLoanInterest, 350);
    e->Profile.LoanInterest = 3;  // 3 % of 3333 is 99.99: rounded down
    e->Park.ParkLoan = 0;
    ASSERT_TRUE(TakeLoan(*e, 3333));
    EXPECT_EQ(e->Park.ParkLoanInterest, 99);
}

TEST_F(Economy, LoansBeyondTheLimitOrRepaymentsBeyondTheDebtAreRefused) {
    e->Park.ParkCash = 50000;
    e->Park.ParkLoan = 25000;
    EXPECT_FALSE(TakeLoan(*e, 5001));  // the limit 30000 by one
    EXPECT_EQ(e->Park.ParkLoan, 25000);
    EXPECT_TRUE(TakeLoan(*e, 5000));  // exactly the limit is allowed

    e->Park.ParkLoan = 3000;
    e->Park.ParkLoanInterest = 180;
    EXPECT_FALSE(RepayLoan(*e, 5000));
    EXPECT_EQ(e->Park.ParkLoan, 3000);
    EXPECT_EQ(e->Park.ParkLoanInterest, 180);

    e->Park.ParkLoan = 10000;
    e->Park.ParkCash = 4999;
    EXPECT_FALSE(RepayLoan(*e, 5000));
    EXPECT_EQ(e->Park.ParkCash, 4999);
}

// --- marketing and PR -------------------------------------------------------------------------

TEST_F(Economy, AMarketingCampaignBringsSkiersOfItsWealthAndSkill) {
    e->Park.ParkCash = 20000;
    TSKIBuilding& lot = e.AddBuilding(kBuildParking, {-100, 0, 100, 1});
    lot.CustomersServed = 5;
    const TSKIMarketingResult r = StartMarketingCampaign(*e, 3, 1);
    ASSERT_TRUE(r.Started);
    EXPECT_GE(r.Arrivals, 10);
    EXPECT_LE(r.Arrivals, 19);
    EXPECT_EQ(e->Skiers.size(), size_t(r.Arrivals));
    EXPECT_EQ(r.Text, std::to_string(r.Arrivals) + " new rich begginers have arrived.");
    EXPECT_EQ(e->Park.ParkCash, 5000);
    EXPECT_EQ(e->Park.ParkMarketingExpence, 15000);
    EXPECT_EQ(lot.CustomersServed, 5 + r.Arrivals);
    for (const auto& s : e->Skiers) {
        EXPECT_GE(s->Money, 800);
        EXPECT_LT(s->Skill, 0.5f);
    }
    // Capacity is ignored.
    e->Park.ParkMaxSkiers = 0;
    const TSKIMarketingResult again = StartMarketingCampaign(*e, 1, 3);
    ASSERT_TRUE(again.Started);
    EXPECT_EQ(again.Text,
              std::to_string(again.Arrivals) + " new poor skilled skiers have arrived.");
    EXPECT_EQ(e->Park.ParkCash, 2000);
    e->Park.ParkCash = 7000;
    const TSKIMarketingResult normal = StartMarketingCampaign(*e, 2, 2);
    EXPECT_EQ(normal.Text, std::to_string(normal.Arrivals) + " new skiers have arrived.");
}

TEST_F(Economy, MarketingShortOfMoneyOrWithoutAPriceDoesNothing) {
    e->Park.ParkCash = 6999;
    EXPECT_EQ(MarketingPriceWarning(*e, 2), "Marketing campaign - Warning: not enough money!");
    EXPECT_EQ(MarketingPriceWarning(*e, 1), "");
    const TSKIMarketingResult r = StartMarketingCampaign(*e, 2, 2);
    EXPECT_FALSE(r.Started);
    EXPECT_EQ(r.Text, "Marketing campaign - Warning: not enough money!");
    EXPECT_EQ(e->Park.ParkCash, 6999);
    EXPECT_TRUE(e->Skiers.empty());

    e->Profile.MarketingPriceCheap = 0;
    EXPECT_FALSE(MarketingPriceOffered(*e, 1));
    EXPECT_TRUE(MarketingPriceOffered(*e, 2));
    EXPECT_FALSE(MarketingPriceOffered(*e, 4));
    EXPECT_FALSE(StartMarketingCampaign(*e, 1, 1).Started);
    EXPECT_FALSE(StartMarketingCampaign(*e, 3, 0).Started);
    EXPECT_EQ(e->Park.ParkCash, 6999);
    EXPECT_TRUE(e->Skiers.empty());
}

TEST_F(Economy, PRBuysPopularityOnlyWithAPriceAndTheMoney) {
    e->Park.ParkCash = 100000;
    e->Profile.PRCampPrice = 0;
    EXPECT_FALSE(RunPRCampaign(*e));
    EXPECT_EQ(e->Park.ParkPopularity, 0);
    EXPECT_EQ(e->Park.ParkCash, 100000);

    e->Profile.PRCampPrice = 7000;
    e->Park.ParkCash = 6999;
    EXPECT_FALSE(RunPRCampaign(*e));
    e->Park.ParkCash = 7000;
    EXPECT_TRUE(RunPRCampaign(*e));
    EXPECT_EQ(e->Park.ParkPopularity, 20);
    EXPECT_EQ(e->Park.ParkCash, 0);
    EXPECT_EQ(e->Park.ParkMarketingExpence, 7000);
    UpdateRating(*e);
    EXPECT_FLOAT_EQ(e->Park.ParkPopularity, 19);
    EXPECT_FLOAT_EQ(e->Park.ParkRatingPercent, 9.5f);
}

}  // namespace
}  // namespace vallorn
