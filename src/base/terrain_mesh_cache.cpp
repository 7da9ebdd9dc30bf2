#include "base/terrain_mesh_cache.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/atomic_file.h"
#include "base/terrain_mesh.h"
#include "base/types.h"

namespace vallorn {
namespace {

// Magic, size and hash of the 3DS bytes, vertex and index counts, hash of the body (the
// vertices, three floats each, then the indices).
constexpr char kMagic[16] = "VALLORN-MESH-2";
constexpr size_t kHeaderSize = 16 + 8 + 8 + 4 + 4 + 8;
// No more than a 3DS file may give (a full grid has 263,169 vertices): a header naming more is
// damaged.
constexpr uint64_t kMaxCacheSize =
    kHeaderSize + uint64_t(kMaxMeshVertices) * 12 + uint64_t(kMaxMeshTriangles) * 3 * 4;
template <typename T>
void Put(std::string& out, const T& value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof(T));
}

template <typename T>
T Get(std::string_view in, size_t at) {
    T value;
    std::memcpy(&value, in.data() + at, sizeof(T));
    return value;
}

// Removes the caches in `folder` other than `kept` whose last use is older than
// kMeshCacheUnusedDays days. Errors are ignored: a cache that stays costs only disk space.
void RemoveUnusedCaches(const std::filesystem::path& folder, const std::filesystem::path& kept) {
    namespace fs = std::filesystem;
    const auto oldest =
        fs::file_time_type::clock::now() - std::chrono::hours(24) * kMeshCacheUnusedDays;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code ignored;
        const fs::path& p = it->path();
        if (p.extension() != ".vmesh" || p.filename() == kept.filename() ||
            !it->is_regular_file(ignored))
            continue;
        const fs::file_time_type used = fs::last_write_time(p, ignored);
        if (!ignored && used < oldest) fs::remove(p, ignored);
    }
}

}  // namespace

uint64_t HashBytes(std::string_view bytes) {
    // Eight bytes at a time, multiply and rotate, then the tail and a final mix.
    uint64_t h = 0x9E3779B97F4A7C15ull ^ bytes.size();
    size_t k = 0;
    for (; k + 8 <= bytes.size(); k += 8) {
        uint64_t w;
        std::memcpy(&w, bytes.data() + k, 8);
        h = (h ^ (w * 0xC2B2AE3D27D4EB4Full)) * 0x9E3779B97F4A7C15ull;
        h = (h << 31) | (h >> 33);
    }
    for (; k < bytes.size(); ++k) h = (h ^ uint8_t(bytes[k])) * 0x100000001B3ull;
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    return h;
}

std::filesystem::path MeshCachePath(const std::filesystem::path& cacheFolder,
                                    const std::filesystem::path& meshFile,
                                    std::string_view sourceBytes) {
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx",
                  static_cast<unsigned long long>(HashBytes(sourceBytes)));
    return cacheFolder / (meshFile.stem().string() + "-" + hex + ".vmesh");
}

void WeldMesh(TSKIRawMesh& mesh) {
    // First each vertex's position, counted once (an open table of position numbers, keyed by
    // the bits of the three floats); then the numbering by first use.
    constexpr uint32_t kEmpty = ~0u;
    const size_t n = mesh.Vertices.size();
    int bits = 4;
    while ((size_t(1) << bits) < 2 * n) ++bits;
    const size_t mask = (size_t(1) << bits) - 1;
    std::vector<uint32_t> table(mask + 1, kEmpty);
    std::vector<uint32_t> first;  // the first vertex at each position
    first.reserve(n);
    std::vector<uint32_t> position(n);
    auto same = [&](uint32_t a, uint32_t b) {
        return std::memcmp(&mesh.Vertices[a], &mesh.Vertices[b], sizeof(glm::vec3)) == 0;
    };
    for (size_t v = 0; v < n; ++v) {
        uint32_t k[3];
        std::memcpy(k, &mesh.Vertices[v], sizeof k);
        const uint64_t mixed = (uint64_t(k[0]) * 0x9E3779B97F4A7C15ull) ^
                               (uint64_t(k[1]) * 0xC2B2AE3D27D4EB4Full) ^
                               (uint64_t(k[2]) * 0x165667B19E3779F9ull);
        size_t slot = size_t((mixed ^ (mixed >> 29)) * 0xBF58476D1CE4E5B9ull >> (64 - bits));
        while (table[slot] != kEmpty && !same(first[table[slot]], uint32_t(v)))
            slot = (slot + 1) & mask;
        if (table[slot] == kEmpty) {
            table[slot] = uint32_t(first.size());
            first.push_back(uint32_t(v));
        }
        position[v] = table[slot];
    }
    const size_t positions = first.size();
    constexpr uint32_t kUnused = ~0u;
    std::vector<uint32_t> number(positions, kUnused);
    std::vector<glm::vec3> kept;
    kept.reserve(positions);
    for (uint32_t& idx : mesh.Indices) {
        uint32_t& keptAs = number[position[idx]];
        if (keptAs == kUnused) {
            keptAs = uint32_t(kept.size());
            kept.push_back(mesh.Vertices[idx]);
        }
        idx = keptAs;
    }
    mesh.Vertices = std::move(kept);
}

