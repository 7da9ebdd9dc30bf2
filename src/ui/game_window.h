// The main window: it owns the window, the park's engine with its construction tools, the
// camera and the renderer, the dialogs, the menu bar, the help window and the music, plays
// the intro, loads parks and runs the game loop until the window is closed.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/random.h"
#include "construction/construction.h"
#include "engine/engine.h"
#include "platform/window.h"
#include "presentation/camera.h"
#include "ui/build_menu_popup.h"
#include "ui/command_line.h"
#include "ui/desktop_layout.h"
#include "ui/dialogs.h"
#include "ui/help_window.h"
#include "ui/intro.h"
#include "ui/loading_screen.h"
#include "ui/menu_bar.h"
#include "ui/view_input.h"

namespace vallorn {

class TSKIMusicPlayer;
class TSKIRenderer;
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
    void DrawInterface(bool modal);
    void ActOnView(const TSKIViewCommands& commands);
    void AfterFrame();
    void Simulate(double dt);
    void RefreshTimer(double dt);
    void OnEvent(const SDL_Event& e);
    void ShowLoading();
    void NewEngine();
    void ParkLoaded();
    void StartFirstPark();
    void CloseWindow();
    float PixelRatio() const;

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
    std::unique_ptr<TSKIRenderer> renderer_;
    TSKIBuildMenuPopup popup_;
    TSKIMenuBar menuBar_;
    TSKILoadingScreen loading_;
    TSKIHelpWindow help_;
    TSKIIntro intro_;
    TSKIViewInput input_;
    std::unique_ptr<TSKIMusicPlayer> music_;
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
    double longestProgressMs_ = 0;  // the longest run of the park's frame handler
    bool closeRequested_ = false;
    bool closing_ = false;
    bool introFinished_ = false;
    bool startPending_ = false;  // the intro ended: the first park loads after the frame
    bool busyCursor_ = false;
    std::vector<std::function<void()>> afterFrame_;
    TSKIViewCommands pending_;  // the view's clicks and keys, acted on after the frame
};

}  // namespace vallorn
