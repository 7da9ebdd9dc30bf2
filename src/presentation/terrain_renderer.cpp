#include "presentation/terrain_renderer.h"

#include <cmath>

#include <glm/glm.hpp>

namespace vallorn {
namespace {

const char* const kVertexShader = R"(#version 330 core
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec3 aNormal;
uniform mat4 uViewProjection;
out vec3 vWorld;
out vec3 vNormal;
void main() {
    vWorld = aPosition;
    vNormal = aNormal;
    gl_Position = uViewProjection * vec4(aPosition, 1.0);
}
)";

// The composed "base" (or "baseSide") texture, the object imprint printed on it, one soft
// sun and the distance fog.
const char* const kFragmentShader = R"(#version 330 core
in vec3 vWorld;
in vec3 vNormal;
uniform sampler2D uBase, uImprint;
uniform int uLayers;
uniform vec3 uFlatColour;
uniform vec3 uEye;
uniform vec3 uSun;
uniform vec3 uFogColour;
uniform vec2 uFogRange;
out vec4 oColour;
void main() {
    // Pixel (i, j) of a per-cell image sits on the world point of cell (i, j).
    vec3 c = texture(uBase, vec2(1.5 - vWorld.x, vWorld.z + 2.5) / 2048.0).rgb;
    if ((uLayers & 4) != 0) c *= texture(uImprint, vec2(-vWorld.x, vWorld.z) / 2048.0).rgb;
    if ((uLayers & 32) != 0) c = uFlatColour;
    float light = 0.74 + 0.34 * max(dot(normalize(vNormal), uSun), 0.0);
    float fog = clamp((distance(vWorld, uEye) - uFogRange.x) / (uFogRange.y - uFogRange.x),
                      0.0, 1.0);
    oColour = vec4(mix(c * light, uFogColour, fog), 1.0);
}
)";

struct TTerrainVertex {
    float X, Y, Z, NX, NY, NZ;
};

void SetupLayout(GLuint vao, GLuint vbo, GLuint ibo) {
    glBindVertexArray(vao);
    glBindBuffer(GL_ARRAY_BUFFER, vbo);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ibo);
    const auto stride = GLsizei(sizeof(TTerrainVertex));
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(3 * sizeof(float)));
    glBindVertexArray(0);
}

glm::vec3 CellPoint(int i, int j, float y) {
    return {-kCellSize * float(i) - 0.5f, y, kCellSize * float(j) - 0.5f};
}

}  // namespace

TSKITerrainRenderer::~TSKITerrainRenderer() {
    const GLuint buffers[4] = {vbo_, ibo_, skirtVbo_, skirtIbo_};
    for (GLuint b : buffers)
        if (b) glDeleteBuffers(1, &b);
    if (vao_) glDeleteVertexArrays(1, &vao_);
    if (skirtVao_) glDeleteVertexArrays(1, &skirtVao_);
}

bool TSKITerrainRenderer::Init(std::string* error) {
    std::string log;
    if (!program_.Build(kVertexShader, kFragmentShader, &log)) {
        if (error) *error = "the terrain shader does not build: " + log;
        return false;
    }
    if (!textures_.Init(error)) return false;
    program_.Use();
    program_.Set("uBase", 0);
    program_.Set("uImprint", 1);
    glUseProgram(0);
    glGenVertexArrays(1, &vao_);
    glGenBuffers(1, &vbo_);
    glGenBuffers(1, &ibo_);
    glGenVertexArrays(1, &skirtVao_);
    glGenBuffers(1, &skirtVbo_);
    glGenBuffers(1, &skirtIbo_);
    SetupLayout(vao_, vbo_, ibo_);
    SetupLayout(skirtVao_, skirtVbo_, skirtIbo_);
    // The index layout is the same for every level.
    mesh_ = BuildChunkIndices();
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ibo_);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(mesh_.Indices.size() * sizeof(uint32_t)),
                 mesh_.Indices.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    mesh_.Indices.clear();
    mesh_.Indices.shrink_to_fit();
    return true;
}

