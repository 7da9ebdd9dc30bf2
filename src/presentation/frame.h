// What one frame of the view looks through: the matrices, the eye, the viewport, the frustum
// planes and what the interface will cover, with the tests the culling and the in-view flags
// use.
#pragma once

#include <array>
#include <vector>

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

namespace vallorn {

// A rectangle of the framebuffer in pixels, from its top-left corner, that something opaque
// drawn after the view (a window) will cover.
struct TSKICoverRect {
    int X = 0, Y = 0, Width = 0, Height = 0;
    bool operator==(const TSKICoverRect&) const = default;
};

struct TSKIFrameView {
    glm::mat4 View{1.0f};
    glm::mat4 Projection{1.0f};
    glm::mat4 ViewProjection{1.0f};
    glm::vec3 Eye{0.0f};
    glm::vec3 Direction{0, 0, 1};  // unit, where the camera looks
    int Width = 1, Height = 1;     // viewport in pixels
    float Near = 1.0f, Far = 4000.0f;
    std::array<glm::vec4, 6>
        Planes{};  // inward normals: a point p is inside when dot(n, p) + w >= 0
    std::vector<TSKICoverRect> Covered;  // in the viewport's pixels

    // Fills ViewProjection and the planes from View and Projection.
    void Finish();
    // False only when the sphere lies entirely outside one plane.
    bool SphereVisible(const glm::vec3& centre, float radius) const;
    // True when the box, wholly in front of the eye, shows only inside one covered rectangle.
    bool BoxCovered(const glm::vec3& low, const glm::vec3& high) const;
    // In the frustum and not wholly under a window: worth drawing.
    bool SphereShown(const glm::vec3& centre, float radius) const {
        return SphereVisible(centre, radius) &&
               !BoxCovered(centre - glm::vec3(radius), centre + glm::vec3(radius));
    }
};

}  // namespace vallorn
