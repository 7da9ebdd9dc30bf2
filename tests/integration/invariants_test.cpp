// The invariant checker on a running park: silent while the park is sound, and each kind of
// damage done on purpose is named with the entity it concerns.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "engine/arrivals.h"
#include "engine/clock.h"
#include "engine/economy.h"
#include "engine/invariants.h"
#include "park/starter_park.h"
#include "persistence/saved_game.h"
#include "support/engine_fixture.h"

namespace vallorn {
namespace {

class ParkInvariants : public ::testing::Test {
protected:
    // The starter park with 300 skiers, run until they ride, queue and sit in buildings.
    static void SetUpTestSuite() {
        e = new TSKIEngine({test::BuildRoot(), 4, nullptr});
        ASSERT_TRUE(LoadGameFile(*e, test::BuildRoot() / "worlds" / datagen::kStarterFile));
        e->Park.ParkSpeed = 4;
        SpawnSkiers(*e, 300, UpdateArrivalPoint(*e), 10, 10, true);
        while (e->TicksRun < 20) OnProgress(*e, 1.0 / 30);
    }
    static void TearDownTestSuite() {
        delete e;
        e = nullptr;
    }
    void SetUp() override { ASSERT_TRUE(test::ParkConsistent(*e)); }
    void TearDown() override {
        EXPECT_TRUE(test::ParkConsistent(*e)) << "the damage was not undone";
    }

