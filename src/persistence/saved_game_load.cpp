// Reading a saved game. The whole file is read and checked first; only a file that passes
// is applied to the engine, so a bad file never leaves a half-loaded park.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <set>
#include <string_view>
#include <unordered_set>

#include "base/ini_file.h"
#include "base/number_format.h"
#include "base/safe_path.h"
#include "engine/arrivals.h"
#include "engine/economy.h"
#include "engine/engine.h"
#include "engine/level_file.h"
#include "engine/overlays.h"
#include "persistence/saved_game.h"
#include "persistence/saved_game_blocks.h"
#include "persistence/saved_game_lines.h"

namespace vallorn {

bool ReadObjectives(TSKIEngine& engine, const TIniFile& file) {
    return vallorn::ReadObjectives(file, engine.Objectives, &engine.LoadError);
}

namespace {

// Everything a saved game holds besides its snow rows, read and checked.
struct TSavedGame {
    std::string World;
    TSKIParkData Park;
    float CamX = -256, CamZ = 256;
    // Progress toward the next accounting hour and history sample; 0 in a file without them.
    float HourClock = 0, HistoryClock = 0;
    // Skiers, buildings and vehicles by their index in the file; a damaged record is empty.
    std::vector<std::optional<TSKISkierRecord>> Skiers;
    std::vector<std::pair<TSectionLine, TSKISectionBlock>> Sections;
    std::vector<std::optional<TSKIBuildingBlock>> Buildings;
    std::vector<std::optional<TSKIVehicleBlock>> Vehicles;
    std::vector<TSKIObjective> Objectives;
    // One line for each damaged record left out.
    std::vector<std::string> Dropped;
};

class TGameReader {
public:
    TGameReader(const TIniFile& file, TSKIRandom& rng) : f_(file), rng_(rng) {}

    bool Read(TSavedGame& g) {
        g.World = f_.ReadString("SKIWorld", "WorldName");
        if (g.World.empty()) return Fail("it names no level (SKIWorld/WorldName)");
        if (auto why = FileNameProblem(g.World))
            return Fail("its level name (SKIWorld/WorldName) cannot name a file: " + *why);
        if (!ReadPark(g) || !CountWithin("StreamSKISkiers", "skiers", kMaxParkSkiers) ||
            !CountWithin("SKIBuildings", "buildings", kMaxBuildings) ||
            !CountWithin("SKIVehicles", "vehicles", kMaxVehicles) || !ReadSections(g))
            return false;
        ReadRecords("StreamSKISkiers", "", "skier", g.Skiers, UnpackSkier, g.Dropped);
        ReadRecords("SKIBuildings", "s", "building", g.Buildings, UnpackBuilding, g.Dropped);
        ReadRecords("SKIVehicles", "s", "vehicle", g.Vehicles, UnpackVehicle, g.Dropped);
        return vallorn::ReadObjectives(f_, g.Objectives, &error);
    }
    std::string error;

private:
    bool Fail(const std::string& why) {
        error = why;
        return false;
    }
    bool Int(const char* key, int64_t def, int64_t lo, int64_t hi, int64_t& v) {
        v = f_.ReadInteger(kPark, key, def);
        if (v >= lo && v <= hi) return true;
        return Fail(std::string(key) + " " + std::to_string(v) + " is out of range " +
                    std::to_string(lo) + ".." + std::to_string(hi));
    }
    // A real that does not parse reads as its default; one beyond a float's range is refused
    // (ReadPark fails on the first such key).
    float Real(const char* key, double def) {
        const double v = f_.ReadFloat(kPark, key, def);
        if (std::isfinite(float(v))) return float(v);
        if (std::isfinite(v) && error.empty()) {
            char text[32];
            std::snprintf(text, sizeof text, "%g", v);
            error = std::string(key) + " " + text + " is out of the range of a real";
        }
        return float(def);
    }

    bool ReadPark(TSavedGame& g) {
        for (const TParkKey* key : SavedParkKeys()) {
            if (!ReadParkKey(*key, g)) return false;
        }
        return error.empty();
    }

