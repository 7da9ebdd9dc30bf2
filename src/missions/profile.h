// The player's profile: the campaign (missions, their state and their place on the campaign
// map) and everything the campaign has won (friends, blueprints, bank terms, marketing and PR
// prices, sandbox progress). It lives in save/<name>.prof beside the folder save/<name>/ of the
// player's saved games; every new profile starts as a copy of worlds/missions.txt.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/engine.h"

namespace vallorn {

class IDialogs;

enum : uint8_t { kMissionLocked = 0, kMissionUnlocked = 1, kMissionCompleted = 2 };

constexpr int kSandboxMaps = 21;  // maps 1..20 and the bonus map 21
constexpr int kBonusMap = 21;
constexpr uint8_t kMaxSandboxDiff = 5;
constexpr size_t kMaxPlayerNameLength = 64;  // bytes, for profile and saved-game names

struct TSKIMissionData {
    std::string File;  // the starting saved game in worlds/
    std::string Name;  // shown on the map; names its auto-save; unlocks find it by this
    uint8_t State = kMissionLocked;
    int32_t MapTop = 0, MapLeft = 0;  // pixel position of its panel on the campaign map

    bool operator==(const TSKIMissionData&) const = default;
};

struct TSKISandboxMap {
    std::string Text;       // the map's name: worlds/<Text>.ski
    uint8_t Completed = 0;  // highest difficulty completed on it, 0 none

    bool operator==(const TSKISandboxMap&) const = default;
};

struct TSKIProfile {
    std::string Name;  // empty: no profile
    std::vector<TSKIMissionData> Missions;
    // Friends, blueprints, bank terms, marketing and PR prices: what the economy and the
    // build menu read (copied into the engine's Profile). Without a profile: a new player's.
    TSKIProfileTerms Terms = TSKIProfileTerms::NewPlayer();
    bool CampCompleted = false;
    bool SandboxUnlocked = false;  // building 10 unlocked when the file was read
    uint8_t SandboxDiff = 1;       // highest sandbox difficulty the player may choose, 1..5
    bool CampFinishRead = false;
    bool SandboxNotifRead = false;
    std::array<TSKISandboxMap, kSandboxMaps> SandBox{};  // maps 1..21 at 0..20

    int32_t MissionCount() const { return int32_t(Missions.size()); }
    bool operator==(const TSKIProfile&) const;
};

// --- the file ------------------------------------------------------------------------------
// The lines of a profile text without their line ends (LF or CR LF).
std::vector<std::string_view> ProfileLines(std::string_view text);
// The profile file's text (CR LF line ends), the name left out.
std::string ProfileText(const TSKIProfile& profile);
// Reads the text into `out` (its name untouched). Tags are found case-insensitively (the first
// such line); a missing tag or a value beyond the end of the text leaves that value at its
// default; a number that does not parse takes its default; the terms are held to their
// ranges (TSKIProfileTerms::Bounded). A mission whose map position is
// not a number makes the reading fail: false with a one-line reason, `out` untouched.
bool ParseProfile(std::string_view text, TSKIProfile& out, std::string* error = nullptr);
// save/<name>.prof of the profile's name into the object; nothing when the name is empty or
// the file does not exist (true), false with a reason when it cannot be read.
bool ReadProfile(TSKIProfile& profile, const std::filesystem::path& saveFolder,
                 std::string* error = nullptr);
// Writes save/<name>.prof atomically (nothing when the name is empty).
bool WriteProfile(const TSKIProfile& profile, const std::filesystem::path& saveFolder,
                  std::string* error = nullptr);
// Every locked mission of that name becomes unlocked; true when something changed (the caller
// writes the profile).
bool UnlockMission(TSKIProfile& profile, std::string_view name);

// --- names, creating, deleting, choosing ------------------------------------------------------
// "Invalid profile name !" when `name` cannot safely name a file or folder of the player's:
// empty, longer than kMaxPlayerNameLength bytes, with "/", "\", "..", a control character, or
// beginning with ".". Saved-game names follow the same rule.
std::optional<std::string> PlayerNameProblem(std::string_view name);
// A name a new profile may not take: PlayerNameProblem's, and the names the game gives its own
// files and folders in save/ (Options.ini, IniTemp.ini, auto), compared without regard to
// letter case and with or without their extension, refused with a text that names the file.
// A profile of such a name made before stays listed, selectable and deletable.
std::optional<std::string> NewProfileNameProblem(std::string_view name);
// The same rule for a saved-game name typed in the load-and-save window, with the text
// "Invalid file name !".
std::optional<std::string> SaveNameProblem(std::string_view name);
// save/<profile>/<save>.ski for a name typed in the load-and-save window: nothing, with the
// text of the refused name ("Invalid profile name !" or "Invalid file name !"), when either
// name is refused.
std::optional<std::filesystem::path> SavedGamePath(const std::filesystem::path& saveFolder,
                                                   const std::string& profileName,
                                                   const std::string& saveName,
                                                   std::string* error = nullptr);

enum class TSKIProfileCreated { Created, Exists, Invalid, Failed };
// Creates save/<name>/, save/<name>/auto/ and save/<name>.prof as a copy of
// worlds/missions.txt, and reads it into `out` (with the name). Exists: the folder is there
// already; Invalid: NewProfileNameProblem refuses the name (nothing created, its text in
// `error`); Failed: a file operation failed
// (reason in `error`).
TSKIProfileCreated CreateProfile(const TSKIFolders& folders, const std::string& name,
                                 TSKIProfile& out, std::string* error = nullptr);
// "Create new": asks "Enter new profile name:" until a profile is created ("Profile already
// exists !", "Invalid profile name !" (with why, for a reserved name) between tries, the refused
// text proposed again) or the player cancels (false). A failure that is not the name's (no
// template, a folder that cannot be made) is shown with its reason and ends the asking (false), as
// do 100 refused names.
bool AskNewProfile(IDialogs& dialogs, const TSKIFolders& folders, TSKIProfile& out);
// The warning asked before deleting a profile.
std::string DeleteProfileQuestion(const std::string& name);
// "Delete": asks DeleteProfileQuestion (No by default); on Yes deletes the profile (an error
// box when something is left) and clears the current profile's name, whichever profile was
// deleted. True when the player answered Yes.
bool AskDeleteProfile(IDialogs& dialogs, const TSKIFolders& folders, const std::string& name,
                      TSKIProfile& current);
// Deletes save/<name>.prof, save/<name>/auto/ and save/<name>/ with the files in them. Never
// leaves save/, never follows a symbolic link (a link is removed, not what it points to), and
// refuses a name PlayerNameProblem refuses. False with a reason when something is left.
bool DeleteProfile(const TSKIFolders& folders, const std::string& name,
                   std::string* error = nullptr);
// The names of save/*.prof without ".prof", sorted.
std::vector<std::string> ListProfiles(const std::filesystem::path& saveFolder);
// The profile to start with: `lastProfile` (Options.ini) when its file exists, otherwise the
// last of ListProfiles, otherwise empty.
std::string StartupProfileName(const std::filesystem::path& saveFolder,
                               const std::string& lastProfile);

}  // namespace vallorn
