#include "gui/gui_harness.h"

#include <fcntl.h>
#include <signal.h>
#include <stb_image.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include "base/atomic_file.h"

#ifndef VALLORN_BUILD_ROOT
#error "VALLORN_BUILD_ROOT must name the build tree"
#endif

namespace fs = std::filesystem;

namespace vallorn::gui {

namespace {

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

void Pause(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

// A JSON string starting at `at` (the opening quote); `at` moves past it.
std::string ReadString(const std::string& s, size_t& at) {
    std::string out;
    if (at >= s.size() || s[at] != '"') return out;
    for (++at; at < s.size() && s[at] != '"'; ++at) {
        if (s[at] != '\\' || at + 1 >= s.size()) {
            out += s[at];
            continue;
        }
        const char c = s[++at];
        if (c == 'n') {
            out += '\n';
        } else if (c == 'u' && at + 4 < s.size()) {
            out += char(std::strtol(s.substr(at + 1, 4).c_str(), nullptr, 16));
            at += 4;
        } else {
            out += c;
        }
    }
    ++at;
    return out;
}

// The value after "key": on the line: a string unquoted, anything else up to , or }.
std::optional<std::string> Field(const std::string& line, const std::string& key) {
    const std::string tag = "\"" + key + "\": ";
    size_t at = line.find(tag);
    if (at == std::string::npos) return std::nullopt;
    at += tag.size();
    if (at < line.size() && line[at] == '"') return ReadString(line, at);
    const size_t end = line.find_first_of(",}]", at);
    return line.substr(at, end == std::string::npos ? std::string::npos : end - at);
}

double ToNumber(const std::optional<std::string>& text) {
    return text ? std::strtod(text->c_str(), nullptr) : 0.0;
}

}  // namespace

// --- the probe's state ----------------------------------------------------------------------

double TProbeState::Number(const std::string& key, double fallback) const {
    const auto it = values.find(key);
    if (it == values.end()) return fallback;
    char* end = nullptr;
    const double v = std::strtod(it->second.c_str(), &end);
    return end == it->second.c_str() ? fallback : v;
}

std::string TProbeState::Text(const std::string& key) const {
    const auto it = values.find(key);
    return it == values.end() ? std::string() : it->second;
}

const TProbeItem* TProbeState::Find(const std::string& kind, const std::string& label) const {
    for (const TProbeItem& i : items) {
        if (i.kind == kind && i.label == label) return &i;
    }
    return nullptr;
}

const TProbeItem* TProbeState::FindPrefix(const std::string& kind,
                                          const std::string& prefix) const {
    for (const TProbeItem& i : items) {
        if (i.kind == kind && i.label.rfind(prefix, 0) == 0) return &i;
    }
    return nullptr;
}

bool TProbeState::HasWindow(const std::string& title) const {
    for (const std::string& w : windows) {
        if (w == title) return true;
    }
    return false;
}

std::vector<std::string> TProbeState::Labels(const std::string& kind) const {
    std::vector<std::string> out;
    for (const TProbeItem& i : items) {
        if (i.kind == kind) out.push_back(i.label);
    }
    return out;
}

bool ParseProbeState(const std::string& text, TProbeState& out) {
    out = TProbeState{};
    if (text.empty() || text.front() != '{' || text.find("}}") == std::string::npos) return false;
    std::istringstream lines(text);
    std::string line;
    enum { None, Items, Values } section = None;
    while (std::getline(lines, line)) {
        if (line.rfind("{\"window\"", 0) == 0) {
            out.winX = int(ToNumber(Field(line, "x")));
            out.winY = int(ToNumber(Field(line, "y")));
            out.winW = int(ToNumber(Field(line, "w")));
            out.winH = int(ToNumber(Field(line, "h")));
        } else if (line.rfind("\"frame\"", 0) == 0) {
            out.frame = (long long)ToNumber(Field(line, "frame"));
        } else if (line.rfind("\"items\"", 0) == 0) {
            section = Items;
        } else if (line.rfind("\"windows\"", 0) == 0) {
            section = None;
            for (size_t at = line.find('[') + 1; (at = line.find('"', at)) != std::string::npos;) {
                out.windows.push_back(ReadString(line, at));
            }
        } else if (line.rfind("\"values\"", 0) == 0) {
            section = Values;
        } else if (section == Items && line.find("{\"kind\"") != std::string::npos) {
            TProbeItem i;
            i.kind = Field(line, "kind").value_or("");
            i.label = Field(line, "label").value_or("");
            i.x = float(ToNumber(Field(line, "x")));
            i.y = float(ToNumber(Field(line, "y")));
            i.w = float(ToNumber(Field(line, "w")));
            i.h = float(ToNumber(Field(line, "h")));
            i.enabled = Field(line, "enabled").value_or("true") == "true";
            out.items.push_back(std::move(i));
        } else if (section == Values) {
            size_t at = line.find('"');
            if (at == std::string::npos) continue;
            const std::string key = ReadString(line, at);
            if (auto v = Field(line, key)) out.values[key] = *v;
        }
    }
    return out.frame >= 0;
}

std::optional<long long> ParseMoney(const std::string& text) {
    long long v = 0;
    bool digits = false;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            v = v * 10 + (c - '0');
            digits = true;
        } else if (c == ',') {
            break;
        }
    }
    if (!digits) return std::nullopt;
    return text.find('-') < text.find_first_of("0123456789") ? -v : v;
}

