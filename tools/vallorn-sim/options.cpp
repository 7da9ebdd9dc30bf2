#include "options.h"

#include "base/number_format.h"
#include "base/safe_path.h"
#include "missions/profile.h"

namespace vallorn::sim {

const char* Usage() {
    return R"(usage:
  vallorn-sim info --level NAME [--addons] [--root DIR] [--save-as NAME]
  vallorn-sim run (--level NAME [--addons] | --game FILE.ski | --mission N [--resume]
                   | --sandbox MAP --difficulty D) [--profile NAME] [--until-accomplished]
                  [--days N | --ticks N] [--speed 1|2|4] [--fps F] [--seed S]
                  [--report OUT.json] [--save OUT.ski] [--skiers N] [--actions FILE]
                  [--check] [--root DIR] [--table OUT.txt]
  vallorn-sim --help

info    loads a level and prints its figures as JSON (grid size, maximum height, counts of
        blocked, tree, natural-snow and road cells, houses). --save-as saves the loaded
        level into the add-ons folder under a new name.
run     loads a level (or, with --game, a saved game and the level it names) and drives
        the game's frame handler with a fixed frame time of 1/F s (default 30 frames a
        second) at the given speed (default 4) for N game days (default 1) or N game ticks;
        questions take their default answers. Prints the report as JSON, or writes it to
        --report. --save writes the park at the end as a saved game. --skiers brings N more
        skiers to the park's arrival point with the first frame (after the script's
        opening lines, up to its first wait), whatever the park's capacity.
        --table writes one line per game day: cash, the day's profit, rating, skiers,
        happiness, accidents (and how many on bare ground), deaths, skiers who left
        unhappy or out of money, the idle share, rides per lift and who skied each slope
        (mean skiers: all/beginners/intermediates/pros). The report gets them as "Days".

Missions: --profile plays as the player NAME: the profile save/NAME.prof is read (and
created from worlds/missions.txt when it does not exist, with a note on stderr); rewards and
unlocks won during the run are written into it. Without --profile the run plays as a new player
whose progress is not kept; the park's objectives are evaluated either way. --mission starts
campaign mission N of the profile (0 is the first; a locked mission cannot be started), from
its automatic save with --resume. --sandbox starts sandbox map MAP (1..20, 21 the bonus map)
at difficulty D: 1 very easy .. 5 very hard, 0 unlimited. Both need --profile.
--until-accomplished ends the run at the first frame after the mission is accomplished;
--days/--ticks stay the upper bound (a script still running then is cut short). The report
lists the objectives ("Objectives": name, type, value, active, completed, primary), whether
the mission was accomplished ("Accomplished") and what the profile gained ("ProfileGained":
missions unlocked and completed, blueprints, changed terms, sandbox progress).

Folders: levels are read from DIR/worlds (or DIR/addons with --addons). DIR is --root when
given, else $VALLORN_ROOT when set, else the program's folder when it has data/ (the build
tree), else ../share/vallorn beside the program's folder (an installed game). For an
installed game (or a DIR that is not writable), save/ and addons/ are kept in
$XDG_DATA_HOME/vallorn/ (~/.local/share/vallorn/).

--check checks the park's consistency after loading and after every game tick: references
between lifts, slopes, skiers, buildings, vehicles and cells, seat and queue counts, cell
ownership and the loan's interest. At the first problem it prints the tick and one line per
problem on stderr and exits 4.

--actions replays a script of player input and actions while the park runs: cursor moves,
clicks, keys, build-menu choices, answers to questions, waits, direct actions (prices,
loans, lifts, slopes, buildings, ...) and expectations (docs/action-scripts.md). Every line
is checked before the run: a bad line is named as FILE:LINE on stderr and the run exits 2
without running. The run lasts at least --days/--ticks and until the script's last line.

Exit status: 0 success, 1 a script's expectation failed (or expect-ok stopped it at an action
that failed) or, with --until-accomplished, the mission was not accomplished, 2 bad arguments
or a bad script line, 3 an input file is missing or cannot be read (a mission that is locked
or has no file, a sandbox map or star file that cannot be loaded, a profile that cannot be
read or created) or a file the run writes (--save, --table, --report, the profile) cannot
be written (the report is still written when it can be), 4 --check found the park
inconsistent.
)";
}

namespace {

std::optional<int64_t> Int(const std::string& s) {
    return ParseInteger(s);
}

}  // namespace

