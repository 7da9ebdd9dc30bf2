// The ground's detail: a small picture tiled over the terrain many times (one tile every
// kDetailTileUnits world units), whose grain the terrain shader lays over the ground picture
// near the eye so that the ground stays sharp where the picture's own pixels would blur. Its
// red channel is the grain of snow (fine, soft), its green the grain of bare ground (coarser
// tufts and stones). Made here, by code, and tiles without a seam. Pure CPU work: tested
// without a display.
#pragma once

#include "base/image.h"

namespace vallorn {

constexpr int kDetailSize = 128;           // pixels a side
constexpr float kDetailTileUnits = 16.0f;  // world units a tile covers

// Values spread around 128, their mean 128 within a few levels.
TSKIImage DetailPicture();

}  // namespace vallorn
