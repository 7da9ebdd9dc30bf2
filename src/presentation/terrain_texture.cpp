#include "presentation/terrain_texture.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "presentation/overlay_paint.h"
#include "presentation/terrain_chunks.h"
#include "presentation/terrain_compose_shader.h"

namespace vallorn {
namespace {

constexpr int kUnitSnowPicture = 0;
constexpr int kUnitBarePicture = 1;
constexpr int kUnitFirstOverlay = 2;  // SnowOverlay .. Steepness follow in their order
constexpr int kUnitImprint = kUnitFirstOverlay + int(TSKIOverlay::ObjectImprint);
constexpr int kUnitPreview = 8;
constexpr int kUnitRelief = 9;
constexpr int kSideSize = 512;
constexpr double kComposeInterval = 0.25;  // seconds between compositions of the park's own
constexpr TSKIColor kPreviewColour{255, 210, 0};

const char* const kSamplerNames[TSKITerrainTextures::kSources] = {
    "uSnowPicture", "uBarePicture", "uSnowOverlay", "uSnowMask", "uSlopePaint",
    "uOccupancy",   "uImprint",     "uSteepness",   "uPreview",  "uRelief"};

// A neutral texel for a layer without an image: no snow overlay, snow everywhere under the
// mask, white paper for the paint and the imprint, nothing occupied, nothing previewed, ground
// in full light.
uint8_t NeutralValue(int unit) {
    switch (unit) {
        case kUnitSnowPicture:
        case kUnitBarePicture:
            return 235;
        case kUnitFirstOverlay + int(TSKIOverlay::SlopePaint):
        case kUnitImprint:
        case kUnitRelief:
            return 255;
        default:
            return 0;
    }
}

uint64_t Mix(uint64_t h, uint64_t v) {
    h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
    return h;
}

void SetFilters(bool mipmaps) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                    mipmaps ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
}

// Which chunks the imprint marks: one pixel of the imprint per world unit, so chunk (ci, cj)
// covers the pixels x 128ci .. 128ci + 128 and y 128cj - 1 .. 128cj + 127 (and one more
// each way for the filter).
void MarkImprintChunks(const TSKIImage& imprint, std::vector<uint8_t>& marks) {
    marks.assign(size_t(kChunkCount), 0);
    const int w = imprint.Width(), h = imprint.Height();
    if (w == 0 || h == 0) return;
    const int span = kChunkCells * int(kCellSize);
    const uint8_t* px = imprint.Pixels().data();
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = px + size_t(y) * size_t(w) * 3;
        for (int x = 0; x < w; ++x) {
            if ((row[3 * x] & row[3 * x + 1] & row[3 * x + 2]) == 255) continue;
            for (int cx = (x - 1) / span; cx <= (x + 1) / span; ++cx)
                for (int cy = y / span; cy <= (y + 2) / span; ++cy)
                    if (cx >= 0 && cy >= 0 && cx < kChunksPerSide && cy < kChunksPerSide)
                        marks[size_t(cx * kChunksPerSide + cy)] = 1;
        }
    }
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

void TSKIRowBand::Add(int first, int last) {
    if (first > last) return;
    if (Empty()) {
        First = first;
        Last = last;
    } else {
        First = std::min(First, first);
        Last = std::max(Last, last);
    }
}

TSKIRowBand ScaleBand(const TSKIRowBand& band, int from, int to) {
    TSKIRowBand out;
    if (band.Empty() || from <= 0 || to <= 0) return out;
    // Target row r samples the image at y = (r + 0.5) * from / to - 0.5, reading rows
    // floor(y) and floor(y) + 1: the rows whose y lies within one row of the band.
    const double scale = double(to) / double(from);
    const double first = std::floor((band.First - 0.5) * scale - 0.5);
    const double last = std::ceil((band.Last + 1.5) * scale - 0.5);
    out.First = int(std::max(first, 0.0));
    out.Last = int(std::min(last, double(to - 1)));
    return out;
}

TSKITerrainTextures::~TSKITerrainTextures() {
    for (TLayer& l : layers_)
        if (l.Id) glDeleteTextures(1, &l.Id);
    for (TTarget* t : {&base_, &side_}) {
        if (t->Fbo) glDeleteFramebuffers(1, &t->Fbo);
        if (t->Id) glDeleteTextures(1, &t->Id);
    }
    if (emptyVao_) glDeleteVertexArrays(1, &emptyVao_);
}

bool TSKITerrainTextures::Init(std::string* error) {
    std::string log;
    if (!program_.Build(kTerrainComposeVertex, kTerrainComposeFragment, &log)) {
        if (error) *error = "the terrain composition shader does not build: " + log;
        return false;
    }
    program_.Use();
    for (int unit = 0; unit < kSources; ++unit)
        if (unit != kUnitImprint) program_.Set(kSamplerNames[unit], unit);
    glUseProgram(0);
    glGenVertexArrays(1, &emptyVao_);
    layers_[kUnitImprint].Mipmaps = true;
    layers_[kUnitFirstOverlay + int(TSKIOverlay::SnowMask)].Mipmaps = true;  // read at level 1
    return true;
}

void TSKITerrainTextures::Reset() {
    for (TLayer& l : layers_) {
        l.Valid = false;
        l.Source = nullptr;
        l.Sent.clear();
    }
    layers_[kUnitRelief].Valid = false;
    base_.Layers = side_.Layers = -1;
    previewKey_ = 0;
    lastCompose_ = -1e9;
}

void TSKITerrainTextures::SetRelief(TSKIImage relief) {
    relief_ = std::move(relief);
    layers_[kUnitRelief].Valid = false;
}

GLuint TSKITerrainTextures::Imprint() const {
    return layers_[kUnitImprint].Id;
}

void TSKITerrainTextures::Neutral(TLayer& layer, uint8_t value) {
    if (!layer.Id) glGenTextures(1, &layer.Id);
    const uint8_t texel[3] = {value, value, value};
    glBindTexture(GL_TEXTURE_2D, layer.Id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, texel);
    SetFilters(false);
    layer.Width = layer.Height = 1;
    layer.Sent.clear();
}

// Sends an image, or only the band of rows that differ from what was sent last; returns
// the rows sent.
TSKIRowBand TSKITerrainTextures::Send(TLayer& layer, const TSKIImage& image) {
    const int w = image.Width(), h = image.Height();
    const uint8_t* pixels = image.Pixels().data();
    const size_t row = size_t(w) * 3;
    if (!layer.Id) glGenTextures(1, &layer.Id);
    glBindTexture(GL_TEXTURE_2D, layer.Id);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    TSKIRowBand band;
    if (layer.Width != w || layer.Height != h || layer.Sent.size() != row * size_t(h)) {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, w, h, 0, GL_RGB, GL_UNSIGNED_BYTE, pixels);
        SetFilters(layer.Mipmaps);
        layer.Width = w;
        layer.Height = h;
        layer.Sent.assign(pixels, pixels + row * size_t(h));
        band.Add(0, h - 1);
    } else {
        for (int y = 0; y < h; ++y) {
            if (std::memcmp(&layer.Sent[row * size_t(y)], pixels + row * size_t(y), row) != 0)
                band.Add(y, y);
        }
        if (band.Empty()) return band;
        const size_t offset = row * size_t(band.First);
        const size_t bytes = row * size_t(band.Last - band.First + 1);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, band.First, w, band.Last - band.First + 1, GL_RGB,
                        GL_UNSIGNED_BYTE, pixels + offset);
        std::memcpy(&layer.Sent[offset], pixels + offset, bytes);
    }
    if (layer.Mipmaps) glGenerateMipmap(GL_TEXTURE_2D);
    return band;
}

