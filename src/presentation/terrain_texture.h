// The composed terrain textures: "base" for the surface and "baseSide" for the map's skirt.
// The level's two ground pictures and the park's overlays are each kept as their own
// texture; an overlay is painted from the park (overlay_paint.h) and sent again only when its
// revision or the display layers it follows change (and then only the rows that differ); a
// composition pass then paints them, in their order and under the display flags, into "base" and
// "baseSide", again only over the rows that changed, and lights them by the terrain's relief
// (terrain_relief.h), sent once per level. The object imprint, at one pixel per world unit, is too
// fine for "base": the terrain shader prints it on top.
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
#include "presentation/gl.h"

namespace vallorn {

// Which layers a composition paints.
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
// the slope tool is active. At low detail the skirt wears "base"; on add-on maps plain grey.
int SurfaceLayers(uint8_t displayFlags, TSKITool tool);
int SideLayers(int detail, bool addonMap, uint8_t displayFlags, TSKITool tool);

// Paints the nodes of a slope being drawn into a per-cell image (black where nothing is).
void PaintSlopePreview(const TSKIWorld& world, const std::vector<TSKIVector>& path,
                       TSKIImage& image);

// Rows [First, Last] of a picture that changed; empty when First > Last.
struct TSKIRowBand {
    int First = 1, Last = 0;
    bool Empty() const { return First > Last; }
    void Add(int first, int last);
};
// The rows of a `to`-row target whose bilinear samples read rows `band` of a `from`-row
// image, within the target.
TSKIRowBand ScaleBand(const TSKIRowBand& band, int from, int to);

class TSKITerrainTextures {
public:
    TSKITerrainTextures() = default;
    ~TSKITerrainTextures();
    TSKITerrainTextures(const TSKITerrainTextures&) = delete;
    TSKITerrainTextures& operator=(const TSKITerrainTextures&) = delete;

    bool Init(std::string* error);
    // Forgets every upload: the next Update sends and composes everything again.
    void Reset();
    // The level's relief shading (ReliefImage), sent and composed in by the next Update.
    void SetRelief(TSKIImage relief);
    // Sends what changed and composes "base" and "baseSide" over the changed rows. Changes
    // that come only from the park's own updates (grooming) are composed at most every
    // quarter second of `seconds`; the player's changes at once. `shown` are the display
    // layers shown (kDisplay* bits). Returns the bytes sent.
    size_t Update(const TSKIEngine& engine, uint8_t shown, const TSKIToolState& tools,
                  double seconds);
    GLuint Base() const { return base_.Id; }
    GLuint Side() const { return side_.Id; }
    GLuint Imprint() const;
    // By chunk (terrain_chunks.h): 1 where the imprint has a mark (anything not white).
    const std::vector<uint8_t>& ImprintChunks() const { return imprintChunks_; }
    int RowsComposed() const { return rowsComposed_; }  // by the last Update

    static constexpr int kSources = 10;

private:
    struct TLayer {
        GLuint Id = 0;
        int Width = 0, Height = 0;
        uint32_t Revision = 0;
        uint32_t Look = 0;  // OverlayLook of the picture sent
        bool Valid = false;
        const uint8_t* Source = nullptr;  // the picture last sent (ground pictures)
        std::vector<uint8_t> Sent;        // the pixels last sent, to find changed rows
        bool Mipmaps = false;
    };
    struct TTarget {
        GLuint Id = 0, Fbo = 0;
        int Size = 0;
        int Layers = -1;
        TSKIRowBand Dirty;
    };
    TSKIRowBand Send(TLayer& layer, const TSKIImage& image);
    void Neutral(TLayer& layer, uint8_t value);
    void Compose(TTarget& target, int layers);
    void Size(TTarget& target, int size);

    // 0 snow picture, 1 bare ground picture, then the overlays, the slope preview, the relief.
    std::array<TLayer, kSources> layers_{};
    TTarget base_, side_;
    gl::TProgram program_;
    GLuint emptyVao_ = 0;
    std::vector<uint8_t> imprintChunks_;
    TSKIImage preview_, relief_;
    // The overlays' pictures as last painted, by overlay up to the tool preview.
    std::array<TSKIImage, size_t(TSKIOverlay::ToolPreview)> pictures_;
    uint64_t previewKey_ = 0;
    double lastCompose_ = -1e9;
    uint32_t viewRevision_ = 0;
    int rowsComposed_ = 0;
};

}  // namespace vallorn
