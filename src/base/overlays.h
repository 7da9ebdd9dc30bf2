// Which terrain overlays changed. The park keeps no pictures of them: it bumps an overlay's
// revision when what the overlay shows changed, and the view paints the overlay from the park
// (presentation/overlay_paint.h) when the revision it painted is behind, then composes the
// terrain textures when the view revision changes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

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

class TSKIOverlays {
public:
    static constexpr size_t kCount = size_t(TSKIOverlay::Count);
    std::array<uint32_t, kCount> Revisions{};
    uint32_t ViewRevision = 0;  // bumped by RefreshTerrainView

    // The whole overlay changed.
    void Touch(TSKIOverlay o) {
        const size_t k = size_t(o);
        whole_[k] = ++Revisions[k];
    }
    // Only the cells with i in first..last changed (a groomer's pass, a brush stroke).
    void TouchCells(TSKIOverlay o, int first, int last) {
        const size_t k = size_t(o);
        const uint32_t r = ++Revisions[k];
        band_[k][r % kRemembered] = {r, first, last};
    }
    // The cells (i in first..last) that changed after revision `since`; false when the whole
    // overlay has to be painted again (it changed whole since, or more changes came than are
    // remembered). Nothing changed: true with first > last.
    bool CellsChangedSince(TSKIOverlay o, uint32_t since, int& first, int& last) const {
        const size_t k = size_t(o);
        first = 1;
        last = 0;
        const uint32_t behind = Revisions[k] - since;
        if (behind == 0) return true;
        if (behind > kRemembered || int32_t(whole_[k] - since) > 0) return false;
        for (uint32_t r = since + 1; r != Revisions[k] + 1; ++r) {
            const TBand& b = band_[k][r % kRemembered];
            if (b.Revision != r) return false;
            if (first > last) {
                first = b.First;
                last = b.Last;
            } else {
                first = first < b.First ? first : b.First;
                last = last > b.Last ? last : b.Last;
            }
        }
        return true;
    }

private:
    static constexpr uint32_t kRemembered = 64;
    struct TBand {
        uint32_t Revision = 0;
        int First = 1, Last = 0;
    };
    std::array<uint32_t, kCount> whole_{};
    std::array<std::array<TBand, kRemembered>, kCount> band_{};
};

}  // namespace vallorn
