// The title screen and the mission windows of the real game: the first start's profile, the
// campaign map, the objectives window and the sandbox.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "gui/gui_harness.h"

namespace vallorn::gui {
namespace {

constexpr double kStart = 60;

TGame::TSetup TitleSetup() {
    TGame::TSetup setup;
    setup.starter = false;
    return setup;
}

bool BoxSays(const TProbeState& s, const std::string& text) {
    return s.Text("box_text") == text;
}

// The windows and the chosen items of a state, for a failure's message.
std::string Seen(const TProbeState& s) {
    std::string seen = "frame " + std::to_string(s.frame) + ":";
    for (const std::string& w : s.windows) seen += " [" + w + "]";
    for (const TProbeItem& item : s.items)
        if (item.kind == "entry" || item.kind == "button")
            seen += " " + item.label + (item.enabled ? "" : "(off)");
    return seen + " box: " + s.Text("box_text");
}

// Skips the intro and waits for the box asking for a new profile.
::testing::AssertionResult WaitForProfileQuestion(TGame& game) {
    if (!game.WaitFor([](const TProbeState& s) { return s.frame > 2; }, kStart))
        return ::testing::AssertionFailure() << "no frame\n" << game.Log();
    for (int tries = 0; tries < 6; ++tries) {
        if (game.State().Number("intro") == 1) game.Key("space");
        if (game.WaitFor([](const TProbeState& s) { return BoxSays(s, "Enter new profile name:"); },
                         kStart / 6)) {
            return ::testing::AssertionSuccess();
        }
    }
    return ::testing::AssertionFailure() << "no profile question\n" << game.Log();
}

// Presses the box's OK until the box stops saying `text` (a key pressed into a fresh input
// box may be taken by the input method, a click is not).
bool Answer(TGame& game, const std::string& text) {
    for (int tries = 0; tries < 4; ++tries) {
        game.ClickItem("button", "OK", 1, 5);
        if (game.WaitFor([&](const TProbeState& s) { return !BoxSays(s, text); }, 5)) return true;
    }
    return false;
}

// The StateHash the headless runner reports for a saved game it loads and does not run.
std::string RunnerHash(const std::filesystem::path& root, const std::filesystem::path& game) {
    const auto report = root / "runner-report.json";
    const auto quoted = [](const std::string& text) { return '"' + text + "\" "; };
    std::string command = quoted(std::string(VALLORN_BUILD_ROOT) + "/vallorn-sim");
    command += "run --ticks 0 --root " + quoted(root.string());
    command += "--game " + quoted(game.string());
    command += "--report " + quoted(report.string()) + ">/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) return "runner failed";
    std::ifstream in(report);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto key = text.find("\"StateHash\"");
    const auto open = key == std::string::npos ? key : text.find('"', text.find(':', key));
    if (open == std::string::npos) return "no StateHash";
    return text.substr(open + 1, text.find('"', open + 1) - open - 1);
}
void Type(TGame& game, const std::vector<std::string>& keys) {
    game.Key("ctrl+a");
    game.Key("BackSpace");
    for (const std::string& key : keys) game.Key(key);
    game.Frames(2);
}

// A first start: "Player" accepted as proposed, then the title screen.
::testing::AssertionResult ReachTitle(TGame& game) {
    auto waited = WaitForProfileQuestion(game);
    if (!waited) return waited;
    game.Frames(2);
    Answer(game, "Enter new profile name:");
    if (!game.WaitFor([](const TProbeState& s) { return s.HasWindow("Game menu"); }, kStart)) {
        const TProbeState s = game.State();
        std::string seen;
        for (const std::string& w : s.windows) seen += "[" + w + "] ";
        return ::testing::AssertionFailure() << "no title screen: " << seen << s.Text("box_text")
                                             << " / " << s.Text("box_input") << "\n"
                                             << game.Log();
    }
    return ::testing::AssertionSuccess();
}

TEST(Missions, AFirstStartCreatesTheProfileShowsWelcomeAndTheTitleScreen) {
    TGame game(TitleSetup());
    ASSERT_TRUE(WaitForProfileQuestion(game));
    EXPECT_FALSE(std::filesystem::exists(game.Root() / "save" / "Player.prof"));
    // A name with "/" is refused and asked for again.
    Type(game, {"a", "slash", "b"});
    ASSERT_TRUE(Answer(game, "Enter new profile name:"));
    ASSERT_TRUE(
        game.WaitFor([](const TProbeState& s) { return BoxSays(s, "Invalid profile name !"); }, 20))
        << game.Log();
    ASSERT_TRUE(Answer(game, "Invalid profile name !"));
    ASSERT_TRUE(game.WaitFor(
        [](const TProbeState& s) { return BoxSays(s, "Enter new profile name:"); }, 20));
    Type(game, {"P", "l", "a", "y", "e", "r"});
    ASSERT_TRUE(Answer(game, "Enter new profile name:"));
    TProbeState s;
    ASSERT_TRUE(game.WaitFor(
        [](const TProbeState& st) { return st.HasWindow("Game menu") && st.HasWindow("Help"); },
        kStart, &s))
        << game.Log();
    EXPECT_EQ(s.Text("profile"), "Player");
    EXPECT_TRUE(std::filesystem::exists(game.Root() / "save" / "Player.prof"));
    EXPECT_FALSE(std::filesystem::exists(game.Root() / "save" / "a"));
    EXPECT_FALSE(s.HasWindow("Main menu"));  // no park behind the title screen yet
    for (const char* entry : {"Campaign", "Sandbox", "Addons", "Load & Save", "Profile:", "Help",
                              "Options", "Credits", "Exit game"}) {
        EXPECT_TRUE(s.Find("entry", entry)) << entry;
    }
}

TEST(Missions, TheFirstMissionStartsFromItsPanelAndShowsItsObjectives) {
    TGame game(TitleSetup());
    ASSERT_TRUE(ReachTitle(game));
    ASSERT_TRUE(game.ClickItem("entry", "Campaign"));
    TProbeState map;
    ASSERT_TRUE(
        game.WaitFor([](const TProbeState& s) { return s.HasWindow("Campaign"); }, 20, &map));
    // A new profile has only its first mission open.
    EXPECT_EQ(map.Labels("panel").size(), 1u);
    EXPECT_FALSE(map.HasWindow("Game menu"));
    ASSERT_TRUE(game.ClickItem("button", "First Tracks: Start")) << game.Log();
    ASSERT_TRUE(game.WaitFor(
        [](const TProbeState& s) {
            return s.HasWindow("Main menu") && s.Number("mission_index") == 0 &&
                   s.Number("park") == 1;
        },
        kStart))
        << game.Log();
    // The mission's objectives are announced; the cards show once the panel is put away.
    TProbeState s;
    ASSERT_TRUE(
        game.WaitFor([](const TProbeState& st) { return st.HasWindow("Objectives"); }, 30, &s))
        << game.Log();
    // The first mission is played close by: its camera opens within its zoom-out limit.
    EXPECT_LE(s.Number("camera_distance"), 200.0) << game.Log();
    const auto cards = [](const TProbeState& st) {
        for (const TProbeItem& item : st.items)
            if (item.kind == "label" && item.label.rfind("Primary objective: ", 0) == 0)
                return true;
        return false;
    };
    EXPECT_TRUE(game.WaitFor(cards, 40, &s)) << game.Log();
}

TEST(Missions, AMissionSavedAsNewIsProposedItsNameAndLoadsBack) {
    TGame game(TitleSetup());
    ASSERT_TRUE(ReachTitle(game));
    ASSERT_TRUE(game.ClickItem("entry", "Campaign"));
    ASSERT_TRUE(game.ClickItem("button", "First Tracks: Start")) << game.Log();
    const auto playing = [](const TProbeState& s) {
        return s.HasWindow("Main menu") && s.Number("mission_index") == 0 && s.Number("park") == 1;
    };
    ASSERT_TRUE(game.WaitFor(playing, kStart)) << game.Log();
    // Paused, so that the park saved, the park running and the park loaded back are one.
    ASSERT_TRUE(game.ClickItem("button", "Pause"));
    ASSERT_TRUE(game.WaitFor([](const TProbeState& st) { return st.Number("speed") == 0; }, 10));
    ASSERT_TRUE(game.ClickItem("button", "Game"));
    ASSERT_TRUE(game.ClickItem("entry", "Load & Save"));
    ASSERT_TRUE(game.ClickItem("entry", "Create new save..."));
    ASSERT_TRUE(game.ClickItem("button", "Save"));
    TProbeState s;
    ASSERT_TRUE(
        game.WaitFor([](const TProbeState& st) { return BoxSays(st, "Enter file name:"); }, 20, &s))
        << game.Log();
    EXPECT_EQ(s.Text("box_input"), "02_First Tracks");
    ASSERT_TRUE(Answer(game, "Enter file name:"));
    const auto file = game.Root() / "save" / "Player" / "02_First Tracks.ski";
    ASSERT_TRUE(
        game.WaitFor([&](const TProbeState&) { return std::filesystem::exists(file); }, 20));
    const std::string saved = game.ParkHash();
    ASSERT_FALSE(saved.empty());
    EXPECT_EQ(RunnerHash(game.Root(), file), saved) << "the runner loads another park";
    // Back through the window: the saved mission loads as the same mission.
    ASSERT_TRUE(game.WaitFor([](const TProbeState& st) { return st.HasWindow("Game menu"); }, 20));
    ASSERT_TRUE(game.ClickItem("entry", "Load & Save"));
    // The entry selected (the window may still be settling on its first frames): "Load" on.
    const auto loadOn = [](const TProbeState& st) {
        const TProbeItem* load = st.Find("button", "Load");
        return load && load->enabled;
    };
    for (int tries = 0; tries < 4 && !loadOn(game.State()); ++tries) {
        game.ClickItem("entry", "02_First Tracks");
        game.WaitFor(loadOn, 3);
    }
    ASSERT_TRUE(game.ClickItem("button", "Load"));
    // Leaving the running mission offers its automatic save first.
    TProbeState asked;
    ASSERT_TRUE(game.WaitFor(
        [](const TProbeState& st) { return BoxSays(st, "Save game on exit?"); }, 20, &asked))
        << Seen(asked);
    ASSERT_TRUE(game.ClickItem("button", "No"));
    EXPECT_TRUE(game.WaitFor(
        [&](const TProbeState& st) { return playing(st) && !st.HasWindow("Load and save game"); },
        kStart, &s))
        << game.Log() << s.windows.size() << " windows, mission " << s.Number("mission_index")
        << (s.windows.empty() ? "" : " first " + s.windows[0]) << " box " << s.Text("box_text");
    EXPECT_EQ(game.ParkHash(), saved) << "the park loaded back differs from the one saved";
}

TEST(Missions, AMissionOneStepFromSuccessIsAccomplishedAndUnlocksTheNext) {
    TGame::TSetup setup;
    setup.prepare = [](const std::filesystem::path& root) {
        // The player's profile, and the first mission with one goal left that the first
        // evaluation meets (cash of at least 0 without a loan), unlocking the second mission.
        const auto save = root / "save";
        std::filesystem::create_directories(save / "Player" / "auto");
        std::filesystem::copy_file(root / "worlds" / "missions.txt", save / "Player.prof");
        std::ofstream(save / "Options.ini")
            << "[EngineParams]\nEngineFulScreen=0\nEngineMusicOn=0\n[Profile]\n"
               "LastProfile=Player\n";
        std::ifstream in(root / "worlds" / "Mission01.ski", std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        text = text.substr(0, text.find("[SKIObjectives]"));
        const size_t index = text.find("ParkMissionIndex=");
        text.replace(index, text.find('\n', index) - index, "ParkMissionIndex=0");
        text +=
            "[SKIObjectives]\nObjCount=1\nObjectiveType0=0\nObjectiveActive0=1\n"
            "ObjectiveName0=Last step\nObjectiveValue0=0\nObjectivePrimary0=1\n"
            "ObjectiveUnlocksMission00=Warm Welcome\n";
        std::ofstream(root / "near.ski", std::ios::binary) << text;
    };
    setup.args = {"{root}/near.ski"};
    TGame game(setup);
    ASSERT_TRUE(game.WaitFor([](const TProbeState& s) { return s.frame > 2; }, kStart));
    TProbeState s;
    for (int tries = 0; tries < 6 && !s.HasWindow("Mission accomplished"); ++tries) {
        if (game.State().Number("intro") == 1) game.Key("space");
        game.WaitFor([](const TProbeState& st) { return st.HasWindow("Mission accomplished"); },
                     kStart / 6, &s);
    }
    ASSERT_TRUE(s.HasWindow("Mission accomplished")) << game.Log();
    EXPECT_TRUE(s.Find("label", "You have successfully completed the mission."));
    ASSERT_TRUE(game.ClickItem("button", "Continue campaign"));
    ASSERT_TRUE(
        game.WaitFor([](const TProbeState& st) { return st.HasWindow("Campaign"); }, 20, &s));
    EXPECT_TRUE(s.Find("button", "First Tracks: Replay"));
    EXPECT_TRUE(s.Find("button", "Warm Welcome: Start"));
}

TEST(Missions, ASandboxGameAtVeryEasyStartsWith150000) {
    TGame game(TitleSetup());
    ASSERT_TRUE(ReachTitle(game));
    ASSERT_TRUE(game.ClickItem("entry", "Sandbox"));
    TProbeState s;
    ASSERT_TRUE(
        game.WaitFor([](const TProbeState& st) { return st.HasWindow("Sandbox game"); }, 20, &s));
    EXPECT_EQ(s.Text("sandbox_difficulty"), "Difficulty: very easy");
    // A new profile sees very easy alone: neither harder levels nor the unlimited game.
    EXPECT_TRUE(s.Find("difficulty", "Very easy"));
    EXPECT_FALSE(s.Find("difficulty", "Easy"));
    EXPECT_FALSE(s.FindPrefix("difficulty", "Unlimited"));
    ASSERT_TRUE(game.ClickItem("button", "Play"));
    ASSERT_TRUE(game.WaitFor(
        [](const TProbeState& st) { return st.HasWindow("Main menu") && st.Number("park") == 1; },
        kStart, &s))
        << game.Log();
    EXPECT_EQ(s.Number("mission_index"), -1);
    EXPECT_EQ(s.Number("cash"), 150000);
    // The two goals of the very easy star file, and the drawn ones: pairs of a wait and its
    // goal (a draw whose blueprints the player lacks adds nothing).
    const double goals = s.Number("objectives");
    EXPECT_GE(goals, 2);
    EXPECT_LE(goals, 2 + 2 * 2);
    EXPECT_EQ(int(goals) % 2, 0);
}

}  // namespace
}  // namespace vallorn::gui
