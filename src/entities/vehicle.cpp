// Vehicles of the service buildings: creation with their building, the rescue dispatch,
// treatment of the injured, the day reset and the fix-ups when skiers or buildings go.
// The motion of each type is in vehicle_motion.cpp.
#include "entities/vehicle.h"

#include <algorithm>
#include <cmath>

#include "entities/world.h"

namespace vallorn {

namespace {

constexpr float kHealedEnergy = 100.0f;
constexpr float kNoCandidate = 10000.0f;     // estimated times at or beyond this never win
constexpr float kRefreshSpread = 3.0f;       // snowcats redraw the snow at staggered times
constexpr float kMaxSavedAltitude = 100.0f;  // a loaded vehicle is never higher above ground
constexpr float kSnowmobileStep = 0.25f;     // longest drive of one motion step

// The building category a vehicle type belongs to, or none for a type no building has.
int HomeCategory(uint8_t type) {
    switch (type) {
        case kVehicleSnowmobile:
            return kCategoryRescue;
        case kVehicleHelicopter:
            return kCategoryHospital;
        case kVehicleSnowcat:
            return kCategorySnowCatGarage;
        default:
            return -1;
    }
}

}  // namespace

TSKIVehicleSound VehicleSound(uint8_t type) {
    switch (type) {
        case kVehicleSnowmobile:
            return {"scooter", 5.0f, 20.0f};
        case kVehicleHelicopter:
            return {"heli", 20.0f, 60.0f};
        case kVehicleSnowcat:
            return {"snowcat", 20.0f, 50.0f};
        default:
            return {};
    }
}

bool TSKIVehicle::Init(const TSKIVehicleRecord& record) {
    Type = record.Type;
    Position = record.Position;
    Direction = record.Direction;
    Building = record.Building;
    PatientIndex = -1;
    Seat = record.Seat;
    ClearTarget();
    RetargetTimer = 19;
    Returning = false;
    Widening = false;
    Moving = false;
    AltitudeOffset = 0;
    RefreshTimer = float(World.Rng.Between(0.0, kRefreshSpread));
    ModelVisible = false;

    TSKIBuilding* home = Home();
    if (!home || int(home->Params().Category) != HomeCategory(Type) ||
        (Type == kVehicleHelicopter && Seat > 0)) {
        Building = -1;
        return false;
    }

    // Parked on the seat, facing the way the building faces. A saved vehicle goes on where it
    // was, at its height above the ground (held between the ground and 100 units over it).
    Position = record.KeepPlace ? record.Position : ParkingPlace();
    if (World.HasGrid()) {
        const float ground = World.GroundHeight(Position);
        Position.y = record.KeepPlace && std::isfinite(Position.y)
                         ? std::clamp(Position.y, ground, ground + kMaxSavedAltitude)
                         : ground;
    }
    Position.w = 1;
    Direction = record.KeepPlace ? record.Direction : home->Direction;
    Direction.y = 0;
    Direction.w = 0;
    const float len = std::hypot(Direction.x, Direction.z);
    // A unit heading is kept to the last bit, so that a saved game loads back the same.
    if (!(len > 1e-6f && std::isfinite(len))) {
        Direction = TSKIVector(0, 0, 1, 0);
    } else if (std::fabs(len - 1.0f) > 1e-5f) {
        Direction = Direction / len;
    }
    SmoothingAnchor = Position;
    if (World.HasGrid()) Cell = World.CellAt(Position);

    // A saved rescue goes on when it names an injured skier.
    const int32_t p = record.PatientIndex;
    if (IsRescue() && p >= 0 && size_t(p) < World.Skiers.size()) {
        TSKISkier& skier = *World.Skiers[size_t(p)];
        if (skier.Injured) TakePatient(skier);
    }
    return true;
}

const TSKIVehicleParams& TSKIVehicle::Params() const {
    return World.Params.Vehicles[Type < kVehicleTypeCount ? Type : 0];
}

TSKIBuilding* TSKIVehicle::Home() const {
    return World.BuildingByIndex(Building);
}

TSKISkier* TSKIVehicle::Patient() const {
    return PatientPresent() ? World.Skiers[size_t(PatientIndex)].get() : nullptr;
}

TSKIVector TSKIVehicle::ParkingPlace() const {
    const TSKIBuilding* home = Home();
    if (!home) return Position;
    if (Seat >= 0 && size_t(Seat) < home->Seats.size()) return home->Seats[size_t(Seat)];
    return home->Position;
}

void TSKIVehicle::TakePatient(TSKISkier& skier) {
    PatientIndex = World.IndexOf(&skier);
    skier.RescueAssigned = true;
}

bool TSKIVehicle::PatientPresent() const {
    return PatientIndex >= 0 && size_t(PatientIndex) < World.Skiers.size();
}

void TSKIVehicle::ReleasePatient(bool unmark) {
    if (unmark && PatientPresent()) World.Skiers[size_t(PatientIndex)]->RescueAssigned = false;
    PatientIndex = -1;
}

void TSKIVehicle::Tick(float dt) {
    if (World.Busy || World.Halted) return;
    // A patient removed without the fix-up is let go rather than followed.
    if (PatientIndex != -1 && !PatientPresent()) ReleasePatient(false);
    if (World.HasGrid()) Cell = World.CellAt(Position);

    // A type with a low-detail model shows near the camera, in detail only when its cell is
    // drawn; a type without one shows only on drawn cells near the camera.
    if (!Params().ModelLow.empty()) {
        ModelVisible = Cell.NearCamera;
        HighDetailModel = Cell.InView;
    } else {
        ModelVisible = Cell.InView && Cell.NearCamera;
        HighDetailModel = true;
    }

    switch (Type) {
        case kVehicleSnowmobile: {
            // Driven in short steps, so that it reaches a patient lying by trees or a lift
            // whatever the frame time: one long step and the obstacles' push carried it round
            // the patient for ever, and every other injured skier waited for it in vain.
            const float distance = dt * Params().Speed;
            const int steps = std::clamp(int(std::ceil(distance / kSnowmobileStep)), 1, 256);
            for (int k = 0; k < steps; ++k) StepSnowmobile(dt / float(steps));
            break;
        }
        case kVehicleHelicopter:
            StepHelicopter(dt);
            break;
        case kVehicleSnowcat:
            StepSnowcat(dt);
            break;
        default:
            break;
    }
}

void TSKIVehicle::Treat(float dt) {
    TSKISkier& patient = *Patient();
    if (patient.Energy < kHealedEnergy) patient.Energy += dt * Params().ServiceFactor;
    if (patient.Energy < kHealedEnergy) return;
    patient.Injured = false;
    patient.Energy = kHealedEnergy;
    patient.State = kSkierIdle;
    ReleasePatient(true);
    if (TSKIBuilding* home = Home()) home->CustomersServed = CappedAdd(home->CustomersServed, 1);
}

void TSKIVehicle::ResetForDay() {
    if (IsRescue()) {
        ReleasePatient(true);
    } else if (Type == kVehicleSnowcat && Home()) {
        Target = ParkingPlace();
        Returning = true;
    }
}

// --- world operations -------------------------------------------------------------------

TSKIVehicle* TSKIWorld::CreateVehicle(const TSKIVehicleRecord& record) {
    auto vehicle = std::make_unique<TSKIVehicle>(*this);
    if (!vehicle->Init(record)) return nullptr;
    Vehicles.push_back(std::move(vehicle));
    return Vehicles.back().get();
}

TSKIFleet FleetOf(const TSKIBuilding& building) {
    const int32_t seats = int32_t(building.Seats.size());
    switch (building.Params().Category) {
        case kCategoryRescue:
            return {kVehicleSnowmobile, seats};
        case kCategoryHospital:
            return {kVehicleHelicopter, std::min(seats, 1)};
        case kCategorySnowCatGarage:
            return {kVehicleSnowcat, seats};
        default:
            return {};
    }
}

int32_t TSKIWorld::CreateBuildingVehicles(size_t buildingIndex) {
    if (buildingIndex >= Buildings.size()) return 0;
    TSKIBuilding& building = *Buildings[buildingIndex];
    const TSKIFleet fleet = FleetOf(building);
    if (fleet.Size <= 0) return 0;
    TSKIVehicleRecord record;
    record.Building = int32_t(buildingIndex);
    record.Position = building.Position;
    record.Direction = building.Direction;
    record.Type = fleet.Vehicle;
    if (fleet.Vehicle == kVehicleSnowcat) {
        // A new garage works round its own cell until the player sets another centre.
        building.AreaI = building.CellI;
        building.AreaJ = building.CellJ;
    }
    int32_t created = 0;
    for (int32_t seat = 0; seat < fleet.Size; ++seat) {
        record.Seat = seat;
        if (CreateVehicle(record)) ++created;
    }
    return created;
}

void TSKIWorld::RemoveBuildingVehicles(size_t buildingIndex) {
    for (size_t k = Vehicles.size(); k-- > 0;) {
        TSKIVehicle& vehicle = *Vehicles[k];
        if (vehicle.Building != int32_t(buildingIndex)) continue;
        vehicle.ReleasePatient(true);
        Vehicles.erase(Vehicles.begin() + std::ptrdiff_t(k));
    }
}

TSKIVehicle* TSKIWorld::FindRescueVehicle(const TSKISkier& skier) {
    if (Vehicles.empty() || !skier.Injured || skier.Energy < -100.0f) return nullptr;
    TSKIVehicle* best = nullptr;
    float bestTime = kNoCandidate;
    for (const auto& vehicle : Vehicles) {
        if (!vehicle->IsRescue()) continue;
        if (vehicle->PatientIndex != -1 && vehicle->Patient() != &skier) continue;
        const TSKIBuilding* home = vehicle->Home();
        if (!home || !home->Open) continue;
        const float speed = vehicle->Params().Speed;
        if (speed <= 0) continue;
        const float time = GroundDistance(vehicle->Position, skier.Position) / speed;
        if (time < bestTime) {
            best = vehicle.get();
            bestTime = time;
        }
    }
    for (const auto& vehicle : Vehicles) {
        if (vehicle.get() != best && vehicle->Patient() == &skier) vehicle->ReleasePatient(false);
    }
    return best;
}

void TSKIWorld::ForgetPatient(const TSKISkier* skier) {
    if (!skier) return;
    for (const auto& vehicle : Vehicles) {
        if (vehicle->Patient() == skier) vehicle->ReleasePatient(false);
    }
}

void TSKIWorld::VehiclesSkierRemoved(size_t index) {
    if (index >= Skiers.size()) return;
    ForgetPatient(Skiers[index].get());
    for (const auto& vehicle : Vehicles) {
        if (vehicle->PatientIndex > int32_t(index)) vehicle->PatientIndex -= 1;
    }
}

void TSKIWorld::ResetVehiclesForDay() {
    for (const auto& vehicle : Vehicles) vehicle->ResetForDay();
}

}  // namespace vallorn
