// A terrain mesh as the 3DS reader gives it, kept beside the 3DS file in a small binary file
// ("<name>.vmesh") so that a level loads without parsing the 3DS again. The cache names the
// size and a hash of the 3DS bytes it was made from and a hash of its own body; a cache that
// does not match its 3DS, or that is damaged (a body that fails its hash, counts that do not
// fit the file, a vertex that is not finite or lies off the level, an index past the
// vertices), is ignored and the 3DS is read.
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

// "<name>H.3ds" -> "<name>H.vmesh".
std::filesystem::path MeshCachePath(const std::filesystem::path& meshFile);
// 64-bit hash of a file's bytes.
uint64_t HashBytes(std::string_view bytes);

// Reads the triangles of a 3DS (or other assimp-readable) file held in `bytes`.
bool ReadMeshBytes(const std::filesystem::path& file, std::string_view bytes, TSKIRawMesh& out,
                   std::string* error);
// The cache's triangles when it matches the source bytes; false otherwise.
bool ReadMeshCache(const std::filesystem::path& meshFile, std::string_view sourceBytes,
                   TSKIRawMesh& out);
// Reads `meshFile` and writes its cache beside it (through a temporary file).
bool WriteMeshCache(const std::filesystem::path& meshFile, std::string* error);
// Writes the cache of `meshFile`, whose bytes are `sourceBytes`, from the triangles it was
// written from: the same cache as reading the file back gives, without parsing it.
bool WriteMeshCache(const std::filesystem::path& meshFile, std::string_view sourceBytes,
                    TSKIRawMesh mesh, std::string* error);

}  // namespace vallorn
