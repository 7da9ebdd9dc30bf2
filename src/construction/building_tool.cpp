// The building tool: the placement rules of a service building with their texts, the
// charging creation of a building, and setting a snowcat garage's area of operations.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "base/saturating.h"
#include "construction/construction_actions.h"
#include "construction/tool_geometry.h"
#include "engine/arrivals.h"
#include "engine/overlays.h"
#include "engine/player_actions.h"
#include "engine/snow.h"

namespace vallorn {

using namespace construction;

namespace {

constexpr float kSteepLimit = 4.0f;
constexpr int kRoadReachCells = 30;
constexpr float kRoadReach = 30.0f;
constexpr float kAreaReach = 300.0f;

// A felled tree takes a point from the raw rating: half a point of the shown percentage.
constexpr float kRatingPerFelledTree = 0.5f;

TSKIVector PreviewDirection(float degrees) {
    const float a = degrees * 3.14159265f / 180.0f;
    return TSKIVector(std::sin(a), 0, std::cos(a), 0);
}

}  // namespace

int TreesFelledBy(const TSKIEngine& e, const TSKIBuildingRecord& record) {
    if (!e.HasGrid() || !e.PositionInGrid(record.Position) || record.Type >= kBuildingTypeCount)
        return 0;
    const int size = e.Params.Buildings[record.Type].Size;
    TSKIVector pos = record.Position;
    pos.y = e.TerrainHeight(pos);
    int ci, cj;
    TSKIEngine::WorldToCell(pos, ci, cj);
    // The building clears the square of half its size around its cell, and its occupancy
    // the cells within its size (both as the building and the occupancy overlay do it).
    int felled = 0;
    for (int a = ci - size; a <= ci + size; ++a) {
        for (int b = cj - size; b <= cj + size; ++b) {
            if (!TSKIEngine::CellInGrid(a, b) || !e.Cell(a, b).Tree) continue;
            const bool square = std::abs(a - ci) <= size / 2 && std::abs(b - cj) <= size / 2;
            TSKIVector p = e.CellToWorld(a, b, false);
            p.y = e.Cell(a, b).Height;
            if (square || Distance3(p, pos) < float(size)) ++felled;
        }
    }
    return felled;
}

std::string ValidateBuilding(const TSKIEngine& e, const TSKIBuildingRecord& record,
                             bool checkMoney) {
    if (!e.HasGrid() || !e.PositionInGrid(record.Position) || record.Type >= kBuildingTypeCount)
        return "Invalid location";
    const TSKIBuildingParams& type = e.Params.Buildings[record.Type];
    TSKIVector pos = record.Position;
    pos.y = e.TerrainHeight(pos);
    int ci, cj;
    TSKIEngine::WorldToCell(pos, ci, cj);
    const int r = type.Size;
    // The footprint disc; an occupied cell outranks a lift corridor, which outranks a slant.
    bool occupied = false, underLift = false, steep = false;
    for (int a = ci - r; a <= ci + r; ++a) {
        for (int b = cj - r; b <= cj + r; ++b) {
            if (!TSKIEngine::CellInGrid(a, b)) continue;
            const TSKIVector p = e.CellToWorld(a, b, true);
            if (Distance3(p, pos) >= float(r)) continue;
            const TerrainCell& c = e.Cell(a, b);
            occupied |= KindOf(c) != kCellFree;
            underLift |= c.UnderLift;
            steep |= record.Type != kBuildSightseeing && std::fabs(p.y - pos.y) > kSteepLimit;
        }
    }
    if (occupied) return "Location ocupied";
    if (underLift) return "Can not build under lift";
    if (steep) return "Terrain too steep";
    const int32_t price = type.Cost;
    if (checkMoney && e.Park.ParkCash < price)
        return "Not enough money (" + FormatMoney(price) + ")";
    if (record.Type == kBuildParking) {
        bool road = false;
        for (int a = ci - kRoadReachCells; a <= ci + kRoadReachCells && !road; ++a) {
            for (int b = cj - kRoadReachCells; b <= cj + kRoadReachCells; ++b) {
                if (!TSKIEngine::CellInGrid(a, b)) continue;
                const TerrainCell& c = e.Cell(a, b);
                if (c.Kind == kCellRoad && Distance3(c.TreePosition, pos) < kRoadReach) {
                    road = true;
                    break;
                }
            }
        }
        if (!road) return "Office must be build close to road!";
    }
    std::string verdict = "OK (" + FormatMoney(price) + ")";
    if (const int trees = TreesFelledBy(e, record); trees > 0) {
        // Only trees of the level count against the rating: felling planted extras is free.
        const int32_t before = e.Park.ParkTreesFelled;
        const int32_t after = std::max<int32_t>(0, e.Level.TreeCount - (e.CountTrees() - trees));
        const float cost = float(std::max<int32_t>(0, after - before)) * kRatingPerFelledTree;
        char text[64];
        std::snprintf(text, sizeof text, " Fells %d tree%s: rating -%.1f %%", trees,
                      trees == 1 ? "" : "s", double(cost));
        verdict += text;
    }
    return verdict;
}

bool PlaceBuilding(TSKIEngine& e, const TSKIBuildingRecord& record, bool charge) {
    if (!e.HasGrid() || !e.PositionInGrid(record.Position) || record.Type >= kBuildingTypeCount)
        return false;
    if (charge && ValidateBuilding(e, record, true).rfind("OK", 0) != 0) return false;
    const TSKIBuildingParams& type = e.Params.Buildings[record.Type];
    TSKIBuildingRecord r = record;
    r.Position.y = e.TerrainHeight(r.Position);
    r.Position.w = 1;
    if (charge) {
        r.Open = true;
        r.ServicePrice = uint16_t(std::max<int>(0, type.ServiceCost));
        r.Occupants = r.CustomersServed = r.TotalIncome = r.TotalExpense = 0;
        r.TooExpensiveCount = 0;
    }
    // The building marks its centre cell and creates its vehicles.
    TSKIBuilding* b = e.CreateBuilding(r);
    if (b == nullptr) return false;
    if (charge) {
        TakeFrom(e.Park.ParkCash, type.Cost);
        if (type.Category == kCategorySnowCannon) RebuildSnowOverlay(e);
        // The parking capacity follows every new lot (the shipped lots are not of the
        // office category).
        if (type.Category == kCategoryOffice || r.Type == kBuildParking) AllocateParking(e);
        RebuildOverlay(e, TSKIOverlay::Occupancy);
        if (e.Options.Detail >= 1 || (r.Type != kBuildSnowCannon && r.Type != kBuildCot))
            RebuildOverlay(e, TSKIOverlay::ObjectImprint);
        b->AreaI = b->CellI;
        b->AreaJ = b->CellJ;
        e.CountTreesFelled();
        if (e.OnBuilt) e.OnBuilt(kBuiltBuilding, r.Type);
    }
    e.Display().HighlightChanged(e);
    return true;
}

void TSKIConstruction::StartBuildingTool(uint8_t type) {
    TSKIEngine& e = Engine;
    TSKIToolState& t = State;
    if (type >= kBuildingTypeCount) return;
    if (t.Tool != TSKITool::Building) {
        t.SavedCursorSnap = SkierInfoOn(e) ? t.SkierInfoSavedSnap : t.CursorSnap;
        t.CursorSnap = false;
    }
    t.Tool = TSKITool::Building;
    t.BuildingPreview = TSKIBuildingRecord{};
    t.BuildingPreview.Type = type;
    if (e.Params.Buildings[type].Category == kCategorySnowCannon) {
        ShowLayer(e.Display(), kDisplaySnow, true);
        RebuildOverlay(e, TSKIOverlay::SnowOverlay);
    }
    RefreshTerrainView(e);
}

void TSKIConstruction::StartAreaTool(size_t buildingIndex) {
    TSKIEngine& e = Engine;
    if (buildingIndex >= e.Buildings.size()) return;
    LeaveBuildingTool(*this);
    State.AreaBuilding = int32_t(buildingIndex);
    State.AreaCellI = e.Buildings[buildingIndex]->CellI;
    State.AreaCellJ = e.Buildings[buildingIndex]->CellJ;
    State.Tool = TSKITool::Area;
    ShowLayer(e.Display(), kDisplaySnow, true);
    RebuildSnowOverlay(e);
    RefreshTerrainView(e);
}

namespace construction {

bool AreaInReach(const TSKIEngine& e, const TSKIBuilding& garage, int i, int j) {
    return TSKIEngine::CellInGrid(i, j) &&
           Distance3(e.CellToWorld(i, j, true), garage.Position) < kAreaReach;
}

void SetAreaOfOperations(TSKIEngine& e, TSKIBuilding& garage, int i, int j) {
    garage.AreaI = i;
    garage.AreaJ = j;
    ShowLayer(e.Display(), kDisplaySnow, false);
    RebuildSnowOverlay(e);
    RefreshTerrainView(e);
    e.Display().HighlightChanged(e);  // a garage's beam stands at its area's centre
}

void UpdateBuildingTool(TSKIConstruction& c) {
    TSKIEngine& e = c.Engine;
    TSKIToolState& t = c.State;
    TSKIBuildingRecord& record = t.BuildingPreview;
    const TSKIBuildingParams& type = e.Params.Buildings[record.Type];
    record.Position = t.CursorPosition;
    record.Direction = PreviewDirection(t.BuildingPreviewTurn);
    t.BuildingPreviewVisible = true;
    t.ToolText = ValidateBuilding(e, record, true);
    t.ToolTextColor = t.ToolText.rfind("OK", 0) == 0 ? kToolTextBlue : kToolTextRed;
    t.CursorRadius = type.Category == kCategorySnowCannon ? 80.0f : float(type.Size);
}

void BuildingClick(TSKIConstruction& c) {
    TSKIToolState& t = c.State;
    UpdateBuildingTool(c);
    if (!PerformAction(c.Engine, PlaceBuildingAction(t.BuildingPreview)).Done()) return;
    t.CursorRadius = 12;
    if (t.Input.Shift) return;  // the tool stays for the next building
    t.Tool = TSKITool::None;
    GiveBackBuildingToolSnap(c);
    HidePreviews(t);
}

void UpdateAreaTool(TSKIConstruction& c) {
    TSKIEngine& e = c.Engine;
    TSKIToolState& t = c.State;
    t.CursorRadius = 50;
    t.AreaLineVisible = false;
    t.AreaLine.clear();
    const TSKIBuilding* garage = c.AreaBuilding();
    if (garage == nullptr) return;
    if (!AreaInReach(e, *garage, t.CursorI, t.CursorJ)) {
        t.ToolText = "Target out of reach!";
        t.ToolTextColor = kToolTextRed;
        return;
    }
    t.ToolText = "Set area of operations";
    t.ToolTextColor = kToolTextBlue;
    t.AreaLine = SampleLine(e, e.CellToWorld(garage->CellI, garage->CellJ, true),
                            e.CellToWorld(t.CursorI, t.CursorJ, true), 2.0f);
    t.AreaLineVisible = true;
}

void AreaClick(TSKIConstruction& c) {
    TSKIToolState& t = c.State;
    const TSKIBuilding* garage = c.AreaBuilding();
    if (!t.AreaLineVisible || garage == nullptr) return;
    const int32_t index = t.AreaBuilding;
    if (!PerformAction(c.Engine, SetAreaAction(size_t(index), t.CursorI, t.CursorJ)).Done()) return;
    t.Tool = TSKITool::None;
    t.CursorRadius = 12;
    HidePreviews(t);
    t.AreaBuilding = -1;
}

}  // namespace construction

}  // namespace vallorn
