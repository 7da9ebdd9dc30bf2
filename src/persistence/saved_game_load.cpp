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

namespace vallorn {

namespace {

constexpr const char* kPark = "SKIParkData";

// What a park can hold, by the construction tools' own rules. A file that holds more is refused
// as it is read, before anything is built, so that loading takes time and memory by the map,
// whatever the file's size:
// - a lift takes a lower station with its queue's 65 places and an upper station, its line
//   keeps clear of other stations, and no type runs beyond 1,200 units (300 cells);
constexpr int64_t kMaxLifts = 1024;
// - a lift's carriers are spaced along its line both ways: at most 2 x 1,200 / 8 of any type;
constexpr int64_t kMaxCarriers = 512;
// - slope nodes stand 10 units (2.5 cells) or more apart along slopes of three cells' width
//   or more, and slopes never overlap; so the nodes of all the slopes together, and the
//   cells their segments paint (length times width, in cells), stay within the map's
//   262,144 cells, with room to spare for the margins of the paint;
constexpr int64_t kMaxSlopeNodes = 32768;
constexpr double kMaxSlopeArea = 4.0 * double(kGridSize) * double(kGridSize);
// - every building stands on cells of its own, the smallest taking nine of them; each has
//   a fleet of at most 31 vehicles (the highest slot number is 30), and no park has more
//   skiers than kMaxParkSkiers.
constexpr int64_t kMaxBuildings = 16384;
constexpr int64_t kMaxVehicles = 65536;

struct TCarrierLine {
    TSKIVector Position{0, 0, 0, 1};
    int32_t Track = 1;
    std::vector<int32_t> Riders;
};

struct TSectionLine {
    bool Lift = false;
    int32_t X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
    std::string Name;
    std::vector<TCarrierLine> Carriers;
    std::vector<TSKIVector> Nodes;  // slopes: x, w, z
};

enum class TLineKind { Section, Ignored, Bad };

// Splits "a|b|c|" into its fields; every field must be followed by "|".
class TFields {
public:
    explicit TFields(std::string_view line) : rest_(line) {}
    std::optional<std::string_view> Next() {
        const size_t bar = rest_.find('|');
        if (bar == std::string_view::npos) return std::nullopt;
        std::string_view f = rest_.substr(0, bar);
        rest_.remove_prefix(bar + 1);
        return f;
    }
    bool Int(int32_t& out) {
        auto f = Next();
        if (!f) return false;
        auto v = ParseInteger(*f);
        if (!v || *v < std::numeric_limits<int32_t>::min() ||
            *v > std::numeric_limits<int32_t>::max())
            return false;
        out = int32_t(*v);
        return true;
    }
    bool Real(float& out) {
        auto f = Next();
        if (!f) return false;
        auto v = ParseReal(*f);
        if (!v || !std::isfinite(float(*v))) return false;
        out = float(*v);
        return true;
    }
    bool AtEnd() const { return rest_.find_first_not_of(" \t\r") == std::string_view::npos; }

private:
    std::string_view rest_;
};

// The cells the segments of a slope paint: Bresenham steps times the pen width, in cells.
double SlopeArea(const std::vector<TSKIVector>& nodes) {
    double area = 0;
    for (size_t k = 0; k + 1 < nodes.size(); ++k) {
        const double steps = std::max(std::fabs(double(nodes[k + 1].x - nodes[k].x)),
                                      std::fabs(double(nodes[k + 1].z - nodes[k].z))) /
                             kCellSize;
        area += (steps + 1) * std::max(1.0, std::floor(double(nodes[k].w)));
    }
    return area;
}

TLineKind ParseSectionLine(const std::string& line, TSectionLine& out, std::string& error) {
    TFields f(line);
    auto bad = [&](const std::string& why) {
        error = why;
        return TLineKind::Bad;
    };
    const auto kind = f.Next();
    if (!kind || (*kind != "LIFT" && *kind != "SLOPE")) return TLineKind::Ignored;
    out.Lift = *kind == "LIFT";
    if (!f.Int(out.X1) || !f.Int(out.Y1) || !f.Int(out.X2) || !f.Int(out.Y2))
        return bad("its station or end cells do not parse");
    const auto name = f.Next();
    if (!name) return bad("it has no name");
    out.Name = std::string(*name);
    int32_t count = 0;
    if (!f.Int(count)) return bad("its carrier or node count does not parse");
    if (out.Lift) {
        if (count < 0) return bad("its carrier count is out of range");
        if (count > kMaxCarriers)
            return bad("it has " + std::to_string(count) +
                       " carriers, more than a park holds on a lift (" +
                       std::to_string(kMaxCarriers) + ")");
        for (int32_t c = 0; c < count; ++c) {
            TCarrierLine carrier;
            int32_t riders = 0;
            if (!f.Real(carrier.Position.x) || !f.Real(carrier.Position.y) ||
                !f.Real(carrier.Position.z) || !f.Int(carrier.Track) || !f.Int(riders))
                return bad("carrier " + std::to_string(c) + " does not parse");
            if (riders < 0 || riders > kMaxRiders || carrier.Track < 0 ||
                !PlausiblePosition(carrier.Position))
                return bad("carrier " + std::to_string(c) + " is out of range");
            carrier.Riders.resize(size_t(riders));
            for (int32_t& k : carrier.Riders) {
                if (!f.Int(k))
                    return bad("a rider of carrier " + std::to_string(c) + " does not parse");
            }
            out.Carriers.push_back(std::move(carrier));
        }
    } else {
        if (count < -1) return bad("its last node index is out of range");
        if (count >= kMaxSlopeNodes)
            return bad("it has " + std::to_string(int64_t(count) + 1) +
                       " nodes, more than a park holds (" + std::to_string(kMaxSlopeNodes) + ")");
        for (int32_t n = 0; n <= count; ++n) {
            TSKIVector p{0, 0, 0, 0};
            if (!f.Real(p.x) || !f.Real(p.w) || !f.Real(p.z))
                return bad("node " + std::to_string(n) + " does not parse");
            // A node off the grid drops its slope; its width is what the paint draws.
            if (!(p.w >= 0 && p.w <= kSlopeWidthMax))
                return bad("node " + std::to_string(n) + " has a width out of range 0.." +
                           std::to_string(int(kSlopeWidthMax)));
            out.Nodes.push_back(p);
        }
    }
    if (!f.AtEnd()) return bad("it has fields after its last one");
    return TLineKind::Section;
}

// The skiers a load has seated on carriers so far.
using TSeated = std::unordered_set<const TSKISkier*>;

// Builds a parsed section on the engine. `skiers` maps the file's skier indexes to the
// restored skiers (null where one was dropped). Riders beyond a carrier's seats, and with
// `seated` a skier seated already, are left standing, with a line in `warnings` when given.
void ApplySection(TSKIEngine& e, const TSectionLine& s, const TSKISectionBlock& block,
                  const std::vector<TSKISkier*>& skiers, TSeated* seated = nullptr,
                  std::vector<std::string>* warnings = nullptr) {
    if (s.Lift) {
        TSKISection* lift = e.CreateLift(s.X1, s.Y1, s.X2, s.Y2, block.Record);
        if (!lift) return;
        lift->Name = s.Name;
        const int seats = int(lift->Type().GondoleCapacity);
        for (const TCarrierLine& c : s.Carriers) {
            lift->Carriers.push_back(std::make_unique<TSKIGondole>(*lift));
            TSKIGondole& g = *lift->Carriers.back();
            g.Init();
            g.Position = c.Position;
            g.Position.w = 1;
            g.SmoothingAnchor = g.Position;
            const int32_t points = int32_t(lift->DetailLine.size());
            g.NextPoint = points > 0 ? std::min(c.Track, points - 1) : 0;
            // Riders sit in the first seats, without the ones that name no restored skier.
            g.RiderCount = 0;
            int leftOff = 0;
            for (const int32_t k : c.Riders) {
                if (k < 0 || size_t(k) >= skiers.size() || !skiers[size_t(k)]) continue;
                TSKISkier& rider = *skiers[size_t(k)];
                if (g.RiderCount >= seats || (seated && !seated->insert(&rider).second)) {
                    ++leftOff;
                    continue;
                }
                g.Riders[g.RiderCount++] = &rider;
                rider.State = kSkierOnLift;
                rider.CurrentSection = lift;
                rider.LiftType = lift->LiftType;
            }
            if (leftOff > 0 && warnings)
                warnings->push_back("lift " + s.Name + ": " + std::to_string(leftOff) +
                                    " riders are left off a carrier (its seats: " +
                                    std::to_string(seats) + "), or were seated already");
        }
        return;
    }
    // A slope needs three nodes on the grid; it is laid without terrain changes or charge.
    if (s.Nodes.size() < 3) return;
    std::vector<TSKIVector> points;
    points.reserve(s.Nodes.size());
    for (TSKIVector p : s.Nodes) {
        if (!e.PositionInGrid(p)) return;
        p.y = e.TerrainHeight(p);
        points.push_back(p);
    }
    TSKISection* slope = e.CreateSlope(std::move(points), s.Name);
    if (slope) slope->InvestedMoney = block.Record.InvestedMoney;
}

}  // namespace

bool RestoreSection(TSKIEngine& engine, const std::string& line,
                    const std::vector<uint8_t>& block) {
    TSectionLine parsed;
    TSKISectionBlock sb;
    std::string error;
    const TLineKind kind = ParseSectionLine(line, parsed, error);
    if (kind == TLineKind::Ignored) return true;
    if (kind == TLineKind::Bad || !UnpackSection(block, sb, error)) return false;
    std::vector<TSKISkier*> skiers;
    skiers.reserve(engine.Skiers.size());
    for (const auto& s : engine.Skiers) skiers.push_back(s.get());
    ApplySection(engine, parsed, sb, skiers);
    return true;
}

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
        for (size_t j = 0; j < n; ++j) {
            const char ch = (*row)[j];
            if (ch < '0' || ch > '7') continue;
            const int d = ch - '0';
            TerrainCell& c = e.Cell(i, int(j));
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
        engine.ClearContainers();
        engine.Objectives.clear();
        ClearLevel(engine);
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
        LoadLevelFile(engine, g.World, g.Park.ParkMissionIndex == kMissionAddon);
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
    for (TSKIOverlay o : {TSKIOverlay::SnowOverlay, TSKIOverlay::SnowMask, TSKIOverlay::SlopePaint,
                          TSKIOverlay::Occupancy, TSKIOverlay::ObjectImprint})
        RebuildOverlay(engine, o);
    // The environmental damage: the trees the park has felled since the level was made.
    engine.CountTreesFelled();
    engine.RebuildNavigation();
    AllocateParking(engine);
    // The simulated time gathered toward the next tick starts afresh: the first tick of a
    // loaded park comes a whole tick after the load. The accounting hour and the history
    // interval go on from where the saved park was.
    engine.TickAccumulator = 0;
    engine.HistoryAccumulator = g.HistoryClock;
    engine.HourAccumulator = g.HourClock;
    engine.StartOfDay = TSKIParkData{};
    engine.StartOfDay.ParkTime = -1;

    // 10. Caption and zoom-out limit by the kind of game.
    const int32_t mission = engine.Park.ParkMissionIndex;
    engine.GameCaption.clear();
    if (mission != kMissionNone) {
        if (!IsCampaignMission(mission))
            engine.GameCaption = "Sandbox game";
        else if (size_t(mission) < engine.MissionNames.size())
            engine.GameCaption = engine.MissionNames[size_t(mission)];
    }
    engine.Viewpoint.MaxDistance = mission == 0 ? 200.0f : mission == 1 ? 400.0f : 1000.0f;

    engine.Dialogs->SetBusyCursor(false);
    engine.Busy = false;
    engine.Running = true;
    return true;
}

}  // namespace vallorn
