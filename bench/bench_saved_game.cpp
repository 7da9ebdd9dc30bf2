// Saved games of a big park on the shipped Mountain: 2,000 skiers, 30 lifts with their
// carriers and 40 buildings. Saving writes the whole file; loading reads it back with the
// level it names. The level load alone is measured beside it for comparison.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

#include "engine/engine.h"
#include "engine/level_file.h"
#include "persistence/saved_game.h"

namespace {

using namespace vallorn;
namespace fs = std::filesystem;

fs::path Scratch() {
    return fs::temp_directory_path() / "vallorn_bench_saved_game.ski";
}

std::unique_ptr<TSKIEngine> BigPark() {
    auto e = std::make_unique<TSKIEngine>(TSKIEngineSetup{VALLORN_BUILD_ROOT, 5, nullptr});
    if (!LoadLevelFile(*e, "Mountain", false).ok()) return nullptr;
    // Lifts across the middle of the map, with carriers filled in by running them.
    for (int k = 0; k < 30; ++k) {
        TSKILiftRecord r;
        r.LiftType = uint8_t(k % kLiftTypeCount);
        const int i = 60 + (k % 10) * 40, j = 80 + (k / 10) * 120;
        e->CreateLift(i, j, i + 12, j + 60, r);
    }
    for (int step = 0; step < 400; ++step) {
        for (auto& s : e->Sections) s->Tick(0.25f);
    }
    for (int k = 0; k < 40; ++k) {
        TSKIBuildingRecord r;
        r.Type = uint8_t(k % kBuildingTypeCount);
        r.Position = e->CellToWorld(40 + (k % 8) * 55, 60 + (k / 8) * 90, false);
        e->CreateBuilding(r);
    }
    for (int k = 0; k < 2000; ++k) {
        TSKISkierRecord r;
        r.Money = 300 + k % 200;
        r.SpendingLimit = 40;
        r.Cold = float(k % 100) - 50, r.Hunger = float(k % 70) - 35, r.Happiness = 20;
        r.Energy = 80;
        r.Position = e->CellToWorld(20 + k % 470, 20 + (k * 7) % 470, true);
        r.Leaving = k % 50 == 0;
        e->Skiers.push_back(std::make_unique<TSKISkier>(*e, r));
    }
    // Some skiers ride: the first seats of every carrier.
    size_t next = 0;
    for (auto& s : e->Sections) {
        for (auto& c : s->Carriers) {
            if (next >= e->Skiers.size()) break;
            c->Riders[0] = e->Skiers[next++].get();
            c->RiderCount = 1;
        }
    }
    e->RebuildNavigation();
    return e;
}

void BM_SaveGame(benchmark::State& state) {
    auto e = BigPark();
    if (!e) {
        state.SkipWithError("the Mountain did not load");
        return;
    }
    size_t carriers = 0;
    for (auto& s : e->Sections) carriers += s->Carriers.size();
    for (auto _ : state) {
        if (!SaveGameFile(*e, Scratch())) state.SkipWithError("the game could not be saved");
    }
    state.counters["skiers"] = double(e->Skiers.size());
    state.counters["lifts"] = double(e->Sections.size());
    state.counters["carriers"] = double(carriers);
    state.counters["buildings"] = double(e->Buildings.size());
    state.counters["file_kB"] = double(fs::file_size(Scratch())) / 1024.0;
}
BENCHMARK(BM_SaveGame)->Unit(benchmark::kMillisecond);

void BM_LoadGame(benchmark::State& state) {
    {
        auto park = BigPark();
        if (!park || !SaveGameFile(*park, Scratch())) {
            state.SkipWithError("no saved game to load");
            return;
        }
    }
    TSKIEngine e({VALLORN_BUILD_ROOT, 5, nullptr});
    for (auto _ : state) {
        state.PauseTiming();
        CloseGame(e);
        state.ResumeTiming();
        if (!LoadGameFile(e, Scratch())) state.SkipWithError(e.LoadError.c_str());
    }
    state.counters["skiers"] = double(e.Skiers.size());
    state.counters["buildings"] = double(e.Buildings.size());
    state.counters["vehicles"] = double(e.Vehicles.size());
}
BENCHMARK(BM_LoadGame)->Unit(benchmark::kMillisecond);

// The level part of a load on its own.
void BM_LoadLevelOnly(benchmark::State& state) {
    TSKIEngine e({VALLORN_BUILD_ROOT, 5, nullptr});
    for (auto _ : state) {
        if (!LoadLevelFile(e, "Mountain", false).ok()) state.SkipWithError("no level");
    }
}
BENCHMARK(BM_LoadLevelOnly)->Unit(benchmark::kMillisecond);

}  // namespace
