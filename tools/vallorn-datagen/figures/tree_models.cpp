// The tree models and the sky dome.
//
// treeA0..29.3DS: one conifer swaying in the wind, a loop of 30 frames (the cell's variant is
// its frame). Unit size centred on the origin (y -0.5..0.5, branches within a radius of 0.5),
// as the cell's tree position and scale expect. The trunk has the plain material "treeBark";
// the branches are leaf cards, each showing one needle spray, with the material
// "treeLeafWhite" (texture treeLeafWhite.tga): the renderer loads the frames a second time with
// "treeLeafGreen" bound in its place for trees without snow. The cards are meant to be drawn
// from both faces and alpha-tested.
//
// TreeLS.3DS and TreeLG.3DS: the low trees, crossed cards of the billboard picture (material
// "treeMask"), the same unit size: TreeLS two cards, TreeLG three and a wider crown.
//
// Dome.3DS: a hemisphere of radius 1000 (the game scales it by 3.01) with a band below the
// horizon, seen from inside, material "DomeMat" (texture dome0.jpg; the game picks one of
// dome0..5.jpg). Its texture coordinates follow the dome pictures: u once around from +x toward
// +z, v from the horizon (0) to the zenith (1).
#include <algorithm>
#include <cmath>
#include <vector>

#include "figure_body.h"
#include "figure_models.h"

