// The per-cell overlay images painted onto the terrain. Each rebuild is a plain double loop
// over the grid without allocation; the renderer uploads an image when its revision changes
// and composes the terrain textures when the view revision changes.
#include <algorithm>
#include <cmath>

#include "engine/engine.h"
#include "engine/overlays.h"
#include "engine/snow.h"

namespace vallorn {
namespace {

constexpr TSKIColor kBlack{0, 0, 0};
constexpr TSKIColor kWhite{255, 255, 255};
constexpr TSKIColor kRed200{200, 0, 0};
constexpr TSKIColor kPureRed{255, 0, 0};
constexpr TSKIColor kSteepBlue{0, 0, 200};
constexpr TSKIColor kSteepBlack{10, 10, 10};

TSKIColor Grey(int level) {
    const uint8_t v = uint8_t(std::clamp(level, 0, 255));
    return {v, v, v};
}

// Makes sure an overlay image has its size (a level load creates them; this keeps a rebuild
// safe on an engine whose images were cleared).
TSKIImage& Sized(TSKIOverlays& overlays, TSKIOverlay o, int side) {
    TSKIImage& img = overlays[o];
    if (img.Width() != side || img.Height() != side) img.Resize(side, side);
    return img;
}

// TSKIImage::Set of a cell's pixel (i, j) of a grid-sized overlay, without the bounds check the
// whole-grid loops need not pay for every cell.
inline void SetGridPixel(TSKIImage& img, int i, int j, TSKIColor c) {
    uint8_t* p = img.Pixels().data() + (size_t(j) * size_t(kGridSize) + size_t(i)) * 3;
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
}

}  // namespace

void RebuildOverlay(TSKIEngine& engine, TSKIOverlay overlay) {
    if (!engine.HasGrid()) return;
    switch (overlay) {
        case TSKIOverlay::SnowOverlay:
        case TSKIOverlay::SnowMask:
            RebuildSnowImages(engine);
            break;
        case TSKIOverlay::SlopePaint:
            RebuildSlopePaint(engine);
            break;
        case TSKIOverlay::Occupancy:
            RebuildOccupancy(engine);
            break;
        case TSKIOverlay::ObjectImprint:
            RebuildObjectImprint(engine);
            break;
        case TSKIOverlay::Steepness:
            RebuildSteepness(engine);
            break;
        case TSKIOverlay::ToolPreview:  // drawn by the slope tool itself
        case TSKIOverlay::Count:
            engine.Overlays.Touch(TSKIOverlay::ToolPreview);
            break;
    }
    RefreshTerrainView(engine);
}

void RefreshTerrainView(TSKIEngine& engine) {
    ++engine.Overlays.ViewRevision;
}

void ResetDisplayChoices(TSKIEngine& engine) {
    engine.Display().ResetChoices();
}

void RebuildOccupancy(TSKIEngine& engine) {
    if (!engine.HasGrid()) return;
    TSKIImage& img = Sized(engine.Overlays, TSKIOverlay::Occupancy, kGridSize);
    img.Fill(kBlack);
    for (int i = 0; i < kGridSize; ++i)
        for (int j = 0; j < kGridSize; ++j) {
            TerrainCell& c = engine.Cell(i, j);
            if (c.Kind == kCellOccupied) c.Kind = kCellFree;
        }

    // Lifts: line nodes of lifts that run on the ground, stations and poles.
    int ci, cj;
    for (const auto& section : engine.Sections) {
        if (section->IsSlope()) continue;
        const std::vector<TSKIVector>& pts = section->Points;
        const int n = int(pts.size());
        if (section->LiftType < kLiftTypeCount && engine.Params.Lifts[section->LiftType].OnGround) {
            for (int k = 0; k < n; ++k) {
                engine.WorldToCell(pts[size_t(k)], ci, cj);
                img.Set(ci, cj, kRed200);
                if (k >= 2 && k <= n - 3) {
                    img.Set(ci - 1, cj, kRed200);
                    img.Set(ci, cj - 1, kRed200);
                }
            }
        }
        for (const TSKIVector& child : section->Stations) {
            engine.WorldToCell(child, ci, cj);
            img.Set(ci, cj, kRed200);
        }
        if (n > 0) {
            engine.WorldToCell(pts.front(), ci, cj);
            img.Set(ci, cj, kPureRed);
            engine.WorldToCell(pts.back(), ci, cj);
            img.Set(ci, cj, kRed200);
        }
    }

    // Buildings: every cell whose world point lies within the type's size of the building
    // is occupied and loses its tree; the centre cell is the building's.
    for (const auto& b : engine.Buildings) {
        const int r = b->Type < kBuildingTypeCount ? engine.Params.Buildings[b->Type].Size : 1;
        engine.WorldToCell(b->Position, ci, cj);
        for (int a = ci - r; a <= ci + r; ++a) {
            for (int c = cj - r; c <= cj + r; ++c) {
                if (!engine.CellInGrid(a, c)) continue;
                TSKIVector p = engine.CellToWorld(a, c, false);
                p.y = (a < kGridSize && c < kGridSize) ? engine.Cell(a, c).Height
                                                       : engine.TerrainHeight(p);
                const float dx = p.x - b->Position.x, dy = p.y - b->Position.y,
                            dz = p.z - b->Position.z;
                if (std::sqrt(dx * dx + dy * dy + dz * dz) < float(r)) {
                    engine.Cell(a, c).Kind = kCellOccupied;
                    engine.RemoveTree(a, c);
                }
            }
        }
        engine.Cell(ci, cj).Kind = kCellBuilding;
        engine.Cell(ci, cj).Building = engine.IndexOf(b.get());
    }

    for (int i = 0; i < kGridSize; ++i)
        for (int j = 0; j < kGridSize; ++j) {
            TerrainCell& c = engine.Cell(i, j);
            if (c.Blocked) c.Kind = kCellOccupied;
            if (c.Kind == kCellOccupied || c.Kind == kCellBuilding || c.Kind == kCellRoad)
                SetGridPixel(img, i, j, kRed200);
        }
    engine.Overlays.Touch(TSKIOverlay::Occupancy);
}

void RebuildSteepness(TSKIEngine& engine) {
    if (!engine.HasGrid()) return;
    // Steepness: height above the mean of the lower neighbours.
    for (int i = 1; i <= kGridSize - 2; ++i) {
        for (int j = 1; j <= kGridSize - 2; ++j) {
            TerrainCell& c = engine.Cell(i, j);
            float sum = 0;
            int count = 0;
            for (int di = -1; di <= 1; ++di)
                for (int dj = -1; dj <= 1; ++dj) {
                    if (di == 0 && dj == 0) continue;
                    const float h = engine.Cell(i + di, j + dj).Height;
                    if (h < c.Height) {
                        sum += h;
                        ++count;
                    }
                }
            if (count >= 1) c.Steepness = c.Height - sum / float(count);
        }
    }
    // Blue below 2, red from 2, black from 3; black is drawn last so it wins.
    TSKIImage& img = Sized(engine.Overlays, TSKIOverlay::Steepness, kGridSize);
    img.Fill(kSteepBlue);
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 1; i <= kGridSize - 2; ++i)
            for (int j = 1; j <= kGridSize - 2; ++j) {
                const float s = engine.Cell(i, j).Steepness;
                if (pass == 0 && s >= 2 && s < 3) img.FillCircle(i, j, 2, kRed200);
                if (pass == 1 && s >= 3) img.FillCircle(i, j, 2, kSteepBlack);
            }
    }
    engine.Overlays.Touch(TSKIOverlay::Steepness);
}

