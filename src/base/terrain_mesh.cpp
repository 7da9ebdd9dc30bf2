#include "base/terrain_mesh.h"

#include <algorithm>
#include <cmath>

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

// Bounds of the bucket grid, whatever the triangles: buckets per axis, and bucket entries
// (a triangle counted once per bucket it overlaps) per triangle on average.
constexpr int kMaxBucketsPerAxis = 4096;
constexpr uint64_t kEntriesPerTriangle = 8;
constexpr uint64_t kMinEntries = 65536;

bool Finite(const glm::vec3& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

// The extent of the bucket grid along one axis: the triangles' whole extent [lo, hi], but
// no further than the spread of the middle 98 % of their centres beyond that middle, so that
// a few stray vertices far off cannot stretch every bucket. Triangles beyond it fall into the
// border buckets.
void GridExtent(std::vector<double>& centres, double lo, double hi, double& a, double& b) {
    const size_t n = centres.size();
    auto nth = [&](size_t k) {
        std::nth_element(centres.begin(), centres.begin() + long(k), centres.end());
        return centres[k];
    };
    const double q0 = nth(n / 100), q1 = nth(n - 1 - n / 100);
    const double spread = q1 - q0;
    a = std::max(lo, q0 - spread - 1.0);
    b = std::min(hi, q1 + spread + 1.0);
}

}  // namespace

bool TSKITerrainMesh::Load(const std::filesystem::path& file, float scaleY, std::string* error,
                           const std::filesystem::path& cacheFolder) {
    Clear();
    std::error_code ec;
    std::string bytes;
    if (!std::filesystem::is_regular_file(file, ec) || !ReadWholeFile(file, bytes)) {
        if (error) *error = "terrain mesh " + file.string() + " is missing";
        return false;
    }
    // The cache made from these very bytes, else the file, whose triangles are then kept in
    // the cache for the next load (welded as the cache keeps them, so that both ways give the
    // same vertices).
    TSKIRawMesh mesh;
    const std::filesystem::path cache =
        cacheFolder.empty() ? std::filesystem::path() : MeshCachePath(cacheFolder, file, bytes);
    bool fromCache = !cache.empty() && ReadMeshCache(cache, bytes, mesh);
    if (!fromCache) {
        if (!ReadMeshBytes(file, bytes, mesh, error)) return false;
        WeldMesh(mesh);
        if (!cache.empty()) WriteMeshCache(cache, bytes, mesh, nullptr);
    }
    for (glm::vec3& v : mesh.Vertices) v.y *= scaleY;
    Build(std::move(mesh.Vertices), std::move(mesh.Indices));
    fromCache_ = fromCache;
    return true;
}

void TSKITerrainMesh::Clear() {
    vertices_.clear();
    indices_.clear();
    triangles_ = 0;
    fromCache_ = false;
    minX_ = minZ_ = 0;
    bucket_ = 1;
    nx_ = nz_ = 0;
    bucketStart_.clear();
    bucketTris_.clear();
}

