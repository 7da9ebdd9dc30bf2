// The service buildings and the level's chalets, one recognisable block per kind.
#include <algorithm>
#include <cmath>

#include <glm/gtc/matrix_transform.hpp>

#include "presentation/shapes_models.h"

namespace vallorn {
namespace {

using glm::vec3;
using namespace palette;

constexpr TShapeColor kWhiteWall{232, 232, 226};
constexpr TShapeColor kCream{226, 210, 170};
constexpr TShapeColor kGreyWall{150, 154, 160};
constexpr TShapeColor kLine{236, 236, 230};
constexpr TShapeColor kOrange{232, 120, 30};

// A red cross on the wall plane z = z0, facing +z.
void Cross(TShapeBuilder& b, float y, float z0, float s) {
    b.Box(vec3(-s, y - s * 0.3f, z0), vec3(s, y + s * 0.3f, z0 + 0.05f), kRed);
    b.Box(vec3(-s * 0.3f, y - s, z0), vec3(s * 0.3f, y + s, z0 + 0.05f), kRed);
}

// A stone base reaching into the ground, so that a building on a slope does not float on
// its downhill side.
void Plinth(TShapeBuilder& b, float x0, float z0, float x1, float z1) {
    b.Box(vec3(x0 - 0.1f, -3.0f, z0 - 0.1f), vec3(x1 + 0.1f, 0.05f, z1 + 0.1f), kConcrete);
}

void Door(TShapeBuilder& b, float z0, float w, float h) {
    b.Box(vec3(-w, 0, z0), vec3(w, h, z0 + 0.06f), kDarkWood);
}

// A cabin with a pitched roof: walls lo..hi, roof above.
void Cabin(TShapeBuilder& b, const vec3& lo, const vec3& hi, TShapeColor wall, TShapeColor roof,
           float roofHeight) {
    b.Box(lo, hi, wall);
    b.GableRoof(lo, hi, roofHeight, 0.35f, roof);
    b.GableRoof(lo + vec3(0.1f, 0, 0.1f), hi + vec3(-0.1f, 0.08f, -0.1f), roofHeight, 0.3f, kSnow);
}

void Windows(TShapeBuilder& b, float x0, float x1, float y0, float y1, float z, int count) {
    const float step = (x1 - x0) / float(count);
    for (int k = 0; k < count; ++k) {
        const float a = x0 + step * (float(k) + 0.2f), c = x0 + step * (float(k) + 0.8f);
        b.Box(vec3(a, y0, z), vec3(c, y1, z + 0.05f), kGlass);
    }
}

void Tables(TShapeBuilder& b, const TSKIBuildingParams& params) {
    if (!params.SeatsVisible) return;
    for (int k = 0; k < std::min<int>(params.Capacity, kBuildingSeatsMax); ++k) {
        const TSKIVector& s = params.Seats[size_t(k)];
        const vec3 p(-s.x, 0, s.z);  // seats are stored with x to the right
        b.Prism(p, 0.06f, 0.06f, 0.9f, 5, kDarkSteel);
        b.Prism(p + vec3(0, 0.9f, 0), 0.35f, 0.35f, 0.06f, 8, kWood);
    }
}

}  // namespace

void MakeBuilding(TShapeBuilder& b, uint8_t type, const TSKIBuildingParams& params) {
    b.ResetTransform();
    const float s = std::clamp<float>(params.Size, 2.0f, 20.0f);
    switch (type) {
        case kBuildSnowCannon: {
            for (int k = 0; k < 3; ++k) {
                const float a = float(k) * 2.094f;
                b.Beam(vec3(std::sin(a) * 0.9f, 0, std::cos(a) * 0.9f), vec3(0, 1.4f, 0), 0.1f,
                       kDarkSteel);
            }
            b.SetTransform(glm::rotate(glm::translate(glm::mat4(1.0f), vec3(0, 1.5f, 0)), 0.5f,
                                       vec3(-1, 0, 0)));
            b.Prism(vec3(0, -0.6f, 0), 0.55f, 0.5f, 1.4f, 10, kYellow);
            b.Prism(vec3(0, 0.8f, 0), 0.5f, 0.25f, 0.5f, 10, kDarkSteel);
            b.ResetTransform();
            break;
        }
        case kBuildStall:
        case kBuildKiosk: {
            const float w = type == kBuildKiosk ? 1.2f : 1.8f;
            Plinth(b, -w, -1.2f, w, 1.5f);
            b.Box(vec3(-w, 0, -1.2f), vec3(w, 2.2f, 1.0f), kWood);
            b.Box(vec3(-w, 1.0f, 1.0f), vec3(w, 1.1f, 1.5f), kDarkWood);  // counter
            for (int k = 0; k < 6; ++k) {                                 // striped awning
                const float x0 = -w + 2 * w * float(k) / 6, x1 = -w + 2 * w * float(k + 1) / 6;
                b.Quad(vec3(x0, 2.2f, 1.0f), vec3(x0, 1.8f, 1.8f), vec3(x1, 1.8f, 1.8f),
                       vec3(x1, 2.2f, 1.0f), k % 2 ? kWhiteWall : kRed);
            }
            b.Box(vec3(-w - 0.1f, 2.2f, -1.3f), vec3(w + 0.1f, 2.45f, 1.1f), kSnow);
            Tables(b, params);
            break;
        }
        case kBuildRescueStation:
        case kBuildSkiPatrol: {
            const float w = type == kBuildSkiPatrol ? 1.6f : 2.6f;
            Plinth(b, -w, -1.8f, w, 1.4f);
            Cabin(b, vec3(-w, 0, -1.8f), vec3(w, 2.6f, 1.4f), kRed, kDarkSteel, 1.0f);
            Door(b, 1.4f, 0.5f, 1.9f);
            b.Box(vec3(-0.9f, 2.0f, 1.4f), vec3(0.9f, 2.5f, 1.45f), kWhiteWall);
            b.Box(vec3(-0.25f, 2.02f, 1.45f), vec3(0.25f, 2.48f, 1.5f), kRed);
            b.Box(vec3(-0.6f, 2.17f, 1.45f), vec3(0.6f, 2.33f, 1.5f), kRed);
            break;
        }
        case kBuildSnowBar:
        case kBuildSelfService: {
            const bool big = type == kBuildSelfService;
            const float w = big ? 5.0f : 2.6f, d = big ? 3.2f : 1.8f, h = big ? 3.4f : 2.6f;
            Plinth(b, -w, -d, w, big ? d + 5.0f : d);
            b.Box(vec3(-w, 0, -d), vec3(w, h, d), big ? kCream : kWood);
            Windows(b, -w + 0.3f, w - 0.3f, 0.8f, h - 0.5f, d, big ? 6 : 3);
            b.Box(vec3(-w - 0.3f, h, -d - 0.3f), vec3(w + 0.3f, h + 0.35f, d + 0.6f), kDarkWood);
            b.Box(vec3(-w - 0.2f, h + 0.35f, -d - 0.2f), vec3(w + 0.2f, h + 0.5f, d + 0.5f), kSnow);
            Door(b, d, 0.6f, 2.0f);
            if (big) b.Box(vec3(-w, 0, d), vec3(w, 0.25f, d + 5.0f), kWood);  // terrace
            Tables(b, params);
            break;
        }
        case kBuildHospital: {
            Plinth(b, -6, -4, 6, 3.5f);
            b.Box(vec3(-6, 0, -4), vec3(6, 5.5f, 3.5f), kWhiteWall);
            Windows(b, -5.5f, 5.5f, 3.2f, 4.6f, 3.5f, 7);
            Windows(b, -5.5f, -1.5f, 1.0f, 2.4f, 3.5f, 3);
            Windows(b, 1.5f, 5.5f, 1.0f, 2.4f, 3.5f, 3);
            Cross(b, 2.0f, 3.5f, 0.9f);
            Door(b, 3.5f, 0.8f, 2.2f);
            b.Box(vec3(-6, 5.5f, -4), vec3(6, 5.7f, 3.5f), kGreyWall);
            b.Box(vec3(-2.5f, 5.7f, -3), vec3(2.5f, 5.75f, 2), kDarkSteel);  // helipad
            b.Box(vec3(-1.2f, 5.75f, -0.7f), vec3(-0.8f, 5.8f, 0.7f), kLine);
            b.Box(vec3(0.8f, 5.75f, -0.7f), vec3(1.2f, 5.8f, 0.7f), kLine);
            b.Box(vec3(-0.8f, 5.75f, -0.15f), vec3(0.8f, 5.8f, 0.15f), kLine);
            break;
        }
        case kBuildSnowcatGarage: {
            Plinth(b, -4.5f, -3.5f, 4.5f, 3.0f);
            b.Box(vec3(-4.5f, 0, -3.5f), vec3(4.5f, 4.0f, 3.0f), kGreyWall);
            b.GableRoof(vec3(-4.5f, 0, -3.5f), vec3(4.5f, 4.0f, 3.0f), 1.2f, 0.3f, kSnow);
            for (float x : {-2.3f, 2.3f})
                b.Box(vec3(x - 1.7f, 0, 3.0f), vec3(x + 1.7f, 3.2f, 3.06f), kOrange);
            break;
        }
        case kBuildCot:
            Plinth(b, -2.2f, -2.0f, 2.2f, 1.8f);
            Cabin(b, vec3(-2.2f, 0, -2.0f), vec3(2.2f, 2.4f, 1.8f), kWood, kRoof, 1.6f);
            Door(b, 1.8f, 0.5f, 1.8f);
            Windows(b, 0.8f, 2.0f, 1.0f, 1.8f, 1.8f, 1);
            b.Box(vec3(1.2f, 2.5f, -1.0f), vec3(1.7f, 4.0f, -0.5f), kConcrete);  // chimney
            break;
        case kBuildShelter: {
            for (float x : {-2.4f, 2.4f})
                for (float z : {-1.8f, 1.8f})
                    b.Box(vec3(x - 0.15f, 0, z - 0.15f), vec3(x + 0.15f, 2.4f, z + 0.15f),
                          kDarkWood);
            b.Box(vec3(-2.5f, 0, -1.9f), vec3(2.5f, 2.2f, -1.7f), kWood);  // back wall
            b.GableRoof(vec3(-2.5f, 0, -2.0f), vec3(2.5f, 2.4f, 2.0f), 1.2f, 0.4f, kRoof);
            b.Box(vec3(-2.2f, 0, -1.5f), vec3(2.2f, 0.5f, -1.0f), kWood);  // bench
            break;
        }
        case kBuildSightseeing: {
            for (float x : {-1.5f, 1.5f})
                for (float z : {-1.5f, 1.5f})
                    b.Beam(vec3(x * 1.3f, 0, z * 1.3f), vec3(x, 7.0f, z), 0.3f, kWood);
            b.Box(vec3(-2.5f, 7.0f, -2.5f), vec3(2.5f, 7.3f, 2.5f), kDarkWood);
            b.Box(vec3(-2.5f, 7.3f, 2.4f), vec3(2.5f, 8.2f, 2.5f), kWood);
            b.Box(vec3(-2.5f, 7.3f, -2.5f), vec3(-2.4f, 8.2f, 2.5f), kWood);
            b.Box(vec3(2.4f, 7.3f, -2.5f), vec3(2.5f, 8.2f, 2.5f), kWood);
            b.Prism(vec3(0, 8.2f, 0), 3.2f, 0.0f, 1.8f, 4, kRoof);
            for (int k = 0; k < 6; ++k) {  // stairs up the side
                const float y = float(k) * 1.15f;
                b.Box(vec3(2.0f, y, -1.5f + float(k) * 0.5f),
                      vec3(3.0f, y + 0.2f, -1.0f + float(k) * 0.5f), kDarkWood);
            }
            break;
        }
        case kBuildParking: {
            b.Box(vec3(-s * 0.78f, 0, -s * 0.45f), vec3(s * 0.78f, 0.12f, s * 0.45f), kAsphalt);
            for (int k = -2; k <= 3; ++k) {
                const float x = (float(k) - 0.5f) * 3.0f;
                b.Box(vec3(x - 0.08f, 0.12f, -s * 0.42f), vec3(x + 0.08f, 0.15f, -s * 0.05f),
                      kLine);
                b.Box(vec3(x - 0.08f, 0.12f, s * 0.05f), vec3(x + 0.08f, 0.15f, s * 0.42f), kLine);
            }
            b.Box(vec3(s * 0.78f, 0, -0.1f), vec3(s * 0.78f + 0.15f, 2.5f, 0.1f), kSteel);
            b.Box(vec3(s * 0.78f - 0.6f, 2.0f, -0.05f), vec3(s * 0.78f + 0.75f, 2.9f, 0.05f),
                  kBlue);
            break;
        }
        default:
            b.Box(vec3(-s * 0.3f, 0, -s * 0.3f), vec3(s * 0.3f, 2.5f, s * 0.3f), kCream);
            break;
    }
    b.ResetTransform();
}

void MakeHouse(TShapeBuilder& b, int tag) {
    b.ResetTransform();
    const int t = ((tag % 10) + 10) % 10;
    static constexpr TShapeColor kWalls[4] = {
        {139, 94, 60}, {226, 210, 170}, {232, 232, 226}, {168, 112, 72}};
    static constexpr TShapeColor kRoofs[3] = {{150, 58, 46}, {70, 74, 82}, {96, 64, 44}};
    const float w = 3.0f + float(t % 3) * 0.8f, d = 2.6f + float(t % 4) * 0.5f;
    const float h = 2.8f + float(t % 2) * 2.4f;
    Plinth(b, -w, -d, w, d);
    Cabin(b, vec3(-w, 0, -d), vec3(w, h, d), kWalls[t % 4], kRoofs[t % 3],
          1.6f + 0.2f * float(t % 3));
    Windows(b, -w + 0.4f, w - 0.4f, h - 1.6f, h - 0.6f, d, 2 + t % 2);
    Door(b, d, 0.5f, 1.9f);
    b.Box(vec3(-w * 0.5f, h + 0.2f, -0.4f), vec3(-w * 0.5f + 0.5f, h + 2.2f, 0.1f), kConcrete);
}

}  // namespace vallorn
