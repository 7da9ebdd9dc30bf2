#include "presentation/terrain_chunks.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <glm/glm.hpp>

namespace vallorn {
namespace {

// Distances (at medium detail) up to which a chunk keeps steps 1, 2 and 4.
constexpr float kLodDistances[kLodCount - 1] = {250.0f, 500.0f, 1000.0f};
constexpr float kDetailScale[3] = {0.6f, 1.0f, 1.5f};

// False when the box lies wholly outside one plane of the view (its corner farthest along
// the plane's normal is outside): tighter than the sphere around it for flat chunks.
bool BoxVisible(const TSKIFrameView& view, const TSKIChunkBounds& b) {
    for (const glm::vec4& p : view.Planes) {
        const glm::vec3 corner(p.x >= 0 ? b.Max.x : b.Min.x, p.y >= 0 ? b.Max.y : b.Min.y,
                               p.z >= 0 ? b.Max.z : b.Min.z);
        if (glm::dot(glm::vec3(p), corner) + p.w < 0) return false;
    }
    return true;
}

float DistanceToBox(const glm::vec3& p, const TSKIChunkBounds& b) {
    const glm::vec3 nearest = glm::clamp(p, b.Min, b.Max);
    return glm::length(p - nearest);
}

}  // namespace

void ChunkEdgeVertex(int ci, int cj, int edge, int k, int& i, int& j) {
    const int i0 = ci * kChunkCells, j0 = cj * kChunkCells;
    switch (edge) {
        case 0:
            i = i0, j = j0 + k;
            break;
        case 1:
            i = i0 + kChunkCells, j = j0 + k;
            break;
        case 2:
            i = i0 + k, j = j0;
            break;
        default:
            i = i0 + k, j = j0 + kChunkCells;
            break;
    }
}

TSKITerrainHeights SampleTerrainHeights(const TSKIWorld& world) {
    TSKITerrainHeights h;
    if (!world.HasGrid()) return h;
    h.Heights.resize(size_t(kTerrainSide) * kTerrainSide);
    for (int i = 0; i < kTerrainSide; ++i) {
        for (int j = 0; j < kTerrainSide; ++j) {
            float y;
            if (i < kGridSize && j < kGridSize) {
                y = world.Cell(i, j).Height;
            } else {
                const TSKIVector p = world.CellToWorld(i, j, false);
                if (!world.Surface.CastDown(p.x, p.z, y))
                    y = world.Cell(std::min(i, kGridSize - 1), std::min(j, kGridSize - 1)).Height;
            }
            h.Heights[size_t(i) * kTerrainSide + size_t(j)] = y;
        }
    }
    return h;
}

float TSKIChunkBounds::Radius() const {
    return glm::length(Max - Min) * 0.5f;
}

std::vector<TSKIChunkBounds> ComputeChunkBounds(const TSKITerrainHeights& heights) {
    std::vector<TSKIChunkBounds> bounds(kChunkCount);
    if (heights.Empty()) return bounds;
    for (int ci = 0; ci < kChunksPerSide; ++ci) {
        for (int cj = 0; cj < kChunksPerSide; ++cj) {
            const int i0 = ci * kChunkCells, j0 = cj * kChunkCells;
            float lo = heights.At(i0, j0), hi = lo;
            for (int i = i0; i <= i0 + kChunkCells; ++i)
                for (int j = j0; j <= j0 + kChunkCells; ++j) {
                    lo = std::min(lo, heights.At(i, j));
                    hi = std::max(hi, heights.At(i, j));
                }
            // The deepest crack an edge can open: a vertex of a finer neighbour against
            // the straight line of the coarsest step.
            float depth = 0;
            const int coarse = 1 << (kLodCount - 1);
            for (int edge = 0; edge < 4; ++edge) {
                for (int k = 0; k <= kChunkCells; ++k) {
                    const int k0 = k / coarse * coarse, k1 = std::min(k0 + coarse, kChunkCells);
                    int i, j, ia, ja, ib, jb;
                    ChunkEdgeVertex(ci, cj, edge, k, i, j);
                    ChunkEdgeVertex(ci, cj, edge, k0, ia, ja);
                    ChunkEdgeVertex(ci, cj, edge, k1, ib, jb);
                    const float t = k1 > k0 ? float(k - k0) / float(k1 - k0) : 0.0f;
                    const float line = heights.At(ia, ja) * (1 - t) + heights.At(ib, jb) * t;
                    depth = std::max(depth, std::fabs(heights.At(i, j) - line));
                }
            }
            TSKIChunkBounds& b = bounds[size_t(ci * kChunksPerSide + cj)];
            b.SkirtDepth = depth + 1.0f;
            // Row i runs along -X, column j along +Z (cell points at -4i - 0.5, 4j - 0.5).
            b.Min = glm::vec3(-kCellSize * float(i0 + kChunkCells) - 0.5f, lo - b.SkirtDepth,
                              kCellSize * float(j0) - 0.5f);
            b.Max = glm::vec3(-kCellSize * float(i0) - 0.5f, hi,
                              kCellSize * float(j0 + kChunkCells) - 0.5f);
        }
    }
    return bounds;
}

int ChunkLod(float distance, int detail) {
    const float scale = kDetailScale[std::clamp(detail, 0, 2)];
    for (int lod = 0; lod < kLodCount - 1; ++lod)
        if (distance < kLodDistances[lod] * scale) return lod;
    return kLodCount - 1;
}

void SelectTerrainChunks(const std::vector<TSKIChunkBounds>& bounds, const TSKIFrameView& view,
                         int detail, std::vector<TSKIChunkPick>& picks) {
    picks.clear();
    std::vector<float> distances;
    for (int c = 0; c < int(bounds.size()) && c < kChunkCount; ++c) {
        const TSKIChunkBounds& b = bounds[size_t(c)];
        if (!BoxVisible(view, b) || view.BoxCovered(b.Min - glm::vec3(0, b.SkirtDepth, 0), b.Max))
            continue;
        const float d = DistanceToBox(view.Eye, b);
        TSKIChunkPick p;
        p.I = int16_t(c / kChunksPerSide);
        p.J = int16_t(c % kChunksPerSide);
        p.Lod = uint8_t(ChunkLod(d, detail));
        picks.push_back(p);
        distances.push_back(d);
    }
    // Nearest first, so that the depth test rejects most hidden terrain early.
    std::vector<size_t> order(picks.size());
    for (size_t k = 0; k < order.size(); ++k) order[k] = k;
    std::sort(order.begin(), order.end(),
              [&](size_t a, size_t b) { return distances[a] < distances[b]; });
    std::vector<TSKIChunkPick> sorted;
    sorted.reserve(picks.size());
    for (size_t k : order) sorted.push_back(picks[k]);
    picks.swap(sorted);
}

TSKIChunkMesh BuildChunkIndices() {
    TSKIChunkMesh m;
    for (int lod = 0; lod < kLodCount; ++lod) {
        const int n = LodSide(lod) - 1;
        m.First[size_t(lod)] = uint32_t(m.Indices.size());
        for (int a = 0; a < n; ++a) {
            for (int b = 0; b < n; ++b) {
                const uint32_t v00 = LodVertex(lod, a, b), v01 = LodVertex(lod, a, b + 1);
                const uint32_t v10 = LodVertex(lod, a + 1, b), v11 = LodVertex(lod, a + 1, b + 1);
                m.Indices.insert(m.Indices.end(), {v00, v10, v01, v10, v11, v01});
            }
        }
        m.Surface[size_t(lod)] = uint32_t(m.Indices.size()) - m.First[size_t(lod)];
        for (int edge = 0; edge < 4; ++edge) {
            for (int k = 0; k < n; ++k) {
                // The samples (a, b) of the edge's k-th and next vertex.
                auto sample = [&](int at) {
                    return edge == 0   ? std::pair{0, at}
                           : edge == 1 ? std::pair{n, at}
                           : edge == 2 ? std::pair{at, 0}
                                       : std::pair{at, n};
                };
                const auto [ia, ja] = sample(k);
                const auto [ib, jb] = sample(k + 1);
                const uint32_t t0 = LodVertex(lod, ia, ja), t1 = LodVertex(lod, ib, jb);
                const uint32_t b0 = LodSkirtVertex(lod, edge, k);
                const uint32_t b1 = LodSkirtVertex(lod, edge, k + 1);
                m.Indices.insert(m.Indices.end(), {t0, b0, t1, b0, b1, t1});
            }
        }
        m.Count[size_t(lod)] = uint32_t(m.Indices.size()) - m.First[size_t(lod)];
    }
    return m;
}

}  // namespace vallorn