bool ReadMeshCache(const std::filesystem::path& path, std::string_view sourceBytes,
                   TSKIRawMesh& out) {
    out = {};
    std::error_code ec;
    const uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || size < kHeaderSize || size > kMaxCacheSize) return false;
    std::string cache;
    if (!ReadWholeFile(path, cache)) return false;
    const std::string_view in = cache;
    if (in.size() < kHeaderSize || std::memcmp(in.data(), kMagic, sizeof kMagic) != 0) return false;
    if (Get<uint64_t>(in, 16) != sourceBytes.size() ||
        Get<uint64_t>(in, 24) != HashBytes(sourceBytes))
        return false;
    // The counts must fit the file before anything is allocated, and the body must be the one
    // that was written.
    const uint32_t vertices = Get<uint32_t>(in, 32), indices = Get<uint32_t>(in, 36);
    if (vertices == 0 || vertices > kMaxMeshVertices || indices > 3 * kMaxMeshTriangles ||
        indices % 3 != 0 || indices == 0)
        return false;
    if (in.size() != kHeaderSize + size_t(vertices) * 12 + size_t(indices) * 4) return false;
    if (Get<uint64_t>(in, 40) != HashBytes(in.substr(kHeaderSize))) return false;
    // A body that hashes right may still have been made by hand: every value is checked.
    TSKIRawMesh mesh;
    mesh.Vertices.resize(vertices);
    mesh.Indices.resize(indices);
    std::memcpy(mesh.Vertices.data(), in.data() + kHeaderSize, size_t(vertices) * 12);
    std::memcpy(mesh.Indices.data(), in.data() + kHeaderSize + size_t(vertices) * 12,
                size_t(indices) * 4);
    for (const glm::vec3& v : mesh.Vertices) {
        if (!InLevelBounds(v)) return false;
    }
    for (uint32_t idx : mesh.Indices) {
        if (idx >= vertices) return false;
    }
    out = std::move(mesh);
    // Marked as used, so that unused caches can go (RemoveUnusedCaches).
    std::filesystem::last_write_time(path, std::filesystem::file_time_type::clock::now(), ec);
    return true;
}

bool WriteMeshCache(const std::filesystem::path& path, std::string_view sourceBytes,
                    const TSKIRawMesh& mesh, std::string* error) {
    for (uint32_t idx : mesh.Indices) {
        if (idx >= mesh.Vertices.size()) {
            if (error)
                *error = "the cache " + path.string() + " would name an index past its vertices";
            return false;
        }
    }
    static_assert(sizeof(glm::vec3) == 12);
    std::string out(kMagic, sizeof kMagic);
    Put(out, uint64_t(sourceBytes.size()));
    Put(out, HashBytes(sourceBytes));
    Put(out, uint32_t(mesh.Vertices.size()));
    Put(out, uint32_t(mesh.Indices.size()));
    std::string body;
    body.append(reinterpret_cast<const char*>(mesh.Vertices.data()), mesh.Vertices.size() * 12);
    body.append(reinterpret_cast<const char*>(mesh.Indices.data()), mesh.Indices.size() * 4);
    Put(out, HashBytes(body));
    out += body;
    std::error_code ec;
    std::filesystem::create_directories(path.parent_path(), ec);
    std::string why;
    if (!WriteFileAtomically(path, out, &why)) {
        if (error) *error = why;
        return false;
    }
    RemoveUnusedCaches(path.parent_path(), path);
    return true;
}

}  // namespace vallorn
