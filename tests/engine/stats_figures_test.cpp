// The statistics window's figures: judged values at their thresholds, the skiers' worst
// concern, the distribution bins, the history ranges and the finance table's two time frames.
#include <gtest/gtest.h>

#include "engine/stats_figures.h"
#include "support/engine_fixture.h"

namespace vallorn {
namespace {

using test::EngineFixture;

TEST(StatsFigures, JudgedValuesChangeAtTheirThresholds) {
    struct Case {
        TSKIJudged got, want;
    };
    const Case cases[] = {
        {JudgeShare(32.99f).Judged, TSKIJudged::Bad},
        {JudgeShare(33).Judged, TSKIJudged::Average},
        {JudgeShare(66).Judged, TSKIJudged::Good},
        {JudgeShare(49.9f, true).Judged, TSKIJudged::Bad},
        {JudgeShare(50, true).Judged, TSKIJudged::Good},
        {JudgeTotalRating(-0.5f), TSKIJudged::Bad},
        {JudgeTotalRating(0), TSKIJudged::Average},
        {JudgeTotalRating(50), TSKIJudged::Good},
        {JudgeWaiting(5), TSKIJudged::Low},
        {JudgeWaiting(6), TSKIJudged::Average},
        {JudgeWaiting(11), TSKIJudged::Bad},
        {JudgeLeaving(2), TSKIJudged::Low},
        {JudgeLeaving(3), TSKIJudged::Average},
        {JudgeLeaving(5), TSKIJudged::Bad},
        {JudgeTreesFelled(5), TSKIJudged::Plain},
        {JudgeTreesFelled(6), TSKIJudged::Bad},
        {JudgeSnowQuality(49.99f), TSKIJudged::Bad},
        {JudgeSnowQuality(50), TSKIJudged::Plain},
    };
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i].got, cases[i].want) << i;
    // A lift score of 30 is clamped to the full share: "MAX", good.
    const TSKIJudgedText full = JudgeShare(ScoreShare(30));
    EXPECT_EQ(full.Text, "MAX");
    EXPECT_EQ(full.Judged, TSKIJudged::Good);
    EXPECT_EQ(JudgeShare(ScoreShare(12.5f)).Text, "50.00 %");
    EXPECT_STREQ(JudgedWord(TSKIJudged::Bad), "bad");
}

TEST(StatsFigures, SkierCountsAndDistributions) {
    EngineFixture e;
    auto add = [&](float happy, float cold, float energy, float hunger, bool injured) {
        TSKISkierRecord r;
        r.Happiness = happy, r.Cold = cold, r.Energy = energy, r.Hunger = hunger;
        r.Injured = injured;
        r.Money = 2000;
        e->Skiers.push_back(std::make_unique<TSKISkier>(*e, r));
    };
    add(-10, -30, -30, -5, false);  // cold: energy is equal, not lower
    add(-50, -10, 0, -49, true);    // unhappy
    add(10, 0, 5, -1, false);       // hungry
    add(0, 20, 20, 20, false);      // no concern
    const TSKISkierCounts c = CountSkiers(*e);
    EXPECT_EQ(c.Total, 4);
    EXPECT_EQ(c.ByConcern, (std::array<int32_t, 4>{1, 1, 0, 1}));
    EXPECT_EQ(CountWithShare(1, 3), "1 (33%)");

    const TSKIDistribution happy = SkierDistribution(*e, TSKIGraph::Happiness);
    EXPECT_EQ(happy.Bins[225], 1);  // round((-10 + 100) x 2.5)
    EXPECT_EQ(happy.Bins[250], 1);
    EXPECT_EQ(happy.Peak, 1);
    const TSKIDistribution cash = SkierDistribution(*e, TSKIGraph::Cash);
    EXPECT_EQ(cash.Bins[500], 4);  // 2000 / 2 clamped to the last bin
    const TSKIDistribution injured = SkierDistribution(*e, TSKIGraph::Injured);
    EXPECT_EQ(injured.Bins[25], 1);
    EXPECT_EQ(injured.Bins[475], 3);
    EXPECT_EQ(DistributionBand(165), 0);
    EXPECT_EQ(DistributionBand(333), 2);
}

