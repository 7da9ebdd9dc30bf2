// The parked cars and the three vehicles: rescue snowmobile, helicopter, snowcat.
#include <cmath>

#include "models/families.h"
#include "models/model_parts.h"

namespace vallorn::datagen::models {
namespace {

constexpr float kPi = 3.14159265f;
const TMaterial kWindow{"window", {0.16f, 0.22f, 0.32f}, "", 1};

TMaterial CarPaint(int n) {
    static constexpr int kColours[10][3] = {
        {200, 30, 30}, {30, 70, 170},  {230, 230, 226}, {40, 40, 44}, {150, 154, 160},
        {20, 120, 70}, {230, 170, 30}, {110, 40, 120},  {90, 60, 40}, {60, 150, 200}};
    const auto& c = kColours[n];
    return {"carpaint", {float(c[0]) / 255, float(c[1]) / 255, float(c[2]) / 255}, "", 1};
}

// A car along z, nose to +z, wheels on the ground: three body styles (hatchback, saloon,
// estate/van) by n % 3, some with a roof box or skis on the roof.
TMesh Car(int n) {
    TMesh m;
    const int style = n % 3;
    const float len = style == 1 ? 2.5f : 2.3f, w = 1.15f;
    const float h = style == 2 ? 1.3f : 1.05f;
    const float hz = len / 2;
    m.Material(CarPaint(n));
    // Lower body with a sloped bonnet.
    m.Block({TVec2{-w / 2, -hz}, {w / 2, -hz}, {w / 2, hz}, {-w / 2, hz}}, 0.22f,
            {TVec2{-w / 2, -hz}, {w / 2, -hz}, {w / 2, hz - 0.15f}, {-w / 2, hz - 0.15f}}, 0.62f);
    // The glasshouse: windows on the sides, front and back, then the roof.
    const float r0 = style == 1 ? -0.75f : -hz + 0.05f, r1 = style == 2 ? 0.55f : 0.35f;
    m.Material(kWindow);
    m.Block({TVec2{-w / 2 + 0.03f, r0},
             {w / 2 - 0.03f, r0},
             {w / 2 - 0.03f, r1 + 0.3f},
             {-w / 2 + 0.03f, r1 + 0.3f}},
            0.62f,
            {TVec2{-w / 2 + 0.08f, r0 + 0.1f},
             {w / 2 - 0.08f, r0 + 0.1f},
             {w / 2 - 0.08f, r1},
             {-w / 2 + 0.08f, r1}},
            h - 0.04f);
    m.Material(CarPaint(n));
    m.Box({0, h, (r0 + 0.1f + r1) / 2}, {w - 0.14f, 0.08f, r1 - r0 - 0.1f});
    m.Material(pal::kSnow);
    m.Box({0, h + 0.07f, (r0 + r1) / 2 + 0.05f}, {w - 0.24f, 0.06f, r1 - r0 - 0.3f});
    if (n % 4 == 1) {
        m.Material(pal::kBlack);
        m.Box({0, h + 0.2f, (r0 + r1) / 2}, {0.6f, 0.2f, 1.0f});
    } else if (n % 4 == 3) {
        m.Material(pal::kYellow);
        for (float x : {-0.2f, 0.2f}) m.Box({x, h + 0.16f, (r0 + r1) / 2}, {0.08f, 0.03f, 1.6f});
    }
    // Wheels, lights, bumpers.
    m.Material(pal::kRubber);
    for (float x : {-w / 2 + 0.04f, w / 2 - 0.04f})
        for (float z : {-hz + 0.45f, hz - 0.5f})
            m.Cylinder({x - 0.1f, 0.22f, z}, {x + 0.1f, 0.22f, z}, 0.22f, 0.22f, 10);
    m.Material(pal::kYellow);
    for (float x : {-0.38f, 0.38f}) m.Box({x, 0.5f, hz + 0.01f}, {0.22f, 0.1f, 0.04f});
    m.Material(pal::kRed);
    for (float x : {-0.4f, 0.4f}) m.Box({x, 0.52f, -hz - 0.01f}, {0.2f, 0.1f, 0.04f});
    m.Material(pal::kDarkSteel);
    m.Box({0, 0.3f, hz + 0.03f}, {w, 0.12f, 0.08f});
    m.Box({0, 0.3f, -hz - 0.03f}, {w, 0.12f, 0.08f});
    return m;
}

// The rescue snowmobile: skis in front, a track behind, red cowling, seat, windscreen and a
// stretcher sledge behind.
TMesh Snowmobile() {
    TMesh m;
    m.Material(pal::kDarkSteel);
    for (float x : {-0.42f, 0.42f}) {
        m.Box({x, 0.04f, 0.85f}, {0.14f, 0.05f, 1.0f});
        m.Block(
            {TVec2{x - 0.07f, 1.33f}, {x + 0.07f, 1.33f}, {x + 0.07f, 1.45f}, {x - 0.07f, 1.45f}},
            0.04f,
            {TVec2{x - 0.07f, 1.42f}, {x + 0.07f, 1.42f}, {x + 0.07f, 1.52f}, {x - 0.07f, 1.52f}},
            0.2f);
        m.Cylinder({x, 0.06f, 0.8f}, {x * 0.6f, 0.4f, 0.75f}, 0.04f, 0.04f, 6);
    }
    m.Material(pal::kRubber);
    m.Box({0, 0.2f, -0.45f}, {0.5f, 0.36f, 1.4f});
    m.Material(pal::kRed);
    m.Block({TVec2{-0.38f, -0.2f}, {0.38f, -0.2f}, {0.38f, 1.15f}, {-0.38f, 1.15f}}, 0.3f,
            {TVec2{-0.33f, -0.1f}, {0.33f, -0.1f}, {0.3f, 0.75f}, {-0.3f, 0.75f}}, 0.7f);
    m.Material(pal::kBlack);
    m.Box({0, 0.76f, -0.55f}, {0.5f, 0.16f, 0.95f});  // seat
    m.Material(pal::kWhite);
    m.Box({0, 0.71f, 0.3f}, {0.36f, 0.04f, 0.2f});
    m.Material(kWindow);
    m.Quad({-0.3f, 0.7f, 0.72f}, {0.3f, 0.7f, 0.72f}, {0.28f, 1.05f, 0.58f},
           {-0.28f, 1.05f, 0.58f});
    m.Quad({0.3f, 0.7f, 0.72f}, {-0.3f, 0.7f, 0.72f}, {-0.28f, 1.05f, 0.58f},
           {0.28f, 1.05f, 0.58f});
    m.Material(pal::kDarkSteel);
    m.Cylinder({-0.35f, 0.9f, 0.45f}, {0.35f, 0.9f, 0.45f}, 0.025f, 0.025f, 6);  // handlebar
    // The stretcher sledge on a tow bar.
    m.Cylinder({0, 0.2f, -1.15f}, {0, 0.2f, -1.5f}, 0.03f, 0.03f, 6);
    m.Material(pal::kOrange);
    m.Block({TVec2{-0.35f, -2.9f}, {0.35f, -2.9f}, {0.35f, -1.5f}, {-0.35f, -1.5f}}, 0.05f,
            {TVec2{-0.38f, -2.95f}, {0.38f, -2.95f}, {0.38f, -1.45f}, {-0.38f, -1.45f}}, 0.3f);
    m.Material(pal::kWhite);
    m.Box({0, 0.25f, -2.2f}, {0.5f, 0.12f, 1.2f});
    m.Material(pal::kRed);
    m.Box({0, 0.32f, -2.2f}, {0.3f, 0.02f, 0.08f});
    m.Box({0, 0.32f, -2.2f}, {0.08f, 0.02f, 0.3f});
    return m;
}

void HeliBody(TMesh& m, TMesh& glass, bool low) {
    // Cabin: a rounded body (lathe along z), the tail boom, fin and tail rotor, skids.
    m.Material(pal::kRed);
    m.Push();
    m.Translate({0, 1.45f, 0.1f});
    m.RotateX(kPi / 2);  // the lathe's y axis becomes +z
    m.Lathe({{0.0f, -1.8f},
             {0.55f, -1.6f},
             {0.85f, -0.9f},
             {0.95f, 0.0f},
             {0.9f, 0.9f},
             {0.7f, 1.5f},
             {0.0f, 1.9f}},
            low ? 6 : 12);
    m.Pop();
    m.Material(pal::kWhite);
    m.Box({0, 1.25f, 0.0f}, {1.92f, 0.16f, 2.6f});  // white band
    m.Material(pal::kRed);
    m.Cylinder({0, 1.65f, -1.5f}, {0, 1.8f, -5.0f}, 0.28f, 0.12f, low ? 5 : 8);
    m.Block({TVec2{-0.05f, -5.3f}, {0.05f, -5.3f}, {0.05f, -4.7f}, {-0.05f, -4.7f}}, 1.6f,
            {TVec2{-0.04f, -5.5f}, {0.04f, -5.5f}, {0.04f, -5.2f}, {-0.04f, -5.2f}}, 2.9f);
    m.Material(pal::kDarkSteel);
    m.Cylinder({0.08f, 2.2f, -5.1f}, {0.14f, 2.2f, -5.1f}, 0.5f, 0.5f, low ? 6 : 12);
    m.Cylinder({0, 2.35f, 0}, {0, 2.6f, 0}, 0.25f, 0.2f, 8);  // mast under the rotor
    for (float x : {-1.0f, 1.0f}) {
        m.Cylinder({x, 0.06f, -1.6f}, {x, 0.06f, 1.6f}, 0.06f, 0.06f, 6);
        m.Cylinder({x, 0.06f, 1.6f}, {x, 0.25f, 1.9f}, 0.06f, 0.06f, 6);
        for (float z : {-0.8f, 0.8f})
            m.Cylinder({x, 0.06f, z}, {x * 0.7f, 0.8f, z}, 0.05f, 0.05f, 6);
    }
    // A red cross on white each side.
    for (float x : {-0.97f, 0.97f}) {
        m.Material(pal::kWhite);
        m.Box({x, 1.6f, -0.6f}, {0.04f, 0.6f, 0.6f});
        m.Material(pal::kRed);
        m.Box({x * 1.01f, 1.6f, -0.6f}, {0.04f, 0.42f, 0.13f});
        m.Box({x * 1.01f, 1.6f, -0.6f}, {0.04f, 0.13f, 0.42f});
    }
    if (low) return;
    // The canopy: the glazed nose and side windows.
    glass.Material(pal::kGlass);
    glass.Push();
    glass.Translate({0, 1.5f, 1.2f});
    glass.Scale({1.0f, 0.8f, 1.0f});
    glass.Sphere({0, 0, 0}, 0.9f, 6, 12);
    glass.Pop();
    glass.Quad({-0.96f, 1.5f, 0.1f}, {-0.96f, 1.5f, 0.9f}, {-0.96f, 2.0f, 0.8f},
               {-0.96f, 2.0f, 0.1f});
    glass.Quad({0.96f, 1.5f, 0.9f}, {0.96f, 1.5f, 0.1f}, {0.96f, 2.0f, 0.1f}, {0.96f, 2.0f, 0.8f});
}

// The snowcat: two wide tracks, a red body, the cabin (windows in the glass file), the
// front blade and the tiller behind.
void Snowcat(TMesh& m, TMesh& glass, bool low) {
    for (float x : {-1.05f, 1.05f}) {
        m.Material(pal::kRubber);
        m.Block(
            {TVec2{x - 0.35f, -1.7f}, {x + 0.35f, -1.7f}, {x + 0.35f, 1.7f}, {x - 0.35f, 1.7f}},
            0.0f,
            {TVec2{x - 0.35f, -1.9f}, {x + 0.35f, -1.9f}, {x + 0.35f, 1.95f}, {x - 0.35f, 1.95f}},
            0.7f);
        if (low) continue;
        m.Material(pal::kDarkSteel);
        for (int k = 0; k < 4; ++k) {
            const float z = -1.3f + float(k) * 0.85f;
            m.Cylinder({x - 0.37f, 0.32f, z}, {x + 0.37f, 0.32f, z}, 0.26f, 0.26f, 10);
        }
        m.Material(pal::kSnow);
        m.Box({x, 0.72f, 0.0f}, {0.6f, 0.04f, 3.4f});
    }
    m.Material(pal::kRed);
    m.Box({0, 0.95f, -0.2f}, {1.5f, 0.6f, 3.2f});
    m.Block({TVec2{-0.75f, 1.4f}, {0.75f, 1.4f}, {0.75f, 2.0f}, {-0.75f, 2.0f}}, 0.65f,
            {TVec2{-0.75f, 1.4f}, {0.75f, 1.4f}, {0.75f, 1.6f}, {-0.75f, 1.6f}}, 1.25f);
    // Cabin posts and roof; the panes go to the glass file.
    m.Material(pal::kDarkSteel);
    for (float x : {-0.72f, 0.72f})
        for (float z : {-0.55f, 1.05f}) m.Box({x, 1.7f, z}, {0.08f, 0.9f, 0.08f});
    m.Material(pal::kRed);
    m.Box({0, 2.2f, 0.25f}, {1.56f, 0.12f, 1.8f});
    m.Material(pal::kOrange);
    m.Box({0, 2.32f, 0.25f}, {0.5f, 0.12f, 0.2f});  // beacon bar
    m.Material(pal::kSteel);
    m.Block({TVec2{-1.6f, 2.2f}, {1.6f, 2.2f}, {1.7f, 2.45f}, {-1.7f, 2.45f}}, 0.05f,
            {TVec2{-1.6f, 2.1f}, {1.6f, 2.1f}, {1.7f, 2.3f}, {-1.7f, 2.3f}}, 0.85f);  // blade
    m.Material(pal::kDarkSteel);
    for (float x : {-0.5f, 0.5f}) m.Box({x, 0.8f, 1.9f}, {0.12f, 0.12f, 0.8f});
    m.Box({0, 0.35f, -2.35f}, {2.3f, 0.4f, 0.7f});  // tiller
    m.Material(pal::kSnow);
    m.Box({0, 0.06f, -3.1f}, {2.3f, 0.1f, 0.9f});  // the groomed finisher mat
    if (low) return;
    glass.Material(pal::kGlass);
    for (float x : {-0.72f, 0.72f}) {  // the side panes, facing out
        const float z0 = x < 0 ? -0.55f : 1.05f, z1 = x < 0 ? 1.05f : -0.55f;
        glass.Quad({x, 1.25f, z0}, {x, 1.25f, z1}, {x, 2.15f, z1}, {x, 2.15f, z0});
    }
    glass.Quad({-0.72f, 1.25f, 1.05f}, {0.72f, 1.25f, 1.05f}, {0.72f, 2.15f, 1.05f},
               {-0.72f, 2.15f, 1.05f});
    glass.Quad({0.72f, 1.25f, -0.55f}, {-0.72f, 1.25f, -0.55f}, {-0.72f, 2.15f, -0.55f},
               {0.72f, 2.15f, -0.55f});
}

}  // namespace

bool WriteCars(const std::filesystem::path& data, std::string* error) {
    for (int n = 0; n < 10; ++n) {
        if (!Save(Car(n), data, "car" + std::to_string(n) + ".obj", error)) return false;
    }
    return true;
}

bool WriteVehicles(const std::filesystem::path& data, std::string* error) {
    TMesh heli, heliGlass, heliLow, heliLowGlass, cat, catGlass, catLow, catLowGlass;
    HeliBody(heli, heliGlass, false);
    HeliBody(heliLow, heliLowGlass, true);
    Snowcat(cat, catGlass, false);
    Snowcat(catLow, catLowGlass, true);
    return Save(Snowmobile(), data, "RescueScooter.obj", error) &&
           Save(heli, data, "Heli.obj", error) && Save(heliGlass, data, "HeliGL.obj", error) &&
           Save(heliLow, data, "HeliLow.3DS", error) && Save(cat, data, "SCatH.obj", error) &&
           Save(catGlass, data, "SCatHGL.obj", error) && Save(catLow, data, "SCatL.3DS", error);
}

}  // namespace vallorn::datagen::models
