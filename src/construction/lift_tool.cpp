// The lift tool: the line preview from the lower station to the cursor, the pole layout and
// price, the placement rules with their hover texts, and building the lift on a click.
#include <algorithm>
#include <cmath>

#include "base/saturating.h"
#include "construction/tool_geometry.h"
#include "engine/overlays.h"
#include "entities/pole_layout.h"

namespace vallorn {

namespace construction {

std::vector<TSKIVector> SampleLine(const TSKIEngine& e, const TSKIVector& a, const TSKIVector& b,
                                   float lift) {
    const float distance = Distance3(a, b);
    const int count = int(std::floor(distance / kSampleStep)) + 1;
    std::vector<TSKIVector> samples;
    samples.reserve(size_t(count));
    TSKIVector dir(0, 0, 0, 0);
    if (distance > 0) dir = (b - a) / distance;
    for (int k = 0; k < count; ++k) {
        TSKIVector p = a + dir * (kSampleStep * float(k));
        p.w = 1;
        p.y = e.TerrainHeight(p) + lift;
        samples.push_back(p);
    }
    return samples;
}

float SampledLength(const std::vector<TSKIVector>& samples) {
    return samples.size() < 2 ? 0.0f : Distance3(samples.front(), samples.back());
}

const std::string& LiftTypeName(const TSKILiftParams& type) {
    return type.DisplayName.empty() ? type.Name : type.DisplayName;
}

std::vector<TSKIVector> PoleLayout(const TSKIEngine& e, const TSKILiftParams& type,
                                   const TSKIVector& lower, const TSKIVector& upper) {
    if (Distance3(lower, upper) <= 0) return {};
    std::vector<TSKIVector> nodes{lower, upper};
    nodes[0].y = e.TerrainHeight(nodes[0]);
    nodes[1].y = e.TerrainHeight(nodes[1]);
    // The price's layout skips whole samples at each end (the built lift rounds instead).
    LayOutPoles(e, type, nodes, int(std::floor(type.PoleMinDist / kSampleStep)));
    return nodes;
}

int32_t PriceOfLayout(const TSKILiftParams& type, const std::vector<TSKIVector>& nodes) {
    if (nodes.empty() || type.GondoleSpacing <= 0) return 0;
    const double length = Distance3(nodes.front(), nodes.back());
    const double carriers =
        std::floor(2.0 * length / double(type.GondoleSpacing) * double(type.CostPerGondole));
    const double price = carriers + double(nodes.size()) * double(type.CostPerPole);
    return int32_t(std::clamp(price, -2147483648.0, 2147483647.0));
}

// Cells within the corridors of every lift but `ignore`, as the navigation marks them.
TSKIImage OtherCorridors(const TSKIEngine& e, const TSKISection* ignore) {
    TSKIImage img(kGridSide, kGridSide, {255, 255, 255});
    for (const auto& s : e.Sections) {
        if (s->IsSlope() || s.get() == ignore) continue;
        img.DrawLine(s->LowerI, s->LowerJ, s->UpperI, s->UpperJ, {0, 0, 0}, 2);
    }
    return img;
}

bool LowerStationFits(const TSKIEngine& e, int i, int j) {
    if (!e.HasGrid() || !TSKIEngine::CellInGrid(i, j)) return false;
    const uint8_t kind = KindOf(e.Cell(i, j));
    return kind == kCellFree || kind == kCellSlope;
}

bool LiftLineBlocked(const TSKIEngine& e, const TSKILiftParams& type,
                     const std::vector<TSKIVector>& samples, const TSKISection* ignore,
                     uint16_t alsoBlocking) {
    const uint16_t obstacles =
        (type.OnGround ? kSurfaceLiftObstacles : kAerialLiftObstacles) | alsoBlocking;
    TSKIImage corridors;
    for (const TSKIVector& p : samples) {
        int i, j;
        RawCell(p, i, j);
        if (!TSKIEngine::CellInGrid(i, j)) return true;
        const TerrainCell& c = e.Cell(i, j);
        if (ignore == nullptr) {
            if (InSet(obstacles, KindOf(c)) || c.UnderLift) return true;
            continue;
        }
        // As if `ignore` were gone: its own cells are free and its corridor is no obstacle.
        if (e.SectionByIndex(c.Section) != ignore && InSet(obstacles, KindOf(c))) return true;
        if (c.UnderLift) {
            if (corridors.Empty()) corridors = OtherCorridors(e, ignore);
            if (corridors.Get(i, j).r != 255) return true;
        }
    }
    return false;
}

}  // namespace construction

using namespace construction;

int32_t LiftPrice(const TSKIEngine& e, int lowerI, int lowerJ, int upperI, int upperJ,
                  uint8_t liftType) {
    if (!e.HasGrid() || liftType >= kLiftTypeCount) return 0;
    if (!TSKIEngine::CellInGrid(lowerI, lowerJ) || !TSKIEngine::CellInGrid(upperI, upperJ))
        return 0;
    const TSKILiftParams& type = e.Params.Lifts[liftType];
    return PriceOfLayout(type, PoleLayout(e, type, e.CellToWorld(lowerI, lowerJ, true),
                                          e.CellToWorld(upperI, upperJ, true)));
}

bool LiftUnlocked(const TSKIEngine& e, uint8_t type) {
    return type < kLiftTypeCount && (!CampaignLocks(e) || e.Profile.UnlockedLifts[type]);
}

bool TSKIConstruction::StartLiftTool(int i, int j, uint8_t liftType) {
    TSKIEngine& e = Engine;
    if (liftType >= kLiftTypeCount || !LowerStationFits(e, i, j)) return false;
    LeaveBuildingTool(*this);
    State.LowerI = i;
    State.LowerJ = j;
    State.LiftType = liftType;
    State.Tool = TSKITool::Lift;
    ShowLayer(e.Display(), kDisplayBlocked, true);
    RefreshTerrainView(e);
    return true;
}

namespace construction {

std::string LiftPlacementError(const TSKIEngine& e, int lowerI, int lowerJ, int upperI, int upperJ,
                               uint8_t liftType, const std::vector<TSKIVector>& line,
                               int32_t price) {
    const TSKILiftParams& type = e.Params.Lifts[liftType];
    std::string error;  // later failures overwrite earlier ones
    const float length = SampledLength(line);
    if (LiftLineBlocked(e, type, line, nullptr)) error = "Invalid location!";
    if (length < 2 * type.PoleMinDist) error = "Lift too short!";
    if (e.Park.ParkCash < price) error = "Not enough money! (" + FormatMoney(price) + ")";
    if (length > type.MaxLength) error = "Lift too long!";
    const uint8_t upperKind = KindOf(e.Cell(upperI, upperJ));
    if (upperKind >= kCellSlopeCentre && upperKind <= kCellBuilding) error = "Invalid location!";
    (void)lowerI;
    (void)lowerJ;
    return error;
}

// The lift tool's frame: preview, price, warnings and errors.
void UpdateLiftTool(TSKIConstruction& c) {
    TSKIEngine& e = c.Engine;
    TSKIToolState& t = c.State;
    const TSKILiftParams& type = e.Params.Lifts[t.LiftType];
    const TSKIVector lower = e.CellToWorld(t.LowerI, t.LowerJ, true);
    const TSKIVector upper = e.CellToWorld(t.CursorI, t.CursorJ, true);
    t.LiftLinePreview = SampleLine(e, lower, upper, 5.0f);
    t.LiftPoleNodes = PoleLayout(e, type, lower, upper);
    const int32_t price = PriceOfLayout(type, t.LiftPoleNodes);
    t.LiftPolesVisible = true;
    t.ToolText = "Place upper station (Price:" + FormatMoney(price) + ")";
    t.ToolTextColor = kToolTextLiftGreen;

    const float lowerHeight = lower.y;
    for (const TSKIVector& p : t.LiftLinePreview) {
        if (p.y < lowerHeight + 5.0f) {
            t.ToolText = "Warning! Lift runs downhill! (Price:" + std::to_string(price) + ",-)";
            break;
        }
    }
    if (e.Cell(t.LowerI, t.LowerJ).Height > t.CursorCell.Height) {
        t.ToolText =
            "Warning! Upper station is lower than lower station! (Price:" + std::to_string(price) +
            ",-)";
    }

    const std::string error = LiftPlacementError(e, t.LowerI, t.LowerJ, t.CursorI, t.CursorJ,
                                                 t.LiftType, t.LiftLinePreview, price);
    if (!error.empty()) {
        t.ToolText = error;
        t.ToolTextColor = kToolTextRed;
        t.LiftPolesVisible = false;
    }
    if (t.LiftPolesVisible) {
        t.StationMarkers[0] = lower;
        t.StationMarkers[0].y += type.StationHeight;
        t.StationMarkers[1] = upper;
        t.StationMarkers[1].y += type.StationHeight;
    }
}

// The record of a newly built lift: open, the type's default ticket price, filling.
TSKILiftRecord NewLiftRecord(const TSKILiftParams& type, uint8_t liftType, int32_t price) {
    TSKILiftRecord record;
    record.LiftType = liftType;
    record.Status = kLiftOpen;
    record.TicketPrice = uint16_t(std::clamp<int32_t>(type.DefaultPrice, 0, 65535));
    record.InvestedMoney = price;
    record.Filling = true;
    return record;
}

// Lays a new lift between two cells whose line has passed its tests, names it, rebuilds the
// navigation, tells the objectives and charges the price.
TSKISection* CreateNewLift(TSKIEngine& e, int lowerI, int lowerJ, int upperI, int upperJ,
                           uint8_t liftType, int32_t price) {
    const TSKILiftParams& type = e.Params.Lifts[liftType];
    const std::string name = LiftTypeName(type) + " #" + std::to_string(e.Sections.size() + 1);
    TSKISection* lift =
        e.CreateLift(lowerI, lowerJ, upperI, upperJ, NewLiftRecord(type, liftType, price));
    if (lift == nullptr) return nullptr;
    lift->Name = name;
    e.RebuildNavigation();
    if (e.OnBuilt) e.OnBuilt(kBuiltLift, liftType);
    ShowLayer(e.Display(), kDisplayBlocked, false);
    RefreshTerrainView(e);
    TakeFrom(e.Park.ParkCash, LiftPrice(e, lowerI, lowerJ, upperI, upperJ, liftType));
    e.Display().HighlightChanged(e);
    return lift;
}

}  // namespace construction

TSKISection* BuildLift(TSKIEngine& e, int lowerI, int lowerJ, int upperI, int upperJ,
                       uint8_t liftType) {
    if (!e.HasGrid() || liftType >= kLiftTypeCount) return nullptr;
    if (!TSKIEngine::CellInGrid(lowerI, lowerJ) || !TSKIEngine::CellInGrid(upperI, upperJ))
        return nullptr;
    const std::vector<TSKIVector> line =
        SampleLine(e, e.CellToWorld(lowerI, lowerJ, true), e.CellToWorld(upperI, upperJ, true), 5);
    const int32_t price = LiftPrice(e, lowerI, lowerJ, upperI, upperJ, liftType);
    if (!LiftPlacementError(e, lowerI, lowerJ, upperI, upperJ, liftType, line, price).empty())
        return nullptr;
    return CreateNewLift(e, lowerI, lowerJ, upperI, upperJ, liftType, price);
}

}  // namespace vallorn
