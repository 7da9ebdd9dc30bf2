// The player's camera: one orbiting camera that looks at a view target sliding over the
// terrain. Keys, mouse drags and the screen edges move the target, the middle button or Ctrl
// orbits, the wheel zooms; windows send the target to a place. Pure maths over the world's
// terrain heights: no OpenGL here, so the rules are tested headless.
#pragma once

#include <optional>

#include <glm/vec3.hpp>

#include "base/params.h"
#include "construction/tool_state.h"
#include "engine/engine.h"
#include "presentation/frame.h"

namespace vallorn {

// A drag moves and turns the view by the pixel, whatever the frame rate: a pixel does what
// the speeds of the options make of one frame this long.
constexpr float kDragFrameSeconds = 1.0f / 60.0f;

// What the window read from the mouse and keyboard this frame.
struct TSKICameraInput {
    // Previous minus current pointer position, in pixels; the window fills them only while
    // Ctrl, Shift, the middle or the left button is held.
    float DragX = 0, DragY = 0;
    bool LeftButton = false, MiddleButton = false, Ctrl = false, Shift = false;
    bool Forward = false, Back = false, Left = false, Right = false;  // W/Up S/Down A/Left D/Right
    float MouseX = -1, MouseY = -1;  // pointer in viewer pixels; negative when outside
    bool MenuOpen = false;           // the right-click menu is shown
    bool PlacingBuilding = false;    // the building tool is active
};

class TSKICamera {
public:
    TSKICamera();

    // The viewer's size in pixels; recomputes the edge-scroll margin.
    void Resize(int width, int height);
    // Moves the target and the camera for one frame (keys, drag, edges, travel, clamp, orbit,
    // ground clearance, zoom limits); skipped by the caller during free ride and races.
    void Update(const TSKIEngine& engine, const TSKICameraInput& input, float dt);
    // Zoom factor from a wheel delta (120 per notch, positive for the wheel turned forward,
    // which zooms in unless the options invert the wheel); applied by the next Update.
    void MouseWheel(float delta, const TSKIEngineOptions& options);
    float ZoomFactor() const { return zoomFactor_; }
    // Sends the target to a point, gliding (jump false) or at once; `restore` is the tool
    // handed back on arrival (TakeArrivedTool).
    void TravelTo(const glm::vec3& point, bool jump, TSKITool restore);
    bool Travelling() const;
    // Looks from `eye` at `target` (the avatar's chase camera; no rule of Update applies).
    void Chase(const glm::vec3& eye, const glm::vec3& target);
    // The tool to restore when a travel ended during the last Update, once.
    std::optional<TSKITool> TakeArrivedTool();

    // The record a saved game carries (focus, height, zoom-out limit), and setting it back:
    // the target jumps to the focus (the tool to restore is none) and the camera takes the
    // opening view of the park around it (opening_view.h), within the zoom-out limit.
    TSKIViewpoint Viewpoint() const;
    void SetViewpoint(const TSKIEngine& engine, const TSKIViewpoint& viewpoint);

    glm::vec3 Target() const;
    glm::vec3 Position() const;
    glm::vec3 Direction() const;  // unit, from the camera to the target
    float Distance() const;
    float PitchDegrees()
        const;  // the camera's height angle over its target: 90 looks straight down
    float MaxDistance() const;
    float EdgeMargin() const;
    // The four edge arrows are shown (cursor or target near a map edge, never on add-on maps).
    bool EdgeMarkersVisible(const TSKIEngine& engine, int cursorI, int cursorJ) const;

    // The frame's matrices for a vertical field of view in degrees.
    TSKIFrameView FrameView(float fovYDegrees = 45.0f) const;
    // The world ray under a viewer pixel.
    void MouseRay(float x, float y, glm::vec3& origin, glm::vec3& direction) const;

private:
    glm::vec3 Offset() const;  // camera minus target
    void SetOffset(const glm::vec3& offset);
    void Move(const glm::vec3& forward, const glm::vec3& right, float along, float across);

    glm::vec3 target_;
    float yaw_ = 0, pitch_ = 0, distance_ = 50;
    float zoomFactor_ = 1.0f;
    float maxDistance_ = 1000.0f;
    int width_ = 1024, height_ = 768;
    float edgeMargin_ = 22.0f;
    int travelMode_ = 0;  // 0 none, 1 travel, 2 jump
    glm::vec3 travelTo_{0.0f};
    TSKITool travelRestore_ = TSKITool::None;
    std::optional<TSKITool> arrived_;
};

}  // namespace vallorn
