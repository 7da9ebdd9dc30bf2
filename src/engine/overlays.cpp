// The park state behind the terrain overlays. Each pass is a plain loop over the grid without
// allocation; the overlays' pictures are painted by the view from the state set here.
#include <algorithm>
#include <cmath>

#include "engine/engine.h"
#include "engine/overlays.h"
#include "engine/snow.h"

namespace vallorn {

void RebuildOverlay(TSKIEngine& engine, TSKIOverlay overlay) {
    if (!engine.HasGrid()) return;
    switch (overlay) {
        case TSKIOverlay::SnowOverlay:
        case TSKIOverlay::SnowMask:
            SpreadArtificialSnow(engine);
            engine.Overlays.Touch(TSKIOverlay::SnowOverlay);
            engine.Overlays.Touch(TSKIOverlay::SnowMask);
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
        case TSKIOverlay::ToolPreview:  // painted by the view from the slope tool's nodes
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
    // One pass over the grid: blocked cells are occupied, other occupied cells freed.
    for (int i = 0; i < kGridSize; ++i) {
        TerrainCell* row = &engine.Cell(i, 0);
        for (int j = 0; j < kGridSize; ++j) {
            TerrainCell& c = row[j];
            if (c.Blocked)
                c.Kind = kCellOccupied;
            else if (c.Kind == kCellOccupied)
                c.Kind = kCellFree;
        }
    }

    // Buildings: every cell whose world point lies within the type's size of the building
    // is occupied and loses its tree; the centre cell is the building's, and stays occupied
    // when it is blocked.
    int ci, cj;
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
        TerrainCell& centre = engine.Cell(ci, cj);
        const bool blocked =
            ci >= 0 && cj >= 0 && ci < kGridSize && cj < kGridSize && centre.Blocked;
        centre.Kind = blocked ? kCellOccupied : kCellBuilding;
        centre.Building = engine.IndexOf(b.get());
    }
    engine.Overlays.Touch(TSKIOverlay::Occupancy);
}

std::vector<uint8_t> OccupancyMarks(const TSKIEngine& engine) {
    std::vector<uint8_t> marks(size_t(kGridSize) * kGridSize, kOccupancyFree);
    if (!engine.HasGrid()) return marks;
    auto mark = [&](int i, int j, uint8_t m) {
        if (i >= 0 && j >= 0 && i < kGridSize && j < kGridSize)
            marks[size_t(i) * kGridSize + size_t(j)] = m;
    };
    // Lifts: line nodes of lifts that run on the ground, stations and both ends.
    int ci, cj;
    for (const auto& section : engine.Sections) {
        if (section->IsSlope()) continue;
        const std::vector<TSKIVector>& pts = section->Points;
        const int n = int(pts.size());
        if (section->LiftType < kLiftTypeCount && engine.Params.Lifts[section->LiftType].OnGround) {
            for (int k = 0; k < n; ++k) {
                engine.WorldToCell(pts[size_t(k)], ci, cj);
                mark(ci, cj, kOccupancyTaken);
                if (k >= 2 && k <= n - 3) {
                    mark(ci - 1, cj, kOccupancyTaken);
                    mark(ci, cj - 1, kOccupancyTaken);
                }
            }
        }
        for (const TSKIVector& child : section->Stations) {
            engine.WorldToCell(child, ci, cj);
            mark(ci, cj, kOccupancyTaken);
        }
        if (n > 0) {
            engine.WorldToCell(pts.front(), ci, cj);
            mark(ci, cj, kOccupancyLiftStart);
            engine.WorldToCell(pts.back(), ci, cj);
            mark(ci, cj, kOccupancyTaken);
        }
    }
    // Occupied ground, marked over the lifts.
    for (int i = 0; i < kGridSize; ++i) {
        const TerrainCell* row = &engine.Cell(i, 0);
        uint8_t* to = marks.data() + size_t(i) * kGridSize;
        for (int j = 0; j < kGridSize; ++j) {
            const TerrainCell& c = row[j];
            if (c.Blocked || c.Kind == kCellOccupied || c.Kind == kCellBuilding ||
                c.Kind == kCellRoad)
                to[j] = kOccupancyTaken;
        }
    }
    return marks;
}

void RebuildSteepness(TSKIEngine& engine) {
    if (!engine.HasGrid()) return;
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
    engine.Overlays.Touch(TSKIOverlay::Steepness);
}

// The slope paint and the object imprint show the park as it is: nothing to bring up to date.
void RebuildSlopePaint(TSKIEngine& engine) {
    if (engine.HasGrid()) engine.Overlays.Touch(TSKIOverlay::SlopePaint);
}

void RebuildObjectImprint(TSKIEngine& engine) {
    if (engine.HasGrid()) engine.Overlays.Touch(TSKIOverlay::ObjectImprint);
}

}  // namespace vallorn
