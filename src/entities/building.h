// A placed building of one of the thirteen building types.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "base/types.h"

namespace vallorn {

class TSKIWorld;
class TSKISkier;
struct TSKIBuildingParams;

constexpr int kParkingPlaces = 10;
constexpr int kBuildingSeatSlots = 33;

// A car parked on one of a parking lot's places.
struct TSKICarPlace {
    bool Taken = false;
    uint8_t Model = 0;  // car model 0..9
};

// What a building is created with (by the placing tool or by game loading).
struct TSKIBuildingRecord {
    uint8_t Type = 0;
    bool Open = true;
    uint16_t Occupants = 0;
    uint16_t ServicePrice = 0;
    TSKIVector Position{0, 0, 0, 1};
    TSKIVector Direction{0, 0, 1, 0};
    uint16_t CustomersServed = 0;
    uint16_t TotalIncome = 0;
    uint16_t TotalExpense = 0;
    uint16_t TooExpensiveCount = 0;
    float UpgradeBonus = 0;
};

class TSKIBuilding {
public:
    explicit TSKIBuilding(TSKIWorld& world) : World(world) {}

    // Copies the record, puts the building on the terrain, computes its cell, lays out its
    // seats and door and clears the trees of its footprint.
    void Init(const TSKIBuildingRecord& record);
    const TSKIBuildingParams& Params() const;
    // Where skiers arrive and enter: the door when the type has one, else the position.
    TSKIVector EntrancePoint() const;
    // A skier enters: restaurant category only; refused when full, short of money or when
    // the randomly chosen seat is taken. Pays the service price.
    bool Enter(TSKISkier& skier);
    // The skier gets up, walks out of the door and decides at once.
    void Leave(TSKISkier& skier);
    // Every seated customer leaves.
    void EvictAll();
    // Back to the start of a day: empty.
    void ResetForDay();

    TSKIWorld& World;
    uint8_t Type = 0;
    bool Open = true;
    uint16_t Occupants = 0;
    uint16_t ServicePrice = 0;
    TSKIVector Position{0, 0, 0, 1};
    TSKIVector Direction{0, 0, 1, 0};
    uint16_t CustomersServed = 0;  // parking lots: visitors who arrived
    uint16_t TotalIncome = 0;
    uint16_t TotalExpense = 0;
    uint16_t TooExpensiveCount = 0;
    // The two counts when the park messages were last built (not saved: a load starts them
    // at the loaded counts).
    uint16_t TooExpensiveAtMessages = 0;
    uint16_t ServedAtMessages = 0;
    float UpgradeBonus = 0;
    uint8_t CostsForgotten = 0;    // the editor's "Forget all costs" (kept by saved games)
    int32_t AreaI = 0, AreaJ = 0;  // snowcat garages: centre of the area of operations
    int32_t CellI = 0, CellJ = 0;
    std::vector<TSKIVector> Seats;  // absolute seat positions, BuildCapacity of them
    TSKIVector Door{0, 0, 0, 1};    // absolute door position when the type has one
    std::array<TSKISkier*, kBuildingSeatSlots> SeatOccupants{};
    uint16_t PreviousTakings = 0;
    uint16_t CurrentTakings = 0;
    // Parking lots.
    std::array<TSKICarPlace, kParkingPlaces> CarPlaces{};
    uint8_t CarCount = 0;
};

}  // namespace vallorn
