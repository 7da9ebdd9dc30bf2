// Campaign missions started from the campaign map: "Start", "Replay" and "Restart" load the
// mission's starting game from worlds/, "Resume" its automatic save from the profile's folder.
#include <system_error>

#include "base/safe_path.h"
#include "missions/missions.h"
#include "missions/profile.h"

namespace vallorn {

namespace {

bool IsFile(const std::filesystem::path& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

}  // namespace

std::optional<std::filesystem::path> TSKIMissions::MissionFile(int index, bool resume) const {
    if (index < 0 || index >= profile_.MissionCount()) return std::nullopt;
    const TSKIMissionData& mission = profile_.Missions[size_t(index)];
    std::optional<std::filesystem::path> file;
    if (!resume) {
        file = PathInFolder(engine_.Folders.Worlds, mission.File);
    } else if (!PlayerNameProblem(profile_.Name)) {
        // save/<profile>/auto/<mission name>.ski, both names kept inside their folders.
        if (const auto folder = PathInFolder(engine_.Folders.Save, profile_.Name))
            file = PathInFolder(*folder / "auto", mission.Name, ".ski");
    }
    if (!file || !IsFile(*file)) return std::nullopt;
    return file;
}

bool TSKIMissions::HasAutoSave(int index) const {
    return MissionFile(index, true).has_value();
}

void TSKIMissions::SetMissionIndex(int32_t index) {
    engine_.Park.ParkMissionIndex = index;
    // What the load derived from the index the file held follows the one set now.
    engine_.Viewpoint.MaxDistance = index == 0 ? 200.0f : index == 1 ? 400.0f : 1000.0f;
}

TSKIStartResult TSKIMissions::StartMission(int index, bool resume, const TSKIGameLoader& load) {
    const auto file = MissionFile(index, resume);
    if (!file) return TSKIStartResult::NoFile;
    if (!load(*file)) {
        engine_.Dialogs->ShowError("Loading failed !");
        return TSKIStartResult::LoadFailed;
    }
    SetMissionIndex(index);
    return TSKIStartResult::Started;
}

}  // namespace vallorn
