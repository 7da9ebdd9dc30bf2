#include "engine/terrain_mesh.h"

#include <algorithm>
#include <cmath>

#include "engine/terrain_mesh_cache.h"
#include "persistence/atomic_file.h"

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
    if (u < -kEdgeTolerance || v < -kEdgeTolerance || u + v > 1 + kEdgeTolerance) return false;
    if (u == 0 && v == 0) {
        h = p0.y;  // exactly on a vertex: its own height, no rounding
    } else if (u == 1 && v == 0) {
        h = p1.y;
    } else if (u == 0 && v == 1) {
        h = p2.y;
    } else {
        h = double(p0.y) + u * (double(p1.y) - p0.y) + v * (double(p2.y) - p0.y);
    }
    return true;
}

}  // namespace

bool TSKITerrainMesh::Load(const std::filesystem::path& file, float scaleY, std::string* error) {
    Clear();
    std::error_code ec;
    std::string bytes;
    if (!std::filesystem::is_regular_file(file, ec) || !ReadWholeFile(file, bytes)) {
        if (error) *error = "terrain mesh " + file.string() + " is missing";
        return false;
    }
    // The binary cache beside the file when it was made from these very bytes, else the file.
    TSKIRawMesh mesh;
    if (!ReadMeshCache(file, bytes, mesh) && !ReadMeshBytes(file, bytes, mesh, error)) return false;
    for (glm::vec3& v : mesh.Vertices) v.y *= scaleY;
    Build(std::move(mesh.Vertices), std::move(mesh.Indices));
    return true;
}

void TSKITerrainMesh::Clear() {
    vertices_.clear();
    indices_.clear();
    triangles_ = 0;
    minX_ = minZ_ = 0;
    bucket_ = 1;
    nx_ = nz_ = 0;
    bucketStart_.clear();
    bucketTris_.clear();
}

void TSKITerrainMesh::Build(std::vector<glm::vec3> vertices, std::vector<uint32_t> indices) {
    Clear();
    indices.resize(indices.size() / 3 * 3);
    vertices_ = std::move(vertices);
    indices_ = std::move(indices);
    triangles_ = indices_.size() / 3;
    if (triangles_ == 0) return;

    float minX = INFINITY, minZ = INFINITY, maxX = -INFINITY, maxZ = -INFINITY;
    for (uint32_t idx : indices_) {
        const glm::vec3& p = vertices_[idx];
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minZ = std::min(minZ, p.z);
        maxZ = std::max(maxZ, p.z);
    }
    // About two triangles per bucket: a bucket of the area of two average triangles.
    const double width = std::max(1e-3, double(maxX - minX));
    const double depth = std::max(1e-3, double(maxZ - minZ));
    double bucket = std::sqrt(width * depth * 2.0 / double(triangles_));
    const double maxBuckets = 4.0 * double(triangles_) + 16.0;
    if ((width / bucket) * (depth / bucket) > maxBuckets)
        bucket = std::sqrt(width * depth / maxBuckets);
    bucket = std::max(bucket, 1e-3);
    minX_ = minX;
    minZ_ = minZ;
    bucket_ = float(bucket);
    nx_ = std::max(1, int(width / bucket) + 1);
    nz_ = std::max(1, int(depth / bucket) + 1);

    // A triangle goes into the buckets its bounding box overlaps; a box that ends exactly on
    // a bucket boundary does not reach into the bucket beyond it (a point on that boundary
    // also looks one bucket back, see CastDown). On a regular grid every triangle thus lands
    // in one bucket.
    auto span = [](float lo, float hi, float origin, float size, int n, int& a, int& b) {
        const float flo = (lo - origin) / size, fhi = (hi - origin) / size;
        a = int(std::floor(flo));
        b = int(std::floor(fhi));
        if (float(b) == fhi && b > a) --b;
        a = std::clamp(a, 0, n - 1);
        b = std::clamp(b, 0, n - 1);
    };
    auto bucketRange = [&](size_t t, int& x0, int& x1, int& z0, int& z1) {
        const glm::vec3& a = vertices_[indices_[3 * t]];
        const glm::vec3& b = vertices_[indices_[3 * t + 1]];
        const glm::vec3& c = vertices_[indices_[3 * t + 2]];
        span(std::min({a.x, b.x, c.x}), std::max({a.x, b.x, c.x}), minX_, bucket_, nx_, x0, x1);
        span(std::min({a.z, b.z, c.z}), std::max({a.z, b.z, c.z}), minZ_, bucket_, nz_, z0, z1);
    };
    // Counting sort of the triangles into their buckets.
    bucketStart_.assign(size_t(nx_) * nz_ + 1, 0);
    for (size_t t = 0; t < triangles_; ++t) {
        int x0, x1, z0, z1;
        bucketRange(t, x0, x1, z0, z1);
        for (int x = x0; x <= x1; ++x)
            for (int z = z0; z <= z1; ++z) ++bucketStart_[size_t(x) * nz_ + z + 1];
    }
    for (size_t k = 1; k < bucketStart_.size(); ++k) bucketStart_[k] += bucketStart_[k - 1];
    bucketTris_.resize(bucketStart_.back());
    std::vector<uint32_t> fill(bucketStart_.begin(), bucketStart_.end() - 1);
    for (size_t t = 0; t < triangles_; ++t) {
        int x0, x1, z0, z1;
        bucketRange(t, x0, x1, z0, z1);
        for (int x = x0; x <= x1; ++x)
            for (int z = z0; z <= z1; ++z) bucketTris_[fill[size_t(x) * nz_ + z]++] = uint32_t(t);
    }
}

bool TSKITerrainMesh::CastDown(float x, float z, float& y) const {
    if (triangles_ == 0 || !std::isfinite(x) || !std::isfinite(z)) return false;
    // The bucket of the point, and the one before it when the point lies exactly on their
    // shared boundary (triangles that end there were put only into the one before).
    auto candidates = [](float f, int n, int& first, int& last) {
        if (!(f >= 0) || f > float(n)) return false;
        const int k = int(f);
        last = std::min(k, n - 1);
        first = (float(k) == f && k > 0) ? std::min(k - 1, last) : last;
        return true;
    };
    int x0, x1, z0, z1;
    if (!candidates((x - minX_) / bucket_, nx_, x0, x1) ||
        !candidates((z - minZ_) / bucket_, nz_, z0, z1))
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
