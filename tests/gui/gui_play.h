// What the GUI tests of the park share: starting to play the starter park, keeping shots.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "gui/gui_harness.h"

namespace vallorn::gui {

// The park's view with its menu bar is up.
bool ParkShown(const TProbeState& s);
// Skips the intro, waits for the starter park and puts away the window of its first evaluation.
::testing::AssertionResult PlayStarterPark(TGame& game);
// Keeps the last shot for a person to look at when VALLORN_GUI_SHOTS names a folder.
void KeepGuiShot(const TGame& game, const std::string& name);

}  // namespace vallorn::gui