// --- the game -------------------------------------------------------------------------------

TGame::TGame() : TGame(TSetup{}) {}

TGame::TGame(const TSetup& setup) {
    char pattern[] = "/tmp/vallorn-gui-XXXXXX";
    dir_ = mkdtemp(pattern);
    root_ = dir_ / "root";
    probe_ = dir_ / "probe";
    runtime_ = dir_ / "run";
    fs::create_directories(root_);
    fs::create_directories(probe_);
    fs::create_directories(runtime_);
    fs::permissions(runtime_, fs::perms::owner_all, fs::perm_options::replace);
    // The shipped folders are shared read-only; the player's folder is the test's own.
    const fs::path build = VALLORN_BUILD_ROOT;
    for (const char* shared : {"data", "worlds", "addons", "help"}) {
        if (fs::exists(build / shared))
            fs::create_directory_symlink(build / shared, root_ / shared);
    }
    fs::create_directories(root_ / "save");
    if (fs::exists(build / "save")) {
        fs::copy(build / "save", root_ / "save", fs::copy_options::recursive);
    }
    if (setup.windowed) {
        // Windowed, and quiet: the music's decoding would only take time from the drawing.
        WriteFileAtomically(root_ / "save" / "Options.ini",
                            "[EngineParams]\nEngineFulScreen=0\nEngineMusicOn=0\n");
    }
    if (setup.prepare) setup.prepare(root_);

    std::vector<std::string> argv = {
        "xvfb-run", "-a", "-s", "-screen 0 1280x1024x24", "sh", "-c",
        // The display and its key for xdotool, then the game in the shell's place.
        "printf '%s\\n%s\\n%s\\n' \"$DISPLAY\" \"$XAUTHORITY\" $$ > "
        "\"$VALLORN_PROBE/../display.tmp\" && "
        "mv \"$VALLORN_PROBE/../display.tmp\" \"$VALLORN_PROBE/../display\" && exec \"$0\" \"$@\""};
    if (setup.command.empty()) {
        argv.insert(argv.end(),
                    {std::string(VALLORN_BUILD_ROOT) + "/vallorn", "--root", root_.string()});
        std::vector<std::string> args = setup.args;
        if (args.empty() && setup.starter) args.push_back("{root}/worlds/Starter.ski");
        for (std::string arg : args) {
            if (const size_t at = arg.find("{root}"); at != std::string::npos) {
                arg.replace(at, 6, root_.string());
            }
            argv.push_back(arg);
        }
    } else {
        argv.insert(argv.end(), setup.command.begin(), setup.command.end());
    }
    // Two servers started at the same moment may pick the same display, and the server of
    // the test before may still be going: the loser ends at once, and starting again a little
    // later picks another. On a busy machine a game may also come up without ever showing its
    // window: it is started once again.
    bool restarted = false;
    for (int attempt = 0; attempt < 5; ++attempt) {
        const TStart start = Start(argv, setup.windowSeconds, restarted);
        if (start == TStart::Up) break;
        std::error_code ec;
        fs::rename(dir_ / "game.log", dir_ / ("game-" + std::to_string(attempt) + ".log"), ec);
        if (start == TStart::NoWindow) {
            restarted = true;
            const std::string note = "start " + std::to_string(attempt + 1) + ": " + kStartedAgain +
                                     " (display " + (display_.empty() ? "never named" : display_) +
                                     ", waited " + std::to_string(int(setup.windowSeconds)) +
                                     " s)\n";
            std::fprintf(stderr, "vallorn gui harness: %s", note.c_str());
            startNotes_ += note;
        }
        Pause(0.5 * (attempt + 1));
    }
}

