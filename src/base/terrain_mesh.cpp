#include "base/terrain_mesh.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <glm/geometric.hpp>
#include <glm/vec3.hpp>

#include "base/atomic_file.h"
#include "base/terrain_mesh_cache.h"

namespace vallorn {
namespace {

constexpr float kRayStart = 1000.0f;
// Points on a shared edge or vertex belong to every triangle that touches them.
constexpr double kEdgeTolerance = 1e-9;

// The height of the triangle above the ground point (x, z), when the point lies in the
// triangle's ground projection.
bool HeightInTriangle(float x, float z, const glm::vec3& p0, const glm::vec3& p1,
                      const glm::vec3& p2, double& h) {
    // Barycentric coordinates of (x, z) in the triangle's ground projection.
    const double e1x = double(p1.x) - p0.x, e1z = double(p1.z) - p0.z;
    const double e2x = double(p2.x) - p0.x, e2z = double(p2.z) - p0.z;
    const double det = e1x * e2z - e2x * e1z;
    if (det == 0) return false;  // vertical or degenerate: a vertical ray grazes it
    const double dx = double(x) - p0.x, dz = double(z) - p0.z;
    const double u = (dx * e2z - e2x * dz) / det;
    const double v = (e1x * dz - dx * e1z) / det;
    // Written so that a NaN (from coordinates beyond all reason) is a miss.
    if (!(u >= -kEdgeTolerance && v >= -kEdgeTolerance && u + v <= 1 + kEdgeTolerance))
        return false;
    if (u == 0 && v == 0) {
        h = p0.y;  // exactly on a vertex: its own height, no rounding
    } else if (u == 1 && v == 0) {
        h = p1.y;
    } else if (u == 0 && v == 1) {
        h = p2.y;
    } else {
        h = double(p0.y) + u * (double(p1.y) - p0.y) + v * (double(p2.y) - p0.y);
    }
    return std::isfinite(h);
}

bool Finite(const glm::vec3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// The cast grid's buckets are the map's cells: their edges run through the cells' world
// points (x = -4i - 0.5, z = 4j - 0.5), over the ground a level can reach.
constexpr double kBucket = kCellSize;
constexpr double kBucketOrigin = -0.5;
constexpr double kReachLoX = -2.0 * kLevelReach - 1.0, kReachHiX = kLevelReach + 1.0;
constexpr double kReachLoZ = -kLevelReach - 1.0, kReachHiZ = 2.0 * kLevelReach + 1.0;
// What a crossing of an edge with a row's boundary may be off by: the triangle then also
// goes into the bucket it might reach.
constexpr double kCrossingSlack = 1e-3;

// The buckets [a, b] of n that the range [lo, hi] overlaps, measured from `origin`: a range
// that ends exactly on a boundary does not reach into the bucket beyond it (a point on that
// boundary also looks one bucket back, see CastDown); a range beyond the grid is held to
// its border buckets.
void Span(double lo, double hi, double origin, int n, int& a, int& b) {
    const double flo = (lo - origin) / kBucket, fhi = (hi - origin) / kBucket;
    a = int(std::clamp(std::floor(flo), -1.0, double(n)));
    b = int(std::clamp(std::floor(fhi), -1.0, double(n)));
    if (double(b) == fhi && b > a) --b;
    a = std::clamp(a, 0, n - 1);
    b = std::clamp(b, 0, n - 1);
}

// The x range of a triangle's ground projection within the rows zl..zh.
void RowRange(const glm::vec3* p[3], double zl, double zh, double& lo, double& hi) {
    lo = INFINITY;
    hi = -INFINITY;
    for (int k = 0; k < 3; ++k) {
        const glm::vec3 &a = *p[k], &b = *p[(k + 1) % 3];
        if (a.z >= zl && a.z <= zh) {
            lo = std::min(lo, double(a.x));
            hi = std::max(hi, double(a.x));
        }
        for (const double line : {zl, zh}) {
            if (!((a.z < line && b.z > line) || (a.z > line && b.z < line))) continue;
            const double x = a.x + (line - a.z) * (double(b.x) - a.x) / (double(b.z) - a.z);
            lo = std::min(lo, x - kCrossingSlack);
            hi = std::max(hi, x + kCrossingSlack);
        }
    }
    if (lo > hi) lo = hi = (double(p[0]->x) + p[1]->x + p[2]->x) / 3;  // not reached: a corner
}

}  // namespace

bool InLevelBounds(const glm::vec3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z) &&
           v.x >= -2.0f * kLevelReach - 1.0f && v.x <= kLevelReach + 1.0f &&
           v.z >= -kLevelReach - 1.0f && v.z <= 2.0f * kLevelReach + 1.0f &&
           std::fabs(v.y) <= kMaxMeshHeight;
}

namespace {

// The meshes the last loads built, by the bytes they were built from: a level loaded again
// (a saved game of it, the next mission on it) shares them instead of building them again.
// A load with a cache folder shares a mesh only while the cache is as this process last read
// or wrote it, so that a cache removed or changed since is read or made again.
struct TCacheStamp {
    uintmax_t Size = 0;
    std::filesystem::file_time_type Time{};
    bool operator==(const TCacheStamp&) const = default;
};

TCacheStamp StampOf(const std::filesystem::path& cache) {
    if (cache.empty()) return {};
    std::error_code ec;
    TCacheStamp stamp{std::filesystem::file_size(cache, ec), {}};
    if (ec) return {};
    stamp.Time = std::filesystem::last_write_time(cache, ec);
    return ec ? TCacheStamp{} : stamp;
}

struct TBuiltMesh {
    uint64_t Hash = 0;
    size_t Size = 0;
    float ScaleY = 0;
    bool Castable = false;
    std::filesystem::path Cache;  // the cache it was read from or written to, if any
    TCacheStamp Stamp;
    std::shared_ptr<const void> Data;
};
constexpr size_t kBuiltMeshesKept = 2;  // a level's surface and skirt

std::mutex& BuiltMeshesLock() {
    static auto* lock = new std::mutex;
    return *lock;
}
std::vector<TBuiltMesh>& BuiltMeshes() {
    static auto* meshes = new std::vector<TBuiltMesh>;
    return *meshes;
}

}  // namespace

const std::vector<glm::vec3>& TSKITerrainMesh::Vertices() const {
    static const std::vector<glm::vec3> none;
    return data_ ? data_->Vertices : none;
}

const std::vector<uint32_t>& TSKITerrainMesh::Indices() const {
    static const std::vector<uint32_t> none;
    return data_ ? data_->Indices : none;
}

bool TSKITerrainMesh::Load(const std::filesystem::path& file, float scaleY, std::string* error,
                           const std::filesystem::path& cacheFolder, bool castable) {
    Clear();
    std::error_code ec;
    std::string bytes;
    if (!std::filesystem::is_regular_file(file, ec) || !ReadWholeFile(file, bytes)) {
        if (error) *error = "terrain mesh " + file.string() + " is missing";
        return false;
    }
    const uint64_t hash = HashBytes(bytes);
    const std::filesystem::path cache =
        cacheFolder.empty() ? std::filesystem::path() : MeshCachePath(cacheFolder, file, bytes);
    {
        const std::lock_guard lock(BuiltMeshesLock());
        for (const TBuiltMesh& m : BuiltMeshes()) {
            if (m.Hash == hash && m.Size == bytes.size() && m.ScaleY == scaleY &&
                m.Castable == castable &&
                (cache.empty() || (m.Cache == cache && m.Stamp == StampOf(cache)))) {
                data_ = std::static_pointer_cast<const TData>(m.Data);
                // The cache is the one read or written with these triangles.
                fromCache_ = !cache.empty();
                return true;
            }
        }
    }
    // The cache made from these very bytes, else the file, whose triangles are then kept in
    // the cache for the next load (welded as the cache keeps them, so that both ways give the
    // same vertices).
    TSKIRawMesh mesh;
    bool fromCache = !cache.empty() && ReadMeshCache(cache, bytes, mesh);
    if (!fromCache) {
        if (!ReadMeshBytes(file, bytes, mesh, error)) return false;
        WeldMesh(mesh);
        if (!cache.empty()) WriteMeshCache(cache, bytes, mesh, nullptr);
    }
    for (glm::vec3& v : mesh.Vertices) v.y *= scaleY;
    std::string why;
    if (!Build(std::move(mesh.Vertices), std::move(mesh.Indices), castable, &why) || Empty()) {
        if (error) {
            *error = "terrain mesh " + file.string() + " " +
                     (why.empty() ? "holds no triangle with an area" : why);
        }
        return false;
    }
    fromCache_ = fromCache;
    const std::lock_guard lock(BuiltMeshesLock());
    auto& built = BuiltMeshes();
    if (built.size() >= kBuiltMeshesKept) built.erase(built.begin());
    built.push_back({hash, bytes.size(), scaleY, castable, cache, StampOf(cache), data_});
    return true;
}

void TSKITerrainMesh::Clear() {
    data_.reset();
    fromCache_ = false;
}

bool TSKITerrainMesh::Build(std::vector<glm::vec3> vertices, std::vector<uint32_t> indices,
                            bool castable, std::string* why) {
    Clear();
    auto d = std::make_shared<TData>();
    std::vector<glm::vec3>& vertices_ = d->Vertices;
    std::vector<uint32_t>& indices_ = d->Indices;
    size_t& triangles_ = d->Triangles;
    double &minX_ = d->MinX, &minZ_ = d->MinZ;
    int &nx_ = d->Nx, &nz_ = d->Nz;
    uint32_t& mostInBucket_ = d->MostInBucket;
    std::vector<uint32_t>& bucketStart_ = d->BucketStart;
    std::vector<uint32_t>& bucketTris_ = d->BucketTris;
    vertices_ = std::move(vertices);
    // Only whole triangles of existing, finite vertices with an area are kept.
    auto usable = [&](uint32_t k) { return k < vertices_.size() && Finite(vertices_[k]); };
    size_t kept = 0;
    for (size_t t = 0; t + 2 < indices.size(); t += 3) {
        if (!usable(indices[t]) || !usable(indices[t + 1]) || !usable(indices[t + 2])) continue;
        const glm::dvec3 a(vertices_[indices[t]]), b(vertices_[indices[t + 1]]),
            c(vertices_[indices[t + 2]]);
        if (glm::cross(b - a, c - a) == glm::dvec3(0)) continue;
        for (size_t k = 0; k < 3; ++k) indices[kept++] = indices[t + k];
    }
    indices.resize(kept);
    indices_ = std::move(indices);
    triangles_ = indices_.size() / 3;
    if (triangles_ == 0 || !castable) {
        data_ = std::move(d);
        return true;
    }

    // The triangles a vertical ray can hit: an area seen from above, and some of it within
    // the level's reach.
    auto corner = [&](uint32_t t, int k) -> const glm::vec3& {
        return vertices_[indices_[3 * size_t(t) + size_t(k)]];
    };
    std::vector<uint32_t> cast;
    double minX = INFINITY, minZ = INFINITY, maxX = -INFINITY, maxZ = -INFINITY;
    for (uint32_t t = 0; t < triangles_; ++t) {
        const glm::vec3 &a = corner(t, 0), &b = corner(t, 1), &c = corner(t, 2);
        const double det =
            (double(b.x) - a.x) * (double(c.z) - a.z) - (double(c.x) - a.x) * (double(b.z) - a.z);
        const double x0 = std::min({a.x, b.x, c.x}), x1 = std::max({a.x, b.x, c.x});
        const double z0 = std::min({a.z, b.z, c.z}), z1 = std::max({a.z, b.z, c.z});
        if (det == 0 || x1 < kReachLoX || x0 > kReachHiX || z1 < kReachLoZ || z0 > kReachHiZ)
            continue;
        cast.push_back(t);
        minX = std::min(minX, x0);
        maxX = std::max(maxX, x1);
        minZ = std::min(minZ, z0);
        maxZ = std::max(maxZ, z1);
    }
    if (cast.empty()) {
        data_ = std::move(d);
        return true;
    }
    const double gx0 = std::floor((std::max(minX, kReachLoX) - kBucketOrigin) / kBucket);
    const double gx1 = std::floor((std::min(maxX, kReachHiX) - kBucketOrigin) / kBucket);
    const double gz0 = std::floor((std::max(minZ, kReachLoZ) - kBucketOrigin) / kBucket);
    const double gz1 = std::floor((std::min(maxZ, kReachHiZ) - kBucketOrigin) / kBucket);
    minX_ = kBucketOrigin + gx0 * kBucket;
    minZ_ = kBucketOrigin + gz0 * kBucket;
    nx_ = int(gx1 - gx0) + 1;
    nz_ = int(gz1 - gz0) + 1;

    // Each triangle goes into the buckets its ground projection overlaps, row by row (on
    // the map's own grid, into exactly one). `visit` returns false to stop.
    auto forEachBucket = [&](uint32_t t, auto&& visit) {
        const glm::vec3* p[3] = {&corner(t, 0), &corner(t, 1), &corner(t, 2)};
        const double z0 = std::min({p[0]->z, p[1]->z, p[2]->z});
        const double z1 = std::max({p[0]->z, p[1]->z, p[2]->z});
        int r0, r1;
        Span(z0, z1, minZ_, nz_, r0, r1);
        if (r0 == r1) {  // within one row, as on the map's own grid: its whole x range
            int c0, c1;
            Span(std::min({p[0]->x, p[1]->x, p[2]->x}), std::max({p[0]->x, p[1]->x, p[2]->x}),
                 minX_, nx_, c0, c1);
            for (int c = c0; c <= c1; ++c)
                if (!visit(size_t(c) * size_t(nz_) + size_t(r0))) return false;
            return true;
        }
        for (int r = r0; r <= r1; ++r) {
            const double zl = std::max(z0, minZ_ + r * kBucket);
            const double zh = std::min(z1, minZ_ + (r + 1) * kBucket);
            double lo, hi;
            RowRange(p, std::min(zl, zh), zh, lo, hi);
            int c0, c1;
            Span(lo, hi, minX_, nx_, c0, c1);
            for (int c = c0; c <= c1; ++c)
                if (!visit(size_t(c) * size_t(nz_) + size_t(r))) return false;
        }
        return true;
    };

    // Counting sort of the triangles into their buckets, refused as soon as the entries pass
    // their bound: the work stays within it whatever the triangles.
    auto refuse = [&](const std::string& reason) {
        Clear();
        if (why) *why = reason;
        return false;
    };
    // The buckets of each triangle are worked out once: the count keeps them, in the
    // triangles' order, for the fill.
    bucketStart_.assign(size_t(nx_) * size_t(nz_) + 1, 0);
    std::vector<uint32_t> placed;  // bucket of each entry, triangle by triangle
    std::vector<uint32_t> perTriangle(cast.size());
    placed.reserve(cast.size() + cast.size() / 2);
    for (size_t k = 0; k < cast.size(); ++k) {
        const size_t before = placed.size();
        const bool fits = forEachBucket(cast[k], [&](size_t b) {
            ++bucketStart_[b + 1];
            placed.push_back(uint32_t(b));
            return placed.size() <= kMaxCastEntries;
        });
        if (!fits) return refuse("covers the ground too many times over to be a terrain");
        perTriangle[k] = uint32_t(placed.size() - before);
    }
    for (size_t k = 1; k < bucketStart_.size(); ++k) {
        mostInBucket_ = std::max(mostInBucket_, bucketStart_[k]);
        bucketStart_[k] += bucketStart_[k - 1];
    }
    if (mostInBucket_ > kMaxCastPile)
        return refuse("piles more than " + std::to_string(kMaxCastPile) +
                      " triangles over one cell: it is no terrain");
    bucketTris_.resize(bucketStart_.back());
    // Filled through the starts, which thereby move one bucket on; then moved back.
    for (size_t k = 0, e = 0; k < cast.size(); ++k)
        for (uint32_t n = 0; n < perTriangle[k]; ++n)
            bucketTris_[bucketStart_[placed[e++]]++] = cast[k];
    std::copy_backward(bucketStart_.begin(), bucketStart_.end() - 1, bucketStart_.end());
    bucketStart_[0] = 0;
    data_ = std::move(d);
    return true;
}

bool TSKITerrainMesh::CastDown(float x, float z, float& y) const {
    if (!data_ || data_->BucketStart.empty() || !std::isfinite(x) || !std::isfinite(z))
        return false;
    const TData& d = *data_;
    // The bucket of the point, and the one before it when the point lies exactly on their
    // shared boundary (triangles that end there were put only into the one before). No
    // triangle reaches a point beyond the grid.
    auto candidates = [](double f, int n, int& first, int& last) {
        if (!(f >= 0 && f <= double(n))) return false;
        const int k = int(f);
        last = std::min(k, n - 1);
        first = (double(k) == f && k > 0) ? k - 1 : last;
        return true;
    };
    int x0, x1, z0, z1;
    if (!candidates((double(x) - d.MinX) / kBucket, d.Nx, x0, x1) ||
        !candidates((double(z) - d.MinZ) / kBucket, d.Nz, z0, z1))
        return false;
    bool hit = false;
    double best = -INFINITY;
    for (int bx = x0; bx <= x1; ++bx) {
        for (int bz = z0; bz <= z1; ++bz) {
            const size_t b = size_t(bx) * size_t(d.Nz) + size_t(bz);
            for (uint32_t k = d.BucketStart[b]; k < d.BucketStart[b + 1]; ++k) {
                const uint32_t* t = &d.Indices[3 * size_t(d.BucketTris[k])];
                double h;
                if (!HeightInTriangle(x, z, d.Vertices[t[0]], d.Vertices[t[1]], d.Vertices[t[2]],
                                      h) ||
                    h > kRayStart)
                    continue;
                if (!hit || h > best) {
                    best = h;
                    hit = true;
                }
            }
        }
    }
    if (hit) y = float(best);
    return hit;
}

bool TSKITerrainMesh::CellHeight(int i, int j, float& y) const {
    if (!data_ || i < 0 || j < 0 || i >= kGridSize || j >= kGridSize) return false;
    const TData& d = *data_;
    std::call_once(d.CellHeightsOnce, [&] {
        d.CellHeights.assign(size_t(kGridSize) * kGridSize, NAN);
        for (int a = 0; a < kGridSize; ++a)
            for (int b = 0; b < kGridSize; ++b)
                CastDown(-kCellSize * float(a) - 0.5f, kCellSize * float(b) - 0.5f,
                         d.CellHeights[size_t(a) * kGridSize + size_t(b)]);
    });
    const float h = d.CellHeights[size_t(i) * kGridSize + size_t(j)];
    if (std::isnan(h)) return false;  // a hit is always finite
    y = h;
    return true;
}

}  // namespace vallorn
