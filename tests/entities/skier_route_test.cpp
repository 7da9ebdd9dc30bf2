// Route choice: where a skier heads on a cell, which link it picks, and what it decides on
// slopes and stations.
#include <gtest/gtest.h>

#include <cmath>

#include "entities/skier_world.h"

namespace vallorn {
namespace {

class SkierRoute : public test::SkierWorld {
protected:
    // Share of `trials` link choices that pick link number `link` of the skier's cell.
    double ShareOf(TSKISkier& s, int link, int trials, TSKINavLink target = {}) {
        int hits = 0;
        for (int t = 0; t < trials; ++t) {
            s.CurrentTarget = target;
            s.ChooseLink();
            if (s.Preference % s.Cell.NavLinkCount == link) ++hits;
        }
        return double(hits) / trials;
    }
};

TEST_F(SkierRoute, WithoutLinksANearWalkingTargetIsFollowedElseTheNearestLift) {
    const int32_t lift = AddLift(At(110, 100), At(130, 100));
    TerrainCell& cell = E().Cell(100, 100);
    cell.NearestSection = lift;
    cell.WalkTarget = At(100, 110);  // 40 units along +z
    TSKISkier& s = AddSkier(At(100, 100));
    s.CurrentTarget = {lift, 0};
    s.TargetSpeed = s.Speed = 4.0f;
    const float z0 = s.Position.z;
    ASSERT_TRUE(s.Tick(0.1f));
    EXPECT_NEAR(s.Heading.z, 1.0f, 1e-4f);
    EXPECT_NEAR(s.Heading.x, 0.0f, 1e-4f);
    EXPECT_GT(s.Position.z, z0);
    EXPECT_NEAR(s.Position.y, 10.2f, 1e-3f);  // on the ground
    EXPECT_EQ(s.CurrentTarget.Section, -1);

    // 80 units away the target is too far: the skier makes for the lift's first point (-x).
    cell.WalkTarget = At(100, 120);
    s.Position = At(100, 100);
    ASSERT_TRUE(s.Tick(0.1f));
    EXPECT_NEAR(s.Heading.x, -1.0f, 1e-4f);
    EXPECT_NEAR(s.Heading.z, 0.0f, 1e-4f);
}

TEST_F(SkierRoute, TwoLinksAndACurrentTargetKeepTheCourseAboutHalfTheTime) {
    const int32_t slope = AddSlope({At(100, 100), At(110, 100), At(110, 110)});
    SetLinks(100, 100, {{slope, 1}, {slope, 2}});
    TSKISkier& s = AddSkier(At(100, 100));
    s.Cell = E().Cell(100, 100);
    // Without a target each link is drawn half of the time; following link 1, the skier keeps
    // it outright half of the time and draws it in half of the rest.
    EXPECT_NEAR(ShareOf(s, 1, 4000), 0.5, 0.03);
    EXPECT_NEAR(ShareOf(s, 1, 4000, {slope, 2}), 0.75, 0.03);
    EXPECT_NEAR(ShareOf(s, 0, 4000, {slope, 1}), 0.75, 0.03);
}

TEST_F(SkierRoute, TheBusiestWayIsAvoidedHalfOfTheTime) {
    const int32_t busy = AddSlope({At(100, 100), At(110, 100)});
    const int32_t quiet = AddSlope({At(100, 100), At(100, 110)});
    Section(busy).TrafficCount = 50;
    SetLinks(100, 100, {{busy, 1}, {quiet, 1}});
    TSKISkier& s = AddSkier(At(100, 100));
    s.Cell = E().Cell(100, 100);
    EXPECT_NEAR(ShareOf(s, 0, 4000), 0.25, 0.03);
}

TEST_F(SkierRoute, ClosedAndFullGatesAreNeverChosenWhileAnotherWayIsOpen) {
    const int32_t closed = AddLift(At(90, 100), At(80, 100), kLiftClosed);
    const int32_t full = AddLift(At(90, 110), At(80, 110));
    const int32_t slope = AddSlope({At(100, 100), At(110, 100)});
    TSKISkier& blocker = AddSkier(At(90, 110));
    Section(full).QueueSlots[kQueueTail] = &blocker;
    Section(full).QueueLength = 1;
    SetLinks(100, 100, {{closed, kGatePoint}, {slope, 1}, {full, kGatePoint}});
    TSKISkier& s = AddSkier(At(100, 100));
    s.Cell = E().Cell(100, 100);
    EXPECT_EQ(ShareOf(s, 1, 500), 1.0);
    EXPECT_EQ(ShareOf(s, 1, 500, {closed, kGatePoint}), 1.0);  // no keeping an excluded course
}

TEST_F(SkierRoute, WhenEveryLinkIsExcludedOneIsStillPickedAndTheQueueSendsTheSkierBack) {
    const int32_t a = AddLift(At(90, 100), At(80, 100), kLiftClosed);
    const int32_t b = AddLift(At(90, 104), At(80, 104), kLiftClosed);
    SetLinks(100, 100, {{a, kGatePoint}, {b, kGatePoint}});
    TSKISkier& s = AddSkier(At(100, 100));
    s.Cell = E().Cell(100, 100);
    s.ChooseLink();
    EXPECT_LT(s.Preference, 100);

    s.LastLinkCount = 2;
    ASSERT_TRUE(s.Tick(0.05f));
    EXPECT_EQ(s.State, kSkierIdle);
    EXPECT_EQ(s.CurrentTarget.Section, -1);
    EXPECT_EQ(s.CurrentSection, nullptr);
    EXPECT_EQ(Section(a).QueueSlots[kQueueTail], nullptr);
    EXPECT_EQ(Section(b).QueueSlots[kQueueTail], nullptr);
}

TEST_F(SkierRoute, FollowingAGateLinkJoinsThatLiftsLine) {
    const int32_t lift = AddLift(At(90, 100), At(80, 100));
    SetLinks(100, 100, {{lift, kGatePoint}});
    TSKISkier& s = AddSkier(At(100, 100));
    ASSERT_TRUE(s.Tick(0.05f));
    EXPECT_EQ(s.State, kSkierWaiting);
    EXPECT_EQ(s.CurrentSection, &Section(lift));
    EXPECT_EQ(Section(lift).QueueSlots[kQueueTail], &s);
    EXPECT_EQ(s.Preference, 255);  // a single link leaves the choice open for the next cell
}

TEST_F(SkierRoute, ASingleGateLinkToAClosedLiftIsIgnoredOnFoot) {
    const int32_t lift = AddLift(At(90, 100), At(80, 100), kLiftClosed);
    SetLinks(100, 100, {{lift, kGatePoint}});
    E().Cell(100, 100).WalkTarget = At(100, 110);
    TSKISkier& s = AddSkier(At(100, 100));
    ASSERT_TRUE(s.Tick(0.05f));
    EXPECT_EQ(s.State, kSkierIdle);
    EXPECT_EQ(s.CurrentTarget.Section, -1);
    EXPECT_NEAR(s.Heading.z, 1.0f, 1e-4f);  // toward the walking target
}

TEST_F(SkierRoute, DecisionsFollowTheKindOfTheCell) {
    const int32_t slope = AddSlope({At(100, 100), At(110, 100)});
    const int32_t lift = AddLift(At(120, 100), At(140, 100));
    E().Cell(100, 100).Kind = kCellSlope;
    E().Cell(100, 100).Section = slope;
    E().Cell(120, 100).Kind = kCellLiftLower;
    E().Cell(120, 100).Section = lift;
    E().Cell(140, 100).Kind = kCellLiftUpper;
    E().Cell(140, 100).Section = lift;

    TSKISkier& s = AddSkier(At(100, 100));
    s.Decide();
    EXPECT_EQ(s.State, kSkierSkiing);
    EXPECT_EQ(s.TargetSpeed, 6.0f);
    EXPECT_EQ(s.CurrentSection, &Section(slope));
    EXPECT_GE(s.DecisionTimer, 9.0f);
    EXPECT_LT(s.DecisionTimer, 10.0f);

    s.Position = At(120, 100);
    s.Decide();
    EXPECT_EQ(s.State, kSkierWaiting);
    EXPECT_EQ(Section(lift).QueueSlots[kQueueTail], &s);

    // On the lift at the top station: a seated rider waits for its carrier to set it down;
    // its decision there makes it idle, walking off slowly.
    s.LeaveAllQueues();
    s.State = kSkierOnLift;
    s.Position = At(140, 100);
    s.Speed = 0;
    ASSERT_TRUE(s.Tick(0.05f));
    EXPECT_EQ(s.State, kSkierOnLift);
    s.Decide();
    EXPECT_EQ(s.State, kSkierIdle);
    EXPECT_EQ(s.Speed, 1.0f);
    EXPECT_EQ(s.TargetSpeed, 4.0f);
    EXPECT_EQ(s.CurrentSection, nullptr);

    // Leaving and injured skiers only reset their timer.
    s.State = kSkierInjured;
    s.Position = At(100, 100);
    s.Decide();
    EXPECT_EQ(s.State, kSkierInjured);
}

TEST_F(SkierRoute, SkiingCountsTrafficWhenTurningOntoASection) {
    const int32_t slope = AddSlope({At(100, 100), At(105, 100), At(110, 100)});
    SetLinks(100, 100, {{slope, 1}, {slope, 2}});
    E().Cell(100, 100).NaturalSnow = true;
    TSKISkier& s = AddSkier(At(100, 100));
    s.State = kSkierSkiing;
    s.TargetSpeed = s.Speed = 6.0f;
    ASSERT_TRUE(s.Tick(0.02f));
    EXPECT_EQ(s.CurrentTarget.Section, slope);
    EXPECT_EQ(Section(slope).TrafficCount, 1);
    ASSERT_TRUE(s.Tick(0.02f));  // still on the same slope: no new count
    EXPECT_EQ(Section(slope).TrafficCount, 1);
    EXPECT_LT(s.Position.x, At(100, 100).x);  // heading down the slope toward -x
}

}  // namespace
}  // namespace vallorn
