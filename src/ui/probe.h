// A window into the running game for the GUI tests, on only when the environment variable
// VALLORN_PROBE names a folder. The windows report the items they draw (kind, label, screen
// rectangle) and a few values; after every frame the game writes VALLORN_PROBE/state.json
// (atomically). A file "shot" dropped into the folder makes the game save its next finished
// frame, interface included, as shot.png (atomically) and delete the request; a file "hash"
// makes it write the saved-game hash of its park into hash.txt and delete the request.
//
// state.json: {"frame": N, "window": {"x", "y", "w", "h"} (the window on the screen, in the
// units of the items), "items": [{"kind", "label", "x", "y", "w", "h", "enabled"}],
// "windows": [titles], "values": {key: number or text}}. Everything is reset each frame.
#pragma once

#include <string>

#include "base/image.h"

namespace vallorn {
class TSKIWindow;
}

namespace vallorn::probe {

bool Enabled();
void BeginFrame();
// The last ImGui item drawn (button, menu item, selectable): its kind ("menu", "button",
// "window", ...) and label, with its rectangle.
void LastItem(const char* kind, const std::string& label, bool enabled = true);
// An item whose rectangle the caller knows (screen coordinates, corners).
void Item(const char* kind, const std::string& label, float x0, float y0, float x1, float y1,
          bool enabled = true);
// A window that is showing this frame, by its title.
void Window(const std::string& title);
void Value(const std::string& key, const std::string& value);
void Value(const std::string& key, double value);
// Writes state.json: call it after the frame is drawn and before it is presented.
void EndFrame(const TSKIWindow& window);
// A screenshot was asked for: the window hands the finished frame to SaveShot, which writes
// shot.png and clears the request.
bool ShotRequested();
void SaveShot(const TSKIImage& image);
// The park's hash was asked for: SaveHash writes hash.txt and clears the request.
bool HashRequested();
void SaveHash(const std::string& hash);

// The state.json text of the frame so far (what EndFrame writes, without the window).
std::string StateText();

}  // namespace vallorn::probe
