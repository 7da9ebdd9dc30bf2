// The campaign window "Campaign": the campaign map with a panel for every mission that is not
// locked, at its map position, with "Start" / "Replay", or "Restart" and "Resume" when the
// mission has an automatic save.
#pragma once

#include <filesystem>
#include <optional>

#include "missions/missions.h"
#include "ui/picture.h"

namespace vallorn {

// A mission panel's buttons as the campaign window shows them.
struct TSKIMissionPanel {
    int Index = 0;
    bool Completed = false;
    bool Resume = false;  // "Restart" (57 wide) and "Resume" rather than "Start"/"Replay" (115)
};
// The panels of the map, in the profile's order: the missions that are not locked.
std::vector<TSKIMissionPanel> MissionPanels(TSKIMissions& missions);

class TSKICampaignWindow {
public:
    bool Visible = false;
    // Loads data/campaign.bmp once (needs the GL context).
    void LoadPicture(const std::filesystem::path& dataFolder);
    // Rebuilds the panels (showing the window).
    void Rebuild(TSKIMissions& missions);

    struct TResult {
        std::optional<int> Start;  // the mission to start
        bool Resume = false;       // from its automatic save
        bool Closed = false;
    };
    TResult Draw(const TSKIProfile& profile, float viewWidth, float viewHeight, float scale);

private:
    TSKIPicture background_;
    std::vector<TSKIMissionPanel> panels_;
    bool raise_ = false;
};

}  // namespace vallorn
