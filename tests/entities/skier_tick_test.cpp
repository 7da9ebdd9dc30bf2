// The frame update: speed, going home, animation, obstacle steering, and the pause while
// the engine is busy.
#include <gtest/gtest.h>

#include <cmath>

#include "entities/skier_world.h"

namespace vallorn {
namespace {

using SkierTick = test::SkierWorld;

TEST_F(SkierTick, SpeedRisesByFourAndFallsByEightPerSecondButNeverBelowZero) {
    TSKISkier& s = AddSkier(At(100, 100));
    s.TargetSpeed = 4.0f;
    ASSERT_TRUE(s.Tick(0.25f));
    EXPECT_FLOAT_EQ(s.Speed, 1.0f);
    s.TargetSpeed = 0;
    ASSERT_TRUE(s.Tick(0.1f));
    EXPECT_FLOAT_EQ(s.Speed, 0.2f);
    ASSERT_TRUE(s.Tick(0.1f));
    EXPECT_EQ(s.Speed, 0.0f);
}

TEST_F(SkierTick, ALeavingSkierWalksToTheArrivalPointAndIsThenRemoved) {
    E().ArrivalPoint = At(100, 110);
    TSKISkier& s = AddSkier(At(100, 100), {.Leaving = true});
    ASSERT_EQ(s.State, kSkierLeaving);
    ASSERT_EQ(s.TargetSpeed, 5.0f);
    ASSERT_TRUE(s.Tick(0.1f));
    EXPECT_GE(s.Speed, 1.0f);  // at least walking pace from the start
    EXPECT_GT(s.Position.z, At(100, 100).z);
    int ticks = 0;
    while (s.Tick(0.1f) && ticks < 1000) ++ticks;
    EXPECT_LT(ticks, 1000);
    EXPECT_LT(std::hypot(s.Position.x - E().ArrivalPoint.x, s.Position.z - E().ArrivalPoint.z),
              5.0f + 1e-3f);
}

TEST_F(SkierTick, NothingMovesWhileTheEngineIsBusyOrHalted) {
    E().ArrivalPoint = At(100, 110);
    TSKISkier& s = AddSkier(At(100, 100), {.Leaving = true});
    const TSKIVector start = s.Position;
    E().Busy = true;
    EXPECT_TRUE(s.Tick(0.1f));
    E().Busy = false;
    E().Halted = true;
    EXPECT_TRUE(s.Tick(0.1f));
    EXPECT_EQ(s.Position, start);
    EXPECT_EQ(s.Speed, 0.0f);
}

TEST_F(SkierTick, TheAnimationFollowsStateAndSpeedOnCellsInView) {
    E().Cell(100, 100).InView = true;
    TSKISkier& s = AddSkier(At(100, 100));
    s.State = kSkierInjured;
    ASSERT_TRUE(s.Tick(0.01f));
    EXPECT_EQ(s.Animation, kAnimInjured);

    s.State = kSkierSkiing;
    E().Cell(100, 100).NaturalSnow = true;
    for (auto [speed, animation] :
         {std::pair{6.0f, kAnimSkiingFast}, {2.0f, kAnimSkiingSlow}, {0.2f, kAnimStanding}}) {
        s.Position = At(100, 100);
        s.Speed = s.TargetSpeed = speed + 0.001f;
        ASSERT_TRUE(s.Tick(0.0001f));
        EXPECT_EQ(s.Animation, animation) << "speed " << speed;
    }

    // Out of view the animation is left alone.
    E().Cell(100, 100).InView = false;
    s.State = kSkierInjured;
    s.Position = At(100, 100);
    ASSERT_TRUE(s.Tick(0.01f));
    EXPECT_NE(s.Animation, kAnimInjured);
}

TEST_F(SkierTick, ASeatedCustomerSitsWhereTheBuildingHasSeatingAnimation) {
    E().Cell(100, 104).InView = true;
    TSKIBuildingRecord r;
    r.Type = kBuildCot;
    r.Position = At(100, 104);
    TSKIBuilding& cot = *E().CreateBuilding(r);
    TSKISkier& s = AddSkier(At(100, 104), {.Money = 100});
    bool in = false;
    for (int k = 0; k < 100 && !in; ++k) in = cot.Enter(s);
    ASSERT_TRUE(in);
    s.Position = s.SeatPosition;
    int i, j;
    TSKIEngine::WorldToCell(s.Position, i, j);
    E().Cell(i, j).InView = true;
    ASSERT_TRUE(s.Tick(0.01f));
    EXPECT_EQ(s.TargetSpeed, 0.0f);
    ASSERT_TRUE(s.Tick(0.01f));
    EXPECT_EQ(s.Animation, kAnimSeated);
}

// A skier walking along +z past an obstacle is pushed to the side away from it.
class SkierSteering : public test::SkierWorld {
protected:
    // Walks one tick toward +z and returns the sideways (x) displacement.
    float SidewaysAfterOneStep(TSKISkier& s) {
        const float x0 = s.Position.x;
        EXPECT_TRUE(s.Tick(0.1f));
        EXPECT_NEAR(s.Heading.z, 1.0f, 1e-4f);
        return s.Position.x - x0;
    }
    // A skier at cell (i, j), moved `dx` along x, walking toward a target 40 units ahead.
    TSKISkier& Walker(int i = 100, int j = 100, float dx = 0) {
        const TSKIVector offset(dx, 0, 0, 0);
        E().Cell(i, j).WalkTarget = At(i, j + 10) + offset;
        TSKISkier& s = AddSkier(At(i, j) + offset);
        s.Speed = 4.0f;
        s.TargetSpeed = 5.0f;  // 4.4 after the tick's speed step: a push of 0.44
        return s;
    }
    static constexpr float kPush = 0.44f;
};

TEST_F(SkierSteering, ATreeOnEitherSidePushesTheSkierAway) {
    TerrainCell& cell = E().Cell(100, 100);
    cell.Tree = true;
    cell.TreePosition = At(100, 100) + TSKIVector(-1.5f, 5, 1, 0);  // 1.5 toward -x
    TSKISkier& s = Walker();
    EXPECT_NEAR(SidewaysAfterOneStep(s), kPush, 1e-4f);  // dt x speed toward +x

    cell.TreePosition = At(100, 100) + TSKIVector(1.5f, 5, 1, 0);
    TSKISkier& t = Walker();
    EXPECT_NEAR(SidewaysAfterOneStep(t), -kPush, 1e-4f);

    // Farther than 3 units no push.
    cell.TreePosition = At(100, 100) + TSKIVector(-3.5f, 5, 0, 0);
    TSKISkier& u = Walker();
    EXPECT_NEAR(SidewaysAfterOneStep(u), 0.0f, 1e-5f);
}

TEST_F(SkierSteering, LiftLinesAndBuildingsPushToo) {
    E().Cell(99, 100).Kind = kCellUnderLift;  // cell point 4 units toward +x: too far
    TSKISkier& s = Walker(100, 100, 1.5f);    // 2.5 units from it
    EXPECT_NEAR(SidewaysAfterOneStep(s), -kPush, 1e-4f);

    E().Cell(99, 100).Kind = kCellFree;
    TSKIBuildingRecord r;
    r.Type = kBuildStall;  // size 5
    r.Position = At(101, 103);
    E().CreateBuilding(r);
    TSKISkier& t = Walker(100, 100);  // 12.6 units away
    EXPECT_NEAR(SidewaysAfterOneStep(t), 0.0f, 1e-5f);
    TSKISkier& u = Walker(100, 103);  // 4 units, toward +x of it
    EXPECT_NEAR(SidewaysAfterOneStep(u), kPush, 1e-4f);
}

TEST_F(SkierSteering, AStandingSkierIsNotPushed) {
    TerrainCell& cell = E().Cell(100, 100);
    cell.Tree = true;
    cell.TreePosition = At(100, 100) + TSKIVector(-1.5f, 5, 1, 0);
    TSKISkier& s = AddSkier(At(100, 100));
    s.State = kSkierInjured;
    s.Speed = 6.0f;
    const TSKIVector start = s.Position;
    ASSERT_TRUE(s.Tick(0.1f));
    EXPECT_EQ(s.Position, start);
}

}  // namespace
}  // namespace vallorn
