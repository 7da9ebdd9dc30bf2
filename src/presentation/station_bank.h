// The ground under a lift station. A station's model stands at its point's ground height, its
// slab, hut and ramp flat; on steep ground the land falls away under their downhill side. A bank
// of snow under everything that stands on the ground carries it: a terrace level with the
// station's ground, its sides falling steeply until they meet the land all round, so that no
// station floats over the snow or shows a tall plinth. Pure CPU work: tested headless.
#pragma once

#include <vector>

#include <glm/vec3.hpp>

#include "entities/world.h"
#include "presentation/gl.h"

namespace vallorn {

// The parts of a station's model that stand on the ground, in model space (the origin is the
// cable height above the station's point, so the ground under it lies at -station height): the
// horizontal rectangle under every vertex at or below the ground level, and the lowest height
// drawn (the slab's underside).
struct TStationFootprint {
    float X0 = 0, X1 = 0, Z0 = 0, Z1 = 0;
    float Ground = 0;
    float Bottom = 0;
    bool Empty() const { return X1 <= X0 || Z1 <= Z0; }
};
TStationFootprint StationFootprint(const std::vector<gl::TVertex>& vertices, float stationHeight);

// A point of a station's model space in the world, for a station at `station` turned by `yaw`
// (as the scene's shader turns its instances).
glm::vec3 StationPointInWorld(const glm::vec3& station, float yaw, const glm::vec3& model);

// The colour of ground (its picture's colour `ground`) whose slant is `normal` as the ground
// is drawn, lit by the relief: the bank is drawn unlit in it, so that it reads as the land
// round it and not as a block standing on it.
glm::vec4 StationBankColour(const glm::vec4& ground, const glm::vec3& normal);

// Adds the triangles of the bank under a station at `station` (its model's origin) turned by
// `yaw` to `out` (world positions, normals, each face in the StationBankColour of `color` for
// its slant): nothing when the land under and round the footprint stands as high as the
// station's ground.
void AddStationBank(const TSKIWorld& world, const TStationFootprint& footprint,
                    const glm::vec3& station, float yaw, const glm::vec4& color,
                    std::vector<gl::TVertex>& out);

}  // namespace vallorn
