// The mission-accomplished step: a game whose primary objectives are all complete records its
// success in the profile (campaign progress, sandbox difficulty and per-map records) and shows
// the accomplished window, once per game.
#include <algorithm>

#include "missions/missions.h"

namespace vallorn {

namespace {

// Mission indices whose accomplished window reminds of the optional missions.
constexpr int32_t kReminderMissions[] = {11, 14};

bool SecondaryOpen(const std::vector<TSKIObjective>& list) {
    return std::any_of(list.begin(), list.end(), [](const TSKIObjective& o) {
        return !o.Primary && o.Active && !o.Completed;
    });
}

}  // namespace

void TSKIMissions::CompleteMission(int32_t index) {
    if (index == kMissionNone) return;
    TSKIParkData& park = engine_.Park;
    TSKIAccomplishedWindow w;
    w.Caption = "Mission accomplished";
    w.Label1 = "You have successfully completed the mission.";
    bool changed = false;

    if (index < 0) {
        // A sandbox, unlimited or add-on game.
        w.SecondButton = "Leave";
        const bool unlimited =
            index == kMissionUnlimitedSandbox || park.ParkSandboxDiff == kSandboxDiffUnlimited;
        const bool addon = index == kMissionAddon;
        if (!unlimited && park.ParkSandboxDiff >= profile_.SandboxDiff &&
            profile_.SandboxDiff < kMaxSandboxDiff) {
            profile_.SandboxDiff += 1;
            changed = true;
            w.Label2 = "Next sandbox difficulty level unlocked.";
            w.Label2Visible = true;
        }
        const int64_t map = -int64_t(index);
        if (!unlimited && !addon && map >= 1 && map <= kSandboxMaps) {
            uint8_t& best = profile_.SandBox[size_t(map - 1)].Completed;
            if (best < park.ParkSandboxDiff) {
                best = park.ParkSandboxDiff;
                changed = true;
            }
        }
        if (unlimited) {
            w.Caption = "Unlimited mode";
            w.Label1 = "Unlimited mode - play without restrictions.";
            w.Label2 =
                "You have unlimited money and immortal happy skiers. There are no objectives, "
                "just build your park.";
            w.Label2Visible = true;
            w.SecondButtonVisible = false;
            w.ContinueWidth = 249;
        }
    } else {
        // A campaign mission.
        w.SecondButton = "Continue campaign";
        if (std::find(std::begin(kReminderMissions), std::end(kReminderMissions), index) !=
            std::end(kReminderMissions)) {
            w.Label2 =
                "Do not forget about Marketing, Banking and Friends missions. You can win some "
                "usefull rewards in those missions.";
            w.Label2Visible = true;
        } else {
            w.Label2 = "There are still some uncompleted secondary objectives.";
            w.Label2Visible = SecondaryOpen(engine_.Objectives);
        }
        if (index < profile_.MissionCount()) {
            TSKIMissionData& mission = profile_.Missions[size_t(index)];
            if (mission.State != kMissionCompleted) {
                mission.State = kMissionCompleted;
                changed = true;
            }
            const bool all =
                std::all_of(profile_.Missions.begin(), profile_.Missions.end(),
                            [](const TSKIMissionData& m) { return m.State == kMissionCompleted; });
            if (all) {
                if (!profile_.CampFinishRead) w.ShowCampaignCompleted = true;
                if (!profile_.CampCompleted || !profile_.CampFinishRead) changed = true;
                profile_.CampCompleted = true;
                profile_.CampFinishRead = true;
            }
        }
    }

    park.AccomplishedShown = 1;
    if (changed) ProfileChanged();
    Windows().ShowAccomplished(w);
}

}  // namespace vallorn
