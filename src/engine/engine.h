// TSKIEngine: the one object that holds a running park. Its state (park record, entity
// containers, terrain grid, parameter tables) is the TSKIWorld it derives from
// (entities/world.h); the algorithms of each area live in that area's files: clock.cpp
// (frame handler, tick, calendar, day change), arrivals.cpp, history.cpp, params.cpp,
// level_file.cpp, blocked.cpp, trees.cpp, overlays*.cpp.
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
#include "base/number_format.h"
#include "base/objectives_record.h"
#include "base/overlays.h"
#include "base/params.h"
#include "base/park_data.h"
#include "base/random.h"
#include "base/terrain.h"
#include "base/terrain_mesh.h"
#include "entities/world.h"

namespace vallorn {

class TIniFile;

// The four folders beside the program. When the program folder cannot be written to (an
// installed game), save/ and addons/ live under $XDG_DATA_HOME/vallorn/ instead
// (~/.local/share/vallorn/ when the variable is unset).
struct TSKIFolders {
    std::filesystem::path Root, Data, Worlds, Save, Addons;
    // `writable` tells whether a folder can be written to (the access test by default).
    static TSKIFolders Resolve(
        const std::filesystem::path& root,
        const std::function<bool(const std::filesystem::path&)>& writable = nullptr);
};

// The folder of the running program file.
std::filesystem::path ProgramFolder();

// Terms of the player profile that the park's economy reads.
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
};

// Outcome of a marketing campaign: the text to show in an information box (or the warning
// when the cash does not cover the price; empty for a price type that cannot be chosen).
struct TSKIMarketingResult {
    bool Started = false;
    int32_t Arrivals = 0;
    std::string Text;
};

struct TSKIEngineSetup {
    std::filesystem::path Root;  // empty: the program folder
    uint64_t Seed = 1;
    IDialogs* Dialogs = nullptr;  // null: headless defaults
};

struct TSKICalendar {
    int32_t Season = 1;  // 1-based
    int32_t Day = 0;     // within the season, 0-based
    int32_t Hour = 9;
    int32_t Minute = 0;
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
// Key codes of ToolKey besides the digits '1'..'8'.
constexpr int kKeyBackspace = 8;
constexpr int kKeyEscape = 27;
// What the objectives are told was built.
enum : int { kBuiltLift = 0, kBuiltBuilding = 1 };
// One entry of the "Replace lift" submenu.
struct TSKIReplaceEntry {
    uint8_t LiftType = 0;
    std::string Caption;  // "Quad chairlift (1.234,-)"
    bool Visible = false;
    bool Enabled = false;
};
// Whether the "Replace lift" submenu is shown: some entry is enabled.
bool ReplaceMenuShown(const std::vector<TSKIReplaceEntry>& entries);
// Hover panel colours (the panel is drawn half transparent).
constexpr TSKIColor kToolTextBlue{0, 0, 255};
constexpr TSKIColor kToolTextLiftGreen{0, 204, 0};
constexpr TSKIColor kToolTextSlopeGreen{0, 255, 0};
constexpr TSKIColor kToolTextRed{255, 0, 0};
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
    // Reads Params.ini, GameParams.ini and Options.ini into the tables.
    void LoadParameters();
    const TSKIGameParams& Game() const { return Params.Game; }

    // --- park state ----------------------------------------------------------------------
    TSKIParkData StartOfDay;
    TSKIProfileTerms Profile;
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
    uint8_t ConstructionTool = 0;
    uint8_t HighlightMode = 0;
    uint8_t OverlayMode = 0;
    uint8_t DisplayFlags = kDisplaySlopes | kDisplayTrees | kDisplaySnow;
    std::vector<std::string> ParkMessages;
    std::vector<std::string> NewObjectives;
    int32_t HistorySamples = 0;
    std::array<std::deque<int32_t>, kHistorySeries> History;
    std::array<uint8_t, kCharacterTemplates> AnimationPhase{};
    float RefreshTimer = 0;
    float AnimationTimer = 0;
    uint32_t RefreshRequests = 0;
    std::string ClockText = "9:00";
    int64_t TicksRun = 0;
    int64_t DayChanges = 0;
    int64_t AccountingHours = 0;

