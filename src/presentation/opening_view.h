// Where the camera opens on a park: over the saved focus (the resort's entrance or a mission's
// starting point), at a slant and a distance that frame the resort standing around it, looking
// uphill where the ground allows, with the sight line clear of the mountain. Pure maths over the
// world: tested headless.
#pragma once

#include <optional>
#include <vector>

#include <glm/vec3.hpp>

#include "engine/engine.h"

namespace vallorn {

struct TSKIOpeningView {
    glm::vec3 Target{0.0f};
    float Yaw = 0, Pitch = 0;  // radians: the camera stands at (cos yaw, ., sin yaw) of the target
    float Distance = 0;
    glm::vec3 Eye() const;
};

// What an opening view should show: the buildings and the lifts' lower stations within this
// distance of the focus (over the ground plane). The upper stations are left to the slant: up
// the mountain they would push the camera away until the resort is a speck.
constexpr float kOpeningResortRadius = 320.0f;
std::vector<glm::vec3> OpeningLandmarks(const TSKIEngine& engine, const glm::vec3& focus);

// The part of a frame the landmarks are kept in, in normalised device coordinates: clear of
// the screen's edges and of the menu bar at the bottom.
constexpr float kOpeningFrameX = 0.8f, kOpeningFrameTop = 0.8f, kOpeningFrameBottom = -0.4f;

// The mountain of a park with no lift yet: the highest ground within this distance of the
// focus (over the ground plane), when it rises at least this much over the focus.
constexpr float kOpeningMountainRadius = 200.0f;
constexpr float kOpeningMountainRise = 15.0f;
std::optional<glm::vec3> OpeningMountain(const TSKIEngine& engine, const glm::vec3& focus);

// True when the point shows in that part of the frame of a camera at `view` (vertical field of
// view 45 degrees, `aspect` width over height).
bool InOpeningFrame(const TSKIOpeningView& view, float aspect, const glm::vec3& point);

// True when the point shows anywhere on the screen above the menu bar.
bool InOpeningScreen(const TSKIOpeningView& view, float aspect, const glm::vec3& point);

// The view for a saved viewpoint: the target on the focus, the nearest distance (within the
// zoom-out limit) and a slant between 30 and 60 degrees that show the most landmarks, with
// the camera and the line from it to the target above the ground. A park with no lift yet is
// seen from as far as the limit allows (at most 250), facing its mountain, with the mountain's top
// on the screen when the limit lets it show.
TSKIOpeningView ChooseOpeningView(const TSKIEngine& engine, const TSKIViewpoint& viewpoint,
                                  float aspect);

}  // namespace vallorn
