// The real game on a virtual screen, driven by real input events.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>

#include "base/atomic_file.h"
#include "engine/clock.h"
#include "engine/engine.h"
#include "gui/gui_harness.h"
#include "gui/gui_play.h"
#include "persistence/saved_game.h"

namespace vallorn::gui {
namespace {

constexpr double kStart = 60;  // seconds for the game to come up on a busy machine

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
    ASSERT_TRUE(PlayStarterPark(game));
    // The park opens looking up the mountain at the resort, and a level look that way meets
    // the slope, not the sky. The middle button first turns the camera, a third of a degree a
    // pixel, until it stands on the +X side of its target and looks along -X down the map's
    // valley; the wheel draws it back, then the middle button tilts it up to the horizon. The
    // drags go in short strokes until the camera looks that way.
    const TProbeState s = game.State();
    const float x = 0.5f * float(s.winW), y = 0.75f * float(s.winH);
    const auto yaw = [&] {
        const TProbeState now = game.State();
        return std::atan2(now.Number("camera_eye_z") - now.Number("camera_z"),
                          now.Number("camera_eye_x") - now.Number("camera_x")) *
               180.0 / M_PI;
    };
    for (int k = 0; k < 60 && std::fabs(yaw()) > 3.0; ++k) {
        const double turn = yaw();
        const float stroke = float(std::min(0.02 * s.winW, 3.0 * std::fabs(turn)));
        game.Drag(2, x, y, x + (turn > 0 ? stroke : -stroke), y, 2);
    }
    const double bearing = yaw();
    EXPECT_LE(std::fabs(bearing), 3.0);
    game.Move(x, 0.45f * float(s.winH));
    for (int k = 0; k < 8; ++k) {
        game.Click(5);
        game.Frames(1);
    }
    game.Frames(10);
    for (int k = 0; k < 60 && game.State().Number("camera_pitch") > 4.0; ++k)
        game.Drag(2, x, y, x, y - 0.02f * float(s.winH), 2);
    game.Frames(3);
    const double pitch = game.State().Number("camera_pitch");
    EXPECT_LE(pitch, 4.0);
    TSKIImage shot;
    ASSERT_TRUE(game.Shot(shot)) << game.Log();
    KeepGuiShot(game, "horizon.png");
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
    // Level with the ground the eye may stand among trees: their crowns can reach into the top
    // rows and fill the band below with shaded leaves, which are darker than open snow.
    EXPECT_GT(topSky, 0.1) << "little sky at the top";
    // The ground below: lit, textured, and no sky in it.
    EXPECT_LT(lowSky, 0.02);
    EXPECT_GT(lowBrightness, 25);
    EXPECT_GT(lowSpread, 6) << "camera pitch " << pitch << ", bearing " << bearing
                            << ", ground brightness " << lowBrightness;
}

// Shares of a frame: pixels of vivid colour (jackets, cars, roofs, the snowcat) and of dark
// green (forest), and the spread of its brightness.
struct TFrameLook {
    double vivid = 0, forest = 0, spread = 0;
};
TFrameLook Look(const TSKIImage& shot) {
    TFrameLook look;
    long n = 0;
    double sum = 0, sq = 0;
    for (int y = 0; y < shot.Height() * 3 / 4; y += 2) {  // above the menu bar
        for (int x = 0; x < shot.Width(); x += 2) {
            const TSKIColor c = shot.Get(x, y);
            const int hi = std::max({c.r, c.g, c.b}), lo = std::min({c.r, c.g, c.b});
            look.vivid += hi - lo > 110;
            look.forest += c.g > c.r + 12 && c.g > c.b && hi < 140;
            const double v = (c.r + c.g + c.b) / 3.0;
            sum += v;
            sq += v * v;
            ++n;
        }
    }
    look.vivid /= double(n);
    look.forest /= double(n);
    look.spread = std::sqrt(std::max(0.0, sq / double(n) - (sum / double(n)) * (sum / double(n))));
    return look;
}

TEST(Game, TheFarViewShowsTheForestAndTheCloseViewTheModels) {
    TGame::TSetup setup;
    setup.prepare = [](const std::filesystem::path& root) {
        WriteFileAtomically(root / "save" / "Options.ini",
                            "[EngineParams]\nEngineFulScreen=0\nEngineMusicOn=0\nEngineDetail=2\n");
    };
    TGame game(setup);
    ASSERT_TRUE(PlayStarterPark(game));
    game.Frames(5);
    // Out from the opening view over the resort: the wheel turned back.
    const TProbeState opened = game.State();
    game.Move(0.5f * float(opened.winW), 0.45f * float(opened.winH));
    for (int k = 0; k < 10; ++k) {
        game.Click(5);
        game.Frames(1);
    }
    game.Frames(20);
    TSKIImage far, close;
    ASSERT_TRUE(game.Shot(far)) << game.Log();
    KeepGuiShot(game, "far.png");
    // Down to the arrival area: the wheel turned forward brings the camera close over the crowd.
    const TProbeState s = game.State();
    game.Move(0.5f * float(s.winW), 0.45f * float(s.winH));
    const double before = s.Number("camera_distance");
    for (int k = 0; k < 14; ++k) {
        game.Click(4);
        game.Frames(1);
    }
    game.Frames(20);
    const double after = game.State().Number("camera_distance");
    EXPECT_LT(after, before * 0.5);
    ASSERT_TRUE(game.Shot(close)) << game.Log();
    KeepGuiShot(game, "close.png");
    const TFrameLook f = Look(far), c = Look(close);
    // Far: the forest is there and the frame is not blank. Close: another picture, with the
    // vehicles and buildings of the arrival area in their colours, and little forest.
    EXPECT_GT(f.forest, 0.05);
    EXPECT_GT(f.spread, 12.0);
    EXPECT_GT(c.spread, 12.0);
    EXPECT_GT(c.vivid, 0.004);
    EXPECT_LT(c.forest, 0.5 * f.forest);
    double difference = 0;
    long n = 0;
    for (int y = 0; y < far.Height() * 3 / 4; y += 4) {
        for (int x = 0; x < far.Width(); x += 4, ++n) {
            const TSKIColor a = far.Get(x, y), b = close.Get(x, y);
            difference += std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b);
        }
    }
    EXPECT_GT(difference / double(n), 30.0);
}

