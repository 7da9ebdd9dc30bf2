// The blocked-terrain mask derived from the slope of the ground.
#include <algorithm>
#include <cmath>

#include "engine/blocked.h"
#include "engine/engine.h"
#include "engine/overlays.h"

namespace vallorn {

void ComputeBlocked(TSKIEngine& engine, int grain) {
    if (!engine.HasGrid()) return;
    grain = std::clamp(grain, 0, 255);
    for (int i = 0; i < kGridSize; ++i)
        for (int j = 0; j < kGridSize; ++j) engine.Cell(i, j).Blocked = false;

    // A cell is blocked when the rise to any of its four neighbours is too steep.
    const float scaleY = engine.Level.Scale.y;
    const float threshold = engine.Level.BlockThreshold;
    for (int j = 1; j <= kGridSize - 2; ++j) {
        for (int k = 1; k <= kGridSize - 2; ++k) {
            TerrainCell& c = engine.Cell(j, k);
            const float h = c.Height;
            if (std::fabs(engine.Cell(j - 1, k).Height - h) * scaleY > threshold ||
                std::fabs(engine.Cell(j + 1, k).Height - h) * scaleY > threshold ||
                std::fabs(engine.Cell(j, k - 1).Height - h) * scaleY > threshold ||
                std::fabs(engine.Cell(j, k + 1).Height - h) * scaleY > threshold) {
                c.Blocked = true;
            }
        }
    }

    // Specks: 5 x 5 windows on a stride of 4 (so neighbouring windows share a row or a
    // column), visited row by row; a window with fewer than `grain` blocked cells is cleared
    // whole, which can lower the count of the windows after it.
    constexpr int kWindows = (kGridSize - 5) / 4;  // 126: the last window index
    for (int d = 0; d <= kWindows; ++d) {
        for (int e = 0; e <= kWindows; ++e) {
            int count = 0;
            for (int a = 4 * d; a <= 4 * d + 4; ++a)
                for (int b = 4 * e; b <= 4 * e + 4; ++b) count += engine.Cell(a, b).Blocked;
            if (count < grain) {
                for (int a = 4 * d; a <= 4 * d + 4; ++a)
                    for (int b = 4 * e; b <= 4 * e + 4; ++b) engine.Cell(a, b).Blocked = false;
            }
        }
    }

    RebuildOverlay(engine, TSKIOverlay::Occupancy);
}

}  // namespace vallorn
