// The real game on a virtual screen, driven by real input events.
#include <gtest/gtest.h>

#include <cmath>
#include <regex>

#include "engine/clock.h"
#include "engine/engine.h"
#include "gui/gui_harness.h"
#include "persistence/saved_game.h"

namespace vallorn::gui {
namespace {

constexpr double kStart = 60;  // seconds for the game to come up on a busy machine

bool ParkShown(const TProbeState& s) {
    return s.HasWindow("Main menu") && s.Has("park_time");
}

// Skips the intro and waits for the park.
::testing::AssertionResult StartPlaying(TGame& game) {
    if (!game.WaitFor([](const TProbeState& s) { return s.frame > 2; }, kStart)) {
        return ::testing::AssertionFailure() << "no frame drawn\n" << game.Log();
    }
    // A key pressed while the window is still coming up may be lost: press again if so.
    for (int tries = 0; tries < 6; ++tries) {
        if (game.State().Number("intro") == 1) game.Key("space");
        if (game.WaitFor(ParkShown, kStart / 6)) return ::testing::AssertionSuccess();
    }
    const TProbeState s = game.State();
    std::string values;
    for (const auto& [key, value] : s.values) values += key + "=" + value + " ";
    for (const std::string& w : s.windows) values += "[" + w + "] ";
    return ::testing::AssertionFailure()
           << "the park did not show by frame " << s.frame << ": " << values << "\n"
           << game.Log();
}

// A point of the view over a free cell (the cursor follows the pointer there).
std::optional<std::pair<float, float>> FindCell(TGame& game, const std::function<bool(int)>& kind) {
    const TProbeState s = game.State();
    for (float fy : {0.6f, 0.7f, 0.5f, 0.8f}) {
        for (float fx : {0.5f, 0.4f, 0.6f, 0.3f, 0.7f}) {
            const float x = fx * float(s.winW), y = fy * float(s.winH);
            game.Move(x, y);
            const TProbeState now = game.Frames(3);
            if (kind(int(now.Number("cursor_kind")))) return std::make_pair(x, y);
        }
    }
    return std::nullopt;
}

TProbeState OpenMenuAt(TGame& game, float x, float y) {
    game.Move(x, y);
    game.Frames(2);
    game.Click(3);
    TProbeState s;
    game.WaitFor([](const TProbeState& st) { return st.HasWindow("Build menu"); }, 10, &s);
    return s;
}

TEST(Game, TheIntroGivesWayToTheParkOnAKey) {
    TGame game;
    TProbeState s;
    ASSERT_TRUE(
        game.WaitFor([](const TProbeState& st) { return st.Number("intro") == 1; }, kStart, &s))
        << game.Log();
    EXPECT_FALSE(s.HasWindow("Main menu"));
    game.Key("Return");
    EXPECT_TRUE(game.WaitFor(
        [](const TProbeState& st) { return st.Number("intro") == 0 && ParkShown(st); }, kStart))
        << game.Log();
}

TEST(Game, TheStarterParkIsDrawnWithSkyAboveAndGroundBelow) {
    TGame game;
    ASSERT_TRUE(StartPlaying(game));
    // The park opens looking down on the arrival area; the middle button tilts the camera up
    // to the horizon. The tilt a drag gives follows the frame time, so the drag goes in short
    // strokes until the camera looks out level.
    const TProbeState s = game.State();
    const float x = 0.5f * float(s.winW), y = 0.75f * float(s.winH);
    for (int k = 0; k < 60 && game.State().Number("camera_pitch") > 4.0; ++k)
        game.Drag(2, x, y, x, y - 0.02f * float(s.winH), 2);
    game.Frames(3);
    const double pitch = game.State().Number("camera_pitch");
    EXPECT_LE(pitch, 4.0);
    TSKIImage shot;
    ASSERT_TRUE(game.Shot(shot)) << game.Log();
    ASSERT_GT(shot.Width(), 400);
    const int w = shot.Width(), h = shot.Height();
    auto isSky = [](TSKIColor c) { return c.b > c.r + 30 && c.b >= c.g; };
    // Shares of sky pixels in a band of rows, and the spread of the band's brightness.
    auto band = [&](float top, float bottom, double& skyShare, double& spread) {
        long n = 0, sky = 0;
        double sum = 0, sq = 0;
        for (int y = int(top * float(h)); y < int(bottom * float(h)); ++y) {
            for (int x = 0; x < w; x += 3) {
                const TSKIColor c = shot.Get(x, y);
                const double v = (c.r + c.g + c.b) / 3.0;
                sky += isSky(c);
                sum += v;
                sq += v * v;
                ++n;
            }
        }
        skyShare = double(sky) / double(n);
        spread = std::sqrt(std::max(0.0, sq / double(n) - (sum / double(n)) * (sum / double(n))));
        return sum / double(n);
    };
    double topSky, topSpread, lowSky, lowSpread;
    band(0.0f, 0.05f, topSky, topSpread);
    // Rows above the menu bar, whose blue-grey would pass for sky.
    const double lowBrightness = band(0.55f, 0.72f, lowSky, lowSpread);
    EXPECT_GT(topSky, 0.2) << "little sky at the top";
    // The ground below: lit, textured, and no sky in it.
    EXPECT_LT(lowSky, 0.02);
    EXPECT_GT(lowBrightness, 40);
    EXPECT_GT(lowSpread, 6) << "camera pitch " << pitch << ", ground brightness " << lowBrightness;
}

TEST(Game, TheBuildMenuOnAFreeCellOffersBuildingButNothingToDelete) {
    TGame game;
    ASSERT_TRUE(StartPlaying(game));
    const auto at = FindCell(game, [](int kind) { return kind == 0; });
    ASSERT_TRUE(at) << "no free cell in view";
    const TProbeState s = OpenMenuAt(game, at->first, at->second);
    ASSERT_TRUE(s.HasWindow("Build menu")) << game.Log();
    EXPECT_EQ(s.Number("menu_kind"), 0);
    for (const char* shown : {"Build lift", "Services", "Restaurants", "Free ride", "Cancel"}) {
        EXPECT_TRUE(s.Find("menu", shown)) << shown;
    }
    EXPECT_FALSE(s.Find("menu", "Build slope"));
    EXPECT_FALSE(s.FindPrefix("menu", "Delete"));
    // Escape closes it without doing anything.
    game.Key("Escape");
    EXPECT_TRUE(
        game.WaitFor([](const TProbeState& st) { return !st.HasWindow("Build menu"); }, 10));
}

TEST(Game, ATBarBuiltThroughTheMenuCostsItsPriceAndCanBeDeleted) {
    TGame game;
    ASSERT_TRUE(StartPlaying(game));
    // Paused, the cash changes only by what is built.
    ASSERT_TRUE(game.ClickItem("button", "Pause"));
    ASSERT_TRUE(game.WaitFor([](const TProbeState& s) { return s.Number("park_speed") == 0; }, 10));
    const auto lower = FindCell(game, [](int kind) { return kind == 0; });
    ASSERT_TRUE(lower);
    OpenMenuAt(game, lower->first, lower->second);
    ASSERT_TRUE(game.HoverItem("menu", "Build lift"));
    ASSERT_TRUE(game.ClickItem("menu", "T-Bar")) << game.Log();
    ASSERT_TRUE(game.WaitFor(
        [](const TProbeState& s) { return !s.HasWindow("Build menu") && s.Has("tool_text"); }, 10));

    // The upper station goes uphill of the lower one: look for a place the tool accepts.
    const TProbeState before = game.State();
    std::optional<long long> price;
    for (float dy : {180.0f, 240.0f, 120.0f, 300.0f}) {
        for (float dx : {0.0f, -100.0f, 100.0f}) {
            game.Move(lower->first + dx, lower->second - dy);
            const std::string text = game.Frames(3).Text("tool_text");
            if (text.rfind("Place upper station (Price:", 0) == 0) {
                price = ParseMoney(text.substr(text.find(':') + 1));
                break;
            }
        }
        if (price) break;
    }
    ASSERT_TRUE(price) << "no place for the upper station; last text: "
                       << game.State().Text("tool_text");
    game.Click(1);
    TProbeState built;
    ASSERT_TRUE(game.WaitFor(
        [&](const TProbeState& s) {
            return s.Number("lift_count") == before.Number("lift_count") + 1;
        },
        20, &built))
        << game.Log();
    EXPECT_EQ(before.Number("park_cash") - built.Number("park_cash"), double(*price));

    // Its lower station, where the menu was first opened, offers "Delete" with the lift's
    // name; "Yes" removes it.
    game.Move(lower->first, lower->second);
    const int kind = int(game.Frames(3).Number("cursor_kind"));
    ASSERT_TRUE(kind == 4 || kind == 5) << "no station under the pointer: " << kind;
    const TProbeState menu = OpenMenuAt(game, lower->first, lower->second);
    const TProbeItem* del = menu.FindPrefix("menu", "Delete");
    ASSERT_TRUE(del);
    EXPECT_TRUE(std::regex_match(del->label, std::regex("Delete T-bar #[0-9]+"))) << del->label;
    ASSERT_TRUE(game.ClickItem("menu", del->label));
    ASSERT_TRUE(game.ClickItem("button", "Yes")) << game.Log();
    EXPECT_TRUE(game.WaitFor(
        [&](const TProbeState& s) {
            return s.Number("lift_count") == before.Number("lift_count") && !s.HasWindow("Confirm");
        },
        20));
}

TEST(Game, TheSpeedButtonsSetTheSpeed) {
    TGame game;
    ASSERT_TRUE(StartPlaying(game));
    const std::pair<const char*, double> buttons[] = {
        {"4 x", 4}, {"Pause", 0}, {"2 x", 2}, {"1 x", 1}};
    for (const auto& [label, speed] : buttons) {
        ASSERT_TRUE(game.ClickItem("button", label)) << label;
        EXPECT_TRUE(
            game.WaitFor([&](const TProbeState& s) { return s.Number("park_speed") == speed; }, 10))
            << label;
    }
}

TEST(Game, ADayChangeShowsTheReportAndContinueResumes) {
    // A saved park a few ticks before the end of its day.
    TGame::TSetup setup;
    setup.prepare = [](const std::filesystem::path& root) {
        TSKIEngine engine(TSKIEngineSetup{root, 1, nullptr});
        ASSERT_TRUE(LoadGameFile(engine, root / "worlds" / "Starter.ski")) << engine.LoadError;
        const int32_t day = engine.Params.Game.DayLength;
        engine.Park.ParkTime = (engine.Park.ParkTime / day + 1) * day - 6;
        ASSERT_TRUE(SaveGameFile(engine, root / "late.ski"));
    };
    setup.args = {"{root}/late.ski"};
    TGame game(setup);
    ASSERT_TRUE(StartPlaying(game));
    ASSERT_TRUE(game.ClickItem("button", "4 x"));
    TProbeState report;
    ASSERT_TRUE(game.WaitFor(
        [](const TProbeState& s) { return s.HasWindow("End of the day report"); }, 30, &report))
        << game.Log();
    // The park stands still while the report shows.
    const double time = report.Number("park_time");
    EXPECT_EQ(game.Frames(10).Number("park_time"), time);
    ASSERT_TRUE(game.ClickItem("button", "Continue"));
    TProbeState after;
    EXPECT_TRUE(game.WaitFor(
        [&](const TProbeState& s) {
            return !s.HasWindow("End of the day report") && s.Number("park_time") > time;
        },
        30, &after))
        << "windows: " << after.windows.size() << ", park time " << after.Number("park_time")
        << " at frame " << after.frame << "\n"
        << game.Log();
}

TEST(Game, ClosingTheWindowWritesTheOptionsAndEndsCleanly) {
    TGame game;
    ASSERT_TRUE(StartPlaying(game));
    const auto options = game.Root() / "save" / "Options.ini";
    std::filesystem::remove(options);
    ASSERT_TRUE(game.CloseWindow());
    const std::optional<int> status = game.WaitExit(30);
    ASSERT_TRUE(status) << game.Log();
    EXPECT_EQ(*status, 0) << game.Log();
    EXPECT_TRUE(std::filesystem::exists(options));
}

TEST(Game, ASecondCopyLeavesAndTheFirstPlaysOn) {
    TGame game;
    ASSERT_TRUE(game.WaitFor([](const TProbeState& s) { return s.frame > 2; }, kStart))
        << game.Log();
    EXPECT_EQ(game.RunSecondCopy(30), 0);
    const long long frame = game.State().frame;
    EXPECT_TRUE(game.WaitFor([&](const TProbeState& s) { return s.frame > frame + 5; }, 10));
    EXPECT_FALSE(game.WaitExit(0));
}

}  // namespace
}  // namespace vallorn::gui
