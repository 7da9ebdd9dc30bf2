#include "presentation/editor_view.h"

#include <utility>
#include <vector>

#include <glm/glm.hpp>

namespace vallorn {

glm::vec3 FocusMarkerCentre(const TSKIWorld& world, const glm::vec3& target) {
    float ground = target.y;
    if (world.HasGrid()) ground = world.GroundHeight(TSKIVector(target.x, 0, target.z, 1));
    return {target.x, ground + 0.5f * kFocusMarkerSize, target.z};
}

void TSKIFocusMarker::Init() {
    // A cube of edge kFocusMarkerSize, each face a shade of one yellow so that its edges read
    // against snow as well as grass.
    const float h = 0.5f * kFocusMarkerSize;
    struct TFace {
        glm::vec3 Normal, U, V;
        float Shade;
    };
    const TFace faces[] = {
        {{0, 1, 0}, {1, 0, 0}, {0, 0, 1}, 1.0f}, {{0, -1, 0}, {0, 0, 1}, {1, 0, 0}, 0.45f},
        {{1, 0, 0}, {0, 0, 1}, {0, 1, 0}, 0.8f}, {{-1, 0, 0}, {0, 1, 0}, {0, 0, 1}, 0.6f},
        {{0, 0, 1}, {0, 1, 0}, {1, 0, 0}, 0.7f}, {{0, 0, -1}, {1, 0, 0}, {0, 1, 0}, 0.55f}};
    std::vector<gl::TVertex> vertices;
    std::vector<uint32_t> indices;
    for (const TFace& f : faces) {
        const auto base = uint32_t(vertices.size());
        for (const auto& [a, b] : {std::pair{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}) {
            const glm::vec3 p = h * (f.Normal + float(a) * f.U + float(b) * f.V);
            gl::TVertex v;
            v.X = p.x, v.Y = p.y, v.Z = p.z;
            v.NX = f.Normal.x, v.NY = f.Normal.y, v.NZ = f.Normal.z;
            v.R = uint8_t(255 * f.Shade), v.G = uint8_t(200 * f.Shade), v.B = uint8_t(30 * f.Shade);
            vertices.push_back(v);
        }
        for (uint32_t k : {0u, 1u, 2u, 0u, 2u, 3u}) indices.push_back(base + k);
    }
    cube_.Upload(vertices, indices);
}

void TSKIFocusMarker::Draw(TSKIMarkerProgram& program, const TSKIWorld& world,
                           const glm::vec3& target, const TSKIFrameView& frame) {
    const glm::vec3 centre = FocusMarkerCentre(world, target);
    gl::TInstance i;
    i.X = centre.x, i.Y = centre.y, i.Z = centre.z;
    i.Yaw = glm::radians(90.0f);  // turned a quarter about the vertical, as the target is
    program.Draw(cube_, {i}, frame);
}

}  // namespace vallorn
