#include "entities/building.h"

#include "engine/engine.h"

namespace vallorn {

const TSKIBuildingParams& TSKIBuilding::Params() const {
    return Engine.Params.Buildings[Type < kBuildingTypeCount ? Type : 0];
}

TSKIVector TSKIBuilding::EntrancePoint() const {
    return Params().HasDoor ? Door : Position;
}

}  // namespace vallorn
