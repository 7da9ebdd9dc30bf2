// Trees: a flag of the cell; position, size and turn are drawn once at level load.
#include <algorithm>

#include "base/saturating.h"
#include "engine/engine.h"

namespace vallorn {

bool TSKIEngine::PlantTree(int i, int j, int32_t price) {
    if (!HasGrid() || !CellInGrid(i, j)) return false;
    TerrainCell& c = Cell(i, j);
    if (c.Tree || c.Kind != kCellFree || c.UnderLift) return false;
    // The editor paints trees for free: the flag is set before the money is looked at.
    if (EditorOpen) c.Tree = true;
    if (price > 0 && Park.ParkCash < price) return c.Tree;
    if (price > 0) {
        TakeFrom(Park.ParkCash, price);
        AddTo(Park.ParkEcoExpence, price);
    }
    c.Tree = true;
    if (price > 0) CountTreesFelled();
    return true;
}

void TSKIEngine::RemoveTree(int i, int j) {
    if (!HasGrid() || !CellInGrid(i, j)) return;
    Cell(i, j).Tree = false;
}

int32_t TSKIEngine::CountTrees() const {
    int32_t n = 0;
    for (const TerrainCell& c : Grid) n += c.Tree;
    return n;
}

void TSKIEngine::CountTreesFelled() {
    Park.ParkTreesFelled = std::max<int32_t>(0, Level.TreeCount - CountTrees());
}

}  // namespace vallorn
