#include "presentation/camera.h"

#include <algorithm>
#include <cmath>

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include "base/park_data.h"
#include "presentation/opening_view.h"

namespace vallorn {
namespace {

constexpr float kMinDistance = 30.0f;
constexpr float kGroundClearance = 10.0f;
constexpr float kClearanceLift = 0.1f;
constexpr float kTravelSpeed = 300.0f;
constexpr float kRideTravelSpeed = 100.0f;
constexpr float kStartHorizontal = 50.0f;  // the camera's first offset from the target
constexpr float kMinPitch = glm::radians(-20.0f);
constexpr float kMaxPitch = glm::radians(88.0f);
constexpr float kNear = 1.0f;
constexpr float kFar = 4000.0f;

float Ground(const TSKIEngine& engine, float x, float z, float fallback) {
    return engine.HasGrid() ? engine.GroundHeight(TSKIVector(x, 0, z, 1)) : fallback;
}

bool AddonMap(const TSKIEngine& engine) {
    return engine.Level.FromAddons || engine.Park.ParkMissionIndex == kMissionAddon;
}

}  // namespace

TSKICamera::TSKICamera() : target_(-256.0f, 256.0f, 256.0f) {
    // The target is turned a quarter about the vertical axis: the camera stands 50 units
    // along +X of it and looks along -X, into the map.
    yaw_ = 0;
    pitch_ = 0;
    distance_ = kStartHorizontal;
}

glm::vec3 TSKICamera::Offset() const {
    const float h = distance_ * std::cos(pitch_);
    return {h * std::cos(yaw_), distance_ * std::sin(pitch_), h * std::sin(yaw_)};
}

void TSKICamera::SetOffset(const glm::vec3& offset) {
    distance_ = std::max(glm::length(offset), 0.01f);
    const float h = std::sqrt(offset.x * offset.x + offset.z * offset.z);
    if (h > 1e-4f) yaw_ = std::atan2(offset.z, offset.x);
    pitch_ = std::atan2(offset.y, h);
}

void TSKICamera::Chase(const glm::vec3& eye, const glm::vec3& target) {
    target_ = target;
    SetOffset(eye - target);
}

void TSKICamera::Resize(int width, int height) {
    width_ = std::max(width, 1);
    height_ = std::max(height, 1);
    edgeMargin_ = std::max(float(width_) / 45.0f, 5.0f);
}

// Moves the target on the ground plane: `along` units forward, `across` to the right.
void TSKICamera::Move(const glm::vec3& forward, const glm::vec3& right, float along, float across) {
    target_ += forward * along + right * across;
}

void TSKICamera::Update(const TSKIEngine& engine, const TSKICameraInput& input, float dt) {
    const TSKIEngineOptions& options = engine.Options;
    const glm::vec3 offset = Offset();
    const float horizontal = std::sqrt(offset.x * offset.x + offset.z * offset.z);
    // Forward is away from the camera on the ground plane.
    glm::vec3 forward(-std::cos(yaw_), 0, -std::sin(yaw_));
    const glm::vec3 right(-forward.z, 0, forward.x);
    // Moves are faster when looking down steeply.
    const float steep = std::fabs(Direction().y) + 1.0f;
    const float k = steep * dt;

    // Drag pan: the ground follows the pointer, by the same distance a pixel at any frame rate.
    float dragX = input.DragX, dragY = input.DragY;
    if ((input.LeftButton || input.Shift) && !input.MenuOpen && !input.PlacingBuilding) {
        const float s = distance_ * steep * kDragFrameSeconds * options.MousePanSpeed;
        Move(forward, right, -dragY * s, dragX * s);
        dragX = dragY = 0;
    }

    // Keys, by the camera's horizontal offset a second; a key move ends a travel.
    const float keyStep = horizontal * k;
    const float along = float(input.Forward) - float(input.Back);
    const float across = float(input.Right) - float(input.Left);
    if (input.Forward || input.Back || input.Left || input.Right) {
        Move(forward, right, along * keyStep, across * keyStep);
        travelMode_ = 0;
    }

    // Screen edges, in full screen only, at half the key speed.
    if (options.EdgeScroll && options.FullScreen && input.MouseX >= 0 && input.MouseY >= 0) {
        float ea = 0, ec = 0;
        if (input.MouseY < edgeMargin_) ea += 1;
        if (input.MouseY > float(height_) - edgeMargin_) ea -= 1;
        if (input.MouseX < edgeMargin_) ec -= 1;
        if (input.MouseX > float(width_) - edgeMargin_) ec += 1;
        Move(forward, right, ea * keyStep * 0.5f, ec * keyStep * 0.5f);
    }

    // Travel glides on the ground plane; a jump lands at once.
    if (travelMode_ == 2) {
        target_.x = travelTo_.x;
        target_.z = travelTo_.z;
        travelMode_ = 0;
        arrived_ = travelRestore_;
    } else if (travelMode_ == 1) {
        const float step =
            (travelRestore_ == TSKITool::FreeRide ? kRideTravelSpeed : kTravelSpeed) * dt;
        const glm::vec2 d(travelTo_.x - target_.x, travelTo_.z - target_.z);
        if (std::fabs(d.x) < step && std::fabs(d.y) < step) {
            target_.x = travelTo_.x;
            target_.z = travelTo_.z;
            travelMode_ = 0;
            arrived_ = travelRestore_;
        } else {
            const glm::vec2 move = glm::normalize(d) * step;
            target_.x += move.x;
            target_.z += move.y;
        }
    }

    // The target never leaves the map.
    const float world = engine.HasGrid() ? engine.Level.WorldSize : kGridSize * kCellSize;
    target_.x = std::clamp(target_.x, -world, 0.0f);
    target_.z = std::clamp(target_.z, 0.0f, world);

    // Orbit: horizontal drag turns, vertical drag tilts, by the same angle a pixel at any
    // frame rate.
    if (input.MiddleButton || input.Ctrl) {
        const float turn = glm::radians(kDragFrameSeconds * options.MouseRotSpeed);
        yaw_ += dragX * turn;
        pitch_ = std::clamp(pitch_ - dragY * turn, kMinPitch, kMaxPitch);
    }

    // Zoom: the wheel's factor, or a push back inside the limits.
    if (distance_ < kMinDistance) zoomFactor_ = 1.0f + dt;
    if (distance_ > maxDistance_) zoomFactor_ = 1.0f - dt;
    distance_ *= zoomFactor_;
    zoomFactor_ = 1.0f;

    // The target sits on the terrain; the camera keeps clear of the ground under it.
    target_.y = Ground(engine, target_.x, target_.z, target_.y);
    const glm::vec3 camera = target_ + Offset();
    const float floor = Ground(engine, camera.x, camera.z, camera.y) + kGroundClearance;
    if (camera.y < floor)
        SetOffset(glm::vec3(camera.x, floor + kClearanceLift, camera.z) - target_);
}

void TSKICamera::MouseWheel(float delta, const TSKIEngineOptions& options) {
    const float divisor = 200.0f * options.MouseZoomSpeed * options.InvertMouseZoom;
    if (divisor == 0.0f) return;
    // The wheel turned forward brings the camera closer.
    zoomFactor_ = std::pow(1.3f, -delta / divisor);
}

void TSKICamera::TravelTo(const glm::vec3& point, bool jump, TSKITool restore) {
    travelTo_ = point;
    travelMode_ = jump ? 2 : 1;
    travelRestore_ = restore;
}

bool TSKICamera::Travelling() const {
    return travelMode_ != 0;
}

std::optional<TSKITool> TSKICamera::TakeArrivedTool() {
    std::optional<TSKITool> tool = arrived_;
    arrived_.reset();
    return tool;
}

TSKIViewpoint TSKICamera::Viewpoint() const {
    TSKIViewpoint v;
    v.FocusX = target_.x;
    v.FocusZ = target_.z;
    v.Height = Position().y;
    v.MaxDistance = maxDistance_;
    return v;
}

void TSKICamera::SetViewpoint(const TSKIEngine& engine, const TSKIViewpoint& viewpoint) {
    const float world = engine.HasGrid() ? engine.Level.WorldSize : kGridSize * kCellSize;
    target_.x = std::clamp(viewpoint.FocusX, -world, 0.0f);
    target_.z = std::clamp(viewpoint.FocusZ, 0.0f, world);
    target_.y = Ground(engine, target_.x, target_.z, target_.y);
    maxDistance_ = viewpoint.MaxDistance > 0 ? viewpoint.MaxDistance : 1000.0f;
    travelMode_ = 0;
    arrived_ = TSKITool::None;
    zoomFactor_ = 1.0f;
    const TSKIOpeningView view =
        ChooseOpeningView(engine, viewpoint, float(width_) / float(height_));
    target_ = view.Target;
    yaw_ = view.Yaw;
    pitch_ = view.Pitch;
    distance_ = view.Distance;
}

glm::vec3 TSKICamera::Target() const {
    return target_;
}
glm::vec3 TSKICamera::Position() const {
    return target_ + Offset();
}
glm::vec3 TSKICamera::Direction() const {
    return -glm::normalize(Offset());
}
float TSKICamera::Distance() const {
    return distance_;
}

float TSKICamera::PitchDegrees() const {
    return glm::degrees(pitch_);
}
float TSKICamera::MaxDistance() const {
    return maxDistance_;
}
float TSKICamera::EdgeMargin() const {
    return edgeMargin_;
}

bool TSKICamera::EdgeMarkersVisible(const TSKIEngine& engine, int cursorI, int cursorJ) const {
    if (AddonMap(engine)) return false;
    const int last = kGridSize - 4;  // 508: indices from 509 are within 4 cells of the edge
    if (cursorI < 4 || cursorI > last || cursorJ < 4 || cursorJ > last) return true;
    const float world = engine.HasGrid() ? engine.Level.WorldSize : kGridSize * kCellSize;
    return target_.x > -16.0f || target_.x < -(world - 16.0f) || target_.z < 16.0f ||
           target_.z > world - 16.0f;
}

TSKIFrameView TSKICamera::FrameView(float fovYDegrees) const {
    TSKIFrameView f;
    f.Eye = Position();
    f.Direction = Direction();
    f.Width = width_;
    f.Height = height_;
    f.Near = kNear;
    f.Far = kFar;
    f.View = glm::lookAt(f.Eye, target_, glm::vec3(0, 1, 0));
    f.Projection =
        glm::perspective(glm::radians(fovYDegrees), float(width_) / float(height_), kNear, kFar);
    f.Finish();
    return f;
}

void TSKICamera::MouseRay(float x, float y, glm::vec3& origin, glm::vec3& direction) const {
    const TSKIFrameView f = FrameView();
    const glm::vec4 viewport(0, 0, float(width_), float(height_));
    const float wy = float(height_) - y;
    const glm::vec3 nearPoint =
        glm::unProject(glm::vec3(x, wy, 0.0f), f.View, f.Projection, viewport);
    const glm::vec3 farPoint =
        glm::unProject(glm::vec3(x, wy, 1.0f), f.View, f.Projection, viewport);
    origin = nearPoint;
    direction = glm::normalize(farPoint - nearPoint);
}

}  // namespace vallorn
