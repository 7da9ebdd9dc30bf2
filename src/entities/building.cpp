// A placed building: its seats and door, customers entering, being served and leaving.
#include "entities/building.h"

#include <algorithm>
#include <cmath>

#include "base/saturating.h"
#include "entities/world.h"

namespace vallorn {

namespace {

constexpr float kSeatLift = 0.2f;  // a seat on the ground stands this far above it
constexpr float kWalkInSpeed = 5.0f;

// Offsets are in the building's own frame: z along its direction, x across it (the
// direction's left-hand horizontal perpendicular, so the default direction +z keeps world
// axes), y up.
TSKIVector LocalToWorld(const TSKIVector& origin, const TSKIVector& direction,
                        const TSKIVector& offset) {
    float dx = direction.x, dz = direction.z;
    const float len = std::sqrt(dx * dx + dz * dz);
    if (len > 1e-6f) {
        dx /= len;
        dz /= len;
    } else {
        dx = 0;
        dz = 1;
    }
    TSKIVector p = origin;
    p.x += offset.x * dz + offset.z * dx;
    p.y += offset.y;
    p.z += -offset.x * dx + offset.z * dz;
    p.w = 1;
    return p;
}

}  // namespace

const TSKIBuildingParams& TSKIBuilding::Params() const {
    return World.Params.Buildings[Type < kBuildingTypeCount ? Type : 0];
}

TSKIVector TSKIBuilding::EntrancePoint() const {
    return Params().HasDoor ? Door : Position;
}

void TSKIBuilding::Init(const TSKIBuildingRecord& record) {
    Type = record.Type < kBuildingTypeCount ? record.Type : 0;
    Open = record.Open;
    Occupants = record.Occupants;
    ServicePrice = record.ServicePrice;
    Position = record.Position;
    Direction = record.Direction;
    CustomersServed = record.CustomersServed;
    TotalIncome = record.TotalIncome;
    TotalExpense = record.TotalExpense;
    TooExpensiveCount = record.TooExpensiveCount;
    TooExpensiveAtMessages = TooExpensiveCount;
    ServedAtMessages = CustomersServed;
    UpgradeBonus = record.UpgradeBonus;
    PreviousTakings = CurrentTakings = 0;
    SeatOccupants.fill(nullptr);

    const bool onTerrain = World.HasGrid();
    if (onTerrain) Position.y = World.TerrainHeight(Position);
    Position.w = 1;
    TSKIWorld::WorldToCell(Position, CellI, CellJ);

    const TSKIBuildingParams& p = Params();
    const int seats = std::min<int>(p.Capacity, kBuildingSeatsMax);
    Seats.assign(size_t(seats), Position);
    for (int k = 0; k < seats; ++k) {
        const TSKIVector offset = p.Seats[size_t(k)];
        TSKIVector seat = LocalToWorld(Position, Direction, offset);
        if (offset.y == 0.0f && onTerrain) seat.y = World.TerrainHeight(seat) + kSeatLift;
        Seats[size_t(k)] = seat;
    }
    Door = Position;
    if (p.HasDoor) {
        Door =
            LocalToWorld(Position, Direction, TSKIVector(p.DoorPosition.x, 0, p.DoorPosition.z, 0));
        if (onTerrain) Door.y = World.TerrainHeight(Door);
    }

    if (onTerrain) {
        const int r = p.Size / 2;
        for (int a = CellI - r; a <= CellI + r; ++a) {
            for (int b = CellJ - r; b <= CellJ + r; ++b) {
                if (TSKIWorld::CellInGrid(a, b)) World.FellTree(a, b);
            }
        }
    }
    if (p.Category == kCategorySnowCatGarage) World.GarageCount += 1;
}

bool TSKIBuilding::Enter(TSKISkier& skier) {
    const TSKIBuildingParams& p = Params();
    if (p.Category != kCategoryRestaurant) return false;
    if (Occupants >= p.Capacity) return false;
    if (skier.Money < int32_t(ServicePrice)) return false;
    const int seats = std::min<int>(int(Seats.size()), kBuildingSeatSlots);
    if (seats <= 0) return false;
    const int k = World.Rng.Below(seats);
    if (SeatOccupants[size_t(k)] != nullptr) return false;  // tried again at a later check

    if (skier.State == kSkierWaiting) skier.LeaveAllQueues();
    SeatOccupants[size_t(k)] = &skier;
    skier.SeatPosition = Seats[size_t(k)];
    skier.Building = this;
    skier.CurrentSection = nullptr;
    skier.State = kSkierInBuilding;
    skier.TargetSpeed = kWalkInSpeed;

    Occupants += 1;
    skier.Money -= ServicePrice;
    AddTo(World.Park.ParkCash, ServicePrice);
    CustomersServed = CappedAdd(CustomersServed, 1);
    TotalIncome = CappedAdd(TotalIncome, ServicePrice);
    CurrentTakings = CappedAdd(CurrentTakings, ServicePrice);

    // The building never turns a customer away for its price; a dear one spoils the mood.
    const float fair = (p.ServiceQuality + UpgradeBonus) * float(skier.SpendingLimit);
    if (float(ServicePrice) > fair) {
        skier.Happiness -= (float(ServicePrice) - fair) * World.Params.Game.TooExpensivePenalty;
        TooExpensiveCount = CappedAdd(TooExpensiveCount, 1);
    }
    return true;
}

void TSKIBuilding::Leave(TSKISkier& skier) {
    if (World.Busy) return;
    skier.State = kSkierIdle;
    skier.Building = nullptr;
    for (TSKISkier*& seat : SeatOccupants) {
        if (seat == &skier) seat = nullptr;
    }
    if (Params().HasDoor) {
        skier.Position = Door;
        skier.Position.x += float(World.Rng.Between(-1.0, 1.0));
        skier.Position.z += float(World.Rng.Between(-1.0, 1.0));
        skier.Position.y = World.GroundHeight(skier.Position) + kStandHeight;
        skier.Position.w = 1;
    }
    skier.Decide();
    if (Occupants > 0) Occupants -= 1;
}

void TSKIBuilding::EvictAll() {
    for (TSKISkier* seated : SeatOccupants) {
        if (seated) Leave(*seated);
    }
    Occupants = 0;
}

void TSKIBuilding::ResetForDay() {
    // Runs inside the day change, while the engine is busy: the customers are released
    // directly; the day change then sends every skier back to the arrival point.
    for (TSKISkier*& seated : SeatOccupants) {
        if (!seated) continue;
        if (seated->Building == this) {
            seated->Building = nullptr;
            if (seated->State == kSkierInBuilding) seated->State = kSkierIdle;
        }
        seated = nullptr;
    }
    Occupants = 0;
}

}  // namespace vallorn
