#include "presentation/frame.h"

#include <algorithm>

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

bool TSKIFrameView::BoxCovered(const glm::vec3& low, const glm::vec3& high) const {
    if (Covered.empty()) return false;
    float x0 = float(Width), y0 = float(Height), x1 = 0, y1 = 0;
    for (int k = 0; k < 8; ++k) {
        const glm::vec4 corner((k & 1) ? high.x : low.x, (k & 2) ? high.y : low.y,
                               (k & 4) ? high.z : low.z, 1.0f);
        const glm::vec4 clip = ViewProjection * corner;
        if (clip.w < Near) return false;  // at or behind the eye: no bounded picture
        const float x = (clip.x / clip.w * 0.5f + 0.5f) * float(Width);
        const float y = (0.5f - clip.y / clip.w * 0.5f) * float(Height);
        x0 = std::min(x0, x), x1 = std::max(x1, x);
        y0 = std::min(y0, y), y1 = std::max(y1, y);
    }
    for (const TSKICoverRect& r : Covered)
        if (x0 >= float(r.X) && y0 >= float(r.Y) && x1 <= float(r.X + r.Width) &&
            y1 <= float(r.Y + r.Height))
            return true;
    return false;
}

}  // namespace vallorn
