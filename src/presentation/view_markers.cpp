#include "presentation/view_markers.h"

#include <algorithm>
#include <cmath>

#include <glm/glm.hpp>

namespace vallorn {
namespace {

constexpr float kInset = 24.0f;  // how far inside the edge an arrow's centre lies
constexpr float kLift = 1.5f;    // above the highest ground under it

const char* const kVertex = R"(#version 330 core
layout(location = 0) in vec3 aPosition;
layout(location = 3) in vec4 aColour;
layout(location = 4) in vec4 iPlace;  // position, turn about the vertical
layout(location = 6) in vec4 iColour;
uniform mat4 uViewProjection;
out vec4 vColour;
void main() {
    float c = cos(iPlace.w), s = sin(iPlace.w);
    vec3 p = vec3(aPosition.x * c + aPosition.z * s, aPosition.y, -aPosition.x * s + aPosition.z * c);
    vColour = aColour * iColour;
    gl_Position = uViewProjection * vec4(iPlace.xyz + p, 1.0);
}
)";

const char* const kFragment = R"(#version 330 core
in vec4 vColour;
out vec4 oColour;
void main() { oColour = vColour; }
)";

}  // namespace

std::array<TSKIEdgeArrow, 4> EdgeArrows(const TSKIWorld& world, const glm::vec3& target) {
    const float size = world.HasGrid() ? world.Level.WorldSize : kGridSize * kCellSize;
    const float x = std::clamp(target.x, -size + kInset, -kInset);
    const float z = std::clamp(target.z, kInset, size - kInset);
    std::array<TSKIEdgeArrow, 4> arrows{{
        {{-kInset, 0, z}, {1, 0, 0}},
        {{-size + kInset, 0, z}, {-1, 0, 0}},
        {{x, 0, kInset}, {0, 0, -1}},
        {{x, 0, size - kInset}, {0, 0, 1}},
    }};
    for (TSKIEdgeArrow& a : arrows) {
        float top = -1e9f;
        for (float dx : {-12.0f, 0.0f, 12.0f})
            for (float dz : {-12.0f, 0.0f, 12.0f})
                top = std::max(top, world.GroundHeight(
                                        TSKIVector(a.Position.x + dx, 0, a.Position.z + dz, 1)));
        a.Position.y = top + kLift;
    }
    return arrows;
}

bool TSKIMarkerProgram::Init(std::string* error) {
    std::string log;
    if (program_.Build(kVertex, kFragment, &log)) return true;
    if (error) *error = "the marker shader does not build: " + log;
    return false;
}

void TSKIMarkerProgram::Draw(gl::TMesh& mesh, const std::vector<gl::TInstance>& instances,
                             const TSKIFrameView& frame) {
    if (mesh.Empty() || instances.empty()) return;
    mesh.UploadInstances(instances);
    program_.Use();
    program_.Set("uViewProjection", frame.ViewProjection);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    mesh.DrawInstanced();
    glUseProgram(0);
}

void TSKIEdgeMarkers::Init() {
    // A flat arrow pointing along +X: a shaft and a head.
    auto v = [](float x, float z) {
        gl::TVertex t;
        t.X = x;
        t.Z = z;
        t.R = 230, t.G = 60, t.B = 20;
        return t;
    };
    const std::vector<gl::TVertex> vertices = {v(-12, -3), v(2, -3), v(2, 3), v(-12, 3),
                                               v(2, -9),   v(14, 0), v(2, 9)};
    const std::vector<uint32_t> indices = {0, 1, 2, 0, 2, 3, 4, 5, 6};
    arrow_.Upload(vertices, indices);
}

void TSKIEdgeMarkers::Draw(TSKIMarkerProgram& program, const TSKIWorld& world,
                           const glm::vec3& target, const TSKIFrameView& frame) {
    std::vector<gl::TInstance> instances;
    for (const TSKIEdgeArrow& a : EdgeArrows(world, target)) {
        gl::TInstance i;
        i.X = a.Position.x;
        i.Y = a.Position.y;
        i.Z = a.Position.z;
        i.Yaw = std::atan2(-a.Outward.z, a.Outward.x);  // turns +X onto the outward way
        instances.push_back(i);
    }
    program.Draw(arrow_, instances, frame);
}

}  // namespace vallorn
