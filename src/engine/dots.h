// Colours and shapes of the skier dots drawn over the terrain. Every colour of an overlay mode
// comes with its own shape, so the dots read without telling the colours apart.
#pragma once

#include <cstdint>

#include "base/image.h"
#include "entities/skier.h"

namespace vallorn {

// How a skier fares in an overlay mode: good, middle or bad, or for skill the piste he can
// ski.
enum class TSKIDotBand : uint8_t { Good, Middle, Bad, Beginner, Intermediate, Expert };

// The dot's outline, as the point shader cuts it. Good, middle and bad take the marks the
// windows give judged values: a triangle pointing up, a diamond, a triangle pointing down;
// beginner, intermediate and expert the piste signs' disc, square and diamond.
enum class TSKIDotShape : uint8_t {
    Disc = 0,
    TriangleUp = 1,
    Diamond = 2,
    TriangleDown = 3,
    Square = 4
};

TSKIDotBand OverlayBand(uint8_t mode, const TSKISkier& skier);
TSKIColor BandColor(TSKIDotBand band);
TSKIDotShape BandShape(TSKIDotBand band);
// The colour of a skier's dot in an overlay mode.
TSKIColor OverlayColor(uint8_t mode, const TSKISkier& skier);

}  // namespace vallorn
