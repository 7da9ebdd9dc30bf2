// The names the load and save window lists and proposes.
#include <cstdio>

#include "missions/missions.h"

namespace vallorn {

std::vector<std::string> SavedGameNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        if (entry.path().extension() != ".ski" || !entry.is_regular_file(ec)) continue;
        names.push_back(entry.path().stem().string());
    }
    return names;
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