std::optional<std::string> ParseOptions(const std::vector<std::string>& args, Options& o) {
    if (args.empty()) return "no command given";
    const std::string& cmd = args[0];
    if (cmd == "--help" || cmd == "-h" || cmd == "help") {
        o.command = Options::Command::Help;
        return std::nullopt;
    }
    if (cmd == "info") {
        o.command = Options::Command::Info;
    } else if (cmd == "run") {
        o.command = Options::Command::Run;
    } else {
        return "unknown command '" + cmd + "'";
    }
    const bool run = o.command == Options::Command::Run;
    for (size_t k = 1; k < args.size(); ++k) {
        const std::string& a = args[k];
        auto value = [&](std::string& out) -> std::optional<std::string> {
            if (k + 1 >= args.size()) return a + " needs a value";
            out = args[++k];
            return std::nullopt;
        };
        std::string v;
        if (a == "--help" || a == "-h") {
            o.command = Options::Command::Help;
            return std::nullopt;
        } else if (a == "--level") {
            if (auto e = value(o.level)) return e;
            if (o.level.empty()) return "--level needs a name";
        } else if (a == "--addons") {
            o.addons = true;
        } else if (a == "--root") {
            if (auto e = value(o.root)) return e;
        } else if (a == "--save-as" && !run) {
            if (auto e = value(o.saveAs)) return e;
            if (auto why = FileNameProblem(o.saveAs))
                return "--save-as needs a plain name: " + *why;
        } else if (run && (a == "--days" || a == "--ticks")) {
            if (auto e = value(v)) return e;
            auto n = Int(v);
            if (!n || *n < 0) return a + " needs a whole number of 0 or more";
            (a == "--days" ? o.days : o.ticks) = *n;
        } else if (run && a == "--skiers") {
            if (auto e = value(v)) return e;
            auto n = Int(v);
            if (!n || *n < 0 || *n > 1000000)
                return "--skiers needs a whole number from 0 to 1000000";
            o.skiers = *n;
        } else if (run && a == "--speed") {
            if (auto e = value(v)) return e;
            auto n = Int(v);
            if (!n || (*n != 1 && *n != 2 && *n != 4)) return "--speed must be 1, 2 or 4";
            o.speed = double(*n);
        } else if (run && a == "--fps") {
            if (auto e = value(v)) return e;
            auto f = ParseReal(v);
            if (!f || *f < 1 || *f > 1000) return "--fps needs a number from 1 to 1000";
            o.fps = *f;
        } else if (run && a == "--seed") {
            if (auto e = value(v)) return e;
            auto n = Int(v);
            if (!n || *n < 0) return "--seed needs a whole number of 0 or more";
            o.seed = uint64_t(*n);
        } else if (run && a == "--actions") {
            if (auto e = value(o.actions)) return e;
            if (o.actions.empty()) return "--actions needs a file";
        } else if (run && a == "--check") {
            o.check = true;
        } else if (run && a == "--table") {
            if (auto e = value(o.table)) return e;
            if (o.table.empty()) return "--table needs a file";
        } else if (run && a == "--report") {
            if (auto e = value(o.report)) return e;
        } else if (run && a == "--game") {
            if (auto e = value(o.game)) return e;
            if (o.game.empty()) return "--game needs a file";
        } else if (run && a == "--profile") {
            if (auto e = value(o.profile)) return e;
            if (auto why = PlayerNameProblem(o.profile)) return "--profile: " + *why;
        } else if (run && (a == "--mission" || a == "--sandbox" || a == "--difficulty")) {
            if (auto e = value(v)) return e;
            auto n = Int(v);
            const int64_t lo = a == "--sandbox" ? 1 : 0;
            const int64_t hi = a == "--sandbox" ? kSandboxMaps : a == "--difficulty" ? 5 : 1000000;
            if (!n || *n < lo || *n > hi)
                return a + " needs a whole number from " + std::to_string(lo) + " to " +
                       std::to_string(hi);
            (a == "--mission" ? o.mission : a == "--sandbox" ? o.sandbox : o.difficulty) = *n;
        } else if (run && a == "--resume") {
            o.resume = true;
        } else if (run && a == "--until-accomplished") {
            o.untilAccomplished = true;
        } else if (run && a == "--save") {
            if (auto e = value(o.save)) return e;
            if (o.save.empty()) return "--save needs a file";
        } else {
            return "unknown option '" + a + "'";
        }
    }
    const int starts =
        !o.level.empty() + !o.game.empty() + o.mission.has_value() + o.sandbox.has_value();
    if (starts > 1) return "give one of --level, --game, --mission and --sandbox";
    if (starts == 0)
        return run ? "--level, --game, --mission or --sandbox is required" : "--level is required";
    if (o.addons && o.level.empty()) return "--addons goes with --level";
    if ((o.mission || o.sandbox) && o.profile.empty())
        return std::string(o.mission ? "--mission" : "--sandbox") + " needs --profile";
    if (o.resume && !o.mission) return "--resume goes with --mission";
    if (o.sandbox.has_value() != o.difficulty.has_value())
        return "--sandbox and --difficulty go together";
    if (o.days && o.ticks) return "give --days or --ticks, not both";
    return std::nullopt;
}

}  // namespace vallorn::sim
