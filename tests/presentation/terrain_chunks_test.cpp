// The terrain's chunks: which are drawn and how finely for a view, the triangles of each level
// of detail, the skirts that hide cracks, and the per-cell flags the view writes for the core.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include "presentation/terrain_chunks.h"
#include "presentation/terrain_texture.h"
#include "presentation/view_flags.h"
#include "support/test_level.h"

namespace vallorn {
namespace {

TSKIFrameView LookAt(glm::vec3 eye, glm::vec3 target) {
    TSKIFrameView f;
    f.Eye = eye;
    f.Direction = glm::normalize(target - eye);
    f.Width = 1024;
    f.Height = 768;
    f.View = glm::lookAt(eye, target, glm::vec3(0, 1, 0));
    f.Projection = glm::perspective(glm::radians(45.0f), 1024.0f / 768.0f, 1.0f, 4000.0f);
    f.Finish();
    return f;
}

TSKITerrainHeights Heights(float (*h)(int, int)) {
    TSKITerrainHeights t;
    t.Heights.resize(size_t(kTerrainSide) * kTerrainSide);
    for (int i = 0; i < kTerrainSide; ++i)
        for (int j = 0; j < kTerrainSide; ++j) t.Heights[size_t(i) * kTerrainSide + j] = h(i, j);
    return t;
}

float Gentle(int i, int j) {
    return 20.0f * std::sin(i * 0.05f) + 10.0f * std::cos(j * 0.07f);
}

bool BoxOutside(const TSKIFrameView& view, const TSKIChunkBounds& b) {
    for (const glm::vec4& p : view.Planes) {
        bool allOut = true;
        for (int c = 0; c < 8 && allOut; ++c) {
            const glm::vec3 v((c & 1) ? b.Max.x : b.Min.x, (c & 2) ? b.Max.y : b.Min.y,
                              (c & 4) ? b.Max.z : b.Min.z);
            allOut = glm::dot(glm::vec3(p), v) + p.w < 0;
        }
        if (allOut) return true;
    }
    return false;
}

TEST(TerrainChunks, NearChunksAreFineFarOnesCoarseAndChunksOutOfViewAreLeftOut) {
    const std::vector<TSKIChunkBounds> bounds = ComputeChunkBounds(Heights(Gentle));
    // From just inside the map's +X edge, looking along -X across the middle of the map.
    const TSKIFrameView view = LookAt({-10, 120, 1024}, {-2048, 0, 1024});
    std::vector<TSKIChunkPick> picks;
    SelectTerrainChunks(bounds, view, 1, picks);
    ASSERT_FALSE(picks.empty());

    std::vector<int> lod(kChunkCount, -1);
    for (const TSKIChunkPick& p : picks) lod[size_t(p.I * kChunksPerSide + p.J)] = p.Lod;
    for (int c = 0; c < kChunkCount; ++c) {
        const TSKIChunkBounds& b = bounds[size_t(c)];
        if (BoxOutside(view, b)) {
            EXPECT_EQ(lod[size_t(c)], -1) << "chunk " << c;
        }
        const glm::vec4 clip = view.ViewProjection * glm::vec4(b.Centre(), 1.0f);
        const bool centreInside = clip.w > 0 && std::fabs(clip.x) < clip.w &&
                                  std::fabs(clip.y) < clip.w && std::fabs(clip.z) < clip.w;
        if (centreInside) {
            EXPECT_GE(lod[size_t(c)], 0) << "chunk " << c;
        }
    }
    // Along the line of sight: full detail at the nearest chunk drawn, coarsest at the far
    // edge, never finer farther out.
    int previous = -1;
    for (int ci = 0; ci < kChunksPerSide; ++ci) {
        const int l = lod[size_t(ci * kChunksPerSide + 8)];
        if (l < 0) continue;
        if (previous < 0) {
            EXPECT_EQ(l, 0) << "the first chunk seen, " << ci;
        }
        EXPECT_GE(l, previous);
        previous = l;
    }
    EXPECT_EQ(lod[size_t(15 * kChunksPerSide + 8)], kLodCount - 1);
    // Nearest first.
    auto distance = [&](const TSKIChunkPick& p) {
        const TSKIChunkBounds& b = bounds[size_t(p.I * kChunksPerSide + p.J)];
        return glm::length(view.Eye - glm::clamp(view.Eye, b.Min, b.Max));
    };
    for (size_t k = 1; k < picks.size(); ++k)
        EXPECT_LE(distance(picks[k - 1]), distance(picks[k]) + 1e-3f);

    // Low detail is never finer, high never coarser.
    std::vector<TSKIChunkPick> low, high;
    SelectTerrainChunks(bounds, view, 0, low);
    SelectTerrainChunks(bounds, view, 2, high);
    ASSERT_EQ(low.size(), picks.size());
    ASSERT_EQ(high.size(), picks.size());
    int coarser = 0;
    for (size_t k = 0; k < picks.size(); ++k) {
        EXPECT_GE(low[k].Lod, picks[k].Lod);
        EXPECT_LE(high[k].Lod, picks[k].Lod);
        coarser += low[k].Lod > picks[k].Lod;
    }
    EXPECT_GT(coarser, 0);

    // Under a window over the left two thirds of the view, only the chunks that would show
    // wholly inside it are left out.
    TSKIFrameView covered = view;
    covered.Covered = {{0, 0, 700, 768}};
    std::vector<TSKIChunkPick> under;
    SelectTerrainChunks(bounds, covered, 1, under);
    auto chunk = [](const TSKIChunkPick& p) { return p.I * kChunksPerSide + p.J; };
    std::vector<int> shown;
    for (const TSKIChunkPick& p : under) shown.push_back(chunk(p));
    int left = 0;
    for (const TSKIChunkPick& p : picks) {
        if (std::count(shown.begin(), shown.end(), chunk(p))) continue;
        ++left;
        const TSKIChunkBounds& b = bounds[size_t(chunk(p))];
        for (int c = 0; c < 8; ++c) {
            const glm::vec4 clip =
                view.ViewProjection * glm::vec4((c & 1) ? b.Max.x : b.Min.x,
                                                (c & 2) ? b.Max.y : b.Min.y - b.SkirtDepth,
                                                (c & 4) ? b.Max.z : b.Min.z, 1.0f);
            ASSERT_GT(clip.w, 0.0f) << "chunk " << chunk(p);
            EXPECT_LE((clip.x / clip.w * 0.5f + 0.5f) * 1024.0f, 700.0f) << "chunk " << chunk(p);
            EXPECT_LE(std::fabs(clip.y / clip.w), 1.0f) << "chunk " << chunk(p);
        }
    }
    EXPECT_GT(left, 0);
    EXPECT_LT(left, int(picks.size()));
}

TEST(TerrainChunks, EveryLevelOfDetailCoversTheChunkOnceAndSkirtsEveryEdge) {
    const TSKIChunkMesh mesh = BuildChunkIndices();
    for (int lod = 0; lod < kLodCount; ++lod) {
        const int step = 1 << lod;
        double area = 0;
        int skirts = 0;
        for (uint32_t k = mesh.First[size_t(lod)];
             k < mesh.First[size_t(lod)] + mesh.Count[size_t(lod)]; k += 3) {
            const uint32_t a = mesh.Indices[k], b = mesh.Indices[k + 1], c = mesh.Indices[k + 2];
            ASSERT_LT(std::max({a, b, c}), LodVertices(lod));
            // The surface's triangles first, the skirts' after them.
            const bool skirt = std::max({a, b, c}) >= LodSurfaceVertices(lod);
            EXPECT_EQ(skirt, k >= mesh.First[size_t(lod)] + mesh.Surface[size_t(lod)]);
            if (skirt) {
                ++skirts;
                continue;
            }
            auto p = [&](uint32_t v) {
                const uint32_t n = uint32_t(LodSide(lod));
                return glm::vec2(v / n, v % n) * float(step);  // in cells
            };
            const glm::vec2 e1 = p(b) - p(a), e2 = p(c) - p(a);
            // Counter-clockwise seen from above (i runs along -x, j along +z): the faces
            // the view culls are the slopes turned away.
            const double twice = e1.x * e2.y - e1.y * e2.x;
            EXPECT_GT(twice, 0.0);
            area += twice / 2;
        }
        EXPECT_DOUBLE_EQ(area, double(kChunkCells * kChunkCells)) << "lod " << lod;
        EXPECT_EQ(skirts, 4 * 2 * kChunkCells / step) << "lod " << lod;
    }
}

float EdgeSpike(int i, int j) {
    return (i == 32 && j == 4) ? 50.0f : 0.0f;
}

TEST(TerrainChunks, BoundsHoldTheChunkAndSkirtsReachBelowTheDeepestCrack) {
    const std::vector<TSKIChunkBounds> bounds = ComputeChunkBounds(Heights(EdgeSpike));
    // The spike sits on the edge between chunks (0, 0) and (1, 0): at the coarsest step both
    // edges run straight over it, so both skirts must hang 50 below.
    for (int c : {0, kChunksPerSide}) {
        EXPECT_GE(bounds[size_t(c)].Max.y, 50.0f);
        EXPECT_GE(bounds[size_t(c)].SkirtDepth, 50.0f);
        EXPECT_LE(bounds[size_t(c)].Min.y, -50.0f);  // the skirt lies inside the bounds
    }
    EXPECT_LE(bounds[1].SkirtDepth, 1.0f);  // a flat chunk hangs only its margin
    // Chunk (1, 0) spans x from -4*64 - 0.5 to -4*32 - 0.5 and z from -0.5 to 127.5.
    EXPECT_FLOAT_EQ(bounds[size_t(kChunksPerSide)].Min.x, -256.5f);
    EXPECT_FLOAT_EQ(bounds[size_t(kChunksPerSide)].Max.x, -128.5f);
    EXPECT_FLOAT_EQ(bounds[size_t(kChunksPerSide)].Max.z, 127.5f);
}

TEST(TerrainTexture, AChangedBandRepaintsEveryTexelThatSamplesIt) {
    // A bilinear sample of texel row r of a `to`-row target reads rows floor(y) and floor(y)+1
    // of the `from`-row image, y = (r + 0.5) * from / to - 0.5.
    for (auto [from, to] : {std::pair{512, 1024}, {512, 512}, {1024, 512}, {512, 2048}}) {
        for (int first : {0, 1, 37, 255, 510, 511}) {
            for (int length : {1, 2, 9}) {
                TSKIRowBand band;
                band.Add(first, std::min(first + length - 1, from - 1));
                const TSKIRowBand out = ScaleBand(band, from, to);
                ASSERT_FALSE(out.Empty());
                EXPECT_GE(out.First, 0);
                EXPECT_LT(out.Last, to);
                for (int r = 0; r < to; ++r) {
                    const int y0 = int(std::floor((r + 0.5) * from / to - 0.5));
                    const bool reads = (y0 >= band.First && y0 <= band.Last) ||
                                       (y0 + 1 >= band.First && y0 + 1 <= band.Last);
                    if (reads) {
                        ASSERT_TRUE(r >= out.First && r <= out.Last)
                            << from << "->" << to << " rows " << band.First << ".." << band.Last
                            << " miss target row " << r;
                    }
                }
            }
        }
    }
}

TEST(TerrainTexture, OverlaysFollowTheirDisplayFlagsAndTheSlopeTool) {
    const int always = SurfaceLayers(0, TSKITool::None);
    EXPECT_EQ(always, kLayerSlopePaint | kLayerImprint);
    EXPECT_EQ(SurfaceLayers(kDisplayBlocked, TSKITool::None), always | kLayerOccupancy);
    EXPECT_EQ(SurfaceLayers(kDisplayBlueRedBlack, TSKITool::Lift), always | kLayerSteepness);
    EXPECT_EQ(SurfaceLayers(kDisplaySlopes | kDisplaySnow | kDisplayTrees, TSKITool::Slope),
              always | kLayerPreview);
    // The skirt: its own texture at medium and high detail, the surface's at low, grey on
    // add-on maps.
    EXPECT_EQ(SideLayers(1, false, kDisplayBlocked, TSKITool::Slope), 0);
    EXPECT_EQ(SideLayers(0, false, kDisplayBlocked, TSKITool::None), always | kLayerOccupancy);
    EXPECT_EQ(SideLayers(2, true, 0, TSKITool::None), kLayerFlat);
}

// A steep peak 200 high: trees on its flanks stand well above their neighbours.
float Peak(int i, int j) {
    const float di = float(i - 230), dj = float(j - 250);
    return 10.0f + 200.0f * std::exp(-(di * di + dj * dj) / 2000.0f);
}

class ViewFlagsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::TestLevel level;
        level.height = Peak;
        level.meshKey = "viewpeak";
        ASSERT_TRUE(f.WriteAndLoad(level).ok());
    }
    test::LevelFixture f;
};

