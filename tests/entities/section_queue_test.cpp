// A lift's queue: the boarding row, the waiting line winding away from the gate around
// blocked ground, the recount and leaving.
#include <gtest/gtest.h>

#include "entities/network_world.h"

namespace vallorn {
namespace {

class QueueLayout : public test::NetworkWorld {
protected:
    void Block(int i0, int j0, int i1, int j1) {
        for (int i = i0; i <= i1; ++i)
            for (int j = j0; j <= j1; ++j) f->Cell(i, j).Kind = kCellOccupied;
    }
    bool OnBlocked(const TSKIVector& p) const {
        const uint8_t k = CellOf(p).Kind;
        return k >= kCellOccupied && k != kCellLiftLower;
    }
    // The random draws one layout attempt takes: r1, r2 and one turn per place, plus one
    // more turn for every place whose next step would be blocked.
    static int Draws(int places, int blockedSteps) { return 2 + places + blockedSteps; }
    static void Advance(TSKIRandom& rng, int draws) {
        for (int k = 0; k < draws; ++k) rng.Next();
    }
};

TEST_F(QueueLayout, ChairliftsBoardFromARowAcrossTheCable) {
    TSKISection& s = Lift(100, 100, 100, 160, 3);  // capacity 4
    const TSKIVector first = s.DetailLine.front();
    for (int i = 0; i < 4; ++i) {
        const TSKIVector expected = first + s.BoardingAxis * float(i - 2);
        EXPECT_NEAR(s.QueuePositions[size_t(i)].x, expected.x, 1e-3f) << i;
        EXPECT_NEAR(s.QueuePositions[size_t(i)].z, expected.z, 1e-3f) << i;
        EXPECT_NEAR(s.QueuePositions[size_t(i)].y, 10.0f + kStandHeight, 1e-3f) << i;
    }
    // The waiting line starts after the row, one unit from the gate, one unit per place.
    EXPECT_NEAR(Flat(s.QueuePositions[4], s.GatePosition), 1.0f, 1e-3f);
    for (int k = 5; k < kQueueSlots; ++k)
        EXPECT_NEAR(Flat(s.QueuePositions[size_t(k)], s.QueuePositions[size_t(k - 1)]), 1.0f,
                    1e-3f);
    EXPECT_GT(Flat(s.QueuePositions[kQueueTail], s.GatePosition), 15.0f);
    EXPECT_NEAR(s.QueuePositions[kQueueTail].y, 10.0f + kStandHeight, 1e-3f);

    // Cabins have no row: the line starts at place 0.
    TSKISection& cabin = Lift(200, 100, 200, 200, 4);
    EXPECT_NEAR(Flat(cabin.QueuePositions[0], cabin.GatePosition), 1.0f, 1e-3f);
}

TEST_F(QueueLayout, OneAttemptIsEnoughOnFreeGround) {
    TSKISection& s = Lift(100, 100, 100, 160, 3);
    TSKIRandom expected = f->Rng;
    s.LayOutQueue();
    Advance(expected, Draws(kQueueSlots - 4, 0));
    EXPECT_EQ(f->Rng.Next(), expected.Next());
}

TEST_F(QueueLayout, TheLineWindsAroundBlockedGround) {
    TSKISection& s = Lift(100, 100, 100, 160, 3);
    // Right behind the gate, across the way the line would go.
    const int gj = CellJ(s.GatePosition);
    Block(99, gj - 6, 101, gj - 4);
    s.LayOutQueue();
    for (int k = 4; k < kQueueSlots; ++k) EXPECT_FALSE(OnBlocked(s.QueuePositions[size_t(k)])) << k;
}

TEST_F(QueueLayout, AfterTwentyOneFailedAttemptsTheLastLayoutStays) {
    TSKISection& s = Lift(100, 100, 100, 160, 3);
    Block(20, 20, 180, 180);  // everything around, the station cell too
    TSKIRandom expected = f->Rng;
    s.LayOutQueue();
    // Every step of every attempt saw blocked ground ahead.
    Advance(expected, 21 * Draws(kQueueSlots - 4, kQueueSlots - 4));
    EXPECT_EQ(f->Rng.Next(), expected.Next());
    // The last attempt's line is kept: a chain from the gate, on blocked ground.
    EXPECT_NEAR(Flat(s.QueuePositions[4], s.GatePosition), 1.0f, 1e-3f);
    for (int k = 5; k < kQueueSlots; ++k)
        EXPECT_NEAR(Flat(s.QueuePositions[size_t(k)], s.QueuePositions[size_t(k - 1)]), 1.0f,
                    1e-3f);
    EXPECT_TRUE(OnBlocked(s.QueuePositions[kQueueTail]));
}

TEST_F(QueueLayout, RecountCountsWaitingSkiersAndFreesTheRest) {
    TSKISection& s = Lift(100, 100, 100, 160, 3);
    TSKISkier& a = AddSkier(At(100, 99));
    TSKISkier& b = AddSkier(At(100, 99));
    TSKISkier& gone = AddSkier(At(100, 99));
    a.State = b.State = kSkierWaiting;
    gone.State = kSkierSkiing;
    s.QueueSlots[5] = &a;
    s.QueueSlots[10] = &b;
    s.QueueSlots[20] = &gone;
    s.RecountQueue();
    EXPECT_EQ(s.QueueLength, 2);
    EXPECT_EQ(s.QueueSlots[20], nullptr);
    EXPECT_EQ(s.QueueSlots[5], &a);

    // Leaving frees every slot that holds the skier.
    s.QueueSlots[kQueueTail] = &a;
    s.LeaveQueue(&a);
    EXPECT_EQ(s.QueueSlots[5], nullptr);
    EXPECT_EQ(s.QueueSlots[kQueueTail], nullptr);
    EXPECT_EQ(s.QueueSlots[10], &b);
    s.RecountQueue();
    EXPECT_EQ(s.QueueLength, 1);
}

}  // namespace
}  // namespace vallorn
