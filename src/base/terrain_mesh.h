// The level's terrain surface as a triangle mesh, read from its 3DS files, with a vertical ray
// cast through a uniform grid over the ground plane so that every height query touches only
// the few triangles above one bucket.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <glm/vec3.hpp>

namespace vallorn {

class TSKITerrainMesh {
public:
    // Loads every mesh of a 3DS (or other assimp-readable) file, scales Y by `scaleY` and
    // builds the acceleration grid. With a `cacheFolder`, the file's binary cache there is read
    // instead when it matches the file, and written there when it does not
    // (terrain_mesh_cache.h); a cache that cannot be written only costs the next load its
    // speed. Returns false with a reason naming the file on failure; the mesh is then empty.
    bool Load(const std::filesystem::path& file, float scaleY, std::string* error = nullptr,
              const std::filesystem::path& cacheFolder = {});
    // Builds directly from triangles (world coordinates, already scaled). Triangles with an
    // index past the vertices or a vertex that is not finite are left out; whatever the
    // coordinates, the grid's size and the time to build it stay in proportion to the
    // triangle count.
    void Build(std::vector<glm::vec3> vertices, std::vector<uint32_t> indices);
    void Clear();

    bool Empty() const { return triangles_ == 0; }
    // Whether the last Load took its triangles from the cache.
    bool FromCache() const { return fromCache_; }
    size_t TriangleCount() const { return triangles_; }

    // Casts a ray from (x, 1000, z) straight down. Returns true and the y of the highest hit
    // below 1000; false when the ray misses every triangle.
    bool CastDown(float x, float z, float& y) const;

    const std::vector<glm::vec3>& Vertices() const { return vertices_; }
    const std::vector<uint32_t>& Indices() const { return indices_; }

private:
    std::vector<glm::vec3> vertices_;
    std::vector<uint32_t> indices_;
    size_t triangles_ = 0;
    bool fromCache_ = false;
    // Acceleration grid over x/z.
    double minX_ = 0, minZ_ = 0, bucket_ = 1;
    int nx_ = 0, nz_ = 0;
    std::vector<uint32_t> bucketStart_;  // nx*nz + 1 offsets into bucketTris_
    std::vector<uint32_t> bucketTris_;
};

}  // namespace vallorn
