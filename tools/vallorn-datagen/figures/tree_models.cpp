// The tree models and the sky dome.
//
// treeA0..29.3DS: one conifer swaying in the wind, a loop of 30 frames (the cell's variant is
// its frame). Unit size centred on the origin (y -0.5..0.5, branches within a radius of 0.5),
// as the cell's tree position and scale expect. The trunk has the plain material "treeBark";
// the branches are six tiers of five drooping fan-shaped cards (three branches each) under a
// spire of five, every branch cut to its outline, with the material "treeLeafWhite" (texture
// treeLeafWhite.tga): the renderer loads the frames a second time with "treeLeafGreen" bound
// in its place for trees without snow. The cards are meant to be drawn from both faces and
// alpha-tested; the picture of a branch is solid but for a fringe of needles toward its tip.
//
// TreeLS.3DS and TreeLG.3DS: the low trees, crossed cards of the billboard picture (material
// "treeMask"), the same unit size: TreeLS two cards, TreeLG three and a wider crown.
//
// Dome.3DS: a hemisphere of radius 1000 (the game scales it by 3.01) with a band below the
// horizon, seen from inside, material "DomeMat" (texture dome0.jpg; the game picks one of
// dome0..5.jpg). Its texture coordinates follow the dome pictures: u once around from +x toward
// +z, v from the horizon (0) to the zenith (1).
#include <algorithm>
#include <array>
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

// Sines and cosines are taken in double and rounded to float. A constant argument (a loop the
// optimiser unrolled) is folded by the compiler exactly, a variable one goes to the library,
// which may differ from it in the last bit of a float: in double the rounding hides that, so
// every build writes the same bytes.
float Sin(float a) {
    return float(std::sin(double(a)));
}
float Cos(float a) {
    return float(std::cos(double(a)));
}
float Tan(float a) {
    return float(std::tan(double(a)));
}

// The sideways bend of the stem at height y (-0.5..0.5) in frame `phase`: the tree leans with
// the gusts, more toward the top, and drifts a little across them.
TVec3 Bend(float y, float phase) {
    const float h = (y + 0.5f) * (y + 0.5f);
    return {0.035f * Sin(phase) * h, 0, 0.012f * Sin(2 * phase + 0.7f) * h};
}

// Branch cards per tier, and how far each spans to either side of its middle: a fifth of the
// way round and a tenth more each side, so that neighbours overlap. Each card is a fan of
// kBranches branches side by side; the leaf picture shows one of them (tree_images.cpp).
constexpr int kTierCards = 5;
constexpr float kCardSpread = 1.2f * kPi / kTierCards;
constexpr int kBranches = 3;
constexpr float kSag = 0.25f;  // how far a branch arches down at its tip, for its length 1

