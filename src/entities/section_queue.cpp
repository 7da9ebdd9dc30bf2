// A lift's queue: the layout of its 65 places, the recount of the occupied slots and the
// release of a skier's slots.
#include <cmath>

#include "entities/section.h"
#include "entities/skier.h"
#include "entities/world.h"

namespace vallorn {

namespace {

constexpr int kQueueAttempts = 21;

// Types that board from a row across the lift: the surface lifts and the chairlifts.
bool BoardsFromRow(uint8_t liftType) {
    return liftType <= kLiftQuadChair || liftType == kLiftSixChair;
}

// Cells the waiting line must not stand on: occupied, lift lines, roads, buildings, the
// upper station; the lower station is where it leads.
bool BlocksQueue(uint8_t kind) {
    return kind >= kCellOccupied && kind != kCellLiftLower;
}

TSKIVector Turn(const TSKIVector& v, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    return {v.x * c + v.z * s, 0, -v.x * s + v.z * c, 0};
}

}  // namespace

void TSKISection::LayOutQueue() {
    TSKIWorld& e = World;
    auto kindAt = [&e](const TSKIVector& p) -> uint8_t {
        if (!e.HasGrid()) return kCellFree;
        int i, j;
        TSKIWorld::WorldToCell(p, i, j);
        return e.Cell(i, j).Kind;
    };
    auto onGround = [&e](TSKIVector p) {
        p.y = (e.HasGrid() ? e.TerrainHeight(p) : 0.0f) + kStandHeight;
        p.w = 1;
        return p;
    };

    // 1. The boarding row across the cable's first point.
    int start = 0;
    if (BoardsFromRow(LiftType)) {
        const int capacity = Type().GondoleCapacity;
        const TSKIVector origin = !DetailLine.empty()
                                      ? DetailLine.front()
                                      : (!Points.empty() ? Points.front() : GatePosition);
        for (int i = 0; i < capacity && i < kQueueSlots; ++i)
            QueuePositions[size_t(i)] = onGround(origin + BoardingAxis * float(i - capacity / 2));
        start = capacity < kQueueSlots ? capacity : kQueueSlots;
    }

    // 2.-3. The waiting line winds away from the gate; a layout that keeps hitting blocked
    // ground stays as the last attempt drew it.
    for (int attempt = 0; attempt < kQueueAttempts; ++attempt) {
        TSKIVector pen = GatePosition;
        TSKIVector heading = QueueDirection;
        const int r1 = e.Rng.Below(10);
        const int r2 = 6 + e.Rng.Below(5);
        for (int k = start; k < kQueueSlots; ++k) {
            heading = Turn(heading, std::cos(float(k + r1) / float(r2)) * 0.1f +
                                        (float(e.Rng.Uniform()) - 0.5f) * 0.2f);
            if (BlocksQueue(kindAt(pen + heading)))
                heading = Turn(heading, float(e.Rng.Uniform()) - 0.5f);
            pen += heading;
            QueuePositions[size_t(k)] = onGround(pen);
        }
        bool clear = true;
        for (int k = start; k < kQueueSlots && clear; ++k)
            clear = !BlocksQueue(kindAt(QueuePositions[size_t(k)]));
        if (clear) break;
    }
}

void TSKISection::RecountQueue() {
    if (!IsLift()) return;
    int16_t count = 0;
    for (TSKISkier*& slot : QueueSlots) {
        if (!slot) continue;
        if (slot->State != kSkierWaiting) {
            slot = nullptr;
            continue;
        }
        ++count;
    }
    QueueLength = count;
}

void TSKISection::LeaveQueue(const TSKISkier* skier) {
    if (!skier) return;
    for (TSKISkier*& slot : QueueSlots) {
        if (slot != skier) continue;
        slot = nullptr;
        if (QueueLength > 0) --QueueLength;
    }
}

}  // namespace vallorn
