// One game day of an empty park through the frame handler, at speed 4 and 30 frames a second.
#include <benchmark/benchmark.h>

#include "engine/clock.h"
#include "engine/engine.h"
#include "engine/level_file.h"

using namespace vallorn;

static void BM_EmptyParkDayAtSpeed4(benchmark::State& state) {
    TSKIEngine engine({VALLORN_BUILD_ROOT, 1, nullptr});
    if (!LoadLevelFile(engine, "Mountain", false).ok()) {
        state.SkipWithError("the default level did not load");
        return;
    }
    engine.Park.ParkSpeed = 4;
    for (auto _ : state) {
        const int64_t days = engine.DayChanges;
        while (engine.DayChanges == days) OnProgress(engine, 1.0 / 30.0);
    }
    state.counters["ticks"] = double(engine.TicksRun);
}
BENCHMARK(BM_EmptyParkDayAtSpeed4)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

static void BM_Calendar(benchmark::State& state) {
    TSKIEngine engine({VALLORN_BUILD_ROOT, 1, nullptr});
    int32_t t = 0;
    for (auto _ : state) benchmark::DoNotOptimize(CalendarAt(engine, t++));
}
BENCHMARK(BM_Calendar);
