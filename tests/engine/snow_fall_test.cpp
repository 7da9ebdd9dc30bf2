// The falling-snow cloud: when it shows, how many flakes, where they are and how they move.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/clock.h"
#include "engine/snow.h"
#include "persistence/saved_game.h"
#include "support/engine_fixture.h"
#include "support/test_level.h"

namespace vallorn {
namespace {

using test::EngineFixture;

bool InBox(const TSKIVector& p, const TSKIVector& centre, float half) {
    return std::fabs(p.x - centre.x) <= half && std::fabs(p.y - centre.y) <= half &&
           std::fabs(p.z - centre.z) <= half;
}

class Snowfall : public ::testing::Test {
protected:
    void SetUp() override {
        e->Options.Detail = 1;
        e->Park.ParkWeather = 0.5f;
        e->SnowfallCamera.Position = TSKIVector(100, 50, 100, 1);
        e->SnowfallCamera.Direction = TSKIVector(0, 0, 1, 0);
    }
    EngineFixture e;
};

TEST_F(Snowfall, NoSnowFallsAtLowDetailOrInMildWeather) {
    e->SnowFlakes.assign(10, TSKIVector(0, 0, 0, 1));
    e->Options.Detail = 0;
    ResetSnowfall(*e);
    EXPECT_FALSE(e->SnowfallVisible);
    EXPECT_TRUE(e->SnowFlakes.empty());

    e->Options.Detail = 2;
    e->Park.ParkWeather = 0.29f;
    ResetSnowfall(*e);
    EXPECT_FALSE(e->SnowfallVisible);
    UpdateSnowfall(*e, 1.0f);  // nothing to move
    EXPECT_TRUE(e->SnowFlakes.empty());
}

TEST_F(Snowfall, TheCloudFillsABoxAheadOfTheCamera) {
    ResetSnowfall(*e);
    ASSERT_TRUE(e->SnowfallVisible);
    EXPECT_EQ(e->SnowFlakes.size(), size_t((1024 + 2048) / 2));
    EXPECT_EQ(e->SnowfallPointSize, 2.0f);
    EXPECT_FLOAT_EQ(e->SnowfallColor.r, 0.9f);
    const TSKISnowfallState& s = e->Level.Snowfall;
    EXPECT_EQ(s.Centre, TSKIVector(100, 50, 180, 1));
    EXPECT_EQ(s.RecentreDistance, 30);
    EXPECT_GE(s.Velocity.x, 1.0f);
    EXPECT_LT(s.Velocity.x, 2.0f);
    EXPECT_LE(s.Velocity.y, -4.0f);
    EXPECT_GT(s.Velocity.y, -6.0f);
    for (const TSKIVector& f : e->SnowFlakes) ASSERT_TRUE(InBox(f, s.Centre, 200));

    e->Options.Detail = 2;
    e->Park.ParkWeather = 0.9f;
    ResetSnowfall(*e);
    EXPECT_EQ(e->SnowFlakes.size(), size_t(std::floor(4096 * 0.9f)));
}

TEST_F(Snowfall, FlakesDriftAndThoseFarBelowTheCameraGoBackUp) {
    ResetSnowfall(*e);
    const TSKIVector v = e->Level.Snowfall.Velocity;
    e->SnowFlakes[0] = TSKIVector(100, 0, 100, 1);
    e->SnowFlakes[1] = TSKIVector(100, -149, 100, 1);  // falls below 50 - 200 this frame
    UpdateSnowfall(*e, 0.5f);
    EXPECT_FLOAT_EQ(e->SnowFlakes[0].x, 100 + 0.5f * v.x);
    EXPECT_FLOAT_EQ(e->SnowFlakes[0].y, 0.5f * v.y);
    EXPECT_FLOAT_EQ(e->SnowFlakes[1].y, -149 + 0.5f * v.y + 400);
    EXPECT_LE(std::fabs(e->SnowFlakes[1].z - e->Level.Snowfall.Centre.z), 200);
}

TEST_F(Snowfall, MovingTheCameraRecentresTheCloud) {
    ResetSnowfall(*e);
    e->SnowfallCamera.Position = TSKIVector(110, 50, 120, 1);  // 22.4 away: stays
    UpdateSnowfall(*e, 0);
    EXPECT_EQ(e->Level.Snowfall.Centre, TSKIVector(100, 50, 180, 1));

    e->SnowfallCamera.Position = TSKIVector(500, 50, 100, 1);
    UpdateSnowfall(*e, 0);
    const TSKISnowfallState& s = e->Level.Snowfall;
    EXPECT_EQ(s.Centre, TSKIVector(500, 50, 180, 1));
    EXPECT_EQ(s.LastCameraPosition, e->SnowfallCamera.Position);
    for (const TSKIVector& f : e->SnowFlakes) ASSERT_TRUE(InBox(f, s.Centre, 200));

    // Heavier weather than the cloud was made for: it is made afresh.
    e->Park.ParkWeather = 0.8f;
    e->SnowfallCamera.Position = TSKIVector(900, 50, 100, 1);
    UpdateSnowfall(*e, 0);
    EXPECT_EQ(e->SnowFlakes.size(), size_t(std::floor(3072 * 0.8f)));
}

TEST(SnowfallOnLoad, ClosingAGameClearsItsCloudAndALoadedGameSnowsAtOnce) {
    test::LevelFixture f;
    ASSERT_TRUE(f.WriteAndLoad(test::TestLevel{}).ok());
    f->Options.Detail = 1;
    f->Park.ParkWeather = 0.8f;
    f->SnowfallCamera.Position = TSKIVector(-800, 50, 800, 1);
    ResetSnowfall(*f);
    ASSERT_TRUE(f->SnowfallVisible);
    const std::filesystem::path save = f->Folders.Save / "snowing.ski";
    std::string why;
    ASSERT_TRUE(SaveGameFile(*f, save, &why)) << why;

    CloseGame(*f);
    EXPECT_FALSE(f->SnowfallVisible);
    EXPECT_TRUE(f->SnowFlakes.empty());

    ASSERT_TRUE(LoadGameFile(*f, save)) << f->LoadError;
    OnProgress(*f, 0.01);
    EXPECT_TRUE(f->SnowfallVisible);
    EXPECT_EQ(f->SnowFlakes.size(), size_t(std::floor(3072 * 0.8f)));
}

}  // namespace
}  // namespace vallorn
