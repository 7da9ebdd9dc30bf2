#include "textures.h"

#include <algorithm>
#include <cmath>

#include "noise.h"

namespace vallorn::datagen {
namespace {

struct TRgb {
    double r, g, b;
};

TRgb Mix(const TRgb& a, const TRgb& b, double t) {
    return {Lerp(a.r, b.r, t), Lerp(a.g, b.g, t), Lerp(a.b, b.b, t)};
}
TRgb Scale(const TRgb& a, double s) {
    return {a.r * s, a.g * s, a.b * s};
}

TSKIColor ToColor(const TRgb& c) {
    auto channel = [](double v) { return uint8_t(std::lround(std::clamp(v, 0.0, 255.0))); };
    return {channel(c.r), channel(c.g), channel(c.b)};
}

// What the painters need to know about the ground under one pixel.
struct TSample {
    double height = 0;     // world units
    double slope = 0;      // rise per world unit
    double light = 0;      // cosine between the surface normal and the sun, 0..1
    double road = 1e9;     // distance to the road line, cells
    double plateau = 1e9;  // distance to the centre of the parking plateau, cells
    double forest = 0;     // local share of cells with trees, 0..1
};

class TSampler {
public:
    explicit TSampler(const TLevel& level) : level_(level), forest_(size_t(kCells) * kCells) {
        // Tree cover, blurred over 3 x 3 cells so that forest edges fade in the pictures.
        for (int i = 0; i < kCells; ++i) {
            for (int j = 0; j < kCells; ++j) {
                int sum = 0, n = 0;
                for (int a = std::max(0, i - 1); a <= std::min(kCells - 1, i + 1); ++a)
                    for (int b = std::max(0, j - 1); b <= std::min(kCells - 1, j + 1); ++b, ++n)
                        sum += level.Has(a, b, kFlagTree);
                forest_[size_t(i) * kCells + j] = float(sum) / float(n);
            }
        }
        if (level.road.line.size() >= 2) end_ = level.road.line.back();
    }

    TSample At(int x, int y) const {
        // Pixel centre in cell coordinates: pixels 2i and 2i + 1 straddle cell i's point.
        const double ci = (x + 0.5) * kCells / kTextureSize - 0.5;
        const double cj = (y + 0.5) * kCells / kTextureSize - 0.5;
        TSample s;
        s.height = level_.HeightAt(ci, cj);
        const double d = 0.5;
        const double gi =
            (level_.HeightAt(ci + d, cj) - level_.HeightAt(ci - d, cj)) / (2 * d * kCellWorld);
        const double gj =
            (level_.HeightAt(ci, cj + d) - level_.HeightAt(ci, cj - d)) / (2 * d * kCellWorld);
        s.slope = Length(gi, gj);
        // Normal (-gi, 1, -gj) against a sun in the upper left of the picture, 45 degrees high.
        const double li = -0.55, ly = 0.72, lj = -0.42;
        const double ln = std::sqrt(li * li + ly * ly + lj * lj);
        const double nn = std::sqrt(gi * gi + 1 + gj * gj);
        s.light = std::max(0.0, (-gi * li + ly - gj * lj) / (nn * ln));
        s.road = level_.RoadDistanceAt(ci, cj);
        s.plateau = Length(ci - end_.i, cj - end_.j);
        s.forest = Forest(ci, cj);
        return s;
    }

private:
    double Forest(double ci, double cj) const {
        ci = std::clamp(ci, 0.0, double(kCells - 1));
        cj = std::clamp(cj, 0.0, double(kCells - 1));
        const int i0 = std::min(int(ci), kCells - 2), j0 = std::min(int(cj), kCells - 2);
        const double fi = ci - i0, fj = cj - j0;
        auto f = [&](int i, int j) { return double(forest_[size_t(i) * kCells + j]); };
        return Lerp(Lerp(f(i0, j0), f(i0 + 1, j0), fi), Lerp(f(i0, j0 + 1), f(i0 + 1, j0 + 1), fi),
                    fj);
    }

