// The terrain's relief: how the sun lights the ground by its own slope, worked out once per
// level from the heights and baked into the composed ground picture, so that hills, valleys,
// ridges and steep ground read on plain snow at every detail level, at no cost per pixel.
// Pure CPU work: tested without a display.
#pragma once

#include <glm/vec3.hpp>

#include "base/image.h"
#include "presentation/terrain_chunks.h"

namespace vallorn {

// The light the relief is worked out for: from the sun's bearing (kSunDirection), but lower,
// 40 degrees over the horizon, so that gentle slopes read too (unit length).
constexpr glm::vec3 kReliefLight(0.5040f, 0.6428f, 0.5770f);

// The ground's unit normal at vertex (i, j), from the heights around it.
glm::vec3 TerrainNormal(const TSKITerrainHeights& heights, int i, int j);

// How bright the light makes ground of this normal, 0..1: flat ground 0.8, the slopes turned
// to the light brighter, those turned away darker, and steep ground darker still.
float ReliefShade(const glm::vec3& normal, const glm::vec3& light);

// A per-cell image (pixel (i, j) on the world point of cell (i, j)) whose red channel holds
// the shade of the ground there, 255 for 1.
TSKIImage ReliefImage(const TSKITerrainHeights& heights, const glm::vec3& light);

}  // namespace vallorn
