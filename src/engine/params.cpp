#include "base/params.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "base/ini_file.h"
#include "base/number_format.h"
#include "engine/engine.h"
#include "engine/params.h"

namespace fs = std::filesystem;

namespace vallorn {

namespace {

// What a numeric key of the parameter files may hold, in the game's units (after the
// thousandths division): Min to Max, both included unless AboveMin (divisors, speeds and
// distances that must not be zero). Integer keys are also held to their field's type. A value
// outside its range, or one that does not parse, takes the key's default with a warning.
struct TParamRange {
    std::string_view Key;  // seat and offset keys match by their name before the index
    double Min, Max;
    bool AboveMin = false;
};

constexpr double kMoney = 1000000;  // one price or cost; sums of them stay within int32
constexpr double kReach = 4096;     // a distance in world units (the map is 2048 across)
constexpr double kOffset = 1000;    // a seat, door, gate or pole offset or height
constexpr double kRate = 1000;      // a change of needs, rating or popularity per tick
constexpr double kWeight = 100;     // a quality or price factor

constexpr TParamRange kRanges[] = {
    // Params.ini, lift types.
    {"LiftSpeed", 0, 100, true},
    {"LiftPoleMinDist", 0, kReach, true},
    {"LiftPoleMaxDist", 0, kReach, true},
    {"LiftGondoleCapacity", 1, kLiftSeatOffsets},
    // The carrier count is the lift's length over the spacing: not below a missing key's 0.01.
    {"LiftGondoleSpacing", 0.01, kReach},
    {"LiftPoleHeight", 0, kOffset},
    {"LiftStationHeight", 0, kOffset},
    {"LiftLineDist", 0, kOffset},
    {"LiftGondoleOffsetsX", -kOffset, kOffset},
    {"LiftGondoleOffsetsY", -kOffset, kOffset},
    {"LiftGondoleOffsetsZ", -kOffset, kOffset},
    {"LiftColdFactor", -kRate, kRate},
    {"LiftEnergyFactor", -kRate, kRate},
    {"LiftDefaultPrice", 0, kMoney},
    {"LiftCostPerPole", 0, kMoney},
    {"LiftCostPerGondole", 0, kMoney},
    {"LiftRunningCost", 0, kMoney},
    {"LiftRating", 0, kRate},
    {"LiftMaxLength", 0, kReach, true},
    {"LiftServiceQuality", 0, kWeight},
    {"LiftGatePosX", -kOffset, kOffset},
    {"LiftGatePosZ", -kOffset, kOffset},
    {"LiftShadowWidth", 0, 255},
    {"LiftShadowHeight", 0, 255},
    {"LiftShadowRect", 0, 255},
    // Params.ini, building types.
    {"BuildSubType", 0, 255},
    {"BuildCapacity", 0, 65535},
    {"BuildCost", 0, kMoney},
    {"BuildServiceCost", 0, kMoney},
    {"BuildSize", 1, 64},
    {"BuildRefillHappines", -kRate, kRate},
    {"BuildRefillCold", -kRate, kRate},
    {"BuildRefillEnergy", -kRate, kRate},
    {"BuildRefillHunger", -kRate, kRate},
    {"BuildSeatVX", -kOffset, kOffset},
    {"BuildSeatVY", -kOffset, kOffset},
    {"BuildSeatVZ", -kOffset, kOffset},
    {"BuildRating", 0, kRate},
    {"BuildRunningCost", 0, kMoney},
    {"BuildDoorVX", -kOffset, kOffset},
    {"BuildDoorVZ", -kOffset, kOffset},
    {"BuildServiceQuality", 0, kWeight},
    {"BuildShadowWidth", 0, 255},
    {"BuildShadowHeight", 0, 255},
    {"BuildShadowRect", 0, 255},
    // Params.ini, vehicle types.
    {"VehSpeed", 0, 100, true},
    {"VehServiceFactor", 0, kRate, true},
    // GameParams.ini.
    {"GameTickTime", 0, 3600, true},
    {"GameSlopeColdFactor", -kRate, kRate},
    {"GameSlopeEnergyFactor", -kRate, kRate},
    {"GameWaitColdFactor", -kRate, kRate},
    {"GameWaitEnergyFactor", -kRate, kRate},
    {"GameHungerFactor", -kRate, kRate},
    {"GameEnjoySlopeFactor", -kRate, kRate},
    {"GameEnjoySnowQualityFactor", -kRate, kRate},
    {"GameUnHappyWaitFactor", -kRate, kRate},
    {"GameMaxProxyCount", 0, 10000000},
    {"GameHistoryInterval", 0, 1000000, true},
    {"GameSlopeRating", 0, kRate},
    {"GameRatingLeftUnhappyPenalty", 0, kRate},
    {"GameRatingLeftUnhappyCooldown", 0, kRate},
    {"GameRatingLeftDiedPenalty", 0, kRate},
    {"GameRatingLeftDiedCooldown", 0, kRate},
    {"GameDieFactor", 0, kRate},
    {"GameDayLength", 1, 1000000},
    {"GameDaysInSeason", 1, 10000},
    {"GameTreePrice", 0, kMoney},
    {"GameUpgradeCost", 0, kWeight},
    {"GameTooExpensivePenalty", 0, kRate},
    {"GamePopularityCooldown", 0, kRate},
    {"GameSkiersPerParkingLot", 0, 10000},
    // Options.ini: the ranges of the options window's controls, with room to spare.
    {"EngineSoundVolume", 0, 1},
    {"EngineInvertMouseZoom", -1, 1},
    {"EngineMouseRotSpeed", 0, 100},
    {"EngineMousePanSpeed", 0, 1},
    {"EngineMouseZoomSpeed", 0, 2},
    {"EngineDetail", 0, 255},
};

// The range of a key; a key the table does not name only has to be finite.
TParamRange RangeOf(std::string_view key) {
    const size_t stem = key.find_last_not_of("0123456789") + 1;
    for (const TParamRange& r : kRanges) {
        if (r.Key == key || r.Key == key.substr(0, stem)) return r;
    }
    return {key, -HUGE_VAL, HUGE_VAL};
}

// Reads the numeric keys of one parameter file, holding each to its range.
class TParamReader {
public:
    // `scale` divides real values: 1000 for the thousandths of the data files, else 1.
    TParamReader(const TIniFile& ini, std::string file, double scale, std::string* warnings)
        : ini_(ini), file_(std::move(file)), scale_(scale), warnings_(warnings) {}