TGame::TStart TGame::Start(const std::vector<std::string>& argv, double windowSeconds,
                           bool keepSlow) {
    const std::vector<std::string> env = Environment(false, true);
    status_.reset();
    display_.clear();
    gamePid_ = -1;
    std::error_code ec;
    fs::remove(dir_ / "display", ec);
    pid_ = fork();
    if (pid_ == 0) {
        setpgid(0, 0);
        const int log = open((dir_ / "game.log").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (log >= 0) {
            dup2(log, 1);
            dup2(log, 2);
        }
        std::vector<char*> args, envp;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
        envp.push_back(nullptr);
        execvpe(args[0], args.data(), envp.data());
        _exit(127);
    }
    setpgid(pid_, pid_);

    // Started once the display is up and the game has drawn a frame into a window on it.
    const auto start = Clock::now();
    bool stray = false;
    while (Since(start) < windowSeconds) {
        if (display_.empty()) {
            std::ifstream in(dir_ / "display");
            std::string pid;
            if (in && std::getline(in, display_) && std::getline(in, xauthority_) &&
                std::getline(in, pid)) {
                gamePid_ = pid_t(std::atoi(pid.c_str()));
            } else {
                display_.clear();
            }
        }
        if (!display_.empty() && fs::exists(probe_ / "state.json", ec)) {
            if (CountWindows(display_, xauthority_, "VALLORN") > 0) return TStart::Up;
            stray = Since(start) > 20;  // drawing, but not on its display
            if (stray) break;
        }
        if (WaitExit(0.05)) return TStart::EndedAtOnce;
    }
    // No window: a game drawing elsewhere is started again at once; a slow one once more, and
    // the second slow start is left running for the test's own waits to report.
    if (!stray && keepSlow) return TStart::Up;
    Stop();
    fs::remove(probe_ / "state.json", ec);
    return stray ? TStart::EndedAtOnce : TStart::NoWindow;
}

void TGame::Stop() {
    if (pid_ <= 0 || status_) return;
    // The game first (the shell became the game), then xvfb-run and its server.
    if (gamePid_ > 0) kill(gamePid_, SIGKILL);
    pid_t server = -1;
    if (display_.size() > 1) {
        std::ifstream lock("/tmp/.X" + display_.substr(1) + "-lock");
        lock >> server;
    }
    kill(-pid_, SIGTERM);
    if (!WaitExit(5)) {
        kill(-pid_, SIGKILL);
        WaitExit(5);
    }
    // The server, when it outlived xvfb-run: only if it is the one started with our key.
    std::ifstream cmdline("/proc/" + std::to_string(server) + "/cmdline");
    std::string args((std::istreambuf_iterator<char>(cmdline)), std::istreambuf_iterator<char>());
    if (server > 0 && !xauthority_.empty() && args.find(xauthority_) != std::string::npos) {
        kill(server, SIGTERM);
    }
}

TGame::~TGame() {
    Stop();
    std::error_code ec;
    if (!std::getenv("VALLORN_GUI_KEEP")) fs::remove_all(dir_, ec);
}

std::vector<std::string> TGame::Environment(bool display, bool probe) const {
    std::vector<std::string> env;
    auto replaced = [](const std::string& v) {
        for (const char* key : {"DISPLAY=", "XAUTHORITY=", "VALLORN_PROBE=", "XDG_RUNTIME_DIR=",
                                "XDG_DATA_HOME=", "WAYLAND_DISPLAY="}) {
            if (v.rfind(key, 0) == 0) return true;
        }
        return false;
    };
    for (char** e = environ; *e; ++e) {
        if (!replaced(*e)) env.push_back(*e);
    }
    if (probe) env.push_back("VALLORN_PROBE=" + probe_.string());
    env.push_back("XDG_RUNTIME_DIR=" + runtime_.string());
    env.push_back("XDG_DATA_HOME=" + (dir_ / "share").string());
    // X11 only: were the server not reachable, SDL would fall back to drawing off screen,
    // where no input arrives; the game then stops for want of a display and starts again.
    env.push_back("SDL_VIDEODRIVER=x11");
    env.push_back("SDL_AUDIODRIVER=dummy");
    env.push_back("ALSOFT_DRIVERS=null");
    env.push_back("LIBGL_ALWAYS_SOFTWARE=1");
    // The clear sky of the six, so that the sky's colour is known.
    env.push_back("VALLORN_SKY=0");
    if (display) {
        env.push_back("DISPLAY=" + display_);
        env.push_back("XAUTHORITY=" + xauthority_);
    }
    return env;
}

int TGame::Run(const std::vector<std::string>& argv, double seconds, bool probe) const {
    const std::vector<std::string> env = Environment(true, probe);
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) dup2(null, 1);
        std::vector<char*> args, envp;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
        envp.push_back(nullptr);
        execvpe(args[0], args.data(), envp.data());
        _exit(127);
    }
    const auto start = Clock::now();
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (Since(start) > seconds) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        Pause(0.01);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string TGame::Log() const {
    std::ifstream in(dir_ / "game.log");
    std::stringstream s;
    const int windows = display_.empty() ? -1 : CountWindows(display_, xauthority_, "VALLORN");
    s << startNotes_ << "display " << (display_.empty() ? "never named" : display_) << " ("
      << (windows < 0 ? "not reachable: its server has ended"
                      : std::to_string(windows) + " game windows on it")
      << ")";
    if (status_) s << ", the game ended with status " << *status_;
    s << "\n" << in.rdbuf();
    for (int attempt = 0; attempt < 5; ++attempt) {  // starts that ended or were ended
        std::ifstream earlier(dir_ / ("game-" + std::to_string(attempt) + ".log"));
        if (earlier) s << "start " << attempt + 1 << " printed:\n" << earlier.rdbuf();
    }
    return s.str();
}

