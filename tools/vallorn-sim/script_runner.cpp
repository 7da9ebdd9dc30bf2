#include "script_runner.h"

#include <cmath>
#include <cstdio>

#include "base/atomic_file.h"
#include "construction/build_menu.h"
#include "construction/construction.h"
#include "construction/construction_actions.h"
#include "editor/editor_actions.h"
#include "engine/engine.h"
#include "engine/player_actions.h"
#include "json_writer.h"

namespace vallorn::sim {

bool ScriptedDialogs::AskYesNo(const std::string& text, bool defaultAnswer) {
    lastMessage = text;
    if (answers.empty()) return defaultAnswer;
    const bool yes = answers.front();
    answers.pop_front();
    return yes;
}

namespace {

std::string Number(double v) {
    if (v == std::floor(v) && std::fabs(v) < 1e15) return std::to_string(int64_t(v));
    return std::to_string(v);
}

bool Compare(double a, const std::string& op, double b) {
    if (op == "!=") return a != b;
    if (op == "<") return a < b;
    if (op == "<=") return a <= b;
    if (op == ">") return a > b;
    if (op == ">=") return a >= b;
    return a == b;
}

double Quantity(const TSKIEngine& e, const TSKIToolState& t, const std::string& q) {
    if (q == "cash") return e.Park.ParkCash;
    if (q == "loan") return e.Park.ParkLoan;
    if (q == "lifts") return e.LiftCount();
    if (q == "slopes") return e.SlopeCount();
    if (q == "buildings") return double(e.Buildings.size());
    if (q == "skiers") return double(e.Skiers.size());
    if (q == "tool") return double(t.Tool);
    if (q == "trees") return e.CountTrees();
    if (q == "ticks") return double(e.TicksRun);
    if (q == "day") return double(e.DayChanges);
    if (q == "popularity") return e.Park.ParkPopularity;
    if (q == "speed") return t.Avatar.Speed;
    if (q == "race-time") return t.Avatar.RaceTime;
    double sum = 0;
    for (const auto& s : e.Sections) {
        if (!s->IsLift()) continue;
        sum += q == "riders" ? s->CustomersServed : q == "income" ? s->TotalIncome : 0;
    }
    for (const auto& b : e.Buildings) {
        sum += q == "served" ? b->CustomersServed : q == "income" ? b->TotalIncome : 0;
    }
    return sum;
}

// The player action a direct action line names (the parser has checked its arguments).
TSKIPlayerAction DirectAction(TSKIConstruction& tools, const ScriptStep& s) {
    const std::string& c = s.Command;
    auto n = [&](size_t k) { return ArgInt(s, k); };
    auto ix = [&](size_t k) { return size_t(ArgInt(s, k)); };
    auto on = [&](size_t k) { return s.Args[k] == "on"; };
    if (c == "lift-price") return SetLiftPriceAction(ix(0), int32_t(n(1)));
    if (c == "building-price") return SetBuildingPriceAction(ix(0), int32_t(n(1)));
    if (c == "lift-open") return SetLiftOpenAction(ix(0), on(1));
    if (c == "building-open") return SetBuildingOpenAction(ix(0), on(1));
    if (c == "lift-upgrade") return UpgradeLiftAction(ix(0));
    if (c == "building-upgrade") return UpgradeBuildingAction(ix(0));
    if (c == "loan") {
        return s.Args[0] == "take" ? TakeLoanAction(int32_t(n(1))) : RepayLoanAction(int32_t(n(1)));
    }
    if (c == "marketing") {
        const int price = s.Args[0] == "cheap" ? 1 : s.Args[0] == "normal" ? 2 : 3;
        const int readers = s.Args[1] == "beginners" ? 1 : s.Args[1] == "skiers" ? 2 : 3;
        return MarketingAction(price, readers);
    }
    if (c == "pr") return PRCampaignAction();
    if (c == "speed") return SetSpeedAction(float(n(0)));
    if (c == "editor" || c == "objective") {
        std::vector<std::string> words{c};
        words.insert(words.end(), s.Args.begin(), s.Args.end());
        return *EditorActionFromLine(words);  // the parser has read the line
    }
    if (c == "build-lift") {
        return BuildLiftAction(int(n(0)), int(n(1)), int(n(2)), int(n(3)),
                               uint8_t(LiftTypeArg(s.Args[4])));
    }
    if (c == "slope-start") return SlopeStartAction(tools, int(n(0)), int(n(1)));
    if (c == "slope-node") return SlopeNodeAction(tools, int(n(0)), int(n(1)));
    if (c == "slope-finish") return SlopeFinishAction(tools, int(n(0)), int(n(1)));
    if (c == "building") {
        const float dir = s.Args.size() > 3 ? float(ArgReal(s, 3)) : 0.0f;
        return PlaceBuildingAction(uint8_t(BuildingTypeArg(s.Args[0])), int(n(1)), int(n(2)), dir);
    }
    if (c == "tree") return PlantTreeAction(int(n(0)), int(n(1)));
    if (c == "area") return SetAreaAction(ix(0), int(n(1)), int(n(2)));
    if (c == "delete-section") return DeleteSectionAction(ix(0));
    if (c == "delete-building") return DeleteBuildingAction(ix(0));
    if (c == "race") return DownhillRaceAction(tools, ix(0));
    return ReplaceLiftAction(ix(0), uint8_t(LiftTypeArg(s.Args[1])));
}

class Runner {
public:
    Runner(TSKIConstruction& c, ScriptedDialogs& d, const std::function<bool()>& frame)
        : c_(c), e_(c.Engine), d_(d), frame_(frame) {}

