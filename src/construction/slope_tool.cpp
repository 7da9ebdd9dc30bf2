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

// The first sample cell off the grid or on a slope end obstacle; false when there is none.
bool EndSegmentObstacle(const TSKIEngine& e, const std::vector<TSKIVector>& samples, int& oi,
                        int& oj) {
    for (const TSKIVector& p : samples) {
        RawCell(p, oi, oj);
        if (!TSKIEngine::CellInGrid(oi, oj) || InSet(kSlopeEndObstacles, KindOf(e.Cell(oi, oj))))
            return true;
    }
    return false;
}

// How many cells around every sample (a square, in-grid cells only) are clear of the slope
// obstacles, up to `reach`: the nearest obstacle's distance less one. The nearest obstacle's
// cell is kept for the reason.
int ClearReach(const TSKIEngine& e, const std::vector<TSKIVector>& samples, int reach, int& oi,
               int& oj) {
    int clear = reach;
    for (const TSKIVector& p : samples) {
        int ci, cj;
        RawCell(p, ci, cj);
        for (int a = ci - clear; a <= ci + clear; ++a) {
            for (int b = cj - clear; b <= cj + clear; ++b) {
                if (!TSKIEngine::CellInGrid(a, b)) continue;
                if (!InSet(kSlopeObstacles, KindOf(e.Cell(a, b)))) continue;
                const int d = std::max(std::abs(a - ci), std::abs(b - cj));
                if (d > clear) continue;
                clear = d - 1;
                oi = a;
                oj = b;
                if (clear < 0) return clear;
            }
        }
    }
    return clear;
}

