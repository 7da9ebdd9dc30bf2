// A rescue snowmobile, rescue helicopter or snowcat, created with its building.
#pragma once

#include <cstdint>

#include "base/terrain.h"
#include "base/types.h"

namespace vallorn {

class TSKIWorld;
class TSKIBuilding;
class TSKISkier;
struct TSKIVehicleParams;

enum : uint8_t { kVehicleSnowmobile = 0, kVehicleHelicopter = 1, kVehicleSnowcat = 3 };

// What a vehicle is created with (by building placement or by game loading).
struct TSKIVehicleRecord {
    uint8_t Type = kVehicleSnowmobile;
    TSKIVector Position{0, 0, 0, 1};
    TSKIVector Direction{0, 0, 1, 0};
    int32_t Building = -1;      // index of the home building in the building list
    int32_t PatientIndex = -1;  // skier being rescued, -1 none
    int32_t Seat = 0;           // the home building's seat that is the parking place
    // A vehicle of a saved game keeps its saved place and heading (put on the terrain)
    // instead of starting parked on its seat.
    bool KeepPlace = false;
};

class TSKIVehicle {
public:
    explicit TSKIVehicle(TSKIWorld& world) : World(world) {}

    // Copies the record and parks the vehicle on its seat, facing the building's direction.
    // False (nothing usable) when the home index is outside the building list, when the
    // home's category does not fit the type, or for a helicopter on a seat above 0.
    bool Init(const TSKIVehicleRecord& record);
    const TSKIVehicleParams& Params() const;
    bool IsRescue() const { return Type == kVehicleSnowmobile || Type == kVehicleHelicopter; }
    // The home building and the patient their indexes name; null for none or a stale index.
    TSKIBuilding* Home() const;
    TSKISkier* Patient() const;
    // The parking place: the home seat's position (the building's without that seat).
    TSKIVector ParkingPlace() const;
    bool HasTarget() const { return Target.y != kNoTarget; }
    void ClearTarget() { Target = TSKIVector(0, kNoTarget, 0, 0); }

    // Takes an injured skier: the skier is marked as being rescued.
    void TakePatient(TSKISkier& skier);
    // The patient index names a skier of the list.
    bool PatientPresent() const;
    // Lets the patient go (patient none, index -1); the skier loses its mark when `unmark`.
    void ReleasePatient(bool unmark);

    // Frame update: the cell copy, the model choice, then the motion of the type. Nothing
    // while the engine is busy or halted.
    void Tick(float dt);
    // The day change: rescue vehicles drop their patients, snowcats head home.
    void ResetForDay();
    // Snowcat: the first ungroomed slope cell around the garage's area of operations, or
    // home when the garage is closed or nothing is left to groom.
    void ChooseSnowcatTarget();

    static constexpr float kNoTarget = -1.0f;

    TSKIWorld& World;
    uint8_t Type = kVehicleSnowmobile;
    TSKIVector Position{0, 0, 0, 1};
    TSKIVector Direction{0, 0, 1, 0};  // horizontal unit vector the vehicle faces
    int32_t Building = -1;             // home: index in the building list
    int32_t PatientIndex = -1;         // skier being rescued: index in the skier list, -1 none
    int32_t Seat = 0;
    TerrainCell Cell;  // the cell under the vehicle, copied every tick
    TSKIVector SmoothingAnchor{0, 0, 0, 1};
    TSKIVector Target{0, kNoTarget, 0, 0};
    float RetargetTimer = 19;  // snowcat: seconds since the last target choice
    bool Returning = false;    // snowcat: heading home to its parking place
    bool Widening = false;     // snowcat: driving straight to get a near target out of its turn
    bool Moving = false;       // under way (helicopter: airborne)
    float AltitudeOffset = 0;  // helicopter: 0 at cruising height, up to 27 when landed
    float RefreshTimer = 0;    // snowcat: seconds since the last snow redraw
    // What the renderer shows: hidden until the first update.
    bool ModelVisible = false;
    bool HighDetailModel = true;
    bool RotorsVisible = false;  // helicopter
    float RotorAngle = 0;        // helicopter, degrees
    float Pitch = 0;             // snowmobile: degrees the model is tilted to follow the ground

private:
    void StepSnowmobile(float dt);
    void StepHelicopter(float dt);
    void StepSnowcat(float dt);
    // Within reach of the patient: energy comes back; at 100 the patient is healed.
    void Treat(float dt);
    // Turns by the given degrees toward the right-hand side.
    void Turn(float degrees);
    // Signed distance of a point along the right-hand side axis.
    float Lateral(const TSKIVector& p) const;
    void Advance(float distance);
    // Pushes sideways away from stations, lift lines, buildings and trees nearby.
    void AvoidObstacles(float dt);
    void Groom();
};

// The fleet a building keeps: a snowmobile per seat of a rescue station or ski patrol, one
// helicopter for a hospital, a snowcat per seat of a garage; none for other buildings. A
// new building gets its fleet, a loaded one has it completed on the free seats.
struct TSKIFleet {
    uint8_t Vehicle = 0;
    int32_t Size = 0;
};
TSKIFleet FleetOf(const TSKIBuilding& building);

// The looping sound of a vehicle type and the distances between which the view lets it be
// heard (full volume nearer, silent farther); no name for a type without a sound.
struct TSKIVehicleSound {
    const char* Name = nullptr;
    float Near = 0, Far = 0;
};
TSKIVehicleSound VehicleSound(uint8_t type);

}  // namespace vallorn
