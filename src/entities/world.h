// TSKIWorld: the state the park's entities act on — the park record, the parameter tables,
// the random generator, the terrain grid with its queries, the entity containers and the few
// flags entities read. Entities hold a TSKIWorld& and never see the engine; the few things
// they ask of the park's subsystems (grooming, felling a tree, refreshing views) go through
// the virtual requests below, which the engine answers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/desktop.h"
#include "base/params.h"
#include "base/park_data.h"
#include "base/random.h"
#include "base/terrain.h"
#include "base/terrain_mesh.h"
#include "entities/building.h"
#include "entities/gondole.h"
#include "entities/section.h"
#include "entities/skier.h"
#include "entities/vehicle.h"

namespace vallorn {

// A cell's flags as the view finds them (SetCellViewFlags).
enum : uint8_t { kCellInView = 1, kCellNearCamera = 2 };

class TSKIWorld {
public:
    explicit TSKIWorld(uint64_t seed);
    virtual ~TSKIWorld();
    TSKIWorld(const TSKIWorld&) = delete;
    TSKIWorld& operator=(const TSKIWorld&) = delete;

    // --- park, tables, chance --------------------------------------------------------------
    TSKIParameters Params;
    TSKIParkData Park;
    TSKIRandom Rng;
    IDialogs* Dialogs = nullptr;  // questions and the busy cursor

    // --- containers (index = identity) -------------------------------------------------------
    std::vector<std::unique_ptr<TSKISection>> Sections;
    std::vector<std::unique_ptr<TSKISkier>> Skiers;
    std::vector<std::unique_ptr<TSKIBuilding>> Buildings;
    std::vector<std::unique_ptr<TSKIVehicle>> Vehicles;
    int32_t GarageCount = 0;
    int32_t SlopesCreated = 0;  // numbers "Slope #n"

    // --- flags entities read ---------------------------------------------------------------------
    bool Busy = false;    // a rebuild, day change, save or load is under way: entities wait
    bool Halted = false;  // the park is being torn down
    TSKIVector ArrivalPoint{0, 0, 0, 1};
    TSKIBuilding* ArrivalBuilding = nullptr;

    // --- terrain grid (terrain_grid.cpp) -------------------------------------------------------
    TSKILevelData Level;
    std::vector<TerrainCell> Grid;  // kGridSide * kGridSide cells, row i along -X
    TSKITerrainMesh Surface;

    bool HasGrid() const { return !Grid.empty(); }
    TerrainCell& Cell(int i, int j) { return Grid[size_t(i) * kGridSide + size_t(j)]; }
    const TerrainCell& Cell(int i, int j) const { return Grid[size_t(i) * kGridSide + size_t(j)]; }
    static bool CellInGrid(int i, int j) {
        return i >= 0 && j >= 0 && i <= kGridSize && j <= kGridSize;
    }
    static void WorldToCell(const TSKIVector& p, int& i, int& j);
    bool PositionInGrid(const TSKIVector& p) const;
    TSKIVector CellToWorld(int i, int j, bool withHeight) const;
    float TerrainHeight(const TSKIVector& p) const;
    // CellToWorld(i, j, true).y, read from the cell heights the surface mesh keeps (cast for
    // the whole map on the first call for a mesh): for loops over every cell.
    float CellPointHeight(int i, int j) const;
    // Ground height from the stored cell heights, interpolated between the four surrounding
    // cell points: what moving entities use every frame instead of a ray cast.
    float GroundHeight(const TSKIVector& p) const;
    TerrainCell CellAt(const TSKIVector& p) const;
    bool CellInView(const TSKIVector& p) const;
    bool CellNearCamera(const TSKIVector& p) const;
    // What the view found out about every cell (kCellInView, kCellNearCamera by grid index),
    // handed over by whoever runs the view after its frame; entities pick their detail by it.
    void SetCellViewFlags(const std::vector<uint8_t>& flags);
    static void MapPixel(const TSKIVector& p, int size, int& px, int& pz);

