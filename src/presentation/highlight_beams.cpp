#include "presentation/highlight_beams.h"

#include <algorithm>
#include <cmath>

namespace vallorn {
namespace {

constexpr int kSides = 20;

const char* const kVertex = R"(#version 330 core
layout(location = 0) in vec3 aPosition;
layout(location = 4) in vec4 iPlace;
layout(location = 5) in vec4 iScale;
layout(location = 6) in vec4 iColour;
uniform mat4 uViewProjection;
out vec4 vColour;
out float vHeight;
void main() {
    vColour = iColour;
    vHeight = aPosition.y;
    gl_Position = uViewProjection * vec4(iPlace.xyz + aPosition * iScale.xyz, 1.0);
}
)";

// The beam fades out towards its top, so that its end does not cut the sky. A judged beam
// (red for bad through green for good) is also broken into dashes whose gaps grow with its
// red share: a bad beam reads as a broken line without telling red from green. Blue beams
// stay whole.
const char* const kFragment = R"(#version 330 core
in vec4 vColour;
in float vHeight;
out vec4 oColour;
void main() {
    float bad = vColour.b > 0.0 ? 0.0 : vColour.r / max(vColour.r + vColour.g, 0.001);
    if (fract(vHeight * 500.0) < 0.6 * bad) discard;
    oColour = vec4(vColour.rgb, vColour.a * (1.0 - 0.8 * vHeight));
}
)";

}  // namespace

bool TSKIHighlightBeams::Init(std::string* error) {
    std::string log;
    if (!program_.Build(kVertex, kFragment, &log)) {
        if (error) *error = "the highlight beam shader does not build: " + log;
        return false;
    }
    // A unit cylinder, sides only, from height 0 to 1.
    std::vector<gl::TVertex> vertices;
    std::vector<uint32_t> indices;
    for (int k = 0; k <= kSides; ++k) {
        const float a = 6.2831853f * float(k) / kSides;
        for (float y : {0.0f, 1.0f}) {
            gl::TVertex v;
            v.X = std::cos(a);
            v.Y = y;
            v.Z = std::sin(a);
            vertices.push_back(v);
        }
        if (k == kSides) break;
        const uint32_t b = uint32_t(2 * k);
        for (uint32_t i : {b, b + 1, b + 2, b + 1, b + 3, b + 2}) indices.push_back(i);
    }
    cylinder_.Upload(vertices, indices);
    return true;
}

void TSKIHighlightBeams::Draw(const std::vector<TSKIHighlightBeam>& beams,
                              const TSKIFrameView& frame) {
    if (beams.empty() || cylinder_.Empty()) return;
    std::vector<gl::TInstance> instances;
    instances.reserve(beams.size());
    for (const TSKIHighlightBeam& b : beams) {
        gl::TInstance i;
        i.X = b.Base.x;
        i.Y = b.Base.y;
        i.Z = b.Base.z;
        i.SX = i.SZ = std::max(b.Width, 0.5f);
        i.SY = kHighlightBeamHeight;
        i.R = b.R, i.G = b.G, i.B = b.B;
        i.A = uint8_t(kHighlightBeamAlpha * 255);
        instances.push_back(i);
    }
    cylinder_.UploadInstances(instances);
    program_.Use();
    program_.Set("uViewProjection", frame.ViewProjection);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);
    glDisable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    cylinder_.DrawInstanced();
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glUseProgram(0);
}

}  // namespace vallorn
