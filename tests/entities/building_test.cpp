// Service buildings: placement on the terrain, seats and door, customers entering and
// paying, leaving, eviction, the day reset, removal with its fix-ups and the service search.
#include <gtest/gtest.h>

#include <cmath>

#include "entities/skier_world.h"

namespace vallorn {
namespace {

class Buildings : public test::SkierWorld {
protected:
    TSKIBuilding& Place(uint8_t type, int i, int j, uint16_t price = 6) {
        TSKIBuildingRecord r;
        r.Type = type;
        r.ServicePrice = price;
        r.Position = At(i, j);
        r.Position.y = 0;  // placed on the terrain by Init
        return *E().CreateBuilding(r);
    }
    // Enters until a free seat is drawn (a taken seat refuses the skier for now).
    bool EnterSomeSeat(TSKIBuilding& b, TSKISkier& s) {
        for (int attempt = 0; attempt < 200; ++attempt) {
            if (b.Enter(s)) return true;
        }
        return false;
    }
    static float Flat(const TSKIVector& a, const TSKIVector& b) {
        return std::hypot(a.x - b.x, a.z - b.z);
    }
};

TEST_F(Buildings, CreationPutsTheBuildingSeatsAndDoorOnTheTerrainAndClearsItsGround) {
    TSKIBuildingParams& stall = E().Params.Buildings[kBuildStall];
    ASSERT_EQ(stall.Seats[0].y, 0.0f);
    stall.Seats[1].y = 1.5f;         // a raised seat keeps its height above the building
    E().Cell(102, 102).Tree = true;  // within BuildSize div 2 = 2 cells
    E().Cell(103, 100).Tree = true;  // outside
    TSKIBuilding& b = Place(kBuildStall, 100, 100);

    EXPECT_FLOAT_EQ(b.Position.y, 10.0f);
    EXPECT_EQ(b.CellI, 100);
    EXPECT_EQ(b.CellJ, 100);
    EXPECT_EQ(E().Cell(100, 100).Kind, kCellBuilding);
    EXPECT_EQ(E().BuildingByIndex(E().Cell(100, 100).Building), &b);
    EXPECT_EQ(E().Cell(100, 101).Kind, kCellOccupied);  // 4 units from the centre, size 5
    ASSERT_EQ(b.Seats.size(), size_t(stall.Capacity));
    EXPECT_NEAR(b.Seats[0].y, 10.2f, 1e-4f);
    EXPECT_NEAR(b.Seats[1].y, 11.5f, 1e-4f);
    EXPECT_NEAR(b.Seats[0].x, b.Position.x + stall.Seats[0].x, 1e-4f);
    EXPECT_NEAR(b.Seats[0].z, b.Position.z + stall.Seats[0].z, 1e-4f);
    ASSERT_TRUE(stall.HasDoor);
    EXPECT_NEAR(b.Door.z, b.Position.z + stall.DoorPosition.z, 1e-4f);
    EXPECT_NEAR(b.Door.y, 10.0f, 1e-4f);
    EXPECT_EQ(b.EntrancePoint(), b.Door);
    EXPECT_FALSE(E().Cell(102, 102).Tree);
    EXPECT_TRUE(E().Cell(103, 100).Tree);
}

TEST_F(Buildings, SeatOffsetsTurnWithTheBuilding) {
    TSKIBuildingRecord r;
    r.Type = kBuildStall;
    r.Position = At(100, 100);
    r.Direction = TSKIVector(1, 0, 0, 0);  // facing +x instead of +z
    TSKIBuilding& b = *E().CreateBuilding(r);
    const TSKIBuildingParams& p = b.Params();
    // The door, ahead of the building, now lies along +x.
    EXPECT_NEAR(b.Door.x - b.Position.x, p.DoorPosition.z, 1e-4f);
    EXPECT_NEAR(b.Door.z - b.Position.z, -p.DoorPosition.x, 1e-4f);
}

TEST_F(Buildings, AFullBuildingRefusesTheNextCustomer) {
    E().Params.Buildings[kBuildStall].Capacity = 10;
    TSKIBuilding& b = Place(kBuildStall, 100, 100);
    for (int k = 0; k < 10; ++k) {
        TSKISkier& s = AddSkier(At(100, 95), {.Money = 100});
        ASSERT_TRUE(EnterSomeSeat(b, s)) << "customer " << k;
    }
    EXPECT_EQ(b.Occupants, 10);
    TSKISkier& eleventh = AddSkier(At(100, 95), {.Money = 100});
    EXPECT_FALSE(EnterSomeSeat(b, eleventh));
    EXPECT_EQ(eleventh.State, kSkierIdle);
    EXPECT_EQ(eleventh.Money, 100);
    EXPECT_EQ(E().FindNearestBuilding(At(100, 95), kServiceHunger, 40), nullptr);
}

TEST_F(Buildings, ACustomerPaysOnEnteringAndMayBeLeftWithNothing) {
    TSKIBuilding& b = Place(kBuildStall, 100, 100, 6);
    const int32_t cash = E().Park.ParkCash;
    TSKISkier& poor = AddSkier(At(100, 95), {.Money = 5, .SpendingLimit = 50});
    EXPECT_FALSE(b.Enter(poor));
    EXPECT_EQ(poor.Money, 5);

    TSKISkier& s = AddSkier(At(100, 95), {.Money = 6, .SpendingLimit = 50});
    const int32_t lift = AddLift(At(90, 90), At(80, 90));
    s.JoinQueue(&Section(lift));
    ASSERT_TRUE(EnterSomeSeat(b, s));
    EXPECT_EQ(s.Money, 0);
    EXPECT_EQ(s.State, kSkierInBuilding);
    EXPECT_EQ(s.Building, &b);
    EXPECT_EQ(s.TargetSpeed, 5.0f);
    EXPECT_EQ(Section(lift).QueueSlots[kQueueTail], nullptr);  // the place in line is given up
    EXPECT_EQ(E().Park.ParkCash, cash + 6);
    EXPECT_EQ(b.Occupants, 1);
    EXPECT_EQ(b.CustomersServed, 1);
    EXPECT_EQ(b.TotalIncome, 6);
    EXPECT_EQ(b.CurrentTakings, 6);
    EXPECT_EQ(b.TooExpensiveCount, 0);
    int seated = 0;
    for (TSKISkier* seat : b.SeatOccupants) seated += seat == &s;
    EXPECT_EQ(seated, 1);
    bool onASeat = false;
    for (const TSKIVector& seat : b.Seats) onASeat |= seat == s.SeatPosition;
    EXPECT_TRUE(onASeat);
}

TEST_F(Buildings, ACustomerWithoutSpendingLimitAlwaysPaysAndLosesHappiness) {
    TSKIBuilding& b = Place(kBuildStall, 100, 100, 6);
    TSKISkier& s = AddSkier(At(100, 95), {.Money = 100, .SpendingLimit = 0});
    s.Happiness = 20;
    ASSERT_TRUE(EnterSomeSeat(b, s));
    EXPECT_EQ(s.Money, 94);
    EXPECT_FLOAT_EQ(s.Happiness, 20 - 6 * E().Params.Game.TooExpensivePenalty);
    EXPECT_EQ(b.TooExpensiveCount, 1);

    // A free service never costs mood.
    TSKIBuilding& free = Place(kBuildStall, 100, 120, 0);
    TSKISkier& t = AddSkier(At(100, 115), {.SpendingLimit = 0});
    ASSERT_TRUE(EnterSomeSeat(free, t));
    EXPECT_EQ(t.Happiness, 0.0f);
}

TEST_F(Buildings, OnlyRestaurantsTakeCustomers) {
    TSKIBuilding& garage = Place(kBuildSnowcatGarage, 100, 100);
    TSKISkier& s = AddSkier(At(100, 95), {.Money = 100});
    EXPECT_FALSE(EnterSomeSeat(garage, s));
    EXPECT_EQ(s.State, kSkierIdle);
}

TEST_F(Buildings, AClosedShelterEmptiesAtTheNextEvictionAndItsGuestsStandAtTheDoor) {
    TSKIBuilding& shelter = Place(kBuildShelter, 100, 100);
    ASSERT_TRUE(shelter.Params().HasDoor);
    std::vector<TSKISkier*> guests;
    for (int k = 0; k < 3; ++k) {
        TSKISkier& s = AddSkier(At(100, 95), {.Money = 100});
        ASSERT_TRUE(EnterSomeSeat(shelter, s));
        s.Position = s.SeatPosition;
        guests.push_back(&s);
    }
    shelter.Open = false;
    EXPECT_EQ(shelter.Occupants, 3);  // closing alone throws nobody out
    shelter.EvictAll();
    EXPECT_EQ(shelter.Occupants, 0);
    for (TSKISkier* s : guests) {
        EXPECT_NE(s->State, kSkierInBuilding);
        EXPECT_EQ(s->Building, nullptr);
        EXPECT_LE(Flat(s->Position, shelter.Door), std::sqrt(2.0f) + 1e-4f);
        EXPECT_NEAR(s->Position.y, 10.2f, 1e-3f);
    }
    for (TSKISkier* seat : shelter.SeatOccupants) EXPECT_EQ(seat, nullptr);
}

TEST_F(Buildings, NobodyLeavesWhileTheEngineIsBusy) {
    TSKIBuilding& b = Place(kBuildStall, 100, 100);
    TSKISkier& s = AddSkier(At(100, 95), {.Money = 100});
    ASSERT_TRUE(EnterSomeSeat(b, s));
    E().Busy = true;
    b.Leave(s);
    EXPECT_EQ(s.State, kSkierInBuilding);
    EXPECT_EQ(b.Occupants, 1);
    // The day reset does its work anyway.
    b.ResetForDay();
    EXPECT_EQ(b.Occupants, 0);
    EXPECT_EQ(s.Building, nullptr);
    EXPECT_EQ(s.State, kSkierIdle);
    for (TSKISkier* seat : b.SeatOccupants) EXPECT_EQ(seat, nullptr);
}

TEST_F(Buildings, ACustomerWalksInSitsDownAndLeavesWhenServed) {
    TSKIBuilding& b = Place(kBuildStall, 100, 100);
    TSKISkier& s = AddSkier(At(100, 104), {.Money = 100, .Hunger = 0});
    ASSERT_TRUE(EnterSomeSeat(b, s));
    s.Speed = 5.0f;
    for (int t = 0; t < 200 && s.TargetSpeed != 0; ++t) ASSERT_TRUE(s.Tick(1.0f / 30));
    EXPECT_EQ(s.TargetSpeed, 0.0f);
    EXPECT_EQ(s.Position, s.SeatPosition);
    EXPECT_EQ(s.State, kSkierInBuilding);

    s.Hunger = 95;  // the stall refills hunger only
    ASSERT_TRUE(s.Tick(1.0f / 30));
    EXPECT_NE(s.State, kSkierInBuilding);
    EXPECT_EQ(s.Building, nullptr);
    EXPECT_EQ(b.Occupants, 0);
}

TEST_F(Buildings, TheServiceSearchFindsTheNearestOpenFittingBuildingWithRoom) {
    TSKIBuilding& far = Place(kBuildStall, 100, 108);   // 32 units
    TSKIBuilding& near = Place(kBuildStall, 100, 104);  // 16 units
    TSKIBuilding& cot = Place(kBuildCot, 100, 102);     // rest, not food
    const TSKIVector p = At(100, 100);
    EXPECT_EQ(E().FindNearestBuilding(p, kServiceHunger, 40), &near);
    EXPECT_EQ(E().FindNearestBuilding(p, kServiceEnergy, 40), &cot);
    EXPECT_EQ(E().FindNearestBuilding(p, kServiceEnergy | kServiceHunger, 40), &cot);
    near.Open = false;
    EXPECT_EQ(E().FindNearestBuilding(p, kServiceHunger, 40), &far);
    EXPECT_EQ(E().FindNearestBuilding(p, kServiceHunger, 30), nullptr);
    far.Occupants = far.Params().Capacity;
    EXPECT_EQ(E().FindNearestBuilding(p, kServiceHunger, 40), nullptr);
}

TEST_F(Buildings, RemovalReleasesCustomersAndFixesEveryReference) {
    TSKIBuilding& first = Place(kBuildStall, 100, 100);
    TSKIBuilding& garage = Place(kBuildSnowcatGarage, 120, 100);
    TSKIBuilding& last = Place(kBuildParking, 140, 100);
    EXPECT_EQ(E().GarageCount, 1);
    for (int32_t home : {0, 1, 2}) {
        E().Vehicles.push_back(std::make_unique<TSKIVehicle>(E()));
        E().Vehicles.back()->Building = home;
    }
    E().ArrivalBuilding = &garage;
    TSKISkier& s = AddSkier(At(120, 95), {.Money = 100});
    s.State = kSkierInBuilding;  // walking in while the building goes
    s.Building = &garage;
    ASSERT_EQ(E().IndexOf(&last), 2);

    E().RemoveBuilding(1);
    ASSERT_EQ(E().Buildings.size(), 2u);
    EXPECT_EQ(E().IndexOf(&first), 0);
    EXPECT_EQ(E().IndexOf(&last), 1);
    EXPECT_EQ(E().GarageCount, 0);
    EXPECT_EQ(E().ArrivalBuilding, nullptr);
    EXPECT_EQ(s.Building, nullptr);
    EXPECT_EQ(E().Cell(120, 100).Building, -1);
    EXPECT_NE(E().Cell(120, 100).Kind, kCellBuilding);
    EXPECT_EQ(E().Cell(140, 100).Kind, kCellBuilding);
    EXPECT_EQ(E().BuildingByIndex(E().Cell(140, 100).Building), &last);
    // The garage's fleet goes with it; the others' home indexes follow.
    ASSERT_EQ(E().Vehicles.size(), 2u);
    EXPECT_EQ(E().Vehicles[0]->Building, 0);
    EXPECT_EQ(E().Vehicles[1]->Building, 1);

    // The customer notices in its own tick and decides again.
    ASSERT_TRUE(s.Tick(0.05f));
    EXPECT_EQ(s.State, kSkierIdle);
    EXPECT_EQ(E().IndexOf(&s), 0);
    EXPECT_EQ(E().IndexOf(static_cast<const TSKISkier*>(nullptr)), -1);
}

TEST_F(Buildings, RemovingARestaurantSendsItsGuestsOut) {
    TSKIBuilding& b = Place(kBuildStall, 100, 100);
    TSKISkier& s = AddSkier(At(100, 95), {.Money = 100, .Hunger = -60});
    ASSERT_TRUE(EnterSomeSeat(b, s));
    E().RemoveBuilding(0);
    EXPECT_TRUE(test::ParkConsistent(E()));
    EXPECT_EQ(s.Building, nullptr);
    EXPECT_NE(s.State, kSkierInBuilding);  // not taken in again by the building going away
    EXPECT_TRUE(E().Buildings.empty());
}

}  // namespace
}  // namespace vallorn
