// World operations on buildings: creation, removal with its fix-ups, the nearest-service
// search used by hungry and cold skiers, and the index lookups of skiers and buildings.
#include <algorithm>
#include <cmath>

#include "entities/world.h"

namespace vallorn {

TSKIBuilding* TSKIWorld::CreateBuilding(const TSKIBuildingRecord& record) {
    auto building = std::make_unique<TSKIBuilding>(*this);
    building->Init(record);
    TSKIBuilding* created = building.get();
    Buildings.push_back(std::move(building));
    if (HasGrid()) {
        TerrainCell& centre = Cell(created->CellI, created->CellJ);
        centre.Kind = kCellBuilding;
        centre.Building = int32_t(Buildings.size() - 1);
        OccupancyChanged();
    }
    CreateBuildingVehicles(Buildings.size() - 1);
    return created;
}

void TSKIWorld::RemoveBuilding(size_t index) {
    if (index >= Buildings.size()) return;
    TSKIBuilding* gone = Buildings[index].get();
    gone->Open = false;  // the evicted customers must not pick it again
    gone->EvictAll();

    for (const auto& skier : Skiers) {
        // Customers who could not be released (engine busy) decide again in their own tick.
        if (skier->Building == gone) skier->Building = nullptr;
    }
    if (ArrivalBuilding == gone) ArrivalBuilding = nullptr;
    if (gone->Params().Category == kCategorySnowCatGarage) {
        GarageCount = std::max(0, GarageCount - 1);
    }
    const int32_t removed = int32_t(index);
    // Cells, and the cell copies skiers and vehicles hold: the building's cells are freed,
    // later buildings' indexes move down.
    auto forget = [removed](TerrainCell& cell, bool free) {
        if (cell.Building == removed) {
            cell.Building = -1;
            if (free && cell.Kind == kCellBuilding) cell.Kind = kCellFree;
        } else if (cell.Building > removed) {
            cell.Building -= 1;
        }
    };
    for (TerrainCell& cell : Grid) forget(cell, true);
    for (auto& skier : Skiers) forget(skier->Cell, false);
    for (auto& vehicle : Vehicles) forget(vehicle->Cell, false);
    RemoveBuildingVehicles(index);
    for (const auto& vehicle : Vehicles) {
        if (vehicle->Building == removed) {
            vehicle->Building = -1;
        } else if (vehicle->Building > removed) {
            vehicle->Building -= 1;
        }
    }
    Buildings.erase(Buildings.begin() + std::ptrdiff_t(index));
    if (HasGrid()) OccupancyChanged();
}

TSKIBuilding* TSKIWorld::FindNearestBuilding(const TSKIVector& p, uint8_t services,
                                             float maxDistance) const {
    TSKIBuilding* nearest = nullptr;
    float nearestDistance = 10000.0f;
    for (const auto& building : Buildings) {
        const TSKIBuildingParams& type = building->Params();
        if (type.Category != kCategoryRestaurant || !building->Open) continue;
        if ((type.Services & services) == 0) continue;
        if (building->Occupants >= type.Capacity) continue;
        const float dx = building->Position.x - p.x;
        const float dy = building->Position.y - p.y;
        const float dz = building->Position.z - p.z;
        const float distance = std::sqrt(dx * dx + dy * dy + dz * dz);
        if (distance >= maxDistance || distance >= nearestDistance) continue;
        nearest = building.get();
        nearestDistance = distance;
    }
    return nearest;
}

int32_t TSKIWorld::IndexOf(const TSKISkier* skier) const {
    for (size_t k = 0; k < Skiers.size(); ++k) {
        if (Skiers[k].get() == skier) return int32_t(k);
    }
    return -1;
}

int32_t TSKIWorld::IndexOf(const TSKIBuilding* building) const {
    for (size_t k = 0; k < Buildings.size(); ++k) {
        if (Buildings[k].get() == building) return int32_t(k);
    }
    return -1;
}

}  // namespace vallorn