TEST(Game, TheBuildMenuOnAFreeCellOffersBuildingButNothingToDelete) {
    TGame game;
    ASSERT_TRUE(PlayStarterPark(game));
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
    ASSERT_TRUE(PlayStarterPark(game));
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
    // Uphill lies up the screen in most views; the view opens on a bearing clear of the
    // mountain, so every way round is tried.
    for (float r : {180.0f, 240.0f, 120.0f, 300.0f}) {
        for (float a :
             {90.0f, 60.0f, 120.0f, 30.0f, 150.0f, 0.0f, 180.0f, 270.0f, 225.0f, 315.0f}) {
            const float dx = r * std::cos(a * 3.14159265f / 180),
                        dy = r * std::sin(a * 3.14159265f / 180);
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

TEST(Game, ALiftsWindowOpensOnAClickAndItsPriceAndStatusReachThePark) {
    TGame game;
    ASSERT_TRUE(PlayStarterPark(game));
    // The first lift's lower station, where the probe says it lies on the screen.
    TProbeState s;
    ASSERT_TRUE(
        game.WaitFor([](const TProbeState& st) { return st.Number("lift0_x") >= 0; }, 10, &s));
    const std::string name = s.Text("lift0_name");
    game.Move(float(s.Number("lift0_x")), float(s.Number("lift0_y")));
    const int kind = int(game.Frames(3).Number("cursor_kind"));
    ASSERT_TRUE(kind >= 4 && kind <= 6) << "no lift under the pointer: " << kind;
    game.Click(1);
    ASSERT_TRUE(game.WaitFor(
        [&](const TProbeState& st) {
            return st.HasWindow("Lift information") && st.Text("lift_window_name") == name;
        },
        10))
        << game.Log();

    // The step button raises the ticket price the park charges by one.
    const double price = game.State().Number("lift0_price");
    ASSERT_TRUE(game.ClickItem("button", "Price up"));
    EXPECT_TRUE(game.WaitFor(
        [&](const TProbeState& st) { return st.Number("lift0_price") == price + 1; }, 10));

    // Once skiers queue, closing the lift from its window sends them away.
    ASSERT_TRUE(game.ClickItem("button", "4 x"));
    ASSERT_TRUE(
        game.WaitFor([](const TProbeState& st) { return st.Number("lift0_queue") > 0; }, 90))
        << "nobody queued at " << name;
    ASSERT_TRUE(game.ClickItem("button", "Opened"));
    EXPECT_TRUE(game.WaitFor(
        [](const TProbeState& st) {
            return st.Number("lift0_status") == 1 && st.Number("lift0_queue") == 0 &&
                   st.Find("button", "Closed");
        },
        30));
}

TEST(Game, TheSpeedButtonsSetTheSpeed) {
    TGame game;
    ASSERT_TRUE(PlayStarterPark(game));
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
    ASSERT_TRUE(PlayStarterPark(game));
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
    ASSERT_TRUE(PlayStarterPark(game));
    const auto options = game.Root() / "save" / "Options.ini";
    std::filesystem::remove(options);
    ASSERT_TRUE(game.CloseWindow());
    const std::optional<int> status = game.WaitExit(30);
    ASSERT_TRUE(status) << game.Log();
    EXPECT_EQ(*status, 0) << game.Log();
    EXPECT_TRUE(std::filesystem::exists(options));
}

TEST(Game, LoadAndSaveWithoutAProfileAsksForOne) {
    // A park started from the command line has no profile, where games are saved.
    TGame game;
    ASSERT_TRUE(PlayStarterPark(game));
    ASSERT_TRUE(game.ClickItem("button", "Game"));
    ASSERT_TRUE(game.ClickItem("entry", "Load & Save"));
    EXPECT_TRUE(game.WaitFor([](const TProbeState& s) { return s.HasWindow("New profile"); }, 20))
        << game.Log();
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

TEST(Game, TheStatisticsPagesAllOpenAndTheLoanButtonBorrows) {
    TGame game;
    ASSERT_TRUE(PlayStarterPark(game));
    ASSERT_TRUE(game.ClickItem("button", "Pause"));  // the cash stands still
    ASSERT_TRUE(game.ClickItem("button", "Statistics"));
    for (const char* page : {"Park", "Rating", "Skiers", "Graphs", "Lifts", "Buildings",
                             "Marketing", "History", "Achievements", "Finance"}) {
        ASSERT_TRUE(game.ClickItem("tab", page)) << page;
        EXPECT_TRUE(
            game.WaitFor([&](const TProbeState& s) { return s.Text("stats_page") == page; }, 10))
            << page;
    }
    TProbeState before;
    ASSERT_TRUE(game.WaitFor([](const TProbeState& s) { return s.Has("loan"); }, 10, &before));
    const double cash = before.Number("cash"), loan = before.Number("loan");
    ASSERT_TRUE(game.ClickItem("button", "Take 5.000,-"));
    TProbeState after;
    EXPECT_TRUE(game.WaitFor([&](const TProbeState& s) { return s.Number("loan") == loan + 5000; },
                             10, &after));
    EXPECT_EQ(after.Number("cash"), cash + 5000);
    ASSERT_TRUE(game.ClickItem("button", "Repay 5.000,-"));
    EXPECT_TRUE(game.WaitFor(
        [&](const TProbeState& s) { return s.Number("loan") == loan && s.Number("cash") == cash; },
        10));
}

TEST(Game, ARowOfTheLiftsPageOpensThatLiftsWindow) {
    TGame game;
    ASSERT_TRUE(PlayStarterPark(game));
    // The second lift: its row follows the slopes and the first lift in the park's lists.
    TProbeState s;
    ASSERT_TRUE(game.WaitFor([](const TProbeState& st) { return st.Has("lift1_name"); }, 10, &s));
    const std::string name = s.Text("lift1_name");
    ASSERT_TRUE(game.ClickItem("button", "Statistics"));
    ASSERT_TRUE(game.ClickItem("tab", "Lifts"));
    ASSERT_TRUE(game.WaitFor([&](const TProbeState& st) { return st.Find("row", name); }, 10));
    ASSERT_TRUE(game.ClickItem("row", name));
    EXPECT_TRUE(game.WaitFor(
        [&](const TProbeState& st) {
            return st.HasWindow("Lift information") && st.Text("lift_window_name") == name;
        },
        10))
        << game.Log();
}

TEST(Game, TheDetailChosenInOptionsIsKeptAfterARestart) {
    std::string written;  // the options file the first run leaves
    int chosen = -1;
    {
        TGame game;
        ASSERT_TRUE(PlayStarterPark(game));
        ASSERT_TRUE(game.ClickItem("button", "Game"));
        ASSERT_TRUE(game.ClickItem("entry", "Options"));
        TProbeState s;
        ASSERT_TRUE(
            game.WaitFor([](const TProbeState& st) { return st.Has("options_detail"); }, 10, &s));
        chosen = s.Number("options_detail") == 2 ? 0 : 2;
        ASSERT_TRUE(game.ClickItem("panel", chosen == 2 ? "high" : "low"));
        ASSERT_TRUE(game.ClickItem("button", "Accept"));
        // A park is loaded: the new detail asks for a reload, once.
        ASSERT_TRUE(game.WaitFor(
            [](const TProbeState& st) {
                return st.Text("box_text") == "You must reload the game to apply changes.";
            },
            10))
            << game.Log();
        ASSERT_TRUE(game.ClickItem("button", "OK"));
        std::ifstream in(game.Root() / "save" / "Options.ini");
        written.assign(std::istreambuf_iterator<char>(in), {});
        ASSERT_NE(written.find("EngineDetail=" + std::to_string(chosen)), std::string::npos);
    }
    TGame::TSetup setup;
    setup.prepare = [&](const std::filesystem::path& root) {
        ASSERT_TRUE(WriteFileAtomically(root / "save" / "Options.ini", written));
    };
    TGame again(setup);
    ASSERT_TRUE(PlayStarterPark(again));
    ASSERT_TRUE(again.ClickItem("button", "Game"));
    ASSERT_TRUE(again.ClickItem("entry", "Options"));
    EXPECT_TRUE(again.WaitFor(
        [&](const TProbeState& st) { return st.Number("options_detail") == chosen; }, 10));
}

TEST(Game, ADisplayBoxChangesTheDrawnFrame) {
    TGame game;
    ASSERT_TRUE(PlayStarterPark(game));
    ASSERT_TRUE(game.ClickItem("button", "Pause"));
    ASSERT_TRUE(game.ClickItem("button", "Display options"));
    ASSERT_TRUE(game.WaitFor([](const TProbeState& s) { return s.HasWindow("Display"); }, 10));
    // Two frames of the same view differ only by what moves (falling snow): the noise.
    TSKIImage first, second, toggled;
    ASSERT_TRUE(game.Shot(first));
    ASSERT_TRUE(game.Shot(second));
    const int flags = int(game.State().Number("display_flags"));
    ASSERT_TRUE(game.ClickItem("check", "Blue-Red-Black"));
    ASSERT_TRUE(game.WaitFor(
        [&](const TProbeState& s) { return int(s.Number("display_flags")) == (flags ^ 8); }, 10));
    ASSERT_TRUE(game.Shot(toggled));
    auto changed = [](const TSKIImage& a, const TSKIImage& b) {
        long n = 0;
        for (int y = 0; y < a.Height(); y += 2)
            for (int x = 0; x < a.Width(); x += 2) {
                const TSKIColor p = a.Get(x, y), q = b.Get(x, y);
                n += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b) > 60;
            }
        return double(n) / (a.Width() / 2.0 * a.Height() / 2.0);
    };
    const double noise = changed(first, second), effect = changed(second, toggled);
    EXPECT_GT(effect, 0.05) << "noise " << noise;
    EXPECT_GT(effect, 4 * noise);
}

// Free ride from the build menu: the skier stands at the cursor, holding W skis it off, the
// view looks through its chase camera, and Escape gives the overview back.
TEST(Game, FreeRideSkisUnderTheHeldKeysUntilEscape) {
    TGame game;
    ASSERT_TRUE(PlayStarterPark(game));
    const auto at = FindCell(game, [](int kind) { return kind == 0 || kind == 1 || kind == 2; });
    ASSERT_TRUE(at) << "no free or slope cell in view";
    TSKIImage overview;
    ASSERT_TRUE(game.Shot(overview));
    ASSERT_TRUE(OpenMenuAt(game, at->first, at->second).HasWindow("Build menu")) << game.Log();
    ASSERT_TRUE(game.ClickItem("menu", "Free ride")) << game.Log();
    ASSERT_TRUE(game.WaitFor([](const TProbeState& s) { return s.Number("tool") == 13; }, 10));
    game.Move(float(game.State().winW) / 2, 10);  // away from the view's centre
    game.KeyDown("w");
    const bool moving =
        game.WaitFor([](const TProbeState& s) { return s.Number("avatar_speed") > 5; }, 20);
    game.KeyUp("w");
    ASSERT_TRUE(moving) << game.Log();
    TSKIImage ride;
    ASSERT_TRUE(game.Shot(ride));
    KeepGuiShot(game, "free-ride.png");
    size_t changed = 0;
    for (int y = 0; y < ride.Height(); y += 8) {
        for (int x = 0; x < ride.Width(); x += 8) {
            const TSKIColor a = overview.Get(x, y), b = ride.Get(x, y);
            changed +=
                std::abs(int(a.r) - b.r) + std::abs(int(a.g) - b.g) + std::abs(int(a.b) - b.b) > 60;
        }
    }
    EXPECT_GT(changed, size_t(ride.Width() / 8 * ride.Height() / 8 / 4))
        << "the view did not change";
    game.Key("Escape");
    EXPECT_TRUE(game.WaitFor([](const TProbeState& s) { return s.Number("tool") == 0; }, 10));
}

}  // namespace
}  // namespace vallorn::gui