    const TLevel& level_;
    std::vector<float> forest_;
    TPoint end_{-1e9, -1e9};
};

// Fine grain shared by both pictures: a few octaves of value noise around 1.
double Grain(const TNoise2D& noise, int x, int y) {
    return 0.94 + 0.05 * noise.Value(x / 2.0, y / 2.0) + 0.04 * noise.Value(x / 7.0, y / 7.0) +
           0.03 * noise.Value(x / 23.0, y / 23.0);
}

// The noises of each picture, fixed seeds.
struct TSnowNoise {
    TNoise2D noise{0xC010'0001}, canopy{0xC010'0002}, strata{0xC010'0003};
};
struct TGroundNoise {
    TNoise2D noise{0x6A0D'0001}, meadow{0x6A0D'0002}, strata{0x6A0D'0003};
};

// The snow picture's pixel (x, y) over the ground `s`.
TSKIColor SnowPixel(const TLevel& level, const TSnowNoise& n, const TSample& s, int x, int y) {
    const TNoise2D &noise = n.noise, &canopy = n.canopy, &strata = n.strata;
    const double half = level.road.halfWidth, plateau = level.road.plateauRadius;
    const double lit = SmoothStep(0.15, 0.98, s.light);
    // Snow: bright where the sun falls, blue-grey in the shade.
    TRgb c = Mix(TRgb{128, 144, 178}, TRgb{252, 252, 255}, lit);
    // Wind crust: faint ripples that follow the slope.
    c = Scale(c, 0.985 + 0.03 * noise.Value(x / 5.0 + s.height * 0.3, y / 5.0));
    // Rock breaks through on the steepest faces.
    // (The noise only moves the rock's edge by 0.2, so flatter ground skips it.)
    const double rockNoise = s.slope > 0.7 ? noise.Fbm(x / 18.0, y / 18.0, 3) : 0.0;
    const double rock = SmoothStep(0.95, 1.45, s.slope + 0.2 * rockNoise);
    if (rock > 0) {
        const double band = 0.9 + 0.1 * strata.Gradient(s.height / 6.0, x / 90.0);
        const TRgb stone = Scale(TRgb{112, 106, 104}, (0.45 + 0.7 * s.light) * band);
        c = Mix(c, stone, rock * 0.9);
    }
    // Forest: dark crowns dusted with snow, dense where the tree cells are.
    if (s.forest > 0) {
        const double crowns = SmoothStep(0.38, 0.62, canopy.Value(x / 1.6, y / 1.6));
        const TRgb dark = Scale(TRgb{52, 70, 64}, 0.65 + 0.5 * s.light);
        const TRgb dusted = Mix(dark, c, 0.45);
        c = Mix(c, Mix(dusted, dark, crowns), std::min(1.0, s.forest * 1.15));
    }
    // The parking plateau and the road are ploughed and packed.
    if (plateau > 0 && s.plateau < plateau + 2) {
        const double t = 1.0 - SmoothStep(plateau - 1, plateau + 2, s.plateau);
        c = Mix(c, Scale(TRgb{214, 214, 218}, 0.8 + 0.2 * lit), t * 0.6);
    }
    if (s.road < half + 0.8) {
        const TRgb packed = Scale(TRgb{168, 166, 168}, 0.85 + 0.15 * lit);
        const TRgb bank = Scale(TRgb{236, 238, 244}, 0.85 + 0.15 * lit);
        c = s.road < half ? Mix(packed, bank, SmoothStep(half - 0.6, half, s.road)) : bank;
    }
    return ToColor(Scale(c, Grain(noise, x, y) + 0.02));
}

// The bare ground picture's pixel (x, y) over the ground `s`.
TSKIColor GroundPixel(const TLevel& level, const TGroundNoise& n, const TSample& s, int x, int y) {
    const TNoise2D &noise = n.noise, &meadow = n.meadow, &strata = n.strata;
    const double half = level.road.halfWidth, plateau = level.road.plateauRadius;
    const double shade = 0.5 + 0.62 * s.light;
    // Grass: lush in the valleys, dry alpine meadow from about 130 up, in patches.
    const double patches = meadow.Fbm(x / 40.0, y / 40.0, 4);
    const double alpine = SmoothStep(130, 320, s.height + 50 * patches);
    TRgb c = Mix(TRgb{88, 122, 54}, TRgb{132, 126, 86}, alpine);
    c = Mix(c, TRgb{104, 112, 62}, 0.3 * SmoothStep(-0.2, 0.5, patches));
    c = Scale(c, shade);
    // Scree below the rock, then bare rock with layered bands.
    const double rockNoise = s.slope > 0.35 ? noise.Fbm(x / 16.0, y / 16.0, 3) : 0.0;
    const double scree = SmoothStep(0.55, 0.85, s.slope + 0.15 * rockNoise);
    const double rock = SmoothStep(0.8, 1.2, s.slope + 0.2 * rockNoise);
    if (scree > 0) c = Mix(c, Scale(TRgb{146, 140, 128}, shade), scree * 0.7);
    if (rock > 0) {
        const double band = 0.9 + 0.1 * strata.Gradient(s.height / 5.0, x / 80.0);
        c = Mix(c, Scale(TRgb{124, 118, 112}, shade * band), rock);
    }
    // Forest floor: dark needles and shadow, crowns seen from above.
    if (s.forest > 0) {
        const double crowns = SmoothStep(0.35, 0.65, noise.Value(x / 1.6 + 300, y / 1.6));
        const TRgb floor = Scale(TRgb{58, 66, 40}, shade);
        const TRgb crown = Scale(TRgb{34, 58, 34}, shade);
        c = Mix(c, Mix(floor, crown, crowns), std::min(1.0, s.forest * 1.15));
    }
    // Gravel on the parking plateau; asphalt with light shoulders on the road.
    if (plateau > 0 && s.plateau < plateau + 2) {
        const double t = 1.0 - SmoothStep(plateau - 1, plateau + 2, s.plateau);
        c = Mix(c, Scale(TRgb{138, 130, 116}, 0.85 + 0.15 * s.light), t * 0.85);
    }
    if (s.road < half + 0.7) {
        const TRgb asphalt = Scale(TRgb{70, 70, 74}, 0.9 + 0.1 * s.light);
        const TRgb shoulder = Scale(TRgb{150, 142, 124}, 0.85 + 0.15 * s.light);
        c = s.road < half ? Mix(asphalt, shoulder, SmoothStep(half - 0.35, half, s.road))
                          : shoulder;
    }
    return ToColor(Scale(c, Grain(noise, x, y)));
}

}  // namespace

void PaintTextures(const TLevel& level, TSKIImage* snow, TSKIImage* ground) {
    const TSampler sampler(level);
    const TSnowNoise snowNoise;
    const TGroundNoise groundNoise;
    *snow = TSKIImage(kTextureSize, kTextureSize);
    *ground = TSKIImage(kTextureSize, kTextureSize);
    for (int y = 0; y < kTextureSize; ++y) {
        for (int x = 0; x < kTextureSize; ++x) {
            const TSample s = sampler.At(x, y);
            snow->Set(x, y, SnowPixel(level, snowNoise, s, x, y));
            ground->Set(x, y, GroundPixel(level, groundNoise, s, x, y));
        }
    }
}

}  // namespace vallorn::datagen
