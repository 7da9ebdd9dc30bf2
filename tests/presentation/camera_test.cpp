// The player's camera: where the view target may go, how far the camera may zoom, how the
// wheel, the screen edges and travels move it, and that it never dips into the ground.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include <glm/glm.hpp>

#include "base/park_data.h"
#include "presentation/camera.h"
#include "support/test_level.h"

namespace vallorn {
namespace {

constexpr float kDt = 1.0f / 30.0f;

// A round hill 150 high in the middle of a flat map.
float Hill(int i, int j) {
    const float di = float(i - 256), dj = float(j - 256);
    return 10.0f + 150.0f * std::exp(-(di * di + dj * dj) / 3600.0f);
}

class CameraTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::TestLevel level;
        level.height = Hill;
        level.meshKey = "camerahill";
        ASSERT_TRUE(f.WriteAndLoad(level).ok());
        camera.Resize(1024, 768);
        camera.SetViewpoint(*f, f->Viewpoint);
    }
    void Run(const TSKICameraInput& input, int frames) {
        for (int k = 0; k < frames; ++k) camera.Update(*f, input, kDt);
    }
    float GroundUnderCamera() { return f->GroundHeight(TSKIVector(camera.Position(), 1.0f)); }
    test::LevelFixture f;
    TSKICamera camera;
};

TEST_F(CameraTest, TheTargetNeverLeavesTheMapAndFollowsTheGround) {
    const float world = f->Level.WorldSize;
    TSKICameraInput keys;
    keys.Forward = keys.Left = true;
    TSKICameraInput drag;
    drag.LeftButton = true;
    drag.DragX = 4000;
    drag.DragY = 4000;
    for (const TSKICameraInput& input : {keys, drag}) {
        for (int turn = 0; turn < 4; ++turn) {
            TSKICameraInput orbit;
            orbit.Ctrl = true;
            orbit.DragX = 90.0f / (kDragFrameSeconds * f->Options.MouseRotSpeed);
            camera.Update(*f, orbit, kDt);
            Run(input, 1000);
            const glm::vec3 t = camera.Target();
            EXPECT_GE(t.x, -world);
            EXPECT_LE(t.x, 0.0f);
            EXPECT_GE(t.z, 0.0f);
            EXPECT_LE(t.z, world);
            EXPECT_FLOAT_EQ(t.y, f->GroundHeight(TSKIVector(t, 1.0f)));
        }
    }
}

TEST_F(CameraTest, ZoomStopsAtThirtyAndAtTheMissionsLimitPushingBackByDt) {
    // Far in: the wheel throws the camera to 5; the limit brings it back by 1 + dt a frame.
    camera.MouseWheel(120 * 20, f->Options);
    Run({}, 1);
    const float close = camera.Distance();
    ASSERT_LT(close, 30.0f);
    Run({}, 1);
    EXPECT_NEAR(camera.Distance(), close * (1 + kDt), 1e-3f);
    Run({}, 200);
    EXPECT_GE(camera.Distance(), 30.0f);
    EXPECT_LT(camera.Distance(), 30.0f * (1 + kDt) + 1e-3f);

    // The first campaign mission allows 200: far out comes back by 1 - dt a frame.
    TSKIViewpoint first = camera.Viewpoint();
    first.MaxDistance = 200;
    camera.SetViewpoint(*f, first);
    camera.MouseWheel(-120 * 16, f->Options);
    Run({}, 1);
    const float far = camera.Distance();
    ASSERT_GT(far, 200.0f);
    Run({}, 1);
    EXPECT_NEAR(camera.Distance(), far * (1 - kDt), 1e-2f);
    Run({}, 300);
    EXPECT_LE(camera.Distance(), 200.0f);
    EXPECT_GT(camera.Distance(), 200.0f * (1 - kDt) - 1e-2f);
}

TEST_F(CameraTest, TheWheelTurnedForwardZoomsInByOnePointThreeToTheZeroPointSix) {
    // One notch forward (SDL's wheel y > 0, a delta of +120) brings the camera closer.
    const float start = camera.Distance();
    TSKIEngineOptions& options = f->Options;
    camera.MouseWheel(120, options);
    Run({}, 1);
    EXPECT_NEAR(camera.Distance(), start / std::pow(1.3f, 0.6f), 1e-3f);
    // Inverting the wheel in the options reverses it, the zoom speed slows it.
    options.InvertMouseZoom = -1;
    camera.MouseWheel(120, options);
    EXPECT_NEAR(camera.ZoomFactor(), std::pow(1.3f, 0.6f), 1e-5f);
    options.MouseZoomSpeed = 2;  // slower: half the exponent
    camera.MouseWheel(-120, options);
    EXPECT_NEAR(camera.ZoomFactor(), 1.0f / std::pow(1.3f, 0.3f), 1e-5f);
}

