// The per-frame lift update: carrier supply until the loop is full, queues of closed lifts,
// broken-down lifts, the gate and the detail models.
#include <gtest/gtest.h>

#include "entities/network_world.h"

namespace vallorn {
namespace {

class LiftTick : public test::NetworkWorld {
protected:
    // Distance along the cable loop from its first point to the carrier.
    float LoopPosition(const TSKISection& s, const TSKIGondole& g) const {
        const std::vector<TSKIVector>& loop = s.DetailLine;
        const size_t from = g.NextPoint == 0 ? loop.size() - 1 : size_t(g.NextPoint - 1);
        float along = 0;
        for (size_t k = 1; k <= from; ++k) along += Dist(loop[k - 1], loop[k]);
        return along + Dist(loop[from], g.Position);
    }
    float LoopLength(const TSKISection& s) const {
        const std::vector<TSKIVector>& loop = s.DetailLine;
        float len = Dist(loop.back(), loop.front());
        for (size_t k = 1; k < loop.size(); ++k) len += Dist(loop[k - 1], loop[k]);
        return len;
    }
};

TEST_F(LiftTick, CarriersComeOnePerSpacingUntilTheLoopIsFull) {
    TSKISection& s = Lift(100, 100, 100, 160, 3);
    const TSKILiftParams& t = f->Params.Lifts[3];
    const float dt = 0.05f;
    ASSERT_TRUE(s.Filling);
    s.Tick(dt);
    ASSERT_EQ(s.Carriers.size(), 1u);  // the first carrier comes on the first tick
    const TSKIGondole* first = s.Carriers.front().get();
    EXPECT_LT(Dist(first->Position, s.DetailLine.front()), 1e-4f);

    int ticks = 0;
    while (s.Filling && ticks < 20000) {
        const size_t before = s.Carriers.size();
        const TSKIGondole* newest = s.Carriers.front().get();
        s.Tick(dt);
        ++ticks;
        if (s.Carriers.size() > before) {
            // A new carrier once the newest has left a spacing behind it (moved this tick).
            const float gap = Dist(newest->Position, s.DetailLine.front());
            EXPECT_GT(gap, t.GondoleSpacing);
            EXPECT_LT(gap, t.GondoleSpacing + t.Speed * dt + 1e-3f);
            EXPECT_EQ(s.Carriers[1].get(), newest);  // the newest is in front
        }
    }
    ASSERT_FALSE(s.Filling);
    EXPECT_EQ(s.Carriers.back().get(), first);  // the oldest at the back
    // Spaced round the whole loop: a little over the spacing apart, since each carrier
    // crawls out of the lower station before the next one may come.
    const float loop = LoopLength(s), count = float(s.Carriers.size());
    EXPECT_LE(count * t.GondoleSpacing, loop);
    EXPECT_GE(count * (t.GondoleSpacing + 3), loop - t.GondoleSpacing);
    // The first carrier has come (nearly) round.
    EXPECT_GT(LoopPosition(s, *first), LoopLength(s) - 2 * t.GondoleSpacing);

    const size_t full = s.Carriers.size();
    for (int k = 0; k < 200; ++k) s.Tick(dt);
    EXPECT_EQ(s.Carriers.size(), full);
}

TEST_F(LiftTick, AClosedLiftEmptiesItsQueueAndKeepsItsRiders) {
    TSKISection& s = Lift(100, 100, 100, 160, 3);
    TSKIGondole& g = AddCarrier(s);
    TSKISkier& rider = AddSkier(At(100, 100));
    ASSERT_TRUE(g.Board(rider));
    rider.State = kSkierOnLift;
    std::vector<TSKISkier*> waiting;
    for (uint8_t k : {4, 5, 30, 64}) {
        TSKISkier& w = AddSkier(s.QueuePositions[k]);
        w.State = kSkierWaiting;
        s.QueueSlots[k] = &w;
    }
    s.RecountQueue();
    ASSERT_EQ(s.QueueLength, 4);

    s.Status = kLiftClosed;
    const TSKIVector at = g.Position;
    s.Tick(0.1f);
    for (TSKISkier* slot : s.QueueSlots) EXPECT_EQ(slot, nullptr);
    EXPECT_EQ(s.QueueLength, 0);
    EXPECT_EQ(g.RiderCount, 1);
    EXPECT_EQ(g.Riders[0], &rider);
    EXPECT_GT(Dist(g.Position, at), 0.1f);  // closed lifts keep running
    EXPECT_TRUE(s.GateClosedModel);
}

TEST_F(LiftTick, ABrokenDownLiftStandsStillAndKeepsItsQueue) {
    TSKISection& s = Lift(100, 100, 100, 160, 3);
    for (int k = 0; k < 40; ++k) s.Tick(0.1f);
    ASSERT_GE(s.Carriers.size(), 2u);
    TSKISkier& w = AddSkier(s.QueuePositions[10]);
    w.State = kSkierWaiting;
    s.QueueSlots[10] = &w;
    TSKISkier& stale = AddSkier(s.QueuePositions[11]);
    stale.State = kSkierIdle;
    s.QueueSlots[11] = &stale;

    s.Status = kLiftBroken;
    std::vector<TSKIVector> at;
    for (const auto& g : s.Carriers) at.push_back(g->Position);
    const size_t count = s.Carriers.size();
    for (int k = 0; k < 40; ++k) s.Tick(0.1f);
    ASSERT_EQ(s.Carriers.size(), count);
    for (size_t k = 0; k < count; ++k) EXPECT_EQ(s.Carriers[k]->Position, at[k]);
    EXPECT_EQ(s.QueueSlots[10], &w);
    EXPECT_EQ(s.QueueSlots[11], nullptr);  // not waiting any more: freed
}

TEST_F(LiftTick, GateAndDetailModelsFollowTheView) {
    TSKISection& s = Lift(100, 100, 100, 160, 3);
    s.Tick(0.1f);
    EXPECT_FALSE(s.GateVisible);
    EXPECT_FALSE(s.WheelsVisible);
    EXPECT_EQ(s.LowerWheelAngle, 0.0f);

    f->Cell(CellI(s.GatePosition), CellJ(s.GatePosition)).InView = true;
    f->Cell(100, 100).InView = true;  // the lower station
    s.Tick(0.1f);
    EXPECT_TRUE(s.GateVisible);
    EXPECT_FALSE(s.GateClosedModel);
    ASSERT_EQ(s.StationHighDetail.size(), 2u);
    EXPECT_TRUE(s.StationHighDetail[0]);
    EXPECT_FALSE(s.StationHighDetail[1]);
    EXPECT_TRUE(s.WheelsVisible);
    EXPECT_NEAR(s.LowerWheelAngle, 0.1f * s.WheelTurnRate, 1e-3f);
    EXPECT_EQ(s.UpperWheelAngle, 0.0f);

    s.Status = kLiftClosed;
    s.Tick(0.1f);
    EXPECT_TRUE(s.GateClosedModel);
}

}  // namespace
}  // namespace vallorn
