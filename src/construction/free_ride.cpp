// The avatar's frame update, the ride up a lift and the downhill race.
#include "construction/free_ride.h"

#include <algorithm>
#include <cmath>

#include "base/number_format.h"
#include "construction/construction.h"

namespace vallorn {
namespace {

constexpr float kDegrees = 3.14159265358979f / 180.0f;

bool OnTheSlope(uint8_t kind) {
    return kind == kCellSlope || kind == kCellSlopeCentre;
}

bool Obstacle(uint8_t kind) {
    return kind == kCellLiftLower || kind == kCellLiftUpper || kind == kCellBuilding;
}

void EndRace(TSKIConstruction& tools) {
    tools.State.Tool = TSKITool::None;
    tools.Engine.RaceSlope = -1;
    tools.State.Avatar.RaceTime = 0;
    tools.State.Avatar.HeadUpText.clear();
}

void FinishRace(TSKIConstruction& tools, TSKISection& slope) {
    TSKIEngine& e = tools.Engine;
    const int32_t t = int32_t(std::lround(tools.State.Avatar.RaceTime));
    if (slope.InvestedMoney == 0) {
        e.Dialogs->ShowInformation("New downhill record: " + FormatDuration(t));
        slope.InvestedMoney = t;
    } else if (slope.InvestedMoney > t) {
        e.Dialogs->ShowInformation("New downhill record: " + FormatDuration(t));
        if (e.OnEvaluateObjectives) e.OnEvaluateObjectives(-2, -1);
        slope.InvestedMoney = t;
    } else {
        e.Dialogs->ShowInformation("Race finished. Your time: " + FormatDuration(t));
    }
    EndRace(tools);
}

// Step 10: which model shows and how fast it plays.
void ChooseModel(TSKIAvatar& a, bool forward, float dt) {
    a.CycleClock += dt;
    const bool cycleStart = a.CycleClock >= kSkiCycleSeconds;
    if (cycleStart) a.CycleClock = std::fmod(a.CycleClock, kSkiCycleSeconds);
    // The skiing model finishes its cycle before another model takes over.
    if (a.Model != TSKIAvatarModel::Skiing || cycleStart) {
        a.Model = a.Speed < kAvatarWalkBelow  ? TSKIAvatarModel::Walking
                  : a.Speed < kAvatarTuckFrom ? TSKIAvatarModel::Skiing
                                              : TSKIAvatarModel::Tucked;
    }
    if (a.Model == TSKIAvatarModel::Walking)
        a.FrameInterval = forward ? 100 : 1000000;
    else if (a.Model == TSKIAvatarModel::Skiing)
        a.FrameInterval = 120 - int32_t(std::lround(a.Speed * 5));
}

// Step 11: the chase camera keeps above the ground behind the avatar.
void FollowCamera(const TSKIEngine& e, TSKIAvatar& a, float dt) {
    const float ground = e.GroundHeight(ChaseCameraPosition(a));
    const float wanted = ground - a.Position.y + 5;
    if (std::fabs(wanted - a.CameraHeight) > dt)
        a.CameraHeight += wanted > a.CameraHeight ? 2 * dt : -2 * dt;
    if (a.Position.y + a.CameraHeight < ground + 2) a.CameraHeight = ground + 2 - a.Position.y;
}

}  // namespace

TSKIVector AvatarForward(float headingDegrees) {
    // Clockwise seen from above as the view shows the map (its right of +Z is -X), so that
    // D, which adds to the turn rate, turns to the right on the screen.
    const float r = headingDegrees * kDegrees;
    return {-std::sin(r), 0, std::cos(r), 0};
}

TSKIVector ChaseCameraPosition(const TSKIAvatar& a) {
    TSKIVector p = a.Position - AvatarForward(a.Heading) * kChaseCameraDistance;
    p.y = a.Position.y + a.CameraHeight;
    p.w = 1;
    return p;
}

void StartFreeRide(TSKIConstruction& tools) {
    TSKIAvatar& a = tools.State.Avatar;
    tools.CancelTool();
    a.Position = tools.State.CursorPosition;
    a.Position.y = tools.Engine.GroundHeight(a.Position) + kAvatarGroundOffset;
    a.Position.w = 1;
    a.Speed = a.TurnRate = 0;
    a.HeadUpText.clear();
    a.TravelPending = false;
    tools.State.Tool = TSKITool::FreeRide;
}

bool StartRace(TSKIConstruction& tools, size_t section) {
    TSKIEngine& e = tools.Engine;
    const TSKISection* slope = e.SectionByIndex(int32_t(section));
    if (!slope || slope->Kind != kSectionSlope || slope->Points.size() < 2) return false;
    TSKIAvatar& a = tools.State.Avatar;
    tools.CancelTool();
    const TSKIVector& second = slope->Points[1];
    const TSKIVector& next = slope->Points[std::min<size_t>(2, slope->Points.size() - 1)];
    a.Position = {second.x, 0, second.z, 1};
    a.Position.y = e.GroundHeight(a.Position) + kAvatarGroundOffset;
    if (GroundDistance(next, second) > 0)
        a.Heading = std::atan2(second.x - next.x, next.z - second.z) / kDegrees;
    a.Speed = a.TurnRate = 0;
    a.RaceTime = 0;
    a.TravelPending = false;
    e.RaceSlope = int32_t(section);
    tools.State.Tool = TSKITool::Race;
    return true;
}

namespace {

void RideStep(TSKIConstruction& tools, const TSKIRideKeys& keys, float dt) {
    TSKIEngine& e = tools.Engine;
    TSKIAvatar& a = tools.State.Avatar;
    if (!IsRideMode(tools.State.Tool) || !e.HasGrid()) {
        // However the ride ended (a day change, another tool), its text goes with it.
        a.Visible = false;
        a.HeadUpText.clear();
        return;
    }
    // 1. Shown, its camera is the view's; the height at the start of the frame.
    a.Visible = true;
    a.PreviousHeight = a.Position.y;
    a.Carving = keys.Ctrl;
    // 2. Forward keys and friction.
    if (keys.Forward) a.Speed += 50 * dt;
    if (keys.Back) a.Speed -= 50 * dt;
    a.Speed *= 1 - dt;
    // 3. Steering; without carving the speed drops above 15.
    const float steer = a.Carving ? dt * (100 - a.Speed) : 200 * dt;
    if (!a.Carving && a.Speed > kAvatarFreeSpeed) a.Speed -= 100 * dt;
    if (keys.Left) a.TurnRate -= steer;
    if (keys.Right) a.TurnRate += steer;
    a.TurnRate *= 1 - dt;
    // 4.-5. Clamp, move, turn.
    a.Speed = std::clamp(a.Speed, 0.0f, kAvatarMaxSpeed);
    a.Position += AvatarForward(a.Heading) * (a.Speed * dt);
    if (a.Speed >= 0) a.Heading = std::fmod(a.Heading + a.TurnRate * dt, 360.0f);
    // 6.-7. On the ground; gravity.
    a.Position.y = e.GroundHeight(a.Position) + kAvatarGroundOffset;
    a.Speed -= (a.Position.y - a.PreviousHeight) * 5;
    if (a.Position.y > a.PreviousHeight) a.Speed -= 30 * dt;
    // 8. On the map.
    const float size = e.Level.WorldSize;
    a.Position.x = std::clamp(a.Position.x, -size, 0.0f);
    a.Position.z = std::clamp(a.Position.z, 0.0f, size);
    // 9. Stations and buildings stop it and push it back.
    const TerrainCell cell = e.CellAt(a.Position);
    if (Obstacle(cell.Kind)) {
        a.Speed = -0.001f;
        a.Position -= AvatarForward(a.Heading) * (15 * dt);
    }
    // 10.-11. Model and chase camera.
    ChooseModel(a, keys.Forward, dt);
    FollowCamera(e, a, dt);
    // 12. The race clock, the head-up text and the race's end.
    if (tools.State.Tool != TSKITool::Race) return;
    TSKISection* slope = e.SectionByIndex(e.RaceSlope);
    if (!slope || slope->Kind != kSectionSlope || slope->Points.empty()) {
        EndRace(tools);  // the slope went away under the race
        return;
    }
    a.RaceTime += dt;
    a.HeadUpText = "Race time: " + FormatDuration(int32_t(std::lround(a.RaceTime))) +
                   " Race record: " + FormatDuration(slope->InvestedMoney);
    if (a.RaceTime > kRaceGraceSeconds && !OnTheSlope(e.CellAt(a.Position).Kind)) {
        e.Dialogs->ShowError("You were disqualified because you went off the slope!");
        EndRace(tools);
    } else if (GroundDistance(a.Position, slope->Points.back()) < kRaceFinishDistance) {
        FinishRace(tools, *slope);
    }
}

}  // namespace

void UpdateRide(TSKIConstruction& tools, const TSKIRideKeys& keys, float dt) {
    // A slow frame is ridden in short steps: friction, braking and gravity are steps of one
    // frame, and a frame of a second or more would stop the avatar dead (speed x (1 - dt)).
    dt = std::max(0.0f, dt);
    do {
        const float step = std::min(dt, kRideStepSeconds);
        RideStep(tools, keys, step);
        dt -= step;
    } while (dt > 0 && IsRideMode(tools.State.Tool));
}

void UpdateRideOffer(TSKIConstruction& tools) {
    TSKIToolState& t = tools.State;
    const bool offered = t.Tool == TSKITool::FreeRide && t.CursorCell.Kind == kCellLiftLower &&
                         tools.Engine.SectionByIndex(t.CursorCell.Section) &&
                         GroundDistance(t.Avatar.Position, t.CursorPosition) < kRideReach;
    t.Avatar.HeadUpText = offered ? "Left click to take a ride" : "";
}

bool TakeRide(TSKIConstruction& tools) {
    TSKIEngine& e = tools.Engine;
    TSKIToolState& t = tools.State;
    UpdateRideOffer(tools);
    const TSKISection* lift = e.SectionByIndex(t.CursorCell.Section);
    if (t.Avatar.HeadUpText.empty() || !lift || lift->Kind == kSectionSlope) return false;
    const int i = std::clamp(lift->UpperI + e.Rng.Range(-1, 1), 0, kGridSize - 1);
    const int j = std::clamp(lift->UpperJ + e.Rng.Range(-1, 1), 0, kGridSize - 1);
    TSKIAvatar& a = t.Avatar;
    a.Position = e.CellToWorld(i, j, false);
    a.Position.y = e.GroundHeight(a.Position) + kAvatarGroundOffset;
    a.Speed = a.TurnRate = 0;
    a.TravelPoint = a.Position;
    a.TravelPending = true;
    a.HeadUpText.clear();
    t.Tool = TSKITool::None;
    return true;
}

void EndRideTravel(TSKIConstruction& tools) {
    tools.State.Avatar.TravelPending = false;
    if (tools.State.Tool == TSKITool::None) tools.State.Tool = TSKITool::FreeRide;
}

}  // namespace vallorn
