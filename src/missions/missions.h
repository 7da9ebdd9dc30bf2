// The running game's missions: the objectives of the park evaluated every tick, completed
// with their unlocks and rewards, failed on time; the campaign, sandbox and add-on games
// started from their files; and the accomplished step that records progress in the profile.
// One TSKIMissions binds one engine to the current profile and the windows; while it lives it
// is the engine's objectives hook and hears what construction builds.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine.h"
#include "missions/mission_windows.h"
#include "missions/profile.h"

namespace vallorn {

// Loads a saved game into the engine as the main window's LoadGame does (the window shows its
// loading screen; the runner and the tests call LoadGameFile). True on success.
using TSKIGameLoader = std::function<bool(const std::filesystem::path& file)>;

enum class TSKIStartResult {
    Started,
    NoFile,      // the file does not exist: nothing happened
    LoadFailed,  // "Loading failed !" was shown
};

class TSKIMissions {
public:
    // Installs the engine's objectives hooks and its OnBuilt; the destructor removes them.
    // `windows` null: a recording implementation of its own.
    TSKIMissions(TSKIEngine& engine, TSKIProfile& profile, IMissionWindows* windows = nullptr);
    ~TSKIMissions();
    TSKIMissions(const TSKIMissions&) = delete;
    TSKIMissions& operator=(const TSKIMissions&) = delete;

    TSKIEngine& Engine() { return engine_; }
    TSKIProfile& Profile() { return profile_; }
    const TSKIProfile& Profile() const { return profile_; }
    IMissionWindows& Windows() { return *windows_; }

    // --- the profile -----------------------------------------------------------------------
    // Copies the profile's terms, name and mission names into the engine (what the economy,
    // the build menu, captions and the auto-save read).
    void ApplyProfile();
    // After a change: ApplyProfile and write the profile file (an error is shown, and kept
    // in ProfileWriteError).
    void ProfileChanged();
    // Why the last profile write that failed failed; empty while none has. A caller without
    // a window to show the error in (the headless runner) reports it from here.
    const std::string& ProfileWriteError() const { return profileWriteError_; }
    // The main window's timer: once the sandbox is unlocked its notice is marked read.
    void SandboxNotice();

    // --- objectives (objectives.cpp) ---------------------------------------------------------
    // The evaluation pass: `building` >= 0 a building of that type was built, `lift` >= 0 a
    // lift of that kind, `building` -2 the race in progress beat its slope's record.
    void EvaluateObjectives(int building, int lift);
    void CompleteObjective(size_t index);
    // The periodic update's announcement of the names gathered by evaluation (the engine's
    // NewObjectives): the windows are told, "GIF" help topics open, the list empties.
    void ShowNewObjectives();

    // --- campaign (campaign.cpp) --------------------------------------------------------------
    // worlds/<file> of mission `index`, or with `resume` its automatic save; nothing when the
    // file does not exist or the index is out of range.
    std::optional<std::filesystem::path> MissionFile(int index, bool resume) const;
    bool HasAutoSave(int index) const;
    // "Start", "Replay", "Restart" (resume false) or "Resume": loads the file and sets
    // ParkMissionIndex to `index`.
    TSKIStartResult StartMission(int index, bool resume, const TSKIGameLoader& load);

    // --- sandbox (sandbox.cpp) ----------------------------------------------------------------
    // "Play" on map 1..21 at difficulty 0 (unlimited) .. 5. A map that fails to load shows
    // "Loading failed !" and starts nothing.
    TSKIStartResult PlaySandbox(int map, int difficulty, const TSKIGameLoader& load);
    // The random objectives of a sandbox game at difficulty d: draws k = 1 .. d + 1.
    void DrawSandboxObjectives(int difficulty);

    // --- add-ons (addons.cpp) -----------------------------------------------------------------
    TSKIStartResult PlayAddon(const std::string& name, const TSKIGameLoader& load);

