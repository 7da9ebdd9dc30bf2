// The falling-snow effect as data: a cloud of flakes in a box of half-size 200 around a
// centre ahead of the camera, drifting with one velocity. The renderer draws SnowFlakes as
// point sprites of SnowfallPointSize in SnowfallColor while SnowfallVisible is set.
#include <algorithm>
#include <cmath>

#include "engine/engine.h"
#include "engine/snow.h"

namespace vallorn {

namespace {

constexpr float kBoxHalfSize = 200.0f;
constexpr float kRecentreDistance = 30.0f;
constexpr float kAheadOfCamera = 80.0f;
constexpr float kLowestWeather = 0.3f;  // below this no snow falls

float Distance(const TSKIVector& a, const TSKIVector& b) {
    const float dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// Velocity and centre of the cloud for the current camera.
void PlaceSnowfall(TSKIEngine& e) {
    TSKISnowfallState& s = e.Level.Snowfall;
    for (int axis = 0; axis < 3; ++axis) {
        const float r = float(e.Rng.Uniform());
        s.Velocity[axis] = axis == 1 ? -4.0f - 2.0f * r : 1.0f + r;
    }
    s.Velocity.w = 0;
    TSKIVector centre = e.SnowfallCamera.Position + e.SnowfallCamera.Direction * kAheadOfCamera;
    centre.w = 1;
    if (e.HasGrid()) centre.y = std::max(centre.y, e.TerrainHeight(centre));
    s.Centre = centre;
}

TSKIVector PointInBox(TSKIEngine& e, const TSKIVector& centre) {
    TSKIVector p = centre;
    p.x += float(e.Rng.Between(-kBoxHalfSize, kBoxHalfSize));
    p.y += float(e.Rng.Between(-kBoxHalfSize, kBoxHalfSize));
    p.z += float(e.Rng.Between(-kBoxHalfSize, kBoxHalfSize));
    p.w = 1;
    return p;
}

}  // namespace

int32_t SnowFlakeTarget(const TSKIEngine& engine) {
    return int32_t(
        std::floor((float(engine.Options.Detail) * 1024.0f + 2048.0f) * engine.Park.ParkWeather));
}

void ResetSnowfall(TSKIEngine& engine) {
    engine.SnowFlakes.clear();
    engine.SnowfallColor = TSKIVector(0.9f, 0.9f, 0.9f, 1.0f);
    if (engine.Options.Detail == 0 || engine.Park.ParkWeather < kLowestWeather) {
        engine.SnowfallVisible = false;
        return;
    }
    engine.SnowfallVisible = true;
    engine.SnowfallPointSize = 2.0f;
    engine.Level.Snowfall.RecentreDistance = kRecentreDistance;
    PlaceSnowfall(engine);
    const int32_t count = std::max(0, SnowFlakeTarget(engine));
    engine.SnowFlakes.reserve(size_t(count));
    for (int32_t k = 0; k < count; ++k)
        engine.SnowFlakes.push_back(PointInBox(engine, engine.Level.Snowfall.Centre));
    engine.Level.Snowfall.LastCameraPosition = engine.SnowfallCamera.Position;
}

void UpdateSnowfall(TSKIEngine& engine, float dt) {
    if (engine.Options.Detail == 0) return;
    // A park that has no cloud yet (just loaded, or opened after another was closed) starts
    // with the falling snow of its weather; in mild weather nothing falls.
    if (!engine.SnowfallVisible && engine.SnowFlakes.empty() &&
        engine.Park.ParkWeather >= kLowestWeather)
        ResetSnowfall(engine);
    if (!engine.SnowfallVisible) return;
    TSKISnowfallState& s = engine.Level.Snowfall;
    if (Distance(engine.SnowfallCamera.Position, s.LastCameraPosition) > s.RecentreDistance) {
        RecentreSnowfall(engine);
        if (!engine.SnowfallVisible) return;
    }
    const TSKIVector step = s.Velocity * dt;
    const float floor = engine.SnowfallCamera.Position.y - kBoxHalfSize;
    for (TSKIVector& flake : engine.SnowFlakes) {
        flake.x += step.x;
        flake.y += step.y;
        flake.z += step.z;
        if (flake.y < floor) {
            flake.x = s.Centre.x + float(engine.Rng.Between(-kBoxHalfSize, kBoxHalfSize));
            flake.z = s.Centre.z + float(engine.Rng.Between(-kBoxHalfSize, kBoxHalfSize));
            flake.y += 2.0f * kBoxHalfSize;
        }
    }
}

void RecentreSnowfall(TSKIEngine& engine) {
    if (engine.SnowFlakes.size() < size_t(std::max(0, SnowFlakeTarget(engine)))) {
        ResetSnowfall(engine);
        if (!engine.SnowfallVisible) return;
    }
    PlaceSnowfall(engine);
    // A flake outside the box around the new centre is put back inside it.
    const TSKIVector& c = engine.Level.Snowfall.Centre;
    for (TSKIVector& flake : engine.SnowFlakes) {
        if (std::fabs(flake.x - c.x) > kBoxHalfSize || std::fabs(flake.y - c.y) > kBoxHalfSize ||
            std::fabs(flake.z - c.z) > kBoxHalfSize) {
            flake = PointInBox(engine, c);
        }
    }
    engine.Level.Snowfall.LastCameraPosition = engine.SnowfallCamera.Position;
}

}  // namespace vallorn
