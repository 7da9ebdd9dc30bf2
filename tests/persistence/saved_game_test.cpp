// Saved games on the shipped mountain: a running resort saved, loaded and saved again.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <sstream>

#include "base/ini_file.h"
#include "engine/arrivals.h"
#include "engine/clock.h"
#include "engine/level_file.h"
#include "persistence/saved_game.h"
#include "persistence/saved_game_blocks.h"
#include "persistence/state_hash.h"
#include "support/engine_fixture.h"
#include "support/resort_builder.h"
#include "support/test_level.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

using test::TempDir;

std::unique_ptr<TSKIEngine> NewEngine(uint64_t seed = 3) {
    return std::make_unique<TSKIEngine>(TSKIEngineSetup{test::BuildRoot(), seed, nullptr});
}

int Riders(const TSKIEngine& e) {
    int n = 0;
    for (const auto& s : e.Sections)
        for (const auto& c : s->Carriers)
            for (int k = 0; k < c->RiderCount; ++k) n += c->Riders[size_t(k)] != nullptr;
    return n;
}

// A resort that has run long enough for skiers to queue, ride and ski.
std::unique_ptr<TSKIEngine> RunningResort(test::TResortLayout* layoutOut = nullptr) {
    auto e = NewEngine();
    EXPECT_TRUE(LoadLevelFile(*e, "Mountain", false).ok());
    const test::TResortLayout layout = test::BuildResort(*e);
    EXPECT_TRUE(layout.ok()) << layout.error;
    e->Park.ParkSpeed = 4;
    UpdateArrivalPoint(*e);
    SpawnSkiers(*e, 80, e->ArrivalPoint, 2, 2, true);
    // A minute and a half of play, then on until skiers sit on the lift.
    for (int k = 0; k < 30 * 600 && (k < 30 * 90 || Riders(*e) < 2); ++k)
        OnProgress(*e, 1.0 / 30.0);
    e->Park.ParkName = "Hill \"North\" side";
    e->Park.ParkLoan = 2000;
    e->Sections.back()->Name = "Long|run";
    e->Park.ParkLeftBecauseDied = 3;
    e->Viewpoint.FocusX = -812.5f;
    e->Viewpoint.FocusZ = 640.25f;
    TSKIObjective o;
    o.Type = 5;
    o.Name = "Slopes";
    o.Completed = true;
    o.Announced = true;
    o.UnlocksMissions[2] = "Second";
    o.RewardValue = -4;
    e->Objectives.push_back(o);
    if (layoutOut) *layoutOut = layout;
    return e;
}

void ExpectClean(const TSKIEngine& e) {
    EXPECT_TRUE(e.Skiers.empty());
    EXPECT_TRUE(e.Sections.empty());
    EXPECT_TRUE(e.Buildings.empty());
    EXPECT_TRUE(e.Vehicles.empty());
    EXPECT_TRUE(e.Objectives.empty());
    EXPECT_FALSE(e.HasGrid());
    EXPECT_TRUE(e.Level.LevelName.empty());
    EXPECT_FALSE(e.Busy);
}

