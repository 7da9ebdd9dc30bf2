// The building tool: the placement rules of a service building with their texts, the
// charging creation of a building, and setting a snowcat garage's area of operations.
#include <algorithm>
#include <cmath>

#include "base/saturating.h"
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

TSKIVector PreviewDirection(float degrees) {
    const float a = degrees * 3.14159265f / 180.0f;
    return TSKIVector(std::sin(a), 0, std::cos(a), 0);
}

}  // namespace

std::string TSKIEngine::ValidateBuilding(const TSKIBuildingRecord& record, bool checkMoney) const {
    if (!HasGrid() || !PositionInGrid(record.Position) || record.Type >= kBuildingTypeCount)
        return "Invalid location";
    const TSKIBuildingParams& type = Params.Buildings[record.Type];
    TSKIVector pos = record.Position;
    pos.y = TerrainHeight(pos);
    int ci, cj;
    WorldToCell(pos, ci, cj);
    const int r = type.Size;
    // The footprint disc; an occupied cell outranks a lift corridor, which outranks a slant.
    bool occupied = false, underLift = false, steep = false;
    for (int a = ci - r; a <= ci + r; ++a) {
        for (int b = cj - r; b <= cj + r; ++b) {
            if (!CellInGrid(a, b)) continue;
            const TSKIVector p = CellToWorld(a, b, true);
            if (Distance3(p, pos) >= float(r)) continue;
            const TerrainCell& c = Cell(a, b);
            occupied |= KindOf(c) != kCellFree;
            underLift |= c.UnderLift;
            steep |= record.Type != kBuildSightseeing && std::fabs(p.y - pos.y) > kSteepLimit;
        }
    }
    if (occupied) return "Location ocupied";
    if (underLift) return "Can not build under lift";
    if (steep) return "Terrain too steep";
    const int32_t price = type.Cost;
    if (checkMoney && Park.ParkCash < price) return "Not enough money (" + FormatMoney(price) + ")";
    if (record.Type == kBuildParking) {
        bool road = false;
        for (int a = ci - kRoadReachCells; a <= ci + kRoadReachCells && !road; ++a) {
            for (int b = cj - kRoadReachCells; b <= cj + kRoadReachCells; ++b) {
                if (!CellInGrid(a, b)) continue;
                const TerrainCell& c = Cell(a, b);
                if (c.Kind == kCellRoad && Distance3(c.TreePosition, pos) < kRoadReach) {
                    road = true;
                    break;
                }
            }
        }
        if (!road) return "Office must be build close to road!";
    }
    return "OK (" + FormatMoney(price) + ")";
}

bool TSKIEngine::PlaceBuilding(const TSKIBuildingRecord& record, bool charge) {
    if (!HasGrid() || !PositionInGrid(record.Position) || record.Type >= kBuildingTypeCount)
        return false;
    if (charge && ValidateBuilding(record, true).rfind("OK", 0) != 0) return false;
    const TSKIBuildingParams& type = Params.Buildings[record.Type];
    TSKIBuildingRecord r = record;
    r.Position.y = TerrainHeight(r.Position);
    r.Position.w = 1;
    if (charge) {
        r.Open = true;
        r.ServicePrice = uint16_t(std::max<int>(0, type.ServiceCost));
        r.Occupants = r.CustomersServed = r.TotalIncome = r.TotalExpense = 0;
        r.TooExpensiveCount = 0;
    }
    // The building marks its centre cell and creates its vehicles.
    TSKIBuilding* b = CreateBuilding(r);
    if (b == nullptr) return false;
    if (charge) {
        TakeFrom(Park.ParkCash, type.Cost);
        if (type.Category == kCategorySnowCannon) RebuildSnowOverlay(*this);
        // The parking capacity follows every new lot (the shipped lots are not of the
        // office category).
        if (type.Category == kCategoryOffice || r.Type == kBuildParking) AllocateParking(*this);
        RebuildOverlay(*this, TSKIOverlay::Occupancy);
        if (Options.Detail >= 1 || (r.Type != kBuildSnowCannon && r.Type != kBuildCot))
            RebuildOverlay(*this, TSKIOverlay::ObjectImprint);
        b->AreaI = b->CellI;
        b->AreaJ = b->CellJ;
        CountTreesFelled();
        if (OnBuilt) OnBuilt(kBuiltBuilding, r.Type);
        ++RefreshRequests;
    }
    CursorRadius = 12;
    return true;
}

