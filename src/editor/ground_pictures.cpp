#include "editor/ground_pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "base/terrain.h"

namespace vallorn {
namespace {

struct TRgb {
    float r, g, b;
};
TRgb Mix(const TRgb& a, const TRgb& b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}
TRgb Scale(const TRgb& a, float s) {
    return {a.r * s, a.g * s, a.b * s};
}
TSKIColor ToColor(const TRgb& c) {
    auto channel = [](float v) { return uint8_t(std::lround(std::clamp(v, 0.0f, 255.0f))); };
    return {channel(c.r), channel(c.g), channel(c.b)};
}
float SmoothStep(float lo, float hi, float x) {
    const float t = std::clamp((x - lo) / (hi - lo), 0.0f, 1.0f);
    return t * t * (3 - 2 * t);
}

// Smooth value noise in -1..1 from a hashed lattice.
class TNoise {
public:
    explicit TNoise(uint32_t seed) : seed_(seed) {}
    float Value(float x, float y) const {
        const float fx = std::floor(x), fy = std::floor(y);
        const auto ix = int32_t(fx), iy = int32_t(fy);
        const float tx = SmoothStep(0, 1, x - fx), ty = SmoothStep(0, 1, y - fy);
        const float a = Lattice(ix, iy) + (Lattice(ix + 1, iy) - Lattice(ix, iy)) * tx;
        const float b = Lattice(ix, iy + 1) + (Lattice(ix + 1, iy + 1) - Lattice(ix, iy + 1)) * tx;
        return a + (b - a) * ty;
    }
    float Fbm(float x, float y, int octaves) const {
        float sum = 0, amplitude = 0.5f;
        for (int k = 0; k < octaves; ++k, x *= 2, y *= 2, amplitude *= 0.5f)
            sum += amplitude * Value(x, y);
        return sum;
    }

private:
    float Lattice(int32_t x, int32_t y) const {
        uint32_t h = seed_ ^ (uint32_t(x) * 0x9E3779B1u) ^ (uint32_t(y) * 0x85EBCA77u);
        h ^= h >> 15;
        h *= 0x2C1B3C6Du;
        h ^= h >> 12;
        h *= 0x297A2D39u;
        h ^= h >> 15;
        return float(h & 0xFFFFu) / 32767.5f - 1.0f;
    }
    uint32_t seed_;
};

// Height, slope (rise per world unit), sunlight (0..1) and relative height (0 at the lowest
// point, 1 at the highest) under a picture's pixel.
struct TSample {
    float height = 0, slope = 0, light = 0, relative = 0;
};

class TSampler {
public:
    TSampler(const THeightField& field, int size) : field_(field), size_(size) {
        const auto [lo, hi] = std::minmax_element(field.Heights.begin(), field.Heights.end());
        low_ = *lo;
        range_ = std::max(1.0f, *hi - *lo);
    }
    TSample At(int x, int y) const {
        const float cells = float(field_.Side - 1);
        const float ci = (float(x) + 0.5f) * cells / float(size_) - 0.5f;
        const float cj = (float(y) + 0.5f) * cells / float(size_) - 0.5f;
        TSample s;
        s.height = Height(ci, cj);
        const float d = 0.5f;
        const float gi = (Height(ci + d, cj) - Height(ci - d, cj)) / (2 * d * kCellSize);
        const float gj = (Height(ci, cj + d) - Height(ci, cj - d)) / (2 * d * kCellSize);
        s.slope = std::sqrt(gi * gi + gj * gj);
        // A sun in the upper left of the picture, about 45 degrees high.
        const float li = -0.55f, ly = 0.72f, lj = -0.42f;
        const float ln = std::sqrt(li * li + ly * ly + lj * lj);
        const float nn = std::sqrt(gi * gi + 1 + gj * gj);
        s.light = std::max(0.0f, (-gi * li + ly - gj * lj) / (nn * ln));
        s.relative = (s.height - low_) / range_;
        return s;
    }

private:
    float Height(float ci, float cj) const {
        const float top = float(field_.Side - 1);
        ci = std::clamp(ci, 0.0f, top);
        cj = std::clamp(cj, 0.0f, top);
        const int i0 = std::min(int(ci), field_.Side - 2), j0 = std::min(int(cj), field_.Side - 2);
        const float fi = ci - float(i0), fj = cj - float(j0);
        const float a = field_.At(i0, j0) + (field_.At(i0 + 1, j0) - field_.At(i0, j0)) * fi;
        const float b =
            field_.At(i0, j0 + 1) + (field_.At(i0 + 1, j0 + 1) - field_.At(i0, j0 + 1)) * fi;
        return a + (b - a) * fj;
    }
    const THeightField& field_;
    int size_;
    float low_ = 0, range_ = 1;
};

// Fine grain around 1 shared by both pictures.
float Grain(const TNoise& noise, int x, int y) {
    const auto fx = float(x), fy = float(y);
    return 0.96f + 0.04f * noise.Value(fx / 2, fy / 2) + 0.03f * noise.Value(fx / 7, fy / 7) +
           0.03f * noise.Value(fx / 23, fy / 23);
}

// A box blur of radius r along one axis of a side x side grid (stride 1 along j, side along
// i), the edge values repeated beyond the edge.
void BoxBlur(std::vector<float>& h, int side, int r, bool alongI) {
    std::vector<float> line(static_cast<size_t>(side)), out(static_cast<size_t>(side));
    const size_t step = alongI ? size_t(side) : 1, across = alongI ? 1 : size_t(side);
    for (int k = 0; k < side; ++k) {
        for (int m = 0; m < side; ++m) line[size_t(m)] = h[size_t(k) * across + size_t(m) * step];
        auto at = [&](int m) { return line[size_t(std::clamp(m, 0, side - 1))]; };
        double sum = 0;
        for (int m = -r; m <= r; ++m) sum += at(m);
        for (int m = 0; m < side; ++m) {
            out[size_t(m)] = float(sum / (2 * r + 1));
            sum += at(m + r + 1) - at(m - r);
        }
        for (int m = 0; m < side; ++m) h[size_t(k) * across + size_t(m) * step] = out[size_t(m)];
    }
}

}  // namespace

THeightField SmoothHeightSteps(const THeightField& field, float step) {
    THeightField out = field;
    const int side = field.Side;
    if (!(step > 0) || side < 2 || field.Heights.size() < size_t(side) * size_t(side)) return out;
    // Wide blurs even out the terraces of gentle slopes, narrower ones then round off the kinks
    // the limit leaves where the ground bends.
    for (const int radius : {16, 8, 4, 2}) {
        for (int pass = 0; pass < 2; ++pass) {
            BoxBlur(out.Heights, side, radius, true);
            BoxBlur(out.Heights, side, radius, false);
        }
        for (size_t k = 0; k < out.Heights.size(); ++k)
            out.Heights[k] = std::clamp(out.Heights[k], field.Heights[k] - 0.5f * step,
                                        field.Heights[k] + 0.5f * step);
    }
    return out;
}

TGroundPictures PaintGroundPictures(const THeightField& field, int size) {
    TGroundPictures out;
    if (size <= 0 || field.Side < 2 || field.Heights.size() < size_t(field.Side) * field.Side)
        return out;
    out.Snow.Resize(size, size);
    out.Ground.Resize(size, size);
    const TSampler sampler(field, size);
    const TNoise noise(0x5A0E'0001), meadow(0x5A0E'0002), strata(0x5A0E'0003);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const TSample s = sampler.At(x, y);
            const auto fx = float(x), fy = float(y);
            const float grain = Grain(noise, x, y);
            const float rockNoise = noise.Fbm(fx / 18, fy / 18, 3);
            const float band = 0.9f + 0.1f * strata.Value(s.height / 6, fx / 90);

            // Snow: bright in the sun, blue-grey in the shade; rock on the steepest faces.
            const float lit = SmoothStep(0.15f, 0.98f, s.light);
            TRgb snow = Mix(TRgb{128, 144, 178}, TRgb{252, 252, 255}, lit);
            const float snowRock = SmoothStep(0.95f, 1.45f, s.slope + 0.2f * rockNoise);
            if (snowRock > 0) {
                const TRgb stone = Scale(TRgb{112, 106, 104}, (0.45f + 0.7f * s.light) * band);
                snow = Mix(snow, stone, snowRock * 0.9f);
            }
            out.Snow.Set(x, y, ToColor(Scale(snow, grain + 0.02f)));

            // Ground: grass in the valleys, alpine meadow higher up, scree, then rock.
            const float shade = 0.5f + 0.62f * s.light;
            const float patches = meadow.Fbm(fx / 40, fy / 40, 4);
            const float alpine = SmoothStep(0.35f, 0.8f, s.relative + 0.15f * patches);
            TRgb ground = Mix(TRgb{88, 122, 54}, TRgb{132, 126, 86}, alpine);
            ground = Scale(Mix(ground, TRgb{104, 112, 62}, 0.3f * SmoothStep(-0.2f, 0.5f, patches)),
                           shade);
            const float scree = SmoothStep(0.55f, 0.85f, s.slope + 0.15f * rockNoise);
            const float rock = SmoothStep(0.8f, 1.2f, s.slope + 0.2f * rockNoise);
            if (scree > 0) ground = Mix(ground, Scale(TRgb{146, 140, 128}, shade), scree * 0.7f);
            if (rock > 0) ground = Mix(ground, Scale(TRgb{124, 118, 112}, shade * band), rock);
            out.Ground.Set(x, y, ToColor(Scale(ground, grain)));
        }
    }
    return out;
}

}  // namespace vallorn
