// The view's falling snow per frame on the Mountain at high detail in heavy snow.
#include <benchmark/benchmark.h>

#include "engine/engine.h"
#include "engine/level_file.h"
#include "presentation/snowfall.h"

using namespace vallorn;

static void BM_UpdateSnowfallHighDetail(benchmark::State& state) {
    TSKIEngine engine({VALLORN_BUILD_ROOT, 1, nullptr});
    if (!LoadLevelFile(engine, "Mountain", false).ok()) {
        state.SkipWithError("the default level did not load");
        return;
    }
    engine.Options.Detail = 2;
    engine.Park.ParkWeather = 0.99f;
    TSKISnowfall snow;
    snow.Camera.Position = engine.CellToWorld(256, 256, true);
    snow.Camera.Position.y += 60;
    snow.Reset(engine);
    for (auto _ : state) snow.Update(engine, 1.0f / 30.0f);
    state.counters["flakes"] = double(snow.Flakes.size());
}
BENCHMARK(BM_UpdateSnowfallHighDetail)->Unit(benchmark::kMicrosecond);
