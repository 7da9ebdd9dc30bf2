// The terrain overlays' pictures. Each is a plain loop over the grid (by cell rows, as the
// grid is stored) into a picture kept by the view.
#include "presentation/overlay_paint.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/overlays.h"
#include "engine/snow.h"

namespace vallorn {
namespace {

constexpr TSKIColor kPaintBlack{0, 0, 0};
constexpr TSKIColor kPaintWhite{255, 255, 255};
constexpr TSKIColor kRed200{200, 0, 0};
constexpr TSKIColor kPureRed{255, 0, 0};
constexpr TSKIColor kSteepBlue{0, 0, 200};
constexpr TSKIColor kSteepBlack{10, 10, 10};
constexpr TSKIColor kMaskNoSnow{180, 180, 180};
constexpr TSKIColor kMaskSnow{0, 0, 0};
// Snow and groomed snow with the "Snow" display option on, and off.
constexpr TSKIColor kSnowShown{70, 70, 70};
constexpr TSKIColor kGroomedShown{135, 135, 135};
constexpr TSKIColor kSnowPlain{40, 40, 40};
constexpr TSKIColor kGroomedPlain{80, 80, 80};
// Slope cells with the "Snow" display option on.
constexpr TSKIColor kSlopeBare{255, 0, 0};
constexpr TSKIColor kSlopeGroomed{0, 128, 0};
constexpr TSKIColor kSlopeUngroomed{255, 255, 0};

TSKIColor PaintGrey(int level) {
    const uint8_t v = uint8_t(std::clamp(level, 0, 255));
    return {v, v, v};
}

// TSKIImage::Set of a cell's pixel (i, j) of a grid-sized picture, without the bounds check
// the whole-grid loops need not pay for every cell.
inline void SetCellPixel(TSKIImage& img, int i, int j, TSKIColor c) {
    uint8_t* p = img.Pixels().data() + (size_t(j) * size_t(kGridSize) + size_t(i)) * 3;
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
}

TSKIColor SnowColour(const TerrainCell& c, bool shown) {
    TSKIColor colour = kPaintBlack;
    if (CellHasSnow(c))
        colour =
            c.Groomed ? (shown ? kGroomedShown : kGroomedPlain) : (shown ? kSnowShown : kSnowPlain);
    if (shown && (c.Kind == kCellSlope || c.Kind == kCellSlopeCentre))
        colour = !CellHasSnow(c) ? kSlopeBare : c.Groomed ? kSlopeGroomed : kSlopeUngroomed;
    return colour;
}

void PaintSnowCells(const TSKIEngine& park, bool mask, bool shown, int first, int last,
                    TSKIImage& img) {
    for (int i = std::max(first, 0); i <= std::min(last, kGridSize - 1); ++i) {
        const TerrainCell* row = &park.Cell(i, 0);
        for (int j = 0; j < kGridSize; ++j) {
            const TerrainCell& c = row[j];
            SetCellPixel(img, i, j,
                         mask ? (CellHasSnow(c) ? kMaskSnow : kMaskNoSnow) : SnowColour(c, shown));
        }
    }
}

void PaintOccupancy(const TSKIEngine& park, TSKIImage& img) {
    const std::vector<uint8_t> marks = OccupancyMarks(park);
    for (int i = 0; i < kGridSize; ++i) {
        const uint8_t* row = marks.data() + size_t(i) * kGridSize;
        for (int j = 0; j < kGridSize; ++j)
            SetCellPixel(img, i, j,
                         row[j] == kOccupancyTaken       ? kRed200
                         : row[j] == kOccupancyLiftStart ? kPureRed
                                                         : kPaintBlack);
    }
}

// Blue below 2, red from 2, black from 3; black is drawn last so it wins.
void PaintSteepness(const TSKIEngine& park, TSKIImage& img) {
    img.Fill(kSteepBlue);
    std::vector<uint32_t> steepest;
    for (int i = 1; i <= kGridSize - 2; ++i) {
        const TerrainCell* row = &park.Cell(i, 0);
        for (int j = 1; j <= kGridSize - 2; ++j) {
            const float s = row[j].Steepness;
            if (s >= 2 && s < 3) img.FillCircle(i, j, 2, kRed200);
            if (s >= 3) steepest.push_back(uint32_t(i) * kGridSize + uint32_t(j));
        }
    }
    for (const uint32_t k : steepest)
        img.FillCircle(int(k / kGridSize), int(k % kGridSize), 2, kSteepBlack);
}

void PaintSlopePaint(const TSKIEngine& park, uint8_t shown, TSKIImage& img) {
    img.Fill(kPaintWhite);
    const bool byDifficulty = (shown & kDisplaySlopes) != 0;
    for (const auto& section : park.Sections) {
        if (!section->IsSlope() || section->Points.empty()) continue;
        const std::vector<TSKIVector>& pts = section->Points;
        for (int p = 0; p < 2; ++p) {
            TSKIColor colour = PaintGrey(170 - 20 * p);
            if (byDifficulty) {
                switch (section->Difficulty) {
                    case kDifficultyBlue:
                        colour = {0, 0, uint8_t(170 - 20 * p)};
                        break;
                    case kDifficultyRed:
                        colour = {uint8_t(170 - 20 * p), 0, 0};
                        break;
                    default:
                        colour = PaintGrey(70 - 20 * p);
                        break;
                }
            }
            int i0, j0, i1, j1;
            park.WorldToCell(pts[0], i0, j0);
            for (size_t k = 0; k < pts.size(); ++k) {
                const float w = pts[k].w;
                const float narrowed = w - 2.0f * float(p);
                const int pen = narrowed > 0 ? int(narrowed) : int(std::floor(w));
                if (k + 1 < pts.size()) {
                    park.WorldToCell(pts[k + 1], i1, j1);
                } else if (pts.size() == 1) {
                    i1 = i0, j1 = j0;  // a single node is a dot
                } else {
                    break;
                }
                img.DrawLine(i0, j0, i1, j1, colour, pen);
                i0 = i1;
                j0 = j1;
            }
        }
    }
}

void PaintObjectImprint(const TSKIEngine& park, uint8_t shown, TSKIImage& img) {
    img.Fill(kPaintWhite);
    int px, pz;
    if (park.Options.Detail == 2 && (shown & kDisplayTrees) != 0) {
        // A small fir: a trunk of 1.3 x the tree's height and three pairs of branches.
        for (int i = 0; i < kGridSize; ++i) {
            for (int j = 0; j < kGridSize; ++j) {
                const TerrainCell& c = park.Cell(i, j);
                if (!c.Tree) continue;
                park.MapPixel(c.TreePosition, kImprintSize, px, pz);
                const int length = int(1.3f * c.TreeScale.y);
                img.DrawLine(px, pz, px, pz - length, PaintGrey(152));
                for (int n = 1; n <= 3; ++n) {
                    const int y = pz - length * n / 4;
                    const int span = std::max(1, (4 - n) * length / 8);
                    const TSKIColor g = PaintGrey(152 + 8 * n);
                    img.DrawLine(px, y - span, px - span, y, g);
                    img.DrawLine(px, y - span, px + span, y, g);
                }
            }
        }
    }
    // Lifts: the line and both stations.
    for (const auto& section : park.Sections) {
        if (section->IsSlope() || section->Points.empty()) continue;
        int qx, qz;
        park.MapPixel(section->Points.front(), kImprintSize, qx, qz);
        for (const TSKIVector& p : section->Points) {
            park.MapPixel(p, kImprintSize, px, pz);
            img.DrawLine(qx, qz, px, pz, PaintGrey(40), 2);
            qx = px;
            qz = pz;
        }
        for (const TSKIVector* s : {&section->Points.front(), &section->Points.back()}) {
            park.MapPixel(*s, kImprintSize, px, pz);
            img.FillCircle(px, pz, 4, {90, 40, 20});
        }
    }
    // Buildings: a dot in the colour of the building's use.
    for (const auto& b : park.Buildings) {
        park.MapPixel(b->Position, kImprintSize, px, pz);
        const uint8_t cat =
            b->Type < kBuildingTypeCount ? park.Params.Buildings[b->Type].Category : 0;
        const TSKIColor colour = cat == kCategoryRestaurant ? TSKIColor{200, 120, 0}
                                 : cat == kCategoryRescue || cat == kCategoryHospital
                                     ? TSKIColor{220, 0, 0}
                                     : TSKIColor{60, 60, 140};
        img.FillCircle(px, pz, 5, colour);
    }
    // Houses: a small brown square.
    for (const TSKIHouse& h : park.Houses) {
        park.MapPixel(h.Position, kImprintSize, px, pz);
        for (int a = -3; a <= 3; ++a) img.DrawLine(px - 3, pz + a, px + 3, pz + a, {110, 70, 40});
    }
}

}  // namespace

int OverlaySide(TSKIOverlay overlay) {
    return overlay == TSKIOverlay::ObjectImprint ? kImprintSize : kGridSize;
}

uint32_t OverlayLook(const TSKIEngine& park, TSKIOverlay overlay, uint8_t shown) {
    switch (overlay) {
        case TSKIOverlay::SnowOverlay:
            return shown & kDisplaySnow;
        case TSKIOverlay::SlopePaint:
            return shown & kDisplaySlopes;
        case TSKIOverlay::ObjectImprint:
            return (shown & kDisplayTrees) | (park.Options.Detail == 2 ? 0x100u : 0u);
        default:
            return 0;
    }
}

void PaintOverlay(const TSKIEngine& park, TSKIOverlay overlay, uint8_t shown, TSKIImage& image) {
    if (!park.HasGrid()) {
        image = TSKIImage();
        return;
    }
    const int side = OverlaySide(overlay);
    if (image.Width() != side || image.Height() != side) image.Resize(side, side);
    switch (overlay) {
        case TSKIOverlay::SnowOverlay:
        case TSKIOverlay::SnowMask:
            PaintSnowCells(park, overlay == TSKIOverlay::SnowMask, (shown & kDisplaySnow) != 0, 0,
                           kGridSize - 1, image);
            break;
        case TSKIOverlay::SlopePaint:
            PaintSlopePaint(park, shown, image);
            break;
        case TSKIOverlay::Occupancy:
            PaintOccupancy(park, image);
            break;
        case TSKIOverlay::ObjectImprint:
            PaintObjectImprint(park, shown, image);
            break;
        case TSKIOverlay::Steepness:
            PaintSteepness(park, image);
            break;
        case TSKIOverlay::ToolPreview:  // the slope tool's nodes (terrain_texture.h)
        case TSKIOverlay::Count:
            image.Fill(kPaintBlack);
            break;
    }
}

void PaintOverlayCells(const TSKIEngine& park, TSKIOverlay overlay, uint8_t shown, int first,
                       int last, TSKIImage& image) {
    const bool snow = overlay == TSKIOverlay::SnowOverlay || overlay == TSKIOverlay::SnowMask;
    if (!snow || !park.HasGrid() || image.Width() != kGridSize || image.Height() != kGridSize) {
        PaintOverlay(park, overlay, shown, image);
        return;
    }
    PaintSnowCells(park, overlay == TSKIOverlay::SnowMask, (shown & kDisplaySnow) != 0, first, last,
                   image);
}

}  // namespace vallorn
