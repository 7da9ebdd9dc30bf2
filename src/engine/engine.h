// TSKIEngine: the one object that holds a running park. Its state (park record, entity
// containers, terrain grid, parameter tables) is the TSKIWorld it derives from
// (entities/world.h); what the game does with it lives in free functions over the engine,
// declared beside each area's code: engine/clock.h (frame handler, tick, calendar, day
// change), arrivals.h, history.h, economy.h, snow.h, params.h, level_file.h, blocked.h,
// overlays.h and persistence/saved_game.h. What shows the park is its ITSKIDisplay
// (engine/display.h).
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/desktop.h"
#include "base/image.h"
#include "base/number_format.h"
#include "base/objectives_record.h"
#include "base/overlays.h"
#include "base/params.h"
#include "base/park_data.h"
#include "base/random.h"
#include "base/terrain.h"
#include "base/terrain_mesh.h"
#include "engine/display.h"
#include "entities/world.h"

namespace vallorn {

class TIniFile;

// The folders of the game: data/ worlds/ save/ addons/ under the game's root, and cache/ (the
// levels' terrain mesh caches, made on a level's first load). When the root holds the
// installed mark or cannot be written to (an installed game), save/ and addons/ live under
// $XDG_DATA_HOME/vallorn/ instead (~/.local/share/vallorn/ when the variable is unset), and the
// cache under $XDG_CACHE_HOME/vallorn/ (~/.cache/vallorn/). An empty root is GameRoot().
struct TSKIFolders {
    std::filesystem::path Root, Data, Worlds, Save, Addons, Cache;
    // `writable` tells whether a folder can be written to (the access test by default).
    static TSKIFolders Resolve(
        const std::filesystem::path& root,
        const std::function<bool(const std::filesystem::path&)>& writable = nullptr);
};

// The folder of the running program file.
std::filesystem::path ProgramFolder();

// The file the install puts beside the installed data: its root is never written to.
inline constexpr const char* kInstalledMark = ".installed";

// The folder that holds the game's data: `rootVariable` ($VALLORN_ROOT) when set; otherwise
// the program's folder when it has a data/ folder (the build tree, a game unpacked in one
// folder); otherwise <program folder>/../share/vallorn when that has one (an installed game:
// found relative to the program, so the installed tree can move); otherwise the program's
// folder.
std::filesystem::path GameRoot(const std::filesystem::path& programFolder,
                               const char* rootVariable);
// GameRoot of the running program and the environment.
std::filesystem::path GameRoot();

// Terms of the player profile that the park's economy reads. The member values are what a
// profile file falls back to for a missing entry; a new player starts from the shipped
// template's terms (`NewPlayer`), which the engine uses until a profile is loaded.
struct TSKIProfileTerms {
    int32_t Friends = 0;
    bool FriendsEnabled = false;
    int32_t LoanInterest = 6;  // percent of the loan per day
    int32_t LoanLimit = 30000;
    int32_t MarketingPriceCheap = 3000;
    int32_t MarketingPriceNormal = 7000;
    int32_t MarketingPriceVIP = 15000;
    int32_t PRCampPrice = 7000;
    std::array<bool, kBuildingTypeCount> UnlockedBuildings{};  // by building type
    std::array<bool, kLiftTypeCount> UnlockedLifts{};          // by lift type

    // A bank a young resort can live with (1 % a day: 300 on the whole 30,000) and campaigns
    // that pay back when the park has room for the skiers they bring.
    static TSKIProfileTerms NewPlayer() {
        TSKIProfileTerms t;
        t.LoanInterest = 1;
        t.MarketingPriceCheap = 1500;
        t.MarketingPriceNormal = 3000;
        t.MarketingPriceVIP = 6000;
        t.PRCampPrice = 1500;
        return t;
    }
    // The terms held to what the game can take: friends no more than a park holds, the
    // interest 0..100 % a day, the loan limit and the prices from nothing to their caps
    // (objectives_record.h).
    TSKIProfileTerms Bounded() const;
};

struct TSKIEngineSetup {
    std::filesystem::path Root;  // empty: the program folder
    uint64_t Seed = 1;
    IDialogs* Dialogs = nullptr;      // null: headless defaults
    ITSKIDisplay* Display = nullptr;  // null: nobody looks (the layers alone are kept)
};

// Where the player looks from, as saved games carry it: the focus point on the ground (x, z),
// the height and the zoom-out limit. The view moves the camera; the core keeps this record.
struct TSKIViewpoint {
    float FocusX = -256, FocusZ = 256;
    float Height = 500;
    float MaxDistance = 1000;
};

constexpr int kHistorySeries = 11;
constexpr int kHistoryInUse = 9;
constexpr size_t kHistoryLength = 386;

enum class TSKIHistory : int {
    Cash = 0,
    Skiers = 1,
    Happiness = 2,
    Hunger = 3,
    Cold = 4,
    Energy = 5,
    RatingPercent = 6,
    SpendingLimit = 7,
    HourProfit = 8,
};

// --- construction (construction/*.cpp): shared types -------------------------------------
// What the objectives are told was built.
enum : int { kBuiltLift = 0, kBuiltBuilding = 1 };
// --- end construction --------------------------------------------------------------------

// The park's state (record, tables, grid, containers) is the TSKIWorld the entities act on;
// the engine adds the subsystems that run it and answers the world's requests.
class TSKIEngine : public TSKIWorld {
public:
    explicit TSKIEngine(const TSKIEngineSetup& setup = {});
    ~TSKIEngine() override;
    TSKIEngine(const TSKIEngine&) = delete;
    TSKIEngine& operator=(const TSKIEngine&) = delete;

