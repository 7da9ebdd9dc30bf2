// Geometry shared by the construction tools: line samples over the terrain, cell tests and
// the kind sets the placement rules use.
#pragma once

#include <cmath>
#include <string>
#include <vector>

#include "construction/construction.h"
#include "engine/engine.h"

namespace vallorn::construction {

// A bit per cell kind.
constexpr uint16_t KindBit(uint8_t kind) {
    return uint16_t(1u << kind);
}
constexpr uint16_t Kinds(std::initializer_list<uint8_t> kinds) {
    uint16_t m = 0;
    for (uint8_t k : kinds) m |= KindBit(k);
    return m;
}
constexpr uint16_t kSurfaceLiftObstacles = Kinds({1, 2, 3, 4, 5, 6, 7, 8});
constexpr uint16_t kAerialLiftObstacles = Kinds({3, 4, 5, 6, 8});
constexpr uint16_t kSlopeEndObstacles = Kinds({3, 7, 8});
constexpr uint16_t kSlopeObstacles = Kinds({1, 2, 3, 6, 7, 8});
constexpr uint16_t kSnapToLines = Kinds({6, 8});
constexpr uint16_t kSnapToStations = Kinds({2, 4, 5});
// The kind the placement rules see: blocked ground counts as occupied even before the
// occupancy rebuild has turned it into kind 3 (a freshly loaded level).
inline uint8_t KindOf(const TerrainCell& c) {
    return c.Blocked && c.Kind == kCellFree ? uint8_t(kCellOccupied) : c.Kind;
}
inline bool InSet(uint16_t set, uint8_t kind) {
    return kind < 16 && (set & KindBit(kind)) != 0;
}

constexpr float kSampleStep = 4.0f;

// The cell of a world point without clamping, so that points beyond the edge are outside.
inline void RawCell(const TSKIVector& p, int& i, int& j) {
    const double fi = std::floor(-double(p.x) / kCellSize + 0.5);
    const double fj = std::floor(double(p.z) / kCellSize + 0.5);
    i = (fi == fi && std::fabs(fi) < 1e6) ? int(fi) : -1000000;
    j = (fj == fj && std::fabs(fj) < 1e6) ? int(fj) : -1000000;
}

inline float Distance3(const TSKIVector& a, const TSKIVector& b) {
    const float dx = b.x - a.x, dy = b.y - a.y, dz = b.z - a.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// Samples from `a` toward `b` every 4 units along the 3D direction, floor(distance / 4) + 1
// of them, each put at the terrain height + `lift`.
std::vector<TSKIVector> SampleLine(const TSKIEngine& e, const TSKIVector& a, const TSKIVector& b,
                                   float lift);
// Distance between the first and the last sample (0 for fewer than two).
float SampledLength(const std::vector<TSKIVector>& samples);

// The pole layout of a lift between two station points: stations and poles, heights added
// (none when the layout was abandoned). Empty when the stations coincide.
std::vector<TSKIVector> PoleLayout(const TSKIEngine& e, const TSKILiftParams& type,
                                   const TSKIVector& lower, const TSKIVector& upper);
int32_t PriceOfLayout(const TSKILiftParams& type, const std::vector<TSKIVector>& nodes);

// Whether a lift line (samples) of the type crosses an obstacle of its kind set (and of
// `alsoBlocking`), a lift corridor or leaves the grid. With `ignore`, as if that lift were
// already gone.
bool LiftLineBlocked(const TSKIEngine& e, const TSKILiftParams& type,
                     const std::vector<TSKIVector>& samples, const TSKISection* ignore,
                     uint16_t alsoBlocking = 0);
// The placement rules of a lift, later failures overwriting earlier ones; empty when it may
// be built. `line` is the line preview between the stations.
std::string LiftPlacementError(const TSKIEngine& e, int lowerI, int lowerJ, int upperI, int upperJ,
                               uint8_t liftType, const std::vector<TSKIVector>& line,
                               int32_t price);
TSKILiftRecord NewLiftRecord(const TSKILiftParams& type, uint8_t liftType, int32_t price);
// Lays a new lift that passed its tests: named, navigation rebuilt, objectives told, charged.
TSKISection* CreateNewLift(TSKIEngine& e, int lowerI, int lowerJ, int upperI, int upperJ,
                           uint8_t liftType, int32_t price);

// The name shown for a lift type: its `LiftName`, or the section name when that is empty.
const std::string& LiftTypeName(const TSKILiftParams& type);

// The building tool and "Skier info" each hold the cursor snap off and keep the player's own
// snap in their own variable; whichever ends last gives it back.
inline bool SkierInfoOn(const TSKIEngine& e) {
    return LayerShown(e.Display(), kDisplaySkierInfo);
}
inline void GiveBackBuildingToolSnap(TSKIConstruction& c) {
    if (!SkierInfoOn(c.Engine)) c.State.CursorSnap = c.State.SavedCursorSnap;
}

// Another tool replaces the building tool: the cursor snap it switched off comes back.
inline void LeaveBuildingTool(TSKIConstruction& c) {
    if (c.State.Tool != TSKITool::Building) return;
    GiveBackBuildingToolSnap(c);
    c.State.BuildingPreviewVisible = false;
}

// Per-frame cursor work (cursor.cpp).
void UpdateCursor(TSKIConstruction& c);
void UpdateCursorRadius(TSKIConstruction& c, float dt);
// The frame of each tool (lift_tool.cpp, slope_tool.cpp, building_tool.cpp, brushes.cpp).
void UpdateLiftTool(TSKIConstruction& c);
// The slope tool judges the segment from the last node to a cell (the cursor's, or the one
// a slope action names): validity, hover text, automatic nodes and backtracking.
void UpdateSlopeSegment(TSKIConstruction& c, int i, int j, float dt);
// The slope tool's verdict on the segment from the path's end cell to a cell. It depends on
// the park, the path, the cell and (below a radius of 8) the brush, never on earlier frames,
// so a cursor that stands still gets the same verdict and text every frame.
struct TSKISlopeVerdict {
    std::vector<TSKIVector> Segment;  // from the end cell to the cell, terrain + 5
    bool Valid = false;
    bool Finishing = false;    // the cell is a slope centre line or a lift station
    bool WidthTested = false;  // a middle segment, tested over the slope's width
    bool TooNarrow = false;    // blocked within the narrowest width
    bool TooShort = false;     // "Section too short!"
    int WidestReach = 0;       // cells around the line that are clear (width-tested segments)
    float Length = 0;
    std::string Text;  // the hover text; "Path blocked!" carries its reason on a second line
};
// The narrowest brush the tool falls back to: a segment is judged over floor(min(radius, 8)
// / 4) cells on each side, and the brush then takes the widest width the segment clears.
constexpr float kSlopeNarrowestRadius = 8.0f;
constexpr float kSlopeWidestRadius = 30.0f;
TSKISlopeVerdict JudgeSlopeSegment(const TSKIEngine& e, const TSKIToolState& t, int i, int j);
// Why a slope may not pass over a cell (its second hover line), "" when it may.
std::string SlopeObstacleReason(const TSKIEngine& e, int i, int j);
// A click of the slope tool on a cell: a node on free ground, or the finished slope laid.
void SlopeClickAt(TSKIConstruction& c, int i, int j);
void SlopeBackspace(TSKIConstruction& c);
void UpdateBuildingTool(TSKIConstruction& c);
void BuildingClick(TSKIConstruction& c);
void UpdateAreaTool(TSKIConstruction& c);
void AreaClick(TSKIConstruction& c);
void UpdateTreeTool(TSKIConstruction& c);
void PlantTreesAtCursor(TSKIConstruction& c);
void UpdateEditorBrush(TSKIConstruction& c);
void UpdateHouseTool(TSKIConstruction& c);
void HouseClick(TSKIConstruction& c);
void UpdateNoTool(TSKIConstruction& c, float dt);
// Hides every preview.
void HidePreviews(TSKIToolState& t);

// The rules a tool's hover and click and the matching player action share.
// A tree fits on a cell without one whose 7 x 7 block is free (blocked ground counts as
// occupied) and not under a lift.
bool TreeFits(const TSKIEngine& e, int i, int j);
// A lift's lower station goes on free ground or on a slope.
bool LowerStationFits(const TSKIEngine& e, int i, int j);
// A target cell lies within reach of the garage for its area of operations.
bool AreaInReach(const TSKIEngine& e, const TSKIBuilding& garage, int i, int j);
// Sets a snowcat garage's area of operations to a cell; the snow view is switched off and the
// artificial snow redrawn as after the area tool.
void SetAreaOfOperations(TSKIEngine& e, TSKIBuilding& garage, int i, int j);

}  // namespace vallorn::construction
