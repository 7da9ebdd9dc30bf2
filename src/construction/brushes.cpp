// Area tools under the cursor: planting trees (game and editor), the editor's blocked,
// tree, snow and road brushes, and the editor's decorative houses.
#include <algorithm>
#include <cmath>

#include "construction/construction_actions.h"
#include "construction/tool_geometry.h"
#include "engine/overlays.h"

namespace vallorn {

using namespace construction;

namespace {

constexpr double kPlantChance = 0.01;
constexpr int kTreeClearance = 3;  // a tree's 7 x 7 block must be free
constexpr float kHouseSnap = 4.0f;
constexpr int kHouseModels = 10;

// Calls `f(i, j)` for every in-grid cell within floor(radius / 4) cells of the cursor cell
// whose world point lies within the cursor radius.
template <typename F>
void ForBrushCells(TSKIConstruction& c, F&& f) {
    TSKIEngine& e = c.Engine;
    TSKIToolState& t = c.State;
    const int reach = int(std::floor(t.CursorRadius / kCellSize));
    for (int a = t.CursorI - reach; a <= t.CursorI + reach; ++a) {
        for (int b = t.CursorJ - reach; b <= t.CursorJ + reach; ++b) {
            if (!TSKIEngine::CellInGrid(a, b)) continue;
            const TSKIVector p = e.CellToWorld(a, b, true);
            if (Distance3(p, t.CursorPosition) > t.CursorRadius) continue;
            f(a, b);
        }
    }
}

}  // namespace

namespace construction {

bool TreeFits(const TSKIEngine& e, int i, int j) {
    if (!e.HasGrid() || !TSKIEngine::CellInGrid(i, j) || e.Cell(i, j).Tree) return false;
    for (int a = i - kTreeClearance; a <= i + kTreeClearance; ++a) {
        for (int b = j - kTreeClearance; b <= j + kTreeClearance; ++b) {
            if (!TSKIEngine::CellInGrid(a, b)) continue;
            const TerrainCell& c = e.Cell(a, b);
            if (KindOf(c) != kCellFree || c.UnderLift) return false;
        }
    }
    return true;
}

void UpdateTreeTool(TSKIConstruction& c) {
    TSKIEngine& e = c.Engine;
    TSKIToolState& t = c.State;
    const int32_t price = e.Game().TreePrice;
    t.ToolText = "Plant trees (Price: " + std::to_string(price) + ",- each)";
    t.ToolTextColor = kToolTextBlue;
    if (e.Park.ParkCash < price) {
        t.ToolText = "Not enough cash!";
        t.ToolTextColor = kToolTextRed;
    }
    if (e.Park.ParkTreesFelled < 1) {
        t.ToolText = "No more trees needed!";
        t.ToolTextColor = kToolTextRed;
    }
}

void PlantTreesAtCursor(TSKIConstruction& c) {
    TSKIEngine& e = c.Engine;
    ForBrushCells(c, [&](int i, int j) {
        if (e.Rng.Uniform() >= kPlantChance) return;
        // Each tree is charged; refused where none fits or when the cash runs short.
        PerformAction(e, PlantTreeAction(i, j));
    });
}

void UpdateEditorBrush(TSKIConstruction& c) {
    TSKIEngine& e = c.Engine;
    TSKIToolState& t = c.State;
    bool snowChanged = false;
    ForBrushCells(c, [&](int i, int j) {
        TerrainCell& cell = e.Cell(i, j);
        switch (t.Tool) {
            case TSKITool::BlockBrush:
                cell.Blocked = true;
                break;
            case TSKITool::UnblockBrush:
                cell.Blocked = false;
                if (cell.Kind == kCellRoad) cell.Kind = kCellFree;
                break;
            case TSKITool::RemoveTrees:
                e.RemoveTree(i, j);
                break;
            case TSKITool::SnowBrush:
                cell.NaturalSnow = true;
                snowChanged = true;
                break;
            case TSKITool::BareBrush:
                cell.NaturalSnow = false;
                snowChanged = true;
                break;
            case TSKITool::RoadBrush:
                cell.Blocked = false;
                cell.UnderLift = true;
                cell.Kind = kCellRoad;
                cell.Tree = false;
                break;
            default:
                break;
        }
    });
    if (snowChanged) {
        const int reach = int(std::floor(t.CursorRadius / kCellSize));
        e.Overlays.TouchCells(TSKIOverlay::SnowOverlay, t.CursorI - reach, t.CursorI + reach);
        e.Overlays.TouchCells(TSKIOverlay::SnowMask, t.CursorI - reach, t.CursorI + reach);
    }
}

void UpdateHouseTool(TSKIConstruction& c) {
    TSKIEngine& e = c.Engine;
    TSKIToolState& t = c.State;
    t.CursorRadius = 10;
    t.ToolTextColor = kToolTextBlue;
    if (t.Tool == TSKITool::AddHouse) {
        t.ToolText = "Build house " + std::to_string(t.HouseIndex);
        return;
    }
    t.ToolText = "No house";
    t.HouseToDelete = -1;
    for (size_t k = 0; k < e.Houses.size(); ++k) {
        const TSKIVector& p = e.Houses[k].Position;
        if (std::hypot(p.x - t.CursorPosition.x, p.z - t.CursorPosition.z) < kHouseSnap)
            t.HouseToDelete = int32_t(k);  // the last one in list order wins
    }
    if (t.HouseToDelete >= 0) {
        const TSKIVector& p = e.Houses[size_t(t.HouseToDelete)].Position;
        t.CursorPosition.x = p.x;
        t.CursorPosition.z = p.z;
        t.CursorPosition.y = e.TerrainHeight(t.CursorPosition);
        t.ToolText = "Delete house " + std::to_string(t.HouseToDelete);
    }
}

void HouseClick(TSKIConstruction& c) {
    TSKIEngine& e = c.Engine;
    TSKIToolState& t = c.State;
    if (t.Tool == TSKITool::DeleteHouse) {
        if (t.HouseToDelete < 0 || size_t(t.HouseToDelete) >= e.Houses.size()) return;
        e.Houses.erase(e.Houses.begin() + t.HouseToDelete);
        t.HouseToDelete = -1;
        RebuildOverlay(e, TSKIOverlay::ObjectImprint);
        return;
    }
    TSKIHouse house;
    house.Tag = t.HouseIndex;
    house.Position = t.CursorPosition;
    const float turn = t.BuildingPreviewTurn * 3.14159265f / 180.0f;
    house.Direction = TSKIVector(std::sin(turn), 0, std::cos(turn), 0);
    e.Houses.push_back(house);
    int ci, cj;
    TSKIEngine::WorldToCell(house.Position, ci, cj);
    for (int a = ci - 1; a <= ci + 1; ++a) {
        for (int b = cj - 1; b <= cj + 1; ++b) {
            if (TSKIEngine::CellInGrid(a, b) && e.Cell(a, b).Kind == kCellFree)
                e.Cell(a, b).Blocked = true;
        }
    }
    RebuildOverlay(e, TSKIOverlay::Occupancy);
    if (t.ChangeHouse) t.HouseIndex = e.Rng.Below(kHouseModels);
}

}  // namespace construction

}  // namespace vallorn
