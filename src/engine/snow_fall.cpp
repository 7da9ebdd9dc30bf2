// The falling snow the view draws (engine/snow_fall.h).
#include "engine/snow_fall.h"

#include <algorithm>
#include <cmath>

#include "engine/engine.h"

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

}  // namespace

int32_t SnowFlakeTarget(const TSKIEngine& engine) {
    return int32_t(
        std::floor((float(engine.Options.Detail) * 1024.0f + 2048.0f) * engine.Park.ParkWeather));
}

// Velocity and centre of the cloud for the current camera.
void TSKISnowfall::Place(const TSKIEngine& engine) {
    for (int axis = 0; axis < 3; ++axis) {
        const float r = float(rng_.Uniform());
        Velocity[axis] = axis == 1 ? -4.0f - 2.0f * r : 1.0f + r;
    }
    Velocity.w = 0;
    TSKIVector centre = Camera.Position + Camera.Direction * kAheadOfCamera;
    centre.w = 1;
    if (engine.HasGrid()) centre.y = std::max(centre.y, engine.TerrainHeight(centre));
    Centre = centre;
}

TSKIVector TSKISnowfall::PointInBox(const TSKIVector& centre) {
    TSKIVector p = centre;
    p.x += float(rng_.Between(-kBoxHalfSize, kBoxHalfSize));
    p.y += float(rng_.Between(-kBoxHalfSize, kBoxHalfSize));
    p.z += float(rng_.Between(-kBoxHalfSize, kBoxHalfSize));
    p.w = 1;
    return p;
}

void TSKISnowfall::Reset(const TSKIEngine& engine) {
    Flakes.clear();
    Color = TSKIVector(0.9f, 0.9f, 0.9f, 1.0f);
    if (engine.Options.Detail == 0 || engine.Park.ParkWeather < kLowestWeather) {
        Visible = false;
        return;
    }
    Visible = true;
    PointSize = 2.0f;
    RecentreDistance = kRecentreDistance;
    Place(engine);
    const int32_t count = std::max(0, SnowFlakeTarget(engine));
    Flakes.reserve(size_t(count));
    for (int32_t k = 0; k < count; ++k) Flakes.push_back(PointInBox(Centre));
    LastCameraPosition = Camera.Position;
}

void TSKISnowfall::Update(const TSKIEngine& engine, float parkSeconds) {
    const bool newDay = day_ >= 0 && day_ != engine.DayChanges;
    day_ = engine.DayChanges;
    if (engine.Options.Detail != 0) {
        // A park that has no cloud yet (just loaded, or opened after another was closed)
        // starts with the falling snow of its weather; in mild weather nothing falls.
        if (!Visible && Flakes.empty() && engine.Park.ParkWeather >= kLowestWeather) Reset(engine);
        if (Visible && Distance(Camera.Position, LastCameraPosition) > RecentreDistance)
            Recentre(engine);
        if (Visible) {
            const TSKIVector step = Velocity * parkSeconds;
            const float floor = Camera.Position.y - kBoxHalfSize;
            for (TSKIVector& flake : Flakes) {
                flake.x += step.x;
                flake.y += step.y;
                flake.z += step.z;
                if (flake.y < floor) {
                    flake.x = Centre.x + float(rng_.Between(-kBoxHalfSize, kBoxHalfSize));
                    flake.z = Centre.z + float(rng_.Between(-kBoxHalfSize, kBoxHalfSize));
                    flake.y += 2.0f * kBoxHalfSize;
                }
            }
        }
    }
    // The morning's weather brings its own cloud.
    if (newDay) Reset(engine);
}

void TSKISnowfall::Recentre(const TSKIEngine& engine) {
    if (Flakes.size() < size_t(std::max(0, SnowFlakeTarget(engine)))) {
        Reset(engine);
        if (!Visible) return;
    }
    Place(engine);
    // A flake outside the box around the new centre is put back inside it.
    for (TSKIVector& flake : Flakes) {
        if (std::fabs(flake.x - Centre.x) > kBoxHalfSize ||
            std::fabs(flake.y - Centre.y) > kBoxHalfSize ||
            std::fabs(flake.z - Centre.z) > kBoxHalfSize) {
            flake = PointInBox(Centre);
        }
    }
    LastCameraPosition = Camera.Position;
}

void TSKISnowfall::Clear() {
    Flakes.clear();
    Visible = false;
    day_ = -1;
}

}  // namespace vallorn
