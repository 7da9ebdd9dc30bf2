// "Mountain", the default level: a massif of several summits built from domain-warped
// ridged noise over a soft union of domes, a main valley carved from the map edge into the
// massif, and cliff bands cut into the upper slopes. Heights run from about 20 on the valley
// floor to about 450 on the highest summit (LevelScaleY 2: the mesh holds half of that).
#include <algorithm>
#include <cmath>

#include "erosion.h"
#include "level_features.h"
#include "levels.h"
#include "noise.h"

namespace vallorn::datagen {
namespace {

constexpr double kFloor = 20.0;    // lowest ground, world units
constexpr double kRelief = 430.0;  // from the lowest ground to the highest summit

struct TDome {
    double i, j, height, radius;  // cells; height as a share of the relief
};

// The summits: the main one deep in the map, a ring of lower ones around the valley's head
// and foothills toward the map edge the road comes in from.
const TDome kDomes[] = {
    {380, 300, 1.00, 130}, {330, 140, 0.85, 105}, {300, 440, 0.80, 100}, {460, 180, 0.90, 95},
    {460, 440, 0.78, 95},  {230, 60, 0.60, 100},  {170, 340, 0.62, 105}, {80, 430, 0.48, 100},
    {100, 40, 0.45, 95},   {250, 330, 0.60, 70},  {30, 270, 0.35, 70},
};

// A cliff band: a stretch of the slope around a summit made much steeper, with gentler
// ground above and below it (a step in the slope, not a wall added on top of it).
struct TCliff {
    int dome;         // the summit it faces
    double angle;     // direction from the summit to the band, radians
    double distance;  // from the summit, cells
    double length;    // along the band, cells
    double drop;      // extra height difference across the band, world units
    double width;     // half width of the steep part, cells
};

const TCliff kCliffs[] = {
    {0, 3.60, 62, 70, 52, 3.5},
    {1, 1.10, 48, 56, 40, 3.0},
    {3, 2.50, 46, 50, 44, 3.0},
    {2, 4.90, 50, 60, 36, 3.5},
};

// The main valley from the map edge (i < 0) up into the massif; the road follows its first
// six points.
const TPoint kValley[] = {{-6, 140},  {40, 150},  {85, 170},  {130, 186}, {170, 206},
                          {205, 226}, {250, 248}, {300, 262}, {345, 272}};
constexpr int kRoadPoints = 6;

double CliffOffset(const TCliff& c, double i, double j, const TNoise2D& noise) {
    const TDome& d = kDomes[c.dome];
    const double ri = std::cos(c.angle), rj = std::sin(c.angle);  // away from the summit
    const double ci = d.i + ri * c.distance, cj = d.j + rj * c.distance;
    const double pi = i - ci, pj = j - cj;
    const double across = -(pi * ri + pj * rj);  // > 0 toward the summit
    const double along = pi * -rj + pj * ri;
    return CliffStep(across, along, c.length, c.width, c.drop, i, j, noise);
}

}  // namespace

TLevel MakeMountain() {
    TLevel level;
    level.name = "Mountain";
    // Blocked where a neighbour differs by more than 4.25 world units (x LevelScaleY 2): the
    // cliff bands and the steepest summit faces. A black run needs a drop of 3 per cell below
    // it, and on rough ground such a cell has a neighbour a good deal lower than that, so a
    // limit just above 3 would block every black pitch (the valley's head by the road's end
    // among them).
    level.blockThreshold = kSteepBlockThreshold;
    const TNoise2D warp(0x5EED0001), ridge(0x5EED0002), detail(0x5EED0003), cliffNoise(0x5EED0004);
    const std::vector<TPoint> valleyControl(std::begin(kValley), std::end(kValley));
    const std::vector<TPoint> valley = SmoothCurve(valleyControl, 2.0);

    // Only points this close to the valley's line feel its carving.
    TPoint valleyLo{1e9, 1e9}, valleyHi{-1e9, -1e9};
    for (const TPoint& p : valley) {
        valleyLo = {std::min(valleyLo.i, p.i - 120), std::min(valleyLo.j, p.j - 120)};
        valleyHi = {std::max(valleyHi.i, p.i + 120), std::max(valleyHi.j, p.j + 120)};
    }
    std::vector<double> raw(size_t(kVerts) * kVerts);
    double lo = 1e9, hi = -1e9;
    for (int i = 0; i < kVerts; ++i) {
        for (int j = 0; j < kVerts; ++j) {
            const double u = i / 512.0, v = j / 512.0;
            const double wi = i + 30 * warp.Fbm(u * 3, v * 3, 4);
            const double wj = j + 30 * warp.Fbm(u * 3 + 7.3, v * 3 + 2.9, 4);
            double none = 1;  // soft union of the domes: 1 - product of (1 - dome)
            for (const TDome& d : kDomes) {
                const double r2 =
                    ((wi - d.i) * (wi - d.i) + (wj - d.j) * (wj - d.j)) / (d.radius * d.radius);
                none *= 1.0 - d.height * std::exp(-r2);
            }
            const double envelope = 1.0 - none;
            const double crest = ridge.Ridged(wi / 150.0, wj / 150.0, 4);
            const double e =
                envelope * (0.72 + 0.28 * crest) + 0.012 * detail.Fbm(i / 30.0, j / 30.0, 4);
            raw[size_t(i) * kVerts + j] = e;
            lo = std::min(lo, e);
            hi = std::max(hi, e);
        }
    }
    for (int i = 0; i < kVerts; ++i) {
        for (int j = 0; j < kVerts; ++j) {
            const double e = (raw[size_t(i) * kVerts + j] - lo) / (hi - lo);
            double h = kFloor + kRelief * std::pow(e, 1.35);
            // The valley: a flat floor rising gently inland, U-shaped sides.
            double along = 0, d = 1e9;
            if (i >= valleyLo.i && i <= valleyHi.i && j >= valleyLo.j && j <= valleyHi.j)
                d = DistanceToLine(valley, i, j, &along);
            const double t = along / double(valley.size() - 1);
            const double floor = 24 + 80 * std::pow(t, 1.4);
            const double flat = 10 - 5 * t;
            // The carving fades out toward the valley's head instead of ending in a wall.
            const double depth = 1.0 - SmoothStep(0.6, 1.0, t);
            const double side = 1.0 - depth * (1.0 - SmoothStep(flat, flat + 40 + 30 * (1 - t), d));
            h = Lerp(floor, h, side);
            level.H(i, j) = float(h);
        }
    }
    TErosionRules erosion;
    erosion.seed = 0x5EED0005;
    ErodeHydraulic(level, erosion);
    SettleTalus(level, 4.0, 6);
    SmoothHeights(level, 2, 0.5);
    for (int i = 0; i < kVerts; ++i) {
        for (int j = 0; j < kVerts; ++j) {
            double h = level.H(i, j);
            for (const TCliff& c : kCliffs) h += CliffOffset(c, i, j, cliffNoise);
            level.H(i, j) = float(std::max(h, kFloor - 5));
        }
    }

    level.road.line = SmoothCurve(
        std::vector<TPoint>(std::begin(kValley), std::begin(kValley) + kRoadPoints), 1.0);
    level.road.halfWidth = 1.3;
    level.road.plateauRadius = 14;
    BuildRoad(level, 0.08);
    MarkBlocked(level, 12);

    TCoverRules cover;
    cover.seed = 0x5EED0010;
    cover.snowLine = 120;
    cover.snowLineNoise = 35;
    cover.snowMaxSlope = 1.35;
    cover.treeLine = 250;
    cover.treeLineNoise = 30;
    cover.treeMaxSlope = 0.65;
    cover.forestScale = 45;
    cover.forestCover = 0.45;
    cover.forestDensity = 0.65;
    cover.sparseDensity = 0.015;
    cover.roadClearance = 3;
    PlaceSnowAndTrees(level, cover);
    PlaceHouses(level, 5, 24, 0x5EED0020);
    return level;
}

}  // namespace vallorn::datagen
