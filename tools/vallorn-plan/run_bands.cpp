#include "run_bands.h"

#include <algorithm>
#include <cmath>

#include "entities/section.h"
#include "park/resort_layout.h"

namespace vallorn::plan {

char TBandCount::Colour() const {
    if (black >= blue && black >= red) return 'k';
    if (red >= blue && red >= black) return 'r';
    return 'b';
}

float TBandCount::Share(char colour) const {
    const int total = std::max(1, blue + red + black);
    const int n = colour == 'k' ? black : colour == 'r' ? red : blue;
    return float(n) / float(total);
}

TBandCount BandsAlong(const TSKIEngine& engine, const std::vector<std::pair<int, int>>& cells) {
    TBandCount count;
    for (size_t k = 0; k + 1 < cells.size(); ++k) {
        const auto [i0, j0] = cells[k];
        const auto [i1, j1] = cells[k + 1];
        const int steps = 2 * std::max(std::abs(i1 - i0), std::abs(j1 - j0)) + 1;
        for (int s = 0; s < steps; ++s) {
            const float t = float(s) / float(steps);
            const int i = int(std::lround(float(i0) + t * float(i1 - i0)));
            const int j = int(std::lround(float(j0) + t * float(j1 - j0)));
            if (!engine.CellInGrid(i, j)) continue;
            const uint8_t band = SteepnessDifficulty(engine.Cell(i, j).Steepness);
            if (band == kDifficultyBlack)
                ++count.black;
            else if (band == kDifficultyRed)
                ++count.red;
            else
                ++count.blue;
        }
    }
    return count;
}

namespace {

// A station on steep ground stands on the cells next to it no more than this above or below:
// the steep bands are narrow, and a station on their level ends would leave them behind.
constexpr float kStationStep = 4.0f;

bool FreeAlong(const TSKIEngine& engine, int i0, int j0, int i1, int j1) {
    const int steps = std::max(std::abs(i1 - i0), std::abs(j1 - j0)) + 1;
    for (int k = 0; k <= steps; ++k) {
        const float t = float(k) / float(steps);
        const int i = int(std::lround(float(i0) + t * float(i1 - i0)));
        const int j = int(std::lround(float(j0) + t * float(j1 - j0)));
        if (!datagen::FreeGround(engine, i, j)) return false;
    }
    return true;
}

}  // namespace

std::vector<TLiftLine> SteepLines(const TSKIEngine& engine, int liftType, char colour, int ci,
                                  int cj, int around, int keepOff, float rise, float maxLength,
                                  size_t count) {
    const TSKILiftParams& lift = engine.Params.Lifts[size_t(liftType)];
    const float longest = maxLength > 0 ? std::min(maxLength, lift.MaxLength) : lift.MaxLength;
    const int reach = int(longest / kCellSize) - 1;
    const int minCells = int(std::ceil(2 * lift.PoleMinDist / kCellSize)) + 1;
    std::vector<std::pair<float, TLiftLine>> found;
    for (int a0 = ci - around; a0 <= ci + around; a0 += 2) {
        for (int b0 = cj - around; b0 <= cj + around; b0 += 2) {
            if (std::max(std::abs(a0 - ci), std::abs(b0 - cj)) < keepOff) continue;
            if (!datagen::FlatFree(engine, a0, b0, 1, kStationStep)) continue;
            for (int a1 = a0 - reach; a1 <= a0 + reach; a1 += 3) {
                for (int b1 = b0 - reach; b1 <= b0 + reach; b1 += 3) {
                    const float cells = std::hypot(float(a1 - a0), float(b1 - b0));
                    if (cells > float(reach) || cells < float(minCells)) continue;
                    if (!engine.CellInGrid(a1, b1)) continue;
                    if (engine.Cell(a1, b1).Height - engine.Cell(a0, b0).Height < rise) continue;
                    const TBandCount bands = BandsAlong(engine, {{a0, b0}, {a1, b1}});
                    if (bands.Colour() != colour) continue;
                    if (!datagen::FlatFree(engine, a1, b1, 1, kStationStep)) continue;
                    if (!FreeAlong(engine, a0, b0, a1, b1)) continue;
                    found.push_back({bands.Share(colour), {a0, b0, a1, b1}});
                }
            }
        }
    }
    // The steepest share first; the scan order breaks ties, so the plan stays deterministic.
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& x, const auto& y) { return x.first > y.first; });
    std::vector<TLiftLine> lines;
    for (size_t k = 0; k < found.size() && lines.size() < count; ++k)
        lines.push_back(found[k].second);
    return lines;
}

}  // namespace vallorn::plan