TEST(SavedGame, SaveLoadSaveKeepsTheParkAndItsHash) {
    auto a = RunningResort();
    const int riders = Riders(*a);
    ASSERT_GT(riders, 0) << "the resort should have skiers on the lift when saved";
    TempDir dir;
    ASSERT_TRUE(SaveGameFile(*a, dir / "a.ski"));

    auto b = NewEngine(11);
    ASSERT_TRUE(LoadGameFile(*b, dir / "a.ski")) << b->LoadError;
    EXPECT_TRUE(test::ParkConsistent(*b));
    EXPECT_FALSE(b->Busy);
    EXPECT_EQ(b->Skiers.size(), a->Skiers.size());
    EXPECT_EQ(b->Sections.size(), a->Sections.size());
    EXPECT_EQ(b->Buildings.size(), a->Buildings.size());
    EXPECT_EQ(Riders(*b), riders);
    const int onLift = int(std::count_if(b->Skiers.begin(), b->Skiers.end(),
                                         [](const auto& s) { return s->State == kSkierOnLift; }));
    EXPECT_EQ(onLift, riders);
    EXPECT_EQ(b->Park.ParkName, a->Park.ParkName);
    EXPECT_EQ(b->Sections.back()->Name, "Long/run");
    EXPECT_EQ(b->Park.ParkLoanInterest, 2000 * b->Profile.LoanInterest / 100);
    EXPECT_FLOAT_EQ(b->Viewpoint.FocusX, -812.5f);
    EXPECT_EQ(b->Objectives, a->Objectives);
    EXPECT_EQ(b->StartOfDay.ParkTime, -1);

    // Everything but the seated customers of the buildings comes back as it was saved:
    // customers restart outside, so the restored buildings count no occupants.
    const TIniFile fa(dir / "a.ski");
    const TIniFile fb = TIniFile::FromText(SaveGameText(*b));
    for (const std::string& section : fa.Sections()) {
        ASSERT_EQ(fa.SectionKeys(section), fb.SectionKeys(section)) << section;
        for (const std::string& key : fa.SectionKeys(section)) {
            if (section != "SKIBuildings") {
                EXPECT_EQ(fa.ReadString(section, key), fb.ReadString(section, key))
                    << section << "/" << key;
                continue;
            }
            std::vector<uint8_t> ba, bb;
            ASSERT_TRUE(fa.ReadBinary(section, key, ba) && fb.ReadBinary(section, key, bb));
            ba[2] = ba[3] = bb[2] = bb[3] = 0;
            EXPECT_EQ(ba, bb) << key;
        }
    }

    // From there on the round trip is exact, text and hash.
    ASSERT_TRUE(SaveGameFile(*b, dir / "b.ski"));
    auto c = NewEngine(12);
    ASSERT_TRUE(LoadGameFile(*c, dir / "b.ski")) << c->LoadError;
    EXPECT_EQ(SaveGameText(*c), SaveGameText(*b));
    EXPECT_EQ(StateHash(*c), StateHash(*b));
    // It differs from the running park exactly when customers sat in its buildings.
    const bool seated = std::any_of(a->Buildings.begin(), a->Buildings.end(),
                                    [](const auto& b) { return b->Occupants > 0; });
    EXPECT_EQ(StateHash(*c) != StateHash(*a), seated);

    // The loaded park runs on.
    for (int k = 0; k < 300; ++k) OnProgress(*c, 1.0 / 30.0);
    EXPECT_FALSE(c->Skiers.empty());

    // Closed and loaded again, the used engine holds the saved park and starts its tick clock
    // afresh (no tick is owed from the game before); history and hour go on as saved.
    OnProgress(*c, 0.05);
    CloseGame(*c);
    ASSERT_TRUE(LoadGameFile(*c, dir / "b.ski")) << c->LoadError;
    EXPECT_EQ(c->TickAccumulator, 0.0f);
    EXPECT_EQ(c->HistoryAccumulator, b->HistoryAccumulator);
    EXPECT_EQ(c->HourAccumulator, b->HourAccumulator);
    EXPECT_EQ(SaveGameText(*c), SaveGameText(*b));
}

// A park saved in the middle of an accounting hour goes on after a load as if it had never
// stopped: the unfinished hour's running costs are charged and the history keeps its pace.
TEST(SavedGame, TheAccountingHourAndTheHistoryGoOnAfterALoad) {
    auto resort = [] {
        auto e = NewEngine();
        EXPECT_TRUE(LoadLevelFile(*e, "Mountain", false).ok());
        EXPECT_TRUE(test::BuildResort(*e).ok());
        e->Park.ParkSpawnSpeed = std::numeric_limits<int32_t>::max();  // no skiers: exact cash
        return e;
    };
    constexpr int kTicks = 200, kSaved = 100;  // saved 39 ticks into the second hour
    auto whole = resort(), first = resort();
    for (int k = 0; k < kTicks; ++k) PeriodicTick(*whole);
    for (int k = 0; k < kSaved; ++k) PeriodicTick(*first);
    TempDir dir;
    ASSERT_TRUE(SaveGameFile(*first, dir / "half.ski"));
    auto second = NewEngine(9);
    ASSERT_TRUE(LoadGameFile(*second, dir / "half.ski")) << second->LoadError;
    for (int k = kSaved; k < kTicks; ++k) PeriodicTick(*second);

    ASSERT_EQ(whole->AccountingHours, 3);
    EXPECT_EQ(first->AccountingHours + second->AccountingHours, whole->AccountingHours);
    EXPECT_EQ(first->HistorySamples + second->HistorySamples, whole->HistorySamples);
    ASSERT_LT(whole->Park.ParkHourProfit, 0);
    EXPECT_EQ(second->Park.ParkHourProfit, whole->Park.ParkHourProfit);
    EXPECT_EQ(second->Park.ParkCash, whole->Park.ParkCash);
    EXPECT_EQ(second->HourAccumulator, whole->HourAccumulator);
    EXPECT_EQ(second->HistoryAccumulator, whole->HistoryAccumulator);

    // A saved game from before the two clocks were kept starts them at 0.
    TIniFile old(dir / "half.ski");
    old.DeleteKey("SKIParkData", "ParkHourClock");
    old.WriteString("SKIParkData", "ParkHistoryClock", "-5");
    ASSERT_TRUE(old.Save());
    ASSERT_TRUE(LoadGameFile(*second, dir / "half.ski")) << second->LoadError;
    EXPECT_EQ(second->HourAccumulator, 0.0f);
    EXPECT_EQ(second->HistoryAccumulator, 0.0f);
}