void TSKITerrainTextures::Size(TTarget& target, int size) {
    if (target.Size == size && target.Id) return;
    if (!target.Id) glGenTextures(1, &target.Id);
    glBindTexture(GL_TEXTURE_2D, target.Id);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, size, size, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    SetFilters(false);
    if (!target.Fbo) glGenFramebuffers(1, &target.Fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, target.Fbo);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, target.Id, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    target.Size = size;
    target.Layers = -1;
}

void TSKITerrainTextures::Compose(TTarget& target, int layers) {
    if (target.Dirty.Empty()) return;
    const int first = target.Dirty.First, rows = target.Dirty.Last - target.Dirty.First + 1;
    glBindFramebuffer(GL_FRAMEBUFFER, target.Fbo);
    glViewport(0, 0, target.Size, target.Size);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, first, target.Size, rows);
    program_.Set("uLayers", layers);
    program_.Set("uSize", float(target.Size));
    glDrawArrays(GL_TRIANGLES, 0, 3);
    glDisable(GL_SCISSOR_TEST);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    target.Layers = layers;
    target.Dirty = {};
    rowsComposed_ += rows;
}

size_t TSKITerrainTextures::Update(const TSKIEngine& engine, uint8_t shown,
                                   const TSKIToolState& tools, double seconds) {
    rowsComposed_ = 0;
    if (!emptyVao_) return 0;
    size_t bytes = 0;
    const int baseSize =
        std::clamp(engine.SnowTexture.Empty() ? 512 : engine.Level.TextureSize, 256, 2048);
    Size(base_, baseSize);
    Size(side_, kSideSize);
    // The player's changes refresh the terrain view: they are shown at once.
    bool immediate = engine.Overlays.ViewRevision != viewRevision_;
    viewRevision_ = engine.Overlays.ViewRevision;
    auto dirty = [&](int unit, const TSKIRowBand& band, int rows) {
        if (band.Empty()) return;
        bytes += size_t(band.Last - band.First + 1) * size_t(layers_[size_t(unit)].Width) * 3;
        if (unit == kUnitImprint) return;  // printed by the terrain shader
        base_.Dirty.Add(ScaleBand(band, rows, base_.Size).First,
                        ScaleBand(band, rows, base_.Size).Last);
        if (unit <= kUnitFirstOverlay + int(TSKIOverlay::SnowMask) || unit == kUnitRelief)
            side_.Dirty.Add(ScaleBand(band, rows, side_.Size).First,
                            ScaleBand(band, rows, side_.Size).Last);
    };
    auto neutral = [&](int unit) {
        Neutral(layers_[size_t(unit)], NeutralValue(unit));
        dirty(unit, TSKIRowBand{0, 0}, 1);
        immediate = true;
    };

    // The ground pictures change only with the level.
    const TSKIImage* pictures[2] = {&engine.SnowTexture, &engine.GroundTexture};
    for (int unit : {kUnitSnowPicture, kUnitBarePicture}) {
        TLayer& l = layers_[size_t(unit)];
        const TSKIImage& img = *pictures[unit];
        const uint8_t* source = img.Empty() ? nullptr : img.Pixels().data();
        if (l.Valid && l.Source == source && (!source || l.Width == img.Width())) continue;
        if (source) {
            l.Sent.clear();  // sent whole: nothing kept to compare with
            dirty(unit, Send(l, img), img.Height());
            l.Sent.clear();
            l.Sent.shrink_to_fit();
            immediate = true;
        } else {
            neutral(unit);
        }
        l.Source = source;
        l.Valid = true;
    }
    // The relief changes only with the terrain.
    if (TLayer& r = layers_[kUnitRelief]; !r.Valid) {
        if (relief_.Empty()) {
            neutral(kUnitRelief);
        } else {
            r.Sent.clear();  // sent whole: nothing kept to compare with
            dirty(kUnitRelief, Send(r, relief_), relief_.Height());
            r.Sent.clear();
            r.Sent.shrink_to_fit();
            immediate = true;
        }
        r.Valid = true;
    }
    // The overlays, each painted from the park when its revision or its look moves: only the
    // cells that changed when the park says which.
    for (int o = 0; o < int(TSKIOverlay::ToolPreview); ++o) {
        const int unit = kUnitFirstOverlay + o;
        const TSKIOverlay overlay = TSKIOverlay(o);
        TLayer& l = layers_[size_t(unit)];
        const uint32_t revision = engine.Overlays.Revisions[size_t(o)];
        const uint32_t look = OverlayLook(engine, overlay, shown);
        if (l.Valid && l.Revision == revision && l.Look == look) continue;
        TSKIImage& img = pictures_[size_t(o)];
        int first = 1, last = 0;
        if (l.Valid && l.Look == look &&
            engine.Overlays.CellsChangedSince(overlay, l.Revision, first, last)) {
            PaintOverlayCells(engine, overlay, shown, first, last, img);
        } else {
            PaintOverlay(engine, overlay, shown, img);
        }
        if (img.Empty()) {
            neutral(unit);
        } else {
            dirty(unit, Send(l, img), img.Height());
        }
        if (unit == kUnitImprint) MarkImprintChunks(img, imprintChunks_);
        l.Revision = revision;
        l.Look = look;
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
            neutral(kUnitPreview);
        } else {
            PaintSlopePreview(engine, tools.SlopePath, preview_);
            dirty(kUnitPreview, Send(p, preview_), preview_.Height());
            immediate = true;
        }
        previewKey_ = key;
        p.Valid = true;
    }

    // A change of layers repaints the whole target at once.
    const int baseLayers = SurfaceLayers(shown, tools.Tool) & ~kLayerImprint;
    if (base_.Layers != baseLayers) {
        base_.Dirty.Add(0, base_.Size - 1);
        immediate = true;
    }
    if (side_.Layers != 0) {
        side_.Dirty.Add(0, side_.Size - 1);
        immediate = true;
    }
    if (base_.Dirty.Empty() && side_.Dirty.Empty()) return bytes;
    if (!immediate && seconds - lastCompose_ < kComposeInterval) return bytes;

    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    program_.Use();
    for (int unit = 0; unit < kSources; ++unit) {
        glActiveTexture(GLenum(GL_TEXTURE0 + unit));
        glBindTexture(GL_TEXTURE_2D, layers_[size_t(unit)].Id);
    }
    glActiveTexture(GL_TEXTURE0);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glBindVertexArray(emptyVao_);
    Compose(base_, baseLayers);
    Compose(side_, 0);
    glBindVertexArray(0);
    glUseProgram(0);
    glViewport(viewport[0], viewport[1], viewport[2], viewport[3]);
    lastCompose_ = seconds;
    return bytes;
}

}  // namespace vallorn