    bool ReadParkKey(const TParkKey& key, TSavedGame& g) {
        switch (key.Kind) {
            case TParkKeyKind::CameraX:
                g.CamX = std::clamp(Real(key.Name, key.Default), kWorldMinX, kWorldMaxX);
                return true;
            case TParkKeyKind::CameraZ:
                g.CamZ = std::clamp(Real(key.Name, key.Default), kWorldMinZ, kWorldMaxZ);
                return true;
            case TParkKeyKind::HourClock:
            case TParkKeyKind::HistoryClock: {
                // A negative value would hold the hour back for ever: it starts afresh.
                const float v = std::max(Real(key.Name, key.Default), 0.0f);
                (key.Kind == TParkKeyKind::HourClock ? g.HourClock : g.HistoryClock) = v;
                return true;
            }
            case TParkKeyKind::Weather:
                // The default when missing, a random value when the text does not parse, held
                // between 0 and 1.
                g.Park.ParkWeather = float(key.Default);
                if (const std::string* w = f_.FindValue(kPark, key.Name)) {
                    const auto v = ParseReal(*w);
                    g.Park.ParkWeather = v && std::isfinite(*v) ? float(std::clamp(*v, 0.0, 1.0))
                                                                : float(rng_.Uniform());
                }
                return true;
            default:
                break;
        }
        bool ok = true;
        VisitParkField(key, g.Park, [&](auto& value) {
            using T = std::remove_cvref_t<decltype(value)>;
            if constexpr (std::is_same_v<T, std::string>) {
                value = f_.ReadString(kPark, key.Name, value);  // a fresh record: its default
            } else if constexpr (std::is_same_v<T, float>) {
                value = Real(key.Name, key.Default);
            } else {
                int64_t v = 0;
                ok = Int(key.Name, int64_t(key.Default), key.Min, key.Max, v);
                if (ok) value = T(v);
            }
        });
        return ok;
    }

    bool Block(const char* section, const std::string& key, const char* what, TSKIBlock& b) {
        if (f_.ReadBinary(section, key, b)) return true;
        return Fail(std::string(what) + " " + key + " in " + section +
                    " is missing or not hexadecimal");
    }

    // A section of the file with more records than a park holds refuses the file.
    bool CountWithin(const char* section, const char* what, int64_t most) {
        const size_t n = f_.SectionKeys(section).size();
        if (int64_t(n) <= most) return true;
        return Fail(section + std::string(" holds ") + std::to_string(n) + " " + what +
                    ", more than a park holds (" + std::to_string(most) + ")");
    }

    bool ReadSections(TSavedGame& g) {
        const size_t n = f_.SectionKeys("SKISections").size();
        TSKIBlock b;
        int64_t lifts = 0, nodes = 0;
        double area = 0;
        for (size_t i = 0; i < n; ++i) {
            const std::string line = f_.ReadString("SKISections", std::to_string(i));
            if (line.empty()) continue;
            TSectionLine s;
            std::string why;
            const TLineKind kind = ParseSectionLine(line, s, why);
            if (kind == TLineKind::Ignored) continue;
            if (kind == TLineKind::Bad)
                return Fail("section line " + std::to_string(i) + " is malformed: " + why);
            lifts += s.Lift ? 1 : 0;
            nodes += int64_t(s.Nodes.size());
            area += SlopeArea(s.Nodes);
            if (lifts > kMaxLifts)
                return Fail("it holds more lifts than a park holds (" + std::to_string(kMaxLifts) +
                            ")");
            if (nodes > kMaxSlopeNodes || area > kMaxSlopeArea)
                return Fail(
                    "its slopes have more nodes or cover more ground than a park holds"
                    " (section line " +
                    std::to_string(i) + ")");
            TSKISectionBlock sb;
            if (!Block("SKISections", std::to_string(i) + "s", "section", b)) return false;
            if (!UnpackSection(b, sb, why))
                return Fail("section " + std::to_string(i) + ": " + why);
            g.Sections.emplace_back(std::move(s), sb);
        }
        return true;
    }

    // Records "0<suffix>" .. "n-1<suffix>" of a section of n keys. A record that is missing,
    // not hexadecimal or does not unpack is left out with a line in `dropped`.
    template <typename T>
    void ReadRecords(const char* section, const char* suffix, const char* what,
                     std::vector<std::optional<T>>& out,
                     bool (*unpack)(const TSKIBlock&, T&, std::string&),
                     std::vector<std::string>& dropped) {
        const size_t n = f_.SectionKeys(section).size();
        out.assign(n, std::nullopt);
        TSKIBlock b;
        for (size_t i = 0; i < n; ++i) {
            const std::string key = std::to_string(i) + suffix;
            std::string why = "it is missing or not hexadecimal";
            T record;
            if (f_.ReadBinary(section, key, b) && unpack(b, record, why)) {
                out[i] = record;
                continue;
            }
            dropped.push_back(std::string(what) + " " + key + " in " + section +
                              " is left out: " + why);
        }
    }