TEST_F(CameraTest, ADragTurnsAndMovesTheViewAsFarAtFiveFramesASecondAsAtSixty) {
    // The same pointer path ridden at 5 and at 60 frames a second: a drag's pixels do the same
    // whatever the frame time (what one frame of 1/60 s made of them), keys move by time.
    const TSKICamera start = camera;
    const float bearing = std::atan2(camera.Direction().z, camera.Direction().x);
    TSKICameraInput turn;
    turn.Ctrl = true;
    turn.DragX = 30;
    turn.DragY = -12;  // up: the camera rises
    TSKICameraInput pan;
    pan.LeftButton = true;
    pan.DragX = 40;
    pan.DragY = 25;
    TSKICameraInput key;
    key.Forward = true;
    struct TAfter {
        float bearing, pitch;
        glm::vec3 panned, keyed;
    };
    std::vector<TAfter> after;
    for (const float fps : {5.0f, 60.0f}) {
        camera = start;
        camera.Update(*f, turn, 1.0f / fps);
        TAfter a;
        a.bearing = std::atan2(camera.Direction().z, camera.Direction().x);
        a.pitch = camera.PitchDegrees();
        const glm::vec3 before = camera.Target();
        camera.Update(*f, pan, 1.0f / fps);
        a.panned = camera.Target() - before;
        const glm::vec3 moved = camera.Target();
        for (int k = 0; k < int(fps); ++k) camera.Update(*f, key, 1.0f / fps);  // one second
        a.keyed = camera.Target() - moved;
        after.push_back(a);
    }
    // At 60 frames a second a pixel turns by EngineMouseRotSpeed / 60 degrees.
    const float perPixel = f->Options.MouseRotSpeed / 60.0f;
    const auto degreesBetween = [](float a, float b) {
        return glm::degrees(std::remainder(a - b, 6.2831853f));
    };
    EXPECT_NEAR(degreesBetween(after[0].bearing, bearing), 30 * perPixel, 0.01f);
    EXPECT_NEAR(degreesBetween(after[0].bearing, after[1].bearing), 0.0f, 0.01f);
    EXPECT_NEAR(after[0].pitch - start.PitchDegrees(), 12 * perPixel, 0.01f);
    EXPECT_NEAR(after[0].pitch, after[1].pitch, 0.01f);
    EXPECT_GT(glm::length(after[0].panned), 1.0f);
    EXPECT_NEAR(glm::length(after[0].panned - after[1].panned), 0.0f, 0.01f);
    EXPECT_GT(glm::length(after[0].keyed), 10.0f);
    EXPECT_NEAR(glm::length(after[0].keyed - after[1].keyed), 0.0f,
                0.02f * glm::length(after[0].keyed));
}

TEST_F(CameraTest, TravelGlidesAtItsSpeedAndHandsBackTheToolOnceOnArrival) {
    const glm::vec3 start = camera.Target();
    const glm::vec3 goal = start + glm::vec3(-600, 0, 0);
    camera.TravelTo(goal, false, TSKITool::Slope);
    (void)camera.TakeArrivedTool();  // what the viewpoint left
    Run({}, 10);
    EXPECT_NEAR(start.x - camera.Target().x, 10 * 300 * kDt, 0.01f);
    EXPECT_TRUE(camera.Travelling());
    EXPECT_FALSE(camera.TakeArrivedTool().has_value());
    Run({}, 60);
    EXPECT_FALSE(camera.Travelling());
    EXPECT_FLOAT_EQ(camera.Target().x, goal.x);
    EXPECT_EQ(camera.TakeArrivedTool(), TSKITool::Slope);
    EXPECT_FALSE(camera.TakeArrivedTool().has_value());

    // Toward the player's own skier the glide is slower; a key ends it without a tool.
    camera.TravelTo(start, false, TSKITool::FreeRide);
    Run({}, 10);
    EXPECT_NEAR(camera.Target().x - goal.x, 10 * 100 * kDt, 0.01f);
    TSKICameraInput key;
    key.Right = true;
    Run(key, 1);
    EXPECT_FALSE(camera.Travelling());
    Run({}, 100);
    EXPECT_FALSE(camera.TakeArrivedTool().has_value());

    // A jump lands on the next frame.
    camera.TravelTo(goal, true, TSKITool::Trees);
    Run({}, 1);
    EXPECT_FLOAT_EQ(camera.Target().z, goal.z);
    EXPECT_EQ(camera.TakeArrivedTool(), TSKITool::Trees);
}

