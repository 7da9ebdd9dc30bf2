#include "presentation/renderer.h"

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include "presentation/editor_view.h"
#include "presentation/gl.h"
#include "presentation/scene_renderer.h"
#include "presentation/terrain_renderer.h"
#include "presentation/view_flags.h"
#include "presentation/view_markers.h"

namespace vallorn {

struct TSKIRenderer::TImpl {
    TSKITerrainRenderer Terrain;
    TSKISceneRenderer Scene;
    TSKIViewFlags Flags;
    TSKIMarkerProgram MarkerProgram;
    TSKIEdgeMarkers Markers;
    TSKIFocusMarker Focus;
    bool Ready = false;
};

TSKIRenderer::TSKIRenderer() : impl_(std::make_unique<TImpl>()) {}
TSKIRenderer::~TSKIRenderer() = default;

bool TSKIRenderer::Init(const std::filesystem::path& dataFolder, std::string* error) {
    if (!impl_->Terrain.Init(error)) return false;
    if (!impl_->Scene.Init(dataFolder, error)) return false;
    if (!impl_->MarkerProgram.Init(error)) return false;
    impl_->Markers.Init();
    impl_->Focus.Init();
    impl_->Ready = true;
    return true;
}

void TSKIRenderer::LevelChanged(const TSKIEngine& engine) {
    if (!impl_->Ready) return;
    impl_->Terrain.LevelChanged(engine);
    impl_->Scene.LevelChanged(engine);
    impl_->Flags.Reset();
}

void TSKIRenderer::Draw(const TSKIEngine& engine, const TSKIViewState& view,
                        const TSKIToolState& tools, const TSKICamera& camera, int width, int height,
                        double seconds) {
    stats_ = {};
    if (!impl_->Ready || width <= 0 || height <= 0) return;
    TSKIFrameView frame = camera.FrameView();
    if (frame.Width != width || frame.Height != height) {
        // The viewer's size wins over the camera's idea of it.
        frame.Width = width;
        frame.Height = height;
        frame.Projection = glm::perspective(glm::radians(45.0f), float(width) / float(height),
                                            frame.Near, frame.Far);
        frame.Finish();
    }
    frame.Covered = covered_;

    glViewport(0, 0, width, height);
    glClearColor(kFogRed, kFogGreen, kFogBlue, 1.0f);
    glDepthMask(GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (!covered_.empty()) {
        // Under the windows the depth is the nearest there is: nothing of the view that
        // tests its depth is shaded there.
        glEnable(GL_SCISSOR_TEST);
        glClearDepth(0.0);
        for (const TSKICoverRect& r : covered_) {
            if (r.Width <= 0 || r.Height <= 0) continue;
            glScissor(r.X, height - r.Y - r.Height, r.Width, r.Height);
            glClear(GL_DEPTH_BUFFER_BIT);
        }
        glClearDepth(1.0);
        glDisable(GL_SCISSOR_TEST);
    }

    TSKITerrainStats terrain;
    impl_->Scene.DrawBeforeGround(engine, view, tools, frame, seconds);
    impl_->Terrain.Draw(engine, view.DisplayFlags, tools, frame, seconds, terrain);
    impl_->Scene.Draw(engine, view, tools, frame, seconds);
    if (engine.HasGrid() && camera.EdgeMarkersVisible(engine, tools.CursorI, tools.CursorJ))
        impl_->Markers.Draw(impl_->MarkerProgram, engine, camera.Target(), frame);
    if (engine.HasGrid() && engine.EditorOpen)
        impl_->Focus.Draw(impl_->MarkerProgram, engine, camera.Target(), frame);

    // What the core takes from the view: the cells near the camera and in view, and where the
    // falling snow is seen from.
    impl_->Flags.UpdateNearCamera(engine, engine.ViewDistance, frame.Eye, frame.Direction);
    impl_->Flags.UpdateInView(engine, impl_->Terrain.Bounds(), frame);
    snowfall_.Position = TSKIVector(frame.Eye, 1.0f);
    snowfall_.Direction = TSKIVector(frame.Direction, 0.0f);

    stats_.TerrainChunksDrawn = terrain.ChunksDrawn;
    stats_.TerrainTriangles = terrain.Triangles;
    stats_.DrawCalls = terrain.DrawCalls + impl_->Scene.Stats().DrawCalls;
    stats_.Instances = impl_->Scene.Stats().Instances;
}

const std::vector<uint8_t>& TSKIRenderer::CellFlags() const {
    return impl_->Flags.CellFlags();
}

uint64_t TSKIRenderer::CellFlagChanges() const {
    return impl_->Flags.Changes();
}

std::vector<std::string> TSKIRenderer::MaterialInfo() const {
    return impl_->Scene.MaterialInfo();
}

}  // namespace vallorn
