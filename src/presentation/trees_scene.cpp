// Trees on the tree cells: near the camera a low-poly conifer per tree (snowy or green),
// farther in view a flat card turned to the camera, visited back to front.
#include <algorithm>
#include <cmath>

#include "presentation/scene_impl.h"

namespace vallorn {
namespace {

constexpr int kBlockCells = 32;
constexpr float kRadiansPerDegree = 0.017453293f;
constexpr TShapeColor kCardSnowy{176, 196, 186, 255};
constexpr TShapeColor kCardGreen{44, 92, 60, 255};

}  // namespace

void TSKISceneRenderer::TImpl::BuildTreeBlocks(const TSKIEngine& engine) {
    TreeBlocks.clear();
    if (!engine.HasGrid()) return;
    TreeBlocksPerSide = (kGridSide + kBlockCells - 1) / kBlockCells;
    TreeBlocks.resize(size_t(TreeBlocksPerSide * TreeBlocksPerSide));
    for (int bi = 0; bi < TreeBlocksPerSide; ++bi) {
        for (int bj = 0; bj < TreeBlocksPerSide; ++bj) {
            const int i0 = bi * kBlockCells, j0 = bj * kBlockCells;
            const int i1 = std::min(i0 + kBlockCells, kGridSide) - 1;
            const int j1 = std::min(j0 + kBlockCells, kGridSide) - 1;
            float lo = 1e30f, hi = -1e30f;
            for (int i = i0; i <= i1; ++i) {
                for (int j = j0; j <= j1; ++j) {
                    lo = std::min(lo, engine.Cell(i, j).Height);
                    hi = std::max(hi, engine.Cell(i, j).Height);
                }
            }
            TTreeBlock& block = TreeBlocks[size_t(bi * TreeBlocksPerSide + bj)];
            const float x = -kCellSize * 0.5f * float(i0 + i1);
            const float z = kCellSize * 0.5f * float(j0 + j1);
            // Trees reach up to 20 units above the ground.
            block.Centre = glm::vec3(x, 0.5f * (lo + hi + 20.0f), z);
            const float half = kCellSize * 0.5f * float(kBlockCells) + 12.0f;
            const float rise = 0.5f * (hi - lo) + 12.0f;
            block.Radius = std::sqrt(2.0f * half * half + rise * rise);
        }
    }
}

void TSKISceneRenderer::TImpl::CollectTrees(const TSKIEngine& engine, const TSKIFrameView& frame) {
    ConiferSnowy.Instances.clear();
    ConiferGreen.Instances.clear();
    TreeCard.Instances.clear();
    if ((engine.DisplayFlags & kDisplayTrees) == 0 || TreeBlocks.empty()) return;
    const TBackToFront blocks =
        BackToFront(frame.Direction.x, frame.Direction.z, 0, TreeBlocksPerSide - 1);
    for (int a = 0; a < blocks.Count; ++a) {
        const int bi = blocks.I(a);
        for (int c = 0; c < blocks.Count; ++c) {
            const int bj = blocks.J(c);
            const TTreeBlock& block = TreeBlocks[size_t(bi * TreeBlocksPerSide + bj)];
            if (!frame.SphereVisible(block.Centre, block.Radius)) continue;
            const int i0 = bi * kBlockCells, j0 = bj * kBlockCells;
            const int i1 = std::min(i0 + kBlockCells, kGridSide) - 1;
            const int j1 = std::min(j0 + kBlockCells, kGridSide) - 1;
            const TBackToFront cells =
                BackToFront(frame.Direction.x, frame.Direction.z, 0, std::max(i1 - i0, j1 - j0));
            for (int u = 0; u < cells.Count; ++u) {
                const int i = i0 + cells.I(u);
                if (i > i1) continue;
                for (int v = 0; v < cells.Count; ++v) {
                    const int j = j0 + cells.J(v);
                    if (j > j1) continue;
                    const TerrainCell& cell = engine.Cell(i, j);
                    if (!cell.Tree || !cell.InView) continue;
                    const glm::vec3 p = Vec3(cell.TreePosition);
                    const glm::vec3 scale = Vec3(cell.TreeScale);
                    const bool snowy = cell.NaturalSnow || cell.ArtificialSnow;
                    if (cell.NearCamera) {
                        (snowy ? ConiferSnowy : ConiferGreen)
                            .Add(p, cell.TreeTurn * kRadiansPerDegree, scale);
                    } else {
                        const float yaw = YawOf(frame.Eye.x - p.x, frame.Eye.z - p.z);
                        TreeCard.Add(p, yaw, scale, snowy ? kCardSnowy : kCardGreen);
                    }
                }
            }
        }
    }
}

}  // namespace vallorn
