// The headless runner plays missions: as a profile it keeps, a sandbox game and a campaign
// mission, with the objectives and the outcome in its report. Runs use a root of their own
// (the build's data and levels linked in), so nothing is written into the build's save/.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <cstdio>

#include "base/ini_file.h"
#include "base/objectives_record.h"
#include "missions/profile.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

namespace fs = std::filesystem;

struct RunResult {
    int status = -1;
    std::string err;
};

// A program folder: data/ and the shipped levels linked from the build, its own save/ and
// addons/, a template of two missions (the second locked) and sandbox map 1 "Corrie", a saved
// game of the Training level, with the star file 2.
struct MissionRoot {
    MissionRoot() {
        fs::create_symlink(test::BuildRoot() / "data", dir / "data");
        for (const char* folder : {"worlds", "save", "addons"}) fs::create_directory(dir / folder);
        for (const auto& entry : fs::directory_iterator(test::BuildRoot() / "worlds")) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("Training", 0) == 0)
                fs::create_symlink(entry.path(), dir / "worlds" / name);
        }
        TSKIProfile templ;
        templ.Missions = {{"Corrie.ski", "Opening", kMissionUnlocked, 10, 20},
                          {"Corrie.ski", "Later", kMissionLocked, 30, 40}};
        templ.SandBox[0].Text = "Corrie";
        test::WriteText(dir / "worlds" / "missions.txt", ProfileText(templ));
        test::WriteText(dir / "worlds" / "2star.ini",
                        "[SKIObjectives]\nObjCount=1\nObjectiveType0=0\nObjectiveName0=Rich\n"
                        "ObjectiveValue0=400000\nObjectiveActive0=1\nObjectivePrimary0=1\n");
        EXPECT_EQ(
            Sim("run --level Training --ticks 0 --save " + (dir / "worlds" / "Corrie.ski").string())
                .status,
            0);
    }
    RunResult Sim(const std::string& args) const {
        const fs::path err = dir / "stderr.txt";
        const std::string cmd = std::string(VALLORN_SIM) + " " + args + " --root " +
                                dir.Path().string() + " >/dev/null 2>" + err.string();
        RunResult r;
        r.status = std::system(cmd.c_str());
        r.status = WIFEXITED(r.status) ? WEXITSTATUS(r.status) : -1;
        r.err = test::ReadText(err);
        return r;
    }
    std::string Report() const { return test::ReadText(dir / "r.json"); }

    test::TempDir dir;
};

// The report's text from field `from` up to field `to`.
std::string Between(const std::string& json, const std::string& from, const std::string& to) {
    const size_t a = json.find("\"" + from + "\": "), b = json.find("\"" + to + "\": ", a);
    return a == std::string::npos || b == std::string::npos ? "" : json.substr(a, b - a);
}

