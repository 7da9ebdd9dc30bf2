// Level files (.skil): loading, saving and forgetting the level.
#pragma once

#include <string>

#include "engine/engine.h"

namespace vallorn {

// Whether a level load starts a new game, with the display choices reset, or reloads the level
// being edited, keeping them.
enum class TSKIDisplayOnLoad : uint8_t { Reset, Keep };
// Whether the load brings the snow makers' reach up to date (Draw), or leaves that to the
// caller, which rebuilds the overlays over what it adds (Later: a saved game, over its park).
enum class TSKIOverlaysOnLoad : uint8_t { Draw, Later };

// Loads "<name>.skil" from the worlds (or add-ons) folder. A missing file leaves the engine
// as it was; any other failure leaves a clean engine without a level. Every game, saved or
// new, starts here.
TSKILevelLoadResult LoadLevelFile(TSKIEngine& engine, const std::string& name, bool fromAddons,
                                  TSKIDisplayOnLoad display = TSKIDisplayOnLoad::Reset,
                                  TSKIOverlaysOnLoad overlays = TSKIOverlaysOnLoad::Draw);
// Saves the level into the add-ons folder as "<name>.skil"; other sections of an existing
// file are kept.
bool SaveLevelFile(TSKIEngine& engine, const std::string& name, std::string* error = nullptr);
// Forgets the level: no grid, no meshes, no houses.
void ClearLevel(TSKIEngine& engine);

}  // namespace vallorn
