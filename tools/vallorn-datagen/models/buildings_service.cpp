// The working buildings: snow cannon, stall and kiosk, rescue station and ski patrol,
// hospital, snowcat garage; and the building writer with its seat and door markers.
#include <algorithm>
#include <cmath>

#include "models/buildings.h"
#include "models/families.h"

namespace vallorn::datagen::models {
namespace {

constexpr float kPi = 3.14159265f;

// A red cross on white on the wall plane z = z0, facing +z.
void Cross(TMesh& m, float x, float y, float z0, float s) {
    m.Material(pal::kWhite);
    m.Box({x, y, z0 + 0.03f}, {s * 2.4f, s * 2.4f, 0.06f});
    m.Material(pal::kRed);
    m.Box({x, y, z0 + 0.07f}, {s * 2, s * 0.6f, 0.04f});
    m.Box({x, y, z0 + 0.07f}, {s * 0.6f, s * 2, 0.04f});
}

}  // namespace

void SeatFurniture(TMesh& m, const TSKIBuildingParams& p) {
    if (!p.SeatsVisible) return;
    const int n = std::min<int>(p.Capacity, kBuildingSeatsMax);
    for (int k = 0; k < n; ++k) {
        const TSKIVector& s = p.Seats[size_t(k)];
        m.Material(pal::kDarkSteel);
        m.Cylinder({s.x, s.y, s.z}, {s.x, s.y + 0.45f, s.z}, 0.04f, 0.04f, 5, false);
        m.Material(pal::kWood);
        m.Cylinder({s.x, s.y + 0.45f, s.z}, {s.x, s.y + 0.52f, s.z}, 0.2f, 0.2f, 8);
    }
}

void SnowCannon(TMesh& m) {
    m.Material(pal::kDarkSteel);
    for (int k = 0; k < 3; ++k) {
        const float a = float(k) * 2 * kPi / 3;
        m.Cylinder({std::sin(a) * 0.9f, 0, std::cos(a) * 0.9f}, {0, 1.45f, 0}, 0.06f, 0.05f, 6);
    }
    m.Material(pal::kRubber);
    for (int k = 0; k < 3; ++k) {
        const float a = float(k) * 2 * kPi / 3;
        m.Cylinder({std::sin(a) * 0.9f - 0.05f, 0.12f, std::cos(a) * 0.9f},
                   {std::sin(a) * 0.9f + 0.05f, 0.12f, std::cos(a) * 0.9f}, 0.12f, 0.12f, 8);
    }
    // The barrel, tilted up toward +z, with its fan grille at the back and nozzle ring.
    m.Push();
    m.Translate({0, 1.55f, 0});
    m.RotateX(-0.5f);
    m.Material(pal::kYellow);
    m.Lathe({{0.0f, -0.75f}, {0.5f, -0.72f}, {0.56f, -0.5f}, {0.5f, 0.6f}, {0.36f, 0.7f}}, 14);
    m.Material(pal::kDarkSteel);
    m.Cylinder({0, 0.62f, 0}, {0, 0.85f, 0}, 0.38f, 0.3f, 14);
    m.Cylinder({0, -0.78f, 0}, {0, -0.7f, 0}, 0.48f, 0.48f, 14);
    m.Pop();
    m.Material(pal::kSteel);
    m.Cylinder({0, 0.6f, 0}, {0, 1.5f, 0}, 0.12f, 0.1f, 8);
    m.Material(pal::kBlack);  // the hose across the snow
    m.Cylinder({0, 0.05f, 0}, {-1.6f, 0.05f, -1.2f}, 0.05f, 0.05f, 6);
}

void Stall(TMesh& m, TMesh& glass, bool kiosk) {
    const float w = kiosk ? 1.3f : 1.9f;
    Plinth(m, -w, -1.3f, w, 1.0f);
    m.Material(pal::kWood);
    m.Box({0, 1.1f, -0.15f}, {w * 2, 2.2f, 2.3f});
    // The counter under a serving hatch, a striped awning above it.
    m.Material(pal::kDarkWood);
    m.Box({0, 1.0f, 1.2f}, {w * 2, 0.1f, 0.5f});
    m.Box({0, 0.5f, 1.05f}, {w * 2 - 0.1f, 1.0f, 0.2f});
    for (int k = 0; k < 8; ++k) {
        const float x0 = -w + 2 * w * float(k) / 8, x1 = -w + 2 * w * float(k + 1) / 8;
        m.Material(k % 2 ? pal::kWhite : pal::kRed);
        m.Quad({x0, 2.2f, 1.0f}, {x0, 1.8f, 1.9f}, {x1, 1.8f, 1.9f}, {x1, 2.2f, 1.0f});
        m.Quad({x1, 2.2f, 1.0f}, {x1, 1.8f, 1.9f}, {x0, 1.8f, 1.9f}, {x0, 2.2f, 1.0f});
    }
    WindowRow(m, glass, -w + 0.3f, w - 0.3f, 1.2f, 1.8f, 1.0f, kiosk ? 1 : 2);
    GableRoof(m, -w, -1.3f, w, 1.0f, 2.2f, 0.7f, 0.25f, pal::kRoof);
    // A sign board on the ridge.
    m.Material(kiosk ? pal::kBlue : pal::kGreen);
    m.Box({0, 3.15f, -0.15f}, {w * 1.2f, 0.5f, 0.08f});
}

void RescueStation(TMesh& m, TMesh& glass, bool patrol) {
    const float w = patrol ? 1.7f : 2.8f, z0 = patrol ? -1.6f : -2.2f, z1 = 1.5f;
    Plinth(m, -w, z0, w, z1);
    Cabin(m, -w, z0, w, z1, 2.7f, 1.1f, 0.35f, pal::kRed, pal::kSlate);
    DoorPanel(m, patrol ? 0.0f : -w * 0.5f, z1, 1.0f, 2.0f);
    Cross(m, patrol ? 0.0f : w * 0.45f, patrol ? 2.35f : 1.5f, z1, 0.35f);
    WindowRow(m, glass, patrol ? -w + 0.3f : -w + 0.3f, patrol ? -0.7f : -w + 1.6f, 1.1f, 1.9f, z1,
              1);
    WindowRow(m, glass, -w + 0.3f, w - 0.3f, 1.1f, 1.9f, -z0, 2, kPi);
    if (!patrol) {  // the snowmobile shelter before the seats where they park
        m.Material(pal::kDarkSteel);
        for (float x : {-3.6f, 3.6f}) m.Box({x, 1.1f, 4.5f}, {0.12f, 2.2f, 0.12f});
        m.Material(pal::kSlate);
        m.Box({0, 2.25f, 4.5f}, {7.6f, 0.1f, 2.2f});
        m.Material(pal::kSnow);
        m.Box({0, 2.33f, 4.5f}, {7.4f, 0.06f, 2.0f});
    }
    // The blue light and an antenna.
    m.Material(pal::kBlue);
    m.Box({w - 0.4f, 2.95f + (patrol ? 0.5f : 0.7f), 0}, {0.2f, 0.2f, 0.2f});
    m.Material(pal::kDarkSteel);
    m.Cylinder({-w + 0.4f, 2.7f, z0 + 0.5f}, {-w + 0.4f, 5.0f, z0 + 0.5f}, 0.03f, 0.01f, 4);
}

void Hospital(TMesh& m, TMesh& glass) {
    Plinth(m, -6, -4, 6, 3.5f);
    m.Material(pal::kWhite);
    m.Box({0, 2.75f, -0.25f}, {12, 5.5f, 7.5f});
    WindowRow(m, glass, -5.6f, 5.6f, 3.3f, 4.7f, 3.5f, 7);
    WindowRow(m, glass, -5.6f, -1.6f, 1.0f, 2.4f, 3.5f, 2);
    WindowRow(m, glass, 1.6f, 5.6f, 1.0f, 2.4f, 3.5f, 2);
    WindowRow(m, glass, -5.6f, 5.6f, 3.3f, 4.7f, 4.0f, 7, kPi);
    WindowRow(m, glass, -5.6f, 5.6f, 1.0f, 2.4f, 4.0f, 7, kPi);
    Cross(m, 0, 3.9f, 3.5f, 0.6f);
    // The entrance with its canopy.
    m.Material(pal::kGlassDark);
    m.Box({0, 1.15f, 3.52f}, {2.0f, 2.3f, 0.06f});
    m.Material(pal::kSteel);
    m.Box({0, 2.5f, 4.3f}, {3.2f, 0.15f, 1.6f});
    for (float x : {-1.5f, 1.5f}) m.Box({x, 1.25f, 5.0f}, {0.1f, 2.5f, 0.1f});
    m.Material(pal::kSlate);
    m.Box({0, 5.6f, -0.25f}, {12.3f, 0.2f, 7.8f});
    m.Material(pal::kSnow);
    m.Box({0, 5.73f, -0.25f}, {12.0f, 0.06f, 7.5f});
    // The helicopter's pad in front, where it lands: a grey disc with a white H.
    m.Material(pal::kAsphalt);
    m.Cylinder({0, 0.0f, 8}, {0, 0.06f, 8}, 3.2f, 3.2f, 24);
    m.Material(pal::kLine);
    m.Cylinder({0, 0.06f, 8}, {0, 0.08f, 8}, 3.0f, 3.0f, 24, false);
    m.Box({-0.8f, 0.08f, 8}, {0.3f, 0.03f, 2.0f});
    m.Box({0.8f, 0.08f, 8}, {0.3f, 0.03f, 2.0f});
    m.Box({0, 0.08f, 8}, {1.3f, 0.03f, 0.3f});
}

void SnowcatGarage(TMesh& m, TMesh& glass) {
    Plinth(m, -4.6f, -3.6f, 4.6f, 3.0f);
    Cabin(m, -4.6f, -3.6f, 4.6f, 3.0f, 4.2f, 1.4f, 0.4f, pal::kConcrete, pal::kSlate);
    // Two big doors in front of the parking places (x = +-2.5), striped frames.
    for (float x : {-2.4f, 2.4f}) {
        m.Material(pal::kOrange);
        m.Box({x, 1.7f, 3.03f}, {3.6f, 3.4f, 0.06f});
        m.Material(pal::kDarkSteel);
        for (int k = 1; k < 6; ++k) m.Box({x, float(k) * 0.57f, 3.08f}, {3.5f, 0.04f, 0.04f});
        m.Material(pal::kYellow);
        m.Box({x, 3.5f, 3.06f}, {3.8f, 0.12f, 0.06f});
    }
    WindowRow(m, glass, -2.8f, 2.2f, 2.2f, 3.2f, 4.6f, 3, kPi / 2);
    // Fuel tank beside.
    m.Material(pal::kGreen);
    m.Cylinder({-5.4f, 0.6f, -2.6f}, {-5.4f, 0.6f, -0.6f}, 0.6f, 0.6f, 12);
}

bool WriteBuilding(const std::filesystem::path& data, int type, const TSKIBuildingParams& p,
                   std::string* error) {
    TMesh m, glass;
    switch (type) {
        case 0:
            SnowCannon(m);
            break;
        case 1:
            Stall(m, glass, false);
            break;
        case 2:
            RescueStation(m, glass, false);
            break;
        case 3:
            SnowBar(m, glass);
            break;
        case 4:
            RescueStation(m, glass, true);
            break;
        case 5:
            Hospital(m, glass);
            break;
        case 6:
            SnowcatGarage(m, glass);
            break;
        case 7:
            Cot(m, glass);
            break;
        case 8:
            Shelter(m);
            break;
        case 9:
            Sightseeing(m);
            break;
        case 10:
            Parking(m);
            break;
        case 11:
            SelfService(m, glass);
            break;
        default:
            Stall(m, glass, true);
            break;
    }
    // The low model leaves out the furniture and the markers.
    const TMesh low = LowDetail(m);
    SeatFurniture(m, p);
    const int seats = std::min<int>(p.Capacity, kBuildingSeatsMax);
    for (int k = 0; k < seats; ++k) {
        const TSKIVector& s = p.Seats[size_t(k)];
        m.Marker("Seat" + std::to_string(k), {s.x, s.y, s.z});
    }
    if (p.HasDoor) m.Marker("Door", {p.DoorPosition.x, 0, p.DoorPosition.z});
    if (!p.ModelHi.empty()) {
        if (!Save(m, data, p.ModelHi + ".obj", error)) return false;
        if (!glass.Parts().empty() && !Save(glass, data, p.ModelHi + "GL.3DS", error)) return false;
    }
    return p.ModelLow.empty() || Save(low, data, p.ModelLow + ".3DS", error);
}

}  // namespace vallorn::datagen::models
