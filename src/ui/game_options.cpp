// The options window in the main window: the settings that act at once, "Accept" (written to
// the options file, music, sound and full screen applied, the note about the detail level) and
// "Cancel" (the files read back).
#include <cstdio>
#include <system_error>

#include <imgui.h>

#include "engine/params.h"
#include "platform/music.h"
#include "ui/game_window.h"

namespace vallorn {

void TSKIGameWindow::DrawOptions(float scale) {
    const ImGuiIO& io = ImGui::GetIO();
    const auto result =
        optionsWindow_.Draw(engine_->Options, io.DisplaySize.x, io.DisplaySize.y, scale);
    if (result.Detail) {
        engine_->ViewDistance =
            ViewDistanceForDetail(engine_->Options.Detail, engine_->ViewDistance);
    }
    if (result.Sound || result.FullScreen) {
        const bool full = result.FullScreen;
        RunAfterFrame([this, full] { ApplyLiveOptions(full); });
    }
    using TAction = TSKIOptionsWindow::TAction;
    if (result.Action == TAction::Accept) RunAfterFrame([this] { AcceptOptions(); });
    if (result.Action == TAction::Cancel) RunAfterFrame([this] { CancelOptions(); });
}

void TSKIGameWindow::ApplyLiveOptions(bool fullScreen) {
    const TSKIEngineOptions& o = engine_->Options;
    if (music_) music_->SetVolume(o.SoundVolume);
    if (fullScreen) UpdateFullScreen();
}

void TSKIGameWindow::AcceptOptions() {
    const bool wasFull = engine_->Options.FullScreen;
    const bool musicWasOn = engine_->Options.MusicOn;
    ApplyControls(optionsWindow_.Controls(), engine_->Options);
    engine_->ViewDistance = ViewDistanceForDetail(engine_->Options.Detail, engine_->ViewDistance);
    options_ = engine_->Options;
    std::error_code ec;
    std::filesystem::create_directories(folders_.Save, ec);
    std::string error;
    if (!SaveOptions(folders_.Save, engine_->Options, &error)) {
        dialogs_.ShowError("The options cannot be written: " + error);
    }
    // The music restarts or stops as the box says; a track already playing goes on.
    if (engine_->Options.MusicOn != musicWasOn || !engine_->Options.MusicOn) PlayMusic();
    ApplyLiveOptions(engine_->Options.FullScreen != wasFull);
    if (engine_->HasGrid() && engine_->Options.Detail != optionsWindow_.ShownDetail()) {
        dialogs_.ShowInformation("You must reload the game to apply changes.");
    }
    ShowTitle();
}

void TSKIGameWindow::CancelOptions() {
    // The files as they are on disk: what was changed at once is undone.
    const bool wasFull = engine_->Options.FullScreen;
    LoadParameters(*engine_);
    ApplyLiveOptions(engine_->Options.FullScreen != wasFull);
    ShowTitle();
}

}  // namespace vallorn
