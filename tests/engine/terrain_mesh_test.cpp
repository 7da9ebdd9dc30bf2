// The terrain mesh: building the 3DS files from a height field, reading them back, and the
// vertical ray cast.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "base/random.h"
#include "base/terrain_mesh.h"
#include "base/terrain_mesh_builder.h"
#include "base/terrain_mesh_cache.h"
#include "base/types.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

namespace fs = std::filesystem;

float Bumpy(int i, int j) {
    return 40.0f + 25.0f * std::sin(float(i) * 0.07f) + 12.5f * std::cos(float(j) * 0.11f);
}

THeightField Field(float (*height)(int, int)) {
    THeightField f;
    f.Heights.resize(size_t(f.Side) * f.Side);
    for (int i = 0; i < f.Side; ++i)
        for (int j = 0; j < f.Side; ++j) f.Heights[size_t(i) * f.Side + j] = height(i, j);
    return f;
}

TEST(TerrainMeshBuilder, HeightsReadBackEqualAtEveryVertex) {
    test::TempDir dir;
    const THeightField field = Field(Bumpy);
    std::string error;
    ASSERT_TRUE(BuildTerrainMeshes(field, 2.0f, -30.0f, dir.Path(), "hillMAP.bmp", &error))
        << error;
    EXPECT_FALSE(fs::exists(dir.Path() / "hillMAP.bmpH.3ds.tmp"));

    TSKITerrainMesh surface;
    ASSERT_TRUE(surface.Load(dir / "hillMAP.bmpH.3ds", 2.0f, &error)) << error;
    EXPECT_EQ(surface.TriangleCount(), 512u * 512u * 2u);
    int wrong = 0;
    for (int i = 0; i <= kGridSize; ++i) {
        for (int j = 0; j <= kGridSize; ++j) {
            float y = 0;
            const bool hit = surface.CastDown(-4.0f * i - 0.5f, 4.0f * j - 0.5f, y);
            if (!hit || y != field.At(i, j)) ++wrong;
        }
    }
    EXPECT_EQ(wrong, 0);

    // The loader's Y scale applies on top of the stored heights.
    TSKITerrainMesh doubled;
    ASSERT_TRUE(doubled.Load(dir / "hillMAP.bmpH.3ds", 4.0f, &error));
    float y = 0;
    ASSERT_TRUE(doubled.CastDown(-4.0f * 7 - 0.5f, 4.0f * 300 - 0.5f, y));
    EXPECT_FLOAT_EQ(y, 2.0f * field.At(7, 300));
}

// Heights at every cell point, or NaN where the ray misses.
std::vector<float> CellHeights(const TSKITerrainMesh& m) {
    std::vector<float> out;
    for (int i = 0; i <= kGridSize; i += 3) {
        for (int j = 0; j <= kGridSize; j += 3) {
            float y = NAN;
            m.CastDown(-4.0f * i - 0.5f, 4.0f * j - 0.5f, y);
            out.push_back(y);
        }
    }
    return out;
}

// Whether the cache `cache` is taken for the 3DS bytes `source`.
bool CacheTaken(const fs::path& cache, const std::string& source) {
    TSKIRawMesh out;
    return ReadMeshCache(cache, source, out);
}

