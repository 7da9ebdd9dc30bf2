// The 3D cursor: where the mouse ray meets the terrain, the snap to lift lines, buildings
// and stations, the brush ring and the cell under the cursor.
#include <algorithm>
#include <cmath>

#include "construction/tool_geometry.h"

namespace vallorn {

using namespace construction;

namespace {

// The nearest cell within `radius` cells (Euclidean distance of indices) whose kind is in
// `set`; the first found wins ties, rows before columns. False when there is none.
bool NearestOfKind(const TSKIEngine& e, int ci, int cj, int radius, uint16_t set, int& bi,
                   int& bj) {
    float best = 1e9f;
    bool found = false;
    for (int a = ci - radius; a <= ci + radius; ++a) {
        for (int b = cj - radius; b <= cj + radius; ++b) {
            if (!TSKIEngine::CellInGrid(a, b)) continue;
            const float d = std::hypot(float(a - ci), float(b - cj));
            if (d > float(radius) || d >= best) continue;
            if (!InSet(set, e.Cell(a, b).Kind)) continue;
            best = d;
            bi = a;
            bj = b;
            found = true;
        }
    }
    return found;
}

}  // namespace

void TSKIConstruction::SetCursorTarget(const TSKIVector& groundPoint) {
    State.CursorTarget = groundPoint;
    State.CursorTarget.w = 1;
    State.CursorTargetSet = true;
}

bool TSKIConstruction::CursorFromRay(const TSKIVector& origin, const TSKIVector& direction) {
    const TSKITerrainMesh& Surface = Engine.Surface;
    if (!Engine.HasGrid() || Surface.Empty()) return false;
    const glm::vec3 d(direction.x, direction.y, direction.z);
    const float len = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    if (!(len > 0)) return false;
    const glm::vec3 dir = d / len;
    const glm::vec3 o(origin.x, origin.y, origin.z);
    // March until the ray goes below the surface, then bisect the last step.
    auto above = [&](float t, bool& hit) {
        const glm::vec3 p = o + dir * t;
        float y;
        hit = Surface.CastDown(p.x, p.z, y);
        return !hit || p.y > y;
    };
    constexpr float kStep = 2.0f;
    constexpr float kReach = 6000.0f;
    float prev = 0;
    for (float t = kStep; t <= kReach; t += kStep) {
        bool hit;
        if (above(t, hit)) {
            prev = t;
            continue;
        }
        float lo = prev, hi = t;
        for (int k = 0; k < 24; ++k) {
            const float mid = 0.5f * (lo + hi);
            bool h;
            (above(mid, h) ? lo : hi) = mid;
        }
        const glm::vec3 p = o + dir * hi;
        SetCursorTarget(TSKIVector(p.x, p.y, p.z, 1));
        return true;
    }
    return false;
}

namespace construction {

// Moves the cursor to the target, snaps it, rebuilds the ring and copies the cell under it.
void UpdateCursor(TSKIConstruction& c) {
    TSKIEngine& e = c.Engine;
    TSKIToolState& t = c.State;
    if (!e.HasGrid()) return;
    if (t.CursorTargetSet) t.CursorPosition = t.CursorTarget;
    int ci, cj;
    TSKIEngine::WorldToCell(t.CursorPosition, ci, cj);
    if (t.CursorSnap) {
        int si = ci, sj = cj;
        bool snapped = NearestOfKind(e, ci, cj, 2, kSnapToLines, si, sj);
        snapped = NearestOfKind(e, ci, cj, 3, kSnapToStations, si, sj) || snapped;
        if (snapped) {
            const TSKIVector p = e.CellToWorld(si, sj, false);
            t.CursorPosition.x = p.x;
            t.CursorPosition.z = p.z;
        }
    }
    t.CursorPosition.y = e.TerrainHeight(t.CursorPosition);
    t.CursorPosition.w = 1;
    TSKIEngine::WorldToCell(t.CursorPosition, t.CursorI, t.CursorJ);
    t.CursorCell = e.Cell(t.CursorI, t.CursorJ);
    for (size_t k = 0; k < t.CursorRing.size(); ++k) {
        const float a = float(k) * 6.2831853f / float(t.CursorRing.size());
        TSKIVector p = t.CursorPosition;
        p.x += std::cos(a) * t.CursorRadius;
        p.z += std::sin(a) * t.CursorRadius;
        p.y = e.TerrainHeight(p) + 2.0f;
        t.CursorRing[k] = p;
    }
}

// Page Down shrinks the brush while above 8, Page Up grows it while below 30 (in the editor
// faster and without the upper bound); the same keys turn the building preview.
void UpdateCursorRadius(TSKIConstruction& c, float dt) {
    TSKIEngine& e = c.Engine;
    TSKIToolState& t = c.State;
    if (t.Input.PageDown) {
        if (t.CursorRadius > 8) t.CursorRadius -= 20 * dt;
        t.BuildingPreviewTurn += 100 * dt;
    }
    if (t.Input.PageUp) {
        if (e.EditorOpen)
            t.CursorRadius += 30 * dt;
        else if (t.CursorRadius < 30)
            t.CursorRadius += 20 * dt;
        t.BuildingPreviewTurn -= 100 * dt;
    }
}

}  // namespace construction
}  // namespace vallorn
