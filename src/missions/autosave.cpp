// The periodic autosave: every morning the running game is saved into the profile's auto/
// folder beside the missions' own automatic saves, and only the newest few are kept.
#include <sys/stat.h>

#include <algorithm>
#include <cctype>

#include "base/safe_path.h"
#include "missions/missions.h"
#include "persistence/saved_game.h"

namespace fs = std::filesystem;

namespace vallorn {

namespace {

constexpr std::string_view kPrefix = "Autosave ";
constexpr std::string_view kDay = " day ";

// The park's name as part of a file name: no separators, control characters or leading dots,
// and short enough to leave the name within kMaxPlayerNameLength.
std::string ParkPart(const std::string& park, size_t room) {
    std::string out;
    for (const char c : park) {
        const auto u = static_cast<unsigned char>(c);
        const bool bad = c == '/' || c == '\\' || u < 0x20 || u == 0x7f ||
                         (c == '.' && (out.empty() || out.back() == '.'));
        out += bad ? ' ' : c;
    }
    while (!out.empty() && (out.front() == ' ' || out.front() == '.')) out.erase(0, 1);
    if (out.size() > room) {
        size_t end = room;
        // A letter written in several bytes stays whole.
        while (end > 0 && (static_cast<unsigned char>(out[end]) & 0xC0) == 0x80) --end;
        out.resize(end);
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out.empty() ? "Park" : out;
}

struct TAutosave {
    fs::path Path;
    int64_t Seconds = 0, Nanoseconds = 0, Day = 0;
};

}  // namespace

int64_t AutosaveDay(std::string_view name) {
    if (!name.starts_with(kPrefix)) return -1;
    const size_t at = name.rfind(kDay);
    if (at == std::string_view::npos || at < kPrefix.size()) return -1;
    const std::string_view digits = name.substr(at + kDay.size());
    if (digits.empty() || digits.size() > 18) return -1;
    int64_t day = 0;
    for (const char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return -1;
        day = day * 10 + (c - '0');
    }
    return day;
}

std::string AutosaveName(const std::string& park, int64_t day) {
    const std::string number = std::to_string(std::max<int64_t>(day, 1));
    const size_t fixed = kPrefix.size() + kDay.size() + number.size();
    const size_t room = kMaxPlayerNameLength > fixed ? kMaxPlayerNameLength - fixed : 1;
    return std::string(kPrefix) + ParkPart(park, room) + std::string(kDay) + number;
}

std::optional<fs::path> TSKIMissions::Autosave() {
    if (!engine_.HasGrid() || engine_.Park.ParkMissionIndex == kMissionNone) return std::nullopt;
    if (profile_.Name.empty() || PlayerNameProblem(profile_.Name)) return std::nullopt;
    const auto profileFolder = PathInFolder(engine_.Folders.Save, profile_.Name);
    if (!profileFolder) return std::nullopt;
    const fs::path folder = *profileFolder / "auto";
    auto fail = [this](const std::string& why) {
        engine_.Dialogs->ShowError("The game could not be autosaved: " + why);
        return std::nullopt;
    };
    // A link standing where the folder should be is not followed.
    std::error_code ec;
    const fs::file_type type = fs::symlink_status(folder, ec).type();
    if (type != fs::file_type::directory && type != fs::file_type::not_found)
        return fail(folder.string() + " is not a folder");

    const int64_t dayLength = std::max(1, engine_.Params.Game.DayLength);
    const int64_t time = std::max<int64_t>(engine_.Park.ParkTime, 0);
    std::string name = AutosaveName(engine_.Park.ParkName, time / dayLength + 1);
    // A mission's own automatic save is named after the mission: never written over.
    const auto isMission = [this](const std::string& stem) {
        return std::any_of(profile_.Missions.begin(), profile_.Missions.end(),
                           [&](const TSKIMissionData& m) { return m.Name == stem; });
    };
    if (isMission(name)) name += " (autosave)";
    const fs::path file = folder / (name + ".ski");
    std::string why;
    if (!SaveGameFile(engine_, file, &why)) return fail(why);

    // The newest stay: the one just written, then by the time they were written (and by day,
    // for saves within one tick of the file system's clock).
    std::vector<TAutosave> older;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& path = it->path();
        const std::string stem = path.stem().string();
        struct stat st;
        if (path.extension() != ".ski" || path == file || isMission(stem)) continue;
        const int64_t day = AutosaveDay(stem);
        if (day < 0 || lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
        older.push_back({path, int64_t(st.st_mtim.tv_sec), int64_t(st.st_mtim.tv_nsec), day});
    }
    std::sort(older.begin(), older.end(), [](const TAutosave& a, const TAutosave& b) {
        if (a.Seconds != b.Seconds) return a.Seconds > b.Seconds;
        if (a.Nanoseconds != b.Nanoseconds) return a.Nanoseconds > b.Nanoseconds;
        return a.Day > b.Day;
    });
    for (size_t k = kAutosavesKept - 1; k < older.size(); ++k) fs::remove(older[k].Path, ec);
    return file;
}

}  // namespace vallorn
