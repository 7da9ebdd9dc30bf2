// What the missions ask of the game's windows: the objective note, the objectives window and
// its blinking "New objective" panel, help topics, and the mission-accomplished and
// campaign-completed windows. The game implements this with its windows; the headless runner
// and the tests use the recording implementation, which shows nothing and keeps what it was
// asked to show.
#pragma once

#include <string>
#include <vector>

#include "base/objectives_record.h"

namespace vallorn {

// The mission-accomplished window as the accomplished step fills it.
struct TSKIAccomplishedWindow {
    std::string Caption;  // "Mission accomplished" or "Unlimited mode"
    std::string Label1;
    std::string Label2;  // shown only when Label2Visible
    bool Label2Visible = false;
    std::string SecondButton;  // "Leave" or "Continue campaign"
    bool SecondButtonVisible = true;
    int ContinueWidth = 121;  // pixels of "Continue playing": 121, or 249 alone
    // The campaign-completed window is to be shown over it.
    bool ShowCampaignCompleted = false;
};

// The campaign-completed window's texts.
inline constexpr const char* kCampaignCompletedCaption = "Campaign comlpeted";
inline constexpr const char* kCampaignCompletedTitle = "Congratulations !";
inline constexpr const char* kCampaignCompletedText =
    "You completed VALLORN campaign. I hope you enjoeyd playing the game as much as I enjoyed "
    "making it.";
inline constexpr const char* kCampaignCompletedUnlimited =
    "New 'Unlimited' game mode is unlocked in sandbox game.";
inline constexpr const char* kCampaignCompletedButton = "Continue";

class IMissionWindows {
public:
    virtual ~IMissionWindows() = default;
    // The objective note window is on screen (new objectives are not announced meanwhile).
    virtual bool NoteShowing() const = 0;
    // Shows the note of a completed or failed objective (a copy); with `wait` the call returns
    // once the player has pressed OK.
    virtual void ShowNote(const TSKIObjective& objective, bool completed, bool wait) = 0;
    // The objectives window rebuilds its cards.
    virtual void RefreshObjectives() = 0;
    // The objectives window on its active tab with the blinking panel naming `names`.
    virtual void AnnounceObjectives(const std::vector<std::string>& names) = 0;
    // Opens a help topic.
    virtual void ShowHelp(const std::string& topic) = 0;
    // The mission-accomplished window is on screen.
    virtual bool AccomplishedShowing() const = 0;
    virtual void ShowAccomplished(const TSKIAccomplishedWindow& window) = 0;
};

// Shows nothing; keeps every request in order so that a run can report it.
class TRecordedMissionWindows : public IMissionWindows {
public:
    struct TNote {
        TSKIObjective Objective;
        bool Completed = false;
        bool Wait = false;
    };
    bool NoteShowing() const override { return false; }
    void ShowNote(const TSKIObjective& objective, bool completed, bool wait) override {
        Notes.push_back({objective, completed, wait});
    }
    void RefreshObjectives() override { ++Refreshes; }
    void AnnounceObjectives(const std::vector<std::string>& names) override {
        Announced.insert(Announced.end(), names.begin(), names.end());
    }
    void ShowHelp(const std::string& topic) override { HelpTopics.push_back(topic); }
    bool AccomplishedShowing() const override { return false; }
    void ShowAccomplished(const TSKIAccomplishedWindow& window) override {
        Accomplished.push_back(window);
    }

    std::vector<TNote> Notes;
    int Refreshes = 0;
    std::vector<std::string> Announced;
    std::vector<std::string> HelpTopics;
    std::vector<TSKIAccomplishedWindow> Accomplished;
};

}  // namespace vallorn
