// The per-cell images painted onto the terrain. The core draws them; the renderer uploads an
// image when its revision changes and composes the terrain textures when the view revision
// changes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "base/image.h"

namespace vallorn {

enum class TSKIOverlay : uint8_t {
    SnowOverlay,
    SnowMask,
    SlopePaint,
    Occupancy,
    ObjectImprint,
    Steepness,
    ToolPreview,
    Count
};

// Display flag bits. The keys '1'..'8' toggle, in this order: long visibility, slopes,
// blocked terrain, cursor snap, blue-red-black, trees, snow, skier info.
enum : uint8_t {
    kDisplaySlopes = 1,
    kDisplayBlocked = 2,
    kDisplayCursorSnap = 4,
    kDisplayBlueRedBlack = 8,
    kDisplayTrees = 16,
    kDisplaySnow = 32,
    kDisplayLongVisibility = 64,
    kDisplaySkierInfo = 128,
};
// What a new game starts with: long visibility, cursor snap and trees.
inline constexpr uint8_t kDisplayNewGame =
    kDisplayLongVisibility | kDisplayCursorSnap | kDisplayTrees;

struct TSKIOverlays {
    std::array<TSKIImage, size_t(TSKIOverlay::Count)> Images;
    std::array<uint32_t, size_t(TSKIOverlay::Count)> Revisions{};
    uint32_t ViewRevision = 0;  // bumped by RefreshTerrainView

    TSKIImage& operator[](TSKIOverlay o) { return Images[size_t(o)]; }
    const TSKIImage& operator[](TSKIOverlay o) const { return Images[size_t(o)]; }
    void Touch(TSKIOverlay o) { ++Revisions[size_t(o)]; }
};

}  // namespace vallorn
