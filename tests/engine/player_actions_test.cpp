// Player actions on single lifts and buildings and on the park's finances: a refused check
// changes nothing and says why; an allowed one says what it costs and the apply charges it.
#include <gtest/gtest.h>

#include "engine/player_actions.h"
#include "engine/stats_figures.h"
#include "support/engine_fixture.h"

namespace vallorn {
namespace {

using test::EngineFixture;

class PlayerActions : public ::testing::Test {
protected:
    void SetUp() override {
        e->Park.ParkCash = 100000;
        for (auto& lift : e->Params.Lifts) {
            lift.ServiceQuality = 1.0f;
            lift.CostPerPole = 4000;
        }
        for (auto& b : e->Params.Buildings) {
            b.ServiceQuality = 1.0f;
            b.Cost = 2000;
        }
        e->Params.Game.UpgradeCost = 0.25f;
    }
    TSKISection& Lift(uint8_t type = 3) {
        TSKISection& s = e.AddLift({{0, 0, 0, 1}, {0, 0, 40, 1}}, type);
        s.TicketPrice = 10;
        return s;
    }
    TSKIActionOutcome Do(const TSKIPlayerAction& a) { return PerformAction(*e, a); }
    // A refusal leaves the cash, the dialogs and the action's target untouched.
    void ExpectRefused(const TSKIPlayerAction& a, const std::string& text) {
        const int32_t cash = e->Park.ParkCash;
        const TSKIActionOutcome o = Do(a);
        EXPECT_EQ(o.Result, TSKIActionResult::Refused) << a.Name;
        EXPECT_EQ(o.Reason, text) << a.Name;
        EXPECT_EQ(e->Park.ParkCash, cash) << a.Name;
    }

