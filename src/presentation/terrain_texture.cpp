#include "presentation/terrain_texture.h"

#include <algorithm>
#include <cstring>

namespace vallorn {
namespace {

constexpr int kUnitSnowPicture = 0;
constexpr int kUnitBarePicture = 1;
constexpr int kUnitFirstOverlay = 2;  // SnowOverlay .. Steepness follow in their order
constexpr int kUnitPreview = 8;
constexpr TSKIColor kPreviewColour{255, 210, 0};

// A neutral texel for a layer without an image: no snow overlay, snow everywhere under the
// mask, white paper for the paint and the imprint, nothing occupied, nothing previewed.
uint8_t NeutralValue(int unit) {
    switch (unit) {
        case kUnitSnowPicture:
        case kUnitBarePicture:
            return 235;
        case kUnitFirstOverlay + int(TSKIOverlay::SlopePaint):
        case kUnitFirstOverlay + int(TSKIOverlay::ObjectImprint):
            return 255;
        default:
            return 0;
    }
}

uint64_t Mix(uint64_t h, uint64_t v) {
    h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
    return h;
}

}  // namespace

int SurfaceLayers(uint8_t displayFlags, TSKITool tool) {
    int layers = kLayerSlopePaint | kLayerImprint;
    if (displayFlags & kDisplayBlocked) layers |= kLayerOccupancy;
    if (displayFlags & kDisplayBlueRedBlack) layers |= kLayerSteepness;
    if (tool == TSKITool::Slope) layers |= kLayerPreview;
    return layers;
}

int SideLayers(int detail, bool addonMap, uint8_t displayFlags, TSKITool tool) {
    if (addonMap) return kLayerFlat;
    // At low detail the skirt wears the surface's texture.
    return detail == 0 ? SurfaceLayers(displayFlags, tool) : 0;
}

void PaintSlopePreview(const TSKIWorld& world, const std::vector<TSKIVector>& path,
                       TSKIImage& image) {
    if (image.Width() != kGridSize || image.Height() != kGridSize)
        image.Resize(kGridSize, kGridSize);
    image.Fill({0, 0, 0});
    if (path.empty()) return;
    int i0, j0, i1, j1;
    world.WorldToCell(path[0], i0, j0);
    for (size_t k = 0; k < path.size(); ++k) {
        const int pen = std::max(1, int(path[k].w));
        if (k + 1 < path.size()) {
            world.WorldToCell(path[k + 1], i1, j1);
        } else if (path.size() == 1) {
            i1 = i0, j1 = j0;
        } else {
            break;
        }
        image.DrawLine(i0, j0, i1, j1, kPreviewColour, pen);
        i0 = i1;
        j0 = j1;
    }
}

TSKITerrainTextures::~TSKITerrainTextures() {
    for (TLayer& l : layers_)
        if (l.Id) glDeleteTextures(1, &l.Id);
}

void TSKITerrainTextures::Reset() {
    for (TLayer& l : layers_) {
        l.Valid = false;
        l.Source = nullptr;
        l.Sent.clear();
    }
    previewKey_ = 0;
}

const char* const* TSKITerrainTextures::SamplerNames() {
    static const char* const names[kUnits] = {"uSnowPicture", "uBarePicture", "uSnowOverlay",
                                              "uSnowMask",    "uSlopePaint",  "uOccupancy",
                                              "uImprint",     "uSteepness",   "uPreview"};
    return names;
}

void TSKITerrainTextures::White(TLayer& layer, uint8_t value) {
    if (!layer.Id) glGenTextures(1, &layer.Id);
    const uint8_t texel[3] = {value, value, value};
    glBindTexture(GL_TEXTURE_2D, layer.Id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, texel);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    layer.Width = layer.Height = 1;
    layer.Sent.clear();
}

// Sends an image, or only the band of rows that differ from what was sent last.
size_t TSKITerrainTextures::Send(TLayer& layer, const TSKIImage& image) {
    const int w = image.Width(), h = image.Height();
    const uint8_t* pixels = image.Pixels().data();
    const size_t row = size_t(w) * 3;
    if (!layer.Id) glGenTextures(1, &layer.Id);
    glBindTexture(GL_TEXTURE_2D, layer.Id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    size_t sent = 0;
    if (layer.Width != w || layer.Height != h || layer.Sent.size() != row * size_t(h)) {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, w, h, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                        layer.Mipmaps ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
        layer.Width = w;
        layer.Height = h;
        layer.Sent.assign(pixels, pixels + row * size_t(h));
        sent = row * size_t(h);
    } else {
        int first = -1, last = -1;
        for (int y = 0; y < h; ++y) {
            if (std::memcmp(&layer.Sent[row * size_t(y)], pixels + row * size_t(y), row) != 0) {
                if (first < 0) first = y;
                last = y;
            }
        }
        if (first < 0) return 0;
        const size_t offset = row * size_t(first), bytes = row * size_t(last - first + 1);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, first, w, last - first + 1, GL_RGB, GL_UNSIGNED_BYTE,
                        pixels + offset);
        std::memcpy(&layer.Sent[offset], pixels + offset, bytes);
        sent = bytes;
    }
    if (layer.Mipmaps) glGenerateMipmap(GL_TEXTURE_2D);
    return sent;
}

size_t TSKITerrainTextures::Sync(const TSKIEngine& engine, const TSKIToolState& tools) {
    size_t bytes = 0;
    // The ground pictures change only with the level.
    const TSKIImage* pictures[2] = {&engine.SnowTexture, &engine.GroundTexture};
    for (int unit : {kUnitSnowPicture, kUnitBarePicture}) {
        TLayer& l = layers_[size_t(unit)];
        const TSKIImage& img = *pictures[unit];
        const uint8_t* source = img.Empty() ? nullptr : img.Pixels().data();
        if (l.Valid && l.Source == source && (!source || l.Width == img.Width())) continue;
        if (source) {
            l.Sent.clear();  // sent whole: nothing kept to compare with
            bytes += Send(l, img);
            l.Sent.clear();
            l.Sent.shrink_to_fit();
        } else {
            White(l, NeutralValue(unit));
        }
        l.Source = source;
        l.Valid = true;
    }
    // The overlays, each when its revision moves.
    for (int o = 0; o < int(TSKIOverlay::ToolPreview); ++o) {
        TLayer& l = layers_[size_t(kUnitFirstOverlay + o)];
        const uint32_t revision = engine.Overlays.Revisions[size_t(o)];
        if (l.Valid && l.Revision == revision) continue;
        const TSKIImage& img = engine.Overlays.Images[size_t(o)];
        if (img.Empty()) {
            White(l, NeutralValue(kUnitFirstOverlay + o));
        } else {
            bytes += Send(l, img);
        }
        l.Revision = revision;
        l.Valid = true;
    }
    // The slope being drawn, painted here from the tool's nodes.
    TLayer& p = layers_[kUnitPreview];
    uint64_t key = 1;
    if (tools.Tool == TSKITool::Slope && engine.HasGrid()) {
        for (const TSKIVector& v : tools.SlopePath) {
            uint32_t bits[4];
            std::memcpy(bits, &v, sizeof bits);
            for (uint32_t b : bits) key = Mix(key, b);
        }
        key = Mix(key, tools.SlopePath.size() + 2);
    }
    if (!p.Valid || key != previewKey_) {
        if (key == 1) {
            White(p, 0);
        } else {
            PaintSlopePreview(engine, tools.SlopePath, preview_);
            p.Mipmaps = false;
            bytes += Send(p, preview_);
        }
        previewKey_ = key;
        p.Valid = true;
    }
    return bytes;
}

void TSKITerrainTextures::Bind() const {
    for (int unit = 0; unit < kUnits; ++unit) {
        glActiveTexture(GLenum(GL_TEXTURE0 + unit));
        glBindTexture(GL_TEXTURE_2D, layers_[size_t(unit)].Id);
    }
    glActiveTexture(GL_TEXTURE0);
}

}  // namespace vallorn
