#include "ui/game_window.h"

#include <cstdio>
#include <system_error>

#include "engine/level_file.h"
#include "persistence/saved_game.h"
#include "platform/music.h"
#include "platform/single_instance.h"
#include "presentation/renderer.h"
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
      folders_(TSKIFolders::Resolve(args.Root.empty() ? ProgramFolder() : args.Root)),
      dialogs_([this](const std::function<void()>& drawBox) { return Frame(false, drawBox); }),
      help_(folders_.Root),
      rng_(TimeSeed()),
      started_(std::chrono::steady_clock::now()) {
    LoadOptions(folders_.Save, options_);
    dialogs_.BusyCursor = [this](bool busy) {
        busyCursor_ = busy;
        window_.SetCursor(busy ? TSKICursorShape::Wait : TSKICursorShape::Arrow);
    };
}

TSKIGameWindow::~TSKIGameWindow() {
    // The park goes before the window whose context its buffers live in.
    tools_.reset();
    engine_.reset();
    renderer_.reset();
    music_.reset();
}

void TSKIGameWindow::NewEngine() {
    TSKIEngineOptions kept = engine_ ? engine_->Options : options_;
    if (engine_) {
        engine_->Halted = true;
        tools_.reset();
        engine_.reset();
    }
    TSKIEngineSetup setup;
    setup.Root = folders_.Root;
    setup.Seed = rng_.Next() | 1u;
    setup.Dialogs = &dialogs_;
    engine_ = std::make_unique<TSKIEngine>(setup);
    // The options of this session (the options window may have changed them) stay.
    kept.LastProfile = engine_->Options.LastProfile;
    engine_->Options = kept;
    toolState_ = TSKIToolState{};
    tools_ = std::make_unique<TSKIConstruction>(*engine_, toolState_);
    dialogs_.SetEngine(engine_.get());
}

void TSKIGameWindow::ShowLoading() {
    arrange_ = true;
    ArrangeDesktop();
    menuBar_.Visible = false;
    loading_.Show(PickRandom(tips_, rng_).value_or(""));
    // One frame with the picture and the tip before the load holds the loop.
    Frame(false, {});
}

void TSKIGameWindow::ParkLoaded() {
    if (renderer_) renderer_->LevelChanged(*engine_);
    camera_.Resize(window_.Width(), window_.Height());
    camera_.SetViewpoint(*engine_, engine_->Viewpoint);
    menuBar_.Visible = true;
    menuBar_.PressSpeed(*engine_, TSKIMenuButton::Speed1);
    menuBar_.SetState(TSKIMenuButton::Display, false);
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
    ShowLoading();
    if (!engine_) NewEngine();
    tools_->LeaveTool();
    CloseGame(*engine_);
    toolState_ = TSKIToolState{};
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
    if (!SaveOptions(folders_.Save, engine_->Options, &error)) {
        std::fprintf(stderr, "vallorn: cannot write the options: %s\n", error.c_str());
    }
    tracks_.clear();
    if (music_) music_->Stop();
    // "Save game on exit?" where a running mission has its auto-save folder.
    CloseGame(*engine_);
    tools_.reset();
    engine_.reset();
}

float TSKIGameWindow::PixelRatio() const {
    int w = 0, h = 0;
    SDL_GetWindowSize(window_.Sdl(), &w, &h);
    return w > 0 ? float(window_.Width()) / float(w) : 1.0f;
}

}  // namespace vallorn
