// The scene's rules without a display: far trees visited back to front, the dot sizes, how a
// skier is shown, and the shapes' faces turned outward (a wrong winding would light them dark).
#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include <glm/geometric.hpp>

#include "base/overlays.h"
#include "entities/skier.h"
#include "presentation/card_sheet.h"
#include "presentation/scene_rules.h"
#include "presentation/shapes_mesh.h"
#include "presentation/shapes_models.h"

namespace vallorn {
namespace {

TEST(SceneRules, FarTreesAreVisitedFromTheFarthestToTheNearest) {
    const glm::vec2 directions[] = {{1, 1}, {1, -1}, {-1, 1}, {-1, -1}, {0.3f, -1}, {-1, 0.2f}};
    for (const glm::vec2& d : directions) {
        const TBackToFront order = BackToFront(d.x, d.y, 3, 8);
        ASSERT_EQ(order.Count, 6);
        std::set<std::pair<int, int>> seen;
        float previousRow = 1e30f;
        for (int a = 0; a < order.Count; ++a) {
            const int i = order.I(a);
            // Depth along the view of a row (x = -4i) and of a column (z = 4j).
            const float rowDepth = -4.0f * float(i) * d.x;
            EXPECT_LE(rowDepth, previousRow) << d.x << "," << d.y;
            previousRow = rowDepth;
            float previousColumn = 1e30f;
            for (int b = 0; b < order.Count; ++b) {
                const int j = order.J(b);
                EXPECT_TRUE(i >= 3 && i <= 8 && j >= 3 && j <= 8);
                const float columnDepth = 4.0f * float(j) * d.y;
                EXPECT_LE(columnDepth, previousColumn);
                previousColumn = columnDepth;
                seen.insert({i, j});
            }
        }
        EXPECT_EQ(seen.size(), 36u);
    }
    EXPECT_EQ(BackToFront(1, 1, 5, 4).Count, 0);
}

TEST(SceneRules, TheForestBeyondTheEdgeNeedsHighDetailTreesAndTheSkirt) {
    const uint8_t shown = kDisplayTrees | kDisplayLongVisibility | kDisplaySnow;
    EXPECT_TRUE(MirroredForestShown(2, false, shown));
    EXPECT_FALSE(MirroredForestShown(1, false, shown));
    EXPECT_FALSE(MirroredForestShown(2, true, shown));
    EXPECT_FALSE(MirroredForestShown(2, false, shown & ~kDisplayLongVisibility));
    EXPECT_FALSE(MirroredForestShown(2, false, shown & ~kDisplayTrees));
}

TEST(SceneRules, TheForestBeyondTheEdgeIsTheMapsForestReflected) {
    // A tree near the +X, +Z corner of the map (cell (2, 510)).
    const glm::vec3 tree(-8.5f, 37.0f, 2039.5f);
    const auto near = [](const glm::vec3& a, const glm::vec3& b) {
        return glm::distance(a, b) < 1e-3f;
    };
    // Each edge crossed reflects it: x about -0.5 (tile -1) or -2048.5 (tile 1), z about -0.5
    // or 2047.5; the height stays.
    EXPECT_TRUE(near(MirroredTreePosition(tree, -1, 0), {7.5f, 37.0f, 2039.5f}));
    EXPECT_TRUE(near(MirroredTreePosition(tree, 1, 0), {-4088.5f, 37.0f, 2039.5f}));
    EXPECT_TRUE(near(MirroredTreePosition(tree, 0, 1), {-8.5f, 37.0f, 2055.5f}));
    EXPECT_TRUE(near(MirroredTreePosition(tree, 0, -1), {-8.5f, 37.0f, -2040.5f}));
    EXPECT_TRUE(near(MirroredTreePosition(tree, -1, 1), {7.5f, 37.0f, 2055.5f}));
    // Reflecting twice across the same edge gives the tree back.
    for (int t = -1; t <= 1; ++t)
        EXPECT_TRUE(near(MirroredTreePosition(MirroredTreePosition(tree, t, -t), t, -t), tree));
}

TEST(SceneRules, ATreeTheEyeStandsInOrAgainstIsLeftOut) {
    // A crown 16 m across and 10 m high, standing on the ground at y = 0.
    const glm::vec3 centre(100, 5, 200), scale(16, 10, 16);
    EXPECT_TRUE(EyeInTree({103, 2, 203}, centre, scale));     // among the branches
    EXPECT_TRUE(EyeInTree({109.4f, 5, 200}, centre, scale));  // against the tips
    EXPECT_TRUE(EyeInTree({100, 11, 200}, centre, scale));    // just over the top
    EXPECT_FALSE(EyeInTree({109.6f, 5, 200}, centre, scale));
    EXPECT_FALSE(EyeInTree({100, 12, 200}, centre, scale));
    EXPECT_FALSE(EyeInTree({107, 5, 207}, centre, scale));  // beyond the round crown
}

TEST(SceneRules, ATreeBetweenTheChaseCameraAndTheRiderIsLeftOut) {
    // The chase camera 12 m behind and 5 m above a rider in a forest, looking down at them.
    const glm::vec3 eye(0, 15, 0), rider(12, 11.5f, 0);
    const glm::vec3 scale(12, 10, 12);  // a crown 12 m across, 10 m high, standing on y = 10
    EXPECT_TRUE(TreeHidesTarget(eye, rider, {6, 15, 0}, scale));      // on the sight line
    EXPECT_TRUE(TreeHidesTarget(eye, rider, {6, 15, 5.5f}, scale));   // its branches across it
    EXPECT_TRUE(TreeHidesTarget(eye, rider, {12, 15, 3}, scale));     // the rider among them
    EXPECT_FALSE(TreeHidesTarget(eye, rider, {6, 15, 6.5f}, scale));  // beside the line
    EXPECT_FALSE(TreeHidesTarget(eye, rider, {20, 15, 0}, scale));    // beyond the rider
    EXPECT_FALSE(TreeHidesTarget(eye, rider, {-8, 15, 0}, scale));    // behind the camera
    EXPECT_FALSE(TreeHidesTarget(eye, rider, {6, 5, 0}, scale));      // in a hollow below
    EXPECT_FALSE(TreeHidesTarget(eye, rider, {6, 27, 0}, scale));     // on a crest above
}

TEST(SceneRules, NoTreeIsDrawnThroughALiftStation) {
    // The station's point is at the cable, 10 m over the ground; small trees (crowns 2 m
    // across) stand round it.
    const glm::vec3 station(100, 60, 200), small(2, 4, 2), big(20, 24, 20);
    const float chair = StationClearing(2.0f);  // lines 2 m either side of the axis
    // The operator's hut beside the line (its far wall lines + 3.7 m off the axis), the
    // loading deck in front and the foundation behind.
    EXPECT_TRUE(TreeInStationClearing(station, chair, {105.6f, 52, 200}, small));
    EXPECT_TRUE(TreeInStationClearing(station, chair, {100, 52, 206}, small));
    EXPECT_TRUE(TreeInStationClearing(station, chair, {100, 52, 195.5f}, small));
    EXPECT_FALSE(TreeInStationClearing(station, chair, {109, 52, 200}, small));
    EXPECT_FALSE(TreeInStationClearing(station, chair, {100, 52, 191}, small));
    // A crown 20 m across standing that far off reaches over the hut.
    EXPECT_TRUE(TreeInStationClearing(station, chair, {109, 62, 200}, big));
    EXPECT_FALSE(TreeInStationClearing(station, chair, {117, 62, 200}, big));
    // A cabin lift's hall, lines 3 m off the axis: its corner (lines + 2.5, lines + 4).
    const float cabin = StationClearing(3.0f);
    EXPECT_TRUE(TreeInStationClearing(station, cabin, {105.4f, 52, 206.9f}, small));
    EXPECT_FALSE(TreeInStationClearing(station, cabin, {106, 52, 208}, small));
}

TEST(SceneRules, DotSizesFollowTheViewerWidthWithTheirMinimums) {
    EXPECT_FLOAT_EQ(DotSizes(320).Crowd, 2.0f);
    EXPECT_FLOAT_EQ(DotSizes(320).Overlay, 5.0f);
    EXPECT_FLOAT_EQ(DotSizes(1600).Crowd, 4.0f);
    EXPECT_FLOAT_EQ(DotSizes(1600).Overlay, 10.0f);
}

TEST(SceneRules, SkierPoseFollowsStateAndAnimationAndLooksVary) {
    EXPECT_EQ(SkierLook(kSkierInjured, kAnimSkiingFast, 0).Pose, TSkierPose::Lying);
    EXPECT_EQ(SkierLook(kSkierIdle, kAnimInjured, 0).Pose, TSkierPose::Lying);
    EXPECT_EQ(SkierLook(kSkierOnLift, kAnimSeated, 0).Pose, TSkierPose::Seated);
    EXPECT_EQ(SkierLook(kSkierSkiing, kAnimSkiingSlow, 0).Pose, TSkierPose::Skiing);
    EXPECT_EQ(SkierLook(kSkierWaiting, kAnimStanding, 0).Pose, TSkierPose::Standing);
    std::set<int> kinds, jackets;
    for (int v = 0; v < 256; ++v) {
        const TSkierLook look = SkierLook(kSkierIdle, kAnimStanding, uint8_t(v));
        kinds.insert(int(look.Kind));
        jackets.insert(look.Jacket.R * 65536 + look.Jacket.G * 256 + look.Jacket.B);
        EXPECT_EQ(look.Jacket.A, 255);  // opaque: the figure's paint takes it as is
    }
    EXPECT_EQ(kinds.size(), size_t(kSkierKinds));
    EXPECT_GE(jackets.size(), 8u);
    // The flip-book poses: Stand, Sit, Ski, Walk (standing on the move), Injured.
    EXPECT_EQ(FigurePose(TSkierPose::Standing, 0.0f), 0);
    EXPECT_EQ(FigurePose(TSkierPose::Seated, 3.0f), 1);
    EXPECT_EQ(FigurePose(TSkierPose::Skiing, 3.0f), 2);
    EXPECT_EQ(FigurePose(TSkierPose::Standing, 1.0f), 3);
    EXPECT_EQ(FigurePose(TSkierPose::Lying, 0.0f), 4);
}

// Every face of a convex shape looks away from the shape's centre.
void ExpectOutward(const TShapeBuilder& b, const glm::vec3& centre) {
    const auto& v = b.Vertices();
    const auto& idx = b.Indices();
    ASSERT_FALSE(idx.empty());
    for (size_t k = 0; k + 2 < idx.size(); k += 3) {
        const gl::TVertex &p = v[idx[k]], &q = v[idx[k + 1]], &r = v[idx[k + 2]];
        const glm::vec3 a(p.X, p.Y, p.Z), bb(q.X, q.Y, q.Z), c(r.X, r.Y, r.Z);
        const glm::vec3 winding = glm::cross(bb - a, c - a);
        const glm::vec3 out = (a + bb + c) / 3.0f - centre;
        EXPECT_GT(glm::dot(winding, out), 0.0f) << "triangle " << k / 3;
        EXPECT_GT(glm::dot(glm::vec3(p.NX, p.NY, p.NZ), out), 0.0f) << "triangle " << k / 3;
    }
}

TEST(SceneShapes, FacesOfBoxesPrismsBeamsAndConesTurnOutward) {
    TShapeBuilder b;
    b.Box(glm::vec3(-1, 0, -2), glm::vec3(3, 1, 2), {});
    ExpectOutward(b, glm::vec3(1, 0.5f, 0));
    b.Clear();
    b.Prism(glm::vec3(0, 0, 0), 1.0f, 0.5f, 2.0f, 6, {});
    ExpectOutward(b, glm::vec3(0, 0.8f, 0));
    b.Clear();
    b.Beam(glm::vec3(0, 0, 0), glm::vec3(2, 3, 1), 0.4f, {});
    ExpectOutward(b, glm::vec3(1, 1.5f, 0.5f));
    b.Clear();
    b.Beam(glm::vec3(0, 0, 0), glm::vec3(0, 3, 0), 0.4f, {});  // straight up
    ExpectOutward(b, glm::vec3(0, 1.5f, 0));
    b.Clear();
    b.Cone(glm::vec3(0, 0, 0), 1.0f, 2.0f, 7, {});
    ExpectOutward(b, glm::vec3(0, 0.3f, 0));
    b.Clear();
    // Through a transform: turned and moved, still outward.
    b.SetTransform(glm::mat4(0, 0, -1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 5, 1, 2, 1));
    b.Box(glm::vec3(-1, -1, -1), glm::vec3(1, 1, 1), {});
    ExpectOutward(b, glm::vec3(5, 1, 2));
}

TEST(SceneShapes, AFarTreeCardWrittenOutStandsWhereTheInstancedModelStoodFacingTheEye) {
    TShapeBuilder b;
    MakeTreeBillboard(b, palette::kPaint);
    gl::TInstance card;
    card.X = -100, card.Y = 20, card.Z = 300, card.SX = card.SZ = 6, card.SY = 12;
    card.R = 10, card.G = 20, card.B = 30;
    for (const glm::vec3 eye : {glm::vec3(-400, 90, 700), glm::vec3(50, 30, 310),
                                glm::vec3(-100, 500, 200), glm::vec3(-90, 25, 290)}) {
        std::vector<TCardVertex> out;
        AppendFacingCard(b.Vertices(), card, eye, out);
        ASSERT_EQ(out.size(), b.Vertices().size());
        // The model shader's turn by the yaw that points the card's +z at the eye.
        const float yaw = std::atan2(eye.x - card.X, eye.z - card.Z);
        const float c = std::cos(yaw), s = std::sin(yaw);
        for (size_t k = 0; k < out.size(); ++k) {
            const gl::TVertex& v = b.Vertices()[k];
            const float x = v.X * card.SX, z = v.Z * card.SZ;
            EXPECT_NEAR(out[k].X, c * x + s * z + card.X, 1e-3f);
            EXPECT_NEAR(out[k].Y, v.Y * card.SY + card.Y, 1e-3f);
            EXPECT_NEAR(out[k].Z, -s * x + c * z + card.Z, 1e-3f);
            EXPECT_EQ(out[k].U, v.U);
            EXPECT_EQ(out[k].B, 30);  // painted: the card's colour
        }
    }
}

}  // namespace
}  // namespace vallorn
