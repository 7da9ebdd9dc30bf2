// The main window: it owns the window, the park's engine with its construction tools, the
// camera and the renderer, the dialogs, the menu bar, the help window, the music and the sound
// effects, plays
// the intro, loads parks and runs the game loop until the window is closed.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/random.h"
#include "construction/construction.h"
#include "engine/engine.h"
#include "missions/missions.h"
#include "missions/profile.h"
#include "platform/window.h"
#include "presentation/camera.h"
#include "presentation/view_state.h"
#include "ui/addons_window.h"
#include "ui/build_menu_popup.h"
#include "ui/campaign_window.h"
#include "ui/command_line.h"
#include "ui/desktop_layout.h"
#include "ui/dialogs.h"
#include "ui/display_window.h"
#include "ui/editor_window.h"
#include "ui/help_window.h"
#include "ui/info_windows.h"
#include "ui/intro.h"
#include "ui/load_save_window.h"
#include "ui/loading_screen.h"
#include "ui/menu_bar.h"
#include "ui/mission_screens.h"
#include "ui/options_window.h"
#include "ui/profile_window.h"
#include "ui/sandbox_window.h"
#include "ui/stats_window.h"
#include "ui/title_screen.h"
#include "ui/view_input.h"

namespace vallorn {

class TSKIGameSounds;
class TSKIMusicPlayer;
class TSKIRenderer;
class TSKIHighlightBeams;
class TSKISingleInstance;

class TSKIGameWindow {
public:
    // `instance`: the lock this copy holds; its raise requests bring the window up.
    TSKIGameWindow(const TSKICommandLine& args, TSKISingleInstance* instance);
    ~TSKIGameWindow();
    TSKIGameWindow(const TSKIGameWindow&) = delete;
    TSKIGameWindow& operator=(const TSKIGameWindow&) = delete;

    // Opens the window and plays until it is closed; the program's exit status.
    int Run();

    // Replaces the engine by a new one with the level of the worlds folder.
    bool LoadLevel(const std::string& name);
    // Closes the running park and loads a saved game into the engine.
    bool LoadGame(const std::filesystem::path& file);
    // Starts a random track when the music is on, stops it when it is off.
    void PlayMusic();
    // Shows a help page by name; an empty name hides the help window.
    void ShowHelp(const std::string& name);
    void UpdateFullScreen();
    void ArrangeDesktop();
    void StopIntro();

private:
    // One frame: events, the view, the windows and `drawBox` (a modal box) on top. With
    // `advance` the park moves on and the view's clicks act; without, the park stands still
    // (behind a modal box). False when the window was asked to close during the frame.
    bool Frame(bool advance, const std::function<void()>& drawBox);
    void DrawPark(bool advance, bool modal, double dt);
    void DrawParkScene();
    void DrawInterface(bool modal);
    void AfterFrame();
    void ProbeLifts();
    void Simulate(double dt);
    void RefreshTimer(double dt);
    void OnEvent(const SDL_Event& e);
    void ShowLoading();
    void NewEngine();
    void ParkLoaded();
    void StartFirstPark();
    void CloseWindow();
    float PixelRatio() const;

    // --- the title screen and the mission windows (game_screens.cpp) --------------------------
    // After the intro without a park on the command line: the last profile and the title
    // screen, or "Create new" until a profile exists, "Welcome" and then the title screen.
    void ChooseStartupProfile();
    // Makes `name` the current profile, read from its file.
    void SelectProfile(const std::string& name);
    // The title screen, hiding the menu bar and the objectives window.
    void ShowTitle();
    void ShowCampaign();
    void HideScreens();
    // The title screen or a window reached from it shows: the park stands still.
    bool ScreensShowing() const;
    bool GameRunning() const;
    // Inside the frame: the title screen and the windows reached from it; what they ask for
    // runs after the frame.
    void DrawScreens(float scale);
    void OnTitleEntry(TSKITitleEntry entry);
    void OnProfileAction(const TSKIProfileWindow::TResult& result);
    void StartMission(int index, bool resume);
    void PlaySandbox(int map, int difficulty);
    bool LoadForMission(const std::filesystem::path& file);
    void OnLoadSaveAction(const TSKILoadSaveWindow::TResult& result);
    // "Create new save...": asks for a name (the proposal first) and saves the game.
    void SaveAsNew();
    void PlayAddon(const std::string& name);
    // --- the options window (game_options.cpp) -------------------------------------------------
    void DrawOptions(float scale);
    void AcceptOptions();
    void CancelOptions();
    // Sound, music volume and full screen as the engine's settings say.
    void ApplyLiveOptions(bool fullScreen);
    void RunAfterFrame(std::function<void()> action) { afterFrame_.push_back(std::move(action)); }
    // A player action the windows or keys asked for, performed on the running park now.
    void Perform(const std::optional<TSKIPlayerAction>& action);