void TSKITerrainRenderer::LevelChanged(const TSKIEngine& engine) {
    textures_.Reset();
    grid_ = engine.Grid.data();
    levelName_ = engine.Level.LevelName;
    hasLevel_ = engine.HasGrid() && vao_ != 0;
    bounds_.clear();
    picks_.clear();
    skirtCount_ = 0;
    if (!hasLevel_) return;

    const TSKITerrainHeights heights = SampleTerrainHeights(engine);
    bounds_ = ComputeChunkBounds(heights);
    std::vector<TTerrainVertex> vertices(kTerrainVertexCount);
    auto normalAt = [&](int i, int j) {
        const int ia = std::max(i - 1, 0), ib = std::min(i + 1, kTerrainSide - 1);
        const int ja = std::max(j - 1, 0), jb = std::min(j + 1, kTerrainSide - 1);
        // x falls as i grows, z grows with j.
        const float dhdx = (heights.At(ia, j) - heights.At(ib, j)) / (kCellSize * float(ib - ia));
        const float dhdz = (heights.At(i, jb) - heights.At(i, ja)) / (kCellSize * float(jb - ja));
        return glm::normalize(glm::vec3(-dhdx, 1.0f, -dhdz));
    };
    auto vertexAt = [&](int i, int j) {
        const glm::vec3 p = CellPoint(i, j, heights.At(i, j));
        const glm::vec3 n = normalAt(i, j);
        return TTerrainVertex{p.x, p.y, p.z, n.x, n.y, n.z};
    };
    for (int c = 0; c < kChunkCount; ++c) {
        const int ci = c / kChunksPerSide, cj = c % kChunksPerSide;
        TTerrainVertex* block = &vertices[size_t(c) * kChunkVertices];
        for (int a = 0; a < kChunkSide; ++a)
            for (int b = 0; b < kChunkSide; ++b)
                block[ChunkVertex(a, b)] = vertexAt(ci * kChunkCells + a, cj * kChunkCells + b);
        for (int edge = 0; edge < 4; ++edge) {
            for (int k = 0; k < kChunkSide; ++k) {
                int i, j;
                ChunkEdgeVertex(ci, cj, edge, k, i, j);
                TTerrainVertex v = vertexAt(i, j);
                v.Y -= bounds_[size_t(c)].SkirtDepth;
                block[SkirtVertex(edge, k)] = v;
            }
        }
    }
    glBindBuffer(GL_ARRAY_BUFFER, vbo_);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices.size() * sizeof(TTerrainVertex)),
                 vertices.data(), GL_STATIC_DRAW);

    // The map's skirt: its own mesh, lit as the wall it is.
    const std::vector<glm::vec3>& sv = engine.Skirt.Vertices();
    const std::vector<uint32_t>& si = engine.Skirt.Indices();
    std::vector<TTerrainVertex> skirt(sv.size());
    std::vector<glm::vec3> normals(sv.size(), glm::vec3(0.0f));
    std::vector<uint32_t> indices;
    indices.reserve(si.size());
    for (size_t t = 0; t + 2 < si.size(); t += 3) {
        if (si[t] >= sv.size() || si[t + 1] >= sv.size() || si[t + 2] >= sv.size()) continue;
        const glm::vec3 n = glm::cross(sv[si[t + 1]] - sv[si[t]], sv[si[t + 2]] - sv[si[t]]);
        for (int k = 0; k < 3; ++k) {
            normals[si[t + size_t(k)]] += n;
            indices.push_back(si[t + size_t(k)]);
        }
    }
    for (size_t v = 0; v < sv.size(); ++v) {
        glm::vec3 n = normals[v];
        n.y = 0;
        const float len = glm::length(n);
        n = len > 0 ? n / len : glm::vec3(0, 1, 0);
        skirt[v] = {sv[v].x, sv[v].y, sv[v].z, n.x, n.y, n.z};
    }
    glBindBuffer(GL_ARRAY_BUFFER, skirtVbo_);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(skirt.size() * sizeof(TTerrainVertex)), skirt.data(),
                 GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, skirtIbo_);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(indices.size() * sizeof(uint32_t)),
                 indices.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    skirtCount_ = GLsizei(indices.size());
}

void TSKITerrainRenderer::Draw(const TSKIEngine& engine, const TSKIToolState& tools,
                               const TSKIFrameView& frame, double seconds,
                               TSKITerrainStats& stats) {
    stats = {};
    if (!vao_) return;
    // A level loaded without telling the view.
    if (engine.Grid.data() != grid_ || engine.Level.LevelName != levelName_) LevelChanged(engine);
    if (!hasLevel_) return;

    stats.BytesUploaded = textures_.Update(engine, tools, seconds);
    stats.RowsComposed = textures_.RowsComposed();
    SelectTerrainChunks(bounds_, frame, engine.Options.Detail, picks_);

    program_.Use();
    program_.Set("uViewProjection", frame.ViewProjection);
    program_.Set("uEye", frame.Eye);
    program_.Set("uSun", glm::normalize(glm::vec3(0.35f, 0.85f, 0.4f)));
    program_.Set("uFogColour", glm::vec3(kFogRed, kFogGreen, kFogBlue));
    glUniform2f(program_.Location("uFogRange"), kFogStart, kFogEnd);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, textures_.Imprint());
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, textures_.Base());
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);

    program_.Set("uLayers", SurfaceLayers(engine.DisplayFlags, tools.Tool));
    counts_.clear();
    offsets_.clear();
    bases_.clear();
    for (const TSKIChunkPick& p : picks_) {
        counts_.push_back(GLsizei(mesh_.Count[p.Lod]));
        offsets_.push_back(reinterpret_cast<const void*>(size_t(mesh_.First[p.Lod]) * 4));
        bases_.push_back(GLint((p.I * kChunksPerSide + p.J) * int(kChunkVertices)));
        stats.Triangles += int(mesh_.Count[p.Lod] / 3);
    }
    if (!counts_.empty()) {
        glBindVertexArray(vao_);
        glMultiDrawElementsBaseVertex(GL_TRIANGLES, counts_.data(), GL_UNSIGNED_INT,
                                      offsets_.data(), GLsizei(counts_.size()), bases_.data());
        ++stats.DrawCalls;
    }
    stats.ChunksDrawn = int(picks_.size());
    DrawSkirt(engine, tools, stats);
    glBindVertexArray(0);
    glUseProgram(0);
}

void TSKITerrainRenderer::DrawSkirt(const TSKIEngine& engine, const TSKIToolState& tools,
                                    TSKITerrainStats& stats) {
    if (!skirtCount_) return;
    const bool addon = engine.Level.FromAddons;
    program_.Set("uLayers",
                 SideLayers(engine.Options.Detail, addon, engine.DisplayFlags, tools.Tool));
    program_.Set("uFlatColour", glm::vec3(0.25f));
    glBindVertexArray(skirtVao_);
    glDrawElements(GL_TRIANGLES, skirtCount_, GL_UNSIGNED_INT, nullptr);
    ++stats.DrawCalls;
    stats.Triangles += int(skirtCount_ / 3);
}

}  // namespace vallorn