TEST(TerrainMeshCache, GivesTheSameTerrainAsTheFileAndIsIgnoredWhenItDoesNotMatch) {
    test::TempDir dir;
    const fs::path caches = dir / "cache";
    std::string error;
    ASSERT_TRUE(BuildTerrainMeshes(Field(Bumpy), 2.0f, -30.0f, dir.Path(), "c", &error, caches))
        << error;
    const fs::path mesh = dir / "cH.3ds";
    const std::string source = test::ReadText(mesh);
    // Named by the mesh and its bytes, in the cache folder only.
    const fs::path cache = MeshCachePath(caches, mesh, source);
    const std::string name = cache.filename().string();
    EXPECT_TRUE(name.starts_with("cH-") && name.ends_with(".vmesh") && name.size() == 25) << name;
    EXPECT_NE(MeshCachePath(caches, mesh, source + "x"), cache);
    ASSERT_TRUE(fs::exists(cache));
    EXPECT_FALSE(fs::exists(dir / "cH.vmesh"));
    const std::string cacheBytes = test::ReadText(cache);
    ASSERT_TRUE(CacheTaken(cache, source));

    TSKITerrainMesh cached;
    ASSERT_TRUE(cached.Load(mesh, 2.0f, &error, caches)) << error;
    EXPECT_TRUE(cached.FromCache());
    const std::vector<float> expected = CellHeights(cached);

    // Without a cache folder the 3DS itself is read: the same triangles and heights, the
    // positions kept once either way.
    TSKITerrainMesh parsed;
    ASSERT_TRUE(parsed.Load(mesh, 2.0f, &error)) << error;
    EXPECT_FALSE(parsed.FromCache());
    EXPECT_EQ(parsed.TriangleCount(), cached.TriangleCount());
    EXPECT_EQ(parsed.Vertices().size(), cached.Vertices().size());
    EXPECT_EQ(CellHeights(parsed), expected);
    EXPECT_LT(cached.Vertices().size(), 3 * parsed.TriangleCount() / 5);
    // The builder writes the cache from the triangles it holds: the very bytes that a load
    // writes after reading its 3DS back.
    fs::remove(cache);
    ASSERT_TRUE(parsed.Load(mesh, 2.0f, &error, caches)) << error;
    EXPECT_FALSE(parsed.FromCache());
    EXPECT_TRUE(test::ReadText(cache) == cacheBytes);

    // A cache of other bytes is not taken: here the skirt's cache under the surface's name.
    const std::string skirt = test::ReadText(dir / "cSide.3ds");
    fs::copy_file(MeshCachePath(caches, dir / "cSide.3ds", skirt), cache,
                  fs::copy_options::overwrite_existing);
    EXPECT_FALSE(CacheTaken(cache, source));
    // Nor is one whose 3DS changed since, in its length or in one byte.
    test::WriteText(cache, cacheBytes);
    std::string edited = source;
    edited[source.size() / 2] = char(edited[source.size() / 2] ^ 0x10);
    EXPECT_FALSE(CacheTaken(cache, source + "x"));
    EXPECT_FALSE(CacheTaken(cache, edited));

    // Damaged caches (cut short, a wild count, an index past the vertices) are ignored.
    for (size_t cut : {size_t(10), size_t(40), cacheBytes.size() - 4}) {
        test::WriteText(cache, cacheBytes.substr(0, cut));
        EXPECT_FALSE(CacheTaken(cache, source)) << cut;
    }
    std::string wild = cacheBytes;
    wild[35] = char(0x7F);  // vertex count in the billions
    test::WriteText(cache, wild);
    EXPECT_FALSE(CacheTaken(cache, source));
    std::string badIndex = cacheBytes;
    for (size_t k = badIndex.size() - 4; k < badIndex.size(); ++k) badIndex[k] = char(0xFF);
    test::WriteText(cache, badIndex);
    EXPECT_FALSE(CacheTaken(cache, source));
}

