// Writing a saved game: the park keys, the entity blocks and lines, the snow rows and the
// objectives; and closing a game with its mission auto-save.
#include <algorithm>
#include <cstdio>
#include <unordered_map>

#include "base/ini_file.h"
#include "base/safe_path.h"
#include "engine/engine.h"
#include "engine/level_file.h"
#include "persistence/saved_game.h"
#include "persistence/saved_game_blocks.h"

namespace vallorn {

namespace {

// Fixed notation with two decimals and a decimal comma: "-1021,50".
std::string Fixed2(float value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f", double(value));
    std::string s = buf;
    for (char& c : s) {
        if (c == '.') c = ',';
    }
    if (s == "-0,00") s = "0,00";
    return s;
}

// A name as a saved line holds it: control characters (a line break would end the line)
// become blanks, and blanks at either end, which a reader trims, are left out.
std::string SavedName(std::string name) {
    for (char& c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = ' ';
    }
    const size_t first = name.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return name.substr(first, name.find_last_not_of(' ') - first + 1);
}

void Field(std::string& line, const std::string& text) {
    line += text;
    line += '|';
}

// Index of every skier, for the carriers' riders.
using TSkierIndex = std::unordered_map<const TSKISkier*, int32_t>;

std::string SectionLine(const TSKISection& s, const TSkierIndex& skiers) {
    std::string line;
    Field(line, s.IsLift() ? "LIFT" : "SLOPE");
    Field(line, std::to_string(s.LowerI));
    Field(line, std::to_string(s.LowerJ));
    Field(line, std::to_string(s.UpperI));
    Field(line, std::to_string(s.UpperJ));
    // The field separator cannot be part of a name.
    std::string name = SavedName(s.Name);
    std::replace(name.begin(), name.end(), '|', '/');
    Field(line, name);
    if (s.IsLift()) {
        Field(line, std::to_string(s.Carriers.size()));
        for (const auto& c : s.Carriers) {
            Field(line, Fixed2(c->Position.x));
            Field(line, Fixed2(c->Position.y));
            Field(line, Fixed2(c->Position.z));
            Field(line, std::to_string(c->NextPoint));
            const int n = std::min<int>(c->RiderCount, kMaxRiders);
            Field(line, std::to_string(n));
            for (int k = 0; k < n; ++k) {
                const auto it = skiers.find(c->Riders[size_t(k)]);
                Field(line, std::to_string(it == skiers.end() ? -1 : it->second));
            }
        }
    } else {
        Field(line, std::to_string(int64_t(s.Points.size()) - 1));
        for (const TSKIVector& p : s.Points) {
            Field(line, Fixed2(p.x));
            Field(line, Fixed2(p.w));
            Field(line, Fixed2(p.z));
        }
    }
    return line;
}

TSkierIndex IndexSkiers(const TSKIEngine& e) {
    TSkierIndex index;
    index.reserve(e.Skiers.size());
    for (size_t k = 0; k < e.Skiers.size(); ++k) index.emplace(e.Skiers[k].get(), int32_t(k));
    return index;
}

// Everything SaveGameFile writes, into `file`.
void WriteGame(const TSKIEngine& e, TIniFile& file) {
    for (const char* section :
         {"SKIWorld", "SKIParkData", "SKISections", "StreamSKISkiers", "SKIBuildings", "SKIHouses",
          "SKIVehicles", "SKIHistory", "SKISnow"}) {
        file.EraseSection(section);
    }

    // World and park keys, in their order.
    const TSKIParkData& p = e.Park;
    file.WriteString("SKIWorld", "WorldName", e.Level.LevelName);
    for (const TParkKey* key : SavedParkKeys()) {
        if (key->Kind == TParkKeyKind::CameraX || key->Kind == TParkKeyKind::CameraZ) {
            const float focus =
                key->Kind == TParkKeyKind::CameraX ? e.Viewpoint.FocusX : e.Viewpoint.FocusZ;
            file.WriteFloat(kPark, key->Name, focus);
            continue;
        }
        if (key->Kind == TParkKeyKind::HourClock || key->Kind == TParkKeyKind::HistoryClock) {
            file.WriteFloat(
                kPark, key->Name,
                key->Kind == TParkKeyKind::HourClock ? e.HourAccumulator : e.HistoryAccumulator);
            continue;
        }
        VisitParkField(*key, p, [&](const auto& value) {
            using T = std::remove_cvref_t<decltype(value)>;
            if constexpr (std::is_same_v<T, std::string>)
                file.WriteString(kPark, key->Name, SavedName(value));
            else if constexpr (std::is_same_v<T, float>)
                file.WriteFloat(kPark, key->Name, value);
            else
                file.WriteInteger(kPark, key->Name, value);
        });
    }

    // Skiers at their current positions.
    for (size_t k = 0; k < e.Skiers.size(); ++k) {
        const TSKISkier& s = *e.Skiers[k];
        TSKISkierRecord r;
        r.LiftType = s.LiftType;
        r.Money = s.Money;
        r.SpendingLimit = s.SpendingLimit;
        r.Cold = s.Cold, r.Hunger = s.Hunger, r.Happiness = s.Happiness;
        r.Skill = s.Skill, r.Energy = s.Energy;
        r.Injured = s.Injured;
        r.Position = s.Position;
        // An injured skier lies where the load puts it: on the ground below.
        if (s.Injured && e.HasGrid()) r.Position.y = e.GroundHeight(s.Position) + kStandHeight;
        r.Leaving = s.Leaving;
        const TSKIBlock b = PackSkier(r);
        file.WriteBinary("StreamSKISkiers", std::to_string(k), b.data(), b.size());
    }

    // Slopes and lifts: the line and the block.
    const TSkierIndex skiers = IndexSkiers(e);
    for (size_t k = 0; k < e.Sections.size(); ++k) {
        const TSKISection& s = *e.Sections[k];
        file.WriteString("SKISections", std::to_string(k), SectionLine(s, skiers));
        TSKISectionBlock sb;
        TSKILiftRecord& r = sb.Record;
        r.LiftType = s.LiftType;
        r.Status = s.Status;
        r.TicketPrice = s.TicketPrice;
        r.TotalIncome = s.TotalIncome;
        r.TotalExpense = s.TotalExpense;
        r.InvestedMoney = s.InvestedMoney;
        r.Filling = s.Filling;
        r.TooExpensiveCount = s.TooExpensiveCount;
        r.CustomersServed = s.CustomersServed;
        r.UpgradeBonus = s.UpgradeBonus;
        sb.RunningCost = s.RunningCost;
        const TSKIBlock b = PackSection(sb);
        file.WriteBinary("SKISections", std::to_string(k) + "s", b.data(), b.size());
    }

    // Buildings.
    for (size_t k = 0; k < e.Buildings.size(); ++k) {
        const TSKIBuilding& s = *e.Buildings[k];
        TSKIBuildingBlock bb;
        TSKIBuildingRecord& r = bb.Record;
        r.Type = s.Type;
        r.Open = s.Open;
        r.Occupants = s.Occupants;
        r.ServicePrice = s.ServicePrice;
        r.Position = s.Position;
        r.Direction = s.Direction;
        r.CustomersServed = s.CustomersServed;
        r.TotalIncome = s.TotalIncome;
        r.TotalExpense = s.TotalExpense;
        r.TooExpensiveCount = s.TooExpensiveCount;
        r.UpgradeBonus = s.UpgradeBonus;
        bb.CellI = s.CellI, bb.CellJ = s.CellJ;
        bb.CostsForgotten = s.CostsForgotten;
        bb.AreaI = s.AreaI, bb.AreaJ = s.AreaJ;
        const TSKIBlock b = PackBuilding(bb);
        file.WriteBinary("SKIBuildings", std::to_string(k) + "s", b.data(), b.size());
    }

    // Vehicles with the list index of their home building (no target building is kept).
    for (size_t k = 0; k < e.Vehicles.size(); ++k) {
        const TSKIVehicle& v = *e.Vehicles[k];
        TSKIVehicleBlock vb;
        vb.Type = v.Type;
        vb.Position = v.Position;
        vb.Heading = v.Direction;
        vb.Home = v.Building >= 0 && size_t(v.Building) < e.Buildings.size() ? v.Building : -1;
        vb.Target = -1;
        vb.Slot = v.Seat;
        vb.Patient = v.PatientPresent() ? v.PatientIndex : -1;
        const TSKIBlock b = PackVehicle(vb);
        file.WriteBinary("SKIVehicles", std::to_string(k) + "s", b.data(), b.size());
    }

    // Snow rows.
    if (e.HasGrid()) {
        std::string row(size_t(kGridSize), '0');
        for (int i = 0; i < kGridSize; ++i) {
            for (int j = 0; j < kGridSize; ++j) {
                const TerrainCell& c = e.Cell(i, j);
                row[size_t(j)] =
                    char('0' + (c.NaturalSnow ? 1 : 0) + (c.Groomed ? 2 : 0) + (c.Tree ? 4 : 0));
            }
            file.WriteString("SKISnow", std::to_string(i), row);
        }
    }

    WriteObjectives(e, file, -1);
}

}  // namespace

std::string SaveLine(const TSKIEngine& engine, const TSKISection& section) {
    return SectionLine(section, IndexSkiers(engine));
}

void WriteObjectives(const TSKIEngine& engine, TIniFile& file, int skip) {
    vallorn::WriteObjectives(file, engine.Objectives, skip);
}

bool SaveGameFile(const TSKIEngine& engine, const std::filesystem::path& path, std::string* error) {
    TIniFile file(path);
    WriteGame(engine, file);
    return file.SaveToFile(path, error);
}

std::string SaveGameText(const TSKIEngine& engine) {
    TIniFile file;
    WriteGame(engine, file);
    return file.ToText();
}

void CloseGame(TSKIEngine& engine) {
    engine.Busy = true;
    const int32_t mission = engine.Park.ParkMissionIndex;
    if (IsCampaignMission(mission) && !engine.ProfileName.empty()) {
        // The profile's folder and the mission's name come from files: kept inside save/.
        const auto profileFolder = PathInFolder(engine.Folders.Save, engine.ProfileName);
        const std::filesystem::path autoFolder =
            profileFolder ? *profileFolder / "auto" : std::filesystem::path();
        // A link standing where the folder should be is not followed.
        std::error_code ec;
        if (profileFolder &&
            std::filesystem::is_directory(std::filesystem::symlink_status(autoFolder, ec))) {
            THeadlessDialogs headless;
            IDialogs* dialogs = engine.Dialogs ? engine.Dialogs : &headless;
            if (dialogs->AskYesNo("Save game on exit?", true)) {
                const std::string name = size_t(mission) < engine.MissionNames.size()
                                             ? engine.MissionNames[size_t(mission)]
                                             : "Mission" + std::to_string(mission);
                std::string why;
                const auto file = PathInFolder(autoFolder, name, ".ski", &why);
                if (!file || !SaveGameFile(engine, *file, &why))
                    dialogs->ShowError("The game could not be saved: " + why);
            }
        }
    }
    ClearLevel(engine);
    engine.ClearContainers();
    engine.Objectives.clear();
    engine.Park = TSKIParkData{};
    engine.StartOfDay = TSKIParkData{};
    engine.Display().ParkCleared(true);
    engine.ArrivalBuilding = nullptr;
    engine.TickAccumulator = engine.HistoryAccumulator = engine.HourAccumulator = 0;
    engine.Busy = false;
}

}  // namespace vallorn
