// Demolition: deleting a slope, a lift or a building after the player confirms, with the
// clean-up of cells, skiers, vehicles, snow and routes.
#include <algorithm>

#include "construction/tool_geometry.h"
#include "engine/player_actions.h"

namespace vallorn {

using namespace construction;

bool TSKIEngine::DeleteSection(size_t index, bool askFirst) {
    if (index >= Sections.size()) return false;
    TSKISection* section = Sections[index].get();
    if (askFirst && !Dialogs->AskYesNo(
                        "Do you really want to delete \r" + section->Name + " permanently?", true))
        return false;
    // The section sets its riders down and clears its cells; the slope's cells become free
    // and every stored reference to it is dropped.
    RemoveSection(index);
    RebuildNavigation();
    if (HasGrid()) {
        RebuildOverlay(TSKIOverlay::Occupancy);
        RebuildOverlay(TSKIOverlay::ObjectImprint);
        RebuildOverlay(TSKIOverlay::SlopePaint);
        RefreshTerrainView();
    }
    ++RefreshRequests;
    return true;
}

bool TSKIEngine::DeleteBuilding(size_t index) {
    if (index >= Buildings.size()) return false;
    TSKIBuilding* building = Buildings[index].get();
    if (!Dialogs->AskYesNo("Do you really want to delete this building?", true)) return false;
    if (AreaBuilding == building) AreaBuilding = nullptr;
    const uint8_t category = building->Params().Category;
    const bool parking = building->Type == kBuildParking;
    const int ci = building->CellI, cj = building->CellJ;
    if (HasGrid() && CellInGrid(ci, cj)) {
        TerrainCell& centre = Cell(ci, cj);
        centre.Kind = kCellFree;
        centre.Building = -1;
    }
    // Customers are released, vehicles destroyed, garages counted down, vehicle homes
    // renumbered.
    RemoveBuilding(index);
    if (category == kCategoryOffice || parking) AllocateParking();
    if (HasGrid()) {
        RebuildOverlay(TSKIOverlay::Occupancy);
        RebuildOverlay(TSKIOverlay::ObjectImprint);
        if (category == kCategorySnowCannon) {
            // Only the remaining snow makers' reach keeps artificial snow.
            ClearArtificialSnowAround(ci, cj);
            RebuildSnowOverlay();
        }
    }
    RebuildNavigation();
    ++RefreshRequests;
    return true;
}

void TSKIEngine::DeleteUnderCursor() {
    if (!HasGrid()) return;
    const TerrainCell& c = Cell(CursorI, CursorJ);
    TSKISection* section = SectionByIndex(c.Section);
    TSKIBuilding* building = c.Kind == kCellBuilding ? BuildingByIndex(c.Building) : nullptr;
    // The building's index is taken first: deleting a section leaves the buildings' order.
    const int32_t b = building != nullptr ? IndexOf(building) : -1;
    if (section != nullptr) {
        const int32_t s = IndexOf(section);
        if (s >= 0) PerformAction(*this, DeleteSectionAction(size_t(s)));
    }
    if (b >= 0) PerformAction(*this, DeleteBuildingAction(size_t(b)));
    CursorCell = Cell(CursorI, CursorJ);
}

}  // namespace vallorn
