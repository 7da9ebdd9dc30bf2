// bench_windows: what the game's windows cost a frame. Opens the game's own window (1024 x 768,
// OpenGL 3.3 core, Dear ImGui), loads the starter park from the build tree, adds skiers and runs
// frames as the game loop does (park, camera, tools, the menu bar, the interface, then the 3D view
// undrawn under the windows) in two setups taken in turns, so that the park and the machine's
// load are the same for both:
//   none  no window but the menu bar;
//   all   every window the game shows at once: an information window (of a lift, a slope or a
//         building in turn; the game shows one at a time), statistics (one setup per page),
//         display with its Highlight palette, options, objectives, the manual, and a palette
//         box of the build menu (lift and building in turn).
// Per frame it takes the wall time from the events to the presented frame (with glFinish, so
// the rasteriser's work is in it), the CPU time of the main thread and of the whole process
// (the software rasteriser's threads included) and the main thread's CPU time in the windows'
// Draw calls. Prints medians and means per setup and the difference of "all" over "none".
// `--shot FILE.png` saves the last frame of the "all" setup, `--bare-shot FILE.png` the last
// one of "none"; `--overlay M` shows the skiers' flags of the statistics' graph M (1..8),
// `--warm S` runs the park S seconds first, `--flags N` sets the display flags and
// `--focus X,Z` / `--height H` move the viewpoint.
#include <GL/gl.h>
#include <SDL.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numeric>
#include <string>
#include <vector>

#include <imgui.h>
#include <stb_image_write.h>

#include "construction/construction.h"
#include "engine/arrivals.h"
#include "engine/clock.h"
#include "engine/engine.h"
#include "entities/section.h"
#include "persistence/saved_game.h"
#include "platform/interface_cover.h"
#include "platform/window.h"
#include "presentation/camera.h"
#include "presentation/renderer.h"
#include "ui/display_window.h"
#include "ui/help_window.h"
#include "ui/info_windows.h"
#include "ui/menu_bar.h"
#include "ui/objectives_window.h"
#include "ui/options_window.h"
#include "ui/palette_boxes.h"
#include "ui/stats_window.h"

using namespace vallorn;

