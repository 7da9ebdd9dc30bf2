// Weathering of a generated height field: water droplets that run downhill, wash material
// out of the slopes and leave it in the hollows (gullies, spurs and flat valley floors), and
// a talus pass that lets loose material slide until no step is steeper than it can hold.
#pragma once

#include <cstdint>

#include "level_model.h"

namespace vallorn::datagen {

struct TErosionRules {
    uint64_t seed = 1;
    int droplets = 150000;
    int lifetime = 40;      // steps of one droplet
    double inertia = 0.08;  // share of the previous direction a droplet keeps
    double capacity = 5.0;  // sediment a droplet can carry per unit of speed and water
    double erodeRate = 0.1;
    double depositRate = 0.3;
    double evaporation = 0.02;  // share of the water lost per step
    double gravity = 4.0;
    int radius = 4;             // cells washed around the droplet
    double heightScale = 1000;  // heights are divided by this while the water runs
};

void ErodeHydraulic(TLevel& level, const TErosionRules& rules);

// Moves material down every step steeper than `talus` world units between four-neighbours,
// `passes` times, a share `rate` of the excess each time.
void SettleTalus(TLevel& level, double talus, int passes, double rate = 0.25);

// Blends every height toward the mean of its 3 x 3 neighbourhood by `weight`, `passes`
// times: takes the grain off the droplet tracks.
void SmoothHeights(TLevel& level, int passes, double weight);

}  // namespace vallorn::datagen
