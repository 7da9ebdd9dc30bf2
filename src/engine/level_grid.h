// The grid of a level as its load makes it, before the level's own rows are applied.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "engine/engine.h"

namespace vallorn {

// The storage of grids let go (57 MB each) is taken again by the next level loads: a level
// loaded after another, in this engine or a new one, fills memory it already has instead of
// faulting in fresh pages. A grid is kept with its cells, so that a load that copies a whole
// grid into them copies the bytes at once.
void KeepGridStorage(std::vector<TerrainCell>& grid);
void TakeGridStorage(std::vector<TerrainCell>& grid);

// The grid of a surface: heights cast from the mesh, their steepness and, cell by cell in a
// fixed order, a tree drawn from the engine's random numbers and set on the ground. It depends
// on the surface and the generator's state alone. The last grid drawn is kept: a load from the
// same surface and state (a saved game loaded and the game saved after it loaded again, a level
// reloaded by an engine of the same seed) copies it and takes the generator's state after its
// draws instead of drawing and casting again. Gives the reason when the mesh gives a cell a
// height that is not finite, else an empty text.
std::string FreshGrid(TSKIEngine& engine, const std::filesystem::path& surfaceFile);

}  // namespace vallorn
