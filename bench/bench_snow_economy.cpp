// Snow and economy on the Mountain: the snow overlay rebuild with snow makers, the overnight
// snow change, the snow quality measure and the rating with a crowd.
#include <benchmark/benchmark.h>

#include "engine/arrivals.h"
#include "engine/economy.h"
#include "engine/engine.h"
#include "engine/level_file.h"
#include "engine/snow.h"

using namespace vallorn;

namespace {

bool LoadMountain(TSKIEngine& engine, benchmark::State& state) {
    if (LoadLevelFile(engine, "Mountain", false).ok()) return true;
    state.SkipWithError("the default level did not load");
    return false;
}

// Ten snow cannons along the middle of the map.
void PlaceCannons(TSKIEngine& engine) {
    for (int k = 0; k < 10; ++k) {
        TSKIBuildingRecord r;
        r.Type = kBuildSnowCannon;
        r.Position = engine.CellToWorld(200 + 10 * k, 150 + 20 * k, false);
        engine.CreateBuilding(r);
    }
}

}  // namespace

static void BM_RebuildSnowOverlayWithTenCannons(benchmark::State& state) {
    TSKIEngine engine({VALLORN_BUILD_ROOT, 1, nullptr});
    if (!LoadMountain(engine, state)) return;
    PlaceCannons(engine);
    for (auto _ : state) RebuildSnowOverlay(engine);
}
BENCHMARK(BM_RebuildSnowOverlayWithTenCannons)->Unit(benchmark::kMillisecond);

static void BM_EndOfDaySnow(benchmark::State& state) {
    TSKIEngine engine({VALLORN_BUILD_ROOT, 1, nullptr});
    if (!LoadMountain(engine, state)) return;
    PlaceCannons(engine);
    float w = 0;
    for (auto _ : state) {
        engine.Park.ParkWeather = w;  // alternate melting and snowing nights
        w = w < 0.5f ? 0.9f : 0.1f;
        EndOfDaySnow(engine);
    }
}
BENCHMARK(BM_EndOfDaySnow)->Unit(benchmark::kMillisecond);

static void BM_ComputeSnowQuality(benchmark::State& state) {
    TSKIEngine engine({VALLORN_BUILD_ROOT, 1, nullptr});
    if (!LoadMountain(engine, state)) return;
    for (auto _ : state) {
        ComputeSnowQuality(engine);
        benchmark::DoNotOptimize(engine.Park.ParkSnowQuality);
    }
}
BENCHMARK(BM_ComputeSnowQuality)->Unit(benchmark::kMicrosecond);

static void BM_UpdateRating(benchmark::State& state) {
    TSKIEngine engine({VALLORN_BUILD_ROOT, 1, nullptr});
    if (!LoadMountain(engine, state)) return;
    SpawnSkiers(engine, int(state.range(0)), engine.CellToWorld(256, 256, true), 2, 2, true);
    for (auto _ : state) {
        UpdateRating(engine);
        benchmark::DoNotOptimize(engine.Park.ParkRating);
    }
}
BENCHMARK(BM_UpdateRating)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
