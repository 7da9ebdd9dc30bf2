// The level and mission editor in the real game: opened from the menu bar's "Edit", an
// objective added on its "Objectives" page, and the game saved through its own file dialog.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/ini_file.h"
#include "base/objectives_record.h"
#include "gui/gui_harness.h"

namespace vallorn::gui {
namespace {

namespace fs = std::filesystem;
constexpr double kStart = 60;

TEST(Editor, AnObjectiveAddedInTheEditorIsInTheGameItSaves) {
    TGame::TSetup setup;
    setup.prepare = [](const fs::path& root) {
        // The options file enables the editor; worlds/ is the test's own (the save goes there).
        TIniFile options(root / "save" / "Options.ini");
        options.WriteString("EngineParams", "EngineEdit", "1");
        ASSERT_TRUE(options.SaveToFile(root / "save" / "Options.ini"));
        const fs::path shipped = fs::read_symlink(root / "worlds");
        fs::remove(root / "worlds");
        fs::create_directory(root / "worlds");
        for (const auto& entry : fs::directory_iterator(shipped))
            fs::create_symlink(entry.path(), root / "worlds" / entry.path().filename());
    };
    TGame game(setup);
    ASSERT_TRUE(game.WaitFor([](const TProbeState& s) { return s.frame > 2; }, kStart))
        << game.Log();
    const auto unlimited = [](const TProbeState& s) { return s.HasWindow("Unlimited mode"); };
    for (int tries = 0; tries < 6 && !game.WaitFor(unlimited, kStart / 6); ++tries) {
        if (game.State().Number("intro") == 1) game.Key("space");
    }
    ASSERT_TRUE(game.ClickItem("button", "Continue playing", 1, 20)) << game.Log();

    ASSERT_TRUE(game.ClickItem("button", "Edit", 1, 20)) << game.Log();
    ASSERT_TRUE(game.ClickItem("tab", "Objectives", 1, 20)) << game.Log();
    ASSERT_TRUE(game.ClickItem("button", "Add", 1, 10)) << game.Log();
    ASSERT_TRUE(
        game.WaitFor([](const TProbeState& s) { return s.Find("objective", "Objective 1"); }, 10))
        << game.Log();

    ASSERT_TRUE(game.ClickItem("tab", "Level", 1, 10)) << game.Log();
    ASSERT_TRUE(game.ClickItem("button", "Save game", 1, 10)) << game.Log();
    // The dialog lists the worlds folder's games; a new name is typed.
    ASSERT_TRUE(
        game.WaitFor([](const TProbeState& s) { return s.Find("file", "Starter.ski"); }, 10))
        << game.Log();
    ASSERT_TRUE(game.ClickItem("input", "File name", 1, 10)) << game.Log();
    game.Type("Authored");
    game.Frames(3);
    ASSERT_TRUE(game.ClickItem("button", "OK", 1, 10)) << game.Log();

    const fs::path saved = game.Root() / "worlds" / "Authored.ski";
    ASSERT_TRUE(game.WaitFor([&](const TProbeState&) { return fs::exists(saved); }, 20))
        << game.Log();
    std::vector<TSKIObjective> objectives;
    std::string error;
    ASSERT_TRUE(ReadObjectives(TIniFile(saved), objectives, &error)) << error;
    ASSERT_EQ(objectives.size(), 1u);
    EXPECT_EQ(objectives[0].Name, "Objective 1");
    EXPECT_TRUE(objectives[0].Primary);
}

}  // namespace
}  // namespace vallorn::gui
