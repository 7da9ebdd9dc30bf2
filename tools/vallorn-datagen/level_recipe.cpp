// The relief of a styled level is shaped in the road's own frame: `a` runs inland from the
// edge the road comes in from, `b` along that edge. The road ends at (roadLength, eb) and the
// relief rises beyond that point, so every level has flat ground for the car park at the
// foot of its slopes.
#include <algorithm>
#include <cmath>

#include "base/random.h"
#include "erosion.h"
#include "level_features.h"
#include "level_recipe.h"
#include "noise.h"

namespace vallorn::datagen {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kEdge = kCells;

struct TDome {
    double a, b, height, ra, rb;
};

struct TCliffBand {
    double a, b;    // centre of the band
    double da, db;  // unit direction away from the summit
    double length, drop, width;
};

// Road frame <-> cells.
TPoint ToCells(TRoadSide side, double a, double b) {
    switch (side) {
        case TRoadSide::North:
            return {a, b};
        case TRoadSide::West:
            return {kEdge - b, a};
        case TRoadSide::South:
            return {kEdge - a, kEdge - b};
        case TRoadSide::East:
            return {b, kEdge - a};
    }
    return {a, b};
}

TPoint ToFrame(TRoadSide side, double i, double j) {
    switch (side) {
        case TRoadSide::North:
            return {i, j};
        case TRoadSide::West:
            return {j, kEdge - i};
        case TRoadSide::South:
            return {kEdge - i, kEdge - j};
        case TRoadSide::East:
            return {kEdge - j, i};
    }
    return {i, j};
}

double Dome(double a, double b, const TDome& d) {
    const double x = (a - d.a) / d.ra, y = (b - d.b) / d.rb;
    return std::exp(-(x * x + y * y));
}

class TShaper {
public:
    explicit TShaper(const TLevelStyle& style)
        : s_(style),
          random_(style.seed ^ 0xD0E5),
          ridged_(style.seed + 1),
          detail_(style.seed + 2),
          warp_(style.seed + 3) {
        const double b0 = std::clamp(s_.roadAt, 0.12, 0.88) * kEdge;
        const double swing = random_.Uniform() < 0.5 ? -s_.roadBend : s_.roadBend;
        const double L = s_.roadLength;
        road_ = {{-6, b0},
                 {L * 0.35, b0 + swing * 0.6},
                 {L * 0.7, b0 + swing * 0.2},
                 {L, b0 - swing * 0.3}};
        for (TPoint& p : road_) p.j = std::clamp(p.j, 40.0, kEdge - 40);
        ea_ = road_.back().i;
        eb_ = road_.back().j;
        PlanFeatures();
    }

    const std::vector<TPoint>& RoadControl() const { return road_; }
    const std::vector<TCliffBand>& Cliffs() const { return cliffs_; }

    // Relief share 0..~1 at a point of the road's frame (before the final scaling).
    double Envelope(double a, double b) const {
        const double s = s_.spread;
        const double wa = a + 18 * warp_.Fbm(a / 170.0, b / 170.0, 3);
        const double wb = b + 18 * warp_.Fbm(a / 170.0 + 6.1, b / 170.0 + 2.3, 3);
        double none = 1;
        for (const TDome& d : domes_) none *= 1.0 - d.height * Dome(wa, wb, d);
        double e = 1.0 - none;
        const double inland = SmoothStep(ea_ - 40, ea_ + 1.5 * s, wa);
        switch (s_.relief) {
            case TRelief::Valley: {
                const double db = std::fabs(wb - ValleyLine(wa));
                const double flank = SmoothStep(0.2 * s, 0.9 * s, db);
                e = std::max(e, flank * (0.55 + 0.35 * SmoothStep(-40, ea_ + s, wa)));
                e = std::max(e, 0.3 * inland);
                break;
            }
            case TRelief::TwinValley: {
                const double fan = 0.45 * std::max(0.0, wa - ea_ + 30);
                const double d1 = std::fabs(wb - (eb_ - fan)), d2 = std::fabs(wb - (eb_ + fan));
                const double both = wa < ea_ - 30 ? std::fabs(wb - eb_) : std::min(d1, d2);
                const double flank = SmoothStep(0.12 * s, 0.55 * s, both);
                e = std::max(e, flank * (0.5 + 0.45 * SmoothStep(-40, ea_ + s, wa)));
                e = std::max(e, 0.25 * inland);
                break;
            }
            case TRelief::Plateau:
                e = 0.85 * SmoothStep(0.1, 0.55, e) + 0.15 * e;
                break;
            case TRelief::Ridges: {
                const double phase = (wa - ea_ + 25 * warp_.Fbm(wb / 120.0, 4.4, 3)) / (0.9 * s);
                const double wave = 0.5 - 0.5 * std::cos(2 * kPi * phase);
                const double across = std::exp(-std::pow((wb - eb_ - s_.shift) / (1.3 * s), 2));
                e = std::max(e, 0.4 * wave * across * SmoothStep(ea_, ea_ + 0.35 * s, wa));
                break;
            }
            case TRelief::Bowl: {
                const double ca = ea_ + 0.9 * s, cb = eb_ + s_.shift, r = Length(wa - ca, wb - cb);
                const double ring = std::exp(-std::pow((r - 0.85 * s) / (0.6 * s), 2));
                const double angle = std::atan2(std::fabs(wb - cb), ca - wa);  // 0: toward road
                e = std::max(e, ring * (0.25 + 0.75 * SmoothStep(0.35, 1.1, angle)));
                break;
            }
            default:
                break;
        }
        // The ground by the road's end stays low and gentle: the relief rises beyond it (in
        // the valleys the road runs up the floor between the flanks).
        if (s_.relief != TRelief::Valley && s_.relief != TRelief::TwinValley)
            e *= 0.1 + 0.9 * SmoothStep(ea_ - 25, ea_ + 0.3 * s, wa);
        const double crest = ridged_.Ridged(wa / 140.0, wb / 140.0, 4);
        return e * (1.0 - s_.roughness + s_.roughness * crest) +
               0.01 * detail_.Fbm(a / 30.0, b / 30.0, 4);
    }

