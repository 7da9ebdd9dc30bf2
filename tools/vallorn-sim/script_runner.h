// Replays a checked action script against a running park: input to the construction tools,
// menu choices, answers to questions, waits, direct player actions and expectations.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "base/desktop.h"
#include "script_parser.h"

namespace vallorn {
class TSKIConstruction;
}

namespace vallorn::sim {

class JsonWriter;

// Questions take the answers the script queued ("answer yes 2"), then their defaults; every
// text shown is kept as the last message.
class ScriptedDialogs : public IDialogs {
public:
    void ShowError(const std::string& text) override { lastMessage = text; }
    void ShowInformation(const std::string& text) override { lastMessage = text; }
    bool AskYesNo(const std::string& text, bool defaultAnswer) override;
    std::optional<std::string> InputText(const std::string&, const std::string&,
                                         const std::string& initial) override {
        return initial;
    }
    void ShowDayReport(const TSKIParkData&, const TSKIParkData&, int) override { ++reports; }

    std::deque<bool> answers;
    std::string lastMessage;
    int reports = 0;
};

struct ScriptEvent {
    int Line = 0;
    std::string Text;    // the script line
    std::string Result;  // "Refused", "Failed", "Declined", "ExpectFailed"
    std::string Detail;  // the reason, or what the expectation found
};

struct ScriptOutcome {
    int Executed = 0;  // lines run
    int ActionsDone = 0;
    int ExpectsPassed = 0;
    std::vector<ScriptEvent> ActionErrors;
    std::vector<ScriptEvent> ExpectFailures;
    int StoppedAt = 0;   // the line at which "expect-ok on" stopped the script, 0 if none
    bool Ended = false;  // the game ended the script (the frame said so) before its last line
    bool Failed() const { return !ExpectFailures.empty() || StoppedAt > 0; }
};

// Reads and checks a script file, printing what is wrong on stderr. Returns 0, 3 when the
// file cannot be read, or 2 when a line is bad (every bad line is named as FILE:LINE).
int LoadScriptFile(const std::string& path, Script& out);

// Runs every line in order against the park and the construction tools; `frame` advances the
// game by one frame (the tools' update and the frame handler) and returns false when the game
// is over for the script (a mission accomplished), which ends the script there. Returns what
// happened; nothing is printed.
ScriptOutcome RunScript(TSKIConstruction& tools, const Script& script, ScriptedDialogs& dialogs,
                        const std::function<bool()>& frame);

// The failed expectations and the stop of expect-ok, one a line on stderr as FILE:LINE.
void PrintScriptFailures(const Script& script, const ScriptOutcome& outcome);

// The "Script" object of the run report.
void WriteScriptReport(JsonWriter& w, const Script& script, const ScriptOutcome& outcome);

}  // namespace vallorn::sim
