// The real game under its own X server for the GUI tests: started through xvfb-run in a
// private folder (its own save/, probe folder and runtime folder), driven with xdotool, read
// through the probe's state.json and shot.png.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "base/image.h"

namespace vallorn::gui {

struct TProbeItem {
    std::string kind, label;
    float x = 0, y = 0, w = 0, h = 0;
    bool enabled = true;
};

struct TProbeState {
    long long frame = -1;
    int winX = 0, winY = 0, winW = 0, winH = 0;
    std::vector<TProbeItem> items;
    std::vector<std::string> windows;
    std::map<std::string, std::string> values;  // texts unquoted, numbers as written

    bool Has(const std::string& key) const { return values.count(key) > 0; }
    double Number(const std::string& key, double fallback = -1e300) const;
    std::string Text(const std::string& key) const;
    const TProbeItem* Find(const std::string& kind, const std::string& label) const;
    const TProbeItem* FindPrefix(const std::string& kind, const std::string& prefix) const;
    bool HasWindow(const std::string& title) const;
    std::vector<std::string> Labels(const std::string& kind) const;
};

// Reads the probe's state.json; false when the text is not one.
bool ParseProbeState(const std::string& text, TProbeState& out);

// Sends WM_DELETE_WINDOW to the top-level windows titled `title` on the display.
bool SendCloseRequest(const std::string& display, const std::string& xauthority,
                      const std::string& title);

// The top-level windows titled `title` on the display.
int CountWindows(const std::string& display, const std::string& xauthority,
                 const std::string& title);

// Money text "1.234,-" (or "-1.234,-") back into a number.
std::optional<long long> ParseMoney(const std::string& text);

class TGame {
public:
    struct TSetup {
        std::vector<std::string> args;  // after --root ROOT; "{root}" stands for ROOT
        // Without args: the starter park straight after the intro (worlds/Starter.ski on the
        // command line) rather than the profile choice and the title screen.
        bool starter = true;
        // A 1024 x 768 window (the options file says so) rather than the whole screen.
        bool windowed = true;
        // Writes files into the private root before the start (a saved game, say).
        std::function<void(const std::filesystem::path& root)> prepare;
        // How long a start may take to show the game's window (a busy machine is slow). A
        // start that shows none by then is ended and the game started once again; the second
        // is left running, for the test's own waits to report.
        double windowSeconds = 90;
        // Runs this on the X server instead of the game (the harness's own tests).
        std::vector<std::string> command;
    };
    // The line the log carries when a start showed no window and the game was started again.
    static constexpr const char* kStartedAgain = "no game window appeared: started again";

    TGame();
    explicit TGame(const TSetup& setup);
    ~TGame();
    TGame(const TGame&) = delete;
    TGame& operator=(const TGame&) = delete;

    const std::filesystem::path& Root() const { return root_; }
    const std::filesystem::path& Folder() const { return dir_; }
    // The game's output so far and the display it is on (for failure messages).
    std::string Log() const;

    // Waits until the game writes a state that satisfies `pred`; false on timeout or exit.
    bool WaitFor(const std::function<bool(const TProbeState&)>& pred, double seconds,
                 TProbeState* last = nullptr);
    TProbeState State() const;
    // Waits until `n` more frames were drawn; the state of the last one.
    TProbeState Frames(int n);

    // Input through the X server, in the window's coordinates.
    void Move(float x, float y);
    void Click(int button = 1);
    void Key(const std::string& key);
    // Presses or releases a key and keeps it so (a key held over several frames).
    void KeyDown(const std::string& key);
    void KeyUp(const std::string& key);
    // Types the text as key presses into the focused field.
    void Type(const std::string& text);
    // Holds a button down while the pointer moves from one point to another in steps.
    void Drag(int button, float x0, float y0, float x1, float y1, int steps = 10);
    // Moves onto the item's centre, lets a frame pass (hover) and clicks it; false when the
    // item did not show within the timeout.
    bool ClickItem(const std::string& kind, const std::string& label, int button = 1,
                   double seconds = 10);
    // Moves onto the item's centre and lets two frames pass (a submenu opens on hover).
    bool HoverItem(const std::string& kind, const std::string& label, double seconds = 10);
    // The drawn 3D frame (before the interface is drawn over it).
    bool Shot(TSKIImage& out, double seconds = 20);
    // The saved-game hash of the running park (the runner's StateHash); empty on timeout.
    std::string ParkHash(double seconds = 20);
    // Asks the window to close, as the title bar's close button does.
    bool CloseWindow();
    // The exit status once the game has ended; nothing on timeout.
    std::optional<int> WaitExit(double seconds);
    // Runs a second copy on the same display and runtime folder; its exit status.
    std::optional<int> RunSecondCopy(double seconds);

private:
    enum class TStart { Up, EndedAtOnce, NoWindow };
    TStart Start(const std::vector<std::string>& argv, double windowSeconds, bool keepSlow);
    void Stop();
    int Run(const std::vector<std::string>& argv, double seconds = 10, bool probe = true) const;
    std::vector<std::string> Environment(bool display, bool probe) const;

    std::filesystem::path dir_, root_, probe_, runtime_;
    std::string display_, xauthority_;
    pid_t pid_ = -1;      // xvfb-run, leader of its process group
    pid_t gamePid_ = -1;  // the game itself
    std::optional<int> status_;
    std::string startNotes_;  // what the harness did about starts that went wrong
};

}  // namespace vallorn::gui
