// A visitor of the resort: walks, queues, rides, skis, eats, rests, falls and leaves.
#pragma once

#include <cstdint>
#include <string>

#include "base/terrain.h"
#include "base/types.h"
#include "entities/section.h"

namespace vallorn {

class TSKIWorld;
class TSKISection;
class TSKIBuilding;

// What creates a skier: filled by the arrivals and by game loading.
struct TSKISkierRecord {
    uint8_t LiftType = 0;
    int32_t Money = 0;
    int32_t SpendingLimit = 0;
    float Cold = 0, Hunger = 0, Happiness = 0;
    float Skill = 0.5f;
    float Energy = 0;
    bool Injured = false;
    TSKIVector Position{0, 0, 0, 1};
    bool Leaving = false;
};

// Animation choices.
enum : uint8_t {
    kAnimStanding = 0,
    kAnimSeated = 1,
    kAnimSkiingFast = 2,
    kAnimInjured = 3,
    kAnimSkiingSlow = 4,
};

// A need (happiness, cold, hunger, energy; -100..100) below this is low: the skier's dot turns
// red, and a skier this unhappy does not come back the next morning nor counts as happy.
constexpr float kNeedLow = -33.0f;

// How long, in simulated seconds, a skier stands turned away by full lift queues before it
// gives up on that line and chooses again (a service it wants, another lift with room, or a
// fresh decision where it stands): about one game hour with the shipped tick length, far
// longer than the tail of a busy line takes to move up.
constexpr float kQueuePatience = 85.0f;

constexpr int32_t kGatePoint = -2;       // point index of a link that leads to a lift's gate
constexpr int kCharacterTemplates = 28;  // skier models to choose from

class TSKISkier {
public:
    TSKISkier(TSKIWorld& world, const TSKISkierRecord& record);

    // Back to the start of a visit: idle, no target, fresh timers.
    void Init();

    // Per-frame update with the simulated time step. Returns false when the skier is to be
    // removed (it reached the arrival point while leaving).
    bool Tick(float dt);
    // Once per game tick: needs, crowding, enjoyment, injuries. Returns false when the skier
    // died and is to be removed.
    bool Periodic();
    void Decide();
    void ChooseLink();
    void JoinQueue(TSKISection* section);
    void SwitchQueue();
    void CheckNeeds();
    void AccidentTest();
    // Gives up the queue place (when waiting) and heads home.
    void StartLeaving();
    // Heads home disappointed: booked as a skier who left unhappy, with the rating penalty.
    void LeaveUnhappy();
    // The patience with full queues has run out: the skier chooses again, and never goes home
    // for it: a service it wants, else the nearest other open lift with room in its line,
    // else a fresh decision where it stands.
    void GiveUpQueuing();
    // Frees every queue slot of every lift that holds this skier.
    void LeaveAllQueues();
    // The lines of the hover text, for the skier with the given index.
    std::string HoverText(int32_t index) const;

    TSKIWorld& World;
    uint8_t State = kSkierIdle;
    TSKISection* CurrentSection = nullptr;
    float DecisionTimer = 0;
    float Speed = 0;
    float TargetSpeed = 0;
    float PreviousHeight = 0;
    float Carve = 0;
    float CarveTarget = 0;
    float QueueCheckTimer = 0;
    float NeedsTimer = 0;
    // Simulated seconds spent idle since a full queue turned the skier away; 0 once it joins
    // a line, rides, enters a building or leaves (not saved: it restarts on load).
    float TurnedAwayTime = 0;
    // The lift a skier that gave up on a full line walks to while idle; none once it joins a
    // line or does anything else (not saved; the world clears it when the lift is removed).
    TSKISection* Detour = nullptr;
    uint8_t Preference = 0;
    uint8_t LastLinkCount = 0;
    TSKINavLink CurrentTarget{};
    // While skiing: the slope point the skier heads for, the farthest along its slope it has
    // been led to so far. A link back to an earlier point of the same slope is not followed,
    // and off the slope's links the skier heads back to this point (not saved).
    TSKINavLink Route{};
    TSKIVector SmoothingAnchor{0, 0, 0, 1};
    TSKIVector SmoothedPosition{0, 0, 0, 1};
    TSKIVector SeatPosition{0, 0, 0, 1};
    TSKIBuilding* Building = nullptr;
    bool RescueAssigned = false;
    uint8_t ModelVariant = 0;
    uint8_t Animation = kAnimStanding;
    uint8_t QueueIndex = kQueueTail;
    uint8_t LiftType = 0;
    int32_t Money = 0;
    int32_t SpendingLimit = 0;
    float Cold = 0, Hunger = 0, Happiness = 0;
    float Skill = 0.5f;
    float Energy = 0;
    bool Injured = false;
    TSKIVector SpawnPosition{0, 0, 0, 1};
    bool Leaving = false;
    TerrainCell Cell;  // the cell under the skier, copied at the start of every tick
    TSKIVector Position{0, 0, 0, 1};
    TSKIVector Heading{0, 0, 1, 0};  // horizontal unit vector the skier faces

private:
    // The steps of Tick, one per state that moves (skier_tick.cpp).
    void StepIdle(float dt);
    void StepSkiing(float dt);
    void StepWaiting(float dt);
    void StepInBuilding(float dt);
    bool StepLeaving(float dt);
    void SteerAroundObstacles(float dt);
    void ChooseAnimation();
    // Turns toward the point (horizontally) and advances along the heading on the ground.
    void Face(const TSKIVector& point);
    void Advance(float distance);
    void Slide(float distance);  // sideways, to the right of the heading
    void StandOnGround();
    // The point a link leads to: a slope's path point, or a lift's first point for a gate.
    bool LinkPoint(const TSKINavLink& link, TSKIVector& point) const;
    TSKISection* SectionAt(int32_t index) const;
    // Faces the link the preference names, or the way to go when the cell has no links.
    void HeadForLink(bool skiing);
    // Faces the point of a link; a skiing skier keeps to its route (see Route).
    void FaceLink(const TSKINavLink& link, bool skiing);
    // Walks toward the detour lift and joins its line once near its gate; false when there is
    // no detour (any more) to walk.
    bool WalkDetour(float dt);
    // Frees the current lift's queue slots that hold this skier (skier_decide.cpp).
    void FreeQueueSlot();
    void RefreshCell();

    bool moved_ = false;       // the state step of this tick moved the skier
    bool turnedAway_ = false;  // a full queue turned it away since it last queued, rode or sat
};

}  // namespace vallorn
