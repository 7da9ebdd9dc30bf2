// Riders and their carrier: a seated rider decides nothing until it is set down, and a
// removed rider's seat is not lost.
#include <gtest/gtest.h>

#include <algorithm>

#include "entities/network_world.h"

namespace vallorn {
namespace {

class CarrierRiders : public test::NetworkWorld {
protected:
    // A quad chairlift along +z from cell (100, 100) to (100, 160).
    TSKISection& Chair(uint16_t price = 0) { return Lift(100, 100, 100, 160, 3, kLiftOpen, price); }
    TSKISkier& Rider(TSKIGondole& g, TSKISkierRecord r = {}) {
        TSKISkier& s = AddSkier(At(100, 99), r);
        EXPECT_TRUE(g.Board(s));
        s.State = kSkierOnLift;
        return s;
    }
};

TEST_F(CarrierRiders, ASeatedRiderDecidesOnlyOnceSetDownAndIsServedOnce) {
    TSKISection& s = Chair();
    TSKIBuilding* stall =
        f->CreateBuilding({.Type = kBuildStall, .ServicePrice = 6, .Position = At(100, 165)});
    ASSERT_NE(stall, nullptr);
    TSKIGondole& g = AddCarrier(s);
    TSKISkier& hungry = Rider(g, {.Money = 100, .Hunger = -50});
    hungry.Happiness = hungry.Cold = hungry.Energy = 50;

    // The seat swings over the upper station's cell before the carrier reaches it.
    hungry.Position = At(100, 160);
    hungry.Tick(0.05f);
    EXPECT_EQ(hungry.State, kSkierOnLift);
    EXPECT_EQ(stall->Occupants, 0);

    g.Unload();
    EXPECT_EQ(hungry.State, kSkierInBuilding);
    EXPECT_EQ(stall->Occupants, 1);
    EXPECT_EQ(hungry.Money, 94);
}

TEST_F(CarrierRiders, UnloadingLeavesASkierWhoHasLeftItsSeatAlone) {
    TSKIGondole& g = AddCarrier(Chair());
    TSKISkier& broke = Rider(g, {.Money = 0, .SpendingLimit = 10});
    broke.Position = At(100, 160);
    broke.StartLeaving();
    g.Unload();
    EXPECT_EQ(broke.State, kSkierLeaving);
    EXPECT_EQ(f->Park.ParkLeftBecauseNoMoney, 0);
    EXPECT_EQ(g.RiderCount, 0);
}

TEST_F(CarrierRiders, ARemovedRidersSeatIsNotOverwrittenByTheNextToBoard) {
    TSKIGondole& g = AddCarrier(Lift(100, 100, 100, 160, 4));  // cabins
    TSKISkier& first = Rider(g);
    Rider(g);
    TSKISkier& third = Rider(g);
    f->RemoveSkier(f->Skiers.size() - 2);  // the second rider goes
    EXPECT_EQ(g.RiderCount, 2);

    TSKISkier& next = Rider(g);
    EXPECT_EQ(g.RiderCount, 3);
    for (const TSKISkier* rider : {&first, &third, &next}) {
        EXPECT_NE(std::find(g.Riders.begin(), g.Riders.end(), rider), g.Riders.end());
    }
}

}  // namespace
}  // namespace vallorn
