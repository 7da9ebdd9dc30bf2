// Every shipped hill offers runs of all three difficulties a short lift ride from its road:
// each run here is drawn with the slope tool from the top of a platter lift back down to its
// bottom, and its sign colour comes from the steepness of the ground it crosses.
#include <gtest/gtest.h>

#include <cmath>

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
// nodes back to its lower station. The places were found by a search over the generated
// levels: straight lines from a start within 58 cells of the road, on free ground, whose
// steepness classes (sampled every half cell) give the wanted colour a clear majority.
struct TRun {
    const char* level;
    uint8_t difficulty;
    TCell lower, upper, node1, node2;
};

const TRun kRuns[] = {
    {"Training", kDifficultyBlue, {80, 282}, {111, 290}, {107, 295}, {81, 289}},
    {"Training", kDifficultyRed, {162, 195}, {170, 203}, {172, 197}, {168, 193}},
    {"Training", kDifficultyBlack, {171, 217}, {177, 207}, {181, 213}, {178, 217}},
    {"Mountain", kDifficultyBlue, {3, 181}, {15, 202}, {19, 196}, {10, 181}},
    {"Mountain", kDifficultyRed, {199, 254}, {189, 260}, {195, 264}, {199, 261}},
    {"Mountain", kDifficultyBlack, {232, 211}, {240, 203}, {234, 201}, {230, 205}},
};

// Distance in cells from a cell to the nearest road cell.
double RoadDistance(TSKIEngine& e, TCell c) {
    double best = 1e9;
    for (int i = 0; i < kGridSize; ++i)
        for (int j = 0; j < kGridSize; ++j)
            if (e.Cell(i, j).Kind == kCellRoad) best = std::min(best, std::hypot(i - c.i, j - c.j));
    return best;
}

TEST(LevelDifficulty, EachHillHasBlueRedAndBlackRunsNearItsRoad) {
    const char* names[] = {"blue", "red", "black"};
    for (const TRun& run : kRuns) {
        SCOPED_TRACE(std::string(run.level) + " " + names[run.difficulty]);
        test::FakeDialogs dialogs;
        TSKIEngine e(TSKIEngineSetup{test::BuildRoot(), 3, &dialogs});
        TSKIToolState tool;
        TSKIConstruction con(e, tool);
        ASSERT_TRUE(LoadLevelFile(e, run.level, false).ok());
        e.Park.ParkCash = 100000;
        EXPECT_LE(RoadDistance(e, run.upper), 60);
        auto done = [&](const TSKIPlayerAction& a) {
            const TSKIActionOutcome o = PerformAction(e, a);
            EXPECT_TRUE(o.Done()) << a.Name << ": " << o.Reason;
            return o.Done();
        };
        ASSERT_TRUE(done(BuildLiftAction(run.lower.i, run.lower.j, run.upper.i, run.upper.j, 0)));
        ASSERT_TRUE(done(SlopeStartAction(con, run.upper.i, run.upper.j)));
        ASSERT_TRUE(done(SlopeNodeAction(con, run.node1.i, run.node1.j)));
        ASSERT_TRUE(done(SlopeNodeAction(con, run.node2.i, run.node2.j)));
        ASSERT_TRUE(done(SlopeFinishAction(con, run.lower.i, run.lower.j)));
        ASSERT_EQ(e.SlopeCount(), 1);
        for (const auto& section : e.Sections) {
            if (section->Kind != kSectionSlope) continue;
            EXPECT_EQ(int(section->Difficulty), int(run.difficulty))
                << "blue " << section->BlueShare << " % red " << section->RedShare << " % black "
                << section->BlackShare << " %";
        }
    }
}

}  // namespace
}  // namespace vallorn
