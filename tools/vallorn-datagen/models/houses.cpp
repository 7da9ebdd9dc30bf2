// The ten houses of the valley (the level's house tag picks one): chalets of one to three
// storeys in wood, cream or white render, with balconies, chimneys and snow on the roofs.
#include "models/families.h"
#include "models/model_parts.h"

namespace vallorn::datagen::models {
namespace {

struct THouseStyle {
    float w, d, h;  // half width (x), half depth (z), wall height
    float roof;     // roof rise
    int wall, roof_colour;
    bool balcony, chimney, annex;
};

constexpr THouseStyle kStyles[10] = {
    {3.0f, 2.6f, 2.8f, 1.8f, 0, 0, false, true, false},
    {3.8f, 3.1f, 5.2f, 2.2f, 1, 1, true, false, false},
    {4.6f, 3.6f, 2.8f, 2.0f, 2, 2, false, true, true},
    {3.0f, 4.1f, 5.2f, 2.6f, 3, 0, true, true, false},
    {3.8f, 2.6f, 2.8f, 1.6f, 1, 1, false, false, true},
    {4.6f, 3.1f, 7.4f, 2.8f, 2, 2, true, true, false},
    {3.0f, 3.6f, 2.8f, 2.2f, 3, 0, false, true, false},
    {3.8f, 4.1f, 5.2f, 2.4f, 0, 1, true, false, true},
    {4.6f, 2.6f, 2.8f, 1.8f, 1, 2, false, true, false},
    {3.0f, 3.1f, 5.2f, 2.0f, 2, 0, true, true, false},
};

TMaterial WallOf(int k) {
    switch (k) {
        case 0:
            return pal::kWood;
        case 1:
            return pal::kCream;
        case 2:
            return pal::kWhite;
        default:
            return {"larch", {0.66f, 0.44f, 0.28f}, "", 1};
    }
}

TMaterial RoofOf(int k) {
    switch (k) {
        case 0:
            return pal::kRoof;
        case 1:
            return pal::kSlate;
        default:
            return pal::kDarkWood;
    }
}

TMesh House(int n) {
    const THouseStyle& s = kStyles[n];
    TMesh m;
    Plinth(m, -s.w, -s.d, s.w, s.d);
    Cabin(m, -s.w, -s.d, s.w, s.d, s.h, s.roof, 0.5f, WallOf(s.wall), RoofOf(s.roof_colour));
    DoorPanel(m, -s.w * 0.45f, s.d, 1.0f, 2.0f);
    // Windows on the front and back walls by storey; the front turned to +z.
    const int storeys = int(s.h / 2.3f + 0.5f);
    for (int k = 0; k < storeys; ++k) {
        const float y0 = 0.9f + float(k) * 2.2f;
        WindowRow(m, m, k == 0 ? -s.w * 0.1f : -s.w + 0.4f, s.w - 0.4f, y0, y0 + 1.0f, s.d,
                  k == 0 ? 2 : 3);
        m.Push();
        m.RotateY(3.14159265f);
        WindowRow(m, m, -s.w + 0.4f, s.w - 0.4f, y0, y0 + 1.0f, s.d, 2);
        m.Pop();
    }
    // The gable window on each side wall (x = +-w).
    for (float side : {-1.0f, 1.0f}) {
        m.Push();
        m.RotateY(side * 3.14159265f / 2);
        WindowRow(m, m, -0.8f, 0.8f, s.h - 1.4f, s.h - 0.4f, s.w, 1);
        m.Pop();
    }
    if (s.balcony) {
        m.Material(pal::kDarkWood);
        const float y = 2.45f;
        m.Box({0, y, s.d + 0.6f}, {s.w * 2 - 0.4f, 0.12f, 1.2f});
        m.Box({0, y + 0.55f, s.d + 1.17f}, {s.w * 2 - 0.4f, 0.1f, 0.08f});
        for (int k = 0; k <= 8; ++k) {
            const float x = -s.w + 0.25f + (s.w * 2 - 0.5f) * float(k) / 8;
            m.Box({x, y + 0.3f, s.d + 1.17f}, {0.07f, 0.5f, 0.06f});
        }
        m.Material(pal::kSnow);
        m.Box({0, y + 0.62f, s.d + 1.17f}, {s.w * 2 - 0.4f, 0.05f, 0.12f});
    }
    if (s.chimney) {
        m.Material(pal::kConcrete);
        m.Box({s.w * 0.45f, s.h + s.roof * 0.8f, -s.d * 0.3f},
              {0.55f, s.roof * 1.2f + 0.6f, 0.55f});
        m.Material(pal::kSnow);
        m.Box({s.w * 0.45f, s.h + s.roof * 1.4f + 0.33f, -s.d * 0.3f}, {0.65f, 0.08f, 0.65f});
    }
    if (s.annex) {  // a woodshed against the left wall
        m.Material(pal::kDarkWood);
        m.Box({-s.w - 1.0f, 1.0f, 0}, {2.0f, 2.0f, s.d * 1.2f});
        m.Material(pal::kWood);
        for (int k = 0; k < 5; ++k)
            m.Cylinder({-s.w - 1.9f, 0.2f + float(k) * 0.3f, -s.d * 0.55f},
                       {-s.w - 1.9f, 0.2f + float(k) * 0.3f, s.d * 0.55f}, 0.14f, 0.14f, 6);
        m.Material(pal::kSnow);
        m.Box({-s.w - 1.0f, 2.06f, 0}, {2.2f, 0.12f, s.d * 1.3f});
    }
    return m;
}

}  // namespace

bool WriteHouses(const std::filesystem::path& data, std::string* error) {
    for (int n = 0; n < 10; ++n) {
        const TMesh house = House(n);
        const std::string name = "House" + std::to_string(n);
        if (!Save(house, data, name + ".obj", error) ||
            !Save(LowDetail(house), data, name + "L.3DS", error))
            return false;
    }
    return true;
}

}  // namespace vallorn::datagen::models
