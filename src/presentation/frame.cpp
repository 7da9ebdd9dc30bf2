#include "presentation/frame.h"

#include <glm/glm.hpp>

namespace vallorn {

void TSKIFrameView::Finish() {
    ViewProjection = Projection * View;
    const glm::mat4 m = glm::transpose(ViewProjection);  // rows of the matrix as columns
    Planes[0] = m[3] + m[0];                             // left
    Planes[1] = m[3] - m[0];                             // right
    Planes[2] = m[3] + m[1];                             // bottom
    Planes[3] = m[3] - m[1];                             // top
    Planes[4] = m[3] + m[2];                             // near
    Planes[5] = m[3] - m[2];                             // far
    for (glm::vec4& p : Planes) {
        const float length = glm::length(glm::vec3(p));
        if (length > 0) p /= length;
    }
}

bool TSKIFrameView::SphereVisible(const glm::vec3& centre, float radius) const {
    for (const glm::vec4& p : Planes)
        if (glm::dot(glm::vec3(p), centre) + p.w < -radius) return false;
    return true;
}

}  // namespace vallorn
