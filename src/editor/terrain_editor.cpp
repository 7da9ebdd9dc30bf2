// The editor's bulk terrain work.
#include "editor/terrain_editor.h"

#include <algorithm>
#include <vector>

#include "base/image_io.h"
#include "engine/blocked.h"
#include "engine/overlays.h"

namespace vallorn {
namespace {

// The tree count just made becomes the level's starting count; trees felled follow it.
void TreesAreTheStart(TSKIEngine& engine) {
    engine.Level.TreeCount = engine.CountTrees();
    engine.CountTreesFelled();
    engine.TerrainLookChanged();
}

}  // namespace

void ResetBlocked(TSKIEngine& engine, int grain) {
    if (!engine.HasGrid()) return;
    ComputeBlocked(engine, std::clamp(grain, 0, 18));
    engine.Display().SetLayers(kDisplayBlocked);
    RefreshTerrainView(engine);
}

int FloodBlocked(TSKIEngine& engine, int i, int j, TFloodBlocked what) {
    if (!engine.HasGrid() || !TSKIWorld::CellInGrid(i, j) || i >= kGridSize || j >= kGridSize)
        return 0;
    // The region of cells marked alike by the occupancy (free, taken, a lift's start).
    const std::vector<uint8_t> marks = OccupancyMarks(engine);
    const uint8_t target = marks[size_t(i) * kGridSize + size_t(j)];
    std::vector<uint8_t> seen(size_t(kGridSize) * kGridSize, 0);
    std::vector<uint32_t> stack{uint32_t(i) * kGridSize + uint32_t(j)};
    seen[stack.back()] = 1;
    int filled = 0;
    while (!stack.empty()) {
        const uint32_t at = stack.back();
        stack.pop_back();
        const int a = int(at / kGridSize), b = int(at % kGridSize);
        ++filled;
        if (what != TFloodBlocked::Leave) engine.Cell(a, b).Blocked = what == TFloodBlocked::Block;
        const int next[4][2] = {{a - 1, b}, {a + 1, b}, {a, b - 1}, {a, b + 1}};
        for (const auto& n : next) {
            if (n[0] < 0 || n[1] < 0 || n[0] >= kGridSize || n[1] >= kGridSize) continue;
            const uint32_t k = uint32_t(n[0]) * kGridSize + uint32_t(n[1]);
            if (seen[k] || marks[k] != target) continue;
            seen[k] = 1;
            stack.push_back(k);
        }
    }
    if (what != TFloodBlocked::Leave) RebuildOverlay(engine, TSKIOverlay::Occupancy);
    return filled;
}

int ImportRoad(TSKIEngine& engine, const std::filesystem::path& picture, std::string* error) {
    TGreyImage roads;
    if (!LoadGreyImage(picture, roads, error)) return -1;
    if (!engine.HasGrid()) return 0;
    int made = 0;
    for (int x = 0; x < std::min(roads.Width, kGridSize); ++x) {
        for (int y = 0; y < std::min(roads.Height, kGridSize); ++y) {
            if (roads.At(x, y) <= 0.0f) continue;
            TerrainCell& c = engine.Cell(x, y);
            c.Kind = kCellRoad;
            c.Blocked = false;
            c.UnderLift = true;
            engine.RemoveTree(x, y);
            ++made;
        }
    }
    if (made > 0) {
        // The occupancy shows the roads beside the blocked terrain.
        engine.Overlays.Touch(TSKIOverlay::Occupancy);
        engine.TerrainLookChanged();
    }
    return made;
}

void CutAllTrees(TSKIEngine& engine) {
    if (!engine.HasGrid()) return;
    for (int i = 0; i < kGridSize; ++i)
        for (int j = 0; j < kGridSize; ++j) engine.RemoveTree(i, j);
    engine.TerrainLookChanged();
}

void DeleteAllHouses(TSKIEngine& engine) {
    engine.Houses.clear();
    RebuildObjectImprint(engine);
}

int32_t ReduceTrees(TSKIEngine& engine, int32_t target) {
    if (!engine.HasGrid()) return 0;
    int32_t count = engine.CountTrees();
    if (target >= count) return count;
    // The cells with a tree, emptied in a random order until `target` remain.
    std::vector<uint32_t> trees;
    trees.reserve(size_t(count));
    for (int i = 0; i < kGridSize; ++i)
        for (int j = 0; j < kGridSize; ++j)
            if (engine.Cell(i, j).Tree) trees.push_back(uint32_t(i) * kGridSize + uint32_t(j));
    for (size_t n = trees.size(); count > std::max(target, 0); --n, --count) {
        const size_t k = size_t(engine.Rng.Below(int32_t(n)));
        std::swap(trees[k], trees[n - 1]);
        engine.RemoveTree(int(trees[n - 1] / kGridSize), int(trees[n - 1] % kGridSize));
    }
    TreesAreTheStart(engine);
    return engine.CountTrees();
}

void ForgiveEnviroDamage(TSKIEngine& engine) {
    if (!engine.HasGrid()) return;
    for (int i = 0; i < kGridSize; ++i)
        for (int j = 0; j < kGridSize; ++j)
            if (engine.Cell(i, j).Kind != kCellFree) engine.RemoveTree(i, j);
    TreesAreTheStart(engine);
}

}  // namespace vallorn
