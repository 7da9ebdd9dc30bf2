// The objectives of the running game: evaluated every tick and on build and race events,
// completed with their unlocks and rewards, failed when their time runs out, reopened when a
// reversible goal stops holding, announced once per game, and the mission check.
#include <algorithm>
#include <string_view>

#include "missions/missions.h"
#include "missions/objective_types.h"

namespace vallorn {

void TSKIMissions::EvaluateObjectives(int building, int lift) {
    std::vector<TSKIObjective>& list = engine_.Objectives;
    const int32_t now = engine_.Park.ParkTime;

    // 1. The open objectives: announced once, tested, and held to their time limits. The list
    // is indexed afresh each time: completing one may unlock later ones in this same pass.
    for (size_t i = 0; i < list.size(); ++i) {
        if (!list[i].Active || list[i].Completed) continue;
        if (!list[i].Announced && !Windows().NoteShowing()) {
            if (!ObjectiveKind(list[i].Type).Waits) engine_.NewObjectives.push_back(list[i].Name);
            list[i].Announced = true;
        }
        if (ObjectiveMet(engine_, list[i], building, lift)) CompleteObjective(i);

        TSKIObjective& o = list[i];
        // An objective met on this very pass is no longer held to its limit.
        if (o.Completed || o.TimeGoal <= 0) continue;
        if (int64_t(o.TimeStarted) + o.TimeGoal >= int64_t(now)) continue;
        if (ObjectiveKind(o.Type).Waits) {
            CompleteObjective(i);
        } else {
            o.Active = false;
            o.Completed = false;
            const TSKIObjective failed = o;
            Windows().ShowNote(failed, false, true);
            Windows().RefreshObjectives();
        }
    }

    // 2. A completed reversible goal whose condition no longer holds is pursued again; met
    // again later, it completes and pays once more.
    for (TSKIObjective& o : list) {
        if (!o.Completed || !o.Reversible) continue;
        if (!ObjectiveBroken(engine_, o)) continue;
        o.Completed = false;
        o.Active = true;
        Windows().RefreshObjectives();
    }

    // 3. The mission check.
    if (MissionAccomplished() && !Windows().AccomplishedShowing() &&
        !engine_.Park.AccomplishedShown) {
        CompleteMission(engine_.Park.ParkMissionIndex);
    }
}

void TSKIMissions::CompleteObjective(size_t index) {
    std::vector<TSKIObjective>& list = engine_.Objectives;
    if (index >= list.size() || list[index].Completed) return;
    list[index].Completed = true;
    list[index].Active = false;
    const TSKIObjective done = list[index];

    // Unlocks by name: every objective of that name not yet completed is pursued from now.
    for (const std::string& name : done.UnlocksObjectives) {
        if (name.empty()) continue;
        for (TSKIObjective& o : list) {
            if (o.Name != name || o.Completed) continue;
            o.Active = true;
            o.TimeStarted = engine_.Park.ParkTime;
        }
    }
    bool profileChanged = false;
    for (const std::string& name : done.UnlocksMissions) {
        if (!name.empty() && UnlockMission(profile_, name)) profileChanged = true;
    }

    // The reward.
    const TSKIRewardKind& reward = RewardKind(done.Reward);
    if (reward.Give && reward.Give(engine_.Park, profile_.Terms, done.RewardValue))
        profileChanged = true;
    if (profileChanged) ProfileChanged();

    if (!ObjectiveKind(done.Type).Waits && !done.Reversible) Windows().ShowNote(done, true, false);
    Windows().RefreshObjectives();
}

void TSKIMissions::ShowNewObjectives() {
    std::vector<std::string>& names = engine_.NewObjectives;
    if (names.empty()) return;
    Windows().AnnounceObjectives(names);
    // The help topics of the objectives just announced that are animated guides ("GIF..."),
    // each opened once.
    std::vector<std::string> opened;
    for (const TSKIObjective& o : engine_.Objectives) {
        if (!o.Announced || !std::string_view(o.Help).starts_with("GIF")) continue;
        if (std::find(names.begin(), names.end(), o.Name) == names.end()) continue;
        if (std::find(opened.begin(), opened.end(), o.Help) != opened.end()) continue;
        opened.push_back(o.Help);
        Windows().ShowHelp(o.Help);
    }
    names.clear();
}

bool TSKIMissions::MissionAccomplished() const {
    return std::none_of(engine_.Objectives.begin(), engine_.Objectives.end(),
                        [](const TSKIObjective& o) { return o.Primary && !o.Completed; });
}

}  // namespace vallorn
