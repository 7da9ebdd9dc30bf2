// "Training", a small gentle hill to learn the game on, and "blank", the flat level the
// editor starts new levels from.
#include <cmath>

#include "level_features.h"
#include "levels.h"
#include "noise.h"

namespace vallorn::datagen {
namespace {

double Bump(double i, double j, double ci, double cj, double si, double sj) {
    const double a = (i - ci) / si, b = (j - cj) / sj;
    return std::exp(-0.5 * (a * a + b * b));
}

// A ramp from 0 (x <= 0) to 1 (x >= 1) that rises at a steady rate in between, its two
// knees rounded over `knee` on either side.
double Ramp(double x, double knee) {
    if (x <= -knee) return 0;
    if (x >= 1 + knee) return 1;
    if (x < knee) return (x + knee) * (x + knee) / (4 * knee);
    if (x > 1 - knee) return 1 - (1 + knee - x) * (1 + knee - x) / (4 * knee);
    return x;
}

// The shoulder by the road's end: a flat-topped knoll whose four flanks each fall at a steady
// rate of their own. Its sides run diagonally to the cell grid, where a cell's drop below its
// lower neighbours exceeds the step to any one of them: the flank facing the road is a black
// pitch (about 2.8 per cell along the grid, 4 down the fall line) that stays below the
// blocking step, the one toward the map edge a red pitch, the two toward the hill gentle.
// Nothing outside the feet of its flanks changes.
constexpr double kShoulderI = 201, kShoulderJ = 209;  // centre of the flat top, cells
constexpr double kShoulderRise = 60;                  // top above the hill under it
constexpr double kFlankToRoad = 15, kFlankToEdge = 20, kFlankUphill = 60, kFlankAside = 60;

double Shoulder(double i, double j, const TNoise2D& warp) {
    // A slow wobble of the outline, so its rims and feet are not ruled lines.
    const double u = i - kShoulderI + 3 * warp.Fbm(i / 60.0, j / 60.0, 2);
    const double v = j - kShoulderJ + 3 * warp.Fbm(i / 60.0 + 9.2, j / 60.0 + 3.7, 2);
    const double p = (u + v) / std::sqrt(2.0);  // toward the hill's top
    const double q = (v - u) / std::sqrt(2.0);  // toward the road's end
    const double a = p / (p < 0 ? kFlankToEdge : kFlankUphill);
    const double b = q / (q > 0 ? kFlankToRoad : kFlankAside);
    // Scaled distance, 1 on the rim of the top and 2 at the foot of each flank; a cubic norm
    // keeps the flanks straight for most of their length and rounds the corners.
    const double rho = std::cbrt(std::fabs(a * a * a) + std::fabs(b * b * b));
    return kShoulderRise * (1.0 - Ramp(rho - 1.0, 0.15));
}

}  // namespace

TLevel MakeTraining() {
    TLevel level;
    level.name = "Training";
    level.blockThreshold = kSteepBlockThreshold;
    const TNoise2D shape(0x7A1E0001), detail(0x7A1E0002), wobble(0x7A1E0003);
    for (int i = 0; i < kVerts; ++i) {
        for (int j = 0; j < kVerts; ++j) {
            // One broad hill, its top about 150 above the plain: blue runs on the long western
            // side and a red pitch on the steeper eastern face; the shoulder by the road.
            const double wi = i + 14 * shape.Fbm(i / 140.0, j / 140.0, 3);
            const double wj = j + 14 * shape.Fbm(i / 140.0 + 5.1, j / 140.0 + 1.7, 3);
            double h = 22;
            h += 150 * Bump(wi, wj, 318, 262, wi < 318 ? 78 : 50, 84);
            h += 50 * Bump(wi, wj, 392, 168, 46, 40);
            h += 32 * Bump(wi, wj, 250, 370, 40, 52);
            h += 6 * detail.Fbm(i / 48.0, j / 48.0, 4) + 1.5 * detail.Fbm(i / 12.0, j / 12.0, 3);
            h += Shoulder(i, j, wobble);
            level.H(i, j) = float(h);
        }
    }
    level.road.line = SmoothCurve({{-6, 236}, {55, 244}, {110, 250}, {160, 256}}, 1.0);
    level.road.halfWidth = 1.3;
    level.road.plateauRadius = 12;
    BuildRoad(level, 0.06);
    MarkBlocked(level, 12);

    TCoverRules cover;
    cover.seed = 0x7A1E0010;
    cover.snowLine = -1e9;  // snow everywhere but on the road
    cover.treeLine = 75;    // a little forest round the foot of the hill
    cover.treeLineNoise = 12;
    cover.treeMaxSlope = 0.5;
    cover.forestScale = 40;
    cover.forestCover = 0.05;
    cover.forestDensity = 0.55;
    cover.sparseDensity = 0.002;
    cover.roadClearance = 3;
    PlaceSnowAndTrees(level, cover);
    PlaceHouses(level, 2, 30, 0x7A1E0020);
    return level;
}

TLevel MakeBlank() {
    TLevel level;
    level.name = "blank";
    level.blockThreshold = 7.0f;
    for (float& h : level.heights) h = 10.0f;
    level.roadDistance.clear();
    return level;
}

const std::vector<TLevelRecipe>& LevelRecipes() {
    static const std::vector<TLevelRecipe> recipes = [] {
        std::vector<TLevelRecipe> all = {
            {"Mountain", &MakeMountain},
            {"Training", &MakeTraining},
            {"blank", &MakeBlank},
        };
        for (const auto* styles : {&CampaignLevelStyles(), &SandboxLevelStyles()})
            for (const TLevelStyle& style : *styles) all.push_back({style.name, nullptr, &style});
        return all;
    }();
    return recipes;
}

}  // namespace vallorn::datagen
