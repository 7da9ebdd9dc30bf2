// The shader that composes the terrain's picture from the snow pictures and the per-cell
// overlays (terrain_texture.cpp).
#pragma once

namespace vallorn {

extern const char* const kTerrainComposeVertex;
extern const char* const kTerrainComposeFragment;

}  // namespace vallorn
