#include "ui/game_window.h"

#include <cstdio>
#include <system_error>

#include "construction/construction_actions.h"
#include "engine/level_file.h"
#include "persistence/saved_game.h"
#include "platform/music.h"
#include "platform/single_instance.h"
#include "presentation/highlight_beams.h"
#include "presentation/renderer.h"
#include "ui/game_sounds.h"
#include "ui/probe.h"
#include "ui/text_lists.h"

namespace vallorn {

namespace {

uint64_t TimeSeed() {
    return uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()) | 1u;
}

}  // namespace

TSKIGameWindow::TSKIGameWindow(const TSKICommandLine& args, TSKISingleInstance* instance)
    : args_(args),
      instance_(instance),
      folders_(TSKIFolders::Resolve(args.Root)),
      dialogs_([this](const std::function<void()>& drawBox) { return Frame(false, drawBox); }),
      help_(folders_.Root),
      rng_(TimeSeed()),
      started_(std::chrono::steady_clock::now()),
      screens_([this](const std::function<void()>& drawBox) { return Frame(false, drawBox); }) {
    LoadOptions(folders_.Save, options_);
    // Under the probe (the GUI tests) a question that could not reach the player ends the game.
    dialogs_.SetStrict(probe::Enabled());
    dialogs_.BusyCursor = [this](bool busy) {
        busyCursor_ = busy;
        window_.SetCursor(busy ? TSKICursorShape::Wait : TSKICursorShape::Arrow);
    };
    screens_.Help = [this](const std::string& topic) { ShowHelp(topic); };
    screens_.MarkObjectivesButton = [this] { menuBar_.SetState(TSKIMenuButton::Objectives, true); };
    // The information windows act after the frame; "View" glides the camera there with no tool
    // to restore, "Set target" hands the garage to the area tool, "Downhill race" puts the
    // player's own skier on the slope against the clock.
    TSKIInfoWindows::THooks hooks;
    hooks.AfterFrame = [this](std::function<void()> action) { RunAfterFrame(std::move(action)); };
    hooks.Goto = [this](const TSKIVector& p) {
        camera_.TravelTo(glm::vec3(p.x, p.y, p.z), false, TSKITool::None);
    };
    hooks.SetTarget = [this](size_t building) {
        RunAfterFrame([this, building] {
            if (tools_) tools_->StartAreaTool(building);
        });
    };
    hooks.DownhillRace = [this](size_t slope) {
        RunAfterFrame([this, slope] {
            if (tools_) PerformAction(*engine_, DownhillRaceAction(*tools_, slope));
        });
    };
    hooks.Perform = [this](const TSKIPlayerAction& action) {
        return engine_ ? PerformAction(*engine_, action) : TSKIActionOutcome{};
    };
    info_.SetHooks(std::move(hooks));
}

TSKIGameWindow::~TSKIGameWindow() {
    // The park goes before the window whose context its buffers live in.
    missions_.reset();
    tools_.reset();
    engine_.reset();
    renderer_.reset();
    sounds_.reset();
    music_.reset();
}

void TSKIGameWindow::NewEngine() {
    TSKIEngineOptions kept = engine_ ? engine_->Options : options_;
    info_.Bind(nullptr);
    if (engine_) {
        engine_->Halted = true;
        if (sounds_) sounds_->Quiet();
        missions_.reset();
        tools_.reset();
        engine_.reset();
    }
    // A new park is shown with a new game's display choices.
    viewState_ = TSKIViewState{};
    TSKIEngineSetup setup;
    setup.Root = folders_.Root;
    setup.Seed = rng_.Next() | 1u;
    setup.Dialogs = &dialogs_;
    setup.Display = &viewState_;
    engine_ = std::make_unique<TSKIEngine>(setup);
    // The figures start at the frames the park's seed gives (the park's first numbers), and
    // the window's own numbers, which seed the next parks, stay as they were.
    TSKIRandom phases(setup.Seed);
    viewState_.Restart(phases);
    // The options of this session (the options window may have changed them) stay.
    kept.LastProfile = engine_->Options.LastProfile;
    engine_->Options = kept;
    toolState_ = TSKIToolState{};
    tools_ = std::make_unique<TSKIConstruction>(*engine_, toolState_);
    dialogs_.SetEngine(engine_.get());
    info_.Bind(engine_.get());
    // The missions evaluate the park's objectives and tell the windows; the blinking panel
    // runs down on the same periodic update that announces.
    missions_ = std::make_unique<TSKIMissions>(*engine_, profile_, &screens_);
    screens_.SetEngine(engine_.get());
    engine_->OnShowNewObjectives = [this] {
        screens_.Objectives.Tick();
        missions_->ShowNewObjectives();
    };
}

void TSKIGameWindow::ShowLoading() {
    arrange_ = true;
    ArrangeDesktop();
    menuBar_.Visible = false;
    loading_.Show(PickRandom(tips_, rng_).value_or(""));
    // One frame with the picture and the tip before the load holds the loop.
    Frame(false, {});
}

void TSKIGameWindow::Perform(const std::optional<TSKIPlayerAction>& action) {
    if (action && engine_) PerformAction(*engine_, *action);
}

