// A terrain mesh as the 3DS reader gives it, kept in a small binary file in a cache folder the
// player can write ("<name>-<hash of the 3DS bytes>.vmesh", TSKIFolders::Cache) so that a level
// loads without parsing the 3DS again. Nothing ships it: the first load of a level writes it.
// The cache names the size and a hash of the 3DS bytes it was made from and a hash of its own
// body; a cache that does not match its 3DS, or that is damaged (a body that fails its hash,
// counts that do not fit the file, a vertex that is not finite or lies off the level, an index
// past the vertices), is ignored and the 3DS is read. Named by the 3DS bytes, two levels of the
// same name in different folders keep caches of their own, and a copy of a level (an add-on
// saved from a shipped level) finds the cache of the original.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <glm/vec3.hpp>

namespace vallorn {

struct TSKIRawMesh {
    std::vector<glm::vec3> Vertices;  // as stored in the file, Y not yet scaled
    std::vector<uint32_t> Indices;    // three per triangle
};

// 64-bit hash of a file's bytes.
uint64_t HashBytes(std::string_view bytes);
// The cache in `cacheFolder` of the mesh file "<name>H.3ds" whose bytes are `sourceBytes`:
// "<name>H-<16 hex digits of their hash>.vmesh".
std::filesystem::path MeshCachePath(const std::filesystem::path& cacheFolder,
                                    const std::filesystem::path& meshFile,
                                    std::string_view sourceBytes);

// Reads the triangles of the 3DS file held in `bytes` (terrain_mesh_3ds.cpp): the meshes of
// its editor objects in order, each mesh's vertices as stored (the keyframer, materials and
// transforms are skipped). A file declaring more than kMaxMeshTriangles triangles or
// kMaxMeshVertices vertices is refused before they are read.
inline constexpr uint32_t kMaxMeshTriangles = 2u << 20;
inline constexpr uint32_t kMaxMeshVertices = 4u << 20;
bool ReadMeshBytes(const std::filesystem::path& file, std::string_view bytes, TSKIRawMesh& out,
                   std::string* error);
// Keeps each position once, numbered in the order the indices first use them: the 3DS reader
// gives every face its own three vertices, so a mesh read back from a 3DS file and the mesh it
// was written from weld to the same vertices and indices (a third of the bytes). The
// triangles stay the same, in the same order.
void WeldMesh(TSKIRawMesh& mesh);
// The triangles of the cache file `cachePath` when it matches the source bytes and is sound;
// false otherwise. A cache that is taken is marked as used (its modification time).
bool ReadMeshCache(const std::filesystem::path& cachePath, std::string_view sourceBytes,
                   TSKIRawMesh& out);
// Writes `mesh` as it is (weld it first to keep the cache small) as the cache `cachePath` of
// the 3DS bytes `sourceBytes`, through a temporary file renamed into place; the folder is made
// when missing. Other caches in the folder left unused for kMeshCacheUnusedDays days go.
bool WriteMeshCache(const std::filesystem::path& cachePath, std::string_view sourceBytes,
                    const TSKIRawMesh& mesh, std::string* error);
inline constexpr int kMeshCacheUnusedDays = 60;

}  // namespace vallorn
