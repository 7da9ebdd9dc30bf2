// The buildings where skiers rest: the round snow bar, the mountain hut (cot), the open
// shelter, the sightseeing tower, the car park and the self-service restaurant.
#include <cmath>

#include "models/buildings.h"

namespace vallorn::datagen::models {
namespace {

constexpr float kPi = 3.14159265f;

// A table with a parasol at (x, z).
void Table(TMesh& m, float x, float z, bool parasol) {
    m.Material(pal::kDarkSteel);
    m.Cylinder({x, 0, z}, {x, 0.75f, z}, 0.05f, 0.05f, 6);
    m.Material(pal::kWood);
    m.Box({x, 0.78f, z}, {0.7f, 0.06f, 0.7f});
    if (!parasol) return;
    m.Material(pal::kSteel);
    m.Cylinder({x, 0.8f, z}, {x, 2.3f, z}, 0.03f, 0.03f, 4);
    m.Material(pal::kRed);
    m.Cylinder({x, 2.0f, z}, {x, 2.45f, z}, 1.0f, 0.05f, 8, false);
    m.Cylinder({x, 2.45f, z}, {x, 2.0f, z}, 0.05f, 1.0f, 8, false);
}

}  // namespace

void SnowBar(TMesh& m, TMesh& glass) {
    // A round bar under a conical roof; the stools stand round its counter (the seats).
    m.Material(pal::kConcrete);
    m.Cylinder({0, -2.0f, 0}, {0, 0.1f, 0}, 3.9f, 3.9f, 24);
    m.Material(pal::kDarkWood);
    m.Cylinder({0, 0.1f, 0}, {0, 1.0f, 0}, 2.85f, 2.85f, 24);  // the counter's front
    m.Material(pal::kWood);
    m.Cylinder({0, 1.0f, 0}, {0, 1.08f, 0}, 3.05f, 3.05f, 24);  // the counter top
    m.Material(pal::kCream);
    m.Cylinder({0, 1.08f, 0}, {0, 2.6f, 0}, 1.3f, 1.3f, 16);  // the bar's core
    m.Box({0, 1.85f, 1.2f}, {1.7f, 0.95f, 0.16f});            // a flat bay for its window
    WindowRow(m, glass, -0.8f, 0.8f, 1.5f, 2.2f, 1.28f, 1);
    m.Material(pal::kDarkWood);
    for (int k = 0; k < 6; ++k) {
        const float a = float(k) * kPi / 3 + kPi / 6;
        m.Cylinder({std::cos(a) * 2.7f, 1.08f, std::sin(a) * 2.7f},
                   {std::cos(a) * 2.7f, 2.7f, std::sin(a) * 2.7f}, 0.08f, 0.08f, 6);
    }
    m.Material(pal::kRoof);
    m.Cylinder({0, 2.6f, 0}, {0, 4.2f, 0}, 3.6f, 0.25f, 24);
    m.Material(pal::kSnow);
    m.Cylinder({0, 2.75f, 0}, {0, 4.25f, 0}, 3.2f, 0.2f, 24, false);
    m.Material(pal::kYellow);
    m.Box({0, 4.45f, 0}, {1.6f, 0.4f, 0.08f});  // the sign on the top
}

void Cot(TMesh& m, TMesh& glass) {
    // A mountain hut of logs on a stone ground floor; the door in front (z = 3).
    Plinth(m, -3.0f, -2.9f, 3.0f, 2.9f);
    m.Material(pal::kConcrete);
    m.Box({0, 0.6f, 0}, {6.0f, 1.2f, 5.8f});
    Cabin(m, -3.0f, -2.9f, 3.0f, 2.9f, 3.2f, 2.2f, 0.6f, pal::kWood, pal::kRoof);
    m.Material(pal::kDarkWood);
    for (int k = 1; k < 7; ++k)  // log courses
        m.Box({0, 1.2f + float(k) * 0.3f, 2.91f}, {6.02f, 0.04f, 0.04f});
    DoorPanel(m, 0.0f, 2.9f, 1.1f, 2.1f);
    WindowRow(m, glass, -2.7f, -0.8f, 1.4f, 2.3f, 2.9f, 1);
    WindowRow(m, glass, 0.8f, 2.7f, 1.4f, 2.3f, 2.9f, 1);
    WindowRow(m, glass, -2.7f, 2.7f, 1.4f, 2.3f, 2.9f, 2, kPi);
    for (float side : {-1.0f, 1.0f}) {
        WindowRow(m, glass, -2.4f, 2.4f, 1.4f, 2.3f, 3.0f, 2, side * kPi / 2);
        WindowRow(m, glass, -0.6f, 0.6f, 3.5f, 4.3f, 3.0f, 1, side * kPi / 2);
    }
    m.Material(pal::kConcrete);
    m.Box({1.6f, 5.0f, -1.0f}, {0.6f, 2.4f, 0.6f});
    m.Material(pal::kSnow);
    m.Box({1.6f, 6.25f, -1.0f}, {0.7f, 0.1f, 0.7f});
    // A bench by the door.
    m.Material(pal::kDarkWood);
    m.Box({-2.0f, 0.45f, 3.3f}, {1.6f, 0.08f, 0.4f});
}

void Shelter(TMesh& m) {
    // An open-fronted wooden shelter: back and side walls, posts, benches along the walls.
    m.Material(pal::kDarkWood);
    for (float x : {-2.9f, 2.9f})
        for (float z : {-2.4f, 2.4f}) m.Box({x, 1.3f, z}, {0.25f, 2.6f, 0.25f});
    m.Material(pal::kWood);
    m.Box({0, 1.25f, -2.45f}, {5.8f, 2.5f, 0.15f});
    for (float x : {-2.9f, 2.9f}) m.Box({x, 0.9f, 0}, {0.12f, 1.8f, 4.6f});
    GableRoof(m, -3.1f, -2.6f, 3.1f, 2.6f, 2.6f, 1.5f, 0.5f, pal::kRoof);
    m.Material(pal::kDarkWood);
    m.Box({0, 0.45f, -2.1f}, {5.4f, 0.08f, 0.5f});
    for (float x : {-2.6f, 2.6f}) m.Box({x, 0.45f, 0}, {0.5f, 0.08f, 3.6f});
    m.Material(pal::kWood);
    m.Box({0, 0.05f, 0}, {5.8f, 0.1f, 4.8f});  // the floor
    // A trail board by the open side.
    m.Material(pal::kDarkWood);
    m.Box({2.2f, 1.0f, 3.2f}, {0.08f, 2.0f, 0.08f});
    m.Material(pal::kYellow);
    m.Box({2.2f, 1.8f, 3.25f}, {0.9f, 0.3f, 0.04f});
}

void Sightseeing(TMesh& m) {
    // A wooden look-out tower on four splayed legs with a roofed platform; the benches round
    // it (the seats) face outward over the view.
    m.Material(pal::kConcrete);
    for (float x : {-2.2f, 2.2f})
        for (float z : {-2.2f, 2.2f}) m.Box({x, -0.4f, z}, {0.8f, 1.0f, 0.8f});
    m.Material(pal::kWood);
    for (float x : {-1.0f, 1.0f})
        for (float z : {-1.0f, 1.0f})
            m.Cylinder({x * 2.2f, 0, z * 2.2f}, {x * 1.5f, 7.3f, z * 1.5f}, 0.2f, 0.16f, 6);
    m.Material(pal::kDarkWood);
    for (float y : {2.4f, 4.8f})
        for (int side = 0; side < 4; ++side) {
            m.Push();
            m.RotateY(float(side) * kPi / 2);
            const float w = 2.2f - 0.7f * y / 7.3f;
            m.Box({0, y, w}, {w * 2, 0.15f, 0.15f});
            m.Pop();
        }
    m.Box({0, 7.3f, 0}, {5.0f, 0.3f, 5.0f});
    m.Material(pal::kWood);
    for (int side = 0; side < 4; ++side) {
        m.Push();
        m.RotateY(float(side) * kPi / 2);
        m.Box({0, 7.95f, 2.45f}, {5.0f, 0.08f, 0.1f});
        for (int k = 0; k <= 6; ++k)
            m.Box({-2.4f + 0.8f * float(k), 7.75f, 2.45f}, {0.08f, 0.6f, 0.08f});
        m.Pop();
    }
    m.Material(pal::kDarkWood);
    for (float x : {-2.3f, 2.3f})
        for (float z : {-2.3f, 2.3f}) m.Box({x, 8.8f, z}, {0.12f, 2.7f, 0.12f});
    m.Push();
    m.RotateY(kPi / 4);  // the pyramid's corners over the platform's
    m.Material(pal::kRoof);
    m.Cylinder({0, 10.1f, 0}, {0, 12.0f, 0}, 3.6f, 0.05f, 4);
    m.Material(pal::kSnow);
    m.Cylinder({0, 10.25f, 0}, {0, 12.02f, 0}, 3.1f, 0.05f, 4, false);
    m.Pop();
    // Stairs up the right side in two flights with a landing between, on stringers.
    for (int flight = 0; flight < 2; ++flight) {
        const float x = 2.75f + 0.0f * float(flight), y0 = 3.65f * float(flight);
        const float dir = flight ? -1.0f : 1.0f, z0 = flight ? 2.1f : -2.1f;
        m.Material(pal::kDarkWood);
        for (int k = 0; k < 9; ++k)
            m.Box({x, y0 + 0.4f * float(k + 1), z0 + dir * 0.45f * float(k)}, {0.9f, 0.07f, 0.35f});
        m.Material(pal::kWood);
        for (float side : {-0.47f, 0.47f})
            m.Cylinder({x + side, y0, z0 - dir * 0.2f}, {x + side, y0 + 3.65f, z0 + dir * 3.8f},
                       0.06f, 0.06f, 4);
    }
    m.Material(pal::kDarkWood);
    m.Box({2.75f, 3.65f, 2.3f}, {1.0f, 0.1f, 0.8f});  // the landing
    // Coin telescopes on the platform, one to each side.
    for (int k = 0; k < 4; ++k) {
        m.Push();
        m.RotateY(float(k) * kPi / 2 + kPi / 4);
        m.Material(pal::kDarkSteel);
        m.Cylinder({0, 7.45f, 2.6f}, {0, 8.4f, 2.6f}, 0.05f, 0.05f, 6);
        m.Material(pal::kGreen);
        m.Cylinder({0, 8.45f, 2.4f}, {0, 8.6f, 2.95f}, 0.09f, 0.12f, 8);
        m.Pop();
    }
}

void Parking(TMesh& m) {
    m.Material(pal::kAsphalt);
    m.Box({0, 0.0f, 0}, {15.6f, 0.16f, 9.0f});
    m.Material(pal::kLine);
    for (int k = 0; k < 6; ++k) {
        const float x = -7.5f + 3.0f * float(k);
        m.Box({x, 0.09f, -2.6f}, {0.12f, 0.02f, 3.0f});
        m.Box({x, 0.09f, 2.6f}, {0.12f, 0.02f, 3.0f});
    }
    m.Box({0, 0.09f, 0}, {15.0f, 0.02f, 0.12f});
    // Snow heaped along the edges by the plough, and the P sign.
    m.Material(pal::kSnow);
    for (float z : {-4.8f, 4.8f}) m.Cylinder({-7.8f, 0, z}, {7.8f, 0, z}, 0.5f, 0.5f, 8);
    m.Material(pal::kSteel);
    m.Cylinder({8.2f, 0, 0}, {8.2f, 2.8f, 0}, 0.06f, 0.06f, 6);
    m.Material(pal::kBlue);
    m.Box({8.2f, 2.6f, 0.05f}, {0.9f, 0.9f, 0.05f});
    m.Material(pal::kWhite);
    m.Box({8.05f, 2.6f, 0.09f}, {0.12f, 0.6f, 0.02f});
    m.Box({8.25f, 2.75f, 0.09f}, {0.3f, 0.3f, 0.02f});
}

void SelfService(TMesh& m, TMesh& glass) {
    // A restaurant: a long hall under a wide roof, glazed toward its terrace, where the tables
    // (the seats) stand; the door in the middle of the front (z = 2.6).
    const float w = 4.8f, z0 = -4.6f, z1 = 2.4f;
    Plinth(m, -w, z0, w, z1);
    m.Material(pal::kCream);
    m.Box({0, 1.8f, (z0 + z1) / 2}, {w * 2, 3.6f, z1 - z0});
    m.Material(pal::kDarkWood);
    m.Box({0, 0.5f, (z0 + z1) / 2}, {w * 2 + 0.04f, 1.0f, z1 - z0 + 0.04f});
    GableRoof(m, -w, z0, w, z1, 3.6f, 2.0f, 0.7f, pal::kRoof);
    WindowRow(m, glass, -w + 0.3f, -0.8f, 1.1f, 3.0f, z1, 3);
    WindowRow(m, glass, 0.8f, w - 0.3f, 1.1f, 3.0f, z1, 3);
    WindowRow(m, glass, -w + 0.3f, w - 0.3f, 1.6f, 3.0f, -z0, 4, kPi);
    DoorPanel(m, 0.0f, z1, 1.2f, 2.2f);
    m.Material(pal::kYellow);
    m.Box({0, 3.1f, z1 + 0.05f}, {2.6f, 0.5f, 0.06f});
    // The terrace: a wooden deck with a rail, tables among the seats.
    m.Material(pal::kWood);
    m.Box({0, 0.06f, 5.3f}, {w * 2, 0.12f, 5.8f});
    m.Material(pal::kDarkWood);
    m.Box({0, 0.9f, 8.15f}, {w * 2, 0.08f, 0.08f});
    for (float x : {-w + 0.05f, w - 0.05f}) m.Box({x, 0.9f, 5.3f}, {0.08f, 0.08f, 5.8f});
    for (int k = 0; k <= 8; ++k)
        m.Box({-w + 0.05f + (2 * w - 0.1f) * float(k) / 8, 0.45f, 8.15f}, {0.08f, 0.9f, 0.08f});
    for (float x : {-3.2f, 0.0f, 3.2f})
        for (float z : {4.2f, 6.6f}) Table(m, x, z, x != 0.0f);
}

}  // namespace vallorn::datagen::models
