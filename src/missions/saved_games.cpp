// What the load and save window lists and proposes: the profile's saved games and its
// automatic saves, newest first, each with its time, its park and, when the game could not
// open it, why.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "base/ini_file.h"
#include "base/safe_path.h"
#include "missions/missions.h"

namespace fs = std::filesystem;

namespace vallorn {

namespace {

constexpr const char* kSuffix = ".ski";

struct TListed {
    TSKISavedGame Game;
    int64_t Nanoseconds = 0;  // within the second of Game.Time, to order saves of one second
};

// Why the game could not open the saved game `file` (empty when it can), and its park's name.
std::string WhyNotLoadable(const TSKIFolders& folders, const fs::path& file, std::string& park) {
    const TIniFile ini(file);
    if (!ini.Exists()) {
        return "it cannot be read" +
               (ini.ReadError().empty() ? std::string() : ": " + ini.ReadError());
    }
    park = ini.ReadString("SKIParkData", "ParkName");
    const std::string world = ini.ReadString("SKIWorld", "WorldName");
    if (world.empty()) return "it is not a saved game: it names no level";
    const bool addon =
        ini.ReadInteger("SKIParkData", "ParkMissionIndex", kMissionNone) == int64_t(kMissionAddon);
    const auto level = PathInFolder(addon ? folders.Addons : folders.Worlds, world, ".skil");
    std::error_code ec;
    if (!level || !fs::is_regular_file(*level, ec))
        return "its level \"" + world + "\" is missing from " + (addon ? "addons/" : "worlds/");
    return {};
}

void ListFolder(const TSKIFolders& folders, const fs::path& folder, bool automatic,
                std::vector<TListed>& out) {
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& path = it->path();
        const std::string file = path.filename().string();
        // Hidden files (and the temporary files of a save under way) are not the player's.
        if (path.extension() != kSuffix || file.front() == '.') continue;
        struct stat st;
        if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        TListed listed;
        TSKISavedGame& game = listed.Game;
        game.Name = path.stem().string();
        game.Path = path;
        game.Auto = automatic;
        game.Time = int64_t(st.st_mtim.tv_sec);
        listed.Nanoseconds = int64_t(st.st_mtim.tv_nsec);
        game.Problem = WhyNotLoadable(folders, path, game.Park);
        out.push_back(std::move(listed));
    }
}

}  // namespace

std::vector<TSKISavedGame> ListSavedGames(const TSKIFolders& folders,
                                          const std::string& profileName) {
    std::vector<TListed> listed;
    if (!PlayerNameProblem(profileName)) {
        if (const auto folder = PathInFolder(folders.Save, profileName)) {
            ListFolder(folders, *folder, false, listed);
            ListFolder(folders, *folder / "auto", true, listed);
        }
    }
    // Newest first; saves of one tick of the file system's clock by the day of an autosave,
    // then by name.
    std::sort(listed.begin(), listed.end(), [](const TListed& a, const TListed& b) {
        if (a.Game.Time != b.Game.Time) return a.Game.Time > b.Game.Time;
        if (a.Nanoseconds != b.Nanoseconds) return a.Nanoseconds > b.Nanoseconds;
        const int64_t dayA = AutosaveDay(a.Game.Name), dayB = AutosaveDay(b.Game.Name);
        if (dayA != dayB) return dayA > dayB;
        return a.Game.Name < b.Game.Name;
    });
    std::vector<TSKISavedGame> games;
    games.reserve(listed.size());
    for (TListed& l : listed) games.push_back(std::move(l.Game));
    return games;
}

std::string SavedGameTimeText(int64_t time) {
    const std::time_t t = std::time_t(time);
    std::tm local{};
    if (!localtime_r(&t, &local)) return {};
    char text[32];
    if (std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local) == 0) return {};
    return text;
}

std::string ProposedSaveName(size_t entries, const TSKIEngine& engine) {
    char number[24];
    std::snprintf(number, sizeof number, "%02zu_", entries + 1);
    const int32_t index = engine.Park.ParkMissionIndex;
    std::string kind = "Save";
    if (index >= 0 && size_t(index) < engine.MissionNames.size()) {
        kind = engine.MissionNames[size_t(index)];
    } else if (index == kMissionUnlimitedSandbox) {
        kind = "Unlimited_Game";
    } else if (index == kMissionAddon) {
        kind = "Addon_Game";
    } else if (index < 0 && index > kMissionAddon) {
        kind = "SandboxMap" + std::to_string(-index);
    }
    return number + kind;
}

}  // namespace vallorn
