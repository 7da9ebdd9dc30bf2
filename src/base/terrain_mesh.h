// The level's terrain surface as a triangle mesh, read from its 3DS files, with a vertical ray
// cast through a grid of the map's cells over the ground a level can reach, so that every
// height query touches only the few triangles above one cell, whatever the file holds.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <glm/vec3.hpp>

#include "base/types.h"

namespace vallorn {

// Where a level's ground can lie: the grid runs kGridSize cells from the origin towards -X and
// +Z, and a mesh may reach one grid's width beyond it on every side (the skirt's landscape).
// Heights (before the level's Y scale) stay within kMaxMeshHeight.
inline constexpr float kLevelReach = float(kGridSize) * kCellSize;
inline constexpr float kMaxMeshHeight = 65536.0f;
bool InLevelBounds(const glm::vec3& v);

class TSKITerrainMesh {
public:
    // Loads every mesh of a 3DS (or other assimp-readable) file, scales Y by `scaleY` and
    // builds the acceleration grid. With a `cacheFolder`, the file's binary cache there is read
    // instead when it matches the file, and written there when it does not
    // (terrain_mesh_cache.h); a cache that cannot be written only costs the next load its
    // speed. Without `castable` (a mesh only drawn, as the skirt) no cast grid is built and
    // CastDown always misses. Returns false with a reason naming the file on failure; the mesh
    // is then empty.
    bool Load(const std::filesystem::path& file, float scaleY, std::string* error = nullptr,
              const std::filesystem::path& cacheFolder = {}, bool castable = true);
    // Builds directly from triangles (world coordinates, already scaled). Triangles with an
    // index past the vertices, a vertex that is not finite or no area are left out. The cast
    // grid has one bucket per map cell over the ground a level can reach (the map and one
    // map's width around it, kLevelReach); triangles with no area seen from above are left
    // out of it. A mesh whose triangles would fill the grid with more than kMaxCastEntries
    // entries or pile more than kMaxCastPile of them over one cell is no terrain: it is
    // refused (false with the reason in `why`, the mesh empty), so that neither the build nor
    // any cast can take long.
    bool Build(std::vector<glm::vec3> vertices, std::vector<uint32_t> indices, bool castable = true,
               std::string* why = nullptr);
    void Clear();

    static constexpr uint64_t kMaxCastEntries = uint64_t(16) << 20;
    static constexpr uint32_t kMaxCastPile = 1024;

    bool Empty() const { return TriangleCount() == 0; }
    // Whether the last Load took its triangles from the cache (or shared those of a load that
    // read or wrote the cache as it still is).
    bool FromCache() const { return fromCache_; }
    size_t TriangleCount() const { return data_ ? data_->Triangles : 0; }
    // The most triangles one cast tests (the fullest bucket, twice for a point on a boundary).
    uint32_t MostTrianglesPerCast() const { return data_ ? 2 * data_->MostInBucket : 0; }

    // Casts a ray from (x, 1000, z) straight down. Returns true and the y of the highest hit
    // below 1000; false when the ray misses every triangle.
    bool CastDown(float x, float z, float& y) const;
    // CastDown at the point of map cell (i, j) (x = -4i - 0.5, z = 4j - 0.5; 0 <= i, j <
    // kGridSize): the same answer, cast once for the whole map on the first call and kept with
    // the mesh, so that the loads sharing a mesh share its cell heights.
    bool CellHeight(int i, int j, float& y) const;

    const std::vector<glm::vec3>& Vertices() const;
    const std::vector<uint32_t>& Indices() const;

private:
    // What a built mesh holds; shared, unchanged, by the copies of a mesh and by the loads of
    // the same file bytes (Load keeps the last few it built).
    struct TData {
        std::vector<glm::vec3> Vertices;
        std::vector<uint32_t> Indices;
        size_t Triangles = 0;
        // Cast grid over x/z: buckets of one cell, aligned with the cells' corners.
        double MinX = 0, MinZ = 0;
        int Nx = 0, Nz = 0;
        uint32_t MostInBucket = 0;
        std::vector<uint32_t> BucketStart;  // Nx*Nz + 1 offsets into BucketTris
        std::vector<uint32_t> BucketTris;
        // The casts at the map's cell points, made on the first CellHeight (NaN: a miss).
        mutable std::once_flag CellHeightsOnce;
        mutable std::vector<float> CellHeights;
    };
    std::shared_ptr<const TData> data_;
    bool fromCache_ = false;
};

}  // namespace vallorn
