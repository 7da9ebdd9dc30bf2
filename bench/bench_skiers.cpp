// Skier crowds on the shipped Mountain: one frame of the entity update at speed 4 and one
// periodic game tick, with 1,000 and 10,000 skiers spread over a small network (a parking
// lot, a quad chairlift, two slopes and a restaurant), and the memory a skier takes.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "engine/clock.h"
#include "engine/engine.h"
#include "engine/level_file.h"

namespace {

using namespace vallorn;

constexpr float kFrameStep = 4.0f / 30.0f;  // one frame at 30 frames a second, speed 4

bool FlatFree(const TSKIEngine& e, int i, int j, int radius, float step) {
    for (int a = i - radius; a <= i + radius; ++a) {
        for (int b = j - radius; b <= j + radius; ++b) {
            if (a < 2 || b < 2 || a > kGridSize - 3 || b > kGridSize - 3) return false;
            const TerrainCell& c = e.Cell(a, b);
            if (c.Kind != kCellFree || c.Blocked) return false;
            if (std::fabs(c.Height - e.Cell(i, j).Height) > step) return false;
        }
    }
    return true;
}

bool ClearLine(const TSKIEngine& e, int i0, int j0, int i1, int j1) {
    const int steps = std::max(std::abs(i1 - i0), std::abs(j1 - j0)) + 1;
    for (int k = 0; k <= steps; ++k) {
        const float t = float(k) / float(steps);
        if (!FlatFree(e, int(std::lround(i0 + t * (i1 - i0))), int(std::lround(j0 + t * (j1 - j0))),
                      0, 1e9f)) {
            return false;
        }
    }
    return true;
}

TSKIVector Node(const TSKIEngine& e, int i, int j, float width) {
    TSKIVector p = e.CellToWorld(i, j, false);
    p.y = e.Cell(i, j).Height;
    p.w = width;
    return p;
}

TSKIBuilding* PlaceNear(TSKIEngine& e, uint8_t type, int ci, int cj) {
    for (int d = 3; d < 30; ++d) {
        for (int a = ci - d; a <= ci + d; ++a) {
            for (int b = cj - d; b <= cj + d; ++b) {
                if (std::max(std::abs(a - ci), std::abs(b - cj)) != d) continue;
                if (!FlatFree(e, a, b, 2, 3.0f)) continue;
                TSKIBuildingRecord r;
                r.Type = type;
                r.ServicePrice = uint16_t(e.Params.Buildings[type].ServiceCost);
                r.Position = e.CellToWorld(a, b, true);
                return e.CreateBuilding(r);
            }
        }
    }
    return nullptr;
}

// The network: a parking lot at the inner end of the road, a quad chairlift climbing from
// near it, two slopes from its top back down on either side and a self-service restaurant by
// the bottom station.
bool BuildNetwork(TSKIEngine& e) {
    int ri = -1, rj = -1, depth = -1;
    for (int i = 0; i < kGridSize; ++i) {
        for (int j = 0; j < kGridSize; ++j) {
            if (e.Cell(i, j).Kind != kCellRoad) continue;
            const int d = std::min({i, j, kGridSize - 1 - i, kGridSize - 1 - j});
            if (d > depth) depth = d, ri = i, rj = j;
        }
    }
    if (depth < 0) return false;
    TSKIBuilding* parking = PlaceNear(e, kBuildParking, ri, rj);
    if (!parking) return false;

    const TSKILiftParams& quad = e.Params.Lifts[3];
    const int reach = int(quad.MaxLength / kCellSize) - 1;
    int best[4] = {-1, -1, -1, -1};
    float bestScore = -1e9f;
    for (int a0 = parking->CellI - 16; a0 <= parking->CellI + 16; a0 += 2) {
        for (int b0 = parking->CellJ - 16; b0 <= parking->CellJ + 16; b0 += 2) {
            if (!FlatFree(e, a0, b0, 2, 2.0f)) continue;
            for (int a1 = a0 - reach; a1 <= a0 + reach; a1 += 3) {
                for (int b1 = b0 - reach; b1 <= b0 + reach; b1 += 3) {
                    const float cells = std::hypot(float(a1 - a0), float(b1 - b0));
                    if (cells > float(reach) || cells < 20) continue;
                    if (!FlatFree(e, a1, b1, 2, 2.5f)) continue;
                    const float rise = e.Cell(a1, b1).Height - e.Cell(a0, b0).Height;
                    if (rise < 40) continue;
                    const float score = -std::fabs(rise / (cells * kCellSize) - 0.3f);
                    if (score > bestScore && ClearLine(e, a0, b0, a1, b1)) {
                        bestScore = score;
                        best[0] = a0, best[1] = b0, best[2] = a1, best[3] = b1;
                    }
                }
            }
        }
    }
    if (best[0] < 0) return false;
    TSKILiftRecord record;
    record.LiftType = 3;
    record.TicketPrice = uint16_t(quad.DefaultPrice);
    if (!e.CreateLift(best[0], best[1], best[2], best[3], record)) return false;

    const float di = float(best[2] - best[0]), dj = float(best[3] - best[1]);
    const float len = std::hypot(di, dj);
    for (float side : {9.0f, -9.0f}) {
        std::vector<TSKIVector> nodes;
        for (int m = 0; m <= 6; ++m) {
            const float t = float(m) / 6.0f;
            const float bow =
                std::sin(t * 3.14159265f) * side + (m == 0 || m == 6 ? side * 0.4f : 0);
            const int i = int(std::lround(best[2] - t * di - dj / len * bow));
            const int j = int(std::lround(best[3] - t * dj + di / len * bow));
            nodes.push_back(
                Node(e, std::clamp(i, 1, kGridSize - 2), std::clamp(j, 1, kGridSize - 2), 7));
        }
        if (!e.CreateSlope(nodes)) return false;
    }
    if (!PlaceNear(e, kBuildSelfService, best[0], best[1])) return false;
    e.RebuildNavigation();
    return true;
}

// A Mountain with the network and `count` skiers: most along the slopes (skiing), the rest
// around the bottom station and the parking lot (walking to the lift, queuing). Every cell
// counts as drawn, so the animation work is included.
std::unique_ptr<TSKIEngine> Crowd(int count) {
    TSKIEngineSetup setup;
    setup.Root = VALLORN_BUILD_ROOT;
    setup.Seed = 1;
    auto e = std::make_unique<TSKIEngine>(setup);
    if (!LoadLevelFile(*e, "Mountain", false).ok() || !BuildNetwork(*e)) {
        std::fprintf(stderr, "cannot build the network on Mountain\n");
        std::exit(1);
    }
    for (TerrainCell& c : e->Grid) c.InView = true;
    std::vector<const TSKISection*> slopes;
    const TSKISection* lift = nullptr;
    for (const auto& s : e->Sections) {
        if (s->IsSlope()) slopes.push_back(s.get());
        if (s->IsLift()) lift = s.get();
    }
    TSKIRandom& rng = e->Rng;
    for (int k = 0; k < count; ++k) {
        TSKISkierRecord r;
        r.Money = 1000000 + rng.Range(0, 300);  // nobody leaves for want of money
        r.SpendingLimit = 5 + rng.Range(0, 20);
        r.Skill = float(0.25 + 0.5 * rng.Uniform());
        if (k % 5 != 0) {
            const TSKISection& s = *slopes[size_t(k) % slopes.size()];
            const auto& line = s.DetailLine.empty() ? s.Points : s.DetailLine;
            r.Position = line[size_t(rng.Below(int(line.size())))];
        } else {
            r.Position = lift->Points.front();
        }
        r.Position.x += float(rng.Between(-6, 6));
        r.Position.z += float(rng.Between(-6, 6));
        r.Position.y = e->GroundHeight(r.Position) + kStandHeight;
        r.Position.w = 1;
        e->Skiers.push_back(std::make_unique<TSKISkier>(*e, r));
        e->Skiers.back()->Decide();
    }
    e->Park.ParkSpeed = 4;
    // The crowd stays whole: in the unlimited mode nobody leaves unhappy or dies.
    e->Park.ParkSandboxDiff = kSandboxDiffUnlimited;
    UpdateCrowdCounters(*e);
    // Settle: a few seconds of play so that lines form and carriers fill.
    for (int f = 0; f < 60; ++f) UpdateEntities(*e, kFrameStep);
    return e;
}

void Report(benchmark::State& state, const TSKIEngine& e) {
    state.counters["skiers"] = double(e.Skiers.size());
    int skiing = 0, waiting = 0, riding = 0;
    for (const auto& s : e.Skiers) {
        skiing += s->State == kSkierSkiing;
        waiting += s->State == kSkierWaiting;
        riding += s->State == kSkierOnLift;
    }
    state.counters["skiing"] = skiing;
    state.counters["waiting"] = waiting;
    state.counters["on_lift"] = riding;
    // Each skier is one heap object held by a pointer in the engine's list.
    state.counters["bytes_per_skier"] = double(sizeof(TSKISkier) + sizeof(void*));
}

void BM_SkierFrame(benchmark::State& state) {
    auto e = Crowd(int(state.range(0)));
    for (auto _ : state) UpdateEntities(*e, kFrameStep);
    Report(state, *e);
}
BENCHMARK(BM_SkierFrame)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_SkierPeriodicTick(benchmark::State& state) {
    auto e = Crowd(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        e->Park.ParkTime = 100;  // stay within the first day: no day change
        state.ResumeTiming();
        PeriodicTick(*e);
    }
    Report(state, *e);
}
// A fixed number of ticks: without the frame update nobody is rescued or reaches home, so a
// long run would thin the crowd by accidents alone.
BENCHMARK(BM_SkierPeriodicTick)
    ->Arg(1000)
    ->Arg(10000)
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The skiers' own share of the frame and of the tick: Tick and Periodic alone.
void BM_SkierTickOnly(benchmark::State& state) {
    auto e = Crowd(int(state.range(0)));
    for (auto _ : state) {
        for (size_t k = e->Skiers.size(); k-- > 0;) {
            if (!e->Skiers[k]->Tick(kFrameStep)) SkierDeparts(*e, k);
        }
        CompactSkiers(*e);
    }
    Report(state, *e);
}
BENCHMARK(BM_SkierTickOnly)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_SkierPeriodicOnly(benchmark::State& state) {
    auto e = Crowd(int(state.range(0)));
    for (auto _ : state) {
        for (size_t k = e->Skiers.size(); k-- > 0;) {
            if (!e->Skiers[k]->Periodic()) SkierDeparts(*e, k);
        }
        CompactSkiers(*e);
    }
    Report(state, *e);
}
BENCHMARK(BM_SkierPeriodicOnly)
    ->Arg(10000)
    ->Iterations(200)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Half of a crowd leaving in one pass (as unhappy skiers do at the day change): the time
// grows with the crowd, not with its square.
template <bool OneByOne>
void BM_SkiersLeave(benchmark::State& state) {
    auto e = Crowd(0);
    const int count = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        e->Skiers.clear();
        for (int k = 0; k < count; ++k) {
            TSKISkierRecord r;
            r.Position = e->ArrivalPoint;
            e->Skiers.push_back(std::make_unique<TSKISkier>(*e, r));
        }
        state.ResumeTiming();
        if (OneByOne) {  // each closing its gap at once, as every departure once did
            for (size_t k = e->Skiers.size() & ~size_t(1); k > 0; k -= 2) RemoveSkier(*e, k - 2);
        } else {
            for (size_t k = 0; k < e->Skiers.size(); k += 2) SkierDeparts(*e, k);
            CompactSkiers(*e);
        }
    }
    state.counters["left"] = double(count - int(e->Skiers.size()));
}
BENCHMARK(BM_SkiersLeave<false>)
    ->Name("BM_SkiersLeaveAtOnce")
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_SkiersLeave<true>)
    ->Name("BM_SkiersLeaveOneByOne")
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true);

}  // namespace