TEST(SavedGame, DecimalPointsAndCommasLoadAlike) {
    auto a = RunningResort();
    TempDir dir;
    const std::string text = SaveGameText(*a);
    std::string dotted = text;
    std::replace(dotted.begin(), dotted.end(), ',', '.');
    ASSERT_NE(dotted, text);
    test::WriteText(dir / "comma.ski", text);
    test::WriteText(dir / "point.ski", dotted);
    auto c = NewEngine(), p = NewEngine();
    ASSERT_TRUE(LoadGameFile(*c, dir / "comma.ski")) << c->LoadError;
    ASSERT_TRUE(LoadGameFile(*p, dir / "point.ski")) << p->LoadError;
    EXPECT_EQ(SaveGameText(*c), SaveGameText(*p));
    EXPECT_FLOAT_EQ(p->Viewpoint.FocusZ, 640.25f);
}

TEST(SavedGame, MissingKeysTakeTheirDefaults) {
    TempDir dir;
    test::WriteText(dir / "bare.ski",
                    "[SKIWorld]\nworldname=Mountain\n[SKIObjectives]\nObjCount=2\n"
                    "ObjectiveName1=Second\nObjectiveCompleted1=1\n");
    auto e = NewEngine();
    ASSERT_TRUE(LoadGameFile(*e, dir / "bare.ski")) << e->LoadError;
    const TSKIParkData& p = e->Park;
    EXPECT_EQ(p.ParkName, "SKI Park");
    EXPECT_EQ(p.ParkCash, 100000000);
    EXPECT_EQ(p.ParkSpawnSpeed, 20);
    EXPECT_EQ(p.ParkMissionIndex, -100);
    EXPECT_EQ(p.ParkSandboxDiff, 1);
    EXPECT_FLOAT_EQ(p.ParkWeather, 0.5f);
    EXPECT_FLOAT_EQ(e->Viewpoint.FocusX, -256);
    EXPECT_FLOAT_EQ(e->Viewpoint.FocusZ, 256);
    EXPECT_FLOAT_EQ(e->Viewpoint.MaxDistance, 1000);
    ASSERT_EQ(e->Objectives.size(), 2u);
    EXPECT_EQ(e->Objectives[0].Name, "NoName");
    EXPECT_EQ(e->Objectives[0].Description, "NoDescription");
    EXPECT_TRUE(e->Objectives[0].Primary);
    EXPECT_FALSE(e->Objectives[0].Announced);
    EXPECT_TRUE(e->Objectives[1].Announced);  // completed ones are not announced again

    // Unparsable numbers read as their defaults; an unparsable weather is drawn at random.
    test::WriteText(dir / "odd.ski",
                    "[SKIWorld]\nWorldName=Mountain\n[SKIParkData]\nParkCash=lots\n"
                    "ParkRating=high\nParkWeather=snowy\nParkMissionIndex=1\n");
    ASSERT_TRUE(LoadGameFile(*e, dir / "odd.ski")) << e->LoadError;
    EXPECT_EQ(e->Park.ParkCash, 100000000);
    EXPECT_FLOAT_EQ(e->Park.ParkRating, 0);
    EXPECT_GE(e->Park.ParkWeather, 0.0f);
    EXPECT_LT(e->Park.ParkWeather, 1.0f);
    EXPECT_FLOAT_EQ(e->Viewpoint.MaxDistance, 400);
}

