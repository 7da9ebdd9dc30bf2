// Trees on the tree cells: near the camera the tree model of the cell's variant (a frame of
// the swaying loop, snowy or green leaves), farther in view a billboard turned to the camera,
// visited back to front (near trees beyond a short distance too: a card is as good there);
// at high detail the forest repeated beyond the map's edge.
#include <algorithm>
#include <cmath>

#include "presentation/editor_view.h"
#include "presentation/scene_impl.h"

namespace vallorn {
namespace {

constexpr int kBlockCells = 32;
constexpr float kRadiansPerDegree = 0.017453293f;
constexpr TShapeColor kCardSnowy{104, 136, 118, 255};
constexpr TShapeColor kCardGreen{44, 92, 60, 255};
// Tints of the tree image (treeMask.tga), drawn unlit, that give a card the colour of the tree
// model it stands in for at the switch: the mean of the model's leaf picture (treeLeafGreen.tga
// 26, 52, 32; treeLeafWhite.tga 57, 80, 66) under the leaves' mean light (1.04: ambient, the
// sun on either side) over the mean of the card's picture (102, 132, 111).
constexpr TShapeColor kTintSnowy{147, 161, 157, 255};
constexpr TShapeColor kTintGreen{68, 105, 77, 255};
constexpr TShapeColor kTintMirror{214, 222, 228, 255};
// Near trees beyond this distance from the eye are drawn as billboards: at that size on the
// screen the card shows the same tree, and every leaf fragment costs the rasteriser.
constexpr float kTreeModelReach = 72.0f;
// How far a tree's crown counts toward a station's clearing at most (0.4 of the widest, 20 m).
constexpr float kStationCrownReach = 8.0f;
// The height over the avatar's feet the chase camera looks at.
constexpr float kRiderSightHeight = 1.5f;

}  // namespace

void TSKISceneRenderer::TImpl::RefreshTreeBlock(const TSKIEngine& engine, TTreeBlock& block) {
    block.Trees.clear();
    block.RowStart.clear();
    float lo = 1e30f, hi = -1e30f;
    for (int i = block.I0; i <= block.I1; ++i) {
        block.RowStart.push_back(uint32_t(block.Trees.size()));
        for (int j = block.J0; j <= block.J1; ++j) {
            const TerrainCell& c = engine.Cell(i, j);
            lo = std::min(lo, c.Height);
            hi = std::max(hi, c.Height);
            if (!c.Tree) continue;
            TTreeRecord t;
            t.Cell = uint32_t(i * kGridSide + j);
            t.Position = Vec3(c.TreePosition);
            t.Scale = Vec3(c.TreeScale);
            t.Yaw = c.TreeTurn * kRadiansPerDegree;
            t.Snowy = c.NaturalSnow || c.ArtificialSnow;
            block.Trees.push_back(t);
        }
    }
    block.RowStart.push_back(uint32_t(block.Trees.size()));
    const float x = -kCellSize * 0.5f * float(block.I0 + block.I1);
    const float z = kCellSize * 0.5f * float(block.J0 + block.J1);
    // Trees reach up to 20 units above the ground.
    block.Centre = glm::vec3(x, 0.5f * (lo + hi + 20.0f), z);
    const float half = kCellSize * 0.5f * float(kBlockCells) + 12.0f;
    const float rise = 0.5f * (hi - lo) + 12.0f;
    block.Radius = std::sqrt(2.0f * half * half + rise * rise);
}

void TSKISceneRenderer::TImpl::BuildTreeBlocks(const TSKIEngine& engine) {
    TreeBlocks.clear();
    if (!engine.HasGrid()) return;
    TreeBlocksPerSide = (kGridSide + kBlockCells - 1) / kBlockCells;
    TreeBlocks.resize(size_t(TreeBlocksPerSide * TreeBlocksPerSide));
    for (int bi = 0; bi < TreeBlocksPerSide; ++bi) {
        for (int bj = 0; bj < TreeBlocksPerSide; ++bj) {
            TTreeBlock& block = TreeBlocks[size_t(bi * TreeBlocksPerSide + bj)];
            block.I0 = bi * kBlockCells;
            block.J0 = bj * kBlockCells;
            block.I1 = std::min(block.I0 + kBlockCells, kGridSide) - 1;
            block.J1 = std::min(block.J0 + kBlockCells, kGridSide) - 1;
            RefreshTreeBlock(engine, block);
        }
    }
}

void TSKISceneRenderer::TImpl::CollectTrees(const TSKIEngine& engine, const TSKIViewState& view,
                                            const TSKIToolState& tools,
                                            const TSKIFrameView& frame) {
    ConiferSnowy.Instances.clear();
    ConiferGreen.Instances.clear();
    TreeCard.Instances.clear();
    for (auto* trees : {&TreeWhite, &TreeGreen})
        for (auto& batch : *trees) batch.Instances.clear();
    if (TreeBlocks.empty()) return;

    // Keep the copies current: one block a frame in turn, and the blocks under the cursor
    // while a tool is in hand.
    RefreshTreeBlock(engine, TreeBlocks[TreeRefreshTurn++ % TreeBlocks.size()]);
    if (tools.Tool != TSKITool::None) {
        const float reach = tools.CursorRadius + 2.0f * kCellSize;
        const int ci = int(-tools.CursorPosition.x / kCellSize);
        const int cj = int(tools.CursorPosition.z / kCellSize);
        const int r = int(reach / kCellSize) + 1;
        const int b0 = std::clamp((ci - r) / kBlockCells, 0, TreeBlocksPerSide - 1);
        const int b1 = std::clamp((ci + r) / kBlockCells, 0, TreeBlocksPerSide - 1);
        const int c0 = std::clamp((cj - r) / kBlockCells, 0, TreeBlocksPerSide - 1);
        const int c1 = std::clamp((cj + r) / kBlockCells, 0, TreeBlocksPerSide - 1);
        for (int bi = b0; bi <= b1; ++bi)
            for (int bj = c0; bj <= c1; ++bj)
                RefreshTreeBlock(engine, TreeBlocks[size_t(bi * TreeBlocksPerSide + bj)]);
    }
    if ((view.DisplayFlags & kDisplayTrees) == 0) return;
    // The tree-animation tick: near trees step to their next frame (a breath of wind).
    const bool animate = engine.Options.Detail > 0 && view.TreeSteps != TreeStepsShown;
    TreeStepsShown = view.TreeSteps;
    if (TreeVariants.size() != engine.Grid.size()) {
        TreeVariants.resize(engine.Grid.size());
        for (size_t c = 0; c < engine.Grid.size(); ++c) TreeVariants[c] = engine.Grid[c].Variant;
    }

    const TBackToFront blocks =
        BackToFront(frame.Direction.x, frame.Direction.z, 0, TreeBlocksPerSide - 1);
    const bool rowsForward = blocks.JStep > 0;
    constexpr float kReach2 = kTreeModelReach * kTreeModelReach;
    // While the avatar rides, the trees on the chase camera's sight line to it are left out:
    // in a forest the rider stays in view.
    const bool riding = tools.Avatar.Visible;
    const glm::vec3 rider = Vec3(tools.Avatar.Position) + glm::vec3(0.0f, kRiderSightHeight, 0.0f);
    // The lift stations stand in clearings: a tree there would grow through the station.
    struct TClearing {
        glm::vec3 Point;
        float Radius;
    };
    std::vector<TClearing> clearings, blockClearings;
    for (const auto& owned : engine.Sections) {
        const TSKISection& s = *owned;
        if (s.IsSlope() || s.LiftType >= kLiftTypeCount || s.Stations.size() < 2) continue;
        const float r = StationClearing(engine.Params.Lifts[s.LiftType].LineDist);
        clearings.push_back({Vec3(s.Stations.front()), r});
        clearings.push_back({Vec3(s.Stations.back()), r});
    }
    for (int a = 0; a < blocks.Count; ++a) {
        const int bi = blocks.I(a);
        for (int c = 0; c < blocks.Count; ++c) {
            const TTreeBlock& block = TreeBlocks[size_t(bi * TreeBlocksPerSide + blocks.J(c))];
            if (block.Trees.empty() || !frame.SphereShown(block.Centre, block.Radius)) continue;
            blockClearings.clear();
            for (const TClearing& k : clearings) {
                const float reach = block.Radius + k.Radius + kStationCrownReach;
                const float dx = k.Point.x - block.Centre.x, dz = k.Point.z - block.Centre.z;
                if (dx * dx + dz * dz < reach * reach) blockClearings.push_back(k);
            }
            const auto inClearing = [&](const TTreeRecord& t) {
                for (const TClearing& k : blockClearings)
                    if (TreeInStationClearing(k.Point, k.Radius, t.Position, t.Scale)) return true;
                return false;
            };
            const int rows = int(block.RowStart.size()) - 1;
            const TBackToFront order =
                BackToFront(frame.Direction.x, frame.Direction.z, 0, rows - 1);
            for (int u = 0; u < order.Count; ++u) {
                const int row = order.I(u);
                const int begin = int(block.RowStart[size_t(row)]);
                const int end = int(block.RowStart[size_t(row) + 1]);
                for (int n = 0; n < end - begin; ++n) {
                    const TTreeRecord& t =
                        block.Trees[size_t(rowsForward ? begin + n : end - 1 - n)];
                    const TerrainCell& cell = engine.Grid[t.Cell];
                    uint8_t& variant = TreeVariants[t.Cell];
                    if (!cell.InView || !cell.Tree || EyeInTree(frame.Eye, t.Position, t.Scale) ||
                        (riding && TreeHidesTarget(frame.Eye, rider, t.Position, t.Scale)) ||
                        (!blockClearings.empty() && inClearing(t)))
                        continue;
                    if (cell.NearCamera && animate) variant = uint8_t((variant + 1) % kTreeFrames);
                    const glm::vec3 away = t.Position - frame.Eye;
                    if (cell.NearCamera && (!TreeModels || glm::dot(away, away) < kReach2)) {
                        if (TreeModels) {
                            auto& frames = t.Snowy ? TreeWhite : TreeGreen;
                            frames[size_t(variant % kTreeFrames)].Add(t.Position, t.Yaw, t.Scale);
                        } else {
                            const float sway = TreeSway(variant);
                            (t.Snowy ? ConiferSnowy : ConiferGreen)
                                .Add(t.Position, t.Yaw, t.Scale * glm::vec3(sway, 1.0f, sway));
                        }
                    } else {
                        // A textured card is turned to the eye as it is drawn (card_sheet.h).
                        const float yaw = TreeCard.Texture ? 0.0f
                                                           : YawOf(frame.Eye.x - t.Position.x,
                                                                   frame.Eye.z - t.Position.z);
                        TreeCard.Add(t.Position, yaw, t.Scale,
                                     TreeCard.Texture ? (t.Snowy ? kTintSnowy : kTintGreen)
                                                      : (t.Snowy ? kCardSnowy : kCardGreen));
                    }
                }
            }
        }
    }
    // The cards were met back to front; they are drawn front to back with depth writes. An
    // alpha-tested card covers what it covers whatever the order, and the near cards then
    // turn away the fragments of every card behind them before these are shaded.
    std::reverse(TreeCard.Instances.begin(), TreeCard.Instances.end());
}

void TSKISceneRenderer::TImpl::CollectMirroredTrees(const TSKIEngine& engine,
                                                    const TSKIViewState& view,
                                                    const TSKIFrameView& frame) {
    MirrorCard.Instances.clear();
    // The forest beyond the edge: high detail, trees and the skirt shown, not on add-on maps,
    // and not while the editor hides the distant scenery.
    if (TreeBlocks.empty() || !DistantSceneryShown(engine) ||
        !MirroredForestShown(engine.Options.Detail, engine.Level.FromAddons, view.DisplayFlags))
        return;
    // Each tile is the map reflected about the edges crossed to reach it, as the land there.
    const float world = kCellSize * float(kGridSize);
    const glm::vec3 middle(-0.5f * world - 0.5f, 0.0f, 0.5f * world - 0.5f);
    for (int ti = -1; ti <= 1; ++ti) {
        for (int tj = -1; tj <= 1; ++tj) {
            if (ti == 0 && tj == 0) continue;
            if (!frame.SphereShown(MirroredTreePosition(middle, ti, tj), 0.5f * world * 1.4142f))
                continue;
            for (const TTreeBlock& block : TreeBlocks) {
                if (block.Trees.empty() ||
                    !frame.SphereShown(MirroredTreePosition(block.Centre, ti, tj), block.Radius))
                    continue;
                for (const TTreeRecord& t : block.Trees) {
                    const glm::vec3 p = MirroredTreePosition(t.Position, ti, tj);
                    const float yaw =
                        MirrorCard.Texture ? 0.0f : YawOf(frame.Eye.x - p.x, frame.Eye.z - p.z);
                    MirrorCard.Add(p, yaw, t.Scale, kTintMirror);
                }
            }
        }
    }
}

}  // namespace vallorn
