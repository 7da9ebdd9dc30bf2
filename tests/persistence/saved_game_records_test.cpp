// Saved games as people edit and share them: values beyond what the game writes, damaged
// records, and the indexes that refer to them.
#include <gtest/gtest.h>

#include <map>

#include "base/ini_file.h"
#include "engine/arrivals.h"
#include "engine/clock.h"
#include "engine/engine.h"
#include "engine/level_file.h"
#include "engine/overlays.h"
#include "persistence/saved_game.h"
#include "persistence/saved_game_blocks.h"
#include "support/engine_fixture.h"
#include "support/resort_builder.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

using test::TempDir;

std::unique_ptr<TSKIEngine> NewEngine() {
    return std::make_unique<TSKIEngine>(TSKIEngineSetup{test::BuildRoot(), 3, nullptr});
}

// The world position of a cell's corner, as the game computes it.
TSKIVector At(int i, int j, float y = 0) {
    return {-4.0f * float(i) - 0.5f, y, 4.0f * float(j) - 0.5f, 1};
}

// A saved game on the shipped mountain, written block by block.
class TGameText {
public:
    TGameText() { f.WriteString("SKIWorld", "WorldName", "Mountain"); }
    void Skier(const TSKISkierRecord& r) {
        Put("StreamSKISkiers", std::to_string(skiers++), PackSkier(r));
    }
    void Building(const TSKIBuildingBlock& b) {
        Put("SKIBuildings", std::to_string(buildings++) + "s", PackBuilding(b));
    }
    void Vehicle(const TSKIVehicleBlock& b) {
        Put("SKIVehicles", std::to_string(vehicles++) + "s", PackVehicle(b));
    }
    void Put(const char* section, const std::string& key, const TSKIBlock& b) {
        f.WriteBinary(section, key, b.data(), b.size());
    }
    bool Load(TSKIEngine& e, const TempDir& dir) {
        test::WriteText(dir / "game.ski", f.ToText());
        return LoadGameFile(e, dir / "game.ski");
    }
    TIniFile f;
    int skiers = 0, buildings = 0, vehicles = 0;
};

TSKIBuildingBlock Garage(int i, int j) {
    TSKIBuildingBlock b;
    b.Record.Type = kBuildSnowcatGarage;
    b.Record.Position = At(i, j);
    b.Record.Direction = {0, 0, 1, 0};
    return b;
}

TEST(SavedGameBounds, ValuesWithADefaultRangeAreClampedIntoIt) {
    TGameText g;
    g.f.WriteString("SKIParkData", "ParkCamPosX", "1e30");
    g.f.WriteString("SKIParkData", "ParkCamPosZ", "-3e9");
    g.f.WriteString("SKIParkData", "ParkWeather", "7");
    TSKISkierRecord s;
    s.Position = At(200, 200, 50);
    s.Cold = 1e9f, s.Hunger = -1e30f, s.Skill = 40;
    g.Skier(s);
    TSKIBuildingBlock b = Garage(210, 210);
    b.AreaI = 2147483000, b.AreaJ = -5;
    b.Record.UpgradeBonus = 1e20f;
    g.Building(b);
    TempDir dir;
    auto e = NewEngine();
    ASSERT_TRUE(g.Load(*e, dir)) << e->LoadError;
    EXPECT_FLOAT_EQ(e->Viewpoint.FocusX, kWorldMaxX);
    EXPECT_FLOAT_EQ(e->Viewpoint.FocusZ, kWorldMinZ);
    EXPECT_FLOAT_EQ(e->Park.ParkWeather, 1);
    ASSERT_EQ(e->Skiers.size(), 1u);
    EXPECT_FLOAT_EQ(e->Skiers[0]->Cold, 100);
    EXPECT_FLOAT_EQ(e->Skiers[0]->Hunger, -100);
    EXPECT_FLOAT_EQ(e->Skiers[0]->Skill, 1);
    ASSERT_EQ(e->Buildings.size(), 1u);
    EXPECT_EQ(e->Buildings[0]->AreaI, e->Buildings[0]->CellI);
    EXPECT_EQ(e->Buildings[0]->AreaJ, e->Buildings[0]->CellJ);
    EXPECT_FLOAT_EQ(e->Buildings[0]->UpgradeBonus, kUpgradeBonusMax);
    // The snowcat works round its own cell and the park runs on.
    for (int k = 0; k < 120; ++k) OnProgress(*e, 0.1);
}

