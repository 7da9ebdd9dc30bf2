// When an objective is met, and when a completed reversible one stops being met.
#include <cmath>

#include "missions/objective_texts.h"

namespace vallorn {

namespace {

constexpr int kNearCells = 5;  // "near a place": within 5 cells in both directions

// Some cell within 5 cells of (i, j), inside the grid, has a skier on it.
bool SkiersNear(const TSKIEngine& engine, int i, int j) {
    if (!engine.HasGrid()) return false;
    for (int a = i - kNearCells; a <= i + kNearCells; ++a) {
        for (int b = j - kNearCells; b <= j + kNearCells; ++b) {
            if (TSKIWorld::CellInGrid(a, b) && engine.Cell(a, b).Crowd > 1) return true;
        }
    }
    return false;
}

bool BuildingExists(const TSKIEngine& engine, int type) {
    for (const auto& b : engine.Buildings) {
        if (b->Type == type) return true;
    }
    return false;
}

bool LiftExists(const TSKIEngine& engine, int kind) {
    for (const auto& s : engine.Sections) {
        if (s->IsLift() && s->LiftType == kind) return true;
    }
    return false;
}

// The camera's focus point is closer than `distance` to the world point of the cell (measured
// over the ground: the focus point lies on it).
bool FocusNear(const TSKIEngine& engine, int i, int j, int32_t distance) {
    if (!TSKIWorld::CellInGrid(i, j)) return false;
    const TSKIVector p = engine.CellToWorld(i, j, false);
    const double dx = double(engine.Viewpoint.FocusX) - p.x;
    const double dz = double(engine.Viewpoint.FocusZ) - p.z;
    return std::sqrt(dx * dx + dz * dz) < double(distance);
}

// The cell holds the slope whose race is running.
bool RaceSlopeAt(const TSKIEngine& engine, int i, int j) {
    if (!engine.HasGrid() || !TSKIWorld::CellInGrid(i, j)) return false;
    const int32_t section = engine.Cell(i, j).Section;
    return section >= 0 && section == engine.RaceSlope;
}

// Some slope at least `metres` long with a skier near its first point.
bool LongSlopeInUse(const TSKIEngine& engine, int32_t metres) {
    for (const auto& s : engine.Sections) {
        if (!s->IsSlope() || s->Points.empty()) continue;
        if (double(s->Length()) * kMetresPerUnit < double(metres)) continue;
        if (!engine.PositionInGrid(s->Points.front())) continue;
        int i, j;
        TSKIWorld::WorldToCell(s->Points.front(), i, j);
        if (SkiersNear(engine, i, j)) return true;
    }
    return false;
}

bool LongLift(const TSKIEngine& engine, int32_t metres) {
    for (const auto& s : engine.Sections) {
        if (s->IsLift() && double(s->Length()) * kMetresPerUnit >= double(metres)) return true;
    }
    return false;
}

// The park value a "value at least V" type compares (types 1, 5, 6, 11, 12, 14..18).
bool ParkValue(const TSKIEngine& engine, uint8_t type, double& value) {
    const TSKIParkData& p = engine.Park;
    switch (type) {
        case 1:
            value = p.ParkRating;
            return true;
        case 5:
            value = p.ParkSlopeLength;
            return true;
        case 6:
            value = p.ParkSnowQuality;
            return true;
        case 11:
            value = p.ParkLiftScore;
            return true;
        case 12:
            value = p.ParkBuildScore;
            return true;
        case 14:
            value = p.ParkRatingPercent;
            return true;
        case 15:
            value = p.ParkAvgHappiness;
            return true;
        case 16:
            value = p.ParkAvgCold;
            return true;
        case 17:
            value = p.ParkAvgHunger;
            return true;
        case 18:
            value = p.ParkAvgEnergy;
            return true;
        default:
            return false;
    }
}

}  // namespace

bool ObjectiveMet(const TSKIEngine& engine, const TSKIObjective& o, int building, int lift) {
    const TSKIParkData& p = engine.Park;
    const int32_t v = o.Value;
    double value = 0;
    if (ParkValue(engine, o.Type, value)) return value >= double(v);
    switch (o.Type) {
        case 0:
            return p.ParkCash >= v && p.ParkLoan == 0;
        case 2:
            return int64_t(engine.Skiers.size()) >= int64_t(v);
        case 3:
            return SkiersNear(engine, o.GridX, o.GridY);
        case 4:
            return p.ParkTreesFelled <= v;
        case 7:
            return building >= 0 && v == building && BuildingExists(engine, building);
        case 8:
            return lift >= 0 && v == lift && LiftExists(engine, lift);
        case 10:
            return FocusNear(engine, o.GridX, o.GridY, v);
        case 13:
            return building == -2 && RaceSlopeAt(engine, o.GridX, o.GridY);
        case 19:
            return LongSlopeInUse(engine, v);
        case 20:
            return LongLift(engine, v);
        default:
            return false;  // 9 waits for its time limit; unknown types are never met
    }
}

bool ObjectiveBroken(const TSKIEngine& engine, const TSKIObjective& o) {
    const int32_t v = o.Value;
    double value = 0;
    if (ParkValue(engine, o.Type, value)) return value < double(v);
    switch (o.Type) {
        case 0:
            return engine.Park.ParkCash < v;  // the loan is not looked at
        // The park record's skier count: the number of skiers in the park.
        case 2:
            return int64_t(engine.Skiers.size()) < int64_t(v);
        case 4:
            return engine.Park.ParkTreesFelled > v;
        default:
            return false;
    }
}

}  // namespace vallorn
