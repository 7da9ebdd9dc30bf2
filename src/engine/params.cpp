#include "engine/params.h"

#include <string>

#include "engine/engine.h"
#include "persistence/ini_file.h"

namespace fs = std::filesystem;

namespace vallorn {

namespace {

float Thousandths(const TIniFile& ini, const std::string& section, std::string_view key,
                  std::string_view def) {
    return float(ini.ReadThousandths(section, key, def));
}

template <typename T>
T Integer(const TIniFile& ini, const std::string& section, std::string_view key, T def) {
    return T(ini.ReadInteger(section, key, def));
}

// Reads the list section and returns the entries that fit the table; warns about the rest.
std::vector<std::string> ReadList(const TIniFile& ini, std::string_view list, size_t capacity,
                                  std::string* warnings) {
    std::vector<std::string> names = ini.SectionKeys(list);
    if (names.size() > capacity) {
        if (warnings) {
            *warnings += "Params.ini: section " + std::string(list) + " lists " +
                         std::to_string(names.size()) + " types, only the first " +
                         std::to_string(capacity) + " are used\n";
        }
        names.resize(capacity);
    }
    return names;
}

void ReadLift(const TIniFile& ini, const std::string& s, TSKILiftParams& p) {
    p.Name = s;
    p.Speed = Thousandths(ini, s, "LiftSpeed", "10");
    p.OnGround = ini.ReadBool(s, "LiftOnGround", true);
    p.PoleMinDist = Thousandths(ini, s, "LiftPoleMinDist", "10");
    p.PoleMaxDist = Thousandths(ini, s, "LiftPoleMaxDist", "30");
    p.GondoleCapacity = Integer<uint8_t>(ini, s, "LiftGondoleCapacity", 1);
    p.GondoleSpacing = Thousandths(ini, s, "LiftGondoleSpacing", "10");
    p.PoleHeight = Thousandths(ini, s, "LiftPoleHeight", "10");
    p.StationHeight = Thousandths(ini, s, "LiftStationHeight", "10");
    p.LineDist = Thousandths(ini, s, "LiftLineDist", "2");
    p.GondoleOffsets[0] = {Thousandths(ini, s, "LiftGondoleOffsetsX0", "0"),
                           Thousandths(ini, s, "LiftGondoleOffsetsY0", "-2"),
                           Thousandths(ini, s, "LiftGondoleOffsetsZ0", "0"), 0};
    for (int k = 1; k < kLiftSeatOffsets; ++k) {
        const std::string n = std::to_string(k);
        p.GondoleOffsets[k] = {Thousandths(ini, s, "LiftGondoleOffsetsX" + n, "0"),
                               Thousandths(ini, s, "LiftGondoleOffsetsY" + n, "0"),
                               Thousandths(ini, s, "LiftGondoleOffsetsZ" + n, "0"), 0};
    }
    p.ColdFactor = Thousandths(ini, s, "LiftColdFactor", "0");
    p.EnergyFactor = Thousandths(ini, s, "LiftEnergyFactor", "0");
    p.DefaultPrice = Integer<int32_t>(ini, s, "LiftDefaultPrice", 10);
    p.CostPerPole = Integer<int32_t>(ini, s, "LiftCostPerPole", 10000);
    p.CostPerGondole = Integer<int32_t>(ini, s, "LiftCostPerGondole", 1000);
    p.RunningCost = Integer<int32_t>(ini, s, "LiftRunningCost", 1);
    p.Rating = Thousandths(ini, s, "LiftRating", "0");
    p.ModelHiStart = ini.ReadString(s, "LiftMHStart");
    p.ModelHiEnd = ini.ReadString(s, "LiftMHEnd");
    p.ModelHiPole = ini.ReadString(s, "LiftMHPole");
    p.ModelHiGondole = ini.ReadString(s, "LiftMHGondole");
    p.ModelLoStart = ini.ReadString(s, "LiftMLStart");
    p.ModelLoEnd = ini.ReadString(s, "LiftMLEnd");
    p.ModelLoPole = ini.ReadString(s, "LiftMLPole");
    p.ModelLoGondole = ini.ReadString(s, "LiftMLGondole");
    p.MaxLength = Thousandths(ini, s, "LiftMaxLength", "500");
    p.ServiceQuality = Thousandths(ini, s, "LiftServiceQuality", "1");
    p.GatePosX = Thousandths(ini, s, "LiftGatePosX", "0");
    p.GatePosZ = Thousandths(ini, s, "LiftGatePosZ", "0");
    p.Description = ini.ReadString(s, "LiftDescription");
    p.DisplayName = ini.ReadString(s, "LiftName");
    p.ShadowWidth = Integer<uint8_t>(ini, s, "LiftShadowWidth", 0);
    p.ShadowHeight = Integer<uint8_t>(ini, s, "LiftShadowHeight", 0);
    p.ShadowRect = Integer<uint8_t>(ini, s, "LiftShadowRect", 0);
}

void ReadBuilding(const TIniFile& ini, const std::string& s, TSKIBuildingParams& p,
                  std::string* warnings) {
    p.TypeString = ini.ReadString(s, "BuildTypeString");
    p.Category = BuildingCategory(p.TypeString);
    p.Name = ini.ReadString(s, "BuildName");
    p.SubType = Integer<uint8_t>(ini, s, "BuildSubType", 0);
    p.Capacity = Integer<uint16_t>(ini, s, "BuildCapacity", 0);
    p.ModelHi = ini.ReadString(s, "BuildModelHi");
    p.ModelLow = ini.ReadString(s, "BuildModelLow");
    p.Cost = Integer<int16_t>(ini, s, "BuildCost", 1000);
    p.ServiceCost = Integer<int16_t>(ini, s, "BuildServiceCost", 10);
    p.Size = Integer<uint8_t>(ini, s, "BuildSize", 1);
    p.RefillHappiness = Thousandths(ini, s, "BuildRefillHappines", "0");
    p.RefillCold = Thousandths(ini, s, "BuildRefillCold", "0");
    p.RefillEnergy = Thousandths(ini, s, "BuildRefillEnergy", "0");
    p.RefillHunger = Thousandths(ini, s, "BuildRefillHunger", "0");
    if (p.Capacity > kBuildingSeatsMax) {
        if (warnings) {
            *warnings += "Params.ini: " + s + " has capacity " + std::to_string(p.Capacity) +
                         ", seats are read only up to " + std::to_string(kBuildingSeatsMax) + "\n";
        }
    }
    const int seats = std::min<int>(p.Capacity, kBuildingSeatsMax);
    for (int k = 0; k < seats; ++k) {
        const std::string n = std::to_string(k);
        p.Seats[k] = {Thousandths(ini, s, "BuildSeatVX" + n, "0"),
                      Thousandths(ini, s, "BuildSeatVY" + n, "0"),
                      Thousandths(ini, s, "BuildSeatVZ" + n, "0"), 0};
    }
    p.SeatsVisible = ini.ReadBool(s, "BuildSeatsVisible", false);
    p.Rating = Thousandths(ini, s, "BuildRating", "0");
    p.RunningCost = Integer<int16_t>(ini, s, "BuildRunningCost", 1);
    p.Services = 0;
    if (p.RefillHappiness > 0) p.Services |= kServiceHappiness;
    if (p.RefillHunger > 0) p.Services |= kServiceHunger;
    if (p.RefillCold > 0) p.Services |= kServiceCold;
    if (p.RefillEnergy > 0) p.Services |= kServiceEnergy;
    p.HasDoor = ini.ReadBool(s, "BuildDoor", false);
    if (p.HasDoor) {
        p.DoorPosition = {Thousandths(ini, s, "BuildDoorVX", "0"), 0,
                          Thousandths(ini, s, "BuildDoorVZ", "0"), 0};
    }
    p.ServiceQuality = Thousandths(ini, s, "BuildServiceQuality", "1");
    p.SitAnimation = ini.ReadBool(s, "BuildSitAnim", false);
    p.Description = ini.ReadString(s, "BuildDescription");
    p.ShadowWidth = Integer<uint8_t>(ini, s, "BuildShadowWidth", 0);
    p.ShadowHeight = Integer<uint8_t>(ini, s, "BuildShadowHeight", 0);
    p.ShadowRect = Integer<uint8_t>(ini, s, "BuildShadowRect", 0);
}

void ReadVehicle(const TIniFile& ini, const std::string& s, TSKIVehicleParams& p) {
    p.Speed = Thousandths(ini, s, "VehSpeed", "5");
    p.ServiceFactor = Thousandths(ini, s, "VehServiceFactor", "10");
    p.ModelHi = ini.ReadString(s, "VehModelHi");
    p.ModelLow = ini.ReadString(s, "VehModelLow");
}

void ReadGame(const TIniFile& ini, TSKIGameParams& g) {
    const std::string s = "GameParams";
    g.TickTime = Thousandths(ini, s, "GameTickTime", "1");
    g.SlopeColdFactor = Thousandths(ini, s, "GameSlopeColdFactor", "0,1");
    g.SlopeEnergyFactor = Thousandths(ini, s, "GameSlopeEnergyFactor", "-0,1");
    g.WaitColdFactor = Thousandths(ini, s, "GameWaitColdFactor", "-0,1");
    g.WaitEnergyFactor = Thousandths(ini, s, "GameWaitEnergyFactor", "0,1");
    g.HungerFactor = Thousandths(ini, s, "GameHungerFactor", "-0,05");
    g.EnjoySlopeFactor = Thousandths(ini, s, "GameEnjoySlopeFactor", "0,1");
    g.EnjoySnowQualityFactor = Thousandths(ini, s, "GameEnjoySnowQualityFactor", "0,2");
    g.UnHappyWaitFactor = Thousandths(ini, s, "GameUnHappyWaitFactor", "-0,2");
    g.MaxProxyCount = Integer<int32_t>(ini, s, "GameMaxProxyCount", 10000);
    g.HistoryInterval = Thousandths(ini, s, "GameHistoryInterval", "60");
    g.SlopeRating = Thousandths(ini, s, "GameSlopeRating", "1");
    g.RatingLeftUnhappyPenalty = Thousandths(ini, s, "GameRatingLeftUnhappyPenalty", "2");
    g.RatingLeftUnhappyCooldown = Thousandths(ini, s, "GameRatingLeftUnhappyCooldown", "0,01");
    g.RatingLeftDiedPenalty = Thousandths(ini, s, "GameRatingLeftDiedPenalty", "30");
    g.RatingLeftDiedCooldown = Thousandths(ini, s, "GameRatingLeftDiedCooldown", "0,01");
    g.DieFactor = Thousandths(ini, s, "GameDieFactor", "1");
    g.DayLength = Integer<int32_t>(ini, s, "GameDayLength", 600);
    g.DaysInSeason = Integer<int32_t>(ini, s, "GameDaysInSeason", 30);
    g.TreePrice = Integer<int32_t>(ini, s, "GameTreePrice", 100);
    g.UpgradeCost = Thousandths(ini, s, "GameUpgradeCost", "0,3");
    g.TooExpensivePenalty = Thousandths(ini, s, "GameTooExpensivePenalty", "2");
    g.PopularityCooldown = Thousandths(ini, s, "GamePopularityCooldown", "0,01");
    // The calendar divides by these: a file that zeroes them would stop time.
    if (g.DayLength < 1) g.DayLength = 600;
    if (g.DaysInSeason < 1) g.DaysInSeason = 30;
}

}  // namespace

uint8_t BuildingCategory(std::string_view t) {
    if (t == "SnowCannon") return kCategorySnowCannon;
    if (t == "Restaurant") return kCategoryRestaurant;
    if (t == "Rescue") return kCategoryRescue;
    if (t == "Hospital") return kCategoryHospital;
    if (t == "Office") return kCategoryOffice;
    if (t == "SnowCatGarage") return kCategorySnowCatGarage;
    return kCategoryOther;
}

void LoadCatalogues(const fs::path& dataFolder, TSKIParameters& out, std::string* warnings) {
    out = TSKIParameters{};
    const TIniFile params(dataFolder / "Params.ini");
    auto lifts = ReadList(params, "Lifts", kLiftTypeCount, warnings);
    for (size_t i = 0; i < lifts.size(); ++i) ReadLift(params, lifts[i], out.Lifts[i]);
    out.LiftTypesRead = int(lifts.size());
    auto buildings = ReadList(params, "Buildings", kBuildingTypeCount, warnings);
    for (size_t i = 0; i < buildings.size(); ++i) {
        ReadBuilding(params, buildings[i], out.Buildings[i], warnings);
    }
    out.BuildingTypesRead = int(buildings.size());
    auto vehicles = ReadList(params, "Vehicles", kVehicleTypeCount, warnings);
    for (size_t i = 0; i < vehicles.size(); ++i) ReadVehicle(params, vehicles[i], out.Vehicles[i]);
    out.VehicleTypesRead = int(vehicles.size());

    const TIniFile game(dataFolder / "GameParams.ini");
    ReadGame(game, out.Game);
}

void LoadOptions(const fs::path& saveFolder, TSKIEngineOptions& o) {
    const TIniFile ini(saveFolder / "Options.ini");
    const std::string s = "EngineParams";
    o.ShowFPS = ini.ReadBool(s, "EngineShowFPS", false);
    o.SoundOn = ini.ReadBool(s, "EngineSoundOn", true);
    o.SoundVolume = float(ini.ReadFloat(s, "EngineSoundVolume", 1.0));
    o.MusicOn = ini.ReadBool(s, "EngineMusicOn", true);
    o.InvertMouseZoom = float(ini.ReadFloat(s, "EngineInvertMouseZoom", 1.0));
    o.MouseRotSpeed = float(ini.ReadFloat(s, "EngineMouseRotSpeed", 20.0));
    o.MousePanSpeed = float(ini.ReadFloat(s, "EngineMousePanSpeed", 0.06));
    o.MouseZoomSpeed = float(ini.ReadFloat(s, "EngineMouseZoomSpeed", 1.0));
    o.FullScreen = ini.ReadBool(s, "EngineFulScreen", true);
    const int64_t detail = ini.ReadInteger(s, "EngineDetail", 1);
    o.Detail = detail < 0 || detail > 255 ? 1 : uint8_t(detail);
    o.EdgeScroll = ini.ReadBool(s, "EngineEdgeScroll", true);
    o.Edit = ini.ReadBool(s, "EngineEdit", false);
    o.LastProfile = ini.ReadString("Profile", "LastProfile");
}

bool SaveOptions(const fs::path& saveFolder, const TSKIEngineOptions& o, std::string* error) {
    TIniFile ini(saveFolder / "Options.ini");
    const std::string s = "EngineParams";
    ini.WriteBool(s, "EngineMusicOn", o.MusicOn);
    ini.WriteBool(s, "EngineSoundOn", o.SoundVolume > 0);
    ini.WriteFloat(s, "EngineSoundVolume", o.SoundVolume);
    ini.WriteFloat(s, "EngineInvertMouseZoom", o.InvertMouseZoom);
    ini.WriteFloat(s, "EngineMouseRotSpeed", o.MouseRotSpeed);
    ini.WriteFloat(s, "EngineMousePanSpeed", o.MousePanSpeed);
    ini.WriteFloat(s, "EngineMouseZoomSpeed", o.MouseZoomSpeed);
    ini.WriteBool(s, "EngineFulScreen", o.FullScreen);
    ini.WriteInteger(s, "EngineDetail", o.Detail);
    ini.WriteBool(s, "EngineEdgeScroll", o.EdgeScroll);
    return ini.SaveToFile(saveFolder / "Options.ini", error);
}

float ViewDistanceForDetail(int detail, float current) {
    switch (detail) {
        case 0:
            return 40.0f;
        case 1:
            return 75.0f;
        case 2:
            return 80.0f;
        default:
            return current;
    }
}

void TSKIEngine::LoadParameters() {
    ParameterWarnings.clear();
    LoadCatalogues(Folders.Data, Params, &ParameterWarnings);
    LoadOptions(Folders.Save, Options);
    ViewDistance = ViewDistanceForDetail(Options.Detail, ViewDistance);
}

}  // namespace vallorn
