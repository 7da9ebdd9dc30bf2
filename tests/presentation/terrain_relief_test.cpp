// The terrain's relief: the sun lights the ground by its own slope (from its bearing, lower), so
// that a hill reads on plain snow without an overlay.
#include <gtest/gtest.h>

#include <cmath>

#include <glm/glm.hpp>

#include "presentation/terrain_relief.h"
#include "presentation/terrain_renderer.h"

namespace vallorn {
namespace {

// A round hill 120 high in the middle of flat ground; its sides grow steeper toward its foot
// and then ease out.
float ReliefHill(int i, int j) {
    const float di = float(i - 256), dj = float(j - 256);
    return 120.0f * std::exp(-(di * di + dj * dj) / (2.0f * 24.0f * 24.0f));
}

TEST(TerrainRelief, AHillIsBrightOnItsSunnySideDarkOnTheOtherAndFlatGroundInBetween) {
    TSKITerrainHeights heights;
    heights.Heights.resize(size_t(kTerrainSide) * kTerrainSide);
    for (int i = 0; i < kTerrainSide; ++i)
        for (int j = 0; j < kTerrainSide; ++j)
            heights.Heights[size_t(i) * kTerrainSide + size_t(j)] = ReliefHill(i, j);
    const TSKIImage relief = ReliefImage(heights, kReliefLight);
    ASSERT_EQ(relief.Width(), kGridSize);
    ASSERT_EQ(relief.Height(), kGridSize);
    auto shade = [&](float cells) {
        // Along the sun's bearing over the ground: x falls as i grows, z grows with j.
        const glm::vec2 toSun = glm::normalize(glm::vec2(kReliefLight.x, kReliefLight.z));
        return int(relief
                       .Get(int(std::lround(256.0f - toSun.x * cells)),
                            int(std::lround(256.0f + toSun.y * cells)))
                       .r);
    };
    const int flat = shade(200), top = shade(0);
    // Flat ground and the top of the hill alike, a little under full light.
    EXPECT_EQ(flat, top);
    EXPECT_GT(flat, 180);
    EXPECT_LT(flat, 250);
    // The hillside facing the sun is brighter than flat ground, the one facing away darker,
    // and its steepest part (a cell from the foot of the steepest slope at 24 cells) darkest.
    EXPECT_GT(shade(14), flat + 5);
    EXPECT_LT(shade(-10), flat - 30);
    EXPECT_LT(shade(-24), shade(-10));
    EXPECT_LT(shade(-24), shade(-60));
    // Across the sun's bearing both flanks are lit alike.
    const glm::vec2 across = glm::normalize(glm::vec2(kReliefLight.z, -kReliefLight.x));
    const TSKIColor left = relief.Get(int(std::lround(256.0f - across.x * 24.0f)),
                                      int(std::lround(256.0f + across.y * 24.0f)));
    const TSKIColor right = relief.Get(int(std::lround(256.0f + across.x * 24.0f)),
                                       int(std::lround(256.0f - across.y * 24.0f)));
    EXPECT_NEAR(left.r, right.r, 3);
    EXPECT_LT(left.r, flat);  // steep ground is a little darker however it faces
}

}  // namespace
}  // namespace vallorn
