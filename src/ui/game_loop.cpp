// The game loop of the main window: one frame pumps the events, moves the camera and the
// tools, runs the park's frame handler, draws the view and the windows and presents.
#include <algorithm>
#include <cstdio>

#include <imgui.h>
#include <glm/gtc/matrix_transform.hpp>

#include "engine/clock.h"
#include "engine/player_actions.h"
#include "entities/section.h"
#include "persistence/state_hash.h"
#include "platform/interface_cover.h"
#include "platform/music.h"
#include "platform/single_instance.h"
#include "presentation/highlight_beams.h"
#include "presentation/renderer.h"
#include "ui/game_sounds.h"
#include "ui/game_window.h"
#include "ui/hover_panel.h"
#include "ui/palette_boxes.h"
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
    } else {
        beams_ = std::make_unique<TSKIHighlightBeams>();
        std::string beamError;
        if (!beams_->Init(&beamError)) {
            std::fprintf(stderr, "vallorn: %s\n", beamError.c_str());
            beams_.reset();
        }
    }
    menuBar_.LoadPictures(folders_.Data);
    campaign_.LoadPicture(folders_.Data);
    sandbox_.LoadPictures(folders_.Data);
    loading_.LoadPicture(folders_.Data / "loading.jpg");
    tips_ = ReadTextLines(folders_.Data / "tips.txt");
    tracks_ = MusicTracks(folders_.Data, ReadTextLines(folders_.Data / "music.txt"));
    music_ = std::make_unique<TSKIMusicPlayer>();
    sounds_ = std::make_unique<TSKIGameSounds>();
    sounds_->ApplyOptions(options_, folders_.Data);
    NewEngine();
    UpdateFullScreen();
    PlayMusic();

    lastFrame_ = std::chrono::steady_clock::now();
    if (!renderer_) dialogs_.ShowError("The 3D view cannot start: " + error);
    while (!closeRequested_) Frame(true, {});
    CloseWindow();
    renderer_.reset();
    sounds_.reset();
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
    // The park stands still behind the title screen and the windows reached from it (the
    // campaign map after a finished mission, the load and save window, ...).
    if (acting && !ScreensShowing()) Simulate(dt);

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
            if (commands.RightClick) {
                // The build menu hides the lift, slope and building windows.
                info_.HideAll();
                popup_.Open(*engine_, toolState_);
            }
            if (commands.Click) {
                pending_.Click = true;
                pending_.ClickSamePixel = commands.ClickSamePixel;
                pending_.ClickX = commands.ClickX;
                pending_.ClickY = commands.ClickY;
            }
            pending_.ToolKeys.insert(pending_.ToolKeys.end(), commands.ToolKeys.begin(),
                                     commands.ToolKeys.end());
            Perform(menuBar_.PressSpeedKey(*engine_, commands.Speed));  // Space, F1 .. F3
        }
        if (commands.Wheel != 0 && !modal) camera_.MouseWheel(commands.Wheel, engine_->Options);
    }
    if (intro_.Over() && !parkVisible && !loading_.Visible())
        loading_.DrawBackdrop(io.DisplaySize.x, io.DisplaySize.y);
    if (sounds_) {
        // The sound bar of the options acts at once: the settings are applied every frame.
        sounds_->ApplyOptions(engine_ ? engine_->Options : options_, folders_.Data);
        parkVisible ? sounds_->Update(*engine_, camera_) : sounds_->Quiet();
    }
    if (intro_.Over() && engine_ && !loading_.Visible()) {
        if (!modal && engine_->HasGrid()) info_.Tick(dt);
        const auto begin = std::chrono::steady_clock::now();
        DrawInterface(modal);
        interfaceMs_ +=
            (Milliseconds(std::chrono::steady_clock::now() - begin) - interfaceMs_) * 0.02;
    }
    loading_.Draw(io.DisplaySize.x, io.DisplaySize.y, desktop_.Loading, desktop_.Tip, modal);
    if (drawBox) drawBox();
    if (sceneDue_) {
        sceneDue_ = false;
        if (engine_ && engine_->HasGrid() && !loading_.Visible()) DrawParkScene();
    }

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
            if (parkVisible) ProbeLifts();
        }
        probe::Value("park", parkVisible ? 1.0 : 0.0);
        probe::Value("loading", loading_.Visible() ? 1.0 : 0.0);
        const glm::vec3 target = camera_.Target();
        probe::Value("camera_x", target.x);
        probe::Value("camera_z", target.z);
        probe::Value("camera_distance", camera_.Distance());
        probe::Value("camera_pitch", camera_.PitchDegrees());
        const glm::vec3 eye = camera_.Position();
        probe::Value("camera_eye_x", eye.x);
        probe::Value("camera_eye_y", eye.y);
        probe::Value("camera_eye_z", eye.z);
        probe::Value("load_ms", loadMs_);
        probe::Value("first_frame_ms", firstFrameMs_);
        probe::Value("longest_frame_ms", longestFrameMs_);
        probe::Value("frame_work_ms", frameWorkMs_);
        probe::Value("interface_ms", interfaceMs_);
        probe::Value("longest_progress_ms", longestProgressMs_);
        probe::Value("cash_text", cashText_);
        probe::Value("avatar_speed", toolState_.Avatar.Speed);
        probe::Value("head_up_text", toolState_.Avatar.HeadUpText);
        probe::Value("music", music_ && music_->Playing() ? track_ : std::string());
        if (sounds_) {
            probe::Value("sound_samples", double(sounds_->Manager().SampleNames().size()));
            probe::Value("sound_emitters", double(sounds_->Manager().EmitterCount()));
            probe::Value("sounds_playing", double(sounds_->Manager().PlayingCount()));
        }
    }
    if (engine_ && probe::HashRequested()) probe::SaveHash(StateHashText(*engine_));
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
    frameWorkMs_ += (spent - frameWorkMs_) * 0.02;
    if (spent < kFrameMs - 1) SDL_Delay(Uint32(kFrameMs - spent));
    if (acting) AfterFrame();
    // Messages asked while the frame was drawn, now that it is finished.
    dialogs_.ShowWaiting();
    // Once the window is to close, boxes asked before the close sequence take their defaults;
    // the close sequence's own question waits for its answer unless the player closes again.
    return open && !(closeRequested_ && !closing_);
}