    float Real(const std::string& section, std::string_view key, std::string_view defText) const {
        const double def = ParseReal(defText).value_or(0.0) / scale_;
        const std::string* text = ini_.FindValue(section, key);
        if (!text) return float(def);
        const std::optional<double> parsed = ParseReal(*text);
        if (!parsed) return Refuse(section, key, *text, "is not a number", defText), float(def);
        const TParamRange r = RangeOf(key);
        // Checked also as the float it becomes: a tiny speed must not round to zero.
        const double value = *parsed / scale_;
        if (!Within(r, value, r.Min, r.Max) || !Within(r, double(float(value)), r.Min, r.Max)) {
            Refuse(section, key, *text, Limits(r, r.Min * scale_, r.Max * scale_), defText);
            return float(def);
        }
        return float(value);
    }

    template <typename T>
    T Int(const std::string& section, std::string_view key, T def) const {
        const std::string* text = ini_.FindValue(section, key);
        if (!text) return def;
        const std::string defText = std::to_string(def);
        const std::optional<int64_t> parsed = ParseInteger(*text);
        if (!parsed) return Refuse(section, key, *text, "is not a whole number", defText), def;
        const TParamRange r = RangeOf(key);
        const double lo = std::max(r.Min, double(std::numeric_limits<T>::min()));
        const double hi = std::min(r.Max, double(std::numeric_limits<T>::max()));
        if (!Within(r, double(*parsed), lo, hi)) {
            Refuse(section, key, *text, Limits(r, lo, hi), defText);
            return def;
        }
        return T(*parsed);
    }

    bool Bool(const std::string& section, std::string_view key, bool def) const {
        const std::string* text = ini_.FindValue(section, key);
        if (!text) return def;
        const std::optional<int64_t> parsed = ParseInteger(*text);
        if (!parsed) return Refuse(section, key, *text, "is not 0 or 1", def ? "1" : "0"), def;
        return *parsed != 0;
    }

