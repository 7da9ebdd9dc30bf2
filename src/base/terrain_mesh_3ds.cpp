// The 3DS reader of terrain meshes. It walks only the chunks that hold triangles (main, editor,
// object, triangle mesh, and in it the vertex and face lists) and skips every other chunk by
// its length, so that no nesting or count in a file makes it recurse, and it refuses counts
// beyond a terrain before it allocates for them.
#include <cstring>
#include <string>
#include <vector>

#include "base/terrain_mesh_cache.h"

namespace vallorn {
namespace {

constexpr uint16_t kMainChunk = 0x4D4D;
constexpr uint16_t kEditorChunk = 0x3D3D;
constexpr uint16_t kObjectChunk = 0x4000;
constexpr uint16_t kTriangleMeshChunk = 0x4100;
constexpr uint16_t kVertexListChunk = 0x4110;
constexpr uint16_t kFaceListChunk = 0x4120;
constexpr size_t kChunkHeader = 6;

template <typename T>
T ReadAt(std::string_view in, size_t at) {
    T value;
    std::memcpy(&value, in.data() + at, sizeof(T));
    return value;
}

// One mesh's lists as read; its faces are kept once the mesh's chunk ends.
struct TMeshLists {
    std::vector<glm::vec3> Vertices;
    std::vector<uint16_t> Faces;  // three per face
};

}  // namespace

bool ReadMeshBytes(const std::filesystem::path& file, std::string_view bytes, TSKIRawMesh& out,
                   std::string* error) {
    out = {};
    auto fail = [&](const std::string& why) {
        out = {};
        if (error) *error = "cannot read terrain mesh " + file.string() + ": " + why;
        return false;
    };
    if (bytes.size() < kChunkHeader || ReadAt<uint16_t>(bytes, 0) != kMainChunk)
        return fail("it is not a 3DS file");

    // The chunks being read, each by the offset where it ends: at most main, editor, object
    // and triangle mesh.
    struct TOpen {
        uint16_t Id;
        size_t End;
    };
    std::vector<TOpen> open;
    TMeshLists mesh;
    size_t triangles = 0, vertices = 0;
    auto endMesh = [&] {
        const uint32_t base = uint32_t(out.Vertices.size());
        const size_t count = mesh.Vertices.size();
        out.Vertices.insert(out.Vertices.end(), mesh.Vertices.begin(), mesh.Vertices.end());
        for (size_t f = 0; f + 2 < mesh.Faces.size(); f += 3) {
            const uint16_t a = mesh.Faces[f], b = mesh.Faces[f + 1], c = mesh.Faces[f + 2];
            if (a >= count || b >= count || c >= count) continue;
            out.Indices.insert(out.Indices.end(), {base + a, base + b, base + c});
        }
        mesh = {};
    };
    size_t at = 0;
    while (true) {
        // Close the chunks that end here.
        while (!open.empty() && at >= open.back().End) {
            if (open.back().Id == kTriangleMeshChunk) endMesh();
            open.pop_back();
        }
        const size_t limit = open.empty() ? bytes.size() : open.back().End;
        if (at + kChunkHeader > limit) {
            if (open.empty()) break;
            at = limit;  // a few stray bytes at the end of a chunk
            continue;
        }
        const uint16_t id = ReadAt<uint16_t>(bytes, at);
        const uint32_t length = ReadAt<uint32_t>(bytes, at + 2);
        if (length < kChunkHeader || length > limit - at) {
            if (open.empty()) return fail("a chunk runs past the end of the file");
            at = limit;  // the rest of a damaged chunk is skipped
            continue;
        }
        const size_t body = at + kChunkHeader, end = at + length;
        const uint16_t parent = open.empty() ? 0 : open.back().Id;
        const bool container = (open.empty() && id == kMainChunk) ||
                               (parent == kMainChunk && id == kEditorChunk) ||
                               (parent == kEditorChunk && id == kObjectChunk) ||
                               (parent == kObjectChunk && id == kTriangleMeshChunk);
        if (container) {
            open.push_back({id, end});
            at = body;
            if (id == kObjectChunk) {
                // The object's name, up to its terminating zero.
                const void* zero = std::memchr(bytes.data() + body, 0, end - body);
                at = zero ? size_t(static_cast<const char*>(zero) - bytes.data()) + 1 : end;
            }
            continue;
        }
        at = end;
        if (parent != kTriangleMeshChunk || length < kChunkHeader + 2) continue;
        const size_t count = ReadAt<uint16_t>(bytes, body);
        if (id == kVertexListChunk) {
            if (count * 12 > end - body - 2) return fail("a vertex list is cut short");
            vertices += count;
            if (vertices > kMaxMeshVertices)
                return fail("it holds more than " + std::to_string(kMaxMeshVertices) + " vertices");
            mesh.Vertices.resize(count);
            if (count > 0)  // an empty list has no storage to copy into
                std::memcpy(mesh.Vertices.data(), bytes.data() + body + 2, count * 12);
        } else if (id == kFaceListChunk) {
            if (count * 8 > end - body - 2) return fail("a face list is cut short");
            triangles += count;
            if (triangles > kMaxMeshTriangles)
                return fail("it holds more than " + std::to_string(kMaxMeshTriangles) +
                            " triangles");
            mesh.Faces.resize(count * 3);
            for (size_t f = 0; f < count; ++f)
                std::memcpy(&mesh.Faces[f * 3], bytes.data() + body + 2 + f * 8, 6);
        }
    }
    if (out.Indices.empty()) {
        out = {};
        if (error) *error = "terrain mesh " + file.string() + " holds no triangles";
        return false;
    }
    return true;
}

}  // namespace vallorn
