#include "presentation/terrain_relief.h"

#include <algorithm>
#include <cmath>

#include <glm/glm.hpp>

namespace vallorn {

glm::vec3 TerrainNormal(const TSKITerrainHeights& heights, int i, int j) {
    const int ia = std::max(i - 1, 0), ib = std::min(i + 1, kTerrainSide - 1);
    const int ja = std::max(j - 1, 0), jb = std::min(j + 1, kTerrainSide - 1);
    // x falls as i grows, z grows with j.
    const float dhdx = (heights.At(ia, j) - heights.At(ib, j)) / (kCellSize * float(ib - ia));
    const float dhdz = (heights.At(i, jb) - heights.At(i, ja)) / (kCellSize * float(jb - ja));
    return glm::normalize(glm::vec3(-dhdx, 1.0f, -dhdz));
}

float ReliefShade(const glm::vec3& normal, const glm::vec3& light) {
    // Near half the light comes from the sky whatever the slope; the rest from the sun. Ground
    // square to the light is the brightest the picture holds.
    constexpr float kSky = 0.45f, kSun = 0.55f;
    const float lit = kSky + kSun * std::max(glm::dot(normal, light), 0.0f);
    // Steep ground gets less of the sky: a 60-degree face loses an eighth.
    const float open = 1.0f - 0.25f * (1.0f - std::clamp(normal.y, 0.0f, 1.0f));
    return std::clamp(lit * open, 0.0f, 1.0f);
}

TSKIImage ReliefImage(const TSKITerrainHeights& heights, const glm::vec3& light) {
    TSKIImage image;
    if (heights.Empty()) return image;
    image.Resize(kGridSize, kGridSize);
    std::vector<uint8_t>& px = image.Pixels();
    for (int j = 0; j < kGridSize; ++j) {
        for (int i = 0; i < kGridSize; ++i) {
            const float shade = ReliefShade(TerrainNormal(heights, i, j), light);
            const auto v = uint8_t(std::lround(shade * 255.0f));
            uint8_t* p = &px[(size_t(j) * kGridSize + size_t(i)) * 3];
            p[0] = p[1] = p[2] = v;
        }
    }
    return image;
}

}  // namespace vallorn
