// A placed building of one of the thirteen building types.
#pragma once

#include <array>
#include <cstdint>

#include "engine/types.h"

namespace vallorn {

class TSKIEngine;
class TSKISkier;

constexpr int kParkingPlaces = 10;
constexpr int kBuildingSeatSlots = 33;

// A car parked on one of a parking lot's places.
struct TSKICarPlace {
    bool Taken = false;
    uint8_t Model = 0;  // car model 0..9
};

class TSKIBuilding {
public:
    explicit TSKIBuilding(TSKIEngine& engine) : Engine(engine) {}

    // Where skiers arrive and enter: the door when the type has one, else the position.
    TSKIVector EntrancePoint() const;

    TSKIEngine& Engine;
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
    int32_t AreaI = 0, AreaJ = 0;
    int32_t CellI = 0, CellJ = 0;
    std::array<TSKISkier*, kBuildingSeatSlots> SeatOccupants{};
    uint16_t PreviousTakings = 0;
    uint16_t CurrentTakings = 0;
    // Parking lots.
    std::array<TSKICarPlace, kParkingPlaces> CarPlaces{};
    uint8_t CarCount = 0;
};

}  // namespace vallorn
