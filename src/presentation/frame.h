// What one frame of the view looks through: the matrices, the eye, the viewport and the
// frustum planes, with the sphere test the culling and the in-view flags use.
#pragma once

#include <array>

#include <glm/mat4x4.hpp>
#include <glm/vec3.hpp>
#include <glm/vec4.hpp>

namespace vallorn {

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

    // Fills ViewProjection and the planes from View and Projection.
    void Finish();
    // False only when the sphere lies entirely outside one plane.
    bool SphereVisible(const glm::vec3& centre, float radius) const;
};

}  // namespace vallorn
