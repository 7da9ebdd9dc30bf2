// Level loading and the grid-wide terrain work on the shipped default level "Mountain".
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "engine/blocked.h"
#include "engine/engine.h"
#include "engine/level_file.h"

namespace {

using vallorn::TSKIEngine;
using vallorn::TSKIEngineSetup;

std::unique_ptr<TSKIEngine> NewEngine() {
    TSKIEngineSetup setup;
    setup.Root = VALLORN_BUILD_ROOT;
    setup.Seed = 1;
    return std::make_unique<TSKIEngine>(setup);
}

// A loaded Mountain, shared by the benchmarks that only read it.
TSKIEngine& Mountain() {
    static std::unique_ptr<TSKIEngine> engine = [] {
        auto e = NewEngine();
        const auto r = LoadLevelFile(*e, "Mountain", false);
        if (!r.ok()) {
            std::fprintf(stderr, "cannot load Mountain: %s\n", r.error.c_str());
            std::exit(1);
        }
        return e;
    }();
    return *engine;
}

// From the files to a complete grid: settings, images, both meshes, heights and trees of all
// cells, rows, houses and the overlay images. Each load goes into a fresh engine, as the game
// creates one for every level it opens; building and destroying the engine is not timed.
void BM_LoadMountain(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto engine = NewEngine();
        state.ResumeTiming();
        const auto r = LoadLevelFile(*engine, "Mountain", false);
        if (!r.ok()) {
            state.SkipWithError(r.error.c_str());
            break;
        }
        benchmark::DoNotOptimize(engine->Grid.data());
        state.PauseTiming();
        engine.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadMountain)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(5);

void BM_ComputeBlocked12(benchmark::State& state) {
    TSKIEngine& e = Mountain();
    for (auto _ : state) {
        ComputeBlocked(e, 12);
        benchmark::DoNotOptimize(e.Grid.data());
    }
}
BENCHMARK(BM_ComputeBlocked12)->Unit(benchmark::kMillisecond)->Repetitions(5);

// One exact height query at a point between cell points, as a building or a vehicle asks.
void BM_TerrainHeight(benchmark::State& state) {
    TSKIEngine& e = Mountain();
    float x = -3.3f, z = 5.1f;
    for (auto _ : state) {
        benchmark::DoNotOptimize(e.TerrainHeight(vallorn::TSKIVector(x, 0, z, 1)));
        x -= 7.77f;
        z += 3.91f;
        if (x < -2040) x += 2030;
        if (z > 2040) z -= 2030;
    }
}
BENCHMARK(BM_TerrainHeight)->Unit(benchmark::kNanosecond)->Repetitions(5);

}  // namespace
