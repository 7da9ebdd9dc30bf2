// Small shared types of the core.
#pragma once

#include <cmath>
#include <cstdint>
#include <glm/vec4.hpp>

namespace vallorn {

// Positions and directions are four-float vectors (x, y, z, w); y is up.
using TSKIVector = glm::vec4;

// The distance between two points seen from above (y left out).
inline float GroundDistance(const TSKIVector& a, const TSKIVector& b) {
    const float dx = a.x - b.x, dz = a.z - b.z;
    return std::sqrt(dx * dx + dz * dz);
}

constexpr int kGridSize = 512;               // cells per side used by most loops (0..511)
constexpr int kGridSide = kGridSize + 1;     // allocated rows and columns (0..512)
constexpr float kCellSize = 4.0f;            // world units per cell edge
constexpr int kImprintSize = kGridSize * 4;  // object imprint: one pixel per world unit
constexpr uint16_t kCounterCap = 65000;      // counters shown to the player stop here
// The most skiers a park holds at once, whoever brings them (arrivals, friends, marketing): five
// times the crowd of a big resort, and what a day's friends or a file can ask for at most.
constexpr int32_t kMaxParkSkiers = 10000;

// Cell kinds.
enum : uint8_t {
    kCellFree = 0,
    kCellSlope = 1,
    kCellSlopeCentre = 2,
    kCellOccupied = 3,
    kCellLiftLower = 4,
    kCellLiftUpper = 5,
    kCellUnderLift = 6,
    kCellRoad = 7,
    kCellBuilding = 8,
};

// Skier states.
enum : uint8_t {
    kSkierIdle = 0,
    kSkierOnLift = 1,
    kSkierSkiing = 2,
    kSkierWaiting = 3,
    kSkierInBuilding = 4,
    kSkierLeaving = 5,
    kSkierInjured = 6,
};
constexpr int kSkierStateCount = kSkierInjured + 1;

// Building types used by number throughout the game.
enum : uint8_t {
    kBuildSnowCannon = 0,
    kBuildStall = 1,
    kBuildRescueStation = 2,
    kBuildSnowBar = 3,
    kBuildSkiPatrol = 4,
    kBuildHospital = 5,
    kBuildSnowcatGarage = 6,
    kBuildCot = 7,
    kBuildShelter = 8,
    kBuildSightseeing = 9,
    kBuildParking = 10,
    kBuildSelfService = 11,
    kBuildKiosk = 12,
};

// The restaurants: stalls, snow bars, self-service restaurants and kiosks. Cots, shelters and
// the sightseeing building also seat skiers for a price, but the finance table, the highlight
// palette and the "All restaurants" price do not count them as restaurants.
constexpr bool IsRestaurantType(uint8_t type) {
    return type == kBuildStall || type == kBuildSnowBar || type == kBuildSelfService ||
           type == kBuildKiosk;
}

// Adds to a counter that stops at 65000.
inline uint16_t CappedAdd(uint16_t counter, int64_t add) {
    int64_t v = int64_t(counter) + add;
    if (v >= kCounterCap) return counter;  // only while the sum stays below the cap
    return uint16_t(v < 0 ? 0 : v);
}

}  // namespace vallorn