    // Extra depth of the gully at a point, world units.
    double Gully(double a, double b) const {
        if (s_.gully <= 0 || domes_.empty()) return 0;
        std::vector<TPoint> line = {
            {domes_[0].a - 0.15 * s_.spread, domes_[0].b + 0.35 * s_.spread},
            {ea_ + 25, eb_ + 0.3 * s_.spread}};
        double along = 0;
        const double d = DistanceToLine(line, a, b, &along);
        return s_.gully * (1.0 - SmoothStep(3, 16, d)) * SmoothStep(0.0, 0.25, along) *
               (1.0 - SmoothStep(0.8, 1.0, along));
    }

private:
    double ValleyLine(double a) const {
        return eb_ + 0.25 * s_.spread * std::sin((a - ea_) / (0.9 * s_.spread));
    }

    double Between(double lo, double hi) { return lo + (hi - lo) * random_.Uniform(); }

    void PlanFeatures() {
        const double s = s_.spread, ea = ea_, eb = eb_ + s_.shift;
        switch (s_.relief) {
            case TRelief::GentleHill:
                domes_ = {{ea + 0.9 * s, eb + 0.15 * s, 1.0, s, 1.1 * s},
                          {ea + 0.55 * s, eb - 0.9 * s, 0.45, 0.55 * s, 0.55 * s}};
                break;
            case TRelief::Massif:
                domes_ = {{ea + 1.1 * s, eb, 1.0, 0.8 * s, 0.8 * s}};
                for (int k = 0; k < 6; ++k) {
                    const double angle = Between(-1.9, 1.9), dist = Between(0.55, 1.0) * s;
                    domes_.push_back({ea + 1.5 * s - std::cos(angle) * dist * 0.6,
                                      eb + std::sin(angle) * dist, Between(0.5, 0.85),
                                      Between(0.4, 0.6) * s, Between(0.4, 0.6) * s});
                }
                break;
            case TRelief::Valley:
            case TRelief::TwinValley:
                domes_ = {{ea + 1.6 * s, eb, 1.0, 0.7 * s, 0.9 * s}};
                break;
            case TRelief::Plateau:
                domes_ = {{ea + 1.5 * s, eb, 1.0, s, 1.3 * s},
                          {ea + 1.8 * s, eb + 0.7 * s, 0.9, 0.6 * s, 0.6 * s}};
                break;
            case TRelief::Ridges:
                domes_ = {{ea + 1.05 * s, eb - 0.5 * s, 1.0, 0.45 * s, 0.6 * s},
                          {ea + 1.05 * s, eb + 0.55 * s, 0.92, 0.45 * s, 0.6 * s}};
                break;
            case TRelief::TwinPeaks:
                domes_ = {{ea + 1.0 * s, eb - 0.55 * s, 1.0, 0.5 * s, 0.5 * s},
                          {ea + 1.05 * s, eb + 0.55 * s, 0.96, 0.5 * s, 0.5 * s},
                          {ea + 0.95 * s, eb, 0.45, 0.45 * s, 0.6 * s}};
                break;
            case TRelief::Bowl:
                domes_ = {{ea + 1.75 * s, eb, 0.9, 0.5 * s, 0.7 * s}};
                break;
        }
        const TDome& top = domes_[0];
        const double toRoad = std::atan2(eb - top.b, ea - top.a);
        for (int k = 0; k < s_.cliffs; ++k) {
            // Spread round the summit, clear of the side that faces the road's end.
            const double angle =
                toRoad + 0.9 + (2 * kPi - 1.8) * (k + Between(0.2, 0.8)) / std::max(1, s_.cliffs);
            const double dist = Between(0.35, 0.55) * std::min(top.ra, top.rb);
            cliffs_.push_back({top.a + std::cos(angle) * dist, top.b + std::sin(angle) * dist,
                               std::cos(angle), std::sin(angle), Between(0.3, 0.45) * s,
                               Between(0.1, 0.15) * s_.peak, 3.0});
        }
    }

