// The terrain overlays' pictures, painted from the park: the snow overlay and its mask, the
// slope paint, the occupancy, the object imprint and the steepness. The park only marks an
// overlay changed (base/overlays.h); the terrain textures paint it again when they draw.
#pragma once

#include <cstdint>

#include "base/image.h"
#include "base/overlays.h"
#include "engine/engine.h"

namespace vallorn {

// The side of an overlay's picture: one pixel per cell, the object imprint one per world unit.
int OverlaySide(TSKIOverlay overlay);
// What an overlay's picture depends on beyond the park's state: the display layers among
// `shown` (kDisplay* bits) that it follows, and the detail for the object imprint.
uint32_t OverlayLook(const TSKIEngine& park, TSKIOverlay overlay, uint8_t shown);
// Paints an overlay's whole picture of the park under the display layers `shown`; a park
// without a grid leaves the picture empty.
void PaintOverlay(const TSKIEngine& park, TSKIOverlay overlay, uint8_t shown, TSKIImage& image);
// Paints again only the cells with i in first..last of a picture painted before: the snow
// overlay and mask by cell; the other overlays are painted whole.
void PaintOverlayCells(const TSKIEngine& park, TSKIOverlay overlay, uint8_t shown, int first,
                       int last, TSKIImage& image);

}  // namespace vallorn
