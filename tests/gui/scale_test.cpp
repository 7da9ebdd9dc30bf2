// The game at the larger interface scales in a 1024 x 768 window: the menu bar, a lift's window
// and the campaign map stay on the window and usable; the speed keys work.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>

#include "gui/gui_harness.h"

namespace vallorn::gui {
namespace {

constexpr double kScaleStart = 60;  // seconds for the game to come up on a busy machine

// The interface scale the game is started with, for as long as it lives.
class TScaleEnvironment {
public:
    explicit TScaleEnvironment(const char* scale) { setenv("VALLORN_UI_SCALE", scale, 1); }
    ~TScaleEnvironment() { unsetenv("VALLORN_UI_SCALE"); }
};

bool Inside(const TProbeState& s, const TProbeItem& item) {
    return item.x >= 0 && item.y >= 0 && item.x + item.w <= float(s.winW) + 0.5f &&
           item.y + item.h <= float(s.winH) + 0.5f;
}

bool Within(const TProbeItem& inner, const TProbeItem& outer) {
    return inner.x >= outer.x - 0.5f && inner.y >= outer.y - 0.5f &&
           inner.x + inner.w <= outer.x + outer.w + 0.5f &&
           inner.y + inner.h <= outer.y + outer.h + 0.5f;
}

// The player's profile with every mission open and "Mountain Rescue" saved on the way, so that
// its panel shows "Restart" and "Resume".
void PrepareScaledProfile(const std::filesystem::path& root) {
    const auto save = root / "save";
    std::filesystem::create_directories(save / "Player" / "auto");
    std::ifstream in(root / "worlds" / "missions.txt");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    text = std::regex_replace(text, std::regex("\nL\r?\n"), "\nO\r\n");
    std::ofstream(save / "Player.prof") << text;
    std::filesystem::copy_file(root / "worlds" / "Starter.ski",
                               save / "Player" / "auto" / "Mountain Rescue.ski");
    std::ofstream(save / "Options.ini") << "[EngineParams]\nEngineFulScreen=0\nEngineMusicOn=0\n"
                                           "[Profile]\nLastProfile=Player\n";
}

// Skips the intro, waits for the park and puts the unlimited game's window away.
::testing::AssertionResult PlayScaled(TGame& game) {
    if (!game.WaitFor([](const TProbeState& s) { return s.frame > 2; }, kScaleStart))
        return ::testing::AssertionFailure() << "no frame drawn\n" << game.Log();
    const auto unlimited = [](const TProbeState& s) { return s.HasWindow("Unlimited mode"); };
    for (int tries = 0; tries < 6; ++tries) {
        if (game.State().Number("intro") == 1) game.Key("Return");
        if (game.WaitFor(unlimited, kScaleStart / 6)) break;
    }
    if (!game.ClickItem("button", "Continue playing") ||
        !game.WaitFor([&](const TProbeState& s) { return !unlimited(s); }, 10)) {
        return ::testing::AssertionFailure() << "no park\n" << game.Log();
    }
    return ::testing::AssertionSuccess();
}

TEST(Scale, MenuBarLiftWindowAndCampaignMapStayOnAWindowAtScales2And1_5) {
    for (const char* scale : {"2", "1.5"}) {
        SCOPED_TRACE(std::string("VALLORN_UI_SCALE=") + scale);
        const TScaleEnvironment environment(scale);
        TGame::TSetup setup;
        setup.prepare = PrepareScaledProfile;
        TGame game(setup);
        ASSERT_TRUE(PlayScaled(game));
        TProbeState s = game.Frames(3);
        ASSERT_EQ(s.winW, 1024);
        ASSERT_EQ(s.winH, 768);

        // Every button of the menu bar, the date and the weather lie inside the window.
        for (const char* hint : {"Game", "Display options", "Statistics", "Objectives", "Help",
                                 "Pause", "1 x", "2 x", "4 x"}) {
            const TProbeItem* b = s.Find("button", hint);
            ASSERT_TRUE(b) << hint;
            EXPECT_TRUE(Inside(s, *b))
                << hint << " at " << b->x << ", " << b->y << " size " << b->w << " x " << b->h;
        }
        const TProbeItem* date = s.FindPrefix("label", "Season 1, day ");
        ASSERT_TRUE(date);
        EXPECT_TRUE(Inside(s, *date));
        EXPECT_TRUE(std::any_of(s.items.begin(), s.items.end(), [](const TProbeItem& i) {
            return i.kind == "label" && i.label.find("\u00b0C, snow") != std::string::npos;
        }));

        // Space pauses and resumes at the speed before; F3 runs at 4 x.
        game.Move(float(s.winW) * 0.5f, float(s.winH) * 0.3f);
        game.Key("F3");
        EXPECT_TRUE(
            game.WaitFor([](const TProbeState& st) { return st.Number("speed") == 4; }, 10));
        game.Key("space");
        EXPECT_TRUE(
            game.WaitFor([](const TProbeState& st) { return st.Number("speed") == 0; }, 10));
        game.Key("space");
        EXPECT_TRUE(
            game.WaitFor([](const TProbeState& st) { return st.Number("speed") == 4; }, 10));
        game.Key("F1");

        // A click on a lift above the menu bar opens its window; its buttons can be reached.
        const float barTop = date->y - 0.15f * float(s.winH);  // below: the bar's title, cash
        std::string lift;
        for (int k = 0; s.Has("lift" + std::to_string(k) + "_x") && lift.empty(); ++k) {
            const std::string key = "lift" + std::to_string(k);
            if (s.Number(key + "_x") >= 0 && s.Number(key + "_y") < barTop) lift = key;
        }
        ASSERT_FALSE(lift.empty()) << "no lift in view above the menu bar";
        game.Move(float(s.Number(lift + "_x")), float(s.Number(lift + "_y")));
        game.Frames(3);
        game.Click(1);
        ASSERT_TRUE(game.WaitFor(
            [](const TProbeState& st) {
                return st.HasWindow("Lift information") && st.Find("button", "Delete lift");
            },
            10, &s))
            << game.Log();
        s = game.Frames(4);  // placed on the screen once its size is known
        for (const char* label : {"Upgrade", "View", "Delete lift", "Price up"}) {
            const TProbeItem* b = s.Find("button", label);
            ASSERT_TRUE(b) << label;
            EXPECT_TRUE(Inside(s, *b))
                << label << " at " << b->x << ", " << b->y << " size " << b->w << " x " << b->h;
        }

        // The campaign map: every panel's buttons lie within the panel, the panels within the
        // window.
        ASSERT_TRUE(game.ClickItem("button", "Game"));
        ASSERT_TRUE(game.ClickItem("entry", "Campaign"));
        ASSERT_TRUE(game.WaitFor(
            [](const TProbeState& st) {
                return st.HasWindow("Campaign") && st.Find("button", "Mountain Rescue: Resume");
            },
            20, &s))
            << game.Log();
        int panels = 0;
        for (const TProbeItem& panel : s.items) {
            if (panel.kind != "panel") continue;
            ++panels;
            EXPECT_TRUE(Inside(s, panel)) << panel.label;
            for (const TProbeItem& b : s.items) {
                if (b.kind == "button" && b.label.rfind(panel.label + ": ", 0) == 0) {
                    EXPECT_TRUE(Within(b, panel)) << b.label;
                }
            }
        }
        EXPECT_GT(panels, 10);
    }
}

}  // namespace
}  // namespace vallorn::gui
