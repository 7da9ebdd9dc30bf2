// Everything drawn on the terrain: sky, slopes, lifts (stations, poles, both cable lines,
// wheels, gates, moving carriers with riders), buildings, vehicles, houses and parked cars,
// trees, skiers (figures near the camera, dots far away), falling snow, the cursor ring and
// the tool previews. Repeated objects are instanced.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "construction/tool_state.h"
#include "engine/engine.h"
#include "presentation/frame.h"
#include "presentation/view_state.h"

namespace vallorn {

struct TSKISceneStats {
    int DrawCalls = 0;
    int Instances = 0;
};

class TSKISceneRenderer {
public:
    TSKISceneRenderer();
    ~TSKISceneRenderer();
    TSKISceneRenderer(const TSKISceneRenderer&) = delete;
    TSKISceneRenderer& operator=(const TSKISceneRenderer&) = delete;

    // Compiles the shaders and builds the shapes; false with a reason.
    bool Init(const std::filesystem::path& dataFolder, std::string* error);
    // A level or game was loaded into the engine (houses, trees and the sky change).
    void LevelChanged(const TSKIEngine& engine);
    // Finds what the view shows and draws the near tree models, before the terrain: the
    // ground behind their leaves is then never shaded. `seconds` is real time, for
    // animations that do not follow the park's clock.
    void DrawBeforeGround(const TSKIEngine& engine, const TSKIViewState& view,
                          const TSKIToolState& tools, const TSKIFrameView& frame, double seconds);
    // Draws the rest after the terrain, in the depth buffer of both.
    void Draw(const TSKIEngine& engine, const TSKIViewState& view, const TSKIToolState& tools,
              const TSKIFrameView& frame, double seconds);
    const TSKISceneStats& Stats() const { return stats_; }
    std::vector<std::string> MaterialInfo() const;  // see TSKIRenderer::MaterialInfo

private:
    struct TImpl;
    std::unique_ptr<TImpl> impl_;
    TSKISceneStats stats_;
};

}  // namespace vallorn
