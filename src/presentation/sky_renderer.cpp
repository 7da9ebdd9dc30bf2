#include "presentation/sky_renderer.h"

#include <glm/matrix.hpp>

namespace vallorn {
namespace {

// One triangle covering the screen at the far plane; the fragment finds its view ray from
// the inverse view-projection and colours it by elevation.
const char* kSkyVertex = R"(#version 330 core
out vec2 vNdc;
void main() {
    vec2 p = vec2((gl_VertexID == 1) ? 3.0 : -1.0, (gl_VertexID == 2) ? 3.0 : -1.0);
    vNdc = p;
    gl_Position = vec4(p, 1.0, 1.0);
}
)";

const char* kSkyFragment = R"(#version 330 core
in vec2 vNdc;
uniform mat4 uInverseViewProjection;
uniform vec3 uEye;
uniform vec3 uZenith;
uniform vec3 uHorizon;
uniform vec3 uFog;
out vec4 fragColor;
void main() {
    vec4 far = uInverseViewProjection * vec4(vNdc, 1.0, 1.0);
    vec3 ray = normalize(far.xyz / far.w - uEye);
    float up = ray.y;
    vec3 c;
    if (up >= 0.0) {
        float t = pow(clamp(up, 0.0, 1.0), 0.45);
        c = mix(uHorizon, uZenith, t);
        // A faint haze band right on the horizon melts into the fog.
        c = mix(c, uFog, exp(-up * 40.0) * 0.6);
    } else {
        c = mix(uFog, uFog * 0.92, clamp(-up * 4.0, 0.0, 1.0));
    }
    fragColor = vec4(c, 1.0);
}
)";

}  // namespace

bool TSkyRenderer::Init(std::string* error) {
    if (!program_.Build(kSkyVertex, kSkyFragment, error)) return false;
    if (!vao_) glGenVertexArrays(1, &vao_);
    return true;
}

void TSkyRenderer::Draw(const TSKIFrameView& frame) {
    program_.Use();
    program_.Set("uInverseViewProjection", glm::inverse(frame.ViewProjection));
    program_.Set("uEye", frame.Eye);
    program_.Set("uZenith", glm::vec3(0.16f, 0.36f, 0.72f));
    program_.Set("uHorizon", glm::vec3(0.62f, 0.76f, 0.92f));
    program_.Set("uFog", glm::vec3(220.0f / 255.0f));
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_FALSE);
    glBindVertexArray(vao_);
    glDrawArrays(GL_TRIANGLES, 0, 3);
    glBindVertexArray(0);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_LESS);
}

}  // namespace vallorn
