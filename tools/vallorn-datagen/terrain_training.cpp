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

}  // namespace

TLevel MakeTraining() {
    TLevel level;
    level.name = "Training";
    level.blockThreshold = 7.0f;
    const TNoise2D shape(0x7A1E0001), detail(0x7A1E0002);
    for (int i = 0; i < kVerts; ++i) {
        for (int j = 0; j < kVerts; ++j) {
            // One broad hill with a shoulder, its top about 150 above the plain: blue runs
            // on the long western side and a red pitch on the steeper eastern face.
            const double wi = i + 14 * shape.Fbm(i / 140.0, j / 140.0, 3);
            const double wj = j + 14 * shape.Fbm(i / 140.0 + 5.1, j / 140.0 + 1.7, 3);
            double h = 22;
            h += 150 * Bump(wi, wj, 318, 262, wi < 318 ? 78 : 50, 84);
            h += 50 * Bump(wi, wj, 392, 168, 46, 40);
            h += 32 * Bump(wi, wj, 250, 370, 40, 52);
            h += 6 * detail.Fbm(i / 48.0, j / 48.0, 4) + 1.5 * detail.Fbm(i / 12.0, j / 12.0, 3);
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
    static const std::vector<TLevelRecipe> recipes = {
        {"Mountain", &MakeMountain},
        {"Training", &MakeTraining},
        {"blank", &MakeBlank},
    };
    return recipes;
}

}  // namespace vallorn::datagen
