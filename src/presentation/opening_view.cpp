#include "presentation/opening_view.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>

namespace vallorn {
namespace {

constexpr float kClearance = 10.0f;      // the eye above the ground under it
constexpr float kSightClearance = 2.0f;  // the sight line above the ground along it
constexpr float kNearest = 110.0f;       // the nearest opening distance
constexpr float kFarthest = 480.0f;      // and the farthest
constexpr float kDistanceStep = 20.0f;
constexpr float kMountainView = 250.0f;  // no farther over a mountain to be built on
constexpr int kBearings = 16;
constexpr float kPitches[] = {35.0f, 45.0f, 55.0f};  // degrees, the first preferred

float Ground(const TSKIEngine& engine, float x, float z) {
    return engine.HasGrid() ? engine.GroundHeight(TSKIVector(x, 0, z, 1)) : 0.0f;
}

glm::vec3 OnGround(const TSKIEngine& engine, const TSKIVector& p) {
    return {p.x, Ground(engine, p.x, p.z), p.z};
}

// The eye and the line from it to the target stand clear of the ground.
bool SightClear(const TSKIEngine& engine, const TSKIOpeningView& view) {
    const glm::vec3 eye = view.Eye();
    if (eye.y < Ground(engine, eye.x, eye.z) + kClearance) return false;
    for (int k = 1; k < 16; ++k) {
        const glm::vec3 p = glm::mix(view.Target, eye, float(k) / 16.0f);
        if (p.y < Ground(engine, p.x, p.z) + kSightClearance) return false;
    }
    return true;
}

// The direction on the ground plane in which the land around the point rises.
glm::vec2 Uphill(const TSKIEngine& engine, const glm::vec3& p) {
    constexpr float r = 150.0f;
    const glm::vec2 g(Ground(engine, p.x + r, p.z) - Ground(engine, p.x - r, p.z),
                      Ground(engine, p.x, p.z + r) - Ground(engine, p.x, p.z - r));
    const float len = glm::length(g);
    return len > 1.0f ? g / len : glm::vec2(0.0f);
}

// Whether the point shows in front of the eye within |x| <= side and bottom <= y <= top of the
// screen (normalised device coordinates).
bool ProjectsWithin(const TSKIOpeningView& view, float aspect, const glm::vec3& point, float side,
                    float top, float bottom) {
    const glm::mat4 m = glm::perspective(glm::radians(45.0f), aspect, 1.0f, 4000.0f) *
                        glm::lookAt(view.Eye(), view.Target, glm::vec3(0, 1, 0));
    const glm::vec4 c = m * glm::vec4(point, 1.0f);
    if (c.w <= 1.0f) return false;
    const float x = c.x / c.w, y = c.y / c.w;
    return std::fabs(x) <= side && y <= top && y >= bottom;
}

}  // namespace

glm::vec3 TSKIOpeningView::Eye() const {
    const float h = Distance * std::cos(Pitch);
    return Target + glm::vec3(h * std::cos(Yaw), Distance * std::sin(Pitch), h * std::sin(Yaw));
}

std::optional<glm::vec3> OpeningMountain(const TSKIEngine& engine, const glm::vec3& focus) {
    if (!engine.HasGrid()) return std::nullopt;
    for (const auto& s : engine.Sections)
        if (s->IsLift()) return std::nullopt;
    constexpr float step = 8.0f, r = kOpeningMountainRadius;
    float highest = Ground(engine, focus.x, focus.z) + kOpeningMountainRise;
    std::optional<glm::vec3> top;
    for (float dx = -r; dx <= r; dx += step) {
        for (float dz = -r; dz <= r; dz += step) {
            const TSKIVector p(focus.x + dx, 0, focus.z + dz, 1);
            if (dx * dx + dz * dz > r * r || !engine.PositionInGrid(p)) continue;
            const float h = Ground(engine, p.x, p.z);
            if (h > highest) {
                highest = h;
                top = glm::vec3(p.x, h, p.z);
            }
        }
    }
    return top;
}

bool InOpeningScreen(const TSKIOpeningView& view, float aspect, const glm::vec3& point) {
    return ProjectsWithin(view, aspect, point, 1.0f, 1.0f, kOpeningFrameBottom);
}

std::vector<glm::vec3> OpeningLandmarks(const TSKIEngine& engine, const glm::vec3& focus) {
    std::vector<glm::vec3> points;
    auto add = [&](const TSKIVector& p) {
        if (!engine.PositionInGrid(p)) return;
        if (std::hypot(p.x - focus.x, p.z - focus.z) > kOpeningResortRadius) return;
        points.push_back(OnGround(engine, p));
    };
    for (const auto& b : engine.Buildings) add(b->Position);
    for (const auto& s : engine.Sections) {
        if (s->IsLift() && !s->Points.empty()) add(s->Points.front());
    }
    return points;
}

bool InOpeningFrame(const TSKIOpeningView& view, float aspect, const glm::vec3& point) {
    return ProjectsWithin(view, aspect, point, kOpeningFrameX, kOpeningFrameTop,
                          kOpeningFrameBottom);
}

TSKIOpeningView ChooseOpeningView(const TSKIEngine& engine, const TSKIViewpoint& viewpoint,
                                  float aspect) {
    const float world = engine.HasGrid() ? engine.Level.WorldSize : kGridSize * kCellSize;
    TSKIOpeningView best;
    best.Target.x = std::clamp(viewpoint.FocusX, -world, 0.0f);
    best.Target.z = std::clamp(viewpoint.FocusZ, 0.0f, world);
    best.Target.y = Ground(engine, best.Target.x, best.Target.z);
    const float maxDistance = viewpoint.MaxDistance > 0 ? viewpoint.MaxDistance : 1000.0f;
    const float farthest = std::min(kFarthest, 0.95f * maxDistance);
    const float nearest = std::min(kNearest, farthest);
    // When nothing stands clear: straight over the target, as near as allowed.
    best.Pitch = glm::radians(80.0f);
    best.Distance = nearest;

    const std::vector<glm::vec3> landmarks = OpeningLandmarks(engine, best.Target);
    glm::vec2 uphill = Uphill(engine, best.Target);
    // A park with no lift yet opens on the mountain it is to be built on: from as far as the
    // zoom limit allows, facing it, with its top on the screen when the limit lets it show.
    const std::optional<glm::vec3> mountain = OpeningMountain(engine, best.Target);
    if (mountain) {
        const glm::vec2 toward(mountain->x - best.Target.x, mountain->z - best.Target.z);
        uphill = glm::length(toward) > 1.0f ? glm::normalize(toward) : uphill;
    }
    float bestScore = -1e30f;
    TSKIOpeningView v = best;
    for (size_t p = 0; p < std::size(kPitches); ++p) {
        v.Pitch = glm::radians(kPitches[p]);
        for (v.Distance = nearest; v.Distance <= farthest + 0.5f; v.Distance += kDistanceStep) {
            for (int k = 0; k < kBearings; ++k) {
                v.Yaw = float(k) * glm::two_pi<float>() / float(kBearings);
                if (!SightClear(engine, v)) continue;
                int shown = 0;
                for (const glm::vec3& l : landmarks) shown += InOpeningFrame(v, aspect, l);
                if (mountain) shown += InOpeningScreen(v, aspect, *mountain);
                // Most landmarks first; then the nearest view, the preferred slant and the
                // camera below the target looking up the mountain, by a few units each. Over a
                // mountain to be built on: the farthest view, and facing it, more.
                const glm::vec2 out(std::cos(v.Yaw), std::sin(v.Yaw));
                const float score = 1000.0f * float(shown) +
                                    (mountain ? std::min(v.Distance, kMountainView) : -v.Distance) -
                                    40.0f * float(p) -
                                    (mountain ? 150.0f : 25.0f) * glm::dot(out, uphill);
                if (score > bestScore) {
                    bestScore = score;
                    best = v;
                }
            }
        }
    }
    return best;
}

}  // namespace vallorn
