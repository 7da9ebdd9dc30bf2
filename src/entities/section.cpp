#include "entities/section.h"

#include <algorithm>
#include <cmath>

#include "entities/gondole.h"
#include "entities/network_raster.h"
#include "entities/skier.h"
#include "entities/world.h"

namespace vallorn {

namespace {

constexpr int kSlopeBoxMargin = 10;  // the cells a slope may have claimed around its path
constexpr float kFullTurn = 360.0f;

float Distance(const TSKIVector& a, const TSKIVector& b) {
    const float dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

}  // namespace

TSKISection::TSKISection(TSKIWorld& world) : World(world) {}

TSKISection::~TSKISection() = default;

const TSKILiftParams& TSKISection::Type() const {
    return World.Params.Lifts[LiftType < kLiftTypeCount ? LiftType : 0];
}

float TSKISection::Length() const {
    float length = 0;
    for (size_t k = 1; k < Points.size(); ++k) {
        const float dx = Points[k].x - Points[k - 1].x;
        const float dy = Points[k].y - Points[k - 1].y;
        const float dz = Points[k].z - Points[k - 1].z;
        length += std::sqrt(dx * dx + dy * dy + dz * dz);
    }
    return length;
}

const char* TSKISection::StatusText(uint8_t status) {
    switch (status) {
        case kLiftOpen:
            return "Open";
        case kLiftClosed:
            return "Closed";
        default:
            return "Broken down";
    }
}

void TSKISection::Tick(float dt) {
    if (!IsLift()) return;
    TSKIWorld& e = World;

    // 1. Carriers run while the lift is open or closed; a broken-down lift stands still.
    if (Status == kLiftOpen || Status == kLiftClosed)
        for (auto& carrier : Carriers) carrier->Tick(dt);

    // 2. A closed lift sends its queue away (the skiers notice in their own tick).
    if (Status == kLiftClosed) {
        QueueSlots.fill(nullptr);
        QueueLength = 0;
    }

    // 3. Slots of skiers that no longer wait are freed.
    for (TSKISkier*& slot : QueueSlots)
        if (slot && slot->State != kSkierWaiting) slot = nullptr;

    // 4. New carriers until the loop is full.
    if (Filling) TickCarrierSupply();

    // 5. The gate is drawn only in view, closed unless the lift is open.
    GateVisible = e.CellInView(GatePosition);
    GateClosedModel = Status != kLiftOpen;

    // 6. Stations and poles in view use their detailed models; the bull-wheels turn there.
    for (size_t k = 0; k < Stations.size(); ++k) StationHighDetail[k] = e.CellInView(Stations[k]);
    const bool lowerDetail = !StationHighDetail.empty() && StationHighDetail.front();
    const bool upperDetail = !StationHighDetail.empty() && StationHighDetail.back();
    if (lowerDetail) LowerWheelAngle = std::fmod(LowerWheelAngle + dt * WheelTurnRate, kFullTurn);
    if (upperDetail) UpperWheelAngle = std::fmod(UpperWheelAngle + dt * WheelTurnRate, kFullTurn);
    WheelsVisible = lowerDetail || upperDetail;
}

void TSKISection::TickCarrierSupply() {
    if (DetailLine.empty()) return;
    const float spacing = Type().GondoleSpacing;
    // The oldest carrier has come round the loop.
    if (Carriers.size() >= 3 && Distance(Carriers.back()->Position, DetailLine.back()) < spacing)
        Filling = false;
    // Enough carriers for the length of the lift.
    const float length = Length();
    if (length > spacing && length < float(Carriers.size() / 2) * spacing) Filling = false;
    if (!Filling) return;
    // The newest carrier has left room for the next one at the lower station.
    if (Carriers.empty() || Distance(Carriers.front()->Position, DetailLine.front()) > spacing) {
        Carriers.insert(Carriers.begin(), std::make_unique<TSKIGondole>(*this));
        Carriers.front()->Init();
    }
}

void TSKISection::Destroy() {
    TSKIWorld& e = World;
    const int32_t self = e.IndexOf(this);
    if (IsLift()) {
        // Riders are set down before the lift goes; its queue is released.
        for (auto& carrier : Carriers) carrier->Unload();
        Carriers.clear();
        LoadingCarrier = nullptr;
        QueueSlots.fill(nullptr);
        QueueLength = 0;
        if (e.HasGrid()) {
            // A slope that still exists gets its cells back; anything else becomes free.
            for (auto it = MarkedCells.begin(); it != MarkedCells.end(); ++it) {
                if (it->Index >= e.Grid.size()) continue;
                TerrainCell& c = e.Grid[it->Index];
                if (c.Section != self) continue;  // claimed by another section since
                // Removals keep the recorded index right (-1 once that slope is gone).
                const TSKISection* before = e.SectionByIndex(it->Section);
                const bool slope = (it->Kind == kCellSlope || it->Kind == kCellSlopeCentre) &&
                                   before != nullptr && before != this && before->IsSlope();
                c.Kind = slope ? it->Kind : uint8_t(kCellFree);
                c.Section = slope ? it->Section : -1;
            }
        }
        MarkedCells.clear();
        GateVisible = false;
        WheelsVisible = false;
        Stations.clear();
        StationHighDetail.clear();
    } else if (e.HasGrid() && !Points.empty()) {
        const TSKICellBox box = PathCellBox(Points, kSlopeBoxMargin, 0, kGridSize - 1);
        for (int i = box.I0; i <= box.I1; ++i) {
            for (int j = box.J0; j <= box.J1; ++j) {
                TerrainCell& c = e.Cell(i, j);
                if (c.Section != self) continue;
                c.Kind = kCellFree;
                c.Section = -1;
            }
        }
        Raster.clear();
        RasterWidth = RasterHeight = 0;
    }
    DetailLine.clear();
}

}  // namespace vallorn
