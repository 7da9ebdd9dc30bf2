// A skier's local decisions: what to do on the cell it stands on, which navigation link to
// follow, queuing at lift gates, and the needs check that sends it to a building or home.
#include <algorithm>
#include <array>

#include "entities/world.h"

namespace vallorn {

namespace {

constexpr float kDecisionInterval = 9.0f;
constexpr float kNeedsInterval = 2.0f;
constexpr float kQueueCheckInterval = 1.0f;
constexpr float kWalkSpeed = 4.0f;
constexpr float kQueueSpeed = 6.0f;
constexpr float kSkiSpeed = 6.0f;
constexpr float kLeaveSpeed = 5.0f;
constexpr float kNeedThreshold = 33.0f;
constexpr float kBuildingSearchRadius = 40.0f;
constexpr float kUnhappyToLeave = -99.0f;

bool IsGate(const TSKINavLink& link) {
    return link.Point == kGatePoint;
}

}  // namespace

TSKISection* TSKISkier::SectionAt(int32_t index) const {
    if (index < 0 || size_t(index) >= World.Sections.size()) return nullptr;
    return World.Sections[size_t(index)].get();
}

void TSKISkier::RefreshCell() {
    if (World.HasGrid()) Cell = World.CellAt(Position);
}

void TSKISkier::FreeQueueSlot() {
    if (CurrentSection && CurrentSection->IsLift()) {
        for (TSKISkier*& slot : CurrentSection->QueueSlots) {
            if (slot == this) slot = nullptr;
        }
    }
    QueueIndex = kQueueTail;
}

void TSKISkier::LeaveAllQueues() {
    for (const auto& section : World.Sections) {
        if (!section->IsLift()) continue;
        for (TSKISkier*& slot : section->QueueSlots) {
            if (slot == this) slot = nullptr;
        }
    }
    QueueIndex = kQueueTail;
}

void TSKISkier::Decide() {
    DecisionTimer = kDecisionInterval + float(World.Rng.Uniform());
    if (State == kSkierLeaving || State == kSkierInjured) return;

    // Carriers and buildings call in after moving the skier: look at the cell it is on now.
    RefreshCell();
    ChooseLink();
    Carve = 0;

    switch (Cell.Kind) {
        case kCellSlope:
        case kCellSlopeCentre:
            if (State != kSkierWaiting) {
                State = kSkierSkiing;
                TargetSpeed = kSkiSpeed;
                CurrentSection = World.SectionByIndex(Cell.Section);
            }
            break;
        case kCellLiftLower:
            JoinQueue(World.SectionByIndex(Cell.Section));
            break;
        case kCellLiftUpper:
            State = kSkierIdle;
            Speed = 1.0f;
            TargetSpeed = kWalkSpeed;
            CurrentSection = nullptr;
            break;
        case kCellUnderLift:
            if (State == kSkierOnLift) break;
            if (State == kSkierWaiting) return;
            TargetSpeed = kWalkSpeed;
            CurrentSection = nullptr;
            break;
        default:
            if (State == kSkierWaiting) return;
            State = kSkierIdle;
            TargetSpeed = kWalkSpeed;
            CurrentSection = nullptr;
            break;
    }
    CheckNeeds();
}

void TSKISkier::ChooseLink() {
    TSKIRandom& rng = World.Rng;
    const int n = std::min<int>(Cell.NavLinkCount, int(Cell.NavLinks.size()));

    // Gates of closed lifts and of lifts whose queue is full up to the tail are out.
    std::array<bool, 9> excluded{};
    int excludedCount = 0;
    for (int k = 0; k < n; ++k) {
        const TSKINavLink& link = Cell.NavLinks[size_t(k)];
        if (!IsGate(link)) continue;
        const TSKISection* lift = SectionAt(link.Section);
        if (!lift || lift->Status == kLiftClosed || lift->QueueSlots[kQueueTail] != nullptr) {
            excluded[size_t(k)] = true;
            ++excludedCount;
        }
    }

    // Half of the time a skier keeps the course it is on.
    if (CurrentTarget.Section != -1 && n > 0 && rng.Uniform() < 0.5) {
        for (int k = 0; k < n; ++k) {
            const TSKINavLink& link = Cell.NavLinks[size_t(k)];
            if (link.Section == CurrentTarget.Section && link.Point == CurrentTarget.Point &&
                !excluded[size_t(k)]) {
                Preference = uint8_t(k);
                return;
            }
        }
    }

    // The busiest way is avoided half of the time.
    if (n >= 2 && n - excludedCount > 1) {
        int busiest = -1;
        int32_t greatest = 0;
        for (int k = 0; k < n; ++k) {
            const TSKINavLink& link = Cell.NavLinks[size_t(k)];
            const TSKISection* section = SectionAt(link.Section);
            if (!section) continue;
            int32_t load = section->TrafficCount;
            if (IsGate(link)) load += section->QueueLength;
            if (load > greatest) {
                greatest = load;
                busiest = k;
            }
        }
        if (busiest >= 0 && !excluded[size_t(busiest)] && rng.Uniform() < 0.5) {
            excluded[size_t(busiest)] = true;
            ++excludedCount;
        }
    }

    Preference = uint8_t(rng.Range(0, 99));
    if (excludedCount == 0 || excludedCount >= n) return;
    while (excluded[size_t(Preference % n)]) Preference = uint8_t(rng.Range(0, 99));
}

void TSKISkier::JoinQueue(TSKISection* section) {
    if (!section || !section->IsLift()) return;
    if (State == kSkierOnLift || State == kSkierInBuilding || State == kSkierLeaving ||
        State == kSkierInjured) {
        return;
    }
    if (State == kSkierWaiting && CurrentSection == section && QueueIndex < kQueueSlots &&
        section->QueueSlots[QueueIndex] == this) {
        return;  // already in this line
    }
    if (section->Status == kLiftOpen && section->QueueSlots[kQueueTail] == nullptr) {
        Detour = nullptr;
        if (State == kSkierWaiting) {
            FreeQueueSlot();  // a place in another line is given up
        } else {
            QueueCheckTimer = 0;
        }
        CurrentSection = section;
        State = kSkierWaiting;
        TargetSpeed = kQueueSpeed;
        LiftType = section->LiftType;
        QueueIndex = kQueueTail;
        section->QueueSlots[kQueueTail] = this;
        return;
    }
    // Turned away: a full line counts against the skier's patience (see Tick).
    if (section->Status == kLiftOpen) turnedAway_ = true;
    State = kSkierIdle;
    TargetSpeed = kWalkSpeed;
    CurrentSection = nullptr;
    CurrentTarget = {};
    ChooseLink();
}

void TSKISkier::SwitchQueue() {
    QueueCheckTimer = kQueueCheckInterval;
    TSKISection* lift = CurrentSection;
    if (!lift || !lift->IsLift() || Cell.NavLinkCount < 2) return;
    if (QueueIndex < lift->Type().GondoleCapacity + 5) return;
    if (QueueIndex == 0 || QueueIndex > kQueueTail) return;
    if (lift->QueueSlots[QueueIndex - 1] == nullptr) return;  // the line moves on here

    const int n = std::min<int>(Cell.NavLinkCount, int(Cell.NavLinks.size()));
    int32_t bestIndex = -1;
    TSKISection* best = nullptr;
    for (int k = 0; k < n; ++k) {
        const TSKINavLink& link = Cell.NavLinks[size_t(k)];
        if (!IsGate(link)) continue;
        TSKISection* other = SectionAt(link.Section);
        if (!other || other == lift || !other->IsLift()) continue;
        if (other->Status != kLiftOpen || other->QueueSlots[kQueueTail] != nullptr) continue;
        if (other->QueueLength >= QueueIndex) continue;
        if (!best || other->QueueLength < best->QueueLength) {
            best = other;
            bestIndex = link.Section;
        }
    }
    if (!best) return;
    FreeQueueSlot();
    JoinQueue(best);
    CurrentTarget = {bestIndex, kGatePoint};
}

void TSKISkier::CheckNeeds() {
    NeedsTimer = kNeedsInterval;
    const bool busyElsewhere = State == kSkierOnLift || State == kSkierInBuilding ||
                               State == kSkierLeaving || State == kSkierInjured;
    if (busyElsewhere) return;

    uint8_t wanted = 0;
    if (Happiness < kNeedThreshold) wanted |= kServiceHappiness;
    if (Hunger < kNeedThreshold) wanted |= kServiceHunger;
    if (Cold < kNeedThreshold) wanted |= kServiceCold;
    if (Energy < kNeedThreshold) wanted |= kServiceEnergy;
    if (wanted != 0) {
        TSKIBuilding* building = World.FindNearestBuilding(Position, wanted, kBuildingSearchRadius);
        // The search only offers buildings with at least one wanted service (food, rest,
        // warming up or fun); a taken seat or a short purse leaves the skier outside.
        if (building && (building->Params().Services & wanted) != 0) building->Enter(*this);
    }
    if (State == kSkierInBuilding) return;

    TSKIParkData& park = World.Park;
    if (Happiness < kUnhappyToLeave && park.ParkSandboxDiff != kSandboxDiffUnlimited) {
        LeaveUnhappy();
    } else if (Money < SpendingLimit) {
        park.ParkLeftBecauseNoMoney = CappedAdd(park.ParkLeftBecauseNoMoney, 1);
        StartLeaving();
    }
}

void TSKISkier::LeaveUnhappy() {
    TSKIParkData& park = World.Park;
    park.ParkLeftBecauseUnhappy = CappedAdd(park.ParkLeftBecauseUnhappy, 1);
    park.ParkRatingLeftUnhappy -= World.Params.Game.RatingLeftUnhappyPenalty;
    StartLeaving();
}

void TSKISkier::GiveUpQueuing() {
    TurnedAwayTime = 0;
    turnedAway_ = false;
    Detour = nullptr;
    // A wanted service within reach takes it in; one that cannot pay or is too unhappy leaves
    // for that reason, counted as such.
    CheckNeeds();
    if (State != kSkierIdle) return;

    // Another open lift with room at the tail of its line, the nearest one.
    TSKISection* best = nullptr;
    float nearest = 0;
    for (const auto& section : World.Sections) {
        if (!section->IsLift() || section->Points.empty() || section->Status != kLiftOpen ||
            section->QueueSlots[kQueueTail] != nullptr) {
            continue;
        }
        const float dx = section->Points.front().x - Position.x;
        const float dz = section->Points.front().z - Position.z;
        const float d = dx * dx + dz * dz;
        if (!best || d < nearest) {
            best = section.get();
            nearest = d;
        }
    }
    if (best) {
        Detour = best;
        CurrentTarget = {};
        return;
    }
    // Nowhere else to queue: it decides anew where it stands and tries the lines again.
    Decide();
}

void TSKISkier::StartLeaving() {
    if (State == kSkierWaiting) FreeQueueSlot();
    State = kSkierLeaving;
    TargetSpeed = kLeaveSpeed;
    Leaving = true;
}

}  // namespace vallorn
