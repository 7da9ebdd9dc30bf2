// Colours and shapes of the skier dots drawn over the terrain. Every colour of an overlay mode
// comes with its own shape, so the dots read without telling the colours apart.
#pragma once

#include <cstdint>
#include <vector>

#include "base/image.h"
#include "entities/skier.h"

namespace vallorn {

class TSKIEngine;

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

// The dots a view draws over the park: in the colours of the overlay mode (the skier flags,
// 0 none) 3 units above the skiers
// on cells in view, and grey ones 1 unit above the skiers on cells in view that the view did
// not draw as a detailed figure and above the vehicles without a low-detail model it did not
// draw as a model (`detailedSkiers` and `drawnVehicles` by index; missing entries: not drawn).
struct TSKIDot {
    TSKIVector Position;
    TSKIColor Color;
    uint8_t Shape = 0;  // a TSKIDotShape for the overlay dots
};
struct TSKIViewDots {
    std::vector<TSKIDot> Overlay, Crowd;
};
TSKIViewDots CollectDots(const TSKIEngine& engine, uint8_t overlayMode,
                         const std::vector<uint8_t>& detailedSkiers,
                         const std::vector<uint8_t>& drawnVehicles);

}  // namespace vallorn
