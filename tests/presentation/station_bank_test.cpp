// Lift stations on steep ground stand on the land: seen from beside any corner of what a
// station's model stands on the ground with, nothing but the bank under it (or its own slab)
// lies between the snow and the station's ground level.
#include <gtest/gtest.h>

#include <cmath>

#include <glm/glm.hpp>

#include "presentation/model_library.h"
#include "presentation/station_bank.h"
#include "support/test_level.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

// Whether the segment from `from` along `along` (its whole length) crosses a triangle of
// `triangles`.
bool BankCrossed(const std::vector<gl::TVertex>& triangles, const glm::vec3& from,
                 const glm::vec3& along) {
    for (size_t k = 0; k + 2 < triangles.size(); k += 3) {
        const auto at = [&](size_t n) {
            return glm::vec3(triangles[n].X, triangles[n].Y, triangles[n].Z);
        };
        const glm::vec3 a = at(k), e1 = at(k + 1) - a, e2 = at(k + 2) - a;
        const glm::vec3 p = glm::cross(along, e2);
        const float det = glm::dot(e1, p);
        if (std::fabs(det) < 1e-9f) continue;
        const glm::vec3 s = from - a;
        const float u = glm::dot(s, p) / det;
        const glm::vec3 q = glm::cross(s, e1);
        const float v = glm::dot(along, q) / det, t = glm::dot(e2, q) / det;
        if (u >= 0 && v >= 0 && u + v <= 1 && t >= 0 && t <= 1) return true;
    }
    return false;
}

TEST(StationBank, EveryStationOnASteepMountainsideStandsOnTheLandRoundItsWholeFootprint) {
    test::LevelFixture f;
    test::TestLevel level;
    // A mountainside rising 0.7 a unit along +z (35 degrees).
    level.height = [](int, int j) { return 20.0f + 2.8f * float(j); };
    level.meshKey = "stationbankside";
    ASSERT_TRUE(f.WriteAndLoad(level).ok());
    TModelLibrary library;
    library.SetFolder(test::BuildRoot() / "data");
    int lifts = 0, floatingOnTheSlab = 0;
    for (uint8_t t = 0; t < kLiftTypeCount; ++t) {
        const TSKILiftParams& type = f->Params.Lifts[t];
        for (int slant : {0, 12}) {  // straight up the slope and slanting across it
            const int i = 40 + 60 * t + slant;
            TSKILiftRecord record;
            record.LiftType = t;
            const TSKISection* lift = f->CreateLift(i, 100, i - slant, 140, record);
            ASSERT_NE(lift, nullptr);
            ++lifts;
            const auto& ends = lift->Stations;
            const float yaw =
                std::atan2(ends.back().x - ends.front().x, ends.back().z - ends.front().z);
            for (bool top : {false, true}) {
                SCOPED_TRACE("lift type " + std::to_string(t) + (top ? " upper" : " lower") +
                             " station, slant " + std::to_string(slant));
                const std::string file = (top ? type.ModelHiEnd : type.ModelHiStart) + ".obj";
                const TStationFootprint print =
                    StationFootprint(library.Vertices(file), type.StationHeight);
                ASSERT_FALSE(print.Empty()) << file;
                // The slab, hut and ramp reach past the lines on both sides.
                EXPECT_TRUE(print.X0 < -type.LineDist && print.X1 > type.LineDist);
                const TSKIVector& point = top ? ends.back() : ends.front();
                const glm::vec3 station(point.x, point.y, point.z);
                std::vector<gl::TVertex> bank;
                AddStationBank(*f, print, station, yaw, glm::vec4(1.0f), bank);
                const float level = station.y + print.Ground, slab = station.y + print.Bottom;
                for (const gl::TVertex& v : bank) ASSERT_LE(v.Y, level) << "the bank buries it";
                // Shaded as the ground of its slant: the terrace as flat ground, the faces
                // falling down the mountainside (turned from the light) darker.
                const auto flat =
                    uint8_t(StationBankColour(glm::vec4(1.0f), glm::vec3(0, 1, 0)).g * 255.0f);
                int unlike = 0;
                for (const gl::TVertex& v : bank)
                    unlike += (v.NY > 0.999f && v.G != flat) || (v.NZ < -0.7f && v.G + 20 > flat);
                EXPECT_EQ(unlike, 0);
                for (float x : {print.X0, print.X1}) {
                    for (float z : {print.Z0, print.Z1}) {
                        // Looking in at the corner along its diagonal, from 30 units out to
                        // just inside it, at every height from the snow beside the corner up
                        // to the station's ground level.
                        const glm::vec3 corner = StationPointInWorld(station, yaw, {x, 0, z});
                        const glm::vec3 out = glm::normalize(
                            StationPointInWorld({}, yaw, {x > 0 ? 1 : -1, 0, z > 0 ? 1 : -1}));
                        const glm::vec3 beside = corner + out * 0.3f;
                        const float snow = f->GroundHeight(TSKIVector(beside.x, 0, beside.z, 1));
                        floatingOnTheSlab += slab > snow + 0.3f;
                        for (float y = snow + 0.3f; y < level - 0.1f; y += 0.25f) {
                            if (y >= slab) break;
                            const glm::vec3 from(beside.x + out.x * 30, y, beside.z + out.z * 30);
                            ASSERT_TRUE(BankCrossed(bank, from, -out * 30.6f))
                                << "open under the corner " << y - snow << " over the snow";
                        }
                    }
                }
            }
        }
    }
    EXPECT_EQ(lifts, 2 * kLiftTypeCount);
    // The mountainside is steep enough that the slabs alone leave stations floating.
    EXPECT_GT(floatingOnTheSlab, 4);
}

}  // namespace
}  // namespace vallorn
