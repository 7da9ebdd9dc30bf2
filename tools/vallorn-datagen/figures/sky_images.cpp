// The skies: six dome pictures (dome0..5.jpg) and the cube map of sky and snowy peaks that the
// glass of the models reflects (cm_*.jpg).
//
// A dome picture is 512 x 256: u runs once around the horizon (azimuth 0 at +x, turning toward
// +z), row 0 is the zenith and the last row the horizon. Clouds are drawn on a flat layer high
// above the viewer, so they shrink toward the horizon as real ones do; the sun sits in the
// upper left of the scene's light, as everywhere in the game.
//
// The cube map faces follow the OpenGL order and orientation: right +x, left -x, top +y,
// bottom -y, front +z, back -z.
#include <cmath>

#include "base/image_io.h"
#include "figure_images.h"
#include "noise.h"

namespace vallorn::datagen::figures {
namespace {

using namespace paint;

struct TVec {
    double x, y, z;
};

TVec Normalize(TVec v) {
    const double l = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    return {v.x / l, v.y / l, v.z / l};
}

struct TSkyLook {
    TRgb zenith, horizon, cloudLit, cloudShade;
    double cover;     // share of the sky under cloud, 0..1
    double softness;  // 0 crisp cumulus .. 1 a flat grey layer
    double sunGlow;   // strength of the halo around the sun
    TRgb sun;
    double sunHeight;  // sine of the sun's elevation
    uint64_t seed;
};

const TSkyLook kSkies[6] = {
    // 0 clear: deep blue, a few wisps.
    {{38, 92, 178},
     {170, 206, 236},
     {255, 255, 255},
     {206, 218, 236},
     0.12,
     0.3,
     0.6,
     {255, 250, 232},
     0.55,
     11},
    // 1 fair: fair-weather cumulus.
    {{52, 110, 190},
     {184, 214, 238},
     {255, 255, 255},
     {176, 188, 210},
     0.42,
     0.15,
     0.45,
     {255, 248, 230},
     0.6,
     12},
    // 2 dusk: violet above, orange glow at the horizon, lit cloud undersides.
    {{44, 42, 96},
     {244, 150, 92},
     {255, 178, 128},
     {112, 82, 118},
     0.3,
     0.25,
     1.0,
     {255, 200, 140},
     0.08,
     13},
    // 3 overcast: a low grey layer.
    {{128, 136, 150},
     {186, 190, 198},
     {206, 210, 216},
     {118, 124, 136},
     0.85,
     0.8,
     0.1,
     {240, 240, 236},
     0.5,
     14},
    // 4 snowy: pale, flat, milky.
    {{160, 168, 182},
     {214, 218, 224},
     {226, 228, 232},
     {170, 176, 188},
     0.95,
     1.0,
     0.05,
     {240, 240, 240},
     0.5,
     15},
    // 5 morning: pale blue, high cirrus.
    {{78, 134, 204},
     {222, 226, 230},
     {255, 246, 236},
     {210, 214, 226},
     0.3,
     0.6,
     0.7,
     {255, 240, 210},
     0.25,
     16},
};

// The sky's colour in the direction `d` (unit, y up); the sun lies to the upper left.
TRgb SkyColor(const TSkyLook& look, const TNoise2D& noise, const TVec& d) {
    const double up = std::max(d.y, 0.0);
    TRgb c = Mix(look.horizon, look.zenith, std::pow(up, 0.55));
    const TVec sun = Normalize({-0.7, look.sunHeight, 0.45});
    const double toward = std::max(0.0, d.x * sun.x + d.y * sun.y + d.z * sun.z);
    c = Mix(c, look.sun, look.sunGlow * std::pow(toward, 12) * 0.8);
    c = Mix(c, {255, 255, 255}, Clamp01(1.5 * look.sunGlow) * std::pow(toward, 400));  // the disc
    // Clouds on a layer above: the ray's crossing point, fading into the haze.
    const double h = std::max(up, 0.04);
    const double px = d.x / h * 0.9, pz = d.z / h * 0.9;
    const double n = 0.5 + 0.5 * noise.Fbm(px, pz, 5, 0.55);
    const double edge = 1 - look.cover;
    const double cloud =
        SmoothStep(edge - 0.08 - 0.3 * look.softness, edge + 0.1, n) * SmoothStep(0.0, 0.25, up);
    const double lit = Clamp01(0.5 + 2.5 * (n - 0.5 - noise.Fbm(px - 0.06, pz + 0.04, 4) * 0.5));
    const TRgb cloudColor = Mix(look.cloudShade, look.cloudLit, Lerp(lit, 0.6, look.softness));
    c = Mix(c, cloudColor, cloud * (0.95 - 0.25 * look.softness));
    // Haze near the horizon.
    return Mix(c, look.horizon, 0.5 * std::exp(-up * 14));
}

TSKIImage PaintDome(const TSkyLook& look) {
    const int w = 512, h = 256;
    const TNoise2D noise(look.seed);
    TCanvas canvas(w, h, {0, 0, 0});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double az = 2 * kPi * (x + 0.5) / w, polar = 0.5 * kPi * (y + 0.5) / h;
            const TVec d{std::sin(polar) * std::cos(az), std::cos(polar),
                         std::sin(polar) * std::sin(az)};
            canvas.At(x, y) = SkyColor(look, noise, d);
        }
    return canvas.ToImage();
}

// The height (sine of elevation) of the mountain skyline at an azimuth, seamless around.
double Skyline(const TNoise2D& noise, double az) {
    const double cx = std::cos(az) * 2.2, cz = std::sin(az) * 2.2;
    return 0.03 + 0.22 * noise.Ridged(cx + 5, cz + 5, 5) + 0.04 * noise.Fbm(cx * 3, cz * 3, 3);
}

// The reflected world: the clear sky above a ring of snowy peaks, snowfields below.
TRgb WorldColor(const TNoise2D& ridges, const TNoise2D& sky, const TVec& d) {
    const double az = std::atan2(d.z, d.x);
    const double top = Skyline(ridges, az);
    if (d.y > top) return SkyColor(kSkies[1], sky, d);
    if (d.y < -0.02) {  // the valley floor: snow, bluer straight down
        return Mix({232, 238, 246}, {176, 196, 222}, Clamp01(-d.y * 1.2));
    }
    // Mountain faces: the slope of the skyline tells the lit (left-facing) from the shaded side.
    const double slope = (Skyline(ridges, az + 0.01) - Skyline(ridges, az - 0.01)) / 0.02;
    const double depth = Clamp01((top - d.y) / (top + 0.02));
    const double rock =
        SmoothStep(0.55, 0.7, ridges.Fbm(az * 9, d.y * 30, 4) * 0.5 + 0.5 + 0.25 * std::abs(slope));
    TRgb c = slope < 0 ? TRgb{242, 246, 250} : TRgb{170, 186, 214};
    c = Mix(c, {84, 88, 100}, rock * 0.8);
    c = Mix(c, {200, 212, 230}, depth * 0.5);  // haze toward the foot
    return c;
}

TSKIImage PaintCubeFace(int face) {
    const int size = 256;
    const TNoise2D ridges(21), sky(12);
    TCanvas canvas(size, size, {0, 0, 0});
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const double s = 2 * (x + 0.5) / size - 1, t = 2 * (y + 0.5) / size - 1;
            TVec d{};
            switch (face) {
                case 0:
                    d = {1, -t, -s};
                    break;  // right
                case 1:
                    d = {-1, -t, s};
                    break;  // left
                case 2:
                    d = {s, 1, t};
                    break;  // top
                case 3:
                    d = {s, -1, -t};
                    break;  // bottom
                case 4:
                    d = {s, -t, 1};
                    break;  // front
                default:
                    d = {-s, -t, -1};
                    break;  // back
            }
            canvas.At(x, y) = WorldColor(ridges, sky, Normalize(d));
        }
    return canvas.ToImage();
}

}  // namespace

bool WriteSkyImages(const std::filesystem::path& dataFolder, std::string* error) {
    for (int n = 0; n < 6; ++n)
        if (!SaveJpeg(dataFolder / ("dome" + std::to_string(n) + ".jpg"), PaintDome(kSkies[n]), 90,
                      error))
            return false;
    const char* const faces[] = {"right", "left", "top", "bottom", "front", "back"};
    for (int f = 0; f < 6; ++f)
        if (!SaveJpeg(dataFolder / (std::string("cm_") + faces[f] + ".jpg"), PaintCubeFace(f), 90,
                      error))
            return false;
    return true;
}

}  // namespace vallorn::datagen::figures
