// The slope tool: the segment from the last drawn node to the cursor, its width and
// direction tests, automatic nodes, backtracking, the click that adds a node or finishes the
// slope, Backspace, and laying the finished slope after re-checking its interior legs.
#include <algorithm>
#include <cmath>

#include "construction/tool_geometry.h"
#include "engine/overlays.h"

namespace vallorn {

using namespace construction;

namespace {

bool IsSlopeStart(uint8_t kind) {
    return kind == kCellSlopeCentre || kind == kCellLiftLower || kind == kCellLiftUpper;
}

bool CellFree(const TSKIEngine& e, int i, int j) {
    return TSKIEngine::CellInGrid(i, j) && KindOf(e.Cell(i, j)) == kCellFree;
}

// Every sample cell is in the grid and not a slope end obstacle.
bool EndSegmentClear(const TSKIEngine& e, const std::vector<TSKIVector>& samples) {
    for (const TSKIVector& p : samples) {
        int i, j;
        RawCell(p, i, j);
        if (!TSKIEngine::CellInGrid(i, j) || InSet(kSlopeEndObstacles, KindOf(e.Cell(i, j))))
            return false;
    }
    return true;
}

// Every in-grid cell within `reach` cells (a square) of every sample avoids the slope
// obstacles.
bool WideSegmentClear(const TSKIEngine& e, const std::vector<TSKIVector>& samples, int reach) {
    for (const TSKIVector& p : samples) {
        int ci, cj;
        RawCell(p, ci, cj);
        for (int a = ci - reach; a <= ci + reach; ++a) {
            for (int b = cj - reach; b <= cj + reach; ++b) {
                if (!TSKIEngine::CellInGrid(a, b)) continue;
                if (InSet(kSlopeObstacles, KindOf(e.Cell(a, b)))) return false;
            }
        }
    }
    return true;
}

// A new node at the cursor cell; the end cell moves to it. A path that starts on a lift's
// upper station has its first node moved off the station, to the segment's third sample.
void AddNode(TSKIEngine& e, float lift) {
    TSKIVector node = e.CellToWorld(e.CursorI, e.CursorJ, true);
    node.y += lift;
    node.w = e.CursorRadius / 2;
    e.SlopePath.push_back(node);
    e.SlopeEndI = e.CursorI;
    e.SlopeEndJ = e.CursorJ;
    int fi, fj;
    TSKIEngine::WorldToCell(e.SlopePath.front(), fi, fj);
    if (e.Cell(fi, fj).Kind == kCellLiftUpper && e.SlopeSegment.size() > 2) {
        const float width = e.SlopePath.front().w;
        e.SlopePath.front() = e.SlopeSegment[2];
        e.SlopePath.front().w = width;
    }
}

void EndCellToLastNode(TSKIEngine& e) {
    TSKIEngine::WorldToCell(e.SlopePath.back(), e.SlopeEndI, e.SlopeEndJ);
}

// Lays the drawn slope when its interior legs are still clear; the drawing is lost otherwise.
TSKISection* LayDrawnSlope(TSKIEngine& e, const std::vector<TSKIVector>& path,
                           const std::string& name) {
    if (path.size() < 3) return nullptr;
    for (const TSKIVector& p : path)
        if (!e.PositionInGrid(p)) return nullptr;
    for (size_t k = 1; k + 2 < path.size(); ++k) {
        TSKIVector a = path[k], b = path[k + 1];
        a.y = e.TerrainHeight(a);
        b.y = e.TerrainHeight(b);
        for (const TSKIVector& p : SampleLine(e, a, b, 0)) {
            int i, j;
            RawCell(p, i, j);
            if (!TSKIEngine::CellInGrid(i, j)) return nullptr;
            if (InSet(kSlopeObstacles, KindOf(e.Cell(i, j)))) return nullptr;
        }
    }
    TSKISection* slope = e.CreateSlope(path, name);
    if (slope == nullptr) return nullptr;
    RebuildOverlay(e, TSKIOverlay::SlopePaint);
    RebuildOverlay(e, TSKIOverlay::ObjectImprint);
    e.RebuildNavigation();
    e.DisplayFlags &= uint8_t(~kDisplayBlocked);
    RefreshTerrainView(e);
    return slope;
}

}  // namespace

bool TSKIEngine::StartSlopeTool(int i, int j) {
    if (!HasGrid() || !CellInGrid(i, j) || !IsSlopeStart(KindOf(Cell(i, j)))) return false;
    LeaveBuildingTool(*this);
    SlopeEndI = i;
    SlopeEndJ = j;
    SlopePath.clear();
    TSKIVector start = CellToWorld(i, j, true);
    start.w = CursorRadius / 2;
    SlopePath.push_back(start);
    SlopeSegment.clear();
    SlopeSegmentValid = false;
    ConstructionTool = 3;
    DisplayFlags |= kDisplayBlocked;
    RefreshTerrainView(*this);
    return true;
}

namespace construction {

void UpdateSlopeTool(TSKIEngine& e, float dt) {
    if (e.SlopePath.empty()) return;
    const TSKIVector start = e.CellToWorld(e.SlopeEndI, e.SlopeEndJ, true);
    const TSKIVector end = e.CellToWorld(e.CursorI, e.CursorJ, true);
    e.SlopeSegment = SampleLine(e, start, end, 5.0f);
    const uint8_t kind = KindOf(e.CursorCell);
    const bool finishing = IsSlopeStart(kind);
    e.ToolText = finishing ? "Finish slope" : "Draw slope";
    e.ToolTextColor = kToolTextSlopeGreen;
    bool valid = true;
    auto fail = [&](const char* text) {
        e.ToolText = text;
        valid = false;
    };

    const bool endTest = finishing || e.SlopePath.size() == 1;
    if (endTest) {
        if (!EndSegmentClear(e, e.SlopeSegment)) fail("Path blocked!");
    } else if (!WideSegmentClear(e, e.SlopeSegment, int(std::floor(e.CursorRadius / 4)))) {
        fail("Path blocked!");
        if (e.CursorRadius > 8) e.CursorRadius = std::max(8.0f, e.CursorRadius - 8 * dt);
    }
    if (InSet(Kinds({1, 3, 6, 7, 8}), kind)) fail("Path blocked!");
    const float length = SampledLength(e.SlopeSegment);
    if (length < 10) {
        fail("Section too short!");
        if (e.CursorRadius < 30) e.CursorRadius = std::min(30.0f, e.CursorRadius + 8 * dt);
    }
    if (endTest && length > 80) fail("Section too long!");
    const float ceiling = start.y + 13;
    for (const TSKIVector& p : e.SlopeSegment) {
        if (p.y > ceiling) {
            fail("Can not draw uphill!");
            break;
        }
    }
    if (finishing && e.SlopePath.size() == 1) fail("Slope too short!");

    e.SlopeSegmentValid = valid;
    if (!valid) {
        e.ToolTextColor = kToolTextRed;
    } else {
        if (e.CursorRadius < 30) e.CursorRadius = std::min(30.0f, e.CursorRadius + 8 * dt);
        // Automatic nodes along a long, forward segment over free ground.
        const int ci = e.CursorI, cj = e.CursorJ;
        if (kind == kCellFree && length > 30 && CellFree(e, ci - 4, cj) &&
            CellFree(e, ci + 4, cj) && CellFree(e, ci, cj - 4) && CellFree(e, ci, cj + 4)) {
            bool forward = true;
            const size_t n = e.SlopePath.size();
            if (n >= 2) {
                const TSKIVector seg = e.SlopeSegment.back() - e.SlopeSegment.front();
                const TSKIVector leg = e.SlopePath[n - 1] - e.SlopePath[n - 2];
                forward = seg.x * leg.x + seg.y * leg.y + seg.z * leg.z > 0;
            }
            if (forward) AddNode(e, 5.0f);
        }
    }

    // Backtracking: a segment that climbs takes back the last node.
    if (e.SlopePath.size() >= 2 && e.SlopeSegment.size() >= 1 &&
        e.SlopeSegment.back().y > e.SlopeSegment.front().y + 2) {
        e.SlopePath.pop_back();
        EndCellToLastNode(e);
    }
}

void SlopeClick(TSKIEngine& e) {
    if (!e.SlopeSegmentValid || e.SlopePath.empty()) return;
    const uint8_t kind = KindOf(e.CursorCell);
    if (kind == kCellFree) {
        AddNode(e, 0.0f);
        return;
    }
    if (!IsSlopeStart(kind) || e.SlopeSegment.size() < 3) return;
    TSKIVector last = e.SlopeSegment[e.SlopeSegment.size() - 3];
    last.w = e.CursorRadius / 2;
    std::vector<TSKIVector> path = e.SlopePath;
    path.push_back(last);
    const std::string name = "Slope #" + std::to_string(e.Sections.size() + 1);
    e.ConstructionTool = 0;
    HidePreviews(e);
    e.SlopePath.clear();
    LayDrawnSlope(e, path, name);
}

void SlopeBackspace(TSKIEngine& e) {
    if (e.SlopePath.size() < 2) {
        e.ConstructionTool = 0;
        HidePreviews(e);
        e.SlopePath.clear();
        return;
    }
    e.SlopePath.pop_back();
    EndCellToLastNode(e);
}

}  // namespace construction

}  // namespace vallorn