TProbeState TGame::State() const {
    TProbeState state;
    std::string text, error;
    if (ReadWholeFile(probe_ / "state.json", text, &error)) ParseProbeState(text, state);
    return state;
}

bool TGame::WaitFor(const std::function<bool(const TProbeState&)>& pred, double seconds,
                    TProbeState* last) {
    const auto start = Clock::now();
    while (true) {
        TProbeState s = State();
        const bool ok = s.frame >= 0 && pred(s);
        if (last) *last = std::move(s);
        if (ok) return true;
        if (Since(start) > seconds || status_) return false;
        if (pid_ > 0 && WaitExit(0.0)) return false;
        Pause(0.02);
    }
}

TProbeState TGame::Frames(int n) {
    const long long from = State().frame;
    TProbeState s;
    WaitFor([&](const TProbeState& st) { return st.frame >= from + n; }, 20, &s);
    return s;
}

void TGame::Move(float x, float y) {
    const TProbeState s = State();
    Run({"xdotool", "mousemove", std::to_string(int(std::lround(s.winX + x))),
         std::to_string(int(std::lround(s.winY + y)))});
}

void TGame::Click(int button) {
    Run({"xdotool", "click", std::to_string(button)});
}

void TGame::Key(const std::string& key) {
    Run({"xdotool", "key", key});
}

