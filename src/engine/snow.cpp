// Snow on the terrain: the snow makers' reach, the overnight
// change of natural snow with the weather, grooming, the park's snow quality, what the snow
// under a skier means, and the editor's snow operations. Every whole-grid pass here runs on
// a change (a build, a removal, the day change, an editor action) or at a history sample,
// never per frame.
#include <algorithm>
#include <cmath>
#include <vector>

#include "base/image.h"
#include "engine/engine.h"
#include "engine/overlays.h"
#include "engine/snow.h"

namespace vallorn {

namespace {

constexpr int kCannonReach = 20;  // cells: a disc of 80 world units
constexpr int kEdgeSearch = 500;  // how far along a row the edge of a snow field is sought
constexpr int kDiscRadius = 10;   // overnight discs: 10 + a random 0..19 cells
constexpr int kDiscRadiusSpread = 20;

constexpr TSKIColor kBlack{0, 0, 0};
constexpr TSKIColor kWhite{255, 255, 255};

bool IsSlopeCell(const TerrainCell& c) {
    return c.Kind == kCellSlope || c.Kind == kCellSlopeCentre;
}

// The snow a cell shows: bare, snowy or groomed.
uint8_t SnowState(const TerrainCell& c) {
    return CellHasSnow(c) ? (c.Groomed ? 2 : 1) : 0;
}

}  // namespace

void RebuildSnowOverlay(TSKIEngine& engine) {
    if (!engine.HasGrid()) return;
    SpreadArtificialSnow(engine);
    engine.Overlays.Touch(TSKIOverlay::SnowOverlay);
    engine.Overlays.Touch(TSKIOverlay::SnowMask);
    RefreshTerrainView(engine);
}

void SpreadArtificialSnow(TSKIEngine& engine) {
    if (!engine.HasGrid()) return;
    // Centre cells of the snow makers, in visiting order.
    std::vector<uint32_t> centres;
    for (const auto& b : engine.Buildings) {
        if (b->Type >= kBuildingTypeCount) continue;
        if (engine.Params.Buildings[b->Type].Category != kCategorySnowCannon) continue;
        int ci, cj;
        engine.WorldToCell(b->Position, ci, cj);
        if (ci < 0 || cj < 0 || ci >= kGridSize || cj >= kGridSize) continue;
        centres.push_back(uint32_t(ci) * kGridSize + uint32_t(cj));
    }
    if (centres.empty()) return;
    std::sort(centres.begin(), centres.end());
    centres.erase(std::unique(centres.begin(), centres.end()), centres.end());

    // Row by row, up to the last snow maker: a cell is covered once it is visited with snow or
    // falls in the disc of a snow maker visited; a snow maker's reach is its square's covered
    // cells at that moment.
    std::vector<uint8_t> covered(size_t(kGridSize) * kGridSize, 0);
    constexpr int r2 = kCannonReach * kCannonReach;
    auto next = centres.begin();
    for (int i = 0; i < kGridSize && next != centres.end(); ++i) {
        const TerrainCell* row = &engine.Cell(i, 0);
        uint8_t* coveredRow = covered.data() + size_t(i) * kGridSize;
        for (int j = 0; j < kGridSize && next != centres.end(); ++j) {
            if (CellHasSnow(row[j])) coveredRow[j] = 1;
            if (*next != uint32_t(i) * kGridSize + uint32_t(j)) continue;
            ++next;
            const int a0 = std::max(0, i - kCannonReach),
                      a1 = std::min(kGridSize - 1, i + kCannonReach);
            const int c0 = std::max(0, j - kCannonReach),
                      c1 = std::min(kGridSize - 1, j + kCannonReach);
            for (int a = a0; a <= a1; ++a)
                for (int c = c0; c <= c1; ++c)
                    if ((a - i) * (a - i) + (c - j) * (c - j) <= r2)
                        covered[size_t(a) * kGridSize + size_t(c)] = 1;
            for (int a = a0; a <= a1; ++a)
                for (int c = c0; c <= c1; ++c)
                    if (covered[size_t(a) * kGridSize + size_t(c)])
                        engine.Cell(a, c).ArtificialSnow = true;
        }
    }
}

void EndOfDaySnow(TSKIEngine& engine) {
    if (!engine.HasGrid()) return;
    // Grooming lasts one day; the scratch image holds the natural snow as it will be.
    TSKIImage scratch(kGridSize, kGridSize, kBlack);
    for (int i = 0; i < kGridSize; ++i) {
        for (int j = 0; j < kGridSize; ++j) {
            TerrainCell& c = engine.Cell(i, j);
            c.Groomed = false;
            if (c.NaturalSnow) scratch.Set(i, j, kWhite);
        }
    }

    // A snowy day grows the fields by discs on their edges, a mild one eats discs out of
    // them; n rounds half to even (the default rounding mode).
    const double w = double(engine.Park.ParkWeather);
    const bool snowing = Snowing(engine);
    const TSKIColor brush = snowing ? kWhite : kBlack;
    const int n =
        std::clamp(int(std::nearbyint(snowing ? (w - 0.5) * 100.0 : (0.5 - w) * 100.0)), 0, 50);
    for (int attempt = 0; attempt <= n; ++attempt) {
        const int r = engine.Rng.Below(kGridSize);
        for (int k = 1; k < kEdgeSearch; ++k) {
            if (engine.Cell(r, k - 1).NaturalSnow && !engine.Cell(r, k).NaturalSnow) {
                scratch.FillCircle(r, k, kDiscRadius + engine.Rng.Below(kDiscRadiusSpread), brush);
                break;
            }
        }
    }

    for (int i = 0; i < kGridSize; ++i) {
        for (int j = 0; j < kGridSize; ++j)
            engine.Cell(i, j).NaturalSnow = scratch.Get(i, j) == kWhite;
    }
    RebuildSnowOverlay(engine);
}

void GroomAround(TSKIEngine& engine, int i, int j) {
    if (!engine.HasGrid()) return;
    bool changed = false;
    for (int a = i - 1; a <= i + 1; ++a) {
        for (int b = j - 1; b <= j + 1; ++b) {
            if (!engine.CellInGrid(a, b) || engine.Cell(a, b).Groomed) continue;
            engine.Cell(a, b).Groomed = true;
            changed = true;
        }
    }
    if (changed) {
        engine.Overlays.TouchCells(TSKIOverlay::SnowOverlay, i - 1, i + 1);
        engine.Overlays.TouchCells(TSKIOverlay::SnowMask, i - 1, i + 1);
    }
}

void ComputeSnowQuality(TSKIEngine& engine) {
    if (!engine.HasGrid()) return;
    int64_t slope = 0, groomed = 0, bare = 0;
    for (const TerrainCell& c : engine.Grid) {  // every cell 0..512 x 0..512
        if (!IsSlopeCell(c)) continue;
        ++slope;
        groomed += c.Groomed;
        bare += !CellHasSnow(c);
    }
    if (slope == 0) return;
    const double s = double(slope);
    engine.Park.ParkSnowQuality =
        float(50.0 * double(groomed) / s + 50.0 - 50.0 * double(bare) / s);
}

void ClearArtificialSnowAround(TSKIEngine& engine, int i, int j) {
    if (!engine.HasGrid()) return;
    for (int a = i - kCannonReach; a <= i + kCannonReach; ++a) {
        for (int b = j - kCannonReach; b <= j + kCannonReach; ++b) {
            if (engine.CellInGrid(a, b)) engine.Cell(a, b).ArtificialSnow = false;
        }
    }
}

int32_t Temperature(const TSKIEngine& engine) {
    return int32_t(std::floor((1.0f - engine.Park.ParkWeather) * 20.0f - 10.0f));
}

std::string WeatherText(const TSKIEngine& engine) {
    return std::to_string(Temperature(engine)) + " 'C, " +
           (Snowing(engine) ? "snowing" : "snow melting");
}

float SnowEnjoyment(const TSKIEngine& engine, const TerrainCell& c) {
    return c.Groomed ? engine.Params.Game.EnjoySnowQualityFactor : 0.0f;
}

float WeatherColdMultiplier(const TSKIEngine& engine, const TerrainCell& c) {
    return c.Height * engine.Park.ParkWeather;
}

void SnowPeaks(TSKIEngine& engine, float markerHeight) {
    if (!engine.HasGrid()) return;
    for (int i = 0; i < kGridSize; ++i) {
        for (int j = 0; j < kGridSize; ++j) {
            TerrainCell& c = engine.Cell(i, j);
            c.NaturalSnow = c.Height > markerHeight;
        }
    }
    RebuildSnowOverlay(engine);
}

void FloodSnow(TSKIEngine& engine, int i, int j) {
    if (!engine.HasGrid() || i < 0 || j < 0 || i >= kGridSize || j >= kGridSize) return;
    const uint8_t target = SnowState(engine.Cell(i, j));
    // Four-connected fill over the cells of the same snow; `seen` keeps every cell visited once.
    std::vector<uint8_t> seen(size_t(kGridSize) * kGridSize, 0);
    std::vector<uint32_t> stack{uint32_t(i) * kGridSize + uint32_t(j)};
    seen[stack.back()] = 1;
    while (!stack.empty()) {
        const uint32_t at = stack.back();
        stack.pop_back();
        const int a = int(at / kGridSize), b = int(at % kGridSize);
        engine.Cell(a, b).NaturalSnow = true;
        const int next[4][2] = {{a - 1, b}, {a + 1, b}, {a, b - 1}, {a, b + 1}};
        for (const auto& n : next) {
            if (n[0] < 0 || n[1] < 0 || n[0] >= kGridSize || n[1] >= kGridSize) continue;
            const uint32_t k = uint32_t(n[0]) * kGridSize + uint32_t(n[1]);
            if (seen[k] || SnowState(engine.Cell(n[0], n[1])) != target) continue;
            seen[k] = 1;
            stack.push_back(k);
        }
    }
    RebuildSnowOverlay(engine);
}

}  // namespace vallorn
