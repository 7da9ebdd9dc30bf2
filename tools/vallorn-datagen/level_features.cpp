#include "level_features.h"

#include <algorithm>
#include <cmath>

#include "base/random.h"
#include "noise.h"

namespace vallorn::datagen {
namespace {

double Dist(const TPoint& a, const TPoint& b) {
    return Length(a.i - b.i, a.j - b.j);
}

TPoint CatmullRom(const TPoint& p0, const TPoint& p1, const TPoint& p2, const TPoint& p3,
                  double t) {
    const double t2 = t * t, t3 = t2 * t;
    auto f = [&](double a, double b, double c, double d) {
        return 0.5 * (2 * b + (-a + c) * t + (2 * a - 5 * b + 4 * c - d) * t2 +
                      (-a + 3 * b - 3 * c + d) * t3);
    };
    return {f(p0.i, p1.i, p2.i, p3.i), f(p0.j, p1.j, p2.j, p3.j)};
}

// Height profile of the road: the terrain under the line, averaged over a window and then
// limited to `maxGrade` rise per world unit in both directions.
std::vector<double> RoadProfile(const TLevel& level, double maxGrade) {
    const auto& line = level.road.line;
    const size_t n = line.size();
    std::vector<double> raw(n), profile(n);
    for (size_t k = 0; k < n; ++k) raw[k] = level.HeightAt(line[k].i, line[k].j);
    const int window = 12;
    for (size_t k = 0; k < n; ++k) {
        double sum = 0;
        int count = 0;
        for (int o = -window; o <= window; ++o) {
            const long idx = long(k) + o;
            if (idx < 0 || idx >= long(n)) continue;
            sum += raw[size_t(idx)];
            ++count;
        }
        profile[k] = sum / count;
    }
    for (size_t k = 1; k < n; ++k) {
        const double limit = maxGrade * Dist(line[k], line[k - 1]) * kCellWorld;
        profile[k] = std::clamp(profile[k], profile[k - 1] - limit, profile[k - 1] + limit);
    }
    for (size_t k = n - 1; k-- > 0;) {
        const double limit = maxGrade * Dist(line[k], line[k + 1]) * kCellWorld;
        profile[k] = std::clamp(profile[k], profile[k + 1] - limit, profile[k + 1] + limit);
    }
    return profile;
}

}  // namespace

std::vector<TPoint> SmoothCurve(const std::vector<TPoint>& control, double step) {
    std::vector<TPoint> out;
    if (control.size() < 2) return control;
    for (size_t s = 0; s + 1 < control.size(); ++s) {
        const TPoint& p0 = control[s == 0 ? 0 : s - 1];
        const TPoint& p1 = control[s];
        const TPoint& p2 = control[s + 1];
        const TPoint& p3 = control[std::min(s + 2, control.size() - 1)];
        const int pieces = std::max(1, int(std::ceil(Dist(p1, p2) / step)));
        for (int k = 0; k < pieces; ++k)
            out.push_back(CatmullRom(p0, p1, p2, p3, double(k) / pieces));
    }
    out.push_back(control.back());
    return out;
}

double DistanceToLine(const std::vector<TPoint>& line, double i, double j, double* along) {
    double best = 1e18, bestAlong = 0;
    for (size_t k = 0; k + 1 < line.size(); ++k) {
        const double ai = line[k].i, aj = line[k].j;
        const double di = line[k + 1].i - ai, dj = line[k + 1].j - aj;
        const double len2 = di * di + dj * dj;
        double t = len2 > 0 ? ((i - ai) * di + (j - aj) * dj) / len2 : 0;
        t = std::clamp(t, 0.0, 1.0);
        const double ei = ai + t * di - i, ej = aj + t * dj - j;
        const double d2 = ei * ei + ej * ej;
        if (d2 < best) {
            best = d2;
            bestAlong = double(k) + t;
        }
    }
    if (line.size() == 1) {
        best = (line[0].i - i) * (line[0].i - i) + (line[0].j - j) * (line[0].j - j);
    }
    if (along) *along = bestAlong;
    return std::sqrt(best);
}

void BuildRoad(TLevel& level, double maxGrade) {
    level.roadDistance.assign(size_t(kVerts) * kVerts, 1e9f);
    const auto& line = level.road.line;
    if (line.size() < 2) return;
    const std::vector<double> profile = RoadProfile(level, maxGrade);
    const double half = level.road.halfWidth;
    const double inner = half + 1.5, outer = half + 10;
    const double plateau = level.road.plateauRadius, plateauOuter = plateau + 20;
    const TPoint end = line.back();
    const double margin = std::max(outer, plateauOuter) + 2;
    double minI = 1e9, maxI = -1e9, minJ = 1e9, maxJ = -1e9;
    for (const TPoint& p : line) {
        minI = std::min(minI, p.i), maxI = std::max(maxI, p.i);
        minJ = std::min(minJ, p.j), maxJ = std::max(maxJ, p.j);
    }
    const int i0 = std::max(0, int(minI - margin)), i1 = std::min(kVerts - 1, int(maxI + margin));
    const int j0 = std::max(0, int(minJ - margin)), j1 = std::min(kVerts - 1, int(maxJ + margin));
    for (int i = i0; i <= i1; ++i) {
        for (int j = j0; j <= j1; ++j) {
            double along = 0;
            const double d = DistanceToLine(line, i, j, &along);
            level.roadDistance[size_t(i) * kVerts + j] = float(d);
            const size_t k = std::min(size_t(along), profile.size() - 2);
            double target = Lerp(profile[k], profile[k + 1], along - double(k));
            double weight = 1.0 - SmoothStep(inner, outer, d);
            if (plateau > 0) {
                const double dp = Dist(end, {double(i), double(j)});
                const double wp = 1.0 - SmoothStep(plateau, plateauOuter, dp);
                if (wp > weight) {
                    weight = wp;
                    target = profile.back();
                }
            }
            if (weight > 0) level.H(i, j) = float(Lerp(level.H(i, j), target, weight));
        }
    }
    for (int i = 0; i < kCells; ++i) {
        for (int j = 0; j < kCells; ++j) {
            if (level.roadDistance[size_t(i) * kVerts + j] <= half) level.F(i, j) = kFlagRoad;
        }
    }
}

void MarkBlocked(TLevel& level, int grain) {
    const double limit = level.blockThreshold / level.scaleY;
    for (auto& f : level.flags) f &= uint8_t(~kFlagBlocked);
    for (int i = 1; i <= kCells - 2; ++i) {
        for (int j = 1; j <= kCells - 2; ++j) {
            const double h = level.H(i, j);
            if (std::fabs(level.H(i - 1, j) - h) > limit ||
                std::fabs(level.H(i + 1, j) - h) > limit ||
                std::fabs(level.H(i, j - 1) - h) > limit ||
                std::fabs(level.H(i, j + 1) - h) > limit) {
                level.F(i, j) |= kFlagBlocked;
            }
        }
    }
    const int windows = (kCells - 5) / 4;
    for (int d = 0; d <= windows; ++d) {
        for (int e = 0; e <= windows; ++e) {
            int count = 0;
            for (int a = 4 * d; a <= 4 * d + 4; ++a)
                for (int b = 4 * e; b <= 4 * e + 4; ++b) count += level.Has(a, b, kFlagBlocked);
            if (count >= grain) continue;
            for (int a = 4 * d; a <= 4 * d + 4; ++a)
                for (int b = 4 * e; b <= 4 * e + 4; ++b) level.F(a, b) &= uint8_t(~kFlagBlocked);
        }
    }
    for (auto& f : level.flags)
        if (f & kFlagRoad) f = kFlagRoad;
}

void PlaceSnowAndTrees(TLevel& level, const TCoverRules& rules) {
    const TNoise2D lineNoise(rules.seed), forestNoise(rules.seed + 1);
    TSKIRandom random(rules.seed + 2);
    std::vector<double> forest(size_t(kCells) * kCells);
    for (int i = 0; i < kCells; ++i)
        for (int j = 0; j < kCells; ++j)
            forest[size_t(i) * kCells + j] =
                forestNoise.Fbm(i / rules.forestScale, j / rules.forestScale, 4);
    // The forest threshold is the quantile of the patch noise that gives the wanted cover.
    std::vector<double> sorted = forest;
    std::sort(sorted.begin(), sorted.end());
    const size_t q =
        size_t(std::clamp(1.0 - rules.forestCover, 0.0, 1.0) * double(sorted.size() - 1));
    const double threshold = sorted[q];
    const bool hasRoad = level.road.line.size() >= 2;
    const TPoint end = hasRoad ? level.road.line.back() : TPoint{-1e9, -1e9};
    for (int i = 0; i < kCells; ++i) {
        for (int j = 0; j < kCells; ++j) {
            const double chance = random.Uniform();  // one draw per cell, always
            uint8_t& f = level.F(i, j);
            if (f & kFlagRoad) continue;
            const double h = level.H(i, j), slope = level.Slope(i, j);
            const double snowLine =
                rules.snowLine + rules.snowLineNoise * lineNoise.Fbm(i / 40.0, j / 40.0, 4);
            if (h > snowLine && slope < rules.snowMaxSlope) f |= kFlagSnow;
            if (f & kFlagBlocked) continue;
            const double roadDist =
                level.roadDistance.empty() ? 1e9 : level.roadDistance[size_t(i) * kVerts + j];
            if (roadDist < rules.roadClearance) continue;
            if (Length(i - end.i, j - end.j) < level.road.plateauRadius + 3) continue;
            const double treeLine =
                rules.treeLine +
                rules.treeLineNoise * lineNoise.Fbm(i / 35.0 + 40, j / 35.0 + 40, 3);
            if (h >= treeLine || slope >= rules.treeMaxSlope) continue;
            const double fv = forest[size_t(i) * kCells + j];
            double p = rules.forestDensity * SmoothStep(threshold, threshold + 0.08, fv) +
                       rules.sparseDensity;
            p *= 1.0 - SmoothStep(treeLine - 30, treeLine, h);
            p *= 1.0 - SmoothStep(rules.treeMaxSlope * 0.7, rules.treeMaxSlope, slope);
            if (chance < p) f |= kFlagTree;
        }
    }
}

void PlaceHouses(TLevel& level, int count, double spacing, uint64_t seed) {
    const auto& line = level.road.line;
    if (line.size() < 8 || count <= 0) return;
    TSKIRandom random(seed);
    const TPoint end = line.back();
    const size_t first = line.size() / 8, last = line.size() - line.size() / 12;
    const size_t stride = std::max<size_t>(1, size_t(spacing / 3));
    for (size_t k = first; k < last && int(level.houses.size()) < count; k += stride) {
        const TPoint a = line[k], b = line[std::min(k + 1, line.size() - 1)];
        const double len = std::max(1e-9, Dist(a, b));
        const double ti = (b.i - a.i) / len, tj = (b.j - a.j) / len;
        const double side = random.Uniform() < 0.5 ? -1.0 : 1.0;
        const double offset = level.road.halfWidth + 4.5 + random.Uniform() * 2;
        const double ci = a.i - tj * side * offset, cj = a.j + ti * side * offset;
        const int hi = int(std::lround(ci)), hj = int(std::lround(cj));
        if (hi < 4 || hj < 4 || hi > kCells - 5 || hj > kCells - 5) continue;
        if (Length(ci - end.i, cj - end.j) < level.road.plateauRadius + 6) continue;
        bool ok = true;
        for (const THouse& other : level.houses)
            ok = ok && Length(other.i - ci, other.j - cj) >= spacing;
        for (int di = -3; di <= 3 && ok; ++di) {
            for (int dj = -3; dj <= 3 && ok; ++dj) {
                const int i = hi + di, j = hj + dj;
                ok = !level.Has(i, j, kFlagRoad) && !level.Has(i, j, kFlagBlocked) &&
                     level.MaxStep(i, j) < 1.2;
            }
        }
        if (!ok) continue;
        THouse house;
        house.tag = int32_t(random.Below(4));
        house.i = hi;
        house.j = hj;
        const double ri = a.i - hi, rj = a.j - hj, rl = Length(ri, rj);
        house.dirI = ri / rl;
        house.dirJ = rj / rl;
        level.houses.push_back(house);
        for (int di = -2; di <= 2; ++di) {
            for (int dj = -2; dj <= 2; ++dj) {
                uint8_t& f = level.F(hi + di, hj + dj);
                f &= uint8_t(~kFlagTree);
                if (std::abs(di) <= 1 && std::abs(dj) <= 1) f |= kFlagBlocked | kFlagHouse;
            }
        }
    }
}

int CountFlag(const TLevel& level, uint8_t bit) {
    int n = 0;
    for (uint8_t f : level.flags) n += (f & bit) != 0;
    return n;
}

double CliffStep(double across, double along, double length, double width, double drop, double i,
                 double j, const TNoise2D& noise) {
    const double half = length / 2;
    if (std::fabs(along) > half || std::fabs(across) > 40) return 0;
    const double taper = 1.0 - SmoothStep(half * 0.55, half, std::fabs(along));
    const double ragged = 0.75 + 0.25 * noise.Fbm(i / 9.0, j / 9.0, 3);
    const double edge = across + 1.5 * noise.Fbm(i / 14.0 + 3, j / 14.0 + 7, 3);
    const double fade = 1.0 - SmoothStep(width * 2, 40, std::fabs(across));
    return drop * ragged * taper * fade * (SmoothStep(-width, width, edge) - 0.5);
}

}  // namespace vallorn::datagen