    const TIniFile& f_;
    TSKIRandom& rng_;
};

// Whether a vehicle of its type may live at a building of that type (and slot).
bool VehicleFits(uint8_t vehicle, uint8_t building, int32_t slot) {
    switch (vehicle) {
        case kVehicleSnowmobile:
            return building == kBuildRescueStation || building == kBuildSkiPatrol;
        case kVehicleHelicopter:
            return building == kBuildHospital && slot <= 0;
        case kVehicleSnowcat:
            return building == kBuildSnowcatGarage;
        default:
            return false;
    }
}

// A vehicle through the entities' own creation, which refuses a home that does not fit. A
// saved vehicle keeps its place; one added to complete a fleet starts parked on its seat.
bool AddVehicle(TSKIEngine& e, uint8_t type, int32_t home, int32_t slot, const TSKIVector& position,
                const TSKIVector& heading, bool keepPlace, int32_t patient = -1) {
    TSKIVehicleRecord r;
    r.Type = type;
    r.Building = home;
    r.Seat = slot;
    r.Position = position;
    r.Direction = heading;
    r.PatientIndex = patient;
    r.KeepPlace = keepPlace;
    return e.CreateVehicle(r) != nullptr;
}

void ApplySnow(TSKIEngine& e, const TIniFile& file) {
    for (int i = 0; i <= kGridSize; ++i) {
        const std::string* row = file.FindValue("SKISnow", std::to_string(i));
        if (!row || i >= kGridSize) continue;
        const size_t n = std::min(row->size(), size_t(kGridSize));
        TerrainCell* cells = &e.Cell(i, 0);
        for (size_t j = 0; j < n; ++j) {
            const char ch = (*row)[j];
            if (ch < '0' || ch > '7') continue;
            const int d = ch - '0';
            TerrainCell& c = cells[j];
            c.NaturalSnow = (d & 1) != 0;
            c.Groomed = (d & 2) != 0;
            if (d & 4) c.Tree = true;
        }
    }
}

}  // namespace

bool LoadGameFile(TSKIEngine& engine, const std::filesystem::path& path) {
    engine.Busy = true;
    engine.LoadError.clear();
    engine.LoadWarnings.clear();
    engine.LoadDropped = 0;
    engine.Dialogs->SetBusyCursor(true);
    auto fail = [&](const std::string& why) {
        engine.LoadError = why;
        engine.LoadWarnings.clear();
        engine.LoadDropped = 0;
        ClearLevel(engine);
        engine.ClearContainers();
        engine.Objectives.clear();
        engine.Park = engine.StartOfDay = TSKIParkData{};
        engine.Busy = false;
        engine.Dialogs->SetBusyCursor(false);
        return false;
    };

    // 1. The whole file, checked.
    const TIniFile file(path);
    if (!file.Exists()) {
        // A file that is there but cannot be taken (a device, too large) says why.
        std::error_code ec;
        if (!std::filesystem::exists(path, ec) || file.ReadError().empty())
            return fail("saved game " + path.string() + " not found");
        return fail(file.ReadError());
    }
    TSavedGame g;
    TGameReader reader(file, engine.Rng);
    if (!reader.Read(g)) return fail("saved game " + path.string() + ": " + reader.error);
    engine.LoadDropped = int32_t(g.Dropped.size());
    engine.LoadWarnings = std::move(g.Dropped);

    // 2. Its level.
    const TSKILevelLoadResult level =
        LoadLevelFile(engine, g.World, g.Park.ParkMissionIndex == kMissionAddon,
                      TSKIDisplayOnLoad::Reset, TSKIOverlaysOnLoad::Later);
    if (!level.ok()) {
        return fail("saved game " + path.string() + ": level '" + g.World +
                    "' cannot be loaded: " + (level.error.empty() ? "missing" : level.error));
    }
    engine.Running = false;

    // 3. Park keys, camera and the loan interest of the profile's terms.
    const TSKIParkData& p = g.Park;
    for (const TParkKey* key : SavedParkKeys()) CopyParkField(*key, p, engine.Park);
    engine.Park.ParkLoanInterest = DailyLoanInterest(engine);
    engine.Viewpoint.FocusX = g.CamX;
    engine.Viewpoint.FocusZ = g.CamZ;
    engine.Viewpoint.Height = 500;

    // 4. Snow rows over what the level gave.
    ApplySnow(engine, file);

    // 5. Skiers inside the grid; the file's index of each one maps to the restored skier.
    std::vector<TSKISkier*> skiers(g.Skiers.size(), nullptr);
    for (size_t k = 0; k < g.Skiers.size(); ++k) {
        if (!g.Skiers[k] || !engine.PositionInGrid(g.Skiers[k]->Position)) continue;
        engine.Skiers.push_back(std::make_unique<TSKISkier>(engine, *g.Skiers[k]));
        skiers[k] = engine.Skiers.back().get();
    }

    // 6. Slopes and lifts with their carriers and riders.
    TSeated seated;
    for (const auto& [line, block] : g.Sections)
        ApplySection(engine, line, block, skiers, &seated, &engine.LoadWarnings);

    // 7. Buildings inside the grid; customers restart outside, so no seat is taken.
    std::vector<int32_t> buildings(g.Buildings.size(), -1);
    for (size_t k = 0; k < g.Buildings.size(); ++k) {
        if (!g.Buildings[k]) continue;
        TSKIBuildingBlock b = *g.Buildings[k];
        if (!engine.PositionInGrid(b.Record.Position)) continue;
        b.Record.Occupants = 0;
        // Restored as placed, without the placement's own extras: its vehicles come from
        // the file and the fleet completion, and the occupancy view is redrawn once below.
        auto building = std::make_unique<TSKIBuilding>(engine);
        building->Init(b.Record);
        building->CostsForgotten = b.CostsForgotten;
        TSKIBuilding* created = building.get();
        engine.Buildings.push_back(std::move(building));
        TerrainCell& centre = engine.Cell(created->CellI, created->CellJ);
        centre.Kind = kCellBuilding;
        centre.Building = int32_t(engine.Buildings.size() - 1);
        // An area of operations off the grid becomes the building's own cell.
        const bool area = engine.CellInGrid(b.AreaI, b.AreaJ);
        created->AreaI = area ? b.AreaI : created->CellI;
        created->AreaJ = area ? b.AreaJ : created->CellJ;
        buildings[k] = int32_t(engine.Buildings.size()) - 1;
    }

    // 8. Vehicles whose home fits them, one to a slot, then the fleets completed.
    std::set<std::pair<int32_t, int32_t>> taken;  // (home, slot)
    for (const auto& saved : g.Vehicles) {
        if (!saved) continue;
        const TSKIVehicleBlock& v = *saved;
        if (v.Home < 0 || size_t(v.Home) >= buildings.size() || buildings[size_t(v.Home)] < 0)
            continue;
        const int32_t home = buildings[size_t(v.Home)];
        if (!VehicleFits(v.Type, engine.Buildings[size_t(home)]->Type, v.Slot)) continue;
        if (taken.count({home, v.Slot})) continue;
        // A rescue goes on with its patient, found by the index the skier has now.
        const bool named = v.Patient >= 0 && size_t(v.Patient) < skiers.size();
        const TSKISkier* patient = named ? skiers[size_t(v.Patient)] : nullptr;
        if (AddVehicle(engine, v.Type, home, v.Slot, v.Position, v.Heading, true,
                       patient ? engine.IndexOf(patient) : -1))
            taken.emplace(home, v.Slot);
    }
    // A fleet short of its number gets a vehicle on every free seat of the fleet.
    for (size_t b = 0; b < engine.Buildings.size(); ++b) {
        const TSKIFleet fleet = FleetOf(*engine.Buildings[b]);
        const uint8_t type = engine.Buildings[b]->Type;
        for (int32_t slot = 0; slot < fleet.Size; ++slot) {
            if (!VehicleFits(fleet.Vehicle, type, slot) || taken.count({int32_t(b), slot}))
                continue;
            AddVehicle(engine, fleet.Vehicle, int32_t(b), slot, engine.Buildings[b]->Position,
                       engine.Buildings[b]->Direction, false);
        }
    }

    // 9. History, objectives, views, navigation and parking.
    for (auto& series : engine.History) series.clear();
    for (int k = 0; k < kHistoryInUse; ++k) engine.History[size_t(k)].push_back(0);
    engine.Objectives = std::move(g.Objectives);
    // The park state behind the overlays: the snow makers' reach (the slope paint and the
    // object imprint are only marked for the view). The navigation rebuild marks the occupied
    // cells, which fells the trees under the buildings.
    for (TSKIOverlay o :
         {TSKIOverlay::SnowOverlay, TSKIOverlay::SlopePaint, TSKIOverlay::ObjectImprint})
        RebuildOverlay(engine, o);
    engine.RebuildNavigation();
    // The environmental damage: the trees the park has felled since the level was made.
    engine.CountTreesFelled();
    AllocateParking(engine);
    // The simulated time gathered toward the next tick starts afresh: the first tick of a
    // loaded park comes a whole tick after the load. The accounting hour and the history
    // interval go on from where the saved park was.
    engine.TickAccumulator = 0;
    engine.HistoryAccumulator = g.HistoryClock;
    engine.HourAccumulator = g.HourClock;
    engine.StartOfDay = TSKIParkData{};
    engine.StartOfDay.ParkTime = -1;

    // 10. Zoom-out limit by the kind of game.
    const int32_t mission = engine.Park.ParkMissionIndex;
    engine.Viewpoint.MaxDistance = mission == 0 ? 200.0f : mission == 1 ? 400.0f : 1000.0f;

    engine.Dialogs->SetBusyCursor(false);
    engine.Busy = false;
    engine.Running = true;
    return true;
}

}  // namespace vallorn
