// The small props: the helicopter's rotor, the slope sign, the bullwheel and the lift gates.
#include <cmath>

#include "models/families.h"
#include "models/model_parts.h"

namespace vallorn::datagen::models {
namespace {

constexpr float kPi = 3.14159265f;

// Four blades round the mast at the helicopter's rotor height, turning about y.
TMesh Rotor() {
    TMesh m;
    m.Material(pal::kDarkSteel);
    m.Cylinder({0, 2.55f, 0}, {0, 2.75f, 0}, 0.22f, 0.16f, 10);
    for (int k = 0; k < 4; ++k) {
        m.Push();
        m.RotateY(float(k) * kPi / 2);
        // A blade with a slight twist: thicker at the root, a white tip.
        m.Material(pal::kDarkSteel);
        m.Block({TVec2{0.2f, -0.16f}, {4.2f, -0.12f}, {4.2f, 0.12f}, {0.2f, 0.16f}}, 2.62f,
                {TVec2{0.2f, -0.16f}, {4.2f, -0.12f}, {4.2f, 0.12f}, {0.2f, 0.16f}}, 2.68f);
        m.Material(pal::kWhite);
        m.Box({4.4f, 2.65f, 0}, {0.4f, 0.06f, 0.24f});
        m.Pop();
    }
    return m;
}

// A post with a square board facing +z; the diamond on the board is the material "paint",
// which the game colours blue, red or black by the slope's difficulty.
TMesh Sign() {
    TMesh m;
    m.Material(pal::kSteel);
    m.Cylinder({0, -0.3f, 0}, {0, 2.6f, 0}, 0.05f, 0.05f, 8);
    m.Material(pal::kWhite);
    m.Box({0, 2.2f, 0.07f}, {1.05f, 1.05f, 0.05f});
    m.Material({"paint", {0.2f, 0.3f, 0.8f}, "", 1});
    m.Push();
    m.Translate({0, 2.2f, 0.1f});
    m.RotateZ(kPi / 4);  // a diamond inside the white rim
    m.Box({0, 0, 0}, {0.62f, 0.62f, 0.02f});
    m.Pop();
    m.Material(pal::kSnow);
    m.Box({0, 2.75f, 0.07f}, {1.05f, 0.06f, 0.1f});
    return m;
}

// The bullwheel: radius 1, in the x/z plane, hub on y; spokes show the turning.
TMesh Wheel() {
    TMesh m;
    m.Material(pal::kDarkSteel);
    m.Lathe({{1.0f, -0.1f},
             {1.04f, -0.05f},
             {0.97f, 0.0f},
             {1.04f, 0.05f},
             {1.0f, 0.1f},
             {0.9f, 0.1f},
             {0.9f, -0.1f},
             {1.0f, -0.1f}},
            32);
    m.Material(pal::kYellow);
    for (int k = 0; k < 6; ++k) {
        const float a = float(k) * kPi / 3;
        m.Cylinder({0, 0, 0}, {std::cos(a) * 0.92f, 0, std::sin(a) * 0.92f}, 0.05f, 0.04f, 6,
                   false);
    }
    m.Material(pal::kSteel);
    m.Cylinder({0, -0.15f, 0}, {0, 0.25f, 0}, 0.16f, 0.16f, 12);
    return m;
}

// The loading gate across the way into the lift: two posts, a lintel with the lift's stripe
// and, open, a turnstile arm swung aside; closed, a red and white bar across.
TMesh Gate(bool closed) {
    TMesh m;
    m.Material(pal::kSteel);
    for (float x : {-0.95f, 0.95f}) m.Box({x, 0.7f, 0}, {0.14f, 1.4f, 0.14f});
    m.Material(pal::kYellow);
    m.Box({0, 1.48f, 0}, {2.1f, 0.18f, 0.2f});
    m.Material(pal::kDarkSteel);
    m.Box({-0.75f, 0.55f, 0}, {0.22f, 0.9f, 0.22f});  // the reader box on the left post
    m.Material(pal::kGreen);
    if (!closed) m.Box({-0.75f, 0.98f, 0.12f}, {0.1f, 0.06f, 0.02f});  // green light
    if (closed) {
        m.Material(pal::kRed);
        m.Box({-0.75f, 0.98f, 0.12f}, {0.1f, 0.06f, 0.02f});
        for (int k = 0; k < 6; ++k) {
            m.Material(k % 2 ? pal::kWhite : pal::kRed);
            const float x0 = -0.64f + 1.5f * float(k) / 6;
            m.Cylinder({x0, 0.85f, 0}, {x0 + 1.5f / 6, 0.85f, 0}, 0.06f, 0.06f, 8);
        }
    } else {
        m.Material(pal::kSteel);
        m.Cylinder({-0.64f, 0.85f, 0}, {-0.64f, 0.85f, 0.9f}, 0.04f, 0.04f, 8);
    }
    return m;
}

}  // namespace

bool WriteProps(const std::filesystem::path& data, std::string* error) {
    return Save(Rotor(), data, "HeliRotor.obj", error) && Save(Sign(), data, "Sign.obj", error) &&
           Save(Wheel(), data, "wheel.obj", error) && Save(Gate(false), data, "gate.obj", error) &&
           Save(Gate(true), data, "gateClosed.obj", error);
}

}  // namespace vallorn::datagen::models
