// Every shipped hill offers runs of all three difficulties a short lift ride from its road:
// each run is found on the loaded level, drawn with the slope tool from the top of a platter
// lift back down to its bottom, and its sign colour comes from the steepness of the ground it
// crosses.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "construction/construction.h"
#include "construction/construction_actions.h"
#include "engine/engine.h"
#include "engine/level_file.h"
#include "engine/player_actions.h"
#include "entities/section.h"
#include "support/engine_fixture.h"

namespace vallorn {
namespace {

struct TCell {
    int i, j;
};

// A platter lift from `lower` up to `upper` and a run from its upper station through two
// nodes beside the lift line back down to its lower station.
struct TRun {
    TCell lower, upper, node1, node2;
};

uint8_t SteepnessClass(float steepness) {
    return steepness >= 3 ? kDifficultyBlack : steepness >= 2 ? kDifficultyRed : kDifficultyBlue;
}

// Free ground, no tree, everything within `margin` cells free too.
bool Clear(const TSKIEngine& e, double fi, double fj, int margin) {
    const int i = int(std::lround(fi)), j = int(std::lround(fj));
    for (int a = i - margin; a <= i + margin; ++a) {
        for (int b = j - margin; b <= j + margin; ++b) {
            if (a < 2 || b < 2 || a > kGridSize - 3 || b > kGridSize - 3) return false;
            const TerrainCell& c = e.Cell(a, b);
            if (c.Kind != kCellFree || c.Blocked || c.Tree || c.UnderLift) return false;
        }
    }
    return true;
}

// Calls `visit(i, j)` every half cell along the straight line from `a` to `b` (end excluded);
// stops at the first false.
template <typename Visit>
bool AlongLine(TCell a, TCell b, Visit visit) {
    const double length = std::hypot(b.i - a.i, b.j - a.j);
    const int steps = std::max(1, int(length * 2));
    for (int s = 0; s < steps; ++s) {
        const double t = double(s) / steps;
        if (!visit(a.i + t * (b.i - a.i), a.j + t * (b.j - a.j))) return false;
    }
    return true;
}

// The run of the wanted colour with the clearest majority of that steepness class along it,
// among straight platter lifts (12 to 28 cells, in 16 directions) whose upper station lies
// within `reach` cells of a road cell, each with a run 6 cells to one side of its line. The
// run keeps to the slope tool's rules: no leg climbs, the first and last legs are short
// enough, the inner leg is clear of the lift and anything built.
std::optional<TRun> FindRun(const TSKIEngine& e, uint8_t difficulty, double reach) {
    std::vector<TCell> road;
    for (int i = 0; i < kGridSize; ++i)
        for (int j = 0; j < kGridSize; ++j)
            if (e.Cell(i, j).Kind == kCellRoad) road.push_back({i, j});
    auto nearRoad = [&](TCell c) {
        for (const TCell& r : road)
            if ((r.i - c.i) * (r.i - c.i) + (r.j - c.j) * (r.j - c.j) <= reach * reach) return true;
        return false;
    };
    auto cell = [](double i, double j) { return TCell{int(std::lround(i)), int(std::lround(j))}; };
    auto height = [&](TCell c) { return e.Cell(c.i, c.j).Height; };
    std::optional<TRun> best;
    double bestScore = 0;
    for (int bi = 3; bi < kGridSize - 3; bi += 3) {
        for (int bj = 3; bj < kGridSize - 3; bj += 3) {
            const TCell upper{bi, bj};
            if (!Clear(e, bi, bj, 1) || !nearRoad(upper)) continue;
            for (int d = 0; d < 16; ++d) {
                const double di = std::cos(d * M_PI / 8), dj = std::sin(d * M_PI / 8);
                for (int length = 12; length <= 28; length += 4) {
                    const TCell lower = cell(bi + length * di, bj + length * dj);
                    if (!TSKIEngine::CellInGrid(lower.i, lower.j) ||
                        height(lower) > height(upper) - 8 || !Clear(e, lower.i, lower.j, 1))
                        continue;
                    if (!AlongLine(upper, lower,
                                   [&](double i, double j) { return Clear(e, i, j, 1); }))
                        continue;
                    for (int side : {-1, 1}) {
                        const double oi = -dj * side * 6, oj = di * side * 6;
                        const TRun run{lower, upper, cell(bi + oi + 3 * di, bj + oj + 3 * dj),
                                       cell(lower.i + oi - 3 * di, lower.j + oj - 3 * dj)};
                        const TCell path[] = {run.upper, run.node1, run.node2, run.lower};
                        int count[3] = {0, 0, 0};
                        bool ok = std::hypot(run.node1.i - bi, run.node1.j - bj) < 19 &&
                                  std::hypot(run.node2.i - lower.i, run.node2.j - lower.j) < 19;
                        for (int k = 0; k < 3 && ok; ++k) {
                            const float top = height(path[k]) + 6;  // the tool allows 8
                            ok = AlongLine(path[k], path[k + 1], [&](double i, double j) {
                                const TCell c = cell(i, j);
                                if (!TSKIEngine::CellInGrid(c.i, c.j) || height(c) > top)
                                    return false;
                                if (k == 1 && !Clear(e, i, j, 3)) return false;
                                ++count[SteepnessClass(e.Cell(c.i, c.j).Steepness)];
                                return true;
                            });
                        }
                        if (!ok) continue;
                        int others = 0;
                        for (int k = 0; k < 3; ++k)
                            if (k != difficulty) others = std::max(others, count[k]);
                        const double score =
                            double(count[difficulty] - others) / (count[0] + count[1] + count[2]);
                        if (score > bestScore) bestScore = score, best = run;
                    }
                }
            }
        }
    }
    return best;
}

// Each shipped hill offers runs of every colour whose top a lift from near the road reaches.
class LevelDifficulty : public testing::TestWithParam<std::string> {};

TEST_P(LevelDifficulty, RunsOfEveryColourStartNearTheRoad) {
    test::FakeDialogs dialogs;
    TSKIEngine e(TSKIEngineSetup{test::BuildRoot(), 3, &dialogs});
    TSKIToolState tool;
    TSKIConstruction con(e, tool);
    ASSERT_TRUE(LoadLevelFile(e, GetParam(), false).ok());
    e.Park.ParkCash = 1000000;
    auto done = [&](const TSKIPlayerAction& a) {
        const TSKIActionOutcome o = PerformAction(e, a);
        EXPECT_TRUE(o.Done()) << a.Name << ": " << o.Reason;
        return o.Done();
    };
    for (uint8_t colour : {kDifficultyBlue, kDifficultyRed, kDifficultyBlack}) {
        SCOPED_TRACE("colour " + std::to_string(colour));
        const std::optional<TRun> run = FindRun(e, colour, 60);
        ASSERT_TRUE(run.has_value());
        ASSERT_TRUE(
            done(BuildLiftAction(run->lower.i, run->lower.j, run->upper.i, run->upper.j, 0)));
        ASSERT_TRUE(done(SlopeStartAction(con, run->upper.i, run->upper.j)));
        ASSERT_TRUE(done(SlopeNodeAction(con, run->node1.i, run->node1.j)));
        ASSERT_TRUE(done(SlopeNodeAction(con, run->node2.i, run->node2.j)));
        ASSERT_TRUE(done(SlopeFinishAction(con, run->lower.i, run->lower.j)));
        const TSKISection& slope = *e.Sections.back();
        ASSERT_TRUE(slope.IsSlope());
        EXPECT_EQ(int(slope.Difficulty), int(colour))
            << "blue " << slope.BlueShare << " % red " << slope.RedShare << " % black "
            << slope.BlackShare << " %";
    }
}

INSTANTIATE_TEST_SUITE_P(ShippedHills, LevelDifficulty, testing::Values("Mountain", "Training"));

}  // namespace
}  // namespace vallorn
