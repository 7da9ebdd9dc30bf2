#include "engine/terrain_mesh.h"

#include <algorithm>
#include <cmath>

#include <assimp/scene.h>
#include <assimp/Importer.hpp>

namespace vallorn {
namespace {

constexpr float kRayStart = 1000.0f;
// Points on a shared edge or vertex belong to every triangle that touches them.
constexpr double kEdgeTolerance = 1e-9;

}  // namespace

bool TSKITerrainMesh::Load(const std::filesystem::path& file, float scaleY, std::string* error) {
    Clear();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        if (error) *error = "terrain mesh " + file.string() + " is missing";
        return false;
    }
    // No post-processing: the vertices are used as stored. The 3DS reader adds a Z-up to
    // Y-up rotation on the root node; our files are written Y-up already, so node
    // transforms are ignored.
    Assimp::Importer importer;
    const aiScene* scene = importer.ReadFile(file.string(), 0);
    if (!scene || scene->mNumMeshes == 0) {
        if (error) {
            *error = "cannot read terrain mesh " + file.string();
            const char* why = importer.GetErrorString();
            if (!scene && why && *why) *error += std::string(": ") + why;
        }
        return false;
    }
    size_t vertexCount = 0, indexCount = 0;
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        const aiMesh* mesh = scene->mMeshes[m];
        vertexCount += mesh->mNumVertices;
        indexCount += size_t(mesh->mNumFaces) * 3;
    }
    std::vector<glm::vec3> vertices;
    std::vector<uint32_t> indices;
    vertices.reserve(vertexCount);
    indices.reserve(indexCount);
    for (unsigned m = 0; m < scene->mNumMeshes; ++m) {
        const aiMesh* mesh = scene->mMeshes[m];
        const uint32_t base = uint32_t(vertices.size());
        for (unsigned v = 0; v < mesh->mNumVertices; ++v) {
            const aiVector3D& p = mesh->mVertices[v];
            vertices.emplace_back(p.x, p.y * scaleY, p.z);
        }
        for (unsigned f = 0; f < mesh->mNumFaces; ++f) {
            const aiFace& face = mesh->mFaces[f];
            // Polygons become fans; points and lines have no area and are dropped.
            for (unsigned k = 1; k + 1 < face.mNumIndices; ++k) {
                const unsigned a = face.mIndices[0], b = face.mIndices[k], c = face.mIndices[k + 1];
                if (a >= mesh->mNumVertices || b >= mesh->mNumVertices || c >= mesh->mNumVertices)
                    continue;
                indices.push_back(base + a);
                indices.push_back(base + b);
                indices.push_back(base + c);
            }
        }
    }
    if (indices.empty()) {
        if (error) *error = "terrain mesh " + file.string() + " holds no triangles";
        return false;
    }
    Build(std::move(vertices), std::move(indices));
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

    auto bucketRange = [&](size_t t, int& x0, int& x1, int& z0, int& z1) {
        const glm::vec3& a = vertices_[indices_[3 * t]];
        const glm::vec3& b = vertices_[indices_[3 * t + 1]];
        const glm::vec3& c = vertices_[indices_[3 * t + 2]];
        const float lx = std::min({a.x, b.x, c.x}), hx = std::max({a.x, b.x, c.x});
        const float lz = std::min({a.z, b.z, c.z}), hz = std::max({a.z, b.z, c.z});
        x0 = std::clamp(int((lx - minX_) / bucket_), 0, nx_ - 1);
        x1 = std::clamp(int((hx - minX_) / bucket_), 0, nx_ - 1);
        z0 = std::clamp(int((lz - minZ_) / bucket_), 0, nz_ - 1);
        z1 = std::clamp(int((hz - minZ_) / bucket_), 0, nz_ - 1);
    };
    // Counting sort of the triangles into the buckets their bounding boxes touch (inclusive,
    // so a point on a bucket boundary finds every triangle through it).
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
    const float fx = (x - minX_) / bucket_, fz = (z - minZ_) / bucket_;
    // A point on the far boundary belongs to the last bucket; anything beyond misses.
    if (fx < 0 || fz < 0 || fx > float(nx_) || fz > float(nz_)) return false;
    const int bx = std::min(int(fx), nx_ - 1), bz = std::min(int(fz), nz_ - 1);
    const size_t b = size_t(bx) * nz_ + bz;
    bool hit = false;
    double best = -INFINITY;
    for (uint32_t k = bucketStart_[b]; k < bucketStart_[b + 1]; ++k) {
        const uint32_t t = bucketTris_[k];
        const glm::vec3& p0 = vertices_[indices_[3 * t]];
        const glm::vec3& p1 = vertices_[indices_[3 * t + 1]];
        const glm::vec3& p2 = vertices_[indices_[3 * t + 2]];
        // Barycentric coordinates of (x, z) in the triangle's ground projection.
        const double e1x = double(p1.x) - p0.x, e1z = double(p1.z) - p0.z;
        const double e2x = double(p2.x) - p0.x, e2z = double(p2.z) - p0.z;
        const double det = e1x * e2z - e2x * e1z;
        if (det == 0) continue;  // vertical or degenerate: a vertical ray grazes it
        const double dx = double(x) - p0.x, dz = double(z) - p0.z;
        const double u = (dx * e2z - e2x * dz) / det;
        const double v = (e1x * dz - dx * e1z) / det;
        if (u < -kEdgeTolerance || v < -kEdgeTolerance || u + v > 1 + kEdgeTolerance) continue;
        double h;
        if (u == 0 && v == 0) {
            h = p0.y;  // exactly on a vertex: its own height, no rounding
        } else if (u == 1 && v == 0) {
            h = p1.y;
        } else if (u == 0 && v == 1) {
            h = p2.y;
        } else {
            h = double(p0.y) + u * (double(p1.y) - p0.y) + v * (double(p2.y) - p0.y);
        }
        if (h > kRayStart) continue;  // above the ray's start
        if (!hit || h > best) {
            best = h;
            hit = true;
        }
    }
    if (hit) y = float(best);
    return hit;
}

}  // namespace vallorn
