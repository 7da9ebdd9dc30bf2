// The ground's detail picture: tiled over the terrain, it must show no seam and neither
// brighten nor darken the ground on the whole.
#include <gtest/gtest.h>

#include <cstdlib>

#include "presentation/terrain_detail.h"

namespace vallorn {
namespace {

TEST(TerrainDetail, TheGrainTilesWithoutASeamAndKeepsTheGroundsBrightness) {
    const TSKIImage detail = DetailPicture();
    ASSERT_EQ(detail.Width(), kDetailSize);
    ASSERT_EQ(detail.Height(), kDetailSize);
    for (int channel = 0; channel < 2; ++channel) {
        SCOPED_TRACE(channel == 0 ? "snow" : "ground");
        auto at = [&](int x, int y) {
            const TSKIColor c = detail.Get(x, y);
            return channel == 0 ? int(c.r) : int(c.g);
        };
        // Across a tile's edge the grain steps no more than between neighbours inside it.
        long inner = 0, edge = 0, sum = 0;
        int lo = 255, hi = 0;
        for (int k = 0; k < kDetailSize; ++k) {
            edge += std::abs(at(kDetailSize - 1, k) - at(0, k));
            edge += std::abs(at(k, kDetailSize - 1) - at(k, 0));
            inner += std::abs(at(kDetailSize / 2 - 1, k) - at(kDetailSize / 2, k));
            inner += std::abs(at(k, kDetailSize / 2 - 1) - at(k, kDetailSize / 2));
            for (int x = 0; x < kDetailSize; ++x) {
                sum += at(x, k);
                lo = std::min(lo, at(x, k));
                hi = std::max(hi, at(x, k));
            }
        }
        EXPECT_LT(edge, 2 * inner + 2 * kDetailSize);
        EXPECT_NEAR(double(sum) / (kDetailSize * kDetailSize), 128.0, 3.0);
        EXPECT_GT(hi - lo, 120) << "too little grain to see";
    }
}

}  // namespace
}  // namespace vallorn
