// What a new player sees on opening the starter park: the resort's buildings in frame, and the
// snow shaded by the slopes it lies on. The test loads the same park itself and projects its
// ground and buildings through the camera the game reports, then reads the game's frame there.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include "engine/engine.h"
#include "gui/gui_harness.h"
#include "gui/gui_play.h"
#include "persistence/saved_game.h"
#include "presentation/terrain_relief.h"
#include "presentation/terrain_renderer.h"

namespace vallorn::gui {
namespace {

// The park as the game opened it, and the frame it drew.
struct TOpenedPark {
    TSKIEngine engine{{VALLORN_BUILD_ROOT, 1, nullptr}};
    TSKIImage shot;
    glm::vec3 eye{0.0f};
    glm::mat4 viewProjection{1.0f};

    // The pixel a world point shows at, when it lies in front of the eye above the menu bar.
    bool Pixel(const glm::vec3& p, int& x, int& y) const {
        const glm::vec4 c = viewProjection * glm::vec4(p, 1.0f);
        if (c.w <= 1.0f) return false;
        x = int(std::floor((c.x / c.w * 0.5f + 0.5f) * float(shot.Width())));
        y = int(std::floor((0.5f - c.y / c.w * 0.5f) * float(shot.Height())));
        return x >= 0 && x < shot.Width() && y >= 0 && y < shot.Height() * 7 / 10;
    }
    // Nothing of the ground stands between the eye and the point.
    bool Seen(const glm::vec3& p) const {
        for (int k = 1; k < 48; ++k) {
            const glm::vec3 q = glm::mix(eye, p, float(k) / 48.0f);
            if (q.y < engine.GroundHeight(TSKIVector(q.x, 0, q.z, 1)) - 0.5f) return false;
        }
        return true;
    }
};

// Opens the starter park; `lookAcross` then draws the camera back (the wheel turned back) and
// tilts it down (the middle button) to look over the mountain around the resort.
::testing::AssertionResult OpenStarterPark(TGame& game, TOpenedPark& park,
                                           bool lookAcross = false) {
    if (!LoadGameFile(park.engine, park.engine.Folders.Worlds / "Starter.ski"))
        return ::testing::AssertionFailure() << "the test's own load: " << park.engine.LoadError;
    if (auto started = PlayStarterPark(game); !started) return started;
    game.Frames(5);
    if (lookAcross) {
        const TProbeState opened = game.State();
        const float x = 0.5f * float(opened.winW), y = 0.5f * float(opened.winH);
        game.Move(x, y);
        for (int k = 0; k < 8; ++k) {
            game.Click(5);
            game.Frames(1);
        }
        // Steeper down, so that slopes facing away from the eye show too.
        for (int k = 0; k < 30 && game.State().Number("camera_pitch") < 65.0; ++k)
            game.Drag(2, x, y, x, y + 0.02f * float(opened.winH), 2);
        game.Frames(20);
    }
    const TProbeState s = game.State();
    if (!game.Shot(park.shot)) return ::testing::AssertionFailure() << "no shot\n" << game.Log();
    const float x = float(s.Number("camera_x")), z = float(s.Number("camera_z"));
    const glm::vec3 target(x, park.engine.GroundHeight(TSKIVector(x, 0, z, 1)), z);
    park.eye = glm::vec3(float(s.Number("camera_eye_x")), float(s.Number("camera_eye_y")),
                         float(s.Number("camera_eye_z")));
    const float aspect = float(park.shot.Width()) / float(park.shot.Height());
    park.viewProjection = glm::perspective(glm::radians(45.0f), aspect, 1.0f, 4000.0f) *
                          glm::lookAt(park.eye, target, glm::vec3(0, 1, 0));
    return ::testing::AssertionSuccess();
}

TEST(View, TheSnowIsShadedByTheSlopeItLiesOn) {
    TGame game;
    TOpenedPark park;
    ASSERT_TRUE(OpenStarterPark(game, park, true));
    KeepGuiShot(game, "relief.png");
    const TSKITerrainHeights heights = SampleTerrainHeights(park.engine);
    // The brightness of snow (light, grey to blue) where the eye sees it, against the shade the
    // relief gives its ground: a least-squares line through the points.
    double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (int i = 2; i < kGridSize - 2; ++i) {
        for (int j = 2; j < kGridSize - 2; ++j) {
            const TSKIVector w = park.engine.CellToWorld(i, j, true);
            const glm::vec3 p(w.x, w.y, w.z);
            int x = 0, y = 0;
            if (!park.Pixel(p, x, y) || !park.Seen(p)) continue;
            const TSKIColor c = park.shot.Get(x, y);
            const int hi = std::max({c.r, c.g, c.b}), lo = std::min({c.r, c.g, c.b});
            const double v = (c.r + c.g + c.b) / 3.0;
            if (v < 70 || hi - lo > 60 || c.b + 6 < c.g || c.b + 6 < c.r) continue;
            const double shade = ReliefShade(TerrainNormal(heights, i, j), kReliefLight);
            n += 1, sx += shade, sy += v, sxx += shade * shade, sxy += shade * v;
        }
    }
    ASSERT_GT(n, 500) << "too little snow in view";
    const double spread = std::sqrt(std::max(0.0, sxx / n - (sx / n) * (sx / n)));
    ASSERT_GT(spread, 0.03) << "the snow in view lies on ground all of one slope";
    const double gain = (sxy / n - sx / n * sy / n) / (spread * spread);
    // The relief's shade carries through to the frame: full light against none is most of
    // the snow's brightness.
    EXPECT_GT(gain, 160.0) << n << " points, shade spread " << spread;
}

TEST(View, TheStarterParkOpensWithItsBuildingsInFrame) {
    TGame game;
    TOpenedPark park;
    ASSERT_TRUE(OpenStarterPark(game, park));
    KeepGuiShot(game, "opening.png");
    ASSERT_FALSE(park.engine.Buildings.empty());
    int left = park.shot.Width(), right = 0, top = park.shot.Height(), bottom = 0;
    for (const auto& b : park.engine.Buildings) {
        const glm::vec3 p(b->Position.x, park.engine.GroundHeight(b->Position), b->Position.z);
        int x = 0, y = 0;
        EXPECT_TRUE(park.Pixel(p, x, y)) << "a building out of frame at " << p.x << ", " << p.z;
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
    }
    // Not a speck: the buildings spread over a good part of the frame ...
    EXPECT_GT(std::max(double(right - left) / park.shot.Width(),
                       double(bottom - top) / park.shot.Height()),
              0.3);
    // ... and show in their colours (roofs, cars, the snowcat) in the frame above the menu bar.
    long vivid = 0, n = 0;
    for (int y = 0; y < park.shot.Height() * 7 / 10; y += 2) {
        for (int x = 0; x < park.shot.Width(); x += 2, ++n) {
            const TSKIColor c = park.shot.Get(x, y);
            vivid += std::max({c.r, c.g, c.b}) - std::min({c.r, c.g, c.b}) > 110;
        }
    }
    EXPECT_GT(double(vivid) / double(n), 0.004);
}

}  // namespace
}  // namespace vallorn::gui
