// Placeholder bodies until games are started from the campaign, sandbox and add-ons (removed
// by that work).
#include "missions/missions.h"

namespace vallorn {

std::optional<std::filesystem::path> TSKIMissions::MissionFile(int, bool) const {
    return std::nullopt;
}
bool TSKIMissions::HasAutoSave(int) const {
    return false;
}
TSKIStartResult TSKIMissions::StartMission(int, bool, const TSKIGameLoader&) {
    return TSKIStartResult::NoFile;
}
TSKIStartResult TSKIMissions::PlaySandbox(int, int, const TSKIGameLoader&) {
    return TSKIStartResult::NoFile;
}
void TSKIMissions::DrawSandboxObjectives(int) {}
TSKIStartResult TSKIMissions::PlayAddon(const std::string&, const TSKIGameLoader&) {
    return TSKIStartResult::NoFile;
}

}  // namespace vallorn