void TSKIGameWindow::ParkLoaded() {
    info_.HideAll();
    if (renderer_) renderer_->LevelChanged(*engine_);
    camera_.Resize(window_.Width(), window_.Height());
    camera_.SetViewpoint(*engine_, engine_->Viewpoint);
    menuBar_.Visible = true;
    Perform(menuBar_.PressSpeed(*engine_, TSKIMenuButton::Speed1));
    menuBar_.SetState(TSKIMenuButton::Display, false);
    display_.Hide();
    cashText_ = FormatMoney(engine_->Park.ParkCash);
    loading_.Hide();
    timer_ = 1.0;
    arrange_ = true;
    ArrangeDesktop();
    lastFrame_ = std::chrono::steady_clock::now();  // the load's time is no frame of the park
    framesSinceLoad_ = 0;
}

bool TSKIGameWindow::LoadLevel(const std::string& name) {
    ShowLoading();
    NewEngine();
    const TSKILevelLoadResult result = LoadLevelFile(*engine_, name, false);
    ParkLoaded();
    if (!result.ok()) {
        dialogs_.ShowError("Loading failed ! " + (result.error.empty()
                                                      ? "The level " + name + " does not exist."
                                                      : result.error));
    }
    return result.ok();
}

bool TSKIGameWindow::LoadGame(const std::filesystem::path& file) {
    if (!engine_) NewEngine();
    // The running park is closed first, over its own view: its "Save game on exit?" is asked
    // in front of the player, before the loading picture covers the screen.
    tools_->LeaveTool();
    CloseGame(*engine_);
    toolState_ = TSKIToolState{};
    ShowLoading();
    screens_.HideAll();
    const bool ok = LoadGameFile(*engine_, file);
    ParkLoaded();
    return ok;
}

void TSKIGameWindow::PlayMusic() {
    if (!music_ || !engine_ || engine_->Halted) return;
    music_->Stop();
    track_.clear();
    if (!engine_->Options.MusicOn) return;
    // A track that cannot be played gives way to another; an empty list is silence.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const auto track = PickRandom(tracks_, rng_);
        if (!track) return;
        if (music_->Play(*track)) {
            track_ = track->filename().string();
            return;
        }
    }
}

void TSKIGameWindow::ShowHelp(const std::string& name) {
    if (!help_.Show(name)) {
        std::fprintf(stderr, "vallorn: no help page '%s'\n", name.c_str());
    }
}

void TSKIGameWindow::UpdateFullScreen() {
    const bool full = engine_ ? engine_->Options.FullScreen : options_.FullScreen;
    window_.SetFullScreen(full);
    camera_.Resize(window_.Width(), window_.Height());
    arrange_ = true;
    ArrangeDesktop();
}

void TSKIGameWindow::ArrangeDesktop() {
    if (!window_.IsOpen()) return;
    const float scale = window_.DpiScale();
    int w = 0, h = 0;
    SDL_GetWindowSize(window_.Sdl(), &w, &h);
    TSKIDesktop sizes;
    sizes.MenuBar = menuBar_.Size();
    sizes.Loading = loading_.PictureSize(1.0f);
    desktop_ =
        vallorn::ArrangeDesktop({0, 0, float(w), float(h)}, sizes, float(w), float(h), scale);
}

void TSKIGameWindow::StopIntro() {
    intro_.Stop();
    if (introFinished_) return;
    introFinished_ = true;
    startPending_ = true;
    introEnded_ = std::chrono::steady_clock::now();
    if (music_) music_->SetVolume(options_.SoundOn ? 1.0f : 0.0f);
}

void TSKIGameWindow::StartFirstPark() {
    startPending_ = false;
    const std::filesystem::path starter = folders_.Worlds / "Starter.ski";
    // The park of the command line; when it cannot be opened, the player is told why and
    // gets the starter park instead.
    if (args_.Level.empty() && args_.Game.empty()) {
        ChooseStartupProfile();
        return;
    }
    // The last profile, without asking, for the missions of the park opened directly.
    if (const std::string name = StartupProfileName(folders_.Save, options_.LastProfile);
        !name.empty()) {
        SelectProfile(name);
    }
    if (!args_.Level.empty()) {
        if (LoadLevel(args_.Level)) return;
    } else if (!args_.Game.empty()) {
        if (LoadGame(args_.Game)) return;
        dialogs_.ShowError("Loading failed ! " + args_.Game.string() + ": " + engine_->LoadError);
    }
    if (LoadGame(starter)) return;
    dialogs_.ShowError("Loading failed ! " + starter.string() + ": " + engine_->LoadError);
}

void TSKIGameWindow::CloseWindow() {
    closing_ = true;
    if (!engine_) return;
    engine_->Halted = true;
    std::error_code ec;
    std::filesystem::create_directories(folders_.Save, ec);
    std::string error;
    engine_->Options.LastProfile = profile_.Name;
    if (!SaveOptions(folders_.Save, engine_->Options, &error)) {
        std::fprintf(stderr, "vallorn: cannot write the options: %s\n", error.c_str());
    }
    if (!WriteProfile(profile_, folders_.Save, &error)) {
        std::fprintf(stderr, "vallorn: cannot write the profile: %s\n", error.c_str());
    }
    tracks_.clear();
    if (music_) music_->Stop();
    // "Save game on exit?" where a running mission has its auto-save folder.
    CloseGame(*engine_);
    missions_.reset();
    tools_.reset();
    engine_.reset();
}

float TSKIGameWindow::PixelRatio() const {
    int w = 0, h = 0;
    SDL_GetWindowSize(window_.Sdl(), &w, &h);
    return w > 0 ? float(window_.Width()) / float(w) : 1.0f;
}

}  // namespace vallorn
