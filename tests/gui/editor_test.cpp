// The level and mission editor in the real game: opened from the menu bar's "Edit", an
// objective added on its "Objectives" page, and the game saved through its own file dialog;
// the "Edit" button pressed while it is open, the focus marker it shows, the view's materials
// it lists, and a level made from a picture.
#include <gtest/gtest.h>

#include <stb_image_write.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "base/image.h"
#include "base/ini_file.h"
#include "base/objectives_record.h"
#include "gui/gui_harness.h"

namespace vallorn::gui {
namespace {

namespace fs = std::filesystem;
constexpr double kStart = 60;

// The options file enables the editor; `folder` (worlds or addons) becomes the test's own,
// its shipped files linked in, so that what the editor saves there stays in the test.
void EnableEditor(const fs::path& root, const char* folder) {
    TIniFile options(root / "save" / "Options.ini");
    options.WriteString("EngineParams", "EngineEdit", "1");
    ASSERT_TRUE(options.SaveToFile(root / "save" / "Options.ini"));
    const fs::path shipped = fs::read_symlink(root / folder);
    fs::remove(root / folder);
    fs::create_directory(root / folder);
    for (const auto& entry : fs::directory_iterator(shipped))
        fs::create_symlink(entry.path(), root / folder / entry.path().filename());
}

// Starts the starter park and leaves its greeting.
void StartPlaying(TGame& game) {
    ASSERT_TRUE(game.WaitFor([](const TProbeState& s) { return s.frame > 2; }, kStart))
        << game.Log();
    const auto unlimited = [](const TProbeState& s) { return s.HasWindow("Unlimited mode"); };
    for (int tries = 0; tries < 6 && !game.WaitFor(unlimited, kStart / 6); ++tries) {
        if (game.State().Number("intro") == 1) game.Key("space");
    }
    ASSERT_TRUE(game.ClickItem("button", "Continue playing", 1, 20)) << game.Log();
}

// Pixels of the focus marker's yellow (its faces are shades of (255, 200, 30)) in the middle
// of the view, where the camera looks.
int MarkerPixels(const TSKIImage& shot) {
    int n = 0;
    const int cx = shot.Width() / 2, cy = shot.Height() / 2;
    for (int y = cy - 60; y < cy + 60; ++y) {
        for (int x = cx - 60; x < cx + 60; ++x) {
            const TSKIColor c = shot.Get(x, y);
            const float r = c.r;
            n += r >= 120 && c.g >= 0.74f * r && c.g <= 0.83f * r && c.b >= 0.08f * r &&
                 c.b <= 0.16f * r;
        }
    }
    return n;
}

// Keeps the last shot for a person to look at when VALLORN_GUI_SHOTS names a folder.
void KeepShot(const TGame& game, const std::string& name) {
    if (const char* dir = std::getenv("VALLORN_GUI_SHOTS")) {
        std::error_code ec;
        fs::copy_file(game.Folder() / "probe" / "shot.png", fs::path(dir) / name,
                      fs::copy_options::overwrite_existing, ec);
    }
}

// The mean blue of a button's middle on a shot: a pressed button is lit in full blue, a raised
// one shows the window's dark background through its paler blue.
double ButtonBlue(const TSKIImage& shot, const TProbeItem& button) {
    double sum = 0;
    int n = 0;
    for (int y = int(button.y + 0.3f * button.h); y < int(button.y + 0.7f * button.h); ++y) {
        for (int x = int(button.x + 0.1f * button.w); x < int(button.x + 0.9f * button.w); ++x) {
            sum += shot.Get(x, y).b;
            ++n;
        }
    }
    return n ? sum / n : 0;
}

TEST(Editor, AnObjectiveAddedInTheEditorIsInTheGameItSaves) {
    TGame::TSetup setup;
    setup.prepare = [](const fs::path& root) { EnableEditor(root, "worlds"); };
    TGame game(setup);
    StartPlaying(game);

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

TEST(Editor, ItPressesEditMarksTheFocusListsTheMaterialsAndMakesALevelFromAPicture) {
    TGame::TSetup setup;
    setup.prepare = [](const fs::path& root) {
        EnableEditor(root, "addons");
        // Two peaks and a ridge on a valley floor.
        std::vector<uint8_t> grey(256 * 256);
        for (int y = 0; y < 256; ++y) {
            for (int x = 0; x < 256; ++x) {
                auto peak = [&](double px, double py, double r, double h) {
                    const double d2 = (x - px) * (x - px) + (y - py) * (y - py);
                    return h * std::exp(-d2 / (r * r));
                };
                const double v =
                    20 + peak(80, 90, 45, 150) + peak(180, 160, 60, 110) + peak(130, 125, 18, 60);
                grey[size_t(y) * 256 + size_t(x)] = uint8_t(std::min(255.0, v));
            }
        }
        ASSERT_TRUE(stbi_write_png((root / "Peaks.png").c_str(), 256, 256, 1, grey.data(), 256));
    };
    TGame game(setup);
    StartPlaying(game);

    // Opening the editor puts the marker on the point the camera looks at and leaves "Edit"
    // pressed.
    TSKIImage closed, open;
    game.Frames(10);  // the greeting gone
    ASSERT_TRUE(game.Shot(closed)) << game.Log();
    ASSERT_TRUE(game.ClickItem("button", "Edit", 1, 20)) << game.Log();
    // Off the button, which would show hovered, once the click was taken where it was made.
    const auto moveAway = [&] {
        game.Frames(2);
        game.Move(float(game.State().winW) / 2, 20);
        game.Frames(3);
    };
    moveAway();
    ASSERT_TRUE(game.Shot(open)) << game.Log();
    KeepShot(game, "editor.png");
    EXPECT_LE(MarkerPixels(closed), 5);
    EXPECT_GE(MarkerPixels(open), 40);
    const TProbeState shown = game.State();
    const TProbeItem* edit = shown.Find("button", "Edit");
    ASSERT_TRUE(edit) << game.Log();
    EXPECT_LT(ButtonBlue(closed, *edit), 170);
    EXPECT_GT(ButtonBlue(open, *edit), 210);

    ASSERT_TRUE(game.ClickItem("tab", "Debug", 1, 10)) << game.Log();
    ASSERT_TRUE(game.ClickItem("button", "Mat info", 1, 10)) << game.Log();
    TProbeState state;
    ASSERT_TRUE(game.WaitFor(
        [](const TProbeState& s) { return s.FindPrefix("memo", "Materials: ") != nullptr; }, 10,
        &state))
        << game.Log();
    EXPECT_NE(state.FindPrefix("memo", "Materials: ")->label.find(".jpg: "), std::string::npos);
    ASSERT_TRUE(game.ClickItem("button", "Clear", 1, 10)) << game.Log();
    ASSERT_TRUE(game.WaitFor([](const TProbeState& s) { return s.Find("memo", ""); }, 10));

    // "New level": the picture, then the level's name.
    ASSERT_TRUE(game.ClickItem("tab", "Level", 1, 10)) << game.Log();
    ASSERT_TRUE(game.ClickItem("button", "New level", 1, 10)) << game.Log();
    ASSERT_TRUE(game.ClickItem("file", "Peaks.png", 1, 10)) << game.Log();
    ASSERT_TRUE(game.ClickItem("button", "OK", 1, 10)) << game.Log();
    ASSERT_TRUE(game.ClickItem("input", "File name", 1, 10)) << game.Log();
    game.Type("Peaks");
    game.Frames(3);
    ASSERT_TRUE(game.ClickItem("button", "OK", 1, 10)) << game.Log();
    ASSERT_TRUE(game.WaitFor(
        [](const TProbeState& s) { return s.Find("window", "Editor - Peaks") != nullptr; }, 60))
        << game.Log();
    for (const char* file : {"Peaks.skil", "PeaksH.3ds", "PeaksMAP.jpg", "PeaksMAPs.jpg"})
        EXPECT_TRUE(fs::exists(game.Root() / "addons" / file)) << file;
    TSKIImage made;
    game.Frames(5);
    if (game.Shot(made)) KeepShot(game, "editor-new-level.png");

    // Closing the editor raises "Edit" again.
    ASSERT_TRUE(game.ClickItem("button", "Edit", 1, 10)) << game.Log();
    moveAway();
    TSKIImage again;
    ASSERT_TRUE(game.Shot(again)) << game.Log();
    const TProbeState closedAgain = game.State();
    ASSERT_TRUE(closedAgain.Find("button", "Edit")) << game.Log();
    EXPECT_LT(ButtonBlue(again, *closedAgain.Find("button", "Edit")), 170);
}

}  // namespace
}  // namespace vallorn::gui
