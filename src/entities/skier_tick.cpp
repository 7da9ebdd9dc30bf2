// The per-frame update of a skier: speed, the step of its state, animation and steering
// around obstacles. Works on the copied cell, the links and the skier's own fields only.
#include <algorithm>
#include <cmath>

#include "entities/world.h"

namespace vallorn {

namespace {

constexpr float kAccelerate = 4.0f;
constexpr float kBrake = 8.0f;
constexpr float kAnchorJump = 4.0f;
constexpr float kWalkTargetReach = 64.0f;
constexpr float kQueueSpeed = 6.0f;
constexpr float kArrivalReach = 50.0f;  // times dt
constexpr float kSeatReach = 40.0f;     // times dt
constexpr float kSatisfied = 90.0f;
constexpr float kFastAnimation = 4.5f;
constexpr float kSlowAnimation = 0.5f;
constexpr float kGravityBonus = 0.02f;
constexpr float kNearLiftLine = 3.0f;
constexpr float kNearTree = 3.0f;
constexpr int kObstacleReach = 5;  // cells around the skier's cell that may hold obstacles

}  // namespace

// --- motion helpers ------------------------------------------------------------------------

void TSKISkier::Face(const TSKIVector& point) {
    const float dx = point.x - Position.x, dz = point.z - Position.z;
    const float len = std::sqrt(dx * dx + dz * dz);
    if (len < 1e-6f) return;  // standing on the point: keep the heading
    Heading = TSKIVector(dx / len, 0, dz / len, 0);
}

void TSKISkier::Advance(float distance) {
    Position.x += Heading.x * distance;
    Position.z += Heading.z * distance;
    moved_ = true;
}

void TSKISkier::Slide(float distance) {
    // Right of the heading, seen from above with y up: (-z, x) turned the other way.
    Position.x += -Heading.z * distance;
    Position.z += Heading.x * distance;
    moved_ = true;
}

void TSKISkier::StandOnGround() {
    Position.y = World.GroundHeight(Position) + kStandHeight;
}

bool TSKISkier::LinkPoint(const TSKINavLink& link, TSKIVector& point) const {
    const TSKISection* section = SectionAt(link.Section);
    if (!section || section->Points.empty()) return false;
    if (link.Point == kGatePoint) {
        point = section->Points.front();
        return true;
    }
    if (link.Point < 0 || size_t(link.Point) >= section->Points.size()) return false;
    point = section->Points[size_t(link.Point)];
    return true;
}

void TSKISkier::FaceLink(const TSKINavLink& link, bool skiing) {
    TSKINavLink goal = link;
    if (skiing && link.Point != kGatePoint) {
        if (link.Section == Route.Section && link.Point < Route.Point) {
            goal = Route;  // never back up the slope toward a point it was led past
        } else {
            Route = link;
        }
    }
    TSKIVector point;
    if (LinkPoint(goal, point)) Face(point);
}

void TSKISkier::HeadForLink(bool skiing) {
    const int n = std::min<int>(Cell.NavLinkCount, int(Cell.NavLinks.size()));
    TSKIVector point;
    if (n == 0) {
        CurrentTarget = {};
        if (skiing) {
            // Pushed or carried off its slope's links: back toward the point of its route.
            if (LinkPoint(Route, point)) Face(point);
            return;
        }
        const bool nearTarget = GroundDistance(Cell.WalkTarget, Position) < kWalkTargetReach;
        const TSKISection* nearest = World.SectionByIndex(Cell.NearestSection);
        if (nearTarget || !nearest || nearest->Points.empty()) {
            Face(Cell.WalkTarget);
        } else {
            Face(nearest->Points.front());
        }
        return;
    }
    if (n >= 2) {
        if (Preference == 255) ChooseLink();
        const TSKINavLink& link = Cell.NavLinks[size_t(Preference % n)];
        FaceLink(link, skiing);
        CurrentTarget = link;
        return;
    }
    const TSKINavLink& link = Cell.NavLinks[0];
    if (link.Point != kGatePoint) {
        FaceLink(link, skiing);
        CurrentTarget = {};
    } else {
        const TSKISection* lift = SectionAt(link.Section);
        if (skiing || (lift && lift->Status != kLiftClosed)) {
            if (LinkPoint(link, point)) Face(point);
            CurrentTarget = {link.Section, kGatePoint};
        } else {
            Face(Cell.WalkTarget);
            CurrentTarget = {};
        }
    }
    Preference = 255;
}

// --- the tick ------------------------------------------------------------------------------

bool TSKISkier::Tick(float dt) {
    if (World.Busy || World.Halted) return true;
    if (World.HasGrid()) {
        int i, j;
        TSKIWorld::WorldToCell(Position, i, j);
        Cell = World.Cell(i, j);
    }

    if (TargetSpeed > Speed) {
        Speed += kAccelerate * dt;
    } else {
        Speed = std::max(0.0f, Speed - kBrake * dt);
    }
    const bool inView = Cell.InView && World.PositionInGrid(Position);
    if (inView) {
        const float dx = SmoothingAnchor.x - Position.x, dy = SmoothingAnchor.y - Position.y,
                    dz = SmoothingAnchor.z - Position.z;
        if (dx * dx + dy * dy + dz * dz > kAnchorJump * kAnchorJump) SmoothingAnchor = Position;
    }

    moved_ = false;
    switch (State) {
        case kSkierIdle:
            StepIdle(dt);
            break;
        case kSkierOnLift:
            // The carrier moves the skier and decides for it only once it has set it down
            // at the upper station: a seated rider neither decides nor looks for a building.
            break;
        case kSkierSkiing:
            StepSkiing(dt);
            break;
        case kSkierWaiting:
            StepWaiting(dt);
            break;
        case kSkierInBuilding:
            StepInBuilding(dt);
            break;
        case kSkierLeaving:
            if (!StepLeaving(dt)) return false;
            break;
        default:  // injured: the periodic update and the rescue act
            break;
    }

    // Patience with full queues: it runs down while the skier stands idle after being turned
    // away. Skiing about at the bottom on the way back to the gate neither counts nor restores
    // it; joining a line, riding, sitting in a building or leaving does.
    if (State == kSkierIdle) {
        if (turnedAway_) {
            TurnedAwayTime += dt;
            if (TurnedAwayTime > kQueuePatience) GiveUpQueuing();
        }
    } else if (State != kSkierSkiing) {
        TurnedAwayTime = 0;
        turnedAway_ = false;
    }
    if (State != kSkierIdle) Detour = nullptr;
    if (State != kSkierSkiing) Route = {};

    if (inView) {
        SmoothedPosition += (SmoothingAnchor - SmoothedPosition) * (1.0f - dt);
        ChooseAnimation();
    }
    if (moved_) SteerAroundObstacles(dt);
    return true;
}

void TSKISkier::StepIdle(float dt) {
    if (DecisionTimer > 0) {
        DecisionTimer -= dt;
    } else {
        Decide();
    }
    if (NeedsTimer > 0) {
        NeedsTimer -= dt;
    } else {
        CheckNeeds();
    }
    // A decision or the needs may have sent the skier elsewhere: that state takes over next
    // tick (this keeps a skier that just joined one line from walking on toward another).
    if (State != kSkierIdle) return;
    if (WalkDetour(dt)) return;

    if (Cell.NavLinkCount != LastLinkCount) ChooseLink();
    LastLinkCount = Cell.NavLinkCount;
    HeadForLink(false);

    const float crowd = std::clamp(float(Cell.Crowd), 1.0f, 4.0f);
    Advance(dt * Speed / crowd);
    StandOnGround();
    Carve = 0;
    if (CurrentTarget.Point == kGatePoint) JoinQueue(SectionAt(CurrentTarget.Section));
}

bool TSKISkier::WalkDetour(float dt) {
    TSKISection* lift = Detour;
    if (!lift) return false;
    if (!lift->IsLift() || lift->Points.empty() || lift->Status != kLiftOpen) {
        Detour = nullptr;
        return false;
    }
    const TSKIVector& gate = lift->Points.front();
    Face(gate);
    const float crowd = std::clamp(float(Cell.Crowd), 1.0f, 4.0f);
    Advance(dt * Speed / crowd);
    StandOnGround();
    Carve = 0;
    // Near the gate (where the cell leads to it, or at the gate itself) it takes its place in
    // line; a line that filled up meanwhile turns it away as any other.
    bool near = GroundDistance(gate, Position) < kCellSize;
    const int n = std::min<int>(Cell.NavLinkCount, int(Cell.NavLinks.size()));
    for (int k = 0; k < n && !near; ++k) {
        const TSKINavLink& link = Cell.NavLinks[size_t(k)];
        near = link.Point == kGatePoint && SectionAt(link.Section) == lift;
    }
    if (near) {
        Detour = nullptr;
        JoinQueue(lift);
    }
    return true;
}

void TSKISkier::StepSkiing(float dt) {
    const int32_t before = CurrentTarget.Section;
    if (DecisionTimer > 0) {
        DecisionTimer -= dt;
    } else if (CurrentTarget.Point != -1) {
        Decide();
        if (State != kSkierSkiing) return;
    }
    if (Cell.NavLinkCount != LastLinkCount) ChooseLink();
    LastLinkCount = Cell.NavLinkCount;

    const int n = Cell.NavLinkCount;
    HeadForLink(true);
    if (n == 0) Carve *= 1.0f - 2.0f * dt;

    const float g = std::max(0.0f, (PreviousHeight - Position.y) * kGravityBonus);

    // The swing goes from one bound to the other; each bound is drawn anew when passed.
    if (Carve > CarveTarget) {
        Carve -= dt;
        if (Carve < CarveTarget) CarveTarget = 1.0f + float(World.Rng.Uniform());
    } else {
        Carve += dt;
        if (Carve > CarveTarget) CarveTarget = -(1.0f + float(World.Rng.Uniform()));
    }

    const float crowd = std::clamp(float(Cell.Crowd), 1.0f, 4.0f);
    Advance(dt * (Speed + g) / (2.0f * crowd));
    if (Cell.Crowd < 5) Slide(n < 2 ? dt * Carve * 5.0f : dt * Carve);
    StandOnGround();
    PreviousHeight = Position.y;

    if (CurrentTarget.Section != before) {
        if (TSKISection* section = SectionAt(CurrentTarget.Section)) section->TrafficCount += 1;
    }
    if (Cell.Kind == kCellLiftLower) Decide();
    if (State == kSkierSkiing && CurrentTarget.Point == kGatePoint) {
        JoinQueue(SectionAt(CurrentTarget.Section));
    }
    if (State == kSkierSkiing && !Cell.NaturalSnow && !Cell.ArtificialSnow) AccidentTest();
    if (NeedsTimer > 0) {
        NeedsTimer -= dt;
    } else {
        CheckNeeds();
    }
}

void TSKISkier::StepWaiting(float dt) {
    TSKISection* lift = CurrentSection;
    if (!lift || !lift->IsLift() || lift->Status != kLiftOpen) {
        State = kSkierIdle;
        if (lift && lift->IsLift()) FreeQueueSlot();
        QueueIndex = kQueueTail;
        Decide();
        return;
    }
    if (QueueIndex > kQueueTail) QueueIndex = kQueueTail;

    const int capacity = lift->Type().GondoleCapacity;
    TSKIGondole* carrier = lift->LoadingCarrier;
    if (QueueIndex < capacity && carrier && carrier->HasFreeSeat()) {
        if (carrier->Board(*this)) {
            if (lift->QueueSlots[QueueIndex] == this) lift->QueueSlots[QueueIndex] = nullptr;
            State = kSkierOnLift;
            QueueIndex = kQueueTail;
            return;
        }
        // Refused at the gate for the price: the place in the boarding row goes to the next
        // skier, and this one decides anew.
        FreeQueueSlot();
        State = kSkierIdle;
        CurrentSection = nullptr;
        CurrentTarget = {};
        Decide();
        return;
    }

    const TSKIVector& place = lift->QueuePositions[QueueIndex];
    const float tolerance = QueueIndex >= capacity ? float(QueueIndex) / 8.0f + 1.0f : 1.0f;
    if (GroundDistance(place, Position) > tolerance) {
        TargetSpeed = kQueueSpeed;
        Face(place);
        Advance(dt * Speed);
        StandOnGround();
    } else {
        TargetSpeed = Speed = 0;
        if (QueueCheckTimer > 0) {
            QueueCheckTimer -= dt;
        } else {
            SwitchQueue();
        }
    }

    // One place forward per tick when the place ahead is free.
    TSKISection* line = CurrentSection;
    if (State == kSkierWaiting && line && QueueIndex > 0 && QueueIndex <= kQueueTail &&
        line->QueueSlots[QueueIndex - 1] == nullptr) {
        if (line->QueueSlots[QueueIndex] == this) line->QueueSlots[QueueIndex] = nullptr;
        QueueIndex -= 1;
        line->QueueSlots[QueueIndex] = this;
    }
    if (NeedsTimer > 0) {
        NeedsTimer -= dt;
    } else {
        CheckNeeds();
    }
}

void TSKISkier::StepInBuilding(float dt) {
    if (!Building) {
        Decide();
        return;
    }
    const TSKIBuildingParams& type = Building->Params();
    const float reach = kSeatReach * dt;
    const bool nearSeat = GroundDistance(SeatPosition, Position) <= reach;
    bool walk;
    TSKIVector goal = SeatPosition;
    if (type.HasDoor) {
        walk = GroundDistance(Building->Door, Position) > reach && !nearSeat;
        goal = Building->Door;
    } else {
        walk = !nearSeat;
    }
    if (walk) {
        Face(goal);
        Advance(dt * Speed);
        StandOnGround();
    } else {
        Position = SeatPosition;
        TargetSpeed = Speed = 0;
    }

    // Served: every need the building refills is above 90.
    bool satisfied = true;
    if (type.RefillCold > 0 && !(Cold > kSatisfied)) satisfied = false;
    if (type.RefillHappiness > 0 && !(Happiness > kSatisfied)) satisfied = false;
    if (type.RefillEnergy > 0 && !(Energy > kSatisfied)) satisfied = false;
    if (type.RefillHunger > 0 && !(Hunger > kSatisfied)) satisfied = false;
    if (satisfied) Building->Leave(*this);
}

bool TSKISkier::StepLeaving(float dt) {
    if (GroundDistance(World.ArrivalPoint, Position) < kArrivalReach * dt) return false;
    Face(World.ArrivalPoint);
    Speed = std::max(Speed, 1.0f);
    Advance(dt * Speed);
    StandOnGround();
    return true;
}

void TSKISkier::ChooseAnimation() {
    auto moving = [this] {
        if (Speed >= kFastAnimation) return kAnimSkiingFast;
        if (Speed >= kSlowAnimation) return kAnimSkiingSlow;
        return kAnimStanding;
    };
    switch (State) {
        case kSkierOnLift: {
            const bool dragged =
                CurrentSection && CurrentSection->IsLift() && CurrentSection->Type().OnGround;
            Animation = dragged ? kAnimStanding : kAnimSeated;
            break;
        }
        case kSkierInBuilding:
            Animation = moving();
            if (Animation == kAnimStanding && Building && Building->Params().SitAnimation) {
                Animation = kAnimSeated;
            }
            break;
        case kSkierInjured:
            Animation = kAnimInjured;
            break;
        default:
            Animation = moving();
            break;
    }
}

// Obstacles push a moving skier sideways, away from them. The side test: the obstacle's
// offset from the skier is projected on the skier's right-hand perpendicular (-heading.z,
// heading.x); a positive projection means the obstacle lies on the right, so the skier is
// pushed left, otherwise right (an obstacle dead ahead pushes to the right).
void TSKISkier::SteerAroundObstacles(float dt) {
    if (!World.HasGrid()) return;
    const float push = dt * Speed;
    if (push == 0) return;
    int ci, cj;
    TSKIWorld::WorldToCell(Position, ci, cj);
    const float rx = -Heading.z, rz = Heading.x;
    float side = 0;  // accumulated push along the right-hand perpendicular
    auto away = [&](float ox, float oz) {
        const float across = (ox - Position.x) * rx + (oz - Position.z) * rz;
        side += across > 0 ? -push : push;
    };

    // Lift-line cells and trees count within 3 units. A skier lies within 2.5 units of its
    // cell's world point along each axis, and a tree is drawn at load within 2 units of its
    // cell's point (x - [0, 2), z + [0, 2)), so only the 3 x 3 cells around the skier's cell
    // can hold either; the rest of the 11 x 11 block is skipped without reading it.
    const int i0 = std::max(ci - 1, 0), i1 = std::min(ci + 1, kGridSize);
    const int j0 = std::max(cj - 1, 0), j1 = std::min(cj + 1, kGridSize);
    for (int a = i0; a <= i1; ++a) {
        for (int b = j0; b <= j1; ++b) {
            const TerrainCell& cell = World.Cell(a, b);
            if (cell.Kind == kCellUnderLift) {
                const float px = -kCellSize * float(a) - 0.5f, pz = kCellSize * float(b) - 0.5f;
                const float dx = px - Position.x, dz = pz - Position.z;
                if (dx * dx + dz * dz < kNearLiftLine * kNearLiftLine) away(px, pz);
            }
            if (cell.Tree) {
                const float dx = cell.TreePosition.x - Position.x;
                const float dz = cell.TreePosition.z - Position.z;
                if (dx * dx + dz * dz < kNearTree * kNearTree) {
                    away(cell.TreePosition.x, cell.TreePosition.z);
                }
            }
        }
    }
    // Building centres: the few buildings whose centre cell lies in the 11 x 11 block, within
    // the type's size. The building a customer walks into does not push it away.
    for (const auto& building : World.Buildings) {
        if (std::abs(building->CellI - ci) > kObstacleReach ||
            std::abs(building->CellJ - cj) > kObstacleReach) {
            continue;
        }
        if (building.get() == Building) continue;
        const TerrainCell& centre = World.Cell(building->CellI, building->CellJ);
        if (centre.Kind != kCellBuilding) continue;
        const float size = float(building->Params().Size);
        if (GroundDistance(building->Position, Position) < size) {
            away(building->Position.x, building->Position.z);
        }
    }
    if (side != 0) {
        Position.x += rx * side;
        Position.z += rz * side;
        StandOnGround();
    }
}

}  // namespace vallorn
