// Builds a level's terrain meshes from a height field: the surface "<stem>H.3ds", tiled so
// that every mesh stays within the 16-bit vertex and face counts of the 3DS format, and the
// skirt "<stem>Side.3ds" that closes the map's edge and carries the land around it. Used by the
// data generator and the level editor.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "base/types.h"

namespace vallorn {

// Heights of the cell world points, (kGridSide x kGridSide) values, index i * kGridSide + j,
// in world units (after the level's Y scale).
struct THeightField {
    int Side = 513;
    std::vector<float> Heights;
    float At(int i, int j) const { return Heights[size_t(i) * Side + j]; }
};

// The grid index that index `k` of the landscape around the map mirrors: the grid reflected
// about its edges 0 and 512 (-16 -> 16, 530 -> 494), for k in -512..1024.
constexpr int ReflectedGridIndex(int k) {
    return k < 0 ? -k : (k > kGridSize ? 2 * kGridSize - k : k);
}

// Vertex (i, j) of the surface lies at the world point of cell (i, j): x = -4i - 0.5,
// z = 4j - 0.5, y = height / scaleY (the loader scales Y back). The skirt hangs from the
// edge down to `skirtBottom` (world units), and holds the landscape around the map: the
// eight neighbouring tiles of the map's terrain reflected about its edges, every 16 cells.
// With a `cacheFolder`, each mesh's binary cache is written there too (terrain_mesh_cache.h),
// from the triangles it was written from, so that the first load need not parse it; a cache
// that cannot be written is no failure. Returns false with a reason on failure.
bool BuildTerrainMeshes(const THeightField& field, float scaleY, float skirtBottom,
                        const std::filesystem::path& folder, const std::string& stem,
                        std::string* error = nullptr,
                        const std::filesystem::path& cacheFolder = {});

}  // namespace vallorn
