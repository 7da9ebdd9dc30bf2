// The stations and towers of the seven lift types, high and low detail. A station stands round
// its bullwheel (drawn by the renderer from wheel.obj at the station's point); a tower carries
// the two lines on sheave trains at the ends of its cross-arm.
#include <algorithm>
#include <cmath>

#include "models/families.h"
#include "models/model_parts.h"

namespace vallorn::datagen::models {
namespace {

constexpr float kPi = 3.14159265f;

enum class TKind { Surface, Chair, Cabin };

TKind KindOf(int type, const TSKILiftParams& p) {
    if (p.OnGround) return TKind::Surface;
    return (type == 4 || type == 5) ? TKind::Cabin : TKind::Chair;
}

// The lift's colour: each type its own, used on the wheel housing and the cabins.
TMaterial Livery(int type) {
    static constexpr float kColours[7][3] = {
        {0.86f, 0.52f, 0.10f}, {0.82f, 0.66f, 0.12f}, {0.16f, 0.42f, 0.74f}, {0.12f, 0.52f, 0.34f},
        {0.78f, 0.16f, 0.14f}, {0.52f, 0.20f, 0.52f}, {0.14f, 0.30f, 0.62f}};
    const float* c = kColours[std::clamp(type, 0, 6)];
    return {"livery", {c[0], c[1], c[2]}, "", 1};
}

// A lower station (the line leaves toward +z). The upper one is the same turned half round.
TMesh Station(int type, const TSKILiftParams& p, bool low) {
    const TKind kind = KindOf(type, p);
    const float h = std::max(p.StationHeight, 1.0f), L = std::max(p.LineDist, 0.5f);
    const int seg = low ? 6 : 12;
    TMesh m;
    // Foundation slab on the ground, reaching into it.
    m.Material(pal::kConcrete);
    const float half = L + (kind == TKind::Cabin ? 2.5f : 1.4f);
    const float back = -L - (kind == TKind::Cabin ? 3.5f : 2.0f);
    const float front = kind == TKind::Cabin ? L + 4.0f : L + 1.5f;
    m.Box({0, -h - 1.4f, (back + front) / 2}, {half * 2 + 0.6f, 3.0f, front - back + 0.6f});
    // The wheel housing: a hood over the bullwheel in the livery, with a snow cap.
    m.Material(Livery(type));
    m.Push();
    m.Translate({0, 0.3f, 0});
    m.Cylinder({0, 0, 0}, {0, 0.5f, 0}, L + 0.45f, L + 0.25f, low ? 8 : 24);
    m.Pop();
    m.Material(pal::kSnow);
    m.Cylinder({0, 0.8f, 0}, {0, 0.88f, 0}, L + 0.2f, L + 0.05f, low ? 8 : 24);
    // The drive: a machine box on top of the hood and the column carrying it.
    m.Material(pal::kDarkSteel);
    m.Box({0, 1.15f, -L * 0.3f}, {1.2f, 0.6f, 1.4f});
    if (kind == TKind::Cabin) {
        // A hall round the wheel: back wall, side walls, roof; open toward the line.
        const float top = 2.2f;
        m.Material(pal::kCream);
        m.Box({0, (top - h) / 2, back + 0.2f}, {half * 2, top + h, 0.4f});
        for (float x : {-half, half})
            m.Box({x, (top - h) / 2, (back + front) / 2}, {0.4f, top + h, front - back});
        // Window bands on the side walls.
        m.Material(pal::kGlassDark);
        for (float x : {-half - 0.22f, half + 0.22f})
            m.Box({x, 0.2f, (back + front) / 2}, {0.05f, 1.2f, (front - back) * 0.8f});
        GableRoof(m, -half - 0.2f, back, half + 0.2f, front, top, 1.6f, 0.6f, pal::kSlate);
        // The boarding floor at the cabins' floor level.
        m.Material(pal::kDarkWood);
        const float floor = type == 5 ? -4.0f : -2.9f;
        m.Box({0, floor - 0.1f, (back + front) / 2 + 0.5f},
              {half * 2 - 0.4f, 0.2f, front - back - 1.0f});
        m.Material(pal::kConcrete);
        m.Box({0, (floor - 0.15f - h) / 2, (back + front) / 2 + 0.5f},
              {half * 2 - 0.8f, floor - 0.15f + h, front - back - 1.4f});
        return m;
    }
    // Chair and surface lifts: the column, a small operator hut beside the line and, for
    // chairs, a loading ramp under the wheel.
    m.Material(pal::kSteel);
    const float colR = kind == TKind::Surface ? 0.22f : 0.35f;
    m.Cylinder({0, -h, -L * 0.3f}, {0, 1.0f, -L * 0.3f}, colR * 1.3f, colR, seg);
    m.Box({0, 0.0f, -L * 0.3f}, {0.6f, 0.4f, L * 1.6f});  // the arm into the hood
    const float hutX = L + (kind == TKind::Surface ? 1.6f : 2.2f);
    const float hutW = kind == TKind::Surface ? 1.1f : 1.5f;
    m.Push();
    m.Translate({hutX, -h, -0.5f});
    Cabin(m, -hutW, -hutW, hutW, hutW, 2.2f, 0.9f, 0.25f, pal::kWood, pal::kRoof);
    m.Material(pal::kGlassDark);
    m.Box({-hutW - 0.02f, 1.4f, 0}, {0.04f, 0.8f, hutW * 1.2f});
    m.Box({0, 1.4f, hutW + 0.02f}, {hutW * 1.2f, 0.8f, 0.04f});
    m.Pop();
    if (kind == TKind::Chair) {
        // Loading ramp along the up line, a wooden deck at the ground.
        m.Material(pal::kDarkWood);
        m.Box({0, -h + 0.1f, L * 0.5f + 1.0f}, {L * 2 + 1.2f, 0.3f, L + 4.0f});
        m.Material(pal::kSteel);
        for (float x : {-L - 0.6f, L + 0.6f})
            m.Box({x, -h + 0.8f, L * 0.5f + 1.0f}, {0.06f, 0.06f, L + 4.0f});
    }
    return m;
}

// A tower: a tapered column (a lattice for the aerial tram), the cross-arm just under the cable
// and a sheave train under each line.
TMesh Pole(int type, const TSKILiftParams& p, bool low) {
    const TKind kind = KindOf(type, p);
    const float H = std::max(p.PoleHeight, 1.0f), L = std::max(p.LineDist, 0.4f);
    const int seg = low ? 6 : 10;
    TMesh m;
    m.Material(pal::kConcrete);
    m.Box({0, -H - 0.5f, 0}, {1.4f + H * 0.03f, 1.4f, 1.4f + H * 0.03f});
    m.Material(pal::kSteel);
    if (type == 5) {
        // A four-legged lattice tower, wide at the foot.
        const float foot = 2.6f, top = 1.0f;
        const int bays = low ? 2 : 5;
        for (int k = 0; k < 4; ++k) {
            const float sx = k % 2 ? 1.0f : -1.0f, sz = k / 2 ? 1.0f : -1.0f;
            m.Cylinder({sx * foot, -H, sz * foot}, {sx * top, -1.0f, sz * top}, 0.18f, 0.14f, seg);
        }
        for (int b = 0; b < bays && !low; ++b) {
            const float t0 = float(b) / float(bays), t1 = float(b + 1) / float(bays);
            const float y0 = -H + (H - 1.0f) * t0, y1 = -H + (H - 1.0f) * t1;
            const float w0 = foot + (top - foot) * t0, w1 = foot + (top - foot) * t1;
            for (int side = 0; side < 4; ++side) {
                m.Push();
                m.RotateY(float(side) * kPi / 2);
                m.Cylinder({-w0, y0, w0}, {w1, y1, w1}, 0.06f, 0.06f, 4, false);
                m.Cylinder({w0, y0, w0}, {-w1, y1, w1}, 0.06f, 0.06f, 4, false);
                m.Cylinder({-w1, y1, w1}, {w1, y1, w1}, 0.07f, 0.07f, 4, false);
                m.Pop();
            }
        }
    } else {
        const float r = std::clamp(H * 0.028f, 0.14f, 0.4f);
        m.Cylinder({0, -H - 0.2f, 0}, {0, -0.3f, 0}, r * 1.35f, r, seg);
        if (!low) {  // the ladder up the back
            m.Material(pal::kDarkSteel);
            for (float x : {-0.18f, 0.18f})
                m.Cylinder({x, -H + 1.5f, -r - 0.15f}, {x, -0.5f, -r - 0.15f}, 0.025f, 0.025f, 4,
                           false);
            for (float y = -H + 1.8f; y < -0.6f; y += 0.6f)
                m.Cylinder({-0.18f, y, -r - 0.15f}, {0.18f, y, -r - 0.15f}, 0.02f, 0.02f, 4, false);
        }
    }
    // The cross-arm.
    m.Material(pal::kSteel);
    m.Box({0, -0.55f, 0}, {2 * L + 0.6f, 0.3f, 0.35f});
    if (kind != TKind::Surface && !low) {  // the service walkway and its rail
        m.Material(pal::kDarkSteel);
        m.Box({0, -0.72f, -0.45f}, {2 * L + 0.6f, 0.05f, 0.6f});
        m.Box({0, -0.2f, -0.72f}, {2 * L + 0.6f, 0.04f, 0.04f});
    }
    // Sheave trains: a beam under each line with its wheels; the cable runs over them at y 0.
    const int sheaves = low ? 0 : (kind == TKind::Surface ? 2 : (kind == TKind::Cabin ? 6 : 4));
    for (float x : {-L, L}) {
        m.Material(Livery(type));
        m.Box({x, -0.33f, 0}, {0.16f, 0.14f, 0.5f + 0.3f * float(std::max(sheaves, 2))});
        m.Material(pal::kDarkSteel);
        m.Box({x, -0.45f, 0}, {0.12f, 0.2f, 0.12f});
        for (int k = 0; k < sheaves; ++k) {
            const float z = (float(k) - float(sheaves - 1) / 2) * 0.3f;
            m.Cylinder({x - 0.05f, -0.13f, z}, {x + 0.05f, -0.13f, z}, 0.13f, 0.13f, 8);
        }
    }
    return m;
}

}  // namespace

bool WriteLiftStructures(const std::filesystem::path& data, int type, const TSKILiftParams& p,
                         std::string* error) {
    for (bool low : {false, true}) {
        const TMesh start = Station(type, p, low);
        TMesh end;
        end.RotateY(kPi);
        end.Merge(start);
        const std::string& s = low ? p.ModelLoStart : p.ModelHiStart;
        const std::string& e = low ? p.ModelLoEnd : p.ModelHiEnd;
        const std::string& pole = low ? p.ModelLoPole : p.ModelHiPole;
        if ((!s.empty() && !Save(start, data, s + ".obj", error)) ||
            (!e.empty() && !Save(end, data, e + ".obj", error)) ||
            (!pole.empty() && !Save(Pole(type, p, low), data, pole + ".obj", error)))
            return false;
    }
    return true;
}

}  // namespace vallorn::datagen::models
