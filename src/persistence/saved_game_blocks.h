// The fixed-size binary blocks of a saved game: one per skier, section, building and
// vehicle, little-endian, 32-bit floats in IEEE single format.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/types.h"
#include "entities/building.h"
#include "entities/section.h"
#include "entities/skier.h"

namespace vallorn {

// The section of a saved game that holds the park's keys.
constexpr const char* kPark = "SKIParkData";

constexpr size_t kSkierBlockSize = 56;
constexpr size_t kSectionBlockSize = 32;
constexpr size_t kBuildingBlockSize = 72;
constexpr size_t kVehicleBlockSize = 48;

using TSKIBlock = std::vector<uint8_t>;

// What the game itself can write: horizontal positions inside the grid's square of the world
// with a margin of a few cells, heights far beyond any terrain's, unit directions, slope
// widths a little above the widest brush, vehicle slots below a building's seat count.
constexpr float kWorldMargin = 4 * kCellSize;
constexpr float kWorldMinX = -kCellSize * float(kGridSize) - kWorldMargin;
constexpr float kWorldMaxX = kWorldMargin;
constexpr float kWorldMinZ = -kWorldMargin;
constexpr float kWorldMaxZ = kCellSize * float(kGridSize) + kWorldMargin;
constexpr float kHeightLimit = 100000;
constexpr float kDirectionLimit = 2;
constexpr float kSlopeWidthMax = 64;
constexpr int32_t kVehicleSlotMax = 30;
constexpr float kUpgradeBonusMax = 2;

// A position the game could have written (x and z in the world square, |y| and |w| bounded).
bool PlausiblePosition(const TSKIVector& p);

// A section's block: its creation record and the fields the record does not carry.
struct TSKISectionBlock {
    TSKILiftRecord Record;
    uint16_t RunningCost = 0;
};

struct TSKIBuildingBlock {
    TSKIBuildingRecord Record;
    int32_t CellI = 0, CellJ = 0;
    int32_t AreaI = 0, AreaJ = 0;
    uint8_t CostsForgotten = 0;
};

struct TSKIVehicleBlock {
    uint8_t Type = 0;
    TSKIVector Position{0, 0, 0, 1};
    TSKIVector Heading{0, 0, 1, 0};
    int32_t Home = -1;    // index in the building list
    int32_t Target = -1;  // index in the building list, -1 none
    int32_t Slot = 0;     // slot number at the home building
    // The skier a rescue vehicle is treating, by index in the skier list, -1 none. Kept in
    // bytes 1..3 as index + 1 (0: none), so files without it read as no patient.
    int32_t Patient = -1;
};

constexpr int32_t kMaxSavedPatient = 0xFFFFFF - 1;

TSKIBlock PackSkier(const TSKISkierRecord& r);
TSKIBlock PackSection(const TSKISectionBlock& b);
TSKIBlock PackBuilding(const TSKIBuildingBlock& b);
TSKIBlock PackVehicle(const TSKIVehicleBlock& b);

// Each reader takes a block of exactly its size with finite floats and codes in range;
// otherwise it returns false and names the fault in `error`.
bool UnpackSkier(const TSKIBlock& block, TSKISkierRecord& r, std::string& error);
bool UnpackSection(const TSKIBlock& block, TSKISectionBlock& b, std::string& error);
bool UnpackBuilding(const TSKIBlock& block, TSKIBuildingBlock& b, std::string& error);
bool UnpackVehicle(const TSKIBlock& block, TSKIVehicleBlock& b, std::string& error);

}  // namespace vallorn