TEST_F(ViewFlagsTest, InViewMatchesTheSphereTestOfEveryCellAsTheViewMoves) {
    const std::vector<TSKIChunkBounds> bounds = ComputeChunkBounds(SampleTerrainHeights(*f));
    TSKIViewFlags flags;
    const TSKIFrameView views[] = {LookAt({-300, 200, 300}, {-900, 10, 900}),
                                   LookAt({-1000, 80, 1000}, {-1000, 10, 1300}),
                                   LookAt({-300, 200, 300}, {-900, 10, 900})};
    for (const TSKIFrameView& view : views) {
        const uint64_t changes = flags.Changes();
        flags.UpdateInView(*f, bounds, view);
        EXPECT_GT(flags.Changes(), changes);
        EXPECT_LT(flags.CellsTested(), kGridSide * kGridSide / 4);
        // The same view again: no flag turns, and the core is not handed them again.
        const uint64_t settled = flags.Changes();
        flags.UpdateInView(*f, bounds, view);
        EXPECT_EQ(flags.Changes(), settled);
        f->SetCellViewFlags(flags.CellFlags());  // as the game window hands them over
        int in = 0;
        for (int i = 0; i <= kGridSize; ++i) {
            for (int j = 0; j <= kGridSize; ++j) {
                glm::vec3 t(f->Cell(i, j).TreePosition);
                if (i == kGridSize || j == kGridSize) {
                    const TSKIVector p = f->CellToWorld(i, j, false);
                    t = glm::vec3(p.x, f->Cell(std::min(i, 511), std::min(j, 511)).Height, p.z);
                }
                const bool expected = view.SphereVisible(t, 20.0f);
                ASSERT_EQ(f->Cell(i, j).InView, expected) << i << "," << j;
                in += expected;
            }
        }
        EXPECT_GT(in, 1000);
    }
}

