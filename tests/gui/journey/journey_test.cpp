// A new player's first session, played as he played it, with real input only: the first start
// and its profile, the campaign's first mission built with the mouse, the next mission, a game
// saved, the game quit and started again, the saved game loaded, a downhill race and Escape.
// The probe is read (what is on screen, where the cursor marker stands), never used to act.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "gui/gui_harness.h"

namespace vallorn::gui {
namespace {

constexpr double kStart = 60;

struct TPoint {
    float x = 0, y = 0;
};

std::string Seen(const TProbeState& s) {
    std::string seen = "frame " + std::to_string(s.frame) + ":";
    for (const std::string& w : s.windows) seen += " [" + w + "]";
    seen += " box: '" + s.Text("box_text") + "' tool " + s.Text("tool") + " '" +
            s.Text("tool_text") + "'";
    return seen;
}

bool BoxShows(const TProbeState& s, const std::string& start) {
    return s.Has("box_text") && s.Text("box_text").rfind(start, 0) == 0;
}

// Clicks the box's button until the box saying `start` has gone.
bool Answer(TGame& game, const std::string& button, const std::string& start) {
    for (int tries = 0; tries < 4; ++tries) {
        game.ClickItem("button", button, 1, 5);
        if (game.WaitFor([&](const TProbeState& s) { return !BoxShows(s, start); }, 5)) return true;
    }
    return false;
}

bool Playing(const TProbeState& s, int mission) {
    return s.HasWindow("Main menu") && s.Number("park") == 1 &&
           s.Number("mission_index") == mission && !s.Has("box_text");
}

// The pointer over cell (i, j), found as a player finds it: look over the screen, move the
// pointer towards the cell while the cell under it comes nearer, and scroll the view with the
// keys when the cell lies past an edge. Nothing when the cell cannot be reached.
std::optional<TPoint> AimAt(TGame& game, int i, int j) {
    const TProbeState first = game.State();
    const float w = float(first.winW), h = float(first.winH);
    const auto away = [&](float x, float y) {
        game.Move(x, y);
        const TProbeState s = game.Frames(3);
        const double ci = s.Number("cursor_i"), cj = s.Number("cursor_j");
        if (ci < 0 || cj < 0) return 1e18;
        return std::hypot(int(ci) - i, int(cj) - j);
    };
    // The screen point nearest the goal on a coarse grid.
    TPoint p{w * 0.5f, h * 0.5f};
    double best = 1e18;
    for (float gy = 0.1f; gy < 0.8f; gy += 0.1f) {
        for (float gx = 0.1f; gx < 0.95f; gx += 0.1f) {
            const double d = away(w * gx, h * gy);
            if (d < best) best = d, p = TPoint{w * gx, h * gy};
        }
    }
    const float left = 6, right = w - 6, top = 6, bottom = h * 0.78f;  // above the menu bar
    for (int pans = 0, rounds = 0; rounds < 60; ++rounds) {
        best = away(p.x, p.y);
        if (best == 0) return p;
        // The longest move among the eight directions that brings the cell nearer.
        bool nearer = false;
        for (const float step : {128.0f, 64.0f, 32.0f, 16.0f, 8.0f, 4.0f, 2.0f}) {
            TPoint pick = p;
            double pickAway = best;
            for (int k = 0; k < 8; ++k) {
                const float a = float(k) * 0.785398f;
                const TPoint q{std::clamp(p.x + step * std::cos(a), left, right),
                               std::clamp(p.y + step * std::sin(a), top, bottom)};
                const double d = away(q.x, q.y);
                if (d < pickAway) pickAway = d, pick = q;
            }
            if (pickAway < best) {
                p = pick;
                nearer = true;
                break;
            }
        }
        if (nearer) continue;
        // Stuck at an edge of the screen: scroll the view that way and look again.
        const char* scroll = p.y <= top + 40      ? "w"
                             : p.y >= bottom - 40 ? "s"
                             : p.x <= left + 40   ? "a"
                             : p.x >= right - 40  ? "d"
                                                  : nullptr;
        if (!scroll || ++pans > 16) return std::nullopt;
        game.KeyDown(scroll);
        game.Frames(5);
        game.KeyUp(scroll);
        game.Frames(3);
    }
    return std::nullopt;
}

// An objective reached shows its note over the view: OK puts it away.
void PutAwayNote(TGame& game) {
    const auto note = [](const TProbeState& s) { return s.HasWindow("Objective completed"); };
    if (game.WaitFor(note, 5)) {
        game.ClickItem("button", "OK", 1, 5);
        game.WaitFor([&](const TProbeState& s) { return !note(s); }, 10);
    }
}

// Right-clicks at cell (i, j) and waits for the build menu.
bool MenuAt(TGame& game, int i, int j) {
    const auto at = AimAt(game, i, j);
    if (!at) return false;
    game.Click(3);
    return game.WaitFor([](const TProbeState& s) { return s.HasWindow("Build menu"); }, 10);
}

// Where cells are on screen, found before the slope tool is in hand: with it, the pointer moved
// higher than the run's last node takes that node back, as a player backs up a run he draws.
using TSeen = std::map<std::pair<int, int>, TPoint>;

// Clicks at cell (i, j) with the tool in hand once its hover text starts with `verdict` and the
// view has come to rest with the cell under the pointer; with the slope tool, until the node shows.
bool ClickAt(TGame& game, int i, int j, const std::string& verdict, const TSeen& seen = {}) {
    for (int tries = 0; tries < 3; ++tries) {
        const auto known = seen.find({i, j});
        if (tries == 0 && known != seen.end()) {
            game.Move(known->second.x, known->second.y);
        } else if (!AimAt(game, i, j)) {
            return false;
        }
        const TProbeState s = game.Frames(10);
        if (int(s.Number("cursor_i")) != i || int(s.Number("cursor_j")) != j) continue;
        if (s.Text("tool_text").rfind(verdict, 0) != 0) return false;
        const double nodes = s.Number("slope_nodes");
        game.Click(1);
        const TProbeState after = game.Frames(5);
        if (s.Number("tool") != 3 || after.Number("slope_nodes") != nodes) return true;
    }
    return false;
}

// Clicks the first of the cells where the tool's hover text starts with `verdict`, as a player
// tries a few places before one suits.
bool ClickFirst(TGame& game, const std::vector<std::pair<int, int>>& cells,
                const std::string& verdict, const TSeen& seen = {}) {
    for (const auto& [i, j] : cells) {
        if (ClickAt(game, i, j, verdict, seen)) return true;
    }
    return false;
}

// The frame shows a picture rather than one flat colour.
bool Varied(const TSKIImage& shot) {
    double sum = 0, squares = 0;
    int n = 0;
    for (int y = 0; y < shot.Height(); y += 6) {
        for (int x = 0; x < shot.Width(); x += 6) {
            const TSKIColor c = shot.Get(x, y);
            const double v = 0.3 * c.r + 0.59 * c.g + 0.11 * c.b;
            sum += v;
            squares += v * v;
            ++n;
        }
    }
    const double mean = sum / n;
    return squares / n - mean * mean > 150;
}

TEST(Journey, ANewPlayersFirstSessionNeverGetsStuck) {
    TGame::TSetup setup;
    setup.starter = false;
    auto game = std::make_unique<TGame>(setup);

    // First start: the intro, the profile ("Player" as proposed), "Welcome" and the title.
    ASSERT_TRUE(game->WaitFor([](const TProbeState& s) { return s.frame > 2; }, kStart));
    for (int tries = 0; tries < 6 && !BoxShows(game->State(), "Enter new profile name:"); ++tries) {
        // A click in the corner skips the intro; a key could answer the box that follows.
        if (game->State().Number("intro") == 1) {
            game->Move(12, 12);
            game->Click(1);
        }
        game->WaitFor([](const TProbeState& s) { return BoxShows(s, "Enter new profile name:"); },
                      kStart / 6);
    }
    ASSERT_TRUE(Answer(*game, "OK", "Enter new profile name:")) << game->Log();
    ASSERT_TRUE(game->WaitFor(
        [](const TProbeState& s) { return s.HasWindow("Game menu") && s.HasWindow("Help"); },
        kStart));

    // The first mission from the campaign map.
    ASSERT_TRUE(game->ClickItem("entry", "Campaign"));
    ASSERT_TRUE(game->ClickItem("button", "First Tracks: Start")) << Seen(game->State());
    ASSERT_TRUE(game->WaitFor([](const TProbeState& s) { return Playing(s, 0); }, kStart))
        << Seen(game->State()) << game->Log();
    ASSERT_TRUE(game->ClickItem("button", "Pause"));
    // "Welcome" is still open over the view: the menu bar's Help button puts it away.
    if (game->State().HasWindow("Help")) {
        ASSERT_TRUE(game->ClickItem("button", "Help"));
    }
    ASSERT_TRUE(game->WaitFor([](const TProbeState& st) { return !st.HasWindow("Help"); }, 10));
    // The wheel turned back as far as the mission allows, to see the hill around the car park.
    game->Move(0.5f * float(game->State().winW), 0.4f * float(game->State().winH));
    for (int k = 0; k < 10; ++k) {
        game->Click(5);
        game->Frames(1);
    }
    game->Frames(30);

    // A T-bar from the car park up the hill: the build menu on the snow, then the top.
    ASSERT_TRUE(MenuAt(*game, 73, 254)) << Seen(game->State());
    ASSERT_TRUE(game->HoverItem("menu", "Build lift"));
    ASSERT_TRUE(game->ClickItem("menu", "T-Bar")) << Seen(game->State());
    ASSERT_TRUE(game->WaitFor([](const TProbeState& s) { return s.Number("tool") == 2; }, 10));
    ASSERT_TRUE(ClickAt(*game, 103, 257, "Place upper station")) << Seen(game->State());
    ASSERT_TRUE(game->WaitFor([](const TProbeState& s) { return s.Number("lifts") == 1; }, 20))
        << Seen(game->State());
    PutAwayNote(*game);

    // A blue run from the top station back down, node by node.
    TSeen seen;
    for (const auto& cell :
         std::vector<std::pair<int, int>>{{100, 266}, {80, 266}, {76, 261}, {73, 254}}) {
        if (const auto at = AimAt(*game, cell.first, cell.second)) seen[cell] = *at;
    }
    ASSERT_TRUE(MenuAt(*game, 103, 257)) << Seen(game->State());
    ASSERT_TRUE(game->ClickItem("menu", "Build slope"));
    ASSERT_TRUE(game->WaitFor([](const TProbeState& s) { return s.Number("tool") == 3; }, 10));
    // Away from the lift line first, then across the hill and back to the lower station.
    ASSERT_TRUE(ClickFirst(*game, {{100, 266}, {103, 267}, {96, 268}, {98, 271}, {89, 266}},
                           "Draw slope", seen))
        << Seen(game->State());
    ASSERT_TRUE(ClickFirst(*game, {{80, 266}, {76, 264}, {84, 268}, {73, 262}}, "Draw slope", seen))
        << Seen(game->State());
    const std::vector<std::pair<int, int>> lower = {{73, 254}, {72, 254}, {74, 254}};
    if (!ClickFirst(*game, lower, "Finish slope", seen)) {
        // "Section too long!": one more node nearer the lower station, then the finish.
        ASSERT_TRUE(ClickFirst(*game, {{76, 261}, {77, 261}, {75, 260}, {78, 262}, {76, 259}},
                               "Draw slope", seen))
            << Seen(game->State());
        ASSERT_TRUE(ClickFirst(*game, lower, "Finish slope", seen)) << Seen(game->State());
    }
    ASSERT_TRUE(game->WaitFor([](const TProbeState& s) { return s.Number("tool") == 0; }, 10))
        << Seen(game->State());
    PutAwayNote(*game);

    // At full speed the guests come; every day's report is answered.
    ASSERT_TRUE(game->ClickItem("button", "4 x"));
    TProbeState s;
    for (int waited = 0; waited < 40 && !s.HasWindow("Mission accomplished"); ++waited) {
        game->WaitFor(
            [](const TProbeState& st) {
                return st.HasWindow("Mission accomplished") ||
                       st.HasWindow("End of the day report");
            },
            15, &s);
        if (s.HasWindow("End of the day report") && !s.HasWindow("Mission accomplished"))
            game->ClickItem("button", "Continue", 1, 5);
    }
    ASSERT_TRUE(s.HasWindow("Mission accomplished")) << Seen(game->State()) << game->Log();
    ASSERT_TRUE(game->ClickItem("button", "Continue campaign"));

    // The finished mission stands still behind the campaign map: no clock, no day report.
    ASSERT_TRUE(game->WaitFor([](const TProbeState& st) { return st.HasWindow("Campaign"); }, 20));
    const double ticks = game->State().Number("ticks");
    game->Frames(90);
    s = game->State();
    EXPECT_EQ(s.Number("ticks"), ticks);
    EXPECT_FALSE(s.Has("box_text")) << Seen(s);

    // The next mission: the save question is asked in front, over the old park, and answered.
    ASSERT_TRUE(game->ClickItem("button", "Warm Welcome: Start")) << Seen(game->State());
    ASSERT_TRUE(
        game->WaitFor([](const TProbeState& st) { return BoxShows(st, "Save game on exit?"); }, 20))
        << Seen(game->State());
    s = game->State();
    EXPECT_EQ(s.Number("loading"), 0) << "the loading picture covers the question";
    ASSERT_TRUE(Answer(*game, "Yes", "Save game on exit?"));
    ASSERT_TRUE(game->WaitFor([](const TProbeState& st) { return Playing(st, 1); }, kStart))
        << Seen(game->State());
    EXPECT_TRUE(std::filesystem::exists(game->Root() / "save" / "Player" / "auto"));

    // Saved through the load and save window under its proposed name, then the game is quit.
    ASSERT_TRUE(game->ClickItem("button", "Pause"));
    ASSERT_TRUE(game->ClickItem("button", "Game"));
    ASSERT_TRUE(game->ClickItem("entry", "Load & Save"));
    ASSERT_TRUE(game->ClickItem("entry", "Create new save..."));
    ASSERT_TRUE(game->ClickItem("button", "Save"));
    ASSERT_TRUE(
        game->WaitFor([](const TProbeState& st) { return BoxShows(st, "Enter file name:"); }, 20));
    const std::string saveName = game->State().Text("box_input");
    ASSERT_FALSE(saveName.empty());
    ASSERT_TRUE(Answer(*game, "OK", "Enter file name:"));
    const auto saved = game->Root() / "save" / "Player" / (saveName + ".ski");
    ASSERT_TRUE(
        game->WaitFor([&](const TProbeState&) { return std::filesystem::exists(saved); }, 20));
    ASSERT_TRUE(game->WaitFor([](const TProbeState& st) { return st.HasWindow("Game menu"); }, 20));
    ASSERT_TRUE(game->ClickItem("entry", "Exit game"));
    ASSERT_TRUE(game->WaitFor(
        [](const TProbeState& st) { return BoxShows(st, "Save game on exit?"); }, 20));
    // "No": the game ends with the frame that showed the question.
    ASSERT_TRUE(game->ClickItem("button", "No"));
    ASSERT_EQ(game->WaitExit(30), 0) << game->Log();

    // Started again: the saved game loads and the view shows the park, not an empty frame.
    const std::filesystem::path save = game->Root() / "save";
    setup.prepare = [&](const std::filesystem::path& root) {
        std::filesystem::copy(save, root / "save",
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
    };
    auto again = std::make_unique<TGame>(setup);
    game.reset();
    ASSERT_TRUE(again->WaitFor([](const TProbeState& st) { return st.frame > 2; }, kStart));
    for (int tries = 0; tries < 6 && !again->State().HasWindow("Game menu"); ++tries) {
        if (again->State().Number("intro") == 1) {
            again->Move(12, 12);
            again->Click(1);
        }
        again->WaitFor([](const TProbeState& st) { return st.HasWindow("Game menu"); }, 10);
    }
    ASSERT_TRUE(again->ClickItem("entry", "Load & Save")) << Seen(again->State());
    ASSERT_TRUE(again->ClickItem("entry", saveName)) << Seen(again->State());
    ASSERT_TRUE(again->ClickItem("button", "Load"));
    ASSERT_TRUE(again->WaitFor([](const TProbeState& st) { return Playing(st, 1); }, kStart))
        << Seen(again->State());
    s = again->Frames(5);
    EXPECT_LT(s.Number("camera_pitch"), 75) << "the view looks straight down";
    TSKIImage shot;
    ASSERT_TRUE(again->Shot(shot));
    EXPECT_TRUE(Varied(shot)) << "an empty frame after loading";
    ASSERT_TRUE(again->ClickItem("button", "Pause"));

    // A downhill race from a slope's window ends with its box.
    std::optional<TPoint> onSlope;
    for (float fy = 0.15f; fy < 0.8f; fy += 0.1f) {
        for (float fx = 0.1f; fx < 0.95f; fx += 0.1f) {
            again->Move(fx * float(s.winW), fy * float(s.winH));
            const TProbeState here = again->Frames(3);
            if (here.Number("cursor_kind") == 2) onSlope = TPoint{fx * s.winW, fy * s.winH};
            if (onSlope) break;
        }
        if (onSlope) break;
    }
    ASSERT_TRUE(onSlope) << "no slope in view";
    again->Click(1);
    ASSERT_TRUE(again->ClickItem("button", "Downhill race")) << Seen(again->State());
    ASSERT_TRUE(again->WaitFor([](const TProbeState& st) { return st.Number("tool") == 15; }, 20));
    ASSERT_TRUE(again->ClickItem("button", "1 x"));
    again->Move(float(s.winW) / 2, 10);
    again->KeyDown("w");
    const bool ended = again->WaitFor(
        [](const TProbeState& st) {
            return BoxShows(st, "Race finished") || BoxShows(st, "New downhill record") ||
                   BoxShows(st, "You were disqualified");
        },
        120, &s);
    again->KeyUp("w");
    ASSERT_TRUE(ended) << Seen(again->State());
    ASSERT_TRUE(Answer(*again, "OK", s.Text("box_text").substr(0, 12)));

    // Escape leaves the tool in hand; with none it opens the menu, and again closes it.
    ASSERT_TRUE(again->WaitFor([](const TProbeState& st) { return st.Number("tool") == 0; }, 20));
    // The build menu hides the slope's window (and draws nothing over it).
    again->Move(onSlope->x, onSlope->y);
    again->Frames(3);
    again->Click(1);
    ASSERT_TRUE(again->WaitFor(
        [](const TProbeState& st) { return st.HasWindow("Slope information"); }, 10));
    again->Click(3);
    ASSERT_TRUE(
        again->WaitFor([](const TProbeState& st) { return st.HasWindow("Build menu"); }, 10));
    EXPECT_FALSE(again->State().HasWindow("Slope information"));
    ASSERT_TRUE(again->ClickItem("menu", "Build slope"));
    ASSERT_TRUE(again->WaitFor([](const TProbeState& st) { return st.Number("tool") == 3; }, 10));
    // (Presses half a second apart: the game takes a key held down for one press.)
    again->Key("Escape");
    s = again->Frames(30);
    EXPECT_EQ(s.Number("tool"), 0);
    EXPECT_FALSE(s.HasWindow("Game menu"));
    again->Key("Escape");
    EXPECT_TRUE(
        again->WaitFor([](const TProbeState& st) { return st.HasWindow("Game menu"); }, 10));
    again->Frames(30);
    again->Key("Escape");
    EXPECT_TRUE(
        again->WaitFor([](const TProbeState& st) { return !st.HasWindow("Game menu"); }, 10));
}

}  // namespace
}  // namespace vallorn::gui
