// A lift carrier: a platter, T-bar, chair or cabin running round its lift's cable loop.
#pragma once

#include <array>
#include <cstdint>

#include "base/types.h"

namespace vallorn {

class TSKISection;
class TSKISkier;

constexpr int kMaxRiders = 17;

class TSKIGondole {
public:
    explicit TSKIGondole(TSKISection& lift);

    // Places the carrier at the lower station, heading for the cable's second point.
    void Init();
    // Motion, riders, loading point and unloading at the upper station.
    void Tick(float dt);
    // The loading carrier takes one waiting skier from the boarding row: price check, seat,
    // payment. False when full or when the price drives the skier below -100 happiness.
    bool Board(TSKISkier& skier);
    // A seat within the capacity is free.
    bool HasFreeSeat() const;
    // Takes the skier off its seat; the riders behind it move up.
    void RemoveRider(const TSKISkier* skier);
    // Sets every skier still riding down near the carrier; each decides at once.
    void Unload();
    // Absolute position of seat k.
    TSKIVector SeatPosition(int k) const;

    TSKISection& Lift;
    uint8_t CellKind = 0;  // kind of the cell under the carrier, copied every tick
    int32_t NextPoint = 1;
    uint8_t RiderCount = 0;
    std::array<TSKISkier*, kMaxRiders> Riders{};
    TSKIVector Position{0, 0, 0, 1};
    TSKIVector Direction{0, 0, 1, 0};
    TSKIVector SmoothingAnchor{0, 0, 0, 1};

private:
    int FreeSeat() const;  // the first free seat; the capacity when there is none
};

}  // namespace vallorn