TEST(SavedGame, ForeignSectionsSurviveAndOldHistoryGoes) {
    TempDir dir;
    test::WriteText(dir / "old.ski",
                    "[Notes]\nAuthor=Me\n[SKIHistory]\n0=1,2,3\n[SKIHouses]\n0=AB\n"
                    "[SKISnow]\n600=1\n");
    auto a = RunningResort();
    ASSERT_TRUE(SaveGameFile(*a, dir / "old.ski"));
    const std::string once = test::ReadText(dir / "old.ski");
    ASSERT_TRUE(SaveGameFile(*a, dir / "old.ski"));
    EXPECT_EQ(test::ReadText(dir / "old.ski"), once);
    const TIniFile f(dir / "old.ski");
    EXPECT_EQ(f.ReadString("notes", "author"), "Me");
    EXPECT_FALSE(f.SectionExists("SKIHistory"));
    EXPECT_FALSE(f.SectionExists("SKIHouses"));
    EXPECT_FALSE(f.ValueExists("SKISnow", "600"));
    EXPECT_EQ(f.SectionKeys("SKISnow").size(), size_t(kGridSize));
}

TEST(SavedGame, SnowRowsChangeOnlyTheCellsTheyCover) {
    auto level = NewEngine();
    ASSERT_TRUE(LoadLevelFile(*level, "Mountain", false).ok());
    // Row 10 is short and carries codes with and without trees and a stray character.
    TempDir dir;
    test::WriteText(dir / "snow.ski",
                    "[SKIWorld]\nWorldName=Mountain\n[SKISnow]\n10=0123x4567\n11=\n");
    auto e = NewEngine();
    ASSERT_TRUE(LoadGameFile(*e, dir / "snow.ski")) << e->LoadError;
    for (int j = 0; j < 9; ++j) {
        if (j == 4) continue;
        const int d = j < 4 ? j : j - 5;
        EXPECT_EQ(e->Cell(10, j).NaturalSnow, (d & 1) != 0) << j;
        EXPECT_EQ(e->Cell(10, j).Groomed, (d & 2) != 0) << j;
    }
    for (int j = 0; j < 4; ++j) EXPECT_EQ(e->Cell(10, j).Tree, level->Cell(10, j).Tree);
    for (int j = 5; j < 9; ++j) EXPECT_TRUE(e->Cell(10, j).Tree);
    for (int j : {4, 9, 300}) {
        EXPECT_EQ(e->Cell(10, j).NaturalSnow, level->Cell(10, j).NaturalSnow) << j;
        EXPECT_EQ(e->Cell(10, j).Tree, level->Cell(10, j).Tree) << j;
    }
    for (int j = 0; j < kGridSize; ++j)
        ASSERT_EQ(e->Cell(11, j).NaturalSnow, level->Cell(11, j).NaturalSnow) << j;
}

TEST(SavedGame, FleetsAreCompletedAndMisplacedVehiclesRefused) {
    auto e = NewEngine();
    ASSERT_TRUE(LoadLevelFile(*e, "Mountain", false).ok());
    auto place = [&](uint8_t type, int i) {
        TSKIBuildingRecord r;
        r.Type = type;
        r.Position = e->CellToWorld(i, 250, false);
        e->CreateBuilding(r);
    };
    place(kBuildRescueStation, 200);  // 0: one snowmobile saved, slots 1 and 2 added
    place(kBuildRescueStation, 210);  // 1: two saved, slot 2 added
    place(kBuildHospital, 220);       // 2
    place(kBuildSkiPatrol, 230);      // 3
    place(kBuildSnowcatGarage, 240);  // 4: one saved, slot 1 added
    e->Vehicles.clear();              // only the vehicles below are saved
    auto vehicle = [&](uint8_t type, int32_t home, int32_t seat = 0) {
        auto v = std::make_unique<TSKIVehicle>(*e);
        v->Type = type;
        v->Building = home;
        v->Seat = seat;
        v->Position = e->Buildings[size_t(home)]->Position;
        e->Vehicles.push_back(std::move(v));
    };
    vehicle(kVehicleSnowmobile, 0);
    vehicle(kVehicleSnowmobile, 1, 0);
    vehicle(kVehicleSnowmobile, 1, 1);
    vehicle(kVehicleHelicopter, 3);  // wrong home: refused, the patrol gets a snowmobile
    vehicle(kVehicleSnowcat, 2);     // wrong home
    vehicle(kVehicleSnowcat, 4);
    vehicle(kVehicleSnowcat, 4);  // the same slot again: refused
    TempDir dir;
    ASSERT_TRUE(SaveGameFile(*e, dir / "fleet.ski"));

    auto l = NewEngine();
    ASSERT_TRUE(LoadGameFile(*l, dir / "fleet.ski")) << l->LoadError;
    EXPECT_TRUE(test::ParkConsistent(*l));
    auto fleet = [&](int32_t home, uint8_t type) {
        return std::count_if(l->Vehicles.begin(), l->Vehicles.end(),
                             [&](const auto& v) { return v->Building == home && v->Type == type; });
    };
    EXPECT_EQ(fleet(0, kVehicleSnowmobile), 3);
    EXPECT_EQ(fleet(1, kVehicleSnowmobile), 3);
    EXPECT_EQ(fleet(2, kVehicleHelicopter), 1);  // slots 1 and 2 are refused
    EXPECT_EQ(fleet(2, kVehicleSnowcat), 0);
    EXPECT_EQ(fleet(3, kVehicleSnowmobile), 1);
    EXPECT_EQ(fleet(3, kVehicleHelicopter), 0);
    EXPECT_EQ(fleet(4, kVehicleSnowcat), 2);  // as many as a new garage gets
    EXPECT_EQ(l->Vehicles.size(), 10u);
    // The four saved vehicles that fit go on where they were saved; the ones added to
    // complete a fleet stand parked at home. Each has a seat of its own.
    for (size_t k = 0; k < l->Vehicles.size(); ++k) {
        const auto& v = l->Vehicles[k];
        EXPECT_EQ(v->Home(), l->Buildings[size_t(v->Building)].get());
        const TSKIVector where = k < 4 ? v->Home()->Position : v->ParkingPlace();
        EXPECT_FLOAT_EQ(v->Position.x, where.x) << k;
        EXPECT_FLOAT_EQ(v->Position.z, where.z) << k;
        for (const auto& w : l->Vehicles)
            EXPECT_TRUE(w == v || w->Building != v->Building || w->Seat != v->Seat);
    }
}

