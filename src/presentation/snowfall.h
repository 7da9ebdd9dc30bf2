// The falling snow: a cloud of flakes in a box of half-size 200 around a centre ahead of the
// camera, drifting with one velocity, drawn as point sprites of PointSize in Color while
// Visible. The view keeps it with random numbers of its own, so where the camera goes
// changes nothing in the park; the park's weather and detail say how much falls.
#pragma once

#include <cstdint>
#include <vector>

#include "base/random.h"
#include "base/types.h"

namespace vallorn {

class TSKIEngine;

// Where the view looks from, as the renderer last drew it.
struct TSKISnowfallCamera {
    TSKIVector Position{0, 0, 0, 1};
    TSKIVector Direction{0, 0, 1, 0};
};

struct TSKISnowfall {
    TSKISnowfallCamera Camera;  // set by the view every frame
    std::vector<TSKIVector> Flakes;
    TSKIVector Color{0.9f, 0.9f, 0.9f, 1.0f};
    float PointSize = 2.0f;
    bool Visible = false;
    // The cloud's centre and drift, and where the camera was when it was last placed.
    TSKIVector Centre{0, 0, 0, 0};
    TSKIVector Velocity{0, 0, 0, 0};
    TSKIVector LastCameraPosition{0, 0, 0, 0};
    float RecentreDistance = 0;
    TSKIRandom Rng;

    // The flakes the cloud should have in the park's weather at its detail.
    static int32_t Target(const TSKIEngine& park);
    // A new cloud around the camera for the park's weather (none at the lowest detail or in
    // mild weather).
    void Reset(const TSKIEngine& park);
    // The flakes drift for `dt` of the park's time; a park without a cloud yet starts its
    // own, and a camera moved far places the cloud around it again.
    void Update(const TSKIEngine& park, float dt);
    void Recentre(const TSKIEngine& park);
    // The park is gone: no cloud until the next one moves.
    void Clear() {
        Flakes.clear();
        Visible = false;
    }
};

}  // namespace vallorn
