// Laying a lift onto the terrain grid: ground line, pole layout, stations, the cells under
// the lift, the cable loop, wheels, gate and queue.
#include <algorithm>
#include <cmath>

#include "entities/gondole.h"
#include "entities/pole_layout.h"
#include "entities/section.h"
#include "entities/world.h"

namespace vallorn {

namespace {

constexpr float kSampleStep = 4.0f;  // ground line and pole search sample every 4 units
constexpr float kWheelTurnFactor = 40.0f;

float Distance(const TSKIVector& a, const TSKIVector& b) {
    const float dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

TSKIVector HorizontalUnit(const TSKIVector& from, const TSKIVector& to,
                          const TSKIVector& fallback) {
    const float dx = to.x - from.x, dz = to.z - from.z;
    const float len = std::sqrt(dx * dx + dz * dz);
    if (len < 1e-6f) return fallback;
    return {dx / len, 0, dz / len, 0};
}

float Ground(const TSKIWorld& e, const TSKIVector& p) {
    return e.HasGrid() ? e.TerrainHeight(p) : 0.0f;
}

}  // namespace

void TSKISection::MarkLiftCell(int i, int j, uint8_t kind, int32_t self) {
    if (!World.HasGrid() || i < 0 || j < 0 || i >= kGridSide || j >= kGridSide) return;
    TerrainCell& c = World.Cell(i, j);
    // A cell is recorded once, with what it held before this lift first marked it.
    if (c.Section != self)
        MarkedCells.push_back({uint32_t(i) * kGridSide + uint32_t(j), c.Kind, c.Section});
    c.Kind = kind;
    c.Section = self;
}

void TSKISection::BuildLift(const TSKILiftRecord& record) {
    Kind = kSectionLift;
    TSKIWorld& e = World;
    const int32_t self = e.IndexOf(this);

    // 1. The record, the running cost of the type and the ground line between the stations.
    LiftType = record.LiftType;
    Status = record.Status;
    TicketPrice = record.TicketPrice;
    TotalIncome = record.TotalIncome;
    TotalExpense = record.TotalExpense;
    InvestedMoney = record.InvestedMoney;
    Filling = record.Filling;
    TooExpensiveCount = record.TooExpensiveCount;
    CustomersServed = record.CustomersServed;
    TooExpensiveAtMessages = TooExpensiveCount;
    ServedAtMessages = CustomersServed;
    UpgradeBonus = record.UpgradeBonus;
    const TSKILiftParams& type = Type();
    RunningCost = uint16_t(std::clamp<int32_t>(type.RunningCost, 0, 65535));
    QueueLength = 0;
    PreviousTakings = CurrentTakings = 0;
    MarkedCells.clear();

    TSKIVector lower = e.CellToWorld(LowerI, LowerJ, false);
    TSKIVector upper = e.CellToWorld(UpperI, UpperJ, false);
    lower.w = upper.w = 1;
    lower.y = Ground(e, lower);
    upper.y = Ground(e, upper);
    Points.clear();
    const float run = std::hypot(upper.x - lower.x, upper.z - lower.z);
    const int steps = int(std::floor(run / kSampleStep));
    for (int s = 0; s <= steps; ++s) {
        const float t = run > 0 ? kSampleStep * float(s) / run : 0.0f;
        TSKIVector p(lower.x + (upper.x - lower.x) * t, 0, lower.z + (upper.z - lower.z) * t, 1);
        p.y = Ground(e, p);
        Points.push_back(p);
    }
    if (Points.size() < 2 || Distance(Points.back(), upper) > 1e-3f) Points.push_back(upper);

    // 2. The cable's up line: poles where the terrain needs them, then the heights of the
    // stations and poles above the ground.
    std::vector<TSKIVector> up{lower, upper};
    LayOutPoles(e, type, up, int(std::lround(type.PoleMinDist / kSampleStep)));
    // The boarding axis runs across the lift, horizontally.
    const TSKIVector along = HorizontalUnit(up.front(), up.back(), {0, 0, 1, 0});
    BoardingAxis = TSKIVector(-along.z, 0, along.x, 0);

    // 3. Stations and poles at the up line's points.
    Stations = up;
    StationHighDetail.assign(Stations.size(), false);

    // 4. A surface lift occupies the cells along its ground line.
    if (type.OnGround) {
        const int n = int(Points.size());
        for (int k = 0; k < n; ++k) {
            int i, j;
            TSKIWorld::WorldToCell(Points[size_t(k)], i, j);
            MarkLiftCell(i, j, kCellUnderLift, self);
            if (k >= 2 && k <= n - 3) {
                MarkLiftCell(i - 1, j, kCellUnderLift, self);
                MarkLiftCell(i, j - 1, kCellUnderLift, self);
            }
        }
    }

    // 5. The cable loop: up, round the upper wheel, and back down, the two lines
    // 2 x LiftLineDist apart.
    for (const TSKIVector& p : up) {
        int i, j;
        TSKIWorld::WorldToCell(p, i, j);
        MarkLiftCell(i, j, kCellUnderLift, self);
    }
    DetailLine = up;
    DetailLine.push_back(up.back());
    DetailLine.push_back(up.back());
    for (size_t k = up.size(); k-- > 0;) DetailLine.push_back(up[k]);
    const size_t half = DetailLine.size() / 2;
    for (size_t k = 0; k < DetailLine.size(); ++k) {
        const float shift = k < half ? -type.LineDist : type.LineDist;
        DetailLine[k].x += BoardingAxis.x * shift;
        DetailLine[k].z += BoardingAxis.z * shift;
    }

    // 6. The stations' cells.
    MarkLiftCell(LowerI, LowerJ, kCellLiftLower, self);
    MarkLiftCell(UpperI, UpperJ, kCellLiftUpper, self);

    // 7. Wheels, gate and queue direction.
    LowerWheel = TSKIVector(lower.x, lower.y + type.StationHeight, lower.z, 1);
    UpperWheel = TSKIVector(upper.x, upper.y + type.StationHeight, upper.z, 1);
    LowerWheelAngle = UpperWheelAngle = 0;
    WheelTurnRate = type.LineDist > 0 ? type.Speed * kWheelTurnFactor / type.LineDist : 0.0f;
    const TSKIVector first = Points.front();
    const TSKIVector second = Points.size() > 1 ? Points[1] : upper;
    GateDirection = HorizontalUnit(first, second, along);
    GatePosition = first - GateDirection * type.GatePosZ + BoardingAxis * type.GatePosX;
    GatePosition.w = 1;
    GatePosition.y = Ground(e, GatePosition);
    QueueDirection = -GateDirection;
    GateVisible = false;
    GateClosedModel = Status != kLiftOpen;

    // 8. Queue and length.
    LayOutQueue();
    LengthMetres = Length() * kMetresPerUnit;
}

}  // namespace vallorn