    // Frame handler: runs once per rendered frame with the frame's real time in seconds.
    void OnProgress(double deltaTime);
    // Entity update with the simulated time step.
    void UpdateEntities(float simDt);
    // The periodic game tick.
    void PeriodicTick();
    TSKICalendar Calendar(int32_t ticks);
    void DayChange();
    // Recounts the skiers standing on each cell (only the cells counted last time are reset).
    void UpdateCrowdCounters();
    // Removes a skier; every stored skier index is fixed up.
    void RemoveSkier(size_t index);

    // --- arrivals (arrivals.cpp) --------------------------------------------------------------
    // Returns how many skiers came: none when the park is full and capacity is respected.
    int SpawnSkiers(int count, TSKIVector point, int wealthLevel, int skillLevel,
                    bool ignoreCapacity);
    TSKIVector UpdateArrivalPoint();
    void AllocateParking();

    // --- skier dots and hover text (dots.cpp, engine.cpp) ---------------------------------------
    struct TSKIDot {
        TSKIVector Position;
        TSKIColor Color;
    };
    std::vector<TSKIDot> OverlayDots;  // coloured by the overlay mode, 3 units above skiers
    std::vector<TSKIDot> CrowdDots;    // grey dots for skiers drawn without a detailed model
    static TSKIColor OverlayColor(uint8_t mode, const TSKISkier& skier);
    // The world's nearest-skier text, none while a construction tool owns the hover text.
    std::string SkierHoverText(const TSKIVector& groundPoint) const;
    std::string HoverText;
    float HoverTextTime = 0;  // seconds the hover text stays up

    // --- history and averages (history.cpp) ---------------------------------------------------
    float AverageHappiness() const;
    float AverageCold() const;
    float AverageHunger() const;
    float AverageEnergy() const;
    float AverageSpendingLimit() const;
    void SampleHistory();
    int32_t CountHappySkiers() const;

    // --- economy, rating and accounting (economy*.cpp) ------------------------------------
    // Quality of a slope: its length (full at 500 m, less in proportion below) raised by its
    // red (up to +25 %) and black (up to +50 %) shares. Of a lift: the type's service quality
    // plus the lift's upgrade bonus, at most 2.
    float SlopeQuality(const TSKISection& slope) const;
    float LiftQuality(const TSKISection& lift) const;
    // Every tick: averages, scores, penalty recovery, popularity and both ratings.
    void UpdateRating();
    // Every accounting hour: takings move to the previous period, running costs are paid and
    // the hour's profit is computed.
    void HourlyAccounting();
    // Every history sample: counts toward the park messages, which are rebuilt on every 11th
    // sample (BuildParkMessages).
    void ParkMessageSample();
    // Rebuilds the message list and picks the one shown (nothing in the unlimited sandbox).
    void BuildParkMessages();
    int32_t MessageSamples = 0;        // history samples since the last message rebuild
    std::string ShownParkMessage;      // the message in the strip of the menu bar
    bool MessageStripVisible = false;  // the strip shows (menu bar 165 high, else 128)
    int32_t MenuBarHeight() const { return MessageStripVisible ? 165 : 128; }
    bool BuildingUnlocked(uint8_t type) const;
    // Loans; refused (false, nothing changes) beyond the limit or without the money.
    bool TakeLoan(int32_t amount);
    bool RepayLoan(int32_t amount);
    // Marketing: the price of a price type 1..3 (0 for another type or a price the profile
    // does not offer); whether it can be chosen; the warning when the cash is short.
    int32_t MarketingPrice(int priceType) const;
    bool MarketingPriceOffered(int priceType) const { return MarketingPrice(priceType) > 0; }
    std::string MarketingPriceWarning(int priceType) const;
    // Confirms a campaign of price type 1..3 for readers 1..3: pays, brings 10..19 skiers of
    // that wealth and skill to a fresh arrival point whatever the capacity.
    TSKIMarketingResult StartMarketingCampaign(int priceType, int readerType);
    // PR: +20 popularity for the profile's price; false (nothing) without a price or money.
    bool RunPRCampaign();