namespace {

double Seconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

struct TOptions {
    int rounds = 6;   // each setup is run this many times, in turn with the others
    int frames = 24;  // frames per run; the first few after a switch are not counted
    int skiers = 1000;
    std::string shot, bareShot;
    int overlay = 0;
    int warm = 0;                   // seconds the park runs before the first frame
    int flags = -1;                 // display flags, or the park's
    float focusX = 1, focusZ = -1;  // focus point, or the saved one
    float height = -1;              // camera height, or the saved one
};

bool Parse(int argc, char** argv, TOptions& o) {
    for (int k = 1; k + 1 < argc; k += 2) {
        const std::string a = argv[k];
        const char* v = argv[k + 1];
        if (a == "--rounds")
            o.rounds = std::atoi(v);
        else if (a == "--frames")
            o.frames = std::atoi(v);
        else if (a == "--skiers")
            o.skiers = std::atoi(v);
        else if (a == "--shot")
            o.shot = v;
        else if (a == "--bare-shot")
            o.bareShot = v;
        else if (a == "--warm")
            o.warm = std::atoi(v);
        else if (a == "--overlay")
            o.overlay = std::atoi(v);
        else if (a == "--flags")
            o.flags = std::atoi(v);
        else if (a == "--height")
            o.height = float(std::atof(v));
        else if (a != "--focus" || std::sscanf(v, "%f,%f", &o.focusX, &o.focusZ) != 2)
            return false;
    }
    return argc % 2 == 1 && o.rounds > 0 && o.frames > 4;
}

// Per-frame figures in milliseconds.
struct TSample {
    double Wall = 0, Thread = 0, Process = 0, Windows = 0;
};

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

double Mean(const std::vector<double>& v) {
    return v.empty() ? 0 : std::accumulate(v.begin(), v.end(), 0.0) / double(v.size());
}

struct TFigures {
    double WallMedian = 0, WallMean = 0, Thread = 0, Process = 0, Windows = 0;
};

TFigures Figures(const std::vector<TSample>& samples) {
    std::vector<double> wall, thread, process, windows;
    for (const TSample& s : samples) {
        wall.push_back(s.Wall);
        thread.push_back(s.Thread);
        process.push_back(s.Process);
        windows.push_back(s.Windows);
    }
    return {Median(wall), Mean(wall), Median(thread), Median(process), Median(windows)};
}

void PrintRow(const char* name, const TFigures& f) {
    std::printf("%-22s %8.2f %8.2f %10.2f %10.2f %9.3f\n", name, f.WallMedian, f.WallMean, f.Thread,
                f.Process, f.Windows);
}

bool SavePng(const std::string& file, const TSKIImage& image) {
    return !image.Empty() && stbi_write_png(file.c_str(), image.Width(), image.Height(), 3,
                                            image.Pixels().data(), image.Width() * 3) != 0;
}

// Every window of play, open over the park.
struct TWindows {
    TSKIMenuBar MenuBar;
    TSKIStatsWindow Stats;
    TSKIDisplayWindow Display;
    TSKIOptionsWindow Options;
    TSKIObjectivesWindow Objectives;
    TSKIInfoWindows Info;
    int PaletteKind = 0;
    std::unique_ptr<TSKIHelpWindow> Help;
    bool AllOpen = false;
};

// Opens (or closes) every window; the statistics window on `page`.
void OpenAll(TWindows& w, TSKIEngine& engine, bool open, int page, float width, float height) {
    w.AllOpen = open;
    if (!open) {
        w.Stats.Visible = w.Options.Visible = false;
        w.Display.Hide();
        w.Objectives.Hide();
        w.Help->Hide();
        w.Info.HideAll();
        return;
    }
    w.Stats.ShowPage(page);
    w.Display.ShowPalette();
    if (!w.Options.Visible) w.Options.Show(engine.Options);
    w.Objectives.Refresh(engine);
    if (!w.Objectives.Visible()) w.Objectives.Show(false);
    if (!w.Help->Visible()) w.Help->Show("Contents");
    // The information window of the first lift, the first slope or the first building.
    const int kind = page % 3;
    TerrainCell cell;
    for (size_t k = 0; k < engine.Sections.size() && kind < 2; ++k) {
        if (engine.Sections[k]->IsLift() == (kind == 0)) {
            cell.Section = int32_t(k);
            break;
        }
    }
    if (kind == 2 && !engine.Buildings.empty()) cell.Building = 0;
    w.Info.OpenAt(cell, width / 2 - 160, height / 4);
    w.PaletteKind = page % 2;
}

// The windows, each timed (main-thread CPU, milliseconds) into `parts` while all are open.
enum TPart {
    kMenuBar,
    kInfo,
    kPaletteBoxes,
    kStats,
    kDisplay,
    kObjectives,
    kHelp,
    kOptions,
    kParts
};
constexpr const char* kPartNames[kParts] = {"menu bar",   "information",     "palette box",
                                            "statistics", "display+palette", "objectives",
                                            "manual",     "options"};

void DrawWindows(TWindows& w, TSKIEngine& engine, TSKIViewState& view, TSKIConstruction& tools,
                 float width, float height, float scale, bool& arrange,
                 std::vector<double>* parts) {
    auto timed = [&](TPart part, const auto& draw) {
        const double start = Seconds(CLOCK_THREAD_CPUTIME_ID);
        draw();
        if (parts) parts[part].push_back(1000 * (Seconds(CLOCK_THREAD_CPUTIME_ID) - start));
    };
    const TSKIRect place{39, height - 167, 560, 139};
    timed(kMenuBar, [&] {
        w.MenuBar.Draw(engine, FormatMoney(engine.Park.ParkCash), scale, place, arrange);
    });
    arrange = false;
    if (!w.AllOpen) return;
    timed(kInfo, [&] { w.Info.Draw(width, height, scale); });
    timed(kPaletteBoxes, [&] {
        const bool lift = w.PaletteKind == 0;
        DrawPaletteBox(engine.Params, lift ? TSKIPaletteKind::Lift : TSKIPaletteKind::Building,
                       lift ? 2 : 3, 200, 240, width, height, scale);
    });
    timed(kStats, [&] { (void)w.Stats.Draw(engine, view, width, height, scale); });
    timed(kDisplay, [&] {
        const int box = w.Display.Draw(view, width, height, scale).ToggledBox;
        if (box >= 0) tools.ToggleDisplayBox(box);
    });
    timed(kObjectives, [&] { (void)w.Objectives.Draw(engine, width, height, scale); });
    timed(kHelp, [&] { w.Help->Draw(width, height, scale); });
    timed(kOptions, [&] { (void)w.Options.Draw(engine.Options, width, height, scale); });
}

// What ImGui handed to the driver in the frame just rendered.
struct TDrawCounts {
    long Vertices = 0, Indices = 0, Commands = 0;
    double Pixels = 0;  // the triangles' area, each clipped to its command's rectangle
};

TDrawCounts CountDrawData() {
    TDrawCounts n;
    const ImDrawData* data = ImGui::GetDrawData();
    if (!data) return n;
    n.Vertices = data->TotalVtxCount;
    n.Indices = data->TotalIdxCount;
    for (int k = 0; k < data->CmdListsCount; ++k) {
        const ImDrawList& list = *data->CmdLists[k];
        n.Commands += list.CmdBuffer.Size;
        for (const ImDrawCmd& cmd : list.CmdBuffer) {
            if (cmd.UserCallback) continue;
            const ImVec4 clip = cmd.ClipRect;
            for (unsigned i = 0; i + 2 < cmd.ElemCount; i += 3) {
                const ImDrawIdx* idx = list.IdxBuffer.Data + cmd.IdxOffset + i;
                const ImVec2 a = list.VtxBuffer[int(cmd.VtxOffset + idx[0])].pos;
                const ImVec2 b = list.VtxBuffer[int(cmd.VtxOffset + idx[1])].pos;
                const ImVec2 c = list.VtxBuffer[int(cmd.VtxOffset + idx[2])].pos;
                const double area =
                    std::abs(double(b.x - a.x) * (c.y - a.y) - double(c.x - a.x) * (b.y - a.y)) / 2;
                // Scaled by the share of the bounding box inside the clip rectangle.
                const float x0 = std::min({a.x, b.x, c.x}), x1 = std::max({a.x, b.x, c.x});
                const float y0 = std::min({a.y, b.y, c.y}), y1 = std::max({a.y, b.y, c.y});
                const double box = double(x1 - x0) * double(y1 - y0);
                const double inside =
                    double(std::max(0.0f, std::min(x1, clip.z) - std::max(x0, clip.x))) *
                    double(std::max(0.0f, std::min(y1, clip.w) - std::max(y0, clip.y)));
                if (box > 0) n.Pixels += area * inside / box;
            }
        }
    }
    return n;
}

}  // namespace