void RebuildSlopePaint(TSKIEngine& engine) {
    if (!engine.HasGrid()) return;
    TSKIImage& img = Sized(engine.Overlays, TSKIOverlay::SlopePaint, kGridSize);
    img.Fill(kWhite);
    const bool byDifficulty = LayerShown(engine.Display(), kDisplaySlopes);
    for (const auto& section : engine.Sections) {
        if (!section->IsSlope() || section->Points.empty()) continue;
        const std::vector<TSKIVector>& pts = section->Points;
        for (int p = 0; p < 2; ++p) {
            TSKIColor colour = Grey(170 - 20 * p);
            if (byDifficulty) {
                switch (section->Difficulty) {
                    case kDifficultyBlue:
                        colour = {0, 0, uint8_t(170 - 20 * p)};
                        break;
                    case kDifficultyRed:
                        colour = {uint8_t(170 - 20 * p), 0, 0};
                        break;
                    default:
                        colour = Grey(70 - 20 * p);
                        break;
                }
            }
            int i0, j0, i1, j1;
            engine.WorldToCell(pts[0], i0, j0);
            for (size_t k = 0; k < pts.size(); ++k) {
                const float w = pts[k].w;
                const float narrowed = w - 2.0f * float(p);
                const int pen = narrowed > 0 ? int(narrowed) : int(std::floor(w));
                if (k + 1 < pts.size()) {
                    engine.WorldToCell(pts[k + 1], i1, j1);
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
    engine.Overlays.Touch(TSKIOverlay::SlopePaint);
}

void RebuildObjectImprint(TSKIEngine& engine) {
    if (!engine.HasGrid()) return;
    TSKIImage& img = Sized(engine.Overlays, TSKIOverlay::ObjectImprint, kImprintSize);
    img.Fill(kWhite);
    int px, pz;
    if (engine.Options.Detail == 2 && LayerShown(engine.Display(), kDisplayTrees)) {
        // A small fir: a trunk of 1.3 x the tree's height and three pairs of branches.
        for (int i = 0; i < kGridSize; ++i) {
            for (int j = 0; j < kGridSize; ++j) {
                const TerrainCell& c = engine.Cell(i, j);
                if (!c.Tree) continue;
                engine.MapPixel(c.TreePosition, kImprintSize, px, pz);
                const int length = int(1.3f * c.TreeScale.y);
                img.DrawLine(px, pz, px, pz - length, Grey(152));
                for (int n = 1; n <= 3; ++n) {
                    const int y = pz - length * n / 4;
                    const int span = std::max(1, (4 - n) * length / 8);
                    const TSKIColor g = Grey(152 + 8 * n);
                    img.DrawLine(px, y - span, px - span, y, g);
                    img.DrawLine(px, y - span, px + span, y, g);
                }
            }
        }
    }
    // Lifts: the line and both stations.
    for (const auto& section : engine.Sections) {
        if (section->IsSlope() || section->Points.empty()) continue;
        int qx, qz;
        engine.MapPixel(section->Points.front(), kImprintSize, qx, qz);
        for (const TSKIVector& p : section->Points) {
            engine.MapPixel(p, kImprintSize, px, pz);
            img.DrawLine(qx, qz, px, pz, Grey(40), 2);
            qx = px;
            qz = pz;
        }
        for (const TSKIVector* s : {&section->Points.front(), &section->Points.back()}) {
            engine.MapPixel(*s, kImprintSize, px, pz);
            img.FillCircle(px, pz, 4, {90, 40, 20});
        }
    }
    // Buildings: a dot in the colour of the building's use.
    for (const auto& b : engine.Buildings) {
        engine.MapPixel(b->Position, kImprintSize, px, pz);
        const uint8_t cat =
            b->Type < kBuildingTypeCount ? engine.Params.Buildings[b->Type].Category : 0;
        const TSKIColor colour = cat == kCategoryRestaurant ? TSKIColor{200, 120, 0}
                                 : cat == kCategoryRescue || cat == kCategoryHospital
                                     ? TSKIColor{220, 0, 0}
                                     : TSKIColor{60, 60, 140};
        img.FillCircle(px, pz, 5, colour);
    }
    // Houses: a small brown square.
    for (const TSKIHouse& h : engine.Houses) {
        engine.MapPixel(h.Position, kImprintSize, px, pz);
        for (int a = -3; a <= 3; ++a) img.DrawLine(px - 3, pz + a, px + 3, pz + a, {110, 70, 40});
    }
    engine.Overlays.Touch(TSKIOverlay::ObjectImprint);
}

// The snow overlay and mask are drawn by the snow model (snow.cpp).

}  // namespace vallorn