void TSKIGameWindow::ProbeLifts() {
    // Each lift's state as the core has it, and where its lower station lies on the screen (window
    // units; off the view: negative): the GUI tests aim and check with these.
    const TSKIFrameView view = camera_.FrameView();
    const glm::vec4 viewport(0, 0, float(window_.Width()), float(window_.Height()));
    const float ratio = PixelRatio();
    int n = 0;
    for (const auto& s : engine_->Sections) {
        if (!s->IsLift()) continue;
        const std::string key = "lift" + std::to_string(n++) + "_";
        probe::Value(key + "name", s->Name);
        probe::Value(key + "price", double(s->TicketPrice));
        probe::Value(key + "queue", double(s->QueueLength));
        probe::Value(key + "status", double(s->Status));
        const TSKIVector lower = engine_->CellToWorld(s->LowerI, s->LowerJ, true);
        const glm::vec3 at = glm::project(glm::vec3(lower.x, lower.y, lower.z), view.View,
                                          view.Projection, viewport);
        const bool onScreen = at.z > 0 && at.z < 1 && at.x >= 0 && at.x < viewport.z && at.y >= 0 &&
                              at.y < viewport.w;
        probe::Value(key + "x", onScreen ? at.x / ratio : -1.0);
        probe::Value(key + "y", onScreen ? (viewport.w - at.y) / ratio : -1.0);
    }
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
    // While the avatar is shown the view looks through its chase camera.
    const TSKIAvatar& avatar = toolState_.Avatar;
    const TSKICamera& view = avatar.Visible ? rideCamera_ : camera_;

    // The mouse ray feeds the construction cursor while the pointer is over the view.
    if (!modal && input_.PointerInView()) {
        glm::vec3 origin, direction;
        view.MouseRay(window_.MouseX() * ratio, window_.MouseY() * ratio, origin, direction);
        tools_->CursorFromRay({origin.x, origin.y, origin.z, 1},
                              {direction.x, direction.y, direction.z, 0});
    }
    toolState_.Input.LeftButton = !modal && input_.LeftHeldInView();
    toolState_.Input.Shift = input_.Shift();
    toolState_.Input.PageUp = input_.PageUp();
    toolState_.Input.PageDown = input_.PageDown();
    toolState_.Input.Ride = {in.Forward, in.Back, in.Left, in.Right, in.Ctrl};
    // The tools move after the frame (AfterFrame), where what they ask can be shown.
    if (acting) toolDt_ = float(dt);
    if (avatar.TravelPending) {
        // A ride up a lift: the overview comes in to 30 units and glides to the top, where
        // free ride takes over again.
        const glm::vec3 target = camera_.Target();
        camera_.Chase(target - camera_.Direction() * 30.0f, target);
        const TSKIVector& p = avatar.TravelPoint;
        camera_.TravelTo(glm::vec3(p.x, p.y, p.z), false, TSKITool::FreeRide);
        toolState_.Avatar.TravelPending = false;
    }
    if (avatar.Visible) {
        rideCamera_.Resize(window_.Width(), window_.Height());
        const TSKIVector eye = ChaseCameraPosition(avatar);
        rideCamera_.Chase(
            glm::vec3(eye.x, eye.y, eye.z),
            glm::vec3(avatar.Position.x, avatar.Position.y + 1.5f, avatar.Position.z));
    }
    sceneDue_ = true;
}

