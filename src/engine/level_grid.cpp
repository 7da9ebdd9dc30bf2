// The grid of a level: the storage of grids let go, each cell's height, tree and steepness
// worked out from the surface mesh, and what is kept of them for the next load of the surface.
#include <algorithm>
#include <cmath>
#include <mutex>
#include <vector>

#include "base/huge_pages.h"
#include "engine/level_grid.h"
#include "engine/overlays.h"

namespace fs = std::filesystem;

namespace vallorn {
namespace {

// The storage of grids let go. At most two are kept (a load and a reload of the same game
// overlap); the pool is never destroyed, so an engine may go after the statics.
struct TSpareGrids {
    std::mutex Lock;
    std::vector<std::vector<TerrainCell>> Grids;
};

TSpareGrids& SpareGrids() {
    static auto* spares = new TSpareGrids;
    return *spares;
}

}  // namespace

void KeepGridStorage(std::vector<TerrainCell>& grid) {
    if (grid.capacity() == size_t(kGridSide) * kGridSide) {
        TSpareGrids& spares = SpareGrids();
        const std::lock_guard lock(spares.Lock);
        if (spares.Grids.size() < 2) {
            spares.Grids.push_back(std::move(grid));
            grid = {};
            return;
        }
    }
    grid.clear();
    grid.shrink_to_fit();
}

void TakeGridStorage(std::vector<TerrainCell>& grid) {
    if (grid.capacity() >= size_t(kGridSide) * kGridSide) return;
    TSpareGrids& spares = SpareGrids();
    const std::lock_guard lock(spares.Lock);
    if (spares.Grids.empty()) return;
    grid = std::move(spares.Grids.back());
    spares.Grids.pop_back();
}

namespace {

// The last steepness worked out, kept with its surface mesh.
struct TSteepnessMemo {
    std::mutex Lock;
    TSKITerrainMesh Surface;  // held, so that no other mesh can share its storage
    std::vector<float> Steepness;
};

TSteepnessMemo& SteepnessMemo() {
    static auto* memo = new TSteepnessMemo;
    return *memo;
}

bool SameSurface(const TSKITerrainMesh& a, const TSKITerrainMesh& b) {
    return !a.Empty() && &a.Vertices() == &b.Vertices();
}

// RebuildSteepness on a grid whose heights are those cast from its surface mesh. The
// steepness depends on the heights alone: the last ones worked out are kept with that mesh,
// and a grid of the same surface drawn with other random numbers (a saved game of the level
// with another seed, the next mission on it) takes them instead of working them out again.
void SteepnessOfLoadedGrid(TSKIEngine& engine) {
    TSteepnessMemo& memo = SteepnessMemo();
    const std::lock_guard lock(memo.Lock);
    const size_t cells = size_t(kGridSize) * kGridSize;
    if (SameSurface(memo.Surface, engine.Surface)) {
        for (int i = 0; i < kGridSize; ++i) {
            TerrainCell* row = &engine.Cell(i, 0);
            const float* from = memo.Steepness.data() + size_t(i) * kGridSize;
            for (int j = 0; j < kGridSize; ++j) row[j].Steepness = from[j];
        }
        engine.Overlays.Touch(TSKIOverlay::Steepness);
        return;
    }
    RebuildSteepness(engine);
    memo.Surface = engine.Surface;
    memo.Steepness.resize(cells);
    for (int i = 0; i < kGridSize; ++i)
        for (int j = 0; j < kGridSize; ++j)
            memo.Steepness[size_t(i) * kGridSize + size_t(j)] = engine.Cell(i, j).Steepness;
}

}  // namespace

namespace {

// The last fresh grid drawn, with its surface and the generator's states around its draws.

struct TFreshGridMemo {
    std::mutex Lock;
    TSKITerrainMesh Surface;  // held, so that no other mesh can share its storage
    TSKIRandom Before, After;
    float MaxHeight = 0;
    bool Kept = false;  // Grid holds the grid of Surface and Before
    // Its storage stays for the next grid kept, so that keeping one takes no memory anew.
    std::vector<TerrainCell> Grid;
};

TFreshGridMemo& FreshGridMemo() {
    static auto* memo = new TFreshGridMemo;
    return *memo;
}

// Every cell is made in one pass over the grid: the cells past the last row and column stay
// as made.
std::string DrawFreshGrid(TSKIEngine& engine, const fs::path& surfaceFile) {
    const size_t cells = size_t(kGridSide) * kGridSide;
    if (engine.Grid.size() != cells) engine.Grid.assign(cells, TerrainCell{});
    engine.Level.MaxHeight = 0;
    for (int i = 0; i < kGridSide; ++i) {
        TerrainCell* row = &engine.Cell(i, 0);
        for (int j = 0; j < kGridSide; ++j) {
            TerrainCell& c = row[j];
            c = TerrainCell{};
            if (i == kGridSize || j == kGridSize) continue;
            c.Kind = kCellFree;
            c.Height = engine.CellPointHeight(i, j);
            if (!std::isfinite(c.Height)) {
                return "terrain mesh " + surfaceFile.string() + " gives cell " + std::to_string(i) +
                       "," + std::to_string(j) + " a height that is not finite";
            }
            engine.Level.MaxHeight = std::max(engine.Level.MaxHeight, c.Height);
            c.GridI = int16_t(i);
            c.GridJ = int16_t(j);
            c.Crowd = 1;
            TSKIVector t = engine.CellToWorld(i, j, false);
            t.x += float(2.0 * engine.Rng.Uniform() - 2.0);
            t.z += float(2.0 * engine.Rng.Uniform());
            const float width = float(12.0 + 8.0 * engine.Rng.Uniform());
            const float height = float(8.0 + 6.0 * engine.Rng.Uniform());
            c.TreeScale = TSKIVector(width, height, width, 0);
            t.y = engine.TerrainHeight(t) + height / 2;
            c.TreePosition = t;
            c.TreeTurn = float(360.0 * engine.Rng.Uniform());
            c.Variant = uint8_t(engine.Rng.Below(30));
        }
    }
    return {};
}

}  // namespace

std::string FreshGrid(TSKIEngine& engine, const fs::path& surfaceFile) {
    TFreshGridMemo& memo = FreshGridMemo();
    const TSKIRandom before = engine.Rng;
    {
        const std::lock_guard lock(memo.Lock);
        if (memo.Kept && SameSurface(memo.Surface, engine.Surface) && memo.Before == before) {
            engine.Grid = memo.Grid;
            engine.Rng = memo.After;
            engine.Level.MaxHeight = memo.MaxHeight;
            return {};
        }
    }
    if (std::string error = DrawFreshGrid(engine, surfaceFile); !error.empty()) return error;
    SteepnessOfLoadedGrid(engine);
    const std::lock_guard lock(memo.Lock);
    ReserveLarge(memo.Grid, engine.Grid.size());
    memo.Grid = engine.Grid;
    memo.Surface = engine.Surface;
    memo.Before = before;
    memo.After = engine.Rng;
    memo.MaxHeight = engine.Level.MaxHeight;
    memo.Kept = true;
    return {};
}

}  // namespace vallorn
