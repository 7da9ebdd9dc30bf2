// Vehicles: creation with their building, the rescue dispatch by arrival time, treatment,
// the snowmobile's and helicopter's trips, snowcats grooming their area and going home, the
// day reset and the fix-ups when skiers and buildings go.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/clock.h"
#include "engine/snow.h"
#include "entities/skier_world.h"

namespace vallorn {
namespace {

class Vehicles : public test::SkierWorld {
protected:
    TSKIBuilding& Place(uint8_t type, int i, int j, bool open = true) {
        TSKIBuildingRecord r;
        r.Type = type;
        r.Open = open;
        r.Position = At(i, j);
        return *E().CreateBuilding(r);
    }
    std::vector<TSKIVehicle*> Fleet(const TSKIBuilding& home) {
        std::vector<TSKIVehicle*> out;
        for (const auto& v : E().Vehicles) {
            if (v->Home() == &home) out.push_back(v.get());
        }
        return out;
    }
    TSKISkier& AddInjured(TSKIVector p, float energy = -50) {
        TSKISkier& s = AddSkier(p, {.Energy = energy, .Injured = true});
        s.State = kSkierInjured;
        return s;
    }
    // Runs the vehicle until the condition holds; false when `seconds` pass first.
    template <typename Done>
    bool RunUntil(TSKIVehicle& v, float seconds, Done done, float dt = 0.05f) {
        for (float t = 0; t < seconds; t += dt) {
            v.Tick(dt);
            if (done()) return true;
        }
        return false;
    }
    TSKIVehicleParams& Type(uint8_t type) { return E().Params.Vehicles[type]; }
};

TEST_F(Vehicles, BuildingsComeWithTheirFleetParkedOnTheirSeats) {
    TSKIBuilding& station = Place(kBuildRescueStation, 100, 100);
    TSKIBuilding& patrol = Place(kBuildSkiPatrol, 100, 130);
    TSKIBuilding& hospital = Place(kBuildHospital, 130, 100);
    TSKIBuilding& garage = Place(kBuildSnowcatGarage, 160, 100);
    Place(kBuildStall, 160, 140);
    ASSERT_EQ(E().Vehicles.size(), 3u + 1u + 1u + 2u);

    const auto snowmobiles = Fleet(station);
    ASSERT_EQ(snowmobiles.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        const TSKIVehicle& v = *snowmobiles[size_t(k)];
        EXPECT_EQ(v.Type, kVehicleSnowmobile);
        EXPECT_EQ(v.Seat, k);
        EXPECT_EQ(v.Building, 0);
        EXPECT_EQ(v.PatientIndex, -1);
        EXPECT_LT(GroundDistance(v.Position, station.Seats[size_t(k)]), 1e-3f);
        EXPECT_NEAR(v.Position.y, 10.0f, 1e-3f);  // on the terrain
        EXPECT_FALSE(v.ModelVisible);             // until the first update
    }
    EXPECT_EQ(Fleet(patrol).size(), 1u);
    ASSERT_EQ(Fleet(hospital).size(), 1u);
    EXPECT_EQ(Fleet(hospital)[0]->Type, kVehicleHelicopter);
    const auto snowcats = Fleet(garage);
    ASSERT_EQ(snowcats.size(), 2u);
    EXPECT_EQ(snowcats[1]->Type, kVehicleSnowcat);
    EXPECT_EQ(snowcats[1]->Building, 3);
    EXPECT_FLOAT_EQ(snowcats[1]->RetargetTimer, 19.0f);
    EXPECT_GE(snowcats[1]->RefreshTimer, 0.0f);
    EXPECT_LT(snowcats[1]->RefreshTimer, 3.0f);
    // The garage works round its own cell until the player sets another centre.
    EXPECT_EQ(garage.AreaI, garage.CellI);
    EXPECT_EQ(garage.AreaJ, garage.CellJ);
}

TEST_F(Vehicles, RecordsThatDoNotFitTheirHomeAreRefused) {
    Place(kBuildHospital, 100, 100);
    Place(kBuildStall, 100, 140);
    const size_t before = E().Vehicles.size();
    TSKIVehicleRecord heli{.Type = kVehicleHelicopter, .Building = 0, .Seat = 1};
    EXPECT_EQ(E().CreateVehicle(heli), nullptr);  // only seat 0 carries a helicopter
    TSKIVehicleRecord wrongHome{.Type = kVehicleSnowmobile, .Building = 0};
    EXPECT_EQ(E().CreateVehicle(wrongHome), nullptr);
    TSKIVehicleRecord atStall{.Type = kVehicleSnowcat, .Building = 1};
    EXPECT_EQ(E().CreateVehicle(atStall), nullptr);
    TSKIVehicleRecord noHome{.Type = kVehicleHelicopter, .Building = 2};
    EXPECT_EQ(E().CreateVehicle(noHome), nullptr);
    TSKIVehicleRecord spare{.Type = 2, .Building = 0};
    EXPECT_EQ(E().CreateVehicle(spare), nullptr);
    EXPECT_EQ(E().Vehicles.size(), before);
}

TEST_F(Vehicles, ASavedRescueGoesOnOnlyForAnInjuredSkier) {
    Place(kBuildSkiPatrol, 100, 100);
    AddSkier(At(110, 100));  // healthy
    TSKISkier& hurt = AddInjured(At(112, 100));
    TSKIVehicle* healthy =
        E().CreateVehicle({.Type = kVehicleSnowmobile, .Building = 0, .PatientIndex = 0});
    ASSERT_NE(healthy, nullptr);
    EXPECT_EQ(healthy->Patient(), nullptr);
    EXPECT_EQ(healthy->PatientIndex, -1);
    TSKIVehicle* rescuer =
        E().CreateVehicle({.Type = kVehicleSnowmobile, .Building = 0, .PatientIndex = 1});
    ASSERT_NE(rescuer, nullptr);
    EXPECT_EQ(rescuer->Patient(), &hurt);
    EXPECT_EQ(rescuer->PatientIndex, 1);
    EXPECT_TRUE(hurt.RescueAssigned);
}

TEST_F(Vehicles, DispatchGoesToTheVehicleThatArrivesFirstNotTheNearest) {
    TSKIBuilding& patrol = Place(kBuildSkiPatrol, 100, 100);
    TSKIBuilding& hospital = Place(kBuildHospital, 150, 100);
    TSKIVehicle& snowmobile = *Fleet(patrol)[0];
    TSKIVehicle& heli = *Fleet(hospital)[0];
    TSKISkier& s = AddInjured(At(120, 150));
    snowmobile.Position = s.Position + TSKIVector(30, 0, 0, 0);
    heli.Position = s.Position + TSKIVector(0, 0, 40, 0);
    Type(kVehicleSnowmobile).Speed = 5;   // 6 seconds away
    Type(kVehicleHelicopter).Speed = 10;  // 4 seconds away
    EXPECT_EQ(E().FindRescueVehicle(s), &heli);
    Type(kVehicleHelicopter).Speed = 5;  // now 8 seconds away
    EXPECT_EQ(E().FindRescueVehicle(s), &snowmobile);

    // A closed home takes its vehicles out of the dispatch.
    patrol.Open = false;
    EXPECT_EQ(E().FindRescueVehicle(s), &heli);
    hospital.Open = false;
    EXPECT_EQ(E().FindRescueVehicle(s), nullptr);
}

TEST_F(Vehicles, DispatchSkipsBusyVehiclesAndTheUninjured) {
    TSKIBuilding& patrol = Place(kBuildSkiPatrol, 100, 100);
    TSKIBuilding& station = Place(kBuildRescueStation, 100, 140);
    TSKIVehicle& near = *Fleet(patrol)[0];
    TSKISkier& first = AddInjured(At(105, 100));
    TSKISkier& second = AddInjured(At(104, 100));
    TSKIVehicle* v = E().FindRescueVehicle(first);
    ASSERT_EQ(v, &near);
    v->TakePatient(first);
    EXPECT_TRUE(first.RescueAssigned);
    EXPECT_EQ(v->PatientIndex, 0);
    // The busy snowmobile still answers for its own patient, not for another one.
    EXPECT_EQ(E().FindRescueVehicle(first), &near);
    TSKIVehicle* other = E().FindRescueVehicle(second);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(other->Home(), &station);

    // When another vehicle wins, the one that held the skier lets it go.
    other->Position = first.Position;
    near.Position = first.Position + TSKIVector(50, 0, 0, 0);
    EXPECT_EQ(E().FindRescueVehicle(first), other);
    EXPECT_EQ(near.Patient(), nullptr);
    EXPECT_EQ(near.PatientIndex, -1);

    first.Injured = false;
    EXPECT_EQ(E().FindRescueVehicle(first), nullptr);
    second.Energy = -100.5f;
    EXPECT_EQ(E().FindRescueVehicle(second), nullptr);
}

TEST_F(Vehicles, TheInjuredSkiersPeriodicUpdateCallsTheRescue) {
    TSKIBuilding& patrol = Place(kBuildSkiPatrol, 100, 100);
    AddSkier(At(120, 120));
    TSKISkier& s = AddInjured(At(110, 100));
    ASSERT_TRUE(s.Periodic());
    TSKIVehicle& v = *Fleet(patrol)[0];
    EXPECT_TRUE(s.RescueAssigned);
    EXPECT_EQ(v.Patient(), &s);
    EXPECT_EQ(v.PatientIndex, 1);
}

TEST_F(Vehicles, ASnowmobileDrivesOutTreatsItsPatientAndComesBack) {
    TSKIBuilding& patrol = Place(kBuildSkiPatrol, 100, 100);
    TSKIVehicle& v = *Fleet(patrol)[0];
    const TSKIVector seat = v.Position;
    TSKISkier& s = AddInjured(At(115, 108), -80);
    v.TakePatient(s);
    const uint16_t served = patrol.CustomersServed;

    ASSERT_TRUE(RunUntil(v, 60, [&] { return GroundDistance(v.Position, s.Position) <= 3; }));
    EXPECT_TRUE(v.Moving);
    EXPECT_NEAR(v.Position.y, 10.3f, 1e-3f);
    // Treatment: energy comes back at VehServiceFactor per second until 100.
    const float speedOfCure = Type(kVehicleSnowmobile).ServiceFactor;
    const float reached = s.Energy;
    v.Tick(0.1f);
    v.Tick(0.1f);
    EXPECT_NEAR(s.Energy, reached + 0.2f * speedOfCure, 1e-3f);
    EXPECT_TRUE(s.Injured);
    ASSERT_TRUE(RunUntil(v, 30, [&] { return v.Patient() == nullptr; }));
    EXPECT_FALSE(s.Injured);
    EXPECT_FALSE(s.RescueAssigned);
    EXPECT_EQ(s.State, kSkierIdle);
    EXPECT_FLOAT_EQ(s.Energy, 100);
    EXPECT_EQ(v.PatientIndex, -1);
    EXPECT_EQ(patrol.CustomersServed, served + 1);

    ASSERT_TRUE(RunUntil(v, 60, [&] { return !v.Moving; }));
    EXPECT_LE(GroundDistance(v.Position, seat), 3.0f);
}

TEST_F(Vehicles, AnInjuredSkierAskingEveryTickIsReachedAndHealedBeforeDying) {
    TSKIBuilding& station = Place(kBuildRescueStation, 100, 100);
    TSKISkier& s = AddInjured(At(140, 125), 0);
    E().Params.Game.DieFactor = 1;  // dies after 101 ticks unless rescued
    const float tick = 1.0f, frame = 0.05f;
    int ticks = 0;
    while (s.Injured && ticks < 100) {
        ASSERT_TRUE(s.Periodic()) << "died after " << ticks << " ticks";
        ++ticks;
        for (float t = 0; t < tick; t += frame) {
            for (size_t k = E().Vehicles.size(); k-- > 0;) E().Vehicles[k]->Tick(frame);
        }
    }
    EXPECT_FALSE(s.Injured);
    EXPECT_EQ(s.State, kSkierIdle);
    EXPECT_EQ(station.CustomersServed, 1);
    // Only one of the three snowmobiles went out.
    int moved = 0;
    for (const TSKIVehicle* v : Fleet(station)) {
        moved += GroundDistance(v->Position, station.Seats[size_t(v->Seat)]) > 3.0f;
    }
    EXPECT_EQ(moved, 1);
}

TEST_F(Vehicles, ASnowmobileSteersAroundATree) {
    TSKIBuilding& patrol = Place(kBuildSkiPatrol, 100, 100);
    TSKIVehicle& v = *Fleet(patrol)[0];
    TSKISkier& s = AddInjured(At(100, 130));
    v.Position = At(100, 110);
    v.Position.x -= 1;  // a little to one side of the tree's line
    TerrainCell& c = E().Cell(100, 116);
    c.Tree = true;
    c.TreePosition = At(100, 116);
    v.TakePatient(s);
    float nearest = 1e9f;
    RunUntil(v, 30, [&] {
        nearest = std::min(nearest, GroundDistance(v.Position, c.TreePosition));
        return GroundDistance(v.Position, s.Position) <= 3;
    });
    EXPECT_LE(GroundDistance(v.Position, s.Position), 3.0f);
    EXPECT_GT(nearest, 1.0f);  // pushed off its straight line (which passes at 1 unit)
}

TEST_F(Vehicles, ASnowmobileReachesAPatientInAWoodedLiftLine) {
    TSKIBuilding& patrol = Place(kBuildSkiPatrol, 100, 100);
    TSKIVehicle& v = *Fleet(patrol)[0];
    // Where a patrol on the mountain once circled its patient for ever: cells round the
    // patient's (offsets), under the lift or not, with trees at their places (relative to the
    // patient).
    struct Spot {
        int di, dj;
        bool underLift, tree;
        float tx, tz;
    };
    const Spot spots[] = {
        {-2, -2, true, true, 6.4f, -9.6f},    {-2, -1, true, true, 6.2f, -3.9f},
        {-2, 0, true, false, 6.2f, -1.5f},    {-2, 2, false, true, 7.5f, 8.3f},
        {-1, -2, true, true, 2.9f, -8.9f},    {-1, -1, true, true, 2.6f, -4.6f},
        {-1, 0, true, true, 2.3f, 0.0f},      {-1, 1, true, false, 1.7f, 3.6f},
        {0, -3, false, true, -0.5f, -12.5f},  {0, -2, false, true, -2.0f, -8.8f},
        {0, -1, false, true, -1.0f, -5.2f},   {0, 0, true, true, -2.2f, -0.4f},
        {0, 1, true, true, -1.5f, 3.5f},      {1, -3, false, true, -6.1f, -11.7f},
        {1, -1, false, true, -4.5f, -3.9f},   {1, 0, true, true, -4.6f, -0.2f},
        {1, 1, true, false, -4.5f, 3.2f},     {1, 2, true, true, -6.4f, 8.0f},
        {2, -3, false, true, -10.4f, -12.0f}, {2, -2, false, true, -8.5f, -9.3f},
        {2, 0, false, true, -10.2f, 0.3f},    {2, 1, true, false, -10.0f, 2.9f},
        {2, 2, true, true, -10.1f, 6.9f},
    };
    const TSKIVector patient = At(100, 130) + TSKIVector(0.4f, 0, 1.6f, 0);
    for (const Spot& p : spots) {
        TerrainCell& c = E().Cell(100 + p.di, 130 + p.dj);
        if (p.underLift) c.Kind = kCellUnderLift;
        c.Tree = p.tree;
        c.TreePosition = patient + TSKIVector(p.tx, 0, p.tz, 0);
    }
    TSKISkier& s = AddInjured(patient);
    v.Position = patient + TSKIVector(-2.9f, 0, -4.5f, 0);
    v.TakePatient(s);
    // Frames of 1/30 s at four times the speed, as the game runs them.
    EXPECT_TRUE(RunUntil(
        v, 60, [&] { return !s.Injured; }, 4.0f / 30.0f));
}

TEST_F(Vehicles, AHelicopterFliesLandsBesideItsPatientAndReturnsToItsPad) {
    TSKIBuilding& hospital = Place(kBuildHospital, 100, 100);
    TSKIVehicle& heli = *Fleet(hospital)[0];
    const TSKIVector pad = heli.Position;
    TSKISkier& s = AddInjured(At(150, 160), -100);
    Type(kVehicleHelicopter).ServiceFactor = 10;  // 20 seconds of treatment
    heli.TakePatient(s);

    heli.Tick(0.05f);
    EXPECT_TRUE(heli.Moving);
    EXPECT_NEAR(heli.Position.y, 10.0f + 30.316f, 1e-3f);  // cruising height
    ASSERT_TRUE(
        RunUntil(heli, 120, [&] { return GroundDistance(heli.Position, s.Position) <= 32; }));
    EXPECT_FLOAT_EQ(heli.AltitudeOffset, 0);

    // Landing: the offset rises by 4 a second and stops at 27 after 6.75 seconds.
    for (int k = 0; k < 67; ++k) heli.Tick(0.1f);
    EXPECT_NEAR(heli.AltitudeOffset, 26.8f, 1e-3f);
    heli.Tick(0.1f);
    EXPECT_FLOAT_EQ(heli.AltitudeOffset, 27.0f);
    EXPECT_NEAR(heli.Position.y, 10.0f + 3.316f, 1e-3f);
    EXPECT_GT(s.Energy, -100.0f);

    ASSERT_TRUE(RunUntil(heli, 30, [&] { return !s.Injured; }));
    ASSERT_TRUE(RunUntil(heli, 120, [&] { return !heli.Moving; }));
    EXPECT_EQ(heli.Position, pad);
    EXPECT_FLOAT_EQ(heli.AltitudeOffset, 0);
}

class Snowcats : public Vehicles {
protected:
    void SetUp() override {
        Vehicles::SetUp();
        garage = &Place(kBuildSnowcatGarage, 100, 100);
        cats = Fleet(*garage);
        ASSERT_EQ(cats.size(), 2u);
        // Only the first snowcat works in these tests.
        E().Vehicles.erase(E().Vehicles.end() - 1);
        cat = cats[0];
        seat = cat->Position;
    }
    void MarkSlope(int i0, int i1, int j0, int j1) {
        for (int i = i0; i <= i1; ++i)
            for (int j = j0; j <= j1; ++j) E().Cell(i, j).Kind = kCellSlope;
    }
    bool AllGroomed(int i0, int i1, int j0, int j1) {
        for (int i = i0; i <= i1; ++i)
            for (int j = j0; j <= j1; ++j)
                if (!E().Cell(i, j).Groomed) return false;
        return true;
    }
    TSKIBuilding* garage = nullptr;
    std::vector<TSKIVehicle*> cats;
    TSKIVehicle* cat = nullptr;
    TSKIVector seat;
};

TEST_F(Snowcats, GroomTheSlopesOfTheirAreaThenParkAtHome) {
    MarkSlope(108, 110, 96, 104);
    E().Cell(109, 100).NaturalSnow = true;
    ShowLayer(E().Display(), kDisplaySnow, true);
    RebuildSnowOverlay(E());
    const uint32_t shown = E().Overlays.Revisions[size_t(TSKIOverlay::SnowOverlay)];
    const TSKIVector centre = E().CellToWorld(garage->AreaI, garage->AreaJ, false);
    float farthest = 0;
    ASSERT_TRUE(RunUntil(
        *cat, 900,
        [&] {
            farthest = std::max(farthest, GroundDistance(cat->Position, centre));
            return AllGroomed(108, 110, 96, 104);
        },
        0.1f));
    EXPECT_LT(farthest, 21 * 4.0f);  // stays round its area of operations
    EXPECT_FALSE(E().Cell(114, 100).Groomed);
    // The view is told of the grooming as it goes.
    EXPECT_GT(E().Overlays.Revisions[size_t(TSKIOverlay::SnowOverlay)], shown);

    ASSERT_TRUE(RunUntil(
        *cat, 300, [&] { return !cat->Moving; }, 0.1f));
    EXPECT_TRUE(cat->Returning);
    EXPECT_LT(GroundDistance(cat->Position, seat), 3.0f);
    EXPECT_NEAR(cat->Position.y, 10.0f, 1e-3f);
}

TEST_F(Snowcats, WithNothingToGroomTheyReturnAndStayHome) {
    cat->Position = At(110, 106);
    cat->RetargetTimer = 19.9f;
    ASSERT_TRUE(RunUntil(
        *cat, 300, [&] { return !cat->Moving; }, 0.1f));
    EXPECT_TRUE(cat->Returning);
    EXPECT_LT(GroundDistance(cat->Position, seat), 3.0f);
    const TSKIVector parked = cat->Position;
    for (int k = 0; k < 300; ++k) cat->Tick(0.1f);  // across the next target choice
    EXPECT_EQ(cat->Position, parked);
}

TEST_F(Snowcats, ReachATargetCloseBesideThemInsteadOfCirclingIt) {
    // Turning fully, a snowcat drives a circle of about 5.7 units; a parking place inside
    // that circle must still be reached.
    garage->Open = false;
    const TSKIVector headings[] = {{0, 0, 1, 0}, {1, 0, 0, 0}, {0, 0, -1, 0}, {-1, 0, 0, 0}};
    for (float side : {3.5f, 5.0f, 5.7f, 8.0f, 12.0f}) {
        for (const TSKIVector& heading : headings) {
            cat->Position = seat + TSKIVector(side, 0, 0, 0);
            cat->Direction = heading;
            cat->Target = seat;
            cat->Returning = true;
            cat->RetargetTimer = 0;
            EXPECT_TRUE(RunUntil(*cat, 120, [&] { return !cat->Moving; }))
                << "from " << side << " units, heading " << heading.x << "," << heading.z;
        }
    }
}

TEST_F(Snowcats, TargetChoiceTakesTheFirstUngroomedSlopeCellOfTheAreaOnlyWhileOpen) {
    MarkSlope(115, 116, 105, 105);
    E().Cell(115, 105).Groomed = true;
    E().Cell(125, 100).Kind = kCellSlopeCentre;  // outside the 20-cell square
    cat->ChooseSnowcatTarget();
    EXPECT_FALSE(cat->Returning);
    EXPECT_EQ(cat->Target.x, E().CellToWorld(116, 105, false).x);
    EXPECT_EQ(cat->Target.z, E().CellToWorld(116, 105, false).z);

    garage->AreaI = 125;  // the player moves the area
    cat->ChooseSnowcatTarget();
    EXPECT_EQ(cat->Target.x, E().CellToWorld(116, 105, false).x);  // lowest row first

    garage->Open = false;
    cat->ChooseSnowcatTarget();
    EXPECT_TRUE(cat->Returning);
    EXPECT_EQ(cat->Target, cat->ParkingPlace());
}

TEST_F(Vehicles, TheDayChangeSendsEveryoneHome) {
    TSKIBuilding& patrol = Place(kBuildSkiPatrol, 100, 100);
    TSKIBuilding& garage = Place(kBuildSnowcatGarage, 130, 100);
    TSKIVehicle& v = *Fleet(patrol)[0];
    TSKIVehicle& cat = *Fleet(garage)[0];
    TSKISkier& s = AddInjured(At(110, 100));
    v.TakePatient(s);
    cat.Target = At(140, 100);
    E().ResetVehiclesForDay();
    EXPECT_EQ(v.Patient(), nullptr);
    EXPECT_EQ(v.PatientIndex, -1);
    EXPECT_FALSE(s.RescueAssigned);
    EXPECT_TRUE(cat.Returning);
    EXPECT_EQ(cat.Target, cat.ParkingPlace());
}

TEST_F(Vehicles, ADeadOrRemovedPatientIsForgottenAndIndicesFollow) {
    TSKIBuilding& station = Place(kBuildRescueStation, 100, 100);
    const auto fleet = Fleet(station);
    AddSkier(At(120, 100));
    TSKISkier& dying = AddInjured(At(110, 100), -99.5f);
    TSKISkier& later = AddInjured(At(112, 100));
    fleet[0]->TakePatient(dying);
    fleet[1]->TakePatient(later);
    ASSERT_EQ(fleet[1]->PatientIndex, 2);

    E().Params.Game.DieFactor = 1;
    EXPECT_FALSE(dying.Periodic());  // dies
    EXPECT_EQ(fleet[0]->Patient(), nullptr);
    EXPECT_EQ(fleet[0]->PatientIndex, -1);
    EXPECT_EQ(fleet[1]->Patient(), &later);  // the other rescue goes on

    E().VehiclesSkierRemoved(1);
    E().Skiers.erase(E().Skiers.begin() + 1);
    EXPECT_TRUE(test::ParkConsistent(E()));
    EXPECT_EQ(fleet[1]->PatientIndex, 1);
    EXPECT_EQ(E().IndexOf(fleet[1]->Patient()), 1);
    E().VehiclesSkierRemoved(1);
    E().Skiers.erase(E().Skiers.begin() + 1);
    EXPECT_EQ(fleet[1]->Patient(), nullptr);
    EXPECT_EQ(fleet[1]->PatientIndex, -1);
}

TEST_F(Vehicles, ManyDeathsInOneTickKeepTheOthersInOrderAndTheRescuesOnTheirPatients) {
    TSKIBuilding& station = Place(kBuildRescueStation, 100, 100);
    const auto fleet = Fleet(station);
    E().Params.Game.DieFactor = 1;
    // Every third skier dies in the pass; the last and one in the middle are being rescued.
    for (int k = 0; k < 300; ++k) {
        if (k % 3 == 1)
            AddInjured(At(110, 100), -99.5f);
        else
            AddInjured(At(110 + k % 7, 100), 50.0f);
    }
    TSKISkier* lastPatient = E().Skiers.back().get();
    TSKISkier* middlePatient = E().Skiers[150].get();
    fleet[0]->TakePatient(*lastPatient);
    fleet[1]->TakePatient(*middlePatient);
    std::vector<const TSKISkier*> survivors;
    for (size_t k = 0; k < E().Skiers.size(); ++k)
        if (k % 3 != 1) survivors.push_back(E().Skiers[k].get());

    for (size_t k = E().Skiers.size(); k-- > 0;)
        if (!E().Skiers[k]->Periodic()) SkierDeparts(E(), k);
    CompactSkiers(E());
    ASSERT_EQ(E().Skiers.size(), survivors.size());
    for (size_t k = 0; k < survivors.size(); ++k) EXPECT_EQ(E().Skiers[k].get(), survivors[k]);
    EXPECT_EQ(fleet[0]->Patient(), lastPatient);
    EXPECT_EQ(fleet[1]->Patient(), middlePatient);
    EXPECT_EQ(fleet[0]->PatientIndex, 199);
    EXPECT_EQ(fleet[1]->PatientIndex, 100);
    EXPECT_TRUE(test::ParkConsistent(E()));
}

TEST_F(Vehicles, APatientRemovedWithoutTheFixUpIsLetGoAtTheNextTick) {
    TSKIBuilding& patrol = Place(kBuildSkiPatrol, 100, 100);
    TSKIVehicle& v = *Fleet(patrol)[0];
    AddSkier(At(120, 100));
    TSKISkier& s = AddInjured(At(110, 100));
    v.TakePatient(s);
    E().Skiers.erase(E().Skiers.begin());  // the patient moves to index 0; the vehicle says 1
    EXPECT_FALSE(v.PatientPresent());
    v.Tick(0.05f);
    EXPECT_EQ(v.Patient(), nullptr);
    EXPECT_EQ(v.PatientIndex, -1);
    EXPECT_TRUE(s.RescueAssigned);  // not touched: the skier asks again at its next tick
    EXPECT_EQ(E().FindRescueVehicle(s), &v);
}

TEST_F(Vehicles, RemovingABuildingDestroysItsFleetAndFixesTheOthers) {
    Place(kBuildSkiPatrol, 100, 100);
    TSKIBuilding& station = Place(kBuildRescueStation, 100, 130);
    TSKIBuilding& hospital = Place(kBuildHospital, 140, 100);
    TSKISkier& s = AddInjured(At(120, 130));
    Fleet(station)[2]->TakePatient(s);
    E().RemoveBuilding(1);
    EXPECT_TRUE(test::ParkConsistent(E()));
    EXPECT_EQ(E().Vehicles.size(), 2u);
    EXPECT_FALSE(s.RescueAssigned);
    ASSERT_EQ(Fleet(hospital).size(), 1u);
    EXPECT_EQ(Fleet(hospital)[0]->Building, 1);
    hospital.Open = false;
    EXPECT_EQ(E().FindRescueVehicle(s)->Building, 0);  // the ski patrol's
}

TEST_F(Vehicles, NothingMovesWhileTheEngineIsBusy) {
    TSKIBuilding& patrol = Place(kBuildSkiPatrol, 100, 100);
    TSKIVehicle& v = *Fleet(patrol)[0];
    TSKISkier& s = AddInjured(At(120, 100));
    v.TakePatient(s);
    const TSKIVector before = v.Position;
    E().Busy = true;
    v.Tick(0.1f);
    EXPECT_EQ(v.Position, before);
    EXPECT_FALSE(v.ModelVisible);
    E().Busy = false;
    v.Tick(0.1f);
    EXPECT_NE(v.Position, before);
}

}  // namespace
}  // namespace vallorn
