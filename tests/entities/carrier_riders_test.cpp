// Riders and their carrier: a seated rider decides nothing until it is set down, a skier who
// cannot pay gives up its boarding place, and a removed rider's seat is not lost.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/clock.h"
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
        s.CurrentSection = &g.Lift;  // as a skier who boarded from the queue
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

TEST_F(CarrierRiders, SkiersRefusedForThePriceGiveUpTheBoardingRow) {
    f->Park.ParkSandboxDiff = 99;  // the unlimited sandbox: nobody leaves for unhappiness
    f->Params.Game.TooExpensivePenalty = 1;
    TSKISection& s = Chair(50);
    TSKIGondole& g = AddCarrier(s);
    const int capacity = s.Type().GondoleCapacity;
    std::vector<TSKISkier*> line;
    auto queue = [&](int index, TSKISkierRecord r) {
        TSKISkier& k = AddSkier(s.QueuePositions[size_t(index)], r);
        k.State = kSkierWaiting;
        k.CurrentSection = &s;
        k.QueueIndex = uint8_t(index);
        s.QueueSlots[size_t(index)] = &k;
        line.push_back(&k);
    };
    for (int k = 0; k < capacity; ++k)
        queue(k, {.Money = 100, .SpendingLimit = 0, .Happiness = -90});
    queue(capacity, {.Money = 100, .SpendingLimit = 100, .Happiness = 50});
    TSKISkier& payer = *line.back();

    for (int t = 0; t < 20 && payer.State != kSkierOnLift; ++t) {
        s.LoadingCarrier = &g;
        for (TSKISkier* k : line) k->Tick(0.05f);
    }
    EXPECT_EQ(payer.State, kSkierOnLift);
    EXPECT_EQ(g.RiderCount, 1);
    for (int k = 0; k < capacity; ++k) {
        TSKISkier* holder = s.QueueSlots[size_t(k)];
        EXPECT_TRUE(holder == nullptr || holder == &payer) << "boarding place " << k;
    }
}

TEST_F(CarrierRiders, ARemovedRidersSeatIsNotOverwrittenByTheNextToBoard) {
    TSKIGondole& g = AddCarrier(Lift(100, 100, 100, 160, 4));  // cabins
    TSKISkier& first = Rider(g);
    Rider(g);
    TSKISkier& third = Rider(g);
    RemoveSkier(*f, f->Skiers.size() - 2);  // the second rider goes
    EXPECT_TRUE(test::ParkConsistent(*f));
    EXPECT_EQ(g.RiderCount, 2);

    TSKISkier& next = Rider(g);
    EXPECT_EQ(g.RiderCount, 3);
    for (const TSKISkier* rider : {&first, &third, &next}) {
        EXPECT_NE(std::find(g.Riders.begin(), g.Riders.end(), rider), g.Riders.end());
    }
}

}  // namespace
}  // namespace vallorn