// A branch card: a fan of kBranches branches from the stem, each cut to its outline (a kite
// from the stem out to the notches beside it and on to its tip), so that the rasteriser never
// meets the empty corners of a square card. The fan lies in the card's x/z plane, x along its
// middle (length 1), and arches down toward its rim by `sag`; the current transform droops it.
// Every branch shows the whole leaf picture: the stem at the bottom middle, the tip at the top.
// `seed` makes each card's rim a little different.
void BranchCard(TMesh& m, float sag, int seed) {
    const float half = kCardSpread / kBranches;  // a branch spans twice this
    const float across = Sin(half);              // its half width at length 1, in the picture
    // A small hash of card and point: the notches reach 0.7 to 0.8 out, the tips 0.92 to 1.
    auto jitter = [&](int k) { return float((seed * 7 + k * 13) % 11) / 10.0f; };
    std::array<float, kBranches + 1> notches{};
    for (int k = 0; k <= kBranches; ++k) notches[size_t(k)] = 0.7f + 0.1f * jitter(2 * k);
    constexpr float kInner = 0.55f;  // where the arch begins to bend the fan
    for (int b = 0; b < kBranches; ++b) {
        const float middle = -kCardSpread + (2 * b + 1) * half;
        const float c = Cos(middle), s = Sin(middle);
        // A point at length r and angle a in the fan, and its place in the picture, which
        // lies square to this branch.
        auto place = [&](float r, float a, TVec3* p, TVec2* uv) {
            const float x = r * Cos(a), z = r * Sin(a);
            *p = {x, -sag * r * r, z};
            *uv = {0.5f + 0.5f * (z * c - x * s) / across, x * c + z * s};
        };
        const float angles[3] = {middle - half, middle, middle + half};
        const float reach[3] = {notches[size_t(b)], 0.92f + 0.08f * jitter(2 * b + 1),
                                notches[size_t(b) + 1]};
        TVec3 stem, inner[3], outer[3];
        TVec2 stemUv, innerUv[3], outerUv[3];
        place(0, 0, &stem, &stemUv);
        for (int k = 0; k < 3; ++k) {
            place(kInner, angles[k], &inner[k], &innerUv[k]);
            place(reach[k], angles[k], &outer[k], &outerUv[k]);
        }
        // Counter-clockwise seen from above: the upper face looks up and out.
        auto triangle = [&](TVec3 p0, TVec3 p1, TVec3 p2, TVec2 u0, TVec2 u1, TVec2 u2) {
            const TVec3 q[3] = {p0, p1, p2};
            const TVec2 uv[3] = {u0, u1, u2};
            m.TexturedTriangle(q, uv);
        };
        for (int i = 0; i < 2; ++i) {
            const int j = i + 1;
            triangle(stem, inner[j], inner[i], stemUv, innerUv[j], innerUv[i]);
            triangle(inner[i], inner[j], outer[j], innerUv[i], innerUv[j], outerUv[j]);
            triangle(inner[i], outer[j], outer[i], innerUv[i], outerUv[j], outerUv[i]);
        }
    }
}

// One tier of branches: fans around the stem from `apex`, drooping by `droop` so that their
// tips reach `radius` out, turned by `twist` cards against the tier below.
void Tier(TMesh& m, TVec3 apex, float radius, float droop, float twist, float lean, float phase,
          int tier) {
    const float length = radius / Cos(droop);
    for (int c = 0; c < kTierCards; ++c) {
        // The branches flutter with the gusts, each a little out of step with the others.
        const float flutter = 0.06f * Sin(phase * 2 + float(c) * 1.7f + float(tier));
        m.Push();
        m.Translate(apex);
        m.RotateZ(-lean);
        m.RotateY(2 * kPi * (float(c) + twist) / kTierCards);
        m.RotateZ(-(droop + flutter));
        m.RotateX(c % 2 ? 0.25f : -0.2f);  // the branches tilt either way: a ragged tier
        m.Scale({length, length, length});
        BranchCard(m, kSag, tier * kTierCards + c);
        m.Pop();
    }
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
    // The spire first, then the tiers from the top down: seen from above, as the view mostly
    // sees the trees, the upper tiers hide the inner parts of the lower ones before these are
    // shaded.
    const TVec3 top = Bend(0.5f, phase);
    Tier(m, {top.x, 0.5f, top.z}, 0.08f, 1.2f, 0.1f, 0, phase, kTiers);
    for (int t = kTiers - 1; t >= 0; --t) {
        const float s = float(t) / (kTiers - 1);  // 0 lowest .. 1 top
        const float radius = 0.5f - 0.34f * s;
        const float droop = 0.45f + 0.3f * s;
        const float rim = -0.40f + 0.68f * s;  // height of the branch tips
        const float apex = rim + radius * (Tan(droop) + kSag);
        const TVec3 at = Bend(apex, phase);
        // The branches swing a little behind the stem.
        const float lean = 2.2f * 0.035f * Sin(phase) * (apex + 0.5f);
        Tier(m, {at.x, apex, at.z}, radius, droop, 0.37f * float(t), lean, phase, t);
    }
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
        profile.push_back({kRadius * Sin(polar), kRadius * Cos(polar)});
    }
    profile.push_back({kRadius * 0.98f, -kRadius * 0.18f});  // the band below the horizon
    m.Scale({1, 1, -1});  // mirrored, so that the azimuth turns from +x to +z
    m.Lathe(profile, 32);
    // The lathe's v runs along the profile; the pictures want height above the horizon.
    auto& parts = m.EditParts();
    for (mesh::TPart& part : parts)
        for (mesh::TVertex& v : part.vertices) {
            const float polar =
                float(std::acos(double(std::clamp(v.position.y / kRadius, -1.0f, 1.0f))));
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
