// The tuning tables read from Params.ini, GameParams.ini and Options.ini.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "base/types.h"

namespace vallorn {

constexpr int kLiftTypeCount = 7;
constexpr int kBuildingTypeCount = 13;
constexpr int kVehicleTypeCount = 4;
constexpr int kLiftSeatOffsets = 17;
constexpr int kBuildingSeatsMax = 31;

// Lift types, numbered as Params.ini lists them (the numbers are stored in saved games).
enum : uint8_t {
    kLiftPlatter = 0,
    kLiftTBar = 1,
    kLiftDoubleChair = 2,
    kLiftQuadChair = 3,
    kLiftCableCar = 4,
    kLiftAerialTram = 5,
    kLiftSixChair = 6,
};

struct TSKILiftParams {
    std::string Name;  // the section name of the type
    float Speed = 0.01f;
    bool OnGround = true;
    float PoleMinDist = 0.01f;
    float PoleMaxDist = 0.03f;
    uint8_t GondoleCapacity = 1;
    float GondoleSpacing = 0.01f;
    float PoleHeight = 0.01f;
    float StationHeight = 0.01f;
    float LineDist = 0.002f;
    std::array<TSKIVector, kLiftSeatOffsets> GondoleOffsets{};
    float ColdFactor = 0;
    float EnergyFactor = 0;
    int32_t DefaultPrice = 10;
    int32_t CostPerPole = 10000;
    int32_t CostPerGondole = 1000;
    int32_t RunningCost = 1;
    float Rating = 0;
    std::string ModelHiStart, ModelHiEnd, ModelHiPole, ModelHiGondole;
    std::string ModelLoStart, ModelLoEnd, ModelLoPole, ModelLoGondole;
    float MaxLength = 0.5f;
    float ServiceQuality = 0.001f;
    float GatePosX = 0, GatePosZ = 0;
    std::string Description;
    std::string DisplayName;
    uint8_t ShadowWidth = 0, ShadowHeight = 0, ShadowRect = 0;
};

// Building categories derived from the type string.
enum : uint8_t {
    kCategoryOther = 0,
    kCategorySnowCannon = 1,
    kCategoryRestaurant = 2,
    kCategoryRescue = 3,
    kCategoryHospital = 4,
    kCategoryOffice = 5,
    kCategorySnowCatGarage = 6,
};

// Service bits of a building type.
enum : uint8_t {
    kServiceHappiness = 1,
    kServiceHunger = 2,
    kServiceCold = 4,
    kServiceEnergy = 8,
};

struct TSKIBuildingParams {
    uint8_t Category = kCategoryOther;
    std::string TypeString;
    std::string Name;
    uint8_t SubType = 0;
    uint16_t Capacity = 0;
    std::string ModelHi, ModelLow;
    int16_t Cost = 1000;
    int16_t ServiceCost = 10;
    uint8_t Size = 1;
    float RefillHappiness = 0, RefillCold = 0, RefillEnergy = 0, RefillHunger = 0;
    std::array<TSKIVector, kBuildingSeatsMax> Seats{};
    bool SeatsVisible = false;
    float Rating = 0;
    int16_t RunningCost = 1;
    uint8_t Services = 0;
    bool HasDoor = false;
    TSKIVector DoorPosition{0, 0, 0, 0};
    float ServiceQuality = 0.001f;
    bool SitAnimation = false;
    std::string Description;
    uint8_t ShadowWidth = 0, ShadowHeight = 0, ShadowRect = 0;
};

struct TSKIVehicleParams {
    float Speed = 0.005f;
    float ServiceFactor = 0.01f;
    std::string ModelHi, ModelLow;
};

// Section GameParams of GameParams.ini. The initial values are the defaults of a missing key
// (one thousandth of the listed default number for the real-valued keys).
struct TSKIGameParams {
    float TickTime = 0.001f;
    float SlopeColdFactor = 0.0001f;
    float SlopeEnergyFactor = -0.0001f;
    float WaitColdFactor = -0.0001f;
    float WaitEnergyFactor = 0.0001f;
    float HungerFactor = -0.00005f;
    float EnjoySlopeFactor = 0.0001f;
    float EnjoySnowQualityFactor = 0.0002f;
    float UnHappyWaitFactor = -0.0002f;
    int32_t MaxProxyCount = 10000;
    float HistoryInterval = 0.06f;
    float SlopeRating = 0.001f;
    float RatingLeftUnhappyPenalty = 0.002f;
    float RatingLeftUnhappyCooldown = 0.00001f;
    float RatingLeftDiedPenalty = 0.03f;
    float RatingLeftDiedCooldown = 0.00001f;
    float DieFactor = 0.001f;
    int32_t DayLength = 600;
    int32_t DaysInSeason = 30;
    int32_t TreePrice = 100;
    float UpgradeCost = 0.0003f;
    float TooExpensivePenalty = 0.002f;
    float PopularityCooldown = 0.00001f;
    int32_t SkiersPerParkingLot = 50;  // the park's capacity grows by this with every open lot
};

// Section EngineParams of Options.ini.
struct TSKIEngineOptions {
    bool ShowFPS = false;
    bool SoundOn = true;
    float SoundVolume = 1.0f;
    bool MusicOn = true;
    float InvertMouseZoom = 1.0f;
    float MouseRotSpeed = 20.0f;
    float MousePanSpeed = 0.06f;
    float MouseZoomSpeed = 1.0f;
    bool FullScreen = true;
    uint8_t Detail = 1;  // 0 low, 1 medium, 2 high
    bool EdgeScroll = true;
    bool Edit = false;
    std::string LastProfile;  // section Profile
};

// Category number of a building type string (exact, case-sensitive).
uint8_t BuildingCategory(std::string_view typeString);

// The three catalogues and the rules, as one unit that can be read from a data folder.
struct TSKIParameters {
    std::array<TSKILiftParams, kLiftTypeCount> Lifts{};
    std::array<TSKIBuildingParams, kBuildingTypeCount> Buildings{};
    std::array<TSKIVehicleParams, kVehicleTypeCount> Vehicles{};
    int LiftTypesRead = 0, BuildingTypesRead = 0, VehicleTypesRead = 0;
    TSKIGameParams Game{};
};

// Reads Params.ini and GameParams.ini from `dataFolder`. Missing files read as empty.
// List entries beyond a table's capacity are ignored. A numeric value that does not parse or
// lies outside what its field can hold and mean (a negative cost, a zero speed or spacing, a
// capacity beyond the seats, a real that is not finite) takes the key's default. `warnings`
// (if given) gains one line per such case, naming file, section and key.
void LoadCatalogues(const std::filesystem::path& dataFolder, TSKIParameters& out,
                    std::string* warnings = nullptr);
// Reads Options.ini from `saveFolder` (both sections), holding values to their ranges as
// LoadCatalogues does.
void LoadOptions(const std::filesystem::path& saveFolder, TSKIEngineOptions& out,
                 std::string* warnings = nullptr);
// Writes the keys the options window owns, in their order, into Options.ini.
bool SaveOptions(const std::filesystem::path& saveFolder, const TSKIEngineOptions& options,
                 std::string* error = nullptr);
// The view distance a detail level gives (40, 75, 80); other levels keep `current`.
float ViewDistanceForDetail(int detail, float current);

}  // namespace vallorn