    const TLevelStyle& s_;
    TSKIRandom random_;
    TNoise2D ridged_, detail_, warp_;
    std::vector<TPoint> road_;
    std::vector<TDome> domes_;
    std::vector<TCliffBand> cliffs_;
    double ea_ = 0, eb_ = 0;
};

// A step in the slope across a band: gentler above and below, much steeper in between.
double CliffOffset(const TCliffBand& c, double a, double b, const TNoise2D& noise) {
    const double pa = a - c.a, pb = b - c.b;
    const double across = -(pa * c.da + pb * c.db);  // > 0 toward the summit
    const double along = pa * -c.db + pb * c.da;
    return CliffStep(across, along, c.length, c.width, c.drop, a, b, noise);
}

}  // namespace

TLevel MakeStyledLevel(const TLevelStyle& style) {
    TLevel level;
    level.name = style.name;
    level.blockThreshold = kSteepBlockThreshold;
    const TShaper shaper(style);
    std::vector<double> raw(size_t(kVerts) * kVerts);
    double lo = 1e9, hi = -1e9;
    for (int i = 0; i < kVerts; ++i) {
        for (int j = 0; j < kVerts; ++j) {
            const TPoint f = ToFrame(style.roadSide, i, j);
            const double e = shaper.Envelope(f.i, f.j);
            raw[size_t(i) * kVerts + j] = e;
            lo = std::min(lo, e);
            hi = std::max(hi, e);
        }
    }
    for (int i = 0; i < kVerts; ++i) {
        for (int j = 0; j < kVerts; ++j) {
            const TPoint f = ToFrame(style.roadSide, i, j);
            const double e = (raw[size_t(i) * kVerts + j] - lo) / std::max(1e-9, hi - lo);
            level.H(i, j) = float(style.floor + style.peak * std::pow(e, style.sharpness) -
                                  shaper.Gully(f.i, f.j));
        }
    }
    if (style.droplets > 0) {
        TErosionRules erosion;
        erosion.seed = style.seed + 5;
        erosion.droplets = style.droplets;
        ErodeHydraulic(level, erosion);
    }
    SettleTalus(level, 4.0, 4);
    SmoothHeights(level, 2, 0.5);
    if (!shaper.Cliffs().empty()) {
        const TNoise2D cliffNoise(style.seed + 4);
        for (int i = 0; i < kVerts; ++i) {
            for (int j = 0; j < kVerts; ++j) {
                const TPoint f = ToFrame(style.roadSide, i, j);
                double h = level.H(i, j);
                for (const TCliffBand& c : shaper.Cliffs())
                    h += CliffOffset(c, f.i, f.j, cliffNoise);
                level.H(i, j) = float(std::max(h, style.floor - 5));
            }
        }
    }

    std::vector<TPoint> control;
    for (const TPoint& p : shaper.RoadControl())
        control.push_back(ToCells(style.roadSide, p.i, p.j));
    level.road.line = SmoothCurve(control, 1.0);
    level.road.halfWidth = 1.3;
    level.road.plateauRadius = 13;
    BuildRoad(level, 0.08);
    MarkBlocked(level, 12);

    TCoverRules cover;
    cover.seed = style.seed + 0x10;
    cover.snowLine = style.snowLine;
    cover.snowLineNoise = style.snowLine > -1e8 ? 10 + 0.06 * style.peak : 0;
    cover.snowMaxSlope = 1.35;
    cover.treeLine = style.treeLine;
    cover.treeLineNoise = 25;
    cover.treeMaxSlope = 0.65;
    cover.forestScale = 45;
    cover.forestCover = style.forest;
    cover.forestDensity = style.density;
    cover.sparseDensity = 0.01;
    cover.roadClearance = 3;
    PlaceSnowAndTrees(level, cover);
    PlaceHouses(level, style.houses, 22, style.seed + 0x20);
    return level;
}

}  // namespace vallorn::datagen