    // --- snow and weather (snow*.cpp) --------------------------------------------------------
    // Artificial snow from the snow makers' reach, then the snow overlay and mask.
    void RebuildSnowOverlay();
    // The day change's snow: grooming ends, natural snow grows or melts at the edges of the
    // snow fields by the weather, the overlay is rebuilt.
    void EndOfDaySnow();
    // Grooms the 3 x 3 cells around a cell; cells groomed just now are repainted on the
    // snow overlay in place.
    void GroomAround(int i, int j);
    // Paints one cell of the snow overlay and mask from the cell's state.
    void RepaintSnowCell(int i, int j);
    // Park snow quality from the slope cells; unchanged without slope cells.
    void ComputeSnowQuality();
    void ClearArtificialSnowAround(int i, int j);
    // Displayed temperature in degrees and the weather text of the statistics window.
    int32_t Temperature() const;
    std::string WeatherText() const;
    bool Snowing() const { return Park.ParkWeather >= 0.5f; }
    // Snow under a skier (the skier keeps a copy of its cell).
    static bool CellHasSnow(const TerrainCell& c) { return c.NaturalSnow || c.ArtificialSnow; }
    // Enjoyment a skiing skier gains on the cell in one update: groomed snow adds
    // GameEnjoySnowQualityFactor.
    float SnowEnjoyment(const TerrainCell& c) const;
    // Weight of the cell in the accident test: 9 on a bare cell, else 0.
    static float BareSnowAccidentWeight(const TerrainCell& c) { return CellHasSnow(c) ? 0 : 9; }
    // Multiplier of the cold gathered while idle, skiing or waiting: height times weather.
    float WeatherColdMultiplier(const TerrainCell& c) const;
    // Editor: natural snow above a height; natural snow over the overlay region of a colour.
    void SnowPeaks(float markerHeight);
    void FloodSnow(int i, int j);
    // Falling snow: the view sets the camera every frame; the renderer draws the flakes.
    TSKIVector SnowfallCameraPosition{0, 0, 0, 1};
    TSKIVector SnowfallCameraDirection{0, 0, 1, 0};
    std::vector<TSKIVector> SnowFlakes;
    TSKIVector SnowfallColor{0.9f, 0.9f, 0.9f, 1.0f};
    float SnowfallPointSize = 2.0f;
    bool SnowfallVisible = false;
    int32_t SnowFlakeTarget() const;  // flakes the cloud should have now
    void ResetSnowfall();
    void UpdateSnowfall(float dt);
    void RecentreSnowfall();

    // --- saved games (persistence/saved_game*.cpp) --------------------------------------------
    // The mission's objectives (persistence/objectives_record.h).
    std::vector<TSKIObjective> Objectives;
    // The camera's focus point on the ground (x, z), its height and its zoom-out limit as a
    // load sets them; the view reads and updates them.
    float CameraFocusX = -256, CameraFocusZ = 256;
    float CameraHeight = 500;
    float CameraMaxDistance = 1000;
    // What a close asks the auto-save for: the player's name and the campaign's mission names
    // (by mission index), set by the profile.
    std::string ProfileName;
    std::vector<std::string> MissionNames;
    // Caption of the in-game menu bar after a load: "Sandbox game" or the mission's name.
    std::string GameCaption;
    // Why the last LoadGameFile failed (one line), or empty.
    std::string LoadError;
    // The damaged skier, building and vehicle records the last load left out, one warning
    // line each, and their count.
    std::vector<std::string> LoadWarnings;
    int32_t LoadDropped = 0;
    // Writes the running game into `path` (kept sections of an existing file stay). False
    // with a reason in `error` when it cannot be written; the old file is then untouched.
    bool SaveGameFile(const std::filesystem::path& path, std::string* error = nullptr) const;
    // The text SaveGameFile writes into a new file: equal texts mean equal saved parks.
    std::string SaveGameText() const;
    // Loads a saved game into the engine emptied by CloseGame: its level first, then the park.
    // A file that is missing, names no level, or holds a value out of range or a line that
    // does not parse leaves the engine empty and not busy, with the reason in LoadError. A
    // damaged skier, building or vehicle record is left out with a line in LoadWarnings.
    bool LoadGameFile(const std::filesystem::path& path);
    // The SKIObjectives section of `file` from the objective list (skip -1: all) and back.
    void WriteObjectives(TIniFile& file, int skip = -1) const;
    bool ReadObjectives(const TIniFile& file);
    // The saved line of a slope or lift; rebuilding one from its line and block (false when
    // the line does not parse; a section that cannot be laid on the terrain is dropped).
    std::string SaveLine(const TSKISection& section) const;
    bool RestoreSection(const std::string& line, const std::vector<uint8_t>& block);
    // Offers the auto-save of a running mission ("Save game on exit?"), then empties the
    // engine: entities, objectives, level and both park records.
    void CloseGame();

