// Laying a slope onto the terrain grid: its raster, the cells it claims, its detail line and
// its difficulty colour.
#include <algorithm>
#include <cmath>

#include "entities/network_raster.h"
#include "entities/section.h"
#include "entities/world.h"

namespace vallorn {

namespace {

constexpr int kSlopeBoxMargin = 10;  // cells around the path that the slope may claim

}  // namespace

TSKICellBox PathCellBox(const std::vector<TSKIVector>& points, int widen, int lo, int hi) {
    TSKICellBox box;
    if (points.empty()) return box;
    box.I0 = box.J0 = kGridSide;
    box.I1 = box.J1 = -1;
    for (const TSKIVector& p : points) {
        int i, j;
        TSKIWorld::WorldToCell(p, i, j);
        box.I0 = std::min(box.I0, i);
        box.I1 = std::max(box.I1, i);
        box.J0 = std::min(box.J0, j);
        box.J1 = std::max(box.J1, j);
    }
    box.I0 = std::clamp(box.I0 - widen, lo, hi);
    box.J0 = std::clamp(box.J0 - widen, lo, hi);
    box.I1 = std::clamp(box.I1 + widen, lo, hi);
    box.J1 = std::clamp(box.J1 + widen, lo, hi);
    return box;
}

void DrawSlopePath(TSKIImage& raster, const std::vector<TSKIVector>& points, int firstWidth) {
    for (size_t k = 1; k < points.size(); ++k) {
        int i0, j0, i1, j1;
        TSKIWorld::WorldToCell(points[k - 1], i0, j0);
        TSKIWorld::WorldToCell(points[k], i1, j1);
        const uint8_t level = uint8_t(std::min<size_t>(k, kMaxRasterPoint));
        int width = int(std::lround(points[k].w));
        if (k == 1 && firstWidth > 0) width = firstWidth;
        raster.DrawLine(i0, j0, i1, j1, {level, level, level}, std::max(1, width));
    }
}

void ClearBox(TSKIImage& raster, const TSKICellBox& box) {
    const TSKIColor white{kRasterWhite, kRasterWhite, kRasterWhite};
    for (int i = box.I0; i <= box.I1; ++i)
        for (int j = box.J0; j <= box.J1; ++j) raster.Set(i, j, white);
}

TSKIImage& ScratchRaster() {
    thread_local TSKIImage raster(kGridSide, kGridSide, {kRasterWhite, kRasterWhite, kRasterWhite});
    return raster;
}

uint8_t TSKISection::RasterValue(int i, int j) const {
    const int a = i - RasterI0, b = j - RasterJ0;
    if (a < 0 || b < 0 || a >= RasterWidth || b >= RasterHeight) return kRasterEmpty;
    return Raster[size_t(a) * size_t(RasterHeight) + size_t(b)];
}

void TSKISection::BuildSlope() {
    Kind = kSectionSlope;
    TSKIWorld& e = World;
    const int32_t self = e.IndexOf(this);
    Raster.clear();
    RasterWidth = RasterHeight = 0;

    // 1.-2. Draw the path into the raster; every drawn cell of the widened bounding box is
    // the slope's surface where the ground was free.
    if (e.HasGrid() && !Points.empty()) {
        const TSKICellBox box = PathCellBox(Points, kSlopeBoxMargin, 0, kGridSize - 1);
        TSKIImage& raster = ScratchRaster();
        ClearBox(raster, box);
        DrawSlopePath(raster, Points, 0);
        RasterI0 = box.I0;
        RasterJ0 = box.J0;
        RasterWidth = box.I1 - box.I0 + 1;
        RasterHeight = box.J1 - box.J0 + 1;
        Raster.assign(size_t(RasterWidth) * size_t(RasterHeight), kRasterEmpty);
        for (int i = box.I0; i <= box.I1; ++i) {
            for (int j = box.J0; j <= box.J1; ++j) {
                const uint8_t level = RasterLevel(raster, i, j);
                if (level == kRasterWhite) continue;
                Raster[size_t(i - box.I0) * size_t(RasterHeight) + size_t(j - box.J0)] = level;
                TerrainCell& c = e.Cell(i, j);
                if (c.Kind == kCellFree) {
                    c.Kind = kCellSlope;
                    c.Section = self;
                }
            }
        }
        ClearBox(raster, box);

        // 3. Interior points mark the slope's centre line.
        for (size_t k = 1; k + 1 < Points.size(); ++k) {
            int i, j;
            TSKIWorld::WorldToCell(Points[k], i, j);
            TerrainCell& c = e.Cell(i, j);
            c.Kind = kCellSlopeCentre;
            c.Section = self;
        }
    }

    // 4. The detail line: the path resampled every 2 units.
    DetailLine.clear();
    if (!Points.empty()) {
        DetailLine.push_back(Points.front());
        float carried = 0;  // distance walked since the last resampled point
        for (size_t k = 1; k < Points.size(); ++k) {
            const TSKIVector a = Points[k - 1], b = Points[k];
            const TSKIVector d(b.x - a.x, b.y - a.y, b.z - a.z, 0);
            const float len = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
            float s = kDetailStep - carried;
            while (s <= len) {
                const float t = s / len;
                DetailLine.push_back(
                    TSKIVector(a.x + d.x * t, a.y + d.y * t, a.z + d.z * t, a.w + (b.w - a.w) * t));
                s += kDetailStep;
            }
            carried = len - (s - kDetailStep);
        }
        for (TSKIVector& p : DetailLine)
            if (e.HasGrid()) p.y = e.GroundHeight(p);
    }
    LengthMetres = Length() * kMetresPerUnit;

    // 5. Difficulty: the share of detail points in each steepness class of the terrain.
    int blue = 0, red = 0, black = 0;
    for (const TSKIVector& p : DetailLine) {
        float steepness = 0;
        if (e.HasGrid()) {
            int i, j;
            TSKIWorld::WorldToCell(p, i, j);
            steepness = e.Cell(i, j).Steepness;
        }
        const uint8_t band = SteepnessDifficulty(steepness);
        if (band == kDifficultyBlack)
            ++black;
        else if (band == kDifficultyRed)
            ++red;
        else
            ++blue;
    }
    const float total = float(std::max<size_t>(DetailLine.size(), 1));
    BlueShare = 100.0f * float(blue) / total;
    RedShare = 100.0f * float(red) / total;
    BlackShare = 100.0f * float(black) / total;
    // Later tests win: ties go black before red before blue.
    if (blue >= red && blue >= black) Difficulty = kDifficultyBlue;
    if (red >= blue && red >= black) Difficulty = kDifficultyRed;
    if (black >= blue && black >= red) Difficulty = kDifficultyBlack;
}

}  // namespace vallorn
