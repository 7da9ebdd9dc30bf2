// The headless runner on the shipped levels, as players and CI use it.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <algorithm>
#include <cstdio>

#include "base/ini_file.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

namespace fs = std::filesystem;

struct RunResult {
    int status = -1;
    std::string out;
};

// Runs vallorn-sim with the given arguments; stderr goes to `errFile` when given.
RunResult Sim(const std::string& args, const fs::path& errFile = {}) {
    std::string cmd = std::string(VALLORN_SIM) + " " + args;
    cmd += errFile.empty() ? " 2>/dev/null" : " 2>" + errFile.string();
    RunResult r;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    const int raw = pclose(p);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return r;
}

std::string Root() {
    return " --root " + test::BuildRoot().string();
}

// The integer value of a "Key": number pair in the runner's JSON.
long long JsonInt(const std::string& json, const std::string& key) {
    const auto at = json.find("\"" + key + "\": ");
    if (at == std::string::npos) return -1;
    return std::stoll(json.substr(at + key.size() + 4));
}

std::string JsonText(const std::string& json, const std::string& key) {
    const auto at = json.find("\"" + key + "\": \"");
    if (at == std::string::npos) return {};
    const auto start = at + key.size() + 5;
    return json.substr(start, json.find('"', start) - start);
}

TEST(Sim, InfoDescribesTheDefaultMountain) {
    const RunResult r = Sim("info --level Mountain" + Root());
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(JsonInt(r.out, "GridSize"), 512);
    EXPECT_GT(JsonInt(r.out, "TreeCells"), 1000);
    EXPECT_GT(JsonInt(r.out, "NaturalSnowCells"), 1000);
    EXPECT_GT(JsonInt(r.out, "RoadCells"), 50);
    EXPECT_GT(JsonInt(r.out, "Houses"), 0);
    EXPECT_NE(r.out.find("\"MaxHeight\""), std::string::npos);
}

TEST(Sim, RunAdvancesTheClockThroughDaysWithWeatherHistoryAndInterest) {
    test::TempDir dir;
    const RunResult r = Sim("run --level Training --days 2 --speed 4 --seed 5 --report " +
                            (dir / "r.json").string() + Root());
    ASSERT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.empty());  // the report went to the file
    const std::string json = test::ReadText(dir / "r.json");
    EXPECT_EQ(JsonInt(json, "DayChanges"), 2);
    EXPECT_EQ(JsonInt(json, "ParkTime"), 1200);
    EXPECT_EQ(JsonInt(json, "Day"), 2);
    EXPECT_EQ(JsonText(json, "Clock"), "9:00");
    EXPECT_EQ(JsonInt(json, "HistorySamples"), 19);  // one each 61 ticks
    EXPECT_EQ(JsonInt(json, "ParkCash"), 50000);     // no loan, no interest
    EXPECT_EQ(JsonText(json, "StateHash").size(), 16u);
}

TEST(Sim, SameSeedSameParkAndAnotherSeedAnotherWeather) {
    auto hash = [](const std::string& seed) {
        const RunResult r = Sim("run --level Training --ticks 700 --seed " + seed + Root());
        EXPECT_EQ(r.status, 0);
        return JsonText(r.out, "StateHash");
    };
    const std::string a = hash("3");
    EXPECT_EQ(a, hash("3"));
    EXPECT_NE(a, hash("4"));
}

TEST(Sim, TicksAndSpeedsAreHonoured) {
    for (const char* speed : {"1", "2", "4"}) {
        const RunResult r =
            Sim(std::string("run --level blank --ticks 30 --fps 60 --speed ") + speed + Root());
        ASSERT_EQ(r.status, 0) << speed;
        EXPECT_EQ(JsonInt(r.out, "ParkTime"), 30) << speed;
        EXPECT_EQ(JsonInt(r.out, "DayChanges"), 0);
    }
}

