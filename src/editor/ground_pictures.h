// The two ground pictures a level made from a height map gets, painted from its heights as the
// shipped levels' are: the snow picture (bright snow where the sun falls, blue-grey in the
// shade, rock on the steepest faces) and the ground picture (valley grass, dry alpine meadow
// higher up, scree and banded rock on steep ground). Pixel (x, y) lies over cell (x, y) scaled
// to the picture's size, as in every ground and overlay picture.
#pragma once

#include "base/image.h"
#include "base/terrain_mesh_builder.h"

namespace vallorn {

constexpr int kGroundPictureSize = 1024;

struct TGroundPictures {
    TSKIImage Snow;
    TSKIImage Ground;
};

TGroundPictures PaintGroundPictures(const THeightField& field, int size = kGroundPictureSize);

}  // namespace vallorn
