// Rasters shared by the builders of the resort network: a slope's path drawn cell by cell
// with the index of the path point that ends each segment as its grey level.
#pragma once

#include <vector>

#include "base/image.h"
#include "base/types.h"

namespace vallorn {

constexpr uint8_t kRasterWhite = 255;  // not drawn
constexpr int kMaxRasterPoint = 254;   // later points draw with this level

struct TSKICellBox {
    int I0 = 0, J0 = 0, I1 = -1, J1 = -1;
    bool Empty() const { return I1 < I0 || J1 < J0; }
};

// The cells of the path's points, widened by `widen` and clamped to lo..hi in both axes.
TSKICellBox PathCellBox(const std::vector<TSKIVector>& points, int widen, int lo, int hi);
// Draws a slope path into a raster whose pixel (i, j) is cell (i, j): segment k (ending at
// point k) in grey level k, pen width = point k's width rounded; a positive `firstWidth`
// replaces the width of the first segment.
void DrawSlopePath(TSKIImage& raster, const std::vector<TSKIVector>& points, int firstWidth);
// Fills the box with white.
void ClearBox(TSKIImage& raster, const TSKICellBox& box);
// The grey level of a pixel (white where not drawn).
inline uint8_t RasterLevel(const TSKIImage& raster, int i, int j) {
    return raster.Get(i, j).r;
}
// A white grid-sized scratch raster, kept between calls; callers clear the boxes they use.
TSKIImage& ScratchRaster();

}  // namespace vallorn
