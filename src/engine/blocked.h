// The blocked-terrain mask derived from the slope of the ground.
#pragma once

#include "engine/engine.h"

namespace vallorn {

void ComputeBlocked(TSKIEngine& engine, int grain);

}  // namespace vallorn
