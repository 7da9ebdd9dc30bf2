// Lift carriers: running round the loop, slowing at the stations, the loading point,
// boarding with the ticket price, riders in their seats and setting them down.
#include <gtest/gtest.h>

#include "entities/network_world.h"

namespace vallorn {
namespace {

class Carrier : public test::NetworkWorld {
protected:
    // A lift along +z from cell (100, 100) to (100, 160); its loop has six points: up
    // 0 -> 1, round the upper wheel 2 -> 3, down 4 -> 5, and back to 0.
    TSKISection& Chair(uint8_t type = 3, uint16_t price = 0) {
        TSKISection& s = Lift(100, 100, 100, 160, type, kLiftOpen, price);
        EXPECT_EQ(s.DetailLine.size(), 6u);
        return s;
    }
    TSKISkier& Customer(int32_t money = 100, int32_t limit = 10, float happiness = 0) {
        TSKISkierRecord r;
        r.Money = money;
        r.SpendingLimit = limit;
        r.Happiness = happiness;
        return AddSkier(At(100, 99), r);
    }
    // Moves the carrier `distance` back from loop point `k` toward point k - 1.
    void Before(TSKIGondole& g, int k, float distance) {
        const std::vector<TSKIVector>& loop = g.Lift.DetailLine;
        const TSKIVector dir = loop[size_t(k)] - loop[size_t(k - 1)];
        g.Position = loop[size_t(k)] - dir / Dist(loop[size_t(k)], loop[size_t(k - 1)]) * distance;
        g.NextPoint = k;
    }
};

TEST_F(Carrier, TheLoopClosesFromTheLastPointBackToTheFirst) {
    TSKISection& s = Chair();
    TSKIGondole& g = AddCarrier(s);
    g.Position = s.DetailLine[5];
    g.NextPoint = 5;
    g.Tick(0.05f);
    EXPECT_EQ(g.NextPoint, 0);

    // A point beyond the loop means its last point.
    g.Position = s.DetailLine[4];
    g.NextPoint = 99;
    g.Tick(0.05f);
    EXPECT_EQ(g.NextPoint, 5);
    EXPECT_LT(Dist(g.Position, s.DetailLine[5]), Dist(s.DetailLine[4], s.DetailLine[5]));
}

TEST_F(Carrier, SnapsToAPointWithinOneAndAHalfSteps) {
    f->Params.Lifts[3].Speed = 10;  // 0.495 at dt 0.033
    TSKISection& s = Chair();
    TSKIGondole& g = AddCarrier(s);
    Before(g, 1, 0.49f);
    g.Tick(0.033f);
    EXPECT_EQ(g.NextPoint, 2);
    EXPECT_LT(Dist(g.Position, s.DetailLine[1]), 1e-4f);

    Before(g, 1, 0.50f);
    g.Tick(0.033f);
    EXPECT_EQ(g.NextPoint, 1);
    EXPECT_NEAR(Dist(g.Position, s.DetailLine[1]), 0.17f, 1e-3f);
}

TEST_F(Carrier, ChairsAndCabinsSlowDownAtTheWheelsSurfaceLiftsNever) {
    const float dt = 0.1f;
    TSKISection& quad = Chair(3);
    TSKIGondole& g = AddCarrier(quad);  // at the lower wheel
    g.Tick(dt);
    EXPECT_NEAR(Dist(g.Position, quad.DetailLine[0]), dt * 2.0f, 1e-4f);

    // Round the upper wheel too, from point 2 toward point 3.
    g.Position = quad.DetailLine[2];
    g.NextPoint = 3;
    g.Tick(dt);
    EXPECT_NEAR(Dist(g.Position, quad.DetailLine[2]), dt * 2.0f, 1e-4f);

    // On the open line at full speed, faster with upgrades.
    quad.UpgradeBonus = 1.0f;
    Before(g, 1, 100);
    g.Tick(dt);
    EXPECT_NEAR(Dist(g.Position, quad.DetailLine[1]), 100 - dt * 5.0f * 1.33f, 1e-3f);

    // The double chairlift slows at the lower station only.
    TSKISection& twin = Lift(200, 100, 200, 160, 2);
    TSKIGondole& d = AddCarrier(twin);
    d.Position = twin.DetailLine[2];
    d.NextPoint = 3;
    d.Tick(dt);
    EXPECT_NEAR(Dist(d.Position, twin.DetailLine[2]), dt * f->Params.Lifts[2].Speed, 1e-4f);

    TSKISection& platter = Lift(300, 100, 300, 140, 0);
    TSKIGondole& p = AddCarrier(platter);
    p.Tick(dt);
    EXPECT_NEAR(Dist(p.Position, platter.DetailLine[0]), dt * f->Params.Lifts[0].Speed, 1e-4f);
}

TEST_F(Carrier, OneLoadingCarrierAtATimeBoardsUpToItsCapacity) {
    TSKISection& s = Chair(3);  // capacity 4
    TSKIGondole& a = AddCarrier(s);
    a.Tick(0.01f);
    ASSERT_EQ(s.LoadingCarrier, &a);
    for (int k = 0; k < 4; ++k) EXPECT_TRUE(a.Board(Customer())) << k;
    TSKISkier& fifth = Customer();
    EXPECT_FALSE(a.Board(fifth));
    EXPECT_EQ(a.RiderCount, 4);
    EXPECT_EQ(fifth.Money, 100);

    // The next carrier waits until the full one has left the one-unit zone.
    TSKIGondole& b = AddCarrier(s);
    b.Tick(0.01f);
    EXPECT_EQ(s.LoadingCarrier, &a);
    a.Tick(0.3f);
    EXPECT_EQ(s.LoadingCarrier, &a);  // 0.62 units away
    a.Tick(0.3f);
    EXPECT_EQ(s.LoadingCarrier, nullptr);
    b.Tick(0.01f);
    EXPECT_EQ(s.LoadingCarrier, &b);

    // A closed lift gets no loading carrier.
    TSKISection& closed = Lift(200, 100, 200, 160, 3, kLiftClosed);
    TSKIGondole& c = AddCarrier(closed);
    c.Tick(0.01f);
    EXPECT_EQ(closed.LoadingCarrier, nullptr);
}

TEST_F(Carrier, TicketsDearerThanTheSkierWillPayCostHappiness) {
    const float penalty = f->Params.Game.TooExpensivePenalty;
    TSKISection& free = Chair(3, 0);
    TSKIGondole& g = AddCarrier(free);
    TSKISkier& miser = Customer(100, 0);
    ASSERT_TRUE(g.Board(miser));  // a free ride is never too dear
    EXPECT_EQ(miser.Happiness, 0.0f);
    EXPECT_EQ(free.TooExpensiveCount, 0);

    TSKISection& paid = Lift(200, 100, 200, 160, 3, kLiftOpen, 5);
    TSKIGondole& h = AddCarrier(paid);
    TSKISkier& poor = Customer(100, 0);
    ASSERT_TRUE(h.Board(poor));
    EXPECT_FLOAT_EQ(poor.Happiness, -5 * penalty);
    EXPECT_EQ(paid.TooExpensiveCount, 1);

    // Quality 1.2 x limit 4 = 4.8 is short of 5; an upgrade of 0.3 makes it 6.
    TSKISkier& modest = Customer(100, 4);
    ASSERT_TRUE(h.Board(modest));
    EXPECT_FLOAT_EQ(modest.Happiness, -(5 - 1.2f * 4) * penalty);
    paid.UpgradeBonus = 0.3f;
    TSKISkier& pleased = Customer(100, 4);
    ASSERT_TRUE(h.Board(pleased));
    EXPECT_EQ(pleased.Happiness, 0.0f);
    EXPECT_EQ(paid.TooExpensiveCount, 2);

    // Pushed below -100: refused, nothing paid, still counted.
    TSKISkier& grumpy = Customer(100, 0, -95);
    const int32_t cash = f->Park.ParkCash;
    EXPECT_FALSE(h.Board(grumpy));
    EXPECT_EQ(h.RiderCount, 3);
    EXPECT_EQ(grumpy.Money, 100);
    EXPECT_EQ(f->Park.ParkCash, cash);
    EXPECT_EQ(paid.TooExpensiveCount, 3);
}

TEST_F(Carrier, TheFareGoesToTheParkAndTheLiftsCountersUpTo65000) {
    TSKISection& s = Chair(3, 5);
    TSKIGondole& g = AddCarrier(s);
    const int32_t cash = f->Park.ParkCash;
    TSKISkier& broke = Customer(3, 0, 0);
    ASSERT_TRUE(g.Board(broke));
    EXPECT_EQ(broke.Money, -2);  // money may go negative
    EXPECT_EQ(f->Park.ParkCash, cash + 5);
    EXPECT_EQ(s.TotalIncome, 5);
    EXPECT_EQ(s.CurrentTakings, 5);
    EXPECT_EQ(s.CustomersServed, 1);
    EXPECT_EQ(g.Riders[0], &broke);

    s.CurrentTakings = 64996;
    s.CustomersServed = 64999;
    s.TooExpensiveCount = 64999;
    ASSERT_TRUE(g.Board(Customer(100, 0)));
    EXPECT_EQ(s.CurrentTakings, 64996);
    EXPECT_EQ(s.CustomersServed, 64999);
    EXPECT_EQ(s.TooExpensiveCount, 64999);
    EXPECT_EQ(s.TotalIncome, 10);
    EXPECT_EQ(f->Park.ParkCash, cash + 10);
}

TEST_F(Carrier, RidersSitInTheirSeatsSurfaceLiftsDragThemOnTheGround) {
    TSKISection& s = Chair(3);
    TSKIGondole& g = AddCarrier(s);
    TSKISkier& a = Customer();
    TSKISkier& b = Customer();
    ASSERT_TRUE(g.Board(a));
    ASSERT_TRUE(g.Board(b));
    Before(g, 1, 50);
    g.Tick(0.05f);
    EXPECT_LT(Dist(a.Position, g.SeatPosition(0)), 1e-4f);
    EXPECT_LT(Dist(b.Position, g.SeatPosition(1)), 1e-4f);
    EXPECT_GT(a.Position.y, 12.0f);  // up in the chair

    TSKISection& platter = Lift(300, 100, 300, 140, 0);
    TSKIGondole& p = AddCarrier(platter);
    TSKISkier& c = Customer();
    ASSERT_TRUE(p.Board(c));
    Before(p, 1, 50);
    p.Tick(0.05f);
    EXPECT_NEAR(c.Position.y, f->GroundHeight(c.Position) + kStandHeight, 1e-4f);
    EXPECT_NEAR(Flat(c.Position, p.SeatPosition(0)), 0.0f, 1e-4f);
}

TEST_F(Carrier, UnloadingSpreadsTheRidersAndEmptiesTheSeats) {
    TSKISection& s = Lift(100, 100, 100, 160, 4);  // cabins
    TSKIGondole& g = AddCarrier(s);
    std::vector<TSKISkier*> riders;
    for (int k = 0; k < 3; ++k) {
        riders.push_back(&Customer());
        ASSERT_TRUE(g.Board(*riders.back()));
        riders.back()->State = kSkierOnLift;
    }
    Before(g, 1, 100);  // over free ground, facing +z
    g.Tick(0.01f);
    const TSKIVector spot = At(100, 130);
    for (TSKISkier* r : riders) r->Position = spot;
    g.Unload();

    EXPECT_EQ(g.RiderCount, 0);
    for (TSKISkier* seat : g.Riders) EXPECT_EQ(seat, nullptr);
    bool spread = false;
    for (TSKISkier* r : riders) {
        EXPECT_EQ(r->State, kSkierIdle);
        const float ahead = r->Position.z - spot.z, aside = r->Position.x - spot.x;
        EXPECT_GE(ahead, 0.0f);
        EXPECT_LT(ahead, 2.0f);  // r - 1 = 2
        EXPECT_GE(aside, -1.0f);
        EXPECT_LE(aside, 1.0f);
        EXPECT_NEAR(r->Position.y, 10.0f + kStandHeight, 1e-3f);
        spread = spread || Flat(r->Position, riders[0]->Position) > 1e-3f;
    }
    EXPECT_TRUE(spread);
}

TEST_F(Carrier, RidersGetOffAtTheUpperStation) {
    TSKISection& s = Chair(3);
    TSKIGondole& g = AddCarrier(s);
    TSKISkier& rider = Customer();
    ASSERT_TRUE(g.Board(rider));
    rider.State = kSkierOnLift;
    int ticks = 0;
    while (g.RiderCount > 0 && ticks < 4000) {
        g.Tick(0.05f);
        ++ticks;
    }
    ASSERT_EQ(g.RiderCount, 0);
    EXPECT_EQ(g.CellKind, kCellLiftUpper);
    EXPECT_NE(rider.State, kSkierOnLift);
    EXPECT_LT(Flat(rider.Position, At(100, 160)), 8.0f);
    // The whole way up at 5 units per second, slower only at the stations.
    EXPECT_GT(ticks * 0.05f, 240 / 5.0f - 2.0f);
    EXPECT_LT(ticks * 0.05f, 240 / 5.0f + 5.0f);
}

}  // namespace
}  // namespace vallorn
