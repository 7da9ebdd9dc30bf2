// The navigation rebuild on the shipped "Mountain" with a resort of 20 slopes and 10 lifts
// laid out by code on plausible ground: lifts climb over free, unblocked cells, and two slopes
// run down from each upper station by the steepest free way.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "engine/engine.h"
#include "engine/level_file.h"

namespace {

using vallorn::TerrainCell;
using vallorn::TSKIEngine;
using vallorn::TSKIVector;

constexpr int kLifts = 10;
constexpr int kSlopesPerLift = 2;
constexpr int kLiftCells = 60;  // station to station
constexpr int kSlopeStep = 12;  // cells between slope points
constexpr int kSlopePoints = 8;

bool Usable(const TSKIEngine& e, int i, int j) {
    if (i < 8 || j < 8 || i > 503 || j > 503) return false;
    const TerrainCell& c = e.Cell(i, j);
    return !c.Blocked && c.Kind == vallorn::kCellFree && !c.UnderLift;
}

// Every cell on the straight line between two cells is usable.
bool ClearLine(const TSKIEngine& e, int i0, int j0, int i1, int j1) {
    const int n = std::max(std::abs(i1 - i0), std::abs(j1 - j0));
    for (int k = 0; k <= n; ++k) {
        const int i = i0 + (i1 - i0) * k / std::max(n, 1);
        const int j = j0 + (j1 - j0) * k / std::max(n, 1);
        if (!Usable(e, i, j)) return false;
    }
    return true;
}

// A slope from near (i, j) downhill: each point the lowest usable cell a step away.
std::vector<TSKIVector> Downhill(const TSKIEngine& e, int i, int j, int turn) {
    std::vector<TSKIVector> points;
    for (int p = 0; p < kSlopePoints; ++p) {
        TSKIVector v = e.CellToWorld(i, j, false);
        v.w = 5;
        points.push_back(v);
        int bestI = -1, bestJ = -1;
        float best = e.Cell(i, j).Height - 1.0f;
        for (int d = 0; d < 16; ++d) {
            const double a = (d + turn) * 2 * M_PI / 16;
            const int ni = i + int(std::lround(kSlopeStep * std::cos(a)));
            const int nj = j + int(std::lround(kSlopeStep * std::sin(a)));
            if (!Usable(e, ni, nj) || !ClearLine(e, i, j, ni, nj)) continue;
            if (e.Cell(ni, nj).Height < best) {
                best = e.Cell(ni, nj).Height;
                bestI = ni;
                bestJ = nj;
            }
        }
        if (bestI < 0) break;
        i = bestI;
        j = bestJ;
    }
    return points;
}

struct Resort {
    std::unique_ptr<TSKIEngine> engine;
    int lifts = 0, slopes = 0;
};

Resort& MountainResort() {
    static Resort resort = [] {
        Resort r;
        vallorn::TSKIEngineSetup setup;
        setup.Root = VALLORN_BUILD_ROOT;
        setup.Seed = 1;
        r.engine = std::make_unique<TSKIEngine>(setup);
        TSKIEngine& e = *r.engine;
        const auto loaded = LoadLevelFile(e, "Mountain", false);
        if (!loaded.ok()) {
            std::fprintf(stderr, "cannot load Mountain: %s\n", loaded.error.c_str());
            std::exit(1);
        }
        // Lifts: from a coarse grid of lower stations, the steepest clear climb.
        std::vector<std::pair<int, int>> uppers;
        for (int i = 40; i < 480 && r.lifts < kLifts; i += 47) {
            for (int j = 40; j < 480 && r.lifts < kLifts; j += 53) {
                if (!Usable(e, i, j)) continue;
                int bestI = -1, bestJ = -1;
                float climb = 20.0f;
                for (int d = 0; d < 16; ++d) {
                    const double a = d * 2 * M_PI / 16;
                    const int ui = i + int(std::lround(kLiftCells * std::cos(a)));
                    const int uj = j + int(std::lround(kLiftCells * std::sin(a)));
                    if (!Usable(e, ui, uj) || !ClearLine(e, i, j, ui, uj)) continue;
                    const float rise = e.Cell(ui, uj).Height - e.Cell(i, j).Height;
                    if (rise > climb) {
                        climb = rise;
                        bestI = ui;
                        bestJ = uj;
                    }
                }
                if (bestI < 0) continue;
                vallorn::TSKILiftRecord record;
                record.LiftType = uint8_t(2 + r.lifts % 3);
                if (e.CreateLift(i, j, bestI, bestJ, record)) {
                    ++r.lifts;
                    uppers.emplace_back(bestI, bestJ);
                }
            }
        }
        // Slopes: two from beside each upper station, down the mountain; where a summit
        // offers fewer, its neighbours give a third.
        const int offsets[][2] = {{3, 2}, {-3, -2}, {3, -2}, {-3, 2}, {5, 0}, {0, 5}, {-5, 0}};
        const int wanted = kLifts * kSlopesPerLift;
        for (int perLift = kSlopesPerLift; perLift <= 4 && r.slopes < wanted; ++perLift) {
            for (const auto& [ui, uj] : uppers) {
                int made = 0;
                for (int k = 0; k < 7 && made < perLift && r.slopes < wanted; ++k) {
                    const int si = ui + offsets[k][0], sj = uj + offsets[k][1];
                    if (!Usable(e, si, sj)) {
                        // Already a slope's start or its ground: counts as made.
                        made += e.Cell(si, sj).Kind == vallorn::kCellSlope;
                        continue;
                    }
                    std::vector<TSKIVector> points = Downhill(e, si, sj, 5 * k);
                    if (points.size() >= 3 && e.CreateSlope(points)) {
                        ++made;
                        ++r.slopes;
                    }
                }
            }
        }
        e.RebuildNavigation();
        return r;
    }();
    return resort;
}

void BM_RebuildNavigationMountain(benchmark::State& state) {
    Resort& r = MountainResort();
    TSKIEngine& e = *r.engine;
    for (auto _ : state) {
        e.RebuildNavigation();
        benchmark::DoNotOptimize(e.Grid.data());
    }
    state.counters["lifts"] = r.lifts;
    state.counters["slopes"] = r.slopes;
}
BENCHMARK(BM_RebuildNavigationMountain)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace
