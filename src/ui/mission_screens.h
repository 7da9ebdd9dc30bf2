// The game's side of the missions: the objective note (waiting for OK where asked), the
// objectives window with its blinking panel, the mission-accomplished and campaign-completed
// windows, and help topics, as the missions ask for them.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "missions/mission_windows.h"
#include "missions/objective_texts.h"
#include "ui/objectives_window.h"

namespace vallorn {

class TSKIMissionScreens : public IMissionWindows {
public:
    // Draws one frame of the game with `drawBox` on top (the dialogs' frame); false when the
    // window is closing.
    using TFrame = std::function<bool(const std::function<void()>& drawBox)>;
    explicit TSKIMissionScreens(TFrame frame) : frame_(std::move(frame)) {}

    void SetEngine(const TSKIEngine* engine) { engine_ = engine; }
    // Opens a help topic; marks the menu bar's objectives button.
    std::function<void(const std::string&)> Help;
    std::function<void()> MarkObjectivesButton;

    TSKIObjectivesWindow Objectives;

    bool NoteShowing() const override { return noteVisible_; }
    void ShowNote(const TSKIObjective& objective, bool completed, bool wait) override;
    void RefreshObjectives() override;
    void AnnounceObjectives(const std::vector<std::string>& names) override;
    void ShowHelp(const std::string& topic) override;
    bool AccomplishedShowing() const override { return accomplished_.has_value(); }
    void ShowAccomplished(const TSKIAccomplishedWindow& window) override;

    // A load hides the note and the accomplished windows.
    void HideAll();

    struct TActions {
        bool Leave = false;             // "Leave": the title screen
        bool ContinueCampaign = false;  // "Continue campaign": the campaign map
    };
    // Inside the ImGui frame: the note (unless it is being waited for), the accomplished and
    // the campaign-completed windows.
    TActions Draw(float viewWidth, float viewHeight, float scale);

private:
    bool DrawNote(bool modal);

    TFrame frame_;
    const TSKIEngine* engine_ = nullptr;
    bool noteVisible_ = false;
    bool noteWaiting_ = false;
    TSKIObjectiveNoteText note_;
    std::optional<TSKIAccomplishedWindow> accomplished_;
    bool campaignCompleted_ = false;
    bool raiseAccomplished_ = false;
};

}  // namespace vallorn
