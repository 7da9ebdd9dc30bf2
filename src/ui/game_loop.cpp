// The game loop of the main window: one frame pumps the events, moves the camera and the
// tools, runs the park's frame handler, draws the view and the windows and presents.
#include <algorithm>
#include <cstdio>

#include <imgui.h>

#include "engine/clock.h"
#include "platform/music.h"
#include "platform/single_instance.h"
#include "presentation/renderer.h"
#include "ui/game_window.h"
#include "ui/hover_panel.h"
#include "ui/probe.h"
#include "ui/text_lists.h"

namespace vallorn {

namespace {

constexpr double kFrameMs = 1000.0 / 60.0;

double Milliseconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int TSKIGameWindow::Run() {
    TSKIWindowSetup setup;
    setup.FullScreen = options_.FullScreen;
    std::string error;
    if (!window_.Open(setup, &error)) {
        std::fprintf(stderr, "vallorn: cannot open the game's window: %s\n", error.c_str());
        return 1;
    }
    intro_.LoadFonts(window_.DpiScale());
    renderer_ = std::make_unique<TSKIRenderer>();
    if (!renderer_->Init(folders_.Data, &error)) {
        std::fprintf(stderr, "vallorn: the 3D view cannot start: %s\n", error.c_str());
        renderer_.reset();
    }
    menuBar_.LoadPictures(folders_.Data);
    loading_.LoadPicture(folders_.Data / "loading.jpg");
    tips_ = ReadTextLines(folders_.Data / "tips.txt");
    tracks_ = MusicTracks(folders_.Data, ReadTextLines(folders_.Data / "music.txt"));
    music_ = std::make_unique<TSKIMusicPlayer>();
    NewEngine();
    UpdateFullScreen();
    PlayMusic();

    lastFrame_ = std::chrono::steady_clock::now();
    if (!renderer_) dialogs_.ShowError("The 3D view cannot start: " + error);
    while (!closeRequested_) Frame(true, {});
    CloseWindow();
    renderer_.reset();
    music_.reset();
    window_.Close();
    return 0;
}

bool TSKIGameWindow::Frame(bool advance, const std::function<void()>& drawBox) {
    const auto now = std::chrono::steady_clock::now();
    const double dt = std::clamp(Milliseconds(now - lastFrame_) / 1000.0, 0.0, 1.0);
    lastFrame_ = now;
    seconds_ += dt;
    // The first frames of a park upload its textures: not a hitch of play.
    if (parkShown_ && advance && ++framesSinceLoad_ > 30)
        longestFrameMs_ = std::max(longestFrameMs_, dt * 1000.0);

    const bool open = window_.PumpEvents([this](const SDL_Event& e) { OnEvent(e); });
    if (!open) closeRequested_ = true;
    if (instance_ && instance_->RaiseRequested()) window_.Raise();
    if (music_ && music_->Update()) PlayMusic();

    const bool modal = bool(drawBox) || dialogs_.Showing() || closing_;
    const bool acting = advance && !modal;
    // The park moves before the interface's frame starts: a day change shows its report as a
    // modal box, which draws frames of its own.
    if (acting) Simulate(dt);

    window_.BeginFrame();
    probe::BeginFrame();
    ImGuiIO& io = ImGui::GetIO();
    TSKIViewCommands commands =
        input_.Resolve(io.WantCaptureMouse || modal, io.WantCaptureKeyboard || modal,
                       window_.MouseX(), window_.MouseY(), window_.HasFocus());
    const bool parkVisible = intro_.Over() && engine_ && engine_->HasGrid() && !loading_.Visible();
    if (!intro_.Over()) {
        if ((acting && commands.AnyKeyOrClick) || intro_.Advance(dt)) StopIntro();
        intro_.Draw(io.DisplaySize.x, io.DisplaySize.y);
    } else if (parkVisible) {
        DrawPark(acting, modal, dt);
        if (acting) {
            // Escape closes the build menu before it reaches the tools.
            auto& keys = commands.ToolKeys;
            if (popup_.IsOpen() && std::find(keys.begin(), keys.end(), kKeyEscape) != keys.end()) {
                popup_.Close();
                keys.erase(std::remove(keys.begin(), keys.end(), kKeyEscape), keys.end());
            }
            if (commands.RightClick) popup_.Open(*tools_);
            pending_.Click |= commands.Click;
            pending_.ToolKeys.insert(pending_.ToolKeys.end(), commands.ToolKeys.begin(),
                                     commands.ToolKeys.end());
        }
        if (commands.Wheel != 0 && !modal) camera_.MouseWheel(commands.Wheel, engine_->Options);
    }
    if (intro_.Over() && engine_ && !loading_.Visible()) DrawInterface(modal);
    loading_.Draw(io.DisplaySize.x, io.DisplaySize.y, desktop_.Loading, desktop_.Tip);
    if (drawBox) drawBox();

    // The wait cursor while the park works, the drag cursor while the view is dragged.
    const bool busy = busyCursor_ || (engine_ && engine_->Busy);
    window_.SetCursor(busy                ? TSKICursorShape::Wait
                      : commands.Dragging ? TSKICursorShape::Drag
                                          : TSKICursorShape::Arrow);

    if (parkVisible && !parkShown_) {
        parkShown_ = true;
        const auto shown = std::chrono::steady_clock::now();
        firstFrameMs_ = Milliseconds(shown - started_);
        loadMs_ = Milliseconds(shown - introEnded_);
    }
    if (probe::Enabled()) {
        probe::Value("intro", intro_.Over() ? 0.0 : 1.0);
        if (engine_) {
            probe::Value("cash", double(engine_->Park.ParkCash));
            probe::Value("speed", double(engine_->Park.ParkSpeed));
            probe::Value("lifts", double(engine_->LiftCount()));
            probe::Value("tool", double(int(toolState_.Tool)));
            probe::Value("ticks", double(engine_->TicksRun));
            probe::Value("days", double(engine_->DayChanges));
        }
        probe::Value("park", parkVisible ? 1.0 : 0.0);
        const glm::vec3 target = camera_.Target();
        probe::Value("camera_x", target.x);
        probe::Value("camera_z", target.z);
        probe::Value("camera_distance", camera_.Distance());
        probe::Value("camera_pitch", camera_.PitchDegrees());
        probe::Value("load_ms", loadMs_);
        probe::Value("first_frame_ms", firstFrameMs_);
        probe::Value("longest_frame_ms", longestFrameMs_);
        probe::Value("longest_progress_ms", longestProgressMs_);
        probe::Value("cash_text", cashText_);
        probe::Value("music", music_ && music_->Playing() ? track_ : std::string());
    }
    probe::EndFrame(window_);
    if (probe::ShotRequested()) {
        TSKIImage shot;
        window_.EndFrame(&shot);
        probe::SaveShot(shot);
    } else {
        window_.EndFrame();
    }
    // Without a synchronised swap (a virtual display) the loop would spin: at most 60 frames
    // a second, the rest of the time left to the machine.
    const double spent = Milliseconds(std::chrono::steady_clock::now() - now);
    if (spent < kFrameMs - 1) SDL_Delay(Uint32(kFrameMs - spent));
    if (acting) AfterFrame();
    // Once the window is to close, boxes asked before the close sequence take their defaults;
    // the close sequence's own question waits for its answer unless the player closes again.
    return open && !(closeRequested_ && !closing_);
}

void TSKIGameWindow::DrawPark(bool acting, bool modal, double dt) {
    const float ratio = PixelRatio();
    TSKICameraInput in = input_.Camera();
    if (modal) in = TSKICameraInput{};
    in.MenuOpen = popup_.IsOpen();
    if (in.MenuOpen) in.DragX = in.DragY = 0;
    in.PlacingBuilding = toolState_.Tool == TSKITool::Building;
    if (in.MouseX >= 0) in.MouseX *= ratio, in.MouseY *= ratio;
    in.DragX *= ratio;
    in.DragY *= ratio;
    if (!IsRideMode(toolState_.Tool)) camera_.Update(*engine_, in, float(dt));
    if (auto tool = camera_.TakeArrivedTool(); tool && *tool != TSKITool::None)
        toolState_.Tool = *tool;
    engine_->Viewpoint = camera_.Viewpoint();

    // The mouse ray feeds the construction cursor while the pointer is over the view.
    if (!modal && input_.PointerInView()) {
        glm::vec3 origin, direction;
        camera_.MouseRay(window_.MouseX() * ratio, window_.MouseY() * ratio, origin, direction);
        tools_->CursorFromRay({origin.x, origin.y, origin.z, 1},
                              {direction.x, direction.y, direction.z, 0});
    }
    toolState_.Input.LeftButton = !modal && input_.LeftHeldInView();
    toolState_.Input.Shift = input_.Shift();
    toolState_.Input.PageUp = input_.PageUp();
    toolState_.Input.PageDown = input_.PageDown();
    if (acting) tools_->UpdateTools(float(dt));
    if (renderer_) {
        renderer_->Draw(*engine_, toolState_, camera_, window_.Width(), window_.Height(), seconds_);
    }
}

void TSKIGameWindow::DrawInterface(bool modal) {
    const ImGuiIO& io = ImGui::GetIO();
    if (menuBar_.Visible && engine_->HasGrid()) {
        menuBar_.SetState(TSKIMenuButton::Help, help_.Visible());
        const TSKIMenuBar::TClicks clicks =
            menuBar_.Draw(*engine_, cashText_, window_.DpiScale(), desktop_.MenuBar, arrange_);
        if (arrange_) {
            // The bar's size is known once drawn: place it again with it.
            const TSKIRect before = desktop_.MenuBar;
            ArrangeDesktop();
            arrange_ = before.X != desktop_.MenuBar.X || before.Y != desktop_.MenuBar.Y;
        }
        // A bar that grew (the message strip) or was dragged out of the window comes back in.
        const TSKIRect bar = menuBar_.Size();
        if (bar.X < 0 || bar.Y < 0 || bar.X + bar.W > io.DisplaySize.x + 1 ||
            bar.Y + bar.H > io.DisplaySize.y + 1) {
            arrange_ = true;
        }
        // The help button opens the manual and closes it again.
        if (clicks.Help) help_.Visible() ? help_.Hide() : ShowHelp("Contents");
    }
    if (engine_->HasGrid()) popup_.Draw(*tools_);
    help_.Draw(io.DisplaySize.x, io.DisplaySize.y, window_.DpiScale());
    if (!modal && !popup_.IsOpen() && input_.PointerInView() && engine_->HasGrid()) {
        DrawHoverPanel(toolState_.ToolText, toolState_.ToolTextColor, window_.MouseX(),
                       window_.MouseY(), io.DisplaySize.x, io.DisplaySize.y);
    }
}

void TSKIGameWindow::AfterFrame() {
    if (startPending_) {
        StartFirstPark();
        return;
    }
    if (!engine_ || !engine_->HasGrid()) {
        pending_ = {};
        return;
    }
    TSKIViewCommands commands = std::move(pending_);
    pending_ = {};
    // The build menu's item, then the view's click and keys: each may ask a question.
    popup_.PerformChosen(*tools_);
    if (commands.Click) tools_->ToolClick();
    for (int key : commands.ToolKeys) tools_->ToolKey(key);
    // Escape outside a ride asks for the in-game menu, which comes with the title screen.
    toolState_.MenuRequested = false;
}

void TSKIGameWindow::Simulate(double dt) {
    if (!engine_ || !engine_->HasGrid() || loading_.Visible()) return;
    const int64_t days = engine_->DayChanges;
    const auto start = std::chrono::steady_clock::now();
    OnProgress(*engine_, dt);
    // The park's own share of the frame (a day change waits for its report: not counted).
    if (engine_->DayChanges == days) {
        longestProgressMs_ =
            std::max(longestProgressMs_, Milliseconds(std::chrono::steady_clock::now() - start));
    }
    // A new day ends the tool in hand (and a ride).
    if (engine_->DayChanges != days) tools_->LeaveTool();
    RefreshTimer(dt);
}

void TSKIGameWindow::RefreshTimer(double dt) {
    // Timer1: once a second the cash text follows the park, unless the park is busy.
    timer_ -= dt;
    if (timer_ > 0) return;
    timer_ = 1.0;
    if (engine_ && !engine_->Busy) cashText_ = FormatMoney(engine_->Park.ParkCash);
}

void TSKIGameWindow::OnEvent(const SDL_Event& e) {
    input_.OnEvent(e);
    if (e.type == SDL_WINDOWEVENT && e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        camera_.Resize(window_.Width(), window_.Height());
        arrange_ = true;
        ArrangeDesktop();
    }
}

}  // namespace vallorn
