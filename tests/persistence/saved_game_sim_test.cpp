// The headless runner with saved games: a run saved, a run continued from it, closing a
// mission with its auto-save, and the objectives section on its own.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>

#include "base/ini_file.h"
#include "persistence/saved_game.h"
#include "support/engine_fixture.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

namespace fs = std::filesystem;

int Sim(const std::string& args, const fs::path& errFile) {
    const std::string cmd = std::string(VALLORN_SIM) + " " + args + " --root " +
                            test::BuildRoot().string() + " >/dev/null 2>" + errFile.string();
    const int raw = std::system(cmd.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

TEST(SavedGameRunner, RunsSaveAndContinueFromASavedGame) {
    test::TempDir dir;
    const fs::path first = dir / "first.ski", second = dir / "second.ski", err = dir / "err";
    ASSERT_EQ(Sim("run --level Mountain --ticks 3 --save " + first.string(), err), 0)
        << test::ReadText(err);
    ASSERT_EQ(Sim("run --game " + first.string() + " --ticks 4 --save " + second.string(), err), 0)
        << test::ReadText(err);
    const TIniFile a(first), b(second);
    EXPECT_EQ(b.ReadString("SKIWorld", "WorldName"), "Mountain");
    EXPECT_GT(b.ReadInteger("SKIParkData", "ParkTime", 0),
              a.ReadInteger("SKIParkData", "ParkTime", 0));

    // Unreadable games end with status 3 and one line on stderr.
    const fs::path bad = test::SourceRoot() / "tests/persistence/bad_saves/unknown_level.ski";
    for (const fs::path& game : {bad, dir / "absent.ski"}) {
        EXPECT_EQ(Sim("run --game " + game.string() + " --ticks 1", err), 3);
        const std::string text = test::ReadText(err);
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << text;
    }
    EXPECT_EQ(Sim("run --game " + first.string() + " --level Mountain", err), 2);
}

TEST(SavedGameClose, AMissionOffersItsAutoSaveThenTheEngineIsEmpty) {
    test::EngineFixture f;
    TSKIEngine& e = *f;
    e.ProfileName = "Ann";
    e.MissionNames = {"First Steps", "Second"};
    e.Park.ParkMissionIndex = 1;
    e.Objectives.resize(2);

    // Without the profile's auto folder nothing is asked.
    CloseGame(e);
    EXPECT_TRUE(f.dialogs.questions.empty());
    EXPECT_TRUE(e.Objectives.empty());
    EXPECT_EQ(e.Park.ParkMissionIndex, -100);

    // Nor when a link stands where the auto folder should be: nothing is written through it.
    const fs::path autoFolder = e.Folders.Save / "Ann" / "auto";
    const fs::path elsewhere = e.Folders.Root / "elsewhere";
    fs::create_directories(elsewhere);
    fs::create_directories(autoFolder.parent_path());
    fs::create_directory_symlink(elsewhere, autoFolder);
    e.Park.ParkMissionIndex = 1;
    CloseGame(e);
    EXPECT_TRUE(f.dialogs.questions.empty());
    EXPECT_TRUE(fs::is_empty(elsewhere));
    fs::remove(autoFolder);

    fs::create_directories(autoFolder);
    e.Park.ParkMissionIndex = 1;
    e.Park.ParkCash = 4321;
    f.dialogs.answer = true;
    CloseGame(e);
    ASSERT_EQ(f.dialogs.questions, std::vector<std::string>{"Save game on exit?"});
    const TIniFile saved(autoFolder / "Second.ski");
    EXPECT_EQ(saved.ReadInteger("SKIParkData", "ParkCash", 0), 4321);
    EXPECT_EQ(saved.ReadInteger("SKIParkData", "ParkMissionIndex", 0), 1);

    // "No" saves nothing; a sandbox game is never asked.
    e.Park.ParkMissionIndex = 0;
    f.dialogs.answer = false;
    CloseGame(e);
    EXPECT_FALSE(fs::exists(autoFolder / "First Steps.ski"));
    e.Park.ParkMissionIndex = -3;
    CloseGame(e);
    EXPECT_EQ(f.dialogs.questions.size(), 2u);
    EXPECT_FALSE(e.Busy);
}

TEST(ObjectivesRecord, WritesEveryFieldAndSkipsOneByRenumbering) {
    std::vector<TSKIObjective> list(3);
    for (size_t k = 0; k < list.size(); ++k) {
        TSKIObjective& o = list[k];
        o.Type = uint8_t(k + 18);
        o.Name = "Goal " + std::to_string(k);
        o.Description = "Reach; the \"top\"";
        o.UnlocksObjectives[4] = "Next " + std::to_string(k);
        o.UnlocksMissions[0] = "Mission";
        o.Value = -7 * int32_t(k);
        o.GridX = 511, o.GridY = 3;
        o.TimeGoal = 900, o.TimeStarted = 12;
        o.Primary = k != 1;
        o.Reward = 11;
        o.RewardValue = 2147483647;
        o.Reversible = true;
        o.Completed = k == 2;
        o.Announced = o.Completed;
        o.Help = "GIFhelp";
    }
    TIniFile file;
    WriteObjectives(file, list, -1);
    std::vector<TSKIObjective> back;
    std::string error;
    ASSERT_TRUE(ReadObjectives(file, back, &error)) << error;
    EXPECT_EQ(back, list);
    EXPECT_EQ(file.ReadString("SKIObjectives", "ObjectiveUnlocksObjective42"), "Next 2");

    // Leaving out the middle one moves the last one down.
    WriteObjectives(file, list, 1);
    ASSERT_TRUE(ReadObjectives(file, back, &error)) << error;
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0], list[0]);
    EXPECT_EQ(back[1], list[2]);
    EXPECT_FALSE(file.ValueExists("SKIObjectives", "ObjectiveName2"));

    // An objective value beyond 32 bits is refused and the list is left as it was.
    file.WriteString("SKIObjectives", "ObjectiveValue1", "4294967296");
    EXPECT_FALSE(ReadObjectives(file, back, &error));
    EXPECT_NE(error.find("ObjectiveValue"), std::string::npos);
    EXPECT_EQ(back.size(), 2u);
}

}  // namespace
}  // namespace vallorn