    // --- the resort network (network_creation.cpp, building_creation.cpp, navigation.cpp) ------
    // Creates a slope from its drawn points (x and z on the ground, width in cells in w) and
    // lays it onto the grid. Named "Slope #n" unless a name is given. Does not rebuild the
    // navigation: callers do once after their changes.
    TSKISection* CreateSlope(std::vector<TSKIVector> points, const std::string& name = {});
    // Creates a lift of the record's type between a lower and an upper station cell.
    TSKISection* CreateLift(int lowerI, int lowerJ, int upperI, int upperJ,
                            const TSKILiftRecord& record);
    // Creates a building from its record and marks its footprint.
    TSKIBuilding* CreateBuilding(const TSKIBuildingRecord& record);
    // Destroys a section or a building; every stored index and reference is fixed up.
    void RemoveSection(size_t index);
    void RemoveBuilding(size_t index);
    // Rebuilds every cell's links, nearby entries, under-lift flags, walking targets and
    // navigation class, and the total slope length. Runs only on change.
    void RebuildNavigation(bool keepWalkTargets = false);
    // The nearest open restaurant-category building within `maxDistance` offering one of
    // the wanted services and not full; null when none.
    TSKIBuilding* FindNearestBuilding(const TSKIVector& p, uint8_t services,
                                      float maxDistance) const;
    // The section or building an index names (a cell's, a vehicle's); null for none.
    TSKISection* SectionByIndex(int32_t index) const {
        return index >= 0 && size_t(index) < Sections.size() ? Sections[size_t(index)].get()
                                                             : nullptr;
    }
    TSKIBuilding* BuildingByIndex(int32_t index) const {
        return index >= 0 && size_t(index) < Buildings.size() ? Buildings[size_t(index)].get()
                                                              : nullptr;
    }
    int32_t IndexOf(const TSKISection* section) const;
    int32_t IndexOf(const TSKISkier* skier) const;
    int32_t IndexOf(const TSKIBuilding* building) const;
    // The description of the skier nearest to a ground point on the same cell (within 4
    // units), or an empty text.
    std::string NearestSkierText(const TSKIVector& groundPoint) const;

    // --- vehicles (vehicle.cpp) ------------------------------------------------------------------
    // Creates a vehicle from its record; null when refused (home index outside the building
    // list, a home whose category does not fit the type, a helicopter on a seat above 0).
    TSKIVehicle* CreateVehicle(const TSKIVehicleRecord& record);
    // The vehicles of a newly placed building: a snowmobile per seat of a rescue station or
    // ski patrol, one helicopter for a hospital, a snowcat per seat of a garage (whose area
    // of operations starts at its own cell). Returns how many were created.
    int32_t CreateBuildingVehicles(size_t buildingIndex);
    // Destroys the vehicles whose home is building `index`; their patients lose their mark.
    void RemoveBuildingVehicles(size_t buildingIndex);
    // The rescue dispatch: the free (or already holding) snowmobile or helicopter of an open
    // building that would reach the injured skier soonest; every other vehicle holding the
    // skier lets it go. Null when none.
    TSKIVehicle* FindRescueVehicle(const TSKISkier& skier);
    // Every vehicle that had taken the skier forgets it.
    void ForgetPatient(const TSKISkier* skier);
    // Before skier `index` is erased: it is forgotten and later patient indices move down.
    void VehiclesSkierRemoved(size_t index);
    // The day change: rescue vehicles drop their patients, snowcats head home.
    void ResetVehiclesForDay();

    // --- requests to the park's subsystems (answered by the engine; nothing by default) -------
    // Grooms the 3 x 3 cells around a cell (a snowcat passed).
    virtual void GroomCells(int /*i*/, int /*j*/) {}
    // Fells the tree of a cell (a building was placed over it).
    virtual void FellTree(int /*i*/, int /*j*/) {}
    // The terrain's look changed (trees, slope paint): the views redraw it.
    virtual void TerrainLookChanged() {}
    // Cells changed owner: the occupancy overlay is redrawn.
    virtual void OccupancyChanged() {}
};

}  // namespace vallorn
