// The player's own skier, the avatar: "Free ride" hands it to the keyboard, a lift's lower
// station takes it up the lift, and the downhill race times it down one slope against the
// slope's record. The avatar is not a simulated skier: it has no needs, pays nothing and the
// economy never sees it. The keys are read as held states every frame (TSKIRideKeys); the
// view draws the avatar and looks through its chase camera from the state kept here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/types.h"

namespace vallorn {

class TSKIConstruction;
class TSKIEngine;

// The keys held down during a frame.
struct TSKIRideKeys {
    bool Forward = false;  // W or Up
    bool Back = false;     // S or Down
    bool Left = false;     // A or Left
    bool Right = false;    // D or Right
    bool Ctrl = false;     // carving
};

enum class TSKIAvatarModel : uint8_t { Walking = 0, Skiing = 1, Tucked = 2 };

constexpr float kAvatarMaxSpeed = 60.0f;
constexpr float kAvatarGroundOffset = 0.2f;
constexpr float kAvatarFreeSpeed = 15.0f;      // above it only carving keeps the speed
constexpr float kAvatarWalkBelow = 5.0f;       // walking model below, skiing from here
constexpr float kAvatarTuckFrom = 17.0f;       // tucked model from here
constexpr float kChaseCameraDistance = 12.0f;  // behind the avatar, along its heading
constexpr float kSkiCycleSeconds = 0.6f;       // the model may change at the cycle's start
constexpr float kRideReach = 30.0f;            // avatar to cursor for "take a ride"
constexpr float kRaceGraceSeconds = 10.0f;     // no disqualification before
constexpr float kRaceFinishDistance = 20.0f;   // to the slope's last point
constexpr float kRideStepSeconds = 1.0f / 30;  // a longer frame is ridden in steps this long

struct TSKIAvatar {
    TSKIVector Position{-256, 0, 256, 1};  // on the ground (+0.2)
    float Heading = 0;                     // degrees, 0 faces +Z, 90 faces -X (AvatarForward)
    float Speed = 0;                       // units per second, 0..60 after the clamp
    float TurnRate = 0;                    // degrees per second
    float PreviousHeight = 0;
    bool Carving = false;
    bool Visible = false;  // shown while riding; its camera is then the view camera
    TSKIAvatarModel Model = TSKIAvatarModel::Walking;
    int32_t FrameInterval = 1000000;  // of the shown model's animation (1000000: standing)
    float CycleClock = 0;             // seconds into the skiing model's cycle
    float CameraHeight = 5;           // the chase camera's height relative to the avatar
    float RaceTime = 0;               // seconds since the race started
    // Head-up text, centred 50 pixels from the top of the view ("Race time: ...").
    std::string HeadUpText;
    // "Take a ride": the view travels to this point and gives free ride back on arrival.
    bool TravelPending = false;
    TSKIVector TravelPoint{0, 0, 0, 1};
};

// Unit vector along the avatar's heading, on the ground plane.
TSKIVector AvatarForward(float headingDegrees);
// Where the chase camera is: behind the avatar at its camera height.
TSKIVector ChaseCameraPosition(const TSKIAvatar& avatar);

// "Free ride": the avatar stands at the cursor marker and takes the keys (tool 13).
void StartFreeRide(TSKIConstruction& tools);
// "Downhill race" of a slope: the avatar stands on its second point, facing the next, the
// clock at 0, tool 15. False (nothing changes) when the section is not a slope.
bool StartRace(TSKIConstruction& tools, size_t section);
// One frame of the avatar while riding or racing (runs before the park's frame handler);
// hides the avatar otherwise. Ends the race as finished or disqualified.
void UpdateRide(TSKIConstruction& tools, const TSKIRideKeys& keys, float dt);
// Free ride: the head-up text offers a ride while the cursor is over a lift's lower station
// near the avatar.
void UpdateRideOffer(TSKIConstruction& tools);
// The left click of free ride: when a ride is offered, the avatar goes to the lift's top
// (a random cell next to its upper station), and the view travels there with the tool at 0
// until it arrives (`TravelPending`). True when the ride was taken.
bool TakeRide(TSKIConstruction& tools);
// The view arrived: free ride again.
void EndRideTravel(TSKIConstruction& tools);

}  // namespace vallorn
