#include "ui/probe.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <system_error>
#include <vector>

#include <imgui.h>
#include <stb_image_write.h>

#include "base/atomic_file.h"
#include "base/image.h"
#include "platform/window.h"

namespace vallorn::probe {

namespace {

struct TItem {
    std::string kind, label;
    float x = 0, y = 0, w = 0, h = 0;
    bool enabled = true;
};

struct TState {
    bool checked = false;
    std::filesystem::path folder;  // empty: off
    long long frame = 0;
    std::vector<TItem> items;
    std::vector<std::string> windows;
    std::map<std::string, std::string> values;  // already JSON
};

TState& State() {
    static TState s;
    if (!s.checked) {
        s.checked = true;
        const char* dir = std::getenv("VALLORN_PROBE");
        if (dir && *dir) s.folder = dir;
    }
    return s;
}

void AppendQuoted(std::string& out, const std::string& text) {
    out += '"';
    for (const unsigned char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                if (c < 0x20) {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += char(c);
                }
        }
    }
    out += '"';
}

std::string Number(double v) {
    if (!std::isfinite(v)) return "null";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6g", v);
    return buf;
}

void WriteChunk(void* context, void* data, int size) {
    static_cast<std::string*>(context)->append(static_cast<const char*>(data), size_t(size));
}

void SaveShotFile(const TState& s, const TSKIImage& image) {
    std::string png;
    if (!image.Empty() && stbi_write_png_to_func(WriteChunk, &png, image.Width(), image.Height(), 3,
                                                 image.Pixels().data(), image.Width() * 3)) {
        std::string error;
        if (!WriteFileAtomically(s.folder / "shot.png", png, &error)) {
            std::fprintf(stderr, "vallorn: probe shot: %s\n", error.c_str());
        }
    }
    std::error_code ec;
    std::filesystem::remove(s.folder / "shot", ec);
}

}  // namespace

bool Enabled() {
    return !State().folder.empty();
}

void BeginFrame() {
    TState& s = State();
    if (s.folder.empty()) return;
    s.items.clear();
    s.windows.clear();
    s.values.clear();
}

void Item(const char* kind, const std::string& label, float x0, float y0, float x1, float y1,
          bool enabled) {
    TState& s = State();
    if (s.folder.empty()) return;
    s.items.push_back({kind, label, x0, y0, x1 - x0, y1 - y0, enabled});
}

void LastItem(const char* kind, const std::string& label, bool enabled) {
    if (!Enabled() || !ImGui::GetCurrentContext()) return;
    const ImVec2 a = ImGui::GetItemRectMin(), b = ImGui::GetItemRectMax();
    Item(kind, label, a.x, a.y, b.x, b.y, enabled);
}

void Window(const std::string& title) {
    TState& s = State();
    if (s.folder.empty()) return;
    s.windows.push_back(title);
}

void Value(const std::string& key, const std::string& value) {
    TState& s = State();
    if (s.folder.empty()) return;
    std::string quoted;
    AppendQuoted(quoted, value);
    s.values[key] = std::move(quoted);
}

void Value(const std::string& key, double value) {
    TState& s = State();
    if (s.folder.empty()) return;
    s.values[key] = Number(value);
}

std::string StateText() {
    const TState& s = State();
    std::string out = "{\"frame\": " + std::to_string(s.frame) + ",\n\"items\": [";
    for (size_t k = 0; k < s.items.size(); ++k) {
        const TItem& i = s.items[k];
        out += k ? ",\n  {\"kind\": " : "\n  {\"kind\": ";
        AppendQuoted(out, i.kind);
        out += ", \"label\": ";
        AppendQuoted(out, i.label);
        out += ", \"x\": " + Number(i.x) + ", \"y\": " + Number(i.y) + ", \"w\": " + Number(i.w) +
               ", \"h\": " + Number(i.h) + ", \"enabled\": " + (i.enabled ? "true" : "false") + "}";
    }
    out += "],\n\"windows\": [";
    for (size_t k = 0; k < s.windows.size(); ++k) {
        if (k) out += ", ";
        AppendQuoted(out, s.windows[k]);
    }
    out += "],\n\"values\": {";
    bool first = true;
    for (const auto& [key, value] : s.values) {
        out += first ? "\n  " : ",\n  ";
        first = false;
        AppendQuoted(out, key);
        out += ": " + value;
    }
    out += "}}\n";
    return out;
}

void EndFrame(const TSKIWindow& window) {
    TState& s = State();
    if (s.folder.empty()) return;
    ++s.frame;
    int x = 0, y = 0, w = 0, h = 0;
    if (window.Sdl()) {
        SDL_GetWindowPosition(window.Sdl(), &x, &y);
        SDL_GetWindowSize(window.Sdl(), &w, &h);
    }
    std::string text = StateText();
    // The window's place on the screen goes first, inside the same object.
    text.insert(1, "\"window\": {\"x\": " + std::to_string(x) + ", \"y\": " + std::to_string(y) +
                       ", \"w\": " + std::to_string(w) + ", \"h\": " + std::to_string(h) + "},\n");
    std::string error;
    if (!WriteFileAtomically(s.folder / "state.json", text, &error)) {
        std::fprintf(stderr, "vallorn: probe: %s\n", error.c_str());
    }
}

namespace {
bool Requested(const char* name) {
    const TState& s = State();
    std::error_code ec;
    return !s.folder.empty() && std::filesystem::exists(s.folder / name, ec);
}
}  // namespace

bool ShotRequested() {
    return Requested("shot");
}
bool HashRequested() {
    return Requested("hash");
}

void SaveHash(const std::string& hash) {
    const TState& s = State();
    if (s.folder.empty()) return;
    std::error_code ec;
    if (WriteFileAtomically(s.folder / "hash.txt", hash))
        std::filesystem::remove(s.folder / "hash", ec);
}

void SaveShot(const TSKIImage& image) {
    const TState& s = State();
    if (!s.folder.empty()) SaveShotFile(s, image);
}

}  // namespace vallorn::probe
