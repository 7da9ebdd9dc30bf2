// Lift lines: joining at the tail, moving up, leaving a closed lift, changing to a shorter
// line, giving up on full lines, and boarding the carrier at the loading point.
#include <gtest/gtest.h>

#include <cmath>

#include "entities/skier_world.h"

namespace vallorn {
namespace {

class SkierQueue : public test::SkierWorld {
protected:
    // A skier standing at place `index` of the lift's line.
    TSKISkier& Queued(int32_t lift, uint8_t index) {
        TSKISection& l = Section(lift);
        TSKISkier& s = AddSkier(l.QueuePositions[index]);
        s.State = kSkierWaiting;
        s.CurrentSection = &l;
        s.QueueIndex = index;
        s.QueueCheckTimer = 100;
        l.QueueSlots[index] = &s;
        return s;
    }
};

TEST_F(SkierQueue, JoiningTakesTheTailOfAnOpenLiftOnly) {
    const int32_t lift = AddLift(At(100, 100), At(80, 100));
    TSKISkier& s = AddSkier(At(100, 90));
    s.QueueCheckTimer = 0.7f;
    s.JoinQueue(&Section(lift));
    EXPECT_EQ(s.State, kSkierWaiting);
    EXPECT_EQ(s.CurrentSection, &Section(lift));
    EXPECT_EQ(s.QueueIndex, kQueueTail);
    EXPECT_EQ(Section(lift).QueueSlots[kQueueTail], &s);
    EXPECT_EQ(s.LiftType, 3);
    EXPECT_EQ(s.TargetSpeed, 6.0f);
    EXPECT_EQ(s.QueueCheckTimer, 0.0f);

    // The tail is taken: the next one turns away.
    TSKISkier& late = AddSkier(At(100, 90));
    late.CurrentTarget = {lift, kGatePoint};
    late.JoinQueue(&Section(lift));
    EXPECT_EQ(late.State, kSkierIdle);
    EXPECT_EQ(late.TargetSpeed, 4.0f);
    EXPECT_EQ(late.CurrentSection, nullptr);
    EXPECT_EQ(late.CurrentTarget.Section, -1);

    // A closed lift and a slope take nobody; riders, customers and the injured stay put.
    const int32_t closed = AddLift(At(100, 120), At(80, 120), kLiftClosed);
    TSKISkier& other = AddSkier(At(100, 110));
    other.JoinQueue(&Section(closed));
    EXPECT_EQ(other.State, kSkierIdle);
    EXPECT_EQ(Section(closed).QueueSlots[kQueueTail], nullptr);
    const int32_t slope = AddSlope({At(100, 110), At(110, 110)});
    other.State = kSkierSkiing;
    other.JoinQueue(&Section(slope));
    EXPECT_EQ(other.State, kSkierSkiing);
    Section(lift).QueueSlots[kQueueTail] = nullptr;
    for (uint8_t busy : {kSkierOnLift, kSkierInBuilding, kSkierLeaving, kSkierInjured}) {
        other.State = busy;
        other.JoinQueue(&Section(lift));
        EXPECT_EQ(other.State, busy);
        EXPECT_EQ(Section(lift).QueueSlots[kQueueTail], nullptr);
    }
}

TEST_F(SkierQueue, AWaitingSkierMovesUpOnePlacePerTickUntilThePlaceAheadIsTaken) {
    const int32_t lift = AddLift(At(100, 100), At(80, 100));
    TSKISection& l = Section(lift);
    TSKISkier& ahead = Queued(lift, 60);
    ahead.State = kSkierWaiting;
    TSKISkier& s = AddSkier(l.QueuePositions[kQueueTail]);
    s.JoinQueue(&l);
    s.QueueCheckTimer = 100;
    ASSERT_TRUE(s.Tick(0.01f));
    EXPECT_EQ(s.QueueIndex, 63);
    EXPECT_EQ(l.QueueSlots[63], &s);
    EXPECT_EQ(l.QueueSlots[kQueueTail], nullptr);
    ASSERT_TRUE(s.Tick(0.01f));
    ASSERT_TRUE(s.Tick(0.01f));
    EXPECT_EQ(s.QueueIndex, 61);
    ASSERT_TRUE(s.Tick(0.01f));
    EXPECT_EQ(s.QueueIndex, 61);  // 60 is taken
    int holding = 0;
    for (TSKISkier* slot : l.QueueSlots) holding += slot == &s;
    EXPECT_EQ(holding, 1);
}

TEST_F(SkierQueue, AWaitingSkierWalksToItsPlaceAndStopsThere) {
    const int32_t lift = AddLift(At(100, 100), At(80, 100));
    TSKISection& l = Section(lift);
    Queued(lift, 9);  // keeps the skier behind it at place 10
    TSKISkier& s = Queued(lift, 10);
    s.Position = l.QueuePositions[10] + TSKIVector(0, 0, 10, 0);
    s.Speed = 6.0f;
    ASSERT_TRUE(s.Tick(0.1f));
    EXPECT_EQ(s.TargetSpeed, 6.0f);
    EXPECT_LT(s.Position.z, l.QueuePositions[10].z + 10.0f);
    // Within the tolerance (10 / 8 + 1 units) it stands still.
    s.Position = l.QueuePositions[10] + TSKIVector(0, 0, 2.0f, 0);
    ASSERT_TRUE(s.Tick(0.1f));
    EXPECT_EQ(s.Speed, 0.0f);
    EXPECT_EQ(s.TargetSpeed, 0.0f);
}

TEST_F(SkierQueue, AClosedLiftSendsItsWaitingSkiersBackToIdle) {
    const int32_t lift = AddLift(At(100, 100), At(80, 100));
    TSKISection& l = Section(lift);
    TSKISkier& s = Queued(lift, 10);
    l.Status = kLiftClosed;
    ASSERT_TRUE(s.Tick(0.05f));
    EXPECT_EQ(s.State, kSkierIdle);
    EXPECT_EQ(s.QueueIndex, kQueueTail);
    EXPECT_EQ(l.QueueSlots[10], nullptr);
    EXPECT_GE(s.DecisionTimer, 9.0f);  // it decided at once

    // A lift that is gone: the skier decides again too.
    TSKISkier& lost = AddSkier(At(100, 110));
    lost.State = kSkierWaiting;
    lost.QueueIndex = 5;
    ASSERT_TRUE(lost.Tick(0.05f));
    EXPECT_EQ(lost.State, kSkierIdle);
    EXPECT_EQ(lost.QueueIndex, kQueueTail);
}

TEST_F(SkierQueue, SwitchingOnlyWhenStuckAndTheOtherLineIsShorter) {
    const int32_t a = AddLift(At(100, 100), At(80, 100));
    const int32_t b = AddLift(At(100, 130), At(80, 130));
    TSKISection& la = Section(a);
    TSKISection& lb = Section(b);
    TSKISkier& s = Queued(a, 20);
    SetLinks(100, 105, {{a, kGatePoint}, {b, kGatePoint}});
    s.Cell = E().Cell(100, 105);
    lb.QueueLength = 5;

    // The place ahead is free: the line moves, the skier stays.
    s.SwitchQueue();
    EXPECT_EQ(s.CurrentSection, &la);
    EXPECT_EQ(s.QueueCheckTimer, 1.0f);

    // Stuck behind someone, the other line at 20 is not shorter.
    Queued(a, 19);
    lb.QueueLength = 20;
    s.SwitchQueue();
    EXPECT_EQ(s.CurrentSection, &la);

    // A closed neighbour does not count either.
    lb.QueueLength = 5;
    lb.Status = kLiftClosed;
    s.SwitchQueue();
    EXPECT_EQ(s.CurrentSection, &la);

    lb.Status = kLiftOpen;
    s.SwitchQueue();
    EXPECT_EQ(s.State, kSkierWaiting);
    EXPECT_EQ(s.CurrentSection, &lb);
    EXPECT_EQ(s.QueueIndex, kQueueTail);
    EXPECT_EQ(lb.QueueSlots[kQueueTail], &s);
    EXPECT_EQ(la.QueueSlots[20], nullptr);
    EXPECT_EQ(s.CurrentTarget.Section, b);
    EXPECT_EQ(s.CurrentTarget.Point, kGatePoint);
}

TEST_F(SkierQueue, NearTheBoardingRowOrWithOneLinkNobodySwitches) {
    const int32_t a = AddLift(At(100, 100), At(80, 100));
    const int32_t b = AddLift(At(100, 130), At(80, 130));
    Queued(a, 7);
    TSKISkier& s = Queued(a, 8);  // capacity 4 + 5 = 9: too close to the gate
    SetLinks(100, 105, {{a, kGatePoint}, {b, kGatePoint}});
    s.Cell = E().Cell(100, 105);
    s.SwitchQueue();
    EXPECT_EQ(s.CurrentSection, &Section(a));

    TSKISkier& far = Queued(a, 30);
    Queued(a, 29);
    SetLinks(100, 106, {{b, kGatePoint}});
    far.Cell = E().Cell(100, 106);
    far.SwitchQueue();
    EXPECT_EQ(far.CurrentSection, &Section(a));
}

// Full lines that keep turning a skier away wear out its patience: then it chooses again and
// never goes home for it: a service it wants, else the nearest other lift with room, else it
// stays and tries the lines again. A skier who gets a place in time queues on.
TEST_F(SkierQueue, ASkierTurnedAwayByFullLinesChoosesAgainAfterItsPatience) {
    const int32_t lift = AddLift(At(100, 100), At(80, 100));
    const int32_t other = AddLift(At(100, 130), At(80, 130));
    TSKISection& l = Section(lift);
    TSKISection& o = Section(other);
    TSKISkier& blocker = Queued(lift, kQueueTail);
    for (int i = 98; i <= 102; ++i)
        for (int j = 86; j <= 104; ++j) SetLinks(i, j, {{lift, kGatePoint}});
    auto turnedAway = [&](float hunger = 50) -> TSKISkier& {
        TSKISkier& s = AddSkier(At(100, 90), {.Money = 500});
        s.Happiness = s.Cold = s.Energy = 50;
        s.Hunger = hunger;
        s.CurrentTarget = {lift, kGatePoint};
        return s;
    };
    auto run = [](std::initializer_list<TSKISkier*> skiers, float seconds) {
        for (float t = 0; t < seconds; t += 0.5f)
            for (TSKISkier* s : skiers) EXPECT_TRUE(s->Tick(0.5f));
    };
    const TSKIParkData& park = E().Park;
    TSKISkier& patient = turnedAway();
    TSKISkier& lucky = turnedAway();
    run({&patient, &lucky}, kQueuePatience - 1);
    EXPECT_EQ(patient.State, kSkierIdle);
    EXPECT_FLOAT_EQ(patient.TurnedAwayTime, kQueuePatience - 1);

    // The line moves up one place: the tail goes to one of them; the other gives up on it and
    // walks over to the other lift, 120 units away, where it queues.
    l.QueueSlots[kQueueTail - 1] = &blocker;
    l.QueueSlots[kQueueTail] = nullptr;
    run({&lucky, &patient}, 2);
    EXPECT_EQ(lucky.State, kSkierWaiting);
    EXPECT_EQ(lucky.TurnedAwayTime, 0.0f);
    EXPECT_EQ(patient.State, kSkierIdle);
    EXPECT_EQ(patient.Detour, &o);
    run({&patient}, 60);
    EXPECT_EQ(patient.State, kSkierWaiting);
    EXPECT_EQ(patient.CurrentSection, &o);
    EXPECT_EQ(o.QueueSlots[patient.QueueIndex], &patient);

    // A hungry skier with a stall at hand goes to eat instead.
    E().CreateBuilding({.Type = kBuildStall, .ServicePrice = 6, .Position = At(100, 95)});
    TSKISkier& hungry = turnedAway(-50);
    run({&hungry}, kQueuePatience + 1);
    EXPECT_EQ(hungry.State, kSkierInBuilding);

    // With every line full the skier stays, however long, in the unlimited sandbox as in any
    // other game, and takes the first place that comes free.
    for (bool unlimited : {false, true}) {
        E().Park.ParkSandboxDiff = unlimited ? kSandboxDiffUnlimited : 1;
        o.QueueSlots[kQueueTail] = &blocker;
        l.QueueSlots[kQueueTail] = &blocker;
        TSKISkier& stays = turnedAway();
        run({&stays}, 3 * kQueuePatience);
        EXPECT_EQ(stays.State, kSkierIdle) << unlimited;
        EXPECT_LT(std::hypot(stays.Position.x - At(100, 100).x, stays.Position.z - At(100, 100).z),
                  4 * kCellSize)
            << unlimited;
        l.QueueSlots[kQueueTail] = nullptr;
        run({&stays}, 1);
        EXPECT_EQ(stays.State, kSkierWaiting) << unlimited;
        EXPECT_EQ(l.QueueSlots[stays.QueueIndex], &stays) << unlimited;
        stays.LeaveAllQueues();
        stays.State = kSkierInjured;
    }
    EXPECT_EQ(park.ParkLeftBecauseUnhappy, 0);
    EXPECT_EQ(park.ParkRatingLeftUnhappy, 0);
}

class SkierBoarding : public SkierQueue {
protected:
    void SetUp() override {
        SkierQueue::SetUp();
        lift = AddLift(At(100, 100), At(80, 100));
        TSKISection& l = Section(lift);
        l.TicketPrice = 10;
        l.Carriers.push_back(std::make_unique<TSKIGondole>(l));
        l.LoadingCarrier = l.Carriers.back().get();
    }
    int32_t lift = -1;
};

TEST_F(SkierBoarding, ASkierInTheBoardingRowBoardsTheLoadingCarrierAndPays) {
    TSKISection& l = Section(lift);
    TSKISkier& s = Queued(lift, 0);
    s.Money = 100;
    s.SpendingLimit = 50;
    const int32_t cash = E().Park.ParkCash;
    ASSERT_TRUE(s.Tick(0.05f));
    EXPECT_EQ(s.State, kSkierOnLift);
    EXPECT_EQ(s.QueueIndex, kQueueTail);
    EXPECT_EQ(l.QueueSlots[0], nullptr);
    EXPECT_EQ(s.Money, 90);
    EXPECT_EQ(E().Park.ParkCash, cash + 10);
    EXPECT_EQ(l.LoadingCarrier->RiderCount, 1);
    EXPECT_EQ(l.LoadingCarrier->Riders[0], &s);
    EXPECT_EQ(s.CurrentSection, &l);
}

TEST_F(SkierBoarding, BehindTheBoardingRowOrWithoutACarrierNobodyBoards) {
    TSKISection& l = Section(lift);
    TSKISkier& back = Queued(lift, 5);  // capacity 4: places 0..3 board
    back.Money = 100;
    Queued(lift, 4);
    ASSERT_TRUE(back.Tick(0.05f));
    EXPECT_EQ(back.State, kSkierWaiting);
    EXPECT_EQ(l.LoadingCarrier->RiderCount, 0);

    l.LoadingCarrier = nullptr;
    TSKISkier& front = Queued(lift, 1);
    front.Money = 100;
    ASSERT_TRUE(front.Tick(0.05f));
    EXPECT_EQ(front.State, kSkierWaiting);
    EXPECT_EQ(front.QueueIndex, 0);  // moved up instead
}

TEST_F(SkierBoarding, ASkierRefusedForThePriceGivesUpTheRowAndGoesHomeUnhappy) {
    TSKISection& l = Section(lift);
    TSKISkier& s = Queued(lift, 0);
    s.Money = 100;
    s.SpendingLimit = 0;  // any price is too dear
    s.Happiness = -95.0f;
    ASSERT_TRUE(s.Tick(0.05f));
    EXPECT_NE(l.QueueSlots[0], &s);
    EXPECT_EQ(s.State, kSkierLeaving);
    EXPECT_EQ(E().Park.ParkLeftBecauseUnhappy, 1);
    EXPECT_EQ(s.Money, 100);
    EXPECT_LT(s.Happiness, -100.0f);
}

}  // namespace
}  // namespace vallorn
