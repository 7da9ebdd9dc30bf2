// The slope tool: the segment from the last drawn node to the cursor, its width and
// direction tests, automatic nodes, backtracking, the click that adds a node or finishes the
// slope, Backspace, and laying the finished slope after re-checking its interior legs.
#include <algorithm>
#include <cmath>

#include "construction/tool_geometry.h"
#include "engine/highlight.h"
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

// A new node at a cell; the end cell moves to it. A path that starts on a lift's upper
// station has its first node moved off the station, to the segment's third sample.
void AddNode(TSKIConstruction& c, int i, int j, float lift) {
    TSKIEngine& e = c.Engine;
    TSKIToolState& t = c.State;
    TSKIVector node = e.CellToWorld(i, j, true);
    node.y += lift;
    node.w = t.CursorRadius / 2;
    t.SlopePath.push_back(node);
    t.SlopeEndI = i;
    t.SlopeEndJ = j;
    int fi, fj;
    TSKIEngine::WorldToCell(t.SlopePath.front(), fi, fj);
    if (e.Cell(fi, fj).Kind == kCellLiftUpper && t.SlopeSegment.size() > 2) {
        const float width = t.SlopePath.front().w;
        t.SlopePath.front() = t.SlopeSegment[2];
        t.SlopePath.front().w = width;
    }
}

void EndCellToLastNode(TSKIToolState& t) {
    TSKIEngine::WorldToCell(t.SlopePath.back(), t.SlopeEndI, t.SlopeEndJ);
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
    RefreshHighlight(e);
    return slope;
}

}  // namespace

bool TSKIConstruction::StartSlopeTool(int i, int j) {
    TSKIEngine& e = Engine;
    TSKIToolState& t = State;
    if (!e.HasGrid() || !TSKIEngine::CellInGrid(i, j) || !IsSlopeStart(KindOf(e.Cell(i, j))))
        return false;
    LeaveBuildingTool(*this);
    t.SlopeEndI = i;
    t.SlopeEndJ = j;
    t.SlopePath.clear();
    TSKIVector start = e.CellToWorld(i, j, true);
    start.w = t.CursorRadius / 2;
    t.SlopePath.push_back(start);
    t.SlopeSegment.clear();
    t.SlopeSegmentValid = false;
    t.Tool = TSKITool::Slope;
    e.DisplayFlags |= kDisplayBlocked;
    RefreshTerrainView(e);
    return true;
}

namespace construction {

void UpdateSlopeSegment(TSKIConstruction& c, int ci, int cj, float dt) {
    TSKIEngine& e = c.Engine;
    TSKIToolState& t = c.State;
    if (t.SlopePath.empty() || !TSKIEngine::CellInGrid(ci, cj)) return;
    const TSKIVector start = e.CellToWorld(t.SlopeEndI, t.SlopeEndJ, true);
    const TSKIVector end = e.CellToWorld(ci, cj, true);
    t.SlopeSegment = SampleLine(e, start, end, 5.0f);
    const uint8_t kind = KindOf(e.Cell(ci, cj));
    const bool finishing = IsSlopeStart(kind);
    t.ToolText = finishing ? "Finish slope" : "Draw slope";
    t.ToolTextColor = kToolTextSlopeGreen;
    bool valid = true;
    auto fail = [&](const char* text) {
        t.ToolText = text;
        valid = false;
    };

    const bool endTest = finishing || t.SlopePath.size() == 1;
    if (endTest) {
        if (!EndSegmentClear(e, t.SlopeSegment)) fail("Path blocked!");
    } else if (!WideSegmentClear(e, t.SlopeSegment, int(std::floor(t.CursorRadius / 4)))) {
        fail("Path blocked!");
        if (t.CursorRadius > 8) t.CursorRadius = std::max(8.0f, t.CursorRadius - 8 * dt);
    }
    if (InSet(Kinds({1, 3, 6, 7, 8}), kind)) fail("Path blocked!");
    const float length = SampledLength(t.SlopeSegment);
    if (length < 10) {
        fail("Section too short!");
        if (t.CursorRadius < 30) t.CursorRadius = std::min(30.0f, t.CursorRadius + 8 * dt);
    }
    if (endTest && length > 80) fail("Section too long!");
    const float ceiling = start.y + 13;
    for (const TSKIVector& p : t.SlopeSegment) {
        if (p.y > ceiling) {
            fail("Can not draw uphill!");
            break;
        }
    }
    if (finishing && t.SlopePath.size() == 1) fail("Slope too short!");

    t.SlopeSegmentValid = valid;
    if (!valid) {
        t.ToolTextColor = kToolTextRed;
    } else {
        if (t.CursorRadius < 30) t.CursorRadius = std::min(30.0f, t.CursorRadius + 8 * dt);
        // Automatic nodes along a long, forward segment over free ground.
        if (kind == kCellFree && length > 30 && CellFree(e, ci - 4, cj) &&
            CellFree(e, ci + 4, cj) && CellFree(e, ci, cj - 4) && CellFree(e, ci, cj + 4)) {
            bool forward = true;
            const size_t n = t.SlopePath.size();
            if (n >= 2) {
                const TSKIVector seg = t.SlopeSegment.back() - t.SlopeSegment.front();
                const TSKIVector leg = t.SlopePath[n - 1] - t.SlopePath[n - 2];
                forward = seg.x * leg.x + seg.y * leg.y + seg.z * leg.z > 0;
            }
            if (forward) AddNode(c, ci, cj, 5.0f);
        }
    }

    // Backtracking: a segment that climbs takes back the last node.
    if (t.SlopePath.size() >= 2 && t.SlopeSegment.size() >= 1 &&
        t.SlopeSegment.back().y > t.SlopeSegment.front().y + 2) {
        t.SlopePath.pop_back();
        EndCellToLastNode(t);
    }
}

void SlopeClickAt(TSKIConstruction& c, int i, int j) {
    TSKIEngine& e = c.Engine;
    TSKIToolState& t = c.State;
    if (!t.SlopeSegmentValid || t.SlopePath.empty() || !TSKIEngine::CellInGrid(i, j)) return;
    const uint8_t kind = KindOf(e.Cell(i, j));
    if (kind == kCellFree) {
        AddNode(c, i, j, 0.0f);
        return;
    }
    if (!IsSlopeStart(kind) || t.SlopeSegment.size() < 3) return;
    TSKIVector last = t.SlopeSegment[t.SlopeSegment.size() - 3];
    last.w = t.CursorRadius / 2;
    std::vector<TSKIVector> path = t.SlopePath;
    path.push_back(last);
    const std::string name = "Slope #" + std::to_string(e.Sections.size() + 1);
    t.Tool = TSKITool::None;
    HidePreviews(t);
    t.SlopePath.clear();
    LayDrawnSlope(e, path, name);
}

void SlopeBackspace(TSKIConstruction& c) {
    TSKIToolState& t = c.State;
    if (t.SlopePath.size() < 2) {
        t.Tool = TSKITool::None;
        HidePreviews(t);
        t.SlopePath.clear();
        return;
    }
    t.SlopePath.pop_back();
    EndCellToLastNode(t);
}

}  // namespace construction

}  // namespace vallorn
