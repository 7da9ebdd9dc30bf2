// Draws the level's ground: the surface in chunks (distance-based detail, frustum culling,
// skirts between chunks) and the map's skirt, both painted by one shader that composes the
// ground pictures and the overlays, lit by the sun through the relief, sharpened near the eye by
// a detail grain, and faded into the distance fog.
#pragma once

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <string>
#include <vector>

#include <glm/vec3.hpp>

#include "construction/tool_state.h"
#include "engine/engine.h"
#include "presentation/frame.h"
#include "presentation/gl.h"
#include "presentation/terrain_chunks.h"
#include "presentation/terrain_texture.h"

namespace vallorn {

struct TSKITerrainStats {
    int ChunksDrawn = 0;
    int Triangles = 0;
    int DrawCalls = 0;
    size_t BytesUploaded = 0;
    int RowsComposed = 0;
};

// The fog of the view: its colour and the distances where it starts and where it is whole.
constexpr float kFogRed = 220.0f / 255.0f, kFogGreen = 220.0f / 255.0f, kFogBlue = 220.0f / 255.0f;
constexpr float kFogStart = 2000.0f, kFogEnd = 4000.0f;
// Toward the one sun that lights the terrain and everything on it (unit length).
constexpr glm::vec3 kSunDirection(0.3491f, 0.8479f, 0.3990f);

class TSKITerrainRenderer {
public:
    TSKITerrainRenderer() = default;
    ~TSKITerrainRenderer();
    TSKITerrainRenderer(const TSKITerrainRenderer&) = delete;
    TSKITerrainRenderer& operator=(const TSKITerrainRenderer&) = delete;

    bool Init(std::string* error);
    // Builds the vertex buffers from the engine's grid and skirt (or empties them).
    void LevelChanged(const TSKIEngine& engine);
    // `seconds` is real time (composition of the park's own overlay changes is paced by it);
    // `layers` are the display layers shown (kDisplay* bits).
    void Draw(const TSKIEngine& engine, uint8_t layers, const TSKIToolState& tools,
              const TSKIFrameView& frame, double seconds, TSKITerrainStats& stats);

    const std::vector<TSKIChunkBounds>& Bounds() const { return bounds_; }

private:
    // The chosen chunks in one draw: those the imprint marks, or those within the detail
    // grain's reach of the eye, or those beyond it.
    // The chunks within the grain's reach (or beyond it) that carry a mark (or none).
    void DrawChunks(bool near, bool marked, TSKITerrainStats& stats);
    void DrawSkirt(const TSKIEngine& engine, uint8_t layers, const TSKIToolState& tools,
                   TSKITerrainStats& stats);

    // With the grain and without, each also with the imprint multiplied in.
    gl::TProgram program_, plainProgram_, markedProgram_, plainMarkedProgram_;
    const std::vector<uint8_t>* marks_ = nullptr;  // the chunks with a mark, when it is shown
    TSKITerrainTextures textures_;
    gl::TTexture detail_;
    GLuint vao_ = 0, vbo_ = 0, ibo_ = 0;
    GLuint skirtVao_ = 0, skirtVbo_ = 0, skirtIbo_ = 0;
    GLsizei skirtCount_ = 0;
    TSKIChunkMesh mesh_;
    std::vector<TSKIChunkBounds> bounds_;
    std::vector<TSKIChunkPick> picks_;
    std::vector<GLsizei> counts_;
    std::vector<const void*> offsets_;
    std::vector<GLint> bases_;
    std::vector<size_t> pickIndex_;  // the pick of each entry of the lists above
    bool hasLevel_ = false;
    const TSKIEngine* engine_ = nullptr;
    glm::vec3 eye_{0.0f};
    const void* grid_ = nullptr;
    std::string levelName_;
};

}  // namespace vallorn