// Blocked ground that is steep: the rise to a neighbour exceeds the level's threshold.
bool SteepCell(const TSKIEngine& e, int i, int j) {
    const float h = e.Cell(i, j).Height;
    const int di[4] = {-1, 1, 0, 0}, dj[4] = {0, 0, -1, 1};
    for (int k = 0; k < 4; ++k) {
        if (!TSKIEngine::CellInGrid(i + di[k], j + dj[k])) continue;
        const float rise = std::fabs(e.Cell(i + di[k], j + dj[k]).Height - h);
        if (rise * e.Level.Scale.y > e.Level.BlockThreshold) return true;
    }
    return false;
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

// The segment's end lies more than 2 units above its start.
bool Climbs(const std::vector<TSKIVector>& segment) {
    return !segment.empty() && segment.back().y > segment.front().y + 2;
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
    ShowLayer(e.Display(), kDisplayBlocked, false);
    RefreshTerrainView(e);
    e.Display().HighlightChanged(e);
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
    ShowLayer(e.Display(), kDisplayBlocked, true);
    RefreshTerrainView(e);
    return true;
}

namespace construction {

std::string SlopeObstacleReason(const TSKIEngine& e, int i, int j) {
    if (!TSKIEngine::CellInGrid(i, j)) return "Off the map";
    const TerrainCell& c = e.Cell(i, j);
    switch (KindOf(c)) {
        case kCellSlope:
        case kCellSlopeCentre:
            return "Another slope is in the way";
        case kCellOccupied:
            if (!c.Blocked) return "A building is in the way";
            return SteepCell(e, i, j) ? "The ground is too steep" : "Blocked terrain";
        case kCellLiftLower:
        case kCellLiftUpper:
            return "A lift station is in the way";
        case kCellUnderLift:
            return "A lift is in the way";
        case kCellRoad:
            return "A road is in the way";
        case kCellBuilding:
            return "A building is in the way";
        default:
            return "";
    }
}

TSKISlopeVerdict JudgeSlopeSegment(const TSKIEngine& e, const TSKIToolState& t, int ci, int cj) {
    TSKISlopeVerdict v;
    if (t.SlopePath.empty() || !e.HasGrid() || !TSKIEngine::CellInGrid(ci, cj)) {
        v.Text = "Path blocked!\n" + SlopeObstacleReason(e, ci, cj);
        return v;
    }
    const TSKIVector start = e.CellToWorld(t.SlopeEndI, t.SlopeEndJ, true);
    v.Segment = SampleLine(e, start, e.CellToWorld(ci, cj, true), 5.0f);
    const uint8_t kind = KindOf(e.Cell(ci, cj));
    v.Finishing = IsSlopeStart(kind);
    v.Text = v.Finishing ? "Finish slope" : "Draw slope";
    v.Valid = true;
    auto fail = [&](std::string text) {
        v.Text = std::move(text);
        v.Valid = false;
    };
    auto blocked = [&](int i, int j) { fail("Path blocked!\n" + SlopeObstacleReason(e, i, j)); };

    // The first and the last segment need clear cells under the line only; the others keep
    // the slope's width clear. The width is judged at the narrowest brush, so that the verdict
    // does not follow the brush as it grows and falls back.
    int oi = 0, oj = 0;
    if (v.Finishing || t.SlopePath.size() == 1) {
        if (EndSegmentObstacle(e, v.Segment, oi, oj)) blocked(oi, oj);
    } else {
        v.WidthTested = true;
        const int narrowest = int(std::floor(std::min(t.CursorRadius, kSlopeNarrowestRadius) / 4));
        const int widest =
            std::max(int(std::floor(t.CursorRadius / 4)), int(std::floor(kSlopeWidestRadius / 4)));
        v.WidestReach = ClearReach(e, v.Segment, widest, oi, oj);
        v.TooNarrow = v.WidestReach < narrowest;
        if (v.TooNarrow) blocked(oi, oj);
    }
    if (InSet(Kinds({1, 3, 6, 7, 8}), kind)) blocked(ci, cj);
    v.Length = SampledLength(v.Segment);
    if (v.Length < 10) {
        fail("Section too short!");
        v.TooShort = true;
    }
    if ((v.Finishing || t.SlopePath.size() == 1) && v.Length > 80) fail("Section too long!");
    const float ceiling = start.y + 13;
    for (const TSKIVector& p : v.Segment) {
        if (p.y > ceiling) {
            fail("Can not draw uphill!");
            break;
        }
    }
    if (v.Finishing && t.SlopePath.size() == 1) fail("Slope too short!");
    return v;
}

namespace {

void ShowVerdict(TSKIToolState& t, TSKISlopeVerdict& v) {
    t.SlopeSegment = std::move(v.Segment);
    t.ToolText = std::move(v.Text);
    t.ToolTextColor = v.Valid ? kToolTextSlopeGreen : kToolTextRed;
    t.SlopeSegmentValid = v.Valid;
}

}  // namespace

void UpdateSlopeSegment(TSKIConstruction& c, int ci, int cj, float dt) {
    TSKIEngine& e = c.Engine;
    TSKIToolState& t = c.State;
    if (t.SlopePath.empty() || !TSKIEngine::CellInGrid(ci, cj)) return;
    TSKISlopeVerdict v = JudgeSlopeSegment(e, t, ci, cj);
    const bool finishing = v.Finishing, climbs = Climbs(v.Segment);
    const bool valid = v.Valid, widthTested = v.WidthTested;
    const int widestReach = v.WidestReach;
    const float length = v.Length;
    float& radius = t.CursorRadius;
    if (v.TooNarrow && radius > 8) radius = std::max(8.0f, radius - 8 * dt);
    if (v.TooShort && radius < 30) radius = std::min(30.0f, radius + 8 * dt);
    ShowVerdict(t, v);

    if (valid) {
        // The brush takes the widest width the segment clears: it falls back at once and grows
        // by 8 a second up to 30, never past that width.
        if (widthTested) {
            const float fits = 4.0f * float(widestReach + 1) - 0.01f;
            radius = std::min(radius, fits);
            if (radius < 30) radius = std::min({30.0f, radius + 8 * dt, fits});
        } else if (radius < 30) {
            radius = std::min(30.0f, radius + 8 * dt);
        }
        // Automatic nodes along a long, forward segment over free ground.
        const uint8_t kind = KindOf(e.Cell(ci, cj));
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

    // Backtracking: a segment that climbs takes back the last node, and the segment from the
    // node now last is shown, the one a click acts on. A segment that ends where the slope
    // finishes keeps its nodes: a station or slope a little above the last node is reached,
    // not backed away from (the uphill limit still holds).
    if (t.SlopePath.size() >= 2 && !finishing && climbs) {
        t.SlopePath.pop_back();
        EndCellToLastNode(t);
        TSKISlopeVerdict now = JudgeSlopeSegment(e, t, ci, cj);
        ShowVerdict(t, now);
    }
}

void SlopeClickAt(TSKIConstruction& c, int i, int j) {
    TSKIEngine& e = c.Engine;
    TSKIToolState& t = c.State;
    if (!t.SlopeSegmentValid || t.SlopePath.empty() || !TSKIEngine::CellInGrid(i, j)) return;
    const uint8_t kind = KindOf(e.Cell(i, j));
    if (kind == kCellFree) {
        // An automatic node may already stand there, from this very frame.
        if (i != t.SlopeEndI || j != t.SlopeEndJ) AddNode(c, i, j, 0.0f);
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