    ScriptOutcome Run(const Script& script) {
        for (const ScriptStep& s : script.Steps) {
            ++out_.Executed;
            Step(s);
            if (out_.StoppedAt || out_.Ended) break;
        }
        return out_;
    }

private:
    void Step(const ScriptStep& s) {
        const std::string& c = s.Command;
        if (c == "cursor") {
            TSKIVector p{float(ArgReal(s, 0)), 0, float(ArgReal(s, 1)), 1};
            if (e_.PositionInGrid(p)) p.y = e_.TerrainHeight(p);
            c_.SetCursorTarget(p);
            c_.UpdateTools(0);
        } else if (c == "cell") {
            c_.SetCursorTarget(e_.CellToWorld(int(ArgInt(s, 0)), int(ArgInt(s, 1)), true));
            c_.UpdateTools(0);
        } else if (c == "click") {
            c_.ToolClick();
            c_.UpdateTools(0);
        } else if (c == "hold") {
            HeldKey(s.Args[0]) = s.Args[1] == "on";
        } else if (c == "key") {
            const std::string& k = s.Args[0];
            c_.ToolKey(k == "backspace" ? kKeyBackspace : k == "escape" ? kKeyEscape : k[0]);
            c_.UpdateTools(0);
        } else if (c == "menu") {
            Record(s, ChooseMenuItem(c_, s.Args[0]));
            c_.UpdateTools(0);
        } else if (c == "answer") {
            const int count = s.Args.size() > 1 ? int(ArgInt(s, 1)) : 1;
            for (int k = 0; k < count; ++k) d_.answers.push_back(s.Args[0] == "yes");
        } else if (c == "wait") {
            Wait(ArgInt(s, 0), s.Args.size() > 1 ? s.Args[1] : "ticks");
        } else if (c == "expect-ok") {
            expectOk_ = s.Args[0] == "on";
        } else if (c == "expect") {
            Expect(s);
        } else {
            Record(s, PerformAction(e_, DirectAction(c_, s)));
        }
    }

    bool& HeldKey(const std::string& name) {
        TSKIToolState::TSKIToolInput& in = c_.State.Input;
        if (name == "left") return in.LeftButton;
        if (name == "shift") return in.Shift;
        if (name == "w") return in.Ride.Forward;
        if (name == "s") return in.Ride.Back;
        if (name == "a") return in.Ride.Left;
        if (name == "d") return in.Ride.Right;
        return in.Ride.Ctrl;
    }

    void Wait(int64_t count, const std::string& unit) {
        if (unit == "frames") {
            for (int64_t k = 0; k < count && Frame(); ++k) {
            }
            return;
        }
        const int64_t ticks = unit == "hours"
                                  ? int64_t(std::llround(double(count) * e_.Game().DayLength / 7.0))
                                  : count;
        const int64_t until = e_.TicksRun + ticks;
        // A park that stops ticking (paused) ends the wait after twice the frames the ticks
        // take at normal speed and the highest frame rate, so a script cannot hang the runner.
        const double tick = std::max(1e-3, double(e_.Game().TickTime));
        const int64_t limit = int64_t(double(ticks) * tick * 2000.0) + 1000;
        for (int64_t k = 0; e_.TicksRun < until && k < limit && Frame(); ++k) {
        }
    }

    // One frame; false once the game has ended the script.
    bool Frame() {
        if (!out_.Ended && !frame_()) out_.Ended = true;
        return !out_.Ended;
    }

    void Record(const ScriptStep& s, const TSKIActionOutcome& o) {
        last_ = o;
        haveLast_ = true;
        if (o.Done()) {
            ++out_.ActionsDone;
            return;
        }
        out_.ActionErrors.push_back({s.Line, s.Text, ActionResultName(o.Result), o.Reason});
        if (expectOk_) out_.StoppedAt = s.Line;
    }

