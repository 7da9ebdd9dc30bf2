// Missions authored with the editor's operations: one on a level made from a height map is
// saved as an add-on game and played to the end by the headless runner from an action script;
// one on a shipped level is saved beside it and won through the campaign.
#include <gtest/gtest.h>

#include <stb_image_write.h>

#include <sys/wait.h>
#include <cstdlib>

#include "editor/level_editor.h"
#include "editor/objective_editor.h"
#include "engine/level_file.h"
#include "missions/missions.h"
#include "persistence/saved_game.h"
#include "support/test_level.h"

namespace vallorn {
namespace {

namespace fs = std::filesystem;

TEST(MissionAuthoring, AMissionWhoseObjectiveUnlocksAnotherIsWonByAnActionScript) {
    test::TempDir dir;
    fs::create_symlink(test::BuildRoot() / "data", dir / "data");
    for (const char* folder : {"worlds", "save", "addons"}) fs::create_directory(dir / folder);
    test::TestLevel blank;
    blank.name = kBlankLevel;
    blank.blockThreshold = "7";
    test::WriteTestLevel(dir / "worlds", blank);

    // A level on a gentle ramp: the ground rises along the rows.
    std::vector<uint8_t> ramp(size_t(kGridSide) * kGridSide);
    for (int y = 0; y < kGridSide; ++y)
        for (int x = 0; x < kGridSide; ++x)
            ramp[size_t(y) * kGridSide + size_t(x)] = uint8_t(30 + x / 4);
    ASSERT_TRUE(stbi_write_png((dir / "Ramp.png").c_str(), kGridSide, kGridSide, 1, ramp.data(),
                               kGridSide));

    TSKIEngine engine(TSKIEngineSetup{dir.Path(), 3, nullptr});
    std::string error;
    ASSERT_TRUE(NewLevelFromHeightMap(engine, dir / "Ramp.png", "Ridge", &error)) << error;
    SetEditorValue(engine, TEditorValue::Cash, "400000");

    // "Money" is met at once and unlocks "Stall", which only a stall built after it completes;
    // "Platter" waits for a platter lift.
    TSKIObjectiveEditor editor(engine);
    struct Goal {
        std::string name;
        int type, value;
        bool active;
        std::string unlocks;
    };
    const Goal goals[] = {{"Money", 0, 1000, true, "Stall"},
                          {"Stall", 7, kBuildStall, false, ""},
                          {"Platter", 8, kLiftPlatter, true, ""}};
    for (const Goal& g : goals) {
        editor.Add();
        editor.Select(int(engine.Objectives.size()) - 1);
        ASSERT_TRUE(editor.SetName(g.name));
        editor.SetType(g.type);
        editor.SetValue(std::to_string(g.value));
        editor.SetActive(g.active);
        editor.SetUnlockObjective(0, g.unlocks);
    }
    ASSERT_TRUE(SaveMission(engine, "Ridge", &error)) << error;
    ASSERT_TRUE(fs::exists(dir / "addons" / "Ridge.ski"));

    test::WriteText(dir / "play.actions",
                    "expect-ok on\n"
                    "wait 3\n"
                    "build-lift 150 256 180 256 platter\n"
                    "building stall 140 270\n"
                    "wait 3\n");
    const fs::path report = dir / "r.json";
    const std::string cmd =
        std::string(VALLORN_SIM) + " run --game " + (dir / "addons" / "Ridge.ski").string() +
        " --actions " + (dir / "play.actions").string() +
        " --until-accomplished --ticks 60 --report " + report.string() + " --root " +
        dir.Path().string() + " >/dev/null 2>" + (dir / "err.txt").string();
    const int status = std::system(cmd.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    const std::string json = test::ReadText(report);
    EXPECT_EQ(WEXITSTATUS(status), 0) << test::ReadText(dir / "err.txt") << json;
    EXPECT_NE(json.find("\"Accomplished\": true,"), std::string::npos) << json;
    EXPECT_NE(json.find("\"Name\": \"Stall\",\n      \"Type\": 7,\n      \"Value\": 1,\n      "
                        "\"Active\": false,\n      \"Completed\": true"),
              std::string::npos)
        << json;
}

TEST(MissionAuthoring, AMissionSavedOnAShippedLevelIsWonAsACampaignMission) {
    test::TempDir dir;
    fs::create_symlink(test::BuildRoot() / "data", dir / "data");
    for (const char* folder : {"worlds", "save", "addons"}) fs::create_directory(dir / folder);
    test::TestLevel valley;
    valley.name = "Valley";
    test::WriteTestLevel(dir / "worlds", valley);

    // Authored on the shipped level: cash, and one goal that pays and opens the next mission.
    TSKIEngine engine(TSKIEngineSetup{dir.Path(), 3, nullptr});
    ASSERT_TRUE(LoadLevelFile(engine, "Valley", false).ok());
    SetEditorValue(engine, TEditorValue::Cash, "50000");
    TSKIObjectiveEditor editor(engine);
    editor.Add();
    editor.Select(0);
    editor.SetName("Savings");
    editor.SetType(0);
    editor.SetValue("40000");
    editor.SetActive(true);
    editor.SetReward(1);
    editor.SetRewardValue("777");
    editor.SetUnlockMission(0, "Second");
    std::string error;
    ASSERT_TRUE(SaveMission(engine, "Valley", &error)) << error;
    ASSERT_TRUE(fs::exists(dir / "worlds" / "Valley.ski"));  // beside the level, not an add-on
    CloseGame(engine);

    TSKIProfile profile;
    profile.Name = "Ann";
    profile.Missions = {{"Valley.ski", "First", kMissionUnlocked, 0, 0},
                        {"Valley.ski", "Second", kMissionLocked, 0, 0}};
    TSKIMissions missions(engine, profile);
    ASSERT_EQ(missions.StartMission(0, false,
                                    [&](const fs::path& file) {
                                        CloseGame(engine);
                                        return LoadGameFile(engine, file);
                                    }),
              TSKIStartResult::Started);
    EXPECT_EQ(engine.Park.ParkMissionIndex, 0);
    ASSERT_EQ(engine.Objectives.size(), 1u);
    EXPECT_EQ(engine.Objectives[0].Name, "Savings");

    missions.EvaluateObjectives(-1, -1);
    EXPECT_TRUE(engine.Objectives[0].Completed);
    EXPECT_EQ(engine.Park.ParkCash, 50777);
    EXPECT_TRUE(engine.Park.AccomplishedShown);
    EXPECT_EQ(profile.Missions[0].State, kMissionCompleted);
    EXPECT_EQ(profile.Missions[1].State, kMissionUnlocked);
}

}  // namespace
}  // namespace vallorn
