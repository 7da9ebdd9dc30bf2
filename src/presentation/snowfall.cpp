#include "presentation/snowfall.h"

#include <algorithm>
#include <cmath>

#include "engine/engine.h"

namespace vallorn {

namespace {

constexpr float kBoxHalfSize = 200.0f;
constexpr float kRecentreDistance = 30.0f;
constexpr float kAheadOfCamera = 80.0f;
constexpr float kLowestWeather = 0.3f;  // below this no snow falls

float SnowfallDistance(const TSKIVector& a, const TSKIVector& b) {
    const float dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// Velocity and centre of the cloud for the current camera.
void PlaceSnowfall(TSKISnowfall& s, const TSKIEngine& park) {
    for (int axis = 0; axis < 3; ++axis) {
        const float r = float(s.Rng.Uniform());
        s.Velocity[axis] = axis == 1 ? -4.0f - 2.0f * r : 1.0f + r;
    }
    s.Velocity.w = 0;
    TSKIVector centre = s.Camera.Position + s.Camera.Direction * kAheadOfCamera;
    centre.w = 1;
    if (park.HasGrid()) centre.y = std::max(centre.y, park.TerrainHeight(centre));
    s.Centre = centre;
}

TSKIVector PointInBox(TSKIRandom& rng, const TSKIVector& centre) {
    TSKIVector p = centre;
    p.x += float(rng.Between(-kBoxHalfSize, kBoxHalfSize));
    p.y += float(rng.Between(-kBoxHalfSize, kBoxHalfSize));
    p.z += float(rng.Between(-kBoxHalfSize, kBoxHalfSize));
    p.w = 1;
    return p;
}

}  // namespace

int32_t TSKISnowfall::Target(const TSKIEngine& park) {
    return int32_t(
        std::floor((float(park.Options.Detail) * 1024.0f + 2048.0f) * park.Park.ParkWeather));
}

void TSKISnowfall::Reset(const TSKIEngine& park) {
    Flakes.clear();
    Color = TSKIVector(0.9f, 0.9f, 0.9f, 1.0f);
    if (park.Options.Detail == 0 || park.Park.ParkWeather < kLowestWeather) {
        Visible = false;
        return;
    }
    Visible = true;
    PointSize = 2.0f;
    RecentreDistance = kRecentreDistance;
    PlaceSnowfall(*this, park);
    const int32_t count = std::max(0, Target(park));
    Flakes.reserve(size_t(count));
    for (int32_t k = 0; k < count; ++k) Flakes.push_back(PointInBox(Rng, Centre));
    LastCameraPosition = Camera.Position;
}

void TSKISnowfall::Update(const TSKIEngine& park, float dt) {
    if (park.Options.Detail == 0) return;
    // A park that has no cloud yet (just loaded, or opened after another was closed) starts
    // with the falling snow of its weather; in mild weather nothing falls.
    if (!Visible && Flakes.empty() && park.Park.ParkWeather >= kLowestWeather) Reset(park);
    if (!Visible) return;
    if (SnowfallDistance(Camera.Position, LastCameraPosition) > RecentreDistance) {
        Recentre(park);
        if (!Visible) return;
    }
    const TSKIVector step = Velocity * dt;
    const float floor = Camera.Position.y - kBoxHalfSize;
    for (TSKIVector& flake : Flakes) {
        flake.x += step.x;
        flake.y += step.y;
        flake.z += step.z;
        if (flake.y < floor) {
            flake.x = Centre.x + float(Rng.Between(-kBoxHalfSize, kBoxHalfSize));
            flake.z = Centre.z + float(Rng.Between(-kBoxHalfSize, kBoxHalfSize));
            flake.y += 2.0f * kBoxHalfSize;
        }
    }
}

void TSKISnowfall::Recentre(const TSKIEngine& park) {
    if (Flakes.size() < size_t(std::max(0, Target(park)))) {
        Reset(park);
        if (!Visible) return;
    }
    PlaceSnowfall(*this, park);
    // A flake outside the box around the new centre is put back inside it.
    for (TSKIVector& flake : Flakes) {
        if (std::fabs(flake.x - Centre.x) > kBoxHalfSize ||
            std::fabs(flake.y - Centre.y) > kBoxHalfSize ||
            std::fabs(flake.z - Centre.z) > kBoxHalfSize) {
            flake = PointInBox(Rng, Centre);
        }
    }
    LastCameraPosition = Camera.Position;
}

}  // namespace vallorn
