#include "entities/skier.h"

#include "entities/world.h"

namespace vallorn {

TSKISkier::TSKISkier(TSKIWorld& world, const TSKISkierRecord& r)
    : World(world),
      LiftType(r.LiftType),
      Money(r.Money),
      SpendingLimit(r.SpendingLimit),
      Cold(r.Cold),
      Hunger(r.Hunger),
      Happiness(r.Happiness),
      Skill(r.Skill),
      Energy(r.Energy),
      Injured(r.Injured),
      SpawnPosition(r.Position),
      Leaving(r.Leaving),
      Position(r.Position) {
    Init();
    if (World.HasGrid()) {
        if (Injured) Position.y = World.GroundHeight(Position) + kStandHeight;
        Cell = World.CellAt(Position);  // the needs read it before the first tick
    }
    SmoothingAnchor = SmoothedPosition = Position;
}

void TSKISkier::Init() {
    TSKIRandom& rng = World.Rng;
    State = kSkierIdle;
    CurrentSection = nullptr;
    DecisionTimer = Speed = TargetSpeed = Carve = 0;
    QueueCheckTimer = float(rng.Uniform());
    NeedsTimer = float(rng.Uniform());
    Preference = uint8_t(rng.Range(0, 199));
    CurrentTarget = {};
    Building = nullptr;
    QueueIndex = kQueueTail;
    TurnedAwayTime = 0;
    turnedAway_ = false;
    Detour = nullptr;
    ModelVariant = uint8_t(rng.Below(kCharacterTemplates));
    Animation = 0;
    if (Leaving) {
        State = kSkierLeaving;
        TargetSpeed = 5.0f;
    }
    if (Injured) State = kSkierInjured;
}

}  // namespace vallorn
