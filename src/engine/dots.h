// Colours of the skier dots drawn over the terrain.
#pragma once

#include <cstdint>

#include "base/image.h"
#include "entities/skier.h"

namespace vallorn {

// The colour of a skier's dot in an overlay mode.
TSKIColor OverlayColor(uint8_t mode, const TSKISkier& skier);

}  // namespace vallorn
