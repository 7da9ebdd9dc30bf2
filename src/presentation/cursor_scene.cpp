// The construction cursor's ring and the tools' previews: the lift line with its poles and
// station ghosts, the slope being drawn, a garage's area line and the building being placed.
#include <algorithm>

#include "presentation/scene_impl.h"

namespace vallorn {
namespace {

constexpr TShapeColor kRingColor{255, 255, 255, 255};
constexpr TShapeColor kInvalidColor{235, 40, 30, 255};
constexpr TShapeColor kLiftColor{0, 204, 0, 255};
constexpr TShapeColor kSlopeNodeColor{0, 255, 0, 255};
constexpr TShapeColor kSlopeValidColor{255, 230, 0, 255};
constexpr TShapeColor kAreaColor{60, 120, 255, 255};

bool IsRed(const TSKIColor& c) {
    return c == kToolTextRed;
}

void Strip(TScenePrimitives& lines, const std::vector<TSKIVector>& points, TShapeColor color,
           float lift) {
    for (size_t k = 1; k < points.size(); ++k) {
        lines.Line(Vec3(points[k - 1]) + glm::vec3(0, lift, 0),
                   Vec3(points[k]) + glm::vec3(0, lift, 0), color);
    }
}

gl::TInstance Ghost(const glm::vec3& p, float yaw) {
    gl::TInstance k;
    k.X = p.x;
    k.Y = p.y;
    k.Z = p.z;
    k.Yaw = yaw;
    return k;
}

}  // namespace

void TSKISceneRenderer::TImpl::CollectTools(const TSKIEngine& engine, const TSKIToolState& t) {
    ToolLines.Clear();
    PreviewPoles.clear();
    PreviewStations.clear();
    PreviewBuilding.clear();
    PreviewLiftType = PreviewBuildingType = -1;
    if (t.Tool == TSKITool::None || IsRideMode(t.Tool)) return;
    const bool invalid = IsRed(t.ToolTextColor);

    // The ring around the cursor, closed.
    const TShapeColor ring = invalid ? kInvalidColor : kRingColor;
    for (size_t k = 0; k < t.CursorRing.size(); ++k) {
        ToolLines.Line(Vec3(t.CursorRing[k]), Vec3(t.CursorRing[(k + 1) % t.CursorRing.size()]),
                       ring);
    }
    const glm::vec3 centre = Vec3(t.CursorPosition);
    ToolLines.Line(centre, centre + glm::vec3(0, 4.0f, 0), ring);

    switch (t.Tool) {
        case TSKITool::Lift: {
            Strip(ToolLines, t.LiftLinePreview, invalid ? kInvalidColor : kLiftColor, 0.0f);
            if (!t.LiftPolesVisible || t.LiftType >= kLiftTypeCount) break;
            PreviewLiftType = t.LiftType;
            const std::vector<TSKIVector>& nodes = t.LiftPoleNodes;
            if (nodes.size() < 2) break;
            const float yaw =
                YawOf(nodes.back().x - nodes.front().x, nodes.back().z - nodes.front().z);
            for (size_t k = 1; k + 1 < nodes.size(); ++k)
                PreviewPoles.push_back(Ghost(Vec3(nodes[k]), yaw));
            for (const TSKIVector& marker : t.StationMarkers)
                PreviewStations.push_back(Ghost(Vec3(marker), yaw));
            break;
        }
        case TSKITool::Slope: {
            Strip(ToolLines, t.SlopePath, kSlopeNodeColor, 1.0f);
            for (const TSKIVector& node : t.SlopePath)
                ToolLines.Line(Vec3(node), Vec3(node) + glm::vec3(0, 3.0f, 0), kSlopeNodeColor);
            Strip(ToolLines, t.SlopeSegment, t.SlopeSegmentValid ? kSlopeValidColor : kInvalidColor,
                  0.0f);
            break;
        }
        case TSKITool::Area:
            if (t.AreaLineVisible) Strip(ToolLines, t.AreaLine, kAreaColor, 0.0f);
            break;
        case TSKITool::Building:
            if (t.BuildingPreviewVisible && t.BuildingPreview.Type < kBuildingTypeCount) {
                PreviewBuildingType = t.BuildingPreview.Type;
                const TSKIVector& d = t.BuildingPreview.Direction;
                PreviewBuilding.push_back(Ghost(Vec3(t.BuildingPreview.Position), YawOf(d.x, d.z)));
            }
            break;
        default:
            break;
    }
    (void)engine;
}

}  // namespace vallorn
