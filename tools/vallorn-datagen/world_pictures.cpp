#include "world_pictures.h"

#include <algorithm>
#include <cmath>

#include "base/random.h"
#include "canvas.h"
#include "level_features.h"
#include "noise.h"
#include "ui_images.h"

namespace vallorn::datagen {
namespace {

using paint::Mix;
using paint::TCanvas;
using paint::TRgb;
using paint::TSdf;
using Dot = paint::TPoint;

// The ground colours the thumbnails and the campaign map share with the level textures.
const TRgb kSnowLit{246, 250, 255}, kSnowShade{150, 172, 204}, kForest{34, 72, 52},
    kMeadow{112, 140, 82}, kRock{118, 112, 108}, kRoad{104, 64, 44}, kGravel{214, 200, 170},
    kHouse{168, 62, 48}, kWater{70, 120, 178}, kTrail{160, 40, 36};

// Light from the upper left: 0 in full shade, 1 facing the light.
double Light(double dx, double dy) {
    const double nx = -dx, ny = -dy, nz = 1.0;
    const double len = std::sqrt(nx * nx + ny * ny + nz * nz);
    return Clamp01(0.5 + 0.9 * (nx * -0.6 + ny * -0.6 + nz * 0.55) / len - 0.25);
}

}  // namespace

void CampaignPanelSpot(int index, int* left, int* top) {
    const int row = index / 5, k = index % 5;
    const int column = row == 1 ? 4 - k : k;
    *left = 48 + column * 196;
    *top = 56 + row * 224;
}

TSKIImage PaintCampaignMap() {
    TCanvas canvas(kCampaignWidth, kCampaignHeight, {0, 0, 0});
    const TNoise2D relief(0xCA3701), warp(0xCA3702), forest(0xCA3703), grain(0xCA3704);
    auto height = [&](double x, double y) {
        const double wx = x + 40 * warp.Fbm(x / 300.0, y / 300.0, 3);
        const double wy = y + 40 * warp.Fbm(x / 300.0 + 5, y / 300.0 + 3, 3);
        double h = 0.65 * relief.Ridged(wx / 260.0, wy / 260.0, 5) +
                   0.35 * (0.5 + 0.5 * relief.Fbm(wx / 500.0 + 9, wy / 500.0, 3));
        // The valleys between the rows of panels lie lower: the trail follows them.
        const double band = std::fmod(y + 19.0 + 224.0, 224.0) / 224.0;  // 0.5 on a row
        h *= 0.5 + 0.6 * (1.0 - std::exp(-std::pow((band - 0.5) / 0.2, 2)) * 0.85);
        return h;
    };
    std::vector<double> hs(size_t(kCampaignWidth + 1) * (kCampaignHeight + 1));
    for (int y = 0; y <= kCampaignHeight; ++y)
        for (int x = 0; x <= kCampaignWidth; ++x)
            hs[size_t(y) * (kCampaignWidth + 1) + x] = height(x, y);
    auto H = [&](int x, int y) {
        x = std::clamp(x, 0, kCampaignWidth);
        y = std::clamp(y, 0, kCampaignHeight);
        return hs[size_t(y) * (kCampaignWidth + 1) + x];
    };
    // Where the panels sit the ground is calm: a snowfield with only a touch of relief.
    std::vector<TSdf> spots;
    for (int m = 0; m < 15; ++m) {
        int left, top;
        CampaignPanelSpot(m, &left, &top);
        spots.push_back(paint::Box(left + kPanelWidth / 2.0, top + kPanelHeight / 2.0,
                                   kPanelWidth / 2.0 + 8, kPanelHeight / 2.0 + 8, 10));
    }
    const TSdf calm = paint::Union(spots);
    for (int y = 0; y < kCampaignHeight; ++y) {
        for (int x = 0; x < kCampaignWidth; ++x) {
            const double h = H(x, y);
            const double dx = (H(x + 1, y) - H(x - 1, y)) * 60,
                         dy = (H(x, y + 1) - H(x, y - 1)) * 60;
            const double light = Light(dx, dy);
            const double snowLine = 0.5 + 0.05 * grain.Fbm(x / 40.0, y / 40.0, 3);
            TRgb ground = Mix(kMeadow, {150, 160, 104}, Clamp01(grain.Fbm(x / 90.0, y / 90.0, 3)));
            const double woods = SmoothStep(0.05, 0.2, forest.Fbm(x / 70.0, y / 70.0, 4)) *
                                 (1.0 - SmoothStep(snowLine - 0.12, snowLine - 0.04, h));
            const double speck = 0.5 + 0.5 * grain.Value(x / 2.2, y / 2.2);
            ground = Mix(ground, Mix(kForest, {22, 50, 36}, speck), woods * 0.9);
            const double rocky = SmoothStep(0.8, 1.6, std::sqrt(dx * dx + dy * dy));
            ground = Mix(ground, kRock, rocky * 0.7);
            const double snow = SmoothStep(snowLine - 0.03, snowLine + 0.03, h);
            TRgb c = Mix(ground, Mix(kSnowShade, kSnowLit, light), snow);
            c = Mix(Mix(c, {20, 30, 50}, 0.45), c, 0.35 + 0.65 * light + 0.1 * (1 - snow));
            const double quiet = Clamp01(0.5 - calm(x + 0.5, y + 0.5) / 14.0);
            c = Mix(c, Mix({224, 234, 244}, {246, 250, 254}, light), quiet * 0.8);
            canvas.At(x, y) = c;
        }
    }
    // A river winding along the valley between the first two rows of missions.
    std::vector<Dot> river;
    for (int x = -10; x <= kCampaignWidth + 10; x += 8)
        river.push_back(
            {double(x), 205 + 28 * std::sin(x / 140.0) + 10 * warp.Fbm(x / 90.0, 3, 3)});
    paint::Paint(canvas, paint::Stroke(river, 3.2), kWater, 0.85);
    // The trail: a wavy dashed path from each spot to the next, beneath the panels.
    TSKIRandom random(0xCA3705);
    for (int m = 0; m + 1 < 15; ++m) {
        int l0, t0, l1, t1;
        CampaignPanelSpot(m, &l0, &t0);
        CampaignPanelSpot(m + 1, &l1, &t1);
        const Dot a{l0 + kPanelWidth / 2.0, t0 + kPanelHeight / 2.0};
        const Dot b{l1 + kPanelWidth / 2.0, t1 + kPanelHeight / 2.0};
        const double nx = -(b.y - a.y), ny = b.x - a.x, nl = std::max(1.0, std::hypot(nx, ny));
        const double bow = random.Between(-0.18, 0.18);
        const int steps = 60;
        for (int k = 0; k < steps; k += 2) {  // dashes
            std::vector<Dot> dash;
            for (int s = k; s <= k + 1; ++s) {
                const double t = double(s) / steps, curve = std::sin(t * 3.14159) * bow;
                const double wig = 6 * std::sin(t * 12 + m);
                dash.push_back({a.x + (b.x - a.x) * t + (nx / nl) * (curve * nl + wig),
                                a.y + (b.y - a.y) * t + (ny / nl) * (curve * nl + wig)});
            }
            const Dot mid{(dash[0].x + dash[1].x) / 2, (dash[0].y + dash[1].y) / 2};
            if (calm(mid.x, mid.y) < 0) continue;  // under a panel
            paint::Paint(
                canvas, paint::Stroke(dash, 2.2), kTrail, 0.9,
                {int(std::min(dash[0].x, dash[1].x)) - 4, int(std::min(dash[0].y, dash[1].y)) - 4,
                 int(std::max(dash[0].x, dash[1].x)) + 5, int(std::max(dash[0].y, dash[1].y)) + 5});
        }
    }
    // A soft shadow where each panel will sit, so it stands off the map.
    for (int m = 0; m < 15; ++m) {
        int left, top;
        CampaignPanelSpot(m, &left, &top);
        const TSdf shadow = paint::Box(left + kPanelWidth / 2.0 + 3, top + kPanelHeight / 2.0 + 4,
                                       kPanelWidth / 2.0, kPanelHeight / 2.0, 4);
        paint::Paint(canvas, [&](double x, double y) { return shadow(x, y) / 5; }, {30, 40, 60},
                     0.25, {left - 10, top - 10, left + kPanelWidth + 16, top + kPanelHeight + 16});
    }
    return canvas.ToImage();
}

TSKIImage PaintThumbnail(const TLevel& level) {
    // The whole level, a little wider than high.
    const double scale = double(kCells) / kThumbWidth, rowScale = double(kCells) / kThumbHeight;
    TCanvas canvas(kThumbWidth, kThumbHeight, {0, 0, 0});
    for (int y = 0; y < kThumbHeight; ++y) {
        for (int x = 0; x < kThumbWidth; ++x) {
            const int i0 = int(y * rowScale), j0 = int(x * scale);
            const int i1 = std::min(kCells, int((y + 1) * rowScale) + 1);
            const int j1 = std::min(kCells, int((x + 1) * scale) + 1);
            double snow = 0, tree = 0, rock = 0, road = 0, house = 0, n = 0;
            for (int i = i0; i < i1; ++i)
                for (int j = j0; j < j1; ++j) {
                    const uint8_t f = level.F(i, j);
                    snow += (f & kFlagSnow) != 0;
                    tree += (f & kFlagTree) != 0;
                    rock += (f & kFlagBlocked) != 0 && !(f & kFlagHouse);
                    road += (f & kFlagRoad) != 0;
                    house += (f & kFlagHouse) != 0;
                    ++n;
                }
            const double ci = (i0 + i1) / 2.0, cj = (j0 + j1) / 2.0;
            const double di = (level.HeightAt(ci + 2, cj) - level.HeightAt(ci - 2, cj)) / 16;
            const double dj = (level.HeightAt(ci, cj + 2) - level.HeightAt(ci, cj - 2)) / 16;
            const double light = Light(dj * 2.5, di * 2.5);
            TRgb c = Mix(kMeadow, Mix(kSnowShade, kSnowLit, light), snow / n);
            c = Mix(c, kForest, std::min(1.0, 1.6 * tree / n));
            c = Mix(c, kRock, rock / n);
            c = Mix(Mix(c, {20, 30, 50}, 0.5), c, 0.3 + 0.7 * light);
            // The road a little wider than it is, and the flat ground at its end where the
            // resort starts, so both read at this size.
            const double roadDistance = level.RoadDistanceAt(ci, cj);
            c = Mix(c, kRoad, road > 0 || roadDistance < 5.5 ? 0.95 : 0.0);
            if (level.road.line.size() >= 2) {
                const TPoint end = level.road.line.back();
                const double d =
                    std::sqrt((ci - end.i) * (ci - end.i) + (cj - end.j) * (cj - end.j));
                c = Mix(c, kGravel,
                        0.9 * (1.0 - SmoothStep(level.road.plateauRadius * 0.6,
                                                level.road.plateauRadius, d)));
            }
            c = Mix(c, kHouse, std::min(1.0, 3 * house / n));
            canvas.At(x, y) = c;
        }
    }
    return canvas.ToImage();
}

TSKIImage PaintStarButton(int stars, bool lit) {
    auto star = [](double cx, double cy, double r) {
        std::vector<Dot> points;
        for (int k = 0; k < 10; ++k) {
            const double a = -3.14159265 / 2 + k * 3.14159265 / 5;
            const double rr = k % 2 ? r * 0.45 : r;
            points.push_back({cx + rr * std::cos(a), cy + rr * std::sin(a)});
        }
        return paint::Polygon(points);
    };
    static const std::vector<std::vector<Dot>> layouts = {
        {},
        {{24, 25}},
        {{15, 25}, {33, 25}},
        {{24, 15.5}, {15, 31}, {33, 31}},
        {{15.5, 15.5}, {32.5, 15.5}, {15.5, 32.5}, {32.5, 32.5}},
        {{14, 14}, {34, 14}, {24, 24}, {14, 34}, {34, 34}},
    };
    static const double radii[] = {0, 14, 9.5, 8.5, 8, 7};
    TSdf symbol;
    if (stars <= 0) {
        std::vector<Dot> loop;  // the lemniscate: the unlimited sign
        for (int k = 0; k <= 64; ++k) {
            const double t = k * 2 * 3.14159265 / 64, s = std::sin(t), c = std::cos(t);
            loop.push_back({24 + 15 * c / (1 + s * s), 24 + 15 * s * c / (1 + s * s)});
        }
        symbol = paint::Stroke(loop, 2.6);
    } else {
        std::vector<TSdf> parts;
        const int n = std::min(stars, 5);
        for (const Dot& p : layouts[size_t(n)]) parts.push_back(star(p.x, p.y, radii[n]));
        symbol = paint::Union(parts);
    }
    return PaintSymbolButton(symbol, lit);
}

bool WriteWorldPictures(const std::filesystem::path& dataFolder, std::string* error) {
    if (!paint::WriteBmp(dataFolder / "campaign.bmp", PaintCampaignMap(), error)) return false;
    for (int stars = 0; stars <= 5; ++stars) {
        const std::string n = std::to_string(stars);
        if (!paint::WriteBmp(dataFolder / ("star" + n + ".bmp"), PaintStarButton(stars, true),
                             error) ||
            !paint::WriteBmp(dataFolder / ("starOFF" + n + ".bmp"), PaintStarButton(stars, false),
                             error))
            return false;
    }
    return true;
}

}  // namespace vallorn::datagen
