#include "engine/engine.h"

#include "engine/clock.h"
#include "engine/level_file.h"
#include "engine/overlays.h"
#include "engine/params.h"
#include "engine/snow.h"

#include <unistd.h>
#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace fs = std::filesystem;

namespace vallorn {

fs::path ProgramFolder() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return fs::current_path(ec);
    return exe.parent_path();
}

fs::path GameRoot(const fs::path& programFolder, const char* rootVariable) {
    if (rootVariable && *rootVariable) return fs::path(rootVariable);
    std::error_code ec;
    if (fs::is_directory(programFolder / "data", ec)) return programFolder;
    const fs::path installed = programFolder.parent_path() / "share" / "vallorn";
    if (fs::is_directory(installed / "data", ec)) return installed;
    return programFolder;
}

fs::path GameRoot() {
    return GameRoot(ProgramFolder(), std::getenv("VALLORN_ROOT"));
}

TSKIFolders TSKIFolders::Resolve(const fs::path& rootIn,
                                 const std::function<bool(const fs::path&)>& writableIn) {
    auto writableFolder = [&](const fs::path& p) {
        return writableIn ? writableIn(p) : access(p.c_str(), W_OK) == 0;
    };
    TSKIFolders f;
    f.Root = rootIn.empty() ? GameRoot() : rootIn;
    f.Data = f.Root / "data";
    f.Worlds = f.Root / "worlds";
    f.Save = f.Root / "save";
    f.Addons = f.Root / "addons";
    f.Cache = f.Root / "cache";
    // An installed game does not write beside its data (marked as installed, or a folder it
    // cannot write to): its player data moves to the user's data folder. Nothing is created
    // here; a folder appears when a file is first written to it.
    std::error_code ec;
    auto usable = [&](const fs::path& p) { return !fs::exists(p, ec) || writableFolder(p); };
    const bool installed = fs::exists(f.Root / kInstalledMark, ec);
    const bool writable = writableFolder(f.Root) && usable(f.Save) && usable(f.Addons);
    if (installed || !writable) {
        // $<variable>/vallorn, else ~/<fallback>/vallorn, else under the temporary folder.
        auto userFolder = [&](const char* variable, const fs::path& fallback, const char* last) {
            if (const char* xdg = std::getenv(variable); xdg && *xdg)
                return fs::path(xdg) / "vallorn";
            if (const char* home = std::getenv("HOME"); home && *home)
                return fs::path(home) / fallback / "vallorn";
            return fs::temp_directory_path(ec) / last;
        };
        const fs::path base = userFolder("XDG_DATA_HOME", fs::path(".local") / "share", "vallorn");
        f.Save = base / "save";
        f.Addons = base / "addons";
        f.Cache = userFolder("XDG_CACHE_HOME", ".cache", "vallorn-cache");
    }
    return f;
}

TSKIEngine::TSKIEngine(const TSKIEngineSetup& setup) : TSKIWorld(setup.Seed) {
    Dialogs = setup.Dialogs ? setup.Dialogs : &headlessDialogs_;
    SetDisplay(setup.Display);
    Folders = TSKIFolders::Resolve(setup.Root);
    // The park's random numbers once gave the figures their animation phases (the view keeps
    // those now); the draws stay, so that a seed gives the park it always gave.
    for (int k = 0; k < kCharacterTemplates; ++k) (void)Rng.Range(0, 19);
    LoadParameters(*this);
    Park = TSKIParkData{};
    Park.ParkMissionIndex = kMissionNone;
    StartOfDay = Park;
    Running = false;  // the level loader starts the clock
}

TSKIEngine::~TSKIEngine() {
    Halted = true;
    SetDisplay(nullptr);  // the view may be gone before the park
    // The grid's storage goes back for the next level load, before the containers, which then
    // have no cells to let go of.
    ClearLevel(*this);
    ClearContainers();
}

void TSKIEngine::ClearContainers() {
    ArrivalBuilding = nullptr;
    Skiers.clear();
    Vehicles.clear();
    Buildings.clear();
    Sections.clear();
    GarageCount = 0;
    ParkMessages.clear();
    MessageSamples = 0;
    ShownParkMessage.clear();
    NewObjectives.clear();
    for (auto& series : History) series.clear();
    HistorySamples = 0;
    display_->ParkCleared(false);
    for (TerrainCell& c : Grid) {
        c.Section = -1;
        c.NearestSection = -1;
        c.Building = -1;
    }
}

void TSKIEngine::SetDisplay(ITSKIDisplay* display) {
    display_ = display ? display : &headlessDisplay_;
}

void TSKIEngine::ResetParkData() {
    TSKIParkData fresh;
    fresh.ParkCash = 50000;
    fresh.ParkMaxSkiers = 300;
    fresh.ParkWeather = float(Rng.Uniform());
    fresh.ParkSpeed = 1.0f;
    fresh.ParkMissionIndex = kMissionNone;
    fresh.AccomplishedShown = 0;
    Park = fresh;
    StartOfDay = TakeSnapshot();
    TickAccumulator = HistoryAccumulator = HourAccumulator = 0;
}

std::string GameCaption(const TSKIEngine& engine) {
    const int32_t mission = engine.Park.ParkMissionIndex;
    if (mission == kMissionNone) return {};
    if (!IsCampaignMission(mission)) return "Sandbox game";
    return size_t(mission) < engine.MissionNames.size() ? engine.MissionNames[size_t(mission)]
                                                        : std::string();
}

int32_t TSKIEngine::LiftCount() const {
    int32_t n = 0;
    for (const auto& s : Sections) n += s->IsLift();
    return n;
}

int32_t TSKIEngine::SlopeCount() const {
    int32_t n = 0;
    for (const auto& s : Sections) n += s->IsSlope();
    return n;
}

void TSKIEngine::GroomCells(int i, int j) {
    GroomAround(*this, i, j);
}

void TSKIEngine::FellTree(int i, int j) {
    RemoveTree(i, j);
}

void TSKIEngine::TerrainLookChanged() {
    RefreshTerrainView(*this);
}

void TSKIEngine::OccupancyChanged() {
    RebuildOverlay(*this, TSKIOverlay::Occupancy);
}

TSKIParkData TSKIEngine::TakeSnapshot() const {
    TSKIParkData snap = Park;
    snap.ParkLiftCount = LiftCount();
    snap.ParkSlopeCount = SlopeCount();
    snap.ParkSkierCount = int32_t(Skiers.size());
    snap.ParkWeatherText = WeatherText(*this);
    return snap;
}

TSKIProfileTerms TSKIProfileTerms::Bounded() const {
    TSKIProfileTerms t = *this;
    t.Friends = std::clamp(t.Friends, 0, kMaxFriends);
    t.LoanInterest = std::clamp(t.LoanInterest, 0, kMaxLoanInterest);
    t.LoanLimit = std::clamp(t.LoanLimit, 0, kMaxLoanLimit);
    for (int32_t* price :
         {&t.MarketingPriceCheap, &t.MarketingPriceNormal, &t.MarketingPriceVIP, &t.PRCampPrice})
        *price = std::clamp(*price, 0, kMaxCampaignPrice);
    return t;
}

}  // namespace vallorn
