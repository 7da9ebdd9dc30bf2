#include "presentation/view_flags.h"

#include <algorithm>
#include <cmath>

#include <glm/glm.hpp>

namespace vallorn {
namespace {

constexpr float kTreeSphere = 20.0f;
// How far a tree position lies from its cell's point: the offset drawn at load (x and z
// within 2 units) and half the tallest tree (8 + 6 high) above the ground.
constexpr float kTreeOffset = 2.5f;
constexpr float kTreeAbove = 12.0f;  // and the ground a little higher beside the chunk
constexpr int kBlockCells = 8;
constexpr int kBlocks = kGridSize / kBlockCells;  // 64 a side
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

void TSKIViewFlags::Reset() {
    nearValid_ = false;
    areaI1_ = areaJ1_ = -1;
    blockState_.assign(size_t(kBlocks * kBlocks), kUnknown);
    grid_ = nullptr;
    flags_.clear();
}

bool TSKIViewFlags::UpdateNearCamera(const TSKIWorld& world, float radius, const glm::vec3& eye,
                                     const glm::vec3& direction) {
    if (!world.HasGrid()) return false;
    if (grid_ != world.Grid.data()) Reset();
    grid_ = world.Grid.data();
    if (flags_.size() != world.Grid.size()) flags_.assign(world.Grid.size(), 0);
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
            for (int j = areaJ0_; j <= areaJ1_; ++j) Set(i, j, kCellNearCamera, false);
    } else {
        for (uint8_t& f : flags_) f = uint8_t(f & ~kCellNearCamera);
    }
    const int reach = int(std::floor(r));
    areaI0_ = std::max(fi - reach, 0);
    areaI1_ = std::min(fi + reach, kGridSize);
    areaJ0_ = std::max(fj - reach, 0);
    areaJ1_ = std::min(fj + reach, kGridSize);
    for (int i = areaI0_; i <= areaI1_; ++i) {
        for (int j = areaJ0_; j <= areaJ1_; ++j) {
            const float di = float(i - fi), dj = float(j - fj);
            if (std::sqrt(di * di + dj * dj) < r) Set(i, j, kCellNearCamera, true);
        }
    }
    focusI_ = fi;
    focusJ_ = fj;
    nearValid_ = true;
    ++changes_;
    return true;
}

void TSKIViewFlags::UpdateInView(const TSKIWorld& world, const std::vector<TSKIChunkBounds>& bounds,
                                 const TSKIFrameView& view) {
    cellsTested_ = 0;
    if (!world.HasGrid() || bounds.size() < size_t(kChunkCount)) return;
    if (grid_ != world.Grid.data()) {
        Reset();
        grid_ = world.Grid.data();
    }
    if (blockState_.size() != size_t(kBlocks * kBlocks)) blockState_.assign(kBlocks * kBlocks, 0);
    if (flags_.size() != world.Grid.size()) flags_.assign(world.Grid.size(), 0);

    for (int bi = 0; bi < kBlocks; ++bi) {
        for (int bj = 0; bj < kBlocks; ++bj) {
            // Block (bi, bj) owns cells bi*8 .. bi*8+7; the last ones also row/column 512.
            const int i0 = bi * kBlockCells, j0 = bj * kBlockCells;
            const int i1 = bi == kBlocks - 1 ? kGridSize : i0 + kBlockCells - 1;
            const int j1 = bj == kBlocks - 1 ? kGridSize : j0 + kBlockCells - 1;
            // The box every tree position of the block lies in: the cell points, the trees'
            // offsets, the chunk's heights and half the tallest tree above them.
            const TSKIChunkBounds& chunk =
                bounds[size_t((i0 / kChunkCells) * kChunksPerSide +
                              std::min(j0 / kChunkCells, kChunksPerSide - 1))];
            const glm::vec3 lo(-kCellSize * float(i1) - 0.5f - kTreeOffset, chunk.Min.y,
                               kCellSize * float(j0) - 0.5f - kTreeOffset);
            const glm::vec3 hi(-kCellSize * float(i0) - 0.5f + kTreeOffset,
                               chunk.Max.y + kTreeAbove,
                               kCellSize * float(j1) - 0.5f + kTreeOffset);
            // A cell is in view unless its sphere lies wholly outside one plane. The planes
            // some of the block's spheres may lie outside of are tested cell by cell.
            uint8_t straddled = 0;
            bool outside = false;
            for (int p = 0; p < 6 && !outside; ++p) {
                const glm::vec4& plane = view.Planes[size_t(p)];
                const glm::vec3 n(plane);
                const glm::vec3 far(n.x >= 0 ? hi.x : lo.x, n.y >= 0 ? hi.y : lo.y,
                                    n.z >= 0 ? hi.z : lo.z);
                const glm::vec3 near(n.x >= 0 ? lo.x : hi.x, n.y >= 0 ? lo.y : hi.y,
                                     n.z >= 0 ? lo.z : hi.z);
                if (glm::dot(n, far) + plane.w < -kTreeSphere)
                    outside = true;
                else if (glm::dot(n, near) + plane.w < -kTreeSphere)
                    straddled |= uint8_t(1u << p);
            }
            const uint8_t state = outside ? kAllOut : straddled == 0 ? kAllIn : kMixed;
            uint8_t& last = blockState_[size_t(bi * kBlocks + bj)];
            if (state != kMixed && state == last) continue;  // nothing to write
            last = state;
            if (state != kMixed) {
                const bool in = state == kAllIn;
                for (int i = i0; i <= i1; ++i)
                    for (int j = j0; j <= j1; ++j) Set(i, j, kCellInView, in);
                ++changes_;
                continue;
            }
            // A block the view's edge crosses is tested again every frame, but counts as a
            // change only when a cell's flag turned: a still view hands the core nothing new.
            bool changed = false;
            for (int i = i0; i <= i1; ++i) {
                for (int j = j0; j <= j1; ++j) {
                    const glm::vec3 t = TreeCentre(world, i, j);
                    bool in = true;
                    for (int p = 0; p < 6 && in; ++p) {
                        if (!(straddled & (1u << p))) continue;
                        const glm::vec4& plane = view.Planes[size_t(p)];
                        in = glm::dot(glm::vec3(plane), t) + plane.w >= -kTreeSphere;
                    }
                    changed |= Set(i, j, kCellInView, in);
                }
            }
            changes_ += changed ? 1 : 0;
            cellsTested_ += (i1 - i0 + 1) * (j1 - j0 + 1);
        }
    }
}

}  // namespace vallorn
