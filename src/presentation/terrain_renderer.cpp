#include "presentation/terrain_renderer.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include <glm/glm.hpp>

#include "presentation/editor_view.h"
#include "presentation/terrain_detail.h"
#include "presentation/terrain_relief.h"

namespace vallorn {
namespace {

// Fog is worked out per vertex: the terrain's vertices lie a few units apart near the eye, and
// a software renderer pays for every instruction per pixel. The ground's light is baked into
// its picture by the relief (terrain_relief.h), which keeps the slopes' shading at every
// level of detail; only walls (the skirt under the map's edge) and the plain grey land of
// add-on maps are lit here, per vertex.
const char* const kVertexShader = R"(#version 330 core
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec3 aNormal;
uniform mat4 uViewProjection;
uniform vec3 uEye;
uniform vec3 uSun;
uniform vec2 uFogRange;
uniform float uFlat;
uniform float uDetailScale;
out vec2 vCell;
out vec2 vDetail;
out float vNear;
out vec2 vImprint;
out float vLight;
out float vFog;
out float vMark;
void main() {
    // Pixel (i, j) of a per-cell image sits on the world point of cell (i, j); the imprint
    // has one pixel per world unit. The land around the map is the map reflected about its
    // edges (x = -0.5 and -2048.5, z = -0.5 and 2047.5), and so is its image. A triangle never
    // crosses an edge, and inside the map the reflection changes nothing.
    vec2 p = aPosition.xz;
    p.x = p.x > -0.5 ? -1.0 - p.x : (p.x < -2048.5 ? -4097.0 - p.x : p.x);
    p.y = p.y < -0.5 ? -1.0 - p.y : (p.y > 2047.5 ? 4095.0 - p.y : p.y);
    vCell = vec2(1.5 - p.x, p.y + 2.5) / 2048.0;
    vImprint = vec2(-aPosition.x, aPosition.z) / 2048.0;
    vec3 n = normalize(aNormal);
    vLight = n.y > 0.5 && uFlat < 0.5 ? 1.2 : 0.74 + 0.34 * max(dot(n, uSun), 0.0);
    float d = distance(aPosition, uEye);
    // The detail's grain near the eye, fading out before its tiles would show as a pattern.
    vDetail = aPosition.xz * uDetailScale;
    vNear = 1.0 - clamp((d - 80.0) / 220.0, 0.0, 1.0);  // 0 from kDetailReach
    vFog = clamp((d - uFogRange.x) / (uFogRange.y - uFogRange.x), 0.0, 1.0);
    // The imprint is for the view from afar: near the eye the models stand in its place.
    vMark = clamp((d - 120.0) / 250.0, 0.0, 1.0) * (1.0 - vFog);
    gl_Position = uViewProjection * vec4(aPosition, 1.0);
}
)";

// The composed "base" (or "baseSide") texture, or a plain colour (uFlat 1), with the grain of
// the detail picture near the eye: snow's where the picture's alpha says snow lies, bare
// ground's elsewhere (terrain_detail.h).
// Built twice: with WITH_DETAIL for the chunks within the grain's reach, without it for the
// rest and the skirt (a software renderer would read the grain on every pixel, shown or not).
// And both again WITH_IMPRINT for the chunks that carry a mark of the object imprint, which
// multiplies the finished colour (white leaves it as it is), fading out close to the eye and
// into the fog: in the same pass, not a second one over the drawn ground.
constexpr float kDetailReach = 300.0f;  // where vNear reaches 0
const char* const kFragmentShader = R"(
in vec2 vCell;
in vec2 vDetail;
in float vNear;
in float vLight;
in float vFog;
uniform sampler2D uBase;
uniform sampler2D uDetail;
uniform float uFlat;
uniform vec3 uFlatColour;
uniform vec3 uFogColour;
#ifdef WITH_IMPRINT
in vec2 vImprint;
in float vMark;
uniform sampler2D uImprint;
#endif
out vec4 oColour;
void main() {
    vec4 base = texture(uBase, vCell);
    vec3 c = mix(base.rgb, uFlatColour, uFlat);
#ifdef WITH_DETAIL
    vec2 grain = texture(uDetail, vDetail).rg - 0.5;
    c *= 1.0 + vNear * mix(0.4 * grain.y, 0.15 * grain.x, base.a);
#endif
    c = mix(c * vLight, uFogColour, vFog);
#ifdef WITH_IMPRINT
    c *= mix(vec3(1.0), texture(uImprint, vImprint).rgb, vMark);
#endif
    oColour = vec4(c, 1.0);
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

// Filters a mipmapped texture along the view's slant where the driver can (up to 4 samples),
// unless the driver draws in software: there every pixel of the ground would pay for the
// extra samples, and the frame rate matters more.
void SetAnisotropy(GLuint texture) {
    const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const std::string name = renderer ? renderer : "";
    for (const char* software : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"})
        if (name.find(software) != std::string::npos) return;
    GLfloat most = 1.0f;
    glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &most);
    if (glGetError() != GL_NO_ERROR || most <= 1.0f) return;  // without the extension
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, std::min(most, 4.0f));
    glBindTexture(GL_TEXTURE_2D, 0);
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
    for (const auto& [program, defines] :
         {std::pair{&program_, "#define WITH_DETAIL 1\n"}, std::pair{&plainProgram_, ""},
          std::pair{&markedProgram_, "#define WITH_DETAIL 1\n#define WITH_IMPRINT 1\n"},
          std::pair{&plainMarkedProgram_, "#define WITH_IMPRINT 1\n"}}) {
        const std::string fragment = std::string("#version 330 core\n") + defines + kFragmentShader;
        if (!program->Build(kVertexShader, fragment.c_str(), &log)) {
            if (error) *error = "the terrain shader does not build: " + log;
            return false;
        }
    }
    if (!textures_.Init(error)) return false;
    detail_.Upload(DetailPicture(), true, true);
    // One mipmap level a read (the grain's levels differ little): half the reads of blending two.
    glBindTexture(GL_TEXTURE_2D, detail_.Id());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    glBindTexture(GL_TEXTURE_2D, 0);
    SetAnisotropy(detail_.Id());
    for (gl::TProgram* p : {&program_, &plainProgram_, &markedProgram_, &plainMarkedProgram_}) {
        p->Use();
        p->Set("uBase", 0);
        p->Set("uDetail", 1);
        p->Set("uImprint", 2);
    }
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
    engine_ = &engine;
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
    textures_.SetRelief(ReliefImage(heights, kReliefLight));
    auto vertexAt = [&](int i, int j) {
        const glm::vec3 p = CellPoint(i, j, heights.At(i, j));
        const glm::vec3 n = TerrainNormal(heights, i, j);
        return TTerrainVertex{p.x, p.y, p.z, n.x, n.y, n.z};
    };
    for (int c = 0; c < kChunkCount; ++c) {
        const int ci = c / kChunksPerSide, cj = c % kChunksPerSide;
        for (int lod = 0; lod < kLodCount; ++lod) {
            const int step = 1 << lod, side = LodSide(lod);
            TTerrainVertex* block = &vertices[size_t(c) * kChunkVertices + LodOffset(lod)];
            for (int a = 0; a < side; ++a)
                for (int b = 0; b < side; ++b)
                    block[LodVertex(lod, a, b)] =
                        vertexAt(ci * kChunkCells + a * step, cj * kChunkCells + b * step);
            for (int edge = 0; edge < 4; ++edge) {
                for (int k = 0; k < side; ++k) {
                    int i, j;
                    ChunkEdgeVertex(ci, cj, edge, k * step, i, j);
                    TTerrainVertex v = vertexAt(i, j);
                    v.Y -= bounds_[size_t(c)].SkirtDepth;
                    block[LodSkirtVertex(lod, edge, k)] = v;
                }
            }
        }
    }
    glBindBuffer(GL_ARRAY_BUFFER, vbo_);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices.size() * sizeof(TTerrainVertex)),
                 vertices.data(), GL_STATIC_DRAW);

    // The map's skirt: its own mesh, the wall under the edge and the land around the map. The
    // loader welds the land's edge to the wall's top, so the two keep their normals apart: the
    // land lit as ground, the wall as a wall (level normals).
    const std::vector<glm::vec3>& sv = engine.Skirt.Vertices();
    const std::vector<uint32_t>& si = engine.Skirt.Indices();
    std::vector<TTerrainVertex> skirt(sv.size());
    std::vector<glm::vec3> ground(sv.size(), glm::vec3(0.0f)), wall(sv.size(), glm::vec3(0.0f));
    std::vector<uint32_t> indices;
    indices.reserve(si.size());
    for (size_t t = 0; t + 2 < si.size(); t += 3) {
        if (si[t] >= sv.size() || si[t + 1] >= sv.size() || si[t + 2] >= sv.size()) continue;
        const glm::vec3 n = glm::cross(sv[si[t + 1]] - sv[si[t]], sv[si[t + 2]] - sv[si[t]]);
        const bool upward = std::abs(n.y) > 1e-3f * glm::length(n);
        for (int k = 0; k < 3; ++k) {
            (upward ? ground : wall)[si[t + size_t(k)]] += n;
            indices.push_back(si[t + size_t(k)]);
        }
    }
    for (size_t v = 0; v < sv.size(); ++v) {
        glm::vec3 n = ground[v];
        if (n == glm::vec3(0.0f)) n = glm::vec3(wall[v].x, 0.0f, wall[v].z);
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

void TSKITerrainRenderer::Draw(const TSKIEngine& engine, uint8_t layers, const TSKIToolState& tools,
                               const TSKIFrameView& frame, double seconds,
                               TSKITerrainStats& stats) {
    stats = {};
    if (!vao_) return;
    // A level loaded without telling the view.
    if (&engine != engine_ || engine.Grid.data() != grid_ || engine.Level.LevelName != levelName_)
        LevelChanged(engine);
    if (!hasLevel_) return;

    stats.BytesUploaded = textures_.Update(engine, layers, tools, seconds);
    stats.RowsComposed = textures_.RowsComposed();
    SelectTerrainChunks(bounds_, frame, engine.Options.Detail, picks_);

    for (gl::TProgram* p : {&program_, &plainProgram_, &markedProgram_, &plainMarkedProgram_}) {
        p->Use();
        p->Set("uViewProjection", frame.ViewProjection);
        p->Set("uEye", frame.Eye);
        p->Set("uSun", kSunDirection);
        glUniform2f(p->Location("uFogRange"), kFogStart, kFogEnd);
        p->Set("uDetailScale", 1.0f / kDetailTileUnits);
        p->Set("uFogColour", glm::vec3(kFogRed, kFogGreen, kFogBlue));
        p->Set("uFlat", 0.0f);
    }
    eye_ = frame.Eye;
    const bool imprint = (SurfaceLayers(layers, tools.Tool) & kLayerImprint) != 0;
    if (imprint) {
        glActiveTexture(GL_TEXTURE2);
        glBindTexture(GL_TEXTURE_2D, textures_.Imprint());
    }
    detail_.Bind(1);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, textures_.Base());
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glDepthMask(GL_TRUE);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    glBindVertexArray(vao_);
    marks_ = imprint ? &textures_.ImprintChunks() : nullptr;
    if (marks_) {
        markedProgram_.Use();
        DrawChunks(true, true, stats);
    }
    program_.Use();
    DrawChunks(true, false, stats);
    if (marks_) {
        plainMarkedProgram_.Use();
        DrawChunks(false, true, stats);
    }
    plainProgram_.Use();
    DrawChunks(false, false, stats);
    stats.ChunksDrawn = int(picks_.size());
    DrawSkirt(engine, layers, tools, stats);
    glBindVertexArray(0);
    glUseProgram(0);
}

