// Every shipped campaign mission and every star level of sandbox map 1 has a solution: the
// action scripts of tests/missions/solutions/, played by the headless runner in the order of
// solutions.txt on one profile each (rewards and unlocks carry over), until the mission is
// accomplished. Prints the game days, the end cash and the size of the resort at the end of
// each (skiers, lifts, slope km), so that the difficulty curve can be seen: each campaign
// mission takes at least as many days and ends with at least as big a resort as the one
// before it. A temporary program folder links the
// build's data and worlds and keeps its own save folder.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "missions/profile.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

namespace fs = std::filesystem;

struct SolutionRun {
    std::string script, profile, game;
    int days = 0, seed = 1;
};

fs::path SolutionsFolder() {
    return test::SourceRoot() / "tests" / "missions" / "solutions";
}

std::vector<SolutionRun> ReadManifest() {
    std::vector<SolutionRun> runs;
    std::ifstream in(SolutionsFolder() / "solutions.txt");
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        SolutionRun r;
        if (line.empty() || line[0] == '#' || !(words >> r.script >> r.profile >> r.days >> r.seed))
            continue;
        std::getline(words, r.game);
        runs.push_back(r);
    }
    return runs;
}

// The number after "key": in the runner's JSON report (the first one), or `fallback`.
double ReportNumber(const std::string& json, const std::string& key, double fallback) {
    const auto at = json.find("\"" + key + "\": ");
    return at == std::string::npos ? fallback : std::atof(json.c_str() + at + key.size() + 4);
}

TSKIProfile ReadProfileFile(const fs::path& save, const std::string& name) {
    TSKIProfile p;
    p.Name = name;
    std::string error;
    EXPECT_TRUE(ReadProfile(p, save, &error)) << name << ": " << error;
    return p;
}

TEST(Solutions, EveryMissionAndStarLevelIsAccomplishedByItsScript) {
    const std::vector<SolutionRun> runs = ReadManifest();
    ASSERT_EQ(runs.size(), 20u) << "15 campaign missions and 5 star levels";
    test::TempDir root;
    fs::create_directories(root / "save");
    fs::create_directories(root / "addons");
    for (const char* folder : {"data", "worlds"})
        fs::create_directory_symlink(test::BuildRoot() / folder, root / folder);

    std::printf("%-12s %6s %12s %7s %6s %8s\n", "mission", "days", "cash", "skiers", "lifts",
                "slope km");
    // The end of the campaign mission played last: days, skiers, lifts, slope km.
    std::array<double, 4> campaignEnd{};
    int topDifficulty = 0;  // the highest star level of map 1 solved
    const auto start = std::chrono::steady_clock::now();
    for (const SolutionRun& r : runs) {
        const fs::path report = root / (r.script + ".json"), err = root / (r.script + ".err");
        const std::string cmd = std::string(VALLORN_SIM) + " run --root " + root.Path().string() +
                                " --profile " + r.profile + " " + r.game + " --actions " +
                                (SolutionsFolder() / (r.script + ".actions")).string() +
                                " --until-accomplished --days " + std::to_string(r.days) +
                                " --seed " + std::to_string(r.seed) + " --report " +
                                report.string() + " 2>" + err.string();
        const auto star = r.game.find("--difficulty ");
        if (star != std::string::npos)
            topDifficulty = std::max(topDifficulty, std::atoi(r.game.c_str() + star + 13));
        const int raw = std::system(cmd.c_str());
        const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        const std::string json = fs::exists(report) ? test::ReadText(report) : "";
        EXPECT_EQ(status, 0) << r.script << ":\n" << test::ReadText(err);
        EXPECT_NE(json.find("\"Accomplished\": true"), std::string::npos) << r.script;
        int lifts = 0;
        for (auto at = json.find("\"TicketPrice\": "); at != std::string::npos;
             at = json.find("\"TicketPrice\": ", at + 1))
            ++lifts;
        const std::array<double, 4> end{ReportNumber(json, "TicksRun", 0) / 600.0,
                                        ReportNumber(json, "Total", 0), double(lifts),
                                        ReportNumber(json, "ParkSlopeLength", 0)};
        std::printf("%-12s %6.2f %12.0f %7.0f %6.0f %8.2f\n", r.script.c_str(), end[0],
                    ReportNumber(json, "ParkCash", 0), end[1], end[2], end[3]);
        if (r.profile != "Campaign") continue;
        for (size_t k = 0; k < end.size(); ++k)
            EXPECT_GE(end[k], campaignEnd[k])
                << r.script << " ends smaller than the mission before it in column " << k + 1
                << " (days, skiers, lifts, slope km)";
        campaignEnd = end;
    }
    std::printf("total %.0f s\n",
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());

    // The campaign profile has every mission completed, and so the campaign; the sandbox
    // profile has map 1 completed at the highest difficulty played, one below the next.
    const TSKIProfile campaign = ReadProfileFile(root / "save", "Campaign");
    ASSERT_EQ(campaign.MissionCount(), 15);
    for (const TSKIMissionData& m : campaign.Missions)
        EXPECT_EQ(m.State, kMissionCompleted) << m.Name;
    EXPECT_TRUE(campaign.CampCompleted);
    const TSKIProfile sandbox = ReadProfileFile(root / "save", "Sandbox");
    EXPECT_EQ(sandbox.SandBox[0].Completed, topDifficulty);
    EXPECT_EQ(sandbox.SandboxDiff, std::min(topDifficulty + 1, 5));
}

}  // namespace
}  // namespace vallorn
