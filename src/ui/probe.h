// A window into the running game for the GUI tests, on only when the environment variable
// VALLORN_PROBE names a folder. The windows report the items they draw (kind, label, screen
// rectangle) and a few values; after every frame the game writes VALLORN_PROBE/state.json
// (atomically). A file "shot" dropped into the folder makes the game save the next drawn
// frame as shot.png and delete the request.
#pragma once

#include <string>

namespace vallorn {
class TSKIWindow;
}

namespace vallorn::probe {

bool Enabled();
void BeginFrame();
// The last ImGui item drawn (button, menu item, selectable): its kind ("menu", "button",
// "window", ...) and label, with its rectangle.
void LastItem(const char* kind, const std::string& label);
// A window that is showing this frame, by its title.
void Window(const std::string& title);
void Value(const std::string& key, const std::string& value);
void Value(const std::string& key, double value);
// Writes state.json and, on request, the screenshot (before the frame is presented).
void EndFrame(const TSKIWindow& window);

}  // namespace vallorn::probe