void TSKIEngine::StartBuildingTool(uint8_t type) {
    if (type >= kBuildingTypeCount) return;
    if (ConstructionTool != 11) {
        SavedCursorSnap = SkierInfoOn(*this) ? SkierInfoSavedSnap : CursorSnap;
        CursorSnap = false;
    }
    ConstructionTool = 11;
    BuildingPreview = TSKIBuildingRecord{};
    BuildingPreview.Type = type;
    if (Params.Buildings[type].Category == kCategorySnowCannon) {
        DisplayFlags |= kDisplaySnow;
        RebuildOverlay(*this, TSKIOverlay::SnowOverlay);
    }
    RefreshTerrainView(*this);
}

void TSKIEngine::StartAreaTool(size_t buildingIndex) {
    if (buildingIndex >= Buildings.size()) return;
    LeaveBuildingTool(*this);
    AreaBuilding = Buildings[buildingIndex].get();
    ConstructionTool = 12;
    DisplayFlags |= kDisplaySnow;
    RebuildSnowOverlay(*this);
    RefreshTerrainView(*this);
}

namespace construction {

void UpdateBuildingTool(TSKIEngine& e) {
    TSKIBuildingRecord& record = e.BuildingPreview;
    const TSKIBuildingParams& type = e.Params.Buildings[record.Type];
    record.Position = e.CursorPosition;
    record.Direction = PreviewDirection(e.BuildingPreviewTurn);
    e.BuildingPreviewVisible = true;
    e.ToolText = e.ValidateBuilding(record, true);
    e.ToolTextColor = e.ToolText.rfind("OK", 0) == 0 ? kToolTextBlue : kToolTextRed;
    e.CursorRadius = type.Category == kCategorySnowCannon ? 80.0f : float(type.Size);
}

void BuildingClick(TSKIEngine& e) {
    UpdateBuildingTool(e);
    if (!PerformAction(e, PlaceBuildingAction(e.BuildingPreview)).Done()) return;
    if (e.ToolInput.Shift) return;  // the tool stays for the next building
    e.ConstructionTool = 0;
    GiveBackBuildingToolSnap(e);
    HidePreviews(e);
}

void UpdateAreaTool(TSKIEngine& e) {
    e.CursorRadius = 50;
    e.AreaLineVisible = false;
    e.AreaLine.clear();
    if (e.AreaBuilding == nullptr) return;
    const TSKIVector target = e.CellToWorld(e.CursorI, e.CursorJ, true);
    if (Distance3(target, e.AreaBuilding->Position) >= kAreaReach) {
        e.ToolText = "Target out of reach!";
        e.ToolTextColor = kToolTextRed;
        return;
    }
    e.ToolText = "Set area of operations";
    e.ToolTextColor = kToolTextBlue;
    e.AreaLine = SampleLine(e, e.CellToWorld(e.AreaBuilding->CellI, e.AreaBuilding->CellJ, true),
                            target, 2.0f);
    e.AreaLineVisible = true;
}

void AreaClick(TSKIEngine& e) {
    if (!e.AreaLineVisible || e.AreaBuilding == nullptr) return;
    if (e.AreaBuilding->Params().Category != kCategorySnowCatGarage) return;
    e.AreaBuilding->AreaI = e.CursorI;
    e.AreaBuilding->AreaJ = e.CursorJ;
    e.ConstructionTool = 0;
    e.CursorRadius = 12;
    HidePreviews(e);
    e.AreaBuilding = nullptr;
    e.DisplayFlags &= uint8_t(~kDisplaySnow);
    RebuildSnowOverlay(e);
    RefreshTerrainView(e);
    ++e.RefreshRequests;
}

}  // namespace construction

}  // namespace vallorn
