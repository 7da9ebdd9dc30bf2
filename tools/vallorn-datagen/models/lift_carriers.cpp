// The carriers of the seven lift types: platter and T-bar hangers, chairs with bench, back,
// safety bar and foot rest (the six-seater under a glass bubble), and the cabins of the cable
// car and the aerial tram. Each seat k of Params.ini is marked by the part "Seat<k>".
#include <algorithm>
#include <cmath>

#include "models/families.h"
#include "models/model_parts.h"

namespace vallorn::datagen::models {
namespace {

constexpr float kPi = 3.14159265f;

TMaterial Livery(int type) {
    static constexpr float kColours[7][3] = {
        {0.86f, 0.52f, 0.10f}, {0.82f, 0.66f, 0.12f}, {0.16f, 0.42f, 0.74f}, {0.12f, 0.52f, 0.34f},
        {0.78f, 0.16f, 0.14f}, {0.52f, 0.20f, 0.52f}, {0.14f, 0.30f, 0.62f}};
    const float* c = kColours[std::clamp(type, 0, 6)];
    return {"livery", {c[0], c[1], c[2]}, "", 1};
}

struct TSeats {
    float x0 = 0, x1 = 0, y = -1.8f, z0 = 0, z1 = 0;  // extent of the seats in the model frame
};

// Marks the seats in `marks`. A surface lift's carrier is drawn at its riders' hips (the rope
// from the cable takes up the height), so its seats lie at y = 0.
TSeats SeatsOf(const TSKILiftParams& p, TMesh* marks) {
    TSeats s{1e9f, -1e9f, 0, 1e9f, -1e9f};
    const int n = std::clamp<int>(p.GondoleCapacity, 1, kLiftSeatOffsets);
    for (int k = 0; k < n; ++k) {
        const TSKIVector& o = p.GondoleOffsets[size_t(k)];
        const TVec3 at{-o.x, p.OnGround ? 0.0f : o.y, o.z};
        s.x0 = std::min(s.x0, at.x);
        s.x1 = std::max(s.x1, at.x);
        s.z0 = std::min(s.z0, at.z);
        s.z1 = std::max(s.z1, at.z);
        s.y = std::min(s.y, at.y);
        if (marks) marks->Marker("Seat" + std::to_string(k), at);
    }
    return s;
}

// The grip on the cable and a short hanger top.
void Grip(TMesh& m, int seg) {
    m.Material(pal::kDarkSteel);
    m.Box({0, -0.05f, 0}, {0.22f, 0.22f, 0.5f});
    m.Cylinder({0, -0.12f, -0.22f}, {0, -0.12f, 0.22f}, 0.09f, 0.09f, seg);
}

// A platter or T-bar hanger at the riders' hips: the spring box the rope from the cable comes
// down to (its top at y 0.95), the stem, and the disc or the bar behind the riders.
void SurfaceHanger(TMesh& m, int type, const TSeats& s, bool low) {
    m.Material(Livery(type));
    m.Box({0, 0.78f, 0}, {0.24f, 0.36f, 0.24f});
    m.Material(pal::kDarkSteel);
    m.Cylinder({0, 0.96f, 0}, {0, 1.0f, 0}, 0.05f, 0.05f, 6);  // the rope's eye
    const TVec3 foot{0, s.y + (type == 0 ? 0.0f : 0.05f), s.z0 - 0.18f};
    m.Material(pal::kSteel);
    m.Cylinder({0, 0.6f, 0}, foot, 0.035f, 0.03f, low ? 4 : 8);
    if (type == 0) {
        m.Material(Livery(type));
        m.Cylinder(foot + TVec3{0, -0.05f, -0.04f}, foot + TVec3{0, -0.05f, 0.03f}, 0.19f, 0.19f,
                   low ? 6 : 14);
    } else {
        m.Material(pal::kSteel);
        m.Cylinder({s.x0 - 0.4f, foot.y, foot.z}, {s.x1 + 0.4f, foot.y, foot.z}, 0.04f, 0.04f,
                   low ? 4 : 8);
        m.Material(pal::kRubber);
        for (float x : {s.x0 - 0.4f, s.x1 + 0.4f})
            m.Cylinder({x - 0.02f, foot.y, foot.z}, {x + 0.02f, foot.y, foot.z}, 0.06f, 0.06f, 6);
    }
}

void Chair(TMesh& m, TMesh& glass, int type, const TSeats& s, bool low) {
    const int seg = low ? 4 : 8;
    Grip(m, seg);
    const float xa = s.x0 - 0.38f, xb = s.x1 + 0.38f;
    const float seat = s.y - 0.04f, zc = (s.z0 + s.z1) / 2;
    const float top = s.y + 1.0f;
    // Hanger: down from the grip, bent back over the chair, then the frame's top bar and arms.
    m.Material(pal::kDarkSteel);
    m.Cylinder({0, -0.15f, 0}, {0, top, zc - 0.5f}, 0.05f, 0.05f, seg);
    m.Cylinder({xa, top, zc - 0.5f}, {xb, top, zc - 0.5f}, 0.045f, 0.045f, seg);
    for (float x : {xa, xb})
        m.Cylinder({x, top, zc - 0.5f}, {x, seat, zc - 0.35f}, 0.035f, 0.035f, seg);
    // Bench and back in the livery: a padded seat per rider on a steel pan.
    m.Material(pal::kDarkSteel);
    m.Box({(xa + xb) / 2, seat - 0.06f, zc - 0.02f}, {xb - xa, 0.05f, 0.56f});
    m.Block({TVec2{xa, zc - 0.38f}, {xb, zc - 0.38f}, {xb, zc - 0.32f}, {xa, zc - 0.32f}}, seat,
            {TVec2{xa, zc - 0.5f}, {xb, zc - 0.5f}, {xb, zc - 0.44f}, {xa, zc - 0.44f}},
            seat + 0.62f);
    m.Material(Livery(type));
    const int riders = int(std::lround((s.x1 - s.x0) / 0.8f)) + 1;
    const float step = riders > 1 ? (s.x1 - s.x0) / float(riders - 1) : 0;
    for (int k = 0; k < riders && !low; ++k) {
        const float x = s.x0 + step * float(k);
        m.Box({x, seat, zc - 0.02f}, {0.7f, 0.08f, 0.5f});
        m.Block({TVec2{x - 0.34f, zc - 0.32f},
                 {x + 0.34f, zc - 0.32f},
                 {x + 0.34f, zc - 0.26f},
                 {x - 0.34f, zc - 0.26f}},
                seat + 0.08f,
                {TVec2{x - 0.34f, zc - 0.43f},
                 {x + 0.34f, zc - 0.43f},
                 {x + 0.34f, zc - 0.37f},
                 {x - 0.34f, zc - 0.37f}},
                seat + 0.6f);
    }
    if (low) m.Box({(xa + xb) / 2, seat, zc - 0.02f}, {xb - xa, 0.08f, 0.5f});
    // The safety bar, raised over the riders' laps, and the foot rest on its two struts.
    m.Material(pal::kSteel);
    const float barY = seat + 0.55f, barZ = zc + 0.42f;
    m.Cylinder({xa + 0.05f, barY, barZ}, {xb - 0.05f, barY, barZ}, 0.03f, 0.03f, seg);
    for (float x : {xa + 0.05f, xb - 0.05f})
        m.Cylinder({x, barY, barZ}, {x, top, zc - 0.5f}, 0.03f, 0.03f, seg);
    const float restY = seat - 0.48f, restZ = zc + 0.5f;
    for (float x : {(xa + xb) / 2 - (xb - xa) * 0.3f, (xa + xb) / 2 + (xb - xa) * 0.3f})
        m.Cylinder({x, barY, barZ}, {x, restY, restZ}, 0.025f, 0.025f, seg);
    m.Cylinder({xa + 0.2f, restY, restZ}, {xb - 0.2f, restY, restZ}, 0.035f, 0.035f, seg);
    if (type != 6) return;
    // The six-seater's bubble: a curved hood from above the back over the riders' heads,
    // drawn down in front; in the glass file, its ribs in the livery.
    const int steps = low ? 3 : 6;
    const float r = 1.05f, cy = seat + 0.25f, cz = zc - 0.1f;
    for (int k = 0; k < steps; ++k) {
        const float a0 = kPi * 0.55f * float(k) / float(steps) - kPi * 0.15f;
        const float a1 = kPi * 0.55f * float(k + 1) / float(steps) - kPi * 0.15f;
        const TVec3 p0{0, cy + r * std::cos(a0), cz + r * std::sin(a0)};
        const TVec3 p1{0, cy + r * std::cos(a1), cz + r * std::sin(a1)};
        if (!low) {
            glass.Material(pal::kGlass);
            glass.Quad({xa, p0.y, p0.z}, {xa, p1.y, p1.z}, {xb, p1.y, p1.z}, {xb, p0.y, p0.z});
        }
        m.Material(Livery(type));
        for (float x : {xa, (xa + xb) / 2, xb})
            m.Cylinder({x, p0.y, p0.z}, {x, p1.y, p1.z}, 0.03f, 0.03f, 4, false);
    }
    if (low) {  // the bubble's tint without the glass file
        m.Material({"bubble", {0.25f, 0.3f, 0.55f}, "", 1});
        m.Box({(xa + xb) / 2, cy + r * 0.9f, cz + 0.3f}, {xb - xa, 0.05f, 1.0f});
    }
}

// A cabin round the seats: carriage on the cable, hanger, floor, livery panels below a band
// of windows (panes in the glass file), roof with snow, benches facing each other.
void Cabin(TMesh& m, TMesh& glass, int type, const TSeats& s, bool low) {
    const int seg = low ? 4 : 8;
    const bool tram = type == 5;
    const float floor = s.y - (tram ? 0.45f : 0.45f);
    const float hx = (s.x1 - s.x0) / 2 + (tram ? 0.6f : 0.45f);
    const float hz = (s.z1 - s.z0) / 2 + (tram ? 0.6f : 0.55f);
    const float xc = (s.x0 + s.x1) / 2, zc = (s.z0 + s.z1) / 2;
    const float height = tram ? 2.4f : 2.05f, band0 = floor + 0.95f, band1 = floor + height - 0.25f;
    // Carriage: the tram's wheels ride on two track ropes; a gondola's grip on one.
    m.Material(pal::kDarkSteel);
    if (tram) {
        m.Box({0, -0.1f, 0}, {0.5f, 0.35f, 2.6f});
        for (int k = 0; k < 4 && !low; ++k)
            m.Cylinder({-0.3f, 0.0f, -0.9f + 0.6f * float(k)},
                       {0.3f, 0.0f, -0.9f + 0.6f * float(k)}, 0.16f, 0.16f, 10);
    } else {
        Grip(m, seg);
    }
    const float roof = floor + height;
    m.Cylinder({0, -0.2f, 0}, {0, roof + 0.4f, 0}, tram ? 0.12f : 0.07f, tram ? 0.12f : 0.07f, seg);
    m.Cylinder({0, roof + 0.4f, 0}, {xc + hx * 0.5f, roof + 0.05f, zc}, 0.06f, 0.06f, seg);
    m.Cylinder({0, roof + 0.4f, 0}, {xc - hx * 0.5f, roof + 0.05f, zc}, 0.06f, 0.06f, seg);
    // Body: lower panels in the livery, corner posts, roof.
    m.Material(Livery(type));
    m.Box({xc, (floor + band0) / 2, zc}, {hx * 2, band0 - floor, hz * 2});
    m.Box({xc, (band1 + roof) / 2, zc}, {hx * 2, roof - band1, hz * 2});
    m.Material(pal::kWhite);
    m.Box({xc, band0 - 0.08f, zc}, {hx * 2 + 0.02f, 0.1f, hz * 2 + 0.02f});  // a white stripe
    m.Material(pal::kDarkSteel);
    for (float x : {xc - hx, xc + hx})
        for (float z : {zc - hz, zc + hz})
            m.Box({x, (band0 + band1) / 2, z}, {0.1f, band1 - band0, 0.1f});
    m.Box({xc, floor - 0.06f, zc}, {hx * 2 + 0.05f, 0.12f, hz * 2 + 0.05f});
    m.Material(pal::kSnow);
    m.Box({xc, roof + 0.04f, zc}, {hx * 2 - 0.2f, 0.08f, hz * 2 - 0.2f});
    if (low) {
        m.Material(pal::kGlassDark);
        m.Box({xc, (band0 + band1) / 2, zc}, {hx * 2 - 0.04f, band1 - band0, hz * 2 - 0.04f});
        return;
    }
    // Windows all round (the glass file) with a mullion in each side.
    const TVec3 c[4] = {
        {xc - hx, 0, zc + hz}, {xc + hx, 0, zc + hz}, {xc + hx, 0, zc - hz}, {xc - hx, 0, zc - hz}};
    for (int k = 0; k < 4; ++k) {
        const TVec3 a = c[k], b = c[(k + 1) % 4];
        const TVec3 mid = (a + b) * 0.5f;
        Pane(m, glass, {a.x, band0, a.z}, {mid.x, band0, mid.z}, {mid.x, band1, mid.z},
             {a.x, band1, a.z});
        Pane(m, glass, {mid.x, band0, mid.z}, {b.x, band0, b.z}, {b.x, band1, b.z},
             {mid.x, band1, mid.z});
    }
    // Benches along the front and back walls; the tram has a rail for standing riders.
    m.Material(pal::kDarkWood);
    if (tram) {
        m.Material(pal::kSteel);
        m.Cylinder({xc - hx + 0.2f, floor + 1.9f, zc}, {xc + hx - 0.2f, floor + 1.9f, zc}, 0.03f,
                   0.03f, 6);
    } else {
        for (float z : {zc - hz + 0.22f, zc + hz - 0.22f})
            m.Box({xc, floor + 0.42f, z}, {hx * 2 - 0.2f, 0.08f, 0.38f});
    }
}

}  // namespace

bool WriteLiftCarriers(const std::filesystem::path& data, int type, const TSKILiftParams& p,
                       std::string* error) {
    for (bool low : {false, true}) {
        TMesh m, glass;
        const TSeats s = SeatsOf(p, &m);
        if (p.OnGround)
            SurfaceHanger(m, type, s, low);
        else if (type == 4 || type == 5)
            Cabin(m, glass, type, s, low);
        else
            Chair(m, glass, type, s, low);
        const std::string& name = low ? p.ModelLoGondole : p.ModelHiGondole;
        if (name.empty()) continue;
        if (!Save(m, data, name + ".obj", error)) return false;
        if (!glass.Parts().empty() && !Save(glass, data, name + "GL.3DS", error)) return false;
    }
    return true;
}

}  // namespace vallorn::datagen::models