size_t Count(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(SimMissions, ASandboxGameReportsItsObjectivesAndIsNotAccomplishedInAFewTicks) {
    MissionRoot root;
    const RunResult r = root.Sim(
        "run --profile Ann --sandbox 1 --difficulty 2 --ticks 20 --seed 4 --until-accomplished"
        " --report " +
        (root.dir / "r.json").string());
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("profile 'Ann' created"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("the mission was not accomplished"), std::string::npos) << r.err;
    EXPECT_TRUE(fs::exists(root.dir / "save" / "Ann.prof"));

    const std::string json = root.Report();
    for (const char* field : {"\"ParkMissionIndex\": -1,", "\"ParkSandboxDiff\": 2,",
                              "\"Accomplished\": false,", "\"MissionsCompleted\": [],"})
        EXPECT_NE(json.find(field), std::string::npos) << field;
    // The star file's goal first, then each random goal behind its waiting objective.
    const std::string objectives = Between(json, "Objectives", "Accomplished");
    EXPECT_EQ(objectives.find("\"Name\": \"Rich\",\n      \"Type\": 0,\n      "
                              "\"Value\": 400000,\n      \"Active\": true,\n      "
                              "\"Completed\": false,\n      \"Primary\": true"),
              objectives.find("\"Name\": "))
        << objectives;
    const size_t waits = Count(objectives, "\"Type\": 9");
    EXPECT_EQ(Count(objectives, "\"Name\": "), 1 + 2 * waits);
    EXPECT_LE(waits, 3u);
    EXPECT_NE(objectives.find("\"Name\": \"Objective 2\""), std::string::npos) << objectives;
}

TEST(SimMissions, AMissionStartsUnlessLockedOrMissingAndEndsWhenAccomplished) {
    MissionRoot root;
    struct Case {
        std::string args;
        int status;
        std::string err;
    };
    const Case cases[] = {
        {"--mission 1", 3, "mission 1 is locked"},
        {"--mission 2", 3, "mission 2 does not exist"},
        {"--mission 0 --resume", 3, "mission 0 has no automatic save"},
        {"--sandbox 1 --difficulty 3", 3, "3star.ini"},
        {"--sandbox 2 --difficulty 0", 3, "cannot start sandbox map 2"},
        // A mission without objectives is accomplished at the first evaluation.
        {"--mission 0 --until-accomplished --report " + (root.dir / "r.json").string(), 0, ""},
    };
    for (const Case& c : cases) {
        const RunResult r = root.Sim("run --profile Ann --ticks 2 " + c.args);
        EXPECT_EQ(r.status, c.status) << c.args << ": " << r.err;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << c.args << ": " << r.err;
    }
    // The started mission runs under its index, whatever the file held (-100), and ends at
    // the tick that accomplished it, completed in the profile.
    const std::string json = root.Report();
    for (const char* field : {"\"ParkMissionIndex\": 0,", "\"Objectives\": [],", "\"TicksRun\": 1,",
                              "\"Accomplished\": true,"})
        EXPECT_NE(json.find(field), std::string::npos) << field;
    EXPECT_NE(Between(json, "MissionsCompleted", "LiftsUnlocked").find("\"Name\": \"Opening\""),
              std::string::npos)
        << json;
    EXPECT_NE(test::ReadText(root.dir / "save" / "Ann.prof").find("Opening\r\nC\r\n"),
              std::string::npos);
}

// On a full disk (a limit of no bytes on the files the run writes stands for it) the profile
// the accomplished mission changed and the game asked for with --save cannot be written: both
// are said on stderr and fail the run, and the report still comes on stdout.
TEST(SimMissions, WritesThatFailAreReportedAndTheReportStillComes) {
    MissionRoot root;
    ASSERT_EQ(root.Sim("run --profile Ann --level Training --ticks 0").status, 0);
    const fs::path out = root.dir / "out.json", err = root.dir / "err.txt";
    const std::string run =
        std::string(VALLORN_SIM) +
        " run --profile Ann --mission 0 --ticks 2 --until-accomplished --save " +
        (root.dir / "end.ski").string() + " --root " + root.dir.Path().string();
    const std::string cmd = "{ (trap '' XFSZ; ulimit -f 0; " + run +
                            "; echo \"exit status $?\" >&2) 2>&1 1>&3 3>&- | cat > " +
                            err.string() + "; } 3>&1 | cat > " + out.string();
    ASSERT_EQ(std::system(cmd.c_str()), 0);
    const std::string errors = test::ReadText(err);
    EXPECT_NE(errors.find("cannot write profile 'Ann'"), std::string::npos) << errors;
    EXPECT_NE(errors.find("cannot save game"), std::string::npos) << errors;
    EXPECT_NE(errors.find("exit status 3"), std::string::npos) << errors;
    EXPECT_NE(test::ReadText(out).find("\"Accomplished\": true,"), std::string::npos);
    EXPECT_EQ(test::ReadText(root.dir / "save" / "Ann.prof").find("Opening\r\nC\r\n"),
              std::string::npos);
}

// Without a profile the objectives of a saved game are still evaluated.
TEST(SimMissions, AGameWithoutAProfileEvaluatesItsObjectives) {
    MissionRoot root;
    TIniFile game(root.dir / "worlds" / "Corrie.ski");
    TSKIObjective cash;  // type 0: cash of at least Value; once completed no longer active
    cash.Name = "Some cash";
    cash.Value = 1000;
    cash.Active = true;
    WriteObjectives(game, {cash});
    ASSERT_TRUE(game.SaveToFile(root.dir / "Goal.ski"));
    const RunResult r = root.Sim("run --ticks 3 --game " + (root.dir / "Goal.ski").string() +
                                 " --report " + (root.dir / "r.json").string());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(root.Report().find("\"Name\": \"Some cash\",\n      \"Type\": 0,\n      "
                                 "\"Value\": 1000,\n      \"Active\": false,\n      "
                                 "\"Completed\": true"),
              std::string::npos)
        << root.Report();
    EXPECT_FALSE(fs::exists(root.dir / "save" / ".prof"));
}

}  // namespace
}  // namespace vallorn