    // --- terrain beyond the world's grid -------------------------------------------------------
    std::vector<TSKIHouse> Houses;
    TSKITerrainMesh Skirt;
    TSKIImage SnowTexture;    // material "ground"
    TSKIImage GroundTexture;  // material "SnowMaskSec"
    TSKIOverlays Overlays;
    bool EditorOpen = false;  // the level editor window is open (trees are set before paying)

    // --- level files (level_file.cpp) ----------------------------------------------------------
    // Loads "<name>.skil" from the worlds (or add-ons) folder. A missing file leaves the engine
    // as it was; any other failure leaves a clean engine without a level.
    TSKILevelLoadResult LoadLevelFile(const std::string& name, bool fromAddons);
    // Saves the level into the add-ons folder as "<name>.skil"; other sections of an existing
    // file are kept.
    bool SaveLevelFile(const std::string& name, std::string* error = nullptr);
    // Forgets the level: no grid, no meshes, no houses.
    void ClearLevel();

    // --- blocked terrain, trees, overlays (blocked.cpp, trees.cpp, overlays*.cpp) -------------
    void ComputeBlocked(int grain);
    bool PlantTree(int i, int j, int32_t price);
    void RemoveTree(int i, int j);
    int32_t CountTrees() const;
    void CountTreesFelled();
    void RebuildOverlay(TSKIOverlay overlay);
    void RefreshTerrainView();

