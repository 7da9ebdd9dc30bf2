#include "presentation/shapes_models.h"

#include <algorithm>
#include <cmath>

#include <glm/gtc/matrix_transform.hpp>

namespace vallorn {
namespace {

using glm::vec3;
using namespace palette;

constexpr TShapeColor kPants{54, 56, 70};
constexpr TShapeColor kHair{92, 60, 34};
constexpr TShapeColor kSkiColor{236, 200, 48};
constexpr TShapeColor kCross{220, 30, 30};
constexpr TShapeColor kWhite{236, 236, 232};

glm::mat4 Translate(const vec3& v) {
    return glm::translate(glm::mat4(1.0f), v);
}
glm::mat4 RotateX(float radians) {
    return glm::rotate(glm::mat4(1.0f), radians, vec3(1, 0, 0));
}

// The upper body from the hips at the origin: torso, arms, head and hat.
void UpperBody(TShapeBuilder& b, const glm::mat4& base, TSkierKind kind, bool armsForward) {
    b.SetTransform(base);
    b.Box(vec3(-0.2f, 0.0f, -0.12f), vec3(0.2f, 0.55f, 0.12f), kPaint);
    const float reach = armsForward ? 0.3f : 0.08f;
    b.Beam(vec3(-0.25f, 0.5f, 0), vec3(-0.3f, 0.1f, reach), 0.11f, kPaint);
    b.Beam(vec3(0.25f, 0.5f, 0), vec3(0.3f, 0.1f, reach), 0.11f, kPaint);
    b.Prism(vec3(0, 0.56f, 0), 0.12f, 0.12f, 0.24f, 6, kSkin, false);
    b.Prism(vec3(0, 0.78f, 0), 0.14f, 0.0f, 0.17f, 6, kPaint, false);
    b.Quad(vec3(-0.09f, 0.66f, 0.115f), vec3(0.09f, 0.66f, 0.115f), vec3(0.09f, 0.73f, 0.115f),
           vec3(-0.09f, 0.73f, 0.115f), kBlack);  // goggles
    if (kind == TSkierKind::SkierF)
        b.Box(vec3(-0.06f, 0.45f, -0.2f), vec3(0.06f, 0.72f, -0.1f), kHair);
}

void Skis(TShapeBuilder& b, const glm::mat4& base, TSkierKind kind) {
    b.SetTransform(base);
    if (kind == TSkierKind::Boarder) {
        b.Plate(vec3(-0.22f, 0, -0.75f), vec3(0.22f, 0.05f, 0.75f), kBlue);
    } else {
        b.Plate(vec3(-0.17f, 0, -0.75f), vec3(-0.07f, 0.04f, 0.9f), kSkiColor);
        b.Plate(vec3(0.07f, 0, -0.75f), vec3(0.17f, 0.04f, 0.9f), kSkiColor);
    }
}

void Standing(TShapeBuilder& b, const glm::mat4& base, TSkierKind kind) {
    Skis(b, base, kind);
    b.SetTransform(base);
    b.Box(vec3(-0.18f, 0.04f, -0.09f), vec3(-0.03f, 0.82f, 0.09f), kPants);
    b.Box(vec3(0.03f, 0.04f, -0.09f), vec3(0.18f, 0.82f, 0.09f), kPants);
    UpperBody(b, base * Translate(vec3(0, 0.8f, 0)), kind, false);
}

void Skiing(TShapeBuilder& b, const glm::mat4& base, TSkierKind kind) {
    Skis(b, base, kind);
    b.SetTransform(base);
    for (float x : {-0.11f, 0.11f}) {
        b.Beam(vec3(x, 0.04f, 0.05f), vec3(x, 0.42f, 0.22f), 0.15f, kPants);
        b.Beam(vec3(x, 0.42f, 0.22f), vec3(x, 0.7f, -0.05f), 0.17f, kPants);
    }
    UpperBody(b, base * Translate(vec3(0, 0.68f, -0.05f)) * RotateX(0.45f), kind, true);
    b.SetTransform(base);
    if (kind != TSkierKind::Boarder) {  // poles
        b.Beam(vec3(-0.34f, 0.95f, 0.35f), vec3(-0.4f, 0.05f, -0.3f), 0.04f, kDarkSteel);
        b.Beam(vec3(0.34f, 0.95f, 0.35f), vec3(0.4f, 0.05f, -0.3f), 0.04f, kDarkSteel);
    }
}

void Seated(TShapeBuilder& b, const glm::mat4& base, TSkierKind kind) {
    b.SetTransform(base);
    for (float x : {-0.11f, 0.11f}) {
        b.Beam(vec3(x, 0.08f, -0.05f), vec3(x, 0.08f, 0.45f), 0.17f, kPants);
        b.Beam(vec3(x, 0.08f, 0.45f), vec3(x, -0.38f, 0.5f), 0.15f, kPants);
    }
    Skis(b, base * Translate(vec3(0, -0.45f, 0.35f)), kind);
    UpperBody(b, base * Translate(vec3(0, 0.05f, -0.05f)), kind, true);
}

}  // namespace

void MakeConifer(TShapeBuilder& b, bool snowy) {
    b.ResetTransform();
    b.Prism(vec3(0, -0.5f, 0), 0.03f, 0.025f, 0.2f, 4, kTrunk, false);
    const float tiers[3][3] = {{-0.38f, 0.19f, 0.45f}, {-0.15f, 0.15f, 0.4f}, {0.08f, 0.1f, 0.42f}};
    for (const auto& t : tiers) {
        b.Cone(vec3(0, t[0], 0), t[1], t[2], 7, kNeedles);
        if (snowy) b.Cone(vec3(0, t[0] + t[2] * 0.42f, 0), t[1] * 0.62f, t[2] * 0.6f, 7, kSnow);
    }
}

void MakeTreeCard(TShapeBuilder& b) {
    b.ResetTransform();
    // Two tiers in paint: the instance gives snowy or green.
    b.Triangle(vec3(-0.19f, -0.5f, 0), vec3(0.19f, -0.5f, 0), vec3(0, 0.1f, 0), kPaint);
    b.Triangle(vec3(-0.13f, -0.12f, 0), vec3(0.13f, -0.12f, 0), vec3(0, 0.5f, 0), kPaint);
    // A flat crown across the card, so that a tree seen from high above is still a tree:
    // a hexagon in four triangles.
    vec3 rim[6];
    for (int k = 0; k < 6; ++k) {
        const float a = float(k) * 1.0472f;
        rim[k] = vec3(std::sin(a) * 0.16f, -0.2f, std::cos(a) * 0.16f);
    }
    for (int k = 1; k < 5; ++k) b.Triangle(rim[0], rim[k], rim[k + 1], kPaint);
}

void MakeSkier(TShapeBuilder& b, TSkierKind kind, TSkierPose pose) {
    switch (pose) {
        case TSkierPose::Standing:
            Standing(b, glm::mat4(1.0f), kind);
            break;
        case TSkierPose::Skiing:
            Skiing(b, glm::mat4(1.0f), kind);
            break;
        case TSkierPose::Seated:
            Seated(b, glm::mat4(1.0f), kind);
            break;
        case TSkierPose::Lying:
            // On the back across the slope, a little above the snow.
            Standing(b, Translate(vec3(0, 0.22f, 0.8f)) * RotateX(-1.5f), kind);
            break;
    }
    b.ResetTransform();
}

void MakeDistantSkier(TShapeBuilder& b) {
    b.ResetTransform();
    b.Plate(vec3(-0.17f, 0, -0.75f), vec3(0.17f, 0.04f, 0.9f), kSkiColor);
    b.Box(vec3(-0.18f, 0.04f, -0.09f), vec3(0.18f, 0.8f, 0.09f), kPants);
    b.Box(vec3(-0.24f, 0.8f, -0.13f), vec3(0.24f, 1.38f, 0.13f), kPaint);
    b.Box(vec3(-0.12f, 1.38f, -0.12f), vec3(0.12f, 1.64f, 0.12f), kSkin);
    b.Prism(vec3(0, 1.62f, 0), 0.14f, 0.0f, 0.16f, 4, kPaint, false);
}

void MakeCarrier(TShapeBuilder& b, const TSKILiftParams& type, uint8_t liftType) {
    b.ResetTransform();
    const int seats = std::clamp<int>(type.GondoleCapacity, 1, 17);
    float x0 = 1e9f, x1 = -1e9f, y = 0, z = 0;
    for (int k = 0; k < seats; ++k) {
        const TSKIVector& o = type.GondoleOffsets[size_t(k)];
        x0 = std::min(x0, -o.x);
        x1 = std::max(x1, -o.x);
        y = std::min(y, o.y);
        z = o.z;
    }
    if (y > -0.5f) y = -1.7f;
    if (type.OnGround) {
        // Platter or T-bar, drawn at the riders' hips (the rope up to the cable is a line):
        // the bar or the disc behind them, the stem and the spring box.
        const float zb = z - 0.15f;
        b.Box(vec3(-0.1f, 0.6f, zb - 0.1f), vec3(0.1f, 0.95f, zb + 0.1f), kDarkSteel);
        b.Beam(vec3(0, 0.62f, zb), vec3(0, 0.0f, zb), 0.05f, kSteel);
        if (liftType == kLiftPlatter) {
            b.Prism(vec3(0, -0.08f, zb), 0.18f, 0.18f, 0.06f, 8, kRed);
        } else {
            b.Beam(vec3(x0 - 0.25f, 0.0f, zb), vec3(x1 + 0.25f, 0.0f, zb), 0.07f, kSteel);
        }
        return;
    }
    const bool cabin = liftType == kLiftCableCar || liftType == kLiftAerialTram;
    const float hx0 = x0 - 0.4f, hx1 = x1 + 0.4f;
    if (!cabin) {
        // A chair: hanger, bench, backrest, foot rest and safety bar.
        b.Beam(vec3(0, 0, 0), vec3(0, y + 0.9f, -0.25f), 0.07f, kDarkSteel);
        b.Beam(vec3(hx0, y + 0.9f, -0.25f), vec3(hx1, y + 0.9f, -0.25f), 0.06f, kDarkSteel);
        b.Box(vec3(hx0, y - 0.06f, z - 0.3f), vec3(hx1, y + 0.02f, z + 0.25f), kBlue);
        b.Box(vec3(hx0, y, z - 0.34f), vec3(hx1, y + 0.55f, z - 0.28f), kBlue);
        b.Beam(vec3(hx0, y + 0.5f, z + 0.45f), vec3(hx1, y + 0.5f, z + 0.45f), 0.04f, kSteel);
        b.Beam(vec3(hx0, y - 0.45f, z + 0.55f), vec3(hx1, y - 0.45f, z + 0.55f), 0.05f, kSteel);
        return;
    }
    // A cabin round the seats: grip, hanger, body with windows, roof.
    const float d = liftType == kLiftAerialTram ? 1.9f : 1.1f;
    const float zc = z + 0.5f;
    b.Box(vec3(-0.2f, -0.3f, -0.4f), vec3(0.2f, 0.05f, 0.4f), kDarkSteel);
    b.Beam(vec3(0, -0.3f, 0), vec3(0, y + 1.85f, zc), 0.1f, kDarkSteel);
    b.Box(vec3(hx0, y - 0.35f, zc - d), vec3(hx1, y + 0.45f, zc + d), kRed);
    b.Box(vec3(hx0 + 0.02f, y + 0.45f, zc - d + 0.02f),
          vec3(hx1 - 0.02f, y + 1.45f, zc + d - 0.02f), kGlass);
    b.Box(vec3(hx0, y + 1.45f, zc - d), vec3(hx1, y + 1.85f, zc + d), kRed);
}

void MakeStation(TShapeBuilder& b, const TSKILiftParams& type, bool upper) {
    b.ResetTransform();
    const float h = std::max(type.StationHeight, 1.0f);
    const float w = std::max(type.LineDist, 0.6f) + 1.2f;  // half width, beyond both lines
    const float len = w * 1.6f;
    // Machine house under the cable, a roof over the wheel, a platform on the loading side.
    b.Box(vec3(-w, -h, -len * 0.5f), vec3(w, -h * 0.35f, len * 0.5f), kWood);
    b.GableRoof(vec3(-w, -h, -len * 0.5f), vec3(w, -h * 0.35f, len * 0.5f), h * 0.25f, 0.3f, kRoof);
    const float back = upper ? len * 0.5f : -len * 0.5f;
    for (float x : {-w + 0.3f, w - 0.3f})
        b.Beam(vec3(x, -h, back * 0.6f), vec3(x, 0.3f, back * 0.6f), 0.35f, kConcrete);
    b.Box(vec3(-w, 0.3f, -len * 0.2f + back * 0.6f), vec3(w, 0.6f, len * 0.2f + back * 0.6f),
          kDarkSteel);
    b.Box(vec3(-w - 0.4f, -h - 3.0f, -len * 0.6f), vec3(w + 0.4f, -h + 0.12f, len * 0.6f),
          kConcrete);
}

void MakePole(TShapeBuilder& b, const TSKILiftParams& type) {
    b.ResetTransform();
    const float h = std::max(type.PoleHeight, 1.0f);
    const float w = std::max(type.LineDist, 0.4f);
    const float r = std::clamp(h * 0.025f, 0.12f, 0.45f);
    b.Prism(vec3(0, -h - 0.3f, 0), r * 1.4f, r, h + 0.1f, 6, kSteel);
    b.Beam(vec3(-w - 0.3f, -0.2f, 0), vec3(w + 0.3f, -0.2f, 0), r * 1.1f, kSteel);
    for (float x : {-w, w})
        b.Box(vec3(x - 0.12f, -0.2f, -0.5f), vec3(x + 0.12f, 0.05f, 0.5f), kDarkSteel);
    b.Box(vec3(-r * 2.5f, -h - 0.3f, -r * 2.5f), vec3(r * 2.5f, -h + 0.1f, r * 2.5f), kConcrete);
}

void MakeWheel(TShapeBuilder& b, const TSKILiftParams& type) {
    b.ResetTransform();
    const float r = std::max(type.LineDist, 0.5f);
    b.Prism(vec3(0, -0.12f, 0), r, r, 0.24f, 16, kDarkSteel);
    b.Prism(vec3(0, 0.12f, 0), r * 0.25f, r * 0.2f, 0.25f, 8, kSteel);
    // Spokes show the turning.
    for (int k = 0; k < 3; ++k) {
        const float a = float(k) * 2.094f;
        b.Beam(vec3(0, 0.16f, 0), vec3(std::sin(a) * r, 0.16f, std::cos(a) * r), 0.12f, kYellow);
    }
}

void MakeGate(TShapeBuilder& b, bool closed) {
    b.ResetTransform();
    for (float x : {-0.9f, 0.9f})
        b.Box(vec3(x - 0.1f, 0, -0.1f), vec3(x + 0.1f, 1.2f, 0.1f), kSteel);
    b.Box(vec3(-1.0f, 1.2f, -0.12f), vec3(1.0f, 1.4f, 0.12f), kYellow);
    if (closed) {
        b.Beam(vec3(-0.8f, 0.8f, 0), vec3(0.8f, 0.8f, 0), 0.09f, kRed);
        b.Beam(vec3(-0.8f, 0.5f, 0), vec3(0.8f, 0.5f, 0), 0.09f, kWhite);
    } else {
        b.Beam(vec3(-0.8f, 0.8f, 0), vec3(-0.8f, 0.8f, 0.8f), 0.09f, kDarkSteel);
    }
}

void MakeCar(TShapeBuilder& b) {
    b.ResetTransform();
    b.Box(vec3(-0.55f, 0.2f, -1.1f), vec3(0.55f, 0.65f, 1.1f), kPaint);
    b.Box(vec3(-0.5f, 0.65f, -0.6f), vec3(0.5f, 1.0f, 0.5f), kGlass);
    b.Box(vec3(-0.5f, 1.0f, -0.6f), vec3(0.5f, 1.05f, 0.5f), kPaint);
    b.Box(vec3(-0.5f, 1.06f, -0.55f), vec3(0.5f, 1.12f, 0.45f), kSnow);
    for (float x : {-0.5f, 0.5f})
        for (float z : {-0.7f, 0.7f})
            b.Box(vec3(x - 0.08f, 0, z - 0.22f), vec3(x + 0.08f, 0.4f, z + 0.22f), kBlack);
}

void MakeSnowcat(TShapeBuilder& b) {
    b.ResetTransform();
    for (float x : {-1.0f, 0.6f}) b.Box(vec3(x, 0, -1.6f), vec3(x + 0.4f, 0.6f, 1.4f), kBlack);
    b.Box(vec3(-0.7f, 0.4f, -1.7f), vec3(0.7f, 1.0f, 1.2f), kRed);
    b.Box(vec3(-0.65f, 1.0f, -0.3f), vec3(0.65f, 1.7f, 0.9f), kGlass);
    b.Box(vec3(-0.7f, 1.7f, -0.35f), vec3(0.7f, 1.8f, 0.95f), kRed);
    b.Box(vec3(-1.4f, 0.05f, 1.7f), vec3(1.4f, 0.7f, 1.9f), kSteel);       // blade
    b.Box(vec3(-1.1f, 0.1f, -2.3f), vec3(1.1f, 0.3f, -1.7f), kDarkSteel);  // tiller
}

void MakeSnowmobile(TShapeBuilder& b) {
    b.ResetTransform();
    for (float x : {-0.4f, 0.4f})
        b.Box(vec3(x - 0.06f, 0, 0.2f), vec3(x + 0.06f, 0.06f, 1.3f), kDarkSteel);
    b.Box(vec3(-0.25f, 0.05f, -1.1f), vec3(0.25f, 0.3f, 0.3f), kBlack);
    b.Box(vec3(-0.35f, 0.25f, -0.9f), vec3(0.35f, 0.65f, 1.0f), kRed);
    b.Box(vec3(-0.3f, 0.65f, -0.8f), vec3(0.3f, 0.8f, 0.2f), kBlack);  // seat
    b.Box(vec3(-0.3f, 0.65f, 0.6f), vec3(0.3f, 1.0f, 0.7f), kGlass);
    b.Box(vec3(-0.08f, 0.8f, -0.75f), vec3(0.08f, 0.92f, -0.5f), kWhite);
}

void MakeHelicopter(TShapeBuilder& b) {
    b.ResetTransform();
    b.Box(vec3(-0.9f, 0.6f, -1.4f), vec3(0.9f, 2.2f, 1.6f), kRed);
    b.Box(vec3(-0.85f, 1.2f, 1.6f), vec3(0.85f, 2.1f, 2.4f), kGlass);
    b.Box(vec3(-0.2f, 1.5f, -5.0f), vec3(0.2f, 2.0f, -1.4f), kRed);
    b.Box(vec3(-0.05f, 1.6f, -5.2f), vec3(0.05f, 3.0f, -4.6f), kWhite);
    b.Box(vec3(-0.3f, 2.2f, -0.3f), vec3(0.3f, 2.6f, 0.3f), kDarkSteel);
    for (float x : {-1.0f, 1.0f}) {
        b.Box(vec3(x - 0.06f, 0, -1.6f), vec3(x + 0.06f, 0.08f, 1.8f), kDarkSteel);
        b.Beam(vec3(x, 0.05f, 0.8f), vec3(x * 0.8f, 0.7f, 0.8f), 0.08f, kDarkSteel);
        b.Beam(vec3(x, 0.05f, -0.8f), vec3(x * 0.8f, 0.7f, -0.8f), 0.08f, kDarkSteel);
    }
    b.Box(vec3(-0.6f, 1.5f, 0.4f), vec3(0.6f, 1.9f, 0.5f), kWhite);  // cross on the nose side
}

void MakeRotor(TShapeBuilder& b) {
    b.ResetTransform();
    b.Box(vec3(-4.5f, 2.6f, -0.15f), vec3(4.5f, 2.66f, 0.15f), kDarkSteel);
    b.Box(vec3(-0.15f, 2.6f, -4.5f), vec3(0.15f, 2.66f, 4.5f), kDarkSteel);
}

void MakeSign(TShapeBuilder& b, int shape) {
    b.ResetTransform();
    b.Box(vec3(-0.06f, 0, -0.06f), vec3(0.06f, 2.2f, 0.06f), kSteel);
    MakeSignPlate(b, shape, 2.2f);
}

void MakeSignPlate(TShapeBuilder& b, int shape, float height) {
    b.ResetTransform();
    const vec3 c(0, height, 0.08f);
    const float r = 0.55f;
    auto panel = [&](const vec3* p, int n) {
        for (int k = 1; k + 1 < n; ++k) {
            b.Triangle(p[0], p[k], p[k + 1], kPaint);  // front, toward +z
            b.Triangle(p[0] - vec3(0, 0, 0.02f), p[k + 1] - vec3(0, 0, 0.02f),
                       p[k] - vec3(0, 0, 0.02f), kPaint);
        }
    };
    if (shape == 0) {
        vec3 p[12];
        for (int k = 0; k < 12; ++k) {
            const float a = float(k) * 0.5236f;
            p[k] = c + vec3(std::cos(a) * r, std::sin(a) * r, 0);
        }
        panel(p, 12);
    } else if (shape == 1) {
        const vec3 p[4] = {c + vec3(-r, -r, 0) * 0.85f, c + vec3(r, -r, 0) * 0.85f,
                           c + vec3(r, r, 0) * 0.85f, c + vec3(-r, r, 0) * 0.85f};
        panel(p, 4);
    } else {
        const vec3 p[4] = {c + vec3(0, -r * 1.2f, 0), c + vec3(r * 1.2f, 0, 0),
                           c + vec3(0, r * 1.2f, 0), c + vec3(-r * 1.2f, 0, 0)};
        panel(p, 4);
    }
}

void MakeTreeBillboard(TShapeBuilder& b, TShapeColor color) {
    b.ResetTransform();
    // The crown of the picture stays within the card's full width from y = -0.254 down and
    // within the line from there to a half width of 0.078 at the top; the triangle's sides
    // run along those lines, down to the foot and up to the middle.
    const size_t first = b.Vertices().size();
    const float slope = (0.5f - 0.078f) / (0.5f + 0.254f);  // width lost per unit of height
    const float foot = 0.5f + slope * (0.5f - 0.254f), top = -0.254f + 0.5f / slope;
    b.Triangle(vec3(-foot, -0.5f, 0), vec3(foot, -0.5f, 0), vec3(0, top, 0), color);
    b.TextureFromXY(first);
}

void MakeGroundPlate(TShapeBuilder& b) {
    b.ResetTransform();
    b.Quad(vec3(-0.5f, 0, 0.5f), vec3(0.5f, 0, 0.5f), vec3(0.5f, 0, -0.5f), vec3(-0.5f, 0, -0.5f),
           TShapeColor{0, 0, 0, 255});
    b.TextureLastQuad();
}

}  // namespace vallorn
