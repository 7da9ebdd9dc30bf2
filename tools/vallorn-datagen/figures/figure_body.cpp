#include "figure_body.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "skin_layout.h"

namespace vallorn::datagen::figures {
namespace {

using mesh::TMesh;
using mesh::TVec2;
using mesh::TVec3;

constexpr float kThigh = 0.42f, kShin = 0.42f;
constexpr float kBootSole = 0.08f;  // from the ankle down to the boot's sole
constexpr float kSki = 0.028f;      // thickness of a ski or the board
constexpr int kRound = 6;           // segments around a limb

struct TBuild {
    float hipHalf, shoulderHalf;
    bool female;
};

// A tapered limb hanging from the origin down to -len.
void Limb(TMesh& m, float len, float r0, float r1) {
    m.Cylinder({0, 0, 0}, {0, -len, 0}, r0, r1, kRound, false);
}

// A symmetric block around the y axis from y0 to y1 with half sizes (x, z) at each end.
void Slab(TMesh& m, float y0, TVec2 bottom, float y1, TVec2 top, float z = 0) {
    auto corners = [z](TVec2 h) {
        return std::array<TVec2, 4>{TVec2{-h.x, z - h.y}, TVec2{h.x, z - h.y}, TVec2{h.x, z + h.y},
                                    TVec2{-h.x, z + h.y}};
    };
    m.Block(corners(bottom), y0, corners(top), y1);
}

// A ski along z under a boot, its tip turned up.
void Ski(TMesh& m, float y) {
    m.Part("Skis");
    m.Box({0, y - kSki / 2, 0.1f}, {0.085f, kSki, 1.5f});
    m.Push();
    m.Translate({0, y - kSki / 2, 0.85f});
    m.RotateX(-0.45f);
    m.Box({0, 0, 0.07f}, {0.085f, kSki * 0.9f, 0.15f});
    m.Pop();
}

void Leg(TMesh& m, const TBuild& body, int side, const TLegPose& leg, bool skis, bool board) {
    m.Push();
    m.Translate({side * body.hipHalf, 0, 0});
    m.RotateZ(side * leg.hipRoll);
    m.RotateX(-leg.hipPitch);
    m.Part("Trousers");
    Limb(m, kThigh, body.female ? 0.08f : 0.085f, 0.068f);
    m.Translate({0, -kThigh, 0});
    m.Sphere({0, 0, 0}, 0.068f, 3, kRound);
    m.RotateX(leg.knee);
    Limb(m, kShin, 0.068f, 0.058f);
    m.Translate({0, -kShin, 0});
    // Level the foot again, then turn the toe.
    m.RotateX(leg.hipPitch - leg.knee);
    m.RotateZ(-side * leg.hipRoll);
    m.RotateY(-side * leg.footYaw);
    m.Part("Boots");
    m.Box({0, 0.02f, -0.01f}, {0.12f, 0.14f, 0.16f});
    m.Box({0, -0.045f, 0.04f}, {0.11f, 0.07f, 0.28f});
    if (skis) Ski(m, -kBootSole);
    if (board) {  // strapped across the boot, the other binding toward the middle
        m.Part("Board");
        m.Box({-side * 0.22f, -kBootSole - kSki / 2, 0}, {1.35f, kSki, 0.27f});
    }
    m.Pop();
}

// The height of the hip joint above the soles for a leg pose.
float LegReach(const TLegPose& leg) {
    return std::cos(leg.hipRoll) *
               (kThigh * std::cos(leg.hipPitch) + kShin * std::cos(leg.knee - leg.hipPitch)) +
           kBootSole;
}

struct THands {
    TVec3 at[2];
};

void Arm(TMesh& m, const TBuild& body, int side, const TArmPose& arm, THands* hands) {
    m.Push();
    m.Translate({side * (body.shoulderHalf + 0.02f), 0.46f, 0});
    m.RotateZ(side * arm.roll);
    m.RotateX(-arm.pitch);
    m.Part("Accent");
    m.Sphere({0, 0, 0}, 0.062f, 3, kRound);
    m.Part("Jacket");
    Limb(m, 0.28f, 0.056f, 0.047f);
    m.Translate({0, -0.28f, 0});
    m.RotateX(-arm.elbow);
    Limb(m, 0.25f, 0.047f, 0.04f);
    m.Part("Accent");
    m.Cylinder({0, -0.19f, 0}, {0, -0.25f, 0}, 0.05f, 0.05f, kRound, true);
    m.Part("Gloves");
    m.Sphere({0, -0.29f, 0.01f}, 0.05f, 3, kRound);
    hands->at[side > 0 ? 0 : 1] = m.Current().Point({0, -0.29f, 0.01f});
    m.Pop();
}

void Head(TMesh& m, const TBuild& body, const TPose& pose) {
    m.Part("Face");
    m.Cylinder({0, 0.5f, 0}, {0, 0.62f, 0.01f}, 0.05f, 0.05f, kRound, false);
    m.Push();
    m.Translate({0, 0.71f, 0.01f});
    m.RotateY(pose.headYaw);
    m.RotateX(pose.headPitch);
    m.Sphere({0, -0.015f, 0.02f}, 0.1f, 4, 8);
    m.Part("Helmet");
    m.Sphere({0, 0.025f, -0.012f}, 0.118f, 4, 8);
    m.Part("Goggles");
    m.Box({0, 0.02f, 0.092f}, {0.19f, 0.06f, 0.06f});
    if (body.female) {
        m.Part("Hair");
        m.Cylinder({0, -0.02f, -0.1f}, {0, -0.2f, -0.15f}, 0.05f, 0.022f, kRound, true);
    }
    m.Pop();
}

void Torso(TMesh& m, const TBuild& body, const TPose& pose, TFigureKind kind, THands* hands) {
    m.Push();
    m.RotateY(pose.torsoYaw);
    m.RotateZ(pose.torsoRoll);
    m.RotateX(pose.torsoPitch);
    const float sh = body.shoulderHalf;
    m.Part("Jacket");
    if (body.female) {
        Slab(m, -0.02f, {0.165f, 0.105f}, 0.22f, {0.13f, 0.09f});
        Slab(m, 0.22f, {0.13f, 0.09f}, 0.5f, {sh, 0.11f});
    } else {
        Slab(m, -0.02f, {0.17f, 0.11f}, 0.5f, {sh, 0.12f});
    }
    m.Part("Accent");
    Slab(m, 0.4f, {sh + 0.012f, 0.125f}, 0.53f, {sh - 0.04f, 0.1f});
    Slab(m, -0.04f, {0.178f, 0.118f}, 0.04f, {0.175f, 0.116f});
    Head(m, body, pose);
    for (int side : {1, -1}) Arm(m, body, side, pose.arms[side > 0 ? 0 : 1], hands);
    if (pose.carry == TCarry::Skis) {
        // Skis over the right shoulder, tips forward and up.
        m.Push();
        m.Translate({-sh - 0.02f, 0.6f, 0});
        m.RotateX(-0.55f);
        m.Part("Skis");
        for (float x : {-0.03f, 0.03f}) m.Box({x, 0.02f, 0.2f}, {kSki, 0.085f, 1.5f});
        m.Pop();
    } else if (pose.carry == TCarry::Board) {
        // The board under the left arm, nose down and forward.
        m.Push();
        m.Translate({sh + 0.13f, 0.25f, 0.05f});
        m.RotateX(0.35f);
        m.Part("Board");
        m.Box({0, 0, 0}, {kSki, 1.35f, 0.27f});
        m.Pop();
    }
    (void)kind;
    m.Pop();
}

void Poles(TMesh& m, const THands& hands, const TPose& pose) {
    m.Part("Poles");
    for (int k = 0; k < 2; ++k) {
        const float side = k == 0 ? 1.0f : -1.0f;
        const TVec3 d = mesh::Normalized({side * pose.poleOut, -1, -pose.poleBack});
        const TVec3 top = hands.at[k] - d * 0.1f, tip = hands.at[k] + d * 1.05f;
        m.Cylinder(top, tip, 0.013f, 0.01f, 4, false);
        m.Cylinder(tip - d * 0.1f, tip - d * 0.085f, 0.045f, 0.045f, 6, true);
    }
}

// The board under the boarder's feet, along z, with raised nose and tail.
void Board(TMesh& m) {
    m.Part("Board");
    m.Box({0, kSki / 2, 0}, {0.27f, kSki, 1.2f});
    for (int end : {1, -1}) {
        m.Push();
        m.Translate({0, kSki / 2, end * 0.6f});
        m.RotateX(-end * 0.35f);
        m.Block(
            {TVec2{-0.135f, 0}, {0.135f, 0}, {0.1f, end * 0.16f}, {-0.1f, end * 0.16f}}, -kSki / 2,
            {TVec2{-0.135f, 0}, {0.135f, 0}, {0.1f, end * 0.16f}, {-0.1f, end * 0.16f}}, kSki / 2);
        m.Pop();
    }
}

}  // namespace

void BuildFigure(mesh::TMesh& target, TFigureKind kind, const TPose& pose, int material) {
    const bool female = kind == TFigureKind::SkierF;
    const TBuild body{female ? 0.09f : 0.1f, female ? 0.17f : 0.2f, female};
    const bool board = kind == TFigureKind::Board;
    const bool feetSkis = pose.skis && !board;
    TMesh m;  // built in the figure's own frame, then placed under the target's transform
    m.Material(target.Materials()[size_t(material)]);
    float pelvis = pose.seatHeight;
    if (pose.grounded) {
        pelvis = std::max(LegReach(pose.legs[0]), LegReach(pose.legs[1])) + (pose.skis ? kSki : 0);
    }
    if (pose.gearBeside) {
        m.Push();
        m.Translate({0.62f, 0, 0.35f});
        if (board) {
            m.RotateY(0.5f);
            m.Part("Board");
            m.Box({0, kSki / 2, 0}, {0.27f, kSki, 1.35f});
        } else {
            for (float turn : {0.35f, -0.25f}) {
                m.Push();
                m.RotateY(turn);
                Ski(m, kSki);
                m.Pop();
            }
        }
        m.Pop();
    }
    if (pose.lying) {
        m.Translate({0, 0.13f, 0.5f});
        m.RotateX(-1.5708f);
    } else {
        if (board && pose.skis) Board(m);
        m.RotateZ(pose.bodyRoll);
        m.Translate({pose.shift, pelvis, 0});
    }
    m.RotateY(pose.bodyYaw);
    if (female) m.Scale({0.95f, 0.95f, 0.95f});
    m.Part("Trousers");
    Slab(m, -0.1f, {0.165f, 0.1f}, 0.06f, {0.165f, 0.105f});
    for (int side : {1, -1}) {
        const int k = side > 0 ? 0 : 1;
        Leg(m, body, side, pose.legs[k], feetSkis, board && pose.boardFoot == k);
    }
    THands hands{};
    Torso(m, body, pose, kind, &hands);
    if (pose.poles && feetSkis) Poles(m, hands, pose);
    if (pose.grounded) {
        // Leaning into a turn lowers one foot: stand the lowest sole on y 0 (the pole tips
        // may sink into the snow).
        float lowest = 1e9f;
        for (const mesh::TPart& part : m.Parts())
            if (part.name == "Skis" || part.name == "Boots" || part.name == "Board")
                for (const mesh::TVertex& v : part.vertices)
                    lowest = std::min(lowest, v.position.y);
        target.Push();
        target.Translate({0, -lowest, 0});
        target.Merge(m);
        target.Pop();
        return;
    }
    target.Merge(m);
}

void MapSkinUvs(mesh::TMesh& target) {
    static const std::map<std::string, TSkinPart> parts = {
        {"Jacket", TSkinPart::Jacket},     {"Accent", TSkinPart::Accent},
        {"Trousers", TSkinPart::Trousers}, {"Helmet", TSkinPart::Helmet},
        {"Face", TSkinPart::Face},         {"Goggles", TSkinPart::Goggles},
        {"Gloves", TSkinPart::Gloves},     {"Boots", TSkinPart::Boots},
        {"Skis", TSkinPart::Skis},         {"Board", TSkinPart::Board},
        {"Poles", TSkinPart::Poles},       {"Hair", TSkinPart::Hair}};
    // The kit fixes texture coordinates per primitive; the figure's parts are moved into
    // their swatches afterwards, in place.
    auto& all = target.EditParts();
    for (mesh::TPart& part : all) {
        const auto found = parts.find(part.name);
        if (found == parts.end()) continue;
        const TSkinUv r = SkinUv(found->second);
        for (mesh::TVertex& v : part.vertices) {
            const float u = v.uv.x - std::floor(v.uv.x), t = v.uv.y - std::floor(v.uv.y);
            v.uv = {r.u0 + (r.u1 - r.u0) * u, 1 - (r.v0 + (r.v1 - r.v0) * t)};
        }
    }
}

}  // namespace vallorn::datagen::figures

namespace vallorn::datagen::figures {

void WindAlongNormals(mesh::TMesh& target, bool inward) {
    auto& all = target.EditParts();
    for (mesh::TPart& part : all)
        for (auto& f : part.faces) {
            const mesh::TVertex &a = part.vertices[f[0]], &b = part.vertices[f[1]],
                                &c = part.vertices[f[2]];
            const mesh::TVec3 winding =
                mesh::Cross(b.position - a.position, c.position - a.position);
            const float along = mesh::Dot(winding, a.normal + b.normal + c.normal);
            if ((along < 0) != inward) std::swap(f[1], f[2]);
        }
}

mesh::TMesh OnePart(const mesh::TMesh& source, const std::string& name) {
    mesh::TMesh renamed = source;
    for (mesh::TPart& part : renamed.EditParts()) part.name = name;
    mesh::TMesh out;
    out.Merge(renamed);
    return out;
}

}  // namespace vallorn::datagen::figures