namespace vallorn::datagen::figures {
namespace {

using mesh::TMesh;
using mesh::TVec2;
using mesh::TVec3;

constexpr float kPi = 3.14159265f;
constexpr int kTreeFrames = 30;
constexpr int kTiers = 6;

// The sideways bend of the stem at height y (-0.5..0.5) in frame `phase`: the tree leans with
// the gusts, more toward the top, and drifts a little across them.
TVec3 Bend(float y, float phase) {
    const float h = (y + 0.5f) * (y + 0.5f);
    return {0.035f * std::sin(phase) * h, 0, 0.012f * std::sin(2 * phase + 0.7f) * h};
}

// A leaf card: a unit quad under a transform, so its texture coordinates span the picture.
// The spray's twig runs from the bottom of the picture (at the stem) to its top (the tip).
void Card(TMesh& m, float length, float width, float droop, float turn, float roll) {
    m.Push();
    m.RotateY(turn);
    m.RotateZ(-droop);  // the card points along +x, drooping below the horizontal
    m.RotateX(roll);
    m.Scale({length, 1, width});
    // Corners: stem side (-width/2, +width/2), tip side; counter-clockwise seen from above.
    m.Quad({0, 0, 0.5f}, {0, 0, -0.5f}, {1, 0, -0.5f}, {1, 0, 0.5f});
    m.Pop();
}

TMesh TreeFrame(int frame) {
    TMesh m;
    const float phase = 2 * kPi * float(frame) / kTreeFrames;
    m.Material({"treeBark", {0.32f, 0.22f, 0.15f}, "", 1});
    m.Part("Trunk");
    const int pieces = 4;
    for (int k = 0; k < pieces; ++k) {
        const float y0 = -0.5f + 0.85f * k / pieces, y1 = -0.5f + 0.85f * (k + 1) / pieces;
        const float r0 = 0.036f * (1 - 0.8f * k / pieces),
                    r1 = 0.036f * (1 - 0.8f * (k + 1) / pieces);
        const TVec3 a = Bend(y0, phase), b = Bend(y1, phase);
        m.Cylinder({a.x, y0, a.z}, {b.x, y1, b.z}, r0, r1, 6, k == 0);
    }
    m.Material({"treeLeafWhite", {1, 1, 1}, "treeLeafWhite.tga", 1});
    m.Part("Leaves");
    for (int t = 0; t < kTiers; ++t) {
        const float s = float(t) / (kTiers - 1);  // 0 lowest .. 1 top
        const float y = -0.34f + 0.76f * s;
        const float radius = 0.5f - 0.36f * s;
        const int cards = t < 4 ? 8 : 6;
        const TVec3 at = Bend(y, phase);
        // The branches swing a little behind the stem and flutter with the gusts.
        const float lean = 2.2f * 0.035f * std::sin(phase) * (y + 0.5f);
        for (int layer = 0; layer < 2; ++layer) {
            for (int c = 0; c < cards; ++c) {
                const float turn = 2 * kPi * (c + 0.5f * layer + 0.37f * t) / cards;
                const float flutter = 0.05f * std::sin(phase * 2 + c * 1.7f + t);
                const float base = y + (layer ? 0.05f : 0.0f);
                const float length = radius * (layer ? 0.85f : 1.0f);
                // The lowest branches droop no further than the foot of the trunk.
                const float droop = std::min((layer ? 0.85f : 0.42f) + flutter,
                                             std::asin(std::min(1.0f, (base + 0.46f) / length)));
                m.Push();
                m.Translate({at.x, base, at.z});
                m.RotateZ(-lean);
                Card(m, length, radius * 0.9f, droop, turn, layer ? 0.25f : 0.0f);
                m.Pop();
            }
        }
    }
    // The leader at the top.
    const TVec3 top = Bend(0.42f, phase);
    m.Push();
    m.Translate({top.x, 0.34f, top.z});
    for (int c = 0; c < 3; ++c) {
        m.Push();
        m.RotateY(kPi * c / 3);
        m.Scale({0.16f, 0.18f, 1});
        m.Quad({-0.5f, 0, 0}, {0.5f, 0, 0}, {0.5f, 1, 0}, {-0.5f, 1, 0});
        m.Pop();
    }
    m.Pop();
    WindAlongNormals(m);
    return OnePart(m, "Tree");
}

// A low tree: `cards` vertical cards of the billboard picture crossed on the stem.
TMesh LowTree(int cards, float width) {
    TMesh m;
    m.Material({"treeMask", {1, 1, 1}, "treeMask.tga", 1});
    m.Part("Cards");
    for (int c = 0; c < cards; ++c) {
        m.Push();
        m.RotateY(kPi * c / cards);
        m.Scale({width, 1, 1});
        m.Quad({-0.5f, -0.5f, 0}, {0.5f, -0.5f, 0}, {0.5f, 0.5f, 0}, {-0.5f, 0.5f, 0});
        m.Pop();
    }
    return m;
}

TMesh Dome() {
    TMesh m;
    m.Material({"DomeMat", {1, 1, 1}, "dome0.jpg", 1});
    m.Part("Dome");
    constexpr float kRadius = 1000;
    constexpr int kRings = 12;
    std::vector<TVec2> profile;
    for (int k = 0; k <= kRings; ++k) {
        const float polar = 0.5f * kPi * k / kRings;
        profile.push_back({kRadius * std::sin(polar), kRadius * std::cos(polar)});
    }
    profile.push_back({kRadius * 0.98f, -kRadius * 0.18f});  // the band below the horizon
    m.Scale({1, 1, -1});  // mirrored, so that the azimuth turns from +x to +z
    m.Lathe(profile, 32);
    // The lathe's v runs along the profile; the pictures want height above the horizon.
    auto& parts = m.EditParts();
    for (mesh::TPart& part : parts)
        for (mesh::TVertex& v : part.vertices) {
            const float polar = std::acos(std::clamp(v.position.y / kRadius, -1.0f, 1.0f));
            v.uv.y = std::max(0.004f, 1 - polar / (0.5f * kPi));
        }
    WindAlongNormals(m, true);
    return m;
}

}  // namespace

bool WriteTreeAndSkyModels(const std::filesystem::path& dataFolder, std::string* error) {
    for (int f = 0; f < kTreeFrames; ++f)
        if (!TreeFrame(f).Write(dataFolder / ("treeA" + std::to_string(f) + ".3DS"), error))
            return false;
    return LowTree(2, 0.62f).Write(dataFolder / "TreeLS.3DS", error) &&
           LowTree(3, 0.8f).Write(dataFolder / "TreeLG.3DS", error) &&
           Dome().Write(dataFolder / "Dome.3DS", error);
}

}  // namespace vallorn::datagen::figures
