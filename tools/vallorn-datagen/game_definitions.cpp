#include "game_definitions.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <utility>
#include <vector>

#include "base/ini_file.h"
#include "base/park_data.h"
#include "base/safe_path.h"
#include "construction/construction.h"
#include "engine/clock.h"
#include "engine/engine.h"
#include "engine/level_file.h"
#include "parallel.h"
#include "persistence/saved_game.h"
#include "script_runner.h"

namespace fs = std::filesystem;

namespace vallorn::datagen {
namespace {

constexpr const char* kDefinition = "Mission";
constexpr const char* kParkKeys = "SKIPark";       // in a definition
constexpr const char* kSavedPark = "SKIParkData";  // in a saved game
constexpr const char* kObjectives = "SKIObjectives";
constexpr double kFrame = 1.0 / 30;

// The inner end of the level's road: of the road cells, the one farthest from the map's edge
// (the road comes in from an edge). False on a level without a road.
bool RoadEnd(const TSKIEngine& engine, int* ri, int* rj) {
    int best = -1;
    for (int i = 0; i < kGridSize; ++i)
        for (int j = 0; j < kGridSize; ++j) {
            if (engine.Cell(i, j).Kind != kCellRoad) continue;
            const int inland = std::min({i, j, kGridSize - 1 - i, kGridSize - 1 - j});
            if (inland > best) best = inland, *ri = i, *rj = j;
        }
    return best >= 0;
}

// Replays the action script on the loaded level; "" or why it failed.
std::string ReplayActions(TSKIEngine& engine, sim::ScriptedDialogs& dialogs, const fs::path& file) {
    sim::Script script;
    if (sim::LoadScriptFile(file.string(), script) != 0)
        return "action script " + file.filename().string() + " does not read";
    TSKIToolState state;
    TSKIConstruction tools(engine, state);
    const sim::ScriptOutcome outcome = sim::RunScript(tools, script, dialogs, [&] {
        tools.UpdateTools(float(kFrame));
        const int64_t days = engine.DayChanges;
        OnProgress(engine, kFrame);
        if (engine.DayChanges != days) tools.LeaveTool();
        return true;
    });
    tools.LeaveTool();
    auto where = [&](const sim::ScriptEvent& e) {
        return file.filename().string() + ":" + std::to_string(e.Line) + ": " + e.Text + ": " +
               e.Result + (e.Detail.empty() ? "" : " (" + e.Detail + ")");
    };
    if (!outcome.ActionErrors.empty()) return where(outcome.ActionErrors.front());
    if (!outcome.ExpectFailures.empty()) return where(outcome.ExpectFailures.front());
    if (outcome.StoppedAt > 0)
        return file.filename().string() + ":" + std::to_string(outcome.StoppedAt) + ": stopped";
    return {};
}

// A park key a saved game carries (keys match without regard to letter case, as in INI files).
bool SavedParkKey(const std::string& key) {
    auto lower = [](std::string text) {
        for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
        return text;
    };
    for (const TParkKey& k : ParkKeys())
        if (k.SavedAt && lower(k.Name) == lower(key)) return true;
    return false;
}

std::string BuildGame(const fs::path& definition, const fs::path& root) {
    const TIniFile def(definition);
    if (!def.Exists())
        return "cannot be read" + (def.ReadError().empty() ? "" : ": " + def.ReadError());
    const std::string levelName = def.ReadString(kDefinition, "Level");
    if (levelName.empty()) return "no Level in [Mission]";
    std::string reason;
    if (!PathInFolder(root / "worlds", levelName, ".skil", &reason)) return reason;
    for (const std::string& key : def.SectionKeys(kParkKeys))
        if (!SavedParkKey(key)) return "unknown park key " + key;

    sim::ScriptedDialogs dialogs;
    TSKIEngine engine({root, 1, &dialogs});
    const TSKILevelLoadResult level = LoadLevelFile(engine, levelName, false);
    if (!level.ok())
        return "level '" + levelName +
               "' cannot be loaded: " + (level.error.empty() ? "missing" : level.error);
    const std::string actions = def.ReadString(kDefinition, "Actions");
    if (!actions.empty()) {
        const auto script = PathInFolder(definition.parent_path(), actions, {}, &reason);
        if (!script) return reason;
        reason = ReplayActions(engine, dialogs, *script);
        if (!reason.empty()) return reason;
    }
    int ri = 0, rj = 0;
    if (RoadEnd(engine, &ri, &rj)) {
        const TSKIVector focus = engine.CellToWorld(ri, rj, true);
        engine.Viewpoint.FocusX = focus.x;
        engine.Viewpoint.FocusZ = focus.z;
    }

    const fs::path out = root / "worlds" / (definition.stem().string() + ".ski");
    std::error_code ec;
    fs::remove(out, ec);  // kept sections of an old file would stay
    if (!SaveGameFile(engine, out, &reason)) return "cannot save: " + reason;
    TIniFile game(out);
    for (const char* section : {kParkKeys, kSavedPark})
        for (const std::string& key : def.SectionKeys(section))
            game.WriteString(kSavedPark, key, def.ReadString(section, key));
    if (def.SectionExists(kObjectives)) {
        game.EraseSection(kObjectives);
        game.WriteString(kObjectives, "ObjCount", "0");  // the section, even when it is empty
        for (const std::string& key : def.SectionKeys(kObjectives))
            game.WriteString(kObjectives, key, def.ReadString(kObjectives, key));
    }
    if (!game.SaveToFile(out, &reason)) return "cannot save: " + reason;

    TSKIEngine check({root, 1, nullptr});
    std::string problem;
    if (!LoadGameFile(check, out)) {
        problem = check.LoadError;
    } else if (!check.LoadWarnings.empty()) {
        problem = check.LoadWarnings.front();
    } else if (def.SectionExists(kObjectives)) {
        const int64_t given = def.ReadInteger(kObjectives, "ObjCount", -1);
        if (given != int64_t(check.Objectives.size()))
            problem = "ObjCount " + def.ReadString(kObjectives, "ObjCount") + " but " +
                      std::to_string(check.Objectives.size()) + " objectives load";
    }
    if (!problem.empty()) {
        fs::remove(out, ec);
        return "the game does not load: " + problem;
    }
    return {};
}

}  // namespace

std::string BuildGameFromDefinition(const fs::path& definition, const fs::path& root) {
    const std::string reason = BuildGame(definition, root);
    return reason.empty() ? reason : definition.string() + ": " + reason;
}

bool BuildDefinedGames(const fs::path& assets, const fs::path& root, int threads,
                       std::string* error) {
    // All definitions first, so that a stem given twice is refused before any game is made.
    std::map<std::string, fs::path> stems;
    std::vector<fs::path> files;
    std::vector<std::pair<const char*, size_t>> folders;
    for (const char* folder : {"sandbox", "campaign"}) {
        std::error_code ec;
        if (!fs::is_directory(assets / folder, ec)) continue;
        std::vector<fs::path> found;
        for (const auto& entry : fs::directory_iterator(assets / folder, ec))
            if (entry.is_regular_file() && entry.path().extension() == ".ini")
                found.push_back(entry.path());
        std::sort(found.begin(), found.end());
        for (const fs::path& file : found) {
            const auto [at, fresh] = stems.emplace(file.stem().string(), file);
            if (!fresh) {
                *error = file.string() + ": " + at->second.string() + " makes the same game";
                return false;
            }
        }
        files.insert(files.end(), found.begin(), found.end());
        folders.emplace_back(folder, found.size());
    }
    // Each game is made on an engine of its own from its own level and written to its own
    // file, so they can be made side by side; the first failure in name order is reported.
    std::vector<std::string> reasons(files.size());
    RunJobs(files.size(), threads,
            [&](size_t k) { reasons[k] = BuildGameFromDefinition(files[k], root); });
    for (const std::string& reason : reasons) {
        if (!reason.empty()) {
            *error = reason;
            return false;
        }
    }
    for (const auto& [folder, count] : folders) std::printf("%zu %s games\n", count, folder);
    return true;
}

}  // namespace vallorn::datagen