// The 3D view, drawn once the interface's windows are known: the view is left undrawn
// under them.
void TSKIGameWindow::DrawParkScene() {
    if (renderer_) {
        const TSKICamera& view = toolState_.Avatar.Visible ? rideCamera_ : camera_;
        renderer_->SetCovered(InterfaceCover(window_.Width(), window_.Height()));
        renderer_->Draw(*engine_, viewState_, toolState_, view, window_.Width(), window_.Height(),
                        seconds_);
        // What the core takes from the view: the cells' view flags (when they changed, or
        // for a new park); the view's falling snow is placed around the camera.
        if (renderer_->CellFlagChanges() != cellFlagChanges_ || flagsEngine_ != engine_.get()) {
            cellFlagChanges_ = renderer_->CellFlagChanges();
            flagsEngine_ = engine_.get();
            engine_->SetCellViewFlags(renderer_->CellFlags());
        }
        viewState_.Snowfall.Camera = renderer_->SnowfallCamera();
        // The highlight palette's beams over the finished scene, as the view last built them.
        if (beams_ && viewState_.HighlightMode != kHighlightNothing) {
            beams_->Draw(viewState_.Beams, view.FrameView());
        }
    }
}

void TSKIGameWindow::DrawInterface(bool modal) {
    const ImGuiIO& io = ImGui::GetIO();
    if (menuBar_.Visible && engine_->HasGrid()) {
        menuBar_.SetState(TSKIMenuButton::Help, help_.Visible());
        menuBar_.SetState(TSKIMenuButton::Stats, stats_.Visible);
        // A display key shows the display window.
        if (toolState_.ShowDisplayWindow && !display_.Visible()) display_.Show();
        toolState_.ShowDisplayWindow = false;
        menuBar_.SetState(TSKIMenuButton::Display, display_.Visible());
        const TSKIMenuBar::TClicks clicks =
            menuBar_.Draw(*engine_, cashText_, window_.DpiScale(), desktop_.MenuBar, arrange_);
        Perform(clicks.Speed);
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
        if (clicks.Game) {
            RunAfterFrame(
                [this] { title_.Visible ? (void)(title_.Visible = false) : ShowTitle(); });
        }
        if (clicks.Display) display_.Visible() ? display_.Hide() : display_.Show();
        if (clicks.Stats) stats_.Visible ? (void)(stats_.Visible = false) : stats_.Show();
        if (clicks.Edit) Perform(editor_.Visible() ? editor_.Hide(*tools_) : editor_.Show());
        if (clicks.Objectives) {
            if (screens_.Objectives.Visible()) {
                screens_.Objectives.Hide();
            } else {
                screens_.Objectives.Refresh(*engine_);
                screens_.Objectives.Show(false);
            }
        }
    }
    if (engine_->HasGrid()) {
        info_.Draw(io.DisplaySize.x, io.DisplaySize.y, window_.DpiScale());
        popup_.Draw(*engine_, toolState_);
        // Beside the build menu: the figures of the lift or building type under the pointer.
        if (const auto& hovered = popup_.Hovered()) {
            const bool lift = hovered->Command == TSKIMenuCommand::BuildLift;
            if (lift || hovered->Command == TSKIMenuCommand::Building) {
                DrawPaletteBox(engine_->Params,
                               lift ? TSKIPaletteKind::Lift : TSKIPaletteKind::Building,
                               hovered->Tag, hovered->MenuRight + 6, io.MousePos.y,
                               io.DisplaySize.x, io.DisplaySize.y, window_.DpiScale());
            }
        }
    }
    if (engine_->HasGrid() && menuBar_.Visible) {
        auto stats = stats_.Draw(*engine_, viewState_, io.DisplaySize.x, io.DisplaySize.y,
                                 window_.DpiScale());
        if (stats.SkierFlags) viewState_.OverlayMode = *stats.SkierFlags;
        // A row of the lifts or buildings page opens that object's information window.
        if (stats.OpenLift || stats.OpenBuilding) {
            TerrainCell cell;
            if (stats.OpenLift) cell.Section = int32_t(*stats.OpenLift);
            if (stats.OpenBuilding) cell.Building = int32_t(*stats.OpenBuilding);
            info_.OpenAt(cell, io.MousePos.x, io.MousePos.y);
        }
        for (auto& action : stats.Actions) {
            RunAfterFrame([this, action = std::move(action)] {
                if (engine_) PerformAction(*engine_, action);
            });
        }
        const auto display =
            display_.Draw(viewState_, io.DisplaySize.x, io.DisplaySize.y, window_.DpiScale());
        if (display.SkierFlags) viewState_.OverlayMode = *display.SkierFlags;
        if (display.HighlightMode) viewState_.SetHighlightMode(*engine_, *display.HighlightMode);
        if (display.ToggledBox >= 0) tools_->ToggleDisplayBox(display.ToggledBox);
    }
    if (editor_.Visible() && engine_->HasGrid()) {
        const TSKIEditorWindow::TContext context{
            *engine_,
            *tools_,
            toolState_,
            profile_,
            io.Framerate,
            [this](std::function<void()> action) { RunAfterFrame(std::move(action)); },
            [this](TSKIPlayerAction action, std::function<void(const TSKIActionOutcome&)> then) {
                RunAfterFrame([this, action = std::move(action), then = std::move(then)] {
                    if (!engine_) return;
                    const TSKIActionOutcome out = PerformAction(*engine_, action);
                    if (then) then(out);
                });
            },
            [this] {
                if (renderer_) renderer_->LevelChanged(*engine_);
            },
            [this](const std::filesystem::path& file) { return LoadGame(file); },
            [this] { return renderer_ ? renderer_->MaterialInfo() : std::vector<std::string>{}; }};
        editor_.Draw(context, window_.DpiScale());
    }
    help_.Draw(io.DisplaySize.x, io.DisplaySize.y, window_.DpiScale());
    DrawScreens(window_.DpiScale());
    DrawOptions(window_.DpiScale());
    DrawHeadUpText(toolState_.Avatar.HeadUpText, io.DisplaySize.x, window_.DpiScale());
    DrawRideControls(toolState_.Tool, toolState_.Avatar.Visible, io.DisplaySize.x, io.DisplaySize.y,
                     menuBar_.Visible ? menuBar_.Size() : TSKIRect{}, window_.DpiScale());
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
    // The tools' frame update (the slope under the cursor, the ride, the race's clock): what it
    // asks or reports is shown here, between frames.
    if (toolDt_ >= 0 && tools_ && engine_ && engine_->HasGrid()) tools_->UpdateTools(toolDt_);
    toolDt_ = -1;
    // What the windows asked for during the frame (each may load a park or ask a question).
    std::vector<std::function<void()>> actions = std::move(afterFrame_);
    afterFrame_.clear();
    for (auto& action : actions) action();
    if (!engine_ || !engine_->HasGrid()) {
        pending_ = {};
        return;
    }
    TSKIViewCommands commands = std::move(pending_);
    pending_ = {};
    // The build menu's item, then the view's click and keys: each may ask a question.
    if (auto chosen = popup_.TakeChosen()) {
        // The item acts on the cell the menu was opened on, even if the cursor moved since.
        if (toolState_.CursorI != chosen->CellI || toolState_.CursorJ != chosen->CellJ) {
            toolState_.CursorI = chosen->CellI;
            toolState_.CursorJ = chosen->CellJ;
            toolState_.CursorCell = engine_->Cell(chosen->CellI, chosen->CellJ);
        }
        Perform(MenuItemAction(*tools_, chosen->Item));
    }
    // A click with no tool (the button up on the pixel it went down on) opens the window of
    // the lift, slope or building under the cursor; one that placed a building had a tool.
    if (commands.Click && toolState_.Tool == TSKITool::None && commands.ClickSamePixel)
        info_.OpenAt(toolState_.CursorCell, commands.ClickX, commands.ClickY);
    if (commands.Click) tools_->ToolClick();
    for (int key : commands.ToolKeys) tools_->ToolKey(key);
    // Escape with no tool in hand opens the in-game menu (the title screen), or closes it.
    if (toolState_.MenuRequested) {
        if (title_.Visible && GameRunning())
            OnTitleEntry(TSKITitleEntry::Close);
        else if (!ScreensShowing())
            ShowTitle();
    }
    toolState_.MenuRequested = false;
}

void TSKIGameWindow::Simulate(double dt) {
    if (!engine_ || !engine_->HasGrid() || loading_.Visible()) return;
    const int64_t days = engine_->DayChanges;
    const auto start = std::chrono::steady_clock::now();
    OnProgress(*engine_, dt);
    viewState_.Advance(*engine_, dt);
    // The park's own share of the frame (a day change waits for its report: not counted).
    if (engine_->DayChanges == days) {
        longestProgressMs_ =
            std::max(longestProgressMs_, Milliseconds(std::chrono::steady_clock::now() - start));
    }
    // A new day ends the tool in hand (and a ride); the morning's game is autosaved.
    if (engine_->DayChanges != days) {
        tools_->LeaveTool();
        if (missions_) missions_->Autosave();
    }
    RefreshTimer(dt);
}

void TSKIGameWindow::RefreshTimer(double dt) {
    // Timer1: once a second the cash text follows the park, unless the park is busy.
    timer_ -= dt;
    if (timer_ > 0) return;
    timer_ = 1.0;
    if (engine_ && !engine_->Busy) cashText_ = FormatMoney(engine_->Park.ParkCash);
    if (missions_) missions_->SandboxNotice();
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
