#include "app_icon.h"

#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <tuple>

#include "base/atomic_file.h"
#include "canvas.h"

namespace vallorn::datagen {
namespace {

using namespace paint;

constexpr double kUnits = 256;  // the drawing's own units: one icon is 256 x 256 of them

// A shape drawn in icon units, measured in pixels of an icon of `size` pixels.
TSdf InPixels(const TSdf& shape, int size) {
    const double k = kUnits / size;
    return [=](double x, double y) { return shape(x * k, y * k) / k; };
}

TSdf Plate() {
    return Box(128, 128, 120, 120, 44);
}

}  // namespace

std::vector<uint8_t> PaintAppIcon(int size) {
    const TRgb skyTop{18, 52, 112}, skyBottom{120, 182, 236};
    TCanvas canvas(size, size, skyBottom);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            canvas.At(x, y) = Mix(skyTop, skyBottom, Clamp01((y + 0.5) / (size * 0.72)));
    const TSdf plate = Plate();
    auto paint = [&](const TSdf& shape, const TRgb& color, double opacity = 1) {
        Paint(canvas, InPixels(Intersect(shape, plate), size), color, opacity);
    };
    // A far range in haze, then the peak: its lit face on the left, the shaded flank beyond a
    // spur on the right, a little rock under the summit.
    paint(Polygon({{-10, 170},
                   {22, 128},
                   {48, 146},
                   {84, 112},
                   {112, 140},
                   {190, 120},
                   {222, 98},
                   {266, 132},
                   {266, 270},
                   {-10, 270}}),
          {104, 146, 198});
    const std::vector<TPoint> leftRidge = {{150, 44}, {128, 72}, {112, 82}, {70, 136}, {-10, 200}};
    const std::vector<TPoint> rightRidge = {
        {266, 170}, {222, 124}, {196, 100}, {180, 92}, {150, 44}};
    std::vector<TPoint> peak = leftRidge;
    peak.push_back({-10, 270});
    peak.push_back({266, 270});
    peak.insert(peak.end(), rightRidge.begin(), rightRidge.end());
    paint(Polygon(peak), {246, 250, 255});
    std::vector<TPoint> flank = {{150, 44}, {160, 86}, {150, 128}, {170, 172}, {266, 206}};
    flank.insert(flank.end(), rightRidge.begin(), rightRidge.end());
    paint(Polygon(flank), {156, 182, 222});
    paint(Polygon({{150, 44}, {162, 64}, {156, 76}, {154, 60}}), {72, 88, 122});
    paint(Polygon({{182, 94}, {196, 100}, {190, 112}, {180, 104}}), {72, 88, 122});
    // Snow ground in front with a few firs, and the lift: two towers with a cable rising across
    // the mountain and two red chairs hanging from it.
    paint(Polygon({{-10, 208}, {70, 194}, {160, 210}, {266, 196}, {266, 270}, {-10, 270}}),
          {234, 242, 252});
    for (const auto& [x, y, h] :
         {std::tuple{20.0, 214.0, 34.0}, {40.0, 222.0, 26.0}, {236.0, 216.0, 30.0}})
        paint(Union({Polygon({{x - h * 0.36, y}, {x, y - h}, {x + h * 0.36, y}}),
                     Box(x, y + 3, 2.5, 4)}),
              {34, 86, 70});
    const TRgb steel{40, 44, 58};
    const TPoint low{72, 168}, high{214, 86};
    for (const TPoint& top : {low, high}) {
        paint(Stroke({{top.x, top.y}, {top.x, top.y + 74}}, 4.5), steel);
        paint(Box(top.x, top.y + 2, 13, 3, 1.5), steel);
    }
    paint(Stroke({{low.x - 40, low.y + 23}, low, high, {high.x + 40, high.y - 23}}, 2.6), steel);
    for (double t : {0.3, 0.72}) {
        const TPoint hook{Lerp(low.x, high.x, t), Lerp(low.y, high.y, t)};
        paint(Stroke({hook, {hook.x, hook.y + 22}}, 2.4), steel);
        paint(
            Union({Box(hook.x, hook.y + 28, 14, 5, 2.5), Box(hook.x + 10, hook.y + 20, 4, 11, 2)}),
            {214, 52, 44});
    }
    // A thin light rim gives the plate an edge on dark and light backgrounds alike.
    paint(Subtract(Plate(), Box(128, 128, 114, 114, 39)), {255, 255, 255}, 0.28);

    std::vector<uint8_t> rgba(size_t(size) * size * 4);
    const TSdf edge = InPixels(plate, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const TRgb& p = canvas.At(x, y);
            uint8_t* out = &rgba[(size_t(y) * size + x) * 4];
            const double alpha = std::clamp(0.5 - edge(x + 0.5, y + 0.5), 0.0, 1.0);
            out[0] = uint8_t(std::lround(std::clamp(p.r, 0.0, 255.0)));
            out[1] = uint8_t(std::lround(std::clamp(p.g, 0.0, 255.0)));
            out[2] = uint8_t(std::lround(std::clamp(p.b, 0.0, 255.0)));
            out[3] = uint8_t(std::lround(alpha * 255));
        }
    return rgba;
}

bool WriteAppIcons(const std::filesystem::path& out, std::string* error) {
    std::error_code ec;
    std::filesystem::create_directories(out, ec);
    if (ec) {
        *error = "cannot create " + out.string() + ": " + ec.message();
        return false;
    }
    for (int size : kIconSizes) {
        const std::vector<uint8_t> rgba = PaintAppIcon(size);
        std::string png;
        stbi_write_png_to_func(
            [](void* context, void* data, int n) {
                static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                                           size_t(n));
            },
            &png, size, size, 4, rgba.data(), size * 4);
        const auto path = out / ("vallorn-" + std::to_string(size) + ".png");
        if (png.empty()) {
            *error = "cannot encode " + path.filename().string();
            return false;
        }
        if (!WriteFileAtomically(path, png, error)) return false;
    }
    return true;
}

}  // namespace vallorn::datagen