// A cache damaged in its body: by a flipped bit as a disk or a copy does it, or by hand with
// its checksum made to match again. Either way it is refused, the 3DS is read (the same
// heights) and a sound cache takes its place.
TEST(TerrainMeshCache, ADamagedBodyIsIgnoredWhateverItHolds) {
    test::TempDir dir;
    const fs::path caches = dir / "cache";
    std::string error;
    ASSERT_TRUE(BuildTerrainMeshes(Field(Bumpy), 2.0f, -30.0f, dir.Path(), "d", &error, caches))
        << error;
    const fs::path mesh = dir / "dH.3ds";
    const std::string source = test::ReadText(mesh);
    const fs::path cache = MeshCachePath(caches, mesh, source);
    TSKITerrainMesh reference;  // from the 3DS itself
    ASSERT_TRUE(reference.Load(mesh, 2.0f, &error)) << error;
    const std::vector<float> expected = CellHeights(reference);
    const std::string good = test::ReadText(cache);

    constexpr size_t kHeader = 48, kBodyHash = 40;  // the body's checksum ends the header
    uint32_t vertices;
    std::memcpy(&vertices, good.data() + 32, 4);
    const size_t indexAt = kHeader + size_t(vertices) * 12;
    auto seal = [&](std::string bytes) {
        const uint64_t h = HashBytes(std::string_view(bytes).substr(kHeader));
        std::memcpy(bytes.data() + kBodyHash, &h, 8);
        return bytes;
    };
    auto put = [](std::string bytes, size_t at, auto value) {
        std::memcpy(bytes.data() + at, &value, sizeof value);
        return bytes;
    };
    const size_t vertex = kHeader + 12 * size_t(vertices / 2);  // a vertex mid-map
    std::string flipped = good;
    flipped[vertex + 3] = char(flipped[vertex + 3] ^ 0x40);  // x's exponent: far off the map
    std::string lowBit = good;
    lowBit[vertex + 4] = char(lowBit[vertex + 4] ^ 0x01);  // y a hair off: still plausible
    // A sound body sealed again is taken (the cache keeps each position once).
    test::WriteText(cache, seal(good));
    TSKITerrainMesh cached;
    ASSERT_TRUE(cached.Load(mesh, 2.0f, &error, caches));
    EXPECT_TRUE(cached.FromCache());
    EXPECT_EQ(cached.Vertices().size(), vertices);
    EXPECT_EQ(CellHeights(cached), expected);

    const std::vector<std::pair<const char*, std::string>> damaged = {
        {"flipped low bit", lowBit},
        {"NaN vertex", seal(put(good, vertex + 4, NAN))},
        {"huge vertex", seal(put(good, vertex, 1e30f))},
        {"vertex off the map", seal(put(good, vertex + 8, 9000.0f))},
        {"index past the vertices", seal(put(good, indexAt + 4, vertices))},
        {"huge counts", seal(put(put(good, 32, 0x7FFFFFFFu), 36, 0x7FFFFFF8u))},
        {"flipped exponent", flipped},  // last: this one is loaded through to the end
    };
    for (const auto& [what, bytes] : damaged) {
        test::WriteText(cache, bytes);
        EXPECT_FALSE(CacheTaken(cache, source)) << what;
    }
    TSKITerrainMesh m;
    ASSERT_TRUE(m.Load(mesh, 2.0f, &error, caches)) << error;
    EXPECT_FALSE(m.FromCache());
    EXPECT_EQ(m.Vertices().size(), reference.Vertices().size());
    EXPECT_EQ(CellHeights(m), expected);
    EXPECT_EQ(test::ReadText(mesh), source);
    EXPECT_TRUE(test::ReadText(cache) == good) << "the damaged cache is made again";
}

TEST(TerrainMeshBuilder, SkirtHangsFromTheEdgeAndReflectsTheMapAroundIt) {
    test::TempDir dir;
    const THeightField field = Field(Bumpy);
    std::string error;
    ASSERT_TRUE(BuildTerrainMeshes(field, 2.0f, -30.0f, dir.Path(), "s", &error)) << error;
    TSKITerrainMesh skirt;
    ASSERT_TRUE(skirt.Load(dir / "sSide.3ds", 2.0f, &error)) << error;
    // The four walls, then eight tiles of 32 x 32 squares.
    EXPECT_EQ(skirt.TriangleCount(), 4u * 2u * 512u + 8u * 2u * 32u * 32u);
    int bottom = 0, wrong = 0, outside = 0;
    bool beyond[3][3] = {};
    for (const glm::vec3& v : skirt.Vertices()) {
        const float fi = (-v.x - 0.5f) / 4.0f, fj = (v.z + 0.5f) / 4.0f;
        const int i = int(std::lround(fi)), j = int(std::lround(fj));
        wrong += fi != float(i) || fj != float(j) || i < -512 || i > 1024 || j < -512 || j > 1024;
        const bool inside = i >= 0 && i <= kGridSize && j >= 0 && j <= kGridSize;
        if (inside && v.y == -30.0f) {
            ++bottom;
            wrong += i != 0 && i != kGridSize && j != 0 && j != kGridSize;
            continue;
        }
        // A point beyond an edge has the height of the grid point it mirrors; -16 mirrors 16
        // and 530 mirrors 494.
        const auto mirror = [](int k) { return k < 0 ? -k : k > 512 ? 1024 - k : k; };
        wrong += v.y != field.At(mirror(i), mirror(j));
        if (inside) continue;
        ++outside;
        beyond[(i >= 0) + (i > kGridSize)][(j >= 0) + (j > kGridSize)] = true;
    }
    EXPECT_EQ(wrong, 0);
    // The loader welds the shared points: the walls' corners, the tiles' common edges.
    EXPECT_EQ(bottom, 4 * 512);
    EXPECT_EQ(outside, 97 * 97 - 33 * 33);
    for (int a = 0; a < 3; ++a)
        for (int b = 0; b < 3; ++b) EXPECT_EQ(beyond[a][b], a != 1 || b != 1) << a << b;
}

