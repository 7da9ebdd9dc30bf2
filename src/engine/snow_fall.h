// The falling snow the view draws: a cloud of flakes in a box of half-size 200 around a centre
// ahead of the camera, drifting with one velocity. It follows the park's weather, detail and
// days, but is placed from a random generator of its own and only reads the park, so what is
// drawn never changes what the park does. The game window's view owns one; the headless
// runner, which draws nothing, has none.
#pragma once

#include <cstdint>
#include <vector>

#include "base/random.h"
#include "base/types.h"

namespace vallorn {

class TSKIEngine;

// Where the view's camera stands and looks, as the last drawn frame had it.
struct TSKISnowfallCamera {
    TSKIVector Position{0, 0, 0, 1};
    TSKIVector Direction{0, 0, 1, 0};
};

// The flakes the cloud should have in the park's weather at its detail.
int32_t SnowFlakeTarget(const TSKIEngine& engine);

class TSKISnowfall {
public:
    explicit TSKISnowfall(uint64_t seed = 1) : rng_(seed) {}

    // Set by the view after every frame it draws.
    TSKISnowfallCamera Camera;
    // What the renderer draws: the flakes as point sprites of PointSize in Color while Visible.
    std::vector<TSKIVector> Flakes;
    TSKIVector Color{0.9f, 0.9f, 0.9f, 1.0f};
    float PointSize = 2.0f;
    bool Visible = false;
    // The cloud: its centre, the velocity of every flake, and the camera it was placed for.
    TSKIVector Centre{0, 0, 0, 0};
    TSKIVector Velocity{0, 0, 0, 0};
    TSKIVector LastCameraPosition{0, 0, 0, 0};
    float RecentreDistance = 0;

    // A new cloud for the park's weather and detail: none at low detail or below weather 0.3.
    void Reset(const TSKIEngine& engine);
    // One frame of `parkSeconds` of the park's time: a park without a cloud gets the one of
    // its weather, the cloud follows the camera and drifts, flakes far below the camera go
    // back up, and a new day makes the cloud afresh.
    void Update(const TSKIEngine& engine, float parkSeconds);
    // The cloud placed ahead of the camera again (made afresh when it has too few flakes).
    void Recentre(const TSKIEngine& engine);
    // No cloud: the next update starts the one of the park it is given (a park closed or
    // another one loaded).
    void Clear();

private:
    void Place(const TSKIEngine& engine);
    TSKIVector PointInBox(const TSKIVector& centre);

    TSKIRandom rng_;
    int64_t day_ = -1;  // the park's day changes the cloud was made or moved under
};

}  // namespace vallorn
