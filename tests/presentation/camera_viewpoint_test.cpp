// Where the camera opens on a loaded game: at a slant over the saved focus, within the zoom
// limit, and not looking straight down when a mountain stands behind the focus.
#include <gtest/gtest.h>

#include "presentation/camera.h"
#include "support/test_level.h"

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

}  // namespace
}  // namespace vallorn
