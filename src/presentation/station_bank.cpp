#include "presentation/station_bank.h"

#include <algorithm>
#include <cmath>

#include <glm/common.hpp>
#include <glm/geometric.hpp>

#include "presentation/terrain_relief.h"

namespace vallorn {
namespace {

// Vertices this little above the ground level still stand on it (a ramp's deck, a hut's floor).
constexpr float kFootprintGroundBand = 0.3f;
// The terrace lies this far under the station's ground level (a hut's floor stands there).
constexpr float kBankTopGap = 0.02f;
// The bank's sides fall this much per unit outward, and reach this far into the land.
constexpr float kBankFall = 1.4f;
constexpr float kBankFoot = 0.3f;
// How far the foot of a side is looked for, and in what steps; how far apart the sides' points
// stand along the footprint's edges.
constexpr float kBankReach = 40.0f;
constexpr float kBankSearchStep = 0.5f;
constexpr float kBankEdgeStep = 1.5f;
constexpr int kBankCornerFan = 3;

float BankGround(const TSKIWorld& world, const glm::vec3& p) {
    return world.GroundHeight(TSKIVector(p.x, 0, p.z, 1));
}

// Where a side falling from `top` outward along `out` meets the land (a little inside it).
glm::vec3 BankFoot(const TSKIWorld& world, const glm::vec3& top, const glm::vec3& out) {
    float before = 0.0f;
    for (float t = 0.0f; t <= kBankReach; t += kBankSearchStep) {
        const glm::vec3 p = top + out * t - glm::vec3(0, kBankFall * t, 0);
        if (p.y <= BankGround(world, p)) {
            // Halve the last step a few times for the crossing.
            float a = before, b = t;
            for (int k = 0; k < 6 && t > 0.0f; ++k) {
                const float m = 0.5f * (a + b);
                const glm::vec3 q = top + out * m - glm::vec3(0, kBankFall * m, 0);
                (q.y <= BankGround(world, q) ? b : a) = m;
            }
            glm::vec3 foot = top + out * b;
            foot.y = std::min(BankGround(world, foot) - kBankFoot, top.y);
            return foot;
        }
        before = t;
    }
    glm::vec3 foot = top + out * kBankReach;
    foot.y = std::min(BankGround(world, foot) - kBankFoot, top.y);
    return foot;
}

void BankVertex(std::vector<gl::TVertex>& out, const glm::vec3& p, const glm::vec3& n,
                const glm::vec4& color) {
    gl::TVertex v;
    v.X = p.x;
    v.Y = p.y;
    v.Z = p.z;
    v.NX = n.x;
    v.NY = n.y;
    v.NZ = n.z;
    v.R = uint8_t(std::clamp(color.r, 0.0f, 1.0f) * 255.0f);
    v.G = uint8_t(std::clamp(color.g, 0.0f, 1.0f) * 255.0f);
    v.B = uint8_t(std::clamp(color.b, 0.0f, 1.0f) * 255.0f);
    v.A = uint8_t(std::clamp(color.a, 0.0f, 1.0f) * 255.0f);
    out.push_back(v);
}

// A flat-shaded triangle, its front where a, b, c turn anticlockwise, in the ground's colour
// for its slant.
void BankTriangle(std::vector<gl::TVertex>& out, const glm::vec3& a, const glm::vec3& b,
                  const glm::vec3& c, const glm::vec4& color) {
    const glm::vec3 n = glm::cross(b - a, c - a);
    const float len = glm::length(n);
    if (len < 1e-6f) return;
    const glm::vec4 shaded = StationBankColour(color, n / len);
    for (const glm::vec3& p : {a, b, c}) BankVertex(out, p, n / len, shaded);
}

}  // namespace

glm::vec4 StationBankColour(const glm::vec4& ground, const glm::vec3& normal) {
    // As the ground's picture is lit (terrain_compose_shader.cpp): the relief's shade, cooler
    // in the shade, under the light the terrain shader gives the ground.
    constexpr float kGroundLight = 1.2f;
    const float shade = ReliefShade(normal, kReliefLight);
    const glm::vec3 tint = glm::mix(glm::vec3(0.84f, 0.9f, 1.0f), glm::vec3(1.0f), shade);
    const glm::vec3 c = glm::vec3(ground) * shade * tint * kGroundLight;
    return glm::vec4(glm::min(c, glm::vec3(1.0f)), ground.a);
}

TStationFootprint StationFootprint(const std::vector<gl::TVertex>& vertices, float stationHeight) {
    TStationFootprint f;
    f.Ground = -std::max(stationHeight, 0.0f);
    bool any = false;
    for (const gl::TVertex& v : vertices) {
        if (v.Y > f.Ground + kFootprintGroundBand) continue;
        if (!any) {
            f.X0 = f.X1 = v.X;
            f.Z0 = f.Z1 = v.Z;
            f.Bottom = v.Y;
            any = true;
        }
        f.X0 = std::min(f.X0, v.X);
        f.X1 = std::max(f.X1, v.X);
        f.Z0 = std::min(f.Z0, v.Z);
        f.Z1 = std::max(f.Z1, v.Z);
        f.Bottom = std::min(f.Bottom, v.Y);
    }
    return f;
}

glm::vec3 StationPointInWorld(const glm::vec3& station, float yaw, const glm::vec3& model) {
    const float c = std::cos(yaw), s = std::sin(yaw);
    return station + glm::vec3(c * model.x + s * model.z, model.y, -s * model.x + c * model.z);
}

void AddStationBank(const TSKIWorld& world, const TStationFootprint& footprint,
                    const glm::vec3& station, float yaw, const glm::vec4& color,
                    std::vector<gl::TVertex>& out) {
    if (footprint.Empty() || !world.HasGrid()) return;
    const float top = footprint.Ground - kBankTopGap;
    // The rectangle's corners anticlockwise seen from above, and the ring of points round it:
    // along each edge with the edge's outward direction, and a fan of directions at each corner.
    const glm::vec3 corner[4] = {{footprint.X0, top, footprint.Z0},
                                 {footprint.X0, top, footprint.Z1},
                                 {footprint.X1, top, footprint.Z1},
                                 {footprint.X1, top, footprint.Z0}};
    const glm::vec3 outward[4] = {{-1, 0, 0}, {0, 0, 1}, {1, 0, 0}, {0, 0, -1}};
    std::vector<glm::vec3> tops, feet;
    bool needed = false;
    auto add = [&](const glm::vec3& model, const glm::vec3& direction) {
        const glm::vec3 p = StationPointInWorld(station, yaw, model);
        const glm::vec3 d = StationPointInWorld(glm::vec3(0.0f), yaw, direction);
        tops.push_back(p);
        feet.push_back(BankFoot(world, p, glm::normalize(d)));
        needed = needed || feet.back().y + kBankFoot < p.y - 0.05f;
    };
    for (int e = 0; e < 4; ++e) {
        const glm::vec3 &a = corner[e], &b = corner[(e + 1) % 4];
        const int steps = std::max(1, int(std::ceil(glm::length(b - a) / kBankEdgeStep)));
        for (int k = 0; k < steps; ++k) add(glm::mix(a, b, float(k) / float(steps)), outward[e]);
        for (int k = 0; k <= kBankCornerFan; ++k) {
            const float t = float(k) / float(kBankCornerFan);
            add(b, glm::normalize(glm::mix(outward[e], outward[(e + 1) % 4], t)));
        }
    }
    if (!needed) return;
    const glm::vec3 up(0, 1, 0);
    for (size_t k = 0; k < tops.size(); ++k) {
        const size_t n = (k + 1) % tops.size();
        // Seen from outside the ring runs clockwise: top, foot, next foot is anticlockwise.
        BankTriangle(out, tops[k], feet[k], feet[n], color);
        BankTriangle(out, tops[k], feet[n], tops[n], color);
    }
    const glm::vec3 c0 = StationPointInWorld(station, yaw, corner[0]);
    const glm::vec3 c1 = StationPointInWorld(station, yaw, corner[1]);
    const glm::vec3 c2 = StationPointInWorld(station, yaw, corner[2]);
    const glm::vec3 c3 = StationPointInWorld(station, yaw, corner[3]);
    const glm::vec4 flat = StationBankColour(color, up);
    for (const glm::vec3& p : {c0, c1, c2, c0, c2, c3}) BankVertex(out, p, up, flat);
}

}  // namespace vallorn