    std::string Text(const std::string& section, std::string_view key) const {
        return ini_.ReadString(section, key);
    }

private:
    static bool Within(const TParamRange& r, double v, double lo, double hi) {
        return std::isfinite(v) && v >= lo && v <= hi && !(r.AboveMin && v == lo);
    }
    static std::string Limits(const TParamRange& r, double lo, double hi) {
        if (!std::isfinite(lo) || !std::isfinite(hi)) return "is not a finite number";
        return std::string(r.AboveMin ? "must be above " : "must be from ") + FormatReal(lo) +
               (r.AboveMin ? " and at most " : " to ") + FormatReal(hi);
    }
    void Refuse(const std::string& section, std::string_view key, const std::string& text,
                const std::string& why, std::string_view defText) const {
        if (!warnings_) return;
        // A long or strange value is shown only in part.
        std::string shown = text.substr(0, 40);
        for (char& c : shown)
            if (static_cast<unsigned char>(c) < 32) c = '?';
        *warnings_ += file_ + " [" + section + "] " + std::string(key) + "=" + shown + ": " + why +
                      "; the default " + std::string(defText) + " is used\n";
    }

    const TIniFile& ini_;
    std::string file_;
    double scale_;
    std::string* warnings_;
};

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

void ReadLift(const TParamReader& in, const std::string& s, TSKILiftParams& p) {
    p.Name = s;
    p.Speed = in.Real(s, "LiftSpeed", "10");
    p.OnGround = in.Bool(s, "LiftOnGround", true);
    p.PoleMinDist = in.Real(s, "LiftPoleMinDist", "10");
    p.PoleMaxDist = in.Real(s, "LiftPoleMaxDist", "30");
    p.GondoleCapacity = in.Int<uint8_t>(s, "LiftGondoleCapacity", 1);
    p.GondoleSpacing = in.Real(s, "LiftGondoleSpacing", "10");
    p.PoleHeight = in.Real(s, "LiftPoleHeight", "10");
    p.StationHeight = in.Real(s, "LiftStationHeight", "10");
    p.LineDist = in.Real(s, "LiftLineDist", "2");
    p.GondoleOffsets[0] = {in.Real(s, "LiftGondoleOffsetsX0", "0"),
                           in.Real(s, "LiftGondoleOffsetsY0", "-2"),
                           in.Real(s, "LiftGondoleOffsetsZ0", "0"), 0};
    for (int k = 1; k < kLiftSeatOffsets; ++k) {
        const std::string n = std::to_string(k);
        p.GondoleOffsets[k] = {in.Real(s, "LiftGondoleOffsetsX" + n, "0"),
                               in.Real(s, "LiftGondoleOffsetsY" + n, "0"),
                               in.Real(s, "LiftGondoleOffsetsZ" + n, "0"), 0};
    }
    p.ColdFactor = in.Real(s, "LiftColdFactor", "0");
    p.EnergyFactor = in.Real(s, "LiftEnergyFactor", "0");
    p.DefaultPrice = in.Int<int32_t>(s, "LiftDefaultPrice", 10);
    p.CostPerPole = in.Int<int32_t>(s, "LiftCostPerPole", 10000);
    p.CostPerGondole = in.Int<int32_t>(s, "LiftCostPerGondole", 1000);
    p.RunningCost = in.Int<int32_t>(s, "LiftRunningCost", 1);
    p.Rating = in.Real(s, "LiftRating", "0");
    p.ModelHiStart = in.Text(s, "LiftMHStart");
    p.ModelHiEnd = in.Text(s, "LiftMHEnd");
    p.ModelHiPole = in.Text(s, "LiftMHPole");
    p.ModelHiGondole = in.Text(s, "LiftMHGondole");
    p.ModelLoStart = in.Text(s, "LiftMLStart");
    p.ModelLoEnd = in.Text(s, "LiftMLEnd");
    p.ModelLoPole = in.Text(s, "LiftMLPole");
    p.ModelLoGondole = in.Text(s, "LiftMLGondole");
    p.MaxLength = in.Real(s, "LiftMaxLength", "500");
    p.ServiceQuality = in.Real(s, "LiftServiceQuality", "1");
    p.GatePosX = in.Real(s, "LiftGatePosX", "0");
    p.GatePosZ = in.Real(s, "LiftGatePosZ", "0");
    p.Description = in.Text(s, "LiftDescription");
    p.DisplayName = in.Text(s, "LiftName");
    p.ShadowWidth = in.Int<uint8_t>(s, "LiftShadowWidth", 0);
    p.ShadowHeight = in.Int<uint8_t>(s, "LiftShadowHeight", 0);
    p.ShadowRect = in.Int<uint8_t>(s, "LiftShadowRect", 0);
}

void ReadBuilding(const TParamReader& in, const std::string& s, TSKIBuildingParams& p,
                  std::string* warnings) {
    p.TypeString = in.Text(s, "BuildTypeString");
    p.Category = BuildingCategory(p.TypeString);
    p.Name = in.Text(s, "BuildName");
    p.SubType = in.Int<uint8_t>(s, "BuildSubType", 0);
    p.Capacity = in.Int<uint16_t>(s, "BuildCapacity", 0);
    p.ModelHi = in.Text(s, "BuildModelHi");
    p.ModelLow = in.Text(s, "BuildModelLow");
    p.Cost = in.Int<int16_t>(s, "BuildCost", 1000);
    p.ServiceCost = in.Int<int16_t>(s, "BuildServiceCost", 10);
    p.Size = in.Int<uint8_t>(s, "BuildSize", 1);
    p.RefillHappiness = in.Real(s, "BuildRefillHappines", "0");
    p.RefillCold = in.Real(s, "BuildRefillCold", "0");
    p.RefillEnergy = in.Real(s, "BuildRefillEnergy", "0");
    p.RefillHunger = in.Real(s, "BuildRefillHunger", "0");
    if (p.Capacity > kBuildingSeatsMax && warnings) {
        *warnings += "Params.ini [" + s + "] BuildCapacity=" + std::to_string(p.Capacity) +
                     ": seats are read only up to " + std::to_string(kBuildingSeatsMax) + "\n";
    }
    const int seats = std::min<int>(p.Capacity, kBuildingSeatsMax);
    for (int k = 0; k < seats; ++k) {
        const std::string n = std::to_string(k);
        p.Seats[k] = {in.Real(s, "BuildSeatVX" + n, "0"), in.Real(s, "BuildSeatVY" + n, "0"),
                      in.Real(s, "BuildSeatVZ" + n, "0"), 0};
    }
    p.SeatsVisible = in.Bool(s, "BuildSeatsVisible", false);
    p.Rating = in.Real(s, "BuildRating", "0");
    p.RunningCost = in.Int<int16_t>(s, "BuildRunningCost", 1);
    p.Services = 0;
    if (p.RefillHappiness > 0) p.Services |= kServiceHappiness;
    if (p.RefillHunger > 0) p.Services |= kServiceHunger;
    if (p.RefillCold > 0) p.Services |= kServiceCold;
    if (p.RefillEnergy > 0) p.Services |= kServiceEnergy;
    p.HasDoor = in.Bool(s, "BuildDoor", false);
    if (p.HasDoor) {
        p.DoorPosition = {in.Real(s, "BuildDoorVX", "0"), 0, in.Real(s, "BuildDoorVZ", "0"), 0};
    }
    p.ServiceQuality = in.Real(s, "BuildServiceQuality", "1");
    p.SitAnimation = in.Bool(s, "BuildSitAnim", false);
    p.Description = in.Text(s, "BuildDescription");
    p.ShadowWidth = in.Int<uint8_t>(s, "BuildShadowWidth", 0);
    p.ShadowHeight = in.Int<uint8_t>(s, "BuildShadowHeight", 0);
    p.ShadowRect = in.Int<uint8_t>(s, "BuildShadowRect", 0);
}

void ReadVehicle(const TParamReader& in, const std::string& s, TSKIVehicleParams& p) {
    p.Speed = in.Real(s, "VehSpeed", "5");
    p.ServiceFactor = in.Real(s, "VehServiceFactor", "10");
    p.ModelHi = in.Text(s, "VehModelHi");
    p.ModelLow = in.Text(s, "VehModelLow");
}

void ReadGame(const TParamReader& in, TSKIGameParams& g) {
    const std::string s = "GameParams";
    g.TickTime = in.Real(s, "GameTickTime", "1");
    g.SlopeColdFactor = in.Real(s, "GameSlopeColdFactor", "0,1");
    g.SlopeEnergyFactor = in.Real(s, "GameSlopeEnergyFactor", "-0,1");
    g.WaitColdFactor = in.Real(s, "GameWaitColdFactor", "-0,1");
    g.WaitEnergyFactor = in.Real(s, "GameWaitEnergyFactor", "0,1");
    g.HungerFactor = in.Real(s, "GameHungerFactor", "-0,05");
    g.EnjoySlopeFactor = in.Real(s, "GameEnjoySlopeFactor", "0,1");
    g.EnjoySnowQualityFactor = in.Real(s, "GameEnjoySnowQualityFactor", "0,2");
    g.UnHappyWaitFactor = in.Real(s, "GameUnHappyWaitFactor", "-0,2");
    g.MaxProxyCount = in.Int<int32_t>(s, "GameMaxProxyCount", 10000);
    g.HistoryInterval = in.Real(s, "GameHistoryInterval", "60");
    g.SlopeRating = in.Real(s, "GameSlopeRating", "1");
    g.RatingLeftUnhappyPenalty = in.Real(s, "GameRatingLeftUnhappyPenalty", "2");
    g.RatingLeftUnhappyCooldown = in.Real(s, "GameRatingLeftUnhappyCooldown", "0,01");
    g.RatingLeftDiedPenalty = in.Real(s, "GameRatingLeftDiedPenalty", "30");
    g.RatingLeftDiedCooldown = in.Real(s, "GameRatingLeftDiedCooldown", "0,01");
    g.DieFactor = in.Real(s, "GameDieFactor", "1");
    g.DayLength = in.Int<int32_t>(s, "GameDayLength", 600);
    g.DaysInSeason = in.Int<int32_t>(s, "GameDaysInSeason", 30);
    g.TreePrice = in.Int<int32_t>(s, "GameTreePrice", 100);
    g.UpgradeCost = in.Real(s, "GameUpgradeCost", "0,3");
    g.TooExpensivePenalty = in.Real(s, "GameTooExpensivePenalty", "2");
    g.PopularityCooldown = in.Real(s, "GamePopularityCooldown", "0,01");
    g.SkiersPerParkingLot = in.Int<int32_t>(s, "GameSkiersPerParkingLot", 50);
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
    const TParamReader in(params, "Params.ini", 1000.0, warnings);
    auto lifts = ReadList(params, "Lifts", kLiftTypeCount, warnings);
    for (size_t i = 0; i < lifts.size(); ++i) ReadLift(in, lifts[i], out.Lifts[i]);
    out.LiftTypesRead = int(lifts.size());
    auto buildings = ReadList(params, "Buildings", kBuildingTypeCount, warnings);
    for (size_t i = 0; i < buildings.size(); ++i) {
        ReadBuilding(in, buildings[i], out.Buildings[i], warnings);
    }
    out.BuildingTypesRead = int(buildings.size());
    auto vehicles = ReadList(params, "Vehicles", kVehicleTypeCount, warnings);
    for (size_t i = 0; i < vehicles.size(); ++i) ReadVehicle(in, vehicles[i], out.Vehicles[i]);
    out.VehicleTypesRead = int(vehicles.size());

    const TIniFile game(dataFolder / "GameParams.ini");
    ReadGame(TParamReader(game, "GameParams.ini", 1000.0, warnings), out.Game);
}

void LoadOptions(const fs::path& saveFolder, TSKIEngineOptions& o, std::string* warnings) {
    const TIniFile ini(saveFolder / "Options.ini");
    const TParamReader in(ini, "Options.ini", 1.0, warnings);
    const std::string s = "EngineParams";
    o.ShowFPS = in.Bool(s, "EngineShowFPS", false);
    o.SoundOn = in.Bool(s, "EngineSoundOn", true);
    o.SoundVolume = in.Real(s, "EngineSoundVolume", "1");
    o.MusicOn = in.Bool(s, "EngineMusicOn", true);
    o.InvertMouseZoom = in.Real(s, "EngineInvertMouseZoom", "1");
    o.MouseRotSpeed = in.Real(s, "EngineMouseRotSpeed", "20");
    o.MousePanSpeed = in.Real(s, "EngineMousePanSpeed", "0,06");
    o.MouseZoomSpeed = in.Real(s, "EngineMouseZoomSpeed", "1");
    o.FullScreen = in.Bool(s, "EngineFulScreen", true);
    o.Detail = in.Int<uint8_t>(s, "EngineDetail", 1);
    o.EdgeScroll = in.Bool(s, "EngineEdgeScroll", true);
    o.Edit = in.Bool(s, "EngineEdit", false);
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

void LoadParameters(TSKIEngine& engine) {
    engine.ParameterWarnings.clear();
    LoadCatalogues(engine.Folders.Data, engine.Params, &engine.ParameterWarnings);
    LoadOptions(engine.Folders.Save, engine.Options, &engine.ParameterWarnings);
    engine.ViewDistance = ViewDistanceForDetail(engine.Options.Detail, engine.ViewDistance);
}

}  // namespace vallorn