TEST(TerrainMeshBuilder, RejectsAFieldOfTheWrongSize) {
    test::TempDir dir;
    THeightField field;
    field.Heights.assign(100, 1.0f);
    std::string error;
    EXPECT_FALSE(BuildTerrainMeshes(field, 2.0f, 0.0f, dir.Path(), "x", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(fs::exists(dir.Path() / "xH.3ds"));
}

// Two unit squares side by side, with a second, higher triangle over the first one.
TSKITerrainMesh SmallMesh() {
    TSKITerrainMesh m;
    m.Build({{0, 0, 0},
             {4, 4, 0},
             {0, 8, 4},
             {4, 12, 4},  // sloped square (0..4) x (0..4)
             {0, 50, 0},
             {2, 50, 0},
             {0, 50, 2},  // a roof over one corner
             {0, 2000, 0},
             {4, 2000, 0},
             {0, 2000, 4}},  // above the ray's start
            {0, 1, 2, 1, 3, 2, 4, 5, 6, 7, 8, 9});
    return m;
}

TEST(TerrainMeshCast, InterpolatesInsideATriangleAndIsExactAtVertices) {
    const TSKITerrainMesh m = SmallMesh();
    float y = -1;
    ASSERT_TRUE(m.CastDown(4, 4, y));
    EXPECT_EQ(y, 12.0f);
    ASSERT_TRUE(m.CastDown(3, 3, y));
    EXPECT_NEAR(y, 3 + 2 * 3, 1e-5);   // the plane y = x + 2z
    ASSERT_TRUE(m.CastDown(4, 1, y));  // on the outer edge
    EXPECT_NEAR(y, 6, 1e-5);
}

TEST(TerrainMeshCast, TakesTheHighestHitBelowTheRayStart) {
    const TSKITerrainMesh m = SmallMesh();
    float y = -1;
    ASSERT_TRUE(m.CastDown(0.5f, 0.5f, y));
    EXPECT_EQ(y, 50.0f);  // the roof, not the ground and not the plane above 1000
    ASSERT_TRUE(m.CastDown(3.5f, 0.2f, y));
    EXPECT_NEAR(y, 3.5f + 0.4f, 1e-5);
}

// The highest hit by testing every triangle: what the bucket grid must reproduce.
bool BruteForceCast(const TSKITerrainMesh& m, float x, float z, float& y) {
    bool hit = false;
    const auto& v = m.Vertices();
    const auto& idx = m.Indices();
    for (size_t t = 0; t + 2 < idx.size(); t += 3) {
        TSKITerrainMesh one;
        one.Build({v[idx[t]], v[idx[t + 1]], v[idx[t + 2]]}, {0, 1, 2});
        float h;
        if (one.CastDown(x, z, h) && (!hit || h > y)) {
            y = h;
            hit = true;
        }
    }
    return hit;
}

TEST(TerrainMeshCast, BucketsFindTheSameHitsAsTestingEveryTriangle) {
    // An irregular sheet of jittered quads with a second, smaller sheet floating over part of
    // it, so buckets hold triangles of different sizes that overlap.
    TSKIRandom rng(11);
    std::vector<glm::vec3> verts;
    std::vector<uint32_t> idx;
    auto sheet = [&](int n, float step, float x0, float y0) {
        const uint32_t base = uint32_t(verts.size());
        for (int a = 0; a <= n; ++a)
            for (int b = 0; b <= n; ++b) {
                const bool inner = a > 0 && b > 0 && a < n && b < n;
                const float jx = inner ? float(rng.Between(-0.3, 0.3)) * step : 0;
                const float jz = inner ? float(rng.Between(-0.3, 0.3)) * step : 0;
                verts.emplace_back(x0 + a * step + jx, y0 + float(rng.Between(0, 5)),
                                   x0 + b * step + jz);
            }
        for (int a = 0; a < n; ++a)
            for (int b = 0; b < n; ++b) {
                const uint32_t q = base + uint32_t(a * (n + 1) + b);
                idx.insert(idx.end(), {q, q + uint32_t(n + 1), q + 1, q + uint32_t(n + 1),
                                       q + uint32_t(n + 2), q + 1});
            }
    };
    sheet(12, 3.0f, 0.0f, 0.0f);
    sheet(5, 2.5f, 7.0f, 3.0f);
    TSKITerrainMesh m;
    m.Build(verts, idx);

    std::vector<std::pair<float, float>> points;
    for (int k = 0; k < 300; ++k)
        points.emplace_back(float(rng.Between(-1, 37)), float(rng.Between(-1, 37)));
    for (const glm::vec3& p : verts) points.emplace_back(p.x, p.z);  // exactly on vertices
    for (int k = 0; k <= 12; ++k) points.emplace_back(float(k) * 3.0f, 18.0f);  // on edges
    int mismatches = 0;
    for (const auto& [x, z] : points) {
        float a = -1, b = -1;
        const bool ha = m.CastDown(x, z, a), hb = BruteForceCast(m, x, z, b);
        if (ha != hb || (ha && a != b)) ++mismatches;
    }
    EXPECT_EQ(mismatches, 0);
}

TEST(TerrainMeshCast, CellHeightsKeptWithTheMeshAreTheCastsAtTheCellPoints) {
    // A jittered sheet over part of the map (cells 0..60 x 100..180), so that some cell points
    // hit it, some lie on its edges and vertices, and the rest miss.
    TSKIRandom rng(5);
    std::vector<glm::vec3> verts;
    std::vector<uint32_t> idx;
    constexpr int n = 30;
    for (int a = 0; a <= n; ++a)
        for (int b = 0; b <= n; ++b) {
            const float jitter = a % 3 && b % 3 ? float(rng.Between(-1, 1)) : 0.0f;
            verts.emplace_back(-8.0f * float(a) - 0.5f + jitter, float(rng.Between(0, 40)),
                               400.0f + 10.5f * float(b) - jitter);
        }
    for (int a = 0; a < n; ++a)
        for (int b = 0; b < n; ++b) {
            const uint32_t q = uint32_t(a * (n + 1) + b);
            idx.insert(idx.end(), {q, q + uint32_t(n + 1), q + 1, q + uint32_t(n + 1),
                                   q + uint32_t(n + 2), q + 1});
        }
    TSKITerrainMesh m;
    ASSERT_TRUE(m.Build(verts, idx));
    const TSKITerrainMesh copy = m;  // shares the heights the first question casts
    int hits = 0, misses = 0, mismatches = 0;
    for (int i = kGridSize - 1; i >= 0; --i) {
        for (int j = 0; j < kGridSize; ++j) {
            float cast = NAN, kept = NAN, shared = NAN;
            const bool hit = m.CastDown(-4.0f * float(i) - 0.5f, 4.0f * float(j) - 0.5f, cast);
            const bool keptHit =
                (i + j) % 2 ? m.CellHeight(i, j, kept) : copy.CellHeight(i, j, kept);
            const bool sharedHit = copy.CellHeight(i, j, shared);
            if (hit != keptHit || hit != sharedHit || (hit && (cast != kept || cast != shared)))
                ++mismatches;
            (hit ? hits : misses)++;
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(hits, 3000);
    EXPECT_GT(misses, 200000);
    float y = 7;
    EXPECT_FALSE(m.CellHeight(kGridSize, 0, y));  // beyond the cells
    EXPECT_FALSE(TSKITerrainMesh().CellHeight(0, 0, y));
    EXPECT_EQ(y, 7.0f);
}

TEST(TerrainMeshCast, StrayTrianglesNeitherBreakNorSlowTheGrid) {
    // A sheet of 200 x 200 squares on the plane y = 1 + x / 100, with triangles no mesh
    // should hold: a vertex that is not a number, an index past the vertices, a vertex far
    // off, and slivers across the whole float range.
    constexpr int n = 200;
    std::vector<glm::vec3> verts;
    std::vector<uint32_t> idx;
    for (int a = 0; a <= n; ++a)
        for (int b = 0; b <= n; ++b) verts.emplace_back(float(a), 1.0f + float(a) / 100, float(b));
    for (int a = 0; a < n; ++a)
        for (int b = 0; b < n; ++b) {
            const uint32_t q = uint32_t(a * (n + 1) + b);
            idx.insert(idx.end(), {q, q + n + 1, q + 1, q + n + 1, q + n + 2, q + 1});
        }
    const uint32_t stray = uint32_t(verts.size());
    verts.insert(
        verts.end(),
        {{NAN, 0, 0}, {1e30f, 5, 1e30f}, {-3e38f, 9, 3e38f}, {3e38f, 9, -3e38f}, {INFINITY, 0, 1}});
    idx.insert(idx.end(), {0, 1, stray, 0, 1, stray + 99, 5, 6, stray + 1, stray + 2, stray + 3, 7,
                           stray + 2, stray + 3, stray + 4});
    for (int k = 0; k < 50; ++k) idx.insert(idx.end(), {uint32_t(k), stray + 2, stray + 3});

    TSKITerrainMesh m;
    m.Build(verts, idx);
    EXPECT_EQ(m.TriangleCount(), size_t(2 * n * n + 1 + 1 + 50));
    int wrong = 0;
    for (int a = 0; a < n; ++a)
        for (int b = 0; b < n; ++b) {
            float y = 0;
            const float x = float(a) + 0.25f, z = float(b) + 0.5f;
            // Stray triangles reach over some points: they may only ever raise the hit.
            if (!m.CastDown(x, z, y) || y < 1.0f + x / 100 - 1e-4f) ++wrong;
        }
    EXPECT_EQ(wrong, 0);
}

TEST(TerrainMeshCast, MissesOutsideTheMeshAndOnAnEmptyMesh) {
    const TSKITerrainMesh m = SmallMesh();
    float y = 123;
    EXPECT_FALSE(m.CastDown(-0.01f, 2, y));
    EXPECT_FALSE(m.CastDown(2, 4.01f, y));
    EXPECT_FALSE(m.CastDown(NAN, 1, y));
    EXPECT_EQ(y, 123);
    TSKITerrainMesh empty;
    EXPECT_TRUE(empty.Empty());
    EXPECT_FALSE(empty.CastDown(0, 0, y));
}

// A 3DS chunk: its id, its length (with the six bytes of the header) and its body.
std::string Chunk3ds(uint16_t id, const std::string& body) {
    std::string out(6, '\0');
    const uint32_t length = uint32_t(body.size() + 6);
    std::memcpy(out.data(), &id, 2);
    std::memcpy(out.data() + 2, &length, 4);
    return out + body;
}

template <typename T>
std::string Bytes3ds(const T& value) {
    return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

// A 3DS file of one object with the given vertices and faces, and `keyframer` after it.
std::string File3ds(const std::vector<glm::vec3>& vertices,
                    const std::vector<std::array<uint16_t, 3>>& faces,
                    const std::string& keyframer = {}) {
    std::string v = Bytes3ds(uint16_t(vertices.size())), f = Bytes3ds(uint16_t(faces.size()));
    for (const glm::vec3& p : vertices) v += Bytes3ds(p);
    for (const auto& face : faces) f += Bytes3ds(face) + Bytes3ds(uint16_t(0));
    const std::string mesh = Chunk3ds(0x4100, Chunk3ds(0x4110, v) + Chunk3ds(0x4120, f));
    return Chunk3ds(0x4D4D,
                    Chunk3ds(0x3D3D, Chunk3ds(0x4000, std::string("q", 2) + mesh)) + keyframer);
}

// One map cell's square at height 10.
const std::vector<glm::vec3> kCellSquare = {
    {-0.5f, 10, -0.5f}, {-4.5f, 10, -0.5f}, {-0.5f, 10, 3.5f}, {-4.5f, 10, 3.5f}};

TEST(TerrainMeshLoad, TrianglesThatCannotBeGroundCostNoCastTime) {
    test::TempDir dir;
    std::string error;
    // A square and 65,534 triangles with no area on one point: only the square is kept.
    std::vector<std::array<uint16_t, 3>> faces = {{0, 1, 2}, {1, 3, 2}};
    faces.resize(65535, {4, 4, 4});
    std::vector<glm::vec3> vertices = kCellSquare;
    vertices.push_back({-100, 5, 100});
    test::WriteText(dir / "pointH.3ds", File3ds(vertices, faces));
    TSKITerrainMesh m;
    ASSERT_TRUE(m.Load(dir / "pointH.3ds", 1.0f, &error)) << error;
    EXPECT_EQ(m.TriangleCount(), 2u);
    EXPECT_LE(m.MostTrianglesPerCast(), 4u);
    float y = 0;
    EXPECT_TRUE(m.CastDown(-2, 1, y));
    EXPECT_EQ(y, 10.0f);

    // Triangles stacked over the whole map, or a thousand over one cell, are no terrain.
    const float reach = kLevelReach;
    const std::vector<glm::vec3> map = {{1, 0, -1}, {-2 * reach, 0, -1}, {1, 0, 2 * reach}};
    std::vector<std::array<uint16_t, 3>> stacked(300, {0, 1, 2}), piled(2000, {0, 1, 2});
    test::WriteText(dir / "stackedH.3ds", File3ds(map, stacked));
    test::WriteText(dir / "piledH.3ds", File3ds(kCellSquare, piled));
    for (const char* name : {"stackedH.3ds", "piledH.3ds"}) {
        EXPECT_FALSE(m.Load(dir / name, 1.0f, &error)) << name;
        EXPECT_NE(error.find(name), std::string::npos) << error;
        EXPECT_TRUE(m.Empty());
    }
}

TEST(TerrainMeshLoad, ALoadOfBytesBuiltBeforeSharesTheirMesh) {
    test::TempDir dir;
    test::WriteText(dir / "sharedH.3ds", File3ds(kCellSquare, {{0, 1, 2}, {1, 3, 2}}));
    TSKITerrainMesh a, b, taller;
    std::string error;
    ASSERT_TRUE(a.Load(dir / "sharedH.3ds", 1.0f, &error)) << error;
    ASSERT_TRUE(b.Load(dir / "sharedH.3ds", 1.0f, &error)) << error;
    ASSERT_TRUE(taller.Load(dir / "sharedH.3ds", 2.0f, &error)) << error;
    EXPECT_EQ(a.Vertices().data(), b.Vertices().data()) << "built once";
    EXPECT_NE(a.Vertices().data(), taller.Vertices().data()) << "another Y scale";
    float y = 0;
    ASSERT_TRUE(taller.CastDown(-2, 1, y));
    EXPECT_EQ(y, 20.0f);
    // Changed bytes are read again.
    test::WriteText(dir / "sharedH.3ds", File3ds(kCellSquare, {{0, 1, 2}}));
    ASSERT_TRUE(b.Load(dir / "sharedH.3ds", 1.0f, &error)) << error;
    EXPECT_EQ(b.TriangleCount(), 1u);
    EXPECT_EQ(a.TriangleCount(), 2u);
}

TEST(TerrainMeshLoad, KeyframerNodesNestedThousandsDeepAreNotFollowed) {
    // The importer once followed each node into its child, out of stack.
    std::string nodes;
    for (int16_t k = 0; k < 32000; ++k) {
        const std::string header = std::string("a", 2) + Bytes3ds(uint32_t(0)) + Bytes3ds(k);
        nodes += Chunk3ds(0xB002, Chunk3ds(0xB010, header));
    }
    test::TempDir dir;
    test::WriteText(dir / "deepH.3ds",
                    File3ds(kCellSquare, {{0, 1, 2}, {1, 3, 2}}, Chunk3ds(0xB000, nodes)));
    TSKITerrainMesh m;
    std::string error;
    ASSERT_TRUE(m.Load(dir / "deepH.3ds", 1.0f, &error)) << error;
    EXPECT_EQ(m.TriangleCount(), 2u);
}

TEST(TerrainMeshLoad, MissingOrBrokenFilesFailNamingTheFile) {
    test::TempDir dir;
    TSKITerrainMesh m = SmallMesh();
    std::string error;
    EXPECT_FALSE(m.Load(dir / "nowhere.3ds", 2.0f, &error));
    EXPECT_NE(error.find("nowhere.3ds"), std::string::npos) << error;
    EXPECT_TRUE(m.Empty());

    test::WriteText(dir / "broken.3ds", std::string("MM\x10\0\0\0garbage", 13));
    EXPECT_FALSE(m.Load(dir / "broken.3ds", 2.0f, &error));
    EXPECT_NE(error.find("broken.3ds"), std::string::npos) << error;
    EXPECT_TRUE(m.Empty());
}

}  // namespace
}  // namespace vallorn
