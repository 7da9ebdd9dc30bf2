// The sandbox: twenty scenario maps and a bonus map played at five difficulties, or unlimited.
// A game at a difficulty takes the objectives of worlds/<d>star.ini, fixed starting values and
// a few random goals, each behind a waiting objective that opens it after some time.
#include <array>
#include <string>

#include "base/ini_file.h"
#include "base/safe_path.h"
#include "missions/missions.h"

namespace vallorn {

namespace {

constexpr int kSandboxScenarioMaps = 20;
constexpr int32_t kSandboxCash = 150000;
constexpr int32_t kSandboxSpawnSpeed = 20;
constexpr int32_t kUnlimitedCash = 100000000;
constexpr int32_t kUnlimitedSpawnSpeed = 4;
constexpr int kRandomKinds = 9;
constexpr int32_t kDrawTicks = 60;  // each draw waits k times this, plus up to this less one
constexpr const char* kSandboxHints = "HintsSandbox";  // the page help/HintsSandbox.html

// The objectives of worlds/<d>star.ini, or false with the reason.
bool ReadStarObjectives(const TSKIFolders& folders, int difficulty, std::vector<TSKIObjective>& out,
                        std::string& error) {
    const std::string name = std::to_string(difficulty) + "star";
    const auto path = PathInFolder(folders.Worlds, name, ".ini", &error);
    if (!path) return false;
    const TIniFile file(*path);
    if (!file.Exists()) {
        error = file.ReadError().empty() ? path->string() + " not found" : file.ReadError();
        return false;
    }
    if (!file.SectionExists("SKIObjectives")) {
        error = path->string() + ": no SKIObjectives section";
        return false;
    }
    std::string why;
    if (!ReadObjectives(file, out, &why)) {
        error = path->string() + ": " + why;
        return false;
    }
    return true;
}

// One random goal: its type and value, title and description at difficulty d (1..5).
struct TRandomGoal {
    uint8_t Type = 0;
    int32_t Value = 0;
    std::string Title, Description;
    bool Allowed = true;
};

TRandomGoal RandomGoal(int kind, int d, const TSKIProfileTerms& terms) {
    const auto building = [&](int type) { return terms.UnlockedBuildings[size_t(type)]; };
    const auto lift = [&](int kind) { return terms.UnlockedLifts[size_t(kind)]; };
    TRandomGoal g;
    switch (kind) {
        case 0:
            g.Type = kObjectiveSlopeKilometres;
            // A few kilometres more for every star: the largest resorts built on the sandbox
            // maps reach about fourteen.
            g.Value = d + 2;
            g.Title = "Enough slopes";
            g.Description = "Build " + std::to_string(g.Value) + " kilometers of slopes";
            break;
        case 1:
            g.Type = kObjectiveSnowQuality;
            g.Value = 10 * d + 49;
            g.Title = "Good snow";
            g.Description = "Have snow quality at least " + std::to_string(g.Value) + "%";
            g.Allowed = building(kBuildSnowCannon) && building(kBuildSnowcatGarage);
            break;
        case 2: {
            static const std::array<const char*, 4> kTitles = {"Build self service restaurant",
                                                               "Build hospital", "Build kiosk",
                                                               "Build rescue station"};
            const int row = d == 5 ? 0 : d == 4 ? 1 : d == 3 ? 2 : 3;
            static const std::array<int32_t, 4> kTypes = {kBuildSelfService, kBuildHospital,
                                                          kBuildKiosk, kBuildRescueStation};
            g.Type = kObjectiveBuildBuilding;
            g.Value = kTypes[size_t(row)];
            g.Title = g.Description = kTitles[size_t(row)];
            g.Allowed = building(g.Value);
            break;
        }
        case 3: {
            static const std::array<const char*, 6> kTitles = {"",
                                                               "Build T-bar lift",
                                                               "Build double chairlift",
                                                               "Build quad chairlift",
                                                               "Build cable car",
                                                               "Build aerial tram"};
            // The lift kind of difficulty d is kind d: T-bar (1) .. aerial tram (5).
            static_assert(kLiftTBar == 1 && kLiftAerialTram == 5);
            g.Type = kObjectiveBuildLift;
            g.Value = d;
            g.Title = g.Description = kTitles[size_t(d)];
            g.Allowed = lift(d);
            break;
        }
        case 4:
            g.Type = kObjectiveLiftRating;
            g.Value = 10 * d + 10;
            g.Title = "Rating from lifts";
            g.Description = "Get " + std::to_string(g.Value) + " rating points from lifts.";
            break;
        case 5:
            g.Type = kObjectiveBuildingRating;
            g.Value = 10 * d + 10;
            g.Title = "Rating from buildings";
            g.Description = "Get " + std::to_string(g.Value) + " rating points from buildings.";
            break;
        case 6:
            g.Type = kObjectiveSkierHappiness;
            g.Value = 5 * d + 70;
            g.Title = "Happy skiers";
            g.Description = "Get skier happiness level to " + std::to_string(g.Value) + "%.";
            break;
        case 7:
            g.Type = kObjectiveLongestSlope;
            g.Value = 500 * d + 1000;
            g.Title = "Long slope";
            g.Description = "Build a slope " + std::to_string(g.Value) + " meters long.";
            break;
        default:
            g.Type = kObjectiveLongestLift;
            g.Value = 500 * d + 1000;
            g.Title = "Long lift";
            g.Description = "Build a lift " + std::to_string(g.Value) + " meters long.";
            g.Allowed = lift(kLiftCableCar) && lift(kLiftAerialTram);
            break;
    }
    return g;
}

}  // namespace

TSKIStartResult TSKIMissions::PlaySandbox(int map, int difficulty, const TSKIGameLoader& load) {
    if (map < 1 || map > kSandboxMaps || difficulty < 0 || difficulty > kMaxSandboxDiff)
        return TSKIStartResult::NoFile;
    const bool starred = difficulty > 0 && map != kBonusMap;
    const auto failed = [&](const std::string& why) {
        engine_.LoadError = why;
        engine_.Dialogs->ShowError("Loading failed !");
        return TSKIStartResult::LoadFailed;
    };
    // The star file is read first: a game it cannot furnish is not started.
    std::vector<TSKIObjective> objectives;
    std::string why;
    if (starred && !ReadStarObjectives(engine_.Folders, difficulty, objectives, why))
        return failed(why);
    const auto file =
        PathInFolder(engine_.Folders.Worlds, profile_.SandBox[size_t(map - 1)].Text, ".ski", &why);
    if (!file) return failed(why);
    if (!load(*file)) return failed(engine_.LoadError);

    TSKIParkData& park = engine_.Park;
    if (starred) {
        engine_.Objectives = std::move(objectives);
        park.ParkCash = kSandboxCash;
        park.ParkSpawnSpeed = kSandboxSpawnSpeed;
        park.ParkSandboxDiff = uint8_t(difficulty);
        SetMissionIndex(-map);
        DrawSandboxObjectives(difficulty);
    } else if (difficulty == 0) {
        engine_.Objectives.clear();
        park.ParkCash = kUnlimitedCash;
        park.ParkSpawnSpeed = kUnlimitedSpawnSpeed;
        park.ParkSandboxDiff = kSandboxDiffUnlimited;
        SetMissionIndex(kMissionUnlimitedSandbox);
    }
    park.ParkWeather = float(engine_.Rng.Uniform());
    park.ParkSpeed = 1.0f;
    return TSKIStartResult::Started;
}

void TSKIMissions::DrawSandboxObjectives(int difficulty) {
    if (difficulty < 1 || difficulty > kMaxSandboxDiff) return;
    std::array<bool, kObjectiveTypeCount> added{};
    for (int k = 1; k <= difficulty + 1; ++k) {
        const TRandomGoal goal =
            RandomGoal(engine_.Rng.Below(kRandomKinds), difficulty, profile_.Terms);
        if (!goal.Allowed || added[goal.Type]) continue;
        added[goal.Type] = true;

        TSKIObjective wait;
        wait.Type = kObjectiveWait;
        wait.Active = true;
        wait.Primary = true;
        wait.Name = "Objective " + std::to_string(engine_.Objectives.size() + 1);
        wait.TimeGoal = k * kDrawTicks + engine_.Rng.Below(kDrawTicks);
        wait.TimeStarted = 0;
        wait.UnlocksObjectives[0] = goal.Title;
        engine_.Objectives.push_back(wait);

        TSKIObjective o;
        o.Type = goal.Type;
        o.Value = goal.Value;
        o.Name = goal.Title;
        o.Description = goal.Description;
        o.Active = false;
        o.Primary = true;
        o.Reversible = false;
        o.Help = kSandboxHints;
        engine_.Objectives.push_back(o);
    }
}

bool BonusMapOpen(const TSKIProfile& profile) {
    bool all = true;
    for (int m = 0; m < kSandboxScenarioMaps; ++m) {
        const uint8_t completed = profile.SandBox[size_t(m)].Completed;
        if (completed >= kMaxSandboxDiff) return true;
        all = all && completed > 0;
    }
    return all;
}

std::vector<TSKISandboxRow> SandboxRows(const TSKIProfile& profile) {
    std::vector<TSKISandboxRow> rows;
    const int count = BonusMapOpen(profile) ? kSandboxMaps : kSandboxScenarioMaps;
    for (int m = 1; m <= count; ++m) {
        const TSKISandboxMap& map = profile.SandBox[size_t(m - 1)];
        rows.push_back({m, map.Text, map.Completed ? std::to_string(map.Completed) : ""});
    }
    return rows;
}

bool SandboxDifficultyShown(const TSKIProfile& profile, int difficulty) {
    if (difficulty == 0) return profile.CampCompleted;
    if (difficulty < 1 || difficulty > kMaxSandboxDiff) return false;
    return difficulty == 1 || profile.SandboxDiff > difficulty - 1;
}

std::string SandboxDifficultyLabel(int difficulty) {
    static const std::array<const char*, 6> kLabels = {"Unlimited",        "Difficulty: very easy",
                                                       "Difficulty: easy", "Difficulty: medium",
                                                       "Difficulty: hard", "Difficulty: very hard"};
    if (difficulty < 0 || difficulty > kMaxSandboxDiff) return {};
    return kLabels[size_t(difficulty)];
}

}  // namespace vallorn