TEST(Sim, SkiersCanBeBroughtToTheStarterParkAsTheRunStarts) {
    const std::string game = " --game " + (test::BuildRoot() / "worlds" / "Starter.ski").string();
    const RunResult r = Sim("run --ticks 3 --skiers 250" + game + Root());
    ASSERT_EQ(r.status, 0);
    const auto skiers = r.out.find("\"Skiers\"");
    ASSERT_NE(skiers, std::string::npos) << r.out;
    EXPECT_GE(JsonInt(r.out.substr(skiers), "Total"), 250);
    EXPECT_EQ(JsonText(r.out, "Level"), "Mountain");
}

TEST(Sim, BadArgumentsExitTwoWithUsage) {
    test::TempDir dir;
    for (const char* args :
         {"", "fly", "run", "run --level", "run --level X --speed 3", "run --level X --days -1",
          "run --level X --days 1 --ticks 5", "info --level X --fps 30", "run --level X --bogus",
          "run --level X --fps 0", "info --level X --save-as a/b", "run --level X --skiers -5",
          "run --level X --skiers many", "info --level X --skiers 5"}) {
        const RunResult r = Sim(args, dir / "err.txt");
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_NE(test::ReadText(dir / "err.txt").find("usage:"), std::string::npos) << args;
    }
    const RunResult help = Sim("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("XDG_DATA_HOME"), std::string::npos);
}

TEST(Sim, AMissingOrBrokenLevelExitsThreeWithAReason) {
    test::TempDir dir;
    RunResult r = Sim("run --level NoSuchPeak" + Root(), dir / "err.txt");
    EXPECT_EQ(r.status, 3);
    std::string err = test::ReadText(dir / "err.txt");
    EXPECT_NE(err.find("NoSuchPeak"), std::string::npos);
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1);  // one line

    // A level whose mesh is gone names the file.
    test::MakeProgramFolder(dir.Path());
    for (const auto& entry : fs::directory_iterator(test::BuildRoot() / "worlds")) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("blank", 0) == 0 && name != "blankH.3ds") {
            fs::copy_file(entry.path(), dir / "worlds" / name);
        }
    }
    r = Sim("info --level blank --root " + dir.Path().string(), dir / "err2.txt");
    EXPECT_EQ(r.status, 3);
    err = test::ReadText(dir / "err2.txt");
    EXPECT_NE(err.find("blankH.3ds"), std::string::npos) << err;

    // A device named as the action script is refused, not read without end.
    r = Sim("run --level blank --ticks 1 --actions /dev/zero --root " + dir.Path().string(),
            dir / "err3.txt");
    EXPECT_EQ(r.status, 3);
    EXPECT_NE(test::ReadText(dir / "err3.txt").find("not a regular file"), std::string::npos);
}

TEST(Sim, SaveAsWritesTheLevelIntoAddonsWhereItLoadsAgain) {
    test::TempDir dir;
    test::MakeProgramFolder(dir.Path());
    for (const auto& entry : fs::directory_iterator(test::BuildRoot() / "worlds")) {
        if (entry.path().filename().string().rfind("Training", 0) == 0) {
            fs::copy_file(entry.path(), dir / "worlds" / entry.path().filename());
        }
    }
    const std::string root = " --root " + dir.Path().string();
    const RunResult original = Sim("info --level Training" + root);
    ASSERT_EQ(original.status, 0);
    const RunResult saved = Sim("info --level Training --save-as MyHill" + root);
    ASSERT_EQ(saved.status, 0);
    ASSERT_TRUE(fs::exists(dir / "addons" / "MyHill.skil"));
    const RunResult reloaded = Sim("info --level MyHill --addons" + root);
    ASSERT_EQ(reloaded.status, 0);
    for (const char* key :
         {"BlockedCells", "TreeCells", "NaturalSnowCells", "RoadCells", "Houses"}) {
        EXPECT_EQ(JsonInt(reloaded.out, key), JsonInt(original.out, key)) << key;
    }
}

}  // namespace
}  // namespace vallorn