int main(int argc, char** argv) {
    TOptions o;
    if (!Parse(argc, argv, o)) {
        std::fprintf(
            stderr,
            "usage: bench_windows [--rounds N] [--frames N] [--skiers N] [--warm S] [--overlay M] "
            "[--flags N] [--focus X,Z] [--height H] [--shot FILE.png] "
            "[--bare-shot FILE.png]\n");
        return 2;
    }
    TSKIWindow window;
    TSKIWindowSetup setup;
    setup.Title = "VALLORN windows bench";
    std::string error;
    if (!window.Open(setup, &error)) {
        std::fprintf(stderr, "bench_windows: no window: %s\n", error.c_str());
        return 2;
    }
    SDL_GL_SetSwapInterval(0);
    const std::string root = VALLORN_BUILD_ROOT;
    TSKIViewState viewState;
    TSKIEngine engine({root, 1, nullptr, &viewState});
    if (!LoadGameFile(engine, root + "/worlds/Starter.ski")) {
        std::fprintf(stderr, "bench_windows: cannot load the starter park: %s\n",
                     engine.LoadError.c_str());
        return 3;
    }
    engine.Park.ParkSpeed = 1.0f;
    viewState.OverlayMode = uint8_t(std::clamp(o.overlay, 0, 8));
    if (o.flags >= 0) viewState.DisplayFlags = uint8_t(o.flags);
    if (o.skiers > 0) SpawnSkiers(engine, o.skiers, UpdateArrivalPoint(engine), 10, 10, true);
    TSKIToolState toolState;
    TSKIConstruction tools(engine, toolState);
    for (int k = 0; k < o.warm * 10; ++k) OnProgress(engine, 0.1);
    TSKIRenderer renderer;
    if (!renderer.Init(engine.Folders.Data, &error)) {
        std::fprintf(stderr, "bench_windows: %s\n", error.c_str());
        return 3;
    }
    renderer.LevelChanged(engine);
    TSKICamera camera;
    camera.Resize(window.Width(), window.Height());
    TSKIViewpoint view = engine.Viewpoint;
    if (o.focusZ >= 0) view.FocusX = o.focusX, view.FocusZ = o.focusZ;
    if (o.height > 0) view.Height = o.height;
    camera.SetViewpoint(engine, view);

    TWindows w;
    w.MenuBar.LoadPictures(engine.Folders.Data);
    w.Help = std::make_unique<TSKIHelpWindow>(engine.Folders.Root);
    TSKIInfoWindows::THooks hooks;
    hooks.AfterFrame = [](std::function<void()>) {};
    hooks.Goto = [](const TSKIVector&) {};
    hooks.DownhillRace = [](size_t) {};
    hooks.SetTarget = [](size_t) {};
    w.Info.SetHooks(std::move(hooks));
    w.Info.Bind(&engine);

    // Setup 0: none; setups 1..10: all, the statistics window on page 0..9.
    constexpr int kSetups = 1 + TSKIStatsWindow::kPages;
    constexpr int kSettle = 4;  // frames after a switch while the windows size themselves
    std::vector<TSample> samples[kSetups];
    std::vector<double> parts[kParts], statsPages[TSKIStatsWindow::kPages];
    TDrawCounts drawn[2];  // the last frame of "none" and of "all"
    const float dt = 1.0f / 30.0f;
    bool arrange = true;
    double seconds = 0;
    TSKIImage shot, bareShot;
    const int total = o.rounds * kSetups * o.frames;
    for (int run = 0; run < o.rounds * kSetups; ++run) {
        const int setupIndex = run % kSetups;
        for (int frame = 0; frame < o.frames; ++frame) {
            const auto wall0 = std::chrono::steady_clock::now();
            const double thread0 = Seconds(CLOCK_THREAD_CPUTIME_ID);
            const double process0 = Seconds(CLOCK_PROCESS_CPUTIME_ID);
            if (!window.PumpEvents([](const SDL_Event&) {})) return 0;
            if (frame == 0) {
                OpenAll(w, engine, setupIndex > 0, setupIndex - 1, float(window.Width()),
                        float(window.Height()));
            }
            camera.Update(engine, TSKICameraInput{}, dt);
            tools.UpdateTools(dt);
            const int64_t days = engine.DayChanges;
            OnProgress(engine, dt);
            viewState.Advance(engine, dt);
            if (engine.DayChanges != days) tools.LeaveTool();
            w.Info.Tick(dt);
            window.BeginFrame();
            const ImGuiIO& io = ImGui::GetIO();
            const double windows0 = Seconds(CLOCK_THREAD_CPUTIME_ID);
            DrawWindows(w, engine, viewState, tools, io.DisplaySize.x, io.DisplaySize.y,
                        window.DpiScale(), arrange,
                        setupIndex > 0 && frame >= kSettle ? parts : nullptr);
            const double windows = Seconds(CLOCK_THREAD_CPUTIME_ID) - windows0;
            // As in the game: the view after the windows, undrawn under them.
            renderer.SetCovered(InterfaceCover(window.Width(), window.Height()));
            renderer.Draw(engine, viewState, toolState, camera, window.Width(), window.Height(),
                          seconds);
            if (setupIndex > 0 && frame >= kSettle)
                statsPages[setupIndex - 1].push_back(parts[kStats].back());
            // The pictures: the last frame of the last runs of "none" and of "all".
            const bool last = run >= o.rounds * kSetups - kSetups && frame == o.frames - 1;
            TSKIImage* picture = nullptr;
            if (last && setupIndex == 0 && !o.bareShot.empty()) picture = &bareShot;
            if (last && setupIndex == 1 && !o.shot.empty()) picture = &shot;
            window.EndFrame(picture);
            glFinish();
            drawn[setupIndex > 0 ? 1 : 0] = CountDrawData();
            seconds += dt;
            if (frame < kSettle) continue;
            TSample s;
            s.Wall =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall0)
                    .count();
            s.Thread = 1000 * (Seconds(CLOCK_THREAD_CPUTIME_ID) - thread0);
            s.Process = 1000 * (Seconds(CLOCK_PROCESS_CPUTIME_ID) - process0);
            s.Windows = 1000 * windows;
            samples[setupIndex].push_back(s);
        }
    }
    if (!o.shot.empty() && !SavePng(o.shot, shot))
        std::fprintf(stderr, "bench_windows: cannot write %s\n", o.shot.c_str());
    if (!o.bareShot.empty() && !SavePng(o.bareShot, bareShot))
        std::fprintf(stderr, "bench_windows: cannot write %s\n", o.bareShot.c_str());

    std::printf("frames %d (%d x %d, %zu skiers, %d rounds of %d frames per setup, %d settling)\n",
                total, window.Width(), window.Height(), engine.Skiers.size(), o.rounds, o.frames,
                kSettle);
    std::printf("%-22s %8s %8s %10s %10s %9s\n", "setup", "wall med", "wall avg", "CPU main",
                "CPU all", "windows");
    std::printf("%-22s %8s %8s %10s %10s %9s\n", "", "ms", "ms", "ms (med)", "ms (med)",
                "ms (med)");
    const TFigures none = Figures(samples[0]);
    PrintRow("none", none);
    std::vector<TSample> every;
    for (int p = 0; p < TSKIStatsWindow::kPages; ++p) {
        const std::string name = std::string("all, ") + TSKIStatsWindow::PageCaption(p);
        PrintRow(name.c_str(), Figures(samples[1 + p]));
        every.insert(every.end(), samples[1 + p].begin(), samples[1 + p].end());
    }
    const TFigures all = Figures(every);
    PrintRow("all, every page", all);
    const TFigures more{all.WallMedian - none.WallMedian, all.WallMean - none.WallMean,
                        all.Thread - none.Thread, all.Process - none.Process,
                        all.Windows - none.Windows};
    PrintRow("all - none", more);
    std::printf("\nwindows' own time, main thread, ms per frame (median):\n");
    for (int p = 0; p < kParts; ++p)
        std::printf("  %-16s %7.3f\n", kPartNames[p], Median(parts[p]));
    for (int p = 0; p < TSKIStatsWindow::kPages; ++p)
        std::printf("    %-14s %7.3f\n", TSKIStatsWindow::PageCaption(p), Median(statsPages[p]));
    const double screen = double(window.Width()) * double(window.Height());
    for (int k = 0; k < 2; ++k) {
        std::printf("%s %6ld vertices, %6ld indices, %3ld draw commands, %.2f screens filled\n",
                    k == 0 ? "\ninterface, none:" : "interface, all: ", drawn[k].Vertices,
                    drawn[k].Indices, drawn[k].Commands, drawn[k].Pixels / screen);
    }
    return 0;
}