    // --- folders and parameters (params.cpp) ---------------------------------------------
    TSKIFolders Folders;
    TSKIEngineOptions Options;
    float ViewDistance = 75.0f;
    // One line per value of the parameter files that was refused for its default.
    std::string ParameterWarnings;
    const TSKIGameParams& Game() const { return Params.Game; }

    // --- park state ----------------------------------------------------------------------
    TSKIParkData StartOfDay;
    TSKIProfileTerms Profile = TSKIProfileTerms::NewPlayer();
    std::string WorldName;
    // A copy of the live record with the lift, slope and skier counts and the weather text.
    TSKIParkData TakeSnapshot() const;
    // The park record as a level load starts it.
    void ResetParkData();

    // --- containers (the world's) ------------------------------------------------------------
    // Empties every entity and bookkeeping list (level load, close of a game).
    void ClearContainers();
    int32_t LiftCount() const;
    int32_t SlopeCount() const;

    // --- drive (clock.cpp) -----------------------------------------------------------------
    float TickAccumulator = 0;
    float HistoryAccumulator = 0;
    float HourAccumulator = 0;
    bool Running = false;  // the scene timer: enabled by a level load
    std::vector<std::string> ParkMessages;
    std::vector<std::string> NewObjectives;
    int32_t HistorySamples = 0;
    std::array<std::deque<int32_t>, kHistorySeries> History;
    int64_t TicksRun = 0;
    int64_t DayChanges = 0;
    int64_t AccountingHours = 0;
    std::vector<uint32_t> CrowdedCells;  // cells whose crowd counter is above 1

    // What shows the park (engine/display.h): the game's view, or the headless default. A
    // park held read-only reaches only what the view shows, not its switches.
    ITSKIDisplay& Display() { return *display_; }
    const ITSKIDisplay& Display() const { return *display_; }
    void SetDisplay(ITSKIDisplay* display);  // null: the headless default

    // --- history, park messages ---------------------------------------------------------------
    int32_t MessageSamples = 0;  // history samples since the last message rebuild
    // The message the strip of the menu bar shows (none: no strip), one of ParkMessages drawn
    // with the park's random numbers.
    std::string ShownParkMessage;

    // --- saved games (persistence/saved_game*.cpp) --------------------------------------------
    // The mission's objectives (persistence/objectives_record.h).
    std::vector<TSKIObjective> Objectives;
    // The viewpoint as a load sets it; the view reads and updates it.
    TSKIViewpoint Viewpoint;
    // What a close asks the auto-save for: the player's name and the campaign's mission names
    // (by mission index), set by the profile.
    std::string ProfileName;
    std::vector<std::string> MissionNames;
    // Why the last LoadGameFile failed (one line), or empty.
    std::string LoadError;
    // The damaged skier, building and vehicle records the last load left out, one warning
    // line each, and their count.
    std::vector<std::string> LoadWarnings;
    int32_t LoadDropped = 0;

    // --- terrain beyond the world's grid -------------------------------------------------------
    std::vector<TSKIHouse> Houses;
    TSKITerrainMesh Skirt;
    TSKIImage SnowTexture;    // material "ground"
    TSKIImage GroundTexture;  // material "SnowMaskSec"
    TSKIOverlays Overlays;
    bool EditorOpen = false;  // the level editor window is open (trees are set before paying)

    // --- trees (trees.cpp) ---------------------------------------------------------------------
    bool PlantTree(int i, int j, int32_t price);
    void RemoveTree(int i, int j);
    int32_t CountTrees() const;
    void CountTreesFelled();

    // --- construction (construction/*.cpp) ------------------------------------------------
    // The objectives are told what was built (kBuiltLift or kBuiltBuilding, and its type).
    std::function<void(int kind, uint8_t type)> OnBuilt;
    // --- end construction ---------------------------------------------------------------------

    // --- objectives (missions/) ---------------------------------------------------------------
    // The periodic update shows the objectives announced since the last tick (before it
    // evaluates) and then evaluates the list with (-1, -1); the downhill race evaluates with
    // (-2, -1) when a run beats the record of `RaceSlope`. The missions layer installs both;
    // without them a park has no mission.
    std::function<void()> OnShowNewObjectives;
    std::function<void(int building, int lift)> OnEvaluateObjectives;
    int32_t RaceSlope = -1;  // index of the slope whose race is running, or -1

    // The world's requests, answered by the subsystems.
    void GroomCells(int i, int j) override;
    void FellTree(int i, int j) override;
    void TerrainLookChanged() override;
    void OccupancyChanged() override;

private:
    THeadlessDialogs headlessDialogs_;
    TSKIHeadlessDisplay headlessDisplay_;
    ITSKIDisplay* display_ = &headlessDisplay_;
};

// Caption of the in-game menu bar: "Sandbox game", the campaign mission's name, or empty
// without a mission.
std::string GameCaption(const TSKIEngine& engine);

}  // namespace vallorn