void TSKITerrainRenderer::DrawChunks(bool near, bool marked, TSKITerrainStats& stats) {
    counts_.clear();
    offsets_.clear();
    bases_.clear();
    pickIndex_.clear();
    for (const TSKIChunkPick& p : picks_) {
        const int chunk = p.I * kChunksPerSide + p.J;
        const bool hasMark =
            marks_ && size_t(chunk) < marks_->size() && (*marks_)[size_t(chunk)] != 0;
        if (hasMark != marked) continue;
        const TSKIChunkBounds& b = bounds_[size_t(chunk)];
        if ((glm::length(eye_ - glm::clamp(eye_, b.Min, b.Max)) < kDetailReach) != near) continue;
        counts_.push_back(GLsizei(mesh_.Count[p.Lod]));
        offsets_.push_back(reinterpret_cast<const void*>(size_t(mesh_.First[p.Lod]) * 4));
        bases_.push_back(GLint(uint32_t(chunk) * kChunkVertices + LodOffset(p.Lod)));
        pickIndex_.push_back(size_t(&p - picks_.data()));
        stats.Triangles += int(mesh_.Count[p.Lod] / 3);
    }
    if (counts_.empty()) return;
    // The surfaces first, without the slopes that face away from the eye: the ground is a
    // height field seen from above, and whatever of it faces away lies behind ground that
    // faces the eye. Then the skirts, which fill the cracks seen from either side.
    const size_t n = counts_.size();
    for (size_t k = 0; k < n; ++k) {
        const TSKIChunkPick& p = picks_[pickIndex_[k]];
        counts_[k] = GLsizei(mesh_.Surface[p.Lod]);
    }
    glEnable(GL_CULL_FACE);
    glMultiDrawElementsBaseVertex(GL_TRIANGLES, counts_.data(), GL_UNSIGNED_INT, offsets_.data(),
                                  GLsizei(n), bases_.data());
    glDisable(GL_CULL_FACE);
    for (size_t k = 0; k < n; ++k) {
        const TSKIChunkPick& p = picks_[pickIndex_[k]];
        counts_[k] = GLsizei(mesh_.Count[p.Lod] - mesh_.Surface[p.Lod]);
        offsets_[k] =
            reinterpret_cast<const void*>(size_t(mesh_.First[p.Lod] + mesh_.Surface[p.Lod]) * 4);
    }
    glMultiDrawElementsBaseVertex(GL_TRIANGLES, counts_.data(), GL_UNSIGNED_INT, offsets_.data(),
                                  GLsizei(n), bases_.data());
    stats.DrawCalls += 2;
}

void TSKITerrainRenderer::DrawSkirt(const TSKIEngine& engine, uint8_t shown,
                                    const TSKIToolState& tools, TSKITerrainStats& stats) {
    if (!skirtCount_ || !DistantSceneryShown(engine)) return;
    const bool addon = engine.Level.FromAddons;
    // "Long visibility" shows or hides the landscape around the map, except on add-on maps.
    if (!addon && (shown & kDisplayLongVisibility) == 0) return;
    const int layers = SideLayers(engine.Options.Detail, addon, shown, tools.Tool);
    // "baseSide" at medium and high detail, "base" at low, plain grey on add-on maps.
    plainProgram_.Set("uFlat", (layers & kLayerFlat) ? 1.0f : 0.0f);
    plainProgram_.Set("uFlatColour", glm::vec3(0.25f));
    if (layers == 0) glBindTexture(GL_TEXTURE_2D, textures_.Side());
    glBindVertexArray(skirtVao_);
    glDrawElements(GL_TRIANGLES, skirtCount_, GL_UNSIGNED_INT, nullptr);
    ++stats.DrawCalls;
    stats.Triangles += int(skirtCount_ / 3);
}

}  // namespace vallorn
