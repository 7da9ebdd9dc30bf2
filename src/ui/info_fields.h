// What the information windows show about a lift, a slope or a building: the object under the
// cursor, the texts of every field as the park stands, the height profile of the "Relief"
// page and where a window goes beside the cursor. Plain data, read from the engine; the
// windows draw it and change nothing but through the player actions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/terrain.h"
#include "engine/engine.h"

namespace vallorn {

enum class TSKIInfoKind : uint8_t { None, Lift, Slope, Building };

// The object a click without a tool opens a window on: the cell's section (its stations and
// the cells under its line for a lift, its surface for a slope) or the cell's building.
struct TSKIInfoTarget {
    TSKIInfoKind Kind = TSKIInfoKind::None;
    size_t Index = 0;  // in the engine's sections or buildings
};
TSKIInfoTarget PickInfoTarget(const TSKIEngine& e, const TerrainCell& cell);

// "Number of pasangers:": "7 (58% of maximum capacity)"; 0 % when nobody rides.
std::string PassengersText(int riders, int carriers, int capacity);
// "Service too expensive:": "0" when nobody was served, else "n x (p% of total customers)"
// with n capped at the number served.
std::string TooExpensiveText(int tooExpensive, int served);
// A station's terrain height as shown: height × 3 + 500, truncated, " meters".
std::string HeightText(float terrainHeight);
// A building's occupancy with the unit of its type: "1 car", "3 customers", ...
std::string OccupancyText(uint8_t buildingType, int count);
// "Warm up, Rest, Food" by the type's refill values (empty when it refills nothing).
std::string BuildingServicesText(const TSKIBuildingParams& type);

struct TSKILiftInfo {
    std::string Name, StartHeight, EndHeight, Length, Type, Gondolas, Passengers, Queue;
    uint8_t Status = 0;
    std::string StatusText;  // "Opened", "Closed", "Unavailable"
    std::string Price, RunningCost, Income, Expense, Balance, TooExpensive, Served, Invested;
    float Quality = 0;  // type quality + upgrade bonus, 0..2
    std::string QualityText;
};
TSKILiftInfo LiftInfo(const TSKIEngine& e, const TSKISection& lift);

struct TSKISlopeInfo {
    std::string Name, StartHeight, EndHeight, Length;
    uint8_t Difficulty = 0;
    std::string DifficultyText;  // "Blue", "Red", "Black"
    std::string Shares;          // "Blue: 60% Red: 30% Black: 10%"
    std::string BestTime;        // the race record or "Not set"
};
TSKISlopeInfo SlopeInfo(const TSKIEngine& e, const TSKISection& slope);

struct TSKIBuildingInfo {
    std::string Type;
    bool Open = true;
    std::string Capacity, Occupancy, Services, Price, Served, RunningCost, Income, Expense, Balance,
        TooExpensive;
    float Quality = 0;
    std::string QualityText;
    bool HasPrice = false;         // a restaurant-category building sells its service
    bool SharesTypePrice = false;  // "All of this type" applies
    bool IsGarage = false;         // "Set target"
};
TSKIBuildingInfo BuildingInfo(const TSKIBuilding& building);

// The "Relief" page: ground heights along the object (shown height units: × 3 + 500), with the
// difficulty of each point for slopes.
struct TSKIRelief {
    std::vector<float> Heights;
    std::vector<uint8_t> Difficulty;  // per point (slopes), empty for lifts
};
// `points`: samples wanted (at least 2).
TSKIRelief LiftRelief(const TSKIEngine& e, const TSKISection& lift, int points);
TSKIRelief SlopeRelief(const TSKIEngine& e, const TSKISection& slope, int points);

// A window opened at (x, y) moved left and up until it lies on the screen.
struct TSKIPlacement {
    float X = 0, Y = 0;
};
TSKIPlacement PlaceOnScreen(float x, float y, float w, float h, float screenW, float screenH);

// The quality bar's colour, red (0) through yellow to green (2 and above), as 0..1 RGB.
void QualityColour(float quality, float rgb[3]);

}  // namespace vallorn
