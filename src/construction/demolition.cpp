// Demolition: deleting a slope, a lift or a building after the player confirms, with the
// clean-up of cells, skiers, vehicles, snow and routes.
#include <algorithm>

#include "construction/construction_actions.h"
#include "construction/tool_geometry.h"
#include "engine/arrivals.h"
#include "engine/overlays.h"
#include "engine/player_actions.h"
#include "engine/snow.h"

namespace vallorn {

using namespace construction;

bool DeleteSection(TSKIEngine& e, size_t index, bool askFirst) {
    if (index >= e.Sections.size()) return false;
    TSKISection* section = e.Sections[index].get();
    if (askFirst && !e.Dialogs->AskYesNo(
                        "Do you really want to delete \r" + section->Name + " permanently?", true))
        return false;
    // The section sets its riders down and clears its cells; the slope's cells become free
    // and every stored reference to it is dropped.
    e.RemoveSection(index);
    e.RebuildNavigation();
    if (e.HasGrid()) {
        RebuildOverlay(e, TSKIOverlay::Occupancy);
        RebuildOverlay(e, TSKIOverlay::ObjectImprint);
        RebuildOverlay(e, TSKIOverlay::SlopePaint);
        RefreshTerrainView(e);
    }
    e.Display().HighlightChanged(e);
    return true;
}

bool DeleteBuilding(TSKIEngine& e, size_t index) {
    if (index >= e.Buildings.size()) return false;
    TSKIBuilding* building = e.Buildings[index].get();
    if (!e.Dialogs->AskYesNo("Do you really want to delete this building?", true)) return false;
    const uint8_t category = building->Params().Category;
    const bool parking = building->Type == kBuildParking;
    const int ci = building->CellI, cj = building->CellJ;
    if (e.HasGrid() && TSKIEngine::CellInGrid(ci, cj)) {
        TerrainCell& centre = e.Cell(ci, cj);
        centre.Kind = kCellFree;
        centre.Building = -1;
    }
    // Customers are released, vehicles destroyed, garages counted down, vehicle homes
    // renumbered.
    e.RemoveBuilding(index);
    if (category == kCategoryOffice || parking) AllocateParking(e);
    if (e.HasGrid()) {
        RebuildOverlay(e, TSKIOverlay::Occupancy);
        RebuildOverlay(e, TSKIOverlay::ObjectImprint);
        if (category == kCategorySnowCannon) {
            // Only the remaining snow makers' reach keeps artificial snow.
            ClearArtificialSnowAround(e, ci, cj);
            RebuildSnowOverlay(e);
        }
    }
    e.RebuildNavigation();
    e.Display().HighlightChanged(e);
    return true;
}

TSKIActionResult TSKIConstruction::DeleteUnderCursor() {
    TSKIEngine& e = Engine;
    TSKIToolState& t = State;
    if (!e.HasGrid()) return TSKIActionResult::Failed;
    const TerrainCell& c = e.Cell(t.CursorI, t.CursorJ);
    TSKISection* section = e.SectionByIndex(c.Section);
    TSKIBuilding* building = c.Kind == kCellBuilding ? e.BuildingByIndex(c.Building) : nullptr;
    // The building's index is taken first: deleting a section leaves the buildings' order.
    const int32_t b = building != nullptr ? e.IndexOf(building) : -1;
    const int32_t s = section != nullptr ? e.IndexOf(section) : -1;
    TSKIActionResult result = TSKIActionResult::Failed;
    auto note = [&](TSKIActionResult r) {
        if (r == TSKIActionResult::Done || result == TSKIActionResult::Failed) result = r;
    };
    if (s >= 0) note(PerformAction(e, DeleteSectionAction(size_t(s))).Result);
    if (b >= 0) note(PerformAction(e, DeleteBuildingAction(size_t(b))).Result);
    t.CursorCell = e.Cell(t.CursorI, t.CursorJ);
    return result;
}

}  // namespace vallorn
