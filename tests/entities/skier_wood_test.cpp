// A crowd on a narrow blue run through a wood: the trees push the skiers aside and the crowd
// slows them, yet every one of them gets down.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/clock.h"
#include "support/test_level.h"

namespace vallorn {
namespace {

class SkierWood : public ::testing::Test {
protected:
    void SetUp() override {
        test::TestLevel level;
        level.height = test::Ramp;  // downhill toward row 0
        level.meshKey = "ramp";
        std::string row(kGridSize, '1');                      // natural snow
        for (int j = 70; j < 130; ++j) row[size_t(j)] = '3';  // and a tree
        for (int i = 60; i < 200; ++i) level.rows[i] = row;
        const TSKILevelLoadResult r = f.WriteAndLoad(level);
        ASSERT_TRUE(r.ok()) << r.error;
    }
    TSKIVector At(int i, int j, float width = 3) {
        TSKIVector p = f->CellToWorld(i, j, false);
        p.y = f->Cell(i, j).Height;
        p.w = width;
        return p;
    }
    test::LevelFixture f;
};

TEST_F(SkierWood, EverySkierOfACrowdGetsDownANarrowRunThroughTrees) {
    TSKIEngine& e = *f;
    const std::vector<TSKIVector> path = {At(180, 100), At(160, 106), At(140, 96),
                                          At(120, 104), At(100, 98),  At(85, 100)};
    ASSERT_NE(e.CreateSlope(path), nullptr);
    e.RebuildNavigation(false);
    e.Park.ParkSandboxDiff = kSandboxDiffUnlimited;  // nobody leaves
    e.Park.ParkSpeed = 4;

    // A skier sets off from the top every two seconds, as from a busy lift; each must cross
    // the bottom of the run within ten minutes (a lone skier takes about four).
    constexpr int kSkiers = 120;
    constexpr float kBound = 600.0f;
    const float bottom = path.back().x - 3 * kCellSize;
    std::vector<float> start, down;
    float t = 0;
    for (int frame = 0; t < kSkiers * 2.0f + kBound; ++frame) {
        if (frame % 15 == 0 && start.size() < kSkiers) {
            TSKISkierRecord r;
            r.Money = 1000;
            r.Happiness = r.Cold = r.Energy = r.Hunger = 90;
            r.Position = At(178, 98 + int(start.size() % 5));
            e.Skiers.push_back(std::make_unique<TSKISkier>(e, r));
            e.Skiers.back()->Decide();
            start.push_back(t);
            down.push_back(-1);
        }
        e.Park.ParkAccidentCooldown = 100;  // no falls: only the way down is looked at
        OnProgress(e, 1.0 / 30.0);
        t += 4.0f / 30.0f;
        ASSERT_EQ(e.Skiers.size(), start.size());
        for (size_t k = 0; k < start.size(); ++k) {
            if (down[k] < 0 && e.Skiers[k]->Position.x > bottom) down[k] = t;
        }
    }
    int late = 0;
    for (size_t k = 0; k < start.size(); ++k) {
        if (down[k] < 0 || down[k] - start[k] > kBound) ++late;
    }
    EXPECT_EQ(late, 0) << "of " << kSkiers << " skiers";
}

}  // namespace
}  // namespace vallorn
