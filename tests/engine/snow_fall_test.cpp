// The falling-snow cloud the view draws: when it shows, how many flakes, where they are and
// how they move, and that drawing it leaves the park's own random draws alone.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/clock.h"
#include "engine/snow_fall.h"
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
        snow.Camera.Position = TSKIVector(100, 50, 100, 1);
        snow.Camera.Direction = TSKIVector(0, 0, 1, 0);
    }
    EngineFixture e;
    TSKISnowfall snow;
};

TEST_F(Snowfall, NoSnowFallsAtLowDetailOrInMildWeather) {
    snow.Flakes.assign(10, TSKIVector(0, 0, 0, 1));
    e->Options.Detail = 0;
    snow.Reset(*e);
    EXPECT_FALSE(snow.Visible);
    EXPECT_TRUE(snow.Flakes.empty());

    e->Options.Detail = 2;
    e->Park.ParkWeather = 0.29f;
    snow.Reset(*e);
    EXPECT_FALSE(snow.Visible);
    snow.Update(*e, 1.0f);  // nothing to move
    EXPECT_TRUE(snow.Flakes.empty());
}

TEST_F(Snowfall, TheCloudFillsABoxAheadOfTheCamera) {
    snow.Reset(*e);
    ASSERT_TRUE(snow.Visible);
    EXPECT_EQ(snow.Flakes.size(), size_t((1024 + 2048) / 2));
    EXPECT_EQ(snow.PointSize, 2.0f);
    EXPECT_FLOAT_EQ(snow.Color.r, 0.9f);
    EXPECT_EQ(snow.Centre, TSKIVector(100, 50, 180, 1));
    EXPECT_EQ(snow.RecentreDistance, 30);
    EXPECT_GE(snow.Velocity.x, 1.0f);
    EXPECT_LT(snow.Velocity.x, 2.0f);
    EXPECT_LE(snow.Velocity.y, -4.0f);
    EXPECT_GT(snow.Velocity.y, -6.0f);
    for (const TSKIVector& f : snow.Flakes) ASSERT_TRUE(InBox(f, snow.Centre, 200));

    e->Options.Detail = 2;
    e->Park.ParkWeather = 0.9f;
    snow.Reset(*e);
    EXPECT_EQ(snow.Flakes.size(), size_t(std::floor(4096 * 0.9f)));
}

TEST_F(Snowfall, FlakesDriftAndThoseFarBelowTheCameraGoBackUp) {
    snow.Reset(*e);
    const TSKIVector v = snow.Velocity;
    snow.Flakes[0] = TSKIVector(100, 0, 100, 1);
    snow.Flakes[1] = TSKIVector(100, -149, 100, 1);  // falls below 50 - 200 this frame
    snow.Update(*e, 0.5f);
    EXPECT_FLOAT_EQ(snow.Flakes[0].x, 100 + 0.5f * v.x);
    EXPECT_FLOAT_EQ(snow.Flakes[0].y, 0.5f * v.y);
    EXPECT_FLOAT_EQ(snow.Flakes[1].y, -149 + 0.5f * v.y + 400);
    EXPECT_LE(std::fabs(snow.Flakes[1].z - snow.Centre.z), 200);
}

TEST_F(Snowfall, MovingTheCameraRecentresTheCloudAndANewDayMakesItAfresh) {
    snow.Reset(*e);
    snow.Camera.Position = TSKIVector(110, 50, 120, 1);  // 22.4 away: stays
    snow.Update(*e, 0);
    EXPECT_EQ(snow.Centre, TSKIVector(100, 50, 180, 1));

    snow.Camera.Position = TSKIVector(500, 50, 100, 1);
    snow.Update(*e, 0);
    EXPECT_EQ(snow.Centre, TSKIVector(500, 50, 180, 1));
    EXPECT_EQ(snow.LastCameraPosition, snow.Camera.Position);
    for (const TSKIVector& f : snow.Flakes) ASSERT_TRUE(InBox(f, snow.Centre, 200));

    // Heavier weather than the cloud was made for: it is made afresh.
    e->Park.ParkWeather = 0.8f;
    snow.Camera.Position = TSKIVector(900, 50, 100, 1);
    snow.Update(*e, 0);
    EXPECT_EQ(snow.Flakes.size(), size_t(std::floor(3072 * 0.8f)));

    // A milder morning: the new day's cloud has the day's weather, here none.
    e->Park.ParkWeather = 0.2f;
    snow.Update(*e, 0);
    EXPECT_TRUE(snow.Visible);
    ++e->DayChanges;
    snow.Update(*e, 0);
    EXPECT_FALSE(snow.Visible);
    EXPECT_TRUE(snow.Flakes.empty());
}

TEST(SnowfallOnLoad, ALoadedGameSnowsAtOnceAndAClearedCloudWaitsForTheNextPark) {
    test::LevelFixture f;
    ASSERT_TRUE(f.WriteAndLoad(test::TestLevel{}).ok());
    f->Options.Detail = 1;
    f->Park.ParkWeather = 0.8f;
    const std::filesystem::path save = f->Folders.Save / "snowing.ski";
    std::string why;
    ASSERT_TRUE(SaveGameFile(*f, save, &why)) << why;
    CloseGame(*f);
    ASSERT_TRUE(LoadGameFile(*f, save)) << f->LoadError;

    TSKISnowfall snow;
    snow.Camera.Position = TSKIVector(-800, 50, 800, 1);
    snow.Update(*f, 0.01f);
    EXPECT_TRUE(snow.Visible);
    EXPECT_EQ(snow.Flakes.size(), size_t(std::floor(3072 * 0.8f)));
    snow.Clear();
    EXPECT_FALSE(snow.Visible);
    EXPECT_TRUE(snow.Flakes.empty());
}

// Two parks alike but for their detail: one's view keeps a heavy cloud of flakes every frame,
// the other's has none to draw. The parks still draw the same random numbers, so a park runs
// the same whether or not (and however much) snow is drawn over it.
TEST(SnowfallAndPark, DrawingTheSnowLeavesTheParksRandomDrawsAlone) {
    EngineFixture snowing, bare;
    snowing->Options.Detail = 2;
    bare->Options.Detail = 0;
    TSKISnowfall snow;
    for (int frame = 0; frame < 60; ++frame) {
        for (TSKIEngine* e : {&*snowing, &*bare}) {
            e->Park.ParkWeather = 0.9f;
            OnProgress(*e, 1.0 / 30);
        }
        snow.Camera.Position = TSKIVector(float(frame) * 40, 50, 100, 1);  // recentres
        snow.Update(*snowing, 1.0f / 30);
    }
    ASSERT_EQ(snow.Flakes.size(), size_t(std::floor(4096 * 0.9f)));
    EXPECT_EQ(snowing->Rng.Next(), bare->Rng.Next());
}

}  // namespace
}  // namespace vallorn
