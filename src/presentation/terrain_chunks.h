// The terrain surface cut into square chunks of 32 x 32 cells, each drawn at a level of detail
// (every 1, 2, 4 or 8 cells) chosen by its distance from the eye, and left out when it lies
// outside the view. A chunk hangs a skirt from its four edges so that two neighbours drawn at
// different steps show no crack between them. Pure CPU work: tested without a display.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include <glm/vec3.hpp>

#include "base/types.h"
#include "entities/world.h"
#include "presentation/frame.h"

namespace vallorn {

constexpr int kChunkCells = 32;
constexpr int kChunksPerSide = kGridSize / kChunkCells;  // 16
constexpr int kChunkCount = kChunksPerSide * kChunksPerSide;
constexpr int kLodCount = 4;             // steps 1, 2, 4, 8 cells
constexpr int kTerrainSide = kGridSide;  // vertices per side: the cell points 0..512

// Heights of the terrain's vertices, the world points of cells 0..512 each way.
struct TSKITerrainHeights {
    std::vector<float> Heights;  // kTerrainSide * kTerrainSide, index i * kTerrainSide + j
    float At(int i, int j) const { return Heights[size_t(i) * kTerrainSide + size_t(j)]; }
    bool Empty() const { return Heights.empty(); }
};

// From the cells' stored heights; the last row and column, which no cell stores, are cast
// against the surface mesh (or repeat their neighbours where the mesh is missed).
TSKITerrainHeights SampleTerrainHeights(const TSKIWorld& world);

struct TSKIChunkBounds {
    glm::vec3 Min{0.0f}, Max{0.0f};
    float SkirtDepth = 1.0f;  // how far the edges hang: the largest edge error of any step
    glm::vec3 Centre() const { return (Min + Max) * 0.5f; }
    float Radius() const;
};

// Chunk (ci, cj) covers the vertices ci*32 .. ci*32+32 by cj*32 .. cj*32+32; index ci*16+cj.
std::vector<TSKIChunkBounds> ComputeChunkBounds(const TSKITerrainHeights& heights);

struct TSKIChunkPick {
    int16_t I = 0, J = 0;
    uint8_t Lod = 0;  // step = 1 << Lod cells
};

// The level of detail for a chunk whose nearest point lies `distance` from the eye, at the
// engine's detail level (0 low, 1 medium, 2 high): full detail close by, coarser farther out.
int ChunkLod(float distance, int detail);

// The chunks to draw for a view, each with its level of detail, nearest first.
void SelectTerrainChunks(const std::vector<TSKIChunkBounds>& bounds, const TSKIFrameView& view,
                         int detail, std::vector<TSKIChunkPick>& picks);

// Every chunk has its own block of vertices for each level of detail, so that a draw shades
// only the vertices it uses. At level `lod` (step s = 1 << lod cells, n = 32 / s + 1 samples a
// side) the block holds the surface samples (a * n + b for the vertex (i0 + a*s, j0 + b*s)),
// then the skirt samples hanging below its edges: edge 0 (i = i0), 1 (i = i0 + 32),
// 2 (j = j0), 3 (j = j0 + 32), n each, k along the edge. The triangles of one level are the
// same list for every chunk.
constexpr int LodSide(int lod) {
    return (kChunkCells >> lod) + 1;
}
constexpr uint32_t LodSurfaceVertices(int lod) {
    return uint32_t(LodSide(lod) * LodSide(lod));
}
constexpr uint32_t LodVertices(int lod) {
    return LodSurfaceVertices(lod) + 4 * uint32_t(LodSide(lod));
}
constexpr uint32_t LodOffset(int lod) {
    return lod == 0 ? 0 : LodOffset(lod - 1) + LodVertices(lod - 1);
}
constexpr uint32_t kChunkVertices = LodOffset(kLodCount);
constexpr uint32_t kTerrainVertexCount = kChunkVertices * kChunkCount;
inline uint32_t LodVertex(int lod, int a, int b) {
    return uint32_t(a * LodSide(lod) + b);
}
inline uint32_t LodSkirtVertex(int lod, int edge, int k) {
    return LodSurfaceVertices(lod) + uint32_t(edge * LodSide(lod) + k);
}
// The grid vertex (i, j) of a chunk's edge vertex k.
void ChunkEdgeVertex(int ci, int cj, int edge, int k, int& i, int& j);

struct TSKIChunkMesh {
    std::vector<uint32_t> Indices;                     // local to the level's block
    std::array<uint32_t, kLodCount> First{}, Count{};  // by level of detail
    // Of each level's indices, the surface's come first (counter-clockwise seen from above),
    // the skirts' after them.
    std::array<uint32_t, kLodCount> Surface{};
};

TSKIChunkMesh BuildChunkIndices();

}  // namespace vallorn
