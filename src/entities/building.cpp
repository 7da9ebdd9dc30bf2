#include "entities/building.h"

#include <cmath>

#include "engine/engine.h"

namespace vallorn {

TSKIVector TSKIBuilding::EntrancePoint() const {
    const TSKIBuildingParams& p = Engine.Params.Buildings[Type];
    if (!p.HasDoor) return Position;
    // The door offset turns with the building: its direction is the building's +Z axis.
    const float len = std::sqrt(Direction.x * Direction.x + Direction.z * Direction.z);
    const float dz = len > 0 ? Direction.z / len : 1.0f;
    const float dx = len > 0 ? Direction.x / len : 0.0f;
    TSKIVector p2 = Position;
    p2.x += p.DoorPosition.x * dz + p.DoorPosition.z * dx;
    p2.z += -p.DoorPosition.x * dx + p.DoorPosition.z * dz;
    return p2;
}

}  // namespace vallorn