    // --- construction (construction/*.cpp) ------------------------------------------------
    // Input, as the view feeds it every frame.
    struct TSKIToolInput {
        bool LeftButton = false, Shift = false, PageUp = false, PageDown = false;
    };
    TSKIToolInput ToolInput;
    // The ground point the mouse ray hit (tools.cpp moves the cursor there on the next update).
    void SetCursorTarget(const TSKIVector& groundPoint);
    // Casts the ray against the terrain surface mesh; false (cursor unchanged) on a miss.
    bool CursorFromRay(const TSKIVector& origin, const TSKIVector& direction);
    // State the view reads.
    TSKIVector CursorTarget{0, 0, 0, 1};
    bool CursorTargetSet = false;
    TSKIVector CursorPosition{0, 0, 0, 1};
    float CursorRadius = 10;
    bool CursorSnap = true;
    std::array<TSKIVector, 16> CursorRing{};  // the brush ring, 2 units above the terrain
    TerrainCell CursorCell;
    int CursorI = 0, CursorJ = 0;
    std::string ToolText;                     // hover text; the panel is hidden when empty
    TSKIColor ToolTextColor = kToolTextBlue;  // hover panel colour
    // Previews, as plain data.
    std::vector<TSKIVector> LiftLinePreview;  // samples of the lift line (terrain + 5)
    std::vector<TSKIVector> LiftPoleNodes;    // stations and poles with their heights
    bool LiftPolesVisible = false;            // also the two station markers
    TSKIVector StationMarkers[2]{{0, 0, 0, 1}, {0, 0, 0, 1}};
    std::vector<TSKIVector> SlopePath;     // drawn nodes: position, width (cells) in w
    std::vector<TSKIVector> SlopeSegment;  // from the end cell to the cursor (terrain + 5)
    bool SlopeSegmentValid = false;        // yellow when valid, red when not
    std::vector<TSKIVector> AreaLine;      // area of operations, 2 above the terrain
    bool AreaLineVisible = false;
    TSKIBuildingRecord BuildingPreview;  // the building being placed (tool 11)
    bool BuildingPreviewVisible = false;
    float BuildingPreviewTurn = 0;  // degrees about the vertical axis
    // Tool state.
    int ToolLowerI = 0, ToolLowerJ = 0;  // lower station cell (tool 2)
    uint8_t ToolLiftType = 0;
    int SlopeEndI = 0, SlopeEndJ = 0;      // cell of the last slope node (tool 3)
    TSKIBuilding* AreaBuilding = nullptr;  // selected for the area of operations (tool 12)
    bool SavedCursorSnap = true;           // the player's snap while the building tool holds it off
    bool SkierInfoSavedSnap = true;        // the player's snap while "Skier info" holds it off
    int32_t HouseIndex = 0;                // editor houses (tools 16, 17)
    bool ChangeHouse = false;
    int32_t HouseToDelete = -1;
    bool MenuRequested = false;            // Esc outside a ride: the window opens the in-game menu
    bool ShowDisplayWindow = false;        // a display key was pressed
    std::array<float, 10> KeyCooldowns{};  // per key (Backspace, Esc, digits): seconds left
    bool StartLiftTool(int i, int j, uint8_t liftType);
    bool StartSlopeTool(int i, int j);
    void StartBuildingTool(uint8_t type);
    void StartTreeTool();
    void StartAreaTool(size_t buildingIndex);
    void StartEditorTool(uint8_t code);  // 5, 6, 8, 9, 10, 14, 16, 17
    void CancelTool();
    // Once per frame: cursor, snap, brushes, previews, hover text.
    void UpdateTools(float deltaSeconds);
    // A left mouse-button press in the 3D view.
    void ToolClick();
    void ToolKey(int key);  // kKeyBackspace, kKeyEscape, '1'..'8'
    // Price of a lift of the type between two station cells, from its pole layout.
    int32_t LiftPrice(int lowerI, int lowerJ, int upperI, int upperJ, uint8_t liftType) const;
    // Builds and charges a lift as the lift tool's click does; null when its line is blocked.
    TSKISection* BuildLift(int lowerI, int lowerJ, int upperI, int upperJ, uint8_t liftType);
    // The placement verdict: "OK (price)" or the reason it cannot be placed.
    std::string ValidateBuilding(const TSKIBuildingRecord& record, bool checkMoney) const;
    // Places a building; with `charge` only when valid, and it is paid for.
    bool PlaceBuilding(const TSKIBuildingRecord& record, bool charge);
    // Demolition and replacement (dialogs through Dialogs).
    bool DeleteSection(size_t index, bool askFirst);
    bool DeleteBuilding(size_t index);
    void DeleteUnderCursor();
    std::vector<TSKIReplaceEntry> ReplaceLiftMenu(size_t liftIndex) const;
    // True when replaced. Otherwise `problem` (when given) receives why: the reason shown
    // after "Can not upgrade. ", or empty when the player answered No.
    bool ReplaceLift(size_t liftIndex, uint8_t newType, std::string* problem = nullptr);
    // The objectives are told what was built (kBuiltLift or kBuiltBuilding, and its type).
    std::function<void(int kind, uint8_t type)> OnBuilt;
    // A campaign mission with the editor closed: types must be unlocked in the profile.
    bool CampaignLocks() const { return Park.ParkMissionIndex >= 0 && !EditorOpen; }
    bool LiftUnlocked(uint8_t type) const;
    // --- end construction ---------------------------------------------------------------------

    // The world's requests, answered by the subsystems.
    void GroomCells(int i, int j) override;
    void FellTree(int i, int j) override;
    void TerrainLookChanged() override;
    void OccupancyChanged() override;

private:
    void RebuildOccupancy();
    void RebuildSteepness();
    void RebuildSlopePaint();
    void RebuildObjectImprint();
    void RebuildSnowImages();

    THeadlessDialogs headlessDialogs_;
    std::vector<uint32_t> crowdedCells_;  // cells whose crowd counter is above 1
};

}  // namespace vallorn
