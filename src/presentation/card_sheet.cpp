#include "presentation/card_sheet.h"

#include <cmath>
#include <cstddef>

#include "presentation/terrain_renderer.h"

namespace vallorn {
namespace {

const char* const kCardVertex = R"(#version 330 core
layout(location = 0) in vec3 aPos;
layout(location = 1) in vec2 aUV;
layout(location = 2) in vec4 aColor;
uniform mat4 uViewProjection;
uniform vec3 uEye;
uniform vec2 uFogRange;
out vec3 vColor;
out vec2 vUV;
out float vFog;
void main() {
    vColor = aColor.rgb;
    vUV = aUV;
    float d = distance(aPos, uEye);
    vFog = clamp((d - uFogRange.x) / max(uFogRange.y - uFogRange.x, 1.0), 0.0, 1.0);
    gl_Position = uViewProjection * vec4(aPos, 1.0);
}
)";

const char* const kCardFragment = R"(#version 330 core
in vec3 vColor;
in vec2 vUV;
in float vFog;
uniform sampler2D uTexture;
uniform vec3 uFog;
out vec4 fragColor;
void main() {
    // The card's triangle reaches beyond its picture: nothing is drawn there.
    if (vUV.x < 0.0 || vUV.x > 1.0 || vUV.y < 0.0) discard;
    vec4 t = texture(uTexture, vUV);
    if (t.a < 0.5) discard;
    fragColor = vec4(mix(vColor * t.rgb, uFog, vFog), t.a);
}
)";

}  // namespace

void AppendFacingCard(const std::vector<gl::TVertex>& shape, const gl::TInstance& card,
                      const glm::vec3& eye, std::vector<TCardVertex>& out) {
    // The turn whose +z points at the eye: cos = dz / length, sin = dx / length.
    const float dx = eye.x - card.X, dz = eye.z - card.Z;
    const float length = std::sqrt(dx * dx + dz * dz);
    const float c = length > 0 ? dz / length : 1.0f, s = length > 0 ? dx / length : 0.0f;
    for (const gl::TVertex& v : shape) {
        const float x = v.X * card.SX, y = v.Y * card.SY, z = v.Z * card.SZ;
        TCardVertex w;
        w.X = c * x + s * z + card.X;
        w.Y = y + card.Y;
        w.Z = -s * x + c * z + card.Z;
        w.U = v.U;
        w.V = v.V;
        // A painted vertex (alpha 0) takes the card's colour, as in the model shader.
        const bool painted = v.A < 128;
        w.R = painted ? card.R : v.R;
        w.G = painted ? card.G : v.G;
        w.B = painted ? card.B : v.B;
        out.push_back(w);
    }
}

TCardSheet::~TCardSheet() {
    if (ibo_) glDeleteBuffers(1, &ibo_);
    if (vbo_) glDeleteBuffers(1, &vbo_);
    if (vao_) glDeleteVertexArrays(1, &vao_);
}

bool TCardSheet::Init(std::string* log) {
    if (!program_.Build(kCardVertex, kCardFragment, log)) return false;
    program_.Use();
    program_.Set("uTexture", 0);
    glUseProgram(0);
    glGenVertexArrays(1, &vao_);
    glGenBuffers(1, &vbo_);
    glGenBuffers(1, &ibo_);
    glBindVertexArray(vao_);
    glBindBuffer(GL_ARRAY_BUFFER, vbo_);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ibo_);
    const auto stride = GLsizei(sizeof(TCardVertex));
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(TCardVertex, X));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(TCardVertex, U));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride, (void*)offsetof(TCardVertex, R));
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return true;
}

void TCardSheet::SetShape(const std::vector<gl::TVertex>& vertices,
                          const std::vector<uint32_t>& indices) {
    shape_ = vertices;
    shapeIndices_ = indices;
    indexedCards_ = 0;
}

int TCardSheet::Draw(const std::vector<gl::TInstance>& cards, const gl::TTexture& texture,
                     const TSKIFrameView& frame) {
    if (cards.empty() || shape_.empty() || shapeIndices_.empty() || !vao_) return 0;
    glBindVertexArray(vao_);
    if (cards.size() > indexedCards_) {
        // The same triangles for every card, offset by its vertices: written once for as many
        // cards as the view has shown at most (doubling).
        size_t n = indexedCards_ ? indexedCards_ : 1024;
        while (n < cards.size()) n *= 2;
        std::vector<uint32_t> indices;
        indices.reserve(n * shapeIndices_.size());
        for (size_t k = 0; k < n; ++k)
            for (uint32_t i : shapeIndices_) indices.push_back(uint32_t(k * shape_.size()) + i);
        glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indices.size() * sizeof(uint32_t)),
                     indices.data(), GL_STATIC_DRAW);
        indexedCards_ = n;
    }
    vertices_.clear();
    vertices_.reserve(cards.size() * shape_.size());
    for (const gl::TInstance& card : cards) AppendFacingCard(shape_, card, frame.Eye, vertices_);
    glBindBuffer(GL_ARRAY_BUFFER, vbo_);
    // Orphan the old storage so the driver need not wait for the previous frame.
    const auto bytes = GLsizeiptr(vertices_.size() * sizeof(TCardVertex));
    glBufferData(GL_ARRAY_BUFFER, bytes, nullptr, GL_STREAM_DRAW);
    glBufferSubData(GL_ARRAY_BUFFER, 0, bytes, vertices_.data());
    program_.Use();
    program_.Set("uViewProjection", frame.ViewProjection);
    program_.Set("uEye", frame.Eye);
    glUniform2f(program_.Location("uFogRange"), kFogStart, kFogEnd);
    program_.Set("uFog", glm::vec3(kFogRed, kFogGreen, kFogBlue));
    texture.Bind(0);
    glDrawElements(GL_TRIANGLES, GLsizei(cards.size() * shapeIndices_.size()), GL_UNSIGNED_INT,
                   nullptr);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return 1;
}

}  // namespace vallorn