TEST(SavedGame, RestoreSectionSeatsRidersAndChecksItsLine) {
    test::TResortLayout layout;
    auto e = RunningResort(&layout);
    const TSKISection& lift = *e->Sections[size_t(layout.lift)];
    std::vector<uint8_t> block(kSectionBlockSize, 0);
    block[0] = lift.LiftType;
    const size_t before = e->Sections.size();
    const int last = int(e->Skiers.size()) - 1;
    const std::string cells = std::to_string(lift.LowerI) + "|" + std::to_string(lift.LowerJ) +
                              "|" + std::to_string(lift.UpperI) + "|" +
                              std::to_string(lift.UpperJ) + "|Copy|";
    ASSERT_TRUE(RestoreSection(*e, "LIFT|" + cells + "0|", block));
    ASSERT_EQ(e->Sections.size(), before + 1);
    EXPECT_TRUE(e->Sections.back()->Carriers.empty());
    EXPECT_EQ(e->Sections.back()->Name, "Copy");

    ASSERT_TRUE(RestoreSection(
        *e, "LIFT|" + cells + "1|-10,5|80.25|30,00|3|3|" + std::to_string(last) + "|99999|-1|",
        block));
    const TSKISection& copy = *e->Sections.back();
    ASSERT_EQ(copy.Carriers.size(), 1u);
    const TSKIGondole& g = *copy.Carriers.front();
    EXPECT_FLOAT_EQ(g.Position.y, 80.25f);
    EXPECT_EQ(g.NextPoint, 3);
    // Indexes that name no skier leave no empty seat.
    EXPECT_EQ(g.RiderCount, 1);
    EXPECT_EQ(g.Riders[0], e->Skiers.back().get());
    EXPECT_EQ(g.Riders[1], nullptr);
    EXPECT_EQ(e->Skiers.back()->State, kSkierOnLift);
    EXPECT_EQ(e->Skiers.back()->CurrentSection, &copy);
    EXPECT_EQ(SaveLine(*e, copy),
              "LIFT|" + cells + "1|-10,50|80,25|30,00|3|1|" + std::to_string(last) + "|");

    // Lines that do not parse are refused; unknown kinds and short slopes are let go.
    const size_t now = e->Sections.size();
    EXPECT_FALSE(RestoreSection(*e, "LIFT|" + cells + "1|1,0|2,0|", block));
    EXPECT_FALSE(RestoreSection(*e, "LIFT|" + cells + "0|extra|", block));
    EXPECT_FALSE(RestoreSection(*e, "LIFT|" + cells + "0|", std::vector<uint8_t>(31, 0)));
    EXPECT_TRUE(RestoreSection(*e, "ROPE|1|2|", block));
    EXPECT_TRUE(RestoreSection(*e, "SLOPE|1|1|2|2|Tiny|1|-800,0|3|800|-810|3|810|", block));
    EXPECT_EQ(e->Sections.size(), now);
}

