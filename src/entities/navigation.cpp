// The navigation rebuild: for every cell, the lift nearest to it, where a skier walks when it
// has nowhere to go, and the links (slope points and lift gates) a skier can follow from it.
//
// Navigation class of a cell (TerrainCell::NavClass), written here:
//   0  off the network: the cell offers no link;
//   1  on a slope: the cell offers slope links only;
//   2  lift approach: the cell offers a link to a lift's gate;
//   3  lift station: the lower or upper station cell of a lift.
//
// Distances for "nearest" are measured on the ground (x and z), so a lift or slope point
// high above a cell is not nearer than one beside it.
//
// Speed: one pass over the whole grid for the nearest lift and the walking targets, done in
// blocks of 16 x 16 cells that each consider only the points that can be nearest to some
// cell of the block; the links are drawn and read within each section's bounding box; the
// building footprints are re-marked by the occupancy rebuild.
#include <algorithm>
#include <cmath>
#include <limits>

#include "entities/network_raster.h"
#include "entities/section.h"
#include "entities/skier.h"
#include "entities/world.h"

namespace vallorn {

namespace {

constexpr int kBlock = 16;                 // cells per block side of the nearest search
constexpr float kNearestLimit = 10000.0f;  // no nearest lift beyond this (world units)
constexpr int kNearbyRadius = 14;          // cells around a lower station
constexpr int kMaxNearby = 5;
constexpr int kMaxSlopeLinks = 8;
constexpr int kMaxLinks = 9;
constexpr int kLinkBoxMargin = 20;      // cells around a slope's path that get links
constexpr int kFirstSegmentWidth = 16;  // skiers find a slope's start from afar
constexpr int kEndDiscRadius = 7;       // no slope links around a slope's end
constexpr int kLiftLineWidth = 2;       // corridor under a lift line
constexpr int kMapMiddle = kGridSize / 2;

enum : uint8_t { kNavOff = 0, kNavSlope = 1, kNavLiftApproach = 2, kNavStation = 3 };

// A point that can be nearest to a cell, in cell coordinates (cell (i, j) lies at (i, j)).
struct Seed {
    float I, J;
    int Index;  // into the caller's list
};

void ToCellSpace(const TSKIVector& p, float& i, float& j) {
    i = (-p.x - 0.5f) / kCellSize;
    j = (p.z + 0.5f) / kCellSize;
}

// The seeds that can be nearest to some cell of the block: those whose nearest possible
// distance is not beyond the smallest farthest distance of any seed.
void BlockCandidates(const std::vector<Seed>& seeds, int i0, int j0, int i1, int j1,
                     std::vector<Seed>& out) {
    out.clear();
    if (seeds.empty()) return;
    float bound = std::numeric_limits<float>::max();
    for (const Seed& s : seeds) {
        const float fi = std::max(std::fabs(s.I - float(i0)), std::fabs(s.I - float(i1)));
        const float fj = std::max(std::fabs(s.J - float(j0)), std::fabs(s.J - float(j1)));
        bound = std::min(bound, fi * fi + fj * fj);
    }
    for (const Seed& s : seeds) {
        const float ni = std::max({float(i0) - s.I, 0.0f, s.I - float(i1)});
        const float nj = std::max({float(j0) - s.J, 0.0f, s.J - float(j1)});
        if (ni * ni + nj * nj <= bound) out.push_back(s);
    }
}

// The candidate nearest to the cell (first on ties), with its squared distance in cells.
const Seed* Nearest(const std::vector<Seed>& candidates, int i, int j, float& d2) {
    const Seed* best = nullptr;
    d2 = std::numeric_limits<float>::max();
    for (const Seed& s : candidates) {
        const float di = s.I - float(i), dj = s.J - float(j);
        const float d = di * di + dj * dj;
        if (d < d2) {
            d2 = d;
            best = &s;
        }
    }
    return best;
}

bool AddLink(TerrainCell& c, int32_t section, int32_t point, int limit, uint8_t navClass) {
    if (c.NavLinkCount >= limit) return false;
    c.NavLinks[c.NavLinkCount] = TSKINavLink{section, point};
    ++c.NavLinkCount;
    c.NavClass = std::max(c.NavClass, navClass);
    return true;
}

}  // namespace

void TSKIWorld::RebuildNavigation(bool keepWalkTargets) {
    const bool wasBusy = Busy;
    Busy = true;
    if (Dialogs) Dialogs->SetBusyCursor(true);

    Park.ParkSlopeLength = 0;
    if (!HasGrid()) {
        for (const auto& s : Sections)
            if (s->IsSlope()) Park.ParkSlopeLength += s->LengthMetres * 0.001f;
        if (Dialogs && !wasBusy) Dialogs->SetBusyCursor(false);
        Busy = wasBusy;
        return;
    }

    // The lifts' first points, every slope point and the slopes' first points.
    std::vector<Seed> liftSeeds, slopePoints, slopeStarts;
    std::vector<const TSKIVector*> slopePointRefs;
    for (size_t k = 0; k < Sections.size(); ++k) {
        const TSKISection& s = *Sections[k];
        if (s.Points.empty()) continue;
        float fi, fj;
        if (s.IsLift()) {
            ToCellSpace(s.Points.front(), fi, fj);
            liftSeeds.push_back({fi, fj, int(k)});
            continue;
        }
        ToCellSpace(s.Points.front(), fi, fj);
        slopeStarts.push_back({fi, fj, int(k)});
        for (const TSKIVector& p : s.Points) {
            ToCellSpace(p, fi, fj);
            slopePoints.push_back({fi, fj, int(slopePointRefs.size())});
            slopePointRefs.push_back(&p);
        }
    }
    TSKIVector middle = CellToWorld(kMapMiddle, kMapMiddle, false);
    middle.y = Cell(kMapMiddle, kMapMiddle).Height;
    middle.w = 1;
    const float limit2 = (kNearestLimit / kCellSize) * (kNearestLimit / kCellSize);

    // 1. Every cell: nearest lift, walking target, and the links cleared.
    std::vector<Seed> liftCandidates, pointCandidates;
    liftCandidates.reserve(liftSeeds.size());
    pointCandidates.reserve(slopePoints.size());
    for (int bi = 0; bi < kGridSide; bi += kBlock) {
        const int bi1 = std::min(bi + kBlock - 1, kGridSide - 1);
        for (int bj = 0; bj < kGridSide; bj += kBlock) {
            const int bj1 = std::min(bj + kBlock - 1, kGridSide - 1);
            BlockCandidates(liftSeeds, bi, bj, bi1, bj1, liftCandidates);
            BlockCandidates(slopePoints, bi, bj, bi1, bj1, pointCandidates);
            for (int i = bi; i <= bi1; ++i) {
                TerrainCell* row = &Cell(i, 0);
                for (int j = bj; j <= bj1; ++j) {
                    TerrainCell& c = row[j];
                    // Entries past a count are always empty: only the counted ones go.
                    std::fill_n(c.NavLinks.begin(), std::min<size_t>(c.NavLinkCount, kMaxLinks),
                                TSKINavLink{});
                    c.NavLinkCount = 0;
                    std::fill_n(c.Nearby.begin(), std::min<size_t>(c.NearbyCount, kMaxNearby),
                                TSKINavLink{});
                    c.NearbyCount = 0;
                    c.UnderLift = false;
                    c.NavClass = kNavOff;

                    float d2;
                    const Seed* lift = Nearest(liftCandidates, i, j, d2);
                    c.NearestSection = lift && d2 < limit2 ? int32_t(lift->Index) : -1;

                    if (keepWalkTargets) {
                        int ti, tj;
                        WorldToCell(c.WalkTarget, ti, tj);
                        const uint8_t k = Cell(ti, tj).Kind;
                        if (k == kCellSlope || k == kCellSlopeCentre || k == kCellLiftLower ||
                            k == kCellLiftUpper)
                            continue;
                    }
                    c.WalkTarget = middle;
                    if (c.Kind == kCellSlope || c.Kind == kCellSlopeCentre) {
                        // At a slope's end: back to the start of the nearest slope.
                        const TSKISection* own = SectionByIndex(c.Section);
                        if (own && own->IsSlope() && !own->Points.empty() &&
                            own->RasterValue(i, j) ==
                                std::min<size_t>(own->Points.size() - 1, kMaxRasterPoint)) {
                            const Seed* start = Nearest(slopeStarts, i, j, d2);
                            if (start) c.WalkTarget = Sections[size_t(start->Index)]->Points[0];
                        }
                    } else {
                        const Seed* point = Nearest(pointCandidates, i, j, d2);
                        if (point) c.WalkTarget = *slopePointRefs[size_t(point->Index)];
                    }
                    c.WalkTarget.w = 1;
                }
            }
        }
    }

    // 2.-3. Every section in list order: slope links and the resort's slope length; lifts
    // list themselves on the cells around their lower station and mark their corridor.
    TSKIImage& raster = ScratchRaster();
    std::vector<uint32_t> nearbyCells;
    nearbyCells.reserve(Sections.size() * (2 * kNearbyRadius + 1) * (2 * kNearbyRadius + 1));
    for (size_t k = 0; k < Sections.size(); ++k) {
        TSKISection& s = *Sections[k];
        const int32_t index = int32_t(k);
        if (s.IsSlope()) {
            Park.ParkSlopeLength += s.LengthMetres * 0.001f;
            if (s.Points.empty()) continue;
            const TSKICellBox box = PathCellBox(s.Points, kLinkBoxMargin, 1, kGridSize - 1);
            ClearBox(raster, box);
            DrawSlopePath(raster, s.Points, kFirstSegmentWidth);
            int li, lj;
            WorldToCell(s.Points.back(), li, lj);
            raster.FillCircle(li, lj, kEndDiscRadius, {kRasterWhite, kRasterWhite, kRasterWhite});
            for (int i = box.I0; i <= box.I1; ++i) {
                for (int j = box.J0; j <= box.J1; ++j) {
                    const uint8_t level = RasterLevel(raster, i, j);
                    if (level == kRasterWhite) continue;
                    AddLink(Cell(i, j), index, level, kMaxSlopeLinks, kNavSlope);
                }
            }
            ClearBox(raster, box);
            for (size_t p = 1; p + 1 < s.Points.size(); ++p) {
                int i, j;
                WorldToCell(s.Points[p], i, j);
                Cell(i, j).Kind = kCellSlopeCentre;
                Cell(i, j).Section = index;
            }
            continue;
        }

        for (int i = s.LowerI - kNearbyRadius; i <= s.LowerI + kNearbyRadius; ++i) {
            for (int j = s.LowerJ - kNearbyRadius; j <= s.LowerJ + kNearbyRadius; ++j) {
                if (!CellInGrid(i, j)) continue;
                TerrainCell& c = Cell(i, j);
                if (c.NearbyCount >= kMaxNearby) continue;
                c.Nearby[c.NearbyCount] = TSKINavLink{index, 0};
                if (++c.NearbyCount == 1) nearbyCells.push_back(uint32_t(i) * kGridSide + j);
            }
        }

        // The corridor under the line between the stations.
        TSKICellBox box{std::min(s.LowerI, s.UpperI) - kLiftLineWidth,
                        std::min(s.LowerJ, s.UpperJ) - kLiftLineWidth,
                        std::max(s.LowerI, s.UpperI) + kLiftLineWidth,
                        std::max(s.LowerJ, s.UpperJ) + kLiftLineWidth};
        box.I0 = std::max(box.I0, 0);
        box.J0 = std::max(box.J0, 0);
        box.I1 = std::min(box.I1, kGridSize);
        box.J1 = std::min(box.J1, kGridSize);
        ClearBox(raster, box);
        raster.DrawLine(s.LowerI, s.LowerJ, s.UpperI, s.UpperJ, {0, 0, 0}, kLiftLineWidth);
        for (int i = box.I0; i <= box.I1; ++i)
            for (int j = box.J0; j <= box.J1; ++j)
                if (RasterLevel(raster, i, j) != kRasterWhite) Cell(i, j).UnderLift = true;
        ClearBox(raster, box);
    }

    // 4. The end of a slope keeps skiers heading to it, where nothing else leads.
    for (size_t k = 0; k < Sections.size(); ++k) {
        const TSKISection& s = *Sections[k];
        if (!s.IsSlope() || s.Points.empty()) continue;
        int li, lj;
        WorldToCell(s.Points.back(), li, lj);
        const int32_t last = int32_t(s.Points.size()) - 1;
        for (int i = li - kEndDiscRadius; i <= li + kEndDiscRadius; ++i) {
            for (int j = lj - kEndDiscRadius; j <= lj + kEndDiscRadius; ++j) {
                const int di = i - li, dj = j - lj;
                if (di * di + dj * dj > kEndDiscRadius * kEndDiscRadius) continue;
                if (!CellInGrid(i, j)) continue;
                TerrainCell& c = Cell(i, j);
                if (c.NavLinkCount == 0 && c.NearbyCount == 0)
                    AddLink(c, int32_t(k), last, kMaxLinks, kNavSlope);
            }
        }
    }

    // 5. Lifts near a cell become links to their gates.
    for (uint32_t cellIndex : nearbyCells) {
        TerrainCell& c = Grid[cellIndex];
        for (uint8_t n = 0; n < c.NearbyCount; ++n)
            AddLink(c, c.Nearby[n].Section, kGatePoint, kMaxLinks, kNavLiftApproach);
    }

    // 6. Building footprints are marked again; the stations close the classes.
    OccupancyChanged();
    for (const auto& s : Sections) {
        if (!s->IsLift()) continue;
        if (CellInGrid(s->LowerI, s->LowerJ)) Cell(s->LowerI, s->LowerJ).NavClass = kNavStation;
        if (CellInGrid(s->UpperI, s->UpperJ)) Cell(s->UpperI, s->UpperJ).NavClass = kNavStation;
    }

    if (Dialogs && !wasBusy) Dialogs->SetBusyCursor(false);
    Busy = wasBusy;
}

}  // namespace vallorn
