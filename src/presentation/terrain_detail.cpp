#include "presentation/terrain_detail.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace vallorn {
namespace {

// A lattice of random values that wraps every `period` cells, smoothly interpolated.
struct TWrappedNoise {
    int Period;
    std::vector<float> Values;
    TWrappedNoise(int period, uint32_t seed) : Period(period), Values(size_t(period) * period) {
        uint32_t s = seed;
        for (float& v : Values) {
            s = s * 1664525u + 1013904223u;
            v = float(s >> 8) / float(1u << 24);
        }
    }
    float At(int x, int y) const {
        x = ((x % Period) + Period) % Period;
        y = ((y % Period) + Period) % Period;
        return Values[size_t(y) * size_t(Period) + size_t(x)];
    }
    // At (u, v) in lattice cells.
    float Sample(float u, float v) const {
        const int x = int(std::floor(u)), y = int(std::floor(v));
        float fx = u - float(x), fy = v - float(y);
        fx = fx * fx * (3 - 2 * fx);
        fy = fy * fy * (3 - 2 * fy);
        const float a = At(x, y) + (At(x + 1, y) - At(x, y)) * fx;
        const float b = At(x, y + 1) + (At(x + 1, y + 1) - At(x, y + 1)) * fx;
        return a + (b - a) * fy;
    }
};

// Octaves of wrapped noise from `cells` lattice cells a tile, each finer one weighing less,
// scaled so that three standard deviations reach 1, with the mean taken out.
std::vector<float> Grain(int cells, int octaves, float falloff, uint32_t seed) {
    std::vector<float> out(size_t(kDetailSize) * kDetailSize, 0.0f);
    float weight = 1.0f;
    for (int o = 0; o < octaves; ++o, cells *= 2, weight *= falloff) {
        const TWrappedNoise noise(cells, seed + uint32_t(o) * 7919u);
        const float scale = float(cells) / float(kDetailSize);
        for (int y = 0; y < kDetailSize; ++y)
            for (int x = 0; x < kDetailSize; ++x)
                out[size_t(y) * kDetailSize + size_t(x)] +=
                    weight * (noise.Sample(float(x) * scale, float(y) * scale) - 0.5f);
    }
    double sum = 0, sq = 0;
    for (float v : out) sum += v, sq += double(v) * v;
    const double mean = sum / double(out.size());
    const double sd = std::sqrt(std::max(1e-9, sq / double(out.size()) - mean * mean));
    for (float& v : out) v = float((v - mean) / (3.0 * sd));
    return out;
}

}  // namespace

TSKIImage DetailPicture() {
    const std::vector<float> snow = Grain(16, 3, 0.6f, 11u);
    const std::vector<float> ground = Grain(8, 4, 0.7f, 23u);
    TSKIImage image(kDetailSize, kDetailSize);
    std::vector<uint8_t>& px = image.Pixels();
    auto level = [](float v) { return uint8_t(std::clamp(128.0f + 127.0f * v, 0.0f, 255.0f)); };
    for (size_t k = 0; k < snow.size(); ++k) {
        px[3 * k] = level(snow[k]);
        px[3 * k + 1] = level(ground[k]);
        px[3 * k + 2] = 128;
    }
    return image;
}

}  // namespace vallorn
