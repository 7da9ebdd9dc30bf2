#include "erosion.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "base/random.h"

namespace vallorn::datagen {
namespace {

struct THeightGradient {
    double height, gi, gj;
};

class TWaterMap {
public:
    explicit TWaterMap(std::vector<double>& map) : map_(map) {}

    double& At(int i, int j) { return map_[size_t(i) * kVerts + j]; }

    // Bilinear height and its gradient at a point inside the grid.
    THeightGradient Sample(double pi, double pj) {
        const int i = int(pi), j = int(pj);
        const double u = pi - i, v = pj - j;
        const double a = At(i, j), b = At(i + 1, j), c = At(i, j + 1), d = At(i + 1, j + 1);
        return {a * (1 - u) * (1 - v) + b * u * (1 - v) + c * (1 - u) * v + d * u * v,
                (b - a) * (1 - v) + (d - c) * v, (c - a) * (1 - u) + (d - b) * u};
    }

    // Removes `amount` around node (i, j), spread over a disc with weights falling off
    // linearly with the distance; returns what was removed. Near the map's edge the share of
    // the disc outside the map is simply not washed.
    double Wash(int i, int j, double amount) {
        double removed = 0;
        const bool inside =
            i >= radius_ && j >= radius_ && i + radius_ < kVerts && j + radius_ < kVerts;
        for (const TBrushTap& tap : brush_) {
            const int a = i + tap.di, b = j + tap.dj;
            if (!inside && (a < 0 || b < 0 || a >= kVerts || b >= kVerts)) continue;
            At(a, b) -= tap.weight * amount;
            removed += tap.weight * amount;
        }
        return removed;
    }

    void SetBrush(int radius) {
        radius_ = radius;
        brush_.clear();
        double total = 0;
        for (int a = -radius; a <= radius; ++a) {
            for (int b = -radius; b <= radius; ++b) {
                const double w = double(radius) - std::sqrt(double(a * a + b * b));
                if (w <= 0) continue;
                brush_.push_back({a, b, w});
                total += w;
            }
        }
        for (TBrushTap& tap : brush_) tap.weight /= total;
    }

    // Leaves `amount` at the point, shared among the four surrounding nodes.
    void Deposit(double pi, double pj, double amount) {
        const int i = int(pi), j = int(pj);
        const double u = pi - i, v = pj - j;
        At(i, j) += amount * (1 - u) * (1 - v);
        At(i + 1, j) += amount * u * (1 - v);
        At(i, j + 1) += amount * (1 - u) * v;
        At(i + 1, j + 1) += amount * u * v;
    }

private:
    struct TBrushTap {
        int di, dj;
        double weight;
    };

    std::vector<TBrushTap> brush_;
    int radius_ = 0;
    std::vector<double>& map_;
};

}  // namespace

void ErodeHydraulic(TLevel& level, const TErosionRules& rules) {
    std::vector<double> map(level.heights.size());
    for (size_t k = 0; k < map.size(); ++k) map[k] = level.heights[k] / rules.heightScale;
    TWaterMap water(map);
    water.SetBrush(rules.radius);
    TSKIRandom random(rules.seed);
    const double limit = double(kVerts - 1);
    for (int d = 0; d < rules.droplets; ++d) {
        double pi = random.Uniform() * (limit - 1), pj = random.Uniform() * (limit - 1);
        double di = 0, dj = 0, speed = 1, volume = 1, sediment = 0;
        for (int step = 0; step < rules.lifetime; ++step) {
            const int ni = int(pi), nj = int(pj);
            const double oi = pi - ni, oj = pj - nj;
            const THeightGradient here = water.Sample(pi, pj);
            di = di * rules.inertia - here.gi * (1 - rules.inertia);
            dj = dj * rules.inertia - here.gj * (1 - rules.inertia);
            const double len = std::sqrt(di * di + dj * dj);
            if (len < 1e-12) break;
            di /= len;
            dj /= len;
            pi += di;
            pj += dj;
            if (pi < 0 || pj < 0 || pi >= limit || pj >= limit) break;
            const double drop = water.Sample(pi, pj).height - here.height;
            const double capacity =
                std::max(-drop * speed * volume * rules.capacity, 0.01 / rules.heightScale);
            if (sediment > capacity || drop > 0) {
                const double amount =
                    drop > 0 ? std::min(drop, sediment) : (sediment - capacity) * rules.depositRate;
                sediment -= amount;
                water.Deposit(ni + oi, nj + oj, amount);
            } else {
                const double amount = std::min((capacity - sediment) * rules.erodeRate, -drop);
                sediment += water.Wash(ni, nj, amount);
            }
            speed = std::sqrt(
                std::max(0.0, speed * speed - drop * rules.gravity * rules.heightScale / 100));
            volume *= 1 - rules.evaporation;
        }
    }
    for (size_t k = 0; k < map.size(); ++k) level.heights[k] = float(map[k] * rules.heightScale);
}

void SettleTalus(TLevel& level, double talus, int passes, double rate) {
    for (int pass = 0; pass < passes; ++pass) {
        for (int i = 0; i < kVerts; ++i) {
            for (int j = 0; j < kVerts; ++j) {
                float& h = level.H(i, j);
                for (int n = 0; n < 2; ++n) {
                    const int a = i + (n == 0), b = j + (n == 1);
                    if (a >= kVerts || b >= kVerts) continue;
                    float& g = level.H(a, b);
                    const double diff = double(h) - double(g);
                    if (std::fabs(diff) <= talus) continue;
                    const double move = rate * (std::fabs(diff) - talus) / 2 * (diff > 0 ? 1 : -1);
                    h = float(h - move);
                    g = float(g + move);
                }
            }
        }
    }
}

void SmoothHeights(TLevel& level, int passes, double weight) {
    std::vector<float> next(level.heights.size());
    for (int pass = 0; pass < passes; ++pass) {
        for (int i = 0; i < kVerts; ++i) {
            for (int j = 0; j < kVerts; ++j) {
                double sum = 0;
                int n = 0;
                for (int a = std::max(0, i - 1); a <= std::min(kVerts - 1, i + 1); ++a) {
                    for (int b = std::max(0, j - 1); b <= std::min(kVerts - 1, j + 1); ++b) {
                        sum += level.H(a, b);
                        ++n;
                    }
                }
                next[size_t(i) * kVerts + j] =
                    float(level.H(i, j) + weight * (sum / n - level.H(i, j)));
            }
        }
        level.heights.swap(next);
    }
}

}  // namespace vallorn::datagen
