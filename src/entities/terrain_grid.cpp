// The world's terrain grid queries: cell <-> world position, ground height and bounds.
#include <algorithm>
#include <cmath>

#include "entities/world.h"

namespace vallorn {
namespace {

constexpr float kMissHeight = 256.0f;

// floor() of a real as an int, safe for any input: NaN gives 0 and huge values saturate.
int FloorToInt(double v) {
    if (!(v == v)) return 0;
    v = std::floor(v);
    if (v < -1e9) return -1000000000;
    if (v > 1e9) return 1000000000;
    return int(v);
}

void UnclampedCell(const TSKIVector& p, int& i, int& j) {
    i = FloorToInt(-double(p.x) / kCellSize + 0.5);
    j = FloorToInt(double(p.z) / kCellSize + 0.5);
}

}  // namespace

TSKIWorld::TSKIWorld(uint64_t seed) : Rng(seed) {}

TSKIWorld::~TSKIWorld() = default;

void TSKIWorld::WorldToCell(const TSKIVector& p, int& i, int& j) {
    UnclampedCell(p, i, j);
    i = std::clamp(i, 0, kGridSize - 1);
    j = std::clamp(j, 0, kGridSize - 1);
}

bool TSKIWorld::PositionInGrid(const TSKIVector& p) const {
    int i, j;
    UnclampedCell(p, i, j);
    return CellInGrid(i, j);
}

TSKIVector TSKIWorld::CellToWorld(int i, int j, bool withHeight) const {
    if (!CellInGrid(i, j)) return TSKIVector(0, 0, 0, 0);
    TSKIVector p(-kCellSize * float(i) - 0.5f, 0.0f, kCellSize * float(j) - 0.5f, 1.0f);
    if (withHeight) p.y = TerrainHeight(p);
    return p;
}

float TSKIWorld::TerrainHeight(const TSKIVector& p) const {
    float y;
    return Surface.CastDown(p.x, p.z, y) ? y : kMissHeight;
}

float TSKIWorld::CellPointHeight(int i, int j) const {
    if (!CellInGrid(i, j)) return 0.0f;
    float y;
    if (i < kGridSize && j < kGridSize) return Surface.CellHeight(i, j, y) ? y : kMissHeight;
    return CellToWorld(i, j, true).y;
}

TerrainCell TSKIWorld::CellAt(const TSKIVector& p) const {
    if (!HasGrid()) return TerrainCell{};
    int i, j;
    WorldToCell(p, i, j);
    return Cell(i, j);
}

bool TSKIWorld::CellInView(const TSKIVector& p) const {
    if (!HasGrid() || !PositionInGrid(p)) return false;
    int i, j;
    WorldToCell(p, i, j);
    return Cell(i, j).InView;
}

void TSKIWorld::SetCellViewFlags(const std::vector<uint8_t>& flags) {
    if (flags.size() != Grid.size()) return;
    for (size_t k = 0; k < Grid.size(); ++k) {
        Grid[k].InView = (flags[k] & kCellInView) != 0;
        Grid[k].NearCamera = (flags[k] & kCellNearCamera) != 0;
    }
}

bool TSKIWorld::CellNearCamera(const TSKIVector& p) const {
    if (!HasGrid()) return false;
    int i, j;
    WorldToCell(p, i, j);
    return Cell(i, j).NearCamera;
}

void TSKIWorld::MapPixel(const TSKIVector& p, int size, int& px, int& pz) {
    if (size <= 0) {
        px = pz = 0;
        return;
    }
    const double extent = double(kGridSize) * kCellSize;  // 2048
    px = std::clamp(FloorToInt(-double(p.x) / size * extent), 0, size);
    pz = std::clamp(FloorToInt(double(p.z) / size * extent), 0, size);
}

float TSKIWorld::GroundHeight(const TSKIVector& p) const {
    if (Grid.empty()) return 0;
    // Cell (i, j) lies at x = -4i - 0.5, z = 4j - 0.5.
    const float fi = std::clamp((-p.x - 0.5f) / kCellSize, 0.0f, float(kGridSize - 1));
    const float fj = std::clamp((p.z + 0.5f) / kCellSize, 0.0f, float(kGridSize - 1));
    const int i = std::min(int(fi), kGridSize - 2);
    const int j = std::min(int(fj), kGridSize - 2);
    const float u = fi - float(i), v = fj - float(j);
    const float h00 = Cell(i, j).Height, h01 = Cell(i, j + 1).Height;
    const float h10 = Cell(i + 1, j).Height, h11 = Cell(i + 1, j + 1).Height;
    return (h00 * (1 - v) + h01 * v) * (1 - u) + (h10 * (1 - v) + h11 * v) * u;
}

}  // namespace vallorn
