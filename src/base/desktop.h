// The small interfaces through which the core talks to the desktop. The game implements them
// with windows; the headless runner and the tests use the defaults or fakes.
#pragma once

#include <optional>
#include <string>

namespace vallorn {

struct TSKIParkData;

// Modal dialogs. Each call returns when the player has answered, as a modal box would.
class IDialogs {
public:
    virtual ~IDialogs() = default;
    virtual void ShowError(const std::string& text) = 0;
    virtual void ShowInformation(const std::string& text) = 0;
    // Returns the player's answer; `defaultAnswer` is what a headless run takes.
    virtual bool AskYesNo(const std::string& text, bool defaultAnswer) = 0;
    virtual std::optional<std::string> InputText(const std::string& caption,
                                                 const std::string& prompt,
                                                 const std::string& initial) = 0;
    // The modal end-of-day report: the day's start snapshot, its end snapshot and the number
    // of happy skiers.
    virtual void ShowDayReport(const TSKIParkData& start, const TSKIParkData& end,
                               int happySkiers) = 0;
    virtual void SetBusyCursor(bool busy) { (void)busy; }
};

// Takes the default answer of every question and shows nothing. Messages are kept so that a
// headless run can report them.
class THeadlessDialogs : public IDialogs {
public:
    void ShowError(const std::string& text) override { lastMessage = text; }
    void ShowInformation(const std::string& text) override { lastMessage = text; }
    bool AskYesNo(const std::string& text, bool defaultAnswer) override {
        lastMessage = text;
        return defaultAnswer;
    }
    std::optional<std::string> InputText(const std::string&, const std::string&,
                                         const std::string& initial) override {
        return initial;
    }
    void ShowDayReport(const TSKIParkData&, const TSKIParkData&, int) override { ++reports; }

    std::string lastMessage;
    int reports = 0;
};

}  // namespace vallorn
