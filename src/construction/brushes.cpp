// Area tools under the cursor: planting trees (game and editor), the editor's blocked,
// tree, snow and road brushes, and the editor's decorative houses.
#include <algorithm>
#include <cmath>

#include "construction/tool_geometry.h"
#include "engine/overlays.h"

namespace vallorn {

using namespace construction;

namespace {

constexpr double kPlantChance = 0.01;
constexpr int kTreeClearance = 3;  // a tree's 7 x 7 block must be free
constexpr float kHouseSnap = 4.0f;
constexpr int kHouseModels = 10;
constexpr TSKIColor kSnowWhite{255, 255, 255};
constexpr TSKIColor kSnowBlack{0, 0, 0};

// Calls `f(i, j)` for every in-grid cell within floor(radius / 4) cells of the cursor cell
// whose world point lies within the cursor radius.
template <typename F>
void ForBrushCells(TSKIEngine& e, F&& f) {
    const int reach = int(std::floor(e.CursorRadius / kCellSize));
    for (int a = e.CursorI - reach; a <= e.CursorI + reach; ++a) {
        for (int b = e.CursorJ - reach; b <= e.CursorJ + reach; ++b) {
            if (!TSKIEngine::CellInGrid(a, b)) continue;
            const TSKIVector p = e.CellToWorld(a, b, true);
            if (Distance3(p, e.CursorPosition) > e.CursorRadius) continue;
            f(a, b);
        }
    }
}

bool TreeRoom(const TSKIEngine& e, int i, int j) {
    for (int a = i - kTreeClearance; a <= i + kTreeClearance; ++a) {
        for (int b = j - kTreeClearance; b <= j + kTreeClearance; ++b) {
            if (!TSKIEngine::CellInGrid(a, b)) continue;
            const TerrainCell& c = e.Cell(a, b);
            if (KindOf(c) != kCellFree || c.UnderLift) return false;
        }
    }
    return true;
}

void PaintSnowPixel(TSKIEngine& e, int i, int j, TSKIColor colour) {
    TSKIImage& img = e.Overlays[TSKIOverlay::SnowOverlay];
    if (img.Contains(i, j)) img.Set(i, j, colour);
}

}  // namespace

namespace construction {

void UpdateTreeTool(TSKIEngine& e) {
    const int32_t price = e.Game().TreePrice;
    e.ToolText = "Plant trees (Price: " + std::to_string(price) + ",- each)";
    e.ToolTextColor = kToolTextBlue;
    if (e.Park.ParkCash < price) {
        e.ToolText = "Not enough cash!";
        e.ToolTextColor = kToolTextRed;
    }
    if (e.Park.ParkTreesFelled < 1) {
        e.ToolText = "No more trees needed!";
        e.ToolTextColor = kToolTextRed;
    }
}

void PlantTreesAtCursor(TSKIEngine& e) {
    const int32_t price = e.Game().TreePrice;
    ForBrushCells(e, [&](int i, int j) {
        if (e.Rng.Uniform() >= kPlantChance) return;
        if (!TreeRoom(e, i, j)) return;
        e.PlantTree(i, j, price);  // charges each tree; refuses when cash runs short
    });
}

void UpdateEditorBrush(TSKIEngine& e) {
    bool snowChanged = false;
    ForBrushCells(e, [&](int i, int j) {
        TerrainCell& c = e.Cell(i, j);
        switch (e.ConstructionTool) {
            case 5:
                c.Blocked = true;
                break;
            case 6:
                c.Blocked = false;
                if (c.Kind == kCellRoad) c.Kind = kCellFree;
                break;
            case 8:
                e.RemoveTree(i, j);
                break;
            case 9:
                c.NaturalSnow = true;
                PaintSnowPixel(e, i, j, kSnowWhite);
                snowChanged = true;
                break;
            case 10:
                c.NaturalSnow = false;
                PaintSnowPixel(e, i, j, kSnowBlack);
                snowChanged = true;
                break;
            case 14:
                c.Blocked = false;
                c.UnderLift = true;
                c.Kind = kCellRoad;
                c.Tree = false;
                break;
            default:
                break;
        }
    });
    if (snowChanged) e.Overlays.Touch(TSKIOverlay::SnowOverlay);
}

void UpdateHouseTool(TSKIEngine& e) {
    e.CursorRadius = 10;
    e.ToolTextColor = kToolTextBlue;
    if (e.ConstructionTool == 16) {
        e.ToolText = "Build house " + std::to_string(e.HouseIndex);
        return;
    }
    e.ToolText = "No house";
    e.HouseToDelete = -1;
    for (size_t k = 0; k < e.Houses.size(); ++k) {
        const TSKIVector& p = e.Houses[k].Position;
        if (std::hypot(p.x - e.CursorPosition.x, p.z - e.CursorPosition.z) < kHouseSnap)
            e.HouseToDelete = int32_t(k);  // the last one in list order wins
    }
    if (e.HouseToDelete >= 0) {
        const TSKIVector& p = e.Houses[size_t(e.HouseToDelete)].Position;
        e.CursorPosition.x = p.x;
        e.CursorPosition.z = p.z;
        e.CursorPosition.y = e.TerrainHeight(e.CursorPosition);
        e.ToolText = "Delete house " + std::to_string(e.HouseToDelete);
    }
}

void HouseClick(TSKIEngine& e) {
    if (e.ConstructionTool == 17) {
        if (e.HouseToDelete < 0 || size_t(e.HouseToDelete) >= e.Houses.size()) return;
        e.Houses.erase(e.Houses.begin() + e.HouseToDelete);
        e.HouseToDelete = -1;
        RebuildOverlay(e, TSKIOverlay::ObjectImprint);
        return;
    }
    TSKIHouse house;
    house.Tag = e.HouseIndex;
    house.Position = e.CursorPosition;
    const float turn = e.BuildingPreviewTurn * 3.14159265f / 180.0f;
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
    if (e.ChangeHouse) e.HouseIndex = e.Rng.Below(kHouseModels);
}

}  // namespace construction

}  // namespace vallorn