void TSKITerrainMesh::Build(std::vector<glm::vec3> vertices, std::vector<uint32_t> indices) {
    Clear();
    vertices_ = std::move(vertices);
    // Only whole triangles of existing, finite vertices are kept.
    auto usable = [&](uint32_t k) { return k < vertices_.size() && Finite(vertices_[k]); };
    size_t kept = 0;
    for (size_t t = 0; t + 2 < indices.size(); t += 3) {
        if (!usable(indices[t]) || !usable(indices[t + 1]) || !usable(indices[t + 2])) continue;
        for (size_t k = 0; k < 3; ++k) indices[kept++] = indices[t + k];
    }
    indices.resize(kept);
    indices_ = std::move(indices);
    triangles_ = indices_.size() / 3;
    if (triangles_ == 0) return;

    auto corner = [&](size_t t, int k) -> const glm::vec3& {
        return vertices_[indices_[3 * t + k]];
    };
    double minX = INFINITY, minZ = INFINITY, maxX = -INFINITY, maxZ = -INFINITY;
    std::vector<double> centreX(triangles_), centreZ(triangles_);
    for (size_t t = 0; t < triangles_; ++t) {
        for (int k = 0; k < 3; ++k) {
            minX = std::min(minX, double(corner(t, k).x));
            maxX = std::max(maxX, double(corner(t, k).x));
            minZ = std::min(minZ, double(corner(t, k).z));
            maxZ = std::max(maxZ, double(corner(t, k).z));
        }
        centreX[t] = (double(corner(t, 0).x) + corner(t, 1).x + corner(t, 2).x) / 3.0;
        centreZ[t] = (double(corner(t, 0).z) + corner(t, 1).z + corner(t, 2).z) / 3.0;
    }
    double x0, x1, z0, z1;
    GridExtent(centreX, minX, maxX, x0, x1);
    GridExtent(centreZ, minZ, maxZ, z0, z1);
    centreX = {};
    centreZ = {};

    // About two triangles per bucket: a bucket of the area of two average triangles, within
    // the bounds on buckets per axis and in all.
    const double width = std::max(1e-3, x1 - x0);
    const double depth = std::max(1e-3, z1 - z0);
    double bucket = std::sqrt(width * depth * 2.0 / double(triangles_));
    const double maxBuckets = 4.0 * double(triangles_) + 16.0;
    if ((width / bucket) * (depth / bucket) > maxBuckets)
        bucket = std::sqrt(width * depth / maxBuckets);
    bucket = std::max({bucket, 1e-3, std::max(width, depth) / kMaxBucketsPerAxis});
    minX_ = x0;
    minZ_ = z0;
    auto size = [&](double b) {
        bucket_ = b;
        nx_ = int(std::clamp(width / b + 1.0, 1.0, double(kMaxBucketsPerAxis)));
        nz_ = int(std::clamp(depth / b + 1.0, 1.0, double(kMaxBucketsPerAxis)));
    };
    size(bucket);

    // A triangle goes into the buckets its bounding box overlaps; a box that ends exactly on
    // a bucket boundary does not reach into the bucket beyond it (a point on that boundary
    // also looks one bucket back, see CastDown). On a regular grid every triangle thus lands
    // in one bucket. A box beyond the grid is held to its border buckets.
    auto span = [](double lo, double hi, double origin, double size, int n, int& a, int& b) {
        const double flo = (lo - origin) / size, fhi = (hi - origin) / size;
        a = int(std::clamp(std::floor(flo), -1.0, double(n)));
        b = int(std::clamp(std::floor(fhi), -1.0, double(n)));
        if (double(b) == fhi && b > a) --b;
        a = std::clamp(a, 0, n - 1);
        b = std::clamp(b, 0, n - 1);
    };
    auto bucketRange = [&](size_t t, int& bx0, int& bx1, int& bz0, int& bz1) {
        const glm::vec3 &a = corner(t, 0), &b = corner(t, 1), &c = corner(t, 2);
        span(std::min({a.x, b.x, c.x}), std::max({a.x, b.x, c.x}), minX_, bucket_, nx_, bx0, bx1);
        span(std::min({a.z, b.z, c.z}), std::max({a.z, b.z, c.z}), minZ_, bucket_, nz_, bz0, bz1);
    };
    // Large triangles over small buckets would make the entries many: the buckets grow until
    // the entries fit their bound (one bucket holds every triangle once).
    const uint64_t maxEntries = kEntriesPerTriangle * triangles_ + kMinEntries;
    auto entriesFit = [&] {
        uint64_t entries = 0;
        for (size_t t = 0; t < triangles_ && entries <= maxEntries; ++t) {
            int bx0, bx1, bz0, bz1;
            bucketRange(t, bx0, bx1, bz0, bz1);
            entries += uint64_t(bx1 - bx0 + 1) * uint64_t(bz1 - bz0 + 1);
        }
        return entries <= maxEntries;
    };
    while ((nx_ > 1 || nz_ > 1) && !entriesFit()) size(bucket_ * 2.0);

    // Counting sort of the triangles into their buckets.
    bucketStart_.assign(size_t(nx_) * nz_ + 1, 0);
    for (size_t t = 0; t < triangles_; ++t) {
        int bx0, bx1, bz0, bz1;
        bucketRange(t, bx0, bx1, bz0, bz1);
        for (int x = bx0; x <= bx1; ++x)
            for (int z = bz0; z <= bz1; ++z) ++bucketStart_[size_t(x) * nz_ + z + 1];
    }
    for (size_t k = 1; k < bucketStart_.size(); ++k) bucketStart_[k] += bucketStart_[k - 1];
    bucketTris_.resize(bucketStart_.back());
    std::vector<uint32_t> fill(bucketStart_.begin(), bucketStart_.end() - 1);
    for (size_t t = 0; t < triangles_; ++t) {
        int bx0, bx1, bz0, bz1;
        bucketRange(t, bx0, bx1, bz0, bz1);
        for (int x = bx0; x <= bx1; ++x)
            for (int z = bz0; z <= bz1; ++z) bucketTris_[fill[size_t(x) * nz_ + z]++] = uint32_t(t);
    }
}

bool TSKITerrainMesh::CastDown(float x, float z, float& y) const {
    if (triangles_ == 0 || !std::isfinite(x) || !std::isfinite(z)) return false;
    // The bucket of the point, and the one before it when the point lies exactly on their
    // shared boundary (triangles that end there were put only into the one before). A point
    // beyond the grid looks into the border bucket, which holds every triangle beyond it.
    auto candidates = [](double f, int n, int& first, int& last) {
        if (std::isnan(f)) return false;
        if (f < 0) {
            first = last = 0;
            return true;
        }
        const int k = int(std::min(f, double(n)));
        last = std::min(k, n - 1);
        first = (double(k) == f && k > 0) ? std::min(k - 1, last) : last;
        return true;
    };
    int x0, x1, z0, z1;
    if (!candidates((double(x) - minX_) / bucket_, nx_, x0, x1) ||
        !candidates((double(z) - minZ_) / bucket_, nz_, z0, z1))
        return false;
    bool hit = false;
    double best = -INFINITY;
    for (int bx = x0; bx <= x1; ++bx) {
        for (int bz = z0; bz <= z1; ++bz) {
            const size_t b = size_t(bx) * nz_ + bz;
            for (uint32_t k = bucketStart_[b]; k < bucketStart_[b + 1]; ++k) {
                const uint32_t t = bucketTris_[k];
                double h;
                if (!HeightInTriangle(x, z, vertices_[indices_[3 * t]],
                                      vertices_[indices_[3 * t + 1]],
                                      vertices_[indices_[3 * t + 2]], h) ||
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

}  // namespace vallorn
