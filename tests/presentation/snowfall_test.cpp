// The falling-snow cloud: when it shows, how many flakes, where they are and how they move.
// It is the view's own: the camera's moves leave the park's future as it was.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/clock.h"
#include "persistence/saved_game.h"
#include "persistence/state_hash.h"
#include "presentation/view_state.h"
#include "support/engine_fixture.h"
#include "support/test_level.h"

namespace vallorn {
namespace {

using test::EngineFixture;

bool InSnowBox(const TSKIVector& p, const TSKIVector& centre, float half) {
    return std::fabs(p.x - centre.x) <= half && std::fabs(p.y - centre.y) <= half &&
           std::fabs(p.z - centre.z) <= half;
}

class Snowfall : public ::testing::Test {
protected:
    void SetUp() override {
        e->Options.Detail = 1;
        e->Park.ParkWeather = 0.5f;
        s.Camera.Position = TSKIVector(100, 50, 100, 1);
        s.Camera.Direction = TSKIVector(0, 0, 1, 0);
    }
    EngineFixture e;
    TSKISnowfall s;
};

TEST_F(Snowfall, NoSnowFallsAtLowDetailOrInMildWeather) {
    s.Flakes.assign(10, TSKIVector(0, 0, 0, 1));
    e->Options.Detail = 0;
    s.Reset(*e);
    EXPECT_FALSE(s.Visible);
    EXPECT_TRUE(s.Flakes.empty());

    e->Options.Detail = 2;
    e->Park.ParkWeather = 0.29f;
    s.Reset(*e);
    EXPECT_FALSE(s.Visible);
    s.Update(*e, 1.0f);  // nothing to move
    EXPECT_TRUE(s.Flakes.empty());
}

TEST_F(Snowfall, TheCloudFillsABoxAheadOfTheCamera) {
    s.Reset(*e);
    ASSERT_TRUE(s.Visible);
    EXPECT_EQ(s.Flakes.size(), size_t((1024 + 2048) / 2));
    EXPECT_EQ(s.PointSize, 2.0f);
    EXPECT_FLOAT_EQ(s.Color.r, 0.9f);
    EXPECT_EQ(s.Centre, TSKIVector(100, 50, 180, 1));
    EXPECT_EQ(s.RecentreDistance, 30);
    EXPECT_GE(s.Velocity.x, 1.0f);
    EXPECT_LT(s.Velocity.x, 2.0f);
    EXPECT_LE(s.Velocity.y, -4.0f);
    EXPECT_GT(s.Velocity.y, -6.0f);
    for (const TSKIVector& flake : s.Flakes) ASSERT_TRUE(InSnowBox(flake, s.Centre, 200));

    e->Options.Detail = 2;
    e->Park.ParkWeather = 0.9f;
    s.Reset(*e);
    EXPECT_EQ(s.Flakes.size(), size_t(std::floor(4096 * 0.9f)));
}

TEST_F(Snowfall, FlakesDriftAndThoseFarBelowTheCameraGoBackUp) {
    s.Reset(*e);
    const TSKIVector v = s.Velocity;
    s.Flakes[0] = TSKIVector(100, 0, 100, 1);
    s.Flakes[1] = TSKIVector(100, -149, 100, 1);  // falls below 50 - 200 this frame
    s.Update(*e, 0.5f);
    EXPECT_FLOAT_EQ(s.Flakes[0].x, 100 + 0.5f * v.x);
    EXPECT_FLOAT_EQ(s.Flakes[0].y, 0.5f * v.y);
    EXPECT_FLOAT_EQ(s.Flakes[1].y, -149 + 0.5f * v.y + 400);
    EXPECT_LE(std::fabs(s.Flakes[1].z - s.Centre.z), 200);
}

TEST_F(Snowfall, MovingTheCameraRecentresTheCloud) {
    s.Reset(*e);
    s.Camera.Position = TSKIVector(110, 50, 120, 1);  // 22.4 away: stays
    s.Update(*e, 0);
    EXPECT_EQ(s.Centre, TSKIVector(100, 50, 180, 1));

    s.Camera.Position = TSKIVector(500, 50, 100, 1);
    s.Update(*e, 0);
    EXPECT_EQ(s.Centre, TSKIVector(500, 50, 180, 1));
    EXPECT_EQ(s.LastCameraPosition, s.Camera.Position);
    for (const TSKIVector& flake : s.Flakes) ASSERT_TRUE(InSnowBox(flake, s.Centre, 200));

    // Heavier weather than the cloud was made for: it is made afresh.
    e->Park.ParkWeather = 0.8f;
    s.Camera.Position = TSKIVector(900, 50, 100, 1);
    s.Update(*e, 0);
    EXPECT_EQ(s.Flakes.size(), size_t(std::floor(3072 * 0.8f)));
}

TEST(SnowfallInView, ClosingAGameClearsItsCloudAndALoadedGameSnowsAtOnce) {
    test::LevelFixture f;
    ASSERT_TRUE(f.WriteAndLoad(test::TestLevel{}).ok());
    TSKIViewState view;
    f->SetDisplay(&view);
    f->Options.Detail = 1;
    f->Park.ParkWeather = 0.8f;
    view.Snowfall.Camera.Position = TSKIVector(-800, 50, 800, 1);
    view.Snowfall.Reset(*f);
    ASSERT_TRUE(view.Snowfall.Visible);
    const std::filesystem::path save = f->Folders.Save / "snowing.ski";
    std::string why;
    ASSERT_TRUE(SaveGameFile(*f, save, &why)) << why;

    CloseGame(*f);
    EXPECT_FALSE(view.Snowfall.Visible);
    EXPECT_TRUE(view.Snowfall.Flakes.empty());

    ASSERT_TRUE(LoadGameFile(*f, save)) << f->LoadError;
    view.Advance(*f, 0.01);
    EXPECT_TRUE(view.Snowfall.Visible);
    EXPECT_EQ(view.Snowfall.Flakes.size(), size_t(std::floor(3072 * 0.8f)));
}

// Two parks from one seed in heavy snow, one seen from a camera that stays, the other from one
// that flies about: the snow follows each camera, the parks and their random numbers stay alike.
TEST(SnowfallInView, WhereTheCameraGoesLeavesTheParkAsItWas) {
    test::LevelFixture still, flown;
    TSKIViewState stillView, flownView;
    for (auto [f, view] : {std::pair{&still, &stillView}, std::pair{&flown, &flownView}}) {
        ASSERT_TRUE(f->WriteAndLoad(test::TestLevel{}).ok());
        TSKIEngine& park = **f;
        park.SetDisplay(view);
        park.Options.Detail = 2;
        park.Park.ParkWeather = 0.9f;
        view->Snowfall.Camera.Position = TSKIVector(-400, 80, 400, 1);
        for (int frame = 0; frame < 120; ++frame) {
            if (view == &flownView)
                view->Snowfall.Camera.Position =
                    TSKIVector(-100.0f * float(frame % 7), 80, 100.0f * float(frame % 5), 1);
            OnProgress(park, 1.0 / 30);
            view->Advance(park, 1.0 / 30);
        }
        ASSERT_TRUE(view->Snowfall.Visible);
    }
    EXPECT_NE(stillView.Snowfall.Centre, flownView.Snowfall.Centre);
    EXPECT_EQ(StateHash(*still), StateHash(*flown));
    EXPECT_EQ(still->Rng.Next(), flown->Rng.Next());
}

}  // namespace
}  // namespace vallorn