    EngineFixture e;
};

TEST_F(PlayerActions, PricesAreSetSteppedNeverBelowZeroAndCopied) {
    TSKISection& quad = Lift(3);
    TSKISection& otherQuad = Lift(3);
    TSKISection& platter = Lift(0);
    EXPECT_TRUE(Do(SetLiftPriceAction(0, 25)).Done());
    EXPECT_EQ(quad.TicketPrice, 25);
    ExpectRefused(SetLiftPriceAction(0, -1), "A price runs from 0 to 65.535,-");
    ExpectRefused(SetLiftPriceAction(0, 65536), "A price runs from 0 to 65.535,-");
    EXPECT_EQ(quad.TicketPrice, 25);

    quad.TicketPrice = 0;
    EXPECT_EQ(SetLiftPriceAction(0, 0).Check(*e).Text, "0,-");
    EXPECT_TRUE(Do(StepLiftPriceAction(0, -1)).Done());
    EXPECT_EQ(quad.TicketPrice, 0);  // "down" on 0 stays 0
    EXPECT_TRUE(Do(StepLiftPriceAction(0, 1)).Done());
    EXPECT_EQ(quad.TicketPrice, 1);

    quad.TicketPrice = 7;
    EXPECT_TRUE(Do(CopyLiftPriceAction(0, true)).Done());
    EXPECT_EQ(otherQuad.TicketPrice, 7);
    EXPECT_EQ(platter.TicketPrice, 10);
    EXPECT_TRUE(Do(CopyLiftPriceAction(0, false)).Done());
    EXPECT_EQ(platter.TicketPrice, 7);
}

TEST_F(PlayerActions, ActionsOnAMissingOrWrongObjectAreRefused) {
    e->Sections.push_back(std::make_unique<TSKISection>(*e));  // a slope at index 0
    ExpectRefused(SetLiftPriceAction(0, 5), "No such lift");
    ExpectRefused(SetLiftOpenAction(3, false), "No such lift");
    ExpectRefused(UpgradeLiftAction(0), "No such lift");
    ExpectRefused(SetBuildingPriceAction(0, 5), "No such building");
    ExpectRefused(UpgradeBuildingAction(9), "No such building");
    ExpectRefused(SetBuildingOpenAction(0, true), "No such building");
}

TEST_F(PlayerActions, RestaurantPricesAreSharedOnlyAmongRestaurants) {
    e->Params.Buildings[kBuildStall].Category = kCategoryRestaurant;
    e->Params.Buildings[kBuildKiosk].Category = kCategoryRestaurant;
    e->Params.Buildings[kBuildCot].Category = kCategoryRestaurant;
    e->Params.Buildings[kBuildParking].Category = kCategoryOffice;
    TSKIBuilding& stall = e.AddBuilding(kBuildStall, {0, 0, 0, 1});
    TSKIBuilding& kiosk = e.AddBuilding(kBuildKiosk, {0, 0, 0, 1});
    TSKIBuilding& cot = e.AddBuilding(kBuildCot, {0, 0, 0, 1});
    TSKIBuilding& parking = e.AddBuilding(kBuildParking, {0, 0, 0, 1});
    stall.ServicePrice = 9;
    EXPECT_TRUE(Do(CopyBuildingPriceAction(0, false)).Done());
    EXPECT_EQ(kiosk.ServicePrice, 9);
    EXPECT_EQ(cot.ServicePrice, 0);  // cots keep their own price
    EXPECT_EQ(parking.ServicePrice, 0);
    ExpectRefused(CopyBuildingPriceAction(3, true), "Only restaurants share a price");
    EXPECT_TRUE(Do(StepBuildingPriceAction(1, 3)).Done());
    EXPECT_EQ(kiosk.ServicePrice, 12);
}

TEST_F(PlayerActions, AllRestaurantsReachesTheRestaurantsOfTheFinanceTable) {
    // A restaurant is one by its type, whatever category a parameter file gives the type.
    e->Params.Buildings[kBuildKiosk].Category = kCategoryOther;
    e->Params.Buildings[kBuildShelter].Category = kCategoryRestaurant;
    uint16_t income = 1;
    for (uint8_t type : {kBuildStall, kBuildKiosk, kBuildShelter, kBuildSnowBar, kBuildParking}) {
        e.AddBuilding(type, {0, 0, 0, 1}).TotalIncome = income;
        income *= 2;
    }
    e->Buildings[0]->ServicePrice = 9;
    EXPECT_TRUE(Do(CopyBuildingPriceAction(0, false)).Done());
    int64_t pricedIncome = 0;
    for (const auto& b : e->Buildings)
        if (b->ServicePrice == 9) pricedIncome += b->TotalIncome;
    EXPECT_EQ(pricedIncome, 1 + 2 + 8);  // the stall, the kiosk and the snow bar
    const int kRestaurantsRow = 2, kIncome = 0;
    EXPECT_EQ(FinanceTable(*e, true)[kRestaurantsRow][kIncome], pricedIncome);
}

TEST_F(PlayerActions, OpeningAndClosing) {
    TSKISection& lift = Lift();
    TSKIBuilding& stall = e.AddBuilding(kBuildStall, {0, 0, 0, 1});
    EXPECT_TRUE(Do(SetLiftOpenAction(0, false)).Done());
    EXPECT_EQ(lift.Status, kLiftClosed);
    EXPECT_TRUE(Do(SetLiftOpenAction(0, true)).Done());
    EXPECT_EQ(lift.Status, kLiftOpen);
    lift.Status = kLiftBroken;
    ExpectRefused(SetLiftOpenAction(0, false), "Unavailable");
    ExpectRefused(SetLiftOpenAction(0, true), "Unavailable");
    EXPECT_EQ(lift.Status, kLiftBroken);
    EXPECT_TRUE(Do(SetBuildingOpenAction(0, false)).Done());
    EXPECT_FALSE(stall.Open);
}

TEST_F(PlayerActions, RenameTrimsAndRefusesEmptyOrLongNames) {
    TSKISection& lift = Lift();
    lift.Name = "Quad #1";
    EXPECT_TRUE(Do(RenameSectionAction(0, "  North face \r\n")).Done());
    EXPECT_EQ(lift.Name, "North face");
    ExpectRefused(RenameSectionAction(0, " \t "), "A name cannot be empty");
    ExpectRefused(RenameSectionAction(0, std::string(kMaxSectionName + 1, 'x')),
                  "A name has at most 64 letters");
    ExpectRefused(RenameSectionAction(1, "Other"), "No such slope or lift");
    EXPECT_EQ(lift.Name, "North face");
}

TEST_F(PlayerActions, LiftUpgradeAsksChargesAndStopsAtQualityTwo) {
    e->Params.Lifts[3].ServiceQuality = 1.95f;
    TSKISection& lift = Lift(3);
    const TSKIActionCheck c = UpgradeLiftAction(0).Check(*e);
    EXPECT_TRUE(c.Ok);
    EXPECT_EQ(c.Cost, 4000);
    EXPECT_EQ(c.Question, "Do you want to upgade this lift for 4.000,- ?");

    EXPECT_TRUE(Do(UpgradeLiftAction(0)).Done());
    EXPECT_EQ(e.dialogs.questions.back(), c.Question);
    EXPECT_EQ(e->Park.ParkCash, 96000);
    EXPECT_EQ(lift.InvestedMoney, 4000);
    EXPECT_FLOAT_EQ(1.95f + lift.UpgradeBonus, 2.0f);  // once, and capped at 2

    ExpectRefused(UpgradeLiftAction(0), "No more upgrade possible!");
    EXPECT_EQ(e.dialogs.errors.back(), "No more upgrade possible!");
}

TEST_F(PlayerActions, UpgradesAnsweredNoOrWithoutMoneyChangeNothing) {
    TSKISection& lift = Lift(3);
    e.dialogs.answer = false;
    const TSKIActionOutcome o = Do(UpgradeLiftAction(0));
    EXPECT_EQ(o.Result, TSKIActionResult::Declined);
    EXPECT_EQ(e->Park.ParkCash, 100000);
    EXPECT_EQ(lift.UpgradeBonus, 0);

    e->Park.ParkCash = 3999;
    ExpectRefused(UpgradeLiftAction(0), "Not enough money!");
    EXPECT_EQ(e.dialogs.errors.back(), "Not enough money!");
    EXPECT_EQ(lift.InvestedMoney, 0);
}

TEST_F(PlayerActions, BuildingUpgradeCostsItsShareOfTheBuildingAndStopsAt199) {
    e->Params.Buildings[kBuildStall].ServiceQuality = 1.95f;
    TSKIBuilding& stall = e.AddBuilding(kBuildStall, {0, 0, 0, 1});
    EXPECT_EQ(UpgradeBuildingAction(0).Check(*e).Question,
              "Do you want to upgade this building for 500,- ?");
    EXPECT_TRUE(Do(UpgradeBuildingAction(0)).Done());
    EXPECT_EQ(e->Park.ParkCash, 99500);
    EXPECT_FLOAT_EQ(1.95f + stall.UpgradeBonus, 1.99f);
    ExpectRefused(UpgradeBuildingAction(0), "No more upgrade possible!");
}

TEST_F(PlayerActions, LoansFollowTheLimitAndTheCash) {
    e->Profile.LoanLimit = 30000;
    e->Profile.LoanInterest = 6;
    const TSKIActionCheck take = TakeLoanAction(5000).Check(*e);
    EXPECT_TRUE(take.Ok);
    EXPECT_EQ(take.Cost, -5000);
    EXPECT_TRUE(Do(TakeLoanAction(25000)).Done());
    EXPECT_EQ(e->Park.ParkLoan, 25000);
    EXPECT_EQ(e->Park.ParkCash, 125000);
    EXPECT_EQ(e->Park.ParkLoanInterest, 1500);
    ExpectRefused(TakeLoanAction(5001), "The loan limit is 30.000,-");
    EXPECT_EQ(e->Park.ParkLoan, 25000);
    ExpectRefused(TakeLoanAction(0), "The amount must be above 0");

    ExpectRefused(RepayLoanAction(30000), "The loan is only 25.000,-");
    e->Park.ParkCash = 4000;
    ExpectRefused(RepayLoanAction(5000), "Not enough money!");
    e->Park.ParkCash = 6000;
    EXPECT_TRUE(Do(RepayLoanAction(5000)).Done());
    EXPECT_EQ(e->Park.ParkLoan, 20000);
    EXPECT_EQ(e->Park.ParkCash, 1000);
}

TEST_F(PlayerActions, MarketingAndPR) {
    e->Profile.MarketingPriceCheap = 0;  // not offered
    e->Profile.MarketingPriceNormal = 7000;
    e->Profile.PRCampPrice = 0;
    ExpectRefused(MarketingAction(1, 2), "This campaign is not offered");
    ExpectRefused(MarketingAction(2, 4), "No such readers");
    ExpectRefused(PRCampaignAction(), "No PR campaign is offered");

    e->Park.ParkCash = 6999;
    ExpectRefused(MarketingAction(2, 2), "Marketing campaign - Warning: not enough money!");
    e->Profile.PRCampPrice = 7000;
    ExpectRefused(PRCampaignAction(), "Not enough money!");
    EXPECT_EQ(e->Park.ParkPopularity, 0);

    e->Park.ParkCash = 20000;
    EXPECT_EQ(PRCampaignAction().Check(*e).Cost, 7000);
    EXPECT_TRUE(Do(PRCampaignAction()).Done());
    EXPECT_EQ(e->Park.ParkCash, 13000);
    EXPECT_FLOAT_EQ(e->Park.ParkPopularity, 20);
    EXPECT_EQ(e->Park.ParkMarketingExpence, 7000);
}

TEST_F(PlayerActions, FriendsWelcomeAndErasedHistory) {
    EXPECT_TRUE(Do(SetFriendsWelcomeAction(true)).Done());
    EXPECT_TRUE(e->Profile.FriendsEnabled);
    EXPECT_TRUE(Do(SetFriendsWelcomeAction(false)).Done());
    EXPECT_FALSE(e->Profile.FriendsEnabled);
    e->History[0] = {5, 6, 7};
    e->History[10] = {1};
    EXPECT_TRUE(Do(EraseHistoryAction()).Done());
    for (const auto& series : e->History) EXPECT_EQ(series, std::deque<int32_t>{0});
}

}  // namespace
}  // namespace vallorn