void TGame::KeyDown(const std::string& key) {
    Run({"xdotool", "keydown", key});
}

void TGame::KeyUp(const std::string& key) {
    Run({"xdotool", "keyup", key});
}

void TGame::Type(const std::string& text) {
    Run({"xdotool", "type", "--delay", "60", text});
}

void TGame::Drag(int button, float x0, float y0, float x1, float y1, int steps) {
    Move(x0, y0);
    Frames(1);
    Run({"xdotool", "mousedown", std::to_string(button)});
    for (int k = 1; k <= steps; ++k) {
        const float t = float(k) / float(steps);
        Move(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t);
        Frames(1);
    }
    Run({"xdotool", "mouseup", std::to_string(button)});
}

bool TGame::HoverItem(const std::string& kind, const std::string& label, double seconds) {
    // Windows settle over their first frames (sizes, then places): aim once the item stands
    // still from one frame to the next.
    const auto start = Clock::now();
    std::optional<TProbeItem> last;
    while (Since(start) < seconds) {
        const TProbeState s = Frames(1);
        const TProbeItem* i = s.Find(kind, label);
        if (i && last && i->x == last->x && i->y == last->y && i->w == last->w) {
            Move(i->x + i->w * 0.5f, i->y + i->h * 0.5f);
            Frames(2);
            return true;
        }
        if (i) {
            last = *i;
        } else {
            last.reset();
        }
        if (status_) return false;
    }
    return false;
}

bool TGame::ClickItem(const std::string& kind, const std::string& label, int button,
                      double seconds) {
    if (!HoverItem(kind, label, seconds)) return false;
    Click(button);
    return true;
}

std::string TGame::ParkHash(double seconds) {
    std::error_code ec;
    fs::remove(probe_ / "hash.txt", ec);
    if (!WriteFileAtomically(probe_ / "hash", "")) return {};
    const auto start = Clock::now();
    while (fs::exists(probe_ / "hash", ec) || !fs::exists(probe_ / "hash.txt", ec)) {
        if (Since(start) > seconds || WaitExit(0.0)) return {};
        Pause(0.05);
    }
    std::ifstream in(probe_ / "hash.txt");
    std::string hash;
    std::getline(in, hash);
    return hash;
}

bool TGame::Shot(TSKIImage& out, double seconds) {
    std::error_code ec;
    fs::remove(probe_ / "shot.png", ec);
    if (!WriteFileAtomically(probe_ / "shot", "")) return false;
    const auto start = Clock::now();
    while (fs::exists(probe_ / "shot", ec) || !fs::exists(probe_ / "shot.png", ec)) {
        if (Since(start) > seconds || WaitExit(0.0)) return false;
        Pause(0.05);
    }
    int w = 0, h = 0, n = 0;
    unsigned char* data = stbi_load((probe_ / "shot.png").c_str(), &w, &h, &n, 3);
    if (!data) return false;
    out.Resize(w, h);
    std::memcpy(out.Pixels().data(), data, size_t(w) * size_t(h) * 3);
    stbi_image_free(data);
    return true;
}

bool TGame::CloseWindow() {
    return SendCloseRequest(display_, xauthority_, "VALLORN");
}

std::optional<int> TGame::WaitExit(double seconds) {
    if (status_) return status_;
    if (pid_ <= 0) return std::nullopt;
    const auto start = Clock::now();
    while (true) {
        int status = 0;
        const pid_t r = waitpid(pid_, &status, WNOHANG);
        if (r == pid_) {
            status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return status_;
        }
        if (r < 0 || Since(start) >= seconds) return std::nullopt;
        Pause(0.02);
    }
}

std::optional<int> TGame::RunSecondCopy(double seconds) {
    const int status = Run({std::string(VALLORN_BUILD_ROOT) + "/vallorn", "--root", root_.string()},
                           seconds, false);
    if (status < 0) return std::nullopt;
    return status;
}

}  // namespace vallorn::gui