    // --- the periodic autosave (autosave.cpp) ---------------------------------------------------
    // The game calls it after each day change. A running game of a player with a profile is
    // saved (atomically) as save/<profile>/auto/"Autosave <park> day N.ski", N the game's day
    // counted from its first, and only the kAutosavesKept newest autosaves stay: a crash loses
    // at most a day. The missions' own automatic saves beside them are never touched. The file
    // written; nothing when no game runs or no profile is current, or when the save failed
    // (said in an error box).
    std::optional<std::filesystem::path> Autosave();

    // --- the accomplished step (accomplished.cpp) ---------------------------------------------
    // Records the game's success in the profile and shows the accomplished window (and the
    // campaign-completed one) for ParkMissionIndex `index`.
    void CompleteMission(int32_t index);
    // True once every primary objective is complete (an empty list counts).
    bool MissionAccomplished() const;

private:
    // ParkMissionIndex after a start, with the caption and the camera's zoom-out limit that
    // follow from it (the load set them from the index the file held).
    void SetMissionIndex(int32_t index);

    TSKIEngine& engine_;
    TSKIProfile& profile_;
    IMissionWindows* windows_;
    TRecordedMissionWindows recorded_;
    std::string profileWriteError_;
};

// --- what the windows list (sandbox.cpp, addons.cpp) -----------------------------------------
// The sandbox window's rows: map names 1..20 (and the bonus map when it is open) with the
// highest difficulty completed on each ("" when none).
struct TSKISandboxRow {
    int Map = 1;  // 1..21
    std::string Name;
    std::string Completed;
};
std::vector<TSKISandboxRow> SandboxRows(const TSKIProfile& profile);
// The bonus map is open when every map 1..20 was completed at some difficulty, or any at 5.
bool BonusMapOpen(const TSKIProfile& profile);
// Difficulty button d (0 unlimited, 1..5) is shown.
bool SandboxDifficultyShown(const TSKIProfile& profile, int difficulty);
// "Difficulty: very easy" .. "Difficulty: very hard", "Unlimited".
std::string SandboxDifficultyLabel(int difficulty);
// How many periodic autosaves a profile keeps, and the name of the one written on `day`.
constexpr size_t kAutosavesKept = 3;
std::string AutosaveName(const std::string& park, int64_t day);
// The day of an autosave's name, -1 for a name AutosaveName does not give.
int64_t AutosaveDay(std::string_view name);

// The names of addons/*.ski without ".ski", sorted; the four-letter preview prefix of a name
// and the files it picks (empty path / text when missing).
std::vector<std::string> ListAddons(const TSKIFolders& folders);
std::string AddonPrefix(const std::string& name);
std::filesystem::path AddonPicture(const TSKIFolders& folders, const std::string& prefix);
std::string AddonDescription(const TSKIFolders& folders, const std::string& prefix);

// The load and save window's list: the saved games of a profile, save/<profile>/*.ski and its
// automatic saves save/<profile>/auto/*.ski (the missions' and the periodic ones), newest
// first. Hidden files are left out; a file the game could not open is listed with the reason.
struct TSKISavedGame {
    std::string Name;  // the file's name without ".ski"
    std::filesystem::path Path;
    bool Auto = false;  // in auto/
    int64_t Time = 0;   // when it was written, in seconds since 1970 (UTC)
    std::string Park;   // the park's name the file holds
    // Why the game cannot open it ("its level "X" is missing from worlds/", ...); empty when
    // it can (its content is checked by the load itself).
    std::string Problem;
};
std::vector<TSKISavedGame> ListSavedGames(const TSKIFolders& folders,
                                          const std::string& profileName);
// "2026-12-10 14:05" in local time.
std::string SavedGameTimeText(int64_t time);
// The name "Create new save..." proposes: the list's entries (the create entry included) plus
// one, two digits below 10, "_", and the game's kind: the mission's name, "SandboxMap" and the
// map's number, "Unlimited_Game", "Addon_Game", or "Save".
std::string ProposedSaveName(size_t entries, const TSKIEngine& engine);

}  // namespace vallorn
