#include "presentation/scene_rules.h"

#include <algorithm>
#include <cmath>

#include "base/overlays.h"
#include "base/types.h"
#include "entities/skier.h"

namespace vallorn {

TBackToFront BackToFront(float directionX, float directionZ, int first, int last) {
    TBackToFront order;
    order.Count = std::max(0, last - first + 1);
    // Looking toward +x the far rows are those of small i; toward +z the far columns have
    // large j.
    order.IStep = directionX > 0 ? 1 : -1;
    order.IFirst = order.IStep > 0 ? first : last;
    order.JStep = directionZ > 0 ? -1 : 1;
    order.JFirst = order.JStep > 0 ? first : last;
    return order;
}

float TreeSway(uint8_t frame) {
    return 1.0f + 0.025f * std::sin(6.2831853f * float(frame % kTreeFrames) / float(kTreeFrames));
}

bool EyeInTree(const glm::vec3& eye, const glm::vec3& centre, const glm::vec3& scale) {
    constexpr float kMargin = 1.5f;  // beyond the near plane, so no cut branch fills the view
    const float dx = eye.x - centre.x, dz = eye.z - centre.z;
    const float reach = 0.5f * std::max(scale.x, scale.z) + kMargin;
    return dx * dx + dz * dz < reach * reach &&
           std::fabs(eye.y - centre.y) < 0.5f * scale.y + kMargin;
}

float StationClearing(float lineDistance) {
    // The widest station (a cabin lift's hall) reaches lines + 2.5 m sideways and lines + 4 m
    // along its axis; its corner lies within 1.3 (lines + 4) of the point.
    return 1.3f * (std::max(lineDistance, 0.5f) + 4.0f);
}

bool TreeInStationClearing(const glm::vec3& station, float clearing, const glm::vec3& centre,
                           const glm::vec3& scale) {
    // The crown's outer branches are thin: the inner 0.8 of its width counts.
    const float reach = clearing + 0.4f * std::max(scale.x, scale.z);
    const float dx = centre.x - station.x, dz = centre.z - station.z;
    return dx * dx + dz * dz < reach * reach;
}

bool TreeHidesTarget(const glm::vec3& eye, const glm::vec3& target, const glm::vec3& centre,
                     const glm::vec3& scale) {
    // The part of the segment eye + s (target - eye), s in 0..1, within the crown's radius
    // over the ground plane: the roots of |e + s d - c|^2 = r^2.
    const float radius = 0.5f * std::max(scale.x, scale.z);
    const float ex = eye.x - centre.x, ez = eye.z - centre.z;
    const float dx = target.x - eye.x, dz = target.z - eye.z;
    const float a = dx * dx + dz * dz, b = ex * dx + ez * dz,
                c = ex * ex + ez * ez - radius * radius;
    float s0 = 0, s1 = 1;
    if (a < 1e-6f) {
        if (c > 0) return false;  // a line straight down, beside the crown
    } else {
        const float q = b * b - a * c;
        if (q < 0) return false;
        const float root = std::sqrt(q);
        s0 = std::max(0.0f, (-b - root) / a);
        s1 = std::min(1.0f, (-b + root) / a);
        if (s0 > s1) return false;
    }
    // Along that part the line's height, which is linear, meets the crown's height range.
    const float y0 = eye.y + s0 * (target.y - eye.y), y1 = eye.y + s1 * (target.y - eye.y);
    const float bottom = centre.y - 0.5f * scale.y, top = centre.y + 0.5f * scale.y;
    return std::max(y0, y1) >= bottom && std::min(y0, y1) <= top;
}

bool MirroredForestShown(int detail, bool addonMap, uint8_t displayFlags) {
    const uint8_t needed = kDisplayTrees | kDisplayLongVisibility;
    return detail >= 2 && !addonMap && (displayFlags & needed) == needed;
}

glm::vec3 MirroredTreePosition(const glm::vec3& position, int ti, int tj) {
    // The edges' world points: grid index 0 and kGridSize along each axis.
    constexpr float kNearEdge = -0.5f, kFarX = -kCellSize * kGridSize - 0.5f;
    constexpr float kFarZ = kCellSize * kGridSize - 0.5f;
    glm::vec3 p = position;
    if (ti != 0) p.x = 2.0f * (ti < 0 ? kNearEdge : kFarX) - p.x;
    if (tj != 0) p.z = 2.0f * (tj < 0 ? kNearEdge : kFarZ) - p.z;
    return p;
}

TDotSizes DotSizes(int viewerWidth) {
    TDotSizes sizes;
    sizes.Crowd = std::max(2.0f, float(viewerWidth) / 400.0f);
    sizes.Overlay = std::max(5.0f, float(viewerWidth) / 160.0f);
    return sizes;
}

TSkierLook SkierLook(uint8_t state, uint8_t animation, uint8_t modelVariant) {
    static constexpr TShapeColor kJackets[12] = {{214, 48, 49},   {9, 132, 227},  {253, 203, 110},
                                                 {0, 184, 148},   {232, 67, 147}, {108, 92, 231},
                                                 {225, 112, 85},  {45, 52, 54},   {0, 206, 201},
                                                 {250, 177, 160}, {85, 239, 196}, {162, 155, 254}};
    TSkierLook look;
    const unsigned v = modelVariant % kCharacterTemplates;
    look.Kind = TSkierKind(v % kSkierKinds);
    look.Jacket = kJackets[(v * 5u) % 12u];
    look.Jacket.A = 255;
    if (state == kSkierInjured || animation == kAnimInjured) {
        look.Pose = TSkierPose::Lying;
    } else if (animation == kAnimSeated) {
        look.Pose = TSkierPose::Seated;
    } else if (animation == kAnimSkiingFast || animation == kAnimSkiingSlow) {
        look.Pose = TSkierPose::Skiing;
    } else {
        look.Pose = TSkierPose::Standing;
    }
    return look;
}

int FigurePose(TSkierPose pose, float speed) {
    switch (pose) {
        case TSkierPose::Seated:
            return 1;
        case TSkierPose::Skiing:
            return 2;
        case TSkierPose::Lying:
            return 4;
        default:
            return speed > 0.1f ? 3 : 0;
    }
}

}  // namespace vallorn
