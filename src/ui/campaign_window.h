// The campaign window "Campaign": the campaign map with a panel for every mission that is not
// locked, at its map position, with "Start" / "Replay", or "Restart" and "Resume" when the
// mission has an automatic save.
#pragma once

#include <filesystem>
#include <optional>

#include "missions/missions.h"
#include "ui/picture.h"

struct ImFont;

namespace vallorn {

// A mission panel's buttons as the campaign window shows them.
struct TSKIMissionPanel {
    int Index = 0;
    bool Completed = false;
    bool Resume = false;  // "Restart" and "Resume" rather than "Start" / "Replay"
};
// The panels of the map, in the profile's order: the missions that are not locked.
std::vector<TSKIMissionPanel> MissionPanels(const TSKIMissions& missions);

// A panel's size and type on a map drawn `mapScale` times its own size, from its texts in
// `font`: the interface's type size when they fit in the room the map has between panels,
// smaller when not, so that no text is cut and no panel covers its neighbour.
struct TSKIMissionPanelLayout {
    float Font = 0;    // the type size of every text of the panel
    float Margin = 0;  // around its texts
    float Width = 0, Height = 0;
    float ButtonWidth = 0;  // each button ("Restart" and "Resume" are as wide as each other)
    float ButtonHeight = 0;
    float Gap = 0;  // between the two buttons
};
TSKIMissionPanelLayout LayoutMissionPanel(const ImFont* font, float fontSize, float mapScale,
                                          const std::string& name, const TSKIMissionPanel& panel);
// The texts of a panel's buttons.
const char* FirstButtonText(const TSKIMissionPanel& panel);

class TSKICampaignWindow {
public:
    bool Visible = false;
    // Loads data/campaign.bmp once (needs the GL context).
    void LoadPicture(const std::filesystem::path& dataFolder);
    // Rebuilds the panels (showing the window). What the player picks comes back from Draw.
    void Rebuild(const TSKIMissions& missions);

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
