// How vehicles move: the snowmobile drives straight to its patient or its seat, the
// helicopter flies, lands beside the patient and lands back on its pad, the snowcat steers
// from slope cell to slope cell of its garage's area of operations, grooming as it goes.
#include <algorithm>
#include <cmath>

#include "entities/world.h"

namespace vallorn {

namespace {

constexpr float kSnowmobileReach = 3.0f;  // treats and parks within this
constexpr float kSnowmobileHeight = 0.3f;
constexpr float kHelicopterReach = 32.0f;  // lands beside the patient within this
constexpr float kHelipadReach = 8.0f;
constexpr float kCruisingHeight = 30.316f;
constexpr float kLandedOffset = 27.0f;
constexpr float kClimbRate = 4.0f;  // altitude offset per second
constexpr float kTurnBehind = 100.0f;
constexpr float kMaxHelicopterLateral = 20.0f;
constexpr float kRotorStep = 48.0f;  // degrees per tick
constexpr float kSnowcatParked = 3.0f;
constexpr float kSnowcatArrived = 2.0f;
constexpr float kSnowcatRetarget = 20.0f;
constexpr float kSnowcatRefresh = 3.0f;
constexpr float kSnowcatDeadZone = 1.0f;
constexpr float kSnowcatTurn = 40.0f;
constexpr int kAreaReach = 20;     // cells round the area-of-operations centre
constexpr int kObstacleReach = 5;  // cells round the vehicle
constexpr float kNearLift = 4.0f;  // stations and lift lines push within this
constexpr float kNearTree = 4.0f;
constexpr float kPi = 3.14159265358979f;

}  // namespace

float TSKIVehicle::Lateral(const TSKIVector& p) const {
    // Right of the heading, seen from above with y up, as for skiers: (-z, x).
    return (p.x - Position.x) * -Direction.z + (p.z - Position.z) * Direction.x;
}

void TSKIVehicle::Turn(float degrees) {
    const float a = degrees * kPi / 180.0f;
    const float c = std::cos(a), s = std::sin(a);
    const float rx = -Direction.z, rz = Direction.x;
    const float x = Direction.x * c + rx * s;
    const float z = Direction.z * c + rz * s;
    const float len = std::hypot(x, z);
    if (len > 1e-6f) Direction = TSKIVector(x / len, 0, z / len, 0);
}

void TSKIVehicle::Advance(float distance) {
    Position.x += Direction.x * distance;
    Position.z += Direction.z * distance;
}

void TSKIVehicle::AvoidObstacles(float dt) {
    if (!World.HasGrid()) return;
    const float push = dt * Params().Speed;
    if (push == 0) return;
    int ci, cj;
    TSKIWorld::WorldToCell(Position, ci, cj);
    float side = 0;                     // accumulated push along the right-hand side axis
    const TSKIBuilding* home = Home();  // the vehicle parks there: it does not push it away
    auto away = [&](float ox, float oz) {
        side += Lateral(TSKIVector(ox, 0, oz, 1)) > 0 ? -push : push;
    };
    auto near = [&](float ox, float oz, float reach) {
        const float dx = ox - Position.x, dz = oz - Position.z;
        return dx * dx + dz * dz < reach * reach;
    };
    const int i0 = std::max(ci - kObstacleReach, 0), i1 = std::min(ci + kObstacleReach, kGridSize);
    const int j0 = std::max(cj - kObstacleReach, 0), j1 = std::min(cj + kObstacleReach, kGridSize);
    for (int a = i0; a <= i1; ++a) {
        for (int b = j0; b <= j1; ++b) {
            const TerrainCell& cell = World.Cell(a, b);
            const float px = -kCellSize * float(a) - 0.5f, pz = kCellSize * float(b) - 0.5f;
            if ((cell.Kind == kCellLiftLower || cell.Kind == kCellLiftUpper ||
                 cell.Kind == kCellUnderLift) &&
                near(px, pz, kNearLift)) {
                away(px, pz);
            }
            // The home building is where the vehicle parks: it does not push it away.
            const TSKIBuilding* other =
                cell.Kind == kCellBuilding ? World.BuildingByIndex(cell.Building) : nullptr;
            if (other && other != home &&
                near(other->Position.x, other->Position.z, float(other->Params().Size))) {
                away(other->Position.x, other->Position.z);
            }
            if (cell.Tree && near(cell.TreePosition.x, cell.TreePosition.z, kNearTree)) {
                away(cell.TreePosition.x, cell.TreePosition.z);
            }
        }
    }
    Position.x += -Direction.z * side;
    Position.z += Direction.x * side;
}

void TSKIVehicle::StepSnowmobile(float dt) {
    if (const TSKISkier* patient = Patient()) {
        Moving = true;
        if (GroundDistance(Position, patient->Position) > kSnowmobileReach) {
            Target = patient->Position;
        } else {
            ClearTarget();
            Treat(dt);
        }
    } else {
        if (!Home()) {
            Moving = false;
            ClearTarget();
            return;
        }
        const TSKIVector seat = ParkingPlace();
        if (GroundDistance(Position, seat) > kSnowmobileReach) {
            Target = seat;
            Moving = true;
        } else {
            ClearTarget();
            Moving = false;
        }
    }
    if (!HasTarget()) return;

    const float dx = Target.x - Position.x, dz = Target.z - Position.z;
    const float len = std::hypot(dx, dz);
    if (len > 1e-6f) Direction = TSKIVector(dx / len, 0, dz / len, 0);
    Advance(dt * Params().Speed);
    AvoidObstacles(dt);
    if (!World.HasGrid()) return;
    Position.y = World.GroundHeight(Position) + kSnowmobileHeight;
    if (Cell.InView) {
        TSKIVector ahead = Position, behind = Position;
        ahead.x += Direction.x;
        ahead.z += Direction.z;
        behind.x -= Direction.x;
        behind.z -= Direction.z;
        Pitch =
            std::atan2(World.GroundHeight(ahead) - World.GroundHeight(behind), 2.0f) * 180.0f / kPi;
    }
}

void TSKIVehicle::StepHelicopter(float dt) {
    bool rotorsTurn = false;
    auto climb = [&] { AltitudeOffset = std::max(0.0f, AltitudeOffset - kClimbRate * dt); };
    if (const TSKISkier* patient = Patient()) {
        Moving = true;
        if (GroundDistance(Position, patient->Position) > kHelicopterReach) {
            Target = patient->Position;
            climb();
        } else {
            ClearTarget();
            Treat(dt);
            rotorsTurn = true;
            AltitudeOffset = std::min(kLandedOffset, AltitudeOffset + kClimbRate * dt);
        }
    } else if (Home()) {
        const TSKIVector pad = ParkingPlace();
        if (GroundDistance(Position, pad) > kHelipadReach) {
            Target = pad;
            Moving = true;
            climb();
        } else {
            Position = pad;
            if (World.HasGrid()) Position.y = World.GroundHeight(Position);
            ClearTarget();
            Moving = false;
            AltitudeOffset = 0;
        }
    } else {
        ClearTarget();
    }

    if (HasTarget()) {
        const float ahead =
            (Target.x - Position.x) * Direction.x + (Target.z - Position.z) * Direction.z;
        const float lateral = Lateral(Target);
        if (ahead < 0) {
            Turn(lateral < 0 ? -dt * kTurnBehind : dt * kTurnBehind);
        } else {
            const float s = std::clamp(lateral, -kMaxHelicopterLateral, kMaxHelicopterLateral);
            Turn(dt * s);
            Advance(std::max(0.0f, dt * (Params().Speed - std::abs(s))));
        }
        rotorsTurn = true;
    }
    if (rotorsTurn) RotorAngle = std::fmod(RotorAngle + kRotorStep, 360.0f);
    if (Moving && World.HasGrid()) {
        Position.y = World.GroundHeight(Position) + kCruisingHeight - AltitudeOffset;
    }
    RotorsVisible = Cell.InView;
}

void TSKIVehicle::Groom() {
    if (!World.HasGrid()) return;
    int ci, cj;
    TSKIWorld::WorldToCell(Position, ci, cj);
    World.GroomCells(ci, cj);
}

void TSKIVehicle::StepSnowcat(float dt) {
    RetargetTimer += dt;
    if (RetargetTimer >= kSnowcatRetarget) {
        ChooseSnowcatTarget();
        RetargetTimer = 0;
    }
    Groom();
    RefreshTimer += dt;
    if (RefreshTimer >= kSnowcatRefresh) {
        // Grooming repaints its cells on the snow overlay as it goes; the view takes the
        // overlay up again now and then.
        if (HasTarget()) World.TerrainLookChanged();
        RefreshTimer = 0;
    }
    Moving = true;
    if (Returning && Home() && GroundDistance(Position, ParkingPlace()) < kSnowcatParked) {
        Moving = false;
        return;
    }
    if (HasTarget() && GroundDistance(Position, Target) < kSnowcatArrived) {
        ClearTarget();
        ChooseSnowcatTarget();
    }
    if (!HasTarget()) return;

    const float speed = Params().Speed;
    float s = Lateral(Target);
    // A target straight behind turns the snowcat round too (it would else drive away).
    const bool behind =
        (Target.x - Position.x) * Direction.x + (Target.z - Position.z) * Direction.z < 0;
    if (std::abs(s) > kSnowcatDeadZone || behind) {
        s = s < 0 ? -kSnowcatTurn : kSnowcatTurn;
        // A target inside the circle the snowcat drives when turning fully would be circled
        // for ever: it drives straight on until the target lies well outside that circle.
        const float radius = speed / (kSnowcatTurn * kPi / 180.0f);
        const float side = s > 0 ? radius : -radius;
        const float cx = Position.x - Direction.z * side, cz = Position.z + Direction.x * side;
        const float fromCentre = std::hypot(Target.x - cx, Target.z - cz);
        if (fromCentre < radius) {
            Widening = true;
        } else if (fromCentre > radius + kSnowcatArrived) {
            Widening = false;
        }
        if (Widening) s = 0;
    } else {
        Widening = false;
    }
    Turn(dt * s);
    Advance(dt * speed);
    AvoidObstacles(dt);
    if (World.HasGrid()) Position.y = World.GroundHeight(Position);
}

void TSKIVehicle::ChooseSnowcatTarget() {
    const TSKIBuilding* home = Home();
    if (!home) {
        ClearTarget();
        return;
    }
    if (home->Open && World.HasGrid()) {
        Returning = false;
        const int ci = home->AreaI, cj = home->AreaJ;
        for (int a = ci - kAreaReach; a <= ci + kAreaReach; ++a) {
            for (int b = cj - kAreaReach; b <= cj + kAreaReach; ++b) {
                if (!TSKIWorld::CellInGrid(a, b)) continue;
                const TerrainCell& cell = World.Cell(a, b);
                if ((cell.Kind != kCellSlope && cell.Kind != kCellSlopeCentre) || cell.Groomed) {
                    continue;
                }
                Target = World.CellToWorld(a, b, false);
                Target.y = World.GroundHeight(Target);
                return;
            }
        }
    }
    Target = ParkingPlace();
    Returning = true;
}

}  // namespace vallorn
