// Laying lifts: record, ground line, stations and poles, the cells under the lift, the cable
// loop, wheels and gate, and Destroy giving back exactly the cells it took.
#include <gtest/gtest.h>

#include "entities/network_world.h"

namespace vallorn {
namespace {

using LiftLaying = test::NetworkWorld;

TEST_F(LiftLaying, CopiesTheRecordAndTakesTheRunningCostOfItsType) {
    TSKILiftRecord r;
    r.LiftType = 3;
    r.Status = kLiftClosed;
    r.TicketPrice = 7;
    r.TotalIncome = 100;
    r.TotalExpense = 50;
    r.InvestedMoney = 4000;
    r.Filling = false;
    r.TooExpensiveCount = 3;
    r.CustomersServed = 4;
    r.UpgradeBonus = 0.2f;
    TSKISection& s = *f->CreateLift(100, 100, 100, 160, r);
    EXPECT_TRUE(s.IsLift());
    EXPECT_EQ(s.Name, "Quad chairlift");
    EXPECT_EQ(s.Status, kLiftClosed);
    EXPECT_EQ(s.TicketPrice, 7);
    EXPECT_EQ(s.TotalIncome, 100);
    EXPECT_EQ(s.TotalExpense, 50);
    EXPECT_EQ(s.InvestedMoney, 4000);
    EXPECT_FALSE(s.Filling);
    EXPECT_EQ(s.TooExpensiveCount, 3);
    EXPECT_EQ(s.CustomersServed, 4);
    EXPECT_FLOAT_EQ(s.UpgradeBonus, 0.2f);
    EXPECT_EQ(s.RunningCost, f->Params.Lifts[3].RunningCost);
    EXPECT_EQ(s.QueueLength, 0);
    EXPECT_TRUE(s.GateClosedModel);
    EXPECT_EQ(f->CreateLift(100, 100, 100, 600, r), nullptr);  // outside the grid
}

TEST_F(LiftLaying, StationsGroundLineGateAndWheelsOnFlatGround) {
    const TSKILiftParams& t = f->Params.Lifts[3];
    TSKISection& s = Lift(100, 100, 100, 160);  // 240 units along +z
    EXPECT_EQ(f->Cell(100, 100).Kind, kCellLiftLower);
    EXPECT_EQ(f->Cell(100, 160).Kind, kCellLiftUpper);
    EXPECT_EQ(f->SectionByIndex(f->Cell(100, 100).Section), &s);
    EXPECT_EQ(f->SectionByIndex(f->Cell(100, 160).Section), &s);

    // The ground line runs from station cell to station cell on the terrain.
    EXPECT_EQ(Flat(s.Points.front(), At(100, 100)), 0.0f);
    EXPECT_EQ(Flat(s.Points.back(), At(100, 160)), 0.0f);
    for (const TSKIVector& p : s.Points) EXPECT_NEAR(p.y, 10.0f, 1e-3f);
    EXPECT_NEAR(s.Length(), 240.0f, 1e-2f);
    EXPECT_NEAR(s.LengthMetres, 1200.0f, 0.1f);

    // Flat ground needs no pole; the stations stand their height above it.
    ASSERT_EQ(s.Stations.size(), 2u);
    EXPECT_NEAR(s.Stations[0].y, 10.0f + t.StationHeight, 1e-3f);
    EXPECT_NEAR(s.Stations[1].y, 10.0f + t.StationHeight, 1e-3f);
    EXPECT_NEAR(s.LowerWheel.y, 10.0f + t.StationHeight, 1e-3f);
    EXPECT_EQ(Flat(s.UpperWheel, At(100, 160)), 0.0f);
    EXPECT_FLOAT_EQ(s.WheelTurnRate, t.Speed * 40.0f / t.LineDist);

    // Across the lift, horizontally; the gate stands behind the first point facing uphill.
    EXPECT_NEAR(std::fabs(s.BoardingAxis.x), 1.0f, 1e-5f);
    EXPECT_EQ(s.BoardingAxis.y, 0.0f);
    EXPECT_NEAR(s.GateDirection.z, 1.0f, 1e-5f);
    EXPECT_NEAR(s.GatePosition.z, At(100, 100).z - t.GatePosZ, 1e-3f);
    EXPECT_NEAR(s.GatePosition.x, At(100, 100).x + s.BoardingAxis.x * t.GatePosX, 1e-3f);
    EXPECT_NEAR(s.GatePosition.y, 10.0f, 1e-3f);
    EXPECT_NEAR(s.QueueDirection.z, -1.0f, 1e-5f);
}

TEST_F(LiftLaying, TheCableLoopRunsUpAndBackOnTwoLines) {
    const float d = f->Params.Lifts[3].LineDist;
    TSKISection& s = Lift(100, 100, 130, 160);
    const size_t m = s.Stations.size();
    const std::vector<TSKIVector>& loop = s.DetailLine;
    ASSERT_EQ(loop.size(), 2 * m + 2);
    const TSKIVector shift = s.BoardingAxis * d;
    for (size_t k = 0; k < m; ++k) {
        // Up on one side, down the same points in reverse on the other.
        EXPECT_LT(Dist(loop[k], s.Stations[k] - shift), 1e-3f) << k;
        EXPECT_LT(Dist(loop[2 * m + 1 - k], s.Stations[k] + shift), 1e-3f) << k;
    }
    // Round the upper wheel.
    EXPECT_LT(Dist(loop[m], s.Stations.back() - shift), 1e-3f);
    EXPECT_LT(Dist(loop[m + 1], s.Stations.back() + shift), 1e-3f);
    EXPECT_NEAR(Dist(loop.front(), loop.back()), 2 * d, 1e-3f);
    // The axis is square to the line between the stations.
    const TSKIVector along = s.Stations.back() - s.Stations.front();
    EXPECT_NEAR(along.x * s.BoardingAxis.x + along.z * s.BoardingAxis.z, 0.0f, 1e-2f);
}

TEST_F(LiftLaying, ASurfaceLiftOccupiesItsGroundLineAndTheCellsBesideItsMiddle) {
    TSKISection& s = Lift(300, 100, 300, 130, 0);  // platter: a point on every cell
    ASSERT_EQ(s.Points.size(), 31u);
    EXPECT_EQ(f->Cell(300, 100).Kind, kCellLiftLower);
    EXPECT_EQ(f->Cell(300, 130).Kind, kCellLiftUpper);
    for (int j = 101; j <= 129; ++j) {
        EXPECT_EQ(f->Cell(300, j).Kind, kCellUnderLift) << j;
        EXPECT_EQ(f->SectionByIndex(f->Cell(300, j).Section), &s) << j;
    }
    // One row lower beside every point but the first two and the last two.
    for (int j = 102; j <= 128; ++j) EXPECT_EQ(f->Cell(299, j).Kind, kCellUnderLift) << j;
    EXPECT_EQ(f->Cell(299, 101).Kind, kCellFree);
    EXPECT_EQ(f->Cell(299, 129).Kind, kCellFree);
    EXPECT_EQ(f->Cell(301, 115).Kind, kCellFree);
    EXPECT_EQ(f->Cell(300, 131).Kind, kCellFree);

    // A chairlift marks only the cells of its stations and poles.
    TSKISection& chair = Lift(350, 100, 350, 130, 3);
    EXPECT_EQ(f->Cell(350, 115).Kind, kCellFree);
    EXPECT_EQ(chair.Stations.size(), 2u);
}

TEST_F(LiftLaying, DestroyGivesBackExactlyTheCellsItTook) {
    // A slope right beside the lower station: not the lift's, so it stays.
    TSKISection& slope = Slope({{299, 80}, {299, 90}, {299, 100}}, 1);
    f->Cell(301, 110).Kind = kCellRoad;
    std::vector<TerrainCell> before = f->Grid;

    TSKISection& platter = Lift(300, 100, 300, 130, 0);
    TSKISection& chair = Lift(320, 100, 330, 160, 3);
    TSKIGondole& g = AddCarrier(chair);
    TSKISkier& rider = AddSkier(At(320, 100));
    rider.Money = 100;
    ASSERT_TRUE(g.Board(rider));
    rider.State = kSkierOnLift;
    TSKISkier& waiting = AddSkier(At(320, 99));
    waiting.State = kSkierWaiting;
    chair.QueueSlots[kQueueTail] = &waiting;

    chair.Destroy();
    platter.Destroy();
    for (size_t k = 0; k < before.size(); ++k) {
        ASSERT_EQ(f->Grid[k].Kind, before[k].Kind) << k / kGridSide << "," << k % kGridSide;
        ASSERT_EQ(f->Grid[k].Section, before[k].Section) << k / kGridSide << "," << k % kGridSide;
    }
    EXPECT_EQ(f->SectionByIndex(f->Cell(299, 100).Section), &slope);
    // Riders were set down first; the queue is released.
    EXPECT_TRUE(chair.Carriers.empty());
    EXPECT_EQ(chair.LoadingCarrier, nullptr);
    EXPECT_NE(rider.State, kSkierOnLift);
    EXPECT_EQ(chair.QueueSlots[kQueueTail], nullptr);
    chair.Destroy();  // twice is harmless
}

// A ridge across rows 190..210 rising to 40 at row 200 on ground at 10.
float Ridge(int i, int) {
    return 10.0f + std::max(0.0f, 30.0f - 3.0f * float(std::abs(i - 200)));
}

class LiftOverRidge : public test::NetworkWorld {
protected:
    test::TestLevel Level() const override {
        test::TestLevel level;
        level.height = Ridge;
        level.meshKey = "ridge";
        return level;
    }
};

TEST_F(LiftOverRidge, APoleStandsOnTheCrestAndEveryPoleItsHeightAboveTheGround) {
    const TSKILiftParams& t = f->Params.Lifts[3];
    TSKISection& s = Lift(150, 100, 250, 100);
    ASSERT_GE(s.Stations.size(), 3u);
    bool crest = false;
    for (size_t k = 1; k + 1 < s.Stations.size(); ++k) {
        const TSKIVector& p = s.Stations[k];
        EXPECT_NEAR(p.y, f->TerrainHeight(p) + t.PoleHeight, 1e-2f) << k;
        if (CellI(p) == 200) {
            crest = true;
            EXPECT_NEAR(p.y, 40.0f + t.PoleHeight, 1e-2f);
        }
        EXPECT_EQ(CellOf(p).Kind, kCellUnderLift);
        EXPECT_EQ(f->SectionByIndex(CellOf(p).Section), &s);
    }
    EXPECT_TRUE(crest);
    EXPECT_NEAR(s.Stations.front().y, 10.0f + t.StationHeight, 1e-2f);
    // Poles go in order from the lower to the upper station.
    for (size_t k = 1; k < s.Stations.size(); ++k)
        EXPECT_GT(CellI(s.Stations[k]), CellI(s.Stations[k - 1]));
}

}  // namespace
}  // namespace vallorn