    void Expect(const ScriptStep& s) {
        const std::string& what = s.Args[0];
        bool pass = false;
        std::string found;
        if (what == "text") {
            pass = c_.State.ToolText == s.Args[1];
            found = "the hover text is \"" + c_.State.ToolText + "\"";
        } else if (what == "message") {
            pass = d_.lastMessage == s.Args[1];
            found = "the last message is \"" + d_.lastMessage + "\"";
        } else if (what == "refused" || what == "done") {
            if (!haveLast_) {
                found = "no action ran before";
            } else if (what == "done") {
                pass = last_.Done();
                found = std::string("the last action was ") + ActionResultName(last_.Result) +
                        (last_.Reason.empty() ? "" : ": \"" + last_.Reason + "\"");
            } else {
                pass = !last_.Done() && last_.Reason == s.Args[1];
                found = std::string("the last action was ") + ActionResultName(last_.Result) +
                        (last_.Reason.empty() ? "" : ": \"" + last_.Reason + "\"");
            }
        } else {
            const double have = Quantity(e_, c_.State, what);
            const std::string op = s.Args.size() == 3 ? s.Args[1] : "==";
            pass = Compare(have, op, ArgReal(s, s.Args.size() - 1));
            found = what + " is " + Number(have);
        }
        if (pass) {
            ++out_.ExpectsPassed;
        } else {
            out_.ExpectFailures.push_back({s.Line, s.Text, "ExpectFailed", found});
        }
    }

    TSKIConstruction& c_;
    TSKIEngine& e_;
    ScriptedDialogs& d_;
    const std::function<bool()>& frame_;
    ScriptOutcome out_;
    bool expectOk_ = false;
    TSKIActionOutcome last_;
    bool haveLast_ = false;
};

void Events(JsonWriter& w, const char* key, const std::vector<ScriptEvent>& events) {
    w.BeginArray(key);
    for (const ScriptEvent& ev : events) {
        w.BeginObject();
        w.Field("Line", ev.Line);
        w.Field("Text", ev.Text);
        w.Field("Result", ev.Result);
        w.Field("Detail", ev.Detail);
        w.EndObject();
    }
    w.EndArray();
}

}  // namespace

int LoadScriptFile(const std::string& path, Script& out) {
    // An action script is a short text: a few megabytes is far more than any script needs,
    // and a device or pipe named by mistake is refused instead of read without end.
    constexpr uint64_t kMaxScriptBytes = uint64_t(16) << 20;
    std::string text, why;
    if (!ReadWholeFile(path, text, &why, kMaxScriptBytes)) {
        std::fprintf(stderr, "vallorn-sim: cannot read the action script '%s': %s\n", path.c_str(),
                     why.c_str());
        return 3;
    }
    const std::vector<std::string> errors = ParseScript(text, path, out);
    for (const std::string& e : errors) std::fprintf(stderr, "vallorn-sim: %s\n", e.c_str());
    return errors.empty() ? 0 : 2;
}

void PrintScriptFailures(const Script& script, const ScriptOutcome& o) {
    for (const ScriptEvent& ev : o.ExpectFailures) {
        std::fprintf(stderr, "vallorn-sim: %s:%d: expectation failed: %s (%s)\n",
                     script.File.c_str(), ev.Line, ev.Text.c_str(), ev.Detail.c_str());
    }
    if (o.StoppedAt > 0 && !o.ActionErrors.empty()) {
        const ScriptEvent& ev = o.ActionErrors.back();
        std::fprintf(stderr, "vallorn-sim: %s:%d: stopped: %s was %s: %s\n", script.File.c_str(),
                     ev.Line, ev.Text.c_str(), ev.Result.c_str(), ev.Detail.c_str());
    }
}

ScriptOutcome RunScript(TSKIConstruction& tools, const Script& script, ScriptedDialogs& dialogs,
                        const std::function<bool()>& frame) {
    return Runner(tools, dialogs, frame).Run(script);
}

void WriteScriptReport(JsonWriter& w, const Script& script, const ScriptOutcome& o) {
    w.BeginObject("Script");
    w.Field("File", script.File);
    w.Field("Lines", int64_t(script.Steps.size()));
    w.Field("Executed", int64_t(o.Executed));
    w.Field("ActionsDone", int64_t(o.ActionsDone));
    w.Field("ExpectsPassed", int64_t(o.ExpectsPassed));
    w.Field("ExpectsFailed", int64_t(o.ExpectFailures.size()));
    w.Field("StoppedAt", int64_t(o.StoppedAt));
    w.Field("Ended", o.Ended);
    w.Field("Passed", !o.Failed());
    Events(w, "ActionErrors", o.ActionErrors);
    Events(w, "ExpectFailures", o.ExpectFailures);
    w.EndObject();
}

}  // namespace vallorn::sim
