// The two ground pictures of a level, 1024 x 1024, laid out like the overlay images: pixel
// (x, y) covers cell (x / 2, y / 2), and the centre of cell (i, j) lies between pixels 2i
// and 2i + 1 (the mesh builder's texture coordinates).
#pragma once

#include "base/image.h"
#include "level_model.h"

namespace vallorn::datagen {

constexpr int kTextureSize = 1024;

// Both pictures in one pass over the ground (they are lit and shaded alike):
//  - `snow`: the terrain under a full snow cover, lit from the upper left of the picture: white
//    and blue-grey snow, rock on the steepest faces, dark forest, the ploughed road;
//  - `ground`: the bare ground: grass and alpine meadow, forest floor, rock and scree, road and
//    gravel.
void PaintTextures(const TLevel& level, TSKIImage* snow, TSKIImage* ground);

}  // namespace vallorn::datagen
