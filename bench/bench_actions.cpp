// Player actions on the Mountain: the check of a lift (pole layout, price, obstacle test) that
// a window or script runs before building, the check and apply of a building, and the build
// menu built over a lift station (with the replacement prices of every offered type).
#include <benchmark/benchmark.h>

#include "construction/build_menu.h"
#include "construction/construction.h"
#include "construction/construction_actions.h"
#include "engine/engine.h"
#include "engine/level_file.h"
#include "engine/player_actions.h"

using namespace vallorn;

namespace {

bool LoadMountain(TSKIEngine& engine, benchmark::State& state) {
    if (LoadLevelFile(engine, "Mountain", false).ok()) return true;
    state.SkipWithError("the default level did not load");
    return false;
}

}  // namespace

static void BM_BuildLiftCheck(benchmark::State& state) {
    TSKIEngine engine({VALLORN_BUILD_ROOT, 1, nullptr});
    if (!LoadMountain(engine, state)) return;
    const TSKIPlayerAction lift = BuildLiftAction(52, 142, 52, 114, 2);
    for (auto _ : state) benchmark::DoNotOptimize(lift.Check(engine));
}
BENCHMARK(BM_BuildLiftCheck)->Unit(benchmark::kMicrosecond);

static void BM_PlaceAndDeleteBuilding(benchmark::State& state) {
    TSKIEngine engine({VALLORN_BUILD_ROOT, 1, nullptr});
    if (!LoadMountain(engine, state)) return;
    const TSKIPlayerAction stall = PlaceBuildingAction(kBuildStall, 58, 146);
    for (auto _ : state) {
        engine.Park.ParkCash = 1000000;
        if (!PerformAction(engine, stall).Done()) {
            state.SkipWithError("the stall could not be placed");
            return;
        }
        DeleteBuilding(engine, engine.Buildings.size() - 1);
    }
}
BENCHMARK(BM_PlaceAndDeleteBuilding)->Unit(benchmark::kMillisecond);

static void BM_BuildMenuOverALiftStation(benchmark::State& state) {
    TSKIEngine engine({VALLORN_BUILD_ROOT, 1, nullptr});
    if (!LoadMountain(engine, state)) return;
    engine.Park.ParkCash = 1000000;
    if (!PerformAction(engine, BuildLiftAction(52, 142, 52, 114, 2)).Done()) {
        state.SkipWithError("the lift could not be built");
        return;
    }
    TSKIToolState tools;
    TSKIConstruction construction(engine, tools);
    tools.CursorSnap = false;
    construction.SetCursorTarget(engine.CellToWorld(52, 142, true));
    construction.UpdateTools(0);
    for (auto _ : state) benchmark::DoNotOptimize(BuildMenu(MenuContext(engine, tools)));
}
BENCHMARK(BM_BuildMenuOverALiftStation)->Unit(benchmark::kMicrosecond);
