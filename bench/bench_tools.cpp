// Per-frame work of the construction tools on the shipped "Mountain": the lift tool hovering
// its upper station 60 cells up the hill (line preview, pole layout, price and rules), and
// the slope tool hovering a long segment at full width (width test over every sample).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "construction/construction.h"
#include "engine/engine.h"
#include "engine/level_file.h"

namespace {

using vallorn::TSKIEngine;
using vallorn::TSKIVector;

constexpr int kLiftCells = 60;

bool Usable(const TSKIEngine& e, int i, int j) {
    if (i < 8 || j < 8 || i > 503 || j > 503) return false;
    const vallorn::TerrainCell& c = e.Cell(i, j);
    return !c.Blocked && c.Kind == vallorn::kCellFree && !c.UnderLift;
}

struct Site {
    std::unique_ptr<TSKIEngine> engine;
    vallorn::TSKIToolState tools;
    std::unique_ptr<vallorn::TSKIConstruction> construction;
    int lowerI = -1, lowerJ = -1, upperI = -1, upperJ = -1;
};

// The Mountain with the steepest lift that the lift tool allows from a coarse grid of
// lower stations.
Site& Mountain() {
    static Site site = [] {
        Site s;
        vallorn::TSKIEngineSetup setup;
        setup.Root = VALLORN_BUILD_ROOT;
        setup.Seed = 1;
        s.engine = std::make_unique<TSKIEngine>(setup);
        TSKIEngine& e = *s.engine;
        s.construction = std::make_unique<vallorn::TSKIConstruction>(e, s.tools);
        vallorn::TSKIConstruction& c = *s.construction;
        vallorn::TSKIToolState& t = s.tools;
        const auto loaded = LoadLevelFile(e, "Mountain", false);
        if (!loaded.ok()) {
            std::fprintf(stderr, "cannot load Mountain: %s\n", loaded.error.c_str());
            std::exit(1);
        }
        e.Park.ParkCash = 100000000;
        t.CursorSnap = false;
        float climb = 0;
        for (int i = 40; i < 480; i += 23) {
            for (int j = 40; j < 480; j += 29) {
                if (!Usable(e, i, j)) continue;
                for (int d = 0; d < 16; ++d) {
                    const double a = d * 2 * M_PI / 16;
                    const int ui = i + int(std::lround(kLiftCells * std::cos(a)));
                    const int uj = j + int(std::lround(kLiftCells * std::sin(a)));
                    if (!Usable(e, ui, uj)) continue;
                    const float rise = e.Cell(ui, uj).Height - e.Cell(i, j).Height;
                    if (rise <= climb) continue;
                    c.StartLiftTool(i, j, 3);
                    c.SetCursorTarget(e.CellToWorld(ui, uj, true));
                    c.UpdateTools(1.0f / 60);
                    if (!t.LiftPolesVisible) continue;
                    climb = rise;
                    s.lowerI = i, s.lowerJ = j, s.upperI = ui, s.upperJ = uj;
                }
            }
        }
        c.CancelTool();
        if (s.lowerI < 0) {
            std::fprintf(stderr, "no lift site on Mountain\n");
            std::exit(1);
        }
        return s;
    }();
    return site;
}

void BM_LiftToolHover(benchmark::State& state) {
    Site& s = Mountain();
    TSKIEngine& e = *s.engine;
    vallorn::TSKIConstruction& c = *s.construction;
    const vallorn::TSKIToolState& t = s.tools;
    c.StartLiftTool(s.lowerI, s.lowerJ, 3);
    // The mouse wanders between two upper stations so that every frame lays out anew.
    const TSKIVector a = e.CellToWorld(s.upperI, s.upperJ, true);
    const TSKIVector b = e.CellToWorld(s.upperI + 1, s.upperJ, true);
    bool flip = false;
    for (auto _ : state) {
        c.SetCursorTarget(flip ? a : b);
        flip = !flip;
        c.UpdateTools(1.0f / 60);
        benchmark::DoNotOptimize(t.ToolText.data());
    }
    state.counters["poles"] = double(t.LiftPoleNodes.size());
    state.counters["samples"] = double(t.LiftLinePreview.size());
    c.CancelTool();
}
BENCHMARK(BM_LiftToolHover)->Unit(benchmark::kMicrosecond);

// Sets the slope tool up with two drawn nodes and the cursor far down the hill on a valid
// segment; false when the place does not give one.
bool SlopeScene(Site& s, int i, int j, int di, int dj, std::vector<TSKIVector>& path,
                TSKIVector& target) {
    TSKIEngine& e = *s.engine;
    vallorn::TSKIToolState& t = s.tools;
    const int mi = i + di * 8, mj = j + dj * 8;
    const int ti = i + di * 60, tj = j + dj * 60;
    if (!Usable(e, i, j) || !Usable(e, mi, mj) || !Usable(e, ti, tj)) return false;
    TSKIVector first = e.CellToWorld(i, j, true), second = e.CellToWorld(mi, mj, true);
    first.w = second.w = 15;
    path = {first, second};
    target = e.CellToWorld(ti, tj, true);
    t.Tool = vallorn::TSKITool::Slope;
    t.SlopePath = path;
    t.SlopeEndI = mi;
    t.SlopeEndJ = mj;
    t.CursorRadius = 30;
    s.construction->SetCursorTarget(target);
    s.construction->UpdateTools(1.0f / 60);
    return t.SlopeSegmentValid;
}

void BM_SlopeToolHover(benchmark::State& state) {
    Site& site = Mountain();
    vallorn::TSKIConstruction& c = *site.construction;
    vallorn::TSKIToolState& t = site.tools;
    std::vector<TSKIVector> path;
    TSKIVector target;
    bool found = false;
    for (int i = 40; i < 470 && !found; i += 7) {
        for (int j = 40; j < 470 && !found; j += 11) {
            for (int d = 0; d < 4 && !found; ++d) {
                const int di = d == 0 ? -1 : d == 1 ? 1 : 0, dj = d == 2 ? -1 : d == 3 ? 1 : 0;
                found = SlopeScene(site, i, j, di, dj, path, target);
            }
        }
    }
    if (!found) {
        state.SkipWithError("no long valid slope segment on Mountain");
        return;
    }
    int mi, mj;
    TSKIEngine::WorldToCell(path.back(), mi, mj);
    size_t samples = 0;
    for (auto _ : state) {
        t.SlopePath = path;  // undo the automatic node of the previous frame
        t.SlopeEndI = mi;
        t.SlopeEndJ = mj;
        t.CursorRadius = 30;
        c.SetCursorTarget(target);
        c.UpdateTools(1.0f / 60);
        samples = t.SlopeSegment.size();
        benchmark::DoNotOptimize(t.ToolText.data());
    }
    state.counters["samples"] = double(samples);
    state.SetLabel(t.ToolText);
    c.CancelTool();
}
BENCHMARK(BM_SlopeToolHover)->Unit(benchmark::kMicrosecond);

}  // namespace
