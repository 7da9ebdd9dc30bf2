// Where the camera opens on a loaded game: at a slant over the saved focus, within the zoom
// limit, and not looking straight down when a mountain stands behind the focus; on every
// shipped game with the resort around the focus in frame.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include <glm/glm.hpp>

#include "persistence/saved_game.h"
#include "presentation/camera.h"
#include "presentation/opening_view.h"
#include "support/test_level.h"
#include "support/test_support.h"

namespace vallorn {
namespace {

TEST(CameraViewpoint, ALoadedGameBesideACliffOpensAtASlantWithinTheZoomLimit) {
    test::LevelFixture f;
    test::TestLevel level;
    // A wall 390 high along the cells i < 250: the camera's first bearing (+x) points into it.
    level.height = [](int i, int) { return i < 250 ? 400.0f : 10.0f; };
    level.meshKey = "cameracliff";
    ASSERT_TRUE(f.WriteAndLoad(level).ok());
    TSKICamera camera;
    camera.Resize(1024, 768);
    TSKIViewpoint v;
    v.FocusX = -256 * 4;
    v.FocusZ = 256 * 4;
    v.Height = 500;
    v.MaxDistance = 200;  // a campaign mission's limit
    camera.SetViewpoint(*f, v);
    for (int frame = 0; frame < 300; ++frame) camera.Update(*f, {}, 1.0f / 30);
    EXPECT_LT(camera.PitchDegrees(), 70.0f) << "the view looks down on a patch of snow";
    EXPECT_GT(camera.PitchDegrees(), 20.0f);
    EXPECT_LE(camera.Distance(), 200.0f);
    EXPECT_GT(camera.Distance(), 100.0f);
    EXPECT_NEAR(camera.Target().x, v.FocusX, 1e-3f);
}

TEST(CameraViewpoint, AParkWithNoLiftOpensFarOutFacingItsMountainAndOneWithALiftCloseIn) {
    test::LevelFixture f;
    test::TestLevel level;
    // Flat land round the focus (cell 256), a hill rising 1.2 a cell toward -x beyond cell 270.
    level.height = [](int i, int) { return 10.0f + 1.2f * float(std::max(0, i - 270)); };
    level.meshKey = "cameranewhill";
    ASSERT_TRUE(f.WriteAndLoad(level).ok());
    TSKIViewpoint v;
    v.FocusX = -256 * 4;
    v.FocusZ = 256 * 4;
    v.MaxDistance = 200;  // the first campaign mission's limit
    const auto open = [&] {
        TSKICamera camera;
        camera.Resize(1024, 768);
        camera.SetViewpoint(*f, v);
        for (int frame = 0; frame < 10; ++frame) camera.Update(*f, {}, 1.0f / 30);
        return camera;
    };
    const TSKICamera fresh = open();
    EXPECT_GE(fresh.Distance(), 180.0f) << "the mountain to be built on is out of sight";
    EXPECT_LE(fresh.Distance(), 190.0f + 1e-3f);
    // The camera stands on the valley's side, with the hill's top on the screen.
    const glm::vec3 back = fresh.Position() - fresh.Target();
    EXPECT_GT(back.x, 0.6f * std::hypot(back.x, back.z)) << "the camera does not face the hill";
    const auto hill = OpeningMountain(*f, fresh.Target());
    ASSERT_TRUE(hill);
    EXPECT_LT(hill->x, -1024.0f - 100.0f);
    TSKIOpeningView seen;
    seen.Target = fresh.Target();
    seen.Distance = fresh.Distance();
    seen.Pitch = glm::radians(fresh.PitchDegrees());
    seen.Yaw = std::atan2(back.z, back.x);
    EXPECT_TRUE(InOpeningScreen(seen, 1024.0f / 768.0f, *hill));
    EXPECT_NEAR(fresh.Target().x, v.FocusX, 1e-3f);
    f.AddLift({{-1100, 10, 1024, 1}, {-1200, 40, 1024, 1}}, kLiftTBar);
    const TSKICamera built = open();
    EXPECT_LT(built.Distance(), 120.0f);
}

TEST(CameraViewpoint, EveryShippedGameOpensOnItsResortAtASlantThatShowsIt) {
    int games = 0, withResort = 0;
    for (const auto& entry : std::filesystem::directory_iterator(test::BuildRoot() / "worlds")) {
        if (entry.path().extension() != ".ski") continue;
        SCOPED_TRACE(entry.path().filename().string());
        TSKIEngine engine({test::BuildRoot(), 1, nullptr});
        ASSERT_TRUE(LoadGameFile(engine, entry.path())) << engine.LoadError;
        ++games;
        // A campaign mission starts within the campaign's zoom limit: the first two missions
        // keep the camera close.
        const std::string stem = entry.path().stem().string();
        if (stem == "Mission01") engine.Viewpoint.MaxDistance = 200;
        if (stem == "Mission02") engine.Viewpoint.MaxDistance = 400;
        TSKICamera camera;
        camera.Resize(1024, 768);
        camera.SetViewpoint(engine, engine.Viewpoint);
        // What the player sees after the first frames, with the camera's own rules applied.
        for (int frame = 0; frame < 10; ++frame) camera.Update(engine, {}, 1.0f / 30);
        EXPECT_NEAR(camera.Target().x, engine.Viewpoint.FocusX, 1e-3f);
        EXPECT_NEAR(camera.Target().z, engine.Viewpoint.FocusZ, 1e-3f);
        EXPECT_GE(camera.PitchDegrees(), 30.0f);
        EXPECT_LE(camera.PitchDegrees(), 60.0f);
        EXPECT_LE(camera.Distance(), 0.95f * engine.Viewpoint.MaxDistance + 1e-3f);
        EXPECT_LE(camera.Distance(), 500.0f) << "the park is a speck";
        TSKIOpeningView seen;
        seen.Target = camera.Target();
        seen.Distance = camera.Distance();
        seen.Pitch = glm::radians(camera.PitchDegrees());
        const glm::vec3 offset = camera.Position() - camera.Target();
        seen.Yaw = std::atan2(offset.z, offset.x);
        const std::vector<glm::vec3> landmarks = OpeningLandmarks(engine, camera.Target());
        withResort += !landmarks.empty();
        for (const glm::vec3& l : landmarks)
            EXPECT_TRUE(InOpeningFrame(seen, 1024.0f / 768.0f, l))
                << "out of frame: " << l.x << ", " << l.z << " from " << camera.Distance() << " at "
                << camera.PitchDegrees() << " degrees, " << landmarks.size() << " landmarks";
    }
    EXPECT_GE(games, 30);
    EXPECT_GE(withResort, 1);  // the starter park at least has a resort to show
}

}  // namespace
}  // namespace vallorn