TEST(StatsFigures, HistoryRanges) {
    EXPECT_FALSE(HistoryRange(TSKIHistory::Cash, {1, 2}));
    const auto cash = HistoryRange(TSKIHistory::Cash, {-300, 100, 200});
    EXPECT_EQ(cash->Min, -300);
    EXPECT_EQ(cash->Max, 300);
    const auto skiers = HistoryRange(TSKIHistory::Skiers, {0, 0, 0});
    EXPECT_EQ(skiers->Min, 0);
    EXPECT_EQ(skiers->Max, 1);  // a range of 0 is taken as 1
    EXPECT_EQ(HistoryRange(TSKIHistory::Cold, {5, 6, 7})->Min, -100);
}

TEST(StatsFigures, FinanceTableCountsOnlyOpenObjectsInTheLastHour) {
    EngineFixture e;
    TSKISection& open = e.AddLift({{0, 0, 0, 1}, {0, 0, 40, 1}});
    TSKISection& closed = e.AddLift({{20, 0, 0, 1}, {20, 0, 40, 1}});
    for (TSKISection* s : {&open, &closed}) {
        s->TotalIncome = 500, s->TotalExpense = 200, s->InvestedMoney = 9000;
        s->PreviousTakings = 40, s->RunningCost = 15;
    }
    closed.Status = kLiftClosed;
    TSKIBuilding& bar = e.AddBuilding(1, {60, 0, 60, 1}, false);
    bar.TotalIncome = 300, bar.PreviousTakings = 30;
    e->Park.ParkLoan = 5000, e->Park.ParkLoanExpence = 120, e->Park.ParkRewards = 700;

    const TSKIFinanceTable hour = FinanceTable(*e, false);
    EXPECT_EQ(hour[0][0], 40);
    EXPECT_EQ(hour[0][1], -15);
    EXPECT_EQ(hour[2][0], 0);  // the closed restaurant
    EXPECT_EQ(hour[3][0], 0);  // no loan row in the last hour
    EXPECT_EQ(hour[8][2], 25);

    const TSKIFinanceTable all = FinanceTable(*e, true);
    EXPECT_EQ(all[0][0], 1000);
    EXPECT_EQ(all[0][3], -18000);
    EXPECT_EQ(all[2][0], 300);
    EXPECT_LT(all[2][3], 0);
    EXPECT_EQ(all[3][2], 5000 - 120);
    EXPECT_EQ(all[8][0], 1000 + 300 + 5000 + 700);
    EXPECT_EQ(all[8][2], all[8][0] + all[8][1]);  // construction stays out of the balance
}

TEST(StatsFigures, BuildingsTheLevelGaveCostNothingInTheConstructionColumn) {
    EngineFixture e;
    e->Params.Buildings[1].Cost = 2000;
    e->Params.Game.UpgradeCost = 0.5f;
    TSKIBuilding& built = e.AddBuilding(1, {60, 0, 60, 1}, true);
    built.UpgradeBonus = 0.25f;  // 2000 + round(2000 x 0.25 x 0.5)
    TSKIBuilding& given = e.AddBuilding(1, {90, 0, 60, 1}, true);
    given.CostsForgotten = 1;
    e.AddBuilding(7, {120, 0, 60, 1}, true).CostsForgotten = 1;  // a service building
    const TSKIFinanceTable all = FinanceTable(*e, true);
    EXPECT_EQ(all[2][3], -2250);
    EXPECT_EQ(all[1][3], 0);
    EXPECT_EQ(all[8][3], -2250);
}

}  // namespace
}  // namespace vallorn
