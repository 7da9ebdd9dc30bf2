// What the view finds out about every cell, which the game window hands to the core
// (TSKIWorld::SetCellViewFlags) after each frame: the
// near-camera area around the camera's focus (entities there get their detailed models and
// sounds) and the in-view flag (a sphere of radius 20 around the cell's tree position is not
// wholly outside the view).
#pragma once

#include <cstdint>
#include <vector>

#include <glm/vec3.hpp>

#include "entities/world.h"
#include "presentation/frame.h"
#include "presentation/terrain_chunks.h"

namespace vallorn {

class TSKIViewFlags {
public:
    // A new grid: every flag is computed afresh on the next updates.
    void Reset();

    // The near-camera area: recomputed when the focus cell moved 4 cells or more since the
    // last time (or the first time). `radius` is the detail's near-camera radius in cells.
    // Returns true when the flags were rewritten.
    bool UpdateNearCamera(const TSKIWorld& world, float radius, const glm::vec3& eye,
                          const glm::vec3& direction);
    // The in-view flag of every cell 0..512, tested per block of 8 x 8 cells first: cells
    // are tested one by one only in blocks the view's edge crosses, and blocks whose verdict
    // did not change since the last frame are not written again. `bounds` gives the heights.
    void UpdateInView(const TSKIWorld& world, const std::vector<TSKIChunkBounds>& bounds,
                      const TSKIFrameView& view);

    // Each cell's flags (kCellInView, kCellNearCamera of entities/world.h), by grid index.
    const std::vector<uint8_t>& CellFlags() const { return flags_; }
    bool InView(int i, int j) const { return Flag(i, j, kCellInView); }
    bool NearCamera(int i, int j) const { return Flag(i, j, kCellNearCamera); }
    // Counts the updates that changed a flag: the core needs them again when it moved.
    uint64_t Changes() const { return changes_; }

    int FocusI() const { return focusI_; }
    int FocusJ() const { return focusJ_; }
    int CellsTested() const { return cellsTested_; }  // by the last UpdateInView

private:
    bool Flag(int i, int j, uint8_t flag) const {
        const size_t k = size_t(i) * kGridSide + size_t(j);
        return k < flags_.size() && (flags_[k] & flag) != 0;
    }
    // Whether the flag changed.
    bool Set(int i, int j, uint8_t flag, bool on) {
        uint8_t& f = flags_[size_t(i) * kGridSide + size_t(j)];
        const uint8_t was = f;
        f = on ? uint8_t(f | flag) : uint8_t(f & ~flag);
        return f != was;
    }

    std::vector<uint8_t> flags_;
    uint64_t changes_ = 0;
    bool nearValid_ = false;
    int focusI_ = 0, focusJ_ = 0;
    int areaI0_ = 0, areaI1_ = -1, areaJ0_ = 0, areaJ1_ = -1;  // the cells last set
    std::vector<uint8_t> blockState_;  // 0 unknown, 1 all out, 2 all in, 3 mixed
    const void* grid_ = nullptr;
    int cellsTested_ = 0;
};

}  // namespace vallorn