TEST_F(ViewFlagsTest, TheNearCameraAreaFollowsTheFocusInStepsOfFourCells) {
    TSKIViewFlags flags;
    const float radius = 75;
    const glm::vec3 down = glm::normalize(glm::vec3(-1, -1, 1));
    const glm::vec3 eye(-1500, 60, 1500);  // 50 above flat ground: R = 75 - 10 = 65
    ASSERT_TRUE(flags.UpdateNearCamera(*f, radius, eye, down));
    auto check = [&](int fi, int fj) {
        f->SetCellViewFlags(flags.CellFlags());
        int near = 0;
        for (int i = 0; i <= kGridSize; ++i)
            for (int j = 0; j <= kGridSize; ++j) {
                const float d = std::hypot(float(i - fi), float(j - fj));
                ASSERT_EQ(f->Cell(i, j).NearCamera, d < 65.0f) << i << "," << j;
                near += f->Cell(i, j).NearCamera;
            }
        EXPECT_GT(near, 12000);
    };
    const int fi = flags.FocusI(), fj = flags.FocusJ();
    int ei, ej;
    f->WorldToCell(TSKIVector(eye + down * 260.0f, 1.0f), ei, ej);
    EXPECT_EQ(fi, ei);
    EXPECT_EQ(fj, ej);
    check(fi, fj);
    // Three cells further: nothing is recomputed.
    EXPECT_FALSE(flags.UpdateNearCamera(*f, radius, eye + glm::vec3(-12, 0, 0), down));
    check(fi, fj);
    // Four: the area moves, and the cells it left are cleared.
    EXPECT_TRUE(flags.UpdateNearCamera(*f, radius, eye + glm::vec3(-16, 0, 0), down));
    EXPECT_EQ(flags.FocusI(), fi + 4);
    check(fi + 4, fj);
}

}  // namespace
}  // namespace vallorn
