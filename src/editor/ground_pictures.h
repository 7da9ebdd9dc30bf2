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

// Heights read from a picture of few grey levels rise in steps of `step` world units, and the
// terraces would show in the pictures as bands of light and shade. The heights come back
// blurred, each kept within half a step of its own, so that gentle slopes turn even while
// ridges, cliffs and peaks stay where they are. A step of 0 or less changes nothing.
THeightField SmoothHeightSteps(const THeightField& field, float step);

TGroundPictures PaintGroundPictures(const THeightField& field, int size = kGroundPictureSize);

}  // namespace vallorn
