// A rescue snowmobile, rescue helicopter or snowcat, created with its building.
#pragma once

#include <cstdint>

#include "engine/types.h"

namespace vallorn {

class TSKIEngine;

enum : uint8_t { kVehicleSnowmobile = 0, kVehicleHelicopter = 1, kVehicleSnowcat = 3 };

class TSKIVehicle {
public:
    explicit TSKIVehicle(TSKIEngine& engine) : Engine(engine) {}

    TSKIEngine& Engine;
    uint8_t Type = 0;
    int32_t Building = -1;  // index of the home building
    TSKIVector Position{0, 0, 0, 1};
    bool SuppressDot = false;
};

}  // namespace vallorn
