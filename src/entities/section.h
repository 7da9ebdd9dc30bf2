// A slope or a lift: the path the player laid, how it lies on the terrain grid, and for a
// lift its stations, cable loop, gate, queue and carriers.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/types.h"

namespace vallorn {

class TSKIWorld;
class TSKIGondole;
class TSKISkier;
struct TSKILiftParams;

enum : uint8_t { kSectionLift = 0, kSectionSlope = 1 };
enum : uint8_t { kLiftOpen = 0, kLiftClosed = 1, kLiftBroken = 2 };
enum : uint8_t { kDifficultyBlue = 0, kDifficultyRed = 1, kDifficultyBlack = 2 };
// The difficulty band of the terrain's steepness under a slope.
constexpr uint8_t SteepnessDifficulty(float steepness) {
    return steepness >= 3.0f   ? kDifficultyBlack
           : steepness >= 2.0f ? kDifficultyRed
                               : kDifficultyBlue;
}

constexpr int kQueueSlots = 65;
constexpr int kQueueTail = 64;          // where skiers join
constexpr float kStandHeight = 0.2f;    // skiers and queue places stand this far above ground
constexpr float kDetailStep = 2.0f;     // spacing of a slope's detail line
constexpr float kMetresPerUnit = 5.0f;  // displayed lengths

// What a lift is created with (by construction, replacement or game loading).
struct TSKILiftRecord {
    uint8_t LiftType = 0;
    uint8_t Status = kLiftOpen;
    uint16_t TicketPrice = 0;
    int32_t TotalIncome = 0;
    int32_t TotalExpense = 0;
    int32_t InvestedMoney = 0;
    bool Filling = true;
    uint16_t TooExpensiveCount = 0;
    uint16_t CustomersServed = 0;
    float UpgradeBonus = 0;
};

class TSKISection {
public:
    explicit TSKISection(TSKIWorld& world);
    ~TSKISection();
    TSKISection(const TSKISection&) = delete;
    TSKISection& operator=(const TSKISection&) = delete;

    bool IsSlope() const { return Kind == kSectionSlope; }
    bool IsLift() const { return Kind == kSectionLift; }
    const TSKILiftParams& Type() const;  // lifts: the lift type's parameters

    // Lays the section onto the grid and builds its parts. Slopes use Points as drawn; lifts
    // take the record and the two station cells already set in Lower/Upper.
    void BuildSlope();
    void BuildLift(const TSKILiftRecord& record);
    // Sum of the straight distances between consecutive path points (world units).
    float Length() const;
    void LayOutQueue();
    // Counts the occupied queue slots and frees those whose skier no longer waits.
    void RecountQueue();
    // Per-frame update: carriers, queue upkeep, carrier supply, gate and detail models.
    void Tick(float dt);
    // Clears every grid cell this section marked.
    void Destroy();
    static const char* StatusText(uint8_t status);  // "Open", "Closed", "Broken down"
    // Frees every queue slot that holds the skier.
    void LeaveQueue(const TSKISkier* skier);

    TSKIWorld& World;
    uint8_t Kind = kSectionSlope;
    // Slope: the drawn points, x and z on the ground, the width (in cells) in w; y follows the
    // terrain. Lift: the ground line from the lower to the upper station cell.
    std::vector<TSKIVector> Points;
    // Slope: the path resampled every 2 units. Lift: the closed cable loop.
    std::vector<TSKIVector> DetailLine;
    int32_t LowerI = 0, LowerJ = 0, UpperI = 0, UpperJ = 0;
    std::string Name;
    float BlueShare = 0, RedShare = 0, BlackShare = 0;
    uint8_t Difficulty = kDifficultyBlue;  // sign colour

    // Lift parts. Stations: [0] lower station, back() upper station, between them the poles,
    // at the heights of the cable's up line.
    std::vector<TSKIVector> Stations;
    std::vector<bool> StationHighDetail;  // per station: drawn with the high-detail model
    std::vector<std::unique_ptr<TSKIGondole>> Carriers;  // front is the newest
    TSKIGondole* LoadingCarrier = nullptr;
    TSKIVector LowerWheel{0, 0, 0, 1}, UpperWheel{0, 0, 0, 1};
    float LowerWheelAngle = 0, UpperWheelAngle = 0, WheelTurnRate = 0;
    bool WheelsVisible = false;
    TSKIVector GatePosition{0, 0, 0, 1};
    TSKIVector GateDirection{0, 0, 1, 0};
    bool GateVisible = false;
    bool GateClosedModel = false;
    TSKIVector BoardingAxis{1, 0, 0, 0};

    uint8_t LiftType = 0;
    uint8_t Status = kLiftOpen;
    uint16_t TicketPrice = 0;
    uint16_t RunningCost = 0;
    int32_t TotalIncome = 0;
    int32_t TotalExpense = 0;
    int32_t InvestedMoney = 0;  // slopes: the downhill race record in seconds, 0 none
    bool Filling = true;
    uint16_t TooExpensiveCount = 0;
    uint16_t CustomersServed = 0;
    // The two counts when the park messages were last built (not saved: a load starts them
    // at the loaded counts).
    uint16_t TooExpensiveAtMessages = 0;
    uint16_t ServedAtMessages = 0;
    float UpgradeBonus = 0;
    int16_t QueueLength = 0;
    TSKIVector QueueDirection{0, 0, 1, 0};
    float LengthMetres = 0;
    std::array<TSKIVector, kQueueSlots> QueuePositions{};
    std::array<TSKISkier*, kQueueSlots> QueueSlots{};
    int32_t TrafficCount = 0;
    uint16_t PreviousTakings = 0;
    uint16_t CurrentTakings = 0;

    // Slopes: the raster the slope was laid with, over its bounding box widened by 10 cells:
    // per cell the index of the path point that ends the segment covering it, or
    // kRasterEmpty. The navigation rebuild reads it for the walking targets.
    static constexpr uint8_t kRasterEmpty = 255;
    std::vector<uint8_t> Raster;
    int32_t RasterI0 = 0, RasterJ0 = 0, RasterWidth = 0, RasterHeight = 0;
    uint8_t RasterValue(int i, int j) const;
    // Lifts: the grid cells that BuildLift marked, each once with the kind and section it
    // held before; Destroy gives them back (a slope gets its cells again).
    struct TMarkedCell {
        uint32_t Index = 0;  // row-major
        uint8_t Kind = 0;
        int32_t Section = -1;  // index in the section list
    };
    std::vector<TMarkedCell> MarkedCells;

private:
    // Marks a cell as this lift's (`self`: its index in the section list).
    void MarkLiftCell(int i, int j, uint8_t kind, int32_t self);
    void TickCarrierSupply();
};

}  // namespace vallorn
