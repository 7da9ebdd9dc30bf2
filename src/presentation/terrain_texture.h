// The images the terrain is painted with: the level's two ground pictures and the park's
// overlay images, each kept as its own texture and sent again only when its revision changes
// (and then only the rows that differ), plus the slope being drawn. The terrain shader
// composes them per pixel, in their order and under the display flags.
#pragma once

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/image.h"
#include "base/overlays.h"
#include "construction/tool_state.h"
#include "engine/engine.h"

namespace vallorn {

// Which layers a draw of the terrain composes.
enum : int {
    kLayerSlopePaint = 1,
    kLayerOccupancy = 2,
    kLayerImprint = 4,
    kLayerSteepness = 8,
    kLayerPreview = 16,
    kLayerFlat = 32,  // no picture: one plain colour
};

// The layers of the surface ("base") and of the map's skirt ("baseSide"): the ground, the snow
// overlay and the mask always; the slope paint and the imprint on the surface; the occupancy
// with "Blocked terrain", the steepness with "Blue-Red-Black" and the slope being drawn while
// the slope tool is active.
int SurfaceLayers(uint8_t displayFlags, TSKITool tool);
int SideLayers(int detail, bool addonMap, uint8_t displayFlags, TSKITool tool);

// Paints the nodes of a slope being drawn into a per-cell image (black where nothing is).
void PaintSlopePreview(const TSKIWorld& world, const std::vector<TSKIVector>& path,
                       TSKIImage& image);

class TSKITerrainTextures {
public:
    TSKITerrainTextures() = default;
    ~TSKITerrainTextures();
    TSKITerrainTextures(const TSKITerrainTextures&) = delete;
    TSKITerrainTextures& operator=(const TSKITerrainTextures&) = delete;

    // Forgets every upload: the next Sync sends all images again.
    void Reset();
    // Sends what changed since the last call; returns the bytes uploaded.
    size_t Sync(const TSKIEngine& engine, const TSKIToolState& tools);
    // Binds the textures to units 0..8 in the order the terrain shader names them.
    void Bind() const;
    static const char* const* SamplerNames();  // 9 names, by unit
    static constexpr int kUnits = 9;

private:
    struct TLayer {
        GLuint Id = 0;
        int Width = 0, Height = 0;
        uint32_t Revision = 0;
        bool Valid = false;
        const uint8_t* Source = nullptr;  // the image last sent (ground pictures)
        std::vector<uint8_t> Sent;        // the pixels last sent, to find changed rows
        bool Mipmaps = true;
    };
    size_t Send(TLayer& layer, const TSKIImage& image);
    void White(TLayer& layer, uint8_t value);

    // 0 snow picture, 1 bare ground picture, then the overlays, then the slope preview.
    std::array<TLayer, kUnits> layers_{};
    TSKIImage preview_;
    uint64_t previewKey_ = 0;
};

}  // namespace vallorn
