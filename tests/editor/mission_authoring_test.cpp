// A mission authored with the editor's operations on a level made from a height map is saved
// as an add-on game and played to the end by the headless runner from an action script.
#include <gtest/gtest.h>

#include <stb_image_write.h>

#include <sys/wait.h>
#include <cstdlib>

#include "editor/level_editor.h"
#include "editor/objective_editor.h"
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

}  // namespace
}  // namespace vallorn
