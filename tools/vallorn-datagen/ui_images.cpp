#include "ui_images.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>
#include <vector>

#include "base/image_io.h"
#include "base/random.h"
#include "canvas.h"
#include "noise.h"

namespace vallorn::datagen {
namespace {

using namespace paint;

// ---- The menu bar's buttons -------------------------------------------------------------

TSdf Chevron(double left, double top, double width, double height, double hw) {
    return Stroke({{left, top}, {left + width, top + height / 2}, {left, top + height}}, hw);
}

// The symbol of a button on the 48 x 48 face, centred on (24, 24).
TSdf ButtonSymbol(const std::string& name) {
    if (name == "home") {
        const TSdf body = Subtract(Box(24, 29.5, 9, 7.5, 1), Box(24, 33, 2.6, 4.6, 1));
        return Union(
            {Stroke({{10.5, 24}, {24, 11.5}, {37.5, 24}}, 2.6), body, Box(32.5, 15.5, 1.8, 3.5)});
    }
    if (name == "display") {
        const TSdf lens = Intersect(Circle(24, 32, 16), Circle(24, 16, 16));
        return Union({Subtract(lens, Circle(24, 24, 6.5)), Circle(24, 24, 3.6)});
    }
    if (name == "stats") {
        return Union({Box(15, 32, 3.2, 4, 0.8), Box(24, 28, 3.2, 8, 0.8), Box(33, 24, 3.2, 12, 0.8),
                      Box(24, 38.5, 13, 1.2, 0.6)});
    }
    if (name == "objectives") {
        const TSdf flag = Polygon({{17, 11.5}, {35, 11.5}, {30.5, 17.5}, {35, 23.5}, {17, 23.5}});
        return Union({Stroke({{15.5, 11}, {15.5, 36.5}}, 1.6), flag, Box(15.5, 37, 5.5, 1.3, 0.6)});
    }
    if (name == "help") {
        std::vector<TPoint> hook = Arc(24, 18.5, 7, 7, 160, -55, 16);
        hook.push_back({24, 28});
        hook.push_back({24, 29.5});
        return Union({Stroke(hook, 2.5), Circle(24, 36, 2.6)});
    }
    if (name == "pause") return Union({Box(19, 24, 3.2, 10.5, 1), Box(29, 24, 3.2, 10.5, 1)});
    if (name == "speed1") return Chevron(19.5, 14, 9, 20, 2.6);
    if (name == "speed2")
        return Union({Chevron(14.5, 14, 9, 20, 2.6), Chevron(25, 14, 9, 20, 2.6)});
    if (name == "speed4") {
        std::vector<TSdf> four;
        for (int k = 0; k < 4; ++k) four.push_back(Chevron(11.5 + 7 * k, 16, 5.5, 16, 1.8));
        return Union(four);
    }
    return nullptr;
}

}  // namespace

TSKIImage PaintButton(const std::string& name, bool lit) {
    const TSdf symbol = ButtonSymbol(name);
    if (!symbol) return {};
    return PaintSymbolButton(symbol, lit);
}

TSKIImage PaintSymbolButton(const paint::TSdf& symbol, bool lit) {
    // One palette: ice blue and white when lit, slate and grey-blue when dim.
    const TRgb frame = lit ? TRgb{14, 32, 58} : TRgb{12, 15, 20};
    const TRgb faceTop = lit ? TRgb{112, 186, 240} : TRgb{58, 68, 82};
    const TRgb faceBottom = lit ? TRgb{38, 108, 184} : TRgb{34, 40, 50};
    const TRgb rim = lit ? TRgb{200, 234, 255} : TRgb{82, 94, 110};
    const TRgb ink = lit ? TRgb{255, 255, 255} : TRgb{136, 152, 172};
    const TRgb shadow = lit ? TRgb{16, 52, 100} : TRgb{20, 24, 30};

    TCanvas canvas(kButtonSize, kButtonSize, frame);
    const TSdf face = Box(24, 24, 22.5, 22.5, 7);
    TCanvas gradient(kButtonSize, kButtonSize, faceTop);
    for (int y = 0; y < kButtonSize; ++y)
        for (int x = 0; x < kButtonSize; ++x)
            gradient.At(x, y) = Mix(faceTop, faceBottom, (y - 2.0) / (kButtonSize - 4.0));
    Paint(canvas, Subtract(face, Box(24, 24, 21.5, 21.5, 6)), rim, lit ? 0.9 : 0.7);
    const TSdf inner = Box(24, 24, 21.5, 21.5, 6);
    for (int y = 0; y < kButtonSize; ++y)
        for (int x = 0; x < kButtonSize; ++x)
            canvas.Blend(x, y, gradient.At(x, y),
                         std::clamp(0.5 - inner(x + 0.5, y + 0.5), 0.0, 1.0));
    // A soft gloss over the upper half of the lit face.
    if (lit) Paint(canvas, Intersect(inner, Box(24, 12, 22, 11)), {255, 255, 255}, 0.12);
    Paint(canvas, Shifted(symbol, 1, 1.2), shadow, lit ? 0.55 : 0.6);
    Paint(canvas, symbol, ink);
    return canvas.ToImage();
}

namespace {

// ---- The loading picture ----------------------------------------------------------------

// The title's letters as strokes in a box one unit high, x to the right, y down.
std::vector<std::vector<TPoint>> Letter(char c, double& width) {
    switch (c) {
        case 'V':
            width = 0.8;
            return {{{0, 0}, {0.4, 1}, {0.8, 0}}};
        case 'A':
            width = 0.8;
            return {{{0, 1}, {0.4, 0}, {0.8, 1}}, {{0.17, 0.64}, {0.63, 0.64}}};
        case 'L':
            width = 0.6;
            return {{{0, 0}, {0, 1}, {0.6, 1}}};
        case 'O': {
            width = 0.86;
            return {Arc(0.43, 0.5, 0.43, 0.5, 0, 360, 40)};
        }
        case 'R': {
            width = 0.7;
            std::vector<TPoint> bowl = {{0, 1}, {0, 0}, {0.4, 0}};
            for (const TPoint& p : Arc(0.4, 0.27, 0.27, 0.27, 90, -90, 14)) bowl.push_back(p);
            bowl.push_back({0, 0.54});
            return {bowl, {{0.34, 0.54}, {0.7, 1}}};
        }
        case 'N':
            width = 0.76;
            return {{{0, 1}, {0, 0}, {0.76, 1}, {0.76, 0}}};
        default:
            width = 0.5;
            return {};
    }
}

TSdf Title(const std::string& text, double centreX, double top, double height, double hw,
           double* left, double* right) {
    const double gap = 0.3;
    double total = -gap;
    for (char c : text) {
        double w;
        Letter(c, w);
        total += w + gap;
    }
    double x = centreX - total * height / 2;
    *left = x - hw;
    *right = centreX + total * height / 2 + hw;
    std::vector<TSdf> strokes;
    for (char c : text) {
        double w;
        for (auto points : Letter(c, w)) {
            for (TPoint& p : points) p = {x + p.x * height, top + p.y * height};
            strokes.push_back(Stroke(std::move(points), hw));
        }
        x += (w + gap) * height;
    }
    return Union(std::move(strokes));
}

// The skyline of a mountain range: its top edge's y for every column. `massif` lifts the
// range around its centre column.
std::vector<double> Ridge(const TNoise2D& noise, double base, double amplitude, double scale,
                          double row, double massif) {
    std::vector<double> y(kLoadingWidth);
    for (int x = 0; x < kLoadingWidth; ++x) {
        const double u = x / scale;
        const double h =
            0.7 * noise.Ridged(u, row, 4) + 0.3 * (0.5 + 0.5 * noise.Fbm(u * 2.3, row + 7, 3));
        const double lift = 0.55 + 0.45 * std::exp(-std::pow((x - massif) / 210.0, 2));
        y[size_t(x)] = base - amplitude * h * lift;
    }
    return y;
}

// Paints a range: snow above a ragged snow line, with bare rock and snowy gullies below,
// lit from the right by the low evening sun and in blue shade where a face turns away from
// it. A face is read from the skyline: just below the crest from its fine detail, deeper
// down from ever wider stretches of it, so the lit and shaded faces widen towards the foot
// like real flanks. Everything fades into `haze`.
void PaintRange(TCanvas& canvas, const TNoise2D& noise, const std::vector<double>& ridge,
                double snowDepth, double haze, const TRgb& hazeColor, double row) {
    const TRgb sunSnow{255, 236, 222}, shadeSnow{120, 142, 192}, sunRock{120, 104, 118},
        shadeRock{46, 56, 88};
    const int n = int(ridge.size());
    std::vector<double> sum(size_t(n) + 1, 0);
    for (int x = 0; x < n; ++x) sum[size_t(x) + 1] = sum[size_t(x)] + ridge[size_t(x)];
    auto mean = [&](int from, int to) {  // of the skyline over from..to - 1, clamped
        from = std::clamp(from, 0, n - 1);
        to = std::clamp(to, from + 1, n);
        return (sum[size_t(to)] - sum[size_t(from)]) / (to - from);
    };
    for (int x = 0; x < n; ++x) {
        const double top = ridge[size_t(x)];
        for (int y = std::max(0, int(top)); y < kLoadingHeight; ++y) {
            const double depth = y - top;
            const int w = 2 + int(depth * 0.9);
            // Positive where the skyline climbs to the right: the face looks away from the sun.
            const double rise = (mean(x - w, x) - mean(x, x + w)) / w;
            double sun = Clamp01(0.5 - 3.5 * rise + 0.25 * noise.Fbm(x / 14.0, y / 30.0 + row, 3));
            sun = SmoothStep(0.2, 0.8, sun);
            const double gully = noise.Fbm(x / 6.5, y / 24.0 + row, 3);
            const double line = snowDepth * (0.8 + 0.5 * noise.Fbm(x / 30.0, row + 3, 3));
            const double bare =
                SmoothStep(line - 4, line + 4, depth) * SmoothStep(0.08, 0.2, gully);
            const TRgb snow = Mix(shadeSnow, sunSnow, sun);
            const TRgb rock = Mix(shadeRock, sunRock, sun * 0.8);
            const TRgb c = Mix(Mix(snow, rock, bare), hazeColor, haze);
            canvas.Blend(x, y, c, std::clamp(y + 1 - top, 0.0, 1.0));
        }
    }
}

// A fir with a little snow on its branches, standing on (x, y).
void PaintTree(TCanvas& canvas, double x, double y, double height) {
    const double w = height * 0.32;
    const TSdf tree =
        Union({Polygon({{x, y - height}, {x + w, y - height * 0.35}, {x - w, y - height * 0.35}}),
               Polygon({{x, y - height * 0.7},
                        {x + w * 1.3, y - height * 0.05},
                        {x - w * 1.3, y - height * 0.05}}),
               Box(x, y, height * 0.06, height * 0.08)});
    const TArea area{int(x - w * 1.5) - 1, int(y - height) - 1, int(x + w * 1.5) + 2,
                     int(y + height * 0.1) + 2};
    Paint(canvas, tree, {22, 52, 54}, 1, area);
    Paint(canvas, Subtract(tree, Shifted(tree, 0, height * 0.08)), {220, 232, 246}, 0.8, area);
}

}  // namespace

TSKIImage PaintLoadingPicture() {
    TCanvas canvas(kLoadingWidth, kLoadingHeight, {0, 0, 0});
    const TNoise2D noise(0x5EA50AULL);
    // The evening sky: deep blue above, a peach glow over the far ridges, the sun behind them.
    const TRgb zenith{18, 30, 68}, middle{64, 102, 164}, horizon{240, 192, 168};
    for (int y = 0; y < kLoadingHeight; ++y)
        for (int x = 0; x < kLoadingWidth; ++x) {
            const double t = y / 250.0;
            TRgb c = t < 0.55 ? Mix(zenith, middle, t / 0.55)
                              : Mix(middle, horizon, Clamp01((t - 0.55) / 0.45));
            const double glow = std::exp(-Length((x - 500) / 160.0, (y - 210) / 90.0));
            canvas.At(x, y) = Mix(c, {255, 214, 170}, 0.55 * glow);
        }
    TSKIRandom random(77);
    for (int k = 0; k < 70; ++k) {  // the first stars
        const int x = random.Below(kLoadingWidth), y = random.Below(110);
        canvas.Blend(x, y, {255, 255, 255}, random.Between(0.15, 0.6) * (1 - y / 110.0));
    }

    PaintRange(canvas, noise, Ridge(noise, 262, 120, 150, 11, 120), 60, 0.5, {178, 168, 196}, 11);
    PaintRange(canvas, noise, Ridge(noise, 318, 200, 200, 23, 420), 70, 0.1, {150, 160, 200}, 23);

    // The front slope: a smooth snow field rising to the left, in the evening shade.
    std::vector<double> slope(kLoadingWidth);
    for (int x = 0; x < kLoadingWidth; ++x)
        slope[size_t(x)] = 268 + 112 * SmoothStep(60, 600, x) + 6 * noise.Fbm(x / 70.0, 41, 3);
    for (int x = 0; x < kLoadingWidth; ++x)
        for (int y = int(slope[size_t(x)]); y < kLoadingHeight; ++y) {
            const double depth = (y - slope[size_t(x)]) / 140.0;
            const TRgb c = Mix({178, 196, 232}, {36, 50, 84}, Clamp01(depth + y / 900.0));
            canvas.Blend(x, y, c, std::clamp(y + 1 - slope[size_t(x)], 0.0, 1.0));
        }
    auto ground = [&](double x) { return slope[size_t(std::clamp(int(x), 0, kLoadingWidth - 1))]; };
    for (int k = 0; k < 46; ++k) {  // the forest along the slope's edge
        const double x = k < 30 ? random.Between(300, 640) : random.Between(0, 140);
        const double h = random.Between(18, 34) * (0.7 + 0.3 * ground(x) / 380);
        PaintTree(canvas, x, ground(x) + random.Between(4, 26), h);
    }

    // The chairlift: stations, towers, the cable sagging between them, the chairs.
    const TPoint bottom{520, ground(520) - 2}, top{120, ground(120) - 4};
    const TRgb steel{34, 40, 58};
    Paint(canvas, Box(bottom.x + 6, bottom.y - 12, 16, 12, 2), {92, 46, 40});
    Paint(canvas,
          Polygon({{bottom.x - 14, bottom.y - 24},
                   {bottom.x + 26, bottom.y - 24},
                   {bottom.x + 6, bottom.y - 36}}),
          {232, 238, 248});
    Paint(canvas, Box(top.x - 6, top.y - 11, 14, 11, 2), {92, 46, 40});
    Paint(canvas,
          Polygon({{top.x - 22, top.y - 22}, {top.x + 10, top.y - 22}, {top.x - 6, top.y - 32}}),
          {232, 238, 248});
    const int towers = 5;
    std::vector<TPoint> heads = {{bottom.x, bottom.y - 26}};
    for (int k = 1; k < towers; ++k) {
        const double x = Lerp(bottom.x, top.x, double(k) / towers);
        const TPoint foot{x, ground(x) + 1};
        heads.push_back({x, foot.y - 34});
        Paint(canvas, Stroke({foot, heads.back()}, 1.4), steel);
        Paint(canvas, Stroke({{x - 6, heads.back().y}, {x + 6, heads.back().y}}, 1.1), steel);
    }
    heads.push_back({top.x, top.y - 24});
    std::vector<TPoint> cable;
    for (size_t k = 0; k + 1 < heads.size(); ++k)
        for (int s = 0; s < 12; ++s) {
            const double t = s / 12.0;
            cable.push_back({Lerp(heads[k].x, heads[k + 1].x, t),
                             Lerp(heads[k].y, heads[k + 1].y, t) + 7 * t * (1 - t)});
        }
    cable.push_back(heads.back());
    Paint(canvas, Stroke(cable, 0.7), steel);
    for (size_t k = 3; k + 3 < cable.size(); k += 7) {
        const TPoint c = cable[k];
        Paint(canvas,
              Union({Stroke({c, {c.x, c.y + 11}}, 0.6), Box(c.x, c.y + 12, 4, 1.2, 0.6),
                     Stroke({{c.x - 4, c.y + 12}, {c.x - 4, c.y + 7}}, 0.8),
                     Circle(c.x - 1, c.y + 8.5, 2.2)}),
              {30, 34, 50}, 1, {int(c.x) - 8, int(c.y) - 2, int(c.x) + 8, int(c.y) + 16});
    }

    // Falling snow.
    for (int k = 0; k < 160; ++k) {
        const double x = random.Between(0, kLoadingWidth), y = random.Between(0, kLoadingHeight);
        const double r = random.Between(0.6, 1.6);
        Paint(canvas, Circle(x, y, r), {255, 255, 255}, random.Between(0.35, 0.8),
              {int(x) - 3, int(y) - 3, int(x) + 4, int(y) + 4});
    }

    // The title, with a soft shadow and a thin ice-blue edge.
    double left, right;
    const TSdf title = Title("VALLORN", 320, 46, 58, 5.5, &left, &right);
    const TArea area{int(left) - 10, 30, int(right) + 12, 124};
    Paint(
        canvas, [&](double x, double y) { return title(x - 3, y - 4) / 4 - 0.5; }, {6, 12, 34},
        0.55, area);
    Paint(canvas, title, {150, 206, 246}, 1, area);
    Paint(
        canvas, [&](double x, double y) { return title(x, y) + 1.3; }, {255, 255, 255}, 1, area);
    return canvas.ToImage();
}

bool WriteUiImages(const std::filesystem::path& dataFolder, std::string* error) {
    for (const char* name : kButtonNames) {
        for (bool lit : {true, false}) {
            const std::string file = std::string(name) + (lit ? "" : "ON") + ".bmp";
            if (!WriteBmp(dataFolder / file, PaintButton(name, lit), error)) return false;
        }
    }
    return SaveJpeg(dataFolder / "loading.jpg", PaintLoadingPicture(), 90, error);
}

}  // namespace vallorn::datagen
