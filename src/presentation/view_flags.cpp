#include "presentation/view_flags.h"

#include <algorithm>
#include <cmath>

#include <glm/glm.hpp>

namespace vallorn {
namespace {

constexpr float kTreeSphere = 20.0f;
// How far a tree position lies from its cell's point: the offset drawn at load (x and z
// within 2 units) and half the tallest tree above the ground.
constexpr float kTreeReach = 12.0f;
constexpr int kRecomputeCells = 4;

enum : uint8_t { kUnknown = 0, kAllOut = 1, kAllIn = 2, kMixed = 3 };

glm::vec3 TreeCentre(const TSKIWorld& world, int i, int j) {
    if (i < kGridSize && j < kGridSize) {
        const TSKIVector& p = world.Cell(i, j).TreePosition;
        return {p.x, p.y, p.z};
    }
    // The last row and column carry no tree: their point on the ground next to them.
    const TSKIVector p = world.CellToWorld(i, j, false);
    return {p.x, world.Cell(std::min(i, kGridSize - 1), std::min(j, kGridSize - 1)).Height, p.z};
}

}  // namespace

TSKIMarkerPointSizes MarkerPointSizes(int viewerWidth) {
    TSKIMarkerPointSizes s;
    s.Small = std::max(float(viewerWidth) / 400.0f, 2.0f);
    s.Large = std::max(float(viewerWidth) / 160.0f, 5.0f);
    return s;
}

void TSKIViewFlags::Reset() {
    nearValid_ = false;
    areaI1_ = areaJ1_ = -1;
    chunkState_.assign(size_t(kChunkCount), kUnknown);
    grid_ = nullptr;
}

bool TSKIViewFlags::UpdateNearCamera(TSKIWorld& world, float radius, const glm::vec3& eye,
                                     const glm::vec3& direction) {
    if (!world.HasGrid()) return false;
    if (grid_ != world.Grid.data()) Reset();
    grid_ = world.Grid.data();
    const float above = eye.y - world.GroundHeight(TSKIVector(eye, 1.0f));
    const float r = std::max(radius - above / 5.0f, 0.0f);
    const glm::vec3 focus = eye + direction * (4.0f * r);
    int fi, fj;
    world.WorldToCell(TSKIVector(focus, 1.0f), fi, fj);
    if (nearValid_ && std::abs(fi - focusI_) < kRecomputeCells &&
        std::abs(fj - focusJ_) < kRecomputeCells)
        return false;

    if (nearValid_) {
        for (int i = areaI0_; i <= areaI1_; ++i)
            for (int j = areaJ0_; j <= areaJ1_; ++j) world.Cell(i, j).NearCamera = false;
    } else {
        for (TerrainCell& c : world.Grid) c.NearCamera = false;
    }
    const int reach = int(std::floor(r));
    areaI0_ = std::max(fi - reach, 0);
    areaI1_ = std::min(fi + reach, kGridSize);
    areaJ0_ = std::max(fj - reach, 0);
    areaJ1_ = std::min(fj + reach, kGridSize);
    for (int i = areaI0_; i <= areaI1_; ++i) {
        for (int j = areaJ0_; j <= areaJ1_; ++j) {
            const float di = float(i - fi), dj = float(j - fj);
            if (std::sqrt(di * di + dj * dj) < r) world.Cell(i, j).NearCamera = true;
        }
    }
    focusI_ = fi;
    focusJ_ = fj;
    nearValid_ = true;
    return true;
}

void TSKIViewFlags::UpdateInView(TSKIWorld& world, const std::vector<TSKIChunkBounds>& bounds,
                                 const TSKIFrameView& view) {
    cellsTested_ = 0;
    if (!world.HasGrid() || bounds.size() < size_t(kChunkCount)) return;
    if (grid_ != world.Grid.data()) {
        Reset();
        grid_ = world.Grid.data();
    }
    if (chunkState_.size() != size_t(kChunkCount)) chunkState_.assign(size_t(kChunkCount), 0);

    for (int c = 0; c < kChunkCount; ++c) {
        const TSKIChunkBounds& b = bounds[size_t(c)];
        const glm::vec3 centre = b.Centre();
        const float radius = b.Radius() + kTreeReach + kTreeSphere;
        // The planes the chunk's sphere straddles; none: wholly inside.
        uint8_t straddled = 0;
        bool outside = false;
        for (int p = 0; p < 6; ++p) {
            const glm::vec4& plane = view.Planes[size_t(p)];
            const float d = glm::dot(glm::vec3(plane), centre) + plane.w;
            if (d < -radius) {
                outside = true;
                break;
            }
            if (d < radius) straddled |= uint8_t(1u << p);
        }
        const uint8_t state = outside ? kAllOut : straddled == 0 ? kAllIn : kMixed;
        if (state != kMixed && state == chunkState_[size_t(c)]) continue;
        chunkState_[size_t(c)] = state;

        // Chunk (ci, cj) owns cells ci*32 .. ci*32+31; the last ones also row/column 512.
        const int ci = c / kChunksPerSide, cj = c % kChunksPerSide;
        const int i0 = ci * kChunkCells, j0 = cj * kChunkCells;
        const int i1 = ci == kChunksPerSide - 1 ? kGridSize : i0 + kChunkCells - 1;
        const int j1 = cj == kChunksPerSide - 1 ? kGridSize : j0 + kChunkCells - 1;
        if (state != kMixed) {
            const bool in = state == kAllIn;
            for (int i = i0; i <= i1; ++i)
                for (int j = j0; j <= j1; ++j) world.Cell(i, j).InView = in;
            continue;
        }
        for (int i = i0; i <= i1; ++i) {
            for (int j = j0; j <= j1; ++j) {
                const glm::vec3 t = TreeCentre(world, i, j);
                bool in = true;
                for (int p = 0; p < 6 && in; ++p) {
                    if (!(straddled & (1u << p))) continue;
                    const glm::vec4& plane = view.Planes[size_t(p)];
                    in = glm::dot(glm::vec3(plane), t) + plane.w >= -kTreeSphere;
                }
                world.Cell(i, j).InView = in;
            }
        }
        cellsTested_ += (i1 - i0 + 1) * (j1 - j0 + 1);
    }
}

}  // namespace vallorn
