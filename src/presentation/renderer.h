// The 3D view of a park: the terrain (in chunks with distance-based detail and frustum
// culling, textured with the composed overlays), the skirt, and the scene on it. It reads the
// park only; what the core takes from the view (the per-cell in-view and near-camera flags,
// where the falling snow is seen from) the game window hands over after each frame.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "construction/tool_state.h"
#include "engine/engine.h"
#include "presentation/camera.h"
#include "presentation/frame.h"
#include "presentation/view_state.h"

namespace vallorn {

struct TSKIRenderStats {
    int TerrainChunksDrawn = 0;
    int TerrainTriangles = 0;
    int DrawCalls = 0;
    int Instances = 0;
};

class TSKIRenderer {
public:
    TSKIRenderer();
    ~TSKIRenderer();
    TSKIRenderer(const TSKIRenderer&) = delete;
    TSKIRenderer& operator=(const TSKIRenderer&) = delete;

    // Needs a current OpenGL 3.3 context. False with a reason.
    bool Init(const std::filesystem::path& dataFolder, std::string* error);
    // A level or saved game was loaded (or closed): rebuild the terrain and scene buffers.
    void LevelChanged(const TSKIEngine& engine);
    // Draws one frame into the current framebuffer's viewport (width x height), then works
    // out the view flags of the cells and the falling-snow camera. `view` animates the
    // figures and the trees.
    void Draw(const TSKIEngine& engine, const TSKIViewState& view, const TSKIToolState& tools,
              const TSKICamera& camera, int width, int height, double seconds);
    // The rectangles the next frames leave undrawn: the depth there is set nearer than
    // anything, so that the rasteriser turns away every fragment under them.
    void SetCovered(std::vector<TSKICoverRect> rects) { covered_ = std::move(rects); }
    const TSKIRenderStats& Stats() const { return stats_; }
    // The scene's materials: a count line, then one line of texture information each.
    std::vector<std::string> MaterialInfo() const;
    // The cells' view flags as the last frame found them (TSKIViewFlags::CellFlags), the
    // count of their changes, and where that frame's camera stood and looked.
    const std::vector<uint8_t>& CellFlags() const;
    uint64_t CellFlagChanges() const;
    TSKISnowfallCamera SnowfallCamera() const { return snowfall_; }  // for the falling snow

private:
    struct TImpl;
    std::unique_ptr<TImpl> impl_;
    TSKIRenderStats stats_;
    std::vector<TSKICoverRect> covered_;
    TSKISnowfallCamera snowfall_;
};

}  // namespace vallorn
