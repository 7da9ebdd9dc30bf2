// The two ground pictures of a level, 1024 x 1024, laid out like the overlay images: pixel
// (x, y) covers cell (x / 2, y / 2), and the centre of cell (i, j) lies between pixels 2i
// and 2i + 1 (the mesh builder's texture coordinates).
#pragma once

#include "base/image.h"
#include "level_model.h"

namespace vallorn::datagen {

constexpr int kTextureSize = 1024;

// The terrain under a full snow cover, lit from the upper left of the picture: white and
// blue-grey snow, rock on the steepest faces, dark forest, the ploughed road.
TSKIImage PaintSnowTexture(const TLevel& level);
// The bare ground: grass and alpine meadow, forest floor, rock and scree, road and gravel.
TSKIImage PaintGroundTexture(const TLevel& level);

}  // namespace vallorn::datagen