TEST(SavedGameBounds, ClockAndCashStopAtTheirLimitsInsteadOfWrapping) {
    auto e = NewEngine();
    ASSERT_TRUE(LoadLevelFile(*e, "Mountain", false).ok());
    ASSERT_TRUE(test::BuildResort(*e).ok());
    e->Park.ParkCash = std::numeric_limits<int32_t>::min() + 10;
    TempDir dir;
    ASSERT_TRUE(SaveGameFile(*e, dir / "edge.ski"));
    auto l = NewEngine();
    ASSERT_TRUE(LoadGameFile(*l, dir / "edge.ski")) << l->LoadError;
    // The clock at the end of its range (no saved game holds it: its day would never end).
    l->Park.ParkTime = std::numeric_limits<int32_t>::max();
    l->Park.ParkSpeed = 4;
    for (int k = 0; k < 100000 && l->AccountingHours < 1; ++k) OnProgress(*l, 0.1);
    ASSERT_GE(l->AccountingHours, 1);
    EXPECT_EQ(l->Park.ParkTime, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(l->DayChanges, 0);
    EXPECT_EQ(l->Park.ParkCash, std::numeric_limits<int32_t>::min());
    // A clock before -1, or too near the end of its range for a day to end, is refused.
    for (const char* time : {"-2", "2147483647"}) {
        test::WriteText(
            dir / "clock.ski",
            "[SKIWorld]\nWorldName=Mountain\n[SKIParkData]\nParkTime=" + std::string(time) + "\n");
        EXPECT_FALSE(LoadGameFile(*l, dir / "clock.ski")) << time;
        EXPECT_NE(l->LoadError.find("ParkTime"), std::string::npos) << l->LoadError;
    }
}

// A resort with skiers on its lift, the services' vehicles, and every kind of record.
std::unique_ptr<TSKIEngine> BusyResort() {
    auto e = NewEngine();
    EXPECT_TRUE(LoadLevelFile(*e, "Mountain", false).ok());
    const test::TResortLayout layout = test::BuildResort(*e);
    EXPECT_TRUE(layout.ok()) << layout.error;
    TSKIBuildingRecord patrol;
    patrol.Type = kBuildSkiPatrol;
    patrol.Position = e->CellToWorld(layout.lowerI + 6, layout.lowerJ + 6, true);
    e->CreateBuilding(patrol);
    e->Park.ParkSpeed = 4;
    SpawnSkiers(*e, 80, UpdateArrivalPoint(*e), 2, 2, true);
    auto riders = [&] {
        int n = 0;
        for (const auto& s : e->Sections)
            for (const auto& c : s->Carriers) n += c->RiderCount;
        return n;
    };
    for (int k = 0; k < 30 * 600 && (k < 30 * 60 || riders() < 3); ++k) OnProgress(*e, 1.0 / 30.0);
    EXPECT_GE(riders(), 3);
    return e;
}

// Each skier's money, the identity the tests follow through a load.
std::vector<std::vector<int32_t>> RiderMoney(const TSKIEngine& e) {
    std::vector<std::vector<int32_t>> out;
    for (const auto& s : e.Sections)
        for (const auto& c : s->Carriers) {
            out.emplace_back();
            for (int k = 0; k < c->RiderCount; ++k)
                if (c->Riders[size_t(k)]) out.back().push_back(c->Riders[size_t(k)]->Money);
        }
    return out;
}

TEST(SavedGameRecords, ADamagedRecordIsLeftOutAndTheIndexesAfterItStillHold) {
    auto a = BusyResort();
    // The first skier (a rider's index follows it) and the first building are damaged.
    TIniFile f = TIniFile::FromText(SaveGameText(*a));
    f.WriteString("StreamSKISkiers", "0", "0011");
    f.WriteString("SKIBuildings", "0s", "ZZ");
    TempDir dir;
    test::WriteText(dir / "damaged.ski", f.ToText());
    auto b = NewEngine();
    ASSERT_TRUE(LoadGameFile(*b, dir / "damaged.ski")) << b->LoadError;
    EXPECT_TRUE(test::ParkConsistent(*b));  // what referred to the dropped records follows
    EXPECT_EQ(b->LoadDropped, 2);
    ASSERT_EQ(b->LoadWarnings.size(), 2u);
    EXPECT_NE(b->LoadWarnings[0].find("skier 0"), std::string::npos) << b->LoadWarnings[0];
    EXPECT_NE(b->LoadWarnings[1].find("building 0s"), std::string::npos) << b->LoadWarnings[1];
    ASSERT_EQ(b->Skiers.size(), a->Skiers.size() - 1);
    ASSERT_EQ(b->Buildings.size(), a->Buildings.size() - 1);
    for (size_t k = 0; k < b->Skiers.size(); ++k)
        EXPECT_EQ(b->Skiers[k]->Money, a->Skiers[k + 1]->Money) << k;
    // The riders are the same skiers, less the one left out.
    std::vector<std::vector<int32_t>> expected = RiderMoney(*a);
    for (auto& seats : expected) std::erase(seats, a->Skiers[0]->Money);
    EXPECT_EQ(RiderMoney(*b), expected);
    // Each vehicle of a kept building lives at that building, in the seat it had.
    std::map<std::pair<uint8_t, int32_t>, int> fleets;
    for (const auto& v : b->Vehicles) {
        ASSERT_NE(v->Home(), nullptr);
        EXPECT_EQ(v->Home(), b->Buildings[size_t(v->Building)].get());
        ++fleets[{v->Home()->Type, v->Seat}];
    }
    for (const auto& v : a->Vehicles) {
        if (v->Building == 0) continue;
        EXPECT_EQ(fleets[std::make_pair(v->Home()->Type, v->Seat)], 1);
    }
}

TEST(SavedGameRecords, RidersOfADroppedSkierCloseUpAndARescueKeepsItsPatient) {
    auto a = BusyResort();
    // A rider stands off the grid (the load lets it go); a later skier lies injured, in the
    // care of the patrol's snowmobile.
    TSKISkier* gone = nullptr;
    int riders = 0;
    for (const auto& s : a->Sections)
        for (const auto& c : s->Carriers) {
            riders += c->RiderCount;
            if (!gone && c->RiderCount > 0) gone = c->Riders[0];
        }
    ASSERT_NE(gone, nullptr);
    gone->Position.x = 1000;
    const int32_t goneIndex = a->IndexOf(gone);
    TSKISkier* patient = nullptr;
    for (size_t k = size_t(goneIndex) + 1; k < a->Skiers.size() && !patient; ++k)
        if (a->Skiers[k]->State != kSkierOnLift) patient = a->Skiers[k].get();
    ASSERT_NE(patient, nullptr);
    patient->Injured = true;
    patient->State = kSkierInjured;
    TSKIVehicle* rescue = nullptr;
    for (const auto& v : a->Vehicles)
        if (v->IsRescue()) rescue = v.get();
    ASSERT_NE(rescue, nullptr);
    rescue->TakePatient(*patient);
    TempDir dir;
    ASSERT_TRUE(SaveGameFile(*a, dir / "care.ski"));

    auto b = NewEngine();
    ASSERT_TRUE(LoadGameFile(*b, dir / "care.ski")) << b->LoadError;
    EXPECT_TRUE(test::ParkConsistent(*b));
    int seated = 0;
    for (const auto& s : b->Sections)
        for (const auto& c : s->Carriers)
            for (int k = 0; k < c->RiderCount; ++k, ++seated)
                EXPECT_NE(c->Riders[size_t(k)], nullptr) << "an empty seat among the riders";
    EXPECT_EQ(seated, riders - 1);
    EXPECT_EQ(SaveGameText(*b).find("|-1|"), std::string::npos);
    const TSKISkier* cared = nullptr;
    for (const auto& v : b->Vehicles)
        if (v->IsRescue() && v->Patient()) cared = v->Patient();
    ASSERT_NE(cared, nullptr);
    EXPECT_EQ(cared->Money, patient->Money);
    EXPECT_TRUE(cared->Injured);
    EXPECT_TRUE(cared->RescueAssigned);
}

TEST(SavedGameRecords, FilesWithOneDamagedRecordLoadTheRest) {
    // File, records left out, skiers and buildings that remain.
    const std::map<std::string, std::array<size_t, 3>> files = {
        {"skier_lift_kind", {1, 0, 0}}, {"short_block", {1, 0, 0}},
        {"garbled_block", {1, 0, 0}},   {"missing_skier_block", {1, 1, 0}},
        {"not_finite", {1, 0, 0}},      {"truncated", {1, 1, 0}},
        {"building_type", {1, 0, 0}},   {"vehicle_type", {1, 0, 0}},
    };
    const auto folder = test::SourceRoot() / "tests/persistence/damaged_saves";
    auto e = NewEngine();
    for (const auto& [name, expect] : files) {
        ASSERT_TRUE(LoadGameFile(*e, folder / (name + ".ski"))) << name << ": " << e->LoadError;
        EXPECT_EQ(size_t(e->LoadDropped), expect[0]) << name;
        EXPECT_EQ(e->LoadWarnings.size(), expect[0]) << name;
        EXPECT_EQ(e->Skiers.size(), expect[1]) << name;
        EXPECT_EQ(e->Buildings.size(), expect[2]) << name;
        EXPECT_EQ(e->Park.ParkName, "Broken");
        CloseGame(*e);
    }
    // The runner reports the count and ends normally.
    TempDir dir;
    const std::string cmd = std::string(VALLORN_SIM) + " run --ticks 1 --game " +
                            (folder / "truncated.ski").string() + " --root " +
                            test::BuildRoot().string() + " --report " + (dir / "r.json").string() +
                            " >/dev/null 2>&1";
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    const std::string report = test::ReadText(dir / "r.json");
    EXPECT_NE(report.find("\"LoadDropped\": 1"), std::string::npos) << report;
}

TEST(SavedGameViews, TreesFelledComeBackWithThePark) {
    auto a = NewEngine();
    ASSERT_TRUE(LoadLevelFile(*a, "Mountain", false).ok());
    ASSERT_TRUE(test::BuildResort(*a).ok());
    a->CountTreesFelled();
    TempDir dir;
    ASSERT_TRUE(SaveGameFile(*a, dir / "felled.ski"));
    auto b = NewEngine();
    ASSERT_TRUE(LoadGameFile(*b, dir / "felled.ski")) << b->LoadError;
    ASSERT_GT(a->Park.ParkTreesFelled, 0) << "laying the resort fells trees";
    EXPECT_EQ(b->Park.ParkTreesFelled, a->Park.ParkTreesFelled);
}

}  // namespace
}  // namespace vallorn
