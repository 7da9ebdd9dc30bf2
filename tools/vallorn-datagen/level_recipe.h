// Levels made from a short style record: the relief kind and its size, snow and tree lines,
// forest, cliffs, the road and the houses. The campaign's and the sandbox's levels are such
// records (level_styles.cpp); the same record always gives the same bytes.
#pragma once

#include <cstdint>
#include <vector>

#include "level_model.h"

namespace vallorn::datagen {

enum class TRelief {
    GentleHill,  // one rounded hill
    Massif,      // a main summit with lower ones around it, sharp ridged crests
    Valley,      // two long flanks with the road up the floor between them
    TwinValley,  // three flanks: two valleys meeting at the road's end
    Plateau,     // a flat-topped table with steep rims
    Ridges,      // rolling ridges across the way, two summits on the main one
    TwinPeaks,   // two summits side by side over a saddle
    Bowl,        // a ring of high ground round a basin open toward the road
};

// The map edge the road comes in from.
enum class TRoadSide { North, West, South, East };

struct TLevelStyle {
    const char* name = "";
    uint64_t seed = 1;
    TRelief relief = TRelief::GentleHill;
    double floor = 20;        // lowest ground, world units
    double peak = 200;        // highest summit above the floor
    double spread = 150;      // size of the relief, cells (radius of a hill, width of a valley)
    double shift = 0;         // the relief's centre sideways of the road's end, cells
    double sharpness = 1.2;   // exponent on the relief: above 1 steeper summits, broader feet
    double roughness = 0.25;  // share of ridged noise in the relief
    double snowLine = -1e9;   // natural snow above this height (-1e9: everywhere)
    double treeLine = 0;      // trees below this height
    double forest = 0.3;      // share of the ground below the tree line that is forest
    double density = 0.6;     // chance of a tree on a forest cell
    int cliffs = 0;           // cliff bands on the upper slopes
    double gully = 0;         // depth of a gully down the main slope (0: none)
    TRoadSide roadSide = TRoadSide::North;
    double roadAt = 0.5;      // where along its edge the road starts, 0..1
    double roadLength = 120;  // from the edge to the road's end, cells
    double roadBend = 20;     // sideways swing of the road, cells
    int houses = 0;           // decorative houses along the road
    int droplets = 50000;     // erosion
};

// The level of a style.
TLevel MakeStyledLevel(const TLevelStyle& style);

// The styles of the shipped campaign levels (Mission01..Mission15) and sandbox maps (maps
// 1..20 and the bonus map 21, in that order).
const std::vector<TLevelStyle>& CampaignLevelStyles();
const std::vector<TLevelStyle>& SandboxLevelStyles();

}  // namespace vallorn::datagen