TEST(SavedGame, BadFilesAreRefusedAndLeaveAnEmptyEngine) {
    const auto folder = test::SourceRoot() / "tests/persistence/bad_saves";
    TempDir dir;
    auto good = RunningResort();
    ASSERT_TRUE(SaveGameFile(*good, dir / "good.ski"));
    int files = 0;
    auto e = NewEngine();
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        ++files;
        // Straight over a running park, and after a close.
        ASSERT_TRUE(LoadGameFile(*e, dir / "good.ski")) << e->LoadError;
        for (bool close : {false, true}) {
            if (close) CloseGame(*e);
            EXPECT_FALSE(LoadGameFile(*e, entry.path())) << entry.path();
            EXPECT_FALSE(e->LoadError.empty()) << entry.path();
            EXPECT_EQ(e->LoadError.find('\n'), std::string::npos) << e->LoadError;
            ExpectClean(*e);
        }
    }
    EXPECT_GE(files, 15);
    // The engine takes a good file again afterwards.
    ASSERT_TRUE(LoadGameFile(*e, dir / "good.ski")) << e->LoadError;
    EXPECT_FALSE(e->Skiers.empty());

    EXPECT_FALSE(LoadGameFile(*e, dir / "absent.ski"));
    EXPECT_NE(e->LoadError.find("not found"), std::string::npos);
    ExpectClean(*e);
    // A folder where a saved game is expected says what it is.
    EXPECT_FALSE(LoadGameFile(*e, dir.Path()));
    EXPECT_NE(e->LoadError.find("it is a folder"), std::string::npos) << e->LoadError;
}

TEST(SavedGame, EverySavedParkKeyKeepsItsPlaceAndComesBack) {
    test::LevelFixture f;
    ASSERT_TRUE(f.WriteAndLoad(test::TestLevel{}).ok());
    // A distinct value for every saved park field, within what a saved game may hold.
    int n = 0;
    for (const TParkKey* key : SavedParkKeys()) {
        ++n;
        VisitParkField(*key, f->Park, [&](auto& value) {
            using T = std::remove_cvref_t<decltype(value)>;
            if constexpr (std::is_same_v<T, std::string>)
                value = "Park " + std::to_string(n);
            else if constexpr (std::is_same_v<T, float>)
                value = key->Kind == TParkKeyKind::Weather ? 0.25f : float(n) + 0.5f;
            else
                value = T(n + 1);
        });
    }
    auto text = [](const TSKIParkData& p, const TParkKey& key) {
        std::ostringstream out;
        VisitParkField(key, p, [&](const auto& value) {
            if constexpr (std::is_arithmetic_v<std::remove_cvref_t<decltype(value)>>)
                out << +value;
            else
                out << value;
        });
        return out.str();
    };
    TempDir dir;
    ASSERT_TRUE(SaveGameFile(*f, dir / "keys.ski"));
    EXPECT_EQ(TIniFile(dir / "keys.ski").SectionKeys("SKIParkData"),
              (std::vector<std::string>{"ParkName",
                                        "ParkTime",
                                        "ParkCash",
                                        "ParkMaxSkiers",
                                        "ParkRating",
                                        "ParkRatingLeftUnhappy",
                                        "ParkRatingLeftDead",
                                        "ParkLeftBecauseUnhappy",
                                        "ParkLeftBecauseNoMoney",
                                        "ParkLeftBecauseDied",
                                        "ParkCamPosX",
                                        "ParkCamPosZ",
                                        "ParkLoan",
                                        "ParkLoanExpence",
                                        "ParkMarketingExpence",
                                        "ParkSpawnSpeed",
                                        "ParkMissionIndex",
                                        "ParkEcoExpence",
                                        "ParkRewards",
                                        "ParkSandboxDiff",
                                        "ParkPopularity",
                                        "ParkWeather",
                                        "ParkHourClock",
                                        "ParkHistoryClock"}));

    test::LevelFixture g;
    test::WriteTestLevel(g.Worlds(), test::TestLevel{});
    ASSERT_TRUE(LoadGameFile(*g, dir / "keys.ski")) << g->LoadError;
    for (const TParkKey* key : SavedParkKeys()) {
        if (key->Field == TParkField(&TSKIParkData::ParkMaxSkiers)) continue;  // from the lots
        EXPECT_EQ(text(g->Park, *key), text(f->Park, *key)) << key->Name;
    }
}

}  // namespace
}  // namespace vallorn
