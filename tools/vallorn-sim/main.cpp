// vallorn-sim: the game's core without a window, for balancing parks, testing maps,
// benchmarks and CI.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "base/atomic_file.h"
#include "base/safe_path.h"
#include "construction/construction.h"
#include "day_table.h"
#include "engine/arrivals.h"
#include "engine/clock.h"
#include "engine/engine.h"
#include "engine/invariants.h"
#include "engine/level_file.h"
#include "json_writer.h"
#include "missions/missions.h"
#include "missions/profile.h"
#include "options.h"
#include "persistence/saved_game.h"
#include "report.h"
#include "script_runner.h"

using namespace vallorn;

namespace {

constexpr int kExitOk = 0;
constexpr int kExitExpect = 1;
constexpr int kExitUsage = 2;
constexpr int kExitInput = 3;
constexpr int kExitCheck = 4;

class ProgressBar {
public:
    explicit ProgressBar(int64_t total) : total_(total), enabled_(isatty(STDERR_FILENO)) {}
    void Update(int64_t done) {
        if (!enabled_ || total_ <= 0) return;
        const int percent = int(done * 100 / total_);
        if (percent == last_) return;
        last_ = percent;
        const int filled = percent / 4;
        std::fprintf(stderr, "\r[%-25s] %3d%%", std::string(size_t(filled), '#').c_str(), percent);
        std::fflush(stderr);
    }
    ~ProgressBar() {
        if (enabled_ && last_ >= 0) std::fprintf(stderr, "\n");
    }

private:
    int64_t total_;
    bool enabled_;
    int last_ = -1;
};

// Values of the parameter files that were refused and replaced by their defaults.
void PrintParameterWarnings(const TSKIEngine& engine) {
    const std::string& w = engine.ParameterWarnings;
    for (size_t at = 0, end; (end = w.find('\n', at)) != std::string::npos; at = end + 1)
        std::fprintf(stderr, "vallorn-sim: warning: %s\n", w.substr(at, end - at).c_str());
}

// --check: the park's problems on stderr and the distinct exit status, at the first one.
void CheckPark(const TSKIEngine& engine) {
    const std::vector<std::string> problems = CheckInvariants(engine);
    if (problems.empty()) return;
    std::fprintf(stderr, "vallorn-sim: the park is inconsistent at tick %lld:\n",
                 static_cast<long long>(engine.TicksRun));
    for (const std::string& line : problems) std::fprintf(stderr, "  %s\n", line.c_str());
    std::fflush(stderr);
    std::exit(kExitCheck);
}

int LoadLevel(TSKIEngine& engine, const sim::Options& o) {
    const TSKILevelLoadResult r = LoadLevelFile(engine, o.level, o.addons);
    if (r.ok()) return kExitOk;
    std::fprintf(stderr, "vallorn-sim: cannot load level '%s': %s\n", o.level.c_str(),
                 r.error.empty() ? "the level file is missing" : r.error.c_str());
    return kExitInput;
}

// A saved game and the level it names.
int LoadGame(TSKIEngine& engine, const sim::Options& o) {
    if (LoadGameFile(engine, o.game)) {
        // Damaged records left out of the park: the run goes on without them.
        for (const std::string& line : engine.LoadWarnings)
            std::fprintf(stderr, "vallorn-sim: warning: %s\n", line.c_str());
        return kExitOk;
    }
    std::fprintf(stderr, "vallorn-sim: cannot load game: %s\n", engine.LoadError.c_str());
    return kExitInput;
}

// --profile: save/<name>.prof read, or created from the template when there is none.
int OpenProfile(const TSKIEngine& engine, const std::string& name, TSKIProfile& profile) {
    std::string error;
    const auto file = PathInFolder(engine.Folders.Save, name, ".prof", &error);
    std::error_code ec;
    if (file && std::filesystem::exists(*file, ec)) {
        profile.Name = name;
        if (ReadProfile(profile, engine.Folders.Save, &error)) return kExitOk;
    } else if (file) {
        switch (CreateProfile(engine.Folders, name, profile, &error)) {
            case TSKIProfileCreated::Created:
                std::fprintf(stderr, "vallorn-sim: profile '%s' created from worlds/missions.txt\n",
                             name.c_str());
                return kExitOk;
            case TSKIProfileCreated::Invalid:
                std::fprintf(stderr, "vallorn-sim: --profile: %s\n", error.c_str());
                return kExitUsage;
            case TSKIProfileCreated::Exists:
                error = "its folder save/" + name + "/ exists without save/" + name + ".prof";
                break;
            case TSKIProfileCreated::Failed:
                break;
        }
    }
    std::fprintf(stderr, "vallorn-sim: cannot open profile '%s': %s\n", name.c_str(),
                 error.c_str());
    return kExitInput;
}

// --mission and --sandbox: the game started as the campaign and sandbox windows start it.
int StartGame(TSKIEngine& engine, TSKIMissions& missions, const sim::Options& o) {
    const TSKIGameLoader load = [&](const std::filesystem::path& file) {
        return LoadGameFile(engine, file);
    };
    auto report = [&](TSKIStartResult result, const std::string& what) {
        if (result == TSKIStartResult::Started) {
            for (const std::string& line : engine.LoadWarnings)
                std::fprintf(stderr, "vallorn-sim: warning: %s\n", line.c_str());
            return kExitOk;
        }
        std::fprintf(stderr, "vallorn-sim: cannot start %s: %s\n", what.c_str(),
                     engine.LoadError.c_str());
        return kExitInput;
    };
    if (o.sandbox) {
        const int map = int(*o.sandbox);
        return report(missions.PlaySandbox(map, int(*o.difficulty), load),
                      "sandbox map " + std::to_string(map));
    }
    const int index = int(*o.mission);
    const TSKIProfile& profile = missions.Profile();
    if (index >= profile.MissionCount()) {
        std::fprintf(stderr, "vallorn-sim: mission %d does not exist: the profile has %d\n", index,
                     int(profile.MissionCount()));
        return kExitInput;
    }
    const TSKIMissionData& mission = profile.Missions[size_t(index)];
    // As on the campaign map: a locked mission has no button.
    if (mission.State == kMissionLocked) {
        std::fprintf(stderr, "vallorn-sim: mission %d is locked\n", index);
        return kExitInput;
    }
    const TSKIStartResult result = missions.StartMission(index, o.resume, load);
    if (result == TSKIStartResult::NoFile) {
        if (o.resume)
            std::fprintf(stderr, "vallorn-sim: mission %d has no automatic save\n", index);
        else
            std::fprintf(stderr, "vallorn-sim: mission %d: its file worlds/%s is missing\n", index,
                         mission.File.c_str());
        return kExitInput;
    }
    return report(result, "mission " + std::to_string(index));
}

int Info(const sim::Options& o) {
    TSKIEngine engine({o.root, o.seed, nullptr});
    PrintParameterWarnings(engine);
    if (int rc = LoadLevel(engine, o)) return rc;
    if (!o.saveAs.empty()) {
        std::string error;
        if (!SaveLevelFile(engine, o.saveAs, &error)) {
            std::fprintf(stderr, "vallorn-sim: cannot save level '%s': %s\n", o.saveAs.c_str(),
                         error.c_str());
            return kExitInput;
        }
    }
    std::cout << sim::LevelInfoJson(engine);
    return kExitOk;
}

int Run(const sim::Options& o) {
    sim::Script script;
    sim::ScriptedDialogs dialogs;
    const bool scripted = !o.actions.empty();
    if (scripted) {
        if (int rc = sim::LoadScriptFile(o.actions, script)) return rc;
    }
    TSKIEngine engine({o.root, o.seed, scripted ? &dialogs : nullptr});
    PrintParameterWarnings(engine);
    // The profile played as, bound to the engine for the whole run: objectives are evaluated,
    // rewards and unlocks go into the profile (written when it has a name).
    TSKIProfile profile;
    if (!o.profile.empty()) {
        if (int rc = OpenProfile(engine, o.profile, profile)) return rc;
    }
    const TSKIProfile profileBefore = profile;
    TSKIMissions missions(engine, profile);
    const int rc = o.mission || o.sandbox ? StartGame(engine, missions, o)
                   : o.game.empty()       ? LoadLevel(engine, o)
                                          : LoadGame(engine, o);
    if (rc) return rc;
    engine.Park.ParkSpeed = float(o.speed);
    // The extra skiers arrive with the first frame: after a script's opening lines, so that
    // they come to the resort it builds rather than to the bare level.
    bool burstArrived = o.skiers <= 0;
    if (o.check) CheckPark(engine);

    const double frame = 1.0 / o.fps;
    const int64_t startTicks = engine.TicksRun;
    const int64_t startDays = engine.DayChanges;
    const int64_t days = o.days.value_or(o.ticks ? 0 : 1);
    const int64_t ticks = o.ticks.value_or(0);
    const int64_t total = o.ticks ? ticks : days * engine.Game().DayLength;
    // The accomplished step has run for this game.
    auto accomplished = [&] { return engine.Park.AccomplishedShown != 0; };
    ProgressBar bar(total);
    auto done = [&] {
        return o.ticks ? engine.TicksRun - startTicks >= ticks
                       : engine.DayChanges - startDays >= days;
    };
    // A frame as the game loop runs it: tool input (with a script), then the frame handler; a
    // day change leaves the tool (and ends a ride).
    TSKIToolState toolState;
    TSKIConstruction tools(engine, toolState);
    int64_t checkedTick = engine.TicksRun;
    sim::DayTable table(engine);
    auto advance = [&] {
        if (!burstArrived) {
            SpawnSkiers(engine, int(o.skiers), UpdateArrivalPoint(engine), 10, 10, true);
            burstArrived = true;
        }
        if (scripted) tools.UpdateTools(float(frame));
        // Without a view to travel, a ride up a lift arrives at once.
        if (toolState.Avatar.TravelPending) EndRideTravel(tools);
        const int64_t daysBefore = engine.DayChanges;
        OnProgress(engine, frame);
        if (engine.DayChanges != daysBefore) tools.LeaveTool();
        if (o.check && engine.TicksRun != checkedTick) {
            checkedTick = engine.TicksRun;
            CheckPark(engine);
        }
        table.AfterFrame();
        bar.Update(engine.TicksRun - startTicks);
        // Under --until-accomplished the run (and a script still running) ends with the mission.
        return !(o.untilAccomplished && accomplished());
    };
    sim::ScriptOutcome outcome;
    if (!(o.untilAccomplished && accomplished())) {
        if (scripted) outcome = sim::RunScript(tools, script, dialogs, advance);
        while (!done() && outcome.StoppedAt == 0 && !outcome.Ended && advance()) {
        }
    }

    // A file the run could not write fails the run, after the report is written.
    bool writeFailed = false;
    if (!o.save.empty()) {
        std::string error;
        if (!SaveGameFile(engine, o.save, &error)) {
            std::fprintf(stderr, "vallorn-sim: cannot save game: %s\n", error.c_str());
            writeFailed = true;
        }
    }
    if (!missions.ProfileWriteError().empty()) {
        std::fprintf(stderr, "vallorn-sim: cannot write profile '%s': %s\n", profile.Name.c_str(),
                     missions.ProfileWriteError().c_str());
        writeFailed = true;
    }

    if (!o.table.empty()) {
        std::string error;
        if (!WriteFileAtomically(o.table, table.Text(), &error)) {
            std::fprintf(stderr, "vallorn-sim: %s\n", error.c_str());
            writeFailed = true;
        }
    }
    const std::string report = sim::RunReportJson(engine, [&](sim::JsonWriter& w) {
        table.WriteJson(w);
        // A script still running when the mission was accomplished ended there ("Ended").
        if (scripted) sim::WriteScriptReport(w, script, outcome);
        sim::WriteMissionReport(w, engine, accomplished(), profileBefore, profile);
    });
    if (o.report.empty()) {
        std::cout << report;
    } else {
        std::string error;
        if (!WriteFileAtomically(o.report, report, &error)) {
            std::fprintf(stderr, "vallorn-sim: %s\n", error.c_str());
            return kExitInput;
        }
    }
    if (writeFailed) return kExitInput;
    if (scripted && outcome.Failed()) {
        sim::PrintScriptFailures(script, outcome);
        return kExitExpect;
    }
    if (o.untilAccomplished && !accomplished()) {
        std::fprintf(stderr, "vallorn-sim: the mission was not accomplished\n");
        return kExitExpect;
    }
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    sim::Options o;
    if (auto error = sim::ParseOptions(args, o)) {
        std::fprintf(stderr, "vallorn-sim: %s\n\n%s", error->c_str(), sim::Usage());
        return kExitUsage;
    }
    try {
        switch (o.command) {
            case sim::Options::Command::Help:
                std::cout << sim::Usage();
                return kExitOk;
            case sim::Options::Command::Info:
                return Info(o);
            case sim::Options::Command::Run:
                return Run(o);
            case sim::Options::Command::None:
                break;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vallorn-sim: %s\n", e.what());
        return kExitInput;
    }
    std::fprintf(stderr, "%s", sim::Usage());
    return kExitUsage;
}