    static ::testing::AssertionResult Names(const std::string& line) {
        const std::vector<std::string> problems = CheckInvariants(*e);
        if (std::find(problems.begin(), problems.end(), line) != problems.end())
            return ::testing::AssertionSuccess();
        ::testing::AssertionResult r = ::testing::AssertionFailure();
        r << "'" << line << "' not among:";
        for (const std::string& p : problems) r << "\n  " << p;
        return r;
    }
    // The first lift with a carrier that seats riders, and that carrier.
    static std::pair<size_t, size_t> LoadedCarrier() {
        for (size_t k = 0; k < e->Sections.size(); ++k)
            for (size_t c = 0; c < e->Sections[k]->Carriers.size(); ++c)
                if (e->Sections[k]->Carriers[c]->RiderCount > 0) return {k, c};
        ADD_FAILURE() << "nobody rides";
        return {0, 0};
    }
    static size_t SkierIn(uint8_t state) {
        for (size_t k = 0; k < e->Skiers.size(); ++k)
            if (e->Skiers[k]->State == state) return k;
        ADD_FAILURE() << "no skier in state " << int(state);
        return 0;
    }
    static TSKIEngine* e;
};
TSKIEngine* ParkInvariants::e = nullptr;

TEST_F(ParkInvariants, ReferencesToMissingEntitiesAreNamed) {
    const std::string nSections = std::to_string(e->Sections.size());
    TSKISkier& skier = *e->Skiers[7];
    const TSKINavLink target = skier.CurrentTarget;
    skier.CurrentTarget = {int32_t(e->Sections.size()), 0};
    EXPECT_TRUE(Names("skier 7: target section " + nSections + " does not exist"));
    skier.CurrentTarget = target;

    // A skier who is not in the park, standing in a queue and sitting in a building.
    TSKISkier stranger(*e, TSKISkierRecord{});
    const size_t waiting = SkierIn(kSkierWaiting);
    TSKISection& lift = *e->Skiers[waiting]->CurrentSection;
    const size_t place = size_t(e->Skiers[waiting]->QueueIndex);
    const std::string liftName = "lift " + std::to_string(e->IndexOf(&lift));
    ASSERT_EQ(lift.QueueSlots[place], e->Skiers[waiting].get());
    lift.QueueSlots[place] = &stranger;
    EXPECT_TRUE(
        Names(liftName + ": queue place " + std::to_string(place) + " holds a skier who is gone"));
    lift.QueueSlots[place] = e->Skiers[waiting].get();

    // Vehicles keep their home and patient by index.
    TSKIVehicle& v = *e->Vehicles[0];
    const int32_t home = v.Building;
    const int32_t patient = v.PatientIndex;
    v.Building = int32_t(e->Buildings.size());
    v.PatientIndex = int32_t(SkierIn(kSkierOnLift));  // nobody marked a rider as being rescued
    EXPECT_TRUE(Names("vehicle 0: home building " + std::to_string(e->Buildings.size()) +
                      " does not exist"));
    EXPECT_TRUE(Names("vehicle 0: patient " + std::to_string(v.PatientIndex) +
                      " is not marked as being rescued"));
    v.Building = home;
    v.PatientIndex = patient;

    // A cell that still names a building that is gone.
    TerrainCell& c = e->Cell(3, 4);
    ASSERT_EQ(c.Building, -1);
    c.Building = int32_t(e->Buildings.size());
    EXPECT_TRUE(Names("cell (3, 4): building is gone"));
    c.Building = -1;
}

TEST_F(ParkInvariants, SeatAndQueueCountsThatDisagreeWithWhoSitsAndQueuesAreNamed) {
    const auto [k, c] = LoadedCarrier();
    TSKIGondole& carrier = *e->Sections[k]->Carriers[c];
    const std::string seated = std::to_string(carrier.RiderCount);
    carrier.RiderCount += 1;
    EXPECT_TRUE(Names("lift " + std::to_string(k) + ": carrier " + std::to_string(c) + " counts " +
                      std::to_string(carrier.RiderCount) + " riders but seats " + seated));
    carrier.RiderCount -= 1;

    const size_t guest = SkierIn(kSkierInBuilding);
    TSKIBuilding& b = *e->Skiers[guest]->Building;
    const std::string name = "building " + std::to_string(e->IndexOf(&b));
    b.Occupants += 2;
    EXPECT_TRUE(Names(name + ": counts " + std::to_string(b.Occupants) + " visitors but seats " +
                      std::to_string(b.Occupants - 2)));
    b.Occupants -= 2;

    // A waiting skier who holds a second place in the line (taken from whoever stood there,
    // so that a full line works too).
    const size_t waiting = SkierIn(kSkierWaiting);
    TSKISection& lift = *e->Skiers[waiting]->CurrentSection;
    const auto other = std::find_if(lift.QueueSlots.begin(), lift.QueueSlots.end(),
                                    [&](TSKISkier* s) { return s != e->Skiers[waiting].get(); });
    ASSERT_NE(other, lift.QueueSlots.end());
    TSKISkier* const stood = *other;
    *other = e->Skiers[waiting].get();
    EXPECT_TRUE(Names("skier " + std::to_string(waiting) + ": stands in 2 queue places"));
    *other = stood;
}

TEST_F(ParkInvariants, CellsMarkedForALiftOrBuildingThatIsNotThereAreNamed) {
    TerrainCell& c = e->Cell(3, 4);
    const TerrainCell before = c;
    ASSERT_EQ(c.Kind, kCellFree);
    c.Kind = kCellLiftUpper;
    EXPECT_TRUE(Names("cell (3, 4): lift station of no lift"));
    c.Kind = kCellSlope;
    c.Section = e->IndexOf(e->Skiers[SkierIn(kSkierOnLift)]->CurrentSection);  // a lift
    EXPECT_TRUE(Names("cell (3, 4): slope cell of no slope"));
    c.Kind = kCellBuilding;
    c.Section = -1;
    EXPECT_TRUE(Names("cell (3, 4): building cell of no building"));
    c = before;
}

TEST_F(ParkInvariants, ALoanInterestThatDoesNotFollowTheLoanIsNamed) {
    ASSERT_TRUE(TakeLoan(*e, 1000));
    const std::string loan = std::to_string(e->Park.ParkLoan);
    e->Park.ParkLoanInterest += 1;
    EXPECT_TRUE(Names("park: daily interest " + std::to_string(e->Park.ParkLoanInterest) +
                      " does not match loan " + loan + " (" +
                      std::to_string(e->Park.ParkLoanInterest - 1) + ")"));
    e->Park.ParkLoanInterest -= 1;
    ASSERT_TRUE(RepayLoan(*e, 1000));
}

}  // namespace
}  // namespace vallorn