TEST_F(CameraTest, ScreenEdgesScrollOnlyInFullScreen) {
    TSKICameraInput pointer;
    pointer.MouseX = camera.EdgeMargin() - 1;  // at the left edge
    pointer.MouseY = 400;
    f->Options.FullScreen = false;
    const glm::vec3 before = camera.Target();
    Run(pointer, 10);
    EXPECT_EQ(camera.Target().x, before.x);
    EXPECT_EQ(camera.Target().z, before.z);
    f->Options.FullScreen = true;
    Run(pointer, 10);
    EXPECT_GT(glm::length(camera.Target() - before), 1.0f);
    pointer.MouseX = 512;  // in the middle: nothing
    const glm::vec3 middle = camera.Target();
    Run(pointer, 10);
    EXPECT_EQ(camera.Target().x, middle.x);
    EXPECT_EQ(camera.Target().z, middle.z);
    camera.Resize(90, 60);
    EXPECT_EQ(camera.EdgeMargin(), 5.0f);  // width / 45, at least 5
}

TEST_F(CameraTest, TheCameraStaysTenAboveTheGroundWhileOrbitingOverTheHill) {
    // Look at the hill's foot from low down, then swing around and down over it.
    TSKIViewpoint v = camera.Viewpoint();
    v.FocusX = -256 * 4 + 260;
    v.FocusZ = 256 * 4;
    v.Height = 0;
    camera.SetViewpoint(*f, v);
    TSKICameraInput orbit;
    orbit.Ctrl = true;
    orbit.DragX = 30;
    orbit.DragY = 20;
    for (int k = 0; k < 300; ++k) {
        camera.Update(*f, orbit, kDt);
        ASSERT_GE(camera.Position().y, GroundUnderCamera() + 10.0f) << "frame " << k;
    }
}

TEST_F(CameraTest, TheMouseRayUnderTheCentreRunsFromTheCameraToTheTarget) {
    glm::vec3 origin, direction;
    camera.MouseRay(512, 384, origin, direction);
    EXPECT_NEAR(glm::dot(direction, camera.Direction()), 1.0f, 1e-4f);
    const glm::vec3 toTarget = camera.Target() - origin;
    EXPECT_NEAR(glm::length(glm::cross(toTarget, direction)), 0.0f, 0.05f);
    // A pixel to the right leans right of the centre ray.
    glm::vec3 o2, right;
    camera.MouseRay(1000, 384, o2, right);
    const glm::vec3 side = glm::normalize(glm::cross(camera.Direction(), glm::vec3(0, 1, 0)));
    EXPECT_GT(glm::dot(right, side), 0.1f);
}

TEST_F(CameraTest, EdgeMarkersNearTheEdgeButNeverOnAddonMaps) {
    EXPECT_FALSE(camera.EdgeMarkersVisible(*f, 200, 200));
    EXPECT_TRUE(camera.EdgeMarkersVisible(*f, 3, 200));
    EXPECT_TRUE(camera.EdgeMarkersVisible(*f, 200, 509));
    EXPECT_FALSE(camera.EdgeMarkersVisible(*f, 200, 508));
    TSKIViewpoint v = camera.Viewpoint();
    v.FocusX = -2040;  // beyond -2032
    camera.SetViewpoint(*f, v);
    EXPECT_TRUE(camera.EdgeMarkersVisible(*f, 200, 200));
    f->Park.ParkMissionIndex = kMissionAddon;
    EXPECT_FALSE(camera.EdgeMarkersVisible(*f, 3, 200));
}

// The record's height is not a saved game's (a load always sets 500): the camera takes the
// opening view's distance (opening_view.h) within the zoom limit.
TEST_F(CameraTest, AViewpointPlacesTheTargetAtOnceWithinTheZoomLimit) {
    TSKIViewpoint v;
    v.FocusX = -812.5f;
    v.FocusZ = 640.25f;
    v.Height = 500;
    v.MaxDistance = 1000;
    camera.SetViewpoint(*f, v);
    EXPECT_EQ(camera.TakeArrivedTool(), TSKITool::None);
    const TSKIViewpoint back = camera.Viewpoint();
    EXPECT_FLOAT_EQ(back.FocusX, -812.5f);
    EXPECT_FLOAT_EQ(back.FocusZ, 640.25f);
    EXPECT_FLOAT_EQ(back.MaxDistance, 1000.0f);
    EXPECT_NEAR(camera.Target().y, f->GroundHeight({-812.5f, 0, 640.25f, 1}), 1e-4f);
    // A closer zoom limit keeps the camera within it.
    v.MaxDistance = 100;
    camera.SetViewpoint(*f, v);
    EXPECT_LE(camera.Distance(), 100.0f);
}

}  // namespace
}  // namespace vallorn
