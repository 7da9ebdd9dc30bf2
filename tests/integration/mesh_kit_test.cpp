// The data generator's mesh kit: every primitive faces outward (also under a mirroring
// transform), and a model encodes to the same bytes every time in both formats.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "meshkit.h"

namespace vallorn::datagen::mesh {
namespace {

TEST(MeshKit, EveryPrimitiveWindsOutwardWithMatchingNormals) {
    struct TCase {
        const char* name;
        std::function<void(TMesh&)> build;
        TVec3 centre;
    };
    const std::vector<TCase> cases = {
        {"box",
         [](TMesh& m) {
             m.Box({0, 0, 0}, {1, 2, 3});
         },
         {0, 0, 0}},
        {"block",
         [](TMesh& m) {
             m.Block({TVec2{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}, 0,
                     {TVec2{-0.5f, -0.5f}, {0.5f, -0.5f}, {0.5f, 0.5f}, {-0.5f, 0.5f}}, 1);
         },
         {0, 0.5f, 0}},
        {"cone",
         [](TMesh& m) {
             m.Cylinder({0, -1, 0}, {0, 1, 0}, 0.5f, 0.3f, 8);
         },
         {0, 0, 0}},
        {"tilted cylinder",
         [](TMesh& m) {
             m.Cylinder({-1, 0, 0}, {1, 0.5f, 0.2f}, 0.5f, 0.5f, 8);
         },
         {0, 0.25f, 0.1f}},
        {"sphere",
         [](TMesh& m) {
             m.Sphere({0, 0, 0}, 1, 6, 8);
         },
         {0, 0, 0}},
        {"lathe",
         [](TMesh& m) {
             m.Lathe({{0, -1}, {1, -0.5f}, {1, 0.5f}, {0, 1}}, 8);
         },
         {0, 0, 0}},
        {"extrusion",
         [](TMesh& m) {
             m.Extrude({{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}, -0.5f, 0.5f);
         },
         {0, 0, 0}},
        {"mirrored box",
         [](TMesh& m) {
             m.RotateY(1.0f);
             m.Scale({1, 1, -1});
             m.Box({0, 0, 0}, {1, 1, 1});
         },
         {0, 0, 0}},
    };
    for (const TCase& c : cases) {
        TMesh m;
        c.build(m);
        ASSERT_GT(m.TriangleCount(), 0u) << c.name;
        for (const TPart& p : m.Parts()) {
            for (const auto& f : p.faces) {
                const TVec3 a = p.vertices[f[0]].position, b = p.vertices[f[1]].position,
                            d = p.vertices[f[2]].position;
                const TVec3 n = Cross(b - a, d - a);
                if (Dot(n, n) < 1e-12f) continue;  // the degenerate tip of a lathe
                const TVec3 mid = (a + b + d) * (1.0f / 3);
                EXPECT_GT(Dot(n, mid - c.centre), 0) << c.name << " has a face turned inward";
                EXPECT_GT(Dot(n, p.vertices[f[0]].normal), 0) << c.name << " normal";
            }
        }
    }
}

TEST(MeshKit, EncodesTheSameBytesEveryTimeInBothFormats) {
    auto build = [] {
        TMesh m;
        m.Material({"red", {1, 0, 0}, "", 1});
        m.Cylinder({0, 0, 0}, {0, 1, 0}, 0.5f, 0.4f, 12);
        m.Material({"LTEX", {1, 1, 1}, "LTEX.jpg", 1});
        m.Sphere({0, 2, 0}, 0.5f, 5, 7);
        m.Marker("Seat0", {0.1f, 0.2f, 0.3f});
        return m;
    };
    for (const char* name : {"model.obj", "model.3DS"}) {
        std::vector<std::string> first, second;
        std::string error;
        ASSERT_TRUE(build().Encode(name, &first, &error)) << error;
        ASSERT_TRUE(build().Encode(name, &second, &error)) << error;
        ASSERT_FALSE(first.empty());
        EXPECT_EQ(first, second) << name;
        if (std::string(name) == "model.obj") {
            ASSERT_EQ(first.size(), 2u);  // the .obj and its .mtl, which it names
            EXPECT_NE(first[0].find("mtllib model.mtl"), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace vallorn::datagen::mesh
