#include "entities/pole_layout.h"

#include <cmath>

#include "entities/world.h"

namespace vallorn {

namespace {

constexpr float kSampleStep = 4.0f;
constexpr int kMaxPoleRounds = 500;

float Distance(const TSKIVector& a, const TSKIVector& b) {
    const float dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

float Ground(const TSKIWorld& e, const TSKIVector& p) {
    return e.HasGrid() ? e.TerrainHeight(p) : 0.0f;
}

// The rounds of the layout; false when they ran out before the layout settled.
bool PlacePoles(const TSKIWorld& e, const TSKILiftParams& type, std::vector<TSKIVector>& up,
                int skip) {
    for (int round = 0; round < kMaxPoleRounds; ++round) {
        // Only the longest span is examined in a round; the first found wins ties.
        size_t span = 0;
        float longest = -1;
        for (size_t k = 0; k + 1 < up.size(); ++k) {
            const float len = Distance(up[k], up[k + 1]);
            if (len > longest) {
                longest = len;
                span = k;
            }
        }
        if (longest <= 0) return true;
        const TSKIVector a = up[span];
        const TSKIVector dir = (up[span + 1] - a) / longest;
        const int samples = int(std::floor(longest / kSampleStep)) + 1;
        int rise = -1, far = -1;
        float bestRise = 0, bestFar = type.PoleHeight / 2;
        TSKIVector risePoint{}, farPoint{};
        for (int s = skip; s <= samples - 1 - skip; ++s) {
            TSKIVector p = a + dir * (kSampleStep * float(s));
            p.w = 1;
            const float terrain = Ground(e, p);
            const float above = terrain - p.y;
            if (above > 0 && above > bestRise) {
                bestRise = above;
                rise = s;
                risePoint = TSKIVector(p.x, terrain, p.z, 1);
            }
            if (std::fabs(above) > bestFar) {
                bestFar = std::fabs(above);
                far = s;
                farPoint = TSKIVector(p.x, terrain, p.z, 1);
            }
        }
        if (rise < 0 && far < 0) return true;
        up.insert(up.begin() + long(span) + 1, rise >= 0 ? risePoint : farPoint);
    }
    return false;
}

}  // namespace

bool LayOutPoles(const TSKIWorld& e, const TSKILiftParams& type, std::vector<TSKIVector>& up,
                 int skipSamples) {
    if (!PlacePoles(e, type, up, skipSamples)) return false;
    up.front().y += type.StationHeight;
    up.back().y += type.StationHeight;
    for (size_t k = 1; k + 1 < up.size(); ++k) up[k].y += type.PoleHeight;
    return true;
}

}  // namespace vallorn