    TSKICommandLine args_;
    TSKISingleInstance* instance_;
    TSKIFolders folders_;
    TSKIEngineOptions options_;
    TSKIWindow window_;
    TSKIGameDialogs dialogs_;
    std::unique_ptr<TSKIEngine> engine_;
    TSKIToolState toolState_;
    std::unique_ptr<TSKIConstruction> tools_;
    TSKICamera camera_;
    TSKICamera rideCamera_;  // the avatar's chase camera: the view while it is shown
    std::unique_ptr<TSKIRenderer> renderer_;
    TSKIViewState viewState_;  // the running park's animation, which only the view keeps
    TSKIBuildMenuPopup popup_;
    TSKIMenuBar menuBar_;
    TSKIInfoWindows info_;
    TSKILoadingScreen loading_;
    TSKIHelpWindow help_;
    TSKIIntro intro_;
    TSKIViewInput input_;
    std::unique_ptr<TSKIMusicPlayer> music_;
    std::unique_ptr<TSKIGameSounds> sounds_;
    std::vector<std::string> tips_;
    std::vector<std::filesystem::path> tracks_;
    std::string track_;  // the file playing, or empty
    TSKIRandom rng_;
    TSKIDesktop desktop_;
    bool arrange_ = true;

    std::chrono::steady_clock::time_point started_;
    std::chrono::steady_clock::time_point lastFrame_;
    double seconds_ = 0;  // real time since the window opened
    double timer_ = 0;    // Timer1: seconds until the next cash refresh
    std::string cashText_;
    bool parkShown_ = false;    // a park has been drawn (the first frame's time is known)
    double firstFrameMs_ = -1;  // from the start of the program to the first frame of a park
    double loadMs_ = -1;        // from the end of the intro to that frame
    std::chrono::steady_clock::time_point introEnded_;
    double longestFrameMs_ = 0;  // the longest frame of play, a second after a load
    int framesSinceLoad_ = 0;
    // Running averages of a frame's work (the wait for the next excluded) and of building the
    // windows in it (the interface's share).
    double frameWorkMs_ = 0;
    double interfaceMs_ = 0;
    double longestProgressMs_ = 0;  // the longest run of the park's frame handler
    bool closeRequested_ = false;
    bool closing_ = false;
    bool introFinished_ = false;
    bool startPending_ = false;  // the intro ended: the first park loads after the frame
    bool busyCursor_ = false;
    std::vector<std::function<void()>> afterFrame_;
    TSKIViewCommands pending_;  // the view's clicks and keys, acted on after the frame
    float toolDt_ = -1;         // the frame time the tools move by after the frame, or none

    // The player's profile and the missions of the running park (bound to each new engine).
    TSKIProfile profile_;
    std::unique_ptr<TSKIMissions> missions_;
    TSKIMissionScreens screens_;
    TSKITitleScreen title_;
    TSKIProfileWindow profileWindow_;
    TSKICampaignWindow campaign_;
    TSKISandboxWindow sandbox_;
    TSKIAddonsWindow addons_;
    TSKILoadSaveWindow loadSave_;
    // The park's windows of the menu bar: statistics, display options.
    TSKIStatsWindow stats_;
    TSKIDisplayWindow display_;
    TSKIOptionsWindow optionsWindow_;
    std::unique_ptr<TSKIHighlightBeams> beams_;
    bool sceneDue_ = false;  // the park is shown: its view is drawn once the windows are built
    // The view's cell flags last handed to the core, and the engine they went to.
    uint64_t cellFlagChanges_ = 0;
    const TSKIEngine* flagsEngine_ = nullptr;
    TSKIEditorWindow editor_;
};

}  // namespace vallorn
