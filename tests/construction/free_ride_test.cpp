// The avatar under the keys at a fixed frame time: friction, the free-skiing speed limit,
// gravity up to the cap, the ride up a lift, and the downhill race's end and record.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "construction/free_ride.h"
#include "construction/tool_world.h"

namespace vallorn {
namespace {

constexpr float kDt = 1.0f / 30;

class FreeRide : public test::ToolWorld {
protected:
    // Puts the avatar on a cell facing `heading` at `speed` and rides.
    void Ride(int i, int j, float heading, float speed) {
        Hover(i, j);
        StartFreeRide(con);
        tool.Avatar.Heading = heading;
        tool.Avatar.Speed = speed;
    }
    // Runs frames, returning the largest forward step of one frame; fails on a backward one.
    float RunFrames(int frames, const TSKIRideKeys& keys) {
        float largest = 0;
        for (int n = 0; n < frames; ++n) {
            const TSKIVector before = tool.Avatar.Position;
            const TSKIVector forward = AvatarForward(tool.Avatar.Heading);
            UpdateRide(con, keys, kDt);
            const TSKIVector moved = tool.Avatar.Position - before;
            const float step = moved.x * forward.x + moved.z * forward.z;
            EXPECT_GE(step, 0.0f) << "frame " << n;
            largest = std::max(largest, step);
        }
        return largest;
    }
};

TEST_F(FreeRide, WithoutKeysOnFlatGroundTheAvatarSlowsToAStopAndNeverReverses) {
    Ride(256, 100, 0, 20);
    UpdateRide(con, {.Ctrl = true}, kDt);  // carving: friction alone
    EXPECT_NEAR(tool.Avatar.Speed, 20 * (1 - kDt), 1e-4f);
    EXPECT_TRUE(tool.Avatar.Visible);
    float previous = tool.Avatar.Speed;
    for (int n = 0; n < 300; ++n) {
        RunFrames(1, {});
        EXPECT_LE(tool.Avatar.Speed, previous);
        EXPECT_GE(tool.Avatar.Speed, 0.0f);
        previous = tool.Avatar.Speed;
    }
    EXPECT_LT(tool.Avatar.Speed, 0.01f);
    EXPECT_EQ(tool.Avatar.Model, TSKIAvatarModel::Walking);
    EXPECT_EQ(tool.Avatar.FrameInterval, 1000000);  // standing
}

// On a slow machine a frame may last a second: the avatar rides it as 30 short frames, the
// same way, rather than losing all its speed to one step of friction.
TEST_F(FreeRide, ASecondLongFrameRidesLikeThirtyShortOnes) {
    Ride(256, 100, 0, 0);
    UpdateRide(con, {.Forward = true, .Ctrl = true}, 1.0f);
    const TSKIAvatar slow = tool.Avatar;
    Ride(256, 100, 0, 0);
    RunFrames(30, {.Forward = true, .Ctrl = true});
    EXPECT_GT(slow.Speed, 15.0f);
    EXPECT_NEAR(slow.Speed, tool.Avatar.Speed, 1e-3f);
    EXPECT_NEAR(slow.Position.z, tool.Avatar.Position.z, 1e-3f);
}

TEST_F(FreeRide, OnFlatGroundOnlyCarvingKeepsMoreThanFifteen) {
    Ride(256, 100, 0, 0);
    EXPECT_LE(RunFrames(600, {.Forward = true}), 15 * kDt + 1e-4f);
    EXPECT_EQ(tool.Avatar.Model, TSKIAvatarModel::Skiing);
    const float carving = RunFrames(300, {.Forward = true, .Ctrl = true});
    EXPECT_GT(carving, 40 * kDt);
    EXPECT_LE(carving, 60 * kDt + 1e-4f);
    EXPECT_EQ(tool.Avatar.Model, TSKIAvatarModel::Tucked);
    // D turns to the right as the view shows it: facing +Z, that is towards -X.
    Ride(256, 100, 0, 10);
    RunFrames(30, {.Right = true});
    EXPECT_LT(tool.Avatar.Position.x, f->CellToWorld(256, 100, false).x - 1);
}

class FreeRideDownhill : public FreeRide {
protected:
    test::TestLevel Level() const override {
        test::TestLevel l;
        // Falls towards +X, 2 a unit, from row 30 down to row 0.
        l.height = [](int i, int) { return 8.0f * float(std::min(i, 30)); };
        l.meshKey = "steep8";
        return l;
    }
};

TEST_F(FreeRideDownhill, GravityTakesTheAvatarUpToTheCapWithoutCarving) {
    Ride(30, 256, 270, 0);  // heading +X, downhill
    EXPECT_NEAR(RunFrames(60, {.Forward = true}), 60 * kDt, 1e-3f);
    // Climbing brakes it hard, whatever the keys.
    tool.Avatar.Heading = 90;
    EXPECT_GT(tool.Avatar.Speed, 15.0f);
    RunFrames(15, {.Forward = true, .Ctrl = true});
    EXPECT_LT(tool.Avatar.Speed, 5.0f);
}

TEST_F(FreeRide, ALiftsLowerStationOffersARideToItsTop) {
    const TSKISection& lift = Lift(100, 100, 100, 160);
    Ride(100, 104, 0, 0);
    EXPECT_EQ(tool.Tool, TSKITool::FreeRide);
    Hover(100, 100);
    EXPECT_EQ(tool.Avatar.HeadUpText, "Left click to take a ride");
    tool.Avatar.Position = f->CellToWorld(100, 120, true);  // too far from the station
    Hover(100, 100);
    EXPECT_EQ(tool.Avatar.HeadUpText, "");
    con.ToolClick();
    EXPECT_EQ(tool.Tool, TSKITool::FreeRide);

    tool.Avatar.Position = f->CellToWorld(100, 104, true);
    tool.Avatar.Speed = 12;
    Hover(100, 100);
    con.ToolClick();
    EXPECT_EQ(tool.Tool, TSKITool::None);  // while the view travels
    EXPECT_TRUE(tool.Avatar.TravelPending);
    EXPECT_EQ(tool.Avatar.Speed, 0.0f);
    int i, j;
    TSKIWorld::WorldToCell(tool.Avatar.Position, i, j);
    EXPECT_LE(std::abs(i - lift.UpperI), 1);
    EXPECT_LE(std::abs(j - lift.UpperJ), 1);
    EndRideTravel(con);
    EXPECT_EQ(tool.Tool, TSKITool::FreeRide);
}

class DownhillRace : public FreeRide {
protected:
    void SetUp() override {
        FreeRide::SetUp();
        f->CreateSlope({f->CellToWorld(200, 200, false) + TSKIVector(0, 0, 0, 3),
                        f->CellToWorld(230, 200, false) + TSKIVector(0, 0, 0, 3),
                        f->CellToWorld(260, 200, false) + TSKIVector(0, 0, 0, 3)});
        f->OnEvaluateObjectives = [this](int building, int liftIndex) {
            evaluations.push_back({building, liftIndex, f->RaceSlope});
        };
    }
    // Starts a race and lets one frame end it at the given time and place.
    void RaceUntil(float seconds, const TSKIVector& at) {
        ASSERT_TRUE(StartRace(con, 0));
        tool.Avatar.Position = at;
        tool.Avatar.RaceTime = seconds - kDt;
        UpdateRide(con, {}, kDt);
    }
    std::vector<std::array<int, 3>> evaluations;  // building, lift, race slope
};

TEST_F(DownhillRace, LeavingTheSlopeDisqualifiesOnlyAfterTenSeconds) {
    ASSERT_TRUE(StartRace(con, 0));
    EXPECT_EQ(tool.Tool, TSKITool::Race);
    EXPECT_EQ(f->RaceSlope, 0);
    EXPECT_NEAR(tool.Avatar.Position.x, f->Sections[0]->Points[1].x, 1e-3f);
    const TSKIVector off = f->CellToWorld(230, 240, true);
    RaceUntil(9, off);
    EXPECT_EQ(tool.Tool, TSKITool::Race);
    EXPECT_EQ(tool.Avatar.HeadUpText, "Race time: 9 seconds Race record: 0 seconds");
    EXPECT_TRUE(f.dialogs.errors.empty());
    RaceUntil(10.05f, off);
    EXPECT_EQ(tool.Tool, TSKITool::None);
    EXPECT_EQ(f->RaceSlope, -1);
    ASSERT_EQ(f.dialogs.errors.size(), 1u);
    EXPECT_EQ(f.dialogs.errors[0], "You were disqualified because you went off the slope!");
    EXPECT_EQ(f->Sections[0]->InvestedMoney, 0);
    // A day change ends a race too: the skier and its text go.
    RaceUntil(3, off);
    ASSERT_FALSE(tool.Avatar.HeadUpText.empty());
    con.LeaveTool();
    Hover(230, 200);
    EXPECT_EQ(tool.Avatar.HeadUpText, "");
    EXPECT_FALSE(tool.Avatar.Visible);
}

TEST_F(DownhillRace, TheFirstFinishSetsTheRecordAndOnlyABetterTimeBeatsIt) {
    const TSKIVector end = f->Sections[0]->Points.back();
    const TSKIVector finish = f->CellToWorld(256, 200, true);  // 16 units before the end
    ASSERT_LT(std::hypot(finish.x - end.x, finish.z - end.z), 20.0f);
    struct Run {
        float seconds;
        const char* message;
        int record;
        size_t evaluations;
    };
    for (const Run& run : {Run{61.6f, "New downhill record: 1 minute, 2 seconds", 62, 0},
                           Run{62.4f, "Race finished. Your time: 1 minute, 2 seconds", 62, 0},
                           Run{30.2f, "New downhill record: 30 seconds", 30, 1}}) {
        RaceUntil(run.seconds, finish);
        EXPECT_EQ(f.dialogs.infos.back(), run.message);
        EXPECT_EQ(f->Sections[0]->InvestedMoney, run.record);
        EXPECT_EQ(evaluations.size(), run.evaluations);
        EXPECT_EQ(tool.Tool, TSKITool::None);
        EXPECT_EQ(tool.Avatar.RaceTime, 0.0f);
    }
    EXPECT_EQ(evaluations[0], (std::array<int, 3>{-2, -1, 0}));  // told while the slope is raced
    // Escape drops a race without a word.
    ASSERT_TRUE(StartRace(con, 0));
    con.ToolKey(kKeyEscape);
    EXPECT_EQ(tool.Tool, TSKITool::None);
    EXPECT_EQ(f.dialogs.infos.size(), 3u);
    EXPECT_FALSE(StartRace(con, 1));  // no such slope
}

}  // namespace
}  // namespace vallorn
